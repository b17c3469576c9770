// Layout and axes: titles, legend line and tables around the stacked axis rectangles, the
// subsets' plottables, the ranges of every axis and their tick density.

#include "ChartWidget.h"

#include "ChartStyle.h"
#include "PEApi.h"
#include "SerialDateTicker.h"
#include "SubsetPlottable.h"
#include "TextElements.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace chartlib {

void ChartWidget::buildLayout() {
    clearItems();
    clearPlottables();
    m_cursorItems.clear();
    plotLayout()->clear();
    m_rects.clear();
    m_table = nullptr;

    const QColor text = textColour();
    setBackground(QBrush(fromBgr(m_props.integer(PEP_DESKCOLOR, static_cast<int>(peRGB(255, 255, 255))))));
    const QColor graphBack =
        fromBgr(m_props.integer(PEP_GRAPHBACKCOLOR, static_cast<int>(peRGB(255, 255, 255))));

    auto family = [&](int property) {
        const std::string f = m_props.text(property);
        return f.empty() ? QFont().family() : QString::fromStdString(f);
    };
    QFont titleFont(family(PEP_MAINTITLEFONT), 12, QFont::Bold);
    QFont subtitleFont(family(PEP_SUBTITLEFONT), 10);

    int row = 0;
    std::vector<double> stretch;
    auto addText = [&](const QString& t, const QFont& font) {
        auto* element = new QCPTextElement(this, t, font);
        element->setTextColor(text);
        element->setMargins(QMargins(2, 1, 2, 1));
        plotLayout()->addElement(row++, 0, element);
        stretch.push_back(0.001);
    };
    const QString title = QString::fromStdString(m_props.text(PEP_MAINTITLE));
    const QString subtitle = QString::fromStdString(m_props.text(PEP_SUBTITLE));
    if (!title.isEmpty())
        addText(title, titleFont);
    if (!subtitle.isEmpty())
        addText(subtitle, subtitleFont);

    // Subsets, their colours, line and point types.
    const int subsets = subsetCount();
    const std::vector<std::int32_t> colours = m_props.ints(PEP_SUBSETCOLORS);
    const std::vector<std::int32_t> lineTypes = m_props.ints(PEP_LINETYPES);
    const std::vector<std::int32_t> pointTypes = m_props.ints(PEP_POINTTYPES);
    auto colourOf = [&](int s) {
        return s < static_cast<int>(colours.size()) ? fromBgr(colours[s]) : defaultColour(s);
    };
    const QString names = QString::fromStdString(m_props.text(PEP_MULTISUBTITLES));
    if (!names.trimmed().isEmpty()) {
        QList<LegendLine::Entry> entries;
        const QStringList parts = names.split(QLatin1Char('\t'));
        for (int s = 0; s < parts.size() && s < std::max(subsets, 1); ++s) {
            if (parts[s].isEmpty())
                continue;
            const QColor c = colourOf(s);
            const Marker m = markerOf(s < static_cast<int>(pointTypes.size()) ? pointTypes[s] : s % 12);
            entries.append({parts[s], c,
                            linePen(c, s < static_cast<int>(lineTypes.size()) ? lineTypes[s] : 0),
                            QCPScatterStyle(m.shape, QPen(c), m.solid ? QBrush(c) : QBrush(), 6)});
        }
        if (!entries.isEmpty()) {
            plotLayout()->addElement(
                row++, 0,
                new LegendLine(this, entries, subtitleFont, !m_props.ints(PEP_LABELSUBSETS).empty()));
            stretch.push_back(0.001);
        }
    }
    const QString tableTitle = QString::fromStdString(m_props.text(PEP_TABLETITLE));
    if (!parseTable(tableTitle).isEmpty()) {
        plotLayout()->addElement(row++, 0, new TableElement(this, tableTitle, subtitleFont, text));
        stretch.push_back(0.001);
    }

    // Stacked vertical axes, top first.
    std::vector<std::int32_t> perAxis = m_props.ints(PEP_SUBSETSPERAXIS);
    perAxis.erase(std::remove_if(perAxis.begin(), perAxis.end(), [](int n) { return n <= 0; }),
                  perAxis.end());
    const int axes = std::clamp(static_cast<int>(perAxis.size()), 1, 64);
    m_subsetAxis.assign(subsets, axes - 1);
    for (int s = 0, axis = 0, used = 0; s < subsets && axis < static_cast<int>(perAxis.size()); ++s) {
        m_subsetAxis[s] = axis;
        if (++used == perAxis[axis]) {
            ++axis;
            used = 0;
        }
    }
    std::vector<double> shares = m_props.doubles(PEP_AXISSHARES);
    shares.resize(axes, 0.0);
    for (double& share : shares)
        if (!(share > 0) || !std::isfinite(share))
            share = 1.0 / axes;

    // Labels placed on or under the horizontal axis replace its tick labels.
    m_hideXTickLabels = false;
    for (const auto& l : m_props.texts(PEP_VLINELABELS)) {
        const QChar place = parseLabel(l).place;
        m_hideXTickLabels = m_hideXTickLabels || place == QLatin1Char('h') || place == QLatin1Char('B');
    }

    auto* grid = new QCPLayoutGrid;
    plotLayout()->addElement(row++, 0, grid);
    grid->setRowSpacing(6);
    auto* group = new QCPMarginGroup(this);
    const bool serial = m_props.integer(PEP_XSERIALDATES) == 1;
    const bool logX = m_props.integer(PEP_XLOGSCALE) == 1;
    const QFont xTickFont = labelFont(m_props.integer(PEP_XLABELSIZE, 100));
    const QFont yTickFont = labelFont(m_props.integer(PEP_3242, 100));
    const QFont axisLabelFont = labelFont();
    const QString rightMargin = QString::fromStdString(m_props.text(PEP_RIGHTMARGIN));
    const QString bottomMargin = QString::fromStdString(m_props.text(PEP_BOTTOMMARGIN));
    QColor gridColour = text;
    gridColour.setAlpha(60);
    for (int k = 0; k < axes; ++k) {
        auto* rect = new QCPAxisRect(this, true);
        grid->addElement(k, 0, rect);
        rect->setBackground(QBrush(graphBack));
        rect->setMarginGroup(QCP::msLeft | QCP::msRight, group);
        for (QCPAxis* axis : rect->axes()) {
            axis->setBasePen(QPen(text));
            axis->setTickPen(QPen(text));
            axis->setSubTickPen(QPen(text));
            axis->setTickLabelColor(text);
            axis->setLabelColor(text);
            axis->setLabelFont(axisLabelFont);
            axis->grid()->setPen(QPen(gridColour, 0, Qt::DotLine));
            axis->grid()->setSubGridVisible(false);
        }
        QCPAxis* x = rect->axis(QCPAxis::atBottom);
        QCPAxis* y = rect->axis(QCPAxis::atLeft);
        for (QCPAxis* frame : {rect->axis(QCPAxis::atTop), rect->axis(QCPAxis::atRight)}) {
            frame->setVisible(true);
            frame->setTicks(false);
            frame->setTickLabels(false);
            frame->grid()->setVisible(false);
        }
        if (serial)
            x->setTicker(QSharedPointer<SerialDateTicker>::create());
        if (logX) {
            x->setScaleType(QCPAxis::stLogarithmic);
            x->setTicker(QSharedPointer<QCPAxisTickerLog>::create());
            x->grid()->setSubGridVisible(true);
            x->grid()->setSubGridPen(QPen(gridColour, 0, Qt::DotLine));
        }
        if (m_props.axisInteger(PEP_YLOGSCALE, k) == 1) {
            y->setScaleType(QCPAxis::stLogarithmic);
            y->setTicker(QSharedPointer<QCPAxisTickerLog>::create());
        }
        x->setTickLabelFont(xTickFont);
        y->setTickLabelFont(yTickFont);
        y->setLabel(QString::fromStdString(m_props.axisText(PEP_YAXISLABEL, k)));
        const bool bottom = k == axes - 1;
        x->setTickLabels(bottom && !m_hideXTickLabels);
        if (bottom) {
            x->setLabel(QString::fromStdString(m_props.text(PEP_XAXISLABEL)));
            if (m_hideXTickLabels) {
                // Room for the annotation labels that stand in for the tick labels; labels
                // written upwards under the axis need their whole length.
                const QFontMetrics metrics(xTickFont);
                int room = metrics.height() + 6;
                if (!bottomMargin.isEmpty())
                    room = std::max(room, metrics.horizontalAdvance(bottomMargin) + 8);
                for (const auto& l : m_props.texts(PEP_VLINELABELS)) {
                    const Label label = parseLabel(l);
                    if (label.place == QLatin1Char('B'))
                        room = std::max(room, metrics.horizontalAdvance(label.text) + 10);
                }
                // The axis label, when there is one, goes below them; without one the room is
                // plain padding.
                if (x->label().isEmpty())
                    x->setPadding(room);
                else
                    x->setLabelPadding(room);
            }
        }
        if (!rightMargin.isEmpty()) {
            rect->setAutoMargins(QCP::msLeft | QCP::msTop | QCP::msBottom);
            rect->setMargins(
                QMargins(0, 0, QFontMetrics(axisLabelFont).horizontalAdvance(rightMargin) + 10, 0));
        }
        m_rects.push_back(rect);
    }
    double total = 0;
    for (double share : shares)
        total += share;
    for (int k = 0; k < axes; ++k)
        grid->setRowStretchFactor(k, shares[k] / total);

    const QString table = QString::fromStdString(m_props.text(PEP_CURSORTABLE));
    double graphShare = 1.0;
    if (!parseTable(table).isEmpty()) {
        graphShare = std::clamp(m_props.real(PEP_GRAPHSHARE, 0.9), 0.2, 0.98);
        m_table = new TableElement(this, table, labelFont(m_props.integer(PEP_3243, 100)), text);
        m_table->setMarginGroup(QCP::msLeft | QCP::msRight, group);
        plotLayout()->addElement(row++, 0, m_table);
    }
    stretch.push_back(graphShare);
    if (m_table)
        stretch.push_back(1.0 - graphShare);
    for (int r = 0; r < static_cast<int>(stretch.size()); ++r)
        plotLayout()->setRowStretchFactor(r, stretch[r]);
    plotLayout()->setRowSpacing(0);
}

