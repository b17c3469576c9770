#include "DrivFlex.h"

#include "Comando.h"

#include <cstring>

DrivFlex::DrivFlex() = default;
DrivFlex::~DrivFlex() = default;

int DrivFlex::AddTabla(Tabla* tabla) {
    m_tablas.emplace_back(tabla);
    return static_cast<int>(m_tablas.size()) - 1;
}

void DrivFlex::DeleteTabla(int indice) {
    if (indice >= 0 && indice < static_cast<int>(m_tablas.size()))
        m_tablas.erase(m_tablas.begin() + indice);
}

Tabla* DrivFlex::DameTabla(int indice) const {
    if (indice < 0 || indice >= static_cast<int>(m_tablas.size()))
        return nullptr;
    return m_tablas[static_cast<size_t>(indice)].get();
}

void DrivFlex::EntrarServicio(int numero, const char* nombre, const char* descripcion, int marca1,
                              int marca2) {
    for (Servicio& s : m_servicios) {
        if (s.numero == numero) {
            s = Servicio{numero, nombre ? nombre : "", descripcion ? descripcion : "", marca1, marca2};
            return;
        }
    }
    m_servicios.push_back(
        Servicio{numero, nombre ? nombre : "", descripcion ? descripcion : "", marca1, marca2});
}

const DrivFlex::Servicio* DrivFlex::DameServicio(int numero) const {
    for (const Servicio& s : m_servicios) {
        if (s.numero == numero)
            return &s;
    }
    return nullptr;
}

int DrivFlex::GetPagesNumber() {
    return static_cast<int>(m_tablas.size());
}

int DrivFlex::GetPropertyNumber(int pagina) {
    const Tabla* t = DameTabla(pagina);
    return t ? t->NumPropiedades() : 0;
}

const char* DrivFlex::GetPageName(int pagina) {
    const Tabla* t = DameTabla(pagina);
    return t ? t->Nombre().c_str() : "";
}

int DrivFlex::GetPageCat(int pagina) {
    const Tabla* t = DameTabla(pagina);
    return t ? t->Categoria() : -1;
}

bool DrivFlex::GetPageVisibility(int pagina) {
    const Tabla* t = DameTabla(pagina);
    return t ? t->Visible() : false;
}

const Tabla::Propiedad* DrivFlex::propiedad(int pagina, int indice) const {
    const Tabla* t = DameTabla(pagina);
    return t ? t->DamePropiedad(indice) : nullptr;
}

const char* DrivFlex::GetPropertyName(int pagina, int indice) {
    const Tabla::Propiedad* p = propiedad(pagina, indice);
    return p ? p->nombre.c_str() : "";
}

int DrivFlex::GetPropertyAcces(int pagina, int indice) {
    const Tabla::Propiedad* p = propiedad(pagina, indice);
    return p ? p->acceso : -1;
}

int DrivFlex::GetPropertyControl(int pagina, int indice) {
    const Tabla::Propiedad* p = propiedad(pagina, indice);
    return p ? p->control : -1;
}

int DrivFlex::GetPropertyRange(int pagina, int indice, int* minimo, int* maximo) {
    const Tabla::Propiedad* p = propiedad(pagina, indice);
    if (minimo)
        *minimo = p ? p->rangoMinimo : 0;
    if (maximo)
        *maximo = p ? p->rangoMaximo : 0;
    return p ? 1 : 0;
}

void DrivFlex::GetPropertyText(int, int, char* buffer) {
    if (buffer)
        buffer[0] = '\0';
}

void DrivFlex::GetPropertyValue(int, int, int* valor) {
    if (valor)
        *valor = -1;
}

int DrivFlex::GetPropertyOptionsNumber(int pagina, int indice) {
    const Tabla::Propiedad* p = propiedad(pagina, indice);
    return p ? static_cast<int>(p->opciones.size()) : 0;
}

const char* DrivFlex::GetPropertyOption(int pagina, int indice, int opcion) {
    const Tabla::Propiedad* p = propiedad(pagina, indice);
    if (p == nullptr || opcion < 0 || opcion >= static_cast<int>(p->opciones.size()))
        return "";
    return p->opciones[static_cast<size_t>(opcion)].c_str();
}

int DrivFlex::ProgCom(Comando* comando, TValorMultiple* respuesta, int modo, ObjGen* origen) {
    if (comando == nullptr)
        return -1;
    if (DameServicio(comando->Numero()) != nullptr)
        return EjecutarServicio(comando->Numero());
    return AtenderComando(comando, respuesta, modo, origen);
}

int DrivFlex::EditarPropiedades(int accion, int* resultado) {
    if (accion == 0)
        GuardarPropiedades();
    else if (accion == 1)
        RestaurarPropiedades();
    if (resultado)
        *resultado = 1;
    return 1;
}
