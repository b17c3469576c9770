#include "TWEventos.h"

#include "ChartProperties.h"
#include "DatosSerieTemporal.h"
#include "EventosRegistrados.h"
#include "TDriverVentana.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kFases = 3;

// The point types a record starts from when the store holds none: the chart's own.
std::array<int, 3> TiposPuntoGrafica(const EnlaceGrafica& pe, HPE grafica) {
    std::array<std::int32_t, 3> tipos{PEPT_PLUS, PEPT_PLUS, PEPT_PLUS};
    if (grafica != nullptr && pe.PEvget != nullptr) {
        const int n = std::clamp(pe.PEvget(grafica, PEP_POINTTYPES, tipos.data(), kFases), 0, kFases);
        for (int i = n; i < kFases; ++i)
            tipos[static_cast<size_t>(i)] = PEPT_PLUS;
    }
    std::array<int, 3> r{};
    for (size_t i = 0; i < r.size(); ++i)
        r[i] = std::clamp(static_cast<int>(tipos[i]), 0, kNumSimbolos - 1);
    return r;
}

} // namespace

TWEventos::TWEventos(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                     const ListasAtributos& listas, DrivFlex* fuente, TipoPropiedades tipo)
    : TWEventos(propietario, driver, servidor, listas, fuente, tipo,
                LeerMuestras(listas[LV_VALORES], listas[LV_TIEMPOS], listas[LV_ADICIONALES])) {}

TWEventos::TWEventos(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                     const ListasAtributos& listas, DrivFlex* fuente, TipoPropiedades tipo,
                     std::vector<EventoRegistrado> muestras)
    : TWGraficaGenerica(propietario, driver, servidor, fuente),
      m_propiedades(PropiedadesEventos::Defecto(tipo, LeerNiveles(listas[LV_OPCIONES], 0),
                                                {PEPT_PLUS, PEPT_PLUS, PEPT_PLUS})),
      m_niveles(LeerNiveles(listas[LV_OPCIONES], 0)), m_muestras(std::move(muestras)) {
    CargarEventos(m_eventos, m_muestras, m_niveles);
    m_tiempos.reserve(m_muestras.size());
    for (const EventoRegistrado& m : m_muestras)
        m_tiempos.push_back(m.inicio);

    const TValorMultiple& unidades = listas[LV_UNIDADES];
    m_unidad = unidades.Cuenta() > 0 ? QString::fromStdString(unidades.Texto(0)) : QString();
    for (int i = 0; i < listas[LV_NOMBRES].Cuenta(); ++i)
        m_nombres << QString::fromStdString(listas[LV_NOMBRES].Texto(i));
    const TValorMultiple& intervalos = listas[LV_INTERVALOS];
    for (int i = 0; i < intervalos.Cuenta(); ++i) {
        if (const TTiempo* t = intervalos.Tiempos(i))
            m_intervalosEntregados.insert(m_intervalosEntregados.end(), t, t + intervalos.Elementos(i));
    }
    const TValorMultiple& opciones = listas[LV_OPCIONES];
    if (opciones.Cuenta() > 0 && opciones.Elementos(0) > OPC_PERIODO)
        m_periodo = opciones.Numero(0, OPC_PERIODO);

    NumSeries = kFases;
    NumPuntos = static_cast<int>(m_muestras.size());
    NivelAgrupacion = ActualizarBotonesAgrupar(Agrupacion::NIVEL_DEFECTO, Agrupacion::NIVEL_DEFECTO);
    const Agrupacion::Agrupamiento inicial = Agrupacion::CalcularAgrupacion(
        Agrupacion::NIVEL_DEFECTO, m_tiempos.data(), NumPuntos, m_intervalosEntregados.data(),
        static_cast<int>(m_intervalosEntregados.size()), m_periodo, nullptr);
    m_rangos = inicial.rangos;
    NumIntervalos = inicial.numIntervalos;
    UltimoIntervalo = NumIntervalos - 1;
    TomarReferencias(listas[LV_OBJETOS]);
}

TWEventos::~TWEventos() = default;

void TWEventos::Construir() {
    Pe.ponerEntero(PEP_SUBSETS, NumSeries);
    Pe.ponerEntero(PEP_POINTS, std::max(1, NumPuntos));
    Pe.ponerDouble(PEP_GRAPHSHARE, 0.85);
    PonerEjes({{m_unidad, NumSeries}}, PEMD_POINTS);
    ConstruirEjes();
}

