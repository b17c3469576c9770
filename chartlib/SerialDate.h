#pragma once

#include <QDateTime>
#include <QTimeZone>

#include <cstdint>

struct PETM;

namespace chartlib {

// Serial dates count days since 1899-12-30 00:00 as a double; the fraction is the time of day.
// Conversions go through whole milliseconds so that round trips are exact.

// Milliseconds since 1899-12-30 of a broken-down time (year counted from 1900); false when a
// field is out of range (month 1-12, day valid for the month, hour 0-23, minute and second 0-59,
// millisecond 0-999).
bool toSerialMillis(const PETM& tm, std::int64_t* millis);
bool fromSerialMillis(std::int64_t millis, PETM* tm);

double serialFromMillis(std::int64_t millis);
// Rounds to the nearest millisecond; false for a value that is not finite or out of range.
bool millisFromSerial(double serial, std::int64_t* millis);

QDateTime serialToDateTime(double serial);

constexpr double kMillisPerDay = 86400000.0;

} // namespace chartlib
