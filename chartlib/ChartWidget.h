#pragma once

#include "PropertyStore.h"
#include "SubsetData.h"

#include <QPicture>
#include <QPointer>
#include <qcustomplot.h>

#include <memory>
#include <vector>

class QPrinter;
class QRubberBand;

namespace chartlib {

class TableElement;

// One chart: every setter only stores into the property store; reinitialize() rebuilds the
// QCustomPlot scene from it and resetImage() redraws. Data containers are built once per data
// change and shared with the plottables.
class ChartWidget : public QCustomPlot {
    Q_OBJECT
public:
    explicit ChartWidget(QWidget* parent);
    ~ChartWidget() override;

    // getters:
    PropertyStore& properties() { return m_props; }
    int axisCount() const { return static_cast<int>(m_rects.size()); }
    QCPAxisRect* axisRectOf(int axis) const;

    // operations:
    void reinitialize();
    // Called by the entry points after a property changed: the few that take effect without a
    // re-initialisation.
    void propertyChanged(int property);
    void resetImage();
    void setMetaTarget(const QRect& target) { m_metaTarget = target; }
    const QPicture* meta();
    bool print(QPrinter* printer, bool landscape);
    bool launchPrintDialog(bool fullPage, QWidget* parent);
    bool saveToFile(const QString& path, int format);

    static int virtualKey(int qtKey);

protected:
    // reimplemented virtual methods:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void updateLayout() override;

private:
    void rebuildData();
    void rebuildColours();
    void buildSubset(SubsetData* data, const PropertyStore::DoubleArray& xs, const std::vector<double>& ys,
                     std::size_t base, int points) const;
    void buildLayout();
    void buildSubsets();
    void buildAnnotations();
    void buildCursor();
    void applyRanges();
    void setXRange(const QCPRange& range);
    QCPRange fullXRange() const;
    QCPRange fullYRange(int axis) const;

    int subsetCount() const;
    int pointCount() const;
    int axisOfSubset(int subset) const;
    // The vertical axis an annotation array gives annotation i; 0 when it gives none or a wrong one.
    int annotationAxis(const std::vector<std::int32_t>& axes, std::size_t i) const;
    int rectAt(const QPoint& pos) const;

    // false when the chart was destroyed while the parent handled the notification.
    bool notify(int code);
    // Brings the read-out up to the property the parent may have written, then draws what
    // changed: the whole scene, or only the cursor layer.
    void refresh(bool immediate);
    void syncReadout();
    bool moveCursor(int subset, int point);
    void clickAt(const QPoint& pos);
    void zoomTo(const QRect& pixels);

    QColor textColour() const;
    QFont labelFont(int percent = 100) const;

    PropertyStore m_props;
    std::vector<QSharedPointer<SubsetData>> m_subsets;
    std::uint64_t m_dataStamp = ~0ULL;
    std::uint64_t m_colourStamp = ~0ULL;
    std::vector<QCPAxisRect*> m_rects;
    std::vector<int> m_subsetAxis;
    // The cursor, its read-out and the print mark live on a layer with a buffer of its own, so a
    // cursor step repaints that layer over the graphs' buffer instead of redrawing every point.
    // The items are made once per scene and moved afterwards: adding or removing an item
    // invalidates the buffers and would force a full redraw.
    QCPLayer* m_cursorLayer = nullptr;
    QCPItemStraightLine* m_cursorLine = nullptr;
    QCPItemTracer* m_cursorTracer = nullptr;
    QCPItemTracer* m_printMark = nullptr;
    TableElement* m_table = nullptr;
    std::uint64_t m_tableStamp = 0;
    // What the next redraw must cover. The scene is dirty after a re-initialisation, a range
    // change or a drawing at another size (print, metafile); a full replot cleans both.
    bool m_sceneDirty = true;
    bool m_cursorDirty = false;
    bool m_hideXTickLabels = false;
    int m_zoomAxis = 0;
    // The zooms made with the mouse, oldest first: the axis each was made on and its ranges.
    struct ZoomStep {
        QCPRange x;
        QCPRange y;
        int axis = 0;
    };
    std::vector<ZoomStep> m_zoomSteps;

    QPoint m_pressPos;
    bool m_pressed = false;
    QRubberBand* m_band = nullptr;
    QRect m_metaTarget;
    QPicture m_meta;
};

} // namespace chartlib
