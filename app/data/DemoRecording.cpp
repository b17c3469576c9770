#include "DemoRecording.h"

#include "RecordingFile.h"
#include "TTiempo.h"
#include "TiposGrafica.h"

#include <QDir>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>

namespace recording {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNominalV = 230.0;
constexpr double kFrequency = 50.0;
// Instrument levels, tenths of a percent of nominal voltage.
constexpr int kInterruptionLevel = 100;
constexpr int kSagLevel = 900;
constexpr int kOvervoltageLevel = 1100;

// Monday 30 November 2026, 00:00:00, in seconds since 1970.
constexpr long long kWeekStart = 1795996800LL;
constexpr long long kWeekSeconds = 7 * 86400LL;
constexpr long long kPartSeconds = kWeekSeconds / 2;

// Variable codes of the instrument for the kinds the engine treats by code.
enum Code : int {
    CodeWaveform = 37267,
    CodeHarmonics = 37268,
    CodeRms = 37269,
    CodeThd = 37270,
    CodeEventsHistoric = 37271,
    CodeEventsDuration = 37272,
    CodeDisturbanceVoltage = 37273,
    CodePstL1 = 37289,
    CodeWaveformCurrent = 37292,
    CodeCurrentHarmonics = 37293,
    CodeTes = 37297,
    CodeEventsCurves = 37298,
    CodeInterharmonics = 38000,
    // Plain trends and other variables of this site.
    CodeTrendBase = 39000,
};

// A small deterministic generator (SplitMix64): the same numbers on every platform.
class Noise {
public:
    explicit Noise(std::uint64_t seed) : m_state(seed) {}
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    // Roughly normal: the sum of four uniforms, centred, unit variance.
    double gauss() { return (uniform() + uniform() + uniform() + uniform() - 2.0) * 1.7320508075688772; }

private:
    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint64_t m_state;
};

TTiempo timeAt(long long seconds, int millisecond = -1) {
    TTiempo t(1970, 1, 1, 0, 0, 0, millisecond);
    t.SumarSegundos(seconds);
    return t;
}

TTiempo timeAtMs(long long milliseconds) {
    return timeAt(milliseconds / 1000, static_cast<int>(milliseconds % 1000));
}

// Load of the site, 0..1: a commercial building, busy on working days from 8 to 19 h.
double loadShape(long long t) {
    const double hour = static_cast<double>(t % 86400) / 3600.0;
    const int weekday = static_cast<int>(((t - kWeekStart) / 86400) % 7); // 0 = Monday
    const double working = weekday < 5 ? 1.0 : 0.35;
    const double day =
        1.0 / (1.0 + std::exp(-(hour - 7.5) * 2.0)) - 1.0 / (1.0 + std::exp(-(hour - 19.0) * 1.5));
    const double lunch = 0.12 * std::exp(-std::pow((hour - 13.5) / 0.8, 2.0));
    return 0.12 + working * (0.8 * day - lunch);
}

// One recorded event on one phase.
struct EventRecord {
    long long startMs;
    int phase;         // 1..3
    double extreme;    // % of nominal
    double durationMs; // negative: the instrument only knows a lower bound
    double average;
    double previous;
};

// The disturbances of the week: (offset in the part in seconds, phases, extreme %, duration ms).
struct EventPlan {
    long long offset;
    int phases; // 0 all three, else the phase
    double extreme;
    double durationMs;
    // From 0 up: the event follows the previous one, starting this many ms after it ends (the
    // offset is then ignored), as a sag that recovers briefly and drops again.
    long long afterPreviousMs = -1;
    // Phase k starts (k - 1) x this many ms after phase 1: one fault reaching the phases in turn.
    long long staggerMs = 0;
};

std::vector<EventRecord> eventsOf(int part, long long partStart) {
    static const std::array<std::vector<EventPlan>, 2> kPlans = {{
        {{9 * 3600 + 1234, 1, 82.0, 60},
         // Two more sags on phase 1, each within the default hysteresis (20 ms) of the one
         // before: compaction makes one event of the three.
         {0, 1, 79.0, 90, 12},
         {0, 1, 84.0, 40, 15},
         {13 * 3600 + 45, 0, 68.0, 120},
         {30 * 3600 + 611, 2, 112.5, 80},
         {36 * 3600 + 7, 3, 46.0, 2800},
         {50 * 3600 + 1800, 1, 2.0, 1200},
         // A three-phase sag that becomes an interruption reaching the phases 40 ms apart.
         {58 * 3600 + 300, 0, 70.0, 150},
         {0, 0, 0.5, 95000, 0, 40},
         {66 * 3600 + 1500, 2, 88.0, 10},
         {75 * 3600 + 200, 3, 74.0, -3000}},
        {{8 * 3600 + 900, 2, 85.5, 40},
         {11 * 3600 + 3333, 0, 77.0, 200},
         {27 * 3600 + 10, 1, 114.0, 500},
         {34 * 3600 + 1200, 0, 1.0, 180000},
         {52 * 3600 + 2400, 3, 60.0, 900},
         {61 * 3600 + 77, 1, 89.0, 20},
         {70 * 3600 + 1000, 2, 5.0, 15000},
         {80 * 3600 + 42, 0, 112.0, 30}},
    }};
    Noise noise(1000 + static_cast<std::uint64_t>(part));
    std::vector<EventRecord> out;
    long long previousEndMs = 0;
    for (const EventPlan& p : kPlans[static_cast<size_t>(part)]) {
        const long long startMs = p.afterPreviousMs >= 0 ? previousEndMs + p.afterPreviousMs
                                                         : (partStart + p.offset) * 1000 +
                                                               static_cast<long long>(noise.uniform() * 1000);
        previousEndMs = startMs + static_cast<long long>(std::fabs(p.durationMs));
        for (int ph = 1; ph <= 3; ++ph) {
            if (p.phases != 0 && p.phases != ph)
                continue;
            EventRecord e;
            e.startMs = startMs + (ph - 1) * p.staggerMs;
            e.phase = ph;
            e.extreme = std::max(0.0, p.extreme + (p.phases == 0 ? noise.gauss() * 1.5 : 0.0));
            e.durationMs = p.durationMs;
            e.previous = 99.0 + noise.uniform() * 2.5;
            e.average = e.extreme + (e.previous - e.extreme) * 0.3;
            out.push_back(e);
        }
    }
    return out;
}

// Voltage of a phase during a second, as % of nominal, when an event touches it (else 0).
double eventEffect(const std::vector<EventRecord>& events, int phase, long long second, double normal) {
    for (const EventRecord& e : events) {
        if (e.phase != phase)
            continue;
        const double start = static_cast<double>(e.startMs) / 1000.0;
        const double end = start + std::fabs(e.durationMs) / 1000.0;
        const double s0 = static_cast<double>(second), s1 = s0 + 1.0;
        const double overlap = std::min(end, s1) - std::max(start, s0);
        if (overlap > 0)
            return normal + (e.extreme - normal) * overlap;
    }
    return 0.0;
}

// Harmonic content of the site in % of the fundamental, orders 2..40, for a load level.
double voltageHarmonic(int h, double load) {
    if (h % 2 == 0)
        return 0.04 + 0.06 / h;
    static const std::array<double, 14> kOdd = {0, 0, 0, 0.9, 0, 2.3, 0, 1.3, 0, 0.3, 0, 0.7, 0, 0.5};
    double base = h < 14 ? kOdd[static_cast<size_t>(h)] : 3.0 / h;
    // A rectifier load runs only near the daily peak; its high triplen orders then rise above
    // what the usual limits allow, so the site has some bad registers.
    if (h > 14 && h % 3 == 0 && load > 0.85)
        base += 0.6 * (load - 0.85) / 0.07;
    return base * (0.6 + 0.6 * load);
}

double currentHarmonic(int h, double load) {
    if (h % 2 == 0)
        return 0.3 + 1.0 / h;
    const double triplen = h % 3 == 0 ? 1.6 : 1.0;
    return triplen * 95.0 / std::pow(static_cast<double>(h), 1.35) * (1.25 - 0.5 * load);
}

struct Part {
    int part;
    long long start;
    long long seconds;
    std::vector<EventRecord> events;
    Recording rec;
    int nextKey = 1;
    Noise noise;

