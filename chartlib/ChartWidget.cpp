#include "ChartWidget.h"

#include "ChartStyle.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace chartlib {

ChartWidget::ChartWidget(QWidget* parent) : QCustomPlot(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setNoAntialiasingOnDrag(true);
    setPlottingHint(QCP::phCacheLabels, true);
    // Above the graphs and below the axes, where the cursor items were always drawn.
    addLayer(QStringLiteral("cursor"), layer(QStringLiteral("main")), QCustomPlot::limAbove);
    m_cursorLayer = layer(QStringLiteral("cursor"));
    m_cursorLayer->setMode(QCPLayer::lmBuffered);
    setCurrentLayer(QStringLiteral("main"));
    connect(this, &QCustomPlot::afterReplot, this, [this] {
        m_sceneDirty = false;
        m_cursorDirty = false;
    });
    reinitialize();
}

ChartWidget::~ChartWidget() = default;

int ChartWidget::subsetCount() const {
    // Far above any window's needs; a wrong count cannot make thousands of plottables.
    return std::clamp(m_props.integer(PEP_SUBSETS, 1), 0, 1024);
}

int ChartWidget::pointCount() const {
    return std::max(0, m_props.integer(PEP_POINTS, 0));
}

QCPAxisRect* ChartWidget::axisRectOf(int axis) const {
    return axis >= 0 && axis < axisCount() ? m_rects[axis] : nullptr;
}

int ChartWidget::axisOfSubset(int subset) const {
    return subset >= 0 && subset < static_cast<int>(m_subsetAxis.size()) ? m_subsetAxis[subset] : 0;
}

QColor ChartWidget::textColour() const {
    return fromBgr(m_props.integer(PEP_TEXTCOLOR, 0));
}

QFont ChartWidget::labelFont(int percent) const {
    QFont font(QString::fromStdString(m_props.text(PEP_LABELFONT)));
    if (m_props.text(PEP_LABELFONT).empty())
        font = QFont();
    font.setPointSizeF(std::clamp(8.5 * percent / 100.0, 4.0, 40.0));
    return font;
}

// ---------------------------------------------------------------------------------------------
// Data

void ChartWidget::rebuildData() {
    const std::uint64_t stamp =
        std::max({m_props.version(PEP_SUBSETS), m_props.version(PEP_POINTS), m_props.version(PEP_XDATA),
                  m_props.version(PEP_YDATA), m_props.version(PEP_NULLX), m_props.version(PEP_NULLY),
                  m_props.version(PEP_MAXGAP)});
    if (stamp == m_dataStamp && static_cast<int>(m_subsets.size()) == subsetCount())
        return;
    m_dataStamp = stamp;
    m_colourStamp = ~0ULL;

    // The subsets built last drew from the buffers moved aside since; none is drawn before the
    // plottables are rebuilt from the new subsets.
    m_subsets.clear();
    m_props.releaseRetired();
    const int subsets = subsetCount();
    const int points = pointCount();
    const PropertyStore::DoubleArray xs = m_props.lendDoubles(PEP_XDATA);
    const PropertyStore::DoubleArray ys = m_props.lendDoubles(PEP_YDATA);
    m_subsets.reserve(subsets);
    for (int s = 0; s < subsets; ++s) {
        auto data = QSharedPointer<SubsetData>::create();
        buildSubset(data.data(), xs, *ys.block, static_cast<std::size_t>(s) * points, points);
        m_subsets.push_back(data);
    }
}

