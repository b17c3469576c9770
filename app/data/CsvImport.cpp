#include "CsvImport.h"

#include "RecordingFile.h"
#include "TTiempo.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <string_view>

namespace fs = std::filesystem;

namespace recording {

namespace {

// Lines of a stream ended by LF, CR LF or a bare CR, handed out as views into one buffer that
// is refilled as the file streams in: a line is copied only when it straddles two reads. The
// buffer grows to hold a long line up to kCsvMaxLineBytes; a longer line is read to its end
// but not kept, so memory stays bounded whatever the file holds.
class LineReader {
public:
    explicit LineReader(std::istream& in) : m_in(in), m_buffer(kInitialBytes) {}

    // The view stays valid until the next call.
    bool next(std::string_view& line, bool& tooLong) {
        line = {};
        tooLong = false;
        if (m_afterCr) {
            // The LF of a CR LF split between two reads.
            if (m_pos == m_len && !fill())
                return false;
            m_afterCr = false;
            if (m_buffer[m_pos] == '\n')
                ++m_pos;
        }
        std::size_t scanned = m_pos;
        for (;;) {
            const char* begin = m_buffer.data() + scanned;
            const char* end = m_buffer.data() + m_len;
            const char* stop = std::find_if(begin, end, [](char c) { return c == '\n' || c == '\r'; });
            if (stop != end) {
                const std::size_t at = static_cast<std::size_t>(stop - m_buffer.data());
                // The buffer holds a little more than the bound, so a line just over it may
                // still be whole here.
                tooLong = m_skipping || at - m_pos > kCsvMaxLineBytes;
                if (!tooLong)
                    line = std::string_view(m_buffer.data() + m_pos, at - m_pos);
                m_skipping = false;
                m_pos = at + 1;
                if (*stop == '\r') {
                    if (m_pos < m_len) {
                        if (m_buffer[m_pos] == '\n')
                            ++m_pos;
                    } else {
                        m_afterCr = true;
                    }
                }
                return true;
            }
            // No end of line in what is held: keep the partial line and read more.
            scanned = m_len;
            if (m_skipping) {
                m_pos = m_len = scanned = 0;
            } else if (m_len - m_pos > kCsvMaxLineBytes) {
                // Too long to keep: the rest of the line is skipped as it streams in.
                m_skipping = true;
                m_pos = m_len = scanned = 0;
            }
            const std::size_t kept = m_len - m_pos;
            if (!fill()) {
                // The last line need not end with a line break.
                if (kept == 0 && !m_skipping)
                    return false;
                tooLong = m_skipping || kept > kCsvMaxLineBytes;
                if (!tooLong)
                    line = std::string_view(m_buffer.data() + m_pos, kept);
                m_skipping = false;
                m_pos = m_len;
                return true;
            }
            scanned = m_pos + kept; // fill() moved the kept bytes to the front
        }
    }

private:
    static constexpr std::size_t kInitialBytes = 1u << 20;

    // Moves the unread bytes to the front, grows the buffer when they fill it, and reads more.
    bool fill() {
        const std::size_t kept = m_len - m_pos;
        if (m_pos > 0 && kept > 0)
            std::memmove(m_buffer.data(), m_buffer.data() + m_pos, kept);
        m_pos = 0;
        m_len = kept;
        if (m_len == m_buffer.size())
            m_buffer.resize(std::min(m_buffer.size() * 2, kCsvMaxLineBytes + kInitialBytes));
        m_in.read(m_buffer.data() + m_len, static_cast<std::streamsize>(m_buffer.size() - m_len));
        const auto got = static_cast<std::size_t>(m_in.gcount());
        m_len += got;
        return got > 0;
    }

