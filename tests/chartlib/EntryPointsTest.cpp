#include "ChartTestFixture.h"

#include "ModuleLoader.h"

#include <array>

// The library's entry points: loading it as the engine does, chart handles, properties set
// through one entry point and read back through the others, and serial dates.

TEST(ChartModule, TheBareNameLoadsAndUnknownNamesAndInternalsDoNotResolve) {
    // The engine asks for the name without the platform's suffix.
    auto library = host::loadModule(QString::fromLatin1(kChartingLibrary));
    ASSERT_NE(library, nullptr);
    EXPECT_NE(host::resolveEntry(library.get(), "PEcreate"), nullptr);
    EXPECT_EQ(host::resolveEntry(library.get(), "PEnotthere"), nullptr);
    // Internals stay private to the module.
    EXPECT_EQ(host::resolveEntry(library.get(), "_ZN8chartlib11ChartWidget12reinitializeEv"), nullptr);
    EXPECT_EQ(host::resolveEntry(nullptr, "PEcreate"), nullptr);
}

class ChartHandles : public ChartTest {};

TEST_F(ChartHandles, OnlyTheGraphTypeIsCreatedAndStaleOrForeignHandlesFailWithoutTouchingMemory) {
    PERect rect{0, 0, 100, 100};
    EXPECT_EQ(api().PEcreate(305, 0, &rect, m_parent.get(), 1), nullptr);
    HPE other = api().PEcreate(304, 0, nullptr, m_parent.get(), 1);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->parentWidget(), m_parent.get());
    EXPECT_EQ(api().PEdestroy(other), 1);

    QWidget foreign;
    EXPECT_EQ(api().PEnset(&foreign, PEP_SUBSETS, 2), 0);
    EXPECT_EQ(api().PEreinitialize(&foreign), 0);
    EXPECT_EQ(api().PEdestroy(nullptr), 0);
    HPE child = api().PEcreate(304, 0, nullptr, m_parent.get(), 1);
    ASSERT_NE(child, nullptr);
    delete child; // the parent window freed it without PEdestroy
    EXPECT_EQ(api().PEnset(child, PEP_SUBSETS, 2), 0);
    EXPECT_EQ(api().PEdestroy(child), 0);
}

class ChartProperties : public ChartTest {};

TEST_F(ChartProperties, ScalarsTextsAndUnknownNumbersRoundTrip) {
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

    // Numbers the library does not know are kept by the type they were set with.
    EXPECT_EQ(api().PEnset(chart(), 4100, -12), 1);
    EXPECT_EQ(pe.dameEntero(4100), -12);
    const double values[] = {0.25, 0.5};
    EXPECT_EQ(api().PEvset(chart(), 4102, values, 2), 1);
    double read[2] = {};
    EXPECT_EQ(api().PEvget(chart(), 4102, read, 2), 2);
    EXPECT_EQ(read[1], 0.5);
    EXPECT_EQ(pe.dameEntero(4103), 0);
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
    // One bad index cannot make a huge array: growing stops at 16 M cells unless the chart's
    // subsets times points need more.
    EXPECT_EQ(api().PEvsetcell(chart(), PEP_YDATA, 1 << 24, &value), 0);
    EXPECT_EQ(api().PEvget(chart(), PEP_YDATA, nullptr, 0), 6);
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

// Serial dates, mode 2: days since 1899-12-30, exact to the millisecond.

class SerialDates : public ChartTest {
protected:
    double serial(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
        PETM tm{year - 1900, month, day, hour, minute, second, ms};
        double value = std::numeric_limits<double>::quiet_NaN();
        EXPECT_EQ(api().PEcreateserialdate(&value, &tm, 2), 1);
        return value;
    }
    static std::array<int, 7> fields(const PETM& t) {
        return {t.nYear, t.nMonth, t.nDay, t.nHour, t.nMinute, t.nSecond, t.nMilliSecond};
    }
    std::array<int, 7> decipher(double value) {
        PETM tm;
        EXPECT_EQ(api().PEdecipherserialdate(&value, &tm, 2), 1);
        return fields(tm);
    }
};

TEST_F(SerialDates, KnownDaysHaveTheirNumbers) {
    EXPECT_EQ(serial(1899, 12, 30), 0.0);
    EXPECT_EQ(serial(1900, 1, 1), 2.0);
    EXPECT_EQ(serial(2024, 1, 1), 45292.0);
    EXPECT_EQ(serial(2024, 2, 29, 12), 45351.5);
    EXPECT_EQ(serial(2024, 3, 1), 45352.0) << "29 February counts as a day";
    EXPECT_EQ(serial(1899, 12, 29, 18), -0.25) << "time runs on continuously before the epoch";
}

TEST_F(SerialDates, RoundTripsKeepEveryFieldAndRoundToTheNearestMillisecond) {
    const PETM samples[] = {
        {124, 2, 29, 23, 59, 59, 999}, {0, 2, 28, 12, 0, 0, 500}, {-1, 12, 29, 6, 30, 0, 250}};
    for (const PETM& in : samples) {
        double value = 0;
        ASSERT_EQ(api().PEcreateserialdate(&value, &in, 2), 1);
        EXPECT_EQ(decipher(value), fields(in));
    }
    const double ms = 1.0 / 86400000.0;
    EXPECT_EQ(decipher(serial(2024, 6, 1, 10) + 0.4 * ms)[6], 0);
    EXPECT_EQ(decipher(serial(2024, 12, 31, 23, 59, 59, 999) + 0.7 * ms),
              (std::array<int, 7>{125, 1, 1, 0, 0, 0, 0}))
        << "rounding up carries into the next year";
}

// One of each fault: a day the month lacks, a field out of its range, an unknown mode, no
// output, a number that is no date.
TEST_F(SerialDates, InvalidInputIsRefused) {
    double value = 0;
    for (PETM bad : {PETM{123, 2, 29}, PETM{124, 4, 31}, PETM{124, 13, 1}, PETM{124, 1, 1, 24},
                     PETM{124, 1, 1, 0, 0, 0, 1000}, PETM{124, 1, 1, 0, 0, 0, -1}})
        EXPECT_EQ(api().PEcreateserialdate(&value, &bad, 2), 0) << bad.nYear << "-" << bad.nMonth;
    const PETM good{124, 1, 1};
    EXPECT_EQ(api().PEcreateserialdate(&value, &good, 1), 0) << "only mode 2";
    EXPECT_EQ(api().PEcreateserialdate(nullptr, &good, 2), 0);
    PETM tm;
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), 1e12})
        EXPECT_EQ(api().PEdecipherserialdate(&bad, &tm, 2), 0);
}

