// CSV input as an attacker or an unlucky user hands it over: huge lines, odd encodings, files
// that are not files, outputs that must not be replaced.

#include "AppTestSupport.h"
#include "CsvImport.h"
#include "RecordingFile.h"

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <istream>
#include <streambuf>
#include <sys/stat.h>
#include <vector>

using namespace recording;

namespace {

// A stream of `prefix`, then `fill` repeated `count` times, then `suffix`, made up as it is
// read: a gigabyte line costs the test no memory.
class GeneratedBuf : public std::streambuf {
public:
    GeneratedBuf(std::string prefix, char fill, size_t count, std::string suffix)
        : m_prefix(std::move(prefix)), m_suffix(std::move(suffix)), m_fill(fill), m_left(count) {}

protected:
    int_type underflow() override {
        if (!m_prefix.empty()) {
            m_chunk.swap(m_prefix);
            m_prefix.clear();
        } else if (m_left > 0) {
            m_chunk.assign(std::min<size_t>(m_left, 1 << 16), m_fill);
            m_left -= m_chunk.size();
        } else if (!m_suffix.empty()) {
            m_chunk.swap(m_suffix);
            m_suffix.clear();
        } else {
            return traits_type::eof();
        }
        setg(m_chunk.data(), m_chunk.data(), m_chunk.data() + m_chunk.size());
        return traits_type::to_int_type(m_chunk[0]);
    }

private:
    std::string m_prefix, m_suffix, m_chunk;
    char m_fill;
    size_t m_left;
};

std::string firstProblem(const CsvResult& r) {
    return r.problems.empty() ? std::string("(none)") : r.problems.front().message;
}

} // namespace

TEST(CsvHostileInput, LinesAndProblemsStopAtTheirBounds) {
    GeneratedBuf buf("t,a (V)\n2026-12-05 10:00:00,1\n2026-12-05 10:00:01,", '7', kCsvMaxLineBytes + 100,
                     "\n2026-12-05 10:00:02,3\n");
    std::istream in(&buf);
    const CsvResult r = importCsv(in, "long.csv");
    ASSERT_EQ(1u, r.problems.size()) << firstProblem(r);
    EXPECT_EQ(3, r.problems[0].line);
    EXPECT_NE(std::string::npos, r.problems[0].message.find("line too long"));

    // Problems of rows or of the header stop after the bound with a closing message. Found by
    // fuzzing for the header: every bad column of it added a problem past the bound.
    std::string rows = "t,a (V)\n", header = "t";
    for (int i = 0; i < 1000; ++i)
        rows += "bad,1\n";
    for (int i = 0; i < 500; ++i)
        header += ",\x01";
    for (const std::string& text : {rows, header + "\n2026-12-05 10:00:00\n"}) {
        const CsvResult many = importCsv(text, "many.csv");
        ASSERT_EQ(kCsvMaxProblems + 1, many.problems.size());
        EXPECT_NE(std::string::npos, many.problems.back().message.find("was not read"));
    }
}

TEST(CsvHostileInput, NumbersTooSmallToHoldAreZeroAndOtherBadNumbersAreRefused) {
    const CsvResult small = importCsv(
        "t,a (V),b (V)\n2026-12-05 10:00:00,1e-400,-0.00000000000000000000000000000000000000000000000"
        "000000000000000000000000000000000000001e-300\n",
        "small.csv");
    ASSERT_TRUE(small.problems.empty()) << firstProblem(small);
    EXPECT_EQ(0.0, small.recording.variables[0].find(List::Values)->Numero(0, 0));
    EXPECT_EQ(0.0, small.recording.variables[1].find(List::Values)->Numero(0, 0));
    const std::pair<const char*, const char*> refused[] = {
        {"out of range", "1e400"}, {"is not a number", "inf"}, {"missing-value marker", "-9.9999e3"}};
    for (const auto& [problem, cell] : refused) {
        const CsvResult r = importCsv(std::string("t,a (V)\n2026-12-05 10:00:00,") + cell + "\n", "n.csv");
        ASSERT_EQ(1u, r.problems.size()) << cell;
        EXPECT_NE(std::string::npos, r.problems[0].message.find(problem)) << r.problems[0].message;
    }
}

TEST(CsvHostileInput, ALatinOneHeaderIsStoredAsUtf8AndControlCharactersInANameAreRefused) {
    const CsvResult r = importCsv("t;Tensi\xF3n (\xB5V)\n05/12/2026 10:00:00;1\n", "latin.csv");
    ASSERT_TRUE(r.problems.empty()) << firstProblem(r);
    EXPECT_EQ("Tensi\xC3\xB3n", r.recording.variables[0].info.name);
    EXPECT_EQ("\xC2\xB5V", r.recording.variables[0].info.unit);
    EXPECT_EQ("Tensi\xC3\xB3n", r.recording.variables[0].find(List::Names)->Texto(0));
    const CsvResult utf8 = importCsv("t;Tensi\xC3\xB3n (V)\n05/12/2026 10:00:00;1\n", "utf8.csv");
    EXPECT_EQ("Tensi\xC3\xB3n", utf8.recording.variables.at(0).info.name) << "valid UTF-8 is kept as it is";

    static const char text[] = "t,V\0L1 (V),I (A\x01)\n2026-12-05 10:00:00,1,2\n";
    const CsvResult nul = importCsv(std::string(text, sizeof text - 1), "nul.csv");
    ASSERT_EQ(2u, nul.problems.size());
    EXPECT_EQ(1, nul.problems[0].line);
    EXPECT_NE(std::string::npos, nul.problems[0].message.find("control character"));
    EXPECT_NE(std::string::npos, nul.problems[0].message.find("V?L1")) << "shown without the raw byte";
}

