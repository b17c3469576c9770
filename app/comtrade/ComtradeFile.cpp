#include "ComtradeFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>

namespace comtrade {

namespace {

std::string where(const std::string& file, long line, long long byte) {
    if (line > 0)
        return file + ":" + std::to_string(line) + ": ";
    if (byte >= 0)
        return file + ": byte " + std::to_string(byte) + ": ";
    return file + ": ";
}

// Largest sample count we accept: beyond it the allocation alone would be the failure.
constexpr std::int64_t kMaxSamples = 400'000'000;
constexpr int kMaxChannels = 100'000;

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> out;
    size_t start = 0;
    for (;;) {
        const size_t comma = line.find(',', start);
        out.push_back(trim(
            line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return out;
}

bool toDouble(std::string_view s, double& out) {
    s = trim(s);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty())
        return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(out);
}

bool toInt(std::string_view s, std::int64_t& out) {
    s = trim(s);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty())
        return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

// The lines of a text with their numbers; blank lines are stepped over.
struct Line {
    std::string_view text;
    long number;
};

std::vector<Line> splitLines(std::string_view text, long firstLine) {
    std::vector<Line> out;
    long number = firstLine;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (!trim(line).empty())
            out.push_back({line, number});
        ++number;
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return out;
}

// Walks the lines of a .cfg in order, naming the line of every fault.
class CfgReader {
public:
    CfgReader(std::string_view text, const std::string& file, long firstLine)
        : m_lines(splitLines(text, firstLine)), m_file(file), m_lastLine(firstLine) {}

    bool atEnd() const { return m_pos >= m_lines.size(); }
    // The next line's fields; `what` names the line in the message when the text ends first.
    std::vector<std::string_view> next(const char* what) {
        if (atEnd())
            throw ComtradeError(m_file, m_lastLine, -1,
                                std::string("the file ends where ") + what + " was expected");
        m_current = m_lines[m_pos++];
        m_lastLine = m_current.number;
        return splitFields(m_current.text);
    }
    // The next channel line: at least `fields` fields, numbered `number` in its first.
    std::vector<std::string_view> channel(const char* kind, size_t fields, int number) {
        const std::string article = std::string_view(kind).starts_with('a') ? "an " : "a ";
        std::vector<std::string_view> f = next((article + kind + " channel line").c_str());
        if (f.size() < fields)
            fail(std::string(kind) + " channel line with " + std::to_string(f.size()) + " fields where " +
                 std::to_string(fields) + " are needed");
        const std::int64_t index = integer(f[0], (std::string("the ") + kind + " channel number").c_str());
        if (index != number)
            fail(std::string(kind) + " channel number " + std::to_string(index) + " where " +
                 std::to_string(number) + " was expected");
        return f;
    }
    long line() const { return m_current.number; }
    [[noreturn]] void fail(const std::string& reason) const {
        throw ComtradeError(m_file, m_current.number, -1, reason);
    }
    double number(std::string_view s, const char* what) const {
        double v = 0;
        if (!toDouble(s, v))
            fail(std::string(what) + " \"" + std::string(s) + "\" is not a number");
        return v;
    }
    std::int64_t integer(std::string_view s, const char* what) const {
        std::int64_t v = 0;
        if (!toInt(s, v))
            fail(std::string(what) + " \"" + std::string(s) + "\" is not a whole number");
        return v;
    }

private:
    std::vector<Line> m_lines;
    size_t m_pos = 0;
    std::string m_file;
    Line m_current{{}, 0};
    long m_lastLine;
};

// "dd/mm/yyyy,hh:mm:ss.ssssss" (1999, 2013) or "mm/dd/yy,hh:mm:ss.ssssss" (1991).
DateTime parseDateTime(CfgReader& r, const std::vector<std::string_view>& f, int revision, bool& nanoseconds,
                       const char* what) {
    if (f.size() < 2)
        r.fail(std::string(what) + ": a date and a time separated by a comma are needed");
    const std::string_view date = f[0], time = f[1];
    int parts[3] = {};
    size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t slash = i < 2 ? date.find('/', pos) : date.size();
        std::int64_t v = 0;
        if (slash == std::string_view::npos || !toInt(date.substr(pos, slash - pos), v) || v < 0 || v > 9999)
            r.fail(std::string(what) + ": the date \"" + std::string(date) + "\" is not dd/mm/yyyy");
        parts[i] = static_cast<int>(v);
        pos = slash + 1;
    }
    DateTime d;
    if (revision == 1991) {
        d.month = parts[0];
        d.day = parts[1];
    } else {
        d.day = parts[0];
        d.month = parts[1];
    }
    d.year = parts[2] < 100 ? (parts[2] < 70 ? 2000 + parts[2] : 1900 + parts[2]) : parts[2];
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > kDays[d.month - 1])
        r.fail(std::string(what) + ": the date \"" + std::string(date) + "\" does not exist");
    const size_t c1 = time.find(':');
    const size_t c2 = c1 == std::string_view::npos ? c1 : time.find(':', c1 + 1);
    std::int64_t hour = 0, minute = 0;
    if (c2 == std::string_view::npos || !toInt(time.substr(0, c1), hour) ||
        !toInt(time.substr(c1 + 1, c2 - c1 - 1), minute) || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59)
        r.fail(std::string(what) + ": the time \"" + std::string(time) + "\" is not hh:mm:ss.ssssss");
    const std::string_view secText = time.substr(c2 + 1);
    const size_t dot = secText.find('.');
    std::int64_t whole = 0;
    if (!toInt(secText.substr(0, dot), whole) || whole < 0 || whole > 60)
        r.fail(std::string(what) + ": the seconds \"" + std::string(secText) + "\" are out of range");
    std::int64_t micros = 0;
    if (dot != std::string_view::npos) {
        const std::string_view frac = secText.substr(dot + 1);
        if (frac.size() > 9 ||
            !std::all_of(frac.begin(), frac.end(), [](char c) { return c >= '0' && c <= '9'; }))
            r.fail(std::string(what) + ": the seconds \"" + std::string(secText) + "\" are not a number");
        if (frac.size() > 6)
            nanoseconds = true;
        for (size_t i = 0; i < 6; ++i)
            micros = micros * 10 + (i < frac.size() ? frac[i] - '0' : 0);
    }
    d.hour = static_cast<int>(hour);
    d.minute = static_cast<int>(minute);
    d.microsecond = whole * 1'000'000 + micros;
    return d;
}

std::int64_t daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy =
        (153 * static_cast<unsigned>(m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<std::int64_t>(era) * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

} // namespace

ComtradeError::ComtradeError(std::string file, long line, long long byte, std::string reason)
    : std::runtime_error(where(file, line, byte) + reason), m_file(std::move(file)), m_line(line),
      m_byte(byte), m_reason(std::move(reason)) {}

std::int64_t DateTime::sinceEpoch() const {
    return ((daysFromCivil(year, month, day) * 24 + hour) * 60 + minute) * 60'000'000LL + microsecond;
}

DateTime DateTime::fromEpoch(std::int64_t micros) {
    std::int64_t minutes = micros >= 0 ? micros / 60'000'000 : -((-micros + 59'999'999) / 60'000'000);
    DateTime d;
    d.microsecond = micros - minutes * 60'000'000;
    std::int64_t days = minutes >= 0 ? minutes / 1440 : -((-minutes + 1439) / 1440);
    const std::int64_t minuteOfDay = minutes - days * 1440;
    d.hour = static_cast<int>(minuteOfDay / 60);
    d.minute = static_cast<int>(minuteOfDay % 60);
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    d.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    d.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (d.month <= 2));
    return d;
}

Config parseConfig(std::string_view text, const std::string& fileName, long firstLine) {
    CfgReader r(text, fileName, firstLine);
    Config c;

    auto f = r.next("the station line");
    if (f.size() < 2)
        r.fail("the station line needs the station name and the recording device");
    c.station = std::string(f[0]);
    c.device = std::string(f[1]);
    if (f.size() >= 3 && !f[2].empty()) {
        const std::int64_t year = r.integer(f[2], "the revision year");
        if (year != 1991 && year != 1999 && year != 2013)
            r.fail("revision year " + std::to_string(year) + " is not 1991, 1999 or 2013");
        c.revision = static_cast<int>(year);
    }

    f = r.next("the channel counts");
    if (f.size() < 3)
        r.fail("the channel counts need the total, the analog (nnA) and the digital (nnD) count");
    const std::int64_t total = r.integer(f[0], "the channel total");
    auto counted = [&](std::string_view s, char suffix) {
        if (s.empty() || std::toupper(static_cast<unsigned char>(s.back())) != suffix)
            r.fail("\"" + std::string(s) + "\" should be a count followed by " + std::string(1, suffix));
        const std::int64_t n = r.integer(s.substr(0, s.size() - 1), "the channel count");
        if (n < 0 || n > kMaxChannels)
            r.fail("channel count " + std::to_string(n) + " is out of range");
        return static_cast<int>(n);
    };
    const int analogCount = counted(f[1], 'A');
    const int digitalCount = counted(f[2], 'D');
    if (total != analogCount + digitalCount)
        r.fail("the channel total " + std::to_string(total) + " is not " + std::to_string(analogCount) +
               " analog plus " + std::to_string(digitalCount) + " digital channels");

    const size_t analogFields = c.revision == 1991 ? 10 : 13;
    for (int i = 0; i < analogCount; ++i) {
        f = r.channel("analog", analogFields, i + 1);
        AnalogChannel a;
        a.line = r.line();
        a.index = i + 1;
        a.id = std::string(f[1]);
        a.phase = std::string(f[2]);
        a.circuit = std::string(f[3]);
        a.unit = std::string(f[4]);
        a.a = r.number(f[5], "the multiplier a");
        a.b = r.number(f[6], "the offset b");
        a.skew = f[7].empty() ? 0.0 : r.number(f[7], "the skew");
        a.min = f[8].empty() ? 0.0 : r.number(f[8], "the minimum");
        a.max = f[9].empty() ? 0.0 : r.number(f[9], "the maximum");
        if (f.size() >= 13) {
            a.primary = r.number(f[10], "the primary ratio factor");
            a.secondary = r.number(f[11], "the secondary ratio factor");
            if (a.primary <= 0 || a.secondary <= 0)
                r.fail("the primary and secondary ratio factors must be positive");
            const std::string ps = upper(f[12]);
            if (ps != "P" && ps != "S")
                r.fail("the scaling flag \"" + std::string(f[12]) + "\" is neither P nor S");
            a.scaledToPrimary = ps == "P";
        }
        c.analog.push_back(std::move(a));
    }
    for (int i = 0; i < digitalCount; ++i) {
        f = r.channel("digital", 3, i + 1);
        DigitalChannel d;
        d.line = r.line();
        d.index = i + 1;
        d.id = std::string(f[1]);
        std::string_view state;
        if (f.size() >= 5) {
            d.phase = std::string(f[2]);
            d.circuit = std::string(f[3]);
            state = f[4];
        } else {
            state = f.back();
        }
        if (!state.empty()) {
            const std::int64_t s = r.integer(state, "the normal state");
            if (s != 0 && s != 1)
                r.fail("the normal state " + std::to_string(s) + " is neither 0 nor 1");
            d.normalState = static_cast<int>(s);
        }
        c.digital.push_back(std::move(d));
    }

    f = r.next("the line frequency");
    c.lineFrequency = r.number(f[0], "the line frequency");
    if (c.lineFrequency < 0 || c.lineFrequency > 10000)
        r.fail("the line frequency " + std::string(f[0]) + " Hz is out of range");

    f = r.next("the number of sampling rates");
    const std::int64_t nrates = r.integer(f[0], "the number of sampling rates");
    if (nrates < 0 || nrates > 10000)
        r.fail("the number of sampling rates " + std::to_string(nrates) + " is out of range");
    std::int64_t previousEnd = 0;
    for (std::int64_t i = 0; i < std::max<std::int64_t>(nrates, 1); ++i) {
        f = r.next("a sampling rate line");
        if (f.size() < 2)
            r.fail("a sampling rate line needs the rate and the last sample number");
        RateSection s;
        s.rate = r.number(f[0], "the sampling rate");
        s.lastSample = r.integer(f[1], "the last sample number");
        if (s.rate < 0 || s.rate > 1e9)
            r.fail("the sampling rate " + std::string(f[0]) + " Hz is out of range");
        // "1" then "0,N" is how some recorders say the time stamps are the only clock.
        if (nrates > 1 && s.rate == 0)
            r.fail("a sampling rate of 0 Hz among " + std::to_string(nrates) + " rates");
        if (s.lastSample <= previousEnd || s.lastSample > kMaxSamples)
            r.fail("the last sample number " + std::to_string(s.lastSample) + " does not follow " +
                   std::to_string(previousEnd));
        previousEnd = s.lastSample;
        if (s.rate > 0)
            c.rates.push_back(s);
    }
    c.sampleCount = previousEnd;

    bool nano = false;
    f = r.next("the start date and time");
    c.start = parseDateTime(r, f, c.revision, nano, "start time");
    f = r.next("the trigger date and time");
    c.trigger = parseDateTime(r, f, c.revision, nano, "trigger time");
    c.nanosecondStamps = nano;

    f = r.next("the data file type");
    const std::string ft = upper(f[0]);
    if (ft == "ASCII")
        c.format = DataFormat::Ascii;
    else if (ft == "BINARY")
        c.format = DataFormat::Binary;
    else if (ft == "BINARY32")
        c.format = DataFormat::Binary32;
    else if (ft == "FLOAT32")
        c.format = DataFormat::Float32;
    else
        r.fail("the data file type \"" + std::string(f[0]) + "\" is not ASCII, BINARY, BINARY32 or FLOAT32");

    // The time multiplier is absent from 1991 files.
    if (!r.atEnd()) {
        f = r.next("the time multiplier");
        c.timeMultiplier = r.number(f[0], "the time multiplier");
        if (c.timeMultiplier <= 0)
            r.fail("the time multiplier must be positive");
    }
    if (c.revision >= 2013 && !r.atEnd()) {
        f = r.next("the time codes");
        c.timeCode = std::string(f[0]);
        c.localCode = f.size() > 1 ? std::string(f[1]) : std::string();
    }
    // Time-quality and leap-second codes and anything after them are not needed.
    return c;
}

std::size_t binaryRecordSize(const Config& c) {
    const size_t analogSize = c.format == DataFormat::Binary ? 2 : 4;
    return 8 + c.analog.size() * analogSize + 2 * ((c.digital.size() + 15) / 16);
}

namespace {

// Engineering value of a raw sample of channel `a`, in primary units.
struct Scale {
    double factor, offset;
};

std::vector<Scale> scales(const Config& c) {
    std::vector<Scale> out;
    for (const AnalogChannel& a : c.analog) {
        const double ratio = a.scaledToPrimary ? 1.0 : a.primary / a.secondary;
        out.push_back({a.a * ratio, a.b * ratio});
    }
    return out;
}

// Time of sample k (0-based) in microseconds from the first, from the rate sections.
class RateClock {
public:
    explicit RateClock(const Config& c) : m_rates(c.rates) {}
    bool usable() const { return !m_rates.empty() && m_rates.front().rate > 0; }
    double at(std::int64_t k) {
        while (m_section + 1 < m_rates.size() && k >= m_rates[m_section].lastSample) {
            const std::int64_t first = m_section == 0 ? 0 : m_rates[m_section - 1].lastSample;
            m_base +=
                static_cast<double>(m_rates[m_section].lastSample - first) * 1e6 / m_rates[m_section].rate;
            ++m_section;
        }
        const std::int64_t first = m_section == 0 ? 0 : m_rates[m_section - 1].lastSample;
        return m_base + static_cast<double>(k - first) * 1e6 / m_rates[m_section].rate;
    }

private:
    const std::vector<RateSection>& m_rates;
    size_t m_section = 0;
    double m_base = 0.0;
};

std::uint32_t le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

} // namespace

Samples parseData(const Config& c, std::string_view data, const std::string& fileName, long firstLine,
                  long long firstByte) {
    const size_t na = c.analog.size(), nd = c.digital.size();
    const auto n = static_cast<size_t>(c.sampleCount);
    const std::vector<Scale> sc = scales(c);
    Samples s;
    RateClock clock(c);
    const double stampUnit = c.timeMultiplier * (c.nanosecondStamps ? 1e-3 : 1.0);
    double firstStamp = std::numeric_limits<double>::quiet_NaN();
    const double nan = std::numeric_limits<double>::quiet_NaN();

    if (c.format != DataFormat::Ascii) {
        const size_t record = binaryRecordSize(c);
        // Checked before anything is allocated, so a short file costs nothing.
        if (data.size() / record < n) {
            const size_t complete = data.size() / record;
            throw ComtradeError(fileName, 0, firstByte + static_cast<long long>(data.size()),
                                "the data end after " + std::to_string(complete) + " of " +
                                    std::to_string(n) + " samples (" + std::to_string(n * record) +
                                    " bytes needed, " + std::to_string(data.size()) + " present)");
        }
    }
    // ASCII lines take at least one byte per field, so the text bounds what is allocated
    // before a short file is found out.
    const size_t fields = 2 + na + nd;
    const size_t room = c.format == DataFormat::Ascii ? std::min(n, data.size() / fields + 1) : n;
    s.analog.assign(na, std::vector<double>(room));
    s.digital.assign(nd, std::vector<std::uint8_t>(room));
    s.timeMicros.resize(room);
    auto stampTime = [&](size_t k, double stamp, bool missing) {
        if (clock.usable() || missing) {
            s.timeMicros[k] = clock.usable() ? clock.at(static_cast<std::int64_t>(k))
                                             : (k == 0 ? 0.0 : s.timeMicros[k - 1]);
            return true;
        }
        if (std::isnan(firstStamp))
            firstStamp = stamp;
        s.timeMicros[k] = (stamp - firstStamp) * stampUnit;
        return k == 0 || s.timeMicros[k] >= s.timeMicros[k - 1];
    };

    if (c.format == DataFormat::Ascii) {
        size_t k = 0;
        long number = firstLine;
        size_t pos = 0;
        long lastLine = firstLine;
        std::vector<std::string_view> f;
        while (k < n && k < room && pos < data.size()) {
            size_t end = data.find_first_of("\r\n", pos);
            if (end == std::string_view::npos)
                end = data.size();
            const std::string_view line = data.substr(pos, end - pos);
            const long here = number++;
            if (end < data.size() && data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n')
                ++end;
            pos = end + 1;
            if (trim(line).empty())
                continue;
            lastLine = here;
            auto fail = [&](const std::string& why) { throw ComtradeError(fileName, here, -1, why); };
            f.clear();
            size_t start = 0;
            for (;;) {
                const size_t comma = line.find(',', start);
                f.push_back(line.substr(start, comma == std::string_view::npos ? std::string_view::npos
                                                                               : comma - start));
                if (comma == std::string_view::npos)
                    break;
                start = comma + 1;
            }
            if (f.size() < 2 + na + nd)
                fail(std::to_string(f.size()) + " fields where the configuration asks for " +
                     std::to_string(2 + na + nd));
            std::int64_t sampleNumber = 0;
            if (!toInt(f[0], sampleNumber))
                fail("the sample number \"" + std::string(trim(f[0])) + "\" is not a whole number");
            double stamp = 0;
            const bool noStamp = trim(f[1]).empty();
            if (!noStamp && !toDouble(f[1], stamp))
                fail("the time stamp \"" + std::string(trim(f[1])) + "\" is not a number");
            if (!noStamp && stamp == 99999999.0 && !clock.usable())
                fail("the time stamp is marked missing and the configuration gives no sampling rate");
            if (!stampTime(k, stamp, noStamp))
                fail("the time stamp goes backwards");
            for (size_t a = 0; a < na; ++a) {
                const std::string_view v = trim(f[2 + a]);
                double raw = 0;
                if (v.empty() || v == "99999") {
                    s.analog[a][k] = nan;
                    continue;
                }
                if (!toDouble(v, raw))
                    fail("analog channel " + std::to_string(a + 1) + ": \"" + std::string(v) +
                         "\" is not a number");
                s.analog[a][k] = raw * sc[a].factor + sc[a].offset;
            }
            for (size_t d = 0; d < nd; ++d) {
                const std::string_view v = trim(f[2 + na + d]);
                if (v != "0" && v != "1")
                    fail("digital channel " + std::to_string(d + 1) + ": \"" + std::string(v) +
                         "\" is neither 0 nor 1");
                s.digital[d][k] = v == "1";
            }
            ++k;
        }
        if (k < n)
            throw ComtradeError(fileName, k == 0 ? firstLine : lastLine + 1, -1,
                                "the data end after " + std::to_string(k) + " of " + std::to_string(n) +
                                    " samples");
        return s;
    }

    const size_t record = binaryRecordSize(c);
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    for (size_t k = 0; k < n; ++k) {
        const unsigned char* p = bytes + k * record;
        const std::uint32_t stamp = le32(p + 4);
        if (!stampTime(k, static_cast<double>(stamp), stamp == 0xFFFFFFFFu)) {
            throw ComtradeError(fileName, 0, firstByte + static_cast<long long>(k * record + 4),
                                "the time stamp of sample " + std::to_string(k + 1) + " goes backwards");
        }
        p += 8;
        for (size_t a = 0; a < na; ++a) {
            double raw = 0;
            bool missing = false;
            if (c.format == DataFormat::Binary) {
                const auto v = static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8));
                missing = v == std::numeric_limits<std::int16_t>::min();
                raw = v;
                p += 2;
            } else if (c.format == DataFormat::Binary32) {
                const auto v = static_cast<std::int32_t>(le32(p));
                missing = v == std::numeric_limits<std::int32_t>::min();
                raw = v;
                p += 4;
            } else {
                const std::uint32_t bits = le32(p);
                float v = 0;
                std::memcpy(&v, &bits, sizeof v);
                missing = !std::isfinite(v);
                raw = v;
                p += 4;
            }
            s.analog[a][k] = missing ? nan : raw * sc[a].factor + sc[a].offset;
        }
        for (size_t d = 0; d < nd; ++d)
            s.digital[d][k] = (p[(d / 16) * 2 + (d % 16) / 8] >> (d % 8)) & 1;
    }
    return s;
}

