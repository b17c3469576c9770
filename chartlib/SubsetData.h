#pragma once

#include <QColor>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace chartlib {

// One subset's points as the plottables draw them, built once per data change and shared by
// every plottable of the subset. When the subset's x values are valid and in order (a week of
// trends always is), the entries are the subset's points themselves, read from the chart's own
// arrays with their null values in place, so the points are held once. Otherwise the entries
// are a sorted copy of the valid points.
struct SubsetData {
    double x(int k) const { return xs[k]; }
    double y(int k) const { return ys[k]; }
    // False for an entry whose value is null: nothing is drawn there.
    bool drawn(int k) const { return std::isfinite(ys[k]) && !(hasNullY && ys[k] == nullY); }
    // The first entry whose x is not below `key`, and the first whose x is above it.
    int lowerBound(double key) const { return static_cast<int>(std::lower_bound(xs, xs + count, key) - xs); }
    int upperBound(double key) const { return static_cast<int>(std::upper_bound(xs, xs + count, key) - xs); }
    // True when the line joins entry k to entry k + 1.
    bool joinedToNext(int k) const {
        const auto run = std::upper_bound(runs.begin(), runs.end(), k,
                                          [](int at, const std::pair<int, int>& r) { return at < r.first; });
        return run != runs.begin() && k + 1 < (run - 1)->second;
    }
    // Original point number of entry k.
    int original(int k) const { return index.empty() ? k : index[static_cast<std::size_t>(k)]; }

    const double* xs = nullptr;
    const double* ys = nullptr;
    int count = 0;
    bool hasNullY = false;
    double nullY = 0;
    // The stretches the line joins, as [first, end) entries in order: broken at null values,
    // null x values and gaps wider than the largest joined gap.
    std::vector<std::pair<int, int>> runs;
    // Entries joined to neither neighbour, which a line alone would not show.
    std::vector<int> isolated;
    // The sorted copy, and the original point of each of its entries; empty when the entries
    // are the chart's arrays.
    std::vector<double> ownX, ownY;
    std::vector<int> index;
    // Colour of each entry (0x00BBGGRR turned to QRgb); empty: the subset's colour.
    std::vector<QRgb> colours;
    // Entries whose colour is not the subset's: the stretches of line to recolour.
    std::vector<int> offColour;
    bool hasData = false;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    double minPositiveX = 0, minPositiveY = 0; // for logarithmic axes; 0 when none
    double minSpacing = 0;                     // smallest x step between points (bar width)
};

} // namespace chartlib
