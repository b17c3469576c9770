#include "LecturaCursor.h"
#include "TestEnvironment.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace LecturaCursor;

namespace {

TEST(NumberFormatter, WritesTheAskedDecimals) {
    EXPECT_EQ(FormatearNumero(230.456, 2), QStringLiteral("230.46"));
    EXPECT_EQ(FormatearNumero(230.456, 0), QStringLiteral("230"));
    EXPECT_EQ(FormatearNumero(0.5, 8), QStringLiteral("0.50000000"));
    EXPECT_EQ(FormatearNumero(1.0, 9), QStringLiteral("1.000000000"));
    EXPECT_EQ(FormatearNumero(1.0, 15), QStringLiteral("1.000000000"));
    EXPECT_EQ(FormatearNumero(1.75, 16), QStringLiteral("2"));
    EXPECT_EQ(FormatearNumero(1.75, -3), QStringLiteral("2"));
}

TEST(NumberFormatter, NullHugeAndNotANumberBecomeQuestionMarks) {
    EXPECT_EQ(FormatearNumero(-9999.9, 2), QStringLiteral("?"));
    EXPECT_EQ(FormatearNumero(1.23456789e13, 2), QStringLiteral("?"));
    EXPECT_EQ(FormatearNumero(-1.23456789e13, 2), QStringLiteral("?"));
    EXPECT_EQ(FormatearNumero(std::nan(""), 2), QStringLiteral("?"));
    EXPECT_EQ(FormatearNumero(1.2345678e13, 0), QStringLiteral("12345678000000"));
    EXPECT_EQ(FormatearNumero(-9999.8, 1), QStringLiteral("-9999.8"));
}

TEST(ReadOutDates, WeeklyDailyAndPlainForms) {
    // Wednesday 9 December 2026 lies in ISO week 50 (Monday 7 December).
    EXPECT_EQ(FormatearFecha(TTiempo(2026, 12, 9, 0, 0, 0, -1), 604800, false),
              QStringLiteral("(50) 09/12/2026"));
    // A Sunday steps back six days to its Monday.
    EXPECT_EQ(FormatearFecha(TTiempo(2026, 12, 13, 0, 0, 0, -1), 604800, false),
              QStringLiteral("(50) 13/12/2026"));
    // A value closing its week on Monday 14th belongs to the week before.
    EXPECT_EQ(FormatearFecha(TTiempo(2026, 12, 14, 0, 0, 0, -1), 604800, true),
              QStringLiteral("(50) 14/12/2026"));
    EXPECT_EQ(FormatearFecha(TTiempo(2026, 12, 14, 0, 0, 0, -1), 604800, false),
              QStringLiteral("(51) 14/12/2026"));
    // Across a year end: Friday 1 January 2027 is in 2026's week 53.
    EXPECT_EQ(FormatearFecha(TTiempo(2027, 1, 1, 0, 0, 0, -1), 604800, false),
              QStringLiteral("(53) 01/01/2027"));
    EXPECT_EQ(FormatearFecha(TTiempo(2026, 3, 4, 5, 6, 7, -1), 86400, false), QStringLiteral("04/03/2026"));
    EXPECT_EQ(FormatearFecha(TTiempo(2026, 3, 4, 5, 6, 7, 8), 1, false),
              QStringLiteral("04.03.2026 05:06:07.008"));
}

TEST(ReadOutTable, RowsCellsAndUnitsCharacterForCharacter) {
    Lectura l;
    l.valor = 231.25;
    l.maximo = 240.0;
    l.minimo = -9999.9;
    l.decimales = 1;
    l.unidad = QStringLiteral("V");
    l.fecha = QStringLiteral("A");
    l.desde = QStringLiteral("B");
    l.hasta = QStringLiteral("C");
    int filas = 0;
    EXPECT_EQ(Texto(l, &filas), QStringLiteral("Act : 231.2 (V)|Maximum : 240.0 (V)|Minimum : ? (V)\t"
                                               "Act : A|From : B|To : C\t"
                                               " | | \t"));
    EXPECT_EQ(filas, 3);

    l.mostrarVariable = true;
    l.nombreVariable = QStringLiteral("V1");
    l.unidad = QStringLiteral("?x");
    EXPECT_EQ(Texto(l, &filas), QStringLiteral("Act : 231.2|Maximum : 240.0|Minimum : ?\t"
                                               "Act : A|From : B|To : C\t"
                                               " | Selected Variable: V1 | \t"
                                               " | | \t"));
    EXPECT_EQ(filas, 4);
}

TEST(AxisUnits, PercentUnitsShareByTheirSecondCharacter) {
    EXPECT_TRUE(MismoEje(QStringLiteral("%Vn"), QStringLiteral("%Vx")));
    EXPECT_FALSE(MismoEje(QStringLiteral("%Vn"), QStringLiteral("%In")));
    EXPECT_TRUE(MismoEje(QStringLiteral("%"), QStringLiteral("%")));
    EXPECT_FALSE(MismoEje(QStringLiteral("%"), QStringLiteral("%V")));
    EXPECT_TRUE(MismoEje(QStringLiteral("V"), QStringLiteral("V")));
    EXPECT_FALSE(MismoEje(QStringLiteral("V"), QStringLiteral("v")));
    EXPECT_EQ(EtiquetaEje(QStringLiteral("%Vn of nominal")), QStringLiteral("%V"));
    EXPECT_EQ(EtiquetaEje(QStringLiteral("?unknown")), QString());
    EXPECT_EQ(EtiquetaEje(QStringLiteral("kW")), QStringLiteral("kW"));
}

} // namespace
