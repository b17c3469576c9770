#include "ChartWidget.h"

#include "PEApi.h"
#include "SerialDateTicker.h"
#include "SubsetPlottable.h"
#include "TextElements.h"
#include "UserInteraction.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRubberBand>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <limits>

namespace chartlib {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Pixels the mouse must travel before a press becomes a zoom drag.
constexpr int kDragThreshold = 4;
// Pixels around a click searched for the nearest point.
constexpr int kPickRadius = 24;

QColor fromBgr(std::int32_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    return QColor(static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF),
                  static_cast<int>((u >> 16) & 0xFF));
}

QRgb rgbFromBgr(std::int32_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    return qRgb(static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF),
                static_cast<int>((u >> 16) & 0xFF));
}

// Colours for subsets the caller gave none.
const QColor kDefaultColours[] = {Qt::blue,
                                  Qt::red,
                                  QColor(0, 128, 0),
                                  QColor(0, 0, 128),
                                  QColor(128, 128, 0),
                                  QColor(0, 128, 128),
                                  QColor(128, 0, 128),
                                  Qt::cyan,
                                  Qt::gray,
                                  Qt::green,
                                  Qt::darkGray,
                                  Qt::black};

QPen linePen(const QColor& colour, int type) {
    QPen pen(colour, 1.0);
    switch (type) {
    case 1:
        pen.setStyle(Qt::DashLine);
        break;
    case 2:
        pen.setStyle(Qt::DotLine);
        break;
    case 3:
        pen.setStyle(Qt::DashDotLine);
        break;
    case 4:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    case 5:
        pen.setWidthF(2.0);
        break;
    case 6:
        pen.setWidthF(3.0);
        break;
    default:
        break;
    }
    return pen;
}

struct Marker {
    QCPScatterStyle::ScatterShape shape;
    bool solid;
};

Marker markerOf(int type) {
    switch (type) {
    case 0:
        return {QCPScatterStyle::ssPlus, false};
    case 1:
        return {QCPScatterStyle::ssCross, false};
    case 2:
        return {QCPScatterStyle::ssCircle, false};
    case 3:
        return {QCPScatterStyle::ssDisc, true};
    case 4:
        return {QCPScatterStyle::ssSquare, false};
    case 5:
        return {QCPScatterStyle::ssSquare, true};
    case 6:
        return {QCPScatterStyle::ssDiamond, false};
    case 7:
        return {QCPScatterStyle::ssDiamond, true};
    case 8:
        return {QCPScatterStyle::ssTriangle, false};
    case 9:
        return {QCPScatterStyle::ssTriangle, true};
    case 10:
        return {QCPScatterStyle::ssTriangleInverted, false};
    case 11:
        return {QCPScatterStyle::ssTriangleInverted, true};
    default:
        return {QCPScatterStyle::ssDisc, true};
    }
}

// Annotation labels start with a placement code: "|h" on the horizontal axis, "|t" top,
// "|b" bottom, "|R" right end of a horizontal line, "|B" under the axis (written upwards).
struct Label {
    QChar place;
    QString text;
};

Label parseLabel(const std::string& raw) {
    QString text = QString::fromUtf8(raw.c_str());
    while (text.endsWith(QLatin1Char('\t')))
        text.chop(1);
    if (text.size() >= 2 && text[0] == QLatin1Char('|') && QStringLiteral("htbRB").contains(text[1]))
        return {text[1], text.mid(2)};
    return {QChar(), text};
}

bool validRange(double lo, double hi) {
    return std::isfinite(lo) && std::isfinite(hi) && lo < hi;
}

} // namespace

