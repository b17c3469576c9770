#include "ChartTestFixture.h"

#include <QRegularExpression>
#include <QSet>

#include <functional>

// What a chart draws, checked on the pixels of the grabbed widget at positions computed from
// the chart's own axes.

namespace {

const int kRed = static_cast<int>(peRGB(255, 0, 0));
const int kBlue = static_cast<int>(peRGB(0, 0, 255));
const int kGreen = static_cast<int>(peRGB(0, 160, 0));
const int kMagenta = static_cast<int>(peRGB(255, 0, 255));
const int kTeal = static_cast<int>(peRGB(0, 128, 128));
// Any colour but the white background, for fills drawn lighter than their line.
const int kInk = -1;

// A point of the data (on a subset's axis, shifted by a few pixels) and whether the colour
// must be drawn within `radius` pixels of it or nowhere there.
struct Probe {
    int axis;
    double x, y;
    int colour;
    bool drawn = true;
    int radius = 2;
    QPointF shift = {};
};

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
    void nullGap(int method) {
        series(1, {0, 1, 2, 3, 4, 5}, {10, 10, kNull, 10, 10, 10}, {kRed}, {PELT_THICK});
        pe.ponerDouble(PEP_NULLX, kNull);
        pe.ponerDouble(PEP_NULLY, kNull);
        pe.ponerEntero(PEP_PLOTMETHOD, method);
    }
    bool seen(const QImage& image, const Probe& p) {
        const QPointF at = pixelOf(p.axis, p.x, p.y) + p.shift;
        if (p.colour != kInk)
            return anyNear(image, at, bgr(p.colour), p.radius);
        for (int dx = -p.radius; dx <= p.radius; ++dx)
            for (int dy = -p.radius; dy <= p.radius; ++dy)
                if (!near(image.pixelColor(at.toPoint() + QPoint(dx, dy)), Qt::white))
                    return true;
        return false;
    }
};

