#include "SerialDateTicker.h"

#include "SerialDate.h"

#include <cmath>

namespace chartlib {
namespace {

constexpr double kMs = 1.0 / 86400000.0;
constexpr double kSecond = 1.0 / 86400.0;
constexpr double kMinute = 1.0 / 1440.0;
constexpr double kHour = 1.0 / 24.0;
constexpr double kMonth = 30.4375;

// Candidate steps in days; months and years are handled as whole calendar months.
constexpr double kSteps[] = {kMs,          2 * kMs,      5 * kMs,      10 * kMs, 20 * kMs,    50 * kMs,
                             100 * kMs,    200 * kMs,    500 * kMs,    kSecond,  2 * kSecond, 5 * kSecond,
                             10 * kSecond, 15 * kSecond, 30 * kSecond, kMinute,  2 * kMinute, 5 * kMinute,
                             10 * kMinute, 15 * kMinute, 30 * kMinute, kHour,    2 * kHour,   3 * kHour,
                             6 * kHour,    12 * kHour,   1.0,          2.0,      7.0,         14.0};
constexpr int kMonthSteps[] = {1, 2, 3, 6, 12, 24, 60, 120, 240, 600, 1200};

// 1900-01-01 (serial 2) was a Monday.
constexpr double kMondayOffset = 2.0;

} // namespace

void SerialDateTicker::generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                                QVector<double>& ticks, QVector<double>* subTicks,
                                QVector<QString>* tickLabels) {
    if (attached())
        setTickCount(wantedTicks());
    QCPAxisTicker::generate(range, locale, formatChar, precision, ticks, subTicks, tickLabels);
}

double SerialDateTicker::getTickStep(const QCPRange& range) {
    // The smallest step that keeps to about the wanted number of ticks, never fewer than two.
    const double wanted = range.size() / (std::max(1, mTickCount) + 1);
    m_monthStep = 0;
    for (double step : kSteps) {
        if (step >= wanted) {
            m_step = step;
            return step;
        }
    }
    for (int months : kMonthSteps) {
        if (months * kMonth >= wanted) {
            m_monthStep = months;
            m_step = months * kMonth;
            return m_step;
        }
    }
    m_monthStep = kMonthSteps[std::size(kMonthSteps) - 1];
    m_step = m_monthStep * kMonth;
    return m_step;
}

int SerialDateTicker::getSubTickCount(double tickStep) {
    if (m_monthStep != 0)
        return 0;
    const long long ms = std::llround(tickStep / kMs);
    // Sub-ticks on natural parts of clock and calendar steps, quarters or fifths elsewhere.
    switch (ms) {
    case 15000LL:
    case 15 * 60000LL:
    case 3 * 3600000LL:
        return 2;
    case 30000LL:
    case 30 * 60000LL:
    case 6 * 3600000LL:
        return 5;
    case 3600000LL:
    case 12 * 3600000LL:
    case 86400000LL:
        return 3;
    case 7 * 86400000LL:
        return 6;
    case 2 * 3600000LL:
    case 2 * 86400000LL:
    case 14 * 86400000LL:
        return 1;
    default:
        return 4;
    }
}

QVector<double> SerialDateTicker::createTickVector(double tickStep, const QCPRange& range) {
    QVector<double> ticks;
    if (!std::isfinite(range.lower) || !std::isfinite(range.upper) || tickStep <= 0)
        return ticks;
    if (m_monthStep == 0) {
        const double offset = tickStep >= 7.0 ? kMondayOffset : 0.0;
        // Whole multiples of the step in milliseconds, so labels land on exact clock values.
        double first = std::floor((range.lower - offset) / tickStep) * tickStep + offset;
        const long long count = static_cast<long long>((range.upper - first) / tickStep) + 2;
        if (count > 10000)
            return ticks;
        for (long long i = 0; i < count; ++i)
            ticks.append(first + static_cast<double>(i) * tickStep);
        return ticks;
    }
    const QDateTime lower = serialToDateTime(range.lower);
    if (!lower.isValid())
        return ticks;
    int year = lower.date().year();
    int month = lower.date().month() - 1;
    const int total = year * 12 + month;
    int start = total - total % m_monthStep;
    for (int m = start; ticks.size() < 1000; m += m_monthStep) {
        const QDate date(m / 12, m % 12 + 1, 1);
        const double serial = static_cast<double>(QDate(1899, 12, 30).daysTo(date));
        ticks.append(serial);
        if (serial > range.upper)
            break;
    }
    return ticks;
}

QString SerialDateTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
    const QDateTime t = serialToDateTime(tick);
    if (!t.isValid())
        return {};
    if (m_monthStep >= 12)
        return t.toString(QStringLiteral("yyyy"));
    if (m_monthStep > 0)
        return t.toString(QStringLiteral("MM/yyyy"));
    if (m_step >= 1.0 - kMs)
        return t.toString(QStringLiteral("dd/MM/yyyy"));
    if (m_step >= kMinute - kMs)
        return t.toString(QStringLiteral("hh:mm\ndd/MM/yyyy"));
    if (m_step >= kSecond - kMs)
        return t.toString(QStringLiteral("hh:mm:ss\ndd/MM/yyyy"));
    return t.toString(QStringLiteral("hh:mm:ss.zzz\ndd/MM/yyyy"));
}

} // namespace chartlib
