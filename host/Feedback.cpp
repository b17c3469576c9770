#include "Feedback.h"

#include <QApplication>
#include <QMainWindow>
#include <QProgressDialog>
#include <QStatusBar>

#include <cstdio>

namespace host {
namespace {

int& delay() {
    static int ms = 500;
    return ms;
}

QMainWindow* mainWindowOf(QWidget* from) {
    for (QWidget* w = from; w != nullptr; w = w->parentWidget())
        if (auto* main = qobject_cast<QMainWindow*>(w))
            return main;
    // A window of its own (a table opened without the host's MDI area): the host's window.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<QMainWindow*>(w); main != nullptr && main->isVisible())
            return main;
    return nullptr;
}

} // namespace

bool showStatus(QWidget* from, const QString& text, int timeoutMs) {
    if (BatchMode::active()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(text));
        std::fflush(stderr);
        return true;
    }
    QMainWindow* main = mainWindowOf(from);
    if (main == nullptr)
        return false;
    main->statusBar()->showMessage(text, timeoutMs);
    return true;
}

Progress::Progress(QWidget* parent, const QString& label, int maximum, const QString& cancelText) {
    if (BatchMode::active() || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    m_dialog = std::make_unique<QProgressDialog>(label, cancelText, 0, qMax(1, maximum), parent);
    m_dialog->setObjectName(QStringLiteral("WorkProgress"));
    m_dialog->setWindowTitle(QApplication::applicationDisplayName());
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setMinimumDuration(delay());
    if (cancelText.isEmpty())
        m_dialog->setCancelButton(nullptr);
    m_dialog->setValue(0);
}

Progress::~Progress() = default;

bool Progress::advance(int done) {
    if (m_dialog == nullptr)
        return true;
    m_dialog->setValue(qBound(0, done, m_dialog->maximum()));
    return !m_dialog->wasCanceled();
}

void Progress::setLabel(const QString& label) {
    if (m_dialog != nullptr)
        m_dialog->setLabelText(label);
}

bool Progress::cancelled() const {
    return m_dialog != nullptr && m_dialog->wasCanceled();
}

void Progress::setShowDelay(int ms) {
    delay() = qMax(0, ms);
}

int Progress::showDelay() {
    return delay();
}

} // namespace host