void TWEventos::Cargar() {
    // The record's default point types are the chart's, known only now.
    m_propiedades = PropiedadesEventos::Leer(m_propiedades.Tipo(), m_niveles, TiposPuntoGrafica(Pe, Grafica));
    TomarFilaGuardada();
    AplicarVistas(m_eventos, m_propiedades);
    RecalcularPuntos();
    CargarIntervalo();
    Rotular();
}

void TWEventos::TomarFilaGuardada() {
    if (ObjetosGrafica.Cuenta() == 0 || ObjetosGrafica.Elementos(0) < 12)
        return;
    const auto valor = [this](int i) { return static_cast<int>(ObjetosGrafica.Entero(0, i)); };
    m_propiedades.PonerValor(EV_UMBRALS, valor(5));
    m_propiedades.PonerValor(EV_UMBRALH, valor(6));
    m_propiedades.PonerValor(EV_UMBRALI, valor(7));
    m_propiedades.PonerValor(m_propiedades.CampoCompactar(), valor(8) != 0 ? 1 : 0);
    m_propiedades.PonerValor(m_propiedades.CampoHisteresis(), std::clamp(valor(9), 0, 10000));
    m_propiedades.PonerValor(m_propiedades.CampoVerTrifasicos(), valor(10) != 0 ? 1 : 0);
}

void TWEventos::RecalcularPuntos() {
    m_puntos = CalcularPuntos(m_eventos, m_muestras, [this](const CEvento& e) { return ValorPunto(e); });
}

Agrupacion::Intervalo TWEventos::RangoMostrado() const {
    if (NumPuntos == 0)
        return {0, -1};
    if (m_rangos.empty() || IntervaloActual < 0 || IntervaloActual >= static_cast<int>(m_rangos.size()))
        return {0, NumPuntos - 1};
    const Agrupacion::Intervalo r = m_rangos[static_cast<size_t>(IntervaloActual)];
    return {std::clamp(r.primero, 0, NumPuntos - 1), std::clamp(r.ultimo, 0, NumPuntos - 1)};
}

void TWEventos::CargarIntervalo() {
    const Agrupacion::Intervalo r = RangoMostrado();
    m_x.clear();
    m_y.clear();
    PuntosIntervalo(r.primero, r.ultimo, m_x, m_y);
    const int puntos = std::max(0, r.ultimo - r.primero + 1);
    Pe.ponerEntero(PEP_POINTS, puntos);
    Pe.ponerArray(PEP_XDATA, m_x);
    Pe.ponerArray(PEP_YDATA, m_y);
    PonerUmbrales();
    PonerFasesPintadas();
    PonerEtiquetas();
    Anotaciones();
}

void TWEventos::PonerUmbrales() {
    std::vector<double> alturas;
    std::vector<std::int32_t> enEje;
    std::vector<std::int32_t> tipos;
    std::vector<std::int32_t> colores;
    QString etiquetas;
    const int campos[][4] = {{EV_VERS, EV_UMBRALS, EV_TIPOLS, EV_COLORLS},
                             {EV_VERH, EV_UMBRALH, EV_TIPOLH, EV_COLORLH},
                             {EV_VERI, EV_UMBRALI, EV_TIPOLI, EV_COLORLI}};
    for (const auto& c : campos) {
        if (m_propiedades.Valor(c[0]) == 0)
            continue;
        alturas.push_back(m_propiedades.Valor(c[1]) * 0.1);
        enEje.push_back(0);
        tipos.push_back(std::clamp(m_propiedades.Valor(c[2]), 0, kNumTiposLinea - 1));
        colores.push_back(static_cast<std::int32_t>(ColorPaleta(m_propiedades.Valor(c[3]))));
        etiquetas += EtiquetaUmbral(m_propiedades.Valor(c[1]));
    }
    Pe.ponerArray(PEP_HLINEY, alturas);
    Pe.ponerArray(PEP_HLINEAXIS, enEje);
    Pe.ponerArray(PEP_HLINETYPES, tipos);
    Pe.ponerArray(PEP_HLINECOLORS, colores);
    Pe.ponerTextos(PEP_HLINELABELS, alturas.empty() ? QStringList() : QStringList{etiquetas});
    // The labels sit right of the lines: keep room for them.
    Pe.ponerTexto(PEP_RIGHTMARGIN, QStringLiteral("xxxxxxx"));
}

