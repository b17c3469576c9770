// CSV import of one-second data in six columns (a quarter of a week and a week), against
// reading the same bytes into freshly allocated memory in the same iteration (the floor). Each
// repetition reports its speed in MB/s, its ratio to the floor and the peak memory the import
// added, against the CSV's size and against the recording it produced.

#include "BenchSupport.h"
#include "CsvImport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kColumns = 6;

struct CsvFile {
    std::string path;
    std::size_t bytes = 0;
    std::size_t outputBytes = 0; // the values and one time axis the recording holds
};

// Written once per size: "2026-01-05 00:00:00,230.12,..." with now and then an empty cell.
const CsvFile& csvOf(int lines) {
    static std::map<int, CsvFile> files;
    auto it = files.find(lines);
    if (it != files.end())
        return it->second;
    CsvFile f;
    f.path = (fs::temp_directory_path() /
              ("plotcore-csv-bench-" + std::to_string(::getpid()) + "-" + std::to_string(lines) + ".csv"))
                 .string();
    std::FILE* out = std::fopen(f.path.c_str(), "wb");
    std::fprintf(out, "time");
    for (int c = 0; c < kColumns; ++c)
        std::fprintf(out, ",U%d (V)", c + 1);
    std::fprintf(out, "\n");
    for (int i = 0; i < lines; ++i) {
        const int s = i % 60, m = i / 60 % 60, h = i / 3600 % 24, d = 5 + i / 86400;
        std::fprintf(out, "2026-01-%02d %02d:%02d:%02d", d, h, m, s);
        for (int c = 0; c < kColumns; ++c) {
            if ((i + c * 977) % 5003 == 0)
                std::fprintf(out, ",");
            else
                std::fprintf(out, ",%.3f",
                             230 + 5 * std::sin(i / 43200.0 * M_PI + c) + (i * 7919 % 13) * 0.1);
        }
        std::fprintf(out, "\n");
    }
    std::fclose(out);
    f.bytes = fs::file_size(f.path);
    f.outputBytes = static_cast<std::size_t>(lines) * (kColumns * 8 + 14);
    std::atexit([] {
        for (auto& [n, file] : files) {
            std::error_code ec;
            fs::remove(file.path, ec);
        }
    });
    return files.emplace(lines, f).first->second;
}

std::size_t readAll(const CsvFile& f) {
    const int fd = ::open(f.path.c_str(), O_RDONLY);
    std::unique_ptr<char[]> buffer(new char[f.bytes]);
    std::size_t got = 0;
    while (got < f.bytes) {
        const ssize_t n = ::read(fd, buffer.get() + got, f.bytes - got);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    benchmark::DoNotOptimize(buffer.get());
    return got;
}

void BM_ImportCsv(benchmark::State& state) {
    const CsvFile& f = csvOf(static_cast<int>(state.range(0)));
    double floorTotal = 0, workTotal = 0, peak = 0;
    for (auto _ : state) {
        floorTotal += bench::secondsOf([&] { benchmark::DoNotOptimize(readAll(f)); });
        const double before = bench::rssBytes();
        bench::resetPeakRss();
        double t = 0;
        {
            recording::CsvResult result;
            t = bench::secondsOf([&] { result = recording::importCsvFile(f.path); });
            peak = std::max(peak, bench::peakRssBytes() - before);
            if (!result.problems.empty() || result.recording.variables.size() != kColumns)
                state.SkipWithError("the generated CSV did not import");
        }
        state.SetIterationTime(t);
        workTotal += t;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["ms"] = workTotal / n * 1e3;
    state.counters["floor_ms"] = floorTotal / n * 1e3;
    state.counters["ratio"] = workTotal / floorTotal;
    state.counters["MB_per_s"] = static_cast<double>(f.bytes) / 1e6 / (workTotal / n);
    state.counters["csv_MB"] = static_cast<double>(f.bytes) / 1e6;
    state.counters["peak_MB"] = peak / 1e6;
    state.counters["peak_per_csv"] = peak / static_cast<double>(f.bytes);
    state.counters["peak_per_output"] = peak / static_cast<double>(f.outputBytes);
    state.counters["load1"] = bench::loadAverage1();
}

BENCHMARK(BM_ImportCsv)
    ->Arg(151200)
    ->Arg(604800)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::runAll(argc, argv);
}
