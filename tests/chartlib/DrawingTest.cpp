#include "ChartTestFixture.h"

#include <QRegularExpression>
#include <QSet>

// What a chart draws, checked on the pixels of the grabbed widget at positions computed from
// the chart's own axes.

namespace {

const int kRed = static_cast<int>(peRGB(255, 0, 0));
const int kBlue = static_cast<int>(peRGB(0, 0, 255));
const int kGreen = static_cast<int>(peRGB(0, 160, 0));
const int kMagenta = static_cast<int>(peRGB(255, 0, 255));
const int kTeal = static_cast<int>(peRGB(0, 128, 128));

} // namespace

class ChartDrawing : public ChartTest {
protected:
    void twoSubsets(int method) {
        series(2, {1, 2, 3, 4, 1, 2, 3, 4}, {10, 40, 20, 30, 5, 15, 35, 25}, {kRed, kBlue});
        pe.ponerEntero(PEP_WORKINGAXIS, 0);
        pe.ponerEntero(PEP_PLOTMETHOD, method);
    }
    // Two stacked axes of one subset each: 1..3 on the top one, 10..30 on the bottom one.
    void twoAxes() {
        series(2, {0, 1, 2, 0, 1, 2}, {1, 2, 3, 10, 20, 30});
        setInts(PEP_SUBSETSPERAXIS, {1, 1});
    }
};

TEST_F(ChartDrawing, PerPointColoursPaintPointsAndBars) {
    for (int method : {2, 1}) {
        twoSubsets(method);
        setInts(PEP_POINTCOLORS, {kRed, kGreen, kRed, kRed, kBlue, kBlue, kMagenta, kBlue});
        pe.Redibujar();
        const QImage image = grab();
        // Bars: a little below the top of the bar; points: the marker's centre.
        const double below = method == 1 ? 3 : 0;
        const double dx = method == 1 ? -0.2 : 0;
        EXPECT_TRUE(near(pixel(image, pixelOf(0, 2 + dx, 40 - below)), bgr(kGreen))) << "method " << method;
        EXPECT_TRUE(near(pixel(image, pixelOf(0, 1 + dx, 10 - below)), bgr(kRed))) << "method " << method;
        EXPECT_TRUE(near(pixel(image, pixelOf(0, 3 - dx, 35 - below)), bgr(kMagenta))) << "method " << method;
    }
}

TEST_F(ChartDrawing, BarsOfOneAxisStandSideBySideDownToZero) {
    twoSubsets(1);
    pe.Redibujar();
    const QImage image = grab();
    EXPECT_LE(yAxis()->range().lower, 0.0) << "bars include their base";
    // Subset 0 left of the point's x, subset 1 right of it, both reaching down to zero.
    EXPECT_TRUE(near(pixel(image, pixelOf(0, 2 - 0.2, 1)), bgr(kRed)));
    EXPECT_TRUE(near(pixel(image, pixelOf(0, 2 + 0.2, 1)), bgr(kBlue)));
    EXPECT_TRUE(near(pixel(image, pixelOf(0, 2 - 0.2, 20)), bgr(kRed)));
    EXPECT_TRUE(near(pixel(image, pixelOf(0, 2 + 0.2, 18)), Qt::white)) << "subset 1 is only 15 high there";
}

TEST_F(ChartDrawing, NullValuesAreGapsNeverPoints) {
    series(1, {0, 1, 2, 3, 4, 5}, {10, 10, kNull, 10, 10, 10}, {kRed}, {6});
    pe.ponerDouble(PEP_NULLX, kNull);
    pe.ponerDouble(PEP_NULLY, kNull);
    pe.Redibujar();
    const QImage image = grab();
    EXPECT_TRUE(anyNear(image, pixelOf(0, 0.5, 10), bgr(kRed)));
    EXPECT_TRUE(anyNear(image, pixelOf(0, 3.5, 10), bgr(kRed)));
    EXPECT_FALSE(anyNear(image, pixelOf(0, 1.5, 10), bgr(kRed))) << "no line into the null point";
    EXPECT_FALSE(anyNear(image, pixelOf(0, 2.5, 10), bgr(kRed))) << "no line out of it";
    EXPECT_GT(yAxis()->range().lower, 0.0) << "the null value takes no part in the scale";

    pe.ponerEntero(PEP_PLOTMETHOD, PEMD_AREA);
    pe.Redibujar();
    const QImage area = grab();
    const double under = (yAxis()->range().lower + 10) / 2;
    EXPECT_FALSE(near(pixel(area, pixelOf(0, 0.5, under)), Qt::white)) << "the area is filled";
    EXPECT_TRUE(near(pixel(area, pixelOf(0, 1.6, under)), Qt::white)) << "but not under the null point";
}

