#include "ChartTestFixture.h"

#include "ModuleLoader.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

// Loading the charting library the way the engine does, and what happens when it is missing.

TEST(ChartModule, MissingLibraryGivesNullAndAReason) {
    QString error;
    auto library = host::loadModule(QStringLiteral("Pegrp32c-missing.so"), &error);
    EXPECT_EQ(library, nullptr);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(host::resolveEntry(nullptr, "PEcreate"), nullptr);
}

// Every entry point resolving is the chart fixture's precondition, through the engine's binding.
TEST(ChartModule, UnknownNamesAndInternalsDoNotResolve) {
    auto library = host::loadModule(QString::fromLatin1(kChartingLibraryFile));
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(host::resolveEntry(library.get(), "PEnotthere"), nullptr);
    // Internals stay private to the module.
    EXPECT_EQ(host::resolveEntry(library.get(), "_ZN8chartlib11ChartWidget12reinitializeEv"), nullptr);
}

TEST(ChartModule, TheBareNameFindsTheModuleWithItsPlatformSuffix) {
    // The engine asks for the name without the suffix.
    auto library = host::loadModule(QString::fromLatin1(kChartingLibrary));
    ASSERT_NE(library, nullptr);
    EXPECT_NE(host::resolveEntry(library.get(), "PEcreate"), nullptr);
}

TEST(ChartModule, AFileThatIsNotALibraryIsRefused) {
    const QString path = QDir(testsupport::scratchDirectory()).filePath(QStringLiteral("Pegrp32c.so"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a shared object");
    file.close();
    QString error;
    EXPECT_EQ(host::loadModule(path, &error), nullptr);
    EXPECT_FALSE(error.isEmpty());
}

class ChartHandles : public ChartTest {};

TEST_F(ChartHandles, OnlyTheGraphObjectTypeIsCreated) {
    PERect rect{0, 0, 100, 100};
    EXPECT_EQ(api().PEcreate(305, 0, &rect, m_parent.get(), 1), nullptr);
    HPE other = api().PEcreate(304, 0, nullptr, m_parent.get(), 1);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->parentWidget(), m_parent.get());
    EXPECT_EQ(api().PEdestroy(other), 1);
}

TEST_F(ChartHandles, StaleAndForeignHandlesFailWithoutTouchingMemory) {
    QWidget foreign;
    EXPECT_EQ(api().PEnset(&foreign, PEP_SUBSETS, 2), 0);
    EXPECT_EQ(api().PEreinitialize(&foreign), 0);
    EXPECT_EQ(api().PEdestroy(nullptr), 0);

    HPE child = api().PEcreate(304, 0, nullptr, m_parent.get(), 1);
    ASSERT_NE(child, nullptr);
    delete child; // the parent window freed it without PEdestroy
    EXPECT_EQ(api().PEnset(child, PEP_SUBSETS, 2), 0);
    EXPECT_EQ(api().PEdestroy(child), 0);
}
