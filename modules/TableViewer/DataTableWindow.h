#pragma once

#include "RecordData.h"

#include <QWidget>

class QLabel;
class QTableWidget;

// A window listing a table of record data: a time column and one column per series. It owns
// its copy of the data and frees itself when closed.
class DataTableWindow : public QWidget {
    Q_OBJECT
public:
    explicit DataTableWindow(RecordTable table, QWidget* parent = nullptr);

    // getters:
    QTableWidget* table() const { return m_table; }
    const RecordTable& data() const { return m_data; }
    // The selected cells as tab-separated text, one line per row, ready for a spreadsheet.
    QString selectionText() const;

    // Copies the selection (every row when nothing is selected) to the clipboard.
    void copySelection();
    // Asks for a file and writes the whole table there as CSV.
    void exportCsv();
    // Prints the table; to a PDF file when the system has no printer.
    void print();

private:
    RecordTable m_data;
    QTableWidget* m_table = nullptr;
    QLabel* m_status = nullptr;
};
