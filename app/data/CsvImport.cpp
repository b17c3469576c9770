#include "CsvImport.h"

#include "TTiempo.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace recording {

namespace {

std::string trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    std::string out = s.substr(a, b - a);
    if (out.size() >= 2 && out.front() == '"' && out.back() == '"')
        out = out.substr(1, out.size() - 2);
    return out;
}

std::vector<std::string> split(const std::string& line, char sep) {
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        if (c == sep && !quoted) {
            cells.push_back(trim(cell));
            cell.clear();
        } else {
            cell += c;
        }
    }
    cells.push_back(trim(cell));
    return cells;
}

// "name (unit)" or "name [unit]"; no brackets means no unit.
void splitHeader(const std::string& cell, std::string& name, std::string& unit) {
    name = cell;
    unit.clear();
    if (cell.empty())
        return;
    const char close = cell.back();
    const char open = close == ')' ? '(' : close == ']' ? '[' : '\0';
    if (open == '\0')
        return;
    const size_t at = cell.rfind(open);
    if (at == std::string::npos)
        return;
    unit = trim(cell.substr(at + 1, cell.size() - at - 2));
    name = trim(cell.substr(0, at));
}

bool readInt(const std::string& s, size_t& pos, int digits, int& out) {
    out = 0;
    for (int i = 0; i < digits; ++i, ++pos) {
        if (pos >= s.size() || !std::isdigit(static_cast<unsigned char>(s[pos])))
            return false;
        out = out * 10 + (s[pos] - '0');
    }
    return true;
}

