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
    PonerDimensiones();
    // The phases of one register are compared on one axis.
    const QString unidad = NumSeries > 0 ? m_datos->Unidad(0) : QString();
    NumEjes = PonerEjes({{LecturaCursor::EtiquetaEje(unidad), std::max(1, NumSeries)}}, PEMD_LINE);
}

void TWMiGraficaPER::Cargar() {
    PonerTitulos(Texto(TXT_DISTURBANCES_TITLE), NombresSeries());
    Pe.ponerTexto(PEP_XAXISLABEL, Texto(TXT_WAVE_SAMPLE));
}

void TWMiGraficaPER::MostrarRegistro(int registro) {
    if (registro < 0 || registro >= NumRegistros())
        return;
    const int primero = Registro(registro).first;
    CargarMuestras(registro, [this, primero](int s, int j) {
        return std::pair{static_cast<double>(j), m_datos->Serie(s)[static_cast<size_t>(primero + j)]};
    });
    PonerHoraRegistro(m_datos->TiempoRegistro(registro));
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
    int serie = 0;
    int punto = 0;
    if (!PosicionCursor(serie, punto))
        return QString();
    LecturaCursor::Lectura l = LecturaMuestra(serie, punto);
    l.decimales = m_datos->Decimales(serie);
    l.unidad = m_datos->Unidad(serie);
    l.fecha = QString::number(punto);
    l.desde = QStringLiteral("0");
    l.hasta = QString::number(m_puntosMostrados - 1);
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

QString TWMiGraficaPER::NombreSerie(int serie) const {
    return m_datos->Nombre(serie);
}

QString TWMiGraficaPER::UnidadSerie(int serie) const {
    return m_datos->Unidad(serie);
}
