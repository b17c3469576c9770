#include "LecturaCursor.h"
#include "TestEnvironment.h"

#include <cmath>
#include <gtest/gtest.h>
#include <tuple>

using namespace LecturaCursor;

namespace {

TEST(NumberFormatter, WritesTheAskedDecimalsAndQuestionMarksForNullHugeAndNaN) {
    // clang-format off
    const std::tuple<double, int, const char*> casos[] = {
        {230.456, 2, "230.46"}, {230.456, 0, "230"}, {0.5, 8, "0.50000000"}, {1.0, 9, "1.000000000"},
        {1.0, 15, "1.000000000"}, {1.75, 16, "2"}, {1.75, -3, "2"}, // at most nine decimals; bad counts give none
        {-9999.9, 2, "?"}, {1.23456789e13, 2, "?"}, {-1.23456789e13, 2, "?"}, {std::nan(""), 2, "?"},
        {1.2345678e13, 0, "12345678000000"}, {-9999.8, 1, "-9999.8"},
    };
    // clang-format on
    for (const auto& [valor, decimales, texto] : casos)
        EXPECT_EQ(FormatearNumero(valor, decimales), QString::fromLatin1(texto)) << valor << " " << decimales;
}

TEST(ReadOutDates, WeeklyDailyAndPlainForms) {
    const TTiempo x(2026, 3, 4, 5, 6, 7, 8);
    // clang-format off
    const std::tuple<TTiempo, int, bool, const char*> casos[] = {
        // Wednesday 9 December 2026 lies in ISO week 50 (Monday 7 December).
        {TTiempo(2026, 12, 9, 0, 0, 0, -1), 604800, false, "(50) 09/12/2026"},
        {TTiempo(2026, 12, 13, 0, 0, 0, -1), 604800, false, "(50) 13/12/2026"}, // Sunday: back to its Monday
        // A value closing its week on Monday 14th belongs to the week before.
        {TTiempo(2026, 12, 14, 0, 0, 0, -1), 604800, true, "(50) 14/12/2026"},
        {TTiempo(2026, 12, 14, 0, 0, 0, -1), 604800, false, "(51) 14/12/2026"},
        {TTiempo(2027, 1, 1, 0, 0, 0, -1), 604800, false, "(53) 01/01/2027"}, // in 2026's week 53
        {x, 86400, false, "04/03/2026"},
        {x, 1, false, "04.03.2026 05:06:07.008"},
    };
    // clang-format on
    for (const auto& [t, periodo, cierra, texto] : casos)
        EXPECT_EQ(FormatearFecha(t, periodo, cierra), QString::fromLatin1(texto)) << texto;
}

} // namespace
