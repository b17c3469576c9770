#include "TWRegistro.h"

#include "Agrupacion.h"
#include "ChartProperties.h"
#include "Contrato.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QAction>

#include <algorithm>
#include <numeric>

TWRegistro::TWRegistro(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                       ListasAtributos& listas, DrivFlex* fuente)
    : TWGraficaGenerica(propietario, driver, servidor, fuente) {
    // Registers are not regrouped in time.
    ActualizarBotonesAgrupar(Agrupacion::NIVEL_NO_DISPONIBLE, Agrupacion::NIVEL_NO_DISPONIBLE);
    TomarReferencias(listas[LV_OBJETOS]);
}

void TWRegistro::PonerRegistros(std::vector<std::pair<int, int>> registros) {
    m_registros = std::move(registros);
    VerTodos();
}

void TWRegistro::VerTodos() {
    m_visibles.resize(m_registros.size());
    std::iota(m_visibles.begin(), m_visibles.end(), 0);
    NumIntervalos = static_cast<int>(m_visibles.size());
    UltimoIntervalo = NumIntervalos - 1;
    IntervaloActual = std::clamp(IntervaloActual, 0, std::max(0, UltimoIntervalo));
    ActualizarBotonesIntervalo();
}

bool TWRegistro::VerSoloMalos(const std::function<bool(int)>& malo) {
    std::vector<int> malos;
    for (int r = 0; r < NumRegistros(); ++r) {
        if (malo(r))
            malos.push_back(r);
    }
    if (malos.empty()) {
        host::MessageService::show(this, Texto(TXT_WARNING), Texto(TXT_NO_BAD_REGISTER),
                                   host::MessageIcon::Warning);
        return false;
    }
    m_visibles = std::move(malos);
    NumIntervalos = static_cast<int>(m_visibles.size());
    UltimoIntervalo = NumIntervalos - 1;
    IntervaloActual = std::min(IntervaloActual, UltimoIntervalo);
    ActualizarBotonesIntervalo();
    return true;
}

int TWRegistro::RegistroMostrado() const {
    if (IntervaloActual < 0 || IntervaloActual >= static_cast<int>(m_visibles.size()))
        return 0;
    return m_visibles[static_cast<size_t>(IntervaloActual)];
}

void TWRegistro::RestaurarVista() {
    RestaurarIntervalo();
}

void TWRegistro::MostrarIntervalo() {
    if (m_visibles.empty())
        return;
    host::WaitCursor espera;
    Ocupado = true;
    MostrarRegistro(RegistroMostrado());
    Pe.ponerEntero(PEP_ZOOMED, 0);
    ActualizarBotonesZoom(false, false);
    PonerLectura();
    Ocupado = false;
    PonerHintsRegistro();
    Redibujar();
}

void TWRegistro::PintarGrafica(const std::int32_t* colores) {
    if (colores != nullptr && NumSeries > 0)
        Pe.PEvset(Grafica, PEP_SUBSETCOLORS, colores, NumSeries);
    if (m_visibles.empty())
        return;
    // The zoom window stays: the user compares registers at the same scale.
    Ocupado = true;
    MostrarRegistro(RegistroMostrado());
    PonerLectura();
    Ocupado = false;
    Redibujar();
}

TValorMultiple TWRegistro::RegistrosLista() {
    TValorMultiple registros;
    for (int i = 0; i < ObjetosGrafica.Cuenta(); ++i)
        registros.EntrarEnteros({ObjetosGrafica.Entero(i, OBJ_CLAVE1), ObjetosGrafica.Entero(i, OBJ_CLAVE2),
                                 ObjetosGrafica.Entero(i, OBJ_DRIVER), Agrupacion::NIVEL_SIN_AGRUPAR,
                                 RegistroMostrado()});
    return registros;
}

QJsonObject TWRegistro::Describir() {
    QJsonObject r = TWGraficaGenerica::Describir();
    r.insert(QStringLiteral("registers"), NumRegistros());
    r.insert(QStringLiteral("shown_register"), RegistroMostrado());
    return r;
}

