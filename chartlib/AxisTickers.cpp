#include "AxisTickers.h"

#include <algorithm>
#include <cmath>

namespace chartlib {

void AxisLength::attach(const QCPAxis* axis, int pixelsPerTick, int minTicks, int maxTicks) {
    m_axis = axis;
    m_pixelsPerTick = std::max(1, pixelsPerTick);
    m_minTicks = minTicks;
    m_maxTicks = std::max(minTicks, maxTicks);
}

int AxisLength::length() const {
    if (m_axis == nullptr || m_axis->axisRect() == nullptr)
        return -1;
    const QRect rect = m_axis->axisRect()->rect();
    return m_axis->orientation() == Qt::Horizontal ? rect.width() : rect.height();
}

bool AxisLength::stale() const {
    // An axis whose ticks are hidden never makes them and is never stale.
    return m_axis != nullptr && m_used >= 0 && length() != m_used;
}

int AxisLength::wantedTicks() {
    m_used = length();
    return std::clamp(m_used / m_pixelsPerTick, m_minTicks, m_maxTicks);
}

void ValueTicker::setFixedTicks(QVector<double> values, QVector<QString> labels) {
    m_fixed = std::move(values);
    m_fixedLabels = std::move(labels);
}

int ValueTicker::decimalsFor(double step) {
    step = std::fabs(step);
    if (!(step > 0) || !std::isfinite(step))
        return 0;
    int decimals = 0;
    double scaled = step;
    while (decimals < 9 && std::fabs(scaled - std::round(scaled)) > 1e-6 * scaled) {
        ++decimals;
        scaled *= 10;
    }
    return decimals;
}

void ValueTicker::generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                           QVector<double>& ticks, QVector<double>* subTicks, QVector<QString>* tickLabels) {
    setTickCount(wantedTicks());
    ticks.clear();
    if (subTicks)
        subTicks->clear();
    if (tickLabels)
        tickLabels->clear();
    if (!m_fixed.isEmpty()) {
        for (qsizetype i = 0; i < m_fixed.size(); ++i) {
            if (!range.contains(m_fixed[i]))
                continue;
            ticks.append(m_fixed[i]);
            if (tickLabels)
                tickLabels->append(i < m_fixedLabels.size() ? m_fixedLabels[i]
                                                            : QCPAxisTicker::getTickLabel(
                                                                  m_fixed[i], locale, formatChar, precision));
        }
        return;
    }
    QCPAxisTicker::generate(range, locale, formatChar, precision, ticks, subTicks, nullptr);
    int decimals = 0;
    // The base keeps one tick beyond each end of the range.
    const auto inside =
        std::count_if(ticks.begin(), ticks.end(), [&](double t) { return range.contains(t); });
    if (inside >= 2) {
        decimals = decimalsFor(ticks[1] - ticks[0]);
    } else {
        // Too short for two round ticks: its two ends, written with enough decimals to differ.
        ticks = {range.lower, range.upper};
        if (subTicks)
            subTicks->clear();
        decimals =
            std::clamp(static_cast<int>(std::ceil(-std::log10(std::max(range.size(), 1e-12)))) + 1, 0, 9);
    }
    if (!tickLabels)
        return;
    const double tiny = std::fabs(range.size()) * 1e-9;
    for (double tick : ticks)
        tickLabels->append(locale.toString(std::fabs(tick) < tiny ? 0.0 : tick, 'f', decimals));
}

DecadeTicker::DecadeTicker() {
    setLogBase(10);
    setSubTickCount(8);
}

void DecadeTicker::generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                            QVector<double>& ticks, QVector<double>* subTicks, QVector<QString>* tickLabels) {
    const int wanted = wantedTicks();
    const bool decades = range.lower > 0 && range.upper > 0 && std::log10(range.upper / range.lower) >= 1.6;
    // Asking for more ticks than there are decades puts one on each.
    setTickCount(decades ? 1000 : wanted);
    QCPAxisTickerLog::generate(range, locale, formatChar, precision, ticks, subTicks, tickLabels);
}

} // namespace chartlib
