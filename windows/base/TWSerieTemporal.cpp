#include "TWSerieTemporal.h"

#include "Agrupacion.h"
#include "ChartProperties.h"
#include "LecturaCursor.h"
#include "TDriverVentana.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QJsonArray>

#include <algorithm>
#include <cstdint>
#include <limits>

TWSerieTemporal::TWSerieTemporal(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                                 const ListasAtributos& listas, DrivFlex* fuente)
    : TWGraficaGenerica(propietario, driver, servidor, fuente) {
    CambiarDatos(listas);
    NivelAgrupacion = ActualizarBotonesAgrupar(Agrupacion::NIVEL_DEFECTO, Agrupacion::NIVEL_DEFECTO);

    // The delivered intervals are the starting view.
    const std::vector<TTiempo>& entregados = m_datos->IntervalosEntregados();
    const Agrupacion::Agrupamiento inicial = Agrupacion::CalcularAgrupacion(
        Agrupacion::NIVEL_DEFECTO, m_datos->Tiempos(), NumPuntos, entregados.data(),
        static_cast<int>(entregados.size()), m_datos->PeriodoRegistro(), nullptr);
    m_datos->PonerRangos(inicial.rangos);
    NumIntervalos = inicial.numIntervalos;
    UltimoIntervalo = NumIntervalos - 1;
    TomarReferencias(listas[LV_OBJETOS]);
}

TWSerieTemporal::~TWSerieTemporal() = default;

void TWSerieTemporal::CambiarDatos(const ListasAtributos& listas) {
    std::vector<Agrupacion::Intervalo> rangos;
    if (m_datos)
        rangos = m_datos->Rangos();
    m_datos = std::make_unique<DatosSerieTemporal>(
        listas[LV_VALORES], listas[LV_TIEMPOS], listas[LV_UNIDADES], listas[LV_NOMBRES], listas[LV_OPCIONES],
        listas[LV_INTERVALOS], listas[LV_DECIMALES], [this](const TTiempo& t) { return FechaSerie(t); });
    m_datos->PonerRangos(std::move(rangos));
    ++m_generacion;
    NumSeries = m_datos->NumSeries();
    NumPuntos = m_datos->NumPuntos();
}

void TWSerieTemporal::Construir() {
    Pe.ponerEntero(PEP_SUBSETS, NumSeries);
    Pe.ponerEntero(PEP_POINTS, NumPuntos);
    // More series leave less room to the graph and more to the read-out.
    Pe.ponerDouble(PEP_GRAPHSHARE, std::max(0.6, 0.95 - 0.04 * (NumSeries - 1)));

    std::vector<std::pair<QString, int>> ejes;
    for (const DatosSerieTemporal::Eje& e : m_datos->Ejes(UnidadExacta()))
        ejes.emplace_back(e.etiqueta, e.series);
    NumEjes = PonerEjes(ejes, m_datos->Metodo());
}

void TWSerieTemporal::Cargar() {
    CargarIntervalo(NumIntervalos > 1 ? IntervaloActual : -1);
    RotularGrafica();
    ColorearPuntos();
}

void TWSerieTemporal::RotularGrafica() {
    const QString titulo = TituloFijo() ? TituloVarias() : m_datos->TituloPrincipal(TituloVarias());
    setWindowTitle(titulo);
    Pe.ponerTexto(PEP_MAINTITLE, titulo);
    if (NumSeries > 1 || TituloFijo())
        Pe.ponerTexto(PEP_MULTISUBTITLES, m_datos->Subtitulos());
    Pe.ponerTexto(PEP_SUBTITLE, TituloIntervalo());
    Pe.ponerTexto(PEP_XAXISLABEL, m_datos->EtiquetaX());
}

QString TWSerieTemporal::TituloVarias() const {
    return Texto(TXT_MULTIGRAPHIC);
}

QString TWSerieTemporal::TituloIntervalo() const {
    return DatosSerieTemporal::TituloIntervalo(NivelAgrupacion, IntervaloActual, NumIntervalos);
}