    std::istream& m_in;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_len = 0;
    bool m_afterCr = false;
    bool m_skipping = false;
};

struct Cell {
    std::string_view text;
    bool quoted = false;
};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

Cell trimmed(std::string_view s) {
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        return {s.substr(1, s.size() - 2), true};
    return {s, false};
}

// Splits `line` at `sep` outside quotes into `cells`, keeping at most `limit` of them (the
// views point into `line`). Returns the number of cells the line holds.
size_t split(std::string_view line, char sep, std::vector<Cell>& cells, size_t limit) {
    cells.clear();
    size_t count = 0, start = 0;
    bool quoted = false;
    for (size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size()) {
            if (line[i] == '"')
                quoted = !quoted;
            if (line[i] != sep || quoted)
                continue;
        }
        if (count++ < limit)
            cells.push_back(trimmed(line.substr(start, i - start)));
        start = i + 1;
    }
    return count;
}

// A cell as it may be quoted in a message: a few dozen characters, control bytes shown as "?".
std::string shown(std::string_view s) {
    constexpr size_t kShown = 40;
    std::string out;
    for (size_t i = 0; i < s.size() && i < kShown; ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        out += c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
    }
    if (s.size() > kShown)
        out += "...";
    return out;
}

bool validUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int more = 0;
        unsigned cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(more) >= s.size())
            return false;
        for (int k = 1; k <= more; ++k) {
            const auto d = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            if ((d & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF.
        if ((more == 2 && cp < 0x800) || (more == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<size_t>(more) + 1;
    }
    return true;
}

std::string latin1ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 4);
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Text stored in a recording is UTF-8: anything else is taken to be Latin-1.
std::string asUtf8(std::string_view s) {
    return validUtf8(s) ? std::string(s) : latin1ToUtf8(s);
}

bool hasControl(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

// "name (unit)" or "name [unit]"; no brackets means no unit.
void splitHeader(std::string_view cell, std::string& name, std::string& unit) {
    name = std::string(cell);
    unit.clear();
    if (cell.empty())
        return;
    const char close = cell.back();
    const char open = close == ')' ? '(' : close == ']' ? '[' : '\0';
    if (open == '\0')
        return;
    const size_t at = cell.rfind(open);
    if (at == std::string_view::npos)
        return;
    unit = std::string(trimmed(cell.substr(at + 1, cell.size() - at - 2)).text);
    name = std::string(trimmed(cell.substr(0, at)).text);
}

bool readInt(std::string_view s, size_t& pos, int digits, int& out) {
    out = 0;
    for (int i = 0; i < digits; ++i, ++pos) {
        if (pos >= s.size() || !std::isdigit(static_cast<unsigned char>(s[pos])))
            return false;
        out = out * 10 + (s[pos] - '0');
    }
    return true;
}

bool expect(std::string_view s, size_t& pos, char c) {
    if (pos < s.size() && s[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

// Parses an ISO or day/month/year time; false with a reason otherwise.
bool parseTime(std::string_view s, TTiempo& out, std::string& why) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0, ms = -1;
    size_t pos = 0;
    bool ok;
    if (s.size() >= 10 && s[4] == '-')
        ok = readInt(s, pos, 4, y) && expect(s, pos, '-') && readInt(s, pos, 2, mo) && expect(s, pos, '-') &&
             readInt(s, pos, 2, d);
    else
        ok = readInt(s, pos, 2, d) && expect(s, pos, '/') && readInt(s, pos, 2, mo) && expect(s, pos, '/') &&
             readInt(s, pos, 4, y);
    ok = ok && (expect(s, pos, ' ') || expect(s, pos, 'T')) && readInt(s, pos, 2, h) && expect(s, pos, ':') &&
         readInt(s, pos, 2, mi) && expect(s, pos, ':') && readInt(s, pos, 2, se);
    if (ok && pos < s.size() && (s[pos] == '.' || s[pos] == ',')) {
        ++pos;
        ok = readInt(s, pos, 3, ms);
    }
    if (!ok || pos != s.size()) {
        why = "\"" + shown(s) + "\" is not a time (expected 2026-12-05 10:00:00 or 05/12/2026 10:00:00)";
        return false;
    }
    if (mo < 1 || mo > 12 || d < 1 || d > TTiempo::ObtenerDiasMes(mo, y) || h > 23 || mi > 59 || se > 59 ||
        y < 1900 || y > 9999) {
        why = "\"" + shown(s) + "\" is not a valid date and time";
        return false;
    }
    out = TTiempo(y, mo, d, h, mi, se, ms);
    return true;
}

// Milliseconds since the epoch; a time without milliseconds is at its whole second, so
// "10:00:00" and "10:00:00.000" are the same instant.
long long instant(const TTiempo& t) {
    return ((t.DiasDesdeEpoca() * 24 + t.Hora) * 60 + t.Minuto) * 60000LL + t.Segundo * 1000LL +
           std::max<int>(t.Milesima, 0);
}

enum class Number { Ok, NotANumber, OutOfRange };

// Locale-independent: the process locale may use a decimal comma whatever the file holds.
bool numberChar(char c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
}

Number parseNumber(std::string_view s, char decimalMark, double& out) {
    constexpr size_t kLongest = 128;
    if (s.empty() || s.size() > kLongest)
        return Number::NotANumber;
    // A decimal point is read in place; a decimal comma is read from a copy with a point.
    char buf[kLongest];
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (decimalMark == '.') {
        if (!std::all_of(first, last, numberChar))
            return Number::NotANumber;
    } else {
        size_t n = 0;
        for (char c : s) {
            if (c == decimalMark)
                c = '.';
            else if (c == '.')
                return Number::NotANumber;
            if (!numberChar(c))
                return Number::NotANumber;
            buf[n++] = c;
        }
        first = buf;
        last = buf + n;
    }
    const char* begin = first;
    if (*begin == '+' && begin + 1 < last &&
        (std::isdigit(static_cast<unsigned char>(begin[1])) || begin[1] == '.'))
        ++begin;
    const auto [end, ec] = std::from_chars(begin, last, out);
    if (end != last)
        return Number::NotANumber;
    if (ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is an error.
        const std::string_view text(begin, static_cast<size_t>(last - begin));
        const size_t e = text.find_first_of("eE");
        const std::string_view mantissa = text.substr(0, e);
        const bool negativeExponent =
            e != std::string_view::npos && e + 1 < text.size() && text[e + 1] == '-';
        const size_t point = mantissa.find('.');
        const std::string_view whole = mantissa.substr(0, point);
        const bool wholeIsZero = whole.find_first_not_of("+-0") == std::string_view::npos;
        if (negativeExponent || (e == std::string_view::npos && wholeIsZero)) {
            out = text.front() == '-' ? -0.0 : 0.0;
            return Number::Ok;
        }
        return Number::OutOfRange;
    }
    if (ec != std::errc())
        return Number::NotANumber;
    return std::isfinite(out) ? Number::Ok : Number::OutOfRange;
}

// A column as it is read: fixed-size chunks, so growing never copies nor holds twice what was
// read, moved into its row once the length is known.
template <typename T> class Chunks {
public:
    void push(const T& value) {
        if (m_inLast == kChunk) {
            m_chunks.emplace_back(new T[kChunk]);
            m_inLast = 0;
        }
        m_chunks.back()[m_inLast++] = value;
    }
    std::size_t size() const { return m_chunks.empty() ? 0 : (m_chunks.size() - 1) * kChunk + m_inLast; }
    // Copies every value to `out` and frees the chunks.
    void moveTo(T* out) {
        for (std::size_t k = 0; k < m_chunks.size(); ++k) {
            const std::size_t n = k + 1 == m_chunks.size() ? m_inLast : kChunk;
            std::copy(m_chunks[k].get(), m_chunks[k].get() + n, out);
            out += n;
            m_chunks[k].reset();
        }
        m_chunks.clear();
        m_inLast = kChunk;
    }

private:
    static constexpr std::size_t kChunk = 1u << 16;
    std::vector<std::unique_ptr<T[]>> m_chunks;
    std::size_t m_inLast = kChunk;
};

// How many first data lines (and bytes) decide the decimal mark.
constexpr size_t kSniffLines = 100;
constexpr size_t kSniffBytes = 1u << 20;

class Importer {
public:
    Importer(std::istream& in, const std::string& sourceName) : m_lines(in), m_source(sourceName) {}

    CsvResult run() {
        std::string_view line;
        bool tooLong = false;
        if (!m_lines.next(line, tooLong) || tooLong) {
            if (tooLong)
                problem(1, "line too long (more than " + std::to_string(kCsvMaxLineBytes) + " bytes)");
            else
                problem(1, "the file has no header line");
            return std::move(m_result);
        }
        m_lineNo = 1;
        if (!readHeader(std::string(line)))
            return std::move(m_result);

        // The decimal mark is decided from the first lines, so those are held back.
        std::vector<std::pair<std::string, bool>> first;
        size_t held = 0;
        while (first.size() < kSniffLines && held < kSniffBytes && m_lines.next(line, tooLong)) {
            held += line.size();
            first.emplace_back(std::string(line), tooLong);
        }
        m_result.decimalMark = decideDecimalMark(first);
        for (auto& [text, longLine] : first) {
            if (!dataLine(text, longLine))
                return finish();
        }
        first.clear();
        while (m_lines.next(line, tooLong)) {
            if (!dataLine(line, tooLong))
                break;
        }
        return finish();
    }

private:
    // False once reading should stop.
    bool problem(int line, std::string message) {
        if (m_stopped)
            return false;
        if (m_result.problems.size() >= kCsvMaxProblems) {
            m_result.problems.push_back(
                {line, "more than " + std::to_string(kCsvMaxProblems) +
                           " lines could not be read; the rest of the file was not read"});
            m_stopped = true;
            return false;
        }
        m_result.problems.push_back({line, std::move(message)});
        return true;
    }

    bool readHeader(std::string line) {
        // A UTF-8 byte-order mark is not part of the first column's name.
        if (line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        if (trimmed(line).text.empty()) {
            problem(1, "the file has no header line");
            return false;
        }
        line = asUtf8(line);
        // The header has no decimal numbers, so a semicolon there means semicolon-separated.
        m_result.separator = line.find(';') != std::string::npos ? ';' : ',';
        std::vector<Cell> cells;
        const size_t count = split(line, m_result.separator, cells, kCsvMaxColumns + 1);
        if (count < 2) {
            problem(1, "the header names no value column after the time column");
            return false;
        }
        if (count > kCsvMaxColumns + 1) {
            problem(1, "the header has " + std::to_string(count) + " columns, more than " +
                           std::to_string(kCsvMaxColumns + 1));
            return false;
        }
        m_columns = count - 1;
        bool good = true;
        for (size_t c = 1; c < cells.size(); ++c) {
            std::string name, unit;
            splitHeader(cells[c].text, name, unit);
            if (hasControl(name) || hasControl(unit)) {
                good = false;
                if (!problem(1, "column " + std::to_string(c + 1) + " (\"" + shown(cells[c].text) +
                                    "\"): the name holds a control character"))
                    break;
                continue;
            }
            if (name.empty())
                name = "Column " + std::to_string(c + 1);
            m_names.push_back(std::move(name));
            m_units.push_back(std::move(unit));
            m_headerCells.push_back(shown(cells[c].text));
        }
        m_values.resize(m_columns);
        return good && !m_stopped;
    }

    // A semicolon-separated file holds decimal commas when an unquoted cell shows
    // "digit,digit"; in a comma-separated file a comma cannot be a decimal mark unquoted,
    // and quoted cells are text that decides nothing.
    char decideDecimalMark(const std::vector<std::pair<std::string, bool>>& first) {
        if (m_result.separator != ';')
            return '.';
        std::vector<Cell> cells;
        for (const auto& [text, longLine] : first) {
            split(text, ';', cells, m_columns + 1);
            for (size_t c = 1; c < cells.size(); ++c) {
                const std::string_view v = cells[c].text;
                if (cells[c].quoted)
                    continue;
                const size_t comma = v.find(',');
                if (comma != std::string_view::npos && comma > 0 && comma + 1 < v.size() &&
                    std::isdigit(static_cast<unsigned char>(v[comma - 1])) &&
                    std::isdigit(static_cast<unsigned char>(v[comma + 1])))
                    return ',';
            }
        }
        return '.';
    }

    bool dataLine(std::string_view line, bool tooLong) {
        if (m_lineNo == std::numeric_limits<int>::max()) {
            m_result.problems.push_back({m_lineNo, "the file has more lines than can be counted"});
            m_stopped = true;
            return false;
        }
        const int lineNo = ++m_lineNo;
        if (tooLong)
            return problem(lineNo,
                           "line too long (more than " + std::to_string(kCsvMaxLineBytes) + " bytes)");
        if (trimmed(line).text.empty())
            return true;
        const size_t count = split(line, m_result.separator, m_cells, m_columns + 2);
        if (count != m_columns + 1)
            return problem(lineNo, "has " + std::to_string(count) + " columns where the header has " +
                                       std::to_string(m_columns + 1));
        TTiempo t;
        std::string why;
        if (!parseTime(m_cells[0].text, t, why))
            return problem(lineNo, why);
        const long long at = instant(t);
        if (m_times.size() > 0 && at <= m_lastInstant)
            return problem(lineNo, "the time " + shown(m_cells[0].text) + " is not after the line before");
        m_row.assign(m_columns, kNoValue);
        for (size_t c = 0; c < m_columns; ++c) {
            const std::string_view cell = m_cells[c + 1].text;
            if (cell.empty())
                continue; // a missing value
            const Number n = parseNumber(cell, m_result.decimalMark, m_row[c]);
            if (n == Number::Ok && m_row[c] != kNoValue)
                continue;
            const std::string where = "column \"" + m_headerCells[c] + "\": \"" + shown(cell) + "\"";
            if (n == Number::NotANumber)
                return problem(lineNo, where + " is not a number");
            if (n == Number::OutOfRange)
                return problem(lineNo, where + " is out of range");
            return problem(lineNo,
                           where + " is the missing-value marker; leave the cell empty for a missing value");
        }
        m_times.push(t);
        m_lastInstant = at;
        for (size_t c = 0; c < m_columns; ++c)
            m_values[c].push(m_row[c]);
        return true;
    }

    CsvResult finish() {
        if (m_times.size() == 0 && m_result.problems.empty())
            m_result.problems.push_back({1, "the file holds no data lines"});
        // The lines that were read still make a recording, for callers that show what was read.
        if (m_times.size() == 0 || m_stopped)
            return std::move(m_result);

        Recording& rec = m_result.recording;
        rec.info["source"] = asUtf8(m_source);
        const std::size_t count = m_times.size();
        // One time row, shared by every column.
        TValorMultiple shared;
        auto* times = static_cast<TTiempo*>(shared.EntrarBloqueSinCeros(static_cast<int>(sizeof(TTiempo)),
                                                                        static_cast<int>(count), TV_TIEMPO));
        m_times.moveTo(times);
        const std::vector<TTiempo> range{times[0], times[count - 1]};
        // The recording period is the most common step between lines, in whole seconds.
        double period = 0;
        if (count >= 2) {
            std::vector<long long> steps;
            steps.reserve(count - 1);
            long long previous = instant(times[0]) / 1000;
            for (size_t i = 1; i < count; ++i) {
                const long long second = instant(times[i]) / 1000;
                steps.push_back(second - previous);
                previous = second;
            }
            std::nth_element(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(steps.size() / 2),
                             steps.end());
            period = static_cast<double>(steps[steps.size() / 2]);
        }
        for (size_t c = 0; c < m_columns; ++c) {
            const int code = 0;
            Variable& v =
                rec.add(VariableInfo{1, static_cast<std::int32_t>(c + 1), m_names[c], m_units[c], 0, code});
            // Each column is moved into its row as it is freed, so the import holds one extra
            // column at most.
            m_values[c].moveTo(static_cast<double*>(
                v.list(List::Values).EntrarBloqueSinCeros(8, static_cast<int>(count), TV_DOUBLE)));
            v.list(List::Times).CopiarFila(shared, 0);
            v.list(List::Units).EntrarTexto(m_units[c]);
            v.list(List::Names).EntrarTexto(m_names[c]);
            v.list(List::Options).EntrarDoubles(optionsRow(0, code, period));
            v.list(List::Intervals).EntrarTiempos(range);
            v.list(List::Decimals).EntrarDoubles({2});
            v.list(List::GeneralTimes).EntrarTiempos(range);
        }
        return std::move(m_result);
    }

    LineReader m_lines;
    std::string m_source;
    CsvResult m_result;
    int m_lineNo = 0;
    bool m_stopped = false;
    size_t m_columns = 0;
    std::vector<std::string> m_names, m_units, m_headerCells;
    std::vector<Cell> m_cells;
    std::vector<double> m_row;
    Chunks<TTiempo> m_times;
    long long m_lastInstant = 0;
    std::vector<Chunks<double>> m_values;
};

} // namespace

CsvResult importCsv(std::istream& in, const std::string& sourceName) {
    return Importer(in, sourceName).run();
}

CsvResult importCsv(const std::string& text, const std::string& sourceName) {
    std::istringstream in(text);
    return importCsv(in, sourceName);
}

CsvResult importCsvFile(const std::string& path) {
    CsvResult r;
    std::error_code ec;
    // Checked before opening: opening a FIFO would wait for a writer, and a device may never end.
    const fs::file_status st = fs::status(path, ec);
    if (ec || !fs::exists(st)) {
        r.problems.push_back({0, "cannot be opened for reading (the file does not exist)"});
        return r;
    }
    if (!fs::is_regular_file(st)) {
        r.problems.push_back({0, "not a regular file"});
        return r;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        r.problems.push_back({0, "cannot be opened for reading"});
        return r;
    }
    r = importCsv(in, path);
    if (in.bad())
        r.problems.insert(r.problems.begin(), CsvProblem{0, "a read error stopped reading the file"});
    return r;
}

int runCsvImport(const std::string& csv, const std::string& out, bool overwrite) {
    std::error_code ec;
    if (fs::equivalent(csv, out, ec) ||
        fs::absolute(csv, ec).lexically_normal() == fs::absolute(out, ec).lexically_normal()) {
        std::fprintf(stderr, "kestramon: %s: the output is the input file; nothing was written\n",
                     out.c_str());
        return 1;
    }
    std::string why;
    if (!RecordingFile::isReplaceable(out, &why)) {
        const fs::file_status st = fs::symlink_status(out, ec);
        const bool mayForce = fs::is_symlink(st) || fs::is_regular_file(st);
        if (!overwrite || !mayForce) {
            std::fprintf(stderr, "kestramon: %s: %s; it was not replaced%s\n", out.c_str(), why.c_str(),
                         mayForce ? " (--overwrite replaces it)" : "");
            return 1;
        }
    }
    const CsvResult result = importCsvFile(csv);
    if (!result.problems.empty()) {
        // Nothing is written when a line cannot be read: a recording missing rows would look
        // complete.
        for (const CsvProblem& p : result.problems)
            std::fprintf(stderr, "%s:%d: %s\n", csv.c_str(), p.line, p.message.c_str());
        std::fprintf(stderr, "kestramon: %s could not be read; %s was not written\n", csv.c_str(),
                     out.c_str());
        return 2;
    }
    try {
        RecordingFile::write(result.recording, out);
    } catch (const RecordingError& e) {
        std::fprintf(stderr, "kestramon: %s\n", e.what());
        return 1;
    }
    std::printf("%s: %zu variable(s)\n", out.c_str(), result.recording.variables.size());
    return 0;
}

} // namespace recording