void ChartWidget::buildSubset(SubsetData* data, const PropertyStore::DoubleArray& xs,
                              const std::vector<double>& ys, std::size_t base, int points) const {
    const bool hasNullX = m_props.find(PEP_NULLX) != nullptr;
    const double nullX = m_props.real(PEP_NULLX);
    data->hasNullY = m_props.find(PEP_NULLY) != nullptr;
    data->nullY = m_props.real(PEP_NULLY);
    const double maxGap = m_props.real(PEP_MAXGAP, 0.0);
    auto goodX = [&](double x) { return std::isfinite(x) && !(hasNullX && x == nullX); };

    // The subset's x values: its slice of the array, or the one block every subset shares.
    const std::vector<double>& xBlock = *xs.block;
    const double* xFirst = xs.repeat > 1 ? xBlock.data() : xBlock.data() + std::min(base, xBlock.size());
    const std::size_t xOwn = xs.repeat > 1 ? xBlock.size() : xBlock.size() - std::min(base, xBlock.size());
    const std::size_t yOwn = ys.size() - std::min(base, ys.size());
    const double* yFirst = ys.data() + std::min(base, ys.size());
    auto xAt = [&](int i) { return static_cast<std::size_t>(i) < xOwn ? xFirst[i] : kNaN; };
    auto yAt = [&](int i) { return static_cast<std::size_t>(i) < yOwn ? yFirst[i] : kNaN; };

    // Points beyond the data arrays are null; a point count larger than the arrays costs
    // nothing.
    const int available = static_cast<int>(std::min<std::size_t>(points, std::max(xOwn, yOwn)));
    const int common = static_cast<int>(std::min<std::size_t>(points, std::min(xOwn, yOwn)));
    bool inOrder = true;  // the valid x values never go back
    bool allValid = true; // and none of the first `common` is null
    double previous = -std::numeric_limits<double>::infinity();
    for (int i = 0; i < available && inOrder; ++i) {
        const double x = xAt(i);
        if (!goodX(x)) {
            allValid = allValid && i >= common;
            continue;
        }
        inOrder = x >= previous;
        previous = x;
    }

    data->minX = data->minY = std::numeric_limits<double>::infinity();
    data->maxX = data->maxY = -std::numeric_limits<double>::infinity();
    data->minPositiveX = data->minPositiveY = std::numeric_limits<double>::infinity();
    data->minSpacing = std::numeric_limits<double>::infinity();
    double lastKey = kNaN;
    auto take = [&](double x, double y) {
        if (std::isfinite(lastKey) && x > lastKey)
            data->minSpacing = std::min(data->minSpacing, x - lastKey);
        lastKey = x;
        data->minX = std::min(data->minX, x);
        data->maxX = std::max(data->maxX, x);
        data->minY = std::min(data->minY, y);
        data->maxY = std::max(data->maxY, y);
        if (x > 0)
            data->minPositiveX = std::min(data->minPositiveX, x);
        if (y > 0)
            data->minPositiveY = std::min(data->minPositiveY, y);
    };
    int runStart = -1;
    auto endRun = [&](int at) {
        if (runStart >= 0)
            data->runs.emplace_back(runStart, at);
        runStart = -1;
    };

    if (inOrder && allValid) {
        // Drawn from the chart's own arrays: the entries are the points, nulls in place.
        data->xs = xFirst;
        data->ys = yFirst;
        data->count = common;
        for (int k = 0; k < common; ++k) {
            if (!data->drawn(k)) {
                endRun(k);
                continue;
            }
            const double x = xFirst[k];
            if (runStart >= 0 && maxGap > 0 && x - lastKey > maxGap)
                endRun(k);
            if (runStart < 0)
                runStart = k;
            take(x, yFirst[k]);
        }
        endRun(common);
    } else {
        // Out of order or with null times: a sorted copy of the valid points. A null time breaks
        // the line where the points are in order.
        std::vector<int> order;
        if (!inOrder) {
            for (int i = 0; i < available; ++i)
                if (goodX(xAt(i)))
                    order.push_back(i);
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return xAt(a) < xAt(b); });
        }
        const int candidates = inOrder ? available : static_cast<int>(order.size());
        bool pendingBreak = false;
        for (int c = 0; c < candidates; ++c) {
            const int i = inOrder ? c : order[static_cast<std::size_t>(c)];
            const double x = xAt(i);
            const double y = yAt(i);
            if (!goodX(x) || !std::isfinite(y) || (data->hasNullY && y == data->nullY)) {
                pendingBreak = true;
                continue;
            }
            const int k = static_cast<int>(data->ownX.size());
            if (runStart >= 0 && (pendingBreak || (maxGap > 0 && x - lastKey > maxGap)))
                endRun(k);
            pendingBreak = false;
            if (runStart < 0)
                runStart = k;
            data->ownX.push_back(x);
            data->ownY.push_back(y);
            data->index.push_back(i);
            take(x, y);
        }
        endRun(static_cast<int>(data->ownX.size()));
        data->xs = data->ownX.data();
        data->ys = data->ownY.data();
        data->count = static_cast<int>(data->ownX.size());
    }
    data->hasData = std::isfinite(data->minX);
    if (!std::isfinite(data->minPositiveX))
        data->minPositiveX = 0;
    if (!std::isfinite(data->minPositiveY))
        data->minPositiveY = 0;
    if (!std::isfinite(data->minSpacing))
        data->minSpacing = 0;
    // A point the line joins to neither neighbour (nulls or gaps on both sides) is drawn as a
    // marker, or a series sampled more slowly than the one it is aligned with would vanish.
    for (const auto& [first, end] : data->runs)
        if (end - first == 1)
            data->isolated.push_back(first);
}

