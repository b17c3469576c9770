#include "DataDrivers.h"
#include "AppTestSupport.h"
#include "FakeDrivers.h"
#include "TTiempo.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace recording;
using fakes::send;

namespace {

struct EnumeratedVariable {
    int key1, key2, kind, code;
    std::string name, unit;
};

std::vector<EnumeratedVariable> enumerate(RecordingDriver& d) {
    const TValorMultiple rows = send(d, kCmdEnumerate, {});
    std::vector<EnumeratedVariable> out;
    for (int r = 0; r + 2 < rows.Cuenta(); r += 3) {
        EXPECT_EQ(TV_ENTERO, rows.Tipo(r));
        EXPECT_EQ(4, rows.Elementos(r));
        EXPECT_EQ(TV_TEXTO, rows.Tipo(r + 1));
        EXPECT_EQ(TV_TEXTO, rows.Tipo(r + 2));
        out.push_back({rows.Entero(r, 0), rows.Entero(r, 1), rows.Entero(r, 2), rows.Entero(r, 3),
                       rows.Texto(r + 1), rows.Texto(r + 2)});
    }
    EXPECT_EQ(0, rows.Cuenta() % 3);
    return out;
}

class DemoDrivers : public testing::Test {
protected:
    void SetUp() override {
        source = std::make_unique<SourceDriver>();
        for (const std::string& path : apptest::demoFiles())
            source->openFile(path);
        first = source->driver(0);
    }
    // The answer of the first file to a command on a variable.
    TValorMultiple ask(int command, int key1, int key2) { return send(*first, command, {key1, key2}); }
    TValorMultiple ask(int command, const EnumeratedVariable& v) { return ask(command, v.key1, v.key2); }

    std::unique_ptr<SourceDriver> source;
    RecordingDriver* first = nullptr;
};

} // namespace

TEST_F(DemoDrivers, AnswersKeepTheContractOfTheirKind) {
    for (const auto& v : enumerate(*first)) {
        SCOPED_TRACE(v.name + " kind " + std::to_string(v.kind));
        const KindShape shape = kindShape(v.kind);
        const TValorMultiple values = ask(10001, v), times = ask(10002, v), general = ask(10002, -1, v.key2);
        const TValorMultiple units = ask(10003, v), names = ask(10004, v), options = ask(10013, v);
        const TValorMultiple intervals = ask(10014, v), extra = ask(10015, v), decimals = ask(10021, v);
        for (const TValorMultiple* l : {&values, &times, &units, &names, &options, &intervals, &decimals})
            EXPECT_EQ(shape.rows, l->Cuenta());
        EXPECT_EQ(shape.extraRows, extra.Cuenta());
        ASSERT_EQ(1, general.Cuenta());
        EXPECT_NE(nullptr, general.Tiempos(0));
        for (int r = 0; r < values.Cuenta(); ++r) {
            ASSERT_NE(nullptr, values.Doubles(r));
            ASSERT_NE(nullptr, times.Tiempos(r));
            EXPECT_EQ(values.Elementos(r), times.Elementos(r));
            EXPECT_EQ(v.kind, options.Entero(r, 1)) << "TipoGrafica at option index 1";
            EXPECT_EQ(v.code, options.Entero(r, 12)) << "variable code at option index 12";
            EXPECT_GE(decimals.Numero(r, 0), 0);
            EXPECT_EQ(TV_TEXTO, units.Tipo(r));
            EXPECT_EQ(TV_TEXTO, names.Tipo(r));
        }
        // Time series deliver their intervals as (start, end) pairs of times in order.
        if (shape.intervalType == TV_TIEMPO) {
            const TTiempo* t = intervals.Tiempos(0);
            ASSERT_NE(nullptr, t);
            ASSERT_EQ(0, intervals.Elementos(0) % 2);
            for (int i = 0; i + 1 < intervals.Elementos(0); i += 2)
                EXPECT_LE(t[i], t[i + 1]);
        }
    }
}

