#include "ComtradeImport.h"
#include "ComtradeGenerator.h"
#include "DataDrivers.h"
#include "TTiempo.h"
#include "TestEnvironment.h"

#include "FakeDrivers.h"

#include <QProcess>
#include <QString>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>

using namespace comtrade;
using comtradegen::Recipe;
using comtradegen::scratch;

namespace {

struct Var {
    int key1, key2, kind, code;
    std::string name;
};

// An imported recording opened as the host opens it, its variables by graph kind.
struct Opened {
    recording::SourceDriver source;
    recording::RecordingDriver* d;
    std::vector<Var> vars;
    std::map<int, std::vector<Var>> byKind;

    explicit Opened(const std::string& path) : d(source.openFile(path)) {
        if (d == nullptr)
            throw std::runtime_error("the recording does not open: " + path);
        const TValorMultiple rows = fakes::send(*d, recording::kCmdEnumerate, {});
        for (int r = 0; r + 2 < rows.Cuenta(); r += 3)
            vars.push_back({rows.Entero(r, 0), rows.Entero(r, 1), rows.Entero(r, 2), rows.Entero(r, 3),
                            rows.Texto(r + 1)});
        for (const Var& v : vars)
            byKind[v.kind].push_back(v);
    }
    TValorMultiple ask(int command, const Var& v) { return fakes::send(*d, command, {v.key1, v.key2}); }
};

// Two records of a 50 Hz three-phase bay with a neutral current and two digital channels:
// the first at 230 V with 5 % fifth harmonic on VA, the second (earlier on disk order, later
// in time) with a sag on VB.
struct Fixture {
    std::string dir, first, second, out;
    Recipe a, b;
};

Fixture twoRecords(const std::string& name) {
    Fixture f;
    f.dir = scratch(name);
    f.a = comtradegen::threePhase(50.0, 64, 20);
    f.a.analog[0].rms = 230.0 / std::sqrt(1.0025);
    f.a.analog[0].tones = {{5, 5.0}};
    f.a.analog.push_back({"IN", "N", "A", 10.0, 0.0, {{3, 50.0}}, 0.01, 0.0});
    f.a.digital = {"Trip", "Breaker open"};
    f.a.format = DataFormat::Binary32;
    f.a.start = "05/12/2026,10:00:00.000000";
    f.b = f.a;
    f.b.analog[1].rms = 115.0;
    f.b.format = DataFormat::Ascii;
    f.b.revision = 2013;
    f.b.start = "05/12/2026,10:05:00.500000";
    f.first = comtradegen::writeFiles(f.a, f.dir + "/a");
    f.second = comtradegen::writeFiles(f.b, f.dir + "/b");
    f.out = f.dir + "/OUT.STD";
    return f;
}

} // namespace

TEST(ComtradeRoles, PhaseAndUnitFieldsFindTheChannels) {
    struct Case {
        const char* id;
        const char* phase;
        const char* unit;
        Quantity q;
        int phaseNumber;
    };
    // The phase field in its spellings, the id when it is empty, a line-to-line or other channel.
    const std::vector<Case> cases = {
        {"Ua", "A", "kV", Quantity::Voltage, 1}, {"x", "L3", "V", Quantity::Voltage, 3},
        {"x", "CN", "V", Quantity::Voltage, 3},  {"x", "2", "kA", Quantity::Current, 2},
        {"IL1", "", "A", Quantity::Current, 1},  {"IN", "", "", Quantity::Current, 0},
        {"x", "AB", "V", Quantity::Voltage, -1}, {"F", "", "Hz", Quantity::Other, -1},
    };
    for (const Case& c : cases) {
        AnalogChannel ch;
        ch.id = c.id;
        ch.phase = c.phase;
        ch.unit = c.unit;
        const ChannelRole r = classify(ch);
        EXPECT_EQ(c.q, r.quantity) << c.id << " " << c.phase << " " << c.unit;
        if (c.q != Quantity::Other) {
            EXPECT_EQ(c.phaseNumber, r.phase) << c.id << " " << c.phase << " " << c.unit;
        }
    }
    std::string base;
    EXPECT_DOUBLE_EQ(1e-3, unitFactor("mA", base));
    EXPECT_EQ("A", base);
}

