#include "RecordingFile.h"
#include "AppTestSupport.h"
#include "TTiempo.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <unistd.h>

using namespace recording;
using apptest::fileBytes;

namespace {

// A disturbances variable: doubles, times, texts, and extra rows of integers and bytes, so
// every row type goes through the file.
Recording everyRowType() {
    Recording rec;
    rec.info["site"] = "Test bench \xC3\xB1";
    Variable& v = rec.add(VariableInfo{7, 42, "Disturbances \xC2\xB5V", "V", 6, 37273});
    v.list(List::Values).EntrarDoubles({1.5, kNoValue, -0.0, 1e300, std::numeric_limits<double>::infinity()});
    v.list(List::Times)
        .EntrarTiempos({TTiempo(2026, 12, 5, 10, 0, 0, -1), TTiempo(2026, 12, 5, 10, 0, 0, 999),
                        TTiempo(2026, 12, 31, 23, 59, 59, 0), TTiempo::Maximo(),
                        TTiempo(1998, 1, 1, 0, 0, 0, 5)});
    v.list(List::Units).EntrarTexto("V");
    v.list(List::Names).EntrarTexto("");
    v.list(List::Options).EntrarDoubles(optionsRow(6, 37273, 0.0005));
    v.list(List::Intervals).EntrarDoubles({0, 4});
    v.list(List::GeneralTimes).EntrarTiempos({TTiempo(2026, 12, 5, 10, 0, 0, -1)});
    v.list(List::Additional).EntrarEnteros({-2147483647 - 1, 0, 2147483647});
    const unsigned char flags[] = {0, 1, 255};
    v.list(List::Additional).EntrarValor(flags, 1, 3, TV_BYTE);
    v.list(List::Decimals).EntrarDoubles({1});
    return rec;
}

void expectSameRows(const TValorMultiple& a, const TValorMultiple& b) {
    ASSERT_EQ(a.Cuenta(), b.Cuenta());
    for (int r = 0; r < a.Cuenta(); ++r) {
        EXPECT_EQ(a.Tipo(r), b.Tipo(r)) << "row " << r;
        EXPECT_EQ(a.TamanoElemento(r), b.TamanoElemento(r)) << "row " << r;
        ASSERT_EQ(a.Elementos(r), b.Elementos(r)) << "row " << r;
        const size_t bytes = static_cast<size_t>(a.TamanoElemento(r)) * static_cast<size_t>(a.Elementos(r));
        EXPECT_EQ(0, bytes == 0 ? 0 : std::memcmp(a.Datos(r), b.Datos(r), bytes)) << "row " << r;
    }
}

void sql(const std::string& path, const std::string& statement) {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(path.c_str(), &db));
    char* err = nullptr;
    const int rc = sqlite3_exec(db, statement.c_str(), nullptr, nullptr, &err);
    EXPECT_EQ(SQLITE_OK, rc) << (err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
}

// Runs `f`, which must throw a RecordingError whose message contains every part.
template <class F> void expectError(F f, std::initializer_list<std::string> parts) {
    try {
        f();
        ADD_FAILURE() << "no error";
    } catch (const RecordingError& e) {
        for (const std::string& part : parts)
            EXPECT_NE(std::string::npos, std::string(e.what()).find(part)) << e.what();
    }
}

// Opening must fail with a message naming the file and containing `fault`, and leave the
// file and its folder exactly as they were.
void expectRefused(const std::string& path, const std::string& fault) {
    const std::string before = fileBytes(path);
    const auto listing = apptest::folderListing(std::filesystem::path(path).parent_path().string());
    expectError([&] { RecordingFile::open(path); }, {path, fault});
    EXPECT_EQ(before, fileBytes(path)) << "the file was changed";
    EXPECT_EQ(listing, apptest::folderListing(std::filesystem::path(path).parent_path().string()))
        << "files appeared beside it";
}

} // namespace

