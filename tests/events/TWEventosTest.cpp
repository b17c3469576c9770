#include "ListasEventos.h"
#include "TWMiGraficaCBEMA.h"
#include "TWMiGraficaEH.h"
#include "TestEnvironment.h"

#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

using apoyo::Ev;
using apoyo::Listas;

constexpr double N = kValorNulo;

// A sag on phase 1, an interruption on all phases with staggered starts, an overvoltage on
// phase 2 with a lower-bound duration.
const std::vector<Ev> kMuestra = {
    {0, 80, 100, 1}, {5000, 2, 1000, 1}, {5100, 1, 1000, 2}, {5200, 3, 700, 3}, {9000, 115, -40, 2}};

// The windows with their protected parts in reach.
class EH : public TWMiGraficaEH {
public:
    using TWMiGraficaEH::RegistrosLista;
    using TWMiGraficaEH::TWMiGraficaEH;
};
class CBEMA : public TWMiGraficaCBEMA {
public:
    using TWMiGraficaCBEMA::RegistrosLista;
    using TWMiGraficaCBEMA::TWMiGraficaCBEMA;
};

class EventsWindows : public testsupport::VentanaPrueba {
protected:
    void SetUp() override {
        VentanaPrueba::SetUp();
        FabricaVentanas::Sustituir(TG_EH,
                                   [](QWidget* p, TDriverVentana* d, ServidorMonitores* s, ListasAtributos& l,
                                      DrivFlex* f) { return new EH(p, d, s, l, f); });
        FabricaVentanas::Sustituir(TG_CBEMA,
                                   [](QWidget* p, TDriverVentana* d, ServidorMonitores* s, ListasAtributos& l,
                                      DrivFlex* f) { return new CBEMA(p, d, s, l, f); });
    }
};

} // namespace

TEST_F(EventsWindows, HistoricThresholdLinesDurationsAndTheThreePhaseView) {
    Guardar("PROPIEDADESEH", {{"VERS", 1}, {"VERH", 1}, {"VERDURACIONES", 1}, {"COMPACTAR", 0}});
    auto* w = abrir<EH>(Listas(TG_EH, kMuestra, datos));
    // Overvoltage first, then sag; the instrument's levels, never a stored threshold.
    EXPECT_EQ(array<double>(w, PEP_HLINEY), (std::vector<double>{110.0, 90.0}));
    // Each event of the interval as a segment from its start at its extreme, as long as it lasted.
    const std::vector<double> x = array<double>(w, PEP_GANNOTX);
    ASSERT_EQ(x.size(), 10u);
    EXPECT_NEAR((x[1] - x[0]) * 86400000.0, 100.0, 0.01);
    EXPECT_EQ(array<double>(w, PEP_GANNOTY)[0], 80.0);
    EXPECT_EQ(w->Describir().value("events_by_kind").toObject(), (QJsonObject{{"S", 1}, {"H", 1}, {"I", 3}}));

    PropiedadesEventos p = w->DamePropiedades();
    p.PonerValor(p.CampoVerTrifasicos(), 1);
    w->AplicarPropiedades(p);
    EXPECT_EQ(w->Describir().value("events_shown").toInt(), 3);
}

TEST_F(EventsWindows, HistoricRowsForTheTableModulesAndARestoredView) {
    auto* w = abrir<EH>(
        Listas(TG_EH, kMuestra, datos, {7, 8, datos->Manejador(), 5, 0, 1150, 850, 50, 0, 300, 1, 0}));
    // The saved row's thresholds and options win over the stored ones.
    const PropiedadesEventos& p = w->DamePropiedades();
    EXPECT_EQ((std::vector<int>{p.Valor(EV_UMBRALS), p.Valor(EV_UMBRALH), p.Histeresis()}),
              (std::vector<int>{1150, 850, 300}));
    EXPECT_TRUE(!p.Compactar() && p.VerTrifasicos());
    // The table modules get the view back.
    const TValorMultiple filas = w->RegistrosLista();
    ASSERT_EQ(filas.Elementos(0), 11);
    EXPECT_EQ((std::vector<int>{filas.Entero(0, 3), filas.Entero(0, 5), filas.Entero(0, 9)}),
              (std::vector<int>{5, 1150, 300}));
}

TEST_F(EventsWindows, HistoricIntervalsByDayAndALonePointDrawnLarge) {
    // Two events on one day, one on the next.
    auto* w = abrir<EH>(Listas(TG_EH, {{0, 80, 100, 1}, {60000, 70, 100, 2}, {86400000, 60, 100, 3}}, datos));
    w->Agrupar(Agrupacion::NIVEL_DIAS);
    EXPECT_EQ(w->Describir().value("intervals").toInt(), 2);
    EXPECT_EQ(ent(w, PEP_FORCEDMETHOD), PEMF_PERAXIS);
    w->NextClick();
    EXPECT_EQ(array<double>(w, PEP_YDATA), (std::vector<double>{N, N, 60}));
    EXPECT_EQ(ent(w, PEP_FORCEDMETHOD), PEMF_LARGEPOINTS);
}

TEST_F(EventsWindows, CurvesJudgeTheEventsAndTheFilterNeverHidesThreePhaseOnes) {
    auto* w = abrir<CBEMA>(Listas(TG_CBEMA, kMuestra, datos));
    EXPECT_EQ(ent(w, PEP_XLOGSCALE), 1);
    // ITIC: both polylines (their shape is checked against the judging in the model tests).
    const std::vector<std::int32_t> tipos = array<std::int32_t>(w, PEP_GANNOTTYPES);
    EXPECT_EQ(std::count(tipos.begin(), tipos.end(), PEGA_STARTPOLYLINE), 2);
    // Every event at its duration in seconds; slots without an event at the axis's start.
    const std::vector<double> x = array<double>(w, PEP_XDATA);
    ASSERT_EQ(x.size(), 15u);
    EXPECT_EQ((std::vector<double>{x[0], x[2], x[9]}), (std::vector<double>{0.1, 0.0001, 0.04}));
    // 80 % for 0.1 s is within; the interruptions are not; 115 % for 0.04 s is within.
    const QJsonObject r = w->Describir();
    for (auto [clave, valor] : {std::pair{"curve", 1}, {"ok", 2}, {"not_ok", 3}})
        EXPECT_EQ(r.value(clave).toInt(), valor) << clave;
    // The voltage scale reaches above the events and every threshold shown.
    EXPECT_EQ(array<double>(w, PEP_MANUALYMAX), (std::vector<double>{160.0}));

    const auto ocultos = [&] {
        const std::vector<double> v = array<double>(w, PEP_YDATA);
        return std::count(v.begin(), v.end(), N);
    };
    // Neither OK nor not-OK events shown (past the curve field) hides all but three-phase ones.
    PropiedadesEventos p = w->DamePropiedades();
    p.PonerValor(p.CampoVerTrifasicos() + 2, 0);
    p.PonerValor(p.CampoVerTrifasicos() + 3, 0);
    w->AplicarPropiedades(p);
    EXPECT_EQ(ocultos(), 15);
    p.PonerValor(p.CampoVerTrifasicos(), 1);
    w->AplicarPropiedades(p);
    EXPECT_EQ(ocultos(), 12);
}
