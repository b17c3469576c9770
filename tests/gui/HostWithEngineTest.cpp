// The host application with the real engine, charting library and sibling modules on the
// demonstration recording, as a user drives it.

#include "DemoRecording.h"
#include "MainWindow.h"
#include "PropertyDock.h"
#include "PropertyPagesEditor.h"
#include "RecordingSource.h"
#include "TestEnvironment.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

QStringList demoFiles() {
    static QStringList files;
    if (files.isEmpty()) {
        const QString dir = testsupport::scratchDirectory() + QStringLiteral("/demo");
        for (const std::string& p : recording::writeDemo(dir.toStdString()))
            files << QString::fromStdString(p);
    }
    return files;
}

QStringList captions(MainWindow& w) {
    QStringList c;
    for (QMdiSubWindow* sub : w.mdiArea()->subWindowList())
        c << sub->widget()->windowTitle();
    return c;
}

// Colour of the chart's desk, just inside the window's left edge under the toolbar.
QRgb deskColour(QWidget* graph) {
    const QImage image = graph->grab().toImage();
    return image.pixel(3, image.height() / 2);
}

class HostWithEngine : public testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(makeRecordingSource());
        window->resize(1280, 900);
        window->show();
        ASSERT_EQ(window->openFiles(demoFiles()), 2);
    }
    void TearDown() override {
        window->close();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::unique_ptr<MainWindow> window;
};

TEST_F(HostWithEngine, OpenAllOpensTheGraphWindowsOfTheDemo) {
    window->openAllGraphs();
    const QStringList c = captions(*window);
    EXPECT_GE(c.size(), 4);
    // The multigraphic window and the trend windows that share its titles.
    EXPECT_GE(c.count(QStringLiteral("MULTIGRAPHIC")), 1);
    EXPECT_TRUE(c.contains(QStringLiteral("Active power (001)"))) << c.join(QLatin1Char('|')).toStdString();
    for (const host::Message& m : testsupport::Messages::shown())
        ADD_FAILURE() << "message shown: " << m.text.toStdString();
}

TEST_F(HostWithEngine, GraphSelectorOpensTheChosenVariable) {
    testsupport::Dialogs::handleNext([](QDialog& d) {
        auto* tree = d.findChild<QTreeWidget*>();
        if (tree == nullptr || tree->topLevelItemCount() == 0)
            return int(QDialog::Rejected);
        // The first file's "Frequency" trend.
        QTreeWidgetItem* file = tree->topLevelItem(0);
        // Files are told apart by their full path and their time range (the demo's week).
        EXPECT_EQ(file->toolTip(0), demoFiles().front());
        EXPECT_TRUE(file->text(1).contains(QStringLiteral(" - "))) << file->text(1).toStdString();
        for (int i = 0; i < file->childCount(); ++i)
            if (file->child(i)->text(0).startsWith(QStringLiteral("Frequency")))
                file->child(i)->setCheckState(0, Qt::Checked);
        return int(QDialog::Accepted);
    });
    window->showGraphSelector();
    EXPECT_EQ(captions(*window), QStringList{QStringLiteral("Frequency")});
}

TEST_F(HostWithEngine, PropertyEditsReachTheChartAndCancelRestoresThem) {
    window->openAllGraphs();
    const auto subs = window->mdiArea()->subWindowList();
    const qsizetype multi = captions(*window).indexOf(QStringLiteral("MULTIGRAPHIC"));
    ASSERT_GE(multi, 0);
    window->mdiArea()->setActiveSubWindow(subs[multi]);
    PropertyDock* dock = window->propertyDock();
    ASSERT_NE(dock->driver(), nullptr);
    QWidget* graph = subs[multi]->widget();
    const QRgb antes = deskColour(graph);

    // "Desk color" is the fourth property of "Outputs"; option 0 is black.
    auto* desk = qobject_cast<QComboBox*>(dock->editor()->editorFor(1, 3));
    ASSERT_NE(desk, nullptr);
    // Each colour name carries a swatch of its colour: "Amarillo" (8) is yellow.
    const QImage amarillo = desk->itemIcon(8).pixmap(8, 8).toImage();
    EXPECT_EQ(desk->itemText(8), QStringLiteral("Amarillo"));
    ASSERT_FALSE(amarillo.isNull());
    EXPECT_EQ(amarillo.pixelColor(4, 4), QColor(Qt::yellow));
    desk->setCurrentIndex(0);
    emit desk->activated(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(deskColour(graph) & 0xFFFFFF, 0u);

    dock->findChild<QPushButton*>(QStringLiteral("Cancel"))->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(deskColour(graph), antes);
}

} // namespace