void TWEventos::PonerFasesPintadas() {
    std::vector<std::int32_t> colores(kFases);
    std::vector<std::int32_t> tipos(kFases);
    for (int f = 0; f < kFases; ++f) {
        const size_t i = static_cast<size_t>(f);
        const bool pintada = m_propiedades.Valor(CampoResaltar(f)) != 0;
        colores[i] = static_cast<std::int32_t>(pintada ? ColorPaleta(m_propiedades.Valor(CampoColorPunto(f)))
                                                       : ColorFondo);
        tipos[i] = std::clamp(m_propiedades.Valor(CampoTipoPunto(f)), 0, kNumSimbolos - 1);
    }
    Pe.ponerArray(PEP_SUBSETCOLORS, colores);
    Pe.ponerArray(PEP_POINTTYPES, tipos);
    // Per-point colours would override the subsets' ones: the phases colour their points.
    Pe.ponerArray(PEP_POINTCOLORS, std::vector<std::int32_t>{});
    const Agrupacion::Intervalo r = RangoMostrado();
    Pe.ponerEntero(PEP_FORCEDMETHOD, r.ultimo == r.primero ? PEMF_LARGEPOINTS : PEMF_PERAXIS);
}

void TWEventos::PonerEtiquetas() {
    if (m_eventos.Trifasico) {
        Pe.ponerTexto(PEP_MULTISUBTITLES, Texto(TXT_EV_PHASE_III));
        Pe.ponerArray(PEP_LABELSUBSETS, std::vector<std::int32_t>(kFases, -1));
    } else {
        Pe.ponerTexto(PEP_MULTISUBTITLES, NombresSeries().join(QLatin1Char('\t')));
        Pe.ponerArray(PEP_LABELSUBSETS, std::vector<std::int32_t>{});
    }
}

QString TWEventos::TituloPrincipal() const {
    return m_nombres.isEmpty() ? QString() : m_nombres.front();
}

void TWEventos::Rotular() {
    const QString titulo = TituloPrincipal();
    setWindowTitle(titulo);
    Pe.ponerTexto(PEP_MAINTITLE, titulo);
    Pe.ponerTexto(PEP_SUBTITLE,
                  DatosSerieTemporal::TituloIntervalo(NivelAgrupacion, IntervaloActual, NumIntervalos));
}

int TWEventos::MuestraCursor() const {
    const Agrupacion::Intervalo r = RangoMostrado();
    if (r.ultimo < r.primero)
        return -1;
    const int punto = std::clamp(Pe.dameEntero(PEP_CURSORPOINT), 0, r.ultimo - r.primero);
    return r.primero + punto;
}

QString TWEventos::TextoCursor() {
    const int m = MuestraCursor();
    if (m < 0)
        return QString();
    const size_t i = static_cast<size_t>(m);
    const auto numero = [](double v) { return QString::asprintf("%.1f", v); };
    const double duracion = m_puntos.duracion[i];
    const QString fase =
        m_eventos.Trifasico ? Texto(TXT_EV_III) : QString::number(static_cast<int>(m_puntos.fase[i]));
    const QString sep = QStringLiteral("|");
    const QString fin = QStringLiteral("\t");
    return Texto(TXT_EV_PREVIOUS) + numero(m_puntos.previo[i]) + sep + Texto(TXT_EV_AVERAGE) +
           numero(m_puntos.medio[i]) + fin + Texto(TXT_EV_PHASE) + fase + sep + Texto(TXT_EV_DURATION) +
           (duracion < 0 ? QStringLiteral(">") : QString()) + numero(std::fabs(duracion)) + fin;
}

void TWEventos::PonerLectura() {
    Pe.ponerTexto(PEP_CURSORTABLE, TextoCursor());
}

void TWEventos::PintarGrafica(const std::int32_t*) {
    // Phase colours are the record's: the driver's series colours do not apply.
    Ocupado = true;
    CargarIntervalo();
    Pe.ponerEntero(PEP_ZOOMED, 0);
    ActualizarBotonesZoom(false, false);
    PonerLectura();
    Ocupado = false;
    Rotular();
    Redibujar();
}

