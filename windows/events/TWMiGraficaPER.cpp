#include "TWMiGraficaPER.h"

#include "ChartProperties.h"
#include "Contrato.h"
#include "LecturaCursor.h"
#include "TWPerturbaciones.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QAction>
#include <QJsonArray>

#include <algorithm>

namespace {

constexpr double kMinimoInicial = 1.23456789e13;

} // namespace

TWMiGraficaPER::TWMiGraficaPER(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                               ListasAtributos& listas, DrivFlex* fuente)
    : TWRegistro(propietario, driver, servidor, listas, fuente) {
    m_datos = std::make_unique<perturbaciones::DatosPerturbaciones>(listas);
    NumSeries = m_datos->NumSeries();
    NumPuntos = m_datos->NumPuntos();
    PonerRegistros(m_datos->Registros());
    perturbaciones::LeerRegistro(m_filtro);
}

TWMiGraficaPER::~TWMiGraficaPER() = default;

void TWMiGraficaPER::Construir() {
    MegaConfig->setToolTip(Texto(TXT_DISTURBANCES_FILTER));
    megaconfigurar1->setText(Texto(TXT_MENU_DISTURBANCES_FILTER));
    Pe.ponerEntero(PEP_XSERIALDATES, 0);
    Pe.ponerEntero(PEP_SUBSETS, NumSeries);
    Pe.ponerEntero(PEP_POINTS, NumPuntos);
    // The phases of one register are compared on one axis.
    const QString unidad = NumSeries > 0 ? m_datos->Unidad(0) : QString();
    NumEjes = PonerEjes({{LecturaCursor::EtiquetaEje(unidad), std::max(1, NumSeries)}}, PEMD_LINE);
}

void TWMiGraficaPER::Cargar() {
    const QString titulo = Texto(TXT_DISTURBANCES_TITLE);
    setWindowTitle(titulo);
    Pe.ponerTexto(PEP_MAINTITLE, titulo);
    QStringList nombres;
    for (int s = 0; s < NumSeries; ++s)
        nombres << m_datos->Nombre(s);
    Pe.ponerTexto(PEP_MULTISUBTITLES, nombres.join(QLatin1Char('\t')));
    Pe.ponerArray(PEP_LABELSUBSETS, std::vector<std::int32_t>(static_cast<size_t>(NumSeries), -1));
    Pe.ponerTexto(PEP_SUBTITLE, QString());
    Pe.ponerTexto(PEP_XAXISLABEL, Texto(TXT_WAVE_SAMPLE));
}

void TWMiGraficaPER::MostrarRegistro(int registro) {
    if (registro < 0 || registro >= NumRegistros())
        return;
    const auto [a, b] = Registro(registro);
    m_puntosMostrados = b - a + 1;
    const size_t n = static_cast<size_t>(NumSeries) * static_cast<size_t>(m_puntosMostrados);
    m_x.assign(n, 0.0);
    m_y.assign(n, kValorNulo);
    m_minimos.assign(static_cast<size_t>(NumSeries), kMinimoInicial);
    m_maximos.assign(static_cast<size_t>(NumSeries), -kMinimoInicial);
    for (int s = 0; s < NumSeries; ++s) {
        const std::span<const double> serie = m_datos->Serie(s);
        for (int j = 0; j < m_puntosMostrados; ++j) {
            const size_t k =
                static_cast<size_t>(s) * static_cast<size_t>(m_puntosMostrados) + static_cast<size_t>(j);
            const double y = serie[static_cast<size_t>(a + j)];
            m_x[k] = j;
            m_y[k] = y;
            if (y != kValorNulo) {
                m_minimos[static_cast<size_t>(s)] = std::min(m_minimos[static_cast<size_t>(s)], y);
                m_maximos[static_cast<size_t>(s)] = std::max(m_maximos[static_cast<size_t>(s)], y);
            }
        }
    }
    Pe.ponerEntero(PEP_POINTS, m_puntosMostrados);
    Pe.ponerArray(PEP_XDATA, m_x);
    Pe.ponerArray(PEP_YDATA, m_y);
    const QString hora = QString::fromStdString(m_datos->TiempoRegistro(registro).Texto(' ', '.'));
    Pe.ponerTexto(PEP_TABLETITLE, QStringLiteral("|") + hora + QStringLiteral("|\t"));
    ColorearPuntos(registro);
}

