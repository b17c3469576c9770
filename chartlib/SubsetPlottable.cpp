#include "SubsetPlottable.h"

#include <algorithm>
#include <cmath>

namespace chartlib {

SubsetPlottable::SubsetPlottable(QCPAxis* keyAxis, QCPAxis* valueAxis, QSharedPointer<const SubsetData> data,
                                 Mode mode)
    : QCPAbstractPlottable(keyAxis, valueAxis), m_data(std::move(data)), m_mode(mode) {
    setAntialiased(false);
}

void SubsetPlottable::setScatter(QCPScatterStyle::ScatterShape shape, bool solid, double size) {
    m_shape = shape;
    m_solid = solid;
    m_size = size;
}

void SubsetPlottable::setBarGeometry(double width, double offset) {
    m_barWidth = width;
    m_barOffset = offset;
}

double SubsetPlottable::selectTest(const QPointF&, bool, QVariant*) const {
    return -1;
}

QCPRange SubsetPlottable::getKeyRange(bool& foundRange, QCP::SignDomain) const {
    foundRange = m_data->hasData;
    return QCPRange(m_data->minX, m_data->maxX);
}

QCPRange SubsetPlottable::getValueRange(bool& foundRange, QCP::SignDomain, const QCPRange&) const {
    foundRange = m_data->hasData;
    return QCPRange(m_data->minY, m_data->maxY);
}

QRgb SubsetPlottable::colourOf(int i) const {
    return m_data->colours.empty() ? m_colour.rgb() : m_data->colours[i];
}

void SubsetPlottable::visibleIndexes(std::vector<int>* out) const {
    const QCPAxis* keyAxis = mKeyAxis.data();
    const SubsetData& d = *m_data;
    // Bars reach half a bar beyond their x; markers half a marker.
    const double slack = m_mode == Mode::Bars ? std::fabs(m_barOffset) + m_barWidth : 0.0;
    const QCPRange range = keyAxis->range();
    // One entry beyond each end, as a line needs it to leave the view.
    const int first = std::max(0, d.lowerBound(range.lower - slack) - 1);
    const int last = std::min(d.count, d.upperBound(range.upper + slack) + 1);
    out->clear();
    if (m_mode == Mode::LoneMarkers) {
        // And one lone point beyond each end, whose marker may reach into view.
        auto from = std::lower_bound(d.isolated.begin(), d.isolated.end(), first);
        auto to = std::lower_bound(from, d.isolated.end(), last);
        if (from != d.isolated.begin())
            --from;
        if (to != d.isolated.end())
            ++to;
        out->assign(from, to);
        return;
    }
    const int columns = std::max(1, keyAxis->axisRect()->width());
    int count = last - first;
    if (count > 2 * columns) { // null values are no points to reduce
        count = 0;
        for (int i = first; i < last; ++i)
            count += d.drawn(i) ? 1 : 0;
    }
    if (count <= 2 * columns) {
        out->reserve(count);
        for (int i = first; i < last; ++i)
            if (d.drawn(i))
                out->push_back(i);
        return;
    }
    // At least two points per pixel column: keep the first, lowest, highest and last of each
    // column, which keeps a lone excursion visible.
    const double left = keyAxis->axisRect()->left();
    int column = -1;
    int cFirst = 0, cMin = 0, cMax = 0, cLast = 0;
    auto flush = [&] {
        if (column < 0)
            return;
        int picked[4] = {cFirst, cMin, cMax, cLast};
        std::sort(std::begin(picked), std::end(picked));
        int* uniqueEnd = std::unique(std::begin(picked), std::end(picked));
        out->insert(out->end(), std::begin(picked), uniqueEnd);
    };
    for (int i = first; i < last; ++i) {
        if (!d.drawn(i))
            continue;
        const int c = static_cast<int>(keyAxis->coordToPixel(d.x(i)) - left);
        if (c != column) {
            flush();
            column = c;
            cFirst = cMin = cMax = cLast = i;
            continue;
        }
        const double v = d.y(i);
        if (v < d.y(cMin))
            cMin = i;
        if (v > d.y(cMax))
            cMax = i;
        cLast = i;
    }
    flush();
}

void SubsetPlottable::draw(QCPPainter* painter) {
    if (!m_data->hasData || mKeyAxis.isNull() || mValueAxis.isNull())
        return;
    if (m_mode == Mode::LineStretches) {
        drawStretches(painter);
        return;
    }
    std::vector<int> indexes;
    visibleIndexes(&indexes);
    if (indexes.empty())
        return;
    if (m_mode != Mode::Bars)
        drawMarkers(painter, indexes);
    else
        drawBars(painter, indexes);
}

void SubsetPlottable::drawMarkers(QCPPainter* painter, const std::vector<int>& indexes) const {
    const QCPAxis* keyAxis = mKeyAxis.data();
    const QCPAxis* valueAxis = mValueAxis.data();
    const SubsetData& d = *m_data;
    const std::vector<std::pair<QRgb, int>> order = byColour(indexes);
    painter->setAntialiasing(true);
    std::size_t k = 0;
    while (k < order.size()) {
        const QRgb colour = order[k].first;
        const QColor c = QColor::fromRgb(colour);
        QCPScatterStyle style(m_shape, QPen(c, 1.2), m_solid ? QBrush(c) : QBrush(Qt::NoBrush), m_size);
        style.applyTo(painter, QPen(c));
        for (; k < order.size() && order[k].first == colour; ++k) {
            const double x = keyAxis->coordToPixel(d.x(order[k].second));
            const double y = valueAxis->coordToPixel(d.y(order[k].second));
            if (std::isfinite(x) && std::isfinite(y))
                style.drawShape(painter, x, y);
        }
    }
}

std::vector<std::pair<QRgb, int>> SubsetPlottable::byColour(const std::vector<int>& indexes) const {
    std::vector<std::pair<QRgb, int>> order;
    order.reserve(indexes.size());
    for (int i : indexes)
        order.emplace_back(colourOf(i), i);
    if (!m_data->colours.empty())
        std::stable_sort(order.begin(), order.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    return order;
}

void SubsetPlottable::drawBars(QCPPainter* painter, const std::vector<int>& indexes) const {
    const QCPAxis* keyAxis = mKeyAxis.data();
    const QCPAxis* valueAxis = mValueAxis.data();
    const SubsetData& d = *m_data;
    const QCPRange valueRange = valueAxis->range();
    double base = valueAxis->scaleType() == QCPAxis::stLogarithmic ? valueRange.lower : 0.0;
    base = std::clamp(base, std::min(valueRange.lower, valueRange.upper),
                      std::max(valueRange.lower, valueRange.upper));
    const double basePixel = valueAxis->coordToPixel(base);
    painter->setAntialiasing(false);
    painter->setPen(Qt::NoPen);
    QRgb current = 0;
    bool first = true;
    const std::vector<std::pair<QRgb, int>> order = byColour(indexes);
    for (const auto& [colour, i] : order) {
        if (first || colour != current) {
            painter->setBrush(QColor::fromRgb(colour));
            current = colour;
            first = false;
        }
        const double left = keyAxis->coordToPixel(d.x(i) + m_barOffset - m_barWidth / 2);
        const double right = keyAxis->coordToPixel(d.x(i) + m_barOffset + m_barWidth / 2);
        const double top = valueAxis->coordToPixel(d.y(i));
        if (!std::isfinite(left) || !std::isfinite(right) || !std::isfinite(top))
            continue;
        QRectF bar(QPointF(std::min(left, right), std::min(top, basePixel)),
                   QPointF(std::max(left, right), std::max(top, basePixel)));
        if (bar.width() < 1)
            bar.setWidth(1);
        if (bar.height() < 1)
            bar.setHeight(1);
        painter->drawRect(bar);
    }
}

void SubsetPlottable::drawStretches(QCPPainter* painter) const {
    const std::vector<int>& off = m_data->offColour;
    if (off.empty() || m_data->colours.empty())
        return;
    const QCPAxis* keyAxis = mKeyAxis.data();
    const QCPAxis* valueAxis = mValueAxis.data();
    const SubsetData& d = *m_data;
    const QCPRange range = keyAxis->range();
    // The stretch of the first visible recoloured point may start left of the axis.
    auto first = std::lower_bound(off.begin(), off.end(), range.lower,
                                  [&](int k, double key) { return d.x(k) < key; });
    if (first != off.begin())
        --first;
    // And that of the first one right of it may reach back into view.
    auto last = std::upper_bound(off.begin(), off.end(), range.upper,
                                 [&](double key, int k) { return key < d.x(k); });
    if (last != off.end())
        ++last;
    auto pixelOf = [&](int k) {
        return QPointF(keyAxis->coordToPixel(d.x(k)), valueAxis->coordToPixel(d.y(k)));
    };
    applyDefaultAntialiasingHint(painter);
    QPen pen = m_linePen;
    for (auto it = first; it != last; ++it) {
        const int k = *it;
        const QPointF at = pixelOf(k);
        if (!std::isfinite(at.x()) || !std::isfinite(at.y()))
            continue;
        pen.setColor(QColor::fromRgb(d.colours[k]));
        painter->setPen(pen);
        if (d.joinedToNext(k - 1))
            painter->drawLine(QLineF((pixelOf(k - 1) + at) / 2, at));
        if (d.joinedToNext(k))
            painter->drawLine(QLineF(at, (at + pixelOf(k + 1)) / 2));
    }
}

void SubsetPlottable::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const {
    painter->setPen(QPen(m_colour));
    painter->setBrush(m_colour);
    if (m_mode == Mode::Bars) {
        painter->drawRect(rect.adjusted(rect.width() * 0.3, 1, -rect.width() * 0.3, -1));
        return;
    }
    QCPScatterStyle style(m_shape, QPen(m_colour), m_solid ? QBrush(m_colour) : QBrush(Qt::NoBrush), 7);
    style.applyTo(painter, QPen(m_colour));
    style.drawShape(painter, rect.center().x(), rect.center().y());
}

} // namespace chartlib
