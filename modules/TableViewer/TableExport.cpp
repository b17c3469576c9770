#include "TableExport.h"

#include "Feedback.h"
#include "Textos.h"
#include "UserInteraction.h"

#include <QDir>
#include <QLocale>

QString exportTableWithFeedback(QWidget* owner, const QString& path, const RecordTable& table) {
    const QString shownPath = QDir::toNativeSeparators(path);
    const QString rows = rowCountText(table.rowCount());
    QString error;
    RecordData::WriteResult result = RecordData::WriteResult::Failed;
    {
        host::Progress progress(owner, Texto(TXT_DE_WRITING).arg(rows, shownPath), table.rowCount(),
                                Texto(TXT_CANCEL));
        result = RecordData::writeCsv(path, table, &error,
                                      [&progress](int done) { return progress.advance(done); });
    }
    QString status;
    switch (result) {
    case RecordData::WriteResult::Failed:
        host::MessageService::show(owner, Texto(TXT_ERROR), Texto(TXT_DE_WRITE_FAILED).arg(path, error),
                                   host::MessageIcon::Error);
        return {};
    case RecordData::WriteResult::Cancelled:
        status = Texto(TXT_DE_CANCELLED).arg(shownPath);
        break;
    case RecordData::WriteResult::Written:
        status = Texto(TXT_DE_DONE).arg(rows, shownPath);
        break;
    }
    host::showStatus(owner, status);
    return status;
}

QString rowCountText(int rows) {
    return rows == 1 ? Texto(TXT_TV_ONE_ROW)
                     : Texto(TXT_TV_ROWS).arg(QLocale(QLocale::English).toString(rows));
}