void ChartWidget::buildSubsets() {
    const int subsets = static_cast<int>(m_subsets.size());
    const std::vector<std::int32_t> colours = m_props.ints(PEP_SUBSETCOLORS);
    const std::vector<std::int32_t> lineTypes = m_props.ints(PEP_LINETYPES);
    const std::vector<std::int32_t> pointTypes = m_props.ints(PEP_POINTTYPES);
    const int forced = m_props.integer(PEP_FORCEDMETHOD, 0);

    // Bars of the subsets of one axis stand side by side within 80 % of the point spacing.
    std::vector<std::vector<int>> barsOfAxis(m_rects.size());
    std::vector<double> spacingOfAxis(m_rects.size(), 0.0);
    auto methodOf = [&](int s) { return m_props.axisInteger(PEP_PLOTMETHOD, axisOfSubset(s), 0); };
    for (int s = 0; s < subsets; ++s) {
        const int axis = axisOfSubset(s);
        if ((forced == 2 || forced == 4) || methodOf(s) != 1)
            continue;
        barsOfAxis[axis].push_back(s);
        const double spacing = m_subsets[s]->minSpacing;
        if (spacing > 0 && (spacingOfAxis[axis] == 0 || spacing < spacingOfAxis[axis]))
            spacingOfAxis[axis] = spacing;
    }

    for (int s = 0; s < subsets; ++s) {
        const int axis = axisOfSubset(s);
        QCPAxisRect* rect = m_rects[axis];
        QCPAxis* x = rect->axis(QCPAxis::atBottom);
        QCPAxis* y = rect->axis(QCPAxis::atLeft);
        const QColor colour = s < static_cast<int>(colours.size()) ? fromBgr(colours[s]) : defaultColour(s);
        const int lineType = s < static_cast<int>(lineTypes.size()) ? lineTypes[s] : 0;
        const Marker marker = markerOf(s < static_cast<int>(pointTypes.size()) ? pointTypes[s] : s % 12);
        const int method = methodOf(s);
        const bool pointsOnly = forced == 2 || forced == 4;
        const bool line = !pointsOnly && (method == 0 || method == 17 || method == 3 || method > 17 ||
                                          (method != 1 && method != 2));
        const bool markers = pointsOnly || method == 2 || method == 17;
        const bool bars = !pointsOnly && method == 1;
        const QSharedPointer<const SubsetData> data = m_subsets[s];

        if (line) {
            auto* graph = new QCPGraph(x, y);
            graph->setData(m_subsets[s]->line);
            graph->setAdaptiveSampling(true);
            graph->setPen(linePen(colour, lineType));
            if (method == 3) {
                QColor fill = colour;
                fill.setAlpha(150);
                graph->setBrush(fill);
            }
        }
        if (markers) {
            auto* plottable = new SubsetPlottable(x, y, data, SubsetPlottable::Mode::Markers);
            plottable->setColour(colour);
            plottable->setScatter(marker.shape, marker.solid, forced == 4 ? 15 : (method == 17 ? 6 : 8));
        }
        if (bars) {
            const auto& group = barsOfAxis[axis];
            const auto position = std::find(group.begin(), group.end(), s) - group.begin();
            const double spacing = spacingOfAxis[axis] > 0 ? spacingOfAxis[axis] : 1.0;
            const double width = spacing * 0.8 / static_cast<double>(group.size());
            auto* plottable = new SubsetPlottable(x, y, data, SubsetPlottable::Mode::Bars);
            plottable->setColour(colour);
            plottable->setBarGeometry(width, -spacing * 0.4 + width * (static_cast<double>(position) + 0.5));
        }
    }
}

