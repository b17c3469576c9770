#include "TWMiGraficaED.h"

#include "ChartProperties.h"
#include "DatosSerieTemporal.h"
#include "TDriverVentana.h"
#include "TWConfigurarED.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QJsonArray>

#include <algorithm>

namespace {

constexpr std::int32_t kColorLimites = 0x0A640A;
// Elements of a saved row of a data object that restore the settings it was listed with.
constexpr int kElementosFilaGuardada = 11;
constexpr int kFilaUmbralS = 5;
constexpr int kFilaUmbralH = 6;
constexpr int kFilaUmbralI = 7;
constexpr int kFilaCompactar = 8;
constexpr int kFilaHisteresis = 9;
constexpr int kFilaTrifasicos = 10;

} // namespace

TWMiGraficaED::TWMiGraficaED(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                             ListasAtributos& listas, DrivFlex* fuente)
    : TWGraficaGenerica(propietario, driver, servidor, fuente), m_niveles(LeerNiveles(listas[LV_OPCIONES], 0)),
      m_propiedades(PropiedadesEventos::Defecto(TipoPropiedades::ED, m_niveles, {0, 0, 0})) {
    const std::vector<EventoRegistrado> registrados =
        LeerEventosDuracion(listas[LV_VALORES], listas[LV_TIEMPOS], listas[LV_ADICIONALES]);
    CargarEventos(m_eventos, registrados, m_niveles);
    m_tiempos.reserve(registrados.size());
    m_fases.reserve(registrados.size());
    for (const EventoRegistrado& e : registrados) {
        m_tiempos.push_back(e.inicio);
        m_fases.push_back(static_cast<int>(e.fase));
    }
    for (int f = 0; f < listas[LV_INTERVALOS].Cuenta(); ++f) {
        if (const TTiempo* t = listas[LV_INTERVALOS].Tiempos(f))
            m_entregados.insert(m_entregados.end(), t, t + listas[LV_INTERVALOS].Elementos(f));
    }
    if (listas[LV_NOMBRES].Cuenta() > 0)
        m_nombre = QString::fromStdString(listas[LV_NOMBRES].Texto(0));
    if (listas[LV_UNIDADES].Cuenta() > 0)
        m_unidad = QString::fromStdString(listas[LV_UNIDADES].Texto(0));
    NumSeries = 3;
    NumPuntos = static_cast<int>(m_tiempos.size());
    NivelAgrupacion = ActualizarBotonesAgrupar(Agrupacion::NIVEL_DEFECTO, Agrupacion::NIVEL_DEFECTO);
    const Agrupacion::Agrupamiento inicial =
        Agrupacion::CalcularAgrupacion(Agrupacion::NIVEL_DEFECTO, m_tiempos.data(), NumPuntos, m_entregados.data(),
                                       static_cast<int>(m_entregados.size()), 0, nullptr);
    m_rangos = inicial.rangos;
    NumIntervalos = inicial.numIntervalos;
    UltimoIntervalo = NumIntervalos - 1;
    TomarReferencias(listas[LV_OBJETOS]);
}

TWMiGraficaED::~TWMiGraficaED() = default;

void TWMiGraficaED::Construir() {
    Pe.ponerEntero(PEP_SUBSETS, NumSeries);
    Pe.ponerEntero(PEP_POINTS, NumPuntos);
    // Durations are not dates: the axis runs over the interval shares, 0 to 1000.
    Pe.ponerEntero(PEP_XSERIALDATES, 0);
    Pe.ponerEntero(PEP_MANUALXSCALE, 1);
    Pe.ponerDouble(PEP_MANUALXMIN, 0.0);
    Pe.ponerDouble(PEP_MANUALXMAX, kAnchoEje);
    Pe.ponerDouble(PEP_GRAPHSHARE, 0.8);
    Pe.ponerTexto(PEP_RIGHTMARGIN, QStringLiteral("xxxxxxx"));
    Pe.ponerTexto(PEP_XAXISLABEL, Texto(TXT_ED_AXIS_DURATION));
    QStringList fases;
    for (int f = 1; f <= 3; ++f)
        fases << QString::asprintf(CargarTexto(TXT_ED_PHASE_SERIES), f);
    Pe.ponerTexto(PEP_MULTISUBTITLES, fases.join(QLatin1Char('\t')));
    PonerEjes({{Texto(TXT_ED_AXIS_VN), NumSeries}}, PEMD_POINTS);
}

