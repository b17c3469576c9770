#include "HistorialZoom.h"

#include <gtest/gtest.h>

namespace {

// Popping to an earlier zoom is checked through the window; these are the edges it cannot reach.
TEST(HistorialZoom, PoppingTheLastRecordLeavesTheOutRecordUntouched) {
    HistorialZoom h;
    h.ApilarZoom(1, 2, 3, 4);
    RegistroZoom r;
    r.xMin = 42;
    EXPECT_TRUE(h.DesapilarZoom(r));
    EXPECT_EQ(r.xMin, 42);
    EXPECT_TRUE(h.Vacio());
    EXPECT_FALSE(h.DesapilarZoom(r));
}

TEST(HistorialZoom, HasNoUpperBoundAndClearEmptiesIt) {
    HistorialZoom h;
    for (int i = 0; i < 40; ++i)
        h.ApilarZoom(i, i, i, i);
    EXPECT_EQ(h.Cuenta(), 40);
    EXPECT_EQ(h.Ultimo().xMax, 39);
    h.LimpiarZoom();
    EXPECT_TRUE(h.Vacio());
}

} // namespace
