// TableViewer.vlk and DataExport.vlk through their exported factories, and the record data
// they share: interval cutting, merging of series and the CSV text.

#include "FakeDrivers.h"
#include "ModuleEntries.h"
#include "ModuleLoader.h"
#include "RecordData.h"
#include "ServidorMonitores.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

using fakes::T;

// Hourly points over three days (1 to 3 March 2024) for a voltage, and a current that misses
// its last point and carries one null value.
class RecordFixture : public testing::Test {
protected:
    void SetUp() override {
        fakes::Variable voltage = fakes::var(1, 10, 5, 100, "Voltage L1", "V");
        fakes::Variable current = fakes::var(1, 11, 5, 101, "Current, L1", "A");
        for (int d = 1; d <= 3; ++d)
            for (int h = 0; h < 24; ++h) {
                voltage.times.push_back(T(2024, 3, d, h));
                voltage.values.push_back(230.0 + d + h / 100.0);
            }
        current.times.assign(voltage.times.begin(), voltage.times.end() - 1);
        current.values.assign(current.times.size(), 5.5);
        current.values[25] = -9999.9;
        // Two delivered intervals: up to noon of the 2nd, then the rest.
        voltage.intervals = {T(2024, 3, 1, 0), T(2024, 3, 2, 12), T(2024, 3, 2, 13), T(2024, 3, 3, 23)};
        current.intervals = voltage.intervals;
        data.variables = {voltage, current};
    }

    TValorMultiple records(int level, int interval, std::vector<int> keys2 = {10, 11}) {
        TValorMultiple list;
        for (int k : keys2)
            list.EntrarEnteros({1, k, data.Manejador(), level, interval});
        return list;
    }

    fakes::DataDriver data;
};

TEST_F(RecordFixture, RecordsKeepFiveIntegersSkipMalformedRowsAndEachLevelKeepsTheRowsOfItsInterval) {
    TValorMultiple list;
    list.EntrarEnteros({1, 10, 77, 2, 1, 99, 98}); // extra integers are ignored
    list.EntrarTexto("not a record");
    list.EntrarEnteros({1, 11});
    list.EntrarEnteros({1, 11, 78});
    const auto recs = RecordData::parseRecords(&list);
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_EQ(recs[0].driver, 77);
    EXPECT_EQ(recs[0].level, 2);
    EXPECT_EQ(recs[0].interval, 1);
    EXPECT_EQ(recs[1].level, 4);
    EXPECT_TRUE(RecordData::parseRecords(nullptr).empty());

    // Gone drivers and drivers without values give no series.
    TValorMultiple gone;
    gone.EntrarEnteros({1, 10, 0x7fff0000, 4, 0});      // no such handle
    gone.EntrarEnteros({9, 9, data.Manejador(), 4, 0}); // unknown keys
    EXPECT_EQ(RecordData::load(&gone).seriesCount(), 0);

    // Each level keeps the rows of its interval under one time column.
    TValorMultiple day = records(2, 1);
    const RecordTable table = RecordData::load(&day);
    ASSERT_EQ(table.rowCount(), 24);
    EXPECT_EQ(table.times.front(), T(2024, 3, 2, 0));
    EXPECT_EQ(table.times.back(), T(2024, 3, 2, 23));
    ASSERT_EQ(table.seriesCount(), 2);
    EXPECT_DOUBLE_EQ(table.columns[0][0], 232.0);
    EXPECT_TRUE(RecordData::isNull(table.columns[1][1])); // the current's null value at 01:00

    // The default level uses the delivered intervals and clamps the index.
    TValorMultiple second = records(5, 1, {10}), beyond = records(5, 9, {10}),
                   negative = records(5, -3, {10});
    EXPECT_EQ(RecordData::load(&second).rowCount(), 35); // 13:00 on the 2nd to 23:00 on the 3rd
    EXPECT_EQ(RecordData::load(&second).times.front(), T(2024, 3, 2, 13));
    EXPECT_EQ(RecordData::load(&beyond).times.front(), T(2024, 3, 2, 13));
    EXPECT_EQ(RecordData::load(&negative).rowCount(), 37);

    // Series of different lengths share one time column with empty cells.
    TValorMultiple all = records(4, 0);
    const RecordTable whole = RecordData::load(&all);
    ASSERT_EQ(whole.rowCount(), 72);
    EXPECT_TRUE(RecordData::isNull(whole.columns[1][71])); // the current stops an hour early
    EXPECT_EQ(RecordData::valueText(whole.columns[1][71]), QString());
}