void TWMiGraficaED::Cargar() {
    // The point types the chart gives its series are the phases' defaults.
    std::array<std::int32_t, 3> tipos{};
    const int leidos = Pe.PEvget(Grafica, PEP_POINTTYPES, tipos.data(), 3);
    for (int f = std::max(0, leidos); f < 3; ++f)
        tipos[static_cast<size_t>(f)] = 0;
    m_propiedades =
        PropiedadesEventos::Leer(TipoPropiedades::ED, m_niveles, {tipos[0], tipos[1], tipos[2]});
    // A window listed before comes back with the thresholds and views it was listed with.
    if (ObjetosGrafica.Cuenta() > 0 && ObjetosGrafica.Elementos(0) >= kElementosFilaGuardada) {
        m_propiedades.PonerValor(EV_UMBRALS, ObjetosGrafica.Entero(0, kFilaUmbralS));
        m_propiedades.PonerValor(EV_UMBRALH, ObjetosGrafica.Entero(0, kFilaUmbralH));
        m_propiedades.PonerValor(EV_UMBRALI, ObjetosGrafica.Entero(0, kFilaUmbralI));
        m_propiedades.PonerValor(m_propiedades.CampoCompactar(), ObjetosGrafica.Entero(0, kFilaCompactar) != 0);
        m_propiedades.PonerValor(m_propiedades.CampoHisteresis(),
                                 std::clamp(ObjetosGrafica.Entero(0, kFilaHisteresis), 0, 10000));
        m_propiedades.PonerValor(m_propiedades.CampoVerTrifasicos(), ObjetosGrafica.Entero(0, kFilaTrifasicos) != 0);
    }
    AplicarAjustes();
    // The user hears once that the axis has no intervals; later redraws read the file quietly.
    if (!CargarIntervalos())
        CargarIntervalosAvisando(this);
    CalcularPuntos();
    CargarIntervalo();
    Rotular();
}

void TWMiGraficaED::AplicarAjustes() {
    m_eventos.PonerHisteresis(m_propiedades.Histeresis());
    if (m_propiedades.Compactar())
        m_eventos.Compactar();
    else
        m_eventos.Descompactar();
    if (m_propiedades.VerTrifasicos()) {
        m_eventos.CalcularTrifasicos();
        m_eventos.Trifasico = true;
    } else {
        m_eventos.Trifasico = false;
    }
}

void TWMiGraficaED::CalcularPuntos() {
    std::optional<ListaIntervalos> leidos = CargarIntervalos();
    m_intervalos = leidos ? std::move(*leidos) : ListaIntervalos{};
    m_puntos = CalcularPuntosDuracion(m_eventos, m_tiempos, m_fases, m_intervalos);
    PonerUmbrales();
    PonerLimites();
    PonerFases();
}

std::pair<int, int> TWMiGraficaED::Rango() const {
    if (m_rangos.empty() || IntervaloActual < 0 || IntervaloActual >= static_cast<int>(m_rangos.size()))
        return {0, NumPuntos - 1};
    const Agrupacion::Intervalo& r = m_rangos[static_cast<size_t>(IntervaloActual)];
    return {r.primero, r.ultimo};
}

