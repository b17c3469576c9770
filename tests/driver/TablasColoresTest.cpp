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

TEST(AppearanceMappings, LineTypesPlottingMethodsAndCursors) {
    const int lineas[] = {0, 5, 6, 1, 2, 3, 4};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(TipoLineaGrafica(i), lineas[i]);
    EXPECT_EQ(TipoLineaGrafica(7), -1);
    const int metodos[] = {0, 17, 2, 1, 3};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(MetodoGrafica(i), metodos[i]);
        EXPECT_EQ(TipoDesdeMetodo(metodos[i]), i);
    }
    EXPECT_EQ(TipoDesdeMetodo(99), -1);
    EXPECT_EQ(ModoCursor(0), 2);
    EXPECT_EQ(ModoCursor(3), 0);
    EXPECT_EQ(OpcionDesdeModoCursor(3), 2);
    EXPECT_EQ(OpcionDesdeModoCursor(7), -1);
}

} // namespace
