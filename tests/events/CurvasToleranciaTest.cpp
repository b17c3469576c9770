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

TEST(JuzgarITIC, CasesInsideAndOutsideTheBands) {
    EXPECT_TRUE(Ok(CURVA_ITIC, 75, 0.3));
    EXPECT_FALSE(Ok(CURVA_ITIC, 65, 0.3));
    EXPECT_TRUE(Ok(CURVA_ITIC, 110, 5));
    EXPECT_FALSE(Ok(CURVA_ITIC, 110.1, 5));
    EXPECT_TRUE(Ok(CURVA_ITIC, 0, 0.01)); // below 20 ms any drop is tolerated
    EXPECT_FALSE(Ok(CURVA_ITIC, 120.1, 0.001));
    EXPECT_FALSE(Ok(CURVA_ITIC, 89.9, 20));
    EXPECT_TRUE(Ok(CURVA_ITIC, 90, 20));
}

TEST(JuzgarITIC, ABandLimitBelongsToTheBandBelow) {
    // 20 ms: still the first band (no lower limit); just past it, 70 % is needed.
    EXPECT_TRUE(Ok(CURVA_ITIC, 0, S(20)));
    EXPECT_TRUE(Ok(CURVA_ITIC, 0, 0.02));
    EXPECT_FALSE(Ok(CURVA_ITIC, 0, S(21)));
    // 500 ms: 70 % and 120 % still allowed; just past it, 80 % to 110 %.
    EXPECT_TRUE(Ok(CURVA_ITIC, 70, S(500)));
    EXPECT_TRUE(Ok(CURVA_ITIC, 120, S(500)));
    EXPECT_FALSE(Ok(CURVA_ITIC, 70, S(501)));
    EXPECT_FALSE(Ok(CURVA_ITIC, 120, S(501)));
    EXPECT_TRUE(Ok(CURVA_ITIC, 80, S(501)));
    // 10 s: 80 % still allowed; just past it, 90 %.
    EXPECT_TRUE(Ok(CURVA_ITIC, 80, S(10000)));
    EXPECT_FALSE(Ok(CURVA_ITIC, 80, S(10001)));
    EXPECT_TRUE(Ok(CURVA_ITIC, 90, S(10001)));
    EXPECT_FALSE(Ok(CURVA_ITIC, 69.9, S(21)));
    EXPECT_TRUE(Ok(CURVA_ITIC, 70, S(21)));
}

TEST(JuzgarSEMIF47, CasesAndItsMissingUpperLimit) {
    EXPECT_FALSE(Ok(CURVA_SEMIF47, 50, 0.1));
    EXPECT_TRUE(Ok(CURVA_SEMIF47, 50.1, 0.1));
    EXPECT_TRUE(Ok(CURVA_SEMIF47, 150, 20));
    EXPECT_TRUE(Ok(CURVA_SEMIF47, 0, 0.005));
}

TEST(JuzgarSEMIF47, ABandLimitBelongsToTheBandBelow) {
    EXPECT_TRUE(Ok(CURVA_SEMIF47, 0, S(20)));
    EXPECT_FALSE(Ok(CURVA_SEMIF47, 50, S(21)));
    EXPECT_TRUE(Ok(CURVA_SEMIF47, 50.1, S(21)));
    // 200 ms: above 50 % is enough; just past it, above 70 %.
    EXPECT_TRUE(Ok(CURVA_SEMIF47, 60, S(200)));
    EXPECT_FALSE(Ok(CURVA_SEMIF47, 60, S(201)));
    EXPECT_FALSE(Ok(CURVA_SEMIF47, 70, S(201)));
    // 500 ms: above 70 %; past it, above 80 %.
    EXPECT_TRUE(Ok(CURVA_SEMIF47, 75, S(500)));
    EXPECT_FALSE(Ok(CURVA_SEMIF47, 75, S(501)));
    // 10 s: above 80 %; past it, above 90 %.
    EXPECT_TRUE(Ok(CURVA_SEMIF47, 85, S(10000)));
    EXPECT_FALSE(Ok(CURVA_SEMIF47, 85, S(10001)));
    EXPECT_FALSE(Ok(CURVA_SEMIF47, 90, S(10001)));
    EXPECT_TRUE(Ok(CURVA_SEMIF47, 90.1, S(10001)));
}

TEST(JuzgarEvento, FilterOfOkAndNotOkEvents) {
    // 65 % for 0.3 s is not OK on ITIC; 75 % is.
    EXPECT_EQ(JuzgarEvento(65, 0.3, CURVA_ITIC, true, true), 65);
    EXPECT_EQ(JuzgarEvento(65, 0.3, CURVA_ITIC, true, false), kNo);
    EXPECT_EQ(JuzgarEvento(65, 0.3, CURVA_ITIC, false, true), 65);
    EXPECT_EQ(JuzgarEvento(75, 0.3, CURVA_ITIC, false, true), kNo);
    EXPECT_EQ(JuzgarEvento(75, 0.3, CURVA_ITIC, false, false), kNo);
    // CBEMA judges nothing: every event shows unless both filters are off.
    EXPECT_EQ(JuzgarEvento(5, 100, CURVA_CBEMA, false, true), 5);
    EXPECT_EQ(JuzgarEvento(5, 100, CURVA_CBEMA, true, false), 5);
    EXPECT_EQ(JuzgarEvento(5, 100, CURVA_CBEMA, false, false), kNo);
}

TEST(PuntosCurva, PolylinesAsDrawn) {
    // ITIC: lower and upper boundary; SEMI F47: the lower one; CBEMA: none.
    const auto itic = PuntosCurva(CURVA_ITIC);
    ASSERT_EQ(itic.size(), 14u);
    for (size_t k = 0; k < itic.size(); ++k)
        EXPECT_EQ(itic[k].inicio, k == 0 || k == 7) << k;
    const auto semi = PuntosCurva(CURVA_SEMIF47);
    ASSERT_EQ(semi.size(), 9u);
    for (size_t k = 0; k < semi.size(); ++k)
        EXPECT_EQ(semi[k].inicio, k == 0) << k;
    EXPECT_TRUE(PuntosCurva(CURVA_CBEMA).empty());
    EXPECT_TRUE(PuntosCurva(7).empty());
}

TEST(PuntosCurva, LowerBoundariesAgreeWithTheJudgement) {
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