// One row per drawing feature: the chart is set up, drawn, and probed; `check` states what the
// feature does to the axes.
TEST_F(ChartDrawing, EachFeatureDrawsWhereItsDataAre) {
    const std::vector<int> pointColours{kRed, kGreen, kRed, kRed, kBlue, kBlue, kMagenta, kBlue};
    struct Row {
        const char* feature;
        std::function<void()> setUp;
        std::vector<Probe> probes;
        std::function<void()> check = [] {};
    };
    const Row rows[] = {
        {"per-point colours on points",
         [&] {
             twoSubsets(PEMD_POINTS);
             setInts(PEP_POINTCOLORS, pointColours);
         },
         {{0, 2, 40, kGreen, true, 0}, {0, 1, 10, kRed, true, 0}, {0, 3, 35, kMagenta, true, 0}}},
        {"bars side by side down to zero, in their point colours",
         [&] {
             twoSubsets(PEMD_BARS);
             setInts(PEP_POINTCOLORS, pointColours);
         },
         {{0, 1.8, 37, kGreen, true, 0},
          {0, 1.8, 1, kGreen, true, 0},
          {0, 2.2, 1, kBlue, true, 0},
          {0, 2.2, 18, kBlue, false, 0},
          {0, 3.2, 32, kMagenta, true, 0}}},
        {"a null value is a gap in a line",
         [&] { nullGap(PEMD_LINE); },
         {{0, 0.5, 10, kRed}, {0, 1.5, 10, kRed, false}, {0, 2.5, 10, kRed, false}, {0, 3.5, 10, kRed}},
         [&] { EXPECT_GT(yAxis()->range().lower, 0.0) << "the null value takes no part in the scale"; }},
        {"a null value is a gap in an area, which reaches down to zero",
         [&] { nullGap(PEMD_AREA); },
         {{0, 0.5, 1, kInk}, {0, 1.6, 5, kInk, false, 0}}},
        {"points further apart than the largest gap are not joined",
         [&] {
             series(1, {0, 1, 2, 6, 7}, {5, 5, 5, 5, 5}, {kBlue}, {PELT_THICK});
             pe.ponerDouble(PEP_MAXGAP, 1.5);
         },
         {{0, 1.5, 5, kBlue}, {0, 4, 5, kBlue, false}, {0, 6.5, 5, kBlue}}},
        {"a point colour recolours the line half way to its neighbours",
         [&] {
             series(1, {0, 1, 2, 3, 4}, {10, 10, 10, 10, 10}, {kBlue}, {PELT_THICK});
             setInts(PEP_POINTCOLORS, {kBlue, kBlue, kMagenta, kBlue, kBlue});
         },
         {{0, 1.75, 10, kMagenta, true, 1},
          {0, 2.25, 10, kMagenta, true, 1},
          {0, 1.25, 10, kMagenta, false, 1},
          {0, 1.25, 10, kBlue, true, 1}}},
        {"a lone point gets a large marker",
         [&] {
             series(1, {45351.5}, {230}, {kRed});
             pe.ponerEntero(PEP_XSERIALDATES, 1);
             pe.ponerEntero(PEP_FORCEDMETHOD, PEMF_LARGEPOINTS);
             setInts(PEP_POINTTYPES, {PEPT_SOLIDSQUARE});
         },
         {{0, 45351.5, 230, kRed, true, 0}, {0, 45351.5, 230, kRed, true, 0, {5, 5}}}},
        {"stacked axes split the height and share the horizontal range",
         [&] {
             series(3, {0, 10, 0, 10, 0, 20}, {1, 2, 1, 2, 100, 200}, {kRed, kRed, kGreen}, {6, 6, 6});
             setInts(PEP_SUBSETSPERAXIS, {2, 1});
             setDoubles(PEP_AXISSHARES, {0.75, 0.25});
         },
         {{1, 10, 150, kGreen}},
         [&] {
             ASSERT_EQ(plot()->axisRectCount(), 2);
             EXPECT_GT(plot()->axisRect(0)->outerRect().height() /
                           double(plot()->axisRect(1)->outerRect().height()),
                       2.0);
             EXPECT_EQ(xAxis(0)->range(), xAxis(1)->range());
             EXPECT_LT(yAxis(0)->range().upper, 3.0);
         }},
        {"horizontal and vertical lines, labels only and polylines",
         [&] {
             twoSubsets(PEMD_POINTS);
             setDoubles(PEP_HLINEY, {22.5});
             setInts(PEP_HLINEAXIS, {0});
             setInts(PEP_HLINETYPES, {PELT_THICK});
             setInts(PEP_HLINECOLORS, {kGreen});
             setDoubles(PEP_VLINEX, {1.5, 3.5});
             setInts(PEP_VLINETYPES, {PELT_THICK, PELT_LABELONLY});
             setInts(PEP_VLINECOLORS, {kMagenta, kMagenta});
             setDoubles(PEP_GANNOTX, {1, 4});
             setDoubles(PEP_GANNOTY, {5, 40});
             setInts(PEP_GANNOTTYPES, {PEGA_STARTPOLYLINE, PEGA_CONTINUEPOLYLINE});
             setInts(PEP_GANNOTCOLORS, {kTeal, kTeal});
         },
         {{0, 2.5, 22.5, kGreen},
          {0, 1.5, 12, kMagenta},
          {0, 3.5, 12, kMagenta, false},
          {0, 1.75, 13.75, kTeal},
          {0, 1.75, 30, kTeal, false}}},
        {"limit lines outside the data widen their own axis only",
         [&] {
             twoAxes();
             setDoubles(PEP_HLINEY, {8.0, -5.0});
             setInts(PEP_HLINEAXIS, {0, 1});
             setInts(PEP_HLINETYPES, {PELT_THICK, PELT_THICK});
             setInts(PEP_HLINECOLORS, {kGreen, kGreen});
         },
         {{0, 1, 8.0, kGreen}},
         [&] {
             EXPECT_LT(yAxis(1)->range().lower, -5.0);
             EXPECT_LT(yAxis(1)->range().upper, 35.0) << "no line above the data";
         }},
        {"graph annotations go on their axis without stretching it",
         [&] {
             twoAxes();
             setDoubles(PEP_GANNOTX, {0.5, 1.5, 0, 2});
             setDoubles(PEP_GANNOTY, {15, 15, 1000, 1000});
             setInts(PEP_GANNOTTYPES,
                     {PEGA_STARTPOLYLINE, PEGA_CONTINUEPOLYLINE, PEGA_STARTPOLYLINE, PEGA_CONTINUEPOLYLINE});
             setInts(PEP_GANNOTCOLORS, {kTeal, kTeal, kTeal, kTeal});
             setInts(PEP_GANNOTAXIS, {1, 1, 1, 1});
         },
         {{1, 1, 15, kTeal}},
         [&] {
             EXPECT_LT(yAxis(1)->range().upper, 100) << "the curve at 1000 stretches nothing";
             EXPECT_LT(yAxis(0)->range().upper, 5) << "nor the other axis";
         }},
        {"decimated markers keep a lone excursion visible",
         [&] {
             std::vector<double> x(200000), y(200000, 10.0);
             std::vector<int> colours(200000, kBlue);
             for (size_t i = 0; i < x.size(); ++i)
                 x[i] = double(i);
             y[123457] = 50;
             colours[123457] = kMagenta;
             series(1, x, y);
             setInts(PEP_POINTCOLORS, colours);
             pe.ponerEntero(PEP_FORCEDMETHOD, PEMF_POINTS);
         },
         {{0, 123457, 50, kMagenta, true, 3}, {0, 50000, 10, kBlue, true, 3}}},
        {"counts far beyond the data draw what there is",
         [&] {
             series(1, {1, 2, 3}, {4, 5, 6}, {kRed});
             pe.ponerEntero(PEP_SUBSETS, 1000000);
             pe.ponerEntero(PEP_POINTS, std::numeric_limits<int>::max());
             pe.ponerEntero(PEP_FORCEDMETHOD, PEMF_POINTS);
         },
         {{0, 2, 5, kRed}},
         [&] {
             pe.ponerEntero(PEP_POINTS, -5);
             pe.Redibujar();
             EXPECT_EQ(plot()->axisRectCount(), 1);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.feature);
        TearDown();
        SetUp();
        row.setUp();
        pe.Redibujar();
        const QImage image = grab();
        for (const Probe& p : row.probes)
            EXPECT_EQ(seen(image, p), p.drawn) << "at (" << p.x << ", " << p.y << ")";
        row.check();
    }
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
    pe.ponerDouble(PEP_ZOOMXMIN, 2);
    pe.ponerDouble(PEP_ZOOMXMAX, 1);
    pe.ponerEntero(PEP_ZOOMED, 1);
    pe.Redibujar();
    EXPECT_EQ(xAxis()->range(), QCPRange(-10, 10)) << "so is an inverted zoom";
    pe.ponerDouble(PEP_ZOOMXMIN, 1);
    pe.ponerDouble(PEP_ZOOMXMAX, 2);
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