ChartWidget::ChartWidget(QWidget* parent) : QCustomPlot(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setNoAntialiasingOnDrag(true);
    setPlottingHint(QCP::phCacheLabels, true);
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
    const std::vector<double>& xs = m_props.doubles(PEP_XDATA);
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
        auto xAt = [&](int i) { return base + i < xs.size() ? xs[base + i] : kNaN; };
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
        QVector<QCPGraphData> line;
        pts.reserve(count);
        bool identity = true;
        bool broken = false;
        bool pendingGap = false;
        double lastKey = kNaN;
        data->minX = data->minY = std::numeric_limits<double>::infinity();
        data->maxX = data->maxY = -std::numeric_limits<double>::infinity();
        data->minPositiveX = data->minPositiveY = std::numeric_limits<double>::infinity();
        data->minSpacing = std::numeric_limits<double>::infinity();
        auto ensureLine = [&] {
            if (!broken) {
                broken = true;
                line = pts; // everything so far joined normally
            }
        };
        for (int k = 0; k < count; ++k) {
            const int i = sorted ? k : order[k];
            const double x = xAt(i);
            const double y = yAt(i);
            if (!goodX(x)) {
                pendingGap = true;
                continue;
            }
            if (!goodY(y)) {
                ensureLine();
                line.append(QCPGraphData(x, kNaN));
                identity = false;
                continue;
            }
            if (pendingGap || (maxGap > 0 && std::isfinite(lastKey) && x - lastKey > maxGap)) {
                ensureLine();
                line.append(QCPGraphData(std::isfinite(lastKey) ? (lastKey + x) / 2 : x, kNaN));
            }
            pendingGap = false;
            if (std::isfinite(lastKey) && x > lastKey)
                data->minSpacing = std::min(data->minSpacing, x - lastKey);
            lastKey = x;
            if (static_cast<int>(pts.size()) != i)
                identity = false;
            data->index.push_back(i);
            pts.append(QCPGraphData(x, y));
            if (broken)
                line.append(QCPGraphData(x, y));
            data->minX = std::min(data->minX, x);
            data->maxX = std::max(data->maxX, x);
            data->minY = std::min(data->minY, y);
            data->maxY = std::max(data->maxY, y);
            if (x > 0)
                data->minPositiveX = std::min(data->minPositiveX, x);
            if (y > 0)
                data->minPositiveY = std::min(data->minPositiveY, y);
        }
        if (identity)
            std::vector<int>().swap(data->index);
        data->hasData = !pts.isEmpty();
        if (!std::isfinite(data->minPositiveX))
            data->minPositiveX = 0;
        if (!std::isfinite(data->minPositiveY))
            data->minPositiveY = 0;
        if (!std::isfinite(data->minSpacing))
            data->minSpacing = 0;
        data->points = QSharedPointer<QCPGraphDataContainer>::create();
        data->points->add(pts, true);
        if (broken) {
            data->line = QSharedPointer<QCPGraphDataContainer>::create();
            data->line->add(line, true);
        } else {
            data->line = data->points;
        }
        m_subsets.push_back(data);
    }
}

void ChartWidget::rebuildColours() {
    const std::uint64_t stamp =
        std::max({m_dataStamp, m_props.version(PEP_POINTCOLORS), m_props.version(PEP_SUBSETCOLORS)});
    if (stamp == m_colourStamp)
        return;
    m_colourStamp = stamp;
    const PropertyStore::Value* value = m_props.find(PEP_POINTCOLORS);
    const std::vector<std::int32_t> empty;
    const std::vector<std::int32_t>& colours = value ? value->ints : empty;
    const std::vector<std::int32_t> subsetColours = m_props.ints(PEP_SUBSETCOLORS);
    const int points = pointCount();
    for (int s = 0; s < static_cast<int>(m_subsets.size()); ++s) {
        SubsetData& data = *m_subsets[s];
        data.colours.clear();
        const std::size_t base = static_cast<std::size_t>(s) * points;
        if (colours.size() <= base)
            continue;
        const QRgb own = s < static_cast<int>(subsetColours.size())
                             ? rgbFromBgr(subsetColours[s])
                             : kDefaultColours[s % std::size(kDefaultColours)].rgb();
        const int n = data.points->size();
        data.colours.resize(n);
        bool allOwn = true;
        for (int k = 0; k < n; ++k) {
            const std::size_t i = base + (data.index.empty() ? k : data.index[k]);
            const QRgb c = i < colours.size() ? rgbFromBgr(colours[i]) : own;
            data.colours[k] = c;
            allOwn = allOwn && c == own;
        }
        // One colour for the whole subset draws in a single batch without the per-point array.
        if (allOwn)
            std::vector<QRgb>().swap(data.colours);
    }
}

