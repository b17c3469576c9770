#pragma once

#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace host {

// Every message box, modal dialog and help request of the system goes through these small
// services, so a test (or a headless run) can answer them without a person.

enum class MessageIcon { None, Error, Warning, Information, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct Message {
    QString title;
    QString text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    // The button a run without a person takes.
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
};

class MessageService {
public:
    using Handler = std::function<MessageAnswer(const Message&)>;

    // `defaultAnswer` is the default button (Yes unless told otherwise for a question).
    static MessageAnswer show(QWidget* parent, const QString& title, const QString& text, MessageIcon icon,
                              MessageButtons buttons = MessageButtons::Ok,
                              MessageAnswer defaultAnswer = MessageAnswer::Yes);
    // An empty handler restores the real message boxes.
    static void setHandler(Handler handler);
};

class DialogRunner {
public:
    // Receives the dialog about to run modally and returns its result code
    // (QDialog::Accepted or QDialog::Rejected); it may fill the dialog's controls first.
    using Handler = std::function<int(QDialog&)>;

    static int exec(QDialog& dialog);
    static void setHandler(Handler handler);
};

// A run without a person (--render, --report, imports): every message is written to standard
// error as "Title: text" and answered with its default button; every modal dialog run through
// DialogRunner returns at once with its defaults (QDialog::Accepted, or the int held in the
// dialog's "batchResult" property when it has one).
class BatchMode {
public:
    static void enable();
    static bool active();
    // The result a dialog takes in a batch run.
    static int dialogResult(const QDialog& dialog);
};

class HelpService {
public:
    using Handler = std::function<void(int context)>;
    static void show(int context);
    static void setHandler(Handler handler);
};

// Shows the wait cursor for its lifetime and restores the previous cursor afterwards.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_active = false;
};

} // namespace host
