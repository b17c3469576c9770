// Writes the CSV bench/e2e.sh imports: a header and LINES one-second lines of six voltage
// channels from 2026-01-05 00:00:00 on, now and then an empty cell, as a recorder's export would
// hold them. Usage: e2e_make_csv LINES OUT.csv. The file is written under a temporary name and
// renamed, so an interrupted run leaves no half file under OUT.

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kColumns = 6;
constexpr long long kMaxLines = 1LL << 31;

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
        const std::chrono::year_month_day date{
            std::chrono::sys_days{std::chrono::days{firstDay + i / 86400}}};
        const int year = static_cast<int>(date.year());
        const int month = static_cast<int>(static_cast<unsigned>(date.month()));
        const int day = static_cast<int>(static_cast<unsigned>(date.day()));
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