bool expect(const std::string& s, size_t& pos, char c) {
    if (pos < s.size() && s[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

// Parses an ISO or day/month/year time; false with a reason otherwise.
bool parseTime(const std::string& s, TTiempo& out, std::string& why) {
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
        why = "\"" + s + "\" is not a time (expected 2026-12-05 10:00:00 or 05/12/2026 10:00:00)";
        return false;
    }
    if (mo < 1 || mo > 12 || d < 1 || d > TTiempo::ObtenerDiasMes(mo, y) || h > 23 || mi > 59 || se > 59 ||
        y < 1900 || y > 9999) {
        why = "\"" + s + "\" is not a valid date and time";
        return false;
    }
    out = TTiempo(y, mo, d, h, mi, se, ms);
    return true;
}

bool parseNumber(std::string s, char decimalMark, double& out) {
    if (decimalMark == ',')
        std::replace(s.begin(), s.end(), ',', '.');
    if (s.empty() || s.find_first_not_of("0123456789+-.eE") != std::string::npos)
        return false;
    errno = 0;
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size() && errno == 0 && std::isfinite(out);
}

} // namespace

CsvResult importCsv(const std::string& text, const std::string& sourceName) {
    CsvResult result;
    std::vector<std::string> lines;
    {
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
    }
    // A UTF-8 byte-order mark is not part of the first column's name.
    if (!lines.empty() && lines[0].rfind("\xEF\xBB\xBF", 0) == 0)
        lines[0].erase(0, 3);
    if (lines.empty() || trim(lines[0]).empty()) {
        result.problems.push_back({1, "the file has no header line"});
        return result;
    }
    // The header has no decimal numbers, so a semicolon there means semicolon-separated.
    result.separator = lines[0].find(';') != std::string::npos ? ';' : ',';
    const std::vector<std::string> header = split(lines[0], result.separator);
    if (header.size() < 2) {
        result.problems.push_back({1, "the header names no value column after the time column"});
        return result;
    }
    // Decimal comma when any value cell holds "digit,digit" (in a comma-separated file such a
    // cell must be quoted).
    result.decimalMark = '.';
    {
        for (size_t i = 1; i < lines.size() && result.decimalMark == '.'; ++i) {
            const std::vector<std::string> cells = split(lines[i], result.separator);
            for (size_t c = 1; c < cells.size(); ++c) {
                const std::string& v = cells[c];
                const size_t comma = v.find(',');
                if (comma != std::string::npos && comma > 0 && comma + 1 < v.size() &&
                    std::isdigit(static_cast<unsigned char>(v[comma - 1])) &&
                    std::isdigit(static_cast<unsigned char>(v[comma + 1]))) {
                    result.decimalMark = ',';
                    break;
                }
            }
        }
    }

    const size_t columns = header.size() - 1;
    std::vector<TTiempo> times;
    std::vector<std::vector<double>> values(columns);
    for (size_t i = 1; i < lines.size(); ++i) {
        const int lineNo = static_cast<int>(i) + 1;
        if (trim(lines[i]).empty())
            continue;
        const std::vector<std::string> cells = split(lines[i], result.separator);
        if (cells.size() != header.size()) {
            result.problems.push_back({lineNo, "has " + std::to_string(cells.size()) +
                                                   " columns where the header has " +
                                                   std::to_string(header.size())});
            continue;
        }
        TTiempo t;
        std::string why;
        if (!parseTime(cells[0], t, why)) {
            result.problems.push_back({lineNo, why});
            continue;
        }
        if (!times.empty() && !(times.back() < t)) {
            result.problems.push_back({lineNo, "the time " + cells[0] + " is not after the line before"});
            continue;
        }
        std::vector<double> row(columns, kNoValue);
        bool good = true;
        for (size_t c = 0; c < columns; ++c) {
            const std::string& cell = cells[c + 1];
            if (cell.empty())
                continue; // a missing value
            if (!parseNumber(cell, result.decimalMark, row[c])) {
                result.problems.push_back(
                    {lineNo, "column \"" + header[c + 1] + "\": \"" + cell + "\" is not a number"});
                good = false;
                break;
            }
        }
        if (!good)
            continue;
        times.push_back(t);
        for (size_t c = 0; c < columns; ++c)
            values[c].push_back(row[c]);
    }
    if (times.empty() && result.problems.empty())
        result.problems.push_back({1, "the file holds no data lines"});

    Recording& rec = result.recording;
    rec.info["source"] = sourceName;
    const std::vector<TTiempo> range =
        times.empty() ? std::vector<TTiempo>{} : std::vector<TTiempo>{times.front(), times.back()};
    // The recording period is the most common step between lines.
    double period = 0;
    if (times.size() >= 2) {
        std::vector<long long> steps;
        for (size_t i = 1; i < times.size(); ++i) {
            auto secs = [](const TTiempo& x) {
                return x.DiasDesdeEpoca() * 86400LL + x.Hora * 3600LL + x.Minuto * 60LL + x.Segundo;
            };
            steps.push_back(secs(times[i]) - secs(times[i - 1]));
        }
        std::sort(steps.begin(), steps.end());
        period = static_cast<double>(steps[steps.size() / 2]);
    }
    for (size_t c = 0; c < columns; ++c) {
        std::string name, unit;
        splitHeader(header[c + 1], name, unit);
        if (name.empty())
            name = "Column " + std::to_string(c + 2);
        const int code = 0;
        Variable& v = rec.add(VariableInfo{1, static_cast<std::int32_t>(c + 1), name, unit, 0, code});
        v.list(List::Values).EntrarDoubles(values[c]);
        v.list(List::Times).EntrarTiempos(times);
        v.list(List::Units).EntrarTexto(unit);
        v.list(List::Names).EntrarTexto(name);
        v.list(List::Options).EntrarDoubles(optionsRow(0, code, period));
        v.list(List::Intervals).EntrarTiempos(range);
        v.list(List::Decimals).EntrarDoubles({2});
        v.list(List::GeneralTimes).EntrarTiempos(range);
    }
    return result;
}

CsvResult importCsvFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        CsvResult r;
        r.problems.push_back({0, "cannot be opened for reading"});
        return r;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return importCsv(text.str(), path);
}

} // namespace recording
