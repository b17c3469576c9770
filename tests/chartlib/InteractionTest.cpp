#include "ChartTestFixture.h"

#include <QTest>

#include <array>

// Mouse and keyboard in the chart: cursor moves, zoom, right click and keys, each told to the
// parent window at once.

class ChartInteraction : public ChartTest {
protected:
    void SetUp() override {
        ChartTest::SetUp();
        series(2, {0, 1, 2, 3, 4, 0, 1, 2, 3, 4}, {10, 11, kNull, 13, 14, 50, 51, 52, 53, 54});
        pe.ponerDouble(PEP_NULLY, kNull);
        pe.ponerEntero(PEP_CURSORMODE, 2);
        pe.Redibujar();
    }
    QPoint at(double x, double y, int axis = 0) { return pixelOf(axis, x, y).toPoint(); }
    void expectCursor(int subset, int point) {
        EXPECT_EQ(pe.dameEntero(PEP_CURSORSUBSET), subset);
        EXPECT_EQ(pe.dameEntero(PEP_CURSORPOINT), point);
    }
};

TEST_F(ChartInteraction, AClickMovesTheCursorToTheNearestPointNeverANullOne) {
    QTest::mouseClick(chart(), Qt::LeftButton, {}, at(3.1, 52) + QPoint(2, 1));
    expectCursor(1, 3);
    ASSERT_EQ(m_parent->codes, std::vector<int>{PEN_CURSORMOVED});
    QTest::mouseClick(chart(), Qt::LeftButton, {}, at(0.9, 11));
    expectCursor(0, 1);
    QTest::mouseClick(chart(), Qt::LeftButton, {}, at(3.9, 14));
    expectCursor(0, 4); // points after a null keep their own number
    QTest::mouseClick(chart(), Qt::LeftButton, {}, at(2, 12));
    EXPECT_EQ(pe.dameEntero(PEP_CURSORSUBSET), 0);
    EXPECT_NE(pe.dameEntero(PEP_CURSORPOINT), 2);
}

TEST_F(ChartInteraction, ArrowKeysStepPointsSkippingNullsAndStepSubsets) {
    pe.ponerEntero(PEP_CURSORSUBSET, 0);
    pe.ponerEntero(PEP_CURSORPOINT, 1);
    QTest::keyClick(chart(), Qt::Key_Right);
    EXPECT_EQ(pe.dameEntero(PEP_CURSORPOINT), 3) << "point 2 is null";
    QTest::keyClick(chart(), Qt::Key_Right);
    QTest::keyClick(chart(), Qt::Key_Right);
    EXPECT_EQ(pe.dameEntero(PEP_CURSORPOINT), 4) << "stays on the last point";
    QTest::keyClick(chart(), Qt::Key_Down);
    EXPECT_EQ(pe.dameEntero(PEP_CURSORSUBSET), 1);
    QTest::keyClick(chart(), Qt::Key_Down);
    EXPECT_EQ(pe.dameEntero(PEP_CURSORSUBSET), 1);
    QTest::keyClick(chart(), Qt::Key_Up);
    QTest::keyClick(chart(), Qt::Key_Left);
    expectCursor(0, 3);
    EXPECT_EQ(std::count(m_parent->codes.begin(), m_parent->codes.end(), PEN_CURSORMOVED), 7);
    EXPECT_EQ(pe.dameEntero(PEP_LASTKEY), 37) << "Left";
}

TEST_F(ChartInteraction, KeysAreStoredAsVirtualKeyCodesAndARightClickMovesNothing) {
    const std::pair<Qt::Key, int> keys[] = {{Qt::Key_Z, 90}, {Qt::Key_F5, 116}};
    for (auto [key, code] : keys) {
        QTest::keyClick(chart(), key);
        EXPECT_EQ(pe.dameEntero(PEP_LASTKEY), code);
    }
    pe.ponerEntero(PEP_CURSORPOINT, 4);
    QTest::mouseClick(chart(), Qt::RightButton, {}, at(1, 11));
    EXPECT_EQ(m_parent->codes, (std::vector<int>{PEN_KEY, PEN_KEY, PEN_RIGHTCLICK}));
    EXPECT_EQ(pe.dameEntero(PEP_CURSORPOINT), 4);
}

