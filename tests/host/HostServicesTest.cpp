#include "HostDirectory.h"
#include "ModuleLoader.h"
#include "TestEnvironment.h"
#include "UserInteraction.h"

#include <QApplication>
#include <QDialog>
#include <QLibrary>

#include <gtest/gtest.h>

namespace {

TEST(HostDirectory, ResolvesAgainstTheRedirectedFoldersAndAMissingModuleFailsCleanly) {
    host::HostDirectory::setDataDirectory(QStringLiteral("/tmp/kestramon-host"));
    EXPECT_EQ(host::HostDirectory::resolveData(QStringLiteral("FILTROS.NRM")),
              QStringLiteral("/tmp/kestramon-host/FILTROS.NRM"));
    host::HostDirectory::setModuleDirectory(QStringLiteral("/opt/kestramon"));
    EXPECT_EQ(host::HostDirectory::resolveModule(QStringLiteral("PlotCore.vlk")),
              QStringLiteral("/opt/kestramon/PlotCore.vlk"));
    host::HostDirectory::setModuleDirectory(QString());
    QString error;
    EXPECT_EQ(host::loadModule(QStringLiteral("NoSuchModule.vlk"), &error), nullptr);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(host::resolveEntry(nullptr, "_DameObjeto"), nullptr);
}

// Batch runs and tests must never wait for a person: messages, dialogs and help all go through
// handlers the host can replace.
TEST(UserInteraction, MessagesDialogsAndHelpGoThroughTheirHandlers) {
    testsupport::Messages::answerNext(host::MessageAnswer::Yes);
    for (host::MessageAnswer expected : {host::MessageAnswer::Yes, host::MessageAnswer::No})
        EXPECT_EQ(host::MessageService::show(nullptr, QStringLiteral("Warning"), QStringLiteral("Replace?"),
                                             host::MessageIcon::Warning, host::MessageButtons::YesNo),
                  expected);
    EXPECT_EQ(testsupport::Messages::count(QStringLiteral("Replace?")), 2);
    EXPECT_EQ(testsupport::Messages::shown()[0].icon, host::MessageIcon::Warning);

    QDialog dialog;
    EXPECT_EQ(host::DialogRunner::exec(dialog), QDialog::Rejected);
    testsupport::Dialogs::handleNext([](QDialog& d) {
        d.setWindowTitle(QStringLiteral("seen"));
        return static_cast<int>(QDialog::Accepted);
    });
    EXPECT_EQ(host::DialogRunner::exec(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("seen"));
    EXPECT_EQ(testsupport::Dialogs::runs(), 2);

    host::HelpService::show(55);
    EXPECT_EQ(testsupport::helpRequests(), std::vector<int>{55});
}

TEST(UserInteraction, WaitCursorRestoresThePreviousCursor) {
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    {
        host::WaitCursor outer;
        {
            host::WaitCursor inner;
            ASSERT_NE(QApplication::overrideCursor(), nullptr);
        }
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
