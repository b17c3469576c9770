// The main window as a daily user drives it: window placement, the Window menu, shortcuts,
// repeated Open all, the status bar and title, and the property editor following its window.

#include "FakeHostFixture.h"
#include "MainWindow.h"
#include "PropertyDock.h"
#include "PropertyPagesEditor.h"
#include "SettingsStore.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class WindowHandling : public FakeHost {
protected:
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
    QRect area() const { return window->mdiArea()->viewport()->rect(); }
    QString recordingCount() const {
        auto* label = window->findChild<QLabel*>(QStringLiteral("RecordingCount"));
        return label ? label->text() : QStringLiteral("<no label>");
    }
    QMenu* windowMenu() const { return window->findChild<QMenu*>(QStringLiteral("WindowMenu")); }
    QStringList menuItems() const {
        QMenu* menu = windowMenu();
        QStringList items;
        if (menu == nullptr)
            return items;
        emit menu->aboutToShow();
        for (QAction* a : menu->actions())
            if (a->objectName() == QLatin1String("WindowItem"))
                items << QStringLiteral("%1%2").arg(a->isChecked() ? "*" : "", a->text());
        return items;
    }
};

// Placement -----------------------------------------------------------------------------------

TEST_F(WindowHandling, NewWindowsLargerThanTheAreaOpenInsideIt) {
    window->resize(700, 450); // smaller than the fake's 900 x 700 graphs
    QCoreApplication::processEvents();
    openGraphs(3);
    ASSERT_EQ(windows().size(), 3);
    for (QMdiSubWindow* w : windows())
        EXPECT_TRUE(area().contains(w->geometry())) << w->widget()->windowTitle().toStdString();
}

TEST_F(WindowHandling, CascadeKeepsEveryWindowReadableAndInsideTheArea) {
    openGraphs(14);
    window->cascadeWindows();
    const QSize readable = MainWindow::minimumCascadeSize().boundedTo(area().size());
    QSet<int> lefts;
    for (QMdiSubWindow* w : windows()) {
        EXPECT_GE(w->width(), readable.width());
        EXPECT_GE(w->height(), readable.height());
        EXPECT_TRUE(area().contains(w->geometry()));
        lefts.insert(w->x());
    }
    EXPECT_GT(lefts.size(), 1); // offset, not stacked on one spot
}

TEST_F(WindowHandling, TileFillsTheAreaWithoutOverlapForAnyCount) {
    for (int count : {1, 2, 3, 5, 7}) {
        window->closeAllWindows();
        openGraphs(count);
        ASSERT_EQ(windows().size(), count);
        window->tileWindows();
        qint64 covered = 0;
        for (QMdiSubWindow* w : windows()) {
            EXPECT_TRUE(area().contains(w->geometry())) << count;
            covered += qint64(w->width()) * w->height();
            for (QMdiSubWindow* other : windows())
                if (other != w) {
                    EXPECT_FALSE(w->geometry().intersects(other->geometry())) << count;
                }
        }
        EXPECT_EQ(covered, qint64(area().width()) * area().height()) << count;
    }
}

// Open all ------------------------------------------------------------------------------------

TEST_F(WindowHandling, OpenAllTwiceRaisesTheExistingWindowsInsteadOfDuplicating) {
    openGraphs(3);
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("3 graph windows opened"));
    window->mdiArea()->setActiveSubWindow(windows().last());
    window->openAllGraphs();
    EXPECT_EQ(state->listCalls, 1);
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("The graph windows of this selection are already open"));
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

// Status bar and title ------------------------------------------------------------------------