void TWMiGraficaED::CargarIntervalo() {
    const auto [primero, ultimo] = Rango();
    const int puntos = std::max(0, ultimo - primero + 1);
    m_x.assign(static_cast<size_t>(3 * puntos), kValorNulo);
    m_y.assign(static_cast<size_t>(3 * puntos), kValorNulo);
    int dibujados = 0;
    for (size_t f = 0; f < 3; ++f) {
        for (int p = 0; p < puntos; ++p) {
            const size_t origen = static_cast<size_t>(primero + p);
            const size_t destino = f * static_cast<size_t>(puntos) + static_cast<size_t>(p);
            m_x[destino] = m_puntos.x[f][origen];
            m_y[destino] = m_puntos.y[f][origen];
            if (m_x[destino] != kValorNulo)
                ++dibujados;
        }
    }
    Pe.ponerEntero(PEP_POINTS, puntos);
    Pe.ponerArray(PEP_XDATA, m_x);
    Pe.ponerArray(PEP_YDATA, m_y);
    // A lone point is drawn large enough to be seen.
    Pe.ponerEntero(PEP_FORCEDMETHOD, dibujados == 1 ? PEMF_LARGEPOINTS : PEMF_PERAXIS);
}

void TWMiGraficaED::PonerUmbrales() {
    std::vector<double> alturas;
    std::vector<std::int32_t> ejes;
    std::vector<std::int32_t> tipos;
    std::vector<std::int32_t> colores;
    QStringList etiquetas;
    const int filas[3][4] = {{EV_VERS, EV_UMBRALS, EV_TIPOLS, EV_COLORLS},
                             {EV_VERH, EV_UMBRALH, EV_TIPOLH, EV_COLORLH},
                             {EV_VERI, EV_UMBRALI, EV_TIPOLI, EV_COLORLI}};
    for (const auto& f : filas) {
        if (m_propiedades.Valor(f[0]) == 0)
            continue;
        const double nivel = m_propiedades.Valor(f[1]) * 0.1;
        alturas.push_back(nivel);
        ejes.push_back(0);
        tipos.push_back(std::clamp(m_propiedades.Valor(f[2]), 0, kNumTiposLinea - 1));
        colores.push_back(static_cast<std::int32_t>(ColorPaleta(m_propiedades.Valor(f[3]))));
        etiquetas << QString::asprintf(CargarTexto(TXT_ED_FMT_THRESHOLD), nivel);
    }
    Pe.ponerArray(PEP_HLINEY, alturas);
    Pe.ponerArray(PEP_HLINEAXIS, ejes);
    Pe.ponerArray(PEP_HLINETYPES, tipos);
    Pe.ponerArray(PEP_HLINECOLORS, colores);
    Pe.ponerTextos(PEP_HLINELABELS, etiquetas);
}

void TWMiGraficaED::PonerLimites() {
    std::vector<double> posiciones;
    std::vector<std::int32_t> tipos;
    std::vector<std::int32_t> colores;
    QStringList etiquetas;
    for (const LimiteEje& l : LimitesEje(m_intervalos, m_eventos.DameDuracionMaximaVista())) {
        posiciones.push_back(l.posicion);
        tipos.push_back(PELT_DOT);
        colores.push_back(kColorLimites);
        etiquetas << l.etiqueta;
    }
    Pe.ponerArray(PEP_VLINEX, posiciones);
    Pe.ponerArray(PEP_VLINETYPES, tipos);
    Pe.ponerArray(PEP_VLINECOLORS, colores);
    Pe.ponerTextos(PEP_VLINELABELS, etiquetas);
}

void TWMiGraficaED::PonerFases() {
    std::vector<std::int32_t> colores(3);
    std::vector<std::int32_t> tipos(3);
    for (int f = 0; f < 3; ++f) {
        const size_t i = static_cast<size_t>(f);
        // Phases not painted are drawn in the graph's back colour: they do not show.
        colores[i] = m_propiedades.Valor(CampoResaltar(f)) != 0
                         ? static_cast<std::int32_t>(ColorPaleta(m_propiedades.Valor(CampoColorPunto(f))))
                         : static_cast<std::int32_t>(ColorFondo);
        tipos[i] = std::clamp(m_propiedades.Valor(CampoTipoPunto(f)), 0, kNumSimbolos - 1);
    }
    Pe.ponerArray(PEP_SUBSETCOLORS, colores);
    Pe.ponerArray(PEP_POINTTYPES, tipos);
    Pe.ponerArray(PEP_LABELSUBSETS, m_eventos.Trifasico ? std::vector<std::int32_t>{-1, -1, -1}
                                                        : std::vector<std::int32_t>{});
}