void TWSerieTemporal::CargarIntervalo(int intervalo) {
    m_datos->ElegirIntervalo(m_datos->Rangos().empty() ? -1 : intervalo);
    const int puntos = m_datos->PuntosMostrados();
    // The chart keeps its own copy of the dates and values, and the read-out takes its values
    // from the aligned rows. They are given only when the chart does not hold them already (a
    // repaint in new colours, a level that cuts the same points).
    const Cargado cargado{Grafica, m_generacion, m_datos->PrimerMostrado(), puntos};
    if (cargado == m_cargado && Pe.dameEntero(PEP_POINTS) == puntos &&
        Pe.PEvget(Grafica, PEP_YDATA, nullptr, 0) == puntos * NumSeries &&
        Pe.PEvget(Grafica, PEP_XDATA, nullptr, 0) == puntos * NumSeries)
        return;
    Pe.ponerEntero(PEP_POINTS, puntos);
    Pe.ponerArray(PEP_XDATA, m_datos->FechasMostradas());
    // The values go from the rows into the chart's array a cell at a time: a whole array of
    // them built only to be copied would be the largest thing alive.
    const std::int64_t celdas = static_cast<std::int64_t>(puntos) * std::max(0, NumSeries);
    Pe.ponerCeldas(PEP_YDATA, celdas <= std::numeric_limits<int>::max() ? static_cast<int>(celdas) : 0,
                   [&](int celda) { return m_datos->ValorMostrado(celda / puntos, celda % puntos); });
    m_cargado = cargado;
}

void TWSerieTemporal::ColorearPuntos() {
    std::vector<std::int32_t> subsets(static_cast<size_t>(std::max(0, NumSeries)));
    const int n = Pe.PEvget(Grafica, PEP_SUBSETCOLORS, subsets.data(), static_cast<int>(subsets.size()));
    subsets.resize(static_cast<size_t>(std::clamp(n, 0, NumSeries)));
    Pe.ponerArray(PEP_POINTCOLORS, m_datos->ColoresPuntos(subsets, static_cast<std::int32_t>(ColorFondo)));
    // A single point per series is drawn as a marker big enough to be seen.
    Pe.ponerEntero(PEP_FORCEDMETHOD, m_datos->PuntosMostrados() == 1 ? 4 : 0);
}

QString TWSerieTemporal::TextoCursor(int* filas) {
    if (NumSeries <= 0 || m_datos->PuntosMostrados() <= 0) {
        if (filas)
            *filas = 0;
        return QString();
    }
    const int serie = std::clamp(Pe.dameEntero(PEP_CURSORSUBSET), 0, NumSeries - 1);
    int punto = std::max(0, Pe.dameEntero(PEP_CURSORPOINT));
    if (punto >= m_datos->PuntosMostrados()) {
        punto = m_datos->PuntosMostrados() - 1;
        Pe.ponerEntero(PEP_CURSORPOINT, punto);
    }
    const int periodo = FechasComoTexto() ? 0 : m_datos->PeriodoMinimo();
    const bool cierra = m_datos->Opcion(serie, OPC_CIERRA_PERIODO) != 0.0;
    LecturaCursor::Lectura l;
    l.valor = ValorLectura(m_datos->ValorMostrado(serie, punto));
    l.maximo = ValorLectura(m_datos->Maximo(serie));
    l.minimo = ValorLectura(m_datos->Minimo(serie));
    l.decimales = m_datos->Decimales(serie);
    l.unidad = m_datos->Unidad(serie);
    l.fecha = LecturaCursor::FormatearFecha(m_datos->TiempoMostrado(punto), periodo, cierra);
    l.desde = LecturaCursor::FormatearFecha(m_datos->PrimeraFecha(), periodo, cierra);
    l.hasta = LecturaCursor::FormatearFecha(m_datos->UltimaFecha(), periodo, cierra);
    l.mostrarVariable = NumSeries > 1 && Pe.dameEntero(PEP_CURSORMODE) != 0;
    l.nombreVariable = m_datos->Nombre(serie);
    return LecturaCursor::Texto(l, filas);
}

