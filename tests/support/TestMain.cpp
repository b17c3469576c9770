// Main of every test program: a headless application with the C locale, a private settings
// file and host directory per test, and programmatic answers to every message and dialog.

#include <QApplication>
#include <QLocale>

#include <clocale>
#include <gtest/gtest.h>

namespace testsupport {
void installHandlers();
void resetForTest();
} // namespace testsupport

namespace {
class PerTestReset : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { testsupport::resetForTest(); }
};
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
    testing::InitGoogleTest(&argc, argv);
    testsupport::installHandlers();
    testing::UnitTest::GetInstance()->listeners().Append(new PerTestReset);
    return RUN_ALL_TESTS();
}
