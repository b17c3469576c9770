#include "Agrupacion.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace Agrupacion;

namespace {

TTiempo T(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = -1) {
    return TTiempo(y, mo, d, h, mi, s, ms);
}

std::vector<Intervalo> Cortar(int nivel, const std::vector<TTiempo>& t) {
    return CortarIntervalos(nivel, t.data(), static_cast<int>(t.size()));
}

// Points every `pasoMinutos` from `inicio` for `cuantos` points.
std::vector<TTiempo> Serie(TTiempo inicio, int pasoMinutos, int cuantos) {
    std::vector<TTiempo> t;
    for (int i = 0; i < cuantos; ++i) {
        t.push_back(inicio);
        inicio.SumarSegundos(pasoMinutos * 60LL);
    }
    return t;
}

using Rangos = std::vector<Intervalo>;

} // namespace

TEST(CortarSemanas, SaturdayToTuesdaySplitsAtMonday) {
    // 3 January 2026 is a Saturday; one point every six hours until Tuesday evening.
    const auto t = Serie(T(2026, 1, 3), 360, 16);
    ASSERT_EQ(t.back(), T(2026, 1, 6, 18));
    EXPECT_EQ(Cortar(NIVEL_SEMANAS, t), (Rangos{{0, 7}, {8, 15}}));
}

TEST(CortarSemanas, GapsOfMoreThanSixDaysAlwaysStartANewWeek) {
    // Wednesday 7 to Saturday 17: the running weekday does not wrap, only the gap rule cuts.
    // After the gap the weekday is taken afresh, so Monday 19 still starts a week.
    const std::vector<TTiempo> t = {T(2026, 1, 7, 10), T(2026, 1, 17, 10), T(2026, 1, 18, 9),
                                    T(2026, 1, 19, 8)};
    EXPECT_EQ(Cortar(NIVEL_SEMANAS, t), (Rangos{{0, 0}, {1, 2}, {3, 3}}));
    // Monday to the Thursday ten days later.
    const std::vector<TTiempo> u = {T(2026, 1, 5), T(2026, 1, 15)};
    EXPECT_EQ(Cortar(NIVEL_SEMANAS, u), (Rangos{{0, 0}, {1, 1}}));
}

TEST(CortarSemanas, GapsInsideOneWeekKeepTheWeek) {
    // Monday and Sunday of the same week, with nothing in between.
    const std::vector<TTiempo> t = {T(2026, 1, 5), T(2026, 1, 11, 23, 59, 59), T(2026, 1, 12)};
    EXPECT_EQ(Cortar(NIVEL_SEMANAS, t), (Rangos{{0, 1}, {2, 2}}));
}

TEST(CortarSemanas, WeekRunsAcrossTheYearEnd) {
    // Monday 29 December 2025 to Sunday 4 January 2026 is one week.
    const auto t = Serie(T(2025, 12, 29), 24 * 60, 8);
    EXPECT_EQ(Cortar(NIVEL_SEMANAS, t), (Rangos{{0, 6}, {7, 7}}));
}

TEST(CortarSemanas, DatesGoingBackwardsStartANewWeek) {
    const std::vector<TTiempo> t = {T(2026, 1, 8), T(2026, 1, 6), T(2026, 1, 7)};
    EXPECT_EQ(Cortar(NIVEL_SEMANAS, t), (Rangos{{0, 0}, {1, 2}}));
}

TEST(CortarMeses, MonthAndYearEndsCut) {
    const std::vector<TTiempo> t = {T(2024, 2, 28), T(2024, 2, 29, 23, 59, 59), T(2024, 3, 1),
                                    T(2024, 12, 31, 23, 59, 59, 999), T(2025, 1, 1)};
    EXPECT_EQ(Cortar(NIVEL_MESES, t), (Rangos{{0, 1}, {2, 2}, {3, 3}, {4, 4}}));
}

TEST(CortarMeses, SameMonthOfAnotherYearIsAnotherInterval) {
    const std::vector<TTiempo> t = {T(2025, 1, 10), T(2026, 1, 10), T(2026, 1, 20)};
    EXPECT_EQ(Cortar(NIVEL_MESES, t), (Rangos{{0, 0}, {1, 2}}));
}

TEST(CortarDias, SameDayNumberOfAnotherMonthIsAnotherDay) {
    const std::vector<TTiempo> t = {T(2026, 3, 1, 8), T(2026, 3, 1, 23, 59, 59), T(2026, 4, 1, 8),
                                    T(2026, 4, 2)};
    EXPECT_EQ(Cortar(NIVEL_DIAS, t), (Rangos{{0, 1}, {2, 2}, {3, 3}}));
}