void TWRegistro::PonerDimensiones() {
    Pe.ponerEntero(PEP_XSERIALDATES, 0);
    Pe.ponerEntero(PEP_SUBSETS, NumSeries);
    Pe.ponerEntero(PEP_POINTS, NumPuntos);
}

void TWRegistro::PonerTitulos(const QString& titulo, const QStringList& etiquetas) {
    setWindowTitle(titulo);
    Pe.ponerTexto(PEP_MAINTITLE, titulo);
    Pe.ponerTexto(PEP_MULTISUBTITLES, etiquetas.join(QLatin1Char('\t')));
    Pe.ponerArray(PEP_LABELSUBSETS, std::vector<std::int32_t>(static_cast<size_t>(NumSeries), -1));
    Pe.ponerTexto(PEP_SUBTITLE, QString());
}

std::pair<int, int>
TWRegistro::CargarMuestras(int registro, const std::function<std::pair<double, double>(int, int)>& muestra) {
    const auto [a, b] = Registro(registro);
    m_puntosMostrados = b - a + 1;
    const size_t n = static_cast<size_t>(NumSeries) * static_cast<size_t>(m_puntosMostrados);
    m_x.assign(n, 0.0);
    m_y.assign(n, kValorNulo);
    m_minimos.assign(static_cast<size_t>(NumSeries), kMinimoInicial);
    m_maximos.assign(static_cast<size_t>(NumSeries), -kMinimoInicial);
    for (int s = 0; s < NumSeries; ++s) {
        double& menor = m_minimos[static_cast<size_t>(s)];
        double& mayor = m_maximos[static_cast<size_t>(s)];
        for (int j = 0; j < m_puntosMostrados; ++j) {
            const auto [x, y] = muestra(s, j);
            m_x[Indice(s, j)] = x;
            m_y[Indice(s, j)] = y;
            if (y != kValorNulo) {
                menor = std::min(menor, y);
                mayor = std::max(mayor, y);
            }
        }
    }
    Pe.ponerEntero(PEP_POINTS, m_puntosMostrados);
    Pe.ponerArray(PEP_XDATA, m_x);
    Pe.ponerArray(PEP_YDATA, m_y);
    return {a, b};
}

void TWRegistro::PonerHoraRegistro(const TTiempo& tiempo) {
    const QString hora = QString::fromStdString(tiempo.Texto(' ', '.'));
    Pe.ponerTexto(PEP_TABLETITLE, QStringLiteral("|") + hora + QStringLiteral("|\t"));
}

bool TWRegistro::PosicionCursor(int& serie, int& punto) {
    if (NumSeries <= 0 || m_puntosMostrados <= 0)
        return false;
    serie = std::clamp(Pe.dameEntero(PEP_CURSORSUBSET), 0, NumSeries - 1);
    punto = std::max(0, Pe.dameEntero(PEP_CURSORPOINT));
    if (punto >= m_puntosMostrados) {
        punto = m_puntosMostrados - 1;
        Pe.ponerEntero(PEP_CURSORPOINT, punto);
    }
    return true;
}

LecturaCursor::Lectura TWRegistro::LecturaMuestra(int serie, int punto) const {
    LecturaCursor::Lectura l;
    l.valor = m_y[Indice(serie, punto)];
    l.maximo = m_maximos[static_cast<size_t>(serie)];
    l.minimo = m_minimos[static_cast<size_t>(serie)];
    l.mostrarVariable = NumSeries > 1 && Pe.dameEntero(PEP_CURSORMODE) != 0;
    return l;
}

void TWRegistro::LiberarDatos() {
    m_x.clear();
    m_y.clear();
    ObjetosGrafica.DeleteAll();
}

QStringList TWRegistro::NombresSeries() const {
    QStringList r;
    for (int s = 0; s < NumSeries; ++s)
        r << NombreSerie(s);
    return r;
}

QStringList TWRegistro::UnidadesSeries() const {
    QStringList r;
    for (int s = 0; s < NumSeries; ++s)
        r << UnidadSerie(s);
    return r;
}
