#include "HistorialZoom.h"

#include <gtest/gtest.h>

namespace {

TEST(HistorialZoom, PopReturnsThePreviousZoomAndKeepsIt) {
    HistorialZoom h;
    h.ApilarZoom(1, 2, 3, 4);
    h.ApilarZoom(5, 6, 7, 8);
    RegistroZoom r;
    ASSERT_TRUE(h.DesapilarZoom(r));
    EXPECT_EQ(r.xMin, 1);
    EXPECT_EQ(r.yMax, 4);
    EXPECT_EQ(h.Cuenta(), 1);
    EXPECT_EQ(h.Ultimo().xMax, 2);
}

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

TEST(HistorialZoom, ClearEmptiesAndANewRecordStartsAtMinusOne) {
    HistorialZoom h;
    for (int i = 0; i < 40; ++i) // no upper bound
        h.ApilarZoom(i, i, i, i);
    EXPECT_EQ(h.Cuenta(), 40);
    h.LimpiarZoom();
    EXPECT_TRUE(h.Vacio());
    const RegistroZoom nuevo;
    EXPECT_EQ(nuevo.xMin, -1.0);
    EXPECT_EQ(nuevo.yMax, -1.0);
}

} // namespace