TEST_F(ChartDrawing, PointsFurtherApartThanTheLargestGapAreNotJoined) {
    series(1, {0, 1, 2, 6, 7}, {5, 5, 5, 5, 5}, {kBlue}, {6});
    pe.ponerDouble(PEP_MAXGAP, 1.5);
    pe.Redibujar();
    QImage image = grab();
    EXPECT_TRUE(anyNear(image, pixelOf(0, 1.5, 5), bgr(kBlue)));
    EXPECT_FALSE(anyNear(image, pixelOf(0, 4, 5), bgr(kBlue)));
    EXPECT_TRUE(anyNear(image, pixelOf(0, 6.5, 5), bgr(kBlue)));

    pe.ponerDouble(PEP_MAXGAP, 0);
    pe.Redibujar();
    EXPECT_TRUE(anyNear(grab(), pixelOf(0, 4, 5), bgr(kBlue))) << "0 joins every point";
}

TEST_F(ChartDrawing, StackedAxesSplitTheHeightAndShareTheHorizontalRange) {
    series(3, {0, 10, 0, 10, 0, 20}, {1, 2, 1, 2, 100, 200}, {kRed, kRed, kGreen}, {6, 6, 6});
    setInts(PEP_SUBSETSPERAXIS, {2, 1});
    setDoubles(PEP_AXISSHARES, {0.75, 0.25});
    pe.Redibujar();
    ASSERT_EQ(plot()->axisRectCount(), 2);
    QCPAxisRect* top = plot()->axisRect(0);
    QCPAxisRect* bottom = plot()->axisRect(1);
    EXPECT_GT(top->outerRect().height() / double(bottom->outerRect().height()), 2.0);
    EXPECT_EQ(xAxis(0)->range(), xAxis(1)->range());
    EXPECT_DOUBLE_EQ(xAxis(0)->range().upper, 20.0);
    EXPECT_GT(yAxis(1)->range().upper, 150.0);
    EXPECT_LT(yAxis(0)->range().upper, 3.0);
    EXPECT_TRUE(anyNear(grab(), pixelOf(1, 10, 150), bgr(kGreen)));
}

TEST_F(ChartDrawing, AnnotationsDrawAtTheirValuesInTheirColours) {
    twoSubsets(2);
    setDoubles(PEP_HLINEY, {22.5});
    setInts(PEP_HLINEAXIS, {0});
    setInts(PEP_HLINETYPES, {6});
    setInts(PEP_HLINECOLORS, {kGreen});
    setDoubles(PEP_VLINEX, {1.5, 3.5});
    setInts(PEP_VLINETYPES, {6, 7});
    setInts(PEP_VLINECOLORS, {kMagenta, kMagenta});
    setDoubles(PEP_GANNOTX, {1, 4});
    setDoubles(PEP_GANNOTY, {5, 40});
    setInts(PEP_GANNOTTYPES, {38, 45});
    setInts(PEP_GANNOTCOLORS, {kTeal, kTeal});
    pe.Redibujar();
    const QImage image = grab();
    EXPECT_TRUE(anyNear(image, pixelOf(0, 2.5, 22.5), bgr(kGreen)));
    EXPECT_TRUE(anyNear(image, pixelOf(0, 1.5, 12), bgr(kMagenta)));
    EXPECT_FALSE(anyNear(image, pixelOf(0, 3.5, 12), bgr(kMagenta))) << "type 7 is a label only";
    // The polyline from (1, 5) to (4, 40) passes through (1.75, 13.75), and nothing joins it
    // to anything else.
    EXPECT_TRUE(anyNear(image, pixelOf(0, 1.75, 13.75), bgr(kTeal)));
    EXPECT_FALSE(anyNear(image, pixelOf(0, 1.75, 30), bgr(kTeal)));
}

