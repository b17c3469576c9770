// The host's main window on the fake engine: the factories it calls and their arguments, module
// and engine failures, recording files, the property dock and repeated Open all.

#include "MainWindow.h"
#include "FakeDrivers.h"
#include "FakeHostFixture.h"
#include "FakeWindowDriver.h"
#include "PropertyDock.h"
#include "PropertyPagesEditor.h"
#include "ServidorMonitores.h"
#include "SettingsStore.h"
#include "TestEnvironment.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class WindowHandling : public FakeHost {
protected:
    void openTwoFiles() { ASSERT_EQ(window->openFiles({"/rec/METER.STD", "/rec/FLICKER.STD"}), 2); }
    // Open all on one fake recording, the fake engine showing `count` graph windows.
    void openGraphs(int count) {
        if (files->fileCount() == 0) {
            ASSERT_EQ(window->openFiles({QStringLiteral("/rec/METER.STD")}), 1);
        }
        state->windowsToShow = count;
        window->openAllGraphs();
        QCoreApplication::processEvents(); // new windows are placed once shown
    }
    QList<QMdiSubWindow*> windows() const { return window->mdiArea()->subWindowList(); }
};

TEST_F(WindowHandling, OpenAllTwiceRaisesTheExistingWindowsInsteadOfDuplicating) {
    openGraphs(3);
    window->mdiArea()->setActiveSubWindow(windows().last());
    window->openAllGraphs();
    EXPECT_EQ(state->listCalls, 1);
    EXPECT_EQ(windows().size(), 3);
    EXPECT_EQ(window->mdiArea()->activeSubWindow(), windows().first());

    // Once those windows are closed, Open all opens them again.
    window->closeAllWindows();
    window->openAllGraphs();
    EXPECT_EQ(state->listCalls, 2);
    EXPECT_EQ(windows().size(), 3);

    // Another selection (a second file) is a new Open all.
    ASSERT_EQ(window->openFiles({QStringLiteral("/rec/FLICKER.STD")}), 1);
    window->openAllGraphs();
    EXPECT_EQ(state->listCalls, 3);
    EXPECT_EQ(windows().size(), 6);
}

TEST_F(WindowHandling, LastRecordingsAreReopenedWhenAskedToAndDamagedLayoutLeavesTheDefaults) {
    EXPECT_TRUE(window->recordingsToReopen().isEmpty()); // not asked to
    window->action(QStringLiteral("ReopenAtStart"))->setChecked(true);
    openTwoFiles();
    ASSERT_TRUE(window->close());

    MainWindow next(std::make_unique<FakeRecordingSource>());
    EXPECT_TRUE(next.action(QStringLiteral("ReopenAtStart"))->isChecked());
    EXPECT_EQ(next.recordingsToReopen(), QStringList({"/rec/METER.STD", "/rec/FLICKER.STD"}));

    // Damaged layout values leave the defaults.
    window.reset();
    auto key = host::SettingsKey::openOrCreate(QString::fromLatin1(MainWindow::kRecentKey));
    ASSERT_TRUE(key);
    key->writeString(QString::fromLatin1(MainWindow::kGeometryValue), QStringLiteral("%%not base64%%"));
    key->writeString(QString::fromLatin1(MainWindow::kLayoutValue), QStringLiteral("AAAA"));
    key->sync();
    MainWindow damaged(std::make_unique<FakeRecordingSource>());
    EXPECT_EQ(damaged.size(), QSize(1200, 760));
    EXPECT_FALSE(damaged.propertyDock()->isHidden());
}

