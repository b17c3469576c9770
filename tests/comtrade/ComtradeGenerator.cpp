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
    static const char* const names[] = {"ASCII", "BINARY", "BINARY32", "FLOAT32"};
    return names[static_cast<int>(f)];
}

} // namespace

Recipe threePhase(double frequency, double samplesPerCycle, double cycles) {
    Recipe s;
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

long long sampleCount(const Recipe& recipe) {
    return recipe.rates.back().second;
}

double sampleTime(const Recipe& recipe, long long k) {
    double t = 0;
    long long first = 0;
    for (const auto& [rate, last] : recipe.rates) {
        if (k < last)
            return t + static_cast<double>(k - first) / rate;
        t += static_cast<double>(last - first) / rate;
        first = last;
    }
    return t;
}

double signal(const Recipe& recipe, const Channel& c, double t) {
    const double w = 2 * kPi * recipe.frequency;
    const double shift = c.shiftDeg * kPi / 180.0;
    double v = std::sin(w * t + shift);
    for (const Tone& tone : c.tones)
        v += tone.percent / 100.0 * std::sin(tone.order * (w * t + shift) + tone.phaseDeg * kPi / 180.0);
    return std::sqrt(2.0) * c.rms * v;
}

double rawSample(const Recipe& recipe, const Channel& c, long long k) {
    double v = signal(recipe, c, sampleTime(recipe, k));
    if (c.secondaryScaled)
        v *= c.secondary / c.primary;
    const double raw = (v - c.b) / c.a;
    if (recipe.format == comtrade::DataFormat::Float32)
        return static_cast<double>(static_cast<float>(raw));
    return std::round(raw);
}

double expectedValue(const Recipe& recipe, const Channel& c, long long k) {
    const double v = c.a * rawSample(recipe, c, k) + c.b;
    return c.secondaryScaled ? v * c.primary / c.secondary : v;
}

std::string cfgText(const Recipe& recipe) {
    std::ostringstream o;
    o.precision(12);
    o << recipe.station << "," << recipe.device << "," << recipe.revision << "\r\n";
    o << recipe.analog.size() + recipe.digital.size() << "," << recipe.analog.size() << "A,"
      << recipe.digital.size() << "D\r\n";
    for (size_t i = 0; i < recipe.analog.size(); ++i) {
        const Channel& c = recipe.analog[i];
        o << i + 1 << "," << c.id << "," << c.phase << ",Line 1," << c.unit << "," << c.a << "," << c.b
          << ",0,-32767,32767," << c.primary << "," << c.secondary << "," << (c.secondaryScaled ? "S" : "P")
          << "\r\n";
    }
    for (size_t i = 0; i < recipe.digital.size(); ++i)
        o << i + 1 << "," << recipe.digital[i] << ",,,0\r\n";
    o << recipe.frequency << "\r\n";
    o << recipe.rates.size() << "\r\n";
    for (const auto& [rate, last] : recipe.rates)
        o << rate << "," << last << "\r\n";
    o << recipe.start << "\r\n" << recipe.start << "\r\n";
    o << formatName(recipe.format) << "\r\n1\r\n";
    if (recipe.revision == 2013)
        o << "+1h,+1h\r\nF,0\r\n";
    return o.str();
}

std::string datBytes(const Recipe& recipe) {
    const long long n = sampleCount(recipe);
    std::string out;
    std::ostringstream text;
    text.precision(9);
    for (long long k = 0; k < n; ++k) {
        const auto stamp = static_cast<std::uint32_t>(std::llround(sampleTime(recipe, k) * 1e6));
        if (recipe.format == comtrade::DataFormat::Ascii) {
            text << k + 1 << "," << stamp;
            for (const Channel& c : recipe.analog)
                text << "," << static_cast<long long>(rawSample(recipe, c, k));
            for (size_t d = 0; d < recipe.digital.size(); ++d)
                text << "," << ((k / (100 * static_cast<long long>(d + 1))) % 2);
            text << "\r\n";
            continue;
        }
        put32(out, static_cast<std::uint32_t>(k + 1));
        put32(out, stamp);
        for (const Channel& c : recipe.analog) {
            const double raw = rawSample(recipe, c, k);
            if (recipe.format == comtrade::DataFormat::Binary) {
                const auto v = static_cast<std::int16_t>(raw);
                out += static_cast<char>(static_cast<std::uint16_t>(v) & 0xFF);
                out += static_cast<char>(static_cast<std::uint16_t>(v) >> 8);
            } else if (recipe.format == comtrade::DataFormat::Binary32) {
                put32(out, static_cast<std::uint32_t>(static_cast<std::int32_t>(raw)));
            } else {
                const auto f = static_cast<float>(raw);
                std::uint32_t bits = 0;
                std::memcpy(&bits, &f, sizeof bits);
                put32(out, bits);
            }
        }
        for (size_t w = 0; w < (recipe.digital.size() + 15) / 16; ++w) {
            std::uint16_t word = 0;
            for (size_t b = 0; b < 16 && w * 16 + b < recipe.digital.size(); ++b) {
                const long long d = static_cast<long long>(w * 16 + b);
                if ((k / (100 * (d + 1))) % 2)
                    word = static_cast<std::uint16_t>(word | (1u << b));
            }
            out += static_cast<char>(word & 0xFF);
            out += static_cast<char>(word >> 8);
        }
    }
    return recipe.format == comtrade::DataFormat::Ascii ? text.str() : out;
}

std::string writeFiles(const Recipe& recipe, const std::string& stem) {
    writeText(stem + ".cfg", cfgText(recipe));
    writeText(stem + ".dat", datBytes(recipe));
    return stem + ".cfg";
}

std::string writeCff(const Recipe& recipe, const std::string& path) {
    const std::string dat = datBytes(recipe);
    std::string out = "--- file type: CFG ---\r\n" + cfgText(recipe);
    out += "--- file type: INF ---\r\n--- file type: HDR ---\r\nGenerated for the tests\r\n";
    if (recipe.format == comtrade::DataFormat::Ascii)
        out += "--- file type: DAT ASCII ---\r\n" + dat;
    else
        out += "--- file type: DAT BINARY: " + std::to_string(dat.size()) + " ---\r\n" + dat;
    writeText(path, out);
    return path;
}

} // namespace comtradegen
