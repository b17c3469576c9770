#include "ComtradeImport.h"

#include "Analysis.h"
#include "RecordingFile.h"
#include "TTiempo.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>

namespace comtrade {

using recording::kNoValue;
using recording::List;
using recording::Variable;
using recording::VariableInfo;

namespace {

std::string upperAlnum(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

int phaseOf(std::string p) {
    for (const char* prefix : {"PHASE", "PH"}) {
        if (p.rfind(prefix, 0) == 0 && p.size() > std::string(prefix).size())
            p = p.substr(std::string(prefix).size());
    }
    if (p.size() >= 2 && p[0] == 'L' && std::isdigit(static_cast<unsigned char>(p[1])))
        p = p.substr(1);
    // Phase to neutral or to ground names the phase; phase to phase names none.
    if (p.size() == 2 && (p[1] == 'N' || p[1] == 'G' || p[1] == 'E') && p[0] != 'N')
        p = p.substr(0, 1);
    static const std::map<std::string, int> kPhases = {
        {"A", 1}, {"1", 1}, {"R", 1}, {"B", 2}, {"2", 2}, {"S", 2},  {"C", 3},  {"3", 3},
        {"T", 3}, {"N", 0}, {"0", 0}, {"G", 0}, {"E", 0}, {"NG", 0}, {"NE", 0}, {"4", 0}};
    auto it = kPhases.find(p);
    return it == kPhases.end() ? -1 : it->second;
}

} // namespace

double unitFactor(const std::string& unit, std::string& base) {
    std::string u;
    for (char c : unit) {
        if (c != ' ')
            u += c;
    }
    static const std::map<std::string, std::pair<double, const char*>> kUnits = {
        {"V", {1.0, "V"}},   {"kV", {1e3, "V"}},   {"KV", {1e3, "V"}}, {"mV", {1e-3, "V"}},
        {"MV", {1e6, "V"}},  {"A", {1.0, "A"}},    {"kA", {1e3, "A"}}, {"KA", {1e3, "A"}},
        {"mA", {1e-3, "A"}}, {"v", {1.0, "V"}},    {"kv", {1e3, "V"}}, {"a", {1.0, "A"}},
        {"ka", {1e3, "A"}},  {"VOLT", {1.0, "V"}}, {"AMP", {1.0, "A"}}};
    auto it = kUnits.find(u);
    if (it == kUnits.end()) {
        base = unit;
        return 1.0;
    }
    base = it->second.second;
    return it->second.first;
}

ChannelRole classify(const AnalogChannel& channel) {
    ChannelRole role;
    std::string base;
    unitFactor(channel.unit, base);
    const std::string id = upperAlnum(channel.id);
    if (base == "V")
        role.quantity = Quantity::Voltage;
    else if (base == "A")
        role.quantity = Quantity::Current;
    else if (channel.unit.empty() && !id.empty())
        role.quantity = id[0] == 'V' || id[0] == 'U' ? Quantity::Voltage
                        : id[0] == 'I'               ? Quantity::Current
                                                     : Quantity::Other;
    if (role.quantity == Quantity::Other)
        return role;
    const std::string ph = upperAlnum(channel.phase);
    if (!ph.empty()) {
        role.phase = phaseOf(ph);
    } else if (id.size() >= 2 && (id[0] == 'V' || id[0] == 'U' || id[0] == 'I')) {
        role.phase = phaseOf(id.substr(1));
    }
    return role;
}

namespace {

constexpr int kSlots = 8; // V1 V2 V3 VN I1 I2 I3 IN
// Channel rows of a waveform variable.
constexpr size_t kWaveformRows = 6;

int slotOf(const ChannelRole& r) {
    if (r.phase < 0 || r.quantity == Quantity::Other)
        return -1;
    const int base = r.quantity == Quantity::Voltage ? 0 : 4;
    return base + (r.phase == 0 ? 3 : r.phase - 1);
}

const char* const kSlotNames[kSlots] = {"V1", "V2", "V3", "VN", "I1", "I2", "I3", "IN"};

TTiempo toTime(std::int64_t micros) {
    const DateTime d = DateTime::fromEpoch(micros);
    const auto second = static_cast<int>(d.microsecond / 1'000'000);
    const auto milli = static_cast<int>((d.microsecond / 1000) % 1000);
    return TTiempo(d.year, d.month, d.day, d.hour, d.minute, second, milli);
}

// One COMTRADE file, analysed.
struct Record {
    Recording file;
    std::int64_t start = 0;       // microseconds since 1970 of the first sample
    std::array<int, kSlots> slot; // analog channel of each slot, -1 when absent
    std::vector<double> factor;   // to the base unit, per analog channel
    std::vector<TTiempo> times;   // per sample
    std::array<Spectrum, kSlots> spectra;
    std::array<RmsSeries, kSlots> rms;
    double samplePeriod = 0.0; // seconds, of the first rate section
};

// The window of the first rate section that holds `cycles` whole cycles: first sample and
// count. Files without rates use their mean sampling rate.
std::optional<std::pair<std::size_t, std::size_t>> analysisWindow(const Config& c, const Samples& s,
                                                                  int cycles) {
    const double f = c.lineFrequency;
    if (!(f > 0) || s.timeMicros.size() < 2)
        return std::nullopt;
    std::vector<RateSection> sections = c.rates;
    if (sections.empty() || !(sections.front().rate > 0)) {
        const double span = s.timeMicros.back() - s.timeMicros.front();
        if (!(span > 0))
            return std::nullopt;
        sections = {{static_cast<double>(s.timeMicros.size() - 1) * 1e6 / span, c.sampleCount}};
    }
    std::int64_t first = 0;
    for (const RateSection& r : sections) {
        const double exact = r.rate * cycles / f;
        const auto count = static_cast<std::int64_t>(std::llround(exact));
        if (count >= 8 && first + count <= r.lastSample)
            return std::make_pair(static_cast<std::size_t>(first), static_cast<std::size_t>(count));
        first = r.lastSample;
    }
    return std::nullopt;
}

Record analyse(Recording file, HarmonicAnalyser& analyser) {
    Record r;
    r.slot.fill(-1);
    const Config& c = file.config;
    r.start = c.start.sinceEpoch();
    for (size_t a = 0; a < c.analog.size(); ++a) {
        std::string base;
        r.factor.push_back(unitFactor(c.analog[a].unit, base));
        const int slot = slotOf(classify(c.analog[a]));
        // The first channel of each role is drawn; a second set (another bay) is kept apart.
        if (slot >= 0 && r.slot[static_cast<size_t>(slot)] < 0)
            r.slot[static_cast<size_t>(slot)] = static_cast<int>(a);
    }
    Samples& s = file.samples;
    for (size_t a = 0; a < s.analog.size(); ++a) {
        if (r.factor[a] != 1.0) {
            for (double& v : s.analog[a])
                v *= r.factor[a];
        }
    }
    r.times.reserve(s.timeMicros.size());
    for (double t : s.timeMicros)
        r.times.push_back(toTime(r.start + static_cast<std::int64_t>(std::floor(t))));
    r.samplePeriod = !c.rates.empty() && c.rates.front().rate > 0 ? 1.0 / c.rates.front().rate
                     : s.timeMicros.size() > 1 ? (s.timeMicros.back() - s.timeMicros.front()) /
                                                     static_cast<double>(s.timeMicros.size() - 1) / 1e6
                                               : 0.0;
    const int cycles = analysisCycles(c.lineFrequency);
    const auto window = analysisWindow(c, s, cycles);
    for (int k = 0; k < kSlots; ++k) {
        const int a = r.slot[static_cast<size_t>(k)];
        if (a < 0)
            continue;
        const std::vector<double>& x = s.analog[static_cast<size_t>(a)];
        if (window)
            r.spectra[static_cast<size_t>(k)] =
                analyser.analyse(x.data() + window->first, window->second, cycles);
        if (k < 4)
            r.rms[static_cast<size_t>(k)] = halfCycleRms(x, s.timeMicros, c.lineFrequency);
    }
    r.file = std::move(file);
    return r;
}

double orNoValue(double v) {
    return std::isfinite(v) ? v : kNoValue;
}

struct Builder {
    std::vector<Record>& records;
    recording::Recording rec;
    int nextKey = 1;