TEST(RecordingRoundTrip, EveryRowTypeComesBackByteForByte) {
    const std::string path = apptest::freshFolder("round trip #1 ?%") + "/R0010001.STD";
    const Recording rec = everyRowType();
    RecordingFile::write(rec, path);

    auto file = RecordingFile::open(path);
    EXPECT_EQ("Test bench \xC3\xB1", file->info().at("site"));
    ASSERT_EQ(1, file->variableCount());
    const VariableInfo& info = file->variable(0);
    EXPECT_EQ(7, info.key1);
    EXPECT_EQ(42, info.key2);
    EXPECT_EQ("Disturbances \xC2\xB5V", info.name);
    EXPECT_EQ(6, info.kind);
    EXPECT_EQ(37273, info.code);
    for (List l : kAllLists) {
        TValorMultiple back;
        file->appendRows(0, l, back);
        SCOPED_TRACE(listName(l));
        expectSameRows(*rec.variables[0].find(l), back);
    }
    EXPECT_EQ(0, file->find(7, 42));
    EXPECT_EQ(-1, file->find(8, 42)) << "the first key must match too";
    EXPECT_EQ(0, file->findBySecondKey(42));
    EXPECT_EQ(-1, file->findBySecondKey(43));

    // The engine may write into its copy without the next answer seeing it.
    TValorMultiple a, c;
    file->appendRows(0, List::Values, a);
    a.Posicionar(0);
    static_cast<double*>(a.DamePuntero())[0] = 99.0;
    file->appendRows(0, List::Values, c);
    EXPECT_EQ(1.5, c.Doubles(0)[0]);
}

TEST(RecordingWrite, ReplacesAnExistingFileWholeButNeverWithARecordingThatBreaksTheContract) {
    const std::string dir = apptest::freshFolder("replace");
    const std::string path = dir + "/R0010001.STD";
    apptest::writeBytes(path, "old contents");
    RecordingFile::write(everyRowType(), path);
    EXPECT_EQ(1, RecordingFile::open(path)->variableCount());
    EXPECT_EQ(std::vector<std::string>{"R0010001.STD"}, apptest::folderListing(dir))
        << "no temporary file stays";

    const std::string before = fileBytes(path);
    Recording bad = everyRowType();
    bad.variables[0].list(List::Values).EntrarDoubles({1.0}); // a second value row for a one-row kind
    expectError([&] { RecordingFile::write(bad, path); }, {"2 values rows where its kind needs 1"});
    EXPECT_EQ(before, fileBytes(path));
    EXPECT_EQ(std::vector<std::string>{"R0010001.STD"}, apptest::folderListing(dir));
}

class RecordingOpenFaults : public testing::Test {
protected:
    void SetUp() override {
        dir = apptest::freshFolder("faults");
        good = dir + "/R0010001.STD";
        RecordingFile::write(everyRowType(), good);
    }
    std::string dir, good;
};

