#pragma once

#include "SubsetData.h"

#include <qcustomplot.h>

namespace chartlib {

// A subset's line drawn straight from its points, broken where the subset says the line does not
// join two neighbours (null values, gaps wider than the largest joined gap). Each joined stretch
// in view is sampled and stroked on its own, so no second copy of the points with break markers
// is kept.
class GappedLineGraph : public QCPGraph {
public:
    GappedLineGraph(QCPAxis* keyAxis, QCPAxis* valueAxis, QSharedPointer<const SubsetData> data);

protected:
    void draw(QCPPainter* painter) override;

private:
    QSharedPointer<const SubsetData> m_subset;
};

} // namespace chartlib