TEST(CortarHoras, HoursCutAcrossMidnight) {
    const std::vector<TTiempo> t = {T(2026, 1, 31, 23), T(2026, 1, 31, 23, 59, 59), T(2026, 2, 1, 0),
                                    T(2026, 2, 1, 0, 30), T(2026, 2, 2, 0, 30)};
    // The same clock hour on the next day is a new interval.
    EXPECT_EQ(Cortar(NIVEL_HORAS, t), (Rangos{{0, 1}, {2, 3}, {4, 4}}));
}

TEST(CortarIntervalosBordes, NoPointsNoIntervalsAndOnePointOneInterval) {
    for (int nivel = NIVEL_MESES; nivel <= NIVEL_HORAS; ++nivel) {
        EXPECT_TRUE(CortarIntervalos(nivel, nullptr, 0).empty());
        const TTiempo uno = T(2026, 5, 5);
        EXPECT_EQ(CortarIntervalos(nivel, &uno, 1), (Rangos{{0, 0}}));
    }
}

TEST(NivelesDeAgrupacion, UngroupGoesCoarserAndFromMonthsToNoGrouping) {
    EXPECT_EQ(NuevoNivel(MODO_DESAGRUPAR, NIVEL_MESES), NIVEL_SIN_AGRUPAR);
    EXPECT_EQ(NuevoNivel(MODO_DESAGRUPAR, NIVEL_SEMANAS), NIVEL_MESES);
    EXPECT_EQ(NuevoNivel(MODO_DESAGRUPAR, NIVEL_DIAS), NIVEL_SEMANAS);
    EXPECT_EQ(NuevoNivel(MODO_DESAGRUPAR, NIVEL_HORAS), NIVEL_DIAS);
}

TEST(NivelesDeAgrupacion, GroupGoesFinerAndFromNoGroupingOrDefaultToMonths) {
    EXPECT_EQ(NuevoNivel(MODO_AGRUPAR, NIVEL_MESES), NIVEL_SEMANAS);
    EXPECT_EQ(NuevoNivel(MODO_AGRUPAR, NIVEL_SEMANAS), NIVEL_DIAS);
    EXPECT_EQ(NuevoNivel(MODO_AGRUPAR, NIVEL_DIAS), NIVEL_HORAS);
    EXPECT_EQ(NuevoNivel(MODO_AGRUPAR, NIVEL_SIN_AGRUPAR), NIVEL_MESES);
    EXPECT_EQ(NuevoNivel(MODO_AGRUPAR, NIVEL_DEFECTO), NIVEL_MESES);
}

TEST(NivelesDeAgrupacion, AnyOtherModeIsTheLevelItself) {
    for (int nivel = NIVEL_MESES; nivel <= NIVEL_DEFECTO; ++nivel)
        EXPECT_EQ(NuevoNivel(nivel, NIVEL_HORAS), nivel);
    EXPECT_EQ(NuevoNivel(NIVEL_NO_DISPONIBLE, NIVEL_MESES), NIVEL_NO_DISPONIBLE);
}

TEST(BotonesDeAgrupacion, StatesAndHintsAtEveryLevel) {
    struct Caso {
        int nivel;
        bool agrupar;
        bool desagrupar;
        const char* hintAgrupar;
        const char* hintDesagrupar;
    };
    const Caso casos[] = {
        {NIVEL_MESES, true, true, "Divide by Weeks", "No group"},
        {NIVEL_SEMANAS, true, true, "Divide by Days", "Group by Months"},
        {NIVEL_DIAS, true, true, "Divide by Hours", "Group by Weeks"},
        {NIVEL_HORAS, false, true, "", "Group by Days"},
        {NIVEL_SIN_AGRUPAR, true, false, "Divide by Months", ""},
        {NIVEL_DEFECTO, true, false, "Divide by Months", ""},
        {NIVEL_NO_DISPONIBLE, false, false, "", ""},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nivel);
        const EstadoBotones e = Botones(c.nivel);
        EXPECT_EQ(e.agruparHabilitado, c.agrupar);
        EXPECT_EQ(e.desagruparHabilitado, c.desagrupar);
        EXPECT_EQ(e.hintAgrupar, QString::fromUtf8(c.hintAgrupar));
        EXPECT_EQ(e.hintDesagrupar, QString::fromUtf8(c.hintDesagrupar));
    }
}