    Part(int p)
        : part(p), start(kWeekStart + p * kPartSeconds), seconds(kPartSeconds), events(eventsOf(p, start)),
          noise(20261130ULL + static_cast<std::uint64_t>(p)) {}

    Variable& add(const std::string& name, const std::string& unit, int kind, int code) {
        return rec.add(VariableInfo{kind, nextKey++, name, unit, kind, code});
    }

    // One-per-day delivered intervals of this part, as (start, end) time pairs.
    std::vector<TTiempo> dayIntervals() const {
        std::vector<TTiempo> out;
        for (long long d = start; d < start + seconds; d = (d / 86400 + 1) * 86400) {
            const long long end = std::min(start + seconds, (d / 86400 + 1) * 86400) - 1;
            out.push_back(timeAt(d));
            out.push_back(timeAt(end));
        }
        return out;
    }

    std::vector<TTiempo> partRange() const { return {timeAt(start), timeAt(start + seconds - 1)}; }

    std::vector<double> levels(std::vector<double> o) const {
        o[OptInterruptionLevel] = kInterruptionLevel;
        o[OptSagLevel] = kSagLevel;
        o[OptOvervoltageLevel] = kOvervoltageLevel;
        return o;
    }

    // Fills the lists every row of a time series needs.
    void series(Variable& v, const std::vector<std::vector<double>>& values,
                const std::vector<TTiempo>& times, const std::vector<std::string>& names,
                const std::vector<std::string>& units, const std::vector<double>& options,
                const std::vector<double>& decimals, const std::vector<TTiempo>& intervals) {
        for (size_t r = 0; r < values.size(); ++r) {
            v.list(List::Values).EntrarDoubles(values[r]);
            v.list(List::Times).EntrarTiempos(times);
            v.list(List::Units).EntrarTexto(units[r]);
            v.list(List::Names).EntrarTexto(names[r]);
            v.list(List::Options).EntrarDoubles(options);
            v.list(List::Intervals).EntrarTiempos(intervals);
            v.list(List::Decimals).EntrarDoubles({decimals[r]});
        }
        v.list(List::GeneralTimes).EntrarTiempos(partRange());
    }
};

void addTrends(Part& p) {
    const auto n = static_cast<size_t>(p.seconds);
    std::vector<TTiempo> times(n);
    std::array<std::vector<double>, 6> rms;
    for (auto& r : rms)
        r.resize(n);
    std::vector<double> frequency(n);
    double drift = 0.0, fdrift = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const long long t = p.start + static_cast<long long>(i);
        times[i] = timeAt(t);
        const double load = loadShape(t);
        drift += p.noise.gauss() * 0.02 - drift * 0.001;
        fdrift += p.noise.gauss() * 0.0015 - fdrift * 0.01;
        frequency[i] = kFrequency + fdrift + p.noise.gauss() * 0.003;
        for (int ph = 0; ph < 3; ++ph) {
            const double imbalance = 1.0 + 0.08 * (ph - 1);
            const double current = (18.0 + 160.0 * load) * imbalance + p.noise.gauss() * 1.5;
            double volts = 233.0 - 0.045 * current + drift + (ph - 1) * 0.6 + p.noise.gauss() * 0.25;
            const double ev = eventEffect(p.events, ph + 1, t, 100.0 * volts / kNominalV);
            if (ev > 0.0)
                volts = ev * kNominalV / 100.0;
            rms[static_cast<size_t>(ph)][i] = volts;
            rms[static_cast<size_t>(ph) + 3][i] = volts < 0.1 * kNominalV ? 0.0 : current;
        }
    }
    const std::vector<TTiempo> days = p.dayIntervals();

