#include "ChartStyle.h"

#include "ChartProperties.h"

namespace chartlib {

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

namespace {

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

} // namespace

QColor defaultColour(int subset) {
    return kDefaultColours[static_cast<std::size_t>(subset) % std::size(kDefaultColours)];
}

QPen linePen(const QColor& colour, int type) {
    QPen pen(colour, 1.0);
    switch (type) {
    case PELT_DASH:
        pen.setStyle(Qt::DashLine);
        break;
    case PELT_DOT:
        pen.setStyle(Qt::DotLine);
        break;
    case PELT_DASHDOT:
        pen.setStyle(Qt::DashDotLine);
        break;
    case PELT_DASHDOTDOT:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    case PELT_MEDIUM:
        pen.setWidthF(2.0);
        break;
    case PELT_THICK:
        pen.setWidthF(3.0);
        break;
    default:
        break;
    }
    return pen;
}

Marker markerOf(int type) {
    switch (type) {
    case PEPT_PLUS:
        return {QCPScatterStyle::ssPlus, false};
    case PEPT_CROSS:
        return {QCPScatterStyle::ssCross, false};
    case PEPT_DOT:
        return {QCPScatterStyle::ssCircle, false};
    case PEPT_SOLIDDOT:
        return {QCPScatterStyle::ssDisc, true};
    case PEPT_SQUARE:
        return {QCPScatterStyle::ssSquare, false};
    case PEPT_SOLIDSQUARE:
        return {QCPScatterStyle::ssSquare, true};
    case PEPT_DIAMOND:
        return {QCPScatterStyle::ssDiamond, false};
    case PEPT_SOLIDDIAMOND:
        return {QCPScatterStyle::ssDiamond, true};
    case PEPT_UPTRIANGLE:
        return {QCPScatterStyle::ssTriangle, false};
    case PEPT_SOLIDUPTRIANGLE:
        return {QCPScatterStyle::ssTriangle, true};
    case PEPT_DOWNTRIANGLE:
        return {QCPScatterStyle::ssTriangleInverted, false};
    case PEPT_SOLIDDOWNTRIANGLE:
        return {QCPScatterStyle::ssTriangleInverted, true};
    default:
        return {QCPScatterStyle::ssDisc, true};
    }
}

Label parseLabel(const QString& raw) {
    QString text = raw;
    while (text.endsWith(QLatin1Char('\t')))
        text.chop(1);
    if (text.size() >= 2 && text[0] == QLatin1Char('|')) {
        const char code = text[1].toLatin1();
        for (char known : {PELP_XAXIS, PELP_TOP, PELP_BOTTOM, PELP_RIGHT, PELP_UNDERAXIS})
            if (code == known)
                return {code, text.mid(2)};
    }
    return {0, text};
}

std::vector<Label> parseLabels(const std::vector<std::string>& raw) {
    std::vector<Label> labels;
    labels.reserve(raw.size());
    for (const std::string& entry : raw) {
        // One text may carry the labels of several annotations, each ended by a tab.
        QStringList parts = QString::fromUtf8(entry.c_str()).split(QLatin1Char('\t'));
        if (parts.size() > 1 && parts.last().isEmpty())
            parts.removeLast();
        for (const QString& part : parts)
            labels.push_back(parseLabel(part));
    }
    return labels;
}

bool validRange(double lo, double hi) {
    return std::isfinite(lo) && std::isfinite(hi) && lo < hi;
}

} // namespace chartlib