QCPRange ChartWidget::fullXRange() const {
    const bool logX = m_props.integer(PEP_XLOGSCALE) == 1;
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    bool bars = false;
    bool linesOnly = true;
    double spacing = 0;
    const int forced = m_props.integer(PEP_FORCEDMETHOD, 0);
    for (int s = 0; s < static_cast<int>(m_subsets.size()); ++s) {
        const SubsetData& d = *m_subsets[s];
        if (!d.hasData)
            continue;
        const double low = logX ? d.minPositiveX : d.minX;
        if (logX && low <= 0)
            continue;
        lo = std::min(lo, low);
        hi = std::max(hi, d.maxX);
        const int method = m_props.axisInteger(PEP_PLOTMETHOD, axisOfSubset(s), 0);
        if (forced == 0 && method == 1) {
            bars = true;
            if (d.minSpacing > 0 && (spacing == 0 || d.minSpacing < spacing))
                spacing = d.minSpacing;
        }
        linesOnly = linesOnly && forced == 0 && (method == 0 || method == 3);
    }
    auto include = [&](double v) {
        if (std::isfinite(v) && (!logX || v > 0)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    };
    for (double v : m_props.doubles(PEP_VLINEX))
        include(v);
    const std::vector<double>& gx = m_props.doubles(PEP_GANNOTX);
    for (double v : gx)
        include(v);
    if (!(lo <= hi))
        return logX ? QCPRange(0.1, 10) : QCPRange(0, 1);
    if (logX)
        return lo == hi ? QCPRange(lo / 10, hi * 10) : QCPRange(lo / 1.3, hi * 1.3);
    if (lo == hi) {
        const double pad =
            m_props.integer(PEP_XSERIALDATES) == 1 ? 1.0 / 24 : std::max(0.5, std::fabs(lo) * 0.1);
        return QCPRange(lo - pad, hi + pad);
    }
    if (bars) {
        const double pad = spacing > 0 ? spacing / 2 : (hi - lo) * 0.05;
        return QCPRange(lo - pad, hi + pad);
    }
    if (!linesOnly) {
        const double pad = (hi - lo) * 0.03;
        return QCPRange(lo - pad, hi + pad);
    }
    return QCPRange(lo, hi);
}

QCPRange ChartWidget::fullYRange(int axis) const {
    const bool logY = m_props.axisInteger(PEP_YLOGSCALE, axis) == 1;
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    const int forced = m_props.integer(PEP_FORCEDMETHOD, 0);
    const bool bars = forced == 0 && m_props.axisInteger(PEP_PLOTMETHOD, axis, 0) == 1;
    for (int s = 0; s < static_cast<int>(m_subsets.size()); ++s) {
        const SubsetData& d = *m_subsets[s];
        if (axisOfSubset(s) != axis || !d.hasData)
            continue;
        const double low = logY ? d.minPositiveY : d.minY;
        if (logY && low <= 0)
            continue;
        lo = std::min(lo, low);
        hi = std::max(hi, d.maxY);
    }
    if (axis == 0) {
        for (double v : m_props.doubles(PEP_GANNOTY))
            if (std::isfinite(v) && (!logY || v > 0)) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
    }
    if (!(lo <= hi))
        return logY ? QCPRange(0.1, 10) : QCPRange(0, 1);
    if (bars && !logY) {
        lo = std::min(lo, 0.0);
        hi = std::max(hi, 0.0);
    }
    if (logY)
        return QCPRange(lo / 1.5, hi * 1.5);
    if (lo == hi) {
        const double pad = lo == 0 ? 1.0 : std::fabs(lo) * 0.1;
        return QCPRange(lo - pad, hi + pad);
    }
    const double pad = (hi - lo) * 0.05;
    return QCPRange(bars && lo == 0 ? 0 : lo - pad, bars && hi == 0 ? 0 : hi + pad);
}

void ChartWidget::setXRange(const QCPRange& range) {
    for (QCPAxisRect* rect : m_rects)
        rect->axis(QCPAxis::atBottom)->setRange(range);
}

void ChartWidget::applyRanges() {
    const bool zoomed = m_props.integer(PEP_ZOOMED) != 0;
    QCPRange x = fullXRange();
    if (m_props.integer(PEP_MANUALXSCALE) == 1 &&
        validRange(m_props.real(PEP_MANUALXMIN), m_props.real(PEP_MANUALXMAX)))
        x = QCPRange(m_props.real(PEP_MANUALXMIN), m_props.real(PEP_MANUALXMAX));
    if (zoomed && validRange(m_props.real(PEP_ZOOMXMIN), m_props.real(PEP_ZOOMXMAX)))
        x = QCPRange(m_props.real(PEP_ZOOMXMIN), m_props.real(PEP_ZOOMXMAX));
    setXRange(x);
    if (m_zoomAxis >= axisCount())
        m_zoomAxis = 0;
    for (int k = 0; k < axisCount(); ++k) {
        QCPRange y = fullYRange(k);
        if (m_props.axisInteger(PEP_MANUALYSCALE, k) == 1 &&
            validRange(m_props.axisReal(PEP_MANUALYMIN, k), m_props.axisReal(PEP_MANUALYMAX, k)))
            y = QCPRange(m_props.axisReal(PEP_MANUALYMIN, k), m_props.axisReal(PEP_MANUALYMAX, k));
        if (zoomed && k == m_zoomAxis && validRange(m_props.real(PEP_ZOOMYMIN), m_props.real(PEP_ZOOMYMAX)))
            y = QCPRange(m_props.real(PEP_ZOOMYMIN), m_props.real(PEP_ZOOMYMAX));
        m_rects[k]->axis(QCPAxis::atLeft)->setRange(y);
    }
}

void ChartWidget::updateTickCounts() {
    for (QCPAxisRect* rect : m_rects) {
        QCPAxis* x = rect->axis(QCPAxis::atBottom);
        if (auto ticker = x->ticker().dynamicCast<SerialDateTicker>())
            ticker->setTickCount(std::clamp(width() / 140, 2, 12));
        else if (x->scaleType() == QCPAxis::stLinear)
            x->ticker()->setTickCount(std::clamp(width() / 90, 3, 10));
        rect->axis(QCPAxis::atLeft)->ticker()->setTickCount(std::clamp(rect->height() / 40, 2, 6));
    }
}

} // namespace chartlib