void ChartWidget::rebuildColours() {
    const std::uint64_t stamp =
        std::max({m_dataStamp, m_props.version(PEP_POINTCOLORS), m_props.version(PEP_SUBSETCOLORS)});
    if (stamp == m_colourStamp)
        return;
    m_colourStamp = stamp;
    const PropertyStore::IntArray colours = m_props.intArray(PEP_POINTCOLORS);
    const std::vector<std::int32_t> subsetColours = m_props.ints(PEP_SUBSETCOLORS);
    const int points = pointCount();
    for (int s = 0; s < static_cast<int>(m_subsets.size()); ++s) {
        SubsetData& data = *m_subsets[s];
        data.colours.clear();
        data.offColour.clear();
        const std::size_t base = static_cast<std::size_t>(s) * points;
        if (colours.size() <= base)
            continue;
        const QRgb own = s < static_cast<int>(subsetColours.size()) ? rgbFromBgr(subsetColours[s])
                                                                    : defaultColour(s).rgb();
        const int n = data.count;
        data.colours.resize(n);
        for (int k = 0; k < n; ++k) {
            const std::size_t i = base + static_cast<std::size_t>(data.original(k));
            const QRgb c = i < colours.size() ? rgbFromBgr(colours[i]) : own;
            data.colours[k] = c;
            // A null point's colour shows nowhere.
            if (c != own && data.drawn(k))
                data.offColour.push_back(k);
        }
        // One colour for the whole subset draws in a single batch without the per-point array.
        if (data.offColour.empty())
            std::vector<QRgb>().swap(data.colours);
    }
}

// ---------------------------------------------------------------------------------------------
// Scene: the parts are built in ChartLayout.cpp, ChartAnnotations.cpp and ChartInteraction.cpp

void ChartWidget::reinitialize() {
    m_sceneDirty = true;
    rebuildData();
    rebuildColours();
    buildLayout();
    buildSubsets();
    buildAnnotations();
    applyRanges();
    buildCursor();
}

void ChartWidget::propertyChanged(int property) {
    // Zoom out (and a zoom written by the parent) shows at once: the parent only repaints.
    if (property == PEP_ZOOMED) {
        applyRanges();
        replot(QCustomPlot::rpQueuedReplot);
    }
}

void ChartWidget::resetImage() {
    refresh(true);
}

void ChartWidget::refresh(bool immediate) {
    syncReadout();
    if (m_sceneDirty) {
        replot(immediate ? QCustomPlot::rpImmediateRefresh : QCustomPlot::rpRefreshHint);
        return;
    }
    if (m_cursorDirty) {
        m_cursorDirty = false;
        // Redraws only the cursor layer's buffer (the whole scene if the buffers are not ready).
        m_cursorLayer->replot();
    }
    if (immediate)
        repaint();
}

} // namespace chartlib