TEST_F(WindowHandling, StatusBarCountsRecordingsInSingularAndPluralAndTitleNamesThem) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KESTRAMON"));
    ASSERT_EQ(window->openFiles({QStringLiteral("/rec/METER.STD")}), 1);
    EXPECT_EQ(recordingCount(), QStringLiteral("1 recording file open"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KESTRAMON - METER.STD"));
    ASSERT_EQ(window->openFiles({QStringLiteral("/rec/FLICKER.STD")}), 1);
    EXPECT_EQ(recordingCount(), QStringLiteral("2 recording files open"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KESTRAMON - METER.STD, FLICKER.STD"));
    window->closeRecordings();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KESTRAMON"));
    EXPECT_TRUE(recordingCount().isEmpty());
}

// Window menu ---------------------------------------------------------------------------------

TEST_F(WindowHandling, WindowMenuListsTheWindowsWithTheActiveOneTicked) {
    EXPECT_TRUE(menuItems().isEmpty());
    EXPECT_FALSE(window->action(QStringLiteral("CloseAllWindows"))->isEnabled());
    openGraphs(3);
    window->mdiArea()->setActiveSubWindow(windows().at(1));
    EXPECT_EQ(menuItems(), QStringList({"&1 Graph 1", "*&2 Graph 2", "&3 Graph 3"}));

    // Choosing an entry activates its window.
    QMenu* menu = windowMenu();
    ASSERT_NE(menu, nullptr);
    for (QAction* a : menu->actions())
        if (a->text() == QLatin1String("&3 Graph 3"))
            a->trigger();
    EXPECT_EQ(window->mdiArea()->activeSubWindow(), windows().at(2));
    EXPECT_EQ(menuItems(), QStringList({"&1 Graph 1", "&2 Graph 2", "*&3 Graph 3"}));
}

TEST_F(WindowHandling, NextPreviousCloseAndCloseAllWindows) {
    openGraphs(3);
    window->mdiArea()->setActiveSubWindow(windows().at(0));
    window->action(QStringLiteral("NextWindow"))->trigger();
    EXPECT_EQ(window->mdiArea()->activeSubWindow(), windows().at(1));
    window->action(QStringLiteral("PreviousWindow"))->trigger();
    window->action(QStringLiteral("PreviousWindow"))->trigger();
    EXPECT_EQ(window->mdiArea()->activeSubWindow(), windows().at(2)); // wraps round

    window->action(QStringLiteral("CloseWindow"))->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(windows().size(), 2);
    window->action(QStringLiteral("CloseAllWindows"))->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(windows().isEmpty());
    EXPECT_FALSE(window->action(QStringLiteral("Tile"))->isEnabled());
}

// Shortcuts -----------------------------------------------------------------------------------

TEST_F(WindowHandling, ShortcutsAreSetAndNamedInTheTooltips) {
    const std::pair<const char*, QKeySequence> expected[] = {
        {"GraphSelector", QKeySequence(Qt::CTRL | Qt::Key_G)},
        {"OpenAll", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)},
        {"ShowProperties", QKeySequence(Qt::ALT | Qt::Key_Return)},
        {"NextWindow", QKeySequence(Qt::CTRL | Qt::Key_F6)},
        {"PreviousWindow", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6)},
    };
    for (const auto& [name, keys] : expected) {
        QAction* a = window->action(QString::fromLatin1(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->shortcut(), keys) << name;
        EXPECT_TRUE(a->toolTip().contains(keys.toString(QKeySequence::NativeText))) << name;
        EXPECT_FALSE(a->toolTip().contains(QLatin1Char('&'))) << name;
    }
}

TEST_F(WindowHandling, KeyboardReachesTheSelectorAndTheWindowCycle) {
    ASSERT_EQ(window->openFiles({QStringLiteral("/rec/METER.STD")}), 1);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(state->selectorCalls, 1);
    openGraphs(2);
    window->mdiArea()->setActiveSubWindow(windows().at(0));
    QTest::keyClick(window->mdiArea(), Qt::Key_F6, Qt::ControlModifier);
    EXPECT_EQ(window->mdiArea()->activeSubWindow(), windows().at(1));
}

// Property editor -----------------------------------------------------------------------------

TEST_F(WindowHandling, PropertyEditorFollowsChangesTheGraphWindowMakes) {
    addGraph();
    PropertyDock* dock = window->propertyDock();
    ASSERT_EQ(dock->driver(), &windowDriver);
    auto* group = qobject_cast<QComboBox*>(dock->editor()->editorFor(0, 2));
    auto* title = qobject_cast<QLineEdit*>(dock->editor()->editorFor(0, 1));
    ASSERT_NE(group, nullptr);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(group->currentText(), QStringLiteral("Default"));

    // The window groups by days and retitles its chart, then repaints.
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
    graph->repaint();
    QTest::qWait(150);
    EXPECT_EQ(title->text(), QStringLiteral("Mine"));
}

// Icons ---------------------------------------------------------------------------------------

TEST_F(WindowHandling, TheApplicationAndItsGraphWindowsHaveTheirOwnDrawnIcons) {
    const QImage app = MainWindow::applicationIcon().pixmap(32, 32).toImage();
    const QImage graph = MainWindow::graphWindowIcon().pixmap(32, 32).toImage();
    ASSERT_FALSE(app.isNull());
    EXPECT_NE(app, graph);
    EXPECT_EQ(qAlpha(app.pixel(0, 0)), 0);     // a transparent corner
    EXPECT_GT(qAlpha(app.pixel(16, 16)), 200); // a drawn face
    EXPECT_EQ(window->windowIcon().cacheKey(), MainWindow::applicationIcon().cacheKey());
    openGraphs(2);
    for (QMdiSubWindow* w : windows())
        EXPECT_EQ(w->windowIcon().cacheKey(), MainWindow::graphWindowIcon().cacheKey());
}

// Remembered state ----------------------------------------------------------------------------

TEST_F(WindowHandling, GeometryDockLayoutAndLastRecordingsAreRememberedWhenAskedTo) {
    window->resize(900, 640);
    window->propertyDock()->hide();
    EXPECT_TRUE(window->recordingsToReopen().isEmpty()); // not asked to
    window->action(QStringLiteral("ReopenAtStart"))->setChecked(true);
    ASSERT_EQ(window->openFiles({QStringLiteral("/rec/METER.STD"), QStringLiteral("/rec/FLICKER.STD")}), 2);
    ASSERT_TRUE(window->close());

    MainWindow next(std::make_unique<FakeRecordingSource>());
    EXPECT_EQ(next.size(), QSize(900, 640));
    EXPECT_TRUE(next.propertyDock()->isHidden());
    EXPECT_TRUE(next.action(QStringLiteral("ReopenAtStart"))->isChecked());
    EXPECT_EQ(next.recordingsToReopen(), QStringList({"/rec/METER.STD", "/rec/FLICKER.STD"}));
    next.action(QStringLiteral("ReopenAtStart"))->setChecked(false);
    EXPECT_TRUE(next.recordingsToReopen().isEmpty());
}

TEST_F(WindowHandling, DamagedLayoutValuesLeaveTheDefaults) {
    window.reset();
    auto key = host::SettingsKey::openOrCreate(QString::fromLatin1(MainWindow::kRecentKey));
    ASSERT_TRUE(key);
    key->writeString(QString::fromLatin1(MainWindow::kGeometryValue), QStringLiteral("%%not base64%%"));
    key->writeString(QString::fromLatin1(MainWindow::kLayoutValue), QStringLiteral("AAAA"));
    key->sync();
    MainWindow next(std::make_unique<FakeRecordingSource>());
    EXPECT_EQ(next.size(), QSize(1200, 760));
    EXPECT_FALSE(next.propertyDock()->isHidden());
}

TEST_F(WindowHandling, OpenDialogStartsInTheLastFolderAndRecentEntriesShowIt) {
    const QString folder = testsupport::scratchDirectory() + QStringLiteral("/meters");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/SITE.STD");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    testsupport::Dialogs::handleNext([&](QDialog& d) {
        auto* files = qobject_cast<QFileDialog*>(&d);
        if (files == nullptr)
            return int(QDialog::Rejected);
        files->setDirectory(folder);
        files->selectFile(QStringLiteral("SITE.STD"));
        return int(QDialog::Accepted);
    });
    window->promptOpenFiles();
    ASSERT_EQ(window->openPaths(), QStringList{path});
    EXPECT_EQ(window->lastFolder(), QFileInfo(path).absolutePath());

    QString seen;
    testsupport::Dialogs::handleNext([&](QDialog& d) {
        if (auto* files = qobject_cast<QFileDialog*>(&d))
            seen = files->directory().absolutePath();
        return int(QDialog::Rejected);
    });
    window->promptOpenFiles();
    EXPECT_EQ(seen, QFileInfo(path).absolutePath());

    QMenu* recent = nullptr;
    for (QMenu* m : window->findChildren<QMenu*>())
        if (m->title() == QLatin1String("&Recent files"))
            recent = m;
    ASSERT_NE(recent, nullptr);
    ASSERT_FALSE(recent->actions().isEmpty());
    EXPECT_TRUE(recent->actions().front()->text().contains(QStringLiteral("SITE.STD")));
    EXPECT_TRUE(
        recent->actions().front()->text().contains(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
}

} // namespace
