#include "TablasColores.h"
#include "PEApi.h"

#include <gtest/gtest.h>

namespace {

TEST(ColourTables, SeriesTableIsTheBackTableWithoutDarkGrey) {
    EXPECT_EQ(ColorFondo(4), peRGB(0x50, 0x50, 0x50)); // dark grey
    EXPECT_EQ(ColorSerie(4), peRGB(0x80, 0x80, 0x80)); // grey
    EXPECT_EQ(ColorSerie(3), ColorFondo(3));
    EXPECT_EQ(ColorSerie(15), peRGB(0x00, 0x00, 0x80)); // dark blue
    EXPECT_EQ(ColorFondo(16), ColorSerie(15));
    EXPECT_EQ(ColorFondo(7), peRGB(0xFF, 0xFF, 0xFF));
}

TEST(ColourTables, IndexesOutsideTheTablesAreRefused) {
    EXPECT_EQ(ColorFondo(17), -1);
    EXPECT_EQ(ColorFondo(-1), -1);
    EXPECT_EQ(ColorSerie(16), -1);
}

TEST(AppearanceMappings, PlottingMethodsAndCursorsMapBothWaysAndUnknownsAreRefused) {
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(TipoDesdeMetodo(MetodoGrafica(i)), i);
    EXPECT_EQ(TipoDesdeMetodo(99), -1);
    EXPECT_EQ(TipoLineaGrafica(7), -1);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(OpcionDesdeModoCursor(ModoCursor(i)), i);
    EXPECT_EQ(OpcionDesdeModoCursor(7), -1);
}

} // namespace
