#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Type codes of value blocks, shared by TValor and TValorMultiple rows.
enum TipoValor : int {
    TV_ENTERO = 0,     // 32-bit signed integers, element size 4
    TV_TIEMPO = 1,     // TTiempo, element size 14
    TV_BYTE = 2,       // unsigned bytes, element size 1 (quality flags)
    TV_TEXTO = 8192,   // text: element size 1, count = length + 1 (the terminating zero)
    TV_DOUBLE = 28672, // 8-byte IEEE numbers, element size 8
};

// One typed block of values. The bytes are copied from the given address when the value is
// built, so the source may go away afterwards.
class TValor {
public:
    TValor() = default;
    TValor(const void* direccion, int tamanoElemento, int cuenta, int tipo);
    static TValor Entero(std::int32_t valor) { return TValor(&valor, 4, 1, TV_ENTERO); }
    static TValor Texto(const char* texto);

    int TamanoElemento() const { return m_tamano; }
    int Cuenta() const { return m_cuenta; }
    int Tipo() const { return m_tipo; }
    const void* Datos() const { return m_bytes.data(); }

    // Element 0 read as an integer (0 when the block holds no integer).
    std::int32_t ComoEntero(int indice = 0) const;
    // The text of a text block; other types give an empty text.
    std::string ComoTexto() const;

private:
    int m_tamano = 0;
    int m_cuenta = 0;
    int m_tipo = TV_ENTERO;
    std::vector<unsigned char> m_bytes;
};