TEST_F(ChartInteraction, AParentMayDestroyTheChartWhileHandlingANotification) {
    m_parent->onNotify = [&](int) {
        api().PEdestroy(m_chart);
        m_chart = nullptr;
    };
    QTest::keyPress(chart(), Qt::Key_Right); // no release: the widget is gone by then
    EXPECT_EQ(m_chart, nullptr);
    EXPECT_EQ(m_parent->codes, std::vector<int>{PEN_CURSORMOVED}) << "nothing more after the chart is gone";
}

TEST_F(ChartInteraction, DraggingARectangleZoomsAndReportsTheExtents) {
    drag(at(1, 14), at(3, 11));
    EXPECT_EQ(pe.dameEntero(PEP_ZOOMED), 1);
    EXPECT_EQ(m_parent->codes, std::vector<int>{PEN_ZOOMDONE});
    const double pixel = 5.0 / plot()->axisRect(0)->width();
    EXPECT_NEAR(pe.dameDouble(PEP_ZOOMXMIN), 1.0, 2 * pixel);
    EXPECT_NEAR(pe.dameDouble(PEP_ZOOMXMAX), 3.0, 2 * pixel);
    EXPECT_NEAR(pe.dameDouble(PEP_ZOOMYMIN), 11.0, 0.5);
    EXPECT_NEAR(pe.dameDouble(PEP_ZOOMYMAX), 14.0, 0.5);
    EXPECT_DOUBLE_EQ(xAxis()->range().lower, pe.dameDouble(PEP_ZOOMXMIN));
    EXPECT_DOUBLE_EQ(xAxis()->range().upper, pe.dameDouble(PEP_ZOOMXMAX));
    EXPECT_EQ(pe.dameEntero(PEP_CURSORPOINT), 0) << "a drag is not a click";
}

TEST_F(ChartInteraction, UndoingZoomsOnTwoStackedAxesRestoresEachAxisOwnRange) {
    setInts(PEP_SUBSETSPERAXIS, {1, 1});
    pe.Redibujar();
    const QCPRange fullTop = yAxis(0)->range();
    const QCPRange fullBottom = yAxis(1)->range();
    drag(at(0.5, 13.5, 0), at(3.5, 10.5, 0));
    // The four extents the window keeps for each zoom, in their order.
    const std::array<double, 4> first = {pe.dameDouble(PEP_ZOOMXMIN), pe.dameDouble(PEP_ZOOMXMAX),
                                         pe.dameDouble(PEP_ZOOMYMIN), pe.dameDouble(PEP_ZOOMYMAX)};
    const QCPRange topZoomed = yAxis(0)->range();
    EXPECT_LT(topZoomed.size(), fullTop.size());
    EXPECT_EQ(yAxis(1)->range(), fullBottom);

    drag(at(1.5, 53.5, 1), at(2.5, 51.5, 1));
    EXPECT_LT(yAxis(1)->range().size(), fullBottom.size());
    EXPECT_EQ(yAxis(0)->range(), topZoomed) << "the other axis keeps its zoom";

    // "Last zoom" as the window does it: the older record's extents, then a re-initialisation.
    pe.ponerDouble(PEP_ZOOMYMIN, first[2]);
    pe.ponerDouble(PEP_ZOOMYMAX, first[3]);
    pe.ponerDouble(PEP_ZOOMXMIN, first[0]);
    pe.ponerDouble(PEP_ZOOMXMAX, first[1]);
    pe.Redibujar();
    EXPECT_EQ(yAxis(0)->range(), topZoomed) << "the first zoom's axis gets its range back";
    EXPECT_EQ(yAxis(1)->range(), fullBottom) << "and the second axis is as it was then";
    EXPECT_EQ(xAxis()->range(), QCPRange(first[0], first[1]));

    // Zoom out as the window does it: the flag, then a repaint without re-initialising.
    pe.ponerEntero(PEP_ZOOMED, 0);
    chart()->update();
    QCoreApplication::processEvents();
    EXPECT_EQ(yAxis(0)->range(), fullTop);
    EXPECT_EQ(yAxis(1)->range(), fullBottom);
    EXPECT_FALSE(near(pixel(grab(), pixelOf(0, 0, 10)), Qt::white)) << "the first point is drawn again";
}