void TWMiGraficaED::Rotular() {
    const QString titulo = m_nombre.isEmpty() ? Texto(TXT_ED_TITLE) : m_nombre;
    setWindowTitle(titulo);
    Pe.ponerTexto(PEP_MAINTITLE, titulo);
    Pe.ponerTexto(PEP_SUBTITLE, DatosSerieTemporal::TituloIntervalo(NivelAgrupacion, IntervaloActual, NumIntervalos));
}

QString TWMiGraficaED::TextoCursor() const {
    const auto [primero, ultimo] = Rango();
    const int puntos = ultimo - primero + 1;
    QString t = QString::asprintf(CargarTexto(TXT_ED_FMT_READOUT_HEADER), CargarTexto(TXT_ED_DURATION),
                                  CargarTexto(TXT_UNIT_SECONDS));
    if (Grafica == nullptr || puntos <= 0)
        return t;
    const int serie = std::clamp(Pe.dameEntero(PEP_CURSORSUBSET), 0, 2);
    const int punto = std::clamp(Pe.dameEntero(PEP_CURSORPOINT), 0, puntos - 1);
    const size_t ranura = static_cast<size_t>(primero + punto);
    if (m_puntos.x[static_cast<size_t>(serie)][ranura] == kValorNulo)
        return t;
    const double d = m_puntos.duracion[ranura];
    const QString fase = m_eventos.Trifasico ? Texto(TXT_ED_III) : QString::number(m_puntos.fase[ranura]);
    t += QStringLiteral("|%1%2|%3%4|\t|%5%6|%7%8%9|\t")
             .arg(Texto(TXT_ED_PREVIOUS), QString::asprintf("%.1f", m_puntos.previo[ranura]), Texto(TXT_ED_AVERAGE),
                  QString::asprintf("%.1f", m_puntos.medio[ranura]), Texto(TXT_ED_PHASE), fase,
                  Texto(TXT_ED_DURATION_MS), d < 0 ? QStringLiteral(">") : QString(),
                  QString::asprintf("%.1f", std::abs(d)));
    return t;
}

void TWMiGraficaED::PonerLectura() {
    Pe.ponerTexto(PEP_CURSORTABLE, TextoCursor());
}

void TWMiGraficaED::MostrarIntervalo() {
    host::WaitCursor espera;
    Ocupado = true;
    CargarIntervalo();
    Pe.ponerEntero(PEP_ZOOMED, 0);
    ActualizarBotonesZoom(false, false);
    PonerLectura();
    Ocupado = false;
    Rotular();
    Redibujar();
}

void TWMiGraficaED::PintarGrafica(const std::int32_t*) {
    // The phases' colours are the window's own settings, not the series colours of the pages.
    CalcularPuntos();
    CargarIntervalo();
    Pe.ponerEntero(PEP_ZOOMED, 0);
    ActualizarBotonesZoom(false, false);
    PonerLectura();
    Rotular();
    Redibujar();
}

void TWMiGraficaED::Agrupar(int nivel) {
    if (nivel < 0) {
        ActualizarBotonesAgrupar(nivel, NivelAgrupacion);
        return;
    }
    if (nivel > Agrupacion::NIVEL_DEFECTO)
        return;
    host::WaitCursor espera;
    NivelAgrupacion = ActualizarBotonesAgrupar(nivel, nivel);
    const Agrupacion::Agrupamiento a =
        Agrupacion::CalcularAgrupacion(nivel, m_tiempos.data(), NumPuntos, m_entregados.data(),
                                       static_cast<int>(m_entregados.size()), 0, nullptr);
    m_rangos = a.rangos;
    NumIntervalos = a.numIntervalos;
    PrimerIntervalo = 0;
    UltimoIntervalo = NumIntervalos - 1;
    IntervaloActual = std::clamp(a.intervaloActual, 0, std::max(0, UltimoIntervalo));
    ActualizarBotonesIntervalo();
    PintarGrafica(nullptr);
    ColocarGrafica();
}

