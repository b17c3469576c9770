#pragma once

#include "UserInteraction.h"

#include <QString>

#include <deque>
#include <functional>
#include <ostream>
#include <vector>

class QDialog;

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace testsupport {

// Every message shown while a test runs, in order. Questions are answered from a queue of
// answers the test gives beforehand; with an empty queue a Yes/No question is answered No.
class Messages {
public:
    static std::vector<host::Message>& shown();
    static void answerNext(host::MessageAnswer answer);
    static void clear();
    static int count(const QString& text);
};

// Modal dialogs: each run takes the next handler from a queue; with none the dialog is
// rejected. The handler may fill the dialog's controls and returns the result code.
class Dialogs {
public:
    static void handleNext(std::function<int(QDialog&)> handler);
    // The next dialog, if it is a file dialog, picks `path` and is accepted; any other is rejected.
    static void chooseFile(const QString& path);
    static int runs();
    static void clear();
};

// Help requests (F1) by context number.
std::vector<int>& helpRequests();

// Points the settings store at a new empty file and returns its path. The test main calls it
// before every test, so no test sees another's settings or the user's.
QString freshSettings();
// A private folder for the host's data files (norms, intervals), emptied before every test.
QString dataDirectory();
// A scratch folder for files a test writes.
QString scratchDirectory();

} // namespace testsupport