CombinedParts splitCombined(std::string_view text, const std::string& fileName) {
    // Sections start with a line "--- file type: NAME ---"; the binary data section gives its
    // byte count ("--- file type: DAT BINARY: 123456 ---").
    CombinedParts parts;
    bool haveCfg = false, haveData = false;
    long lineNumber = 1;
    size_t pos = 0;
    std::string current;
    size_t sectionStart = 0;
    long sectionLine = 1;
    auto close = [&](size_t end) {
        if (current == "CFG" && !haveCfg) {
            parts.cfg = text.substr(sectionStart, end - sectionStart);
            parts.cfgFirstLine = sectionLine;
            haveCfg = true;
        }
    };
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = trim(text.substr(pos, end - pos));
        const size_t next = end + 1;
        if (line.size() > 6 && line.substr(0, 3) == "---" &&
            upper(line).find("FILE TYPE:") != std::string::npos) {
            close(pos);
            std::string name = upper(line.substr(line.find(':') + 1));
            while (!name.empty() && (name.back() == '-' || name.back() == ' '))
                name.pop_back();
            while (!name.empty() && name.front() == ' ')
                name.erase(0, 1);
            current = name.substr(0, name.find(' '));
            sectionStart = std::min(next, text.size());
            sectionLine = lineNumber + 1;
            if (current == "DAT") {
                parts.dataFirstLine = sectionLine;
                parts.dataOffset = static_cast<long long>(sectionStart);
                const size_t colon = name.find(':');
                if (colon != std::string::npos) {
                    std::int64_t size = 0;
                    if (!toInt(std::string_view(name).substr(colon + 1), size) || size < 0)
                        throw ComtradeError(fileName, lineNumber, -1,
                                            "the data section's byte count \"" + name.substr(colon + 1) +
                                                "\" is not a number");
                    const size_t available = text.size() - sectionStart;
                    parts.data =
                        text.substr(sectionStart, std::min<size_t>(static_cast<size_t>(size), available));
                } else {
                    // ASCII data run to the next section or the end.
                    size_t stop = sectionStart;
                    long l = lineNumber + 1;
                    while (stop < text.size()) {
                        size_t e = text.find('\n', stop);
                        if (e == std::string_view::npos)
                            e = text.size();
                        if (trim(text.substr(stop, e - stop)).substr(0, 3) == "---")
                            break;
                        stop = e + 1;
                        ++l;
                    }
                    parts.data = text.substr(sectionStart, std::min(stop, text.size()) - sectionStart);
                }
                haveData = true;
                const size_t skip = sectionStart + parts.data.size();
                // Count the lines of the data section so later headers keep true numbers.
                lineNumber += 1 + static_cast<long>(std::count(parts.data.begin(), parts.data.end(), '\n'));
                pos = skip;
                current.clear();
                sectionStart = pos;
                continue;
            }
        }
        ++lineNumber;
        pos = next;
    }
    close(text.size());
    if (!haveCfg)
        throw ComtradeError(fileName, 1, -1, "no \"--- file type: CFG ---\" section");
    if (!haveData)
        throw ComtradeError(fileName, lineNumber, -1, "no \"--- file type: DAT ---\" section");
    return parts;
}