TEST(ComtradeImport, TheRecordingOpensAndAnswersTheDataDriverCommands) {
    const Fixture f = twoRecords("import");
    // Given later record first: the recording is in time order all the same.
    ASSERT_EQ(0, importCommand({f.second, f.first}, f.out));
    Opened o(f.out);
    ASSERT_EQ(1u, o.byKind[2].size()) << "the six phase channels in one variable";
    ASSERT_EQ(1u, o.byKind[15].size()) << "the phase currents with the neutral";
    ASSERT_EQ(1u, o.byKind[3].size());
    ASSERT_EQ(3u, o.byKind[20].size());
    ASSERT_EQ(2u, o.byKind[12].size()) << "the digital channels, kept";
    for (const Var& v : o.vars) {
        SCOPED_TRACE(v.name);
        const recording::KindShape shape = recording::kindShape(v.kind);
        EXPECT_EQ(shape.rows, o.ask(10001, v).Cuenta());
        EXPECT_EQ(shape.extraRows, o.ask(10015, v).Cuenta());
        EXPECT_EQ(v.kind, o.ask(10013, v).Entero(0, 1));
        EXPECT_EQ(1, o.ask(10002, {-1, v.key2, 0, 0, ""}).Cuenta());
    }

    // Waveforms VA VB VC IA IB IC: two records one after the other, in volts and amperes, with
    // THD and d per channel and record.
    const Var& w = o.byKind[2][0];
    const TValorMultiple values = o.ask(10001, w), times = o.ask(10002, w), intervals = o.ask(10014, w),
                         extra = o.ask(10015, w), general = o.ask(10002, {-1, w.key2, 0, 0, ""});
    EXPECT_EQ("IC", o.ask(10004, w).Texto(5));
    EXPECT_EQ("A", o.ask(10003, w).Texto(3));
    ASSERT_EQ(2 * 1280, values.Elementos(0));
    ASSERT_EQ(4, intervals.Elementos(0));
    EXPECT_EQ(1280, intervals.Numero(0, 2));
    EXPECT_NEAR(comtradegen::expectedValue(f.b, f.b.analog[1], 5), values.Numero(1, 1280 + 5), 1e-9);
    ASSERT_EQ(2, general.Elementos(0));
    EXPECT_EQ(TTiempo(2026, 12, 5, 10, 5, 0, 500), general.Tiempos(0)[1]);
    EXPECT_EQ(TTiempo(2026, 12, 5, 10, 0, 0, 15), times.Tiempos(0)[48]) << "sample 48 at 15 ms";
    EXPECT_NEAR(5.0, extra.Numero(0, 1), 0.05) << "THD of VA, second record";
    EXPECT_NEAR(100 * 0.05 / std::sqrt(1.0025), extra.Numero(1, 0), 0.05) << "d of VA";

    // The neutral current beside the phase currents, with its 50 % third harmonic; no neutral
    // voltage in these files, so that row and the spare one are empty.
    const Var& neutral = o.byKind[15][0];
    const TValorMultiple nExtra = o.ask(10015, neutral);
    EXPECT_EQ("IN", o.ask(10004, neutral).Texto(3));
    EXPECT_EQ(0, o.ask(10001, neutral).Elementos(4));
    EXPECT_NEAR(50.0, nExtra.Numero(6, 0), 0.1);
    EXPECT_EQ(recording::kNoValue, nExtra.Numero(8, 0)) << "no neutral voltage, no figures";

    // Harmonics: six slots of 49 orders per record.
    const TValorMultiple hv = o.ask(10001, o.byKind[3][0]), hx = o.ask(10015, o.byKind[3][0]);
    ASSERT_EQ(98, hv.Elementos(0));
    EXPECT_EQ(2, hx.Numero(0, 49));
    EXPECT_NEAR(5.0, hv.Numero(0, 5 - 2), 0.05) << "VA order 5";
    EXPECT_EQ(recording::kNoValue, hv.Numero(0, 40 - 2)) << "64 per cycle reach order 31";

    // Half-cycle RMS of VB: 230 V in the first record, 115 V in the second.
    const TValorMultiple rv = o.ask(10001, o.byKind[20][1]);
    ASSERT_EQ(2 * 39, rv.Elementos(0));
    EXPECT_NEAR(230.0, rv.Numero(0, 0), 0.23);
    EXPECT_NEAR(115.0, rv.Numero(0, 39), 0.12);
    EXPECT_EQ(TTiempo(2026, 12, 5, 10, 0, 0, 400), o.ask(10014, o.byKind[20][1]).Tiempos(0)[1]);

    // Digital channels keep every change: "Trip" toggles every 100 samples.
    const Var& trip = o.byKind[12][0];
    const TValorMultiple tv = o.ask(10001, trip);
    EXPECT_EQ(2 * 13, tv.Elementos(0));
    EXPECT_EQ(1, tv.Numero(0, 1));
}

