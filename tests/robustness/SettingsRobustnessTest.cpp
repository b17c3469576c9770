// Settings as a user may hand-edit them, and how often they reach the disk.

#include "Apariencia.h"
#include "SettingsStore.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include <functional>

using host::SettingsKey;
using host::SettingsStore;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The file's identity and age: a rewrite through a temporary and a rename changes both.
struct Stamp {
    ino_t inode = 0;
    time_t mtime = 0;
    bool operator==(const Stamp&) const = default;
};

Stamp stamp(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return {st.st_ino, st.st_mtime};
}

void ageFile(const QString& path) {
    const utimbuf old{1000000000, 1000000000};
    ::utime(QFile::encodeName(path).constData(), &old);
}

} // namespace

// Regression: every read of the appearance wrote the file again (37 rewrites per render).
TEST(SettingsWrites, ReadingStoredValuesWithTheirDefaultsDoesNotRewriteTheFile) {
    const QString path = SettingsStore::location();
    {
        std::optional<SettingsKey> clave;
        Apariencia::Leer(clave, 10); // first run: every default written, once
        Apariencia::LeerPasos();
    }
    ageFile(path);
    const Stamp before = stamp(path);
    for (int i = 0; i < 5; ++i) {
        std::optional<SettingsKey> clave;
        Apariencia::Leer(clave, 10);
        Apariencia::LeerPasos();
        clave->removeValue(QStringLiteral("NOT THERE"));
        clave->deleteSubKey(QStringLiteral("NOR THIS"));
        clave->sync();
    }
    EXPECT_EQ(before, stamp(path)) << "nothing changed, so nothing may be written";

    // A change is written, once, and then holds.
    Apariencia::GuardarPasos(25);
    EXPECT_NE(before, stamp(path));
    EXPECT_EQ(25, Apariencia::LeerPasos());
}

TEST(SettingsValueParser, OnlyTheExactStoredFormsParse) {
    EXPECT_EQ(10, SettingsStore::parseInt(QStringLiteral("dword:0000000a")));
    EXPECT_EQ(-1, SettingsStore::parseInt(QStringLiteral("dword:FFFFFFFF")));
    EXPECT_EQ(INT32_MIN, SettingsStore::parseInt(QStringLiteral("dword:80000000")));
    // One of each fault: a sign or prefix, a non-hex digit, a wrong length, a wrong or no type.
    for (const char* bad :
         {"dword:0x00000a", "dword:0000000g", "dword:a", "DWORD:0000000a", "sz:0000000a", ""})
        EXPECT_FALSE(SettingsStore::parseInt(QString::fromLatin1(bad)).has_value()) << bad;
    EXPECT_EQ(QStringLiteral(""), SettingsStore::parseString(QStringLiteral("sz:")));
    EXPECT_EQ(QStringLiteral("dword:1"), SettingsStore::parseString(QStringLiteral("sz:dword:1")));
    EXPECT_FALSE(SettingsStore::parseString(QStringLiteral("dword:00000001")).has_value());
    EXPECT_FALSE(SettingsStore::parseString(QStringLiteral("text")).has_value());
    for (qint32 v : {0, 1, -1, 7, INT32_MAX, INT32_MIN})
        EXPECT_EQ(v, SettingsStore::parseInt(SettingsStore::formatInt(v)));
}

// Every value the engine reads, each hand-edited into every bad form: the engine takes the
// default, writes it back in the stored form, leaves every other value alone and never fails.
namespace {

struct EngineSetting {
    QString name;
    int defaultValue;
    int validOther; // a stored value that is not the default, to tell "kept" from "defaulted"
    std::function<int(const Apariencia::Preferencias&)> read; // nullptr: read through LeerPasos
    // Font indexes are written back as read when they are numbers: a profile shared with a
    // machine that has more fonts keeps its choice; here they count as unset.
    bool keepsNumbers = false;
};

constexpr int kFonts = 10;

std::vector<EngineSetting> engineSettings() {
    const Apariencia::Preferencias d = Apariencia::Defecto();
    std::vector<EngineSetting> all;
    for (int i = 0; i < Apariencia::kMaxSeries; ++i) {
        const auto s = static_cast<size_t>(i);
        all.push_back({Apariencia::NombreColorSerie(i), d.colores[s], (d.colores[s] + 1) % 16,
                       [s](const Apariencia::Preferencias& p) { return p.colores[s]; }});
        all.push_back({Apariencia::NombreTipoLinea(i), d.tipos[s], (d.tipos[s] + 1) % 7,
                       [s](const Apariencia::Preferencias& p) { return p.tipos[s]; }});
    }
    all.push_back({Apariencia::kDeskColor, d.escritorio, 1, [](const auto& p) { return p.escritorio; }});
    all.push_back({Apariencia::kBackColor, d.fondo, 2, [](const auto& p) { return p.fondo; }});
    all.push_back({Apariencia::kTextColor, d.texto, 3, [](const auto& p) { return p.texto; }});
    all.push_back({Apariencia::kMainFont, -1, 4, [](const auto& p) { return p.fuentes[0]; }, true});
    all.push_back({Apariencia::kSubtitleFont, -1, 5, [](const auto& p) { return p.fuentes[1]; }, true});
    all.push_back({Apariencia::kLabelFont, -1, 6, [](const auto& p) { return p.fuentes[2]; }, true});
    all.push_back({Apariencia::kPasos, Apariencia::kPasosDefecto, 25, nullptr});
    return all;
}

struct BadForm {
    const char* what;
    const char* stored; // the text after "NAME=" in the file
};

const BadForm kBadForms[] = {
    {"a string where a number is expected", "sz:7"},
    {"a number without its type", "7"},
    {"a number out of range", "dword:fffffff6"},
    {"digits that are not hex", "dword:0000000z"},
    {"too few digits", "dword:7"},
    {"a list", "dword:00000001, dword:00000002"},
    {"a serialised variant", "@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\xffgarbage)"},
    {"nothing", ""},
};

QString iniKey(const QString& name) {
    return QString(name).replace(QLatin1Char(' '), QStringLiteral("%20"));
}

int readThroughEngine(const EngineSetting& s) {
    if (!s.read)
        return Apariencia::LeerPasos();
    std::optional<SettingsKey> clave;
    return s.read(Apariencia::Leer(clave, kFonts));
}

} // namespace