TEST_F(WindowHandling, OpenAllHandsEveryVariableToTheListFactoryAndClosingRecordingsReleasesWhatItGave) {
    openTwoFiles();
    window->openAllGraphs();
    ASSERT_EQ(state->listCalls, 1);
    EXPECT_EQ(state->server, window->server());
    EXPECT_EQ(state->source, files->source);
    const std::vector<std::vector<std::int32_t>> expected = {{1, 10, files->meter.Manejador()},
                                                             {1, 11, files->meter.Manejador()},
                                                             {2, 20, files->flicker.Manejador()}};
    EXPECT_EQ(state->selection, expected);
    EXPECT_EQ(window->selectionDrivers(), 1); // the host keeps what the factory returned
    EXPECT_EQ(files->meter.Referencias(), 1); // the references taken for the call are given back
    EXPECT_EQ(files->flicker.Referencias(), 1);
    EXPECT_TRUE(testsupport::Messages::shown().empty());

    // Closing the recordings closes the graphs and releases the selection drivers.
    addGraph();
    window->closeRecordings();
    EXPECT_EQ(files->closes, 1);
    EXPECT_EQ(window->selectionDrivers(), 0);
    EXPECT_TRUE(window->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(windowDriver.Referencias(), 1);
}

TEST_F(WindowHandling, GraphSelectorCallsTheSelectorFactoryAndOpenAllWithoutFilesCallsNothing) {
    window->openAllGraphs();
    EXPECT_EQ(state->listCalls, 0);
    ASSERT_EQ(testsupport::Messages::shown().size(), 1u);

    openTwoFiles();
    window->showGraphSelector();
    ASSERT_EQ(state->selectorCalls, 1);
    EXPECT_EQ(state->server->AreaMdi(), window->mdiArea());
    EXPECT_EQ(state->server->VentanaPrincipal(), window.get());
    EXPECT_EQ(state->source, files->source);
    EXPECT_EQ(state->listCalls, 0);
}

TEST_F(WindowHandling, EngineExceptionIsShownWithTitleCodeMessageAndContext) {
    openTwoFiles();
    state->raise = true;
    state->title = "PlotCore";
    state->code = 11;
    state->message = "Imposible configure: It fails ViewerSetup.dll";
    state->context = "LanzarViewerVARM(TVM*,DF*,SM*)";
    window->showGraphSelector();
    ASSERT_EQ(testsupport::Messages::shown().size(), 1u);
    const host::Message& m = testsupport::Messages::shown().front();
    EXPECT_EQ(m.title, QStringLiteral("PlotCore"));
    EXPECT_TRUE(m.text.contains(QStringLiteral("It fails ViewerSetup.dll"))) << m.text.toStdString();
    EXPECT_EQ(window->selectionDrivers(), 0);
}

TEST(MainWindowModules, MissingEngineModuleFailsCleanly) {
    host::HostDirectory::setModuleDirectory(QStringLiteral(EMPTY_MODULE_DIR));
    auto owned = std::make_unique<FakeRecordingSource>();
    FakeRecordingSource* files = owned.get();
    MainWindow window(std::move(owned));
    window.openFiles({"/rec/METER.STD"});
    window.openAllGraphs();
    window.showGraphSelector();
    host::HostDirectory::setModuleDirectory(QString());
    ASSERT_EQ(testsupport::Messages::shown().size(), 2u);
    EXPECT_TRUE(testsupport::Messages::shown().front().text.contains(QStringLiteral("PlotCore.vlk")));
    EXPECT_EQ(window.selectionDrivers(), 0);
    EXPECT_EQ(files->meter.Referencias(), 1);
}

TEST_F(WindowHandling, FailedFilesAreReportedAndGoodOnesBecomeRecentNewestFirst) {
    EXPECT_EQ(window->openFiles({"/rec/A.STD", "/rec/notes.txt", "/rec/B.STD"}), 2);
    ASSERT_EQ(testsupport::Messages::shown().size(), 1u);
    EXPECT_TRUE(testsupport::Messages::shown().front().text.contains(QStringLiteral("notes.txt")));
    EXPECT_EQ(window->openFiles({"/rec/A.STD"}), 1);
    EXPECT_EQ(window->recentFiles(), QStringList({"/rec/A.STD", "/rec/B.STD"}));
}

TEST_F(WindowHandling, PropertyDockFollowsTheActiveGraphItsChangesAndCancelRestores) {
    addGraph();
    PropertyDock* dock = window->propertyDock();
    ASSERT_EQ(dock->driver(), &windowDriver);
    EXPECT_EQ(windowDriver.Referencias(), 2); // the dock holds one
    ASSERT_FALSE(windowDriver.log.empty());
    EXPECT_EQ(windowDriver.log.front(), "save");

    auto* cursor = qobject_cast<QComboBox*>(dock->editor()->editorFor(1, 0));
    ASSERT_NE(cursor, nullptr);
    const auto choose = [cursor](int option) {
        cursor->setCurrentIndex(option);
        emit cursor->activated(option);
    };
    choose(2);
    EXPECT_EQ(windowDriver.values[std::make_pair(1, 0)], 2);
    dock->findChild<QPushButton*>(QStringLiteral("Cancel"))->click();
    EXPECT_EQ(windowDriver.log.back(), "restore");
    EXPECT_EQ(windowDriver.values[std::make_pair(1, 0)], 1);
    EXPECT_EQ(cursor->currentIndex(), 1);
    choose(3);
    dock->findChild<QPushButton*>(QStringLiteral("OK"))->click();
    EXPECT_EQ(windowDriver.log.back(), "save");
    EXPECT_EQ(windowDriver.values[std::make_pair(1, 0)], 3);

    // The window groups by days and retitles its chart, then repaints: the editor follows.
    auto* group = qobject_cast<QComboBox*>(dock->editor()->editorFor(0, 2));
    auto* title = qobject_cast<QLineEdit*>(dock->editor()->editorFor(0, 1));
    ASSERT_NE(group, nullptr);
    ASSERT_NE(title, nullptr);
    windowDriver.values[{0, 2}] = 2;
    windowDriver.texts[{0, 1}] = "Days (2/7)";
    graph->repaint();
    EXPECT_TRUE(QTest::qWaitFor([&] { return group->currentText() == QLatin1String("Days"); }, 2000));
    EXPECT_EQ(title->text(), QStringLiteral("Days (2/7)"));

    // A title the user is still typing is not overwritten.
    title->setFocus();
    title->setText(QStringLiteral("Mine"));
    title->setModified(true);
    windowDriver.values[{0, 2}] = 0;
    dock->refresh();
    EXPECT_EQ(title->text(), QStringLiteral("Mine"));

    window->mdiArea()->closeAllSubWindows();
    EXPECT_EQ(dock->driver(), nullptr);
    EXPECT_EQ(windowDriver.Referencias(), 1);
}

TEST_F(WindowHandling, PrintSendsService800ToTheActiveGraphsDriver) {
    struct Printer : fakes::WindowDriver {
        int printed = 0;
        Printer() { EntrarServicio(800, "Imprimir", "Nos Imprime la grafica", 1, 1); }
        int EjecutarServicio(int n) override { return printed += n == 800 ? 1 : 0; }
    };
    window->printActiveGraph(); // no active window: nothing happens
    auto* printer = new Printer;
    window->setDriverLookup([&](QWidget* w) -> DrivFlex* {
        return w == graph ? static_cast<DrivFlex*>(printer->IncRef()) : nullptr;
    });
    addGraph();
    window->propertyDock()->findChild<QPushButton*>(QStringLiteral("Print"))->click();
    EXPECT_EQ(printer->printed, 1);
    window->printActiveGraph();
    EXPECT_EQ(printer->printed, 2);
    window->mdiArea()->closeAllSubWindows();
    EXPECT_EQ(printer->DecRef(), 1);
    delete printer;
}

} // namespace