TEST_F(ChartDrawing, OnePointChartsShowLargeMarkers) {
    series(1, {45351.5}, {230}, {kRed});
    pe.ponerEntero(PEP_XSERIALDATES, 1);
    pe.ponerEntero(PEP_FORCEDMETHOD, 4);
    setInts(PEP_POINTTYPES, {5});
    pe.Redibujar();
    const QImage image = grab();
    const QPointF centre = pixelOf(0, 45351.5, 230);
    EXPECT_TRUE(near(pixel(image, centre), bgr(kRed)));
    EXPECT_TRUE(near(pixel(image, centre + QPointF(5, 5)), bgr(kRed))) << "large enough to see";
    EXPECT_LT(xAxis()->range().lower, 45351.5);
    EXPECT_GT(xAxis()->range().upper, 45351.5);
}

TEST_F(ChartDrawing, DecimatedMarkersKeepALoneExcursionVisible) {
    const int n = 200000;
    std::vector<double> x(n), y(n, 10.0);
    std::vector<int> colours(n, kBlue);
    for (int i = 0; i < n; ++i)
        x[i] = i;
    y[123457] = 50;
    colours[123457] = kMagenta;
    series(1, x, y);
    setInts(PEP_POINTCOLORS, colours);
    pe.ponerEntero(PEP_FORCEDMETHOD, 2);
    pe.Redibujar();
    const QImage image = grab();
    EXPECT_TRUE(anyNear(image, pixelOf(0, 123457, 50), bgr(kMagenta), 3));
    EXPECT_TRUE(anyNear(image, pixelOf(0, 50000, 10), bgr(kBlue), 3));
}

TEST_F(ChartDrawing, CountsFarBeyondTheDataDrawWhatThereIs) {
    series(1, {1, 2, 3}, {4, 5, 6}, {kRed});
    pe.ponerEntero(PEP_SUBSETS, 1000000);
    pe.ponerEntero(PEP_POINTS, std::numeric_limits<int>::max());
    pe.ponerEntero(PEP_FORCEDMETHOD, 2);
    pe.Redibujar();
    EXPECT_TRUE(anyNear(grab(), pixelOf(0, 2, 5), bgr(kRed)));
    pe.ponerEntero(PEP_POINTS, -5);
    pe.Redibujar();
    EXPECT_EQ(plot()->axisRectCount(), 1);
}

class ChartDateAxis : public ChartTest {
protected:
    QVector<QString> labelsFor(double span) {
        const double start = 45351.0; // 29 February 2024
        series(1, {start, start + span}, {1, 2});
        pe.ponerEntero(PEP_XSERIALDATES, 1);
        pe.Redibujar();
        return xAxis()->tickVectorLabels();
    }
};

TEST_F(ChartDateAxis, TicksAreReadableFromMillisecondsToYears) {
    struct Case {
        double span;
        const char* pattern;
    } cases[] = {{0.05 / 86400, R"(^\d\d:\d\d:\d\d\.\d\d\d\n29/02/2024$)"},
                 {30.0 / 86400, R"(^\d\d:\d\d:\d\d\n29/02/2024$)"},
                 {2.0 / 24, R"(^\d\d:\d\d\n29/02/2024$)"},
                 {6.0, R"(^\d\d/\d\d/2024$)"},
                 {120.0, R"(^\d\d/2024$)"},
                 {3650.0, R"(^\d{4}$)"}};
    for (const Case& c : cases) {
        const QVector<QString> labels = labelsFor(c.span);
        EXPECT_GE(labels.size(), 2) << c.span;
        EXPECT_LE(labels.size(), 12) << c.span;
        const QRegularExpression pattern(QString::fromLatin1(c.pattern));
        for (const QString& label : labels)
            EXPECT_TRUE(pattern.match(label).hasMatch()) << c.span << " " << label.toStdString();
        EXPECT_EQ(QSet<QString>(labels.begin(), labels.end()).size(), labels.size())
            << "no two ticks read alike";
    }
}

TEST_F(ChartDrawing, FixedScalesOverrideTheDataRangeUntilZoomed) {
    twoSubsets(0);
    pe.ponerEntero(PEP_MANUALXSCALE, 1);
    pe.ponerDouble(PEP_MANUALXMIN, -10);
    pe.ponerDouble(PEP_MANUALXMAX, 10);
    pe.ponerEntero(PEP_WORKINGAXIS, 0);
    pe.ponerEntero(PEP_MANUALYSCALE, 1);
    pe.ponerDouble(PEP_MANUALYMIN, 0);
    pe.ponerDouble(PEP_MANUALYMAX, 100);
    pe.Redibujar();
    EXPECT_EQ(xAxis()->range(), QCPRange(-10, 10));
    EXPECT_EQ(yAxis()->range(), QCPRange(0, 100));
    pe.ponerDouble(PEP_MANUALYMAX, -5);
    pe.Redibujar();
    EXPECT_LT(yAxis()->range().upper, 50) << "an inverted range is ignored";
    pe.ponerDouble(PEP_ZOOMXMIN, 1);
    pe.ponerDouble(PEP_ZOOMXMAX, 2);
    pe.ponerEntero(PEP_ZOOMED, 1);
    pe.Redibujar();
    EXPECT_EQ(xAxis()->range(), QCPRange(1, 2));
}

