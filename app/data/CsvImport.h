#pragma once

#include "Recording.h"

#include <cstddef>
#include <iosfwd>
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

// Bounds that keep a hostile file from exhausting memory: a longer line, a wider header or
// more problems than this is refused with a message rather than read.
constexpr std::size_t kCsvMaxLineBytes = 64u << 20;
constexpr std::size_t kCsvMaxColumns = 1000000;
constexpr std::size_t kCsvMaxProblems = 100;

// Reads a CSV of timestamped columns: a header line "time, name (unit), name [unit], ...",
// then one line per instant, ended by LF, CR LF or CR. Separators "," or ";" are detected from
// the header; a semicolon-separated file uses the decimal comma when its first lines hold
// unquoted "digit,digit" cells. Times are "2026-12-05 10:00:00" or "05/12/2026 10:00:00"
// (optionally with milliseconds after a "." or ","), strictly increasing. An empty cell is a
// missing value; the missing-value marker itself is refused as a value, and every other cell
// that cannot be read is reported by line: no line is dropped silently. A header that is not
// UTF-8 is read as Latin-1.
CsvResult importCsv(const std::string& text, const std::string& sourceName);
CsvResult importCsv(std::istream& in, const std::string& sourceName);
// Reads the file at `path` as it streams in; a file that cannot be read, or that is not a
// regular file, is a problem at line 0.
CsvResult importCsvFile(const std::string& path);

// The --import-csv command: reads `csv` and writes the recording `out`, reporting on standard
// error. An output that is the input, a device or folder, or (unless `overwrite`) a symbolic
// link or a file that is not a recording, is refused. Returns the exit code: 0 written, 1 the
// output was refused or could not be written, 2 the CSV could not be read.
int runCsvImport(const std::string& csv, const std::string& out, bool overwrite);

} // namespace recording
