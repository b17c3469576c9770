#pragma once

// Turns COMTRADE recordings into a recording file: waveforms, spectra, distortion figures and
// half-cycle RMS, one record per COMTRADE file.

#include "ComtradeFile.h"
#include "Recording.h"

#include <string>
#include <vector>

namespace comtrade {

// What an analog channel measures, from its phase and unit fields (the channel name when the
// phase field is empty).
enum class Quantity { Voltage, Current, Other };
struct ChannelRole {
    Quantity quantity = Quantity::Other;
    int phase = -1; // 1..3, 0 for the neutral, -1 when no phase can be told
};
ChannelRole classify(const AnalogChannel& channel);

// Factor that turns a value in `unit` into the base unit it returns in `base` ("kV" gives
// 1000 and "V"); units without a known prefix come back unchanged with factor 1.
double unitFactor(const std::string& unit, std::string& base);

// Variable codes of the imported recording.
enum Code : int {
    CodeWaveform = 37267,
    CodeHarmonics = 37268,
    CodeWaveformNeutral = 37292,
    CodeEventRms = 39030,
    CodeDigital = 39040,
    CodeOtherAnalog = 39041,
};

// Builds the recording of several COMTRADE files, ordered by start time. Throws
// ComtradeError when no file has a phase voltage or current.
recording::Recording buildRecording(std::vector<Recording> files);

// Reads every file and writes `out` only when every file was read. `code` is the exit code:
// 0 written, 2 bad input (nothing written), 1 the recording could not be written; `messages`
// holds every fault as "FILE:LINE: reason".
struct ImportOutcome {
    int code = 0;
    std::vector<std::string> messages;
    int records = 0;
    int variables = 0;
};
ImportOutcome importFiles(const std::vector<std::string>& inputs, const std::string& out);

// The command-line import: reads every file, reports each fault as "FILE:LINE: reason" on
// standard error, and writes `out` only when every file was read. Returns the exit code:
// 0 written, 2 bad input (nothing written), 1 the recording could not be written.
int importCommand(const std::vector<std::string>& inputs, const std::string& out);

} // namespace comtrade
