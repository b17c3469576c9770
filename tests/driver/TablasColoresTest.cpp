#include "TablasColores.h"
#include "PEApi.h"

#include <gtest/gtest.h>

namespace {

// The colours themselves are checked on the chart by the driver tests; here the mappings'
// bounds.
TEST(AppearanceMappings, TablesAndMappingsRefuseIndexesOutsideThemAndRoundTrip) {
    EXPECT_EQ(ColorSerie(15), ColorFondo(16)); // the series table lacks only dark grey
    for (int fuera : {17, -1})
        EXPECT_EQ(ColorFondo(fuera), -1);
    EXPECT_EQ(ColorSerie(16), -1);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(TipoDesdeMetodo(MetodoGrafica(i)), i);
    EXPECT_EQ(TipoDesdeMetodo(99), -1);
    EXPECT_EQ(TipoLineaGrafica(7), -1);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(OpcionDesdeModoCursor(ModoCursor(i)), i);
    EXPECT_EQ(OpcionDesdeModoCursor(7), -1);
}

} // namespace