    Variable& add(const std::string& name, const std::string& unit, int kind, int code) {
        return rec.add(VariableInfo{kind, nextKey++, name, unit, kind, code});
    }

    std::vector<TTiempo> recordTimes() const {
        std::vector<TTiempo> out;
        for (const Record& r : records)
            out.push_back(toTime(r.start));
        return out;
    }

    bool anyHas(int slot) const {
        return std::any_of(records.begin(), records.end(),
                           [&](const Record& r) { return r.slot[static_cast<size_t>(slot)] >= 0; });
    }

    // Name of a slot's channel: the channel name of the first file that has it.
    std::string channelName(int slot) const {
        for (const Record& r : records) {
            const int a = r.slot[static_cast<size_t>(slot)];
            if (a >= 0) {
                const std::string& id = r.file.config.analog[static_cast<size_t>(a)].id;
                return id.empty() ? kSlotNames[slot] : id;
            }
        }
        return kSlotNames[slot];
    }

    // One waveform variable: six channel rows (slot -1, or a slot no file has, is an empty
    // row), per row c its THD and d in extra rows 2c and 2c + 1. The waveform windows show
    // the six rows together.
    void waveform(const std::array<int, kWaveformRows>& slots, int kind, int code, const std::string& title) {
        std::array<bool, kWaveformRows> present{};
        std::string name = title;
        bool firstName = true;
        for (size_t c = 0; c < slots.size(); ++c) {
            present[c] = slots[c] >= 0 && anyHas(slots[c]);
            if (present[c]) {
                name += (firstName ? " " : ", ") + channelName(slots[c]);
                firstName = false;
            }
        }
        Variable& v = add(name, slots[0] >= 0 && slots[0] < 4 ? "V" : "A", kind, code);
        std::array<std::vector<double>, kWaveformRows> values;
        std::array<std::vector<TTiempo>, kWaveformRows> times;
        std::vector<double> pairs;
        std::array<std::vector<double>, 2 * kWaveformRows> figures;
        // Rows of a few million samples: grown once, not doubled and copied as they fill.
        size_t total = 0;
        for (const Record& r : records)
            total += r.times.size();
        for (size_t c = 0; c < slots.size(); ++c) {
            if (present[c]) {
                values[c].reserve(total);
                times[c].reserve(total);
            }
        }
        size_t position = 0;
        for (const Record& r : records) {
            const size_t n = r.times.size();
            pairs.push_back(static_cast<double>(position));
            for (size_t c = 0; c < slots.size(); ++c) {
                if (!present[c])
                    continue;
                const int a = r.slot[static_cast<size_t>(slots[c])];
                if (a < 0) {
                    values[c].insert(values[c].end(), n, kNoValue);
                } else {
                    for (double x : r.file.samples.analog[static_cast<size_t>(a)])
                        values[c].push_back(orNoValue(x));
                }
                times[c].insert(times[c].end(), r.times.begin(), r.times.end());
            }
            position += n;
            pairs.push_back(static_cast<double>(position) - 1);
            for (size_t c = 0; c < slots.size(); ++c) {
                const Spectrum* sp = present[c] ? &r.spectra[static_cast<size_t>(slots[c])] : nullptr;
                figures[2 * c].push_back(sp && sp->valid ? sp->thd : kNoValue);
                figures[2 * c + 1].push_back(sp && sp->valid ? sp->d : kNoValue);
            }
        }
        const std::vector<double> o = recording::optionsRow(kind, code, records.front().samplePeriod);
        std::string unit = "V";
        for (size_t c = 0; c < slots.size(); ++c) {
            const int slot = slots[c];
            if (slot >= 0)
                unit = slot < 4 ? "V" : "A";
            v.list(List::Values).EntrarDoubles(values[c]);
            v.list(List::Times).EntrarTiempos(times[c]);
            v.list(List::Units).EntrarTexto(unit);
            v.list(List::Names).EntrarTexto(present[c] ? channelName(slot) : std::string("-"));
            v.list(List::Options).EntrarDoubles(o);
            v.list(List::Intervals).EntrarDoubles(c == 0 ? pairs : std::vector<double>{});
            v.list(List::Decimals).EntrarDoubles({unit == "V" ? 1.0 : 2.0});
        }
        for (const auto& f : figures)
            v.list(List::Additional).EntrarDoubles(f);
        v.list(List::GeneralTimes).EntrarTiempos(recordTimes());
    }

