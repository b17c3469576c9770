// Interaction and cursor: the cursor and print mark, clicks, zoom drags and keys, each told to
// the parent window.

#include "ChartWidget.h"

#include "ChartStyle.h"
#include "PEApi.h"
#include "TextElements.h"

#include <QRubberBand>

#include <algorithm>
#include <cmath>
#include <limits>

namespace chartlib {

void ChartWidget::buildCursor() {
    m_cursorDirty = true;
    if (m_cursorLine == nullptr) {
        // Made in drawing order, hidden until used.
        m_cursorLine = new QCPItemStraightLine(this);
        m_cursorTracer = new QCPItemTracer(this);
        m_printMark = new QCPItemTracer(this);
        for (QCPAbstractItem* item :
             {static_cast<QCPAbstractItem*>(m_cursorLine), static_cast<QCPAbstractItem*>(m_cursorTracer),
              static_cast<QCPAbstractItem*>(m_printMark)})
            item->setLayer(m_cursorLayer);
    }
    m_cursorLine->setVisible(false);
    m_cursorTracer->setVisible(false);
    m_printMark->setVisible(false);
    const int mode = m_props.integer(PEP_CURSORMODE, PECM_NONE);
    const int subset = m_props.integer(PEP_CURSORSUBSET, 0);
    const int point = m_props.integer(PEP_CURSORPOINT, 0);
    const int points = pointCount();
    const PropertyStore::DoubleArray xs = m_props.doubleArray(PEP_XDATA);
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
    const bool valid = mode != PECM_NONE && subset >= 0 && subset < subsetCount() && point >= 0 &&
                       point < points && at < xs.size() && at < ys.size() && std::isfinite(xs[at]) &&
                       std::isfinite(ys[at]) &&
                       !(m_props.find(PEP_NULLX) && xs[at] == m_props.real(PEP_NULLX)) &&
                       !(m_props.find(PEP_NULLY) && ys[at] == m_props.real(PEP_NULLY));
    if (valid) {
        const double x = xs[at];
        const double y = ys[at];
        // Thin and dotted, so a cursor line is never taken for a limit line.
        const QPen pen(text, 1, Qt::DotLine);
        if (mode == PECM_VERTICALLINE) {
            QCPItemStraightLine* line = m_cursorLine;
            line->setClipAxisRect(rect);
            attach(line->point1);
            attach(line->point2);
            line->point1->setCoords(x, y);
            line->point2->setCoords(x, y + 1);
            line->setPen(pen);
            line->setVisible(true);
        } else {
            QCPItemTracer* tracer = m_cursorTracer;
            tracer->setClipAxisRect(rect);
            attach(tracer->position);
            tracer->position->setCoords(x, y);
            tracer->setStyle(mode == PECM_SQUARE ? QCPItemTracer::tsSquare : QCPItemTracer::tsCrosshair);
            tracer->setSize(12);
            tracer->setPen(mode == PECM_SQUARE ? QPen(text, 1) : pen);
            tracer->setVisible(true);
        }
    }
    // The mark a print puts on the point under the cursor.
    const int markSize = m_props.integer(PEP_MARKSIZE, 0);
    if (markSize > 0 && std::isfinite(m_props.real(PEP_MARKX)) && std::isfinite(m_props.real(PEP_MARKY))) {
        QCPItemTracer* mark = m_printMark;
        mark->setClipAxisRect(rect);
        attach(mark->position);
        mark->position->setCoords(m_props.real(PEP_MARKX), m_props.real(PEP_MARKY));
        mark->setStyle(QCPItemTracer::tsCircle);
        mark->setSize(std::min(markSize, 200));
        mark->setPen(QPen(text, 2));
        mark->setBrush(m_props.integer(PEP_MARKSHAPE, 0) != 0 ? QBrush(text) : QBrush(Qt::NoBrush));
        mark->setVisible(true);
    }
}

bool ChartWidget::notify(int code) {
    // The parent may close its window, and with it this chart, while it handles the event.
    QPointer<ChartWidget> alive(this);
    if (QWidget* target = parentWidget()) {
        PENotifyEvent event(this, code);
        QCoreApplication::sendEvent(target, &event);
    }
    return !alive.isNull();
}

void ChartWidget::syncReadout() {
    // A parent that answers a cursor move by writing a new read-out sees it at once.
    const std::uint64_t version = m_props.version(PEP_CURSORTABLE);
    if (version == m_tableStamp)
        return;
    m_tableStamp = version;
    const QString table = QString::fromStdString(m_props.text(PEP_CURSORTABLE));
    if (m_table == nullptr) {
        // The first read-out makes room for itself under the graph.
        if (!parseTable(table).isEmpty())
            reinitialize();
        return;
    }
    const qsizetype rows = m_table->rowCount();
    m_table->setTable(table);
    // Another number of rows changes the layout; the same number only repaints the layer.
    if (m_table->rowCount() == rows)
        m_cursorDirty = true;
    else
        m_sceneDirty = true;
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
    // Drawn once, after the parent has answered: it usually writes a new read-out.
    if (!notify(PEN_CURSORMOVED))
        return false;
    refresh(false);
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
        double lo = xAxis->pixelToCoord(pos.x() - kPickRadius);
        double hi = xAxis->pixelToCoord(pos.x() + kPickRadius);
        if (lo > hi)
            std::swap(lo, hi);
        int first = d.lowerBound(lo);
        int last = d.upperBound(hi);
        bool near = false;
        if (last - first <= 4000)
            for (int k = first; k < last && !near; ++k)
                near = d.drawn(k);
        if (!near) {
            // Dense data or nothing near: the points on either side of the click's x, nulls
            // passed over.
            const int at = d.lowerBound(xAxis->pixelToCoord(pos.x()));
            first = at;
            for (int n = 0; n < 2 && first > 0;)
                n += d.drawn(--first) ? 1 : 0;
            last = at;
            for (int n = 0; n < 2 && last < d.count;)
                n += d.drawn(last++) ? 1 : 0;
        }
        for (int k = first; k < last; ++k) {
            if (!d.drawn(k))
                continue;
            const double dx = xAxis->coordToPixel(d.x(k)) - pos.x();
            const double dy = yAxis->coordToPixel(d.y(k)) - pos.y();
            const double distance = dx * dx + dy * dy;
            if (std::isfinite(distance) && distance < best) {
                best = distance;
                bestSubset = s;
                bestPoint = d.original(k);
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
    if (m_props.integer(PEP_ZOOMED) == 0)
        m_zoomSteps.clear();
    m_zoomSteps.push_back({x, y, axis});
    m_props.setInteger(PEP_ZOOMED, 1);
    const double extents[] = {x.lower, x.upper, y.lower, y.upper};
    const int properties[] = {PEP_ZOOMXMIN, PEP_ZOOMXMAX, PEP_ZOOMYMIN, PEP_ZOOMYMAX};
    for (int i = 0; i < 4; ++i)
        m_props.setArray(properties[i], &extents[i], 1);
    applyRanges();
    // One redraw for the zoom, after the parent has answered (it may redraw itself).
    if (notify(PEN_ZOOMDONE))
        refresh(false);
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
            const PropertyStore::DoubleArray xs = m_props.doubleArray(PEP_XDATA);
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

} // namespace chartlib