TEST(ComtradeImport, BadInputWritesNothingAndKeepsTheTarget) {
    const Fixture f = twoRecords("refused");
    std::ofstream(f.out) << "previous contents";
    // A malformed configuration, imported from the command line: named by file and line.
    std::string cfg = readFileBytes(f.first);
    cfg.replace(cfg.find("5,IB,B,"), 7, "5,IB,B,Line 1,A,zz,");
    std::ofstream(f.first, std::ios::binary | std::ios::trunc) << cfg;
    QProcess p;
    p.start(QStringLiteral(KESTRAMON_EXECUTABLE),
            {"--import-comtrade", QString::fromStdString(f.first), QString::fromStdString(f.second),
             QString::fromStdString(f.out)});
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString errors = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(2, p.exitCode());
    EXPECT_TRUE(errors.contains(QString::fromStdString(f.first) + ":7: ")) << errors.toStdString();
    EXPECT_EQ("previous contents", readFileBytes(f.out));
    // A forgotten output name would overwrite a file of the user: refused.
    const std::string datBefore = readFileBytes(f.dir + "/b.dat");
    EXPECT_EQ(2, importCommand({f.second}, f.dir + "/b.dat"));
    EXPECT_TRUE(datBefore == readFileBytes(f.dir + "/b.dat")) << "the data file was replaced";
    // No phase channel at all.
    Recipe other = comtradegen::threePhase(50.0, 32, 2);
    for (auto& c : other.analog)
        c.unit = "Hz";
    const std::string hz = comtradegen::writeFiles(other, f.dir + "/hz");
    EXPECT_EQ(2, importCommand({hz}, f.dir + "/HZ.STD"));
    EXPECT_FALSE(std::filesystem::exists(f.dir + "/HZ.STD"));
    for (const auto& e : std::filesystem::directory_iterator(f.dir))
        EXPECT_EQ(std::string::npos, e.path().filename().string().find(".tmp")) << "no temporary file left";
}

TEST(ComtradeImport, VoltagesOnlyWithANeutralShowTheVoltagesBesideIt) {
    const std::string dir = scratch("neutral-voltage");
    Recipe recipe = comtradegen::threePhase(50.0, 64, 10);
    recipe.analog.resize(3); // no current at all
    recipe.analog.push_back({"VN", "N", "V", 4.0, 0.0, {}, 0.01, 0.0});
    const std::string cfg = comtradegen::writeFiles(recipe, dir + "/v");
    const std::string out = dir + "/V.STD";
    ASSERT_EQ(0, importCommand({cfg}, out));
    Opened o(out);
    ASSERT_EQ(1u, o.byKind[15].size());
    // The six-channel variable keeps its current rows, empty.
    ASSERT_EQ(1u, o.byKind[2].size());
    EXPECT_EQ(0, o.ask(10001, o.byKind[2][0]).Elementos(3));
    // Without currents the phase voltages stand beside the neutral voltage (row 4).
    const Var& n = o.byKind[15][0];
    const TValorMultiple values = o.ask(10001, n);
    EXPECT_EQ("VN", o.ask(10004, n).Texto(4));
    EXPECT_EQ(0, values.Elementos(3)) << "no neutral current";
    EXPECT_EQ(640, values.Elementos(4));
}