    Variable& vRms = p.add("RMS", "V", TG_RMS, CodeRms);
    p.series(vRms, {rms.begin(), rms.end()}, times,
             {"V1 RMS", "V2 RMS", "V3 RMS", "I1 RMS", "I2 RMS", "I3 RMS"}, {"V", "V", "V", "A", "A", "A"},
             p.levels(optionsRow(TG_RMS, CodeRms, 1)), {2, 2, 2, 1, 1, 1}, days);

    // Trends of different recording periods get windows of their own: on one time axis the
    // slower ones would show as isolated points between the faster one's values.
    Variable& vFreq = p.add("Frequency", "Hz", TG_MULTIGRAFICA, CodeTrendBase + 1);
    std::vector<double> freqOptions = optionsRow(TG_MULTIGRAFICA, CodeTrendBase + 1, 1);
    freqOptions[OptOwnWindow] = 1;
    p.series(vFreq, {frequency}, times, {"Frequency"}, {"Hz"}, freqOptions, {3}, days);

    // One-minute averages for the slower trends.
    const size_t minutes = n / 60;
    std::vector<TTiempo> mtimes(minutes);
    std::vector<double> vll(minutes), ineutral(minutes), power(minutes);
    std::array<std::vector<double>, 3> pf;
    for (auto& r : pf)
        r.resize(minutes);
    for (size_t m = 0; m < minutes; ++m) {
        const long long t = p.start + static_cast<long long>(m) * 60;
        mtimes[m] = timeAt(t);
        double v1 = 0, v2 = 0, i1 = 0, i2 = 0, i3 = 0;
        for (size_t s = m * 60; s < m * 60 + 60; ++s) {
            v1 += rms[0][s];
            v2 += rms[1][s];
            i1 += rms[3][s];
            i2 += rms[4][s];
            i3 += rms[5][s];
        }
        v1 /= 60, v2 /= 60, i1 /= 60, i2 /= 60, i3 /= 60;
        vll[m] = std::sqrt(v1 * v1 + v2 * v2 + v1 * v2); // 120 degrees apart
        // Unbalance and triplen harmonics flow in the neutral.
        ineutral[m] = std::sqrt(std::pow(i1 - i2, 2) + std::pow(i2 - i3, 2) + std::pow(i3 - i1, 2)) / 1.4 +
                      0.18 * (i1 + i2 + i3) / 3.0 + std::fabs(p.noise.gauss()) * 0.5;
        const double load = loadShape(t);
        double total = 0;
        for (int ph = 0; ph < 3; ++ph) {
            // Capacitor banks left on at night push the quiet hours to a leading power factor.
            double f = 0.86 + 0.12 * load + p.noise.gauss() * 0.005;
            f = std::min(f, 0.999);
            if (load < 0.2)
                f = -(0.97 + p.noise.uniform() * 0.02);
            pf[static_cast<size_t>(ph)][m] = f;
            total += (ph == 0 ? v1 * i1 : ph == 1 ? v2 * i2 : v1 * i3) * std::fabs(f) / 1000.0;
        }
        power[m] = total;
    }
    Variable& vLL = p.add("Voltage L1-L2", "V", TG_MULTIGRAFICA, CodeTrendBase + 2);
    p.series(vLL, {vll}, mtimes, {"Voltage L1-L2"}, {"V"}, optionsRow(TG_MULTIGRAFICA, CodeTrendBase + 2, 60),
             {1}, days);
    Variable& vN = p.add("Neutral current", "A", TG_MULTIGRAFICA, CodeTrendBase + 3);
    p.series(vN, {ineutral}, mtimes, {"Neutral current"}, {"A"},
             optionsRow(TG_MULTIGRAFICA, CodeTrendBase + 3, 60), {1}, days);
    Variable& vP = p.add("Active power", "kW", TG_MULTIGRAFICA, CodeTrendBase + 4);
    std::vector<double> ownWindow = optionsRow(TG_MULTIGRAFICA, CodeTrendBase + 4, 60);
    ownWindow[OptOwnWindow] = 1;
    p.series(vP, {power}, mtimes, {"Active power"}, {"kW"}, ownWindow, {2}, days);
    const char* const pfNames[] = {"Power factor L1", "Power factor L2", "Power factor L3"};
    for (int ph = 0; ph < 3; ++ph) {
        Variable& v = p.add(pfNames[ph], "PF", TG_FP, CodeTrendBase + 10 + ph);
        p.series(v, {pf[static_cast<size_t>(ph)]}, mtimes, {pfNames[ph]}, {"PF"},
                 optionsRow(TG_FP, CodeTrendBase + 10 + ph, 60), {3}, days);
    }

