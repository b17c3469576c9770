#include "TWMiGraficaTES.h"

#include "Agrupacion.h"
#include "ChartProperties.h"
#include "DatosTES.h"
#include "TWConfigurarTES.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QJsonArray>

#include <algorithm>
#include <tuple>

namespace {

constexpr std::int32_t kColorMarcadores = 0x0A640A;

QString TextoTiempo(const TTiempo& t) {
    char texto[48];
    t.ObtTexto(texto, ' ', '.');
    return QString::fromLatin1(texto);
}

} // namespace

TWMiGraficaTES::TWMiGraficaTES(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                               ListasAtributos& listas, DrivFlex* fuente)
    : TWGraficaGenerica(propietario, driver, servidor, fuente),
      m_niveles(LeerNiveles(listas[LV_OPCIONES], 0)),
      m_propiedades(PropiedadesEventos::Defecto(TipoPropiedades::TES, m_niveles, {0, 0, 0})) {
    QString error;
    DatosTES datos = LeerDatosTES(listas[LV_VALORES], listas[LV_TIEMPOS], listas[LV_ADICIONALES],
                                  listas[LV_TIEMPOSGENERALES], &error);
    // A malformed recording still shows its events, without samples.
    if (!error.isEmpty())
        host::MessageService::show(this, Texto(TXT_WARNING), error, host::MessageIcon::Warning);
    CargarEventos(m_eventos, datos.eventos, m_niveles);
    m_eventos.EnlazarEventosBrutos();
    m_muestras = std::move(datos.muestras);
    if (listas[LV_NOMBRES].Cuenta() > 0)
        m_nombre = QString::fromStdString(listas[LV_NOMBRES].Texto(0));
    if (listas[LV_UNIDADES].Cuenta() > 0)
        m_unidad = QString::fromStdString(listas[LV_UNIDADES].Texto(0));
    NumSeries = 3;
    // Events are stepped through one by one, never regrouped.
    ActualizarBotonesAgrupar(Agrupacion::NIVEL_NO_DISPONIBLE, Agrupacion::NIVEL_NO_DISPONIBLE);
    TomarReferencias(listas[LV_OBJETOS]);
}

TWMiGraficaTES::~TWMiGraficaTES() = default;

void TWMiGraficaTES::Construir() {
    Pe.ponerEntero(PEP_SUBSETS, NumSeries);
    Pe.ponerEntero(PEP_POINTS, 0);
    Pe.ponerDouble(PEP_GRAPHSHARE, 0.85);
    Pe.ponerTexto(PEP_MULTISUBTITLES, NombresSeries().join(QLatin1Char('\t')));
    PonerEjes({{m_unidad, NumSeries}}, PEMD_LINEWITHPOINTS);
}

void TWMiGraficaTES::Cargar() {
    std::array<std::int32_t, 3> tipos{};
    const int leidos = Pe.PEvget(Grafica, PEP_POINTTYPES, tipos.data(), 3);
    for (int f = std::max(0, leidos); f < 3; ++f)
        tipos[static_cast<size_t>(f)] = 0;
    m_coloresSeries.assign(3, 0);
    const int colores = Pe.PEvget(Grafica, PEP_SUBSETCOLORS, m_coloresSeries.data(), 3);
    m_coloresSeries.resize(static_cast<size_t>(std::clamp(colores, 0, 3)));
    m_propiedades = PropiedadesEventos::Leer(TipoPropiedades::TES, m_niveles, {tipos[0], tipos[1], tipos[2]});
    AplicarAjustes();
    CargarEvento();
    PonerFases();
    Rotular();
}

void TWMiGraficaTES::AplicarAjustes() {
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
    m_puntos = ConstruirPuntosTES(m_eventos, m_muestras);
    NumIntervalos = m_eventos.NumeroEventos();
    PrimerIntervalo = 0;
    UltimoIntervalo = NumIntervalos - 1;
    IntervaloActual = 0;
}

void TWMiGraficaTES::CargarEvento() {
    int primero = 0;
    int cuenta = 0;
    if (IntervaloActual >= 0 && IntervaloActual < static_cast<int>(m_puntos.rangos.size()))
        std::tie(primero, cuenta) = m_puntos.rangos[static_cast<size_t>(IntervaloActual)];
    m_x.assign(static_cast<size_t>(3 * cuenta), kValorNulo);
    m_y.assign(static_cast<size_t>(3 * cuenta), kValorNulo);
    for (int p = 0; p < cuenta; ++p) {
        const InstanteTES& in = m_puntos.instantes[static_cast<size_t>(primero + p)];
        const double fecha = FechaSerie(in.tiempo);
        for (size_t f = 0; f < 3; ++f) {
            const size_t i = f * static_cast<size_t>(cuenta) + static_cast<size_t>(p);
            m_x[i] = fecha;
            m_y[i] = in.valores[f];
        }
    }
    Pe.ponerEntero(PEP_POINTS, cuenta);
    Pe.ponerArray(PEP_XDATA, m_x);
    Pe.ponerArray(PEP_YDATA, m_y);
    Pe.ponerEntero(PEP_FORCEDMETHOD, cuenta == 1 ? PEMF_LARGEPOINTS : PEMF_PERAXIS);

    // The markers at the event's start and end, their times written at the top and bottom.
    const CEvento* e = m_eventos.Evento(IntervaloActual);
    if (e == nullptr) {
        Pe.ponerArray(PEP_VLINEX, std::vector<double>{});
        Pe.ponerTextos(PEP_VLINELABELS, {});
        return;
    }
    Pe.ponerArray(PEP_VLINEX, std::vector<double>{FechaSerie(e->Inicio), FechaSerie(FinEvento(*e))});
    Pe.ponerArray(PEP_VLINETYPES, std::vector<std::int32_t>{PELT_DOT, PELT_DOT});
    Pe.ponerArray(PEP_VLINECOLORS, std::vector<std::int32_t>{kColorMarcadores, kColorMarcadores});
    Pe.ponerTextos(PEP_VLINELABELS, {EtiquetaMarcadores(*e)});
}

