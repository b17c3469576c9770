#include "Tabla.h"

void Tabla::EntrarPagina(const char* nombre, int numPropiedades, int categoria, bool visible) {
    m_nombre = nombre ? nombre : "";
    m_categoria = categoria;
    m_visible = visible;
    m_propiedades.assign(static_cast<size_t>(numPropiedades > 0 ? numPropiedades : 0), Propiedad{});
}

void Tabla::EntrarPropiedad(int indice, int acceso, int control, int tipo, const char* nombre,
                            int rangoMinimo, int rangoMaximo, int defecto, int numOpciones,
                            const char* const* opciones) {
    if (indice < 0 || indice >= NumPropiedades())
        return;
    Propiedad& p = m_propiedades[static_cast<size_t>(indice)];
    p.nombre = nombre ? nombre : "";
    p.acceso = acceso;
    p.control = control;
    p.tipo = tipo;
    p.rangoMinimo = rangoMinimo;
    p.rangoMaximo = rangoMaximo;
    p.defecto = defecto;
    p.opciones.clear();
    for (int i = 0; opciones != nullptr && i < numOpciones; ++i)
        p.opciones.emplace_back(opciones[i] ? opciones[i] : "");
}

void Tabla::EliminarPagina() {
    m_nombre.clear();
    m_propiedades.clear();
}

const Tabla::Propiedad* Tabla::DamePropiedad(int indice) const {
    if (indice < 0 || indice >= NumPropiedades())
        return nullptr;
    return &m_propiedades[static_cast<size_t>(indice)];
}
