#include "GappedLineGraph.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace chartlib {

GappedLineGraph::GappedLineGraph(QCPAxis* keyAxis, QCPAxis* valueAxis, QSharedPointer<const SubsetData> data)
    : QCPGraph(keyAxis, valueAxis), m_subset(std::move(data)) {
    setAdaptiveSampling(true);
}

namespace {

// The subset's extent along one axis; on a logarithmic axis from its smallest positive value.
QCPRange extent(bool& foundRange, QCP::SignDomain inSignDomain, bool hasData, double lowest,
                double lowestPositive, double highest) {
    const bool positive = inSignDomain == QCP::sdPositive;
    foundRange = hasData && (!positive || lowestPositive > 0);
    return QCPRange(positive ? lowestPositive : lowest, highest);
}

} // namespace

QCPRange GappedLineGraph::getKeyRange(bool& foundRange, QCP::SignDomain inSignDomain) const {
    const SubsetData& d = *m_subset;
    return extent(foundRange, inSignDomain, d.hasData, d.minX, d.minPositiveX, d.maxX);
}

QCPRange GappedLineGraph::getValueRange(bool& foundRange, QCP::SignDomain inSignDomain,
                                        const QCPRange&) const {
    const SubsetData& d = *m_subset;
    return extent(foundRange, inSignDomain, d.hasData, d.minY, d.minPositiveY, d.maxY);
}

void GappedLineGraph::sample(int from, int to, QVector<QCPGraphData>* out) const {
    const SubsetData& d = *m_subset;
    const QCPAxis* keyAxis = mKeyAxis.data();
    out->clear();
    // Points far outside the view have pixels beyond any int.
    auto column = [&](int k) {
        return static_cast<int>(std::clamp(std::floor(keyAxis->coordToPixel(d.x(k))), -1e9, 1e9));
    };
    // QCustomPlot's own sampling runs over a small container at a time. A piece ends where
    // the next point falls in the neighbouring pixel column, where the sampling of one long
    // container starts a new column the same way, so the vertices are those of one pass.
    QVector<QCPGraphData> piece;
    QVector<QCPGraphData> part;
    for (int begin = from; begin < to;) {
        int end = std::min(to, begin + kPiece);
        if (end < to) {
            const int limit = std::min(to, end + kPiece);
            int fallback = -1;
            for (; end < limit; ++end) {
                const int step = std::abs(column(end) - column(end - 1));
                if (step == 1)
                    break;
                if (step > 1 && fallback < 0)
                    fallback = end;
            }
            if (end == limit && fallback > 0)
                end = fallback;
        }
        piece.resize(end - begin);
        for (int k = begin; k < end; ++k)
            piece[k - begin] = QCPGraphData(d.x(k), d.y(k));
        QCPGraphDataContainer container;
        container.set(piece, true);
        part.clear();
        getOptimizedLineData(&part, container.constBegin(), container.constEnd());
        out->append(part);
        begin = end;
    }
}

void GappedLineGraph::draw(QCPPainter* painter) {
    const SubsetData& d = *m_subset;
    if (!mKeyAxis || !mValueAxis || mKeyAxis->range().size() <= 0 || !d.hasData || d.runs.empty())
        return;
    // The stretches that reach into view, each with one entry beyond either end of the view so
    // the line leaves it.
    const QCPRange range = mKeyAxis->range();
    const int first = std::max(0, d.lowerBound(range.lower) - 1);
    const int last = std::min(d.count, d.upperBound(range.upper) + 1);
    auto run = std::upper_bound(d.runs.begin(), d.runs.end(), first,
                                [](int at, const std::pair<int, int>& r) { return at < r.first; });
    if (run != d.runs.begin())
        --run;
    const bool reversed = mKeyAxis->rangeReversed() != (mKeyAxis->orientation() == Qt::Vertical);
    QVector<QCPGraphData> vertices;
    for (; run != d.runs.end() && run->first < last; ++run) {
        const int from = std::max(run->first, first);
        const int to = std::min(run->second, last);
        if (from >= to)
            continue;
        sample(from, to, &vertices);
        // Pixels must grow along the line for the fill.
        if (reversed)
            std::reverse(vertices.begin(), vertices.end());
        QVector<QPointF> lines = dataToLines(vertices);
        painter->setPen(Qt::NoPen);
        painter->setBrush(mBrush);
        drawFill(painter, &lines);
        if (mLineStyle != lsNone) {
            painter->setPen(mPen);
            painter->setBrush(Qt::NoBrush);
            drawLinePlot(painter, lines);
        }
    }
}

} // namespace chartlib
