// Work that takes a while: a progress dialog whose Cancel leaves the old file whole, exports of
// data and chart images, opening recordings; and a run without a person that shows no dialog.

#include "Feedback.h"
#include "DataTableWindow.h"
#include "FakeHostFixture.h"
#include "GraficaPrueba.h"
#include "HostDirectory.h"
#include "ModuleEntries.h"
#include "ModuleLoader.h"
#include "RecordData.h"
#include "ServidorMonitores.h"
#include "TGrafica.h"
#include "TableExport.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

using testsupport::Dialogs;
using testsupport::Messages;

// Presses the Cancel button of the first progress dialog shown, as soon as the dialog lets
// events through (it does so while the work advances), noting the dialog's maximum.
class ProgressWatcher : public QObject {
public:
    ProgressWatcher() {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { pressCancel(); });
        m_timer.start(0);
    }

    int maximum = -1;
    bool cancelled = false;

private:
    void pressCancel() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QProgressDialog*>(w);
            auto* button =
                dialog != nullptr && dialog->isVisible() ? dialog->findChild<QPushButton*>() : nullptr;
            if (button != nullptr && !cancelled) {
                maximum = dialog->maximum();
                button->click();
                cancelled = true;
            }
        }
    }

    QTimer m_timer;
};

// `rows` hourly points of one voltage, as a recording's data driver answers them.
fakes::Variable hourlyVoltage(int rows) {
    fakes::Variable v = fakes::var(1, 10, 5, 100, "Voltage L1", "V");
    for (int i = 0; i < rows; ++i) {
        const int day = i / 24;
        v.times.push_back(TTiempo(2000 + day / 336, 1 + day / 28 % 12, 1 + day % 28, i % 24, 0, 0, -1));
        v.values.push_back(230.0 + (i % 100) / 10.0);
    }
    return v;
}

RecordTable voltageTable(int rows, SeriesData series = {}) {
    RecordTable table;
    table.series = {std::move(series)};
    const fakes::Variable v = hourlyVoltage(rows);
    table.times = v.times;
    table.columns = {v.values};
    return table;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class Feedback : public FakeHost {
protected:
    void SetUp() override {
        FakeHost::SetUp();
        host::Progress::setShowDelay(0); // the dialogs show at once, so the tests see them
        scratch = QDir(testsupport::scratchDirectory());
        for (const QString& name : scratch.entryList(QDir::Files))
            scratch.remove(name);
    }
    void TearDown() override {
        host::Progress::setShowDelay(500);
        FakeHost::TearDown();
    }

    QString path(const char* name) const { return scratch.filePath(QString::fromLatin1(name)); }

    QDir scratch;
};

// Writing in chunks gives the same bytes as the whole text, whatever the row count, and
// reports rising counts that end at the last row.
TEST(CsvProgress, ChunkedWritingMatchesTheWholeText) {
    const QDir dir(testsupport::scratchDirectory());
    const QString target = dir.filePath(QStringLiteral("chunks.csv"));
    for (const int rows : {0, 2048, 2049}) {
        const RecordTable table = voltageTable(rows);
        std::vector<int> reports;
        QString error;
        const auto result = RecordData::writeCsv(target, table, &error, [&reports](int done) {
            reports.push_back(done);
            return true;
        });
        ASSERT_EQ(result, RecordData::WriteResult::Written) << rows;
        EXPECT_EQ(readAll(target), RecordData::toCsv(table)) << rows;
        ASSERT_FALSE(reports.empty()) << rows;
        EXPECT_EQ(reports.back(), rows);
        EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end())) << rows;
    }
}

// Exports through DataExport.vlk, as a graph window's Export button asks for them.
class DataExportFeedback : public Feedback {
protected:
    void SetUp() override {
        Feedback::SetUp();
        QString error;
        module = host::loadModule(QStringLiteral(DATA_EXPORT_MODULE), &error);
        ASSERT_TRUE(module) << error.toStdString();
        factory = reinterpret_cast<ModuloRegistrosFn>(host::resolveEntry(module.get(), "_DameObjeto2"));
        ASSERT_NE(factory, nullptr);
    }

    void exportRows(int rows) {
        data.variables = {hourlyVoltage(rows)};
        TValorMultiple records;
        records.EntrarEnteros({1, 10, data.Manejador(), 4, 0});
        ObjGen* answer = factory(0, window->server(), nullptr, &records);
        ASSERT_NE(answer, nullptr);
        if (answer->DecRef() != 0)
            delete answer;
    }

    std::unique_ptr<QLibrary> module;
    ModuloRegistrosFn factory = nullptr;
    fakes::DataDriver data;
};