TEST_F(RecordingOpenFaults, FilesThatAreNotWholeOrEditedRecordingsAreRefusedByNameAndRule) {
    const std::string bytes = fileBytes(good);
    const struct {
        const char* name;
        std::string bytes;
        const char* fault;
    } cases[] = {
        {"EMPTY.STD", "", "the file is empty"},
        {"NOTES.STD", "time,V1 (V)\n2026-12-05 10:00:00,230.1\n", "not an SQLite database"},
        {"HALF.STD", bytes.substr(0, bytes.size() / 2), "truncated"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir + "/" + c.name;
        apptest::writeBytes(path, c.bytes);
        expectRefused(path, c.fault);
    }
    expectError([&] { RecordingFile::open(dir + "/NONE.STD"); }, {"does not exist"});
    const std::string other = dir + "/OTHER.STD";
    sql(other, "CREATE TABLE t(x); INSERT INTO t VALUES(1);");
    expectRefused(other, "another application");

    // A good file edited behind the reader's back: every edit must be refused with its reason.
    const struct {
        const char* name;
        std::string statement;
        std::string fault;
    } edits[] = {
        {"NEWER.STD", "PRAGMA user_version = " + std::to_string(kSchemaVersion + 1),
         "newer than version " + std::to_string(kSchemaVersion)},
        {"NOTABLE.STD", "DROP TABLE rows", "damaged"},
        {"ROWS.STD", "DELETE FROM rows WHERE list = 8 AND position = 1",
         "1 additional values rows where its kind needs 2"},
        {"LENGTH.STD", "UPDATE rows SET count = 6 WHERE list = 1", "bytes where its shape needs"},
        {"KIND.STD", "UPDATE variables SET kind = 14", "data contract"},
        // Regression: a count of 4294967300 read through a 32-bit column came back as 4 and the
        // file was accepted.
        {"COUNT.STD", "UPDATE rows SET count = 4294967300 WHERE list = 1",
         "row length 4294967300 out of range"},
        {"TEXTKEY.STD", "UPDATE variables SET key1 = 'seven'", "first key"},
        // A file need not carry our schema's constraints: the reader checks on its own.
        {"TWIN.STD",
         "CREATE TABLE v2(id INTEGER PRIMARY KEY, key1, key2, name, unit, kind, code);"
         "INSERT INTO v2 SELECT * FROM variables;"
         "INSERT INTO v2 VALUES(2, 8, 42, 'twin', 'V', 6, 37273);"
         "DROP TABLE variables; ALTER TABLE v2 RENAME TO variables;",
         "share the second key 42"},
    };
    for (const auto& c : edits) {
        SCOPED_TRACE(c.name);
        const std::string path = dir + "/" + c.name;
        apptest::writeBytes(path, fileBytes(good));
        sql(path, c.statement);
        expectRefused(path, c.fault);
    }
}

// Regression: the handle of a temporary that could not be created was never closed.
TEST(RecordingWrite, AFailedCreateLeavesNoSqliteMemoryBehind) {
    RecordingFile::write(everyRowType(), apptest::freshFolder("warm") + "/R.STD"); // SQLite's one-time set-up
    const sqlite3_int64 before = sqlite3_memory_used();
    for (int i = 0; i < 3; ++i)
        EXPECT_THROW(RecordingFile::write(everyRowType(), "/proc/kestramon-cannot-write/R.STD"),
                     RecordingError);
    EXPECT_EQ(before, sqlite3_memory_used());
}

TEST(RecordingWrite, StaleTemporariesOfDeadWritersAreRemovedAndNothingElse) {
    namespace fs = std::filesystem;
    const std::string dir = apptest::freshFolder("stale");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    // pid_max on Linux is at most 2^22, so this writer is surely dead.
    const std::vector<std::string> stale = {".R.STD.tmp99999999-123456", ".OTHER.STD.tmp99999999-1",
                                            ".R.STD.tmp654321" /* earlier versions named no writer */};
    const std::vector<std::string> kept = {
        ".R.STD.tmp" + std::to_string(::getpid()) + "-5", // a live writer, this very process
        ".notes.tmp", "R.STD.tmp99999999-1", ".R.STD.tmp99999999-12x", "fresh"};
    for (const auto& n : stale) {
        apptest::writeBytes(dir + "/" + n, "partial");
        fs::last_write_time(dir + "/" + n, old);
    }
    for (const auto& n : kept) {
        apptest::writeBytes(dir + "/" + n, "keep");
        fs::last_write_time(dir + "/" + n, old);
    }
    apptest::writeBytes(dir + "/.NEW.STD.tmp99999999-7", "newer than this process");

    RecordingFile::write(everyRowType(), dir + "/R.STD");
    std::vector<std::string> expected = kept;
    expected.push_back("R.STD");
    expected.push_back(".NEW.STD.tmp99999999-7");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, apptest::folderListing(dir));
}

