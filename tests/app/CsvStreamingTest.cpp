// CSV lines as the importer's read buffer meets them: line ends of every kind split between two
// reads, and lines longer than one read.

#include "CsvImport.h"
#include "TTiempo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace recording;

namespace {

// The size of one read of the importer: line ends placed around it are split between reads.
constexpr size_t kRead = 1u << 20;

std::string timeOf(int second) {
    char text[32];
    std::snprintf(text, sizeof text, "2026-12-%02d %02d:%02d:%02d", 5 + second / 86400, second / 3600 % 24,
                  second / 60 % 60, second % 60);
    return text;
}

const double* valuesOf(const CsvResult& r, size_t column) {
    return r.recording.variables.at(column).find(List::Values)->Doubles(0);
}

int countOf(const CsvResult& r) {
    return r.recording.variables.empty() ? 0 : r.recording.variables[0].find(List::Values)->Elementos(0);
}

// Lines "time,second" until the text reaches `end` bytes, padded with spaces (cells are
// trimmed) so that the last one's line end starts exactly at `end`; then `ending`, and a few
// more lines of which the last is bad, to see that the line numbers still agree.
std::string textWithLineEndAt(size_t end, const std::string& ending, int& lines) {
    std::string text = "time,a (V)\n";
    lines = 1;
    int second = 0;
    for (;;) {
        const std::string line = timeOf(second) + "," + std::to_string(second);
        if (text.size() + line.size() + 40 > end)
            break;
        text += line + "\n";
        ++second;
        ++lines;
    }
    text += timeOf(second) + ",";
    text +=
        std::string(end - text.size() - std::to_string(second).size(), ' ') + std::to_string(second) + ending;
    text += timeOf(second + 1) + "," + std::to_string(second + 1) + "\n";
    text += timeOf(second + 2) + ",not a number\n";
    lines += 3;
    return text;
}

} // namespace

TEST(CsvStreaming, LineEndsSplitBetweenTwoReadsEndOneLine) {
    for (const std::string ending : {"\r\n", "\r", "\n"})
        for (size_t end : {kRead - 1, kRead, kRead + 1}) {
            int lines = 0;
            const std::string text = textWithLineEndAt(end, ending, lines);
            ASSERT_EQ(text.find(ending, end - 1), end);
            const CsvResult r = importCsv(text, "split.csv");
            ASSERT_EQ(r.problems.size(), 1u) << "end at " << end;
            EXPECT_EQ(r.problems[0].line, lines) << "no line was added or lost at " << end;
        }
}

TEST(CsvStreaming, ALineLongerThanOneReadIsReadWhole) {
    // A value cell padded to three reads' length, between two ordinary lines.
    std::string text = "time;a (V);b (A)\n";
    text += timeOf(0) + ";1,5;2\n";
    text += timeOf(1) + ";" + std::string(3 * kRead, ' ') + "7,25;8\n";
    text += timeOf(2) + ";9;10,75";
    const CsvResult r = importCsv(text, "long.csv");
    ASSERT_TRUE(r.problems.empty()) << r.problems[0].message;
    EXPECT_EQ(r.decimalMark, ',');
    ASSERT_EQ(countOf(r), 3);
    EXPECT_DOUBLE_EQ(valuesOf(r, 0)[1], 7.25);
    EXPECT_DOUBLE_EQ(valuesOf(r, 1)[2], 10.75);
}
