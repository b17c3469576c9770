// Commands killed at random instants: every file they write must be the old one or the new one,
// whole; an interrupted pair is finished by the next write; no temporary outlives the next run.
// Every recording write goes through the pair writer tested here.
//
// KESTRAMON_KILL_TRIALS sets the trials per command (a few by default, 200 for the full run);
// KESTRAMON_KILL_SEED repeats a run's random instants.

#include "AppTestSupport.h"
#include "RecordingFile.h"
#include "SettingsStore.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {

int trials() {
    const int n = qEnvironmentVariableIntValue("KESTRAMON_KILL_TRIALS");
    return n > 0 ? n : 3;
}

std::mt19937& random() {
    static std::mt19937 generator = [] {
        bool given = false;
        const auto seed = static_cast<unsigned>(qEnvironmentVariableIntValue("KESTRAMON_KILL_SEED", &given));
        const unsigned used = given ? seed : std::random_device{}();
        std::fprintf(stderr, "kill test: KESTRAMON_KILL_SEED=%u\n", used);
        return std::mt19937(used);
    }();
    return generator;
}

// Runs a program to its end; returns its duration in milliseconds, or -1 when it failed.
qint64 runToEnd(const QString& program, const QStringList& args) {
    QElapsedTimer timer;
    timer.start();
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(300000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << p.readAllStandardError().toStdString();
        return -1;
    }
    return timer.elapsed();
}

// Starts a program and kills it (SIGKILL) after a random delay of up to `windowMs`.
void runAndKill(const QString& program, const QStringList& args, qint64 windowMs) {
    QProcess p;
    p.start(program, args);
    ASSERT_TRUE(p.waitForStarted(30000));
    std::uniform_int_distribution<qint64> delay(0, windowMs);
    QThread::msleep(static_cast<unsigned long>(delay(random())));
    p.kill();
    p.waitForFinished(30000);
}

// Temporaries a killed writer left behind: the kill came while it was writing.
int temporariesIn(const std::string& dir) {
    int n = 0;
    for (const std::string& name : apptest::folderListing(dir))
        n += name.size() > 1 && name[0] == '.' && name.find(".tmp") != std::string::npos ? 1 : 0;
    return n;
}

const QString kKestramon = QStringLiteral(KESTRAMON_EXECUTABLE);

} // namespace

TEST(KillTest, AMakeDemoKilledAnywhereLeavesOneGenerationOnceTheNextWriteHasFinished) {
    namespace rec = recording;
    const std::string dir = apptest::freshFolder("kill-demo");
    const std::string ref = apptest::freshFolder("kill-demo-ref");
    const qint64 full = runToEnd(kKestramon, {"--make-demo", QString::fromStdString(ref)});
    ASSERT_GT(full, 0);
    const std::string new1 = apptest::fileBytes(ref + "/S0010001.STD");
    const std::string new2 = apptest::fileBytes(ref + "/S0010002.STD");
    // The old generation: two small recordings, told apart from the demo by their bytes.
    for (const char* part : {"1", "2"}) {
        apptest::writeBytes(ref + "/old.csv", std::string("t,part") + part + " (V)\n2026-12-05 10:00:00,1\n");
        ASSERT_GE(runToEnd(kKestramon, {"--import-csv", QString::fromStdString(ref + "/old.csv"),
                                        QString::fromStdString(ref + "/OLD" + part + ".STD")}),
                  0);
    }
    const std::string old1 = apptest::fileBytes(ref + "/OLD1.STD");
    const std::string old2 = apptest::fileBytes(ref + "/OLD2.STD");
    const std::string s1 = dir + "/S0010001.STD", s2 = dir + "/S0010002.STD";

    int sawOld = 0, sawNew = 0, finished = 0, midWrite = 0;
    for (int t = 0; t < trials(); ++t) {
        apptest::writeBytes(s1, old1);
        apptest::writeBytes(s2, old2);
        runAndKill(kKestramon, {"--make-demo", QString::fromStdString(dir)}, full + full / 5);
        const std::string a = apptest::fileBytes(s1), b = apptest::fileBytes(s2);
        midWrite += temporariesIn(dir) > 0 ? 1 : 0;
        ASSERT_TRUE(a == old1 || a == new1) << "trial " << t << ": a torn first file";
        ASSERT_TRUE(b == old2 || b == new2) << "trial " << t << ": a torn second file";
        if ((a == new1) != (b == new2)) {
            // Killed between the two renames: what the next write does first.
            ASSERT_TRUE(fs::exists(dir + "/.kestramon-pending"))
                << "trial " << t << ": a mix with no journal";
            rec::RecordingFile::finishInterruptedWrite(dir);
            ASSERT_EQ(new1, apptest::fileBytes(s1));
            ASSERT_EQ(new2, apptest::fileBytes(s2)) << "trial " << t << ": the pair was not finished";
            ++finished;
        } else {
            (a == old1 ? sawOld : sawNew)++;
        }
    }
    std::fprintf(
        stderr,
        "kill test: make-demo %d trials (%lld ms a run): %d old, %d new, %d finished from the journal, "
        "%d killed mid-write\n",
        trials(), static_cast<long long>(full), sawOld, sawNew, finished, midWrite);
    ASSERT_GE(runToEnd(kKestramon, {"--make-demo", QString::fromStdString(dir)}), 0);
    EXPECT_EQ((std::vector<std::string>{"S0010001.STD", "S0010002.STD"}), apptest::folderListing(dir))
        << "the next run removes what killed runs left";
}

