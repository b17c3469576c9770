#include "SettingsStore.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using host::SettingsKey;

namespace {

TEST(SettingsStore, ProductKeyAndSubkeysAreCreatedAnewOnlyOnceAndDeletedWithAllUnderThem) {
    bool creada = false;
    auto key = SettingsKey::openOrCreate(QString(), &creada);
    ASSERT_TRUE(key.has_value());
    EXPECT_TRUE(creada);
    key->writeInt(QStringLiteral("PASOS"), 10);
    key->sync();

    auto again = SettingsKey::openOrCreate(QString(), &creada);
    ASSERT_TRUE(again.has_value());
    EXPECT_FALSE(creada);
    EXPECT_EQ(again->readInt(QStringLiteral("PASOS")), 10);
    // Separators of the file format are text inside a value.
    EXPECT_EQ(again->readStringWithDefault(QStringLiteral("NAME"), QStringLiteral("a,b=c")),
              QStringLiteral("a,b=c"));
    again->sync();
    EXPECT_EQ(SettingsKey::openOrCreate()->readString(QStringLiteral("NAME")), QStringLiteral("a,b=c"));
    // Subkeys are created separately.
    auto root = SettingsKey::openOrCreate();
    root->writeInt(QStringLiteral("Color1"), 3);
    auto sub = SettingsKey::openOrCreate(QStringLiteral("ARMONICOS"), &creada);
    ASSERT_TRUE(sub.has_value());
    EXPECT_TRUE(creada);
    sub->writeInt(QStringLiteral("SELECCIONADO"), 2);
    EXPECT_FALSE(root->readInt(QStringLiteral("SELECCIONADO")).has_value());
    EXPECT_EQ(root->readInt(QStringLiteral("ARMONICOS/SELECCIONADO")), 2);

    // Deleting a subkey removes everything under it.
    auto anidada = SettingsKey::openOrCreate(QStringLiteral("ARMONICOS/INTERNA"));
    anidada->writeInt(QStringLiteral("X"), 1);
    EXPECT_TRUE(root->deleteSubKey(QStringLiteral("ARMONICOS")));
    EXPECT_FALSE(root->deleteSubKey(QStringLiteral("THD")));
    root->sync();
    auto recreated = SettingsKey::openOrCreate(QStringLiteral("ARMONICOS"), &creada);
    EXPECT_TRUE(creada);
    EXPECT_FALSE(recreated->readInt(QStringLiteral("INTERNA/X")).has_value());
    EXPECT_EQ(root->readInt(QStringLiteral("PASOS")), 10);
}

TEST(SettingsStore, UnwritableStoreFailsToOpen) {
    const QString dir = testsupport::scratchDirectory() + QStringLiteral("/readonly");
    QDir().mkpath(dir);
    const QString path = dir + QStringLiteral("/settings.ini");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PASOS=dword:0000000a\n");
    f.close();
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    host::SettingsStore::setLocation(path);
    // Root ignores permission bits; the store is then legitimately writable.
    if (QFileInfo(path).isWritable())
        GTEST_SKIP() << "running as a user that can write anywhere";
    EXPECT_FALSE(SettingsKey::openOrCreate().has_value());
}

} // namespace
