#pragma once

#include <stdexcept>
#include <string>

// The host's exception: a title, a numeric code, a message and the context where it was
// raised. It lives in the host library so the engine, every module and the host catch the
// same type across library boundaries.
class VTXExcepcion : public std::runtime_error {
public:
    VTXExcepcion(std::string titulo, int codigo, std::string mensaje, std::string contexto);
    ~VTXExcepcion() override;

    const std::string& Titulo() const { return m_titulo; }
    int Codigo() const { return m_codigo; }
    const std::string& Mensaje() const { return m_mensaje; }
    const std::string& Contexto() const { return m_contexto; }

    [[noreturn]] static void LanzarExcepcion(const char* titulo, int codigo, const char* mensaje,
                                             const char* contexto);

private:
    std::string m_titulo;
    int m_codigo;
    std::string m_mensaje;
    std::string m_contexto;
};
