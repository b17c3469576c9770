// Writes the CSV bench/e2e.sh imports: a header and LINES one-second lines of six voltage
// channels from 2026-01-05 00:00:00 on, now and then an empty cell, as a recorder's export would
// hold them. Usage: e2e_make_csv LINES OUT.csv. The file is written under a temporary name and
// renamed, so an interrupted run leaves no half file under OUT.

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kColumns = 6;
constexpr long long kMaxLines = 1LL << 31;

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void civilFromDays(long long days, int& year, int& month, int& day) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

bool write(const char* path, long long lines) {
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr)
        return false;
    std::string line;
    line.reserve(256);
    line = "time";
    for (int c = 0; c < kColumns; ++c)
        line += ",U" + std::to_string(c + 1) + " (V)";
    line += '\n';
    bool ok = std::fwrite(line.data(), 1, line.size(), out) == line.size();
    const long long firstDay = 20458; // 2026-01-05
    char text[64];
    for (long long i = 0; i < lines && ok; ++i) {
        int year = 0, month = 0, day = 0;
        civilFromDays(firstDay + i / 86400, year, month, day);
        const int s = static_cast<int>(i % 60), m = static_cast<int>(i / 60 % 60),
                  h = static_cast<int>(i / 3600 % 24);
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, h, m, s);
        line = text;
        for (int c = 0; c < kColumns; ++c) {
            line += ',';
            if ((i + c * 977) % 5003 == 0)
                continue;
            const double v = 230 + 5 * std::sin(static_cast<double>(i) / 43200.0 * M_PI + c) +
                             static_cast<double>(i * 7919 % 13) * 0.1;
            const auto r = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 3);
            line.append(text, r.ptr);
        }
        line += '\n';
        ok = std::fwrite(line.data(), 1, line.size(), out) == line.size();
    }
    return std::fclose(out) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    char* end = nullptr;
    const long long lines = argc == 3 ? std::strtoll(argv[1], &end, 10) : 0;
    if (argc != 3 || end == argv[1] || *end != '\0' || lines < 1 || lines > kMaxLines) {
        std::fprintf(stderr, "usage: e2e_make_csv LINES OUT.csv (LINES from 1 to %lld)\n", kMaxLines);
        return 2;
    }
    const std::string temporary = std::string(argv[2]) + ".part";
    if (!write(temporary.c_str(), lines) || std::rename(temporary.c_str(), argv[2]) != 0) {
        std::fprintf(stderr, "e2e_make_csv: cannot write %s: %s\n", argv[2], std::strerror(errno));
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
