// Annotations: horizontal and vertical lines with their labels, and graph annotations.

#include "ChartWidget.h"

#include "ChartStyle.h"

#include <algorithm>
#include <cmath>

namespace chartlib {

int ChartWidget::annotationAxis(const std::vector<std::int32_t>& axes, std::size_t i) const {
    const int axis = i < axes.size() ? axes[i] : 0;
    return axis >= 0 && axis < axisCount() ? axis : 0;
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
    const std::vector<Label> hlabel = parseLabels(m_props.texts(PEP_HLINELABELS));
    for (std::size_t i = 0; i < hy.size(); ++i) {
        if (!std::isfinite(hy[i]))
            continue;
        QCPAxisRect* rect = m_rects[annotationAxis(haxis, i)];
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
        line->setPen(linePen(colour, i < htype.size() ? htype[i] : PELT_THIN));
        if (i < hlabel.size() && !hlabel[i].text.isEmpty()) {
            const Label& label = hlabel[i];
            auto* item = new QCPItemText(this);
            item->setClipAxisRect(rect);
            item->position->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
            item->position->setAxisRect(rect);
            item->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
            item->position->setTypeY(QCPItemPosition::ptPlotCoords);
            item->setText(label.text);
            item->setFont(font);
            item->setColor(colour);
            if (label.place == PELP_RIGHT) {
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
    const std::vector<Label> vlabel = parseLabels(m_props.texts(PEP_VLINELABELS));
    for (std::size_t i = 0; i < vx.size(); ++i) {
        if (!std::isfinite(vx[i]))
            continue;
        const int type = i < vtype.size() ? vtype[i] : PELT_THIN;
        const bool labelOnly = type == PELT_LABELONLY;
        const QColor colour = i < vcolour.size() ? fromBgr(vcolour[i]) : text;
        if (!labelOnly) {
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
        if (i >= vlabel.size() || vlabel[i].text.isEmpty())
            continue;
        const Label& label = vlabel[i];
        const bool top = label.place == PELP_TOP || label.place == 0;
        QCPAxisRect* rect = top ? m_rects.front() : m_rects.back();
        auto* item = new QCPItemText(this);
        item->setClipAxisRect(rect);
        item->position->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
        item->position->setAxisRect(rect);
        item->position->setTypeX(QCPItemPosition::ptPlotCoords);
        item->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        item->setText(label.text);
        item->setColor(labelOnly ? text : colour);
        item->setFont(font);
        const Qt::Alignment beside = labelOnly ? Qt::AlignHCenter : Qt::AlignLeft;
        switch (label.place) {
        case PELP_XAXIS:
            item->setClipToAxisRect(false);
            item->setFont(tickFont);
            item->setColor(text);
            item->position->setCoords(vx[i], 1);
            item->setPositionAlignment(Qt::AlignTop | Qt::AlignHCenter);
            item->setPadding(QMargins(0, 4, 0, 0));
            break;
        case PELP_UNDERAXIS:
            item->setClipToAxisRect(false);
            item->setFont(tickFont);
            item->setColor(text);
            item->position->setCoords(vx[i], 1);
            item->setRotation(-90);
            item->setPositionAlignment(Qt::AlignRight | Qt::AlignVCenter);
            item->setPadding(QMargins(0, 0, 5, 0));
            break;
        case PELP_BOTTOM:
            // Beside the line rather than over it.
            item->position->setCoords(vx[i], 1);
            item->setPositionAlignment(Qt::AlignBottom | beside);
            item->setPadding(QMargins(4, 0, 2, 3));
            break;
        default:
            item->position->setCoords(vx[i], 0);
            item->setPositionAlignment(Qt::AlignTop | beside);
            item->setPadding(QMargins(4, 3, 2, 0));
            break;
        }
    }

    // Graph annotations: polylines on their axis, one type starting a polyline and another
    // continuing it; any other type marks a single point.
    const std::vector<double>& gx = m_props.doubles(PEP_GANNOTX);
    const std::vector<double>& gy = m_props.doubles(PEP_GANNOTY);
    const std::vector<std::int32_t> gtype = m_props.ints(PEP_GANNOTTYPES);
    const std::vector<std::int32_t> gcolour = m_props.ints(PEP_GANNOTCOLORS);
    const std::vector<std::int32_t> gaxis = m_props.ints(PEP_GANNOTAXIS);
    const std::size_t count = std::min(gx.size(), gy.size());
    QCPCurve* curve = nullptr;
    int curveAxis = -1;
    for (std::size_t i = 0; i < count; ++i) {
        if (!std::isfinite(gx[i]) || !std::isfinite(gy[i]))
            continue;
        const int type = i < gtype.size() ? gtype[i] : PEGA_STARTPOLYLINE;
        const bool polyline = type == PEGA_STARTPOLYLINE || type == PEGA_CONTINUEPOLYLINE;
        const QColor colour = i < gcolour.size() ? fromBgr(gcolour[i]) : text;
        const int axis = annotationAxis(gaxis, i);
        if (type != PEGA_CONTINUEPOLYLINE || curve == nullptr || axis != curveAxis) {
            QCPAxisRect* rect = m_rects[axis];
            curve = new QCPCurve(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
            curveAxis = axis;
            curve->setPen(QPen(colour, 1.5));
            curve->setAntialiased(true);
            if (!polyline) {
                curve->setLineStyle(QCPCurve::lsNone);
                curve->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, colour, colour, 6));
            }
        }
        curve->addData(static_cast<double>(curve->dataCount()), gx[i], gy[i]);
        if (!polyline)
            curve = nullptr;
    }
}

} // namespace chartlib