TEST(HandEditedSettings, EveryEngineValueInEveryBadFormFallsBackToItsDefaultAndIsRepaired) {
    const std::vector<EngineSetting> settings = engineSettings();
    for (const EngineSetting& s : settings) {
        for (const BadForm& bad : kBadForms) {
            SCOPED_TRACE(s.name.toStdString() + ": " + bad.what);
            const QString path = testsupport::freshSettings();
            {
                auto key = SettingsKey::openOrCreate();
                for (const EngineSetting& other : settings)
                    key->writeInt(other.name, other.validOther);
            }
            QByteArray text = readAll(path);
            const QRegularExpression line(
                QStringLiteral("^%1=.*$").arg(QRegularExpression::escape(iniKey(s.name))),
                QRegularExpression::MultilineOption);
            QString edited = QString::fromUtf8(text).replace(line, iniKey(s.name) + QLatin1Char('=') +
                                                                       QString::fromLatin1(bad.stored));
            // Lines no INI reader makes sense of, around the edited value.
            edited += QStringLiteral("\n=\n[\n\x01\x02garbage\nno equals sign\n[General\n%%%=%%%\n");
            writeAll(path, edited.toUtf8());

            ASSERT_NO_FATAL_FAILURE(EXPECT_EQ(s.defaultValue, readThroughEngine(s)));
            QSettings after(path, QSettings::IniFormat);
            const bool number = SettingsStore::parseInt(QString::fromLatin1(bad.stored)).has_value();
            if (!(s.keepsNumbers && number))
                EXPECT_EQ(SettingsStore::formatInt(s.defaultValue), after.value(s.name).toString())
                    << "the default is written back in the stored form";
            else
                EXPECT_EQ(QString::fromLatin1(bad.stored), after.value(s.name).toString())
                    << "a font index is written back as read";
            for (const EngineSetting& other : settings) {
                if (other.name == s.name)
                    continue;
                EXPECT_EQ(SettingsStore::formatInt(other.validOther), after.value(other.name).toString())
                    << other.name.toStdString() << " was not left alone";
            }
        }
    }
}

// Found by fuzzing: QSettings read "@Variant(...)" values, allocating whatever size the text
// claimed (60 GB here) before the store saw them.
TEST(HandEditedSettings, TypedValuesAreDroppedBeforeTheyAreRead) {
    const QString path = testsupport::freshSettings();
    writeAll(
        path,
        QByteArray::fromBase64("W0dlbmVyYWwwMDMsZCB3b3JkOjQKQFZhcmlhbnQoXDBcMFwwXHg3Zik9eApUaXBvMTI9QFZhcmlh"
                               "bnQoXDBcMFwwCXgyXDBcMFwwXHgxKQo=") +
            "[General]\nColor1=dword:00000004\nColor2=\"@ByteArray(x)\"\nColor3=a, \\x40Variant(x)\n"
            "Color4=@@literal\nColor5=sz:a@b\nColor6=\\\n@Variant(\\0)\n");
    auto key = SettingsKey::openOrCreate();
    ASSERT_TRUE(key.has_value());
    EXPECT_FALSE(key->readInt(QStringLiteral("Tipo12")).has_value());
    EXPECT_EQ(4, key->readInt(QStringLiteral("Color1")));
    EXPECT_EQ(QStringLiteral("a@b"), key->readString(QStringLiteral("Color5")))
        << "an @ inside a value is text";
    const QByteArray after = readAll(path);
    EXPECT_FALSE(after.contains("Tipo12=")) << after.toStdString();
    EXPECT_FALSE(after.contains("Color6=")) << "a typed value on a continued line" << after.toStdString();
    EXPECT_FALSE(after.contains("@ByteArray")) << after.toStdString();
    EXPECT_FALSE(after.contains("x40Variant")) << after.toStdString();
    EXPECT_TRUE(after.contains("Color4=@@literal")) << "an escaped @ is a plain string and stays";
}

TEST(SettingsWrites, TemporariesOfWritersThatDiedAreRemoved) {
    const QString path = testsupport::freshSettings();
    const QFileInfo info(path);
    const QStringList stale = {info.fileName() + QStringLiteral(".AbC123")};
    const QStringList kept = {
        info.fileName() + QStringLiteral(".lock"), info.fileName() + QStringLiteral(".bak"),
        info.fileName() + QStringLiteral(".AbC1234"), QStringLiteral("other.ini.AbC123")};
    for (const QString& name : stale + kept) {
        writeAll(info.dir().filePath(name), "partial");
        ageFile(info.dir().filePath(name));
    }
    writeAll(info.dir().filePath(info.fileName() + QStringLiteral(".NeW123")),
             "a live writer's, newer than us");
    SettingsKey::openOrCreate();
    for (const QString& name : stale)
        EXPECT_FALSE(QFile::exists(info.dir().filePath(name))) << name.toStdString();
    for (const QString& name : kept + QStringList{info.fileName() + QStringLiteral(".NeW123")})
        EXPECT_TRUE(QFile::exists(info.dir().filePath(name))) << name.toStdString();
}
