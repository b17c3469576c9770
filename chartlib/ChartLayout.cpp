// Layout and axes: titles, legend line and tables around the stacked axis rectangles, the
// subsets' plottables, the ranges of every axis and their tick density.

#include "ChartWidget.h"

#include "AxisTickers.h"
#include "ChartStyle.h"
#include "GappedLineGraph.h"
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
    m_cursorLine = nullptr;
    m_cursorTracer = nullptr;
    m_printMark = nullptr;
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
    const std::vector<Label> vlabels = parseLabels(m_props.texts(PEP_VLINELABELS));
    for (const Label& label : vlabels)
        m_hideXTickLabels = m_hideXTickLabels || label.place == PELP_XAXIS || label.place == PELP_UNDERAXIS;

    auto* grid = new QCPLayoutGrid;
    plotLayout()->addElement(row++, 0, grid);
    grid->setRowSpacing(6);
    auto* group = new QCPMarginGroup(this);
    const bool serial = m_props.integer(PEP_XSERIALDATES) == 1;
    const bool logX = m_props.integer(PEP_XLOGSCALE) == 1;
    const QFont xTickFont = labelFont(m_props.integer(PEP_XLABELSIZE, 100));
    const QFont yTickFont = labelFont(m_props.integer(PEP_YLABELSIZE, 100));
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
        // Tick density follows each axis's length: about one tick per 90 pixels across (140 for
        // dates, whose labels are wider) and one per 40 pixels up.
        if (logX) {
            x->setScaleType(QCPAxis::stLogarithmic);
            auto ticker = QSharedPointer<DecadeTicker>::create();
            ticker->attach(x, 90, 2, 10);
            x->setTicker(ticker);
            x->grid()->setSubGridVisible(true);
            x->grid()->setSubGridPen(QPen(gridColour, 0, Qt::DotLine));
        } else if (serial) {
            auto ticker = QSharedPointer<SerialDateTicker>::create();
            ticker->attach(x, 140, 2, 12);
            x->setTicker(ticker);
        } else {
            auto ticker = QSharedPointer<ValueTicker>::create();
            ticker->attach(x, 90, 3, 10);
            x->setTicker(ticker);
        }
        if (m_props.axisInteger(PEP_YLOGSCALE, k) == 1) {
            y->setScaleType(QCPAxis::stLogarithmic);
            auto ticker = QSharedPointer<DecadeTicker>::create();
            ticker->attach(y, 40, 2, 6);
            y->setTicker(ticker);
        } else {
            auto ticker = QSharedPointer<ValueTicker>::create();
            ticker->attach(y, 40, 2, 6);
            if (const PropertyStore::Value* values = m_props.axisFind(PEP_YTICKVALUES, k)) {
                QVector<QString> labels;
                if (const PropertyStore::Value* texts = m_props.axisFind(PEP_YTICKLABELS, k))
                    for (const std::string& t : texts->texts)
                        labels.append(QString::fromStdString(t));
                ticker->setFixedTicks(QVector<double>(values->doubles.begin(), values->doubles.end()),
                                      labels);
            }
            y->setTicker(ticker);
        }
        if (m_props.axisInteger(PEP_YHIDETICKS, k) == 1) {
            // The window draws its own labelled lines; raw numbers would contradict them.
            y->setTicks(false);
            y->setTickLabels(false);
            y->grid()->setVisible(false);
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
                for (const Label& label : vlabels) {
                    if (label.place == PELP_UNDERAXIS)
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
    m_tableStamp = m_props.version(PEP_CURSORTABLE);
    double graphShare = 1.0;
    if (!parseTable(table).isEmpty()) {
        graphShare = std::clamp(m_props.real(PEP_GRAPHSHARE, 0.9), 0.2, 0.98);
        m_table = new TableElement(this, table, labelFont(m_props.integer(PEP_TABLETEXTSIZE, 100)), text);
        m_table->setMarginGroup(QCP::msLeft | QCP::msRight, group);
        m_table->setLayer(m_cursorLayer);
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
    const int forced = m_props.integer(PEP_FORCEDMETHOD, PEMF_PERAXIS);
    const bool pointsOnly = forced == PEMF_POINTS || forced == PEMF_LARGEPOINTS;

    // Bars of the subsets of one axis stand side by side within 80 % of the point spacing.
    std::vector<std::vector<int>> barsOfAxis(m_rects.size());
    std::vector<double> spacingOfAxis(m_rects.size(), 0.0);
    auto methodOf = [&](int s) { return m_props.axisInteger(PEP_PLOTMETHOD, axisOfSubset(s), PEMD_LINE); };
    for (int s = 0; s < subsets; ++s) {
        const int axis = axisOfSubset(s);
        if (pointsOnly || methodOf(s) != PEMD_BARS)
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
        const int lineType = s < static_cast<int>(lineTypes.size()) ? lineTypes[s] : PELT_THIN;
        const Marker marker = markerOf(s < static_cast<int>(pointTypes.size()) ? pointTypes[s] : s % 12);
        const int method = methodOf(s);
        // Unknown methods draw a line.
        const bool bars = !pointsOnly && method == PEMD_BARS;
        const bool markers = pointsOnly || method == PEMD_POINTS || method == PEMD_LINEWITHPOINTS;
        const bool line = !pointsOnly && !bars && method != PEMD_POINTS;
        const QSharedPointer<const SubsetData> data = m_subsets[s];

        if (line) {
            const QPen pen = linePen(colour, lineType);
            auto* graph = new GappedLineGraph(x, y, data);
            graph->setPen(pen);
            if (method == PEMD_AREA) {
                QColor fill = colour;
                fill.setAlpha(150);
                graph->setBrush(fill);
            }
            if (!data->offColour.empty()) {
                auto* stretches = new SubsetPlottable(x, y, data, SubsetPlottable::Mode::LineStretches);
                stretches->setColour(colour);
                stretches->setLinePen(pen);
            }
            if (!markers && !data->isolated.empty()) {
                // A point the line cannot reach is still shown.
                auto* lone = new SubsetPlottable(x, y, data, SubsetPlottable::Mode::LoneMarkers);
                lone->setColour(colour);
                lone->setScatter(marker.shape, marker.solid, 6);
            }
        }
        if (markers) {
            auto* plottable = new SubsetPlottable(x, y, data, SubsetPlottable::Mode::Markers);
            plottable->setColour(colour);
            plottable->setScatter(marker.shape, marker.solid,
                                  forced == PEMF_LARGEPOINTS ? 15 : (method == PEMD_LINEWITHPOINTS ? 6 : 8));
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
    const int forced = m_props.integer(PEP_FORCEDMETHOD, PEMF_PERAXIS);
    for (int s = 0; s < static_cast<int>(m_subsets.size()); ++s) {
        const SubsetData& d = *m_subsets[s];
        if (!d.hasData)
            continue;
        const double low = logX ? d.minPositiveX : d.minX;
        if (logX && low <= 0)
            continue;
        lo = std::min(lo, low);
        hi = std::max(hi, d.maxX);
        const int method = m_props.axisInteger(PEP_PLOTMETHOD, axisOfSubset(s), PEMD_LINE);
        if (forced == PEMF_PERAXIS && method == PEMD_BARS) {
            bars = true;
            if (d.minSpacing > 0 && (spacing == 0 || d.minSpacing < spacing))
                spacing = d.minSpacing;
        }
        // Markers of points the line does not reach need room at the ends, as markers always do.
        linesOnly = linesOnly && forced == PEMF_PERAXIS && (method == PEMD_LINE || method == PEMD_AREA) &&
                    d.isolated.empty();
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
    const int method = m_props.axisInteger(PEP_PLOTMETHOD, axis, PEMD_LINE);
    // Bars and areas stand on zero.
    const bool fromZero = m_props.integer(PEP_FORCEDMETHOD, PEMF_PERAXIS) == PEMF_PERAXIS &&
                          (method == PEMD_BARS || method == PEMD_AREA);
    auto include = [&](double v) {
        if (std::isfinite(v) && (!logY || v > 0)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    };
    for (int s = 0; s < static_cast<int>(m_subsets.size()); ++s) {
        const SubsetData& d = *m_subsets[s];
        if (axisOfSubset(s) != axis || !d.hasData)
            continue;
        include(logY ? d.minPositiveY : d.minY);
        include(d.maxY);
    }
    // A limit line belongs to what the axis must show, even beyond the data. Graph annotations
    // do not stretch the scale: curves and limit marks may run far beyond what is measured.
    const std::vector<double>& hy = m_props.doubles(PEP_HLINEY);
    const std::vector<std::int32_t> haxis = m_props.ints(PEP_HLINEAXIS);
    for (std::size_t i = 0; i < hy.size(); ++i)
        if (annotationAxis(haxis, i) == axis)
            include(hy[i]);
    if (!(lo <= hi))
        return logY ? QCPRange(0.1, 10) : QCPRange(0, 1);
    if (fromZero && !logY) {
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
    return QCPRange(fromZero && lo == 0 ? 0 : lo - pad, fromZero && hi == 0 ? 0 : hi + pad);
}

void ChartWidget::setXRange(const QCPRange& range) {
    for (QCPAxisRect* rect : m_rects)
        rect->axis(QCPAxis::atBottom)->setRange(range);
}

void ChartWidget::applyRanges() {
    m_sceneDirty = true;
    QCPRange x = fullXRange();
    if (m_props.integer(PEP_MANUALXSCALE) == 1 &&
        validRange(m_props.real(PEP_MANUALXMIN), m_props.real(PEP_MANUALXMAX)))
        x = QCPRange(m_props.real(PEP_MANUALXMIN), m_props.real(PEP_MANUALXMAX));
    std::vector<QCPRange> y(axisCount());
    for (int k = 0; k < axisCount(); ++k) {
        y[k] = fullYRange(k);
        if (m_props.axisInteger(PEP_MANUALYSCALE, k) == 1 &&
            validRange(m_props.axisReal(PEP_MANUALYMIN, k), m_props.axisReal(PEP_MANUALYMAX, k)))
            y[k] = QCPRange(m_props.axisReal(PEP_MANUALYMIN, k), m_props.axisReal(PEP_MANUALYMAX, k));
    }
    if (m_props.integer(PEP_ZOOMED) == 0) {
        m_zoomSteps.clear();
    } else if (validRange(m_props.real(PEP_ZOOMXMIN), m_props.real(PEP_ZOOMXMAX))) {
        const QCPRange zx(m_props.real(PEP_ZOOMXMIN), m_props.real(PEP_ZOOMXMAX));
        const QCPRange zy(m_props.real(PEP_ZOOMYMIN), m_props.real(PEP_ZOOMYMAX));
        const bool yValid = validRange(zy.lower, zy.upper);
        // The extents of a zoom made here come back when the parent steps back through its
        // zooms: that zoom's axis gets them, and every other axis the range it had then.
        auto same = [&](const ZoomStep& z) { return z.x == zx && z.y == zy; };
        const auto found = std::find_if(m_zoomSteps.rbegin(), m_zoomSteps.rend(), same);
        if (found != m_zoomSteps.rend()) {
            m_zoomSteps.erase(found.base(), m_zoomSteps.end());
            for (const ZoomStep& z : m_zoomSteps)
                if (z.axis < axisCount())
                    y[z.axis] = z.y;
        } else if (yValid) {
            y[m_zoomAxis < axisCount() ? m_zoomAxis : 0] = zy;
        }
        x = zx;
    }
    setXRange(x);
    for (int k = 0; k < axisCount(); ++k)
        m_rects[k]->axis(QCPAxis::atLeft)->setRange(y[k]);
}

void ChartWidget::updateLayout() {
    QCustomPlot::updateLayout();
    // Ticks are made before the layout places the axes; an axis that has just changed length
    // gets them again for its new length.
    for (QCPAxisRect* rect : m_rects)
        for (QCPAxis* axis : {rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft)})
            if (auto* length = dynamic_cast<AxisLength*>(axis->ticker().data()); length && length->stale()) {
                QCustomPlot::updateLayout();
                return;
            }
}

} // namespace chartlib
