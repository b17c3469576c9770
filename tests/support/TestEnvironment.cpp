#include "TestEnvironment.h"

#include "HostDirectory.h"
#include "SettingsStore.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>

#include <algorithm>

namespace testsupport {
namespace {

struct State {
    std::vector<host::Message> messages;
    std::deque<host::MessageAnswer> answers;
    std::deque<std::function<int(QDialog&)>> dialogs;
    int dialogRuns = 0;
    std::vector<int> help;
    int settingsCounter = 0;
};

State& state() {
    static State s;
    return s;
}

QTemporaryDir& root() {
    static QTemporaryDir dir;
    return dir;
}

} // namespace

std::vector<host::Message>& Messages::shown() {
    return state().messages;
}

void Messages::answerNext(host::MessageAnswer answer) {
    state().answers.push_back(answer);
}

void Messages::clear() {
    state().messages.clear();
    state().answers.clear();
}

int Messages::count(const QString& text) {
    return static_cast<int>(std::count_if(state().messages.begin(), state().messages.end(),
                                          [&](const host::Message& m) { return m.text == text; }));
}

void Dialogs::handleNext(std::function<int(QDialog&)> handler) {
    state().dialogs.push_back(std::move(handler));
}

void Dialogs::chooseFile(const QString& path) {
    handleNext([path](QDialog& d) {
        auto* files = qobject_cast<QFileDialog*>(&d);
        if (files == nullptr)
            return int(QDialog::Rejected);
        files->selectFile(path);
        return int(QDialog::Accepted);
    });
}

int Dialogs::runs() {
    return state().dialogRuns;
}

void Dialogs::clear() {
    state().dialogs.clear();
    state().dialogRuns = 0;
}

std::vector<int>& helpRequests() {
    return state().help;
}

QString freshSettings() {
    const QString path =
        QDir(root().path()).filePath(QStringLiteral("settings-%1.ini").arg(++state().settingsCounter));
    QFile::remove(path);
    host::SettingsStore::setLocation(path);
    return path;
}

QString dataDirectory() {
    return QDir(root().path()).filePath(QStringLiteral("hostdir"));
}

QString scratchDirectory() {
    const QString path = QDir(root().path()).filePath(QStringLiteral("scratch"));
    QDir().mkpath(path);
    return path;
}

void installHandlers() {
    // Nothing a test does may reach the real user's files (file-dialog history, caches):
    // every test program gets a home and configuration folders of its own.
    const QString home = QDir(root().path()).filePath(QStringLiteral("home"));
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/.config")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home + QStringLiteral("/.cache")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/.local/share")));
    host::MessageService::setHandler([](const host::Message& m) {
        state().messages.push_back(m);
        if (!state().answers.empty()) {
            const host::MessageAnswer a = state().answers.front();
            state().answers.pop_front();
            return a;
        }
        return m.buttons == host::MessageButtons::YesNo ? host::MessageAnswer::No : host::MessageAnswer::Ok;
    });
    host::DialogRunner::setHandler([](QDialog& dialog) {
        ++state().dialogRuns;
        if (state().dialogs.empty())
            return static_cast<int>(QDialog::Rejected);
        auto handler = std::move(state().dialogs.front());
        state().dialogs.pop_front();
        return handler(dialog);
    });
    host::HelpService::setHandler([](int context) { state().help.push_back(context); });
}

void resetForTest() {
    Messages::clear();
    Dialogs::clear();
    state().help.clear();
    freshSettings();
    QDir(dataDirectory()).removeRecursively();
    QDir().mkpath(dataDirectory());
    host::HostDirectory::setDataDirectory(dataDirectory());
}

} // namespace testsupport
