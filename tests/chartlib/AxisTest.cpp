#include "ChartTestFixture.h"

#include <cmath>

// Ticks: labels a window gives, and every decade of a logarithmic axis.

class ChartAxes : public ChartTest {
protected:
    static int inside(const QCPAxis* axis) {
        int n = 0;
        for (double t : axis->tickVector())
            n += axis->range().contains(t) ? 1 : 0;
        return n;
    }
};

TEST_F(ChartAxes, AWindowMayLabelTheTicksOrHideThem) {
    // A folded scale: values t drawn, the power factors 1 - t and -1 - t shown.
    series(1, {0, 1, 2}, {-0.05, 0.02, 0.08});
    pe.ponerEntero(PEP_WORKINGAXIS, 0);
    setDoubles(PEP_YTICKVALUES, {-0.04, 0, 0.04, 0.5});
    setTexts(PEP_YTICKLABELS, {"-0.9600", "1.0000", "0.9600", "0.5000"});
    pe.Redibujar();
    EXPECT_EQ(yAxis()->tickVector(), (QVector<double>{-0.04, 0, 0.04})) << "only those inside the range";
    EXPECT_EQ(yAxis()->tickVectorLabels(), (QVector<QString>{"-0.9600", "1.0000", "0.9600"}));

    pe.ponerEntero(PEP_YHIDETICKS, 1);
    pe.Redibujar();
    EXPECT_FALSE(yAxis()->tickLabels()) << "no raw numbers beside the window's own lines";
    EXPECT_FALSE(yAxis()->ticks());
    EXPECT_FALSE(yAxis()->grid()->visible());
}

TEST_F(ChartAxes, ALogarithmicAxisShowsEveryDecade) {
    series(1, {0.0001, 0.01, 10000}, {1, 2, 3});
    pe.ponerEntero(PEP_XLOGSCALE, 1);
    pe.ponerEntero(PEP_FORCEDMETHOD, PEMF_POINTS);
    chart()->resize(300, 300);
    pe.Redibujar();
    QSet<int> decades;
    for (double t : xAxis()->tickVector())
        if (xAxis()->range().contains(t))
            decades.insert(static_cast<int>(std::lround(std::log10(t))));
    for (int d = -4; d <= 4; ++d)
        EXPECT_TRUE(decades.contains(d)) << "10^" << d;
    // Evenly: two decades up to 0.01, six more up to 10000.
    EXPECT_EQ(xAxis()->scaleType(), QCPAxis::stLogarithmic);
    const double a = xAxis()->coordToPixel(0.0001), b = xAxis()->coordToPixel(0.01),
                 c = xAxis()->coordToPixel(10000);
    EXPECT_NEAR(c - b, 3 * (b - a), 1.0);
}
