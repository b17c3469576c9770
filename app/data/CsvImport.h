#pragma once

#include "Recording.h"

#include <string>
#include <vector>

namespace recording {

// A problem found in a CSV file, with its line number (1 = the header line).
struct CsvProblem {
    int line = 0;
    std::string message;
};

struct CsvResult {
    Recording recording;
    std::vector<CsvProblem> problems; // empty when the whole file was read
    char separator = ',';
    char decimalMark = '.';
};

// Reads a CSV of timestamped columns: a header line "time, name (unit), name [unit], ...",
// then one line per instant. Separators "," or ";" and decimal point or comma are detected
// from the file. Times are "2026-12-05 10:00:00" or "05/12/2026 10:00:00" (optionally with
// milliseconds after a "." or ","). An empty cell is a missing value; every other cell
// that cannot be read is reported by line, and no line is dropped silently.
CsvResult importCsv(const std::string& text, const std::string& sourceName);
// Reads the file at `path`; a file that cannot be read is a problem at line 0.
CsvResult importCsvFile(const std::string& path);

} // namespace recording
