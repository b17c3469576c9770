#include "ChartTestFixture.h"

#include <QTest>

#include <array>

// Mouse and keyboard in the chart: cursor moves, zoom, right click and keys, each told to the
// parent window at once.

class ChartInteraction : public ChartTest {
protected:
    void SetUp() override {
        ChartTest::SetUp();
        pe.ponerEntero(PEP_SUBSETS, 2);
        pe.ponerEntero(PEP_POINTS, 5);
        setDoubles(PEP_XDATA, {0, 1, 2, 3, 4, 0, 1, 2, 3, 4});
        setDoubles(PEP_YDATA, {10, 11, kNull, 13, 14, 50, 51, 52, 53, 54});
        pe.ponerDouble(PEP_NULLY, kNull);
        pe.ponerEntero(PEP_CURSORMODE, 2);
        pe.Redibujar();
    }
    QPoint at(double x, double y) { return pixelOf(0, x, y).toPoint(); }
};

TEST_F(ChartInteraction, AClickMovesTheCursorToTheNearestPoint) {
    QTest::mouseClick(chart(), Qt::LeftButton, {}, at(3.1, 52) + QPoint(2, 1));
    EXPECT_EQ(pe.dameEntero(PEP_CURSORSUBSET), 1);
    EXPECT_EQ(pe.dameEntero(PEP_CURSORPOINT), 3);
    ASSERT_EQ(m_parent->codes, std::vector<int>{PEN_CURSORMOVED});

    QTest::mouseClick(chart(), Qt::LeftButton, {}, at(0.9, 11));
    EXPECT_EQ(pe.dameEntero(PEP_CURSORSUBSET), 0);
    EXPECT_EQ(pe.dameEntero(PEP_CURSORPOINT), 1);
    QTest::mouseClick(chart(), Qt::LeftButton, {}, at(3.9, 14));
    EXPECT_EQ(pe.dameEntero(PEP_CURSORSUBSET), 0);
    EXPECT_EQ(pe.dameEntero(PEP_CURSORPOINT), 4) << "points after a null keep their own number";
}

TEST_F(ChartInteraction, AClickNeverPicksANullPoint) {
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
    EXPECT_EQ(pe.dameEntero(PEP_CURSORSUBSET), 0);
    EXPECT_EQ(pe.dameEntero(PEP_CURSORPOINT), 3);
    const auto moves = std::count(m_parent->codes.begin(), m_parent->codes.end(), PEN_CURSORMOVED);
    EXPECT_EQ(moves, 7);
    EXPECT_EQ(pe.dameEntero(PEP_LASTKEY), 37) << "Left";
}

TEST_F(ChartInteraction, KeysAreStoredAsVirtualKeyCodesAndNotified) {
    QTest::keyClick(chart(), Qt::Key_Z);
    EXPECT_EQ(pe.dameEntero(PEP_LASTKEY), 90);
    QTest::keyClick(chart(), Qt::Key_F1);
    EXPECT_EQ(pe.dameEntero(PEP_LASTKEY), 112);
    QTest::keyClick(chart(), Qt::Key_F5);
    EXPECT_EQ(pe.dameEntero(PEP_LASTKEY), 116);
    EXPECT_EQ(m_parent->codes, (std::vector<int>{PEN_KEY, PEN_KEY, PEN_KEY}));
}

TEST_F(ChartInteraction, ARightClickIsNotifiedAndMovesNothing) {
    pe.ponerEntero(PEP_CURSORPOINT, 4);
    QTest::mouseClick(chart(), Qt::RightButton, {}, at(1, 11));
    EXPECT_EQ(m_parent->codes, std::vector<int>{PEN_RIGHTCLICK});
    EXPECT_EQ(pe.dameEntero(PEP_CURSORPOINT), 4);
}

