#pragma once

#include "Recording.h"

#include <string>
#include <vector>

namespace recording {

// The demonstration recording: one week of a three-phase 230 V / 50 Hz low-voltage site,
// split over two files of one instrument. Generation is deterministic.
struct DemoFiles {
    static constexpr const char* kFirst = "S0010001.STD";
    static constexpr const char* kSecond = "S0010002.STD";
};

// Builds part 0 or 1 of the week in memory.
Recording buildDemoPart(int part);
// Writes both files into `directory` (created when missing) and returns their paths.
// Throws RecordingError.
std::vector<std::string> writeDemo(const std::string& directory);
// The recording the host opens when it is given no file: the demo in the user's cache
// folder, written on first use (or again when the cached copy cannot be opened).
std::vector<std::string> defaultRecordings();

} // namespace recording
