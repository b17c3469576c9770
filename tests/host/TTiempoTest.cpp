#include "TTiempo.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TTiempo T(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = -1) {
    return TTiempo(y, mo, d, h, mi, s, ms);
}

TEST(TTiempoComparison, OrdersFieldByFieldYearFirstBetweenMinimoAndMaximo) {
    EXPECT_LT(T(2025, 12, 31, 23, 59, 59), T(2026, 1, 1));
    EXPECT_NE(T(2026, 3, 4, 5, 6, 7, -1), T(2026, 3, 4, 5, 6, 7, 0));
    EXPECT_LT(T(9999, 12, 31, 23, 59, 59, 999), TTiempo::Maximo());
    EXPECT_GT(T(1, 1, 1), TTiempo::Minimo());
    EXPECT_EQ(TTiempo::Maximo().Milesima, 32767);
}

TEST(TTiempoArithmetic, SecondsAndMillisecondsCarryThroughMonthYearAndGregorianLeapDays) {
    EXPECT_EQ(T(2026, 3, 1).RestarSegundos(1), T(2026, 2, 28, 23, 59, 59));
    EXPECT_EQ(T(2026, 1, 1).RestarSegundos(86400), T(2025, 12, 31));
    EXPECT_EQ(T(2024, 2, 28, 23, 59, 59).SumarSegundos(1), T(2024, 2, 29));
    EXPECT_EQ(T(1900, 2, 28, 23, 59, 59).SumarSegundos(1), T(1900, 3, 1));
    EXPECT_EQ(T(2000, 2, 28, 23, 59, 59).SumarSegundos(1), T(2000, 2, 29));
    EXPECT_EQ(TTiempo::ObtenerDiasMes(2, 2024), 29);
    EXPECT_EQ(TTiempo::ObtenerDiasMes(2, 2100), 28);
    EXPECT_EQ(TTiempo::ObtenerDiasMes(13, 2026), 0);
    EXPECT_EQ(T(2026, 12, 31, 23, 59, 59, 999).SumarMilesimas(1), T(2027, 1, 1, 0, 0, 0, 0));
    EXPECT_EQ(T(2026, 1, 1, 0, 0, 0, 0).SumarMilesimas(-1), T(2025, 12, 31, 23, 59, 59, 999));
    // A time without milliseconds starts counting from 0.
    EXPECT_EQ(T(2026, 1, 1).SumarMilesimas(20), T(2026, 1, 1, 0, 0, 0, 20));
    // Restar is field-wise, without carries.
    TTiempo a = T(2026, 3, 1, 0, 0, 5, 100);
    a.Restar(T(2026, 2, 28, 23, 59, 10, 300));
    EXPECT_EQ(std::tuple(a.Anio, a.Mes, a.Dia, a.Hora, a.Minuto, a.Segundo, a.Milesima),
              std::tuple(0, 1, -27, -23, -59, -5, -200));
}

TEST(TTiempoCalendar, IsoWeekNumbersAtYearEdgesAndWeekdaysFromMonday) {
    EXPECT_EQ(T(2026, 1, 1).ObtenerNumeroSemana(), 1);   // Thursday
    EXPECT_EQ(T(2024, 12, 30).ObtenerNumeroSemana(), 1); // Monday of 2025's week 1
    EXPECT_EQ(T(2021, 1, 3).ObtenerNumeroSemana(), 53);  // Sunday ending 2020's week 53
    EXPECT_EQ(T(2026, 12, 7).DiaSemana(), 0);            // Monday
    EXPECT_EQ(T(2026, 12, 6).DiaSemana(), 6);            // Sunday
}

TEST(TTiempoText, WritesDateTimeAndOptionalMilliseconds) {
    char buffer[48];
    T(2026, 3, 4, 5, 6, 7, 89).ObtTexto(buffer, ' ', '.', 0, 0, -1);
    EXPECT_STREQ(buffer, "04.03.2026 05:06:07.089");
    EXPECT_EQ(T(2026, 12, 5, 19).Texto('T', '/'), "05/12/2026T19:00:00");
    const int n = TTiempo::Minimo().ObtTexto(buffer, ' ', '.');
    EXPECT_LT(static_cast<int>(std::string(buffer).size()), 48);
    EXPECT_GT(n, 0);
}

} // namespace
