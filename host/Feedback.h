#pragma once

#include "UserInteraction.h"

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

namespace host {

// Tells the user that a piece of work is over ("Exported 302,400 rows to x.csv"): on the status
// bar of the main window that holds `from`, or of the application's main window when `from`
// stands on its own. A run without a person writes the text to standard error instead.
// Returns whether a status bar (or standard error) took the text.
bool showStatus(QWidget* from, const QString& text, int timeoutMs = 10000);

// Feedback for work measured in steps: the wait cursor for its whole life and, once the work
// has lasted a moment, a window-modal progress dialog, with a cancel button (labelled
// `cancelText`) when the work can stop. A run without a person gets the cursor only.
class Progress {
public:
    Progress(QWidget* parent, const QString& label, int maximum, const QString& cancelText = QString());
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Reports `done` steps of the maximum. Returns false once the user has cancelled.
    bool advance(int done);
    void setLabel(const QString& label);
    bool cancelled() const;
    // The dialog, or nullptr in a run without a person.
    QProgressDialog* dialog() const { return m_dialog.get(); }

    // How long work runs before its dialog shows, in milliseconds (tests show it at once).
    static void setShowDelay(int ms);
    static int showDelay();

private:
    WaitCursor m_wait;
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace host