TEST_F(ChartInteraction, AReadOutWrittenInTheNotificationIsShownAtOnce) {
    int seenPoint = -1;
    m_parent->onNotify = [&](int code) {
        if (code != PEN_CURSORMOVED)
            return;
        seenPoint = pe.dameEntero(PEP_CURSORPOINT);
        const std::string table = "Act : " + std::to_string(seenPoint) + "\t";
        pe.ponerTexto(PEP_CURSORTABLE, table.c_str());
    };
    const int graphBottom = plot()->axisRect(0)->rect().bottom();
    QTest::mouseClick(chart(), Qt::LeftButton, {}, at(4, 14));
    EXPECT_EQ(seenPoint, 4) << "the cursor is stored before the parent hears of it";
    EXPECT_LT(plot()->axisRect(0)->rect().bottom(), graphBottom) << "the new table made room for itself";
}

class ChartZoom : public ChartInteraction {
protected:
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(chart(), Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), chart()->mapToGlobal(QPointF(to)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(chart(), &move);
        QTest::mouseRelease(chart(), Qt::LeftButton, {}, to);
    }
};

TEST_F(ChartZoom, DraggingARectangleZoomsAndReportsTheExtents) {
    const QPoint from = at(1, 14);
    const QPoint to = at(3, 11);
    drag(from, to);
    EXPECT_EQ(pe.dameEntero(PEP_ZOOMED), 1);
    EXPECT_EQ(m_parent->codes, std::vector<int>{PEN_ZOOMDONE});
    const double pixel = 5.0 / plot()->axisRect(0)->width();
    EXPECT_NEAR(pe.dameDouble(PEP_ZOOMXMIN), 1.0, 2 * pixel);
    EXPECT_NEAR(pe.dameDouble(PEP_ZOOMXMAX), 3.0, 2 * pixel);
    EXPECT_NEAR(pe.dameDouble(PEP_ZOOMYMIN), 11.0, 0.5);
    EXPECT_NEAR(pe.dameDouble(PEP_ZOOMYMAX), 14.0, 0.5);
    const QCPRange x = plot()->axisRect(0)->axis(QCPAxis::atBottom)->range();
    EXPECT_DOUBLE_EQ(x.lower, pe.dameDouble(PEP_ZOOMXMIN));
    EXPECT_DOUBLE_EQ(x.upper, pe.dameDouble(PEP_ZOOMXMAX));
    EXPECT_EQ(pe.dameEntero(PEP_CURSORPOINT), 0) << "a drag is not a click";
}

TEST_F(ChartZoom, ResettingTheZoomFlagUnzoomsAndWritingExtentsZoomsThere) {
    const QCPRange full = plot()->axisRect(0)->axis(QCPAxis::atBottom)->range();
    drag(at(1, 14), at(3, 11));
    pe.ponerEntero(PEP_ZOOMED, 0);
    pe.Redibujar();
    EXPECT_EQ(plot()->axisRect(0)->axis(QCPAxis::atBottom)->range(), full);

    pe.ponerDouble(PEP_ZOOMXMIN, 0.5);
    pe.ponerDouble(PEP_ZOOMXMAX, 2.5);
    pe.ponerDouble(PEP_ZOOMYMIN, 9);
    pe.ponerDouble(PEP_ZOOMYMAX, 12);
    pe.ponerEntero(PEP_ZOOMED, 1);
    pe.Redibujar();
    EXPECT_EQ(plot()->axisRect(0)->axis(QCPAxis::atBottom)->range(), QCPRange(0.5, 2.5));
    EXPECT_EQ(plot()->axisRect(0)->axis(QCPAxis::atLeft)->range(), QCPRange(9, 12));
}