void TWMiGraficaPER::ColorearPuntos(int registro) {
    std::vector<std::int32_t> subsets(static_cast<size_t>(NumSeries));
    if (NumSeries > 0)
        Pe.PEvget(Grafica, PEP_SUBSETCOLORS, subsets.data(), NumSeries);
    m_colores.clear();
    const double vref = m_datos->Vref(registro);
    for (int s = 0; s < NumSeries; ++s) {
        const std::span<const double> muestras(m_y.data() + static_cast<size_t>(s) *
                                                                static_cast<size_t>(m_puntosMostrados),
                                               static_cast<size_t>(m_puntosMostrados));
        const std::vector<std::int32_t> c =
            perturbaciones::ColoresMarcas(m_filtro, vref, muestras, subsets[static_cast<size_t>(s)]);
        m_colores.insert(m_colores.end(), c.begin(), c.end());
    }
    Pe.ponerArray(PEP_POINTCOLORS, m_colores);
}

QString TWMiGraficaPER::TextoCursor() {
    if (NumSeries <= 0 || m_puntosMostrados <= 0)
        return QString();
    const int serie = std::clamp(Pe.dameEntero(PEP_CURSORSUBSET), 0, NumSeries - 1);
    int punto = std::max(0, Pe.dameEntero(PEP_CURSORPOINT));
    if (punto >= m_puntosMostrados) {
        punto = m_puntosMostrados - 1;
        Pe.ponerEntero(PEP_CURSORPOINT, punto);
    }
    LecturaCursor::Lectura l;
    l.valor =
        m_y[static_cast<size_t>(serie) * static_cast<size_t>(m_puntosMostrados) + static_cast<size_t>(punto)];
    l.maximo = m_maximos[static_cast<size_t>(serie)];
    l.minimo = m_minimos[static_cast<size_t>(serie)];
    l.decimales = m_datos->Decimales(serie);
    l.unidad = m_datos->Unidad(serie);
    l.fecha = QString::number(punto);
    l.desde = QStringLiteral("0");
    l.hasta = QString::number(m_puntosMostrados - 1);
    l.mostrarVariable = NumSeries > 1 && Pe.dameEntero(PEP_CURSORMODE) != 0;
    l.nombreVariable = m_datos->Nombre(serie);
    return LecturaCursor::Texto(l);
}

void TWMiGraficaPER::PonerLectura() {
    Pe.ponerTexto(PEP_CURSORTABLE, TextoCursor());
}

void TWMiGraficaPER::Propiedades() {
    // Until the user sets one, the trigger starts at the lowest the registers propose.
    if (m_filtro.Trigger >= perturbaciones::kSinTrigger)
        m_filtro.Trigger = m_datos->MenorTrigger();
    TWPerturbaciones dialogo(this, m_filtro, m_datos->MenorTrigger());
    if (host::DialogRunner::exec(dialogo) != QDialog::Accepted)
        return;
    AplicarFiltro(m_filtro);
}

void TWMiGraficaPER::AplicarFiltro(const perturbaciones::Filtro& filtro) {
    m_filtro = filtro;
    GuardarFiltro();
    FiltrarRegistros();
    MostrarIntervalo();
}

void TWMiGraficaPER::GuardarFiltro() {
    const auto objeto = perturbaciones::ObjetoFiltro(m_filtro);
    const auto previo = std::find_if(m_objetosExtra.begin(), m_objetosExtra.end(),
                                     [](const auto& o) { return o[0] == perturbaciones::kEtiquetaFiltro; });
    if (previo != m_objetosExtra.end())
        *previo = objeto;
    else
        m_objetosExtra.push_back(objeto);
}

void TWMiGraficaPER::FiltrarRegistros() {
    if (m_filtro.VerMalos == 1) {
        const std::vector<int> malos = m_datos->Malos(m_filtro);
        // With none bad the user is told and every register stays.
        if (!VerSoloMalos([&malos](int r) { return std::binary_search(malos.begin(), malos.end(), r); }))
            VerTodos();
    } else {
        VerTodos();
    }
}

QJsonObject TWMiGraficaPER::Describir() {
    QJsonObject r = TWRegistro::Describir();
    QJsonArray malos;
    for (int i : m_datos->Malos(m_filtro))
        malos.append(i);
    r.insert(QStringLiteral("bad_registers"), malos);
    return r;
}

void TWMiGraficaPER::LiberarDatos() {
    m_x.clear();
    m_y.clear();
    ObjetosGrafica.DeleteAll();
}

QStringList TWMiGraficaPER::NombresSeries() const {
    QStringList r;
    for (int s = 0; s < NumSeries; ++s)
        r << m_datos->Nombre(s);
    return r;
}

QStringList TWMiGraficaPER::UnidadesSeries() const {
    QStringList r;
    for (int s = 0; s < NumSeries; ++s)
        r << m_datos->Unidad(s);
    return r;
}