// The module's export shows ordinary cells and quoting of commas; here the rest.
TEST(RecordText, MillisecondsShortestNumbersNaNAndDoubledQuotes) {
    EXPECT_EQ(RecordData::timeText(TTiempo(2024, 12, 31, 23, 59, 59, 7)),
              QStringLiteral("2024-12-31T23:59:59.007"));
    EXPECT_EQ(RecordData::valueText(0.000001), QStringLiteral("1e-06"));
    EXPECT_EQ(RecordData::valueText(std::nan("")), QString());
    std::vector<SeriesData> series(1);
    series[0].name = "Say \"hi\"";
    series[0].times = {T(2024, 1, 2)};
    series[0].values = {2};
    EXPECT_EQ(RecordData::toCsv(RecordData::merge(series)),
              QByteArray("Time,\"Say \"\"hi\"\"\"\r\n2024-01-02T00:00:00,2\r\n"));
}

// The modules themselves.
template <const char* File> class ModuleFixture : public RecordFixture {
protected:
    void SetUp() override {
        RecordFixture::SetUp();
        QString error;
        library = host::loadModule(QString::fromLatin1(File), &error);
        ASSERT_TRUE(library) << error.toStdString();
        factory = reinterpret_cast<ModuloRegistrosFn>(host::resolveEntry(library.get(), "_DameObjeto2"));
        ASSERT_NE(factory, nullptr);
    }

    void call(ServidorMonitores* server, TValorMultiple list) {
        ObjGen* object = factory(0, server, nullptr, &list);
        ASSERT_NE(object, nullptr);
        if (object->DecRef() != 0)
            delete object;
    }

    std::unique_ptr<QLibrary> library;
    ModuloRegistrosFn factory = nullptr;
};

constexpr char kTableViewer[] = "TableViewer.vlk";
constexpr char kDataExport[] = "DataExport.vlk";

class TableViewerModule : public ModuleFixture<kTableViewer> {
protected:
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            delete w;
    }
    static QWidget* window() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("DataTable"))
                return w;
        return nullptr;
    }
};

TEST_F(TableViewerModule, ShowsTheCurrentIntervalInTheHostsAreaIfAnyAndOutlivesTheReturnedObject) {
    call(nullptr, records(2, 2));
    QWidget* shown = window();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    auto* table = shown->findChild<QTableWidget*>(QStringLiteral("Rows"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 24);
    EXPECT_EQ(table->columnCount(), 3);

    // With a host's MDI area the table opens in it.
    QMdiArea area;
    ServidorMonitores server(&area, &area);
    call(&server, records(4, 0));
    ASSERT_EQ(area.subWindowList().size(), 1);
    EXPECT_EQ(area.subWindowList().front()->widget()->findChild<QTableWidget*>()->rowCount(), 72);
}

class DataExportModule : public ModuleFixture<kDataExport> {
protected:
    QString path = QDir(testsupport::scratchDirectory()).filePath(QStringLiteral("export.csv"));

    static QByteArray read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// The status line and a target that cannot be written are checked with the host's window.
TEST_F(DataExportModule, WritesTheIntervalAsCsvAndACancelledDialogLeavesTheExistingFileIntact) {
    testsupport::Dialogs::chooseFile(path);
    call(nullptr, records(3, 25)); // hour level: 01:00 on the 2nd
    EXPECT_EQ(read(path), QByteArray("Time,Voltage L1 (V),\"Current, L1 (A)\"\r\n"
                                     "2024-03-02T01:00:00,232.01,\r\n"));
    EXPECT_TRUE(testsupport::Messages::shown().empty());

    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("user data");
    }
    call(nullptr, records(4, 0)); // no handler queued: the dialog is cancelled
    EXPECT_EQ(testsupport::Dialogs::runs(), 2);
    EXPECT_EQ(read(path), QByteArray("user data"));
    EXPECT_EQ(QDir(testsupport::scratchDirectory()).entryList(QDir::Files), QStringList{"export.csv"});
}

} // namespace
