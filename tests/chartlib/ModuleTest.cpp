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

TEST(ChartModule, EveryEntryPointResolvesAndUnknownOnesDoNot) {
    auto library = host::loadModule(QString::fromLatin1(kChartingLibraryFile));
    ASSERT_NE(library, nullptr);
    for (const char* name : {"PEcreate",
                             "PEdestroy",
                             "PEnset",
                             "PEnget",
                             "PEszset",
                             "PEszget",
                             "PEvset",
                             "PEvget",
                             "PEvsetcell",
                             "PEvgetcell",
                             "PEvgetcellEx",
                             "PEreinitialize",
                             "PEresetimage",
                             "PEresetimageEx",
                             "PEprintgraph",
                             "PElaunchprintdialog",
                             "PEgetmeta",
                             "PEsavetofile",
                             "PEstorepartial",
                             "PEcreateserialdate",
                             "PEdecipherserialdate"})
        EXPECT_NE(host::resolveEntry(library.get(), name), nullptr) << name;
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
    EXPECT_EQ(api().create(305, 0, &rect, m_parent.get(), 1), nullptr);
    HPE other = api().create(304, 0, nullptr, m_parent.get(), 1);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->parentWidget(), m_parent.get());
    EXPECT_EQ(api().destroy(other), 1);
}

TEST_F(ChartHandles, StaleAndForeignHandlesFailWithoutTouchingMemory) {
    QWidget foreign;
    EXPECT_EQ(api().nset(&foreign, PEP_SUBSETS, 2), 0);
    EXPECT_EQ(api().reinitialize(&foreign), 0);
    EXPECT_EQ(api().destroy(nullptr), 0);

    HPE child = api().create(304, 0, nullptr, m_parent.get(), 1);
    ASSERT_NE(child, nullptr);
    delete child; // the parent window freed it without PEdestroy
    EXPECT_EQ(api().nset(child, PEP_SUBSETS, 2), 0);
    EXPECT_EQ(api().destroy(child), 0);
}