    // Daily registers of the 24-hour variables, from the one-second voltages.
    std::vector<double> bands, daySpectrum;
    std::vector<TTiempo> bandTimes, spectrumTimes, dayStarts;
    std::vector<double> bandPairs, spectrumPairs;
    for (size_t d0 = 0; d0 < n;) {
        const long long t0 = p.start + static_cast<long long>(d0);
        const size_t d1 = std::min(n, d0 + static_cast<size_t>(86400 - t0 % 86400));
        std::array<double, 23> count{};
        for (size_t s = d0; s < d1; ++s) {
            const int b = static_cast<int>(std::floor((rms[0][s] - 207.0) / 2.0));
            if (b >= 0 && b < 23)
                ++count[static_cast<size_t>(b)];
        }
        bandPairs.push_back(static_cast<double>(bands.size()));
        for (double c : count) {
            bands.push_back(100.0 * c / static_cast<double>(d1 - d0));
            bandTimes.push_back(timeAt(t0));
        }
        bandPairs.push_back(static_cast<double>(bands.size() - 1));
        spectrumPairs.push_back(static_cast<double>(daySpectrum.size()));
        for (int h = 2; h <= 25; ++h) {
            daySpectrum.push_back(voltageHarmonic(h, 0.9) * 1.1);
            spectrumTimes.push_back(timeAt(t0));
        }
        spectrumPairs.push_back(static_cast<double>(daySpectrum.size() - 1));
        dayStarts.push_back(timeAt(t0));
        d0 = d1;
    }
    auto dayVariable = [&](const std::string& name, const std::string& unit, int kind, int code,
                           const std::vector<double>& values, const std::vector<TTiempo>& times,
                           const std::vector<double>& pairs, const std::vector<double>& xs) {
        Variable& v = p.add(name, unit, kind, code);
        std::vector<double> o = optionsRow(kind, code, 86400, kMethodBars);
        o.push_back(static_cast<double>(xs.size()));
        o.insert(o.end(), xs.begin(), xs.end());
        v.list(List::Values).EntrarDoubles(values);
        v.list(List::Times).EntrarTiempos(times);
        v.list(List::Units).EntrarTexto(unit);
        v.list(List::Names).EntrarTexto(name);
        v.list(List::Options).EntrarDoubles(o);
        v.list(List::Intervals).EntrarDoubles(pairs);
        v.list(List::Decimals).EntrarDoubles({2});
        v.list(List::GeneralTimes).EntrarTiempos(dayStarts);
    };
    std::vector<double> orders, edges;
    for (int h = 2; h <= 25; ++h)
        orders.push_back(h);
    for (int b = 0; b < 23; ++b)
        edges.push_back(209.0 + 2.0 * b);
    dayVariable("V1 (24-hour harmonics, 95 %)", "%V", TG_ARMH24, CodeTrendBase + 20, daySpectrum,
                spectrumTimes, spectrumPairs, orders);
    dayVariable("V1 (24-hour voltage bands)", "%", TG_ARMH24_BANDAS, CodeTrendBase + 21, bands, bandTimes,
                bandPairs, edges);
}