    void harmonics() {
        const int points = kLastOrder - kFirstOrder + 1;
        const std::array<int, 6> slots = {0, 1, 2, 4, 5, 6};
        Variable& v = add("Harmonics", "%V", 3, CodeHarmonics);
        std::vector<TTiempo> times;
        std::vector<double> pairs, orders;
        for (const Record& r : records) {
            pairs.push_back(static_cast<double>(orders.size()));
            pairs.push_back(static_cast<double>(orders.size() + points - 1));
            for (int h = kFirstOrder; h <= kLastOrder; ++h) {
                orders.push_back(h);
                times.push_back(toTime(r.start));
            }
        }
        const double window = analysisCycles(records.front().file.config.lineFrequency) /
                              records.front().file.config.lineFrequency;
        const std::vector<double> o = recording::optionsRow(3, CodeHarmonics, window, recording::kMethodBars);
        for (size_t c = 0; c < slots.size(); ++c) {
            const int slot = slots[c];
            std::vector<double> values;
            for (const Record& r : records) {
                const Spectrum& sp = r.spectra[static_cast<size_t>(slot)];
                for (int k = 0; k < points; ++k)
                    values.push_back(sp.valid ? orNoValue(sp.orders[static_cast<size_t>(k)]) : kNoValue);
            }
            v.list(List::Values).EntrarDoubles(values);
            v.list(List::Times).EntrarTiempos(times);
            v.list(List::Units).EntrarTexto(slot < 4 ? "%V" : "%A");
            v.list(List::Names)
                .EntrarTexto((anyHas(slot) ? channelName(slot) : std::string("-")) + " (Harmonics)");
            v.list(List::Options).EntrarDoubles(o);
            // The registers are listed once: the window concatenates the interval rows.
            v.list(List::Intervals).EntrarDoubles(c == 0 ? pairs : std::vector<double>{});
            v.list(List::Decimals).EntrarDoubles({2});
        }
        v.list(List::Additional).EntrarDoubles(orders);
        v.list(List::GeneralTimes).EntrarTiempos(recordTimes());
    }

