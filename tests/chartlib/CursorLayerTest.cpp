#include "ChartTestFixture.h"

#include <QTest>

#include <string>

// A cursor step repaints the cursor layer over the graphs' buffer: the picture must be the one
// a full redraw gives, and the graphs are redrawn only when the layout has to change.

class CursorLayer : public ChartTest {
protected:
    void SetUp() override {
        ChartTest::SetUp();
        series(2, {0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5}, {10, 11, 12, 13, 14, 15, 50, 52, 51, 53, 50, 54});
        pe.ponerEntero(PEP_CURSORMODE, PECM_CROSS);
        pe.ponerTexto(PEP_CURSORTABLE, "|Point: 0|Value: 10|\t");
        pe.Redibujar();
        QObject::connect(plot(), &QCustomPlot::afterReplot, [this] { ++m_fullRedraws; });
        // The parent answers as the engine's windows do: a read-out for the new point, then
        // a request for the image.
        m_parent->onNotify = [this](int code) {
            if (code != PEN_CURSORMOVED)
                return;
            pe.ponerTexto(PEP_CURSORTABLE, m_readOut(pe.dameEntero(PEP_CURSORPOINT)).c_str());
            api().PEresetimage(chart(), 0, 0);
        };
    }

    // The image of a chart built from scratch in the state the current one is in.
    QImage freshImage() {
        api().PEreinitialize(chart());
        api().PEresetimage(chart(), 0, 0);
        return grab();
    }
    int differsFromAFullRedraw() {
        const QImage shown = grab();
        return differingPixels(shown, freshImage());
    }
    static int differingPixels(const QImage& a, const QImage& b) {
        if (a.size() != b.size())
            return a.width() * a.height() + 1;
        int n = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                n += a.pixel(x, y) != b.pixel(x, y);
        return n;
    }

    int m_fullRedraws = 0;
    std::function<std::string(int)> m_readOut = [](int point) {
        return "|Point: " + std::to_string(point) + "|Value: " + std::to_string(10 + point) + "|\t";
    };
};

TEST_F(CursorLayer, ArrowKeysAndClicksRedrawOnlyTheCursorAndDrawWhatAFullRedrawDraws) {
    const QImage before = grab();
    for (int step = 1; step <= 3; ++step) {
        QTest::keyClick(chart(), Qt::Key_Right);
        EXPECT_EQ(pe.dameEntero(PEP_CURSORPOINT), step);
    }
    QTest::keyClick(chart(), Qt::Key_Down);
    EXPECT_EQ(pe.dameEntero(PEP_CURSORSUBSET), 1);
    EXPECT_EQ(m_fullRedraws, 0) << "four cursor steps with a read-out of the same size";
    EXPECT_GT(differingPixels(before, grab()), 0) << "the cursor and its read-out moved";
    EXPECT_EQ(differsFromAFullRedraw(), 0) << "the layer drawn over the graphs is the full redraw's picture";

    m_fullRedraws = 0;
    QTest::mouseClick(chart(), Qt::LeftButton, {}, pixelOf(0, 4, 14).toPoint());
    EXPECT_EQ(pe.dameEntero(PEP_CURSORPOINT), 4);
    EXPECT_EQ(pe.dameTexto(PEP_CURSORTABLE).toStdString(), m_readOut(4))
        << "the cursor is stored before the parent hears of it";
    EXPECT_EQ(m_fullRedraws, 0);
    EXPECT_EQ(differsFromAFullRedraw(), 0);
}

TEST_F(CursorLayer, AReadOutWithMoreRowsRedrawsOnceAndMakesRoom) {
    m_readOut = [](int point) { return "|Point: " + std::to_string(point) + "|\t|Second row|\t"; };
    const int graphBottom = plot()->axisRect(0)->rect().bottom();
    QTest::keyClick(chart(), Qt::Key_Right);
    EXPECT_EQ(m_fullRedraws, 1) << "the layout changed: one full redraw, not one per request";
    EXPECT_LT(plot()->axisRect(0)->rect().bottom(), graphBottom);
    EXPECT_EQ(differsFromAFullRedraw(), 0);
}

TEST_F(CursorLayer, AStepAfterAMetafileOrAZoomDragRedrawsOnceAtTheScreenLayout) {
    // The metafile lays the chart out at its own size; the next step must not paint the
    // cursor with that layout.
    const PERect target{0, 0, 300, 200};
    ASSERT_EQ(api().PEresetimageEx(chart(), &target), 1);
    ASSERT_NE(api().PEgetmeta(chart()), nullptr);
    QTest::keyClick(chart(), Qt::Key_Right);
    EXPECT_EQ(m_fullRedraws, 1);
    EXPECT_EQ(differsFromAFullRedraw(), 0);

    // A zoom drag redraws once even when the parent redraws on hearing of it.
    m_parent->onNotify = [this](int code) {
        if (code == PEN_ZOOMDONE)
            pe.Redibujar();
    };
    m_fullRedraws = 0;
    drag(pixelOf(0, 1, 14).toPoint(), pixelOf(0, 3, 11).toPoint());
    EXPECT_EQ(pe.dameEntero(PEP_ZOOMED), 1);
    EXPECT_EQ(m_fullRedraws, 1);
}

TEST_F(CursorLayer, TheCursorLeavesWhenItsPointBecomesNullAndThePrintMarkShows) {
    // A null point is not drawn, and neither is a cursor on it.
    pe.ponerDouble(PEP_NULLY, 12);
    pe.ponerEntero(PEP_CURSORPOINT, 2);
    const QImage nullCursor = freshImage();
    pe.ponerEntero(PEP_CURSORMODE, PECM_NONE);
    EXPECT_EQ(differingPixels(nullCursor, freshImage()), 0);

    pe.ponerDouble(PEP_MARKX, 3);
    pe.ponerDouble(PEP_MARKY, 13);
    pe.ponerEntero(PEP_MARKSIZE, 25);
    const QImage marked = freshImage();
    const QPointF ring = pixelOf(0, 3, 13) + QPointF(12, 0);
    int dark = 0;
    for (int dx = -3; dx <= 3; ++dx)
        dark += pixel(marked, ring + QPointF(dx, 0)).lightness() < 128;
    EXPECT_GT(dark, 0) << "the print mark's ring crosses the right of the point";
}
