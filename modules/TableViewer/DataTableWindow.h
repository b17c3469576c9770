#pragma once

#include "RecordData.h"

#include <QWidget>

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

private:
    RecordTable m_data;
    QTableWidget* m_table = nullptr;
};
