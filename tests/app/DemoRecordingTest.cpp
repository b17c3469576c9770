#include "DemoRecording.h"
#include "AppTestSupport.h"
#include "TTiempo.h"

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

using namespace recording;

namespace {

const Variable& byName(const Recording& r, const std::string& name) {
    for (const Variable& v : r.variables) {
        if (v.info.name == name)
            return v;
    }
    throw std::runtime_error("no variable " + name);
}

// Smallest and largest non-null value of a row.
std::pair<double, double> range(const TValorMultiple& l, int row) {
    double lo = 1e300, hi = -1e300;
    for (int i = 0; i < l.Elementos(row); ++i) {
        const double v = l.Numero(row, i);
        if (v == kNoValue)
            continue;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    return {lo, hi};
}

} // namespace

TEST(DemoRecording, ValuesArePlausibleForA230VoltSite) {
    const Recording r = buildDemoPart(0);
    // Bounds of the smallest and largest value of a row. Phase 1 sees an interruption; voltage THD
    // stays within the usual 8 % planning level while non-linear loads distort the current more.
    // clang-format off
    const struct { const char* name; int row; double minAbove, minBelow, maxAbove, maxBelow; } cases[] = {
        {"Frequency", 0, 49.8, 1e9, -1e9, 50.2},
        {"RMS", 0, -1e9, 10.0, -1e9, 262.0},
        {"RMS", 3, -1e-9, 1e9, -1e9, 250.0},
        {"Power factor L1", 0, -1.0 - 1e-9, 1e9, -1e9, 1.0 + 1e-9},
        {"THD", 0, 1.0, 1e9, -1e9, 8.0},
        {"THD", 3, -1e9, 1e9, 15.0, 1e9},
        {"Pst L1", 0, 0.0, 1e9, -1e9, 10.0},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto [lo, hi] = range(*byName(r, c.name).find(List::Values), c.row);
        EXPECT_TRUE(lo > c.minAbove && lo < c.minBelow && hi > c.maxAbove && hi < c.maxBelow)
            << c.name << " row " << c.row << ": " << lo << " to " << hi;
    }
}

TEST(DemoRecording, DefaultRecordingsAreWrittenOnceAndReused) {
    const QByteArray cache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(apptest::freshFolder("cache")));
    const std::vector<std::string> first = defaultRecordings();
    ASSERT_EQ(2u, first.size());
    const auto written = std::filesystem::last_write_time(first[0]);
    const std::vector<std::string> second = defaultRecordings();
    EXPECT_EQ(first, second);
    EXPECT_EQ(written, std::filesystem::last_write_time(second[0]));
    // A damaged cached copy is written again instead of being handed out.
    apptest::writeBytes(first[1], "damaged");
    const std::vector<std::string> third = defaultRecordings();
    EXPECT_GT(std::filesystem::file_size(third[1]), 1000u);
    qputenv("XDG_CACHE_HOME", cache);
}

TEST(DemoRecording, AFileInTheWayThatIsNotARecordingIsNeitherReplacedNorHalfJoined) {
    const std::string dir = apptest::freshFolder("demo-in-the-way");
    apptest::writeBytes(dir + "/" + DemoFiles::kSecond, "my own notes");
    try {
        writeDemo(dir);
        ADD_FAILURE() << "the demo was written over a file of the user";
    } catch (const RecordingError& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("is not a recording")) << e.what();
    }
    EXPECT_EQ("my own notes", apptest::fileBytes(dir + "/" + DemoFiles::kSecond));
    EXPECT_EQ(std::vector<std::string>{DemoFiles::kSecond}, apptest::folderListing(dir))
        << "no first part without its second";
    // The cache folder is ours, so there the file in the way is replaced.
    EXPECT_EQ(2u, writeDemo(dir, true).size());
}
