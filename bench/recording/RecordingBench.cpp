// Opening one file of the demonstration week and answering values (10001) and times (10002)
// for the six RMS channels, next to reading the same number of bytes from a plain file: the
// floor no file format can beat. Every benchmark reports its time in ms and its ratio to the
// floor measured in this run.

#include "Comando.h"
#include "DataDrivers.h"
#include "DemoRecording.h"
#include "TValorMultiple.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Fixture {
    std::string dir;
    std::string recordingPath;
    std::string plainPath;
    std::size_t bytes = 0;
    double floorMs = 0;

    Fixture() {
        dir = (fs::temp_directory_path() / ("kestramon-bench-" + std::to_string(::getpid()))).string();
        recordingPath = recording::writeDemo(dir)[0];
        // The bytes one answer needs: six value rows and the shared time axis.
        auto file = recording::RecordingFile::open(recordingPath);
        TValorMultiple values, times;
        file->appendRows(0, recording::List::Values, values);
        file->appendRows(0, recording::List::Times, times);
        bytes = static_cast<std::size_t>(times.Elementos(0)) * 14;
        for (int r = 0; r < values.Cuenta(); ++r)
            bytes += static_cast<std::size_t>(values.Elementos(r)) * 8;
        plainPath = dir + "/plain.bin";
        std::ofstream out(plainPath, std::ios::binary);
        std::vector<char> block(1 << 20, 'x');
        for (std::size_t left = bytes; left > 0;) {
            const std::size_t n = std::min(left, block.size());
            out.write(block.data(), static_cast<std::streamsize>(n));
            left -= n;
        }
        out.close();
        std::vector<double> runs;
        for (int i = 0; i < 15; ++i) {
            const auto t0 = Clock::now();
            benchmark::DoNotOptimize(readPlain());
            runs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        }
        std::sort(runs.begin(), runs.end());
        floorMs = runs[runs.size() / 2];
    }
    ~Fixture() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    std::size_t readPlain() const {
        std::ifstream in(plainPath, std::ios::binary);
        std::vector<char> buffer(bytes);
        in.read(buffer.data(), static_cast<std::streamsize>(bytes));
        return static_cast<std::size_t>(in.gcount());
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void report(benchmark::State& state, double totalMs) {
    const double ms = totalMs / static_cast<double>(state.iterations());
    state.counters["ms"] = ms;
    state.counters["floor_ms"] = fixture().floorMs;
    state.counters["ratio"] = ms / fixture().floorMs;
    state.counters["MB"] = static_cast<double>(fixture().bytes) / 1e6;
}

void BM_PlainFileRead(benchmark::State& state) {
    Fixture& f = fixture();
    double total = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(f.readPlain());
        total += std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    }
    report(state, total);
}

void BM_OpenAndAnswerSixRmsChannels(benchmark::State& state) {
    Fixture& f = fixture();
    double total = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        recording::SourceDriver source;
        recording::RecordingDriver* driver = source.openFile(f.recordingPath);
        TValorMultiple values, times;
        for (auto [command, list] : {std::pair{10001, &values}, std::pair{10002, &times}}) {
            Comando c(command);
            c.EntrarParam(TValor::Entero(5));
            c.EntrarParam(TValor::Entero(1));
            driver->ProgCom(&c, list, 0, nullptr);
        }
        if (values.Cuenta() != 6 || times.Cuenta() != 6)
            state.SkipWithError("the RMS variable did not answer six rows");
        benchmark::DoNotOptimize(values.Datos(5));
        total += std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    }
    report(state, total);
}

} // namespace

BENCHMARK(BM_PlainFileRead)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_OpenAndAnswerSixRmsChannels)->Unit(benchmark::kMillisecond)->Iterations(20);

BENCHMARK_MAIN();
