// File > Import in the viewer: the same import as the command line, the recording opened,
// faults reported in one message and nothing written.

#include "ComtradeGenerator.h"
#include "MainWindow.h"
#include "RecordingSource.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class ImportarComtrade : public testing::Test {
protected:
    void SetUp() override {
        testsupport::Messages::clear();
        window = std::make_unique<MainWindow>(makeRecordingSource());
        dir = testsupport::scratchDirectory().toStdString();
        comtradegen::Recipe r = comtradegen::threePhase(50.0, 64, 12);
        r.analog[0].tones = {{5, 5.0}};
        r.format = comtrade::DataFormat::Binary32;
        cfg = comtradegen::writeFiles(r, dir + "/bay");
    }

    std::unique_ptr<MainWindow> window;
    std::string dir;
    std::string cfg;
};

} // namespace

TEST_F(ImportarComtrade, TheMenuImportsAndOpensTheRecording) {
    ASSERT_NE(nullptr, window->action(QStringLiteral("ImportComtrade")));
    const QString out = QString::fromStdString(dir + "/BAY.STD");
    ASSERT_TRUE(window->importComtrade({QString::fromStdString(cfg)}, out));
    EXPECT_TRUE(QFileInfo::exists(out));
    EXPECT_EQ(QStringList{out}, window->openPaths());
    EXPECT_EQ(1, window->source()->fileCount());
    EXPECT_TRUE(testsupport::Messages::shown().empty());
}

TEST_F(ImportarComtrade, AFaultIsShownOnceAndNothingIsWritten) {
    // The binary data end three bytes early.
    const std::string dat = dir + "/bay.dat";
    std::filesystem::resize_file(dat, std::filesystem::file_size(dat) - 3);
    const QString out = QString::fromStdString(dir + "/BAY.STD");
    { std::ofstream(out.toStdString()) << "previous"; }
    EXPECT_FALSE(window->importComtrade({QString::fromStdString(cfg)}, out));
    ASSERT_EQ(1u, testsupport::Messages::shown().size());
    const host::Message& m = testsupport::Messages::shown().front();
    EXPECT_TRUE(m.text.contains(QString::fromStdString(dir + "/bay.dat"))) << m.text.toStdString();
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QByteArray("previous"), f.readAll()) << "the user's file is kept";
    EXPECT_TRUE(window->openPaths().isEmpty());
}

TEST_F(ImportarComtrade, CancelledDialogsImportNothing) {
    // The file dialog rejected: no target asked, nothing written, nothing said.
    testsupport::Dialogs::handleNext([](QDialog&) { return int(QDialog::Rejected); });
    window->promptImportComtrade();
    EXPECT_EQ(1, testsupport::Dialogs::runs());
    EXPECT_TRUE(window->openPaths().isEmpty());
    EXPECT_TRUE(testsupport::Messages::shown().empty());
}