TEST(MismoInstante, MillisecondsWithinOneOrMissingMatch) {
    EXPECT_TRUE(MismoInstante(T(2026, 1, 1, 1, 2, 3, 500), T(2026, 1, 1, 1, 2, 3, 501)));
    EXPECT_TRUE(MismoInstante(T(2026, 1, 1, 1, 2, 3, 500), T(2026, 1, 1, 1, 2, 3, 499)));
    EXPECT_FALSE(MismoInstante(T(2026, 1, 1, 1, 2, 3, 500), T(2026, 1, 1, 1, 2, 3, 502)));
    EXPECT_TRUE(MismoInstante(T(2026, 1, 1, 1, 2, 3, -1), T(2026, 1, 1, 1, 2, 3, 998)));
    EXPECT_TRUE(MismoInstante(T(2026, 1, 1, 1, 2, 3, 7), T(2026, 1, 1, 1, 2, 3, -1)));
    EXPECT_FALSE(MismoInstante(T(2026, 1, 1, 1, 2, 4, -1), T(2026, 1, 1, 1, 2, 3, -1)));
    EXPECT_FALSE(MismoInstante(T(2026, 1, 2, 1, 2, 3), T(2026, 1, 1, 1, 2, 3)));
}

class CursorAlReagrupar : public ::testing::Test {
protected:
    // Three days, one point every ten minutes, each at .500 s.
    std::vector<TTiempo> t = Serie(T(2026, 3, 9, 0, 0, 0, 500), 10, 3 * 144);

    Agrupamiento Con(int nivel, const TTiempo& cursor) {
        return CalcularAgrupacion(nivel, t.data(), static_cast<int>(t.size()), nullptr, 0, 600, &cursor);
    }
};

TEST_F(CursorAlReagrupar, DayHoldingTheCursorBecomesCurrentWithThePointInside) {
    const Agrupamiento a = Con(NIVEL_DIAS, T(2026, 3, 10, 12, 0, 0, 501));
    EXPECT_EQ(a.numIntervalos, 3);
    EXPECT_EQ(a.intervaloActual, 1);
    EXPECT_EQ(a.puntoCursor, 72);
    EXPECT_FALSE(a.conEspaciado);
}

TEST_F(CursorAlReagrupar, HourAndMonthLevelsPlaceTheCursorInsideTheirInterval) {
    const Agrupamiento h = Con(NIVEL_HORAS, T(2026, 3, 11, 5, 40, 0, 499));
    EXPECT_EQ(h.numIntervalos, 72);
    EXPECT_EQ(h.intervaloActual, 48 + 5);
    EXPECT_EQ(h.puntoCursor, 4);
    const Agrupamiento m = Con(NIVEL_MESES, T(2026, 3, 11, 5, 40, 0, -1));
    EXPECT_EQ(m.numIntervalos, 1);
    EXPECT_TRUE(m.rangos.empty());
    EXPECT_EQ(m.puntoCursor, 288 + 34);
}

TEST_F(CursorAlReagrupar, MillisecondsTwoApartFindTheIntervalButNoPoint) {
    const Agrupamiento a = Con(NIVEL_DIAS, T(2026, 3, 11, 0, 10, 0, 502));
    EXPECT_EQ(a.intervaloActual, 2);
    EXPECT_EQ(a.puntoCursor, -1);
}

TEST_F(CursorAlReagrupar, CursorOutsideTheDataLeavesTheFirstInterval) {
    const Agrupamiento a = Con(NIVEL_DIAS, T(2026, 4, 1, 0, 0, 0, 500));
    EXPECT_EQ(a.intervaloActual, 0);
    EXPECT_EQ(a.puntoCursor, -1);
    const Agrupamiento sinCursor =
        CalcularAgrupacion(NIVEL_DIAS, t.data(), static_cast<int>(t.size()), nullptr, 0, 600, nullptr);
    EXPECT_EQ(sinCursor.intervaloActual, 0);
    EXPECT_EQ(sinCursor.puntoCursor, -1);
}

TEST_F(CursorAlReagrupar, WeekLevelFindsTheWeekOfTheCursorDate) {
    // 9 March 2026 is a Monday; add the Sunday before so there are two weeks.
    t.insert(t.begin(), T(2026, 3, 8, 23, 0, 0, 500));
    const Agrupamiento a = Con(NIVEL_SEMANAS, T(2026, 3, 10, 0, 0, 0, -1));
    EXPECT_EQ(a.numIntervalos, 2);
    EXPECT_EQ(a.intervaloActual, 1);
    EXPECT_EQ(a.puntoCursor, 144);
}

TEST_F(CursorAlReagrupar, NoGroupingGivesTheCursorIndexAndTheSpacing) {
    const Agrupamiento a = Con(NIVEL_SIN_AGRUPAR, T(2026, 3, 10, 0, 0, 0, -1));
    EXPECT_TRUE(a.rangos.empty());
    EXPECT_EQ(a.numIntervalos, 1);
    EXPECT_EQ(a.intervaloActual, 0);
    EXPECT_EQ(a.puntoCursor, 144);
    ASSERT_TRUE(a.conEspaciado);
    EXPECT_DOUBLE_EQ(a.espaciado, 600.5 / 86400.0);
}

