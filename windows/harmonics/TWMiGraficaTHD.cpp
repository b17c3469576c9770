#include "TWMiGraficaTHD.h"

#include "ChartProperties.h"
#include "DatosArmonicos.h"
#include "FiltroArmonicos.h"
#include "TGestionNormasDlg.h"
#include "Textos.h"

#include <QJsonObject>

namespace {

// Help context of the harmonics windows (F1).
constexpr int kContextoAyuda = 55;
// The THD limit lines are dotted.
constexpr int kLineaPunteada = 2;

} // namespace

TWMiGraficaTHD::TWMiGraficaTHD(QWidget* propietario, TDriverVentana* driver, ServidorMonitores* servidor,
                               ListasAtributos& listas, DrivFlex* fuente)
    : TWMiGraficaRMS(propietario, driver, servidor, listas, fuente) {}

void TWMiGraficaTHD::Construir() {
    TWMiGraficaRMS::Construir();
    NormasDLG = filtro::CrearNormas(this, false);
    filtro::RotularBoton(MegaConfig, megaconfigurar1);
}

QString TWMiGraficaTHD::TituloVarias() const {
    const QString primero = NumSeries > 0 ? m_datos->Nombre(0) : QString();
    const qsizetype desde = primero.indexOf(QStringLiteral(" ("));
    return Texto(TXT_THD_TITLE) + (desde < 0 ? QString() : primero.mid(desde));
}

int TWMiGraficaTHD::ContextoAyuda() const {
    return kContextoAyuda;
}

double TWMiGraficaTHD::Limite(int serie) const {
    return m_limites.De(juicio::TipoDeRanura(Ranuras()[static_cast<size_t>(serie)])).thd;
}

int TWMiGraficaTHD::EjeDe(juicio::Tipo tipo) const {
    // Series share an axis while their units are equal.
    int eje = 0;
    for (int s = 0; s < NumSeries; ++s) {
        if (s > 0 && m_datos->Unidad(s) != m_datos->Unidad(s - 1))
            ++eje;
        if (juicio::TipoDeRanura(Ranuras()[static_cast<size_t>(s)]) == tipo)
            return eje;
    }
    return -1;
}

bool TWMiGraficaTHD::ConLimitesThd() const {
    // "None", or a filter without one of the two limits, draws nothing.
    return m_limites.Aplicado() && m_limites.tension->thd != normas::kSinLimite &&
           m_limites.corriente->thd != normas::kSinLimite;
}

void TWMiGraficaTHD::ColorearPuntos() {
    TWSerieTemporal::ColorearPuntos();
    std::vector<double> alturas;
    std::vector<std::int32_t> ejes;
    const bool conLimites = ConLimitesThd();
    if (conLimites) {
        for (const juicio::RegistroLimites* r : {&*m_limites.tension, &*m_limites.corriente}) {
            const int eje = EjeDe(r->tipo);
            if (eje < 0)
                continue;
            alturas.push_back(r->thd);
            ejes.push_back(eje);
        }
    }
    const int color = ColorFondo == static_cast<std::uint32_t>(juicio::kColorNegro) ? juicio::kColorBlanco
                                                                                    : juicio::kColorNegro;
    Pe.ponerArray(PEP_HLINEY, alturas);
    Pe.ponerArray(PEP_HLINEAXIS, ejes);
    Pe.ponerArray(PEP_HLINECOLORS, std::vector<std::int32_t>(alturas.size(), color));
    Pe.ponerArray(PEP_HLINETYPES, std::vector<std::int32_t>(alturas.size(), kLineaPunteada));
    if (!conLimites || !m_limites.tension->resaltar || NumSeries <= 0)
        return;

    std::vector<std::int32_t> subsets(static_cast<size_t>(NumSeries));
    Pe.PEvget(Grafica, PEP_SUBSETCOLORS, subsets.data(), NumSeries);
    const int puntos = m_datos->PuntosMostrados();
    std::vector<std::int32_t> colores(static_cast<size_t>(NumSeries) *
                                      static_cast<size_t>(std::max(0, puntos)));
    Pe.PEvget(Grafica, PEP_POINTCOLORS, colores.data(), static_cast<int>(colores.size()));
    for (size_t k = 0; k < colores.size(); ++k) {
        if (colores[k] == juicio::kColorBlanco)
            continue;
        const int serie = static_cast<int>(k / static_cast<size_t>(puntos));
        const double valor = m_datos->ValorMostrado(serie, static_cast<int>(k % static_cast<size_t>(puntos)));
        colores[k] = juicio::SuperaThd(valor, Limite(serie)) ? m_limites.tension->colorResaltado
                                                             : subsets[static_cast<size_t>(serie)];
    }
    Pe.ponerArray(PEP_POINTCOLORS, colores);
}

void TWMiGraficaTHD::PonerSubtituloFiltro() {
    if (!m_limites.Aplicado())
        return;
    Pe.ponerTexto(PEP_SUBTITLE, NormasDLG->GetNormaSeleccionada());
    Redibujar();
}

void TWMiGraficaTHD::PintarGrafica(const std::int32_t* colores) {
    TWMiGraficaRMS::PintarGrafica(colores);
    PonerSubtituloFiltro();
}

void TWMiGraficaTHD::Agrupar(int nivel) {
    TWMiGraficaRMS::Agrupar(nivel);
    PonerSubtituloFiltro();
}

void TWMiGraficaTHD::MostrarIntervalo() {
    TWMiGraficaRMS::MostrarIntervalo();
    PonerSubtituloFiltro();
}

void TWMiGraficaTHD::Propiedades() {
    if (NormasDLG != nullptr && NormasDLG->Execute(this))
        TomarFiltro();
}

int TWMiGraficaTHD::AplicarFiltro(const QString& nombre) {
    return filtro::AplicarPorNombre(NormasDLG, nombre, [this] { TomarFiltro(); });
}

void TWMiGraficaTHD::TomarFiltro() {
    m_limites.Tomar(*NormasDLG);
    MostrarIntervalo();
}

int TWMiGraficaTHD::PuntosSobreLimite() const {
    if (!ConLimitesThd())
        return 0;
    int n = 0;
    std::vector<double> serie(static_cast<size_t>(std::max(0, NumPuntos)));
    for (int s = 0; s < NumSeries; ++s) {
        for (int i = 0; i < NumPuntos; ++i)
            serie[static_cast<size_t>(i)] = m_datos->Valor(s, i);
        n += armonicos::PuntosSobreThd(serie, Limite(s));
    }
    return n;
}

QJsonObject TWMiGraficaTHD::Describir() {
    QJsonObject r = TWMiGraficaRMS::Describir();
    r.insert(QStringLiteral("filter"), m_limites.Aplicado() ? NormasDLG->GetNormaSeleccionada() : QString());
    r.insert(QStringLiteral("points_above_thd_limit"), PuntosSobreLimite());
    return r;
}
