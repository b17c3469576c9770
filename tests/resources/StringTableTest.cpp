#include "Textos.h"

#include <gtest/gtest.h>

namespace {

TEST(StringTable, UnknownNumbersGiveAnEmptyText) {
    EXPECT_STREQ(CargarTexto(-5), "");
    EXPECT_STREQ(CargarTexto(12), "");
    EXPECT_STREQ(CargarTexto(99999), "");
}

TEST(StringTable, ColourNamesCoverTheSeventeenBackColours) {
    for (int i = 0; i < 17; ++i)
        EXPECT_STRNE(NombreColor(i), "") << i;
    EXPECT_STREQ(NombreColor(17), "");
    EXPECT_STREQ(NombreColor(-1), "");
}

} // namespace