TEST_F(ChartProperties, SubsetsSharingOneTimeAxisReadAndDrawAsIfEachHadItsOwn) {
    const int red = static_cast<int>(peRGB(255, 0, 0));
    series(3, {0, 1, 2, 0, 1, 2, 0, 1, 2}, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {red, red, red});
    pe.ponerEntero(PEP_FORCEDMETHOD, PEMF_POINTS);
    pe.Redibujar();
    EXPECT_TRUE(anyNear(grab(), pixelOf(0, 1, 8), bgr(red), 5)) << "the last subset has its dates too";
    double read = -1;
    EXPECT_EQ(api().PEvgetcellEx(chart(), PEP_XDATA, 2, 1, &read), 1);
    EXPECT_EQ(read, 1);
    // One changed cell leaves the other subsets' dates alone.
    const double moved = 1.5;
    EXPECT_EQ(api().PEvsetcell(chart(), PEP_XDATA, 4, &moved), 1);
    std::vector<double> x(9);
    ASSERT_EQ(api().PEvget(chart(), PEP_XDATA, x.data(), 9), 9);
    EXPECT_EQ(x, (std::vector<double>{0, 1, 2, 0, 1.5, 2, 0, 1, 2}));
}

TEST_F(ChartProperties, DataSetSinceTheLastReinitializeIsDrawnFromTheNextOne) {
    const int red = static_cast<int>(peRGB(255, 0, 0));
    series(1, {0, 1, 2}, {1, 2, 3}, {red});
    pe.ponerEntero(PEP_FORCEDMETHOD, PEMF_POINTS);
    pe.Redibujar();
    const QPointF old = pixelOf(0, 1, 2);
    // Arrays a thousand times larger move the chart's storage, and a cell write changes it
    // again; a redraw before the chart is reinitialised still draws the points it took.
    std::vector<double> x(3000), y(3000, 2.5);
    for (int i = 0; i < 3000; ++i)
        x[static_cast<std::size_t>(i)] = i / 1500.0;
    pe.ponerEntero(PEP_POINTS, 3000);
    ASSERT_EQ(api().PEvset(chart(), PEP_XDATA, x.data(), 3000), 1);
    ASSERT_EQ(api().PEvset(chart(), PEP_YDATA, y.data(), 3000), 1);
    const double cell = 2.75;
    ASSERT_EQ(api().PEvsetcell(chart(), PEP_YDATA, 0, &cell), 1);
    plot()->replot();
    EXPECT_TRUE(anyNear(grab(), old, bgr(red), 3));
    pe.Redibujar();
    EXPECT_TRUE(anyNear(grab(), pixelOf(0, 1, 2.5), bgr(red), 3));
    EXPECT_TRUE(anyNear(grab(), pixelOf(0, 0, 2.75), bgr(red), 3));
}
