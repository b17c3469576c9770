// Importing a 10-second, 6-channel, 256 samples-per-cycle COMTRADE recording (50 Hz, 128,000
// samples per channel) next to reading its bytes: the floor no import can beat. Each
// benchmark reports its wall and CPU time in ms and its CPU-time ratio to the floor measured
// in this run (on shared cores the wall time mostly measures the other jobs).

#include "ComtradeFile.h"
#include "ComtradeGenerator.h"
#include "ComtradeImport.h"
#include "RecordingFile.h"

#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Fixture {
    std::string dir;
    std::string binaryCfg, asciiCfg, out;
    double floorMs = 0;
    double bytes = 0;

    Fixture() {
        dir =
            (fs::temp_directory_path() / ("kestramon-comtrade-bench-" + std::to_string(::getpid()))).string();
        fs::create_directories(dir);
        comtradegen::Recipe recipe = comtradegen::threePhase(50.0, 256, 500);
        recipe.analog[0].tones = {{5, 5.0}, {7, 3.0}};
        recipe.format = comtrade::DataFormat::Binary;
        binaryCfg = comtradegen::writeFiles(recipe, dir + "/binary");
        recipe.format = comtrade::DataFormat::Ascii;
        asciiCfg = comtradegen::writeFiles(recipe, dir + "/ascii");
        out = dir + "/OUT.STD";
        bytes = static_cast<double>(fs::file_size(dir + "/binary.dat") + fs::file_size(binaryCfg));
        std::vector<double> runs;
        for (int i = 0; i < 15; ++i) {
            const double t0 = cpuMs();
            benchmark::DoNotOptimize(readBytes(binaryCfg));
            runs.push_back(cpuMs() - t0);
        }
        std::sort(runs.begin(), runs.end());
        floorMs = runs[runs.size() / 2];
    }
    ~Fixture() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    static std::size_t readBytes(const std::string& cfg) {
        return comtrade::readFileBytes(cfg).size() +
               comtrade::readFileBytes(cfg.substr(0, cfg.size() - 4) + ".dat").size();
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void report(benchmark::State& state, double wallMs, double cpuTotalMs) {
    const double n = static_cast<double>(state.iterations());
    const double cpu = cpuTotalMs / n;
    state.counters["wall_ms"] = wallMs / n;
    state.counters["cpu_ms"] = cpu;
    state.counters["floor_cpu_ms"] = fixture().floorMs;
    state.counters["ratio"] = cpu / fixture().floorMs;
    state.counters["MB"] = fixture().bytes / 1e6;
}

template <typename Body> void timed(benchmark::State& state, Body body) {
    fixture(); // the files are written before the first timed run
    double wall = 0, cpu = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const double c0 = cpuMs();
        body();
        cpu += cpuMs() - c0;
        wall += std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    }
    report(state, wall, cpu);
}

void BM_ReadBytes(benchmark::State& state) {
    timed(state, [] { benchmark::DoNotOptimize(Fixture::readBytes(fixture().binaryCfg)); });
}

void BM_ParseBinary(benchmark::State& state) {
    timed(state, [] {
        benchmark::DoNotOptimize(comtrade::readRecording(fixture().binaryCfg).samples.timeMicros.size());
    });
}

void BM_ParseAscii(benchmark::State& state) {
    timed(state, [] {
        benchmark::DoNotOptimize(comtrade::readRecording(fixture().asciiCfg).samples.timeMicros.size());
    });
}

void BM_ParseAndAnalyseBinary(benchmark::State& state) {
    timed(state, [] {
        recording::Recording rec = comtrade::buildRecording({comtrade::readRecording(fixture().binaryCfg)});
        benchmark::DoNotOptimize(rec.variables.size());
    });
}

void BM_ImportBinaryToRecordingFile(benchmark::State& state) {
    timed(state, [&state] {
        recording::Recording rec = comtrade::buildRecording({comtrade::readRecording(fixture().binaryCfg)});
        recording::RecordingFile::write(rec, fixture().out);
        if (rec.variables.empty())
            state.SkipWithError("nothing imported");
    });
}

} // namespace

BENCHMARK(BM_ReadBytes)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ParseBinary)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ParseAscii)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ParseAndAnalyseBinary)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ImportBinaryToRecordingFile)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
