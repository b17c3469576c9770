// The host's main window: the engine factories it calls and their arguments, module and
// engine failures, recording files and the recent list, and the property dock.

#include "MainWindow.h"
#include "FakeDrivers.h"
#include "FakeHostFixture.h"
#include "FakeWindowDriver.h"
#include "PropertyDock.h"
#include "PropertyPagesEditor.h"
#include "ServidorMonitores.h"
#include "TestEnvironment.h"

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class MainWindowTest : public FakeHost {
protected:
    void openTwoFiles() { ASSERT_EQ(window->openFiles({"/rec/METER.STD", "/rec/FLICKER.STD"}), 2); }
};

TEST_F(MainWindowTest, OpenAllHandsEveryVariableWithItsDataDriverHandleToTheListFactory) {
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
}

TEST_F(MainWindowTest, GraphSelectorCallsTheSelectorFactoryWithServerAndSource) {
    openTwoFiles();
    window->showGraphSelector();
    ASSERT_EQ(state->selectorCalls, 1);
    EXPECT_EQ(state->server, window->server());
    EXPECT_EQ(state->server->AreaMdi(), window->mdiArea());
    EXPECT_EQ(state->server->VentanaPrincipal(), window.get());
    EXPECT_EQ(state->source, files->source);
    EXPECT_EQ(state->listCalls, 0);
}

TEST_F(MainWindowTest, OpenAllWithoutFilesSaysSoAndCallsNothing) {
    window->openAllGraphs();
    EXPECT_EQ(state->listCalls, 0);
    ASSERT_EQ(testsupport::Messages::shown().size(), 1u);
    EXPECT_EQ(testsupport::Messages::shown().front().icon, host::MessageIcon::Error);
}

TEST_F(MainWindowTest, EngineExceptionIsShownWithTitleCodeMessageAndContext) {
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
    EXPECT_EQ(m.icon, host::MessageIcon::Error);
    EXPECT_TRUE(m.text.contains(QStringLiteral("Imposible configure: It fails ViewerSetup.dll")));
    EXPECT_TRUE(m.text.contains(QStringLiteral("11")));
    EXPECT_TRUE(m.text.contains(QStringLiteral("LanzarViewerVARM(TVM*,DF*,SM*)")));
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

TEST_F(MainWindowTest, FailedFilesAreReportedAndGoodOnesBecomeRecentNewestFirst) {
    EXPECT_EQ(window->openFiles({"/rec/A.STD", "/rec/notes.txt", "/rec/B.STD"}), 2);
    ASSERT_EQ(testsupport::Messages::shown().size(), 1u);
    EXPECT_TRUE(testsupport::Messages::shown().front().text.contains(QStringLiteral("notes.txt")));
    EXPECT_EQ(window->openFiles({"/rec/A.STD"}), 1);
    EXPECT_EQ(window->recentFiles(), QStringList({"/rec/A.STD", "/rec/B.STD"}));
    // A second window reads the same list from the settings store.
    MainWindow other(std::make_unique<FakeRecordingSource>());
    EXPECT_EQ(other.recentFiles(), window->recentFiles());
}

TEST_F(MainWindowTest, CloseRecordingsClosesGraphsAndReleasesSelectionDrivers) {
    openTwoFiles();
    window->openAllGraphs();
    addGraph();
    window->closeRecordings();
    EXPECT_EQ(files->closes, 1);
    EXPECT_EQ(window->selectionDrivers(), 0);
    EXPECT_TRUE(window->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(windowDriver.Referencias(), 1);
}

TEST_F(MainWindowTest, PropertyDockFollowsTheActiveGraphAndCancelRestores) {
    addGraph();
    PropertyDock* dock = window->propertyDock();
    ASSERT_EQ(dock->driver(), &windowDriver);
    EXPECT_EQ(windowDriver.Referencias(), 2); // the dock holds one
    ASSERT_FALSE(windowDriver.log.empty());
    EXPECT_EQ(windowDriver.log.front(), "save");

    auto* cursor = qobject_cast<QComboBox*>(dock->editor()->editorFor(1, 0));
    ASSERT_NE(cursor, nullptr);
    cursor->setCurrentIndex(2);
    emit cursor->activated(2);
    EXPECT_EQ(windowDriver.values[std::make_pair(1, 0)], 2);
    dock->findChild<QPushButton*>(QStringLiteral("Cancel"))->click();
    EXPECT_EQ(windowDriver.log.back(), "restore");
    EXPECT_EQ(windowDriver.values[std::make_pair(1, 0)], 1);
    EXPECT_EQ(cursor->currentIndex(), 1);

    cursor->setCurrentIndex(3);
    emit cursor->activated(3);
    dock->findChild<QPushButton*>(QStringLiteral("OK"))->click();
    EXPECT_EQ(windowDriver.log.back(), "save");
    EXPECT_EQ(windowDriver.values[std::make_pair(1, 0)], 3);

    window->mdiArea()->closeAllSubWindows();
    EXPECT_EQ(dock->driver(), nullptr);
    EXPECT_EQ(windowDriver.Referencias(), 1);
}

TEST_F(MainWindowTest, PrintSendsService800ToTheActiveGraphsDriver) {
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
