#include "ChartStyle.h"

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

} // namespace chartlib
