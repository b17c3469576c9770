// Annotations: horizontal and vertical lines with their labels, and graph annotations.

#include "ChartWidget.h"

#include "ChartStyle.h"

#include <algorithm>
#include <cmath>

namespace chartlib {

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

} // namespace chartlib
