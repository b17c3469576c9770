#pragma once

// Power-quality figures of sampled waveforms: harmonic spectrum, THD and distortion factor
// over a window of whole cycles (transform by FFTW), and the one-cycle RMS refreshed every
// half cycle.

#include <cstddef>
#include <memory>
#include <vector>

namespace comtrade {

constexpr int kFirstOrder = 2;
constexpr int kLastOrder = 50;

// Cycles in the analysis window: 10 at 50 Hz and 12 at 60 Hz (200 ms either way); other
// line frequencies get the whole number of cycles nearest to 200 ms.
int analysisCycles(double lineFrequency);

struct Spectrum {
    bool valid = false;
    double fundamental = 0.0;   // RMS of the fundamental
    std::vector<double> orders; // orders 2..50 in % of the fundamental; NaN above the Nyquist limit
    double thd = 0.0;           // % of the fundamental
    double d = 0.0;             // distortion factor: harmonic RMS in % of the total RMS
};

// Spectra of windows of `cycles` cycles. Each harmonic is the root sum of squares of its
// bin and the two beside it, so a line frequency slightly off nominal loses nothing.
// Keeps the FFTW plans of the window lengths it has seen.
class HarmonicAnalyser {
public:
    HarmonicAnalyser();
    ~HarmonicAnalyser();
    HarmonicAnalyser(const HarmonicAnalyser&) = delete;
    HarmonicAnalyser& operator=(const HarmonicAnalyser&) = delete;

    // `samples` holds `count` samples covering exactly `cycles` cycles. Invalid when a sample
    // is missing (NaN), when the window is too short to place the fundamental, or when the
    // fundamental is zero.
    Spectrum analyse(const double* samples, std::size_t count, int cycles);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

struct RmsSeries {
    std::vector<double> values;
    std::vector<double> timeMicros; // end of each one-cycle window, from the first sample
};

// One-cycle RMS every half cycle: the first value when the first whole cycle is in, at its
// end; then every half cycle. Windows are taken by time, so multi-rate records work; missing
// samples are left out of their window, and a window with no sample gives NaN.
RmsSeries halfCycleRms(const std::vector<double>& samples, const std::vector<double>& timeMicros,
                       double lineFrequency);

} // namespace comtrade
