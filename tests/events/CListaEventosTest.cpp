#include "CListaEventos.h"
#include "EventosRegistrados.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

namespace {

TTiempo T(int y, int mo, int d, int h, int mi, int s, int ms) {
    return TTiempo(y, mo, d, h, mi, s, ms);
}

// 10:00:00 on 10 June 2026 plus `ms` milliseconds.
TTiempo A(long long ms) {
    TTiempo t = T(2026, 6, 10, 10, 0, 0, 0);
    t.SumarMilesimas(ms);
    return t;
}

// Adds an event of the given kind; previous value 100, extreme = average.
void Anadir(CListaEventos& l, TTiempo inicio, double duracion, int fase, unsigned char tipo,
            double medio = 80.0, bool exacta = true) {
    ASSERT_TRUE(l.AnadirEvento(inicio, duracion, fase, tipo, 100.0, medio, medio, exacta));
}

std::vector<const CEvento*> Vista(const CListaEventos& l) {
    std::vector<const CEvento*> v;
    for (int i = 0; i < l.NumeroEventos(); ++i)
        v.push_back(l.Evento(i));
    return v;
}

std::set<std::int32_t> Conjunto(const std::vector<std::int32_t>& v) {
    return {v.begin(), v.end()};
}

} // namespace

// Levels of the demo instrument: interruption 10 %, sag 90 %, overvoltage 110 %.
constexpr int kLi = 100, kLh = 900, kLs = 1100;

TEST(ClasificarEvento, LevelsDecideTheKind) {
    const struct {
        double extremo;
        int li, lh, ls;
        unsigned char tipo;
    } casos[] = {
        {110.0, kLi, kLh, kLs, kSobretension}, // at the level
        {130.0, kLi, kLh, kLs, kSobretension},
        {9.9, kLi, kLh, kLs, kInterrupcion},
        {10.0, kLi, kLh, kLs, kHueco}, // not below the level
        {90.0, kLi, kLh, kLs, kHueco},
        // Between sag and overvoltage the nearest level wins; halfway, overvoltage is tried first.
        {95.0, kLi, kLh, kLs, kHueco},
        {105.0, kLi, kLh, kLs, kSobretension},
        {100.0, kLi, kLh, kLs, kSobretension},
        // Levels typed out of order (interruption above sag) still classify by the nearest one.
        {96.0, 950, 900, 1100, kInterrupcion},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.extremo);
        EXPECT_EQ(ClasificarEvento(10, c.extremo, c.li, c.lh, c.ls).Tipo, c.tipo);
    }
}

TEST(ClasificarEvento, NegativeDurationIsALowerBound) {
    const Clasificacion c = ClasificarEvento(-250.0, 50.0, kLi, kLh, kLs);
    EXPECT_DOUBLE_EQ(c.Duracion, 250.0);
    EXPECT_FALSE(c.DuracionExacta);
    const Clasificacion d = ClasificarEvento(250.0, 50.0, kLi, kLh, kLs);
    EXPECT_DOUBLE_EQ(d.Duracion, 250.0);
    EXPECT_TRUE(d.DuracionExacta);
}

TEST(Insercion, SameInstantIsOrderedByPhaseAndIndicesFollowTheMoves) {
    CListaEventos l;
    Anadir(l, A(0), 100, 3, kHueco);
    Anadir(l, A(0), 100, 1, kHueco);
    Anadir(l, A(0), 100, 2, kHueco);
    Anadir(l, A(-500), 100, 2, kSobretension); // earlier than all, added last
    ASSERT_EQ(l.NumeroEventos(), 4);
    const auto v = Vista(l);
    EXPECT_EQ(v[0]->Fase, 2);
    EXPECT_EQ(v[0]->Tipo, kSobretension);
    EXPECT_EQ(v[1]->Fase, 1);
    EXPECT_EQ(v[2]->Fase, 2);
    EXPECT_EQ(v[3]->Fase, 3);
    // Every raw event names its own position, and keeps its place in the recording.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(v[static_cast<size_t>(i)]->Indices, std::vector<std::int32_t>{i}) << i;
    EXPECT_EQ(v[0]->Registro, 3);
    EXPECT_EQ(v[1]->Registro, 1);
    EXPECT_EQ(v[2]->Registro, 2);
    EXPECT_EQ(v[3]->Registro, 0);
}

