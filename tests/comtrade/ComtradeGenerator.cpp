#include "ComtradeGenerator.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>

namespace comtradegen {

namespace {

constexpr double kPi = 3.14159265358979323846;

void put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void writeText(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

const char* formatName(comtrade::DataFormat f) {
    switch (f) {
    case comtrade::DataFormat::Ascii:
        return "ASCII";
    case comtrade::DataFormat::Binary:
        return "BINARY";
    case comtrade::DataFormat::Binary32:
        return "BINARY32";
    case comtrade::DataFormat::Float32:
        return "FLOAT32";
    }
    return "ASCII";
}

} // namespace

Spec threePhase(double frequency, double samplesPerCycle, double cycles) {
    Spec s;
    s.frequency = frequency;
    const double rate = frequency * samplesPerCycle;
    s.rates = {{rate, static_cast<long long>(std::llround(samplesPerCycle * cycles))}};
    const char* phases[] = {"A", "B", "C"};
    for (int p = 0; p < 3; ++p)
        s.analog.push_back({std::string("V") + phases[p], phases[p], "V", 230.0, -120.0 * p, {}, 0.02, 0.0});
    for (int p = 0; p < 3; ++p)
        s.analog.push_back(
            {std::string("I") + phases[p], phases[p], "A", 100.0, -120.0 * p - 30.0, {}, 0.01, 0.0});
    return s;
}

long long sampleCount(const Spec& spec) {
    return spec.rates.back().second;
}

double sampleTime(const Spec& spec, long long k) {
    if (spec.rates.size() == 1 && spec.rates[0].first == 0)
        return static_cast<double>(k) / (spec.frequency * 64); // time-stamped files: 64 per cycle
    double t = 0;
    long long first = 0;
    for (const auto& [rate, last] : spec.rates) {
        if (k < last)
            return t + static_cast<double>(k - first) / rate;
        t += static_cast<double>(last - first) / rate;
        first = last;
    }
    return t;
}

double signal(const Spec& spec, const Channel& c, double t) {
    const double w = 2 * kPi * spec.frequency;
    const double shift = c.shiftDeg * kPi / 180.0;
    double v = std::sin(w * t + shift);
    for (const Tone& tone : c.tones)
        v += tone.percent / 100.0 * std::sin(tone.order * (w * t + shift) + tone.phaseDeg * kPi / 180.0);
    return std::sqrt(2.0) * c.rms * v;
}

double rawSample(const Spec& spec, const Channel& c, long long k) {
    double v = signal(spec, c, sampleTime(spec, k));
    if (c.secondaryScaled)
        v *= c.secondary / c.primary;
    const double raw = (v - c.b) / c.a;
    if (spec.format == comtrade::DataFormat::Float32)
        return static_cast<double>(static_cast<float>(raw));
    return std::round(raw);
}

double expectedValue(const Spec& spec, const Channel& c, long long k) {
    const double v = c.a * rawSample(spec, c, k) + c.b;
    return c.secondaryScaled ? v * c.primary / c.secondary : v;
}

std::string cfgText(const Spec& spec) {
    std::ostringstream o;
    o.precision(12);
    o << spec.station << "," << spec.device << "," << spec.revision << "\r\n";
    o << spec.analog.size() + spec.digital.size() << "," << spec.analog.size() << "A," << spec.digital.size()
      << "D\r\n";
    for (size_t i = 0; i < spec.analog.size(); ++i) {
        const Channel& c = spec.analog[i];
        o << i + 1 << "," << c.id << "," << c.phase << ",Line 1," << c.unit << "," << c.a << "," << c.b
          << ",0,-32767,32767";
        if (spec.revision != 1991)
            o << "," << c.primary << "," << c.secondary << "," << (c.secondaryScaled ? "S" : "P");
        o << "\r\n";
    }
    for (size_t i = 0; i < spec.digital.size(); ++i)
        o << i + 1 << "," << spec.digital[i] << ",,,0\r\n";
    o << spec.frequency << "\r\n";
    const bool stampsOnly = spec.rates.size() == 1 && spec.rates[0].first == 0;
    o << (stampsOnly ? 0 : spec.rates.size()) << "\r\n";
    for (const auto& [rate, last] : spec.rates)
        o << rate << "," << last << "\r\n";
    o << spec.start << "\r\n" << spec.start << "\r\n";
    o << formatName(spec.format) << "\r\n1\r\n";
    if (spec.revision == 2013)
        o << "+1h,+1h\r\nF,0\r\n";
    return o.str();
}

std::string datBytes(const Spec& spec) {
    const long long n = sampleCount(spec);
    std::string out;
    std::ostringstream text;
    text.precision(9);
    for (long long k = 0; k < n; ++k) {
        const auto stamp = static_cast<std::uint32_t>(std::llround(sampleTime(spec, k) * 1e6));
        if (spec.format == comtrade::DataFormat::Ascii) {
            text << k + 1 << "," << stamp;
            for (const Channel& c : spec.analog)
                text << "," << static_cast<long long>(rawSample(spec, c, k));
            for (size_t d = 0; d < spec.digital.size(); ++d)
                text << "," << ((k / (100 * static_cast<long long>(d + 1))) % 2);
            text << "\r\n";
            continue;
        }
        put32(out, static_cast<std::uint32_t>(k + 1));
        put32(out, stamp);
        for (const Channel& c : spec.analog) {
            const double raw = rawSample(spec, c, k);
            if (spec.format == comtrade::DataFormat::Binary) {
                const auto v = static_cast<std::int16_t>(raw);
                out += static_cast<char>(static_cast<std::uint16_t>(v) & 0xFF);
                out += static_cast<char>(static_cast<std::uint16_t>(v) >> 8);
            } else if (spec.format == comtrade::DataFormat::Binary32) {
                put32(out, static_cast<std::uint32_t>(static_cast<std::int32_t>(raw)));
            } else {
                const auto f = static_cast<float>(raw);
                std::uint32_t bits = 0;
                std::memcpy(&bits, &f, sizeof bits);
                put32(out, bits);
            }
        }
        for (size_t w = 0; w < (spec.digital.size() + 15) / 16; ++w) {
            std::uint16_t word = 0;
            for (size_t b = 0; b < 16 && w * 16 + b < spec.digital.size(); ++b) {
                const long long d = static_cast<long long>(w * 16 + b);
                if ((k / (100 * (d + 1))) % 2)
                    word = static_cast<std::uint16_t>(word | (1u << b));
            }
            out += static_cast<char>(word & 0xFF);
            out += static_cast<char>(word >> 8);
        }
    }
    return spec.format == comtrade::DataFormat::Ascii ? text.str() : out;
}

std::string writeFiles(const Spec& spec, const std::string& stem) {
    writeText(stem + ".cfg", cfgText(spec));
    writeText(stem + ".dat", datBytes(spec));
    return stem + ".cfg";
}

std::string writeCff(const Spec& spec, const std::string& path) {
    const std::string dat = datBytes(spec);
    std::string out = "--- file type: CFG ---\r\n" + cfgText(spec);
    out += "--- file type: INF ---\r\n--- file type: HDR ---\r\nGenerated for the tests\r\n";
    if (spec.format == comtrade::DataFormat::Ascii)
        out += "--- file type: DAT ASCII ---\r\n" + dat;
    else
        out += "--- file type: DAT BINARY: " + std::to_string(dat.size()) + " ---\r\n" + dat;
    writeText(path, out);
    return path;
}

} // namespace comtradegen
