// Series alignment and interval cutting, each timed against a floor measured in the same run:
// one pass copying the same arrays. The "ratio" counter is time / floor; the 1x, 4x and 16x
// arguments show that both grow linearly with the number of points.
#include "Agrupacion.h"
#include "CatalogoFicheros.h"
#include "TTiempo.h"
#include "TValorMultiple.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
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

// The floor copies into buffers that already exist, so it measures the pass over the
// arrays and not the system's first touch of new memory.
double CopiarSeries(const Entrada& e, std::vector<std::vector<unsigned char>>& copia) {
    copia.resize(2 * kSeries);
    size_t k = 0;
    for (int s = 0; s < kSeries; ++s) {
        for (const TValorMultiple* l : {&e.tiempos, &e.valores}) {
            const size_t bytes =
                static_cast<size_t>(l->Elementos(s)) * static_cast<size_t>(l->TamanoElemento(s));
            copia[k].resize(bytes);
            ++k;
        }
    }
    const auto inicio = Reloj::now();
    k = 0;
    for (int s = 0; s < kSeries; ++s) {
        for (const TValorMultiple* l : {&e.tiempos, &e.valores}) {
            std::memcpy(copia[k].data(), l->Datos(s), copia[k].size());
            ++k;
        }
    }
    benchmark::DoNotOptimize(copia.data());
    return std::chrono::duration<double>(Reloj::now() - inicio).count();
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

void BM_AlinearSeries(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Entrada entrada = Series(n);
    std::vector<std::vector<unsigned char>> copia;
    const double suelo = Suelo([&] { return CopiarSeries(entrada, copia); });
    copia = {};
    double total = 0;
    for (auto _ : state) {
        Entrada e = entrada; // rows are shared, so this costs no copy of the points
        const auto inicio = Reloj::now();
        benchmark::DoNotOptimize(CatalogoFicheros::AlinearSeries(e.tiempos, e.valores, e.intervalos));
        const double t = std::chrono::duration<double>(Reloj::now() - inicio).count();
        state.SetIterationTime(t);
        total += t;
    }
    Informar(state, total, suelo);
    state.SetItemsProcessed(state.iterations() * kSeries * n);
}
BENCHMARK(BM_AlinearSeries)
    ->Arg(kPuntosSemana / 16)
    ->Arg(kPuntosSemana / 4)
    ->Arg(kPuntosSemana)
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

BENCHMARK_MAIN();