TEST(Insercion, RefusesPhasesAndKindsThatHaveNoPlace) {
    CListaEventos l;
    EXPECT_FALSE(l.AnadirEvento(A(0), 10, 0, kHueco, 0, 0, 0, true));
    EXPECT_FALSE(l.AnadirEvento(A(0), 10, 4, kHueco, 0, 0, 0, true));
    EXPECT_FALSE(l.AnadirEvento(A(0), 10, 1, 'X', 0, 0, 0, true));
    EXPECT_EQ(l.NumeroEventos(), 0);
    Anadir(l, A(0), 10, 1, kHueco);
    EXPECT_EQ(l.Evento(0)->Registro, 3); // refused events still count in the recording
    EXPECT_EQ(l.Evento(1), nullptr);
    EXPECT_TRUE(l.DameEvento(7).Vacio());
}

TEST(Insercion, ExtremesFollowTheRawDurationsPerPhase) {
    CListaEventos l;
    EXPECT_EQ(l.DameDuracionMinima(0), CListaEventos::kMinimoInicial);
    EXPECT_EQ(l.DameDuracionMaxima(0), CListaEventos::kMaximoInicial);
    Anadir(l, A(0), 300, 1, kHueco);
    Anadir(l, A(1000), 40, 1, kHueco);
    Anadir(l, A(2000), 900, 2, kSobretension);
    EXPECT_DOUBLE_EQ(l.DameDuracionMinima(0), 40);
    EXPECT_DOUBLE_EQ(l.DameDuracionMaxima(0), 300);
    EXPECT_DOUBLE_EQ(l.DameDuracionMaxima(1), 900);
    EXPECT_EQ(l.DameDuracionMaxima(2), CListaEventos::kMaximoInicial);
    EXPECT_DOUBLE_EQ(l.DameDuracionMaximaVista(), 900);
}

TEST(Compactar, HysteresisDecidesAtTheNextStart) {
    // The second overvoltage starts 300 ms after the first ends.
    CListaEventos l;
    Anadir(l, A(0), 100, 1, kSobretension, 115);
    Anadir(l, A(400), 100, 1, kSobretension, 120);
    l.PonerHisteresis(200);
    l.Compactar();
    EXPECT_EQ(l.NumeroEventos(), 2);

    l.PonerHisteresis(300); // drops the compacted view
    EXPECT_FALSE(l.EstaCompactado());
    EXPECT_EQ(l.NumeroEventos(), 2);
    l.Compactar();
    ASSERT_EQ(l.NumeroEventos(), 1);
    const CEvento e = l.DameEvento(0);
    EXPECT_EQ(e.Inicio, A(0));
    EXPECT_DOUBLE_EQ(e.Duracion, 500);
    EXPECT_DOUBLE_EQ(e.ValorExtremo, 120); // the higher overvoltage
    EXPECT_EQ(Conjunto(e.Indices), (std::set<std::int32_t>{0, 1}));
    // The raw view is untouched.
    EXPECT_EQ(l.NumeroEventosBrutos(), 2);
    EXPECT_DOUBLE_EQ(l.DameEvento(0, true).Duracion, 100);
}

TEST(Compactar, SameHysteresisKeepsTheCompactedView) {
    CListaEventos l;
    Anadir(l, A(0), 100, 1, kHueco);
    Anadir(l, A(150), 100, 1, kHueco);
    l.PonerHisteresis(100);
    l.Compactar();
    const CEvento* antes = l.Evento(0);
    l.PonerHisteresis(100);
    l.Compactar();
    EXPECT_TRUE(l.EstaCompactado());
    EXPECT_EQ(l.Evento(0), antes);
    l.Descompactar();
    EXPECT_EQ(l.NumeroEventos(), 2);
}

TEST(Compactar, SagAndInterruptionBecomeOneInterruption) {
    CListaEventos l;
    Anadir(l, A(0), 100, 2, kHueco, 60);
    Anadir(l, A(120), 200, 2, kInterrupcion, 5);
    l.PonerHisteresis(50);
    l.Compactar();
    ASSERT_EQ(l.NumeroEventos(), 1);
    EXPECT_EQ(l.Evento(0)->Tipo, kInterrupcion);
    EXPECT_DOUBLE_EQ(l.Evento(0)->ValorExtremo, 5);
    EXPECT_DOUBLE_EQ(l.Evento(0)->Duracion, 320);
}