void TWSerieTemporal::PonerLectura() {
    Pe.ponerTexto(PEP_CURSORTABLE, TextoCursor());
}

void TWSerieTemporal::MostrarIntervalo() {
    host::WaitCursor espera;
    if (NumIntervalos > 1) {
        Ocupado = true;
        CargarIntervalo(IntervaloActual);
        Pe.ponerEntero(PEP_ZOOMED, 0);
        ActualizarBotonesZoom(false, false);
        PonerLectura();
        Ocupado = false;
    }
    ColorearPuntos();
    RotularGrafica();
    Redibujar();
}

void TWSerieTemporal::PintarGrafica(const std::int32_t* colores) {
    if (colores != nullptr && NumSeries > 0)
        Pe.PEvset(Grafica, PEP_SUBSETCOLORS, colores, NumSeries);
    CargarIntervalo(NumIntervalos < 2 ? -1 : IntervaloActual);
    if (PuntoCursor >= 0) {
        Pe.ponerEntero(PEP_CURSORPOINT, PuntoCursor);
        PuntoCursor = -1;
    }
    Pe.ponerEntero(PEP_ZOOMED, 0);
    ActualizarBotonesZoom(false, false);
    PonerLectura();
    ColorearPuntos();
    Redibujar();
}

void TWSerieTemporal::Agrupar(int nivel) {
    if (nivel < 0) {
        // The driver hears of the new level and calls back with it when it changed.
        ActualizarBotonesAgrupar(nivel, NivelAgrupacion);
        return;
    }
    if (nivel > Agrupacion::NIVEL_DEFECTO)
        return;
    host::WaitCursor espera;
    NivelAgrupacion = ActualizarBotonesAgrupar(nivel, nivel);

    // Keep the user's place: the time under the cursor before the cut.
    const bool conCursor = m_datos->PuntosMostrados() > 0 && SeguirCursor(nivel);
    const TTiempo cursor = m_datos->TiempoMostrado(std::max(0, Pe.dameEntero(PEP_CURSORPOINT)));
    const std::vector<TTiempo>& entregados = m_datos->IntervalosEntregados();
    const Agrupacion::Agrupamiento a = Agrupacion::CalcularAgrupacion(
        nivel, m_datos->Tiempos(), NumPuntos, entregados.data(), static_cast<int>(entregados.size()),
        m_datos->PeriodoRegistro(), conCursor ? &cursor : nullptr);
    m_datos->PonerRangos(a.rangos);
    NumIntervalos = a.numIntervalos;
    PrimerIntervalo = 0;
    UltimoIntervalo = NumIntervalos - 1;
    IntervaloActual = std::clamp(a.intervaloActual, 0, std::max(0, UltimoIntervalo));
    PuntoCursor = a.puntoCursor;
    // Only the ungrouped view limits how far apart joined points may be.
    Pe.ponerDouble(PEP_MAXGAP, a.conEspaciado ? a.espaciado : 0.0);

    RotularGrafica();
    ActualizarBotonesIntervalo();
    PintarGrafica(nullptr);
    RotularGrafica();
    ColocarGrafica();
}

void TWSerieTemporal::RestaurarVista() {
    RestaurarAgrupada(false);
}

QStringList TWSerieTemporal::NombresSeries() const {
    QStringList r;
    for (int i = 0; i < NumSeries; ++i)
        r << m_datos->Nombre(i);
    return r;
}

QStringList TWSerieTemporal::UnidadesSeries() const {
    QStringList r;
    for (int i = 0; i < NumSeries; ++i)
        r << m_datos->Unidad(i);
    return r;
}

QJsonObject TWSerieTemporal::Describir() {
    QJsonObject r = TWGraficaGenerica::Describir();
    r.insert(QStringLiteral("points"), NumPuntos);
    r.insert(QStringLiteral("points_shown"), m_datos->PuntosMostrados());
    return r;
}

void TWSerieTemporal::LiberarDatos() {
    ObjetosGrafica.DeleteAll();
}