void TWMiGraficaTES::PonerFases() {
    std::vector<std::int32_t> colores = m_coloresSeries;
    colores.resize(3, 0);
    for (int f = 0; f < 3; ++f) {
        if (m_propiedades.Valor(CampoResaltar(f)) != 0)
            colores[static_cast<size_t>(f)] =
                static_cast<std::int32_t>(ColorPaleta(m_propiedades.Valor(CampoColorPunto(f))));
    }
    Pe.ponerArray(PEP_SUBSETCOLORS, colores);
}

QString TWMiGraficaTES::TituloEvento() const {
    const CEvento* e = m_eventos.Evento(IntervaloActual);
    if (e == nullptr)
        return Texto(TXT_TES_TITLE);
    const int tipo = e->Tipo == kSobretension ? TXT_TES_OVERVOLTAGE
                     : e->Tipo == kHueco      ? TXT_TES_SAG
                                              : TXT_TES_INTERRUPTION;
    return m_eventos.Trifasico
               ? QString::asprintf(CargarTexto(TXT_TES_III_PHASE), CargarTexto(tipo))
               : QString::asprintf(CargarTexto(TXT_TES_FMT_PHASE), CargarTexto(tipo), e->Fase);
}

void TWMiGraficaTES::Rotular() {
    const QString titulo = m_nombre.isEmpty() ? Texto(TXT_TES_TITLE) : m_nombre;
    setWindowTitle(titulo);
    Pe.ponerTexto(PEP_MAINTITLE, titulo);
    Pe.ponerTexto(PEP_SUBTITLE,
                  QString::asprintf(CargarTexto(TXT_FMT_INTERVAL_TITLE), qUtf8Printable(TituloEvento()),
                                    NumIntervalos > 0 ? IntervaloActual + 1 : 0, NumIntervalos));
    PonerHintsRegistro();
}

QString TWMiGraficaTES::TextoCursor() const {
    int primero = 0;
    int cuenta = 0;
    if (IntervaloActual >= 0 && IntervaloActual < static_cast<int>(m_puntos.rangos.size()))
        std::tie(primero, cuenta) = m_puntos.rangos[static_cast<size_t>(IntervaloActual)];
    if (Grafica == nullptr || cuenta <= 0)
        return QString();
    const int serie = std::clamp(Pe.dameEntero(PEP_CURSORSUBSET), 0, 2);
    const int punto = std::clamp(Pe.dameEntero(PEP_CURSORPOINT), 0, cuenta - 1);
    const InstanteTES& in = m_puntos.instantes[static_cast<size_t>(primero + punto)];
    const double v = in.valores[static_cast<size_t>(serie)];
    return QStringLiteral("|%1: %2|%3|\t")
        .arg(Texto(TXT_TES_TIME), TextoTiempo(in.tiempo),
             v == kSinMuestra
                 ? QString()
                 : Texto(TXT_EV_PHASE_1 + serie) + QStringLiteral(": ") + QString::asprintf("%.1f", v));
}

void TWMiGraficaTES::PonerLectura() {
    Pe.ponerTexto(PEP_CURSORTABLE, TextoCursor());
}

void TWMiGraficaTES::MostrarIntervalo() {
    host::WaitCursor espera;
    Ocupado = true;
    CargarEvento();
    Pe.ponerEntero(PEP_ZOOMED, 0);
    ActualizarBotonesZoom(false, false);
    PonerLectura();
    Ocupado = false;
    Rotular();
    Redibujar();
}

void TWMiGraficaTES::PintarGrafica(const std::int32_t* colores) {
    if (colores != nullptr)
        m_coloresSeries.assign(colores, colores + 3);
    PonerFases();
    MostrarIntervalo();
}

void TWMiGraficaTES::RestaurarVista() {
    RestaurarIntervalo();
}

void TWMiGraficaTES::Propiedades() {
    TWConfigurarTES dialogo(m_propiedades, this);
    if (host::DialogRunner::exec(dialogo) != QDialog::Accepted)
        return;
    m_propiedades = dialogo.Propiedades();
    AplicarAjustes();
    ActualizarBotonesIntervalo();
    PonerFases();
    MostrarIntervalo();
}

QStringList TWMiGraficaTES::NombresSeries() const {
    QStringList r;
    for (int f = 0; f < 3; ++f)
        r << Texto(TXT_EV_PHASE_1 + f);
    return r;
}

QStringList TWMiGraficaTES::UnidadesSeries() const {
    return {m_unidad, m_unidad, m_unidad};
}

QJsonObject TWMiGraficaTES::Describir() {
    QJsonObject r = TWGraficaGenerica::Describir();
    r.insert(QStringLiteral("events"), m_eventos.NumeroEventos());
    r.insert(QStringLiteral("first_event_samples"),
             m_puntos.rangos.empty() ? 0 : m_puntos.rangos.front().second);
    return r;
}

void TWMiGraficaTES::LiberarDatos() {
    m_x.clear();
    m_y.clear();
    ObjetosGrafica.DeleteAll();
}
