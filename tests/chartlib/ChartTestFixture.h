#pragma once

#include "ChartProperties.h"
#include "PEApi.h"

#include <QColor>
#include <QImage>
#include <QLibrary>
#include <QWidget>
#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <memory>
#include <string>
#include <vector>

// The charting library's entry points, resolved by name from the module file as the engine does.
struct ChartApi {
    PEcreateFn create = nullptr;
    PEdestroyFn destroy = nullptr;
    PEnsetFn nset = nullptr;
    PEngetFn nget = nullptr;
    PEszsetFn szset = nullptr;
    PEszgetFn szget = nullptr;
    PEvsetFn vset = nullptr;
    PEvgetFn vget = nullptr;
    PEvsetcellFn vsetcell = nullptr;
    PEvgetcellFn vgetcell = nullptr;
    PEvgetcellExFn vgetcellEx = nullptr;
    PEreinitializeFn reinitialize = nullptr;
    PEresetimageFn resetimage = nullptr;
    PEresetimageExFn resetimageEx = nullptr;
    PEgetmetaFn getmeta = nullptr;
    PEprintgraphFn printgraph = nullptr;
    PElaunchprintdialogFn launchprintdialog = nullptr;
    PEsavetofileFn savetofile = nullptr;
    PEstorepartialFn storepartial = nullptr;
    PEcreateserialdateFn createserialdate = nullptr;
    PEdecipherserialdateFn decipherserialdate = nullptr;
};

// Records every chart notification its chart children send.
class NotificationSink : public QWidget {
public:
    std::vector<int> codes;
    // Called on every notification, after it is recorded.
    std::function<void(int)> onNotify;

protected:
    bool event(QEvent* e) override;
};

class ChartTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    static const ChartApi& api();
    HPE chart() const { return m_chart; }
    QCustomPlot* plot() const { return qobject_cast<QCustomPlot*>(m_chart); }

    // Property helpers.
    void setDoubles(int property, const std::vector<double>& values);
    void setInts(int property, const std::vector<int>& values);
    void setTexts(int property, const std::vector<std::string>& values);
    void setDouble(int property, double value);
    double getDouble(int property);
    void redraw();
    QImage grab();

    // x and y of the point as pixels of the chart image, on the subset's axis.
    QPointF pixelOf(int axis, double x, double y);

    std::unique_ptr<NotificationSink> m_parent;
    HPE m_chart = nullptr;
};

constexpr double kNull = -9999.9;

inline QColor pixel(const QImage& image, QPointF at) {
    return image.pixelColor(qRound(at.x()), qRound(at.y()));
}
inline QColor bgr(int c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
