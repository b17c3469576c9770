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

TEST_F(DemoDrivers, UnknownKeysAndCommandsAnswerNothingAndKeyTranslationDropsThem) {
    int result = 0;
    EXPECT_EQ(0, send(*first, 10001, {99, 99}, &result).Cuenta());
    EXPECT_EQ(0, result);
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
    // Files of one kind share the object kind word.
    EXPECT_EQ(source->driver(0)->TipoObjeto(), source->driver(1)->TipoObjeto());
    EXPECT_NE(source->TipoObjeto(), source->driver(0)->TipoObjeto());
    EXPECT_EQ(kindWordForFile("A.STD"), kindWordForFile("b.std"));
    EXPECT_NE(kindWordForFile("A.STD"), kindWordForFile("A.EVQ"));
}

TEST(SourceDriver, BrokenFilesAddNothingOrAreReportedOnceAndDriversAreReleased) {
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

    // A file cut short after opening is reported once and answers nothing.
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
