#pragma once

// Reading of IEEE C37.111 fault recordings (1991, 1999 and 2013 revisions): the .cfg
// configuration, the .dat samples in the ASCII, BINARY, BINARY32 and FLOAT32 forms, and the
// single-file .cff. Plain C++, no Qt, so fuzzers and tools link it alone.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace comtrade {

// A fault in a file the user handed us: the file, where (a line of text or a byte of binary
// data) and why. what() reads "FILE:LINE: reason" or "FILE: byte N: reason".
class ComtradeError : public std::runtime_error {
public:
    ComtradeError(std::string file, long line, long long byte, std::string reason);

    // getters:
    const std::string& file() const { return m_file; }
    long line() const { return m_line; }      // 0 when the fault is not on a line
    long long byte() const { return m_byte; } // -1 when the fault is not at a byte
    const std::string& reason() const { return m_reason; }

private:
    std::string m_file;
    long m_line;
    long long m_byte;
    std::string m_reason;
};

enum class DataFormat { Ascii, Binary, Binary32, Float32 };

struct AnalogChannel {
    int index = 0;       // An, 1-based
    std::string id;      // ch_id
    std::string phase;   // ph
    std::string circuit; // ccbm
    std::string unit;    // uu as written ("kV", "A", ...)
    double a = 1.0;      // value = a * raw + b
    double b = 0.0;
    double skew = 0.0; // microseconds
    double min = 0.0;
    double max = 0.0;
    double primary = 1.0;
    double secondary = 1.0;
    bool scaledToPrimary = true; // PS flag: 'P' means a * raw + b is already a primary value
    long line = 0;               // line in the .cfg
};

struct DigitalChannel {
    int index = 0;
    std::string id;
    std::string phase;
    std::string circuit;
    int normalState = 0;
    long line = 0;
};

// One sampling-rate section: `rate` samples per second up to and including sample `lastSample`
// (1-based, counted from the start of the recording).
struct RateSection {
    double rate = 0.0;
    std::int64_t lastSample = 0;
};

// A date and time of the file, to the microsecond.
struct DateTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0;
    std::int64_t microsecond = 0; // within the minute: seconds * 1e6 + fraction
    // Microseconds since 1970-01-01 00:00 (the file's own clock; no zone is applied).
    std::int64_t sinceEpoch() const;
    static DateTime fromEpoch(std::int64_t micros);
};

struct Config {
    std::string station;
    std::string device;
    int revision = 1991;
    std::vector<AnalogChannel> analog;
    std::vector<DigitalChannel> digital;
    double lineFrequency = 0.0;
    std::vector<RateSection> rates; // empty when the samples carry only their time stamps
    std::int64_t sampleCount = 0;
    DateTime start;   // time of the first sample
    DateTime trigger; // time of the trigger
    DataFormat format = DataFormat::Ascii;
    double timeMultiplier = 1.0;
    bool nanosecondStamps = false; // the dates carry nine decimals: time stamps count nanoseconds
    std::string timeCode;          // 2013: offset of the recorder's clock from UTC, as written
    std::string localCode;
};

// Parses the text of a .cfg. Throws ComtradeError naming `fileName` and the line; `firstLine`
// is the line number of the text's first line (a .cff holds the configuration further down).
Config parseConfig(std::string_view text, const std::string& fileName, long firstLine = 1);

// The samples of one recording in engineering units: primary values of each analog channel
// (NaN where the recorder marked a sample missing), the states of the digital channels, and
// each sample's time in microseconds from the first sample.
struct Samples {
    std::vector<std::vector<double>> analog;
    std::vector<std::vector<std::uint8_t>> digital;
    std::vector<double> timeMicros;
};

// Bytes of one sample in a binary .dat.
std::size_t binaryRecordSize(const Config& config);

// Reads the .dat content `data` as `config` describes it. Samples beyond the count the .cfg
// gives are ignored; fewer is an error (line for ASCII, byte offset for binary data).
// `firstLine` and `firstByte` place the data inside a .cff for the messages.
Samples parseData(const Config& config, std::string_view data, const std::string& fileName,
                  long firstLine = 1, long long firstByte = 0);

// The parts of a .cff: the configuration text, the data bytes, and where each starts.
struct CombinedParts {
    std::string_view cfg;
    std::string_view data;
    long cfgFirstLine = 1;    // line of the .cff on which the configuration starts
    long dataFirstLine = 1;   // for ASCII data
    long long dataOffset = 0; // byte of the .cff at which the data start
};
CombinedParts splitCombined(std::string_view text, const std::string& fileName);

// One recording read from disk.
struct Recording {
    std::string cfgPath;
    Config config;
    Samples samples;
};

// Reads FILE.cfg with its FILE.dat beside it, or a single .cff. Throws ComtradeError.
Recording readRecording(const std::string& path);

// Bytes of a whole file; throws ComtradeError when it cannot be read.
std::string readFileBytes(const std::string& path);

} // namespace comtrade
