#include "ComtradeFile.h"
#include "ComtradeGenerator.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <tuple>

using namespace comtrade;
using comtradegen::Recipe;
using comtradegen::scratch;

std::string comtradegen::scratch(const std::string& name) {
    const std::filesystem::path dir =
        std::filesystem::path(testsupport::scratchDirectory().toStdString()) / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

namespace {

// A small 1999 configuration with every section, one line per entry.
const char* const kCfg1999 = "Sub North,Relay 7,1999\n"
                             "3,2A,1D\n"
                             "1,VA,A,Feeder 3,kV,0.01,0.5,0,-32767,32767,132,0.11,P\n"
                             "2,IA,A,Feeder 3,A,0.002,0,0,-32767,32767,600,1,S\n"
                             "1,Trip,,,0\n"
                             "60\n"
                             "2\n"
                             "7680,768\n"
                             "960,864\n"
                             "17/11/2026,23:59:59.750000\n"
                             "18/11/2026,00:00:00.000250\n"
                             "BINARY\n"
                             "1.0\n";

} // namespace

TEST(ComtradeConfig, ReadsEverySectionOfA1999File) {
    const Config c = parseConfig(kCfg1999, "x.cfg");
    EXPECT_EQ(std::tuple("Sub North", "Relay 7", 1999), std::tuple(c.station, c.device, c.revision));
    ASSERT_EQ(2u, c.analog.size());
    ASSERT_EQ(1u, c.digital.size());
    const AnalogChannel &va = c.analog[0], &ia = c.analog[1];
    EXPECT_EQ(std::tuple("kV", 0.01, 0.5, true), std::tuple(va.unit, va.a, va.b, va.scaledToPrimary));
    EXPECT_EQ(std::tuple(false, 600.0, 4), std::tuple(ia.scaledToPrimary, ia.primary, ia.line));
    EXPECT_EQ(std::tuple("Trip", 60.0, 2u, 864),
              std::tuple(c.digital[0].id, c.lineFrequency, c.rates.size(), c.sampleCount));
    EXPECT_EQ(DataFormat::Binary, c.format);
    EXPECT_EQ(std::tuple(2026, 11, 17, 59'750'000),
              std::tuple(c.start.year, c.start.month, c.start.day, c.start.microsecond));
    // The trigger falls 250.25 ms after the start, across midnight.
    EXPECT_EQ(250'250, c.trigger.sinceEpoch() - c.start.sinceEpoch());
    const DateTime back = DateTime::fromEpoch(c.trigger.sinceEpoch());
    EXPECT_EQ(std::tuple(18, 250), std::tuple(back.day, back.microsecond));
}

TEST(ComtradeConfig, ReadsThe1991And2013Variants) {
    // 1991: no revision year, ten analog fields, three digital fields, month first, no multiplier.
    const Config old = parseConfig("Old,Dev\n2,1A,1D\n1,VA,A,,V,1,0,0,-10,10\n1,Trip,0\n50\n1\n1000,10\n"
                                   "12/31/99,23:00:00.0\n12/31/99,23:00:00.0\nASCII\n",
                                   "old.cfg");
    EXPECT_EQ(std::tuple(1991, 1999, 12), std::tuple(old.revision, old.start.year, old.start.month));
    EXPECT_DOUBLE_EQ(1.0, old.timeMultiplier);
    EXPECT_TRUE(old.analog[0].scaledToPrimary);

    // 2013: FLOAT32, time codes, nanosecond dates, no rates (time stamps only).
    const Config c = parseConfig("S,D,2013\n1,1A,0D\n1,IN,N,,A,1,0,0,-1e6,1e6,1,1,p\n50\n0\n0,40\n"
                                 "01/02/2026,10:00:00.123456789\n01/02/2026,10:00:00.123456789\n"
                                 "float32\n1000\n-5h30,+0\nF,0\n",
                                 "new.cfg");
    EXPECT_EQ(std::tuple(DataFormat::Float32, true, 40, true, 1000.0, "-5h30"),
              std::tuple(c.format, c.rates.empty(), c.sampleCount, c.nanosecondStamps, c.timeMultiplier,
                         c.timeCode));
}

TEST(ComtradeConfig, MalformedLinesAreReportedByFileAndLine) {
    struct Case {
        std::string text;
        long line;
        const char* reason;
    };
    const std::string head = "S,D,1999\n2,1A,1D\n";
    const std::string analog = "1,VA,A,,V,1,0,0,-1,1,1,1,P\n";
    const std::string tail = "50\n1\n1000,10\n01/01/2026,00:00:00\n01/01/2026,00:00:00\nASCII\n1\n";
    const std::vector<Case> cases = {
        {"", 1, "the file ends where the station line"},
        {"S,D,1998\n", 1, "revision year 1998"},
        {"S,D\n3,1A,1D\n", 2, "channel total 3"},
        {"S,D\n2,1X,1D\n", 2, "followed by A"},
        {"S,D,1999\n1,1A,0D\n1,VA,A,,V,1,0,0,-1,1\n", 3, "10 fields where 13"},
        {"S,D,1999\n1,1A,0D\n2,VA,A,,V,1,0,0,-1,1,1,1,P\n", 3, "channel number 2"},
        {"S,D,1999\n1,1A,0D\n1,VA,A,,V,x1,0,0,-1,1,1,1,P\n", 3, "multiplier a \"x1\""},
        {"S,D,1999\n1,1A,0D\n1,VA,A,,V,1,0,0,-1,1,1,1,Q\n", 3, "neither P nor S"},
        {"S,D,1999\n1,1A,0D\n1,VA,A,,V,1,0,0,-1,1,0,1,P\n", 3, "must be positive"},
        {(head + analog + "1,Trip,,,2\n"), 4, "normal state 2"},
        {(head + analog + "1,Trip,,,0\nfifty\n"), 5, "line frequency"},
        {(head + analog + "1,Trip,,,0\n50\n2\n1000,10\n1000,5\n"), 8, "does not follow 10"},
        {(head + analog + "1,Trip,,,0\n50\n1\n1000,10\n31/02/2026,00:00:00\n"), 8, "does not exist"},
        {(head + analog + "1,Trip,,,0\n50\n1\n1000,10\n01/01/2026,00:00:00\n01/01/2026,00:00:00\nBIN16\n"),
         10, "data file type \"BIN16\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            parseConfig(c.text, "bad.cfg");
            ADD_FAILURE() << "accepted";
        } catch (const ComtradeError& e) {
            EXPECT_EQ(c.line, e.line()) << e.what();
            EXPECT_EQ(0, std::string(e.what()).rfind("bad.cfg:" + std::to_string(c.line) + ": ", 0))
                << e.what();
            EXPECT_NE(std::string::npos, e.reason().find(c.reason)) << e.reason();
        }
    }
    // The good file these cases break is accepted.
    EXPECT_NO_THROW(parseConfig(head + analog + "1,Trip,,,0\n" + tail, "good.cfg"));
}

TEST(ComtradeData, EveryFormReadsBackTheSameEngineeringValues) {
    const std::string dir = scratch("forms");
    for (DataFormat f : {DataFormat::Ascii, DataFormat::Binary, DataFormat::Binary32, DataFormat::Float32}) {
        Recipe recipe = comtradegen::threePhase(50.0, 64, 4);
        recipe.format = f;
        recipe.digital = {"Trip", "Close"};
        // A current on the secondary side of a 600/1 transformer, read back in primary amperes.
        recipe.analog[3].secondaryScaled = true;
        recipe.analog[3].primary = 600;
        recipe.analog[3].secondary = 1;
        recipe.analog[3].a = 0.0001;
        for (bool cff : {false, true}) {
            SCOPED_TRACE(std::to_string(static_cast<int>(f)) + (cff ? " cff" : " cfg"));
            const std::string stem = dir + "/f" + std::to_string(static_cast<int>(f));
            const std::string path =
                cff ? comtradegen::writeCff(recipe, stem + ".cff") : comtradegen::writeFiles(recipe, stem);
            const Recording rec = readRecording(path);
            ASSERT_EQ(6u, rec.samples.analog.size());
            ASSERT_EQ(256u, rec.samples.timeMicros.size());
            for (size_t c = 0; c < 6; ++c) {
                for (long long k = 0; k < 256; ++k)
                    ASSERT_NEAR(comtradegen::expectedValue(recipe, recipe.analog[c], k),
                                rec.samples.analog[c][static_cast<size_t>(k)], 1e-9)
                        << "channel " << c << " sample " << k;
            }
            EXPECT_NEAR(-100 * std::sqrt(2.0) / 2, rec.samples.analog[3][0], 0.07) << "600/1 A, primary";
            EXPECT_EQ(0, rec.samples.digital[0][99]);
            EXPECT_EQ(1, rec.samples.digital[1][200]);
            EXPECT_NEAR(1e6 / 3200 * 255, rec.samples.timeMicros[255], 1e-6);
        }
    }
}

TEST(ComtradeData, MissingSamplesBecomeNaNAndStampsGiveTheTimesWithoutARate) {
    const Config c = parseConfig("S,D,1999\n2,2A,0D\n1,VA,A,,V,2,1,0,-1,1,1,1,P\n2,VB,B,,V,1,0,0,-1,1,1,1,P\n"
                                 "50\n0\n0,3\n01/01/2026,00:00:00\n01/01/2026,00:00:00\nASCII\n2\n",
                                 "s.cfg");
    const Samples s = parseData(c, "1,100,5,99999\n2,150,,7\n3,300,-3,8\n", "s.dat");
    EXPECT_DOUBLE_EQ(11.0, s.analog[0][0]);
    EXPECT_TRUE(std::isnan(s.analog[1][0]));
    EXPECT_TRUE(std::isnan(s.analog[0][1]));
    EXPECT_DOUBLE_EQ(-5.0, s.analog[0][2]);
    // Time stamps count from the first, times the multiplier.
    EXPECT_DOUBLE_EQ(100.0, s.timeMicros[1]);
    EXPECT_DOUBLE_EQ(400.0, s.timeMicros[2]);
    EXPECT_THROW(parseData(c, "1,100,5,1\n2,50,5,1\n3,300,5,1\n", "s.dat"), ComtradeError);
}

TEST(ComtradeData, ShortDataAreRefusedWithTheLineOrTheByte) {
    Recipe recipe = comtradegen::threePhase(50.0, 32, 2);
    recipe.format = DataFormat::Ascii;
    const Config ascii = parseConfig(comtradegen::cfgText(recipe), "t.cfg");
    std::string text = comtradegen::datBytes(recipe);
    size_t end = 0;
    for (int line = 0; line < 32; ++line)
        end = text.find('\n', end) + 1;
    text.resize(end);
    try {
        parseData(ascii, text, "t.dat");
        ADD_FAILURE() << "accepted";
    } catch (const ComtradeError& e) {
        EXPECT_EQ(33, e.line()) << e.what();
        EXPECT_NE(std::string::npos, e.reason().find("32 of 64 samples")) << e.reason();
    }

    for (DataFormat f : {DataFormat::Binary, DataFormat::Binary32, DataFormat::Float32}) {
        recipe.format = f;
        const Config c = parseConfig(comtradegen::cfgText(recipe), "t.cfg");
        std::string bytes = comtradegen::datBytes(recipe);
        ASSERT_EQ(64 * binaryRecordSize(c), bytes.size());
        bytes.pop_back();
        try {
            parseData(c, bytes, "t.dat");
            ADD_FAILURE() << "accepted";
        } catch (const ComtradeError& e) {
            EXPECT_EQ(static_cast<long long>(bytes.size()), e.byte());
            EXPECT_NE(std::string::npos, std::string(e.what()).find("t.dat: byte ")) << e.what();
            EXPECT_NE(std::string::npos, e.reason().find("63 of 64")) << e.reason();
        }
    }
}

TEST(ComtradeData, MultiRateSectionsGiveEachSampleItsTime) {
    Recipe recipe = comtradegen::threePhase();
    // Four cycles at 256 per cycle, then six at 32 per cycle, then two at 64 per cycle.
    recipe.rates = {{12800.0, 1024}, {1600.0, 1024 + 192}, {3200.0, 1024 + 192 + 128}};
    recipe.format = DataFormat::Binary32; // every form is read alike (see above)
    const std::string path = comtradegen::writeFiles(recipe, scratch("multirate") + "/m");
    const Recording rec = readRecording(path);
    ASSERT_EQ(1344u, rec.samples.timeMicros.size());
    EXPECT_NEAR(1023 * 78.125, rec.samples.timeMicros[1023], 1e-6);
    EXPECT_NEAR(80000.0, rec.samples.timeMicros[1024], 1e-6);
    EXPECT_NEAR(80000.0 + 625.0, rec.samples.timeMicros[1025], 1e-6);
    EXPECT_NEAR(200000.0 + 312.5, rec.samples.timeMicros[1024 + 192 + 1], 1e-6);
    for (size_t k : {0u, 1023u, 1100u, 1300u})
        EXPECT_NEAR(comtradegen::expectedValue(recipe, recipe.analog[2], static_cast<long long>(k)),
                    rec.samples.analog[2][k], 1e-9);
}

TEST(ComtradeCombined, SectionsAreFoundAndAMissingOneIsReported) {
    Recipe recipe = comtradegen::threePhase(60.0, 16, 2);
    recipe.format = DataFormat::Binary;
    const std::string path = comtradegen::writeCff(recipe, scratch("cff") + "/one.cff");
    const std::string bytes = readFileBytes(path);
    const CombinedParts parts = splitCombined(bytes, path);
    EXPECT_EQ(2, parts.cfgFirstLine);
    EXPECT_EQ(bytes.size() - parts.data.size(), static_cast<size_t>(parts.dataOffset));
    // A configuration fault inside a .cff names the .cff's own line.
    std::string broken = bytes;
    broken.replace(broken.find("\r\n60\r\n"), 6, "\r\n6x\r\n");
    try {
        const CombinedParts p = splitCombined(broken, "b.cff");
        parseConfig(p.cfg, "b.cff", p.cfgFirstLine);
        ADD_FAILURE() << "accepted";
    } catch (const ComtradeError& e) {
        EXPECT_EQ(2 + 2 + 6, e.line()) << e.what();
    }
    EXPECT_THROW(splitCombined("--- file type: CFG ---\nS,D\n", "n.cff"), ComtradeError);
    EXPECT_THROW(splitCombined("no sections at all", "n.cff"), ComtradeError);
    EXPECT_THROW(readRecording(scratch("cff") + "/absent.cfg"), ComtradeError);
}
