#pragma once

#include <qcustomplot.h>

#include <algorithm>
#include <vector>

namespace chartlib {

// One subset's points as QCustomPlot draws them, built once per data change and shared by every
// plottable of the subset.
struct SubsetData {
    // True when the line joins entry k of `points` to entry k + 1.
    bool joinedToNext(int k) const {
        return k >= 0 && k + 1 < points->size() && !std::binary_search(breaks.begin(), breaks.end(), k + 1);
    }

    // Points with valid x and y, sorted by x: what lines, markers and bars draw and the cursor
    // picks. The line breaks before each entry listed in `breaks`.
    QSharedPointer<QCPGraphDataContainer> points;
    // Original point index of entry k of `points`.
    int original(int k) const {
        if (!index.empty())
            return index[static_cast<std::size_t>(k)];
        return k + static_cast<int>(std::upper_bound(skipped.begin(), skipped.end(), k) - skipped.begin());
    }

    // Original point index of each entry of `points` when the points had to be sorted; of a
    // subset's `isolated` points, their entries in the subset's `points`. Empty otherwise.
    std::vector<int> index;
    // For in-order points: for each point left out (null x or y), how many were kept before it,
    // so a week of data with a few empty cells needs no index per point.
    std::vector<int> skipped;
    // Colour of each entry of `points` (0x00BBGGRR turned to QRgb); empty: the subset's colour.
    std::vector<QRgb> colours;
    // Entries of `points` whose colour is not the subset's: the stretches of line to recolour.
    std::vector<int> offColour;
    // Entries of `points` that the line does not join to the entry before (sorted).
    std::vector<int> breaks;
    // The points the line joins to neither neighbour, which a line alone would not show; null
    // when there are none. Its `index` holds their entries in `points`.
    QSharedPointer<SubsetData> isolated;
    bool hasData = false;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    double minPositiveX = 0, minPositiveY = 0; // for logarithmic axes; 0 when none
    double minSpacing = 0;                     // smallest x step between points (bar width)
};

} // namespace chartlib
