#include "CsvImport.h"
#include "AppTestSupport.h"
#include "RecordingFile.h"
#include "TTiempo.h"

#include <gtest/gtest.h>

using namespace recording;

namespace {

const TValorMultiple& list(const CsvResult& r, size_t variable, List l) {
    return *r.recording.variables.at(variable).find(l);
}

} // namespace

TEST(CsvImport, CommaSeparatedWithDecimalPointIsoTimesEmptyCellsAndMilliseconds) {
    const CsvResult r = importCsv("Time,V1 (V),I1 [A],Label\n"
                                  "2026-12-05 10:00:00,230.5,12.25,1\n"
                                  "2026-12-05 10:00:01,229.75,-3.5e1,2\n",
                                  "a.csv");
    ASSERT_TRUE(r.problems.empty()) << r.problems[0].message;
    EXPECT_EQ(',', r.separator);
    EXPECT_EQ('.', r.decimalMark);
    ASSERT_EQ(3u, r.recording.variables.size());
    const std::pair<std::string, std::string> names[] = {{"V1", "V"}, {"I1", "A"}, {"Label", ""}};
    for (size_t v = 0; v < 3; ++v)
        EXPECT_EQ(names[v],
                  std::make_pair(r.recording.variables[v].info.name, r.recording.variables[v].info.unit));
    EXPECT_EQ(229.75, list(r, 0, List::Values).Numero(0, 1));
    EXPECT_EQ(-35.0, list(r, 1, List::Values).Numero(0, 1));
    EXPECT_EQ(TTiempo(2026, 12, 5, 10, 0, 1, -1), list(r, 0, List::Times).Tiempos(0)[1]);
    EXPECT_EQ(0, list(r, 0, List::Options).Numero(0, 1)) << "plain trends";
    EXPECT_EQ(1, list(r, 0, List::Options).Numero(0, 2)) << "one-second period";

    // Empty cells are missing values; milliseconds are kept.
    const CsvResult e =
        importCsv("t,a (V),b (V)\n2026-12-05 10:00:00.250,,2\n2026-12-05 10:00:00.500,1,\n", "e.csv");
    ASSERT_TRUE(e.problems.empty());
    EXPECT_EQ(kNoValue, list(e, 0, List::Values).Numero(0, 0));
    EXPECT_EQ(kNoValue, list(e, 1, List::Values).Numero(0, 1));
    EXPECT_EQ(TTiempo(2026, 12, 5, 10, 0, 0, 250), list(e, 0, List::Times).Tiempos(0)[0]);
}

TEST(CsvImport, SemicolonSeparatedWithDecimalCommaAndDayMonthYearTimes) {
    const CsvResult r = importCsv("Fecha;Tension L1 (V);Frecuencia (Hz)\r\n"
                                  "05/12/2026 10:00:00;230,5;49,98\r\n"
                                  "05/12/2026 10:10:00;231;50,01\r\n",
                                  "b.csv");
    ASSERT_TRUE(r.problems.empty()) << r.problems[0].message;
    EXPECT_EQ(';', r.separator);
    EXPECT_EQ(',', r.decimalMark);
    EXPECT_EQ(230.5, list(r, 0, List::Values).Numero(0, 0));
    EXPECT_EQ(231.0, list(r, 0, List::Values).Numero(0, 1));
    EXPECT_EQ(50.01, list(r, 1, List::Values).Numero(0, 1));
    EXPECT_EQ(TTiempo(2026, 12, 5, 10, 10, 0, -1), list(r, 1, List::Times).Tiempos(0)[1]);
    EXPECT_EQ(600, list(r, 1, List::Options).Numero(0, 2));
}

// Regression: one quoted "1,234" switched a whole comma-separated file to decimal comma, so
// every other value on it read wrong or failed.
TEST(CsvImport, QuotedCellsDoNotDecideTheDecimalMark) {
    const CsvResult comma = importCsv("t,x (A),y (A)\n2026-12-05 10:00:00,2.5,\"1,234\"\n", "d.csv");
    EXPECT_EQ('.', comma.decimalMark);
    ASSERT_EQ(1u, comma.problems.size());
    EXPECT_NE(std::string::npos, comma.problems[0].message.find("\"1,234\" is not a number"));

    const CsvResult semicolon = importCsv("t;x (A);y (A)\n"
                                          "2026-12-05 10:00:00;2.5;\"1,5\"\n"
                                          "2026-12-05 10:00:01;3.5;\n",
                                          "e.csv");
    EXPECT_EQ('.', semicolon.decimalMark);
    ASSERT_EQ(1u, semicolon.problems.size()) << "the quoted cell is not a number with a decimal point";
    EXPECT_EQ(2, semicolon.problems[0].line);
}

TEST(CsvImport, BadLinesAreReportedByLineNumberAndTheOthersKept) {
    const CsvResult r = importCsv("t,a (V)\n"
                                  "2026-12-05 10:00:00,1\n"     // line 2
                                  "2026-12-05 10:00:01,abc\n"   // line 3: not a number
                                  "2026-13-05 10:00:02,2\n"     // line 4: month 13
                                  "2026-12-05 10:00:03,3,4\n"   // line 5: a column too many
                                  "\n"                          // line 6: blank, skipped
                                  "2026-12-05 10:00:02,5\n"     // line 7: after line 2, the last line kept
                                  "2026-12-05 10:00:02,6\n"     // line 8: same time again
                                  "2026-12-05 10:00:02.000,6\n" // line 9: the same instant with milliseconds
                                  "yesterday,7\n",              // line 10
                                  "f.csv");
    ASSERT_EQ(6u, r.problems.size());
    // Lines 8 and 9: 10:00:02 and 10:00:02.000 are one instant.
    const std::pair<int, const char*> expected[] = {{3, "\"abc\" is not a number"},
                                                    {4, "not a valid date"},
                                                    {5, "3 columns"},
                                                    {8, "not after"},
                                                    {9, "not after"},
                                                    {10, ""}};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(expected[i].first, r.problems[i].line);
        EXPECT_NE(std::string::npos, r.problems[i].message.find(expected[i].second)) << r.problems[i].message;
    }
    EXPECT_EQ(2, list(r, 0, List::Values).Elementos(0)) << "lines 2 and 7";
}

TEST(CsvImport, FilesWithoutDataOrHeaderAreProblems) {
    EXPECT_EQ(1, importCsv("", "g.csv").problems.at(0).line);
    EXPECT_FALSE(importCsv("time only\n", "h.csv").problems.empty());
    EXPECT_FALSE(importCsv("t,a (V)\n", "i.csv").problems.empty());
    EXPECT_EQ(0, importCsvFile("/nonexistent/file.csv").problems.at(0).line);
}
