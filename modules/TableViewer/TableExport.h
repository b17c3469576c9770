#pragma once

#include "RecordData.h"

#include <QString>

class QWidget;

// Writes a table to a CSV file as the user asked for it from a window: a progress dialog with
// Cancel while the rows are written, an error message when the file cannot be written, and on
// the host's status bar what happened. Returns the text shown on the status bar (empty after a
// failure).
QString exportTableWithFeedback(QWidget* owner, const QString& path, const RecordTable& table);

// "1 row", "302,400 rows": how the table's messages count rows.
QString rowCountText(int rows);
