#include "VTXExcepcion.h"

VTXExcepcion::VTXExcepcion(std::string titulo, int codigo, std::string mensaje, std::string contexto)
    : std::runtime_error(mensaje), m_titulo(std::move(titulo)), m_codigo(codigo),
      m_mensaje(std::move(mensaje)), m_contexto(std::move(contexto)) {}

// Out of line so the type information lives in the host library only.
VTXExcepcion::~VTXExcepcion() = default;

void VTXExcepcion::LanzarExcepcion(const char* titulo, int codigo, const char* mensaje,
                                   const char* contexto) {
    throw VTXExcepcion(titulo ? titulo : "", codigo, mensaje ? mensaje : "", contexto ? contexto : "");
}
