#include "Textos.h"

#include <gtest/gtest.h>

namespace {

TEST(StringTable, FixedNumbersHoldTheirTexts) {
    EXPECT_STREQ(CargarTexto(TXT_ERROR), "Error");
    EXPECT_STREQ(CargarTexto(400), "Warning");
    EXPECT_STREQ(CargarTexto(40001), "There are not open elements to show");
    EXPECT_STREQ(CargarTexto(40003), "Graph Selector");
    EXPECT_STREQ(CargarTexto(45000), "Imposible making a graphic: It fails Pegrap32.dll");
    EXPECT_STREQ(CargarTexto(45002), "Imposible configure: It fails ViewerSetup.dll");
    EXPECT_STREQ(CargarTexto(20002), "LanzarViewerVARM(TVM*,DF*,SM*)");
    EXPECT_STREQ(CargarTexto(20003), "TGrafica(ServidorMonitores*,DrivFlex*)");
    EXPECT_STREQ(CargarTexto(50000), "Description");
    EXPECT_STREQ(CargarTexto(50025), "Line color");
    EXPECT_STREQ(CargarTexto(50026), "Type line");
    EXPECT_EQ(Texto(40002),
              QStringLiteral("It was exceeded maximum number of axis\nIt will distribute data in so "
                             "many graphics as to be wanting"));
}

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
