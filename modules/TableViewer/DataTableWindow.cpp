#include "DataTableWindow.h"

#include "Feedback.h"
#include "TableExport.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

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
                         new QTableWidgetItem(RecordData::displayTime(m_data.times[static_cast<size_t>(r)])));
        for (int c = 0; c < m_data.seriesCount(); ++c) {
            auto* item = new QTableWidgetItem(
                RecordData::displayValue(m_data.columns[static_cast<size_t>(c)][static_cast<size_t>(r)],
                                         m_data.series[static_cast<size_t>(c)].decimals));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(r, c + 1, item);
        }
    }
    m_table->setUpdatesEnabled(true);
    // Sized on the first rows and the headers: measuring every row of a long recording is slow.
    m_table->horizontalHeader()->setResizeContentsPrecision(500);
    m_table->resizeColumnsToContents();

    const auto addAction = [this](int text, const char* name, QKeySequence keys,
                                  void (DataTableWindow::*slot)()) {
        auto* a = new QAction(Texto(text), m_table);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(a, &QAction::triggered, this, slot);
        m_table->addAction(a);
    };
    addAction(TXT_TV_COPY, "CopyRows", QKeySequence::Copy, &DataTableWindow::copySelection);
    addAction(TXT_TV_EXPORT, "ExportRows", QKeySequence(), &DataTableWindow::exportCsv);
    addAction(TXT_TV_PRINT, "PrintRows", QKeySequence(), &DataTableWindow::print);
    m_table->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto* status = new QLabel(rowCountText(m_data.rowCount()), this);
    status->setObjectName(QStringLiteral("RowCount"));
    m_status = status;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_table, 1);
    layout->addWidget(status);
    resize(std::min(900, 140 + 120 * m_data.seriesCount()), 480);
}

QString DataTableWindow::selectionText() const {
    const QList<QTableWidgetSelectionRange> ranges = m_table->selectedRanges();
    QStringList lines;
    const auto row = [this](int r, int left, int right) {
        QStringList cells;
        for (int c = left; c <= right; ++c) {
            const QTableWidgetItem* item = m_table->item(r, c);
            cells << (item ? item->text() : QString());
        }
        return cells.join(QLatin1Char('\t'));
    };
    if (ranges.isEmpty()) {
        for (int r = 0; r < m_table->rowCount(); ++r)
            lines << row(r, 0, m_table->columnCount() - 1);
    }
    for (const QTableWidgetSelectionRange& range : ranges)
        for (int r = range.topRow(); r <= range.bottomRow(); ++r)
            lines << row(r, range.leftColumn(), range.rightColumn());
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void DataTableWindow::copySelection() {
    QString text;
    {
        host::WaitCursor wait; // a whole long recording takes a moment
        text = selectionText();
        QApplication::clipboard()->setText(text);
    }
    const QString status =
        Texto(TXT_TV_COPIED).arg(rowCountText(static_cast<int>(text.count(QLatin1Char('\n')))));
    m_status->setText(status);
    host::showStatus(this, status);
}

void DataTableWindow::exportCsv() {
    QFileDialog dialog(this, Texto(TXT_DE_CAPTION), QString(), Texto(TXT_DE_FILTER));
    dialog.setObjectName(QStringLiteral("ExportFile"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (host::DialogRunner::exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString status = exportTableWithFeedback(this, dialog.selectedFiles().constFirst(), m_data);
    if (!status.isEmpty())
        m_status->setText(status);
}

void DataTableWindow::print() {
    QPrinter printer;
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // No printer here: the table goes to a PDF file instead.
        QFileDialog dialog(this, Texto(TXT_TV_PRINT).remove(QLatin1Char('&')), QString(),
                           Texto(TXT_TV_PDF_FILTER));
        dialog.setObjectName(QStringLiteral("PrintFile"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        if (host::DialogRunner::exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dialog.selectedFiles().constFirst());
    } else {
        QPrintDialog dialog(&printer, this);
        if (host::DialogRunner::exec(dialog) != QDialog::Accepted)
            return;
    }
    host::WaitCursor wait;
    QString html = QStringLiteral("<h3>%1</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr>")
                       .arg(windowTitle().toHtmlEscaped());
    for (int c = 0; c < m_table->columnCount(); ++c)
        html += QStringLiteral("<th>%1</th>").arg(m_table->horizontalHeaderItem(c)->text().toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (int r = 0; r < m_table->rowCount(); ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < m_table->columnCount(); ++c) {
            const QTableWidgetItem* item = m_table->item(r, c);
            html += QStringLiteral("<td align=\"%1\">%2</td>")
                        .arg(c == 0 ? QStringLiteral("left") : QStringLiteral("right"),
                             item ? item->text().toHtmlEscaped() : QString());
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    QTextDocument document;
    document.setHtml(html);
    document.print(&printer);
}
