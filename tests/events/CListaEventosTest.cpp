#include "CListaEventos.h"
#include "ApoyoEventos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

using Indices = std::set<std::int32_t>;

using apoyo::A;

// One raw event; previous value 100, extreme = average.
struct Ev {
    long long ms;
    double duracion;
    int fase;
    unsigned char tipo;
    double medio = 80.0;
    bool exacta = true;
};

void Anadir(CListaEventos& l, const std::vector<Ev>& eventos) {
    for (const Ev& e : eventos)
        ASSERT_TRUE(l.AnadirEvento(A(e.ms), e.duracion, e.fase, e.tipo, 100.0, e.medio, e.medio, e.exacta));
}

Indices Conjunto(const std::vector<std::int32_t>& v) {
    return {v.begin(), v.end()};
}

// Milliseconds from A(0) to `t`.
long long Ms(const TTiempo& t) {
    const long long s = ((t.DiasDesdeEpoca() * 24 + t.Hora) * 60 + t.Minuto) * 60 + t.Segundo;
    return s * 1000 + std::max<int>(t.Milesima, 0) - 1781085600000LL;
}

// The current view as "kind phase @ start + duration" items; the phase left out on request.
std::vector<std::string> Vista(const CListaEventos& l, bool conFase = true) {
    std::vector<std::string> v;
    for (int i = 0; i < l.NumeroEventos(); ++i) {
        const CEvento* e = l.Evento(i);
        v.push_back(std::string(1, static_cast<char>(e->Tipo)) + (conFase ? std::to_string(e->Fase) : "") +
                    "@" + std::to_string(Ms(e->Inicio)) + "+" + std::to_string(std::lround(e->Duracion)));
    }
    return v;
}

constexpr unsigned char S = kSobretension, H = kHueco, I = kInterrupcion;

} // namespace

// Levels of the demo instrument: interruption 10 %, sag 90 %, overvoltage 110 %.
constexpr int kLi = 100, kLh = 900, kLs = 1100;

TEST(ClasificarEvento, LevelsDecideTheKindAndANegativeDurationIsALowerBound) {
    // clang-format off
    const struct { double extremo; int li, lh, ls; unsigned char tipo; } casos[] = {
        {110.0, kLi, kLh, kLs, S}, {130.0, kLi, kLh, kLs, S}, {9.9, kLi, kLh, kLs, I},
        {10.0, kLi, kLh, kLs, H}, {90.0, kLi, kLh, kLs, H},
        // Between sag and overvoltage the nearest level wins; halfway, overvoltage is tried first.
        {95.0, kLi, kLh, kLs, H}, {105.0, kLi, kLh, kLs, S}, {100.0, kLi, kLh, kLs, S},
        // Levels typed out of order (interruption above sag) still classify by the nearest one.
        {96.0, 950, 900, 1100, I},
    };
    // clang-format on
    for (const auto& c : casos)
        EXPECT_EQ(ClasificarEvento(10, c.extremo, c.li, c.lh, c.ls).Tipo, c.tipo) << c.extremo;
    const Clasificacion c = ClasificarEvento(-250.0, 50.0, kLi, kLh, kLs);
    EXPECT_DOUBLE_EQ(c.Duracion, 250.0);
    EXPECT_FALSE(c.DuracionExacta);
    EXPECT_TRUE(ClasificarEvento(250.0, 50.0, kLi, kLh, kLs).DuracionExacta);
}

TEST(Insercion, SameInstantIsOrderedByPhaseIndicesFollowTheMovesAndMisplacedEventsAreRefused) {
    CListaEventos l;
    Anadir(l, {{0, 100, 3, H}, {0, 100, 1, H}, {0, 100, 2, H}, {-500, 100, 2, S}}); // earliest added last
    EXPECT_EQ(Vista(l), (std::vector<std::string>{"S2@-500+100", "H1@0+100", "H2@0+100", "H3@0+100"}));
    // Every raw event names its own position, and keeps its place in the recording.
    const int registro[] = {3, 1, 2, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(l.Evento(i)->Indices, std::vector<std::int32_t>{i}) << i;
        EXPECT_EQ(l.Evento(i)->Registro, registro[i]) << i;
    }
    // Phases and kinds that have no place are refused, but still count in the recording.
    EXPECT_FALSE(l.AnadirEvento(A(0), 10, 0, H, 0, 0, 0, true));
    EXPECT_FALSE(l.AnadirEvento(A(0), 10, 4, H, 0, 0, 0, true));
    EXPECT_FALSE(l.AnadirEvento(A(0), 10, 1, 'X', 0, 0, 0, true));
    Anadir(l, {{9000, 10, 1, H}});
    ASSERT_EQ(l.NumeroEventos(), 5);
    EXPECT_EQ(l.Evento(4)->Registro, 7);
    EXPECT_TRUE(l.DameEvento(7).Vacio());
}

