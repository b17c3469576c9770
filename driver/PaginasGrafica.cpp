#include "PaginasGrafica.h"

#include "TablasColores.h"
#include "Textos.h"

#include <QString>

namespace {

// Every page is category 5 and visible; every property has the same access and control.
constexpr int kCategoria = 5;

void EntrarProp(Tabla& t, int indice, int nombre, const std::vector<const char*>& opciones = {}) {
    t.EntrarPropiedad(indice, 1, 1, 0, CargarTexto(nombre), 0, 0, 0, static_cast<int>(opciones.size()),
                      opciones.empty() ? nullptr : opciones.data());
}

std::vector<const char*> Textos(std::initializer_list<int> numeros) {
    std::vector<const char*> v;
    for (int n : numeros)
        v.push_back(CargarTexto(n));
    return v;
}

std::vector<const char*> ColoresFondo() {
    std::vector<const char*> v;
    for (int i = 0; i < kNumColoresFondo; ++i)
        v.push_back(NombreColor(i));
    return v;
}

// The series table has no dark grey (back-colour index 4).
std::vector<const char*> ColoresSerie() {
    std::vector<const char*> v;
    for (int i = 0; i < kNumColoresFondo; ++i) {
        if (i != 4)
            v.push_back(NombreColor(i));
    }
    return v;
}

std::vector<const char*> TiposLinea() {
    return Textos({TXT_LT_THIN, TXT_LT_MEDIUM, TXT_LT_SOLID, TXT_LT_DASHED, TXT_LT_DOTTED, TXT_LT_DASHDOT,
                   TXT_LT_DASHDOTDOT});
}

void PaginaDeSeries(Tabla& t, int pagina, int nombreSerie, int numSeries,
                    const std::vector<const char*>& ops) {
    t.EntrarPagina(CargarTexto(pagina), numSeries, kCategoria, true);
    for (int i = 0; i < numSeries; ++i) {
        const QByteArray nombre =
            QString::asprintf(CargarTexto(TXT_FMT_SERIE_PROP), CargarTexto(nombreSerie), i + 1).toUtf8();
        t.EntrarPropiedad(i, 1, 1, 0, nombre.constData(), 0, 0, 0, static_cast<int>(ops.size()), ops.data());
    }
}

} // namespace

TPaginaGeneral::TPaginaGeneral() {
    EntrarPagina(CargarTexto(TXT_PAG_GENERAL), kNumPropiedades, kCategoria, true);
    EntrarProp(*this, DESCRIPCION, TXT_DESCRIPTION);
    EntrarProp(*this, SUBTITULO, TXT_SUBTITLE);
    EntrarProp(*this, TITULO, TXT_TITLE);
    EntrarProp(*this, AGRUPAR, TXT_GROUP_BY_PROP,
               Textos({TXT_MONTHS, TXT_WEEKS, TXT_DAYS, TXT_HOURS, TXT_NO_GROUP, TXT_DEFAULT}));
    EntrarProp(*this, PASO_GRANDE, TXT_LARGE_STEP);
}

void TPaginaGeneral::QuitarOpcionesAgrupar() {
    EntrarProp(*this, AGRUPAR, TXT_GROUP_BY_PROP);
}

TPaginaSalidas::TPaginaSalidas(std::vector<std::string> fuentes) : m_fuentes(std::move(fuentes)) {
    Construir(true);
}

const char* TPaginaSalidas::NombreFuente(int indice) const {
    if (indice < 0 || indice >= static_cast<int>(m_fuentes.size()))
        return "";
    return m_fuentes[static_cast<size_t>(indice)].c_str();
}

void TPaginaSalidas::QuitarTipo() {
    Construir(false);
}

void TPaginaSalidas::Construir(bool conTipo) {
    const int desplazamiento = conTipo ? 0 : 1;
    EntrarPagina(CargarTexto(TXT_PAG_OUTPUTS), kNumPropiedades - desplazamiento, kCategoria, true);
    const auto poner = [&](int indice, int nombre, const std::vector<const char*>& opciones) {
        EntrarProp(*this, indice - desplazamiento, nombre, opciones);
    };
    if (conTipo)
        poner(TIPO, TXT_TYPE, Textos({TXT_LINE, TXT_LINE_POINTS, TXT_POINTS, TXT_BARS, TXT_AREA}));
    poner(CURSOR, TXT_CURSOR, Textos({TXT_DATA_CROSS, TXT_VERTICAL_LINE, TXT_DATA_SQUARE, TXT_NO_CURSOR}));
    poner(LEYENDA, TXT_SEE_LEGEND, Textos({TXT_TRUE, TXT_FALSE}));
    const std::vector<const char*> colores = ColoresFondo();
    poner(COLOR_ESCRITORIO, TXT_DESK_COLOR, colores);
    poner(COLOR_FONDO, TXT_BACK_COLOR, colores);
    poner(COLOR_TEXTO, TXT_TEXT_COLOR, colores);
    std::vector<const char*> nombres;
    nombres.reserve(m_fuentes.size());
    for (const std::string& f : m_fuentes)
        nombres.push_back(f.c_str());
    poner(FUENTE_PRINCIPAL, TXT_MAIN_FONT, nombres);
    poner(FUENTE_SUBTITULO, TXT_SUBTITLE_FONT, nombres);
    poner(FUENTE_ETIQUETAS, TXT_LABEL_FONT, nombres);
}

TPaginaColores::TPaginaColores() {
    EntrarPagina(CargarTexto(TXT_PAG_COLORS), 1, kCategoria, true);
    const std::vector<const char*> colores = ColoresSerie();
    EntrarPropiedad(0, 1, 1, 0, CargarTexto(TXT_LINE_COLOR), 0, 0, 0, static_cast<int>(colores.size()),
                    colores.data());
}

void TPaginaColores::PonerSeries(int numSeries) {
    PaginaDeSeries(*this, TXT_PAG_COLORS, TXT_LINE_COLOR, numSeries, ColoresSerie());
}

TPaginaTiposLinea::TPaginaTiposLinea() {
    EntrarPagina(CargarTexto(TXT_PAG_LINETYPES), 1, kCategoria, true);
    const std::vector<const char*> tipos = TiposLinea();
    EntrarPropiedad(0, 1, 1, 0, CargarTexto(TXT_TYPE_LINE), 0, 0, 0, static_cast<int>(tipos.size()),
                    tipos.data());
}

void TPaginaTiposLinea::PonerSeries(int numSeries) {
    PaginaDeSeries(*this, TXT_PAG_LINETYPES, TXT_TYPE_LINE, numSeries, TiposLinea());
}