TEST(Compactar, OvervoltageNeverMergesWithASag) {
    CListaEventos l;
    Anadir(l, A(0), 100, 1, kSobretension, 115);
    Anadir(l, A(50), 100, 1, kHueco, 80);
    Anadir(l, A(200), 100, 1, kSobretension, 112);
    l.PonerHisteresis(1000);
    l.Compactar();
    const auto v = Vista(l);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0]->Tipo, kSobretension);
    EXPECT_EQ(Conjunto(v[0]->Indices).count(2), 1u); // both overvoltages, across the sag
    EXPECT_EQ(v[1]->Tipo, kHueco);
}

TEST(Compactar, GapIsCountedIntoTheDurationAndTheAverageIsWeighted) {
    // 100 ms at 80 %, then 50 ms later 100 ms at 60 %: 250 ms, (80 x 150 + 60 x 100) / 250.
    CListaEventos l;
    Anadir(l, A(0), 100, 1, kHueco, 80);
    Anadir(l, A(150), 100, 1, kHueco, 60, false);
    l.PonerHisteresis(100);
    l.Compactar();
    ASSERT_EQ(l.NumeroEventos(), 1);
    const CEvento e = l.DameEvento(0);
    EXPECT_DOUBLE_EQ(e.Duracion, 250);
    EXPECT_DOUBLE_EQ(e.ValorMedio, 72);
    EXPECT_DOUBLE_EQ(e.ValorExtremo, 60);
    EXPECT_DOUBLE_EQ(e.ValorPrevio, 100);
    EXPECT_FALSE(e.DuracionExacta); // the later record's flag
    EXPECT_DOUBLE_EQ(l.DameDuracionMaxima(0), 250);
    EXPECT_DOUBLE_EQ(l.DameDuracionMinima(0), 250);
}

TEST(Compactar, OverlappingEventIsCutToTheNextStart) {
    // The second sag starts inside the first: the first counts up to it, then the second adds.
    CListaEventos l;
    Anadir(l, A(0), 500, 1, kHueco);
    Anadir(l, A(200), 100, 1, kHueco);
    l.Compactar();
    ASSERT_EQ(l.NumeroEventos(), 1);
    EXPECT_DOUBLE_EQ(l.Evento(0)->Duracion, 300);
}

// Two 100 ms sags (1000 ms for the times without milliseconds) merged into one: the counted gap
// takes every month as 31 days and leaves the year out.
TEST(Compactar, GapsAcrossCalendarBoundaries) {
    const double dia = 86400000.0;
    const struct {
        const char* caso;
        TTiempo primero, segundo;
        double duracion;
        int histeresis;
        double esperada;
    } casos[] = {
        {"January has 31 days: the real gap", T(2026, 1, 31, 23, 59, 59, 800), T(2026, 2, 1, 0, 0, 0, 0), 100,
         200, 300},
        {"February 2026 is counted three days longer", T(2026, 2, 28, 23, 59, 59, 800),
         T(2026, 3, 1, 0, 0, 0, 0), 100, 200, 100 + 3 * dia + 100 + 100},
        {"a year end: 100 ms minus twelve 31-day months", T(2025, 12, 31, 23, 59, 59, 800),
         T(2026, 1, 1, 0, 0, 0, 0), 100, 200, 100 + (100 - 12 * 31 * dia) + 100},
        {"no milliseconds count as millisecond zero", T(2026, 6, 10, 10, 0, 0, -1),
         T(2026, 6, 10, 10, 0, 2, -1), 1000, 1000, 3000},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        CListaEventos l;
        Anadir(l, c.primero, c.duracion, 1, kHueco);
        Anadir(l, c.segundo, c.duracion, 1, kHueco);
        l.PonerHisteresis(c.histeresis);
        l.Compactar();
        ASSERT_EQ(l.NumeroEventos(), 1);
        EXPECT_DOUBLE_EQ(l.Evento(0)->Duracion, c.esperada);
    }
}