    void eventRms(int slot) {
        std::vector<double> values;
        std::vector<TTiempo> times, intervals;
        for (const Record& r : records) {
            const RmsSeries& s = r.rms[static_cast<size_t>(slot)];
            if (r.slot[static_cast<size_t>(slot)] < 0 || s.values.empty())
                continue;
            const double t0 = r.file.samples.timeMicros.empty() ? 0.0 : r.file.samples.timeMicros.front();
            for (size_t i = 0; i < s.values.size(); ++i) {
                values.push_back(orNoValue(s.values[i]));
                times.push_back(
                    toTime(r.start + static_cast<std::int64_t>(std::floor(t0 + s.timeMicros[i]))));
            }
            intervals.push_back(times[times.size() - s.values.size()]);
            intervals.push_back(times.back());
        }
        if (values.empty())
            return;
        const std::string name = channelName(slot) + " (RMS)";
        Variable& v = add(name, "V", 20, CodeEventRms);
        std::vector<double> o =
            recording::optionsRow(20, CodeEventRms, 0.5 / records.front().file.config.lineFrequency);
        // No nominal voltage comes with a COMTRADE file: the usual levels, in tenths of a
        // percent of nominal.
        o[recording::OptInterruptionLevel] = 100;
        o[recording::OptSagLevel] = 900;
        o[recording::OptOvervoltageLevel] = 1100;
        v.list(List::Values).EntrarDoubles(values);
        v.list(List::Times).EntrarTiempos(times);
        v.list(List::Units).EntrarTexto("V");
        v.list(List::Names).EntrarTexto(name);
        v.list(List::Options).EntrarDoubles(o);
        v.list(List::Intervals).EntrarTiempos(intervals);
        v.list(List::Decimals).EntrarDoubles({1});
        v.list(List::GeneralTimes).EntrarTiempos({times.front(), times.back()});
    }

