#include "HostDirectory.h"
#include "ModuleLoader.h"
#include "TestEnvironment.h"
#include "UserInteraction.h"

#include <QApplication>
#include <QDialog>
#include <QLibrary>

#include <gtest/gtest.h>

namespace {

TEST(HostDirectory, ResolvesDataFilesAgainstTheRedirectedFolder) {
    host::HostDirectory::setDataDirectory(QStringLiteral("/tmp/kestramon-host"));
    EXPECT_EQ(host::HostDirectory::resolveData(QStringLiteral("FILTROS.NRM")),
              QStringLiteral("/tmp/kestramon-host/FILTROS.NRM"));
    host::HostDirectory::setModuleDirectory(QStringLiteral("/opt/kestramon"));
    EXPECT_EQ(host::HostDirectory::resolveModule(QStringLiteral("PlotCore.vlk")),
              QStringLiteral("/opt/kestramon/PlotCore.vlk"));
    host::HostDirectory::setModuleDirectory(QString());
}

TEST(ModuleLoader, MissingModuleIsACleanFailure) {
    QString error;
    EXPECT_EQ(host::loadModule(QStringLiteral("NoSuchModule.vlk"), &error), nullptr);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(host::resolveEntry(nullptr, "_DameObjeto"), nullptr);
}

TEST(UserInteraction, MessagesAreRecordedAndQuestionsAnswered) {
    testsupport::Messages::answerNext(host::MessageAnswer::Yes);
    EXPECT_EQ(host::MessageService::show(nullptr, QStringLiteral("Warning"), QStringLiteral("Replace?"),
                                         host::MessageIcon::Warning, host::MessageButtons::YesNo),
              host::MessageAnswer::Yes);
    EXPECT_EQ(host::MessageService::show(nullptr, QStringLiteral("Warning"), QStringLiteral("Replace?"),
                                         host::MessageIcon::Warning, host::MessageButtons::YesNo),
              host::MessageAnswer::No);
    ASSERT_EQ(testsupport::Messages::shown().size(), 2u);
    EXPECT_EQ(testsupport::Messages::count(QStringLiteral("Replace?")), 2);
    EXPECT_EQ(testsupport::Messages::shown()[0].icon, host::MessageIcon::Warning);
}

TEST(UserInteraction, DialogsRunThroughTheHandler) {
    QDialog dialog;
    EXPECT_EQ(host::DialogRunner::exec(dialog), QDialog::Rejected);
    testsupport::Dialogs::handleNext([](QDialog& d) {
        d.setWindowTitle(QStringLiteral("seen"));
        return static_cast<int>(QDialog::Accepted);
    });
    EXPECT_EQ(host::DialogRunner::exec(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("seen"));
    EXPECT_EQ(testsupport::Dialogs::runs(), 2);
}

TEST(UserInteraction, HelpRequestsReachTheHost) {
    host::HelpService::show(55);
    ASSERT_EQ(testsupport::helpRequests().size(), 1u);
    EXPECT_EQ(testsupport::helpRequests()[0], 55);
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