TEST(Compactar, CompactedEventsAreLinkedToTheRawEventsTheyOverlap) {
    CListaEventos l;
    Anadir(l, A(0), 100, 1, kHueco);         // 0
    Anadir(l, A(50), 500, 2, kSobretension); // 1, overlaps the merged sag
    Anadir(l, A(150), 100, 1, kHueco);       // 2
    Anadir(l, A(5000), 100, 3, kHueco);      // 3, far away
    l.PonerHisteresis(100);
    l.Compactar();
    const auto v = Vista(l);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(Conjunto(v[0]->Indices), (std::set<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(Conjunto(v[2]->Indices), (std::set<std::int32_t>{3}));
}

TEST(EnlazarEventosBrutos, EveryRawEventNamesTheRawEventsItOverlaps) {
    CListaEventos l;
    Anadir(l, A(0), 300, 1, kHueco);
    Anadir(l, A(100), 300, 2, kHueco);
    Anadir(l, A(350), 100, 3, kHueco);
    Anadir(l, A(1000), 100, 1, kHueco);
    l.EnlazarEventosBrutos();
    const auto v = Vista(l);
    EXPECT_EQ(Conjunto(v[0]->Indices), (std::set<std::int32_t>{0, 1}));
    EXPECT_EQ(Conjunto(v[1]->Indices), (std::set<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(Conjunto(v[2]->Indices), (std::set<std::int32_t>{1, 2}));
    EXPECT_EQ(Conjunto(v[3]->Indices), (std::set<std::int32_t>{3}));
}

TEST(Trifasicos, InterruptionOnAllPhasesRunsFromTheLatestStartToTheEarliestEnd) {
    CListaEventos l;
    Anadir(l, A(0), 1000, 1, kInterrupcion, 2);   // ends at 1000
    Anadir(l, A(100), 1000, 2, kInterrupcion, 1); // ends at 1100
    Anadir(l, A(200), 700, 3, kInterrupcion, 3);  // ends at 900
    l.CalcularTrifasicos();
    l.Trifasico = true;
    ASSERT_EQ(l.NumeroEventos(), 1);
    const CEvento e = l.DameEvento(0);
    EXPECT_EQ(e.Tipo, kInterrupcion);
    EXPECT_EQ(e.Inicio, A(200));
    EXPECT_DOUBLE_EQ(e.Duracion, 700);
    EXPECT_DOUBLE_EQ(e.ValorExtremo, 1);
    EXPECT_EQ(Conjunto(e.Indices), (std::set<std::int32_t>{0, 1, 2}));
    EXPECT_DOUBLE_EQ(l.DameDuracionMaxima(0), 700);
    EXPECT_DOUBLE_EQ(l.DameDuracionMinima(2), 700);

    // The first phase to recover ends it, whichever phase that is.
    CListaEventos m;
    Anadir(m, A(0), 500, 1, kInterrupcion);
    Anadir(m, A(100), 900, 2, kInterrupcion);
    Anadir(m, A(200), 1000, 3, kInterrupcion);
    m.CalcularTrifasicos();
    m.Trifasico = true;
    ASSERT_EQ(m.NumeroEventos(), 1);
    EXPECT_EQ(m.Evento(0)->Inicio, A(200));
    EXPECT_DOUBLE_EQ(m.Evento(0)->Duracion, 300);
}

TEST(Trifasicos, InterruptionOnTwoPhasesIsNoThreePhaseInterruption) {
    CListaEventos l;
    Anadir(l, A(0), 1000, 1, kInterrupcion);
    Anadir(l, A(100), 1000, 2, kInterrupcion);
    Anadir(l, A(5000), 100, 3, kInterrupcion);
    l.CalcularTrifasicos();
    l.Trifasico = true;
    EXPECT_EQ(l.NumeroEventos(), 0);
    l.Trifasico = false;
    EXPECT_EQ(l.NumeroEventos(), 3);
}

TEST(Trifasicos, OverlappingSagsOnAnyPhaseAreOneEvent) {
    CListaEventos l;
    Anadir(l, A(0), 300, 1, kHueco, 80);
    Anadir(l, A(200), 400, 2, kHueco, 70);
    Anadir(l, A(2000), 100, 3, kHueco, 85);
    Anadir(l, A(2050), 100, 1, kSobretension, 112);
    l.CalcularTrifasicos();
    l.Trifasico = true;
    const auto v = Vista(l);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0]->Tipo, kHueco);
    EXPECT_EQ(v[0]->Inicio, A(0));
    EXPECT_DOUBLE_EQ(v[0]->Duracion, 600); // to the later end
    EXPECT_DOUBLE_EQ(v[0]->ValorExtremo, 70);
    EXPECT_EQ(v[1]->Tipo, kHueco);
    EXPECT_EQ(v[2]->Tipo, kSobretension);
}

TEST(Trifasicos, BuiltFromTheCompactedViewWhenCompacted) {
    CListaEventos l;
    for (int f = 1; f <= 3; ++f) {
        Anadir(l, A(f * 10), 400, f, kInterrupcion);
        Anadir(l, A(f * 10 + 450), 400, f, kInterrupcion);
    }
    l.PonerHisteresis(100);
    l.Compactar();
    l.CalcularTrifasicos();
    l.Trifasico = true;
    ASSERT_EQ(l.NumeroEventos(), 1);
    // Phase 3 starts last (30) and phase 1 ends first (10 + 850).
    EXPECT_EQ(l.Evento(0)->Inicio, A(30));
    EXPECT_DOUBLE_EQ(l.Evento(0)->Duracion, 830);
    EXPECT_EQ(l.Evento(0)->Indices.size(), 6u);
}

TEST(DepurarTrifasicos, SagEndsWhereTheInterruptionStarts) {
    // A sag on phase 2 turns into an interruption on all three phases.
    CListaEventos l;
    Anadir(l, A(0), 1000, 2, kHueco, 60);
    Anadir(l, A(200), 2000, 1, kInterrupcion);
    Anadir(l, A(250), 2000, 3, kInterrupcion);
    Anadir(l, A(300), 1500, 2, kInterrupcion);
    l.CalcularTrifasicos();
    l.Trifasico = true;
    const auto v = Vista(l);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0]->Tipo, kHueco);
    EXPECT_EQ(v[0]->Inicio, A(0));
    EXPECT_DOUBLE_EQ(v[0]->Duracion, 300);
    EXPECT_EQ(v[1]->Tipo, kInterrupcion);
    EXPECT_EQ(v[1]->Inicio, A(300));
    EXPECT_DOUBLE_EQ(v[1]->Duracion, 1500);
    // The extremes are those of what is left after the cut.
    EXPECT_DOUBLE_EQ(l.DameDuracionMinima(0), 300);
    EXPECT_DOUBLE_EQ(l.DameDuracionMaxima(0), 1500);
}