// ---------------------------------------------------------------------------------------------
// Scene

void ChartWidget::reinitialize() {
    rebuildData();
    rebuildColours();
    buildLayout();
    buildSubsets();
    buildAnnotations();
    applyRanges();
    buildCursor();
    updateTickCounts();
}

void ChartWidget::resetImage() {
    replot(QCustomPlot::rpImmediateRefresh);
}

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
        return s < static_cast<int>(colours.size()) ? fromBgr(colours[s])
                                                    : kDefaultColours[s % std::size(kDefaultColours)];
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
        const QColor colour = s < static_cast<int>(colours.size())
                                  ? fromBgr(colours[s])
                                  : kDefaultColours[s % std::size(kDefaultColours)];
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

void ChartWidget::buildAnnotations() {
    const QColor text = textColour();
    const QFont font = labelFont();
    const QFont tickFont = labelFont(m_props.integer(PEP_XLABELSIZE, 100));

    // Horizontal lines.
    const std::vector<double>& hy = m_props.doubles(PEP_HLINEY);
    const std::vector<std::int32_t> haxis = m_props.ints(PEP_HLINEAXIS);
    const std::vector<std::int32_t> htype = m_props.ints(PEP_HLINETYPES);
    const std::vector<std::int32_t> hcolour = m_props.ints(PEP_HLINECOLORS);
    const std::vector<std::string> hlabel = m_props.texts(PEP_HLINELABELS);
    for (std::size_t i = 0; i < hy.size(); ++i) {
        if (!std::isfinite(hy[i]))
            continue;
        int axis = i < haxis.size() ? haxis[i] : 0;
        if (axis < 0 || axis >= axisCount())
            axis = 0;
        QCPAxisRect* rect = m_rects[axis];
        const QColor colour = i < hcolour.size() ? fromBgr(hcolour[i]) : text;
        auto* line = new QCPItemLine(this);
        line->setClipAxisRect(rect);
        for (QCPItemPosition* p : {line->start, line->end}) {
            p->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
            p->setAxisRect(rect);
            p->setTypeX(QCPItemPosition::ptAxisRectRatio);
            p->setTypeY(QCPItemPosition::ptPlotCoords);
        }
        line->start->setCoords(0, hy[i]);
        line->end->setCoords(1, hy[i]);
        line->setPen(linePen(colour, i < htype.size() ? htype[i] : 0));
        if (i < hlabel.size() && !hlabel[i].empty()) {
            const Label label = parseLabel(hlabel[i]);
            auto* item = new QCPItemText(this);
            item->setClipAxisRect(rect);
            item->position->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
            item->position->setAxisRect(rect);
            item->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
            item->position->setTypeY(QCPItemPosition::ptPlotCoords);
            item->setText(label.text);
            item->setFont(font);
            item->setColor(colour);
            if (label.place == QLatin1Char('R')) {
                item->setClipToAxisRect(false);
                item->position->setCoords(1, hy[i]);
                item->setPositionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                item->setPadding(QMargins(4, 0, 0, 0));
            } else {
                item->position->setCoords(0, hy[i]);
                item->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
                item->setPadding(QMargins(3, 0, 0, 1));
            }
        }
    }

    // Vertical lines: drawn through every stacked axis; labels once, at the top or the bottom.
    const std::vector<double>& vx = m_props.doubles(PEP_VLINEX);
    const std::vector<std::int32_t> vtype = m_props.ints(PEP_VLINETYPES);
    const std::vector<std::int32_t> vcolour = m_props.ints(PEP_VLINECOLORS);
    const std::vector<std::string> vlabel = m_props.texts(PEP_VLINELABELS);
    for (std::size_t i = 0; i < vx.size(); ++i) {
        if (!std::isfinite(vx[i]))
            continue;
        const int type = i < vtype.size() ? vtype[i] : 0;
        const QColor colour = i < vcolour.size() ? fromBgr(vcolour[i]) : text;
        if (type != 7) {
            for (QCPAxisRect* rect : m_rects) {
                auto* line = new QCPItemLine(this);
                line->setClipAxisRect(rect);
                for (QCPItemPosition* p : {line->start, line->end}) {
                    p->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
                    p->setAxisRect(rect);
                    p->setTypeX(QCPItemPosition::ptPlotCoords);
                    p->setTypeY(QCPItemPosition::ptAxisRectRatio);
                }
                line->start->setCoords(vx[i], 0);
                line->end->setCoords(vx[i], 1);
                line->setPen(linePen(colour, type));
            }
        }
        if (i >= vlabel.size() || vlabel[i].empty())
            continue;
        const Label label = parseLabel(vlabel[i]);
        const bool top = label.place == QLatin1Char('t') || label.place.isNull();
        QCPAxisRect* rect = top ? m_rects.front() : m_rects.back();
        auto* item = new QCPItemText(this);
        item->setClipAxisRect(rect);
        item->position->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
        item->position->setAxisRect(rect);
        item->position->setTypeX(QCPItemPosition::ptPlotCoords);
        item->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        item->setText(label.text);
        item->setColor(type == 7 ? text : colour);
        item->setFont(font);
        if (label.place == QLatin1Char('h')) {
            item->setClipToAxisRect(false);
            item->setFont(tickFont);
            item->setColor(text);
            item->position->setCoords(vx[i], 1);
            item->setPositionAlignment(Qt::AlignTop | Qt::AlignHCenter);
            item->setPadding(QMargins(0, 4, 0, 0));
        } else if (label.place == QLatin1Char('B')) {
            item->setClipToAxisRect(false);
            item->setFont(tickFont);
            item->setColor(text);
            item->position->setCoords(vx[i], 1);
            item->setRotation(-90);
            item->setPositionAlignment(Qt::AlignRight | Qt::AlignVCenter);
            item->setPadding(QMargins(0, 0, 5, 0));
        } else if (label.place == QLatin1Char('b')) {
            // Beside the line rather than over it.
            item->position->setCoords(vx[i], 1);
            item->setPositionAlignment(Qt::AlignBottom | (type == 7 ? Qt::AlignHCenter : Qt::AlignLeft));
            item->setPadding(QMargins(4, 0, 2, 3));
        } else {
            item->position->setCoords(vx[i], 0);
            item->setPositionAlignment(Qt::AlignTop | (type == 7 ? Qt::AlignHCenter : Qt::AlignLeft));
            item->setPadding(QMargins(4, 3, 2, 0));
        }
    }

    // Graph annotations: polylines on the first axis, 38 starting one and 45 continuing it.
    const std::vector<double>& gx = m_props.doubles(PEP_GANNOTX);
    const std::vector<double>& gy = m_props.doubles(PEP_GANNOTY);
    const std::vector<std::int32_t> gtype = m_props.ints(PEP_GANNOTTYPES);
    const std::vector<std::int32_t> gcolour = m_props.ints(PEP_GANNOTCOLORS);
    const std::size_t count = std::min(gx.size(), gy.size());
    QCPAxisRect* rect = m_rects.front();
    QCPCurve* curve = nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        if (!std::isfinite(gx[i]) || !std::isfinite(gy[i]))
            continue;
        const int type = i < gtype.size() ? gtype[i] : 38;
        const QColor colour = i < gcolour.size() ? fromBgr(gcolour[i]) : text;
        if (type != 45 || curve == nullptr) {
            curve = new QCPCurve(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
            curve->setPen(QPen(colour, 1.5));
            curve->setAntialiased(true);
            if (type != 38 && type != 45) {
                // Any other type marks a single point.
                curve->setLineStyle(QCPCurve::lsNone);
                curve->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, colour, colour, 6));
            }
        }
        curve->addData(static_cast<double>(curve->dataCount()), gx[i], gy[i]);
        if (type != 38 && type != 45)
            curve = nullptr;
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

