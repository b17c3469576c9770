// Feedback on work that takes a while: a progress dialog that can be cancelled, the wait cursor,
// and a status-bar line on the host's main window once the work is over. Exports of data and of
// chart images, clipboard copies and opening recordings, with the host's main window around
// them; and a run without a person that never shows a dialog.

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
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

using testsupport::Dialogs;
using testsupport::Messages;

// Sees every progress dialog shown while the work runs and, when asked, presses its Cancel
// button as soon as the dialog lets events through (it does so while the work advances).
class ProgressWatcher : public QObject {
public:
    explicit ProgressWatcher(bool cancel) {
        qApp->installEventFilter(this);
        if (cancel) {
            QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { pressCancel(); });
            m_timer.start(0);
        }
    }
    ~ProgressWatcher() override { qApp->removeEventFilter(this); }

    int shown = 0, maximum = -1;
    bool cancelled = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QProgressDialog*>(watched);
        if (dialog != nullptr && event->type() == QEvent::Show && shown++ == 0) {
            maximum = dialog->maximum();
        }
        return false;
    }

private:
    void pressCancel() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QProgressDialog*>(w);
            auto* button =
                dialog != nullptr && dialog->isVisible() ? dialog->findChild<QPushButton*>() : nullptr;
            if (button != nullptr && !cancelled) {
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

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
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

    QString status() const { return window->statusBar()->currentMessage(); }
    QString path(const char* name) const { return scratch.filePath(QString::fromLatin1(name)); }

    QDir scratch;
};

