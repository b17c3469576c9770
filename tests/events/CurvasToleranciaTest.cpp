#include "CurvasTolerancia.h"

#include <gtest/gtest.h>

namespace {

constexpr double kNo = -9999.9;

bool Ok(int curva, double v, double segundos) {
    return JuzgarEvento(v, segundos, curva, true, false) != kNo;
}

// Durations as the window computes them from the stored milliseconds.
double S(double ms) {
    return ms * 0.001;
}

} // namespace

// Band limits belong to the band below: at 20 ms, 500 ms, 10 s the shorter band's limits still
// hold; a millisecond later the next band's.
TEST(JuzgarEvento, CasesInsideAndOutsideTheBandsOfEachCurve) {
    const int I = CURVA_ITIC, F = CURVA_SEMIF47;
    // clang-format off
    const struct { int curva; double v, segundos; bool ok; } casos[] = {
        {I, 75, 0.3, true}, {I, 65, 0.3, false}, {I, 110, 5, true}, {I, 110.1, 5, false}, {I, 0, 0.01, true},
        {I, 120.1, 0.001, false}, {I, 89.9, 20, false}, {I, 90, 20, true},
        {I, 0, S(20), true}, {I, 0, 0.02, true}, {I, 0, S(21), false}, {I, 69.9, S(21), false}, {I, 70, S(21), true},
        {I, 70, S(500), true}, {I, 120, S(500), true}, {I, 70, S(501), false}, {I, 120, S(501), false}, {I, 80, S(501), true},
        {I, 80, S(10000), true}, {I, 80, S(10001), false}, {I, 90, S(10001), true},
        // SEMI F47 has no upper limit.
        {F, 50, 0.1, false}, {F, 50.1, 0.1, true}, {F, 150, 20, true}, {F, 0, 0.005, true},
        {F, 0, S(20), true}, {F, 50, S(21), false}, {F, 50.1, S(21), true},
        {F, 60, S(200), true}, {F, 60, S(201), false}, {F, 70, S(201), false},
        {F, 75, S(500), true}, {F, 75, S(501), false},
        {F, 85, S(10000), true}, {F, 85, S(10001), false}, {F, 90, S(10001), false}, {F, 90.1, S(10001), true},
    };
    // clang-format on
    for (const auto& c : casos)
        EXPECT_EQ(Ok(c.curva, c.v, c.segundos), c.ok)
            << c.curva << ": " << c.v << " % for " << c.segundos << " s";
}

TEST(JuzgarEvento, FilterOfOkAndNotOkEvents) {
    // 65 % for 0.3 s is not OK on ITIC; 75 % is.
    EXPECT_EQ(JuzgarEvento(65, 0.3, CURVA_ITIC, true, false), kNo);
    EXPECT_EQ(JuzgarEvento(65, 0.3, CURVA_ITIC, false, true), 65);
    EXPECT_EQ(JuzgarEvento(75, 0.3, CURVA_ITIC, false, true), kNo);
    // CBEMA judges nothing: every event shows unless both filters are off.
    EXPECT_EQ(JuzgarEvento(5, 100, CURVA_CBEMA, false, true), 5);
    EXPECT_EQ(JuzgarEvento(5, 100, CURVA_CBEMA, true, false), 5);
    EXPECT_EQ(JuzgarEvento(5, 100, CURVA_CBEMA, false, false), kNo);
}

TEST(PuntosCurva, LowerBoundariesAgreeWithTheJudgement) {
    EXPECT_TRUE(PuntosCurva(7).empty());
    // Just inside each drawn step of the lower boundary an event at the step's voltage is OK
    // (ITIC) and just above it (SEMI F47), and just below it is not.
    for (int curva : {CURVA_ITIC, CURVA_SEMIF47}) {
        const auto p = PuntosCurva(curva);
        for (size_t k = 1; k + 1 < p.size() && !p[k + 1].inicio; ++k) {
            if (p[k].valor != p[k + 1].valor || p[k].valor == 0)
                continue;
            const double d = (p[k].segundos + p[k + 1].segundos) / 2;
            EXPECT_TRUE(Ok(curva, p[k].valor + 0.01, d)) << curva << " " << d;
            EXPECT_FALSE(Ok(curva, p[k].valor - 0.01, d)) << curva << " " << d;
        }
    }
}