TEST_F(ChartZoom, InvertedExtentsAreIgnored) {
    const QCPRange full = plot()->axisRect(0)->axis(QCPAxis::atBottom)->range();
    pe.ponerDouble(PEP_ZOOMXMIN, 3);
    pe.ponerDouble(PEP_ZOOMXMAX, 1);
    pe.ponerEntero(PEP_ZOOMED, 1);
    pe.Redibujar();
    EXPECT_EQ(plot()->axisRect(0)->axis(QCPAxis::atBottom)->range(), full);
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

TEST_F(ChartZoom, ZoomOutShowsTheWholeRangeAtOnceWithoutReinitialising) {
    const QCPRange fullX = plot()->axisRect(0)->axis(QCPAxis::atBottom)->range();
    const QCPRange fullY = plot()->axisRect(0)->axis(QCPAxis::atLeft)->range();
    drag(at(1, 14), at(3, 11));
    ASSERT_NE(plot()->axisRect(0)->axis(QCPAxis::atBottom)->range(), fullX);
    // What the window does on Zoom out: the flag, then a repaint.
    pe.ponerEntero(PEP_ZOOMED, 0);
    chart()->update();
    QCoreApplication::processEvents();
    EXPECT_EQ(plot()->axisRect(0)->axis(QCPAxis::atBottom)->range(), fullX);
    EXPECT_EQ(plot()->axisRect(0)->axis(QCPAxis::atLeft)->range(), fullY);
    // The picture shows it too: the first point, outside the zoom window, is drawn again.
    const QPointF first = pixelOf(0, 0, 10);
    const QImage image = grab();
    bool seen = false;
    for (int dx = -3; dx <= 3 && !seen; ++dx)
        for (int dy = -3; dy <= 3 && !seen; ++dy)
            seen = image.pixelColor(qRound(first.x()) + dx, qRound(first.y()) + dy) != Qt::white;
    EXPECT_TRUE(seen);
}

class StackedZoom : public ChartZoom {
protected:
    void SetUp() override {
        ChartZoom::SetUp();
        setInts(PEP_SUBSETSPERAXIS, {1, 1});
        pe.Redibujar();
    }
    QCPRange yRange(int axis) { return plot()->axisRect(axis)->axis(QCPAxis::atLeft)->range(); }
    QCPRange xRange() { return plot()->axisRect(0)->axis(QCPAxis::atBottom)->range(); }
    QPoint onAxis(int axis, double x, double y) { return pixelOf(axis, x, y).toPoint(); }
    // The four extents the window keeps for each zoom, in their order.
    std::array<double, 4> extents() {
        return {pe.dameDouble(PEP_ZOOMXMIN), pe.dameDouble(PEP_ZOOMXMAX), pe.dameDouble(PEP_ZOOMYMIN),
                pe.dameDouble(PEP_ZOOMYMAX)};
    }
    // "Last zoom" as the window does it: the older record's extents, then a re-initialisation.
    void restore(const std::array<double, 4>& r) {
        pe.ponerDouble(PEP_ZOOMYMIN, r[2]);
        pe.ponerDouble(PEP_ZOOMYMAX, r[3]);
        pe.ponerDouble(PEP_ZOOMXMIN, r[0]);
        pe.ponerDouble(PEP_ZOOMXMAX, r[1]);
        pe.Redibujar();
    }
};

TEST_F(StackedZoom, UndoingZoomsOnTwoAxesRestoresEachAxisOwnRange) {
    const QCPRange fullTop = yRange(0);
    const QCPRange fullBottom = yRange(1);
    drag(onAxis(0, 0.5, 13.5), onAxis(0, 3.5, 10.5));
    const auto first = extents();
    const QCPRange topZoomed = yRange(0);
    EXPECT_LT(topZoomed.size(), fullTop.size());
    EXPECT_EQ(yRange(1), fullBottom);

    drag(onAxis(1, 1.5, 53.5), onAxis(1, 2.5, 51.5));
    const QCPRange bottomZoomed = yRange(1);
    EXPECT_LT(bottomZoomed.size(), fullBottom.size());
    EXPECT_EQ(yRange(0), topZoomed) << "the other axis keeps its zoom";

    restore(first);
    EXPECT_EQ(yRange(0), topZoomed) << "the first zoom's axis gets its range back";
    EXPECT_EQ(yRange(1), fullBottom) << "and the second axis is as it was then";
    EXPECT_EQ(xRange(), QCPRange(first[0], first[1]));

    pe.ponerEntero(PEP_ZOOMED, 0);
    pe.Redibujar();
    EXPECT_EQ(yRange(0), fullTop);
    EXPECT_EQ(yRange(1), fullBottom);
}