TEST(KillTest, ASettingsWriteKilledAnywhereLeavesOneWholeChangeSet) {
    const std::string dir = apptest::freshFolder("kill-settings");
    const QString ini = QString::fromStdString(dir + "/settings.ini");
    const QString writer = QStringLiteral(SETTINGS_WRITER_EXECUTABLE);

    // The change set a file holds, or -1 when its values are of several change sets.
    auto generationOf = [&]() -> long long {
        QSettings s(ini, QSettings::IniFormat);
        if (s.status() != QSettings::NoError)
            return -1;
        const std::optional<QString> g = host::SettingsStore::parseString(s.value("Generation").toString());
        if (!g)
            return -1;
        bool ok = false;
        const long long generation = g->toLongLong(&ok);
        if (!ok)
            return -1;
        QStringList names;
        for (int i = 1; i <= 24; ++i)
            names << QStringLiteral("Value%1").arg(i);
        names << QStringLiteral("ARMONICOS/SELECCIONADO");
        for (const QString& n : names) {
            if (host::SettingsStore::parseInt(s.value(n).toString()) != static_cast<qint32>(generation))
                return -1;
        }
        return generation;
    };

    const qint64 startup = runToEnd(writer, {ini, QStringLiteral("0"), QStringLiteral("1")});
    ASSERT_GE(startup, 0);
    long long last = generationOf();
    ASSERT_EQ(0, last);
    int advanced = 0;
    for (int t = 1; t <= trials(); ++t) {
        const long long first = t * 1000000LL;
        // Killed anywhere from start-up to a few hundred change sets in.
        runAndKill(writer, {ini, QString::number(first)}, 2 * startup + 300);
        const long long now = generationOf();
        ASSERT_TRUE(now == last || now >= first)
            << "trial " << t << ": generation " << now << " after " << last;
        advanced += now != last ? 1 : 0;
        last = now;
    }
    std::fprintf(stderr, "kill test: settings %d trials: %d advanced, %d killed before their first sync\n",
                 trials(), advanced, trials() - advanced);
    ASSERT_GE(runToEnd(writer, {ini, QStringLiteral("1"), QStringLiteral("1")}), 0);
    EXPECT_EQ(1, generationOf());
    EXPECT_EQ(std::vector<std::string>{"settings.ini"}, apptest::folderListing(dir))
        << "nothing left beside it";
}