TEST_F(DemoDrivers, RmsAnswersSixChannelRowsOfOneSecondData) {
    const TValorMultiple values = ask(10001, 5, 1), units = ask(10003, 5, 1);
    ASSERT_EQ(6, values.Cuenta());
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(r < 3 ? "V" : "A", units.Texto(r));
    EXPECT_EQ(1, ask(10013, 5, 1).Numero(0, 2)) << "recording period in seconds";
    EXPECT_EQ(302400, values.Elementos(0)) << "half a week of seconds per file";
    const TTiempo* t = ask(10002, 5, 1).Tiempos(0);
    EXPECT_EQ(TTiempo(2026, 11, 30, 0, 0, 0, -1), t[0]);
    EXPECT_EQ(TTiempo(2026, 12, 3, 11, 59, 59, -1), t[values.Elementos(0) - 1]);
    // Plausible to a power engineer: phase voltages near 230 V outside the events.
    int near = 0;
    for (int i = 0; i < values.Elementos(0); ++i)
        near += std::abs(values.Doubles(0)[i] - 230.0) < 10.0;
    EXPECT_GT(near, values.Elementos(0) * 99 / 100);
}

TEST_F(DemoDrivers, SpectraCarryRegisterPairsInTheirFirstIntervalRowAndOrdersInTheExtraRow) {
    for (int key2 : {11, 12, 13})
        ASSERT_EQ(0, ask(10001, 0, key2).Cuenta()) << "the first key is part of the identity";
    for (const auto& v : enumerate(*first)) {
        if (v.kind != 3 && v.kind != 16 && v.kind != 21)
            continue;
        SCOPED_TRACE(v.name);
        const TValorMultiple values = ask(10001, v), intervals = ask(10014, v), extra = ask(10015, v);
        ASSERT_NE(nullptr, intervals.Doubles(0));
        const int pairs = intervals.Elementos(0) / 2;
        for (int r = 1; r < 6; ++r)
            EXPECT_EQ(0, intervals.Elementos(r));
        EXPECT_EQ(pairs, ask(10002, -1, v.key2).Elementos(0)) << "one time per register";
        EXPECT_EQ(0, intervals.Numero(0, 0));
        EXPECT_EQ(values.Elementos(0) - 1, intervals.Numero(0, 2 * pairs - 1));
        ASSERT_EQ(values.Elementos(0), extra.Elementos(0));
        const double firstOrder = v.kind == 21 ? 1.5 : 2.0;
        EXPECT_EQ(firstOrder, extra.Numero(0, 0));
        EXPECT_EQ(firstOrder + 38, extra.Numero(0, 38));
        EXPECT_EQ(firstOrder, extra.Numero(0, 39)) << "the second register starts again";
    }
    // Current harmonics: three phases and the neutral; slots 4 and 5 hold no value.
    const TValorMultiple current = ask(10001, 16, 12);
    ASSERT_EQ(6, current.Cuenta());
    for (int i = 0; i < current.Elementos(4); ++i)
        ASSERT_EQ(kNoValue, current.Numero(4, i));
    EXPECT_NE(kNoValue, current.Numero(3, 0));
}

