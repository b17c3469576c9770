#include "DataTableWindow.h"

#include "Textos.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

DataTableWindow::DataTableWindow(RecordTable table, QWidget* parent)
    : QWidget(parent), m_data(std::move(table)), m_table(new QTableWidget(this)) {
    setObjectName(QStringLiteral("DataTable"));
    setAttribute(Qt::WA_DeleteOnClose);
    QStringList names;
    QStringList headers{Texto(TXT_TV_TIME)};
    for (const SeriesData& s : m_data.series) {
        names << s.name;
        headers << (s.unit.isEmpty() ? s.name : QStringLiteral("%1\n(%2)").arg(s.name, s.unit));
    }
    setWindowTitle(Texto(TXT_TV_CAPTION).arg(names.join(QStringLiteral(", "))));

    m_table->setObjectName(QStringLiteral("Rows"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setRowCount(m_data.rowCount());
    m_table->setColumnCount(1 + m_data.seriesCount());
    m_table->setHorizontalHeaderLabels(headers);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->setUpdatesEnabled(false);
    for (int r = 0; r < m_data.rowCount(); ++r) {
        m_table->setItem(r, 0,
                         new QTableWidgetItem(RecordData::timeText(m_data.times[static_cast<size_t>(r)])));
        for (int c = 0; c < m_data.seriesCount(); ++c) {
            auto* item = new QTableWidgetItem(
                RecordData::valueText(m_data.columns[static_cast<size_t>(c)][static_cast<size_t>(r)]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(r, c + 1, item);
        }
    }
    m_table->setUpdatesEnabled(true);
    m_table->resizeColumnsToContents();

    auto* status = new QLabel(Texto(TXT_TV_ROWS).arg(m_data.rowCount()), this);
    status->setObjectName(QStringLiteral("RowCount"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_table, 1);
    layout->addWidget(status);
    resize(std::min(900, 140 + 120 * m_data.seriesCount()), 480);
}