void ChartWidget::buildCursor() {
    for (QCPAbstractItem* item : m_cursorItems)
        removeItem(item);
    m_cursorItems.clear();
    const int mode = m_props.integer(PEP_CURSORMODE, 0);
    const int subset = m_props.integer(PEP_CURSORSUBSET, 0);
    const int point = m_props.integer(PEP_CURSORPOINT, 0);
    const int points = pointCount();
    const std::vector<double>& xs = m_props.doubles(PEP_XDATA);
    const std::vector<double>& ys = m_props.doubles(PEP_YDATA);
    const QColor text = textColour();
    QCPAxisRect* rect = axisRectOf(axisOfSubset(subset));
    if (rect == nullptr)
        return;
    auto attach = [&](QCPItemPosition* p) {
        p->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
        p->setAxisRect(rect);
    };

    const std::size_t at = static_cast<std::size_t>(subset) * points + point;
    const bool valid = mode != 0 && subset >= 0 && subset < subsetCount() && point >= 0 && point < points &&
                       at < xs.size() && at < ys.size() && std::isfinite(xs[at]) && std::isfinite(ys[at]) &&
                       !(m_props.find(PEP_NULLX) && xs[at] == m_props.real(PEP_NULLX)) &&
                       !(m_props.find(PEP_NULLY) && ys[at] == m_props.real(PEP_NULLY));
    if (valid) {
        const double x = xs[at];
        const double y = ys[at];
        if (mode == 1) {
            auto* line = new QCPItemStraightLine(this);
            line->setClipAxisRect(rect);
            attach(line->point1);
            attach(line->point2);
            line->point1->setCoords(x, y);
            line->point2->setCoords(x, y + 1);
            line->setPen(QPen(text, 1));
            m_cursorItems.push_back(line);
        } else {
            auto* tracer = new QCPItemTracer(this);
            tracer->setClipAxisRect(rect);
            attach(tracer->position);
            tracer->position->setCoords(x, y);
            tracer->setStyle(mode == 3 ? QCPItemTracer::tsSquare : QCPItemTracer::tsCrosshair);
            tracer->setSize(12);
            tracer->setPen(QPen(text, 1));
            m_cursorItems.push_back(tracer);
        }
    }
    // The mark a print puts on the point under the cursor.
    const int markSize = m_props.integer(PEP_MARKSIZE, 0);
    if (markSize > 0 && std::isfinite(m_props.real(PEP_MARKX)) && std::isfinite(m_props.real(PEP_MARKY))) {
        auto* mark = new QCPItemTracer(this);
        mark->setClipAxisRect(rect);
        attach(mark->position);
        mark->position->setCoords(m_props.real(PEP_MARKX), m_props.real(PEP_MARKY));
        mark->setStyle(QCPItemTracer::tsCircle);
        mark->setSize(std::min(markSize, 200));
        mark->setPen(QPen(text, 2));
        m_cursorItems.push_back(mark);
    }
}

