#include "PuntosEventos.h"
#include "ApoyoEventos.h"
#include "Contrato.h"
#include "TValorMultiple.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using apoyo::A;

EventoRegistrado M(long long ms, double fase, double extremo = 80, double duracion = 100) {
    EventoRegistrado m;
    m.inicio = A(ms);
    m.fase = fase;
    m.extremo = extremo;
    m.duracion = duracion;
    m.medio = extremo + 5;
    m.previo = 100;
    return m;
}

// A list loaded from the samples with the demo's levels (10 %, 90 %, 110 %).
void Cargar(CListaEventos& l, const std::vector<EventoRegistrado>& m) {
    ASSERT_EQ(CargarEventos(l, m, NivelesInstrumento{100, 900, 1100}), 0);
}

PropiedadesEventos Record(TipoPropiedades tipo, bool compactar, int histeresis, bool trifasico) {
    PropiedadesEventos p = PropiedadesEventos::Defecto(tipo, {100, 900, 1100}, {0, 0, 0});
    p.PonerValor(p.CampoCompactar(), compactar ? 1 : 0);
    p.PonerValor(p.CampoHisteresis(), histeresis);
    p.PonerValor(p.CampoVerTrifasicos(), trifasico ? 1 : 0);
    return p;
}

} // namespace

TEST(LeerMuestras, FourExtraRowsPerDataObjectInColumnOrder) {
    TValorMultiple valores, tiempos, adicionales;
    valores.EntrarDoubles({50, 120});
    tiempos.EntrarTiempos({A(0), A(500)});
    adicionales.EntrarDoubles({-300, 40}); // duration
    adicionales.EntrarDoubles({1, 3});     // phase
    adicionales.EntrarDoubles({60, 115});  // average
    adicionales.EntrarDoubles({99, 101});  // previous
    valores.EntrarDoubles({5});
    tiempos.EntrarTiempos({A(9000)});
    adicionales.EntrarDoubles({2000});
    adicionales.EntrarDoubles({2});
    // The second object's last two columns are missing: they read as 0.
    const std::vector<EventoRegistrado> m = LeerMuestras(valores, tiempos, adicionales);
    ASSERT_EQ(m.size(), 3u);
    EXPECT_TRUE(m[0].inicio == A(0) && m[2].inicio == A(9000));
    // clang-format off
    EXPECT_EQ((std::vector<double>{m[0].extremo, m[0].duracion, m[1].fase, m[1].medio, m[1].previo, m[2].duracion, m[2].fase, m[2].medio}),
              (std::vector<double>{50, -300, 3, 115, 101, 2000, 2, 0}));
    // clang-format on
}

TEST(BuscarRanura, WithoutASampleAtTheStartTheLastOneBeforeIt) {
    const std::vector<EventoRegistrado> m = {M(0, 1), M(1000, 1), M(2000, 1)};
    CEvento e;
    e.Fase = 1;
    for (auto [ms, ranura] : {std::pair{1500, 1}, {5000, 2}, {-10, 0}}) {
        e.Inicio = A(ms);
        EXPECT_EQ(BuscarRanura(m, e, false), ranura) << ms;
    }
    EXPECT_EQ(BuscarRanura({}, e, false), -1);
}

TEST(CalcularPuntos, EveryEventOnItsPhaseAndNothingElse) {
    const std::vector<EventoRegistrado> m = {M(0, 1, 50), M(0, 3, 120), M(5000, 2, 60, -400)};
    CListaEventos l;
    Cargar(l, m);
    const PuntosEventos p = CalcularPuntos(l, m);
    ASSERT_EQ(p.numMuestras, 3);
    // Per series, per sample; a sample with no event of a phase shows no point for it.
    const double N = kValorNulo;
    EXPECT_EQ(p.valores, (std::vector<double>{50, N, N, N, N, 60, N, 120, N}));
    EXPECT_EQ((std::vector<int>{p.Evento(1, 2), p.Evento(1, 0)}), (std::vector<int>{2, -1}));
    // A lower-bound duration is read out negated.
    EXPECT_EQ((std::vector<double>{p.duracion[2], p.fase[1], p.medio[0]}),
              (std::vector<double>{-400, 3, 55}));
}