void TWMiGraficaED::RestaurarVista() {
    TDriverVentana* driver = Driver();
    if (ObjetosGrafica.Cuenta() == 0 || ObjetosGrafica.Elementos(0) <= OBJ_NIVEL) {
        const int nivel = driver != nullptr ? driver->NivelGuardado() : Agrupacion::NIVEL_DEFECTO;
        if (nivel >= 0 && nivel <= Agrupacion::NIVEL_DEFECTO)
            Agrupar(nivel);
        return;
    }
    const int nivel = ObjetosGrafica.Entero(0, OBJ_NIVEL);
    if (nivel < 0 || nivel > Agrupacion::NIVEL_DEFECTO)
        return;
    ActualizarBotonesAgrupar(nivel, nivel);
    if (driver != nullptr)
        driver->PedirNivel(nivel);
    Agrupar(nivel);
    const int intervalo =
        ObjetosGrafica.Elementos(0) > OBJ_INTERVALO ? ObjetosGrafica.Entero(0, OBJ_INTERVALO) : 0;
    IntervaloActual = std::clamp(intervalo, 0, std::max(0, NumIntervalos - 1));
    ActualizarBotonesIntervalo();
    MostrarIntervalo();
}

void TWMiGraficaED::Propiedades() {
    TWConfigurarED dialogo(m_propiedades, m_niveles, this);
    if (host::DialogRunner::exec(dialogo) != QDialog::Accepted)
        return;
    m_propiedades = dialogo.Propiedades();
    AplicarAjustes();
    PintarGrafica(nullptr);
}

void TWMiGraficaED::EscribirUmbrales() {
    QString error;
    if (!GuardarUmbrales(m_propiedades.Umbrales(), &error))
        host::MessageService::show(
            this, Texto(TXT_ERROR),
            Texto(TXT_FILE_WRITE_FAILED).arg(QString::fromLatin1(kFicheroUmbrales), error),
            host::MessageIcon::Error);
}

void TWMiGraficaED::Lista() {
    EscribirUmbrales();
    TWGraficaGenerica::Lista();
}

void TWMiGraficaED::ExportarTXT() {
    EscribirUmbrales();
    TWGraficaGenerica::ExportarTXT();
}

TValorMultiple TWMiGraficaED::RegistrosLista() {
    TValorMultiple registros;
    for (int i = 0; i < ObjetosGrafica.Cuenta(); ++i) {
        const std::vector<std::int32_t> fila = m_propiedades.FilaLista(
            {ObjetosGrafica.Entero(i, OBJ_CLAVE1), ObjetosGrafica.Entero(i, OBJ_CLAVE2),
             ObjetosGrafica.Entero(i, OBJ_DRIVER)},
            NivelAgrupacion, IntervaloActual);
        registros.EntrarEnteros(fila);
    }
    return registros;
}

QStringList TWMiGraficaED::NombresSeries() const {
    QStringList r;
    for (int f = 1; f <= 3; ++f)
        r << QString::asprintf(CargarTexto(TXT_ED_PHASE_SERIES), f);
    return r;
}

QStringList TWMiGraficaED::UnidadesSeries() const {
    return {m_unidad, m_unidad, m_unidad};
}

QJsonObject TWMiGraficaED::Describir() {
    QJsonObject r = TWGraficaGenerica::Describir();
    // The duration intervals as read from the file replace the count of time intervals, which
    // stays under "time_intervals".
    r.insert(QStringLiteral("time_intervals"), NumIntervalos);
    QJsonArray intervalos;
    for (const Intervalo& i : m_intervalos) {
        QJsonObject o;
        o.insert(QStringLiteral("from_ms"), i.DesdeMs());
        o.insert(QStringLiteral("to_ms"), i.HastaMs());
        o.insert(QStringLiteral("share"), i.porcentaje);
        intervalos.append(o);
    }
    r.insert(QStringLiteral("intervals"), intervalos);
    r.insert(QStringLiteral("events_placed"), m_puntos.colocados);
    return r;
}

void TWMiGraficaED::LiberarDatos() {
    m_x.clear();
    m_y.clear();
    ObjetosGrafica.DeleteAll();
}