TEST(CsvHostileInput, InputsThatAreNotRegularFilesAreRefusedAtOnce) {
    const std::string dir = apptest::freshFolder("notregular");
    const std::string fifo = dir + "/pipe.csv";
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    for (const std::string& path : {dir, std::string("/dev/zero"), fifo}) {
        // Reading a FIFO would wait for a writer: the import runs apart so a regression fails
        // here instead of hanging the test program.
        auto result = std::async(std::launch::async, [path] { return importCsvFile(path); });
        if (result.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            std::ofstream unblock(fifo);
            FAIL() << path << " was read as if it were a file";
        }
        const CsvResult r = result.get();
        ASSERT_EQ(1u, r.problems.size()) << path;
        EXPECT_EQ(0, r.problems[0].line) << path;
        EXPECT_EQ("not a regular file", r.problems[0].message) << path;
    }
}

// The host executable's batch modes, and what the output of --import-csv may replace.
class CsvImportOutput : public testing::Test {
protected:
    void SetUp() override {
        dir = apptest::freshFolder("output");
        csv = dir + "/in.csv";
        apptest::writeBytes(csv, kCsv);
    }
    int run(QStringList args, QString* errors = nullptr, const char* mode = "--import-csv") {
        args.prepend(mode);
        QProcess p;
        p.start(QStringLiteral(KESTRAMON_EXECUTABLE), args);
        EXPECT_TRUE(p.waitForFinished(120000));
        if (errors)
            *errors = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    }
    static QString q(const std::string& s) { return QString::fromStdString(s); }

    static constexpr const char* kCsv = "t,a (V)\n2026-12-05 10:00:00,1\n";
    std::string dir, csv;
};

// The input is never the output, asked to or not, however named or reached through a link.
TEST_F(CsvImportOutput, TheInputIsNeverTheOutputAndOtherFilesAreReplacedOnlyWhenAskedTo) {
    std::filesystem::create_symlink(csv, dir + "/link.STD");
    const struct {
        QStringList args;
        const char* error;
    } cases[] = {
        {{q(csv), q(csv)}, "the output is the input"},
        {{"--overwrite", q(csv), q(dir + "/link.STD")}, "the output is the input"},
    };
    for (const auto& c : cases) {
        QString errors;
        EXPECT_EQ(1, run(c.args, &errors)) << c.args.join(' ').toStdString();
        EXPECT_TRUE(errors.contains(QString::fromLatin1(c.error))) << errors.toStdString();
    }
    EXPECT_EQ(kCsv, apptest::fileBytes(csv));

    // A file that is not a recording, or a link, is replaced only when asked to.
    const std::string notes = dir + "/notes.txt", target = dir + "/target.txt", link = dir + "/OUT.STD";
    apptest::writeBytes(notes, "my notes");
    apptest::writeBytes(target, "kept");
    std::filesystem::create_symlink(target, link);
    QString errors;
    EXPECT_EQ(1, run({q(csv), q(notes)}, &errors));
    EXPECT_TRUE(errors.contains("is not a recording")) << errors.toStdString();
    EXPECT_TRUE(errors.contains("--overwrite")) << errors.toStdString();
    EXPECT_EQ("my notes", apptest::fileBytes(notes));
    EXPECT_EQ(1, run({q(csv), q(link)}, &errors));
    EXPECT_TRUE(errors.contains("symbolic link")) << errors.toStdString();

    EXPECT_EQ(0, run({"--overwrite", q(csv), q(notes)}));
    EXPECT_EQ(1, RecordingFile::open(notes)->variableCount());
    EXPECT_EQ(0, run({"--overwrite", q(csv), q(link)}));
    EXPECT_FALSE(std::filesystem::is_symlink(link)) << "the link itself was replaced";
    EXPECT_EQ("kept", apptest::fileBytes(target));
}

TEST_F(CsvImportOutput, ABadRowFailsTheImportAndLeavesTheTargetUnchanged) {
    const std::string out = dir + "/OUT.STD";
    apptest::writeBytes(csv, "t,a (V)\n2026-12-05 10:00:00,1\n2026-12-05 10:00:01,x\n");
    apptest::writeBytes(out, "previous contents");
    QString errors;
    EXPECT_NE(0, run({"--overwrite", q(csv), q(out)}, &errors));
    EXPECT_TRUE(errors.contains(q(csv) + ":3:")) << errors.toStdString();
    EXPECT_EQ("previous contents", apptest::fileBytes(out));
}

TEST_F(CsvImportOutput, MakeDemoWritesBothFilesAndUnknownModesPrintUsage) {
    EXPECT_EQ(0, run({q(dir + "/demo")}, nullptr, "--make-demo"));
    EXPECT_EQ((std::vector<std::string>{"S0010001.STD", "S0010002.STD"}),
              apptest::folderListing(dir + "/demo"));
    EXPECT_NE(0, run({}, nullptr, "--no-such-mode"));
}
