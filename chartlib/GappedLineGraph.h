#pragma once

#include "SubsetData.h"

#include <qcustomplot.h>

namespace chartlib {

// A subset's line drawn straight from the subset's entries, broken where the subset says the
// line does not join two neighbours (null values, gaps wider than the largest joined gap). The
// graph's own point container stays empty: each joined stretch in view is reduced to what its
// pixel columns show and stroked on its own, so the points are not copied into 16-byte pairs.
class GappedLineGraph : public QCPGraph {
public:
    GappedLineGraph(QCPAxis* keyAxis, QCPAxis* valueAxis, QSharedPointer<const SubsetData> data);

    // reimplemented virtual methods:
    QCPRange getKeyRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange& inKeyRange = QCPRange()) const override;

protected:
    void draw(QCPPainter* painter) override;

private:
    // The entries [from, to) as line vertices, sampled as QCustomPlot samples a graph's points
    // (a lone excursion stays visible), a piece of at most about kPiece entries at a time.
    void sample(int from, int to, QVector<QCPGraphData>* out) const;
    static constexpr int kPiece = 1 << 16;

    QSharedPointer<const SubsetData> m_subset;
};

} // namespace chartlib