// ---------------------------------------------------------------------------------------------
// Interaction

bool ChartWidget::notify(int code) {
    // The parent may close its window, and with it this chart, while it handles the event.
    QPointer<ChartWidget> alive(this);
    if (QWidget* target = parentWidget()) {
        PENotifyEvent event(this, code);
        QCoreApplication::sendEvent(target, &event);
    }
    return !alive.isNull();
}

void ChartWidget::afterNotify(std::uint64_t tableVersion) {
    // A parent that answers a cursor move by writing a new read-out sees it at once.
    if (m_props.version(PEP_CURSORTABLE) == tableVersion)
        return;
    const QString table = QString::fromStdString(m_props.text(PEP_CURSORTABLE));
    if (m_table != nullptr) {
        m_table->setTable(table);
    } else {
        reinitialize();
    }
    replot();
}

int ChartWidget::rectAt(const QPoint& pos) const {
    for (int k = 0; k < axisCount(); ++k)
        if (m_rects[k]->rect().contains(pos))
            return k;
    return -1;
}

bool ChartWidget::moveCursor(int subset, int point) {
    m_props.setInteger(PEP_CURSORSUBSET, subset);
    m_props.setInteger(PEP_CURSORPOINT, point);
    buildCursor();
    replot();
    const std::uint64_t table = m_props.version(PEP_CURSORTABLE);
    if (!notify(PEN_CURSORMOVED))
        return false;
    afterNotify(table);
    return true;
}

