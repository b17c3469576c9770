// The data table as a user reads and takes data out of it: numbers with the variable's
// decimals, one time format, copying and printing (its export is checked with the host).

#include "DataTableWindow.h"
#include "RecordData.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPrinterInfo>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Two series over three times; the current has no value at the last one.
RecordTable sample(int voltageDecimals, int currentDecimals) {
    RecordTable t;
    SeriesData voltage;
    voltage.name = QStringLiteral("Voltage L1");
    voltage.unit = QStringLiteral("V");
    voltage.decimals = voltageDecimals;
    SeriesData current;
    current.name = QStringLiteral("Current");
    current.unit = QStringLiteral("A");
    current.decimals = currentDecimals;
    t.series = {voltage, current};
    t.times = {TTiempo(2024, 3, 3, 0, 0, 0, -1), TTiempo(2024, 3, 3, 0, 10, 0, -1),
               TTiempo(2024, 3, 3, 0, 20, 0, 250)};
    t.columns = {{230.123456789, 231.0, 229.955}, {0.1 + 0.2, 12.0, kValorNulo}};
    return t;
}

QAction* tableAction(DataTableWindow& w, const char* name) {
    return w.table()->findChild<QAction*>(QString::fromLatin1(name));
}

TEST(DataTable, NumbersShowTheVariablesDecimalsUnlessUnknownOrOutOfRangeAndTimesTheReadOutFormat) {
    DataTableWindow w(sample(2, 1));
    QTableWidget* t = w.table();
    EXPECT_EQ(t->item(2, 0)->text(), QStringLiteral("03.03.2024 00:20:00.250"));
    EXPECT_EQ(t->item(2, 1)->text(), QStringLiteral("229.96"));
    EXPECT_EQ(t->item(0, 2)->text(), QStringLiteral("0.3"));
    // clang-format off
    const struct { double value; int decimals; const char* shown; } cases[] = {
        {0.1 + 0.2, -1, "0.30000000000000004"},
        {1.0 / 3.0, 12, "0.333333333"}, // at most nine
        {2.5, 0, "2"},                  // C rounding, as the read-out
        {kValorNulo, 2, ""},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(RecordData::displayValue(c.value, c.decimals), QString::fromLatin1(c.shown)) << c.value;
    EXPECT_EQ(RecordData::displayValue(1e300, 3).left(4), QStringLiteral("1000")); // no overflow
}

TEST(DataTable, CtrlCCopiesTheSelectionAsTabSeparatedRows) {
    DataTableWindow w(sample(2, 1));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.table()->setSelectionBehavior(QAbstractItemView::SelectItems);
    w.table()->setRangeSelected(QTableWidgetSelectionRange(1, 1, 2, 2), true);
    EXPECT_EQ(w.selectionText(), QStringLiteral("231.00\t12.0\n229.96\t\n"));

    QApplication::clipboard()->clear();
    w.table()->setFocus();
    QTest::keyClick(w.table(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("231.00\t12.0\n229.96\t\n"));

    // Nothing selected: every row.
    w.table()->clearSelection();
    EXPECT_EQ(w.selectionText().count(QLatin1Char('\n')), 3);
}

TEST(DataTable, PrintWithoutAPrinterWritesAPdf) {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "a printer is installed here";
    DataTableWindow w(sample(2, 1));
    const QString path = testsupport::scratchDirectory() + QStringLiteral("/table.pdf");
    QFile::remove(path);
    testsupport::Dialogs::chooseFile(path);
    tableAction(w, "PrintRows")->trigger();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5).startsWith("%PDF"));
}

} // namespace
