#pragma once

#include <qcustomplot.h>

#include <vector>

namespace chartlib {

// One subset's points as QCustomPlot draws them, built once per data change and shared by every
// plottable of the subset.
struct SubsetData {
    // Points with valid x and y, sorted by x: what markers and bars draw and the cursor picks.
    QSharedPointer<QCPGraphDataContainer> points;
    // The same points with NaN values where a line must break (null values, gaps wider than the
    // largest joined gap); the very container of `points` when nothing breaks.
    QSharedPointer<QCPGraphDataContainer> line;
    // Original point index of each entry of `points`.
    std::vector<int> index;
    // Colour of each entry of `points` (0x00BBGGRR turned to QRgb); empty: the subset's colour.
    std::vector<QRgb> colours;
    bool hasData = false;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    double minPositiveX = 0, minPositiveY = 0; // for logarithmic axes; 0 when none
    double minSpacing = 0;                     // smallest x step between points (bar width)
};

} // namespace chartlib