TEST_F(ChartDrawing, AOneInTenSeriesShowsEveryPointInLineMode) {
    // A ten-second series aligned with a one-second one: nine nulls between its points.
    const int n = 200;
    std::vector<double> x(n), y(n, kNull);
    for (int i = 0; i < n; ++i) {
        x[i] = i;
        if (i % 10 == 0)
            y[i] = 10 + (i / 10) % 3;
    }
    series(1, x, y, {kRed});
    pe.ponerDouble(PEP_NULLY, kNull);
    for (int method : {PEMD_LINE, PEMD_AREA, PEMD_LINEWITHPOINTS, PEMD_POINTS, PEMD_BARS}) {
        pe.ponerEntero(PEP_WORKINGAXIS, 0);
        pe.ponerEntero(PEP_PLOTMETHOD, method);
        pe.Redibujar();
        const QImage image = grab();
        for (int i : {0, 50, 110, 190})
            EXPECT_TRUE(anyNear(image, pixelOf(0, i, 10 + (i / 10) % 3), bgr(kRed), 1))
                << "point " << i << ", method " << method;
    }
    // Joined points keep their plain line: no marker where the line passes.
    setDoubles(PEP_YDATA, std::vector<double>(n, 10.0));
    pe.ponerEntero(PEP_PLOTMETHOD, PEMD_LINE);
    pe.Redibujar();
    const QImage image = grab();
    EXPECT_TRUE(anyNear(image, pixelOf(0, 100, 10), bgr(kRed), 0));
    EXPECT_FALSE(anyNear(image, pixelOf(0, 100, 10) + QPointF(0, -3), bgr(kRed), 0));
}

TEST_F(ChartDrawing, LimitLinesOutsideTheDataWidenTheirOwnAxisOnly) {
    twoAxes();
    setDoubles(PEP_HLINEY, {8.0, -5.0});
    setInts(PEP_HLINEAXIS, {0, 1});
    setInts(PEP_HLINETYPES, {PELT_THICK, PELT_THICK});
    setInts(PEP_HLINECOLORS, {kGreen, kGreen});
    pe.Redibujar();
    EXPECT_GT(yAxis(0)->range().upper, 8.0);
    EXPECT_LT(yAxis(0)->range().lower, 1.0);
    EXPECT_LT(yAxis(1)->range().lower, -5.0);
    EXPECT_LT(yAxis(1)->range().upper, 35.0) << "no line above the data";
    EXPECT_TRUE(anyNear(grab(), pixelOf(0, 1, 8.0), bgr(kGreen)));
}

TEST_F(ChartDrawing, PointColoursRecolourTheLineAroundThePoint) {
    series(1, {0, 1, 2, 3, 4}, {10, 10, 10, 10, 10}, {kBlue}, {PELT_THICK});
    setInts(PEP_POINTCOLORS, {kBlue, kBlue, kMagenta, kBlue, kBlue});
    pe.Redibujar();
    const QImage image = grab();
    EXPECT_TRUE(anyNear(image, pixelOf(0, 1.75, 10), bgr(kMagenta), 1)) << "into the point";
    EXPECT_TRUE(anyNear(image, pixelOf(0, 2.25, 10), bgr(kMagenta), 1)) << "out of it";
    EXPECT_FALSE(anyNear(image, pixelOf(0, 1.25, 10), bgr(kMagenta), 1)) << "halfway back it is blue";
    EXPECT_TRUE(anyNear(image, pixelOf(0, 1.25, 10), bgr(kBlue), 1));
    EXPECT_TRUE(anyNear(image, pixelOf(0, 3.5, 10), bgr(kBlue), 1));
}