// Ten-minute registers: spectra, THD and Pst.
void addTenMinute(Part& p) {
    const long long step = 600;
    const auto registers = static_cast<size_t>(p.seconds / step);
    std::vector<TTiempo> regTimes(registers);
    for (size_t r = 0; r < registers; ++r)
        regTimes[r] = timeAt(p.start + static_cast<long long>(r) * step);
    const std::vector<TTiempo> days = p.dayIntervals();

    auto spectrum = [&](const std::string& word, int kind, int code,
                        const std::array<std::string, 6>& channels, const std::array<std::string, 6>& units,
                        const std::vector<double>& xs, auto&& value) {
        Variable& v = p.add(word, units[0], kind, code);
        const size_t points = xs.size();
        std::vector<TTiempo> times(registers * points);
        std::vector<double> order(registers * points), pairs;
        for (size_t r = 0; r < registers; ++r) {
            pairs.push_back(static_cast<double>(r * points));
            pairs.push_back(static_cast<double>(r * points + points - 1));
            for (size_t k = 0; k < points; ++k) {
                times[r * points + k] = regTimes[r];
                order[r * points + k] = xs[k];
            }
        }
        const std::vector<double> o = optionsRow(kind, code, static_cast<double>(step), kMethodBars);
        for (int c = 0; c < 6; ++c) {
            std::vector<double> values(registers * points, kNoValue);
            if (!channels[static_cast<size_t>(c)].empty()) {
                for (size_t r = 0; r < registers; ++r) {
                    const double load = loadShape(p.start + static_cast<long long>(r) * step);
                    for (size_t k = 0; k < points; ++k)
                        values[r * points + k] =
                            std::max(0.0, value(c, xs[k], load) * (1.0 + 0.08 * p.noise.gauss()));
                }
            }
            v.list(List::Values).EntrarDoubles(values);
            v.list(List::Times).EntrarTiempos(times);
            v.list(List::Units).EntrarTexto(units[static_cast<size_t>(c)]);
            v.list(List::Names)
                .EntrarTexto((channels[static_cast<size_t>(c)].empty() ? std::string("-")
                                                                       : channels[static_cast<size_t>(c)]) +
                             " (" + word + ")");
            v.list(List::Options).EntrarDoubles(o);
            // The registers are listed once, in the first row: the window concatenates the rows.
            v.list(List::Intervals).EntrarDoubles(c == 0 ? pairs : std::vector<double>{});
            v.list(List::Decimals).EntrarDoubles({2});
        }
        v.list(List::Additional).EntrarDoubles(order);
        v.list(List::GeneralTimes).EntrarTiempos(regTimes);
    };
    std::vector<double> orders, inter;
    for (int h = 2; h <= 40; ++h)
        orders.push_back(h);
    for (int h = 1; h <= 39; ++h)
        inter.push_back(h + 0.5);
    spectrum("Harmonics", TG_ARM, CodeHarmonics, {"V1", "V2", "V3", "I1", "I2", "I3"},
             {"%V", "%V", "%V", "%A", "%A", "%A"}, orders, [](int c, double h, double load) {
                 return c < 3 ? voltageHarmonic(static_cast<int>(h), load)
                              : currentHarmonic(static_cast<int>(h), load);
             });
    spectrum("Current harmonics", TG_ARMAN, CodeCurrentHarmonics, {"I1", "I2", "I3", "IN", "", ""},
             {"%A", "%A", "%A", "%A", "%A", "%A"}, orders, [](int c, double h, double load) {
                 const int hi = static_cast<int>(h);
                 // Triplen currents add up in the neutral.
                 return c == 3 ? (hi % 3 == 0 ? 2.6 : 0.4) * currentHarmonic(hi, load)
                               : currentHarmonic(hi, load);
             });
    spectrum("Interharmonics", TG_IARM, CodeInterharmonics, {"V1", "V2", "V3", "I1", "I2", "I3"},
             {"%V", "%V", "%V", "%A", "%A", "%A"}, inter,
             [](int c, double h, double load) { return (c < 3 ? 0.05 : 0.6) * (1.0 + load) / std::sqrt(h); });

    // THD from the same spectra, per channel.
    std::array<std::vector<double>, 6> thd;
    std::array<std::vector<double>, 3> pst;
    std::array<std::vector<unsigned char>, 3> flags;
    for (size_t r = 0; r < registers; ++r) {
        const long long t = p.start + static_cast<long long>(r) * step;
        const double load = loadShape(t);
        for (int c = 0; c < 6; ++c) {
            double sum = 0;
            for (int h = 2; h <= 40; ++h) {
                const double a = c < 3 ? voltageHarmonic(h, load) : currentHarmonic(h, load);
                sum += a * a;
            }
            thd[static_cast<size_t>(c)].push_back(std::sqrt(sum) * (1.0 + 0.05 * p.noise.gauss()));
        }
        unsigned char common = 0;
        std::array<double, 3> bump{};
        for (const EventRecord& e : p.events) {
            if (e.startMs / 1000 >= t && e.startMs / 1000 < t + step) {
                bump[static_cast<size_t>(e.phase - 1)] += 1.2 + (100.0 - std::min(100.0, e.extreme)) / 40.0;
                // Bit 0: the interval holds an interruption; bits 1 to 3: an event on that phase.
                if (e.extreme < kInterruptionLevel * 0.1)
                    common |= 1;
            }
        }
        for (int ph = 0; ph < 3; ++ph) {
            const double hour = static_cast<double>(t % 86400) / 3600.0;
            // Lighting flicker in the evening, arc-furnace-free site otherwise.
            const double base = 0.22 + 0.18 * load + 0.15 * std::exp(-std::pow((hour - 20.0) / 1.5, 2.0));
            pst[static_cast<size_t>(ph)].push_back(std::max(0.05, base + 0.03 * p.noise.gauss()) +
                                                   bump[static_cast<size_t>(ph)]);
            unsigned char f = common;
            for (int q = 0; q < 3; ++q) {
                if (bump[static_cast<size_t>(q)] > 0)
                    f |= static_cast<unsigned char>(1u << (q + 1));
            }
            flags[static_cast<size_t>(ph)].push_back(f);
        }
    }
    Variable& vThd = p.add("THD", "%V", TG_THD, CodeThd);
    p.series(vThd, {thd.begin(), thd.end()}, regTimes,
             {"V1 (THD)", "V2 (THD)", "V3 (THD)", "I1 (THD)", "I2 (THD)", "I3 (THD)"},
             {"%V", "%V", "%V", "%A", "%A", "%A"}, optionsRow(TG_THD, CodeThd, static_cast<double>(step)),
             {2, 2, 2, 2, 2, 2}, days);
    Variable& vThdTrend = p.add("THD V1", "%THD", TG_MULTIGRAFICA, CodeTrendBase + 5);
    std::vector<double> thdOptions =
        optionsRow(TG_MULTIGRAFICA, CodeTrendBase + 5, static_cast<double>(step));
    thdOptions[OptOwnWindow] = 1;
    p.series(vThdTrend, {thd[0]}, regTimes, {"THD V1"}, {"%THD"}, thdOptions, {2}, days);

    for (int ph = 0; ph < 3; ++ph) {
        const std::string name = "Pst L" + std::to_string(ph + 1);
        Variable& v = p.add(name, "", TG_PLT, CodePstL1 + ph);
        std::vector<double> o = optionsRow(TG_PLT, CodePstL1 + ph, static_cast<double>(step));
        o[OptFlagSelector] = ph;
        p.series(v, {pst[static_cast<size_t>(ph)]}, regTimes, {name}, {""}, o, {3}, days);
        const auto& f = flags[static_cast<size_t>(ph)];
        v.list(List::Additional).EntrarValor(f.data(), 1, static_cast<int>(f.size()), TV_BYTE);
    }
}