std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ComtradeError(path, 0, -1, "cannot open the file");
    std::ostringstream out;
    out << in.rdbuf();
    if (in.bad())
        throw ComtradeError(path, 0, -1, "cannot read the file");
    return out.str();
}

namespace {

bool endsWithNoCase(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && upper(s.substr(s.size() - suffix.size())) == upper(suffix);
}

} // namespace

Recording readRecording(const std::string& path) {
    Recording rec;
    rec.cfgPath = path;
    if (endsWithNoCase(path, ".cff")) {
        const std::string bytes = readFileBytes(path);
        const CombinedParts parts = splitCombined(bytes, path);
        rec.config = parseConfig(parts.cfg, path, parts.cfgFirstLine);
        rec.samples = parseData(rec.config, parts.data, path, parts.dataFirstLine, parts.dataOffset);
        return rec;
    }
    rec.config = parseConfig(readFileBytes(path), path);
    // The data file sits beside the configuration with the same name; its extension is
    // written in either case.
    std::string stem = path;
    if (endsWithNoCase(path, ".cfg"))
        stem.resize(path.size() - 4);
    std::string datPath;
    for (const char* ext : {".dat", ".DAT", ".Dat"}) {
        std::ifstream probe(stem + ext, std::ios::binary);
        if (probe) {
            datPath = stem + ext;
            break;
        }
    }
    if (datPath.empty())
        throw ComtradeError(stem + ".dat", 0, -1, "the data file of " + path + " cannot be opened");
    rec.samples = parseData(rec.config, readFileBytes(datPath), datPath);
    return rec;
}

} // namespace comtrade
