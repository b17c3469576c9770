#include "ChartTestFixture.h"

#include "ModuleLoader.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

// Loading the charting library the way the engine does, and what happens when it is missing.
// Every entry point resolving is the chart fixture's precondition, through the engine's binding.

TEST(ChartModule, TheBareNameLoadsAndUnknownNamesAndInternalsDoNotResolve) {
    // The engine asks for the name without the platform's suffix.
    auto library = host::loadModule(QString::fromLatin1(kChartingLibrary));
    ASSERT_NE(library, nullptr);
    EXPECT_NE(host::resolveEntry(library.get(), "PEcreate"), nullptr);
    EXPECT_EQ(host::resolveEntry(library.get(), "PEnotthere"), nullptr);
    // Internals stay private to the module.
    EXPECT_EQ(host::resolveEntry(library.get(), "_ZN8chartlib11ChartWidget12reinitializeEv"), nullptr);
    EXPECT_EQ(host::resolveEntry(nullptr, "PEcreate"), nullptr);
}

TEST(ChartModule, AMissingLibraryOrAFileThatIsNotOneGivesNullAndAReason) {
    const QString path = QDir(testsupport::scratchDirectory()).filePath(QStringLiteral("Pegrp32c.so"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a shared object");
    file.close();
    for (const QString& name : {QStringLiteral("Pegrp32c-missing.so"), path}) {
        QString error;
        EXPECT_EQ(host::loadModule(name, &error), nullptr) << name.toStdString();
        EXPECT_FALSE(error.isEmpty()) << name.toStdString();
    }
}

class ChartHandles : public ChartTest {};

TEST_F(ChartHandles, OnlyTheGraphTypeIsCreatedAndStaleOrForeignHandlesFailWithoutTouchingMemory) {
    PERect rect{0, 0, 100, 100};
    EXPECT_EQ(api().PEcreate(305, 0, &rect, m_parent.get(), 1), nullptr);
    HPE other = api().PEcreate(304, 0, nullptr, m_parent.get(), 1);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->parentWidget(), m_parent.get());
    EXPECT_EQ(api().PEdestroy(other), 1);

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
