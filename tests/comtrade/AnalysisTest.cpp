#include "Analysis.h"
#include "ComtradeGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace comtrade;

namespace {

// Samples of a channel of `recipe` (unquantised) with their times in microseconds.
struct Wave {
    std::vector<double> x, t;
};

Wave sampled(const comtradegen::Recipe& recipe, const comtradegen::Channel& c) {
    Wave w;
    for (long long k = 0; k < comtradegen::sampleCount(recipe); ++k) {
        const double t = comtradegen::sampleTime(recipe, k);
        w.x.push_back(comtradegen::signal(recipe, c, t));
        w.t.push_back(t * 1e6);
    }
    return w;
}

} // namespace

// The window is 200 ms: ten cycles at 50 Hz, twelve at 60 Hz; 32 samples a cycle reach order 15.
TEST(Analysis, HarmonicsOfA230VoltSineAddUpAndOrdersAboveNyquistHaveNoValue) {
    EXPECT_EQ(3, analysisCycles(16.7));
    comtradegen::Recipe recipe = comtradegen::threePhase(60.0, 32, analysisCycles(60.0));
    comtradegen::Channel c = recipe.analog[0];
    // 230 V RMS in all: the fundamental carries 230 / sqrt(1 + THD^2).
    const double thd = std::sqrt(400.0 + 25.0 + 100.0);
    c.rms = 230.0 / std::sqrt(1.0 + thd * thd / 1e4);
    c.tones = {{3, 20.0}, {5, 5.0, 40.0}, {7, 10.0}};
    const Wave w = sampled(recipe, c);
    const Spectrum s = HarmonicAnalyser().analyse(w.x.data(), w.x.size(), 12);
    ASSERT_TRUE(s.valid);
    EXPECT_NEAR(thd, s.thd, 0.01);
    EXPECT_NEAR(thd / std::sqrt(1.0 + thd * thd / 1e4), s.d, 0.01);
    EXPECT_NEAR(c.rms, s.fundamental, 0.01);
    EXPECT_NEAR(5.0, s.orders[5 - kFirstOrder], 0.01);
    EXPECT_LT(s.orders[9 - kFirstOrder], 1e-6) << "no leakage into other orders";
    EXPECT_TRUE(std::isfinite(s.orders[14 - kFirstOrder]));
    EXPECT_TRUE(std::isnan(s.orders[16 - kFirstOrder]));
    const RmsSeries rms = halfCycleRms(w.x, w.t, 60.0);
    ASSERT_EQ(23u, rms.values.size());
    EXPECT_NEAR(230.0, rms.values.back(), 0.23);
    EXPECT_NEAR(1e6 / 60 * 1.5, rms.timeMicros[1], 1e-6);
}

TEST(Analysis, MissingOrDegenerateInputGivesNoFigures) {
    HarmonicAnalyser analyser;
    std::vector<double> x(640, 0.0);
    EXPECT_FALSE(analyser.analyse(x.data(), x.size(), 10).valid) << "no fundamental";
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = std::sin(2 * 3.14159265358979 * 10 * static_cast<double>(i) / 640.0);
    EXPECT_TRUE(analyser.analyse(x.data(), x.size(), 10).valid);
    x[17] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(analyser.analyse(x.data(), x.size(), 10).valid);
    EXPECT_FALSE(analyser.analyse(x.data(), 16, 10).valid) << "fewer samples than cycles allow";
    EXPECT_TRUE(halfCycleRms({}, {}, 50.0).values.empty());
    EXPECT_TRUE(halfCycleRms({1.0, 2.0}, {0.0, 10.0}, 0.0).values.empty());
}

TEST(Analysis, HalfCycleRmsFollowsASagAcrossRateSections) {
    comtradegen::Recipe recipe = comtradegen::threePhase(50.0, 256, 4);
    recipe.rates = {{12800.0, 1024}, {1600.0, 1024 + 128}}; // four cycles fine, four coarse
    const Wave w0 = sampled(recipe, recipe.analog[0]);
    Wave w = w0;
    // The second half of the record sags to half voltage.
    for (size_t i = 0; i < w.x.size(); ++i) {
        if (w.t[i] >= 80000.0)
            w.x[i] *= 0.5;
    }
    const RmsSeries rms = halfCycleRms(w.x, w.t, 50.0);
    ASSERT_EQ(15u, rms.values.size());      // 8 cycles: windows end at 20, 30, ... 160 ms
    EXPECT_NEAR(230.0, rms.values[6], 0.2); // window 60-80 ms
    EXPECT_NEAR(115.0, rms.values[8], 0.2); // window 80-100 ms, coarse samples
    EXPECT_GT(rms.values[7], 115.0);
    EXPECT_LT(rms.values[7], 230.0);
    // A missing sample is left out; a window of only missing samples has no value.
    Wave gap = w0;
    for (size_t i = 0; i < 256; ++i)
        gap.x[i] = std::numeric_limits<double>::quiet_NaN();
    const RmsSeries g = halfCycleRms(gap.x, gap.t, 50.0);
    EXPECT_TRUE(std::isnan(g.values[0]));
    EXPECT_NEAR(230.0, g.values[1], 0.5) << "the valid half cycle alone";
}
