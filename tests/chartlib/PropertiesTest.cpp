#include "ChartTestFixture.h"

#include <cstring>

// Every kind of property set through one entry point reads back through the others.

class ChartProperties : public ChartTest {};

TEST_F(ChartProperties, TheTableCoversEveryNamedNumberOnceAndIsSearchable) {
    const auto table = peTablaPropiedades();
    ASSERT_FALSE(table.empty());
    for (std::size_t i = 1; i < table.size(); ++i)
        EXPECT_LT(table[i - 1].numero, table[i].numero);
    for (int number : {PEP_MAINTITLE, PEP_XDATA, PEP_POINTCOLORS, PEP_NULLY, PEP_XLOGSCALE, PEP_3416}) {
        const PEInfoPropiedad* info = peBuscarPropiedad(number);
        ASSERT_NE(info, nullptr) << number;
        EXPECT_EQ(info->numero, number);
        EXPECT_GT(std::strlen(info->papel), 0u);
    }
    EXPECT_EQ(peBuscarPropiedad(1), nullptr);
    EXPECT_EQ(peBuscarPropiedad(3999), nullptr);
    EXPECT_EQ(peBuscarPropiedad(PEP_HLINELABELS)->tipo, PETipoPropiedad::TextArray);
    EXPECT_TRUE(peBuscarPropiedad(PEP_PLOTMETHOD)->porEje);
}

TEST_F(ChartProperties, ScalarsAndTextsRoundTrip) {
    EXPECT_EQ(api().PEnset(chart(), PEP_CURSORMODE, 3), 1);
    EXPECT_EQ(pe.dameEntero(PEP_CURSORMODE), 3);
    EXPECT_EQ(pe.dameEntero(PEP_CURSORPOINT), 0) << "unset integers read 0";

    EXPECT_EQ(api().PEszset(chart(), PEP_MAINTITLE, "MULTIGRAPHIC"), 1);
    char buffer[64];
    EXPECT_EQ(api().PEszget(chart(), PEP_MAINTITLE, buffer, sizeof buffer), 12);
    EXPECT_STREQ(buffer, "MULTIGRAPHIC");
    char small[6];
    api().PEszget(chart(), PEP_MAINTITLE, small, sizeof small);
    EXPECT_STREQ(small, "MULTI") << "a short buffer gets a terminated prefix";
    EXPECT_EQ(api().PEszset(chart(), PEP_SUBSETS, "3"), 0) << "text into an integer property is refused";

    // A scalar double is an array of one; an integer written to it is kept as that number.
    pe.ponerDouble(PEP_GRAPHSHARE, 0.87);
    EXPECT_EQ(api().PEvget(chart(), PEP_GRAPHSHARE, nullptr, 0), 1);
    EXPECT_DOUBLE_EQ(pe.dameDouble(PEP_GRAPHSHARE), 0.87);
    pe.ponerEntero(PEP_ZOOMXMIN, 7);
    EXPECT_DOUBLE_EQ(pe.dameDouble(PEP_ZOOMXMIN), 7.0);
}

TEST_F(ChartProperties, ArraysRoundTripAndReportTheirCount) {
    setDoubles(PEP_XDATA, {1.5, 2.5, 3.5});
    EXPECT_EQ(api().PEvget(chart(), PEP_XDATA, nullptr, 0), 3);
    double xs[2] = {0, 0};
    EXPECT_EQ(api().PEvget(chart(), PEP_XDATA, xs, 2), 3) << "the count, not what was copied";
    EXPECT_EQ(xs[0], 1.5);
    EXPECT_EQ(xs[1], 2.5);

    setInts(PEP_SUBSETCOLORS, {0x0000FF, 0xFF0000});
    int colours[2] = {0, 0};
    ASSERT_EQ(api().PEvget(chart(), PEP_SUBSETCOLORS, colours, 2), 2);
    EXPECT_EQ(colours[1], 0xFF0000);

    setTexts(PEP_HLINELABELS, {"|R110.0%\t", "sag"});
    const char* labels[2] = {nullptr, nullptr};
    ASSERT_EQ(api().PEvget(chart(), PEP_HLINELABELS, labels, 2), 2);
    EXPECT_STREQ(labels[0], "|R110.0%\t");
    EXPECT_STREQ(labels[1], "sag");

    setInts(PEP_LABELSUBSETS, {});
    EXPECT_EQ(api().PEvget(chart(), PEP_LABELSUBSETS, nullptr, 0), 0) << "an emptied array stays empty";
    EXPECT_EQ(api().PEvset(chart(), PEP_XDATA, nullptr, 3), 0) << "no data for a non-empty count";
    EXPECT_EQ(api().PEvset(chart(), PEP_XDATA, xs, -1), 0);
}

