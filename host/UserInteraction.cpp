#include "UserInteraction.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QVariant>

#include <cstdio>

namespace host {
namespace {

MessageService::Handler& messageHandler() {
    static MessageService::Handler h;
    return h;
}

DialogRunner::Handler& dialogHandler() {
    static DialogRunner::Handler h;
    return h;
}

HelpService::Handler& helpHandler() {
    static HelpService::Handler h;
    return h;
}

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

bool& batch() {
    static bool b = false;
    return b;
}

} // namespace

MessageAnswer MessageService::show(QWidget* parent, const QString& title, const QString& text,
                                   MessageIcon icon, MessageButtons buttons, MessageAnswer defaultAnswer) {
    if (buttons == MessageButtons::Ok)
        defaultAnswer = MessageAnswer::Ok;
    const Message message{title, text, icon, buttons, defaultAnswer};
    if (messageHandler())
        return messageHandler()(message);
    QMessageBox box(toQt(icon), title, text,
                    buttons == MessageButtons::YesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                    parent);
    const int result = box.exec();
    if (buttons == MessageButtons::YesNo)
        return result == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    return MessageAnswer::Ok;
}

void MessageService::setHandler(Handler handler) {
    messageHandler() = std::move(handler);
}

int DialogRunner::exec(QDialog& dialog) {
    if (dialogHandler())
        return dialogHandler()(dialog);
    return dialog.exec();
}

void DialogRunner::setHandler(Handler handler) {
    dialogHandler() = std::move(handler);
}

void BatchMode::enable() {
    batch() = true;
    MessageService::setHandler([](const Message& m) {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(m.title), qUtf8Printable(m.text));
        std::fflush(stderr);
        return m.defaultAnswer;
    });
    DialogRunner::setHandler([](QDialog& dialog) { return dialogResult(dialog); });
}

bool BatchMode::active() {
    return batch();
}

int BatchMode::dialogResult(const QDialog& dialog) {
    const QVariant v = dialog.property("batchResult");
    return v.isValid() ? v.toInt() : static_cast<int>(QDialog::Accepted);
}

void HelpService::show(int context) {
    if (helpHandler())
        helpHandler()(context);
}

void HelpService::setHandler(Handler handler) {
    helpHandler() = std::move(handler);
}

WaitCursor::WaitCursor() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_active = true;
    }
}

WaitCursor::~WaitCursor() {
    if (m_active)
        QApplication::restoreOverrideCursor();
}

} // namespace host