void ChartWidget::clickAt(const QPoint& pos) {
    // Points on the frame of the graph (the first and last of a line) are clicked on its edge.
    int axis = rectAt(pos);
    for (int k = 0; k < axisCount() && axis < 0; ++k)
        if (m_rects[k]
                ->rect()
                .adjusted(-kDragThreshold, -kDragThreshold, kDragThreshold, kDragThreshold)
                .contains(pos))
            axis = k;
    if (axis < 0)
        return;
    QCPAxisRect* rect = m_rects[axis];
    QCPAxis* xAxis = rect->axis(QCPAxis::atBottom);
    QCPAxis* yAxis = rect->axis(QCPAxis::atLeft);
    double best = std::numeric_limits<double>::infinity();
    int bestSubset = -1;
    int bestPoint = -1;
    for (int s = 0; s < static_cast<int>(m_subsets.size()); ++s) {
        const SubsetData& d = *m_subsets[s];
        if (axisOfSubset(s) != axis || !d.hasData)
            continue;
        const auto& points = *d.points;
        double lo = xAxis->pixelToCoord(pos.x() - kPickRadius);
        double hi = xAxis->pixelToCoord(pos.x() + kPickRadius);
        if (lo > hi)
            std::swap(lo, hi);
        auto first = points.findBegin(lo, false);
        auto last = points.findEnd(hi, false);
        if (last - first > 4000 || first == last) {
            // Dense data or nothing near: the points on either side of the click's x.
            const auto at = points.findBegin(xAxis->pixelToCoord(pos.x()), false);
            first = at - std::min<qsizetype>(2, at - points.constBegin());
            last = at + std::min<qsizetype>(2, points.constEnd() - at);
        }
        for (auto it = first; it != last; ++it) {
            const double dx = xAxis->coordToPixel(it->key) - pos.x();
            const double dy = yAxis->coordToPixel(it->value) - pos.y();
            const double distance = dx * dx + dy * dy;
            if (std::isfinite(distance) && distance < best) {
                best = distance;
                bestSubset = s;
                const int k = static_cast<int>(it - points.constBegin());
                bestPoint = d.index.empty() ? k : d.index[k];
            }
        }
    }
    if (bestSubset >= 0)
        moveCursor(bestSubset, bestPoint);
}

void ChartWidget::zoomTo(const QRect& pixels) {
    int axis = rectAt(pixels.center());
    if (axis < 0)
        axis = rectAt(m_pressPos);
    if (axis < 0)
        return;
    QCPAxisRect* rect = m_rects[axis];
    const QRect area = pixels.intersected(rect->rect());
    if (area.width() < 2 || area.height() < 2)
        return;
    QCPAxis* xAxis = rect->axis(QCPAxis::atBottom);
    QCPAxis* yAxis = rect->axis(QCPAxis::atLeft);
    QCPRange x(xAxis->pixelToCoord(area.left()), xAxis->pixelToCoord(area.right()));
    QCPRange y(yAxis->pixelToCoord(area.bottom()), yAxis->pixelToCoord(area.top()));
    x.normalize();
    y.normalize();
    m_zoomAxis = axis;
    setXRange(x);
    yAxis->setRange(y);
    m_props.setInteger(PEP_ZOOMED, 1);
    const double extents[] = {x.lower, x.upper, y.lower, y.upper};
    const int properties[] = {PEP_ZOOMXMIN, PEP_ZOOMXMAX, PEP_ZOOMYMIN, PEP_ZOOMYMAX};
    for (int i = 0; i < 4; ++i)
        m_props.setArray(properties[i], &extents[i], 1);
    replot();
    const std::uint64_t table = m_props.version(PEP_CURSORTABLE);
    if (notify(PEN_ZOOMDONE))
        afterNotify(table);
}

void ChartWidget::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::RightButton) {
        event->accept();
        notify(PEN_RIGHTCLICK);
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_pressPos = event->position().toPoint();
        m_pressed = true;
    }
    event->accept();
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressed)
        return;
    const QPoint pos = event->position().toPoint();
    if ((pos - m_pressPos).manhattanLength() <= kDragThreshold)
        return;
    if (m_band == nullptr)
        m_band = new QRubberBand(QRubberBand::Rectangle, this);
    m_band->setGeometry(QRect(m_pressPos, pos).normalized());
    m_band->show();
    event->accept();
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    const QPoint pos = event->position().toPoint();
    if (m_band != nullptr)
        m_band->hide();
    event->accept();
    if ((pos - m_pressPos).manhattanLength() > kDragThreshold)
        zoomTo(QRect(m_pressPos, pos).normalized());
    else
        clickAt(pos);
}

void ChartWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void ChartWidget::wheelEvent(QWheelEvent* event) {
    event->accept();
}

int ChartWidget::virtualKey(int key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

void ChartWidget::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    m_props.setInteger(PEP_LASTKEY, virtualKey(key));
    const int subsets = subsetCount();
    const int points = pointCount();
    int subset = std::clamp(m_props.integer(PEP_CURSORSUBSET, 0), 0, std::max(0, subsets - 1));
    int point = std::clamp(m_props.integer(PEP_CURSORPOINT, 0), 0, std::max(0, points - 1));
    if (subsets > 0 && points > 0 &&
        (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down)) {
        if (key == Qt::Key_Up)
            subset = std::max(0, subset - 1);
        else if (key == Qt::Key_Down)
            subset = std::min(subsets - 1, subset + 1);
        else {
            // The next point of the subset that is drawn, skipping null values.
            const std::vector<double>& xs = m_props.doubles(PEP_XDATA);
            const std::vector<double>& ys = m_props.doubles(PEP_YDATA);
            const bool nx = m_props.find(PEP_NULLX) != nullptr;
            const bool ny = m_props.find(PEP_NULLY) != nullptr;
            const double nullX = m_props.real(PEP_NULLX);
            const double nullY = m_props.real(PEP_NULLY);
            const int step = key == Qt::Key_Right ? 1 : -1;
            for (int p = point + step; p >= 0 && p < points; p += step) {
                const std::size_t at = static_cast<std::size_t>(subset) * points + p;
                if (at >= xs.size() || at >= ys.size())
                    break;
                if (std::isfinite(xs[at]) && std::isfinite(ys[at]) && !(nx && xs[at] == nullX) &&
                    !(ny && ys[at] == nullY)) {
                    point = p;
                    break;
                }
            }
        }
        if (!moveCursor(subset, point))
            return;
    }
    event->accept();
    notify(PEN_KEY);
}

void ChartWidget::resizeEvent(QResizeEvent* event) {
    QCustomPlot::resizeEvent(event);
    updateTickCounts();
}

// ---------------------------------------------------------------------------------------------
// Output

const QPicture* ChartWidget::meta() {
    const QRect target = m_metaTarget.isValid() ? m_metaTarget : QRect(0, 0, width(), height());
    m_meta = QPicture();
    QCPPainter painter(&m_meta);
    painter.translate(target.topLeft());
    toPainter(&painter, target.width(), target.height());
    painter.end();
    return &m_meta;
}

bool ChartWidget::print(QPrinter* printer, bool landscape) {
    std::unique_ptr<QPrinter> own;
    if (printer == nullptr) {
        if (QPrinterInfo::defaultPrinter().isNull())
            return false;
        own = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = own.get();
    }
    if (landscape)
        printer->setPageOrientation(QPageLayout::Landscape);
    QCPPainter painter;
    if (!painter.begin(printer))
        return false;
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    // Lay the chart out at screen size scaled to the page, so fonts keep their proportions.
    const double scale = std::max(1.0, printer->resolution() / 96.0);
    painter.scale(scale, scale);
    toPainter(&painter, static_cast<int>(page.width() / scale), static_cast<int>(page.height() / scale));
    painter.end();
    return true;
}

bool ChartWidget::launchPrintDialog(bool fullPage, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(fullPage);
    QPrintDialog dialog(&printer, parent != nullptr ? parent : this);
    if (host::DialogRunner::exec(dialog) != QDialog::Accepted)
        return false;
    return print(&printer, false);
}

bool ChartWidget::saveToFile(const QString& path, int format) {
    if (format != 0 && format != 1)
        return false;
    replot(QCustomPlot::rpImmediateRefresh);
    const QImage image = grab().toImage().convertToFormat(QImage::Format_RGB888);
    // Written beside the target and renamed over it, so a failed write never loses the old file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!image.save(&file, format == 0 ? "BMP" : "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace chartlib