TEST(DepurarTrifasicos, SagStartingWithTheInterruptionIsRemoved) {
    CListaEventos l;
    Anadir(l, A(0), 3000, 1, kInterrupcion);
    Anadir(l, A(0), 3000, 2, kInterrupcion);
    Anadir(l, A(300), 200, 3, kHueco);
    Anadir(l, A(300), 1000, 3, kInterrupcion);
    l.CalcularTrifasicos();
    l.Trifasico = true;
    ASSERT_EQ(l.NumeroEventos(), 1);
    EXPECT_EQ(l.Evento(0)->Tipo, kInterrupcion);
    EXPECT_EQ(l.Evento(0)->Inicio, A(300));
    EXPECT_DOUBLE_EQ(l.Evento(0)->Duracion, 1000);
}

TEST(DepurarTrifasicos, OfTwoOverlappingSagsTheFirstStays) {
    // An interruption on phase 1 closes the first sag; a sag on phase 2 then opens another that
    // overlaps it.
    CListaEventos l;
    Anadir(l, A(0), 1000, 1, kHueco);
    Anadir(l, A(100), 50, 1, kInterrupcion);
    Anadir(l, A(200), 300, 2, kHueco);
    l.CalcularTrifasicos();
    l.Trifasico = true;
    ASSERT_EQ(l.NumeroEventos(), 1);
    EXPECT_EQ(l.Evento(0)->Inicio, A(0));
    EXPECT_DOUBLE_EQ(l.Evento(0)->Duracion, 1000);
}

TEST(Vistas, CurrentViewFollowsTheFlags) {
    CListaEventos l;
    Anadir(l, A(0), 100, 1, kHueco);
    Anadir(l, A(110), 100, 1, kHueco);
    Anadir(l, A(0), 100, 2, kHueco);
    l.PonerHisteresis(20);
    l.Compactar();
    l.CalcularTrifasicos();
    EXPECT_EQ(l.NumeroEventos(), 2); // compacted
    l.Trifasico = true;
    EXPECT_EQ(l.NumeroEventos(), 1);
    EXPECT_EQ(l.DameEvento(0, true).Duracion, 100); // raw on request
    l.Trifasico = false;
    l.Descompactar();
    EXPECT_EQ(l.NumeroEventos(), 3);
    EXPECT_FALSE(l.EliminarEvento(CListaEventos::Destino::Brutos, 3));
    EXPECT_TRUE(l.EliminarEvento(CListaEventos::Destino::Brutos, 2));
    EXPECT_EQ(l.NumeroEventos(), 2);
}

