#include "SettingsStore.h"

#include <QSettings>

namespace host {
namespace {

QString& overrideLocation() {
    static QString path;
    return path;
}

std::shared_ptr<QSettings> openStore() {
    const QString file = SettingsStore::location();
    auto settings = file.isEmpty()
                        ? std::make_shared<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                      QStringLiteral("VORTELIA"), QStringLiteral("KESTRAMON"))
                        : std::make_shared<QSettings>(file, QSettings::IniFormat);
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