TEST(Compactar, HysteresisDecidesAtTheNextStartAndTheRawViewStays) {
    // The second overvoltage starts 300 ms after the first ends.
    CListaEventos l;
    Anadir(l, {{0, 100, 1, S, 115}, {400, 100, 1, S, 120}});
    l.PonerHisteresis(200);
    l.Compactar();
    EXPECT_EQ(l.NumeroEventos(), 2);
    l.PonerHisteresis(300); // drops the compacted view
    EXPECT_FALSE(l.EstaCompactado());
    l.Compactar();
    ASSERT_EQ(Vista(l), std::vector<std::string>{"S1@0+500"});
    EXPECT_DOUBLE_EQ(l.Evento(0)->ValorExtremo, 120); // the higher overvoltage
    EXPECT_EQ(Conjunto(l.Evento(0)->Indices), (Indices{0, 1}));
    EXPECT_EQ(l.NumeroEventosBrutos(), 2);
    EXPECT_DOUBLE_EQ(l.DameEvento(0, true).Duracion, 100);
    l.Descompactar();
    EXPECT_EQ(l.NumeroEventos(), 2);
}

TEST(Compactar, KindsMergeByAccumulatorAndOverlapsAreCut) {
    // clang-format off
    const struct { const char* caso; std::vector<Ev> eventos; int histeresis; std::vector<std::string> vista; } casos[] = {
        {"sag and interruption become one interruption", {{0, 100, 2, H, 60}, {120, 200, 2, I, 5}}, 50, {"I2@0+320"}},
        {"an overvoltage never merges with a sag", {{0, 100, 1, S, 115}, {50, 100, 1, H}, {200, 100, 1, S, 112}}, 1000,
         {"S1@0+300", "H1@50+100"}},
        {"an overlapping event is cut to the next start", {{0, 500, 1, H}, {200, 100, 1, H}}, 0, {"H1@0+300"}},
    };
    // clang-format on
    for (const auto& c : casos) {
        CListaEventos l;
        Anadir(l, c.eventos);
        l.PonerHisteresis(c.histeresis);
        l.Compactar();
        EXPECT_EQ(Vista(l), c.vista) << c.caso;
    }
}

TEST(Compactar, GapIsCountedIntoTheDurationAndTheAverageIsWeighted) {
    // 100 ms at 80 %, then 50 ms later 100 ms at 60 %: 250 ms, (80 x 150 + 60 x 100) / 250.
    CListaEventos l;
    Anadir(l, {{0, 100, 1, H, 80}, {150, 100, 1, H, 60, false}});
    l.PonerHisteresis(100);
    l.Compactar();
    ASSERT_EQ(l.NumeroEventos(), 1);
    const CEvento e = l.DameEvento(0);
    EXPECT_EQ((std::vector<double>{e.Duracion, e.ValorMedio, e.ValorExtremo, e.ValorPrevio,
                                   l.DameDuracionMaxima(0), l.DameDuracionMinima(0)}),
              (std::vector<double>{250, 72, 60, 100, 250, 250}));
    EXPECT_FALSE(e.DuracionExacta); // the later record's flag
}

