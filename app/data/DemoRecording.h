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
// Writes both files into `directory` (created when missing) as one change and returns their
// paths. Unless `replaceAnything`, a file in the way that is not a recording is refused.
// Throws RecordingError.
std::vector<std::string> writeDemo(const std::string& directory, bool replaceAnything = false);
// The recording the host opens when it is given no file: the demo in the user's cache
// folder, written on first use (or again when the cached copy cannot be opened).
std::vector<std::string> defaultRecordings();

} // namespace recording
