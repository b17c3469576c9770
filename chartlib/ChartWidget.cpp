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

const SubsetData* ChartWidget::subsetData(int subset) const {
    return subset >= 0 && subset < static_cast<int>(m_subsets.size()) ? m_subsets[subset].data() : nullptr;
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

    const int subsets = subsetCount();
    const int points = pointCount();
    const PropertyStore::DoubleArray xs = m_props.doubleArray(PEP_XDATA);
    const std::vector<double>& ys = m_props.doubles(PEP_YDATA);
    const bool hasNullX = m_props.find(PEP_NULLX) != nullptr;
    const bool hasNullY = m_props.find(PEP_NULLY) != nullptr;
    const double nullX = m_props.real(PEP_NULLX);
    const double nullY = m_props.real(PEP_NULLY);
    const double maxGap = m_props.real(PEP_MAXGAP, 0.0);

    m_subsets.clear();
    m_subsets.reserve(subsets);
    for (int s = 0; s < subsets; ++s) {
        auto data = QSharedPointer<SubsetData>::create();
        const std::size_t base = static_cast<std::size_t>(s) * points;
        // Shared dates are read from their one block without a division per point.
        const std::vector<double>& xBlock = *xs.block;
        const std::size_t xStart = xs.repeat > 1 ? base % xBlock.size() : base;
        auto xAt = [&](int i) {
            const std::size_t k = xStart + i;
            return k < xBlock.size() ? xBlock[k] : (base + i < xs.size() ? xs[base + i] : kNaN);
        };
        auto yAt = [&](int i) { return base + i < ys.size() ? ys[base + i] : kNaN; };
        auto goodX = [&](double x) { return std::isfinite(x) && !(hasNullX && x == nullX); };
        auto goodY = [&](double y) { return std::isfinite(y) && !(hasNullY && y == nullY); };

        // Points beyond the data arrays are null; a point count larger than the arrays costs
        // nothing.
        const std::size_t stored = std::max(xs.size(), ys.size());
        const int available =
            stored > base ? static_cast<int>(std::min<std::size_t>(points, stored - base)) : 0;
        bool sorted = true;
        double previous = -std::numeric_limits<double>::infinity();
        for (int i = 0; i < available && sorted; ++i) {
            const double x = xAt(i);
            if (!goodX(x))
                continue;
            sorted = x >= previous;
            previous = x;
        }
        std::vector<int> order;
        if (!sorted) {
            for (int i = 0; i < available; ++i)
                if (goodX(xAt(i)))
                    order.push_back(i);
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return xAt(a) < xAt(b); });
        }
        const int count = sorted ? available : static_cast<int>(order.size());

        QVector<QCPGraphData> pts;
        pts.reserve(count);
        bool pendingGap = false;
        bool breakBefore = false;
        double lastKey = kNaN;
        data->minX = data->minY = std::numeric_limits<double>::infinity();
        data->maxX = data->maxY = -std::numeric_limits<double>::infinity();
        data->minPositiveX = data->minPositiveY = std::numeric_limits<double>::infinity();
        data->minSpacing = std::numeric_limits<double>::infinity();
        for (int k = 0; k < count; ++k) {
            const int i = sorted ? k : order[k];
            const double x = xAt(i);
            const double y = yAt(i);
            if (!goodX(x) || !goodY(y)) {
                if (sorted)
                    data->skipped.push_back(static_cast<int>(pts.size()));
                (goodX(x) ? breakBefore : pendingGap) = true;
                continue;
            }
            if (pendingGap || (maxGap > 0 && std::isfinite(lastKey) && x - lastKey > maxGap))
                breakBefore = true;
            pendingGap = false;
            if (breakBefore && !pts.isEmpty())
                data->breaks.push_back(static_cast<int>(pts.size()));
            breakBefore = false;
            if (std::isfinite(lastKey) && x > lastKey)
                data->minSpacing = std::min(data->minSpacing, x - lastKey);
            lastKey = x;
            if (!sorted)
                data->index.push_back(i);
            pts.append(QCPGraphData(x, y));
            data->minX = std::min(data->minX, x);
            data->maxX = std::max(data->maxX, x);
            data->minY = std::min(data->minY, y);
            data->maxY = std::max(data->maxY, y);
            if (x > 0)
                data->minPositiveX = std::min(data->minPositiveX, x);
            if (y > 0)
                data->minPositiveY = std::min(data->minPositiveY, y);
        }
        data->hasData = !pts.isEmpty();
        if (!std::isfinite(data->minPositiveX))
            data->minPositiveX = 0;
        if (!std::isfinite(data->minPositiveY))
            data->minPositiveY = 0;
        if (!std::isfinite(data->minSpacing))
            data->minSpacing = 0;
        // set() shares the vector's buffer instead of copying it.
        data->points = QSharedPointer<QCPGraphDataContainer>::create();
        data->points->set(pts, true);
        findIsolated(data.data());
        m_subsets.push_back(data);
    }
}

void ChartWidget::findIsolated(SubsetData* data) {
    // A point the line joins to neither neighbour (nulls or gaps on both sides) is drawn as a
    // marker, or a series sampled more slowly than the one it is aligned with would vanish.
    const int n = data->points->size();
    QVector<QCPGraphData> lone;
    std::vector<int> at;
    for (int k = 0; k < n; ++k) {
        if (data->joinedToNext(k) || data->joinedToNext(k - 1))
            continue;
        at.push_back(k);
        lone.append(*(data->points->constBegin() + k));
    }
    if (at.empty())
        return;
    auto isolated = QSharedPointer<SubsetData>::create();
    isolated->points = QSharedPointer<QCPGraphDataContainer>::create();
    isolated->points->set(lone, true);
    isolated->index = std::move(at);
    isolated->hasData = true;
    isolated->minX = data->minX;
    isolated->maxX = data->maxX;
    isolated->minY = data->minY;
    isolated->maxY = data->maxY;
    data->isolated = isolated;
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
        if (data.isolated)
            data.isolated->colours.clear();
        const std::size_t base = static_cast<std::size_t>(s) * points;
        if (colours.size() <= base)
            continue;
        const QRgb own = s < static_cast<int>(subsetColours.size()) ? rgbFromBgr(subsetColours[s])
                                                                    : defaultColour(s).rgb();
        const int n = data.points->size();
        data.colours.resize(n);
        for (int k = 0; k < n; ++k) {
            const std::size_t i = base + static_cast<std::size_t>(data.original(k));
            const QRgb c = i < colours.size() ? rgbFromBgr(colours[i]) : own;
            data.colours[k] = c;
            if (c != own)
                data.offColour.push_back(k);
        }
        // One colour for the whole subset draws in a single batch without the per-point array.
        if (data.offColour.empty()) {
            std::vector<QRgb>().swap(data.colours);
            continue;
        }
        if (data.isolated) {
            SubsetData& lone = *data.isolated;
            lone.colours.resize(lone.index.size());
            for (std::size_t j = 0; j < lone.index.size(); ++j)
                lone.colours[j] = data.colours[lone.index[j]];
        }
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
