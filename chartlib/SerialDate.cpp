#include "SerialDate.h"

#include "PEApi.h"

#include <cmath>

namespace chartlib {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (exact integer arithmetic).
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, std::int64_t* y, int* m, int* d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *y = yoe + era * 400 + (*m <= 2);
}

bool leapYear(std::int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(std::int64_t y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leapYear(y) ? 29 : kDays[m - 1];
}

const std::int64_t kEpochDays = daysFromCivil(1899, 12, 30);
constexpr std::int64_t kMsPerDay = 86400000;
// Years 1 to 9999 keep every intermediate value exact.
constexpr double kLimitDays = 3.0e6;

} // namespace

bool toSerialMillis(const PETM& tm, std::int64_t* millis) {
    const std::int64_t year = 1900 + static_cast<std::int64_t>(tm.nYear);
    if (year < 1 || year > 9999 || tm.nMonth < 1 || tm.nMonth > 12 || tm.nDay < 1 ||
        tm.nDay > daysInMonth(year, tm.nMonth) || tm.nHour < 0 || tm.nHour > 23 || tm.nMinute < 0 ||
        tm.nMinute > 59 || tm.nSecond < 0 || tm.nSecond > 59 || tm.nMilliSecond < 0 || tm.nMilliSecond > 999)
        return false;
    const std::int64_t days = daysFromCivil(year, tm.nMonth, tm.nDay) - kEpochDays;
    *millis = days * kMsPerDay + ((tm.nHour * 60 + tm.nMinute) * 60 + tm.nSecond) * 1000LL + tm.nMilliSecond;
    return true;
}

bool fromSerialMillis(std::int64_t millis, PETM* tm) {
    std::int64_t days = millis / kMsPerDay;
    std::int64_t rest = millis % kMsPerDay;
    if (rest < 0) {
        rest += kMsPerDay;
        --days;
    }
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    civilFromDays(days + kEpochDays, &year, &month, &day);
    if (year < 1 || year > 9999)
        return false;
    tm->nYear = static_cast<int>(year - 1900);
    tm->nMonth = month;
    tm->nDay = day;
    tm->nHour = static_cast<int>(rest / 3600000);
    tm->nMinute = static_cast<int>(rest / 60000 % 60);
    tm->nSecond = static_cast<int>(rest / 1000 % 60);
    tm->nMilliSecond = static_cast<int>(rest % 1000);
    return true;
}

double serialFromMillis(std::int64_t millis) {
    // Whole days and the fraction apart, so the day count stays exact in the sum.
    std::int64_t days = millis / kMsPerDay;
    std::int64_t rest = millis % kMsPerDay;
    if (rest < 0) {
        rest += kMsPerDay;
        --days;
    }
    return static_cast<double>(days) + static_cast<double>(rest) / kMillisPerDay;
}

bool millisFromSerial(double serial, std::int64_t* millis) {
    if (!std::isfinite(serial) || std::fabs(serial) > kLimitDays)
        return false;
    const double days = std::floor(serial);
    const auto ms = static_cast<std::int64_t>(std::llround((serial - days) * kMillisPerDay));
    *millis = static_cast<std::int64_t>(days) * kMsPerDay + ms;
    return true;
}

QDateTime serialToDateTime(double serial) {
    std::int64_t millis = 0;
    PETM tm;
    if (!millisFromSerial(serial, &millis) || !fromSerialMillis(millis, &tm))
        return {};
    return QDateTime(QDate(tm.nYear + 1900, tm.nMonth, tm.nDay),
                     QTime(tm.nHour, tm.nMinute, tm.nSecond, tm.nMilliSecond), Qt::UTC);
}

} // namespace chartlib