TEST_F(ChartDrawing, OneTabSeparatedTextLabelsEveryAnnotationWithItsPlacement) {
    twoSubsets(PEMD_POINTS);
    setDoubles(PEP_VLINEX, {1.5, 3.5});
    setInts(PEP_VLINETYPES, {PELT_DOT, PELT_DOT});
    setTexts(PEP_VLINELABELS, {"|tSTART\t|bEND\t"});
    setDoubles(PEP_HLINEY, {30});
    setTexts(PEP_HLINELABELS, {"|R30.0%\t"});
    pe.ponerTexto(PEP_RIGHTMARGIN, "xxxxxxx");
    pe.Redibujar();
    QMap<QString, QCPItemText*> texts;
    for (int i = 0; i < plot()->itemCount(); ++i)
        if (auto* t = qobject_cast<QCPItemText*>(plot()->item(i)))
            texts[t->text()] = t;
    ASSERT_EQ(texts.size(), 3) << texts.keys().join(',').toStdString();
    const QRect graph = plot()->axisRect(0)->rect();
    ASSERT_TRUE(texts.contains("START") && texts.contains("END") && texts.contains("30.0%"));
    EXPECT_GT(texts["END"]->position->pixelPosition().y(), graph.center().y()) << "|b is at the bottom";
}

TEST_F(ChartDrawing, GraphAnnotationsGoOnTheirAxisWithoutStretchingIt) {
    twoAxes();
    setDoubles(PEP_GANNOTX, {0.5, 1.5, 0, 2});
    setDoubles(PEP_GANNOTY, {15, 15, 1000, 1000});
    setInts(PEP_GANNOTTYPES,
            {PEGA_STARTPOLYLINE, PEGA_CONTINUEPOLYLINE, PEGA_STARTPOLYLINE, PEGA_CONTINUEPOLYLINE});
    setInts(PEP_GANNOTCOLORS, {kTeal, kTeal, kTeal, kTeal});
    setInts(PEP_GANNOTAXIS, {1, 1, 1, 1});
    pe.Redibujar();
    EXPECT_LT(yAxis(1)->range().upper, 100) << "the curve at 1000 stretches nothing";
    EXPECT_LT(yAxis(0)->range().upper, 5) << "nor the other axis";
    EXPECT_TRUE(anyNear(grab(), pixelOf(1, 1, 15), bgr(kTeal)));
}

TEST_F(ChartDrawing, AreasFillDownToZero) {
    series(1, {0, 1, 2}, {50, 52, 51}, {kBlue});
    pe.ponerEntero(PEP_WORKINGAXIS, 0);
    pe.ponerEntero(PEP_PLOTMETHOD, PEMD_AREA);
    pe.Redibujar();
    EXPECT_LE(yAxis()->range().lower, 0.0);
    const QColor fill = pixel(grab(), pixelOf(0, 1, 5));
    EXPECT_GT(fill.blue(), fill.red() + 40) << "the area reaches near zero";
}

TEST_F(ChartDrawing, LongColourArraysReadBackAndDrawAsSet) {
    const int n = 200;
    std::vector<double> x(n), y(n, 10);
    for (int i = 0; i < n; ++i)
        x[static_cast<std::size_t>(i)] = i;
    std::vector<int> colours(n, kBlue);
    colours[100] = kMagenta;
    colours[n - 1] = kGreen;
    pe.ponerEntero(PEP_SUBSETS, 1);
    pe.ponerEntero(PEP_POINTS, n);
    setDoubles(PEP_XDATA, x);
    setDoubles(PEP_YDATA, y);
    setInts(PEP_SUBSETCOLORS, {kBlue});
    setInts(PEP_LINETYPES, {PELT_THICK});
    setInts(PEP_POINTCOLORS, colours);
    pe.Redibujar();
    std::vector<int> read(n);
    ASSERT_EQ(api().PEvget(chart(), PEP_POINTCOLORS, read.data(), n), n);
    EXPECT_EQ(read, colours);
    std::int32_t cell = 0;
    EXPECT_EQ(api().PEvgetcell(chart(), PEP_POINTCOLORS, 100, &cell), 1);
    EXPECT_EQ(cell, kMagenta);
    EXPECT_TRUE(anyNear(grab(), pixelOf(0, 100, 10), bgr(kMagenta), 1));

    // A cell written into a run changes that cell only.
    const std::int32_t red = 0x0000FF;
    EXPECT_EQ(api().PEvsetcell(chart(), PEP_POINTCOLORS, 3, &red), 1);
    colours[3] = red;
    ASSERT_EQ(api().PEvget(chart(), PEP_POINTCOLORS, read.data(), n), n);
    EXPECT_EQ(read, colours);
}
