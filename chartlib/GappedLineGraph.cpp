#include "GappedLineGraph.h"

#include <algorithm>

namespace chartlib {

GappedLineGraph::GappedLineGraph(QCPAxis* keyAxis, QCPAxis* valueAxis, QSharedPointer<const SubsetData> data)
    : QCPGraph(keyAxis, valueAxis), m_subset(std::move(data)) {
    // The points are shared with the subset's other plottables; the graph never changes them.
    setData(m_subset->points);
    setAdaptiveSampling(true);
}

void GappedLineGraph::draw(QCPPainter* painter) {
    const std::vector<int>& breaks = m_subset->breaks;
    if (breaks.empty()) {
        QCPGraph::draw(painter);
        return;
    }
    if (!mKeyAxis || !mValueAxis || mKeyAxis->range().size() <= 0 || mDataContainer->isEmpty())
        return;

    // Only the stretches that reach into view are sampled: the first is the one holding the
    // last point left of the view, the last the one holding the first point right of it.
    const QCPRange range = mKeyAxis->range();
    const auto begin = mDataContainer->constBegin();
    const int size = mDataContainer->size();
    const int firstShown = std::max(0, static_cast<int>(mDataContainer->findBegin(range.lower) - begin));
    const int lastShown = static_cast<int>(mDataContainer->findEnd(range.upper) - begin);
    auto stretch = std::upper_bound(breaks.begin(), breaks.end(), firstShown);
    int from = stretch == breaks.begin() ? 0 : *(stretch - 1);

    QVector<QPointF> lines;
    while (from < size && from < lastShown) {
        const int to = stretch == breaks.end() ? size : *stretch;
        getLines(&lines, QCPDataRange(from, to));
        painter->setPen(Qt::NoPen);
        painter->setBrush(mBrush);
        drawFill(painter, &lines);
        if (mLineStyle != lsNone) {
            painter->setPen(mPen);
            painter->setBrush(Qt::NoBrush);
            drawLinePlot(painter, lines);
        }
        from = to;
        if (stretch != breaks.end())
            ++stretch;
    }
}

} // namespace chartlib
