#include "TextElements.h"

namespace chartlib {

QList<QStringList> parseTable(const QString& table) {
    QList<QStringList> rows;
    const QStringList lines = table.split(QLatin1Char('\t'));
    for (const QString& line : lines) {
        if (line.isEmpty())
            continue;
        QStringList cells = line.split(QLatin1Char('|'));
        // A row written "|a|b|" has empty cells at both ends only because of its framing.
        if (cells.size() > 1 && cells.first().trimmed().isEmpty())
            cells.removeFirst();
        if (cells.size() > 1 && cells.last().trimmed().isEmpty())
            cells.removeLast();
        rows.append(cells);
    }
    return rows;
}

TableElement::TableElement(QCustomPlot* plot, const QString& table, const QFont& font, const QColor& colour)
    : QCPLayoutElement(plot), m_font(font), m_colour(colour) {
    setTable(table);
    setMargins(QMargins(6, 2, 6, 2));
}

void TableElement::setTable(const QString& table) {
    m_rows = parseTable(table);
}

QSize TableElement::minimumOuterSizeHint() const {
    const QFontMetrics metrics(m_font);
    return QSize(0, static_cast<int>(m_rows.size()) * (metrics.height() + 2) + mMargins.top() +
                        mMargins.bottom());
}

QSize TableElement::maximumOuterSizeHint() const {
    return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void TableElement::draw(QCPPainter* painter) {
    if (m_rows.isEmpty())
        return;
    painter->setFont(m_font);
    painter->setPen(m_colour);
    const QFontMetrics metrics(m_font);
    const int rowHeight = metrics.height() + 2;
    qsizetype columns = 1;
    for (const auto& row : m_rows)
        columns = std::max(columns, row.size());
    const double cellWidth = mRect.width() / static_cast<double>(columns);
    // Rows are centred in the space the layout gave the table.
    const int used = static_cast<int>(m_rows.size()) * rowHeight;
    double y = mRect.top() + std::max(0, (mRect.height() - used) / 2);
    for (const auto& row : m_rows) {
        const bool single = row.size() == 1;
        for (qsizetype c = 0; c < row.size(); ++c) {
            const QRectF cell = single ? QRectF(mRect.left(), y, mRect.width(), rowHeight)
                                       : QRectF(mRect.left() + c * cellWidth, y, cellWidth, rowHeight);
            painter->drawText(
                cell.adjusted(2, 0, -2, 0), Qt::AlignVCenter | (single ? Qt::AlignHCenter : Qt::AlignLeft),
                metrics.elidedText(row[c].trimmed(), Qt::ElideRight, static_cast<int>(cell.width()) - 4));
        }
        y += rowHeight;
    }
}

LegendLine::LegendLine(QCustomPlot* plot, QList<Entry> entries, const QFont& font, bool samples)
    : QCPLayoutElement(plot), m_entries(std::move(entries)), m_font(font), m_samples(samples) {
    setMargins(QMargins(4, 1, 4, 1));
}

int LegendLine::entryWidth(const QFontMetrics& metrics, const Entry& e) const {
    return metrics.horizontalAdvance(e.name) + (m_samples ? 26 : 0);
}

QList<QList<int>> LegendLine::rows(int width) const {
    // Names are wrapped onto as many rows as the width needs, never split.
    const QFontMetrics metrics(m_font);
    QList<QList<int>> result;
    int used = 0;
    for (int i = 0; i < m_entries.size(); ++i) {
        const int w = entryWidth(metrics, m_entries[i]);
        if (result.isEmpty() || (used > 0 && used + kSpacing + w > width)) {
            result.append(QList<int>());
            used = 0;
        }
        used += (used > 0 ? kSpacing : 0) + w;
        result.last().append(i);
    }
    return result;
}

int LegendLine::availableWidth() const {
    // The layout asks for the height before it places the element; the line spans the chart.
    return std::max(1, mParentPlot->viewport().width() - mMargins.left() - mMargins.right());
}

QSize LegendLine::minimumOuterSizeHint() const {
    const QFontMetrics metrics(m_font);
    const qsizetype count = std::max<qsizetype>(1, rows(availableWidth()).size());
    return QSize(0, static_cast<int>(count) * (metrics.height() + 2) + 2);
}

QSize LegendLine::maximumOuterSizeHint() const {
    return QSize(QWIDGETSIZE_MAX, minimumOuterSizeHint().height());
}

void LegendLine::draw(QCPPainter* painter) {
    const QFontMetrics metrics(m_font);
    const int lineHeight = metrics.height() + 2;
    const QList<QList<int>> lines = rows(availableWidth());
    painter->setFont(m_font);
    double top =
        mRect.top() + std::max(0, (mRect.height() - static_cast<int>(lines.size()) * lineHeight) / 2);
    for (const QList<int>& line : lines) {
        int total = -kSpacing;
        for (int i : line)
            total += entryWidth(metrics, m_entries[i]) + kSpacing;
        double x = mRect.left() + std::max(0, (mRect.width() - total) / 2);
        const double mid = top + lineHeight / 2.0;
        for (int i : line) {
            const Entry& e = m_entries[i];
            if (m_samples) {
                painter->setPen(e.pen);
                painter->drawLine(QPointF(x, mid), QPointF(x + 20, mid));
                if (e.scatter.shape() != QCPScatterStyle::ssNone) {
                    e.scatter.applyTo(painter, e.pen);
                    e.scatter.drawShape(painter, x + 10, mid);
                }
                x += 26;
            }
            painter->setPen(e.colour);
            painter->drawText(QRectF(x, top, mRect.width(), lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                              e.name);
            x += metrics.horizontalAdvance(e.name) + kSpacing;
        }
        top += lineHeight;
    }
}

} // namespace chartlib