TEST_F(DataExportFeedback, CancelledOrFailedExportKeepsTheOldFileWhole) {
    const QString target = path("kept.csv");
    writeFile(target, "user data");
    Dialogs::chooseFile(target);
    ProgressWatcher watcher;
    exportRows(20000);

    EXPECT_TRUE(watcher.cancelled);
    EXPECT_EQ(watcher.maximum, 20000);
    EXPECT_EQ(readAll(target), QByteArray("user data"));
    EXPECT_EQ(scratch.entryList(QDir::Files), QStringList{"kept.csv"}); // no half-written leftovers
    EXPECT_TRUE(Messages::shown().empty());

    const QString failed = path("no-such-folder/x.csv");
    Dialogs::chooseFile(failed);
    exportRows(50);
    ASSERT_EQ(Messages::shown().size(), 1u);
    EXPECT_TRUE(Messages::shown().front().text.contains(failed));
}

// The data table's Export goes through the same writer as the module.
TEST_F(Feedback, TheDataTablesExportWritesEveryRow) {
    SeriesData voltage;
    voltage.name = QStringLiteral("Voltage L1");
    auto* table = new DataTableWindow(voltageTable(50, voltage));
    window->server()->MostrarVentana(table);
    const QString target = path("table.csv");
    Dialogs::chooseFile(target);
    table->table()->findChild<QAction*>(QStringLiteral("ExportRows"))->trigger();
    EXPECT_EQ(readAll(target).count('\n'), 51);
}

// A graph window of the engine in the host's MDI area: export image and clipboard.
class GraphWindowFeedback : public Feedback {
protected:
    void SetUp() override {
        Feedback::SetUp();
        host::HostDirectory::setModuleDirectory(QStringLiteral(MODULOS_PRUEBA));
        prueba::UsarGraficaPrueba();
        ListasAtributos listas = prueba::Listas(0, 3);
        driver = new TGrafica(window->server(), listas, nullptr);
        chart = static_cast<TWGraficaPrueba*>(driver->Ventana());
        ASSERT_NE(chart, nullptr);
        ASSERT_NE(chart->DameGrafica(), nullptr);
    }
    void TearDown() override {
        if (chart)
            chart->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Feedback::TearDown();
        FabricaVentanas::Restablecer();
    }
    void trigger(const char* action) { chart->Accion(QString::fromLatin1(action))->trigger(); }

    TGrafica* driver = nullptr;
    QPointer<TWGraficaPrueba> chart;
};

TEST_F(GraphWindowFeedback, AnImageNotWrittenIsReportedAndCopyingFillsTheClipboard) {
    const QString target = path("missing-folder/graph.png");
    Dialogs::chooseFile(target);
    trigger("ExportBMP");
    ASSERT_EQ(Messages::shown().size(), 1u);
    EXPECT_EQ(Messages::shown().front().text,
              QStringLiteral("The image %1 could not be written.").arg(QDir::toNativeSeparators(target)));

    QApplication::clipboard()->clear();
    trigger("Portapapeles");
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());
}

// Cancel stops opening recordings before the rest.
TEST_F(Feedback, OpeningRecordingsCanBeStopped) {
    ProgressWatcher stopped;
    const int opened = window->openFiles({QStringLiteral("/rec/D.STD"), QStringLiteral("/rec/E.STD"),
                                          QStringLiteral("/rec/F.STD"), QStringLiteral("/rec/G.STD")});
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_GE(opened, 1);
    EXPECT_LT(opened, 4);
    EXPECT_EQ(window->openPaths().size(), opened);
}

// A run without a person: no dialog is ever made and the closing line goes to standard error.
// Run in a child process, since the batch mode cannot be left once entered.
TEST(FeedbackBatch, NoDialogWaitsAndTheResultGoesToStandardError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QString target = QDir(testsupport::scratchDirectory()).filePath(QStringLiteral("batch.csv"));
    EXPECT_EXIT(
        {
            host::BatchMode::enable();
            host::Progress::setShowDelay(0);
            QMainWindow main;
            const QString status = exportTableWithFeedback(&main, target, voltageTable(6000));
            host::Progress probe(&main, QStringLiteral("work"), 10, QStringLiteral("Cancel"));
            const bool quiet = probe.dialog() == nullptr && probe.advance(5) &&
                               main.findChildren<QProgressDialog*>().isEmpty() &&
                               main.statusBar()->currentMessage().isEmpty();
            const bool written = readAll(target).count('\n') == 6001;
            std::fflush(nullptr);
            std::_Exit(quiet && written && status.startsWith(QStringLiteral("Exported")) ? 0 : 1);
        },
        testing::ExitedWithCode(0), "Exported 6,000 rows to .*batch\\.csv");
}

} // namespace