TEST(EspaciadoSinAgrupar, PeriodPlusHalfASecondInDays) {
    EXPECT_DOUBLE_EQ(EspaciadoSinAgrupar(1), 1.5 / 86400.0);
    EXPECT_DOUBLE_EQ(EspaciadoSinAgrupar(86400), 86400.5 / 86400.0);
    // Negative: 23:59:59 as the day fraction, then the same formula with |s|.
    const double f = 86399.0 / 86400.0;
    EXPECT_DOUBLE_EQ(EspaciadoSinAgrupar(-1), f + f / 2.0);
    EXPECT_DOUBLE_EQ(EspaciadoSinAgrupar(-4), f + f / 8.0);
    // A period of 0 is half a second, the formula's limit, never a division by zero.
    EXPECT_DOUBLE_EQ(EspaciadoSinAgrupar(0), 0.5 / 86400.0);
    EXPECT_DOUBLE_EQ(EspaciadoSinAgrupar(std::numeric_limits<double>::quiet_NaN()), 0.5 / 86400.0);
}

class IntervalosDelDato : public ::testing::Test {
protected:
    // Ten points one minute apart; point 4 is repeated (a recorder that wrote one time twice).
    std::vector<TTiempo> t;
    void SetUp() override {
        t = Serie(T(2026, 6, 1, 12), 1, 10);
        t.insert(t.begin() + 4, t[4]);
    }
    TTiempo M(int minuto) const { return T(2026, 6, 1, 12, minuto); }
    Agrupamiento Con(const std::vector<TTiempo>& pares, const TTiempo* cursor) {
        return CalcularAgrupacion(NIVEL_DEFECTO, t.data(), static_cast<int>(t.size()), pares.data(),
                                  static_cast<int>(pares.size()), 0, cursor);
    }
};

TEST_F(IntervalosDelDato, PairsMatchInOrderAndTheLastOpenPairClosesAtTheLastPoint) {
    // The second pair ends on the repeated time: the run's last point closes it. The third pair's
    // end is never met.
    const std::vector<TTiempo> pares = {M(0), M(2), M(3), M(4), M(6), M(30)};
    const Agrupamiento a = Con(pares, nullptr);
    EXPECT_EQ(a.rangos, (Rangos{{0, 2}, {3, 5}, {7, 10}}));
    EXPECT_EQ(a.numIntervalos, 3);
}

TEST_F(IntervalosDelDato, PairWhoseStartIsNeverMetGetsNoInterval) {
    const std::vector<TTiempo> pares = {M(0), M(1), M(40), M(41), M(5), M(6)};
    // The scan waits for the unmet start, so the later pair is not reached either.
    EXPECT_EQ(IntervalosEntregados(t.data(), static_cast<int>(t.size()), pares.data(), 6), (Rangos{{0, 1}}));
}

TEST_F(IntervalosDelDato, OneDeliveredPairMeansNoRanges) {
    const std::vector<TTiempo> pares = {M(0), M(9)};
    const TTiempo cursor = M(7);
    const Agrupamiento a = Con(pares, &cursor);
    EXPECT_TRUE(a.rangos.empty());
    EXPECT_EQ(a.numIntervalos, 1);
    EXPECT_EQ(a.puntoCursor, 8);
}

TEST_F(IntervalosDelDato, CursorFindsItsIntervalOrFallsBackToTheFirst) {
    const std::vector<TTiempo> pares = {M(0), M(2), M(3), M(9)};
    const TTiempo dentro = T(2026, 6, 1, 12, 7, 0, 123);
    const Agrupamiento a = Con(pares, &dentro);
    EXPECT_EQ(a.intervaloActual, 1);
    EXPECT_EQ(a.puntoCursor, 5);
    const TTiempo fuera = M(59);
    const Agrupamiento b = Con(pares, &fuera);
    EXPECT_EQ(b.intervaloActual, 0);
    EXPECT_EQ(b.puntoCursor, -1);
}

TEST(CalcularAgrupacionBordes, EmptySeriesIsOneEmptyInterval) {
    for (int nivel : {0, 1, 2, 3, 4, 5, 99, -10}) {
        const TTiempo cursor = T(2026, 1, 1);
        const Agrupamiento a = CalcularAgrupacion(nivel, nullptr, 0, nullptr, 0, 1, &cursor);
        EXPECT_EQ(a.numIntervalos, 1);
        EXPECT_TRUE(a.rangos.empty());
        EXPECT_EQ(a.intervaloActual, 0);
        EXPECT_EQ(a.puntoCursor, -1);
    }
}
