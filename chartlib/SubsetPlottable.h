#pragma once

#include "SubsetData.h"

#include <qcustomplot.h>

namespace chartlib {

// Markers or bars of one subset with a colour per point, or the stretches of its line around the
// points whose colour is not the subset's (from halfway to the previous point to halfway to the
// next), drawn over the line in the subset's colour. Large subsets are drawn from what is
// visible only (found by bisection), reduced to first/min/max/last per pixel column, and painted
// in one batch per colour, so a week of one-second data stays fluid.
class SubsetPlottable : public QCPAbstractPlottable {
public:
    // LoneMarkers: markers of the points the line joins to neither neighbour only.
    enum class Mode { Markers, LoneMarkers, Bars, LineStretches };

    SubsetPlottable(QCPAxis* keyAxis, QCPAxis* valueAxis, QSharedPointer<const SubsetData> data, Mode mode);

    // setters:
    void setColour(const QColor& colour) { m_colour = colour; }
    void setLinePen(const QPen& pen) { m_linePen = pen; }
    void setScatter(QCPScatterStyle::ScatterShape shape, bool solid, double size);
    // Bar width and offset of this subset's bars from the point's x, in key units.
    void setBarGeometry(double width, double offset);

    // reimplemented virtual methods:
    double selectTest(const QPointF& pos, bool onlySelectable, QVariant* details = nullptr) const override;
    QCPRange getKeyRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange& inKeyRange = QCPRange()) const override;

protected:
    void draw(QCPPainter* painter) override;
    void drawLegendIcon(QCPPainter* painter, const QRectF& rect) const override;

private:
    void visibleIndexes(std::vector<int>* out) const;
    void drawMarkers(QCPPainter* painter, const std::vector<int>& indexes) const;
    void drawBars(QCPPainter* painter, const std::vector<int>& indexes) const;
    void drawStretches(QCPPainter* painter) const;
    QRgb colourOf(int i) const;
    // The points paired with their colours, grouped by colour (stable), so the pen and brush
    // change once per colour, not once per point.
    std::vector<std::pair<QRgb, int>> byColour(const std::vector<int>& indexes) const;

    QSharedPointer<const SubsetData> m_data;
    Mode m_mode;
    QColor m_colour;
    QPen m_linePen;
    QCPScatterStyle::ScatterShape m_shape = QCPScatterStyle::ssDisc;
    bool m_solid = true;
    double m_size = 7;
    double m_barWidth = 1;
    double m_barOffset = 0;
};

} // namespace chartlib