// Distorted sine of one channel at sample time t (s); `scale` is the RMS of the fundamental.
double waveSample(double t, double rmsValue, double phaseShift, bool current) {
    const double w = 2 * kPi * kFrequency;
    double s = std::sin(w * t + phaseShift);
    if (current)
        s += 0.25 * std::sin(3 * (w * t + phaseShift)) + 0.15 * std::sin(5 * (w * t + phaseShift) + 0.4);
    else
        s += 0.023 * std::sin(5 * (w * t + phaseShift) + 0.3) + 0.013 * std::sin(7 * (w * t + phaseShift));
    return std::sqrt(2.0) * rmsValue * s;
}

// Event captures: waveforms, disturbance registers, TES samples and per-event RMS.
void addCaptures(Part& p) {
    const std::vector<EventRecord>& ev = p.events;
    // One capture per distinct event start (three-phase events share their start).
    std::vector<size_t> firsts;
    for (size_t i = 0; i < ev.size(); ++i) {
        if (i == 0 || ev[i].startMs != ev[i - 1].startMs)
            firsts.push_back(i);
    }
    auto depthOn = [&](size_t first, int phase, double tMs) {
        for (size_t i = first; i < ev.size() && ev[i].startMs == ev[first].startMs; ++i) {
            if (ev[i].phase == phase && tMs >= 0 && tMs < std::fabs(ev[i].durationMs))
                return ev[i].extreme / 100.0;
        }
        return 1.0;
    };
    const double shift[3] = {0, -2 * kPi / 3, 2 * kPi / 3};

    // Waveform captures: ten cycles at 64 samples per cycle, two cycles before the event. Six
    // channel rows a variable: the phase voltages and currents (kind 2), or the phase currents
    // with the neutral current they add up to and two unused rows (kind 15).
    auto waveform = [&](const std::string& name, int kind, int code, bool neutral) {
        Variable& v = p.add(name, neutral ? "A" : "V", kind, code);
        const int perCycle = 64;
        const int samples = 10 * perCycle;
        const int channels = neutral ? 4 : 6;
        std::array<std::vector<double>, 6> values;
        std::vector<TTiempo> times;
        std::vector<double> pairs;
        std::vector<TTiempo> recordTimes;
        std::array<std::vector<double>, 12> figures;
        for (size_t k = 0; k < std::min<size_t>(4, firsts.size()); ++k) {
            const EventRecord& e = ev[firsts[k]];
            const long long t0 = e.startMs - 40;
            pairs.push_back(static_cast<double>(times.size()));
            recordTimes.push_back(timeAtMs(t0));
            for (int s = 0; s < samples; ++s) {
                const double t = static_cast<double>(s) / (perCycle * kFrequency);
                times.push_back(timeAtMs(t0 + static_cast<long long>(t * 1000)));
                double sum = 0;
                for (int c = 0; c < 6; ++c) {
                    const bool current = neutral || c >= 3;
                    if (neutral && c >= 3)
                        break;
                    const int phase = c % 3;
                    const double depth = depthOn(firsts[k], phase + 1, t * 1000 - 40);
                    const double level = current ? 120.0 * (2.0 - depth) : kNominalV * depth;
                    const double x =
                        waveSample(t, level, shift[phase], current) + p.noise.gauss() * (current ? 0.4 : 0.8);
                    values[static_cast<size_t>(c)].push_back(x);
                    sum += x;
                }
                if (neutral)
                    values[3].push_back(sum);
            }
            pairs.push_back(static_cast<double>(times.size() - 1));
            for (int c = 0; c < 6; ++c) {
                // The neutral has next to no fundamental: no distortion figures.
                const bool current = neutral || c >= 3;
                const double thdValue = c < (neutral ? 3 : 6)
                                            ? (current ? 29.2 : 2.65) * (1.0 + 0.03 * p.noise.gauss())
                                            : kNoValue;
                figures[static_cast<size_t>(2 * c)].push_back(thdValue);
                figures[static_cast<size_t>(2 * c + 1)].push_back(
                    thdValue != kNoValue
                        ? 100.0 * (thdValue / 100.0) / std::sqrt(1.0 + std::pow(thdValue / 100.0, 2))
                        : kNoValue);
            }
        }
        const std::vector<double> o = optionsRow(kind, code, 1.0 / (perCycle * kFrequency));
        const char* const labels[2][6] = {{"V1", "V2", "V3", "I1", "I2", "I3"},
                                          {"I1", "I2", "I3", "IN", "-", "-"}};
        for (int c = 0; c < 6; ++c) {
            const bool used = c < channels;
            const bool current = neutral || c >= 3;
            // An unused row has no sample at all: the window leaves it out.
            v.list(List::Values)
                .EntrarDoubles(used ? values[static_cast<size_t>(c)]
                                    : std::vector<double>(times.size(), kNoValue));
            v.list(List::Times).EntrarTiempos(times);
            v.list(List::Units).EntrarTexto(current ? "A" : "V");
            v.list(List::Names).EntrarTexto(used ? std::string(labels[neutral][c]) + " (" + name + ")" : "-");
            v.list(List::Options).EntrarDoubles(o);
            v.list(List::Intervals).EntrarDoubles(c == 0 ? pairs : std::vector<double>{});
            v.list(List::Decimals).EntrarDoubles({current ? 2.0 : 1.0});
        }
        for (const auto& f : figures)
            v.list(List::Additional).EntrarDoubles(f);
        v.list(List::GeneralTimes).EntrarTiempos(recordTimes);
    };
    waveform("Waveforms", TG_FO, CodeWaveform, false);
    waveform("Current waveforms", TG_FOAN, CodeWaveformCurrent, true);

    // Disturbance registers: twenty cycles at 40 samples per cycle, per phase.
    for (int ph = 1; ph <= 3; ++ph) {
        const std::string name = "Disturbances V" + std::to_string(ph);
        Variable& v = p.add(name, "V", TG_PER, CodeDisturbanceVoltage);
        const int perCycle = 40;
        const int samples = 20 * perCycle;
        std::vector<double> values, pairs, vref, trigger;
        std::vector<TTiempo> times, regTimes;
        for (size_t k = 0; k < firsts.size(); ++k) {
            const EventRecord& e = ev[firsts[k]];
            const long long t0 = e.startMs - 100;
            pairs.push_back(static_cast<double>(values.size()));
            regTimes.push_back(timeAtMs(t0));
            for (int s = 0; s < samples; ++s) {
                const double t = static_cast<double>(s) / (perCycle * kFrequency);
                const double tMs = t * 1000 - 100;
                double x = waveSample(t, kNominalV * depthOn(firsts[k], ph, tMs), shift[ph - 1], false);
                // A switching transient rings for a few samples at the start of every event.
                if (tMs >= 0 && tMs < 2.5)
                    x += 180.0 * std::exp(-tMs) * (s % 2 == 0 ? 1 : -1);
                values.push_back(x + p.noise.gauss() * 0.8);
                times.push_back(timeAtMs(t0 + static_cast<long long>(t * 1000)));
            }
            pairs.push_back(static_cast<double>(values.size() - 1));
            vref.push_back(kNominalV);
            trigger.push_back(1.2);
        }
        v.list(List::Values).EntrarDoubles(values);
        v.list(List::Times).EntrarTiempos(times);
        v.list(List::Units).EntrarTexto("V");
        v.list(List::Names).EntrarTexto(name);
        v.list(List::Options).EntrarDoubles(p.levels(optionsRow(TG_PER, CodeDisturbanceVoltage, 1.0 / 2000)));
        v.list(List::Intervals).EntrarDoubles(pairs);
        v.list(List::Decimals).EntrarDoubles({1});
        v.list(List::Additional).EntrarDoubles(vref);
        v.list(List::Additional).EntrarDoubles(trigger);
        v.list(List::GeneralTimes).EntrarTiempos(regTimes);
    }

    // Event lists for the three events windows.
    const std::vector<TTiempo> days = p.dayIntervals();
    std::vector<double> extreme, duration, phase, average, previous;
    std::vector<TTiempo> starts;
    for (const EventRecord& e : ev) {
        extreme.push_back(e.extreme);
        starts.push_back(timeAtMs(e.startMs));
        duration.push_back(e.durationMs);
        phase.push_back(e.phase);
        average.push_back(e.average);
        previous.push_back(e.previous);
    }
    const struct {
        const char* name;
        int kind;
        int code;
    } kEventVariables[] = {{"Voltage events", TG_EH, CodeEventsHistoric},
                           {"Voltage events by duration", TG_ED, CodeEventsDuration},
                           {"Voltage events against tolerance curves", TG_CBEMA, CodeEventsCurves}};
    for (const auto& d : kEventVariables) {
        Variable& v = p.add(d.name, "%", d.kind, d.code);
        p.series(v, {extreme}, starts, {d.name}, {"%"},
                 p.levels(optionsRow(d.kind, d.code, 0, kMethodPoints)), {1}, days);
        for (const auto* col : {&duration, &phase, &average, &previous})
            v.list(List::Additional).EntrarDoubles(*col);
    }

    // Half-cycle RMS around every event: TES samples and the per-event RMS pair.
    std::vector<double> tesValues, tesCount, vefV, vefI;
    std::vector<TTiempo> tesTimes, vefTimes, vefIntervals;
    for (const EventRecord& e : ev) {
        const double span = std::fabs(e.durationMs) + 200.0;
        const long long stepMs = std::max(10LL, static_cast<long long>(std::ceil(span / 60.0 / 10.0)) * 10);
        // Samples on a grid of whole steps, and each the voltage of its phase whatever event is
        // under way: the blocks of events close together on one phase overlap, and must agree
        // where they do.
        const long long from = (e.startMs - 100) / stepMs * stepMs;
        const long long to = e.startMs + static_cast<long long>(std::fabs(e.durationMs)) + 100;
        int count = 0;
        for (long long t = from; t <= to; t += stepMs) {
            const EventRecord* under = nullptr;
            for (const EventRecord& o : ev) {
                if (o.phase == e.phase && t >= o.startMs &&
                    t < o.startMs + static_cast<long long>(std::fabs(o.durationMs)))
                    under = &o;
            }
            const double pct = under != nullptr ? under->extreme + p.noise.gauss() * 0.3
                                                : e.previous + p.noise.gauss() * 0.2;
            tesValues.push_back(pct);
            tesTimes.push_back(timeAtMs(t));
            ++count;
        }
        tesCount.push_back(count);
    }
    // The per-event RMS windows show the events of phase 1 (and of every three-phase event).
    for (size_t k : firsts) {
        const EventRecord& e = ev[k];
        const long long from = e.startMs - 100;
        const long long to =
            e.startMs + static_cast<long long>(std::min(std::fabs(e.durationMs), 1800.0)) + 100;
        vefIntervals.push_back(timeAtMs(from));
        for (long long t = from; t <= to; t += 10) {
            const double depth = depthOn(k, e.phase, static_cast<double>(t - e.startMs));
            // In percent of nominal, the scale of the event thresholds drawn over it.
            vefV.push_back(100.0 * depth + p.noise.gauss() * 0.1);
            vefI.push_back(100.0 * (depth < 0.1 ? 0.0 : 2.0 - depth) + p.noise.gauss() * 0.3);
            vefTimes.push_back(timeAtMs(t));
        }
        vefIntervals.push_back(vefTimes.back());
    }
    Variable& tes = p.add("Event samples", "%", TG_TES, CodeTes);
    tes.list(List::Values).EntrarDoubles(tesValues);
    tes.list(List::Times).EntrarTiempos(tesTimes);
    tes.list(List::Units).EntrarTexto("%");
    tes.list(List::Names).EntrarTexto("Event samples");
    tes.list(List::Options).EntrarDoubles(p.levels(optionsRow(TG_TES, CodeTes, 0.01)));
    tes.list(List::Intervals).EntrarTiempos(days);
    tes.list(List::Decimals).EntrarDoubles({1});
    for (const auto* col : {&tesCount, &extreme, &duration, &phase, &average, &previous})
        tes.list(List::Additional).EntrarDoubles(*col);
    tes.list(List::GeneralTimes).EntrarTiempos(starts);

    const struct {
        const char* name;
        const char* unit;
        std::vector<double>* values;
        int code;
    } kVef[] = {{"Event RMS voltage", "%", &vefV, CodeTrendBase + 30},
                {"Event RMS current", "A", &vefI, CodeTrendBase + 31}};
    for (const auto& d : kVef) {
        Variable& v = p.add(d.name, d.unit, TG_VEF, d.code);
        v.list(List::Values).EntrarDoubles(*d.values);
        v.list(List::Times).EntrarTiempos(vefTimes);
        v.list(List::Units).EntrarTexto(d.unit);
        v.list(List::Names).EntrarTexto(d.name);
        v.list(List::Options).EntrarDoubles(p.levels(optionsRow(TG_VEF, d.code, 0.01)));
        v.list(List::Intervals).EntrarTiempos(vefIntervals);
        v.list(List::Decimals).EntrarDoubles({1});
        v.list(List::GeneralTimes).EntrarTiempos(p.partRange());
    }
}

} // namespace