TEST_F(DemoDrivers, EventsCarryFourColumnsAndTheInstrumentLevels) {
    const auto vars = enumerate(*first);
    for (int kind : {10, 11, 19}) {
        auto it = std::find_if(vars.begin(), vars.end(), [&](const auto& v) { return v.kind == kind; });
        ASSERT_NE(vars.end(), it);
        const TValorMultiple values = ask(10001, *it), options = ask(10013, *it);
        const TValorMultiple extra = ask(10015, *it), starts = ask(10002, *it);
        EXPECT_EQ(100, options.Numero(0, 6));
        EXPECT_EQ(900, options.Numero(0, 7));
        EXPECT_EQ(1100, options.Numero(0, 8));
        ASSERT_EQ(4, extra.Cuenta());
        ASSERT_EQ(values.Elementos(0), extra.Elementos(0));
        bool singlePhase = false, threePhase = false, lowerBound = false, swell = false, interruption = false;
        double shortest = 1e18, longest = 0;
        for (int e = 0; e < values.Elementos(0); ++e) {
            const double duration = extra.Numero(0, e);
            const int phase = extra.Entero(1, e);
            EXPECT_TRUE(phase >= 1 && phase <= 3);
            lowerBound = lowerBound || duration < 0;
            shortest = std::min(shortest, std::fabs(duration));
            longest = std::max(longest, std::fabs(duration));
            swell = swell || values.Numero(0, e) >= 110.0;
            interruption = interruption || values.Numero(0, e) < 10.0;
            // Three records at one instant make an event on all three phases.
            const bool sameStartAsNext =
                e + 2 < values.Elementos(0) && starts.Tiempos(0)[e] == starts.Tiempos(0)[e + 2];
            threePhase = threePhase || sameStartAsNext;
            singlePhase = singlePhase || !sameStartAsNext;
        }
        EXPECT_TRUE(lowerBound && swell && interruption && threePhase && singlePhase);
        EXPECT_LE(shortest, 10.0);
        EXPECT_GE(longest, 60000.0) << "an interruption of minutes";
    }
}

TEST_F(DemoDrivers, FlickerFlagsAreOneBytePerPstValueAndTesSampleCountsAddUp) {
    const TValorMultiple pst = ask(10001, 14, 16), options = ask(10013, 14, 16), flags = ask(10015, 14, 16);
    ASSERT_EQ(1, flags.Cuenta());
    EXPECT_EQ(TV_BYTE, flags.Tipo(0));
    EXPECT_EQ(pst.Elementos(0), flags.Elementos(0));
    EXPECT_EQ(600, options.Numero(0, 2));
    EXPECT_EQ(14, options.Numero(0, 1));
    int flagged = 0;
    for (int i = 0; i < flags.Elementos(0); ++i)
        flagged += flags.Numero(0, i) != 0;
    EXPECT_GT(flagged, 0);
    EXPECT_LT(flagged, flags.Elementos(0) / 10);

    const TValorMultiple samples = ask(10001, 18, 27), counts = ask(10015, 18, 27);
    ASSERT_EQ(6, counts.Cuenta());
    double total = 0;
    for (int e = 0; e < counts.Elementos(0); ++e)
        total += counts.Numero(0, e);
    EXPECT_EQ(samples.Elementos(0), static_cast<int>(total));
    EXPECT_EQ(counts.Elementos(0), ask(10002, -1, 27).Elementos(0)) << "one start time per event";
}

TEST_F(DemoDrivers, UnknownKeysAndCommandsAnswerNothingAndKeyTranslationDropsThem) {
    int result = 0;
    EXPECT_EQ(0, send(*first, 10001, {99, 99}, &result).Cuenta());
    EXPECT_EQ(0, result);
    EXPECT_EQ(0, send(*first, 10002, {-1, 999}).Cuenta());
    EXPECT_EQ(0, send(*first, 10001, {}).Cuenta()) << "no parameters";
    EXPECT_EQ(0, send(*first, 4711, {5, 1}, &result).Cuenta());
    EXPECT_EQ(-1, result);

    const TValorMultiple known = ask(kCmdTranslateKeys, 5, 1), unknown = ask(kCmdTranslateKeys, 5, 2);
    ASSERT_EQ(1, known.Cuenta());
    EXPECT_EQ(5, known.Numero(0, 0));
    EXPECT_EQ(1, known.Numero(0, 1));
    EXPECT_EQ(-1, unknown.Numero(0, 0));
    EXPECT_EQ(-1, unknown.Numero(0, 1));
}