// Writing in chunks gives the same bytes as the whole text, whatever the row count, and
// reports rising counts that end at the last row; told to stop, it leaves the old file whole.
TEST(CsvProgress, ChunkedWritingMatchesTheWholeTextAndStoppingKeepsTheOldFile) {
    const QDir dir(testsupport::scratchDirectory());
    const QString target = dir.filePath(QStringLiteral("chunks.csv"));
    for (const int rows : {0, 1, 2047, 2048, 2049, 6145}) {
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

    const QString stopped = dir.filePath(QStringLiteral("stopped.csv"));
    writeFile(stopped, "earlier export");
    int calls = 0;
    QString error;
    EXPECT_EQ(
        RecordData::writeCsv(stopped, voltageTable(10000), &error, [&calls](int) { return ++calls < 2; }),
        RecordData::WriteResult::Cancelled);
    EXPECT_EQ(calls, 2); // nothing more is written once told to stop
    EXPECT_EQ(readAll(stopped), QByteArray("earlier export"));
    for (const QString& name : dir.entryList(QDir::Files))
        EXPECT_TRUE(name == QLatin1String("stopped.csv") || !name.startsWith(QLatin1String("stopped")))
            << name.toStdString();
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

TEST_F(DataExportFeedback, ALongExportShowsItsProgressAndThenSaysWhatWentWhere) {
    const QString target = path("long.csv");
    Dialogs::chooseFile(target);
    ProgressWatcher watcher(false);
    exportRows(20000);

    EXPECT_GT(watcher.shown, 0);
    EXPECT_EQ(watcher.maximum, 20000);
    EXPECT_EQ(readAll(target).count('\n'), 20001); // header and every row
    EXPECT_EQ(status(), QStringLiteral("Exported 20,000 rows to %1").arg(native(target)));
    // The dialog goes with the work.
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<QProgressDialog*>(w), nullptr);
}

TEST_F(DataExportFeedback, CancellingTheExportKeepsTheOldFileWhole) {
    const QString target = path("kept.csv");
    writeFile(target, "user data");
    Dialogs::chooseFile(target);
    ProgressWatcher watcher(true);
    exportRows(20000);

    EXPECT_TRUE(watcher.cancelled);
    EXPECT_EQ(readAll(target), QByteArray("user data"));
    EXPECT_EQ(scratch.entryList(QDir::Files), QStringList{"kept.csv"}); // no half-written leftovers
    EXPECT_EQ(status(), QStringLiteral("Export cancelled; %1 was left as it was").arg(native(target)));
    EXPECT_TRUE(Messages::shown().empty());
}

TEST_F(DataExportFeedback, AFailedExportReportsTheErrorAndClaimsNothing) {
    const QString target = path("no-such-folder/x.csv");
    Dialogs::chooseFile(target);
    exportRows(50);
    ASSERT_EQ(Messages::shown().size(), 1u);
    EXPECT_EQ(Messages::shown().front().icon, host::MessageIcon::Error);
    EXPECT_TRUE(Messages::shown().front().text.contains(target));
    EXPECT_FALSE(status().startsWith(QStringLiteral("Exported")));
    EXPECT_FALSE(QFile::exists(target));
}

// The data table inside the host: its Export and Copy report on the host's status bar too.
class TableFeedback : public Feedback {
protected:
    DataTableWindow* openTable(int rows) {
        SeriesData voltage;
        voltage.name = QStringLiteral("Voltage L1");
        voltage.decimals = 1;
        auto* w = new DataTableWindow(voltageTable(rows, voltage));
        window->server()->MostrarVentana(w);
        return w;
    }
    static void trigger(DataTableWindow* w, const char* action) {
        w->table()->findChild<QAction*>(QString::fromLatin1(action))->trigger();
    }
};

// The table exports through the module's path (progress, cancelling, failures are checked there).
TEST_F(TableFeedback, ExportReportsOnTheTableAndTheHostsStatusBar) {
    DataTableWindow* table = openTable(9000);
    const QString target = path("table.csv");
    Dialogs::chooseFile(target);
    ProgressWatcher watcher(false);
    trigger(table, "ExportRows");
    EXPECT_GT(watcher.shown, 0);
    const QString done = QStringLiteral("Exported 9,000 rows to %1").arg(native(target));
    EXPECT_EQ(status(), done);
    EXPECT_EQ(table->findChild<QLabel*>(QStringLiteral("RowCount"))->text(), done);
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

TEST_F(GraphWindowFeedback, ExportImageSaysWhereTheImageWentAndCopyingSaysSo) {
    const QString target = path("graph.png");
    Dialogs::chooseFile(target);
    trigger("ExportBMP");
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_EQ(status(), QStringLiteral("Saved the graph as %1").arg(native(target)));
    EXPECT_TRUE(Messages::shown().empty());

    QApplication::clipboard()->clear();
    trigger("Portapapeles");
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());
    EXPECT_EQ(status(), QStringLiteral("Copied the graph to the clipboard"));
}

TEST_F(GraphWindowFeedback, AnImageNotWrittenOrNotReplacedIsNotClaimed) {
    const QString target = path("missing-folder/graph.png");
    Dialogs::chooseFile(target);
    trigger("ExportBMP");
    ASSERT_EQ(Messages::shown().size(), 1u);
    EXPECT_EQ(Messages::shown().front().icon, host::MessageIcon::Error);
    EXPECT_EQ(Messages::shown().front().text,
              QStringLiteral("The image %1 could not be written.").arg(native(target)));
    EXPECT_TRUE(status().isEmpty());

    const QString kept = path("graph.png");
    writeFile(kept, "user picture");
    Dialogs::chooseFile(kept);
    Messages::answerNext(host::MessageAnswer::No);
    trigger("ExportBMP");
    EXPECT_EQ(readAll(kept), QByteArray("user picture"));
    EXPECT_TRUE(status().isEmpty());
}

// Opening several recordings shows progress, and Cancel stops before the rest.
TEST_F(Feedback, OpeningRecordingsShowsProgressAndCanStop) {
    ProgressWatcher all(false);
    EXPECT_EQ(window->openFiles(
                  {QStringLiteral("/rec/A.STD"), QStringLiteral("/rec/B.STD"), QStringLiteral("/rec/C.STD")}),
              3);
    EXPECT_GT(all.shown, 0);
    EXPECT_EQ(all.maximum, 3);
    EXPECT_EQ(status(), QStringLiteral("Opened 3 recording files"));

    window->closeRecordings();
    ProgressWatcher stopped(true);
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