// Two 100 ms sags (1000 ms for the times without milliseconds) merged into one: the counted gap
// takes every month as 31 days and leaves the year out.
TEST(Compactar, GapsAcrossCalendarBoundaries) {
    const double dia = 86400000.0;
    // clang-format off
    const struct { const char* caso; TTiempo primero, segundo; double duracion; int histeresis; double esperada; } casos[] = {
        {"January has 31 days: the real gap", TTiempo(2026, 1, 31, 23, 59, 59, 800), TTiempo(2026, 2, 1, 0, 0, 0, 0), 100, 200, 300},
        {"February 2026 is counted three days longer", TTiempo(2026, 2, 28, 23, 59, 59, 800), TTiempo(2026, 3, 1, 0, 0, 0, 0),
         100, 200, 100 + 3 * dia + 100 + 100},
        {"a year end: 100 ms minus twelve 31-day months", TTiempo(2025, 12, 31, 23, 59, 59, 800),
         TTiempo(2026, 1, 1, 0, 0, 0, 0), 100, 200, 100 + (100 - 12 * 31 * dia) + 100},
        {"no milliseconds count as millisecond zero", TTiempo(2026, 6, 10, 10, 0, 0, -1), TTiempo(2026, 6, 10, 10, 0, 2, -1),
         1000, 1000, 3000},
    };
    // clang-format on
    for (const auto& c : casos) {
        CListaEventos l;
        ASSERT_TRUE(l.AnadirEvento(c.primero, c.duracion, 1, H, 100, 80, 80, true));
        ASSERT_TRUE(l.AnadirEvento(c.segundo, c.duracion, 1, H, 100, 80, 80, true));
        l.PonerHisteresis(c.histeresis);
        l.Compactar();
        ASSERT_EQ(l.NumeroEventos(), 1) << c.caso;
        EXPECT_DOUBLE_EQ(l.Evento(0)->Duracion, c.esperada) << c.caso;
    }
}

TEST(Enlazar, EventsNameTheRawEventsTheyOverlap) {
    CListaEventos b;
    Anadir(b, {{0, 300, 1, H}, {100, 300, 2, H}, {350, 100, 3, H}, {1000, 100, 1, H}});
    b.EnlazarEventosBrutos();
    const Indices esperados[] = {{0, 1}, {0, 1, 2}, {1, 2}, {3}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Conjunto(b.Evento(i)->Indices), esperados[i]) << i;
}

// The three-phase view: an interruption on all phases runs from the latest start to the first
// recovery; sags and overvoltages on any phase that overlap are one event; a sag is cut where a
// three-phase interruption starts.
TEST(Trifasicos, ViewsBuiltFromTheRawEvents) {
    // clang-format off
    const struct { const char* caso; std::vector<Ev> eventos; std::vector<std::string> vista; } casos[] = {
        {"all phases", {{0, 1000, 1, I, 2}, {100, 1000, 2, I, 1}, {200, 700, 3, I, 3}}, {"I@200+700"}},
        {"the first phase to recover ends it", {{0, 500, 1, I}, {100, 900, 2, I}, {200, 1000, 3, I}}, {"I@200+300"}},
        {"two phases are no three-phase interruption", {{0, 1000, 1, I}, {100, 1000, 2, I}, {5000, 100, 3, I}}, {}},
        {"overlapping sags on any phase", {{0, 300, 1, H, 80}, {200, 400, 2, H, 70}, {2000, 100, 3, H}, {2050, 100, 1, S, 112}},
         {"H@0+600", "H@2000+100", "S@2050+100"}},
        {"a sag ends where the interruption starts", {{0, 1000, 2, H, 60}, {200, 2000, 1, I}, {250, 2000, 3, I}, {300, 1500, 2, I}},
         {"H@0+300", "I@300+1500"}},
        {"a sag starting with the interruption is removed", {{0, 3000, 1, I}, {0, 3000, 2, I}, {300, 200, 3, H}, {300, 1000, 3, I}},
         {"I@300+1000"}},
        {"of two overlapping sags the first stays", {{0, 1000, 1, H}, {100, 50, 1, I}, {200, 300, 2, H}}, {"H@0+1000"}},
    };
    // clang-format on
    for (const auto& c : casos) {
        CListaEventos l;
        Anadir(l, c.eventos);
        l.CalcularTrifasicos();
        l.Trifasico = true;
        // A merged event's phase is its first one's: only kind, start and length count.
        EXPECT_EQ(Vista(l, false), c.vista) << c.caso;
    }
}

TEST(Trifasicos, BuiltFromTheCompactedViewWhenCompacted) {
    CListaEventos l;
    for (int f = 1; f <= 3; ++f)
        Anadir(l, {{f * 10, 400, f, I}, {f * 10 + 450, 400, f, I}});
    l.PonerHisteresis(100);
    l.Compactar();
    l.CalcularTrifasicos();
    l.Trifasico = true;
    // Phase 3 starts last (30) and phase 1 ends first (10 + 850).
    EXPECT_EQ(Vista(l, false), std::vector<std::string>{"I@30+830"});
    EXPECT_EQ(l.Evento(0)->Indices.size(), 6u);
}
