#pragma once

// Writes COMTRADE test recordings of known signals: sines with chosen harmonics, in every
// data form, with several sampling rates, as .cfg/.dat pairs or as a single .cff.

#include "ComtradeFile.h"

#include <string>
#include <vector>

namespace comtradegen {

struct Tone {
    int order;
    double percent; // of the fundamental
    double phaseDeg = 0.0;
};

struct Channel {
    std::string id;
    std::string phase;
    std::string unit = "V";
    double rms = 230.0; // of the fundamental, in primary units of `unit`
    double shiftDeg = 0.0;
    std::vector<Tone> tones;
    double a = 0.01; // raw = round((value - b) / a)
    double b = 0.0;
    double primary = 1.0;
    double secondary = 1.0;
    bool secondaryScaled = false; // PS = S: the file holds secondary values
};

struct Recipe {
    std::string station = "Test bay";
    std::string device = "Generator";
    int revision = 1999;
    double frequency = 50.0;
    // (rate, last sample) sections.
    // (Built from a count, not a braced list: GCC 12 warns falsely about the list's array.)
    std::vector<std::pair<double, long long>> rates =
        std::vector<std::pair<double, long long>>(1, std::pair<double, long long>(12800.0, 2560));
    std::vector<Channel> analog;
    std::vector<std::string> digital; // digital channel k toggles every 100 * (k + 1) samples
    comtrade::DataFormat format = comtrade::DataFormat::Ascii;
    std::string start = "05/12/2026,10:00:00.000000";
};

// Three 230 V phase voltages and three 100 A phase currents, 120 degrees apart.
Recipe threePhase(double frequency = 50.0, double samplesPerCycle = 256, double cycles = 10);

// Time of sample k in seconds from the first, from the rate sections.
double sampleTime(const Recipe& recipe, long long k);
long long sampleCount(const Recipe& recipe);
// Primary value of a channel at time t, before quantisation.
double signal(const Recipe& recipe, const Channel& c, double t);
// The raw number the file holds for channel c at sample k.
double rawSample(const Recipe& recipe, const Channel& c, long long k);
// The primary value a faithful reader gives for that raw number.
double expectedValue(const Recipe& recipe, const Channel& c, long long k);

std::string cfgText(const Recipe& recipe);
std::string datBytes(const Recipe& recipe);
// Writes STEM.cfg and STEM.dat; returns the .cfg path.
std::string writeFiles(const Recipe& recipe, const std::string& stem);
// Writes one .cff; returns its path.
std::string writeCff(const Recipe& recipe, const std::string& path);

// A new empty folder under the test program's scratch directory (defined with the tests).
std::string scratch(const std::string& name);

} // namespace comtradegen