Recording buildDemoPart(int part) {
    Part p(part == 0 ? 0 : 1);
    p.rec.info["site"] = "Demonstration site, 230/400 V 50 Hz";
    p.rec.info["instrument"] = "Three-phase power-quality analyser, serial 001";
    p.rec.info["nominal voltage"] = "230";
    p.rec.info["part"] = std::to_string(p.part + 1) + " of 2";
    addTrends(p);
    addTenMinute(p);
    addCaptures(p);
    return std::move(p.rec);
}

std::vector<std::string> writeDemo(const std::string& directory, bool replaceAnything) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec)
        throw RecordingError(directory + ": cannot create the folder (" + ec.message() + ")");
    std::vector<std::string> paths;
    for (const char* name : {DemoFiles::kFirst, DemoFiles::kSecond}) {
        paths.push_back((std::filesystem::path(directory) / name).string());
        std::string why;
        if (!replaceAnything && !RecordingFile::isReplaceable(paths.back(), &why))
            throw RecordingError(paths.back() + ": " + why + "; it was not replaced");
    }
    // Both parts are one recording: a reader must never find one part of an older demo.
    const Recording first = buildDemoPart(0);
    const Recording second = buildDemoPart(1);
    RecordingFile::writeTogether({{&first, paths[0]}, {&second, paths[1]}});
    return paths;
}

// Bumped whenever the generator changes, so a cached copy of an older demo is not shown.
constexpr int kDemoVersion = 8;

std::vector<std::string> defaultRecordings() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (base.isEmpty())
        base = QDir::tempPath() + QStringLiteral("/kestramon");
    const std::string dir = (base + QStringLiteral("/demo-%1").arg(kDemoVersion)).toStdString();
    std::vector<std::string> paths;
    try {
        RecordingFile::finishInterruptedWrite(dir);
        for (const char* name : {DemoFiles::kFirst, DemoFiles::kSecond}) {
            const std::string path = (std::filesystem::path(dir) / name).string();
            RecordingFile::open(path);
            paths.push_back(path);
        }
        return paths;
    } catch (const RecordingError&) {
        // The cache folder is ours: whatever sits there is replaced.
        return writeDemo(dir, true);
    }
}

} // namespace recording