    // A windowless variable: kept in the file for tools, not drawn.
    void keep(const std::string& name, const std::string& unit, int code, const std::vector<double>& values,
              const std::vector<TTiempo>& times, const std::vector<TTiempo>& intervals) {
        Variable& v = add(name, unit, 12, code);
        v.list(List::Values).EntrarDoubles(values);
        v.list(List::Times).EntrarTiempos(times);
        v.list(List::Units).EntrarTexto(unit);
        v.list(List::Names).EntrarTexto(name);
        v.list(List::Options).EntrarDoubles(recording::optionsRow(12, code, records.front().samplePeriod));
        v.list(List::Intervals).EntrarTiempos(intervals);
        v.list(List::Decimals).EntrarDoubles({code == CodeDigital ? 0.0 : 2.0});
        v.list(List::GeneralTimes).EntrarTiempos({times.front(), times.back()});
    }

    // Digital channels by name: the state at each record's start and at every change.
    void digitals() {
        std::vector<std::string> names;
        for (const Record& r : records) {
            for (const DigitalChannel& d : r.file.config.digital) {
                if (std::find(names.begin(), names.end(), d.id) == names.end())
                    names.push_back(d.id);
            }
        }
        for (const std::string& name : names) {
            std::vector<double> values;
            std::vector<TTiempo> times, intervals;
            for (const Record& r : records) {
                const auto& ds = r.file.config.digital;
                auto it =
                    std::find_if(ds.begin(), ds.end(), [&](const DigitalChannel& d) { return d.id == name; });
                if (it == ds.end() || r.times.empty())
                    continue;
                const auto& states = r.file.samples.digital[static_cast<size_t>(it - ds.begin())];
                for (size_t k = 0; k < states.size(); ++k) {
                    if (k == 0 || states[k] != states[k - 1]) {
                        values.push_back(states[k]);
                        times.push_back(r.times[k]);
                    }
                }
                intervals.push_back(r.times.front());
                intervals.push_back(r.times.back());
            }
            if (!values.empty())
                keep(name.empty() ? "Digital" : name, "", CodeDigital, values, times, intervals);
        }
    }