TEST(CalcularPuntos, ThreePhaseEventsGoToTheFirstSeriesAndTheValueMayBeJudged) {
    // An interruption on all phases with staggered starts.
    const std::vector<EventoRegistrado> m = {M(0, 1, 2, 1000), M(100, 2, 1, 1000), M(200, 3, 3, 700)};
    CListaEventos l;
    Cargar(l, m);
    AplicarVistas(l, Record(TipoPropiedades::EH, false, 20, true));
    ASSERT_EQ(l.NumeroEventos(), 1);
    const PuntosEventos p = CalcularPuntos(l, m, [](const CEvento& e) { return e.ValorExtremo + 1000; });
    // It starts at the latest start: the third sample.
    const double N = kValorNulo;
    EXPECT_EQ(p.valores, (std::vector<double>{N, N, 1001, N, N, N, N, N, N}));
    EXPECT_DOUBLE_EQ(p.duracion[2], 700);
}

TEST(CorregirUmbrales, ThresholdsAreHeldToTheInstrumentLevels) {
    const NivelesInstrumento n{100, 900, 1100};
    // clang-format off
    const struct { const char* caso; NivelesInstrumento niveles; std::array<int, 3> antes, despues; } casos[] = {
        {"a sag threshold above the instrument's is lowered, an overvoltage one below raised", n, {1050, 955, 50}, {1100, 900, 50}},
        {"an interruption threshold equal to the sag one ends a tenth below", n, {1100, 80, 80}, {1100, 80, 79}},
        {"also where the instrument's interruption level is its sag level", {900, 900, 1100}, {1100, 850, 850}, {1100, 850, 849}},
        {"thresholds inside the levels stay as typed", n, {1150, 850, 95}, {1150, 850, 95}},
    };
    // clang-format on
    for (const auto& c : casos) {
        PropiedadesEventos p = PropiedadesEventos::Defecto(TipoPropiedades::EH, n, {0, 0, 0});
        p.PonerValor(EV_UMBRALS, c.antes[0]);
        p.PonerValor(EV_UMBRALH, c.antes[1]);
        p.PonerValor(EV_UMBRALI, c.antes[2]);
        CorregirUmbrales(p, c.niveles);
        EXPECT_EQ((std::array<int, 3>{p.Valor(EV_UMBRALS), p.Valor(EV_UMBRALH), p.Valor(EV_UMBRALI)}),
                  c.despues)
            << c.caso;
    }
    EXPECT_EQ(EtiquetaUmbral(1015), QStringLiteral("|R101.5%\t"));
}

TEST(CalcularPuntos, CorruptValuesPassThroughEveryViewWithoutHarm) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<EventoRegistrado> m = {M(0, 1, nan, 100),   M(10, 1, 80, nan),    M(20, 2, inf, -inf),
                                             M(30, 3, 60, 1e300), M(40, 7, 60, 100),    M(50, 0, 60, 100),
                                             M(60, 2, -inf, 5),   M(70, 3, 50, -1e300), M(80, -1e300)};
    CListaEventos l;
    // Phases 7, 0 and a corrupt one have no place; everything else is kept.
    EXPECT_EQ(CargarEventos(l, m, NivelesInstrumento{100, 900, 1100}), 3);
    for (bool trifasico : {false, true}) {
        AplicarVistas(l, Record(TipoPropiedades::EH, true, 20, trifasico));
        const PuntosEventos p = CalcularPuntos(l, m);
        ASSERT_EQ(p.valores.size(), 3 * m.size());
        const ConteoTipos c = ContarTipos(l);
        EXPECT_EQ(c.sobretensiones + c.huecos + c.interrupciones, l.NumeroEventos());
        for (int s = 0; s < 3; ++s) {
            for (int i = 0; i < p.numMuestras; ++i) {
                const int e = p.Evento(s, i);
                EXPECT_TRUE(e == -1 || (e >= 0 && e < l.NumeroEventos()));
            }
        }
    }
}