TEST_F(ChartProperties, CellsAddressOneElementAndSubsetPointCellsUseThePointCount) {
    pe.ponerEntero(PEP_POINTS, 3);
    setDoubles(PEP_YDATA, {1, 2, 3, 4, 5, 6});
    double value = 40;
    EXPECT_EQ(api().PEvsetcell(chart(), PEP_YDATA, 4, &value), 1);
    double read = 0;
    EXPECT_EQ(api().PEvgetcell(chart(), PEP_YDATA, 4, &read), 1);
    EXPECT_EQ(read, 40);
    EXPECT_EQ(api().PEvgetcellEx(chart(), PEP_YDATA, 1, 1, &read), 1);
    EXPECT_EQ(read, 40) << "subset 1, point 1 is cell 4";
    EXPECT_EQ(api().PEvgetcell(chart(), PEP_YDATA, 6, &read), 0) << "beyond the end";
    EXPECT_EQ(api().PEvgetcellEx(chart(), PEP_YDATA, -1, 0, &read), 0);

    int colour = 0x00FF00;
    EXPECT_EQ(api().PEvsetcell(chart(), PEP_POINTCOLORS, 2, &colour), 1);
    EXPECT_EQ(api().PEvget(chart(), PEP_POINTCOLORS, nullptr, 0), 3) << "a cell write grows the array";
    EXPECT_EQ(api().PEvsetcell(chart(), PEP_POINTCOLORS, -1, &colour), 0);
}

TEST_F(ChartProperties, UnknownNumbersAreStoredByTheTypeTheyWereSetWith) {
    EXPECT_EQ(api().PEnset(chart(), 4100, -12), 1);
    EXPECT_EQ(pe.dameEntero(4100), -12);
    EXPECT_EQ(api().PEszset(chart(), 4101, "free text"), 1);
    char buffer[32];
    api().PEszget(chart(), 4101, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "free text");
    const double values[] = {0.25, 0.5};
    EXPECT_EQ(api().PEvset(chart(), 4102, values, 2), 1);
    double read[2] = {};
    EXPECT_EQ(api().PEvget(chart(), 4102, read, 2), 2);
    EXPECT_EQ(read[1], 0.5);
    EXPECT_EQ(pe.dameEntero(4103), 0);
}

TEST_F(ChartProperties, PerAxisPropertiesFollowTheWorkingAxis) {
    for (int axis : {0, 1}) {
        pe.ponerEntero(PEP_WORKINGAXIS, axis);
        pe.ponerEntero(PEP_PLOTMETHOD, axis == 0 ? 17 : 1);
        pe.ponerTexto(PEP_YAXISLABEL, axis == 0 ? "V" : "A");
    }
    EXPECT_EQ(pe.dameEntero(PEP_PLOTMETHOD), 1);
    pe.ponerEntero(PEP_WORKINGAXIS, 0);
    EXPECT_EQ(pe.dameEntero(PEP_PLOTMETHOD), 17);
    char buffer[8];
    api().PEszget(chart(), PEP_YAXISLABEL, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "V");

    series(2, {0, 1, 0, 1}, {1, 2, 3, 4});
    setInts(PEP_SUBSETSPERAXIS, {1, 1});
    pe.Redibujar();
    ASSERT_EQ(plot()->axisRectCount(), 2);
    EXPECT_EQ(yAxis(0)->label(), QStringLiteral("V"));
    EXPECT_EQ(yAxis(1)->label(), QStringLiteral("A"));
}
