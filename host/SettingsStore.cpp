#include "SettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>

namespace host {
namespace {

QString& overrideLocation() {
    static QString path;
    return path;
}

// When this process started: a temporary older than that was left by a writer that died.
const QDateTime kProcessStart = QDateTime::currentDateTimeUtc();

// The per-user file of the product key. A probe under another name tells where QSettings
// keeps it without QSettings reading the file itself, which must be cleaned first.
QString defaultFile() {
    const QSettings probe(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VORTELIA"),
                          QStringLiteral("KESTRAMON-location-probe"));
    return QFileInfo(probe.fileName()).dir().filePath(QStringLiteral("KESTRAMON.ini"));
}

// QSettings turns a value written "@Variant(...)" (and its relatives, also when spelt with
// escapes) into a value of any type, allocating whatever size the text claims. We store only
// "dword:" and "sz:" text, so such a value is a hand edit: true for a value of that kind.
bool typedIniValue(QByteArrayView value) {
    bool quoted = false;
    bool elementStart = true;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (elementStart) {
            if (c == ' ' || c == '\t')
                continue;
            if (c == '"' && !quoted) {
                quoted = true;
                continue;
            }
            if (c == '@')
                return i + 1 >= value.size() || value[i + 1] != '@';
            if (c == '\\')
                return true;
            elementStart = false;
        }
        if (c == '"')
            quoted = !quoted;
        else if (c == '\\')
            ++i;
        else if (c == ',' && !quoted)
            elementStart = true;
    }
    return false;
}

// Drops typed values from the file before QSettings reads it, and removes the temporaries
// of writers that died while replacing it.
void cleanStore(const QString& file) {
    const QFileInfo info(file);
    const QRegularExpression temporary(
        QStringLiteral("^%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(info.fileName())));
    const QDir dir = info.dir();
    for (const QFileInfo& f :
         dir.entryInfoList({info.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden)) {
        if (temporary.match(f.fileName()).hasMatch() && f.lastModified().toUTC() < kProcessStart)
            QFile::remove(f.filePath());
    }

    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return;
    const QByteArray text = in.readAll();
    in.close();
    QByteArray kept;
    bool dropped = false;
    qsizetype pos = 0;
    while (pos < text.size()) {
        // One logical line: a line ending in a backslash goes on in the next.
        qsizetype end = pos;
        for (;;) {
            const qsizetype nl = text.indexOf('\n', end);
            end = nl < 0 ? text.size() : nl;
            qsizetype back = end;
            while (back > pos && (text[back - 1] == '\r'))
                --back;
            qsizetype slashes = 0;
            while (back - slashes > pos && text[back - slashes - 1] == '\\')
                ++slashes;
            if (slashes % 2 == 0 || end >= text.size())
                break;
            end = end + 1;
        }
        const QByteArrayView line(text.constData() + pos, end - pos);
        const qsizetype eq = line.indexOf('=');
        const bool section = !line.isEmpty() && line.trimmed().startsWith('[');
        if (!section && eq >= 0 && typedIniValue(line.sliced(eq + 1)))
            dropped = true;
        else
            kept += line.toByteArray() + (end < text.size() ? "\n" : "");
        pos = end + 1;
    }
    if (!dropped)
        return;
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(kept);
        out.commit();
    }
}

std::shared_ptr<QSettings> openStore() {
    const QString location = SettingsStore::location();
    const QString file = location.isEmpty() ? defaultFile() : location;
    cleanStore(file);
    auto settings = std::make_shared<QSettings>(file, QSettings::IniFormat);
    // A write goes to a temporary file renamed over the old one, never into the file itself:
    // a crash mid-write leaves the old settings whole.
    settings->setAtomicSyncRequired(true);
    return settings;
}

const QString kIntPrefix = QStringLiteral("dword:");
const QString kStringPrefix = QStringLiteral("sz:");

} // namespace

void SettingsStore::setLocation(const QString& iniFile) {
    overrideLocation() = iniFile;
}

QString SettingsStore::location() {
    if (!overrideLocation().isEmpty())
        return overrideLocation();
    return qEnvironmentVariable("KESTRAMON_SETTINGS");
}

SettingsKey::SettingsKey(std::shared_ptr<QSettings> settings, QString path)
    : m_settings(std::move(settings)), m_path(std::move(path)) {}

SettingsKey::SettingsKey(const SettingsKey&) = default;
SettingsKey& SettingsKey::operator=(const SettingsKey&) = default;
SettingsKey::SettingsKey(SettingsKey&&) noexcept = default;
SettingsKey& SettingsKey::operator=(SettingsKey&&) noexcept = default;
SettingsKey::~SettingsKey() = default;

std::optional<SettingsKey> SettingsKey::openOrCreate(const QString& subKey, bool* createdAnew) {
    std::shared_ptr<QSettings> settings = openStore();
    if (!settings->isWritable() || settings->status() == QSettings::AccessError) {
        if (createdAnew)
            *createdAnew = false;
        return std::nullopt;
    }
    bool empty = true;
    if (subKey.isEmpty()) {
        empty = settings->allKeys().isEmpty();
    } else {
        settings->beginGroup(subKey);
        empty = settings->allKeys().isEmpty();
        settings->endGroup();
    }
    if (createdAnew)
        *createdAnew = empty;
    return SettingsKey(std::move(settings), subKey);
}

QString SettingsKey::fullName(const QString& name) const {
    return m_path.isEmpty() ? name : m_path + QLatin1Char('/') + name;
}

std::optional<qint32> SettingsStore::parseInt(const QString& stored) {
    // Exactly eight hex digits: no sign, no "0x", no spaces, nothing that only looks close.
    if (!stored.startsWith(kIntPrefix) || stored.size() != kIntPrefix.size() + 8)
        return std::nullopt;
    quint32 raw = 0;
    for (qsizetype i = kIntPrefix.size(); i < stored.size(); ++i) {
        const char16_t c = stored.at(i).unicode();
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return std::nullopt;
        raw = (raw << 4) | static_cast<quint32>(digit);
    }
    return static_cast<qint32>(raw);
}

std::optional<QString> SettingsStore::parseString(const QString& stored) {
    if (!stored.startsWith(kStringPrefix))
        return std::nullopt;
    return stored.mid(kStringPrefix.size());
}

QString SettingsStore::formatInt(qint32 value) {
    return kIntPrefix + QStringLiteral("%1").arg(static_cast<quint32>(value), 8, 16, QLatin1Char('0'));
}

QString SettingsStore::formatString(const QString& value) {
    return kStringPrefix + value;
}

namespace {
// A hand-edited value with a comma reads back as a list, which is not a value of ours.
std::optional<QString> storedText(const QSettings& settings, const QString& key) {
    const QVariant v = settings.value(key);
    if (!v.isValid() || v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString();
}
} // namespace

std::optional<qint32> SettingsKey::readInt(const QString& name) const {
    const std::optional<QString> text = storedText(*m_settings, fullName(name));
    return text ? SettingsStore::parseInt(*text) : std::nullopt;
}

std::optional<QString> SettingsKey::readString(const QString& name) const {
    const std::optional<QString> text = storedText(*m_settings, fullName(name));
    return text ? SettingsStore::parseString(*text) : std::nullopt;
}

void SettingsKey::store(const QString& name, const QString& text) {
    // Writing back what is stored changes nothing, so it must not make the file be rewritten:
    // every read with a default writes its value back.
    if (storedText(*m_settings, fullName(name)) == text)
        return;
    m_settings->setValue(fullName(name), text);
}

void SettingsKey::writeInt(const QString& name, qint32 value) {
    store(name, SettingsStore::formatInt(value));
}

void SettingsKey::writeString(const QString& name, const QString& value) {
    store(name, SettingsStore::formatString(value));
}

qint32 SettingsKey::readIntWithDefault(const QString& name, qint32 fallback) {
    const qint32 value = readInt(name).value_or(fallback);
    writeInt(name, value);
    return value;
}

QString SettingsKey::readStringWithDefault(const QString& name, const QString& fallback) {
    const QString value = readString(name).value_or(fallback);
    writeString(name, value);
    return value;
}

bool SettingsKey::contains(const QString& name) const {
    return m_settings->contains(fullName(name));
}

void SettingsKey::removeValue(const QString& name) {
    if (m_settings->contains(fullName(name)))
        m_settings->remove(fullName(name));
}

bool SettingsKey::deleteSubKey(const QString& name) {
    m_settings->beginGroup(fullName(name));
    const bool existed = !m_settings->allKeys().isEmpty();
    m_settings->endGroup();
    if (existed)
        m_settings->remove(fullName(name));
    return existed;
}

bool SettingsKey::sync() {
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace host
