#pragma once

// Colours, pens, markers and annotation labels as every part of a chart reads them from its
// properties.

#include <qcustomplot.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace chartlib {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Pixels the mouse must travel before a press becomes a zoom drag.
constexpr int kDragThreshold = 4;
// Pixels around a click searched for the nearest point.
constexpr int kPickRadius = 24;

QColor fromBgr(std::int32_t c);
QRgb rgbFromBgr(std::int32_t c);
// Colour of a subset the caller gave none.
QColor defaultColour(int subset);
QPen linePen(const QColor& colour, int type);

struct Marker {
    QCPScatterStyle::ScatterShape shape;
    bool solid;
};
Marker markerOf(int type);

// Annotation labels start with a placement code: "|h" on the horizontal axis, "|t" top,
// "|b" bottom, "|R" right end of a horizontal line, "|B" under the axis (written upwards).
// One text may hold the labels of several annotations, each ended by a tab: "|t%s\t|b%s\t".
struct Label {
    char place = 0; // a PEColocacionEtiqueta code, 0 when the label has none
    QString text;
};
Label parseLabel(const QString& raw);
// The labels of an annotation array, one per annotation, tab-separated texts split.
std::vector<Label> parseLabels(const std::vector<std::string>& raw);

bool validRange(double lo, double hi);

} // namespace chartlib
