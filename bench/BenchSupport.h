#pragma once

// Shared by the benchmarks that time a piece of work against its floor: both run in every
// iteration, one after the other, so a load that comes and goes on the shared machine weighs on
// both alike, and each repetition reports its own ratio. Run with --benchmark_repetitions=5 (or
// more) and read the medians.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace bench {

// The first three fields of /proc/loadavg ("?" where there is none).
inline std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    if (!(in >> one >> five >> fifteen))
        return "?";
    return one + " " + five + " " + fifteen;
}

inline double loadAverage1() {
    std::ifstream in("/proc/loadavg");
    double one = 0;
    in >> one;
    return one;
}

// Peak resident memory of this process in bytes, and its reset (Linux; 0 and no-op elsewhere).
inline double peakRssBytes() {
    std::ifstream in("/proc/self/status");
    std::string key;
    while (in >> key) {
        if (key == "VmHWM:") {
            double kb = 0;
            in >> kb;
            return kb * 1024.0;
        }
        std::getline(in, key);
    }
    return 0;
}

inline double rssBytes() {
    std::ifstream in("/proc/self/status");
    std::string key;
    while (in >> key) {
        if (key == "VmRSS:") {
            double kb = 0;
            in >> kb;
            return kb * 1024.0;
        }
        std::getline(in, key);
    }
    return 0;
}

inline void resetPeakRss() {
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
}

using Clock = std::chrono::steady_clock;

inline double secondsOf(auto&& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Times `floor` and `work` in every iteration, the work's time as the iteration's (manual
// time), and reports ms, floor_ms, their ratio for this repetition and the load average.
// `reset`, untimed, runs before each iteration's floor (to undo what the last iteration left:
// a zoom, objects to destroy).
template <typename Reset, typename Floor, typename Work>
void paired(benchmark::State& state, Reset&& reset, Floor&& floor, Work&& work) {
    double floorTotal = 0;
    double workTotal = 0;
    for (auto _ : state) {
        reset();
        floorTotal += secondsOf(floor);
        const double t = secondsOf(work);
        state.SetIterationTime(t);
        workTotal += t;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["ms"] = workTotal / n * 1e3;
    state.counters["floor_ms"] = floorTotal / n * 1e3;
    state.counters["ratio"] = floorTotal > 0 ? workTotal / floorTotal : 0;
    state.counters["load1"] = loadAverage1();
}

template <typename Floor, typename Work> void paired(benchmark::State& state, Floor&& floor, Work&& work) {
    paired(
        state, [] {}, floor, work);
}

// main() of a benchmark program that prints the load average before and after the run.
inline int runAll(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::AddCustomContext("load_average_at_start", loadAverage());
    benchmark::RunSpecifiedBenchmarks();
    std::fprintf(stderr, "load average at end: %s\n", loadAverage().c_str());
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