    // Analog channels with no waveform slot (another bay, line-to-line voltages, frequency...).
    void otherAnalogs() {
        std::vector<std::pair<std::string, std::string>> names; // id, base unit
        auto isDrawn = [](const Record& r, size_t a) {
            return std::find(r.slot.begin(), r.slot.end(), static_cast<int>(a)) != r.slot.end();
        };
        for (const Record& r : records) {
            for (size_t a = 0; a < r.file.config.analog.size(); ++a) {
                if (isDrawn(r, a))
                    continue;
                std::string base;
                unitFactor(r.file.config.analog[a].unit, base);
                const std::pair<std::string, std::string> key{r.file.config.analog[a].id, base};
                if (std::find(names.begin(), names.end(), key) == names.end())
                    names.push_back(key);
            }
        }
        for (const auto& [name, unit] : names) {
            std::vector<double> values;
            std::vector<TTiempo> times, intervals;
            for (const Record& r : records) {
                const auto& as = r.file.config.analog;
                for (size_t a = 0; a < as.size(); ++a) {
                    std::string base;
                    unitFactor(as[a].unit, base);
                    if (as[a].id != name || base != unit || isDrawn(r, a) || r.times.empty())
                        continue;
                    for (double x : r.file.samples.analog[a])
                        values.push_back(orNoValue(x));
                    times.insert(times.end(), r.times.begin(), r.times.end());
                    intervals.push_back(r.times.front());
                    intervals.push_back(r.times.back());
                    break;
                }
            }
            if (!values.empty())
                keep(name.empty() ? "Analog" : name, unit, CodeOtherAnalog, values, times, intervals);
        }
    }
};

} // namespace

recording::Recording buildRecording(std::vector<Recording> files) {
    if (files.empty())
        throw ComtradeError("", 0, -1, "no COMTRADE file to import");
    std::stable_sort(files.begin(), files.end(), [](const Recording& a, const Recording& b) {
        return a.config.start.sinceEpoch() < b.config.start.sinceEpoch();
    });
    HarmonicAnalyser analyser;
    std::vector<Record> records;
    for (Recording& f : files) {
        if (f.samples.timeMicros.empty())
            throw ComtradeError(f.cfgPath, 0, -1, "the recording holds no sample");
        if (!(f.config.lineFrequency > 0))
            throw ComtradeError(
                f.cfgPath, 0, -1,
                "the line frequency is 0: cycles, harmonics and RMS need the power frequency");
        records.push_back(analyse(std::move(f), analyser));
    }
    for (const Record& r : records) {
        if (std::all_of(r.slot.begin(), r.slot.end(), [](int a) { return a < 0; }))
            throw ComtradeError(r.file.cfgPath, 0, -1,
                                "no phase voltage or current: no channel's phase and unit fields name one");
    }

    Builder b{records, {}, 1};
    const Config& first = records.front().file.config;
    b.rec.info["site"] = first.station;
    b.rec.info["instrument"] = first.device;
    b.rec.info["line frequency"] = std::to_string(static_cast<int>(std::lround(first.lineFrequency)));
    std::string sources;
    for (const Record& r : records)
        sources += (sources.empty() ? "" : ", ") + std::filesystem::path(r.file.cfgPath).filename().string();
    b.rec.info["source"] = sources;

    // One waveform variable with the phase voltages and currents; where there is a neutral, a
    // second one with the three phase currents (the voltages without currents) beside the
    // neutral current and voltage, so the neutral is read against the phases that feed it.
    const bool voltages = b.anyHas(0) || b.anyHas(1) || b.anyHas(2);
    const bool currents = b.anyHas(4) || b.anyHas(5) || b.anyHas(6);
    if (voltages || currents)
        b.waveform({0, 1, 2, 4, 5, 6}, 2, CodeWaveform, "Waveforms");
    if (b.anyHas(3) || b.anyHas(7)) {
        const int phases = currents || !voltages ? 4 : 0;
        b.waveform({phases, phases + 1, phases + 2, 7, 3, -1}, 15, CodeWaveformNeutral, "Neutral waveforms");
    }
    b.harmonics();
    for (int slot = 0; slot < 4; ++slot) {
        if (b.anyHas(slot))
            b.eventRms(slot);
    }
    b.otherAnalogs();
    b.digitals();
    return std::move(b.rec);
}

namespace {

bool looksLikeComtrade(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".cfg" || ext == ".dat" || ext == ".cff" || ext == ".hdr" || ext == ".inf";
}

} // namespace

ImportOutcome importFiles(const std::vector<std::string>& inputs, const std::string& out) {
    ImportOutcome result;
    // A forgotten output name would make the last recording the target: refuse, it is the
    // user's data.
    if (looksLikeComtrade(out)) {
        result.code = 2;
        result.messages.push_back(
            out + " is a COMTRADE file name; give the recording to write as the last argument");
        return result;
    }
    std::vector<Recording> files;
    for (const std::string& path : inputs) {
        try {
            files.push_back(readRecording(path));
        } catch (const ComtradeError& e) {
            result.messages.push_back(e.what());
        } catch (const std::bad_alloc&) {
            result.messages.push_back(path + ": the recording does not fit in memory");
        }
    }
    if (!result.messages.empty()) {
        result.code = 2;
        result.messages.push_back(std::to_string(result.messages.size()) + " file(s) could not be read; " +
                                  out + " was not written");
        return result;
    }
    recording::Recording rec;
    try {
        rec = buildRecording(std::move(files));
    } catch (const ComtradeError& e) {
        result.code = 2;
        result.messages.push_back(e.what());
        result.messages.push_back(out + " was not written");
        return result;
    }
    try {
        recording::RecordingFile::write(rec, out);
    } catch (const recording::RecordingError& e) {
        result.code = 1;
        result.messages.push_back(e.what());
        return result;
    }
    result.records = static_cast<int>(inputs.size());
    result.variables = static_cast<int>(rec.variables.size());
    return result;
}

int importCommand(const std::vector<std::string>& inputs, const std::string& out) {
    const ImportOutcome r = importFiles(inputs, out);
    for (const std::string& m : r.messages)
        std::fprintf(stderr, "%s\n", m.c_str());
    if (r.code == 0)
        std::printf("%s: %d record(s), %d variable(s)\n", out.c_str(), r.records, r.variables);
    return r.code;
}

} // namespace comtrade
