// Series alignment and interval cutting, each timed against a floor measured in the same run:
// one pass copying the same arrays. The "ratio" counter is time / floor; the 1x, 4x and 16x
// arguments show that both grow linearly with the number of points. The alignment's floor runs
// in every iteration and copies into freshly allocated memory of the output's size, as the
// alignment must write its rows into new memory; with python3 and pandas present, the same
// series are also outer-joined by pandas (bench/grouping/pandas_align.py) in the same run.
#include "Agrupacion.h"
#include "CatalogoFicheros.h"
#include "TTiempo.h"
#include "TValorMultiple.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Reloj = std::chrono::steady_clock;

constexpr int kSeries = 12;
// A week of one-second points is the 16x size of the alignment; 3.6 million times (about six
// weeks of one-second points) the 16x size of the cutting.
constexpr int kPuntosSemana = 604800;
constexpr int kTiemposCorte = 3600000;

std::vector<TTiempo> Segundos(int n) {
    std::vector<TTiempo> t(static_cast<size_t>(n));
    TTiempo x(2026, 1, 5, 0, 0, 0, 0);
    for (int i = 0; i < n; ++i) {
        t[static_cast<size_t>(i)] = x;
        x.SumarSegundos(1);
    }
    return t;
}

// Twelve series over the same seconds, each with its own gaps: series s misses 300 points in
// every 10,000, starting at a different place, so the merge sees every mix of present and
// absent series.
struct Entrada {
    TValorMultiple tiempos, valores, intervalos;
};

Entrada Series(int n) {
    const std::vector<TTiempo> todos = Segundos(n);
    Entrada e;
    for (int s = 0; s < kSeries; ++s) {
        std::vector<TTiempo> t;
        std::vector<double> v;
        t.reserve(todos.size());
        v.reserve(todos.size());
        for (int i = 0; i < n; ++i) {
            const int fase = i % 10000 - s * 700;
            if (fase >= 0 && fase < 300)
                continue;
            t.push_back(todos[static_cast<size_t>(i)]);
            v.push_back(s * 1000.0 + i * 0.001);
        }
        e.tiempos.EntrarTiempos(t);
        e.valores.EntrarDoubles(v);
        e.intervalos.EntrarTiempos({t.front(), t[t.size() / 2], t[t.size() / 2 + 1], t.back()});
    }
    return e;
}

// Best of a few runs, so one slow pass does not flatter the ratio.
template <typename F> double Suelo(F&& f) {
    double mejor = 1e30;
    for (int i = 0; i < 5; ++i)
        mejor = std::min(mejor, f());
    return mejor;
}

void Informar(benchmark::State& state, double total, double suelo) {
    const double media = total / static_cast<double>(state.iterations());
    state.counters["ms"] = media * 1e3;
    state.counters["floor_ms"] = suelo * 1e3;
    state.counters["ratio"] = media / suelo;
}

// The least an alignment can cost: every input row copied into new memory as large as the
// output (12 value rows and one time row of the merged length).
void CopiarANuevaMemoria(const Entrada& e, size_t pasos) {
    const size_t bytes = pasos * (kSeries * 8 + sizeof(TTiempo));
    std::unique_ptr<unsigned char[]> destino(new unsigned char[bytes]);
    size_t escrito = 0;
    for (int s = 0; s < kSeries; ++s) {
        const size_t n = static_cast<size_t>(e.valores.Elementos(s)) * 8;
        std::memcpy(destino.get() + escrito, e.valores.Datos(s), n);
        escrito += pasos * 8;
    }
    std::memcpy(destino.get() + escrito, e.tiempos.Datos(0),
                static_cast<size_t>(e.tiempos.Elementos(0)) * sizeof(TTiempo));
    benchmark::DoNotOptimize(destino.get());
}

