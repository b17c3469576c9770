#include "TWMiGraficaVEF.h"

#include "ChartProperties.h"
#include "TablasColores.h"

#include <QAction>

#include <algorithm>

namespace {

// The settings colour the three phases of an event.
constexpr int kFases = 3;
constexpr int kUltimoTipoPunto = 11;

} // namespace

TWMiGraficaVEF::TWMiGraficaVEF(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                               ListasAtributos& listas, DrivFlex* fuente)
    : TWSerieTemporal(propietario, driver, servidor, listas, fuente),
      m_ajustes(AjustesVEF::Leer(listas[LV_OPCIONES], listas[LV_OBJETOS])) {
    // Events are stepped through one by one, never regrouped.
    ActualizarBotonesAgrupar(Agrupacion::NIVEL_NO_DISPONIBLE, Agrupacion::NIVEL_NO_DISPONIBLE);
}

void TWMiGraficaVEF::Cargar() {
    PonerFases();
    TWSerieTemporal::Cargar();
    PonerUmbrales();
}

void TWMiGraficaVEF::PonerFases() {
    const int fases = std::min(kFases, NumSeries);
    std::vector<std::int32_t> colores(static_cast<size_t>(NumSeries));
    std::vector<std::int32_t> puntos(static_cast<size_t>(NumSeries));
    colores.resize(static_cast<size_t>(
        std::clamp(Pe.PEvget(Grafica, PEP_SUBSETCOLORS, colores.data(), NumSeries), 0, NumSeries)));
    puntos.resize(static_cast<size_t>(
        std::clamp(Pe.PEvget(Grafica, PEP_POINTTYPES, puntos.data(), NumSeries), 0, NumSeries)));
    for (int f = 0; f < fases; ++f) {
        const size_t i = static_cast<size_t>(f);
        const std::int64_t color = AjustesVEF::Color(m_ajustes.colorFase[i]);
        if (m_ajustes.resaltar[i] && color >= 0 && i < colores.size())
            colores[i] = static_cast<std::int32_t>(color);
        const int tipo = m_ajustes.tipoPunto[i];
        if (tipo >= 0 && tipo <= kUltimoTipoPunto && i < puntos.size())
            puntos[i] = tipo;
    }
    Pe.ponerArray(PEP_SUBSETCOLORS, colores);
    Pe.ponerArray(PEP_POINTTYPES, puntos);
}

void TWMiGraficaVEF::PonerUmbrales() {
    // Thresholds are tenths of a percent of nominal: they belong on the axes in percent.
    std::vector<int> ejesPorcentaje;
    const std::vector<DatosSerieTemporal::Eje> ejes = m_datos->Ejes(UnidadExacta());
    for (size_t e = 0; e < ejes.size(); ++e) {
        if (ejes[e].etiqueta.startsWith(QLatin1Char('%')))
            ejesPorcentaje.push_back(static_cast<int>(e));
    }
    std::vector<double> alturas;
    std::vector<std::int32_t> enEje;
    std::vector<std::int32_t> tipos;
    std::vector<std::int32_t> colores;
    QStringList etiquetas;
    for (const AjustesVEF::Umbral* u : {&m_ajustes.sobretension, &m_ajustes.hueco, &m_ajustes.interrupcion}) {
        if (!u->ver)
            continue;
        const std::int64_t color = AjustesVEF::Color(u->color);
        for (int e : ejesPorcentaje) {
            alturas.push_back(u->nivel / 10.0);
            enEje.push_back(e);
            tipos.push_back(std::max(0, TipoLineaGrafica(u->tipo)));
            colores.push_back(static_cast<std::int32_t>(color >= 0 ? color : 0));
            etiquetas << QString::number(u->nivel / 10.0, 'f', 1) + QStringLiteral(" %");
        }
    }
    Pe.ponerArray(PEP_HLINEY, alturas);
    Pe.ponerArray(PEP_HLINEAXIS, enEje);
    Pe.ponerArray(PEP_HLINETYPES, tipos);
    Pe.ponerArray(PEP_HLINECOLORS, colores);
    Pe.ponerTextos(PEP_HLINELABELS, etiquetas);
}

void TWMiGraficaVEF::MoverCursor() {
    const int puntos = m_datos->PuntosMostrados();
    if (puntos <= 0 || NumSeries <= 0)
        return;
    const int punto = std::clamp(Pe.dameEntero(PEP_CURSORPOINT), 0, puntos - 1);
    Pe.ponerEntero(PEP_CURSORPOINT, punto);
    const auto valor = [&](int serie) { return m_datos->ValorMostrado(serie, punto); };
    const int serie = std::clamp(Pe.dameEntero(PEP_CURSORSUBSET), 0, NumSeries - 1);
    if (valor(serie) != kValorNulo)
        return;
    for (int f = 0; f < std::min(kFases, NumSeries); ++f) {
        if (valor(f) != kValorNulo) {
            Pe.ponerEntero(PEP_CURSORSUBSET, f);
            return;
        }
    }
}

void TWMiGraficaVEF::MostrarIntervalo() {
    CargarIntervalo(IntervaloActual);
    MoverCursor();
    TWSerieTemporal::MostrarIntervalo();
    PonerHintsRegistro();
}

void TWMiGraficaVEF::RestaurarVista() {
    RestaurarIntervalo();
}

QJsonObject TWMiGraficaVEF::Describir() {
    QJsonObject r = TWSerieTemporal::Describir();
    r.insert(QStringLiteral("events"), NumIntervalos);
    return r;
}
