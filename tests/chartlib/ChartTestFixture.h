#pragma once

#include "ChartProperties.h"
#include "EnlaceGrafica.h"
#include "PEApi.h"

#include <QColor>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Records every chart notification its chart children send.
class NotificationSink : public QWidget {
public:
    std::vector<int> codes;
    // Called on every notification, after it is recorded.
    std::function<void(int)> onNotify;

protected:
    bool event(QEvent* e) override;
};

// One chart on the real library, reached through the engine's own binding: `api()` for the raw
// entry points (whose return codes the tests check), `pe` for the typed calls on this chart.
class ChartTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    static const EnlaceGrafica& api();
    HPE chart() const { return m_chart; }
    QCustomPlot* plot() const { return qobject_cast<QCustomPlot*>(m_chart); }
    QCPAxis* xAxis(int rect = 0) const { return plot()->axisRect(rect)->axis(QCPAxis::atBottom); }
    QCPAxis* yAxis(int rect = 0) const { return plot()->axisRect(rect)->axis(QCPAxis::atLeft); }

    // Array setters that also check the library took the array.
    void setDoubles(int property, const std::vector<double>& values);
    void setInts(int property, const std::vector<int>& values);
    void setTexts(int property, const std::vector<std::string>& values);
    // Subsets of equal length from x and y laid end to end; colours and line types when given.
    void series(int subsets, const std::vector<double>& x, const std::vector<double>& y,
                const std::vector<int>& colours = {}, const std::vector<int>& lines = {});
    QImage grab();
    // A left-button drag with one move in between, as a zoom rectangle is drawn.
    void drag(QPoint from, QPoint to);

    // x and y of the point as pixels of the chart image, on the subset's axis.
    QPointF pixelOf(int axis, double x, double y);

    std::unique_ptr<NotificationSink> m_parent;
    HPE m_chart = nullptr;
    EnlaceGrafica pe;
};

constexpr double kNull = -9999.9;

inline QColor pixel(const QImage& image, QPointF at) {
    return image.pixelColor(qRound(at.x()), qRound(at.y()));
}
inline QColor bgr(int c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
bool near(const QColor& a, const QColor& b, int tolerance = 40);
// True when any pixel within `radius` of `at` has the colour.
bool anyNear(const QImage& image, QPointF at, const QColor& colour, int radius = 2);