void BM_AlinearSeries(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Entrada entrada = Series(n);
    size_t pasos = 0;
    {
        Entrada e = entrada;
        pasos = static_cast<size_t>(CatalogoFicheros::AlinearSeries(e.tiempos, e.valores, e.intervalos));
    }
    bench::paired(
        state, [&] { CopiarANuevaMemoria(entrada, pasos); },
        [&] {
            Entrada e = entrada; // rows are shared, so this costs no copy of the points
            benchmark::DoNotOptimize(CatalogoFicheros::AlinearSeries(e.tiempos, e.valores, e.intervalos));
        });
    state.SetItemsProcessed(state.iterations() * kSeries * n);
}
BENCHMARK(BM_AlinearSeries)
    ->Arg(kPuntosSemana / 16)
    ->Arg(kPuntosSemana / 4)
    ->Arg(kPuntosSemana)
    ->Iterations(5)
    ->Repetitions(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The same twelve series written for the pandas script: per series its length, the times in
// milliseconds since the epoch and the values.
std::string EscribirParaPandas(const Entrada& e) {
    const std::string ruta =
        (std::filesystem::temp_directory_path() / ("plotcore-align-" + std::to_string(::getpid()) + ".bin"))
            .string();
    std::FILE* f = std::fopen(ruta.c_str(), "wb");
    for (int s = 0; s < kSeries; ++s) {
        const std::int64_t n = e.tiempos.Elementos(s);
        std::fwrite(&n, 8, 1, f);
        const TTiempo* t = e.tiempos.Tiempos(s);
        for (std::int64_t i = 0; i < n; ++i) {
            const std::int64_t ms = ((t[i].DiasDesdeEpoca() * 24 + t[i].Hora) * 60 + t[i].Minuto) * 60000LL +
                                    t[i].Segundo * 1000LL;
            std::fwrite(&ms, 8, 1, f);
        }
        std::fwrite(e.valores.Doubles(s), 8, static_cast<size_t>(n), f);
    }
    std::fclose(f);
    return ruta;
}

// Runs pandas' outer join of the series `veces` times; its total seconds, or a negative number
// when python3 or pandas is missing.
double Pandas(const std::string& datos, int veces) {
    // The system's interpreter, where Debian's python3-pandas installs, before any other.
    const std::string python = std::filesystem::exists("/usr/bin/python3") ? std::string("/usr/bin/python3")
                                                                           : std::string("python3");
    const std::string orden = python + " " PLOTCORE_BENCH_DIR "/grouping/pandas_align.py " + datos + " " +
                              std::to_string(veces) + " 2>/dev/null";
    std::FILE* p = ::popen(orden.c_str(), "r");
    if (p == nullptr)
        return -1;
    double segundos = -1;
    if (std::fscanf(p, "%lf", &segundos) != 1)
        segundos = -1;
    return ::pclose(p) == 0 ? segundos : -1;
}

// A week of one-second points in twelve series: pandas' outer join and the alignment, both in
// every repetition; "times_faster" is pandas' time over the alignment's.
void BM_AlinearSeriesContraPandas(benchmark::State& state) {
    const Entrada entrada = Series(kPuntosSemana);
    const std::string datos = EscribirParaPandas(entrada);
    constexpr int kVeces = 3;
    double pandas = 0, nuestro = 0;
    for (auto _ : state) {
        const double p = Pandas(datos, kVeces);
        if (p < 0) {
            state.SkipWithError("python3 with pandas is not installed");
            break;
        }
        pandas += p / kVeces;
        double t = 0;
        for (int i = 0; i < kVeces; ++i) {
            Entrada e = entrada;
            t += bench::secondsOf([&] {
                benchmark::DoNotOptimize(CatalogoFicheros::AlinearSeries(e.tiempos, e.valores, e.intervalos));
            });
        }
        state.SetIterationTime(t / kVeces);
        nuestro += t / kVeces;
    }
    std::remove(datos.c_str());
    const double n = static_cast<double>(state.iterations());
    state.counters["ms"] = nuestro / n * 1e3;
    state.counters["pandas_ms"] = pandas / n * 1e3;
    state.counters["times_faster"] = nuestro > 0 ? pandas / nuestro : 0;
    state.counters["load1"] = bench::loadAverage1();
}
BENCHMARK(BM_AlinearSeriesContraPandas)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_Cortar(benchmark::State& state) {
    const int nivel = static_cast<int>(state.range(0));
    const int n = static_cast<int>(state.range(1));
    static std::map<int, std::vector<TTiempo>> cache;
    auto& tiempos = cache[n];
    if (tiempos.empty())
        tiempos = Segundos(n);
    std::vector<TTiempo> copia(tiempos.size());
    const double suelo = Suelo([&] {
        const auto inicio = Reloj::now();
        std::copy(tiempos.begin(), tiempos.end(), copia.begin());
        benchmark::DoNotOptimize(copia.data());
        return std::chrono::duration<double>(Reloj::now() - inicio).count();
    });
    double total = 0;
    for (auto _ : state) {
        const auto inicio = Reloj::now();
        auto rangos = Agrupacion::CortarIntervalos(nivel, tiempos.data(), n);
        benchmark::DoNotOptimize(rangos.data());
        const double t = std::chrono::duration<double>(Reloj::now() - inicio).count();
        state.SetIterationTime(t);
        total += t;
    }
    Informar(state, total, suelo);
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_Cortar)
    ->ArgNames({"level", "times"})
    ->ArgsProduct({{Agrupacion::NIVEL_SEMANAS, Agrupacion::NIVEL_DIAS, Agrupacion::NIVEL_HORAS},
                   {kTiemposCorte / 16, kTiemposCorte / 4, kTiemposCorte}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::runAll(argc, argv);
}