void TWEventos::MostrarIntervalo() {
    host::WaitCursor espera;
    PintarGrafica(nullptr);
}

void TWEventos::Reagrupar(int nivel) {
    const Agrupacion::Intervalo antes = RangoMostrado();
    const int muestra = MuestraCursor();
    const TTiempo cursor = muestra >= 0 ? m_tiempos[static_cast<size_t>(muestra)] : TTiempo::Minimo();
    const Agrupacion::Agrupamiento a =
        Agrupacion::CalcularAgrupacion(nivel, m_tiempos.data(), NumPuntos, m_intervalosEntregados.data(),
                                       static_cast<int>(m_intervalosEntregados.size()), m_periodo,
                                       muestra >= 0 && antes.ultimo >= antes.primero ? &cursor : nullptr);
    m_rangos = a.rangos;
    NumIntervalos = a.numIntervalos;
    PrimerIntervalo = 0;
    UltimoIntervalo = NumIntervalos - 1;
    IntervaloActual = std::clamp(a.intervaloActual, 0, std::max(0, UltimoIntervalo));
}

void TWEventos::Agrupar(int nivel) {
    if (nivel < 0) {
        ActualizarBotonesAgrupar(nivel, NivelAgrupacion);
        return;
    }
    if (nivel > Agrupacion::NIVEL_DEFECTO)
        return;
    host::WaitCursor espera;
    NivelAgrupacion = ActualizarBotonesAgrupar(nivel, nivel);
    Reagrupar(nivel);
    ActualizarBotonesIntervalo();
    PintarGrafica(nullptr);
    ColocarGrafica();
}

void TWEventos::RestaurarVista() {
    RestaurarAgrupada(true);
}

void TWEventos::Propiedades() {
    PropiedadesEventos nuevas = m_propiedades;
    if (!EjecutarDialogo(nuevas) || nuevas == m_propiedades)
        return;
    AplicarPropiedades(nuevas);
}

void TWEventos::AplicarPropiedades(const PropiedadesEventos& propiedades) {
    host::WaitCursor espera;
    m_propiedades = propiedades;
    AplicarVistas(m_eventos, m_propiedades);
    RecalcularPuntos();
    PintarGrafica(nullptr);
}

TValorMultiple TWEventos::RegistrosLista() {
    TValorMultiple registros;
    for (int i = 0; i < ObjetosGrafica.Cuenta(); ++i) {
        const std::array<int, 3> objeto{ObjetosGrafica.Entero(i, OBJ_CLAVE1),
                                        ObjetosGrafica.Entero(i, OBJ_CLAVE2),
                                        ObjetosGrafica.Entero(i, OBJ_DRIVER)};
        const std::vector<int> fila = m_propiedades.FilaLista(objeto, NivelAgrupacion, IntervaloActual);
        registros.EntrarEnteros(std::vector<std::int32_t>(fila.begin(), fila.end()));
    }
    return registros;
}

QStringList TWEventos::NombresSeries() const {
    QStringList r;
    for (int f = 1; f <= kFases; ++f)
        r << Texto(TXT_EV_PHASE_1 + f - 1);
    return r;
}

QStringList TWEventos::UnidadesSeries() const {
    return QStringList(kFases, m_unidad);
}

QJsonObject TWEventos::Describir() {
    QJsonObject r = TWGraficaGenerica::Describir();
    r.insert(QStringLiteral("events_raw"), m_eventos.NumeroEventosBrutos());
    r.insert(QStringLiteral("events_shown"), m_eventos.NumeroEventos());
    const ConteoTipos c = ContarTipos(m_eventos);
    QJsonObject porTipo;
    porTipo.insert(QStringLiteral("S"), c.sobretensiones);
    porTipo.insert(QStringLiteral("H"), c.huecos);
    porTipo.insert(QStringLiteral("I"), c.interrupciones);
    r.insert(QStringLiteral("events_by_kind"), porTipo);
    return r;
}

void TWEventos::LiberarDatos() {
    m_x.clear();
    m_y.clear();
    ObjetosGrafica.DeleteAll();
}
