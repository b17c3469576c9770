#include "Analysis.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace comtrade {

int analysisCycles(double lineFrequency) {
    if (std::fabs(lineFrequency - 50.0) < 0.5)
        return 10;
    if (std::fabs(lineFrequency - 60.0) < 0.5)
        return 12;
    return std::max(1, static_cast<int>(std::lround(lineFrequency * 0.2)));
}

struct HarmonicAnalyser::Impl {
    struct Plan {
        double* in = nullptr;
        fftw_complex* out = nullptr;
        fftw_plan plan = nullptr;
    };
    std::map<std::size_t, Plan> plans;

    Plan& planFor(std::size_t n) {
        auto it = plans.find(n);
        if (it != plans.end())
            return it->second;
        Plan p;
        p.in = fftw_alloc_real(n);
        p.out = fftw_alloc_complex(n / 2 + 1);
        // ESTIMATE: measuring would cost more than the few transforms of an import.
        p.plan = fftw_plan_dft_r2c_1d(static_cast<int>(n), p.in, p.out, FFTW_ESTIMATE);
        return plans.emplace(n, p).first->second;
    }

    ~Impl() {
        for (auto& [n, p] : plans) {
            fftw_destroy_plan(p.plan);
            fftw_free(p.in);
            fftw_free(p.out);
        }
    }
};

HarmonicAnalyser::HarmonicAnalyser() : m_impl(std::make_unique<Impl>()) {}
HarmonicAnalyser::~HarmonicAnalyser() = default;

Spectrum HarmonicAnalyser::analyse(const double* samples, std::size_t count, int cycles) {
    Spectrum s;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    s.orders.assign(kLastOrder - kFirstOrder + 1, nan);
    s.thd = s.d = nan;
    const std::size_t half = count / 2;
    // The fundamental's subgroup needs its bin and the one after it below the Nyquist bin.
    if (cycles < 1 || count < 4 || static_cast<std::size_t>(cycles) + 1 > half)
        return s;
    if (std::any_of(samples, samples + count, [](double v) { return !std::isfinite(v); }))
        return s;
    Impl::Plan& p = m_impl->planFor(count);
    std::copy(samples, samples + count, p.in);
    fftw_execute(p.plan);
    // RMS of bin k of a real signal: |X_k| * sqrt(2) / N (the Nyquist bin is not used).
    const double scale = std::sqrt(2.0) / static_cast<double>(count);
    auto power = [&](std::size_t k) {
        if (k == 0 || k >= half)
            return 0.0;
        const double re = p.out[k][0] * scale, im = p.out[k][1] * scale;
        return re * re + im * im;
    };
    auto group = [&](std::size_t centre) { return power(centre - 1) + power(centre) + power(centre + 1); };
    const auto c = static_cast<std::size_t>(cycles);
    const double f1 = group(c);
    if (!(f1 > 0.0))
        return s;
    s.fundamental = std::sqrt(f1);
    double harmonics = 0.0;
    for (int h = kFirstOrder; h <= kLastOrder; ++h) {
        const std::size_t k = static_cast<std::size_t>(h) * c;
        if (k + 1 >= half)
            break;
        const double g = group(k);
        harmonics += g;
        s.orders[static_cast<std::size_t>(h - kFirstOrder)] = 100.0 * std::sqrt(g / f1);
    }
    s.valid = true;
    s.thd = 100.0 * std::sqrt(harmonics / f1);
    s.d = 100.0 * std::sqrt(harmonics / (f1 + harmonics));
    return s;
}

RmsSeries halfCycleRms(const std::vector<double>& samples, const std::vector<double>& timeMicros,
                       double lineFrequency) {
    RmsSeries out;
    const std::size_t n = std::min(samples.size(), timeMicros.size());
    if (n == 0 || !(lineFrequency > 0))
        return out;
    const double period = 1e6 / lineFrequency;
    // Times are sums of floating sample periods: a sample a hair before a window edge belongs
    // to the window after it.
    const double eps = 1e-2;
    std::vector<long double> squares(n + 1, 0.0L);
    std::vector<std::size_t> valid(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const bool ok = std::isfinite(samples[i]);
        squares[i + 1] = squares[i] + (ok ? static_cast<long double>(samples[i]) * samples[i] : 0.0L);
        valid[i + 1] = valid[i] + (ok ? 1 : 0);
    }
    // The last sample stands for the time up to where the next one would be.
    const double t0 = timeMicros[0];
    const double tEnd = timeMicros[n - 1] + (n > 1 ? timeMicros[n - 1] - timeMicros[n - 2] : 0.0);
    std::size_t lo = 0, hi = 0;
    for (long long k = 2;; ++k) {
        const double end = t0 + period * static_cast<double>(k) / 2.0;
        // More windows than samples only comes from absurd time stamps.
        if (end > tEnd + eps || out.values.size() > 2 * n + 4)
            break;
        while (hi < n && timeMicros[hi] < end - eps)
            ++hi;
        while (lo < hi && timeMicros[lo] < end - period - eps)
            ++lo;
        const std::size_t count = valid[hi] - valid[lo];
        out.values.push_back(count == 0 ? std::numeric_limits<double>::quiet_NaN()
                                        : static_cast<double>(std::sqrt((squares[hi] - squares[lo]) /
                                                                        static_cast<long double>(count))));
        out.timeMicros.push_back(end - t0);
    }
    return out;
}

} // namespace comtrade