TEST_F(DemoDrivers, TheSourceNamesItsFilesAndHandsOutTheirDriversWithOneMoreReference) {
    ASSERT_EQ(1, source->GetPagesNumber());
    EXPECT_EQ(4, source->GetPageCat(0));
    ASSERT_EQ(2, source->GetPropertyNumber(0));
    EXPECT_STREQ("S0010001.STD", source->GetPropertyName(0, 0));
    EXPECT_STREQ("S0010002.STD", source->GetPropertyName(0, 1));
    for (int i = 0; i < 2; ++i) {
        RecordingDriver* expected = source->driver(i);
        const int before = expected->Referencias();
        const TValorMultiple answer = send(*source, kCmdDataDriver, {i});
        ASSERT_EQ(1, answer.Cuenta());
        ASSERT_EQ(TV_ENTERO, answer.Tipo(0));
        ObjGen* handed = ObjGen::DesdeManejador(answer.Entero(0, 0));
        EXPECT_EQ(expected, handed);
        EXPECT_EQ(before + 1, expected->Referencias());
        EXPECT_EQ(0, handed->DecRef()) << "the source keeps its own reference";
        EXPECT_EQ(before, expected->Referencias());
    }
    EXPECT_EQ(0, send(*source, kCmdDataDriver, {2}).Cuenta());
    EXPECT_EQ(0, send(*source, kCmdDataDriver, {-1}).Cuenta());
    // Files of one kind share the object kind word.
    EXPECT_EQ(source->driver(0)->TipoObjeto(), source->driver(1)->TipoObjeto());
    EXPECT_NE(source->TipoObjeto(), source->driver(0)->TipoObjeto());
    EXPECT_EQ(kindWordForFile("A.STD"), kindWordForFile("b.std"));
    EXPECT_NE(kindWordForFile("A.STD"), kindWordForFile("A.EVQ"));
}

TEST_F(DemoDrivers, BothFilesUseTheSameKeysForTheSameVariablesAndFollowEachOther) {
    const auto a = enumerate(*source->driver(0));
    const auto b = enumerate(*source->driver(1));
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].key1, b[i].key1);
        EXPECT_EQ(a[i].key2, b[i].key2);
        EXPECT_EQ(a[i].name, b[i].name);
    }
    const TTiempo* endFirst = send(*source->driver(0), 10002, {-1, 1}).Tiempos(0);
    const TTiempo* startSecond = send(*source->driver(1), 10002, {-1, 1}).Tiempos(0);
    EXPECT_EQ(TTiempo(2026, 12, 3, 11, 59, 59, -1), endFirst[1]);
    EXPECT_EQ(TTiempo(2026, 12, 3, 12, 0, 0, -1), startSecond[0]);
}

TEST(SourceDriver, AFileThatCannotBeOpenedAddsNothingAndDriversAreReleased) {
    const int before = ObjGen::ObjetosVivos();
    {
        SourceDriver source;
        const std::string path = apptest::freshFolder("source") + "/BROKEN.STD";
        apptest::writeBytes(path, "not a recording");
        EXPECT_THROW(source.openFile(path), RecordingError);
        EXPECT_EQ(0, source.fileCount());
        EXPECT_EQ(0, source.GetPropertyNumber(0));
        source.openFile(apptest::demoFiles()[0]);
        EXPECT_EQ(before + 2, ObjGen::ObjetosVivos());
    }
    EXPECT_EQ(before, ObjGen::ObjetosVivos());
}

TEST(RecordingDriver, AFileCutShortAfterOpeningIsReportedOnceAndAnswersNothing) {
    const std::string path = apptest::freshFolder("cut") + "/S0010001.STD";
    apptest::writeBytes(path, apptest::fileBytes(apptest::demoFiles()[0]));
    SourceDriver source;
    RecordingDriver* driver = source.openFile(path);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 4);
    testsupport::Messages::clear();
    EXPECT_EQ(0, send(*driver, 10001, {5, 1}).Cuenta());
    EXPECT_EQ(0, send(*driver, 10002, {5, 1}).Cuenta());
    ASSERT_EQ(1u, testsupport::Messages::shown().size()) << "one message, not one per command";
    EXPECT_EQ("Error", testsupport::Messages::shown()[0].title.toStdString());
    EXPECT_TRUE(testsupport::Messages::shown()[0].text.contains(QString::fromStdString(path)));
    EXPECT_FALSE(driver->lastError().empty());
}
