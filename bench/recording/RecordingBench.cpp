// Opening one file of the demonstration week and answering values (10001) and times (10002)
// for the six RMS channels, next to reading the same number of bytes from a plain file into
// freshly allocated memory (larger than the allocator's mmap threshold, so the floor pays the
// first touch of its pages as the rows do): the floor no file format can beat. Both run in
// every iteration; each repetition reports its ratio.

#include "Comando.h"
#include "DataDrivers.h"
#include "DemoRecording.h"
#include "TValorMultiple.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
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

    // The demonstration week's first file, whose RMS variable answers six rows; or a given
    // recording, all of whose variables are read.
    explicit Fixture(const std::string& given = {}) {
        dir = (fs::temp_directory_path() /
               ("kestramon-bench-" + std::to_string(::getpid()) + (given.empty() ? "" : "-given")))
                  .string();
        fs::create_directories(dir);
        recordingPath = given.empty() ? recording::writeDemo(dir)[0] : given;
        // The bytes one answer needs: the value rows and the shared time axis.
        auto file = recording::RecordingFile::open(recordingPath);
        TValorMultiple values, times;
        for (int v = 0; v < (given.empty() ? 1 : file->variableCount()); ++v)
            file->appendRows(v, recording::List::Values, values);
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
    }
    ~Fixture() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    std::size_t readPlain() const {
        const int fd = ::open(plainPath.c_str(), O_RDONLY);
        std::unique_ptr<char[]> buffer(new char[bytes]);
        std::size_t got = 0;
        while (fd >= 0 && got < bytes) {
            const ssize_t n = ::read(fd, buffer.get() + got, bytes - got);
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        if (fd >= 0)
            ::close(fd);
        benchmark::DoNotOptimize(buffer.get());
        return got;
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_OpenAndAnswerSixRmsChannels(benchmark::State& state) {
    Fixture& f = fixture();
    bench::paired(
        state, [&] { benchmark::DoNotOptimize(f.readPlain()); },
        [&] {
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
        });
    state.counters["MB"] = static_cast<double>(f.bytes) / 1e6;
}

} // namespace

// The fixed part of the above: opening the file and reading its catalogue of variables and
// rows, answering nothing.
void BM_OpenOnly(benchmark::State& state) {
    Fixture& f = fixture();
    bench::paired(
        state, [&] { benchmark::DoNotOptimize(f.readPlain()); },
        [&] {
            recording::SourceDriver source;
            benchmark::DoNotOptimize(source.openFile(f.recordingPath));
        });
}

// A recording named by PLOTCORE_BENCH_RECORDING (bench/e2e.sh --keep leaves its imported weeks
// behind): opened and every variable's values read with the shared time axis, against reading as
// many bytes from a plain file. Run at several sizes, it shows what grows with the data and what
// does not.
void BM_OpenAndReadGivenRecording(benchmark::State& state) {
    const char* given = std::getenv("PLOTCORE_BENCH_RECORDING");
    if (given == nullptr || *given == '\0') {
        state.SkipWithError("set PLOTCORE_BENCH_RECORDING to a recording");
        for (auto _ : state) {
        }
        return;
    }
    static Fixture f(given);
    bench::paired(
        state, [&] { benchmark::DoNotOptimize(f.readPlain()); },
        [&] {
            auto file = recording::RecordingFile::open(f.recordingPath);
            TValorMultiple values, times;
            for (int v = 0; v < file->variableCount(); ++v)
                file->appendRows(v, recording::List::Values, values);
            file->appendRows(0, recording::List::Times, times);
            benchmark::DoNotOptimize(values.Datos(0));
        });
    state.counters["MB"] = static_cast<double>(f.bytes) / 1e6;
}

BENCHMARK(BM_OpenAndReadGivenRecording)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(5)
    ->UseManualTime();
BENCHMARK(BM_OpenOnly)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->UseManualTime();
BENCHMARK(BM_OpenAndAnswerSixRmsChannels)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5)
    ->UseManualTime();

int main(int argc, char** argv) {
    return bench::runAll(argc, argv);
}