class RecordingPair : public testing::Test {
protected:
    void SetUp() override {
        dir = apptest::freshFolder("pair");
        a = dir + "/A.STD";
        b = dir + "/B.STD";
        Recording older = everyRowType();
        older.info["generation"] = "old";
        RecordingFile::writeTogether({{&older, a}, {&older, b}});
        newer = everyRowType();
        newer.info["generation"] = "new";
    }
    static std::string generation(const std::string& path) {
        return RecordingFile::open(path)->info().at("generation");
    }

    std::string dir, a, b;
    Recording newer;
};

TEST_F(RecordingPair, BothFilesAreReplacedAndNoHelperFileStaysButFilesOfTwoFoldersAreRefused) {
    const std::string other = apptest::freshFolder("pair-other") + "/B.STD";
    EXPECT_THROW(RecordingFile::writeTogether({{&newer, a}, {&newer, other}}), RecordingError);
    EXPECT_EQ("old", generation(a));
    RecordingFile::writeTogether({{&newer, a}, {&newer, b}});
    EXPECT_EQ("new", generation(a));
    EXPECT_EQ("new", generation(b));
    EXPECT_EQ((std::vector<std::string>{"A.STD", "B.STD"}), apptest::folderListing(dir));
}

TEST_F(RecordingPair, ARenameInterruptedHalfWayIsFinishedByTheNextWriteAndAJournalNotOfOursIsLeftAlone) {
    namespace fs = std::filesystem;
    apptest::writeBytes(dir + "/.kestramon-pending", "something else\n../x\nA.STD\n");
    RecordingFile::finishInterruptedWrite(dir);
    EXPECT_EQ("old", generation(a));
    EXPECT_EQ("something else\n../x\nA.STD\n", fileBytes(dir + "/.kestramon-pending"));

    // The state a kill leaves between the two renames: A new, B old, B's new bytes complete
    // under a temporary name and listed in the journal.
    const std::string staging = apptest::freshFolder("pair-staging") + "/N.STD";
    RecordingFile::write(newer, staging);
    fs::copy_file(staging, a, fs::copy_options::overwrite_existing);
    const std::string temp = ".B.STD.tmp99999999-42";
    fs::copy_file(staging, dir + "/" + temp);
    apptest::writeBytes(dir + "/.kestramon-pending",
                        "kestramon pending renames 1\n.A.STD.tmp99999999-41\nA.STD\n" + temp + "\nB.STD\n");
    ASSERT_EQ("old", generation(b));

    RecordingFile::finishInterruptedWrite(dir);
    EXPECT_EQ("new", generation(a));
    EXPECT_EQ("new", generation(b));
    EXPECT_EQ((std::vector<std::string>{"A.STD", "B.STD"}), apptest::folderListing(dir));
}

TEST(RecordingReplaceable, OnlyNothingOrARecordingMayBeReplacedSilently) {
    namespace fs = std::filesystem;
    const std::string dir = apptest::freshFolder("replaceable");
    RecordingFile::write(everyRowType(), dir + "/R.STD");
    apptest::writeBytes(dir + "/text.STD", "text");
    sql(dir + "/other.db", "CREATE TABLE t(x)"); // an SQLite file of another application
    fs::create_symlink(dir + "/R.STD", dir + "/link.STD");
    // clang-format off
    const std::pair<std::string, const char*> cases[] = {
        {dir + "/none.STD", ""}, {dir + "/R.STD", ""},
        {dir + "/text.STD", "exists and is not a recording"}, {dir + "/other.db", "exists and is not a recording"},
        {dir + "/link.STD", "is a symbolic link"}, {dir, "is not a regular file"}, {"/dev/null", "is not a regular file"}};
    // clang-format on
    for (const auto& [path, reason] : cases) {
        std::string why;
        EXPECT_EQ(*reason == 0, RecordingFile::isReplaceable(path, &why)) << path;
        EXPECT_EQ(reason, why) << path;
    }
}