TEST(CargarEventos, ClassifiesAndRefusesUnknownPhases) {
    CListaEventos l;
    const std::vector<EventoRegistrado> r = {
        {A(0), 50.0, -200.0, 1.0, 60.0, 100.0},
        {A(0), 120.0, 100.0, 7.0, 115.0, 100.0}, // no such phase
        {A(10), 120.0, 100.0, 2.0, 115.0, 100.0},
        {A(20), 5.0, 100.0, -1e300, 5.0, 100.0}, // corrupt phase number
    };
    EXPECT_EQ(CargarEventos(l, r, NivelesInstrumento{100, 900, 1100}), 2);
    ASSERT_EQ(l.NumeroEventos(), 2);
    EXPECT_EQ(l.Evento(0)->Tipo, kHueco);
    EXPECT_FALSE(l.Evento(0)->DuracionExacta);
    EXPECT_DOUBLE_EQ(l.Evento(0)->Duracion, 200);
    EXPECT_EQ(l.Evento(1)->Tipo, kSobretension);
    EXPECT_EQ(l.Evento(1)->Registro, 2);
}

// Random recordings: compaction keeps every raw event and leaves no two events of one phase and
// accumulator (overvoltage, or sag-and-interruption) overlapping; the three-phase view is
// ordered with no negative duration. The lists stay inside one month: a gap across a month end
// is counted with 31-day months (tested above), which stretches an event past its real end.
TEST(Compactar, RandomRecordingsLoseNothingAndNeverOverlap) {
    for (unsigned semilla = 1; semilla <= 40; ++semilla) {
        std::mt19937 rng(semilla);
        std::uniform_int_distribution<int> fase(1, 3), hueco(0, 1500), duracion(0, 2500), tipo(0, 2),
            histeresis(0, 800), mismo(0, 4);
        CListaEventos l;
        long long t = 0;
        const int n = 300;
        for (int i = 0; i < n; ++i) {
            if (mismo(rng) != 0)
                t += hueco(rng);
            const unsigned char k = "SHI"[tipo(rng)];
            const double d = duracion(rng);
            ASSERT_TRUE(
                l.AnadirEvento(A(t), d, fase(rng), k, 100, 80, k == kSobretension ? 115 : 60, d > 100));
        }
        l.PonerHisteresis(histeresis(rng));
        l.Compactar();

        std::set<std::int32_t> vistos;
        std::map<std::pair<int, bool>, std::vector<const CEvento*>> grupos;
        for (int i = 0; i < l.NumeroEventos(); ++i) {
            const CEvento* e = l.Evento(i);
            vistos.insert(e->Indices.begin(), e->Indices.end());
            grupos[{e->Fase, e->Tipo == kSobretension}].push_back(e);
            if (i > 0) {
                const CEvento* p = l.Evento(i - 1);
                ASSERT_TRUE(p->Inicio < e->Inicio || (p->Inicio == e->Inicio && p->Fase <= e->Fase));
            }
        }
        for (std::int32_t i = 0; i < n; ++i)
            ASSERT_EQ(vistos.count(i), 1u) << "seed " << semilla << ": raw event " << i << " lost";
        for (const auto& [clave, eventos] : grupos) {
            for (size_t k = 1; k < eventos.size(); ++k)
                ASSERT_LE(FinEvento(*eventos[k - 1]), eventos[k]->Inicio)
                    << "seed " << semilla << ": phase " << clave.first << " events " << k - 1 << " and " << k;
        }

        l.CalcularTrifasicos();
        l.Trifasico = true;
        for (int i = 0; i < l.NumeroEventos(); ++i) {
            ASSERT_GE(l.Evento(i)->Duracion, 0.0) << "seed " << semilla;
            if (i > 0) {
                ASSERT_LE(l.Evento(i - 1)->Inicio, l.Evento(i)->Inicio) << "seed " << semilla;
            }
        }
    }
}
