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
    if (!file.isEmpty())
        return std::make_shared<QSettings>(file, QSettings::IniFormat);
    return std::make_shared<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VORTELIA"),
                                       QStringLiteral("KESTRAMON"));
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

std::optional<qint32> SettingsKey::readInt(const QString& name) const {
    const QVariant v = m_settings->value(fullName(name));
    if (!v.isValid())
        return std::nullopt;
    const QString text = v.toString();
    if (!text.startsWith(kIntPrefix) || text.size() != kIntPrefix.size() + 8)
        return std::nullopt;
    bool ok = false;
    const quint32 raw = text.mid(kIntPrefix.size()).toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return static_cast<qint32>(raw);
}

std::optional<QString> SettingsKey::readString(const QString& name) const {
    const QVariant v = m_settings->value(fullName(name));
    if (!v.isValid())
        return std::nullopt;
    const QString text = v.toString();
    if (!text.startsWith(kStringPrefix))
        return std::nullopt;
    return text.mid(kStringPrefix.size());
}

void SettingsKey::writeInt(const QString& name, qint32 value) {
    m_settings->setValue(fullName(name), kIntPrefix + QStringLiteral("%1").arg(static_cast<quint32>(value), 8,
                                                                               16, QLatin1Char('0')));
}

void SettingsKey::writeString(const QString& name, const QString& value) {
    m_settings->setValue(fullName(name), kStringPrefix + value);
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
    m_settings->remove(fullName(name));
}

bool SettingsKey::deleteSubKey(const QString& name) {
    m_settings->beginGroup(fullName(name));
    const bool existed = !m_settings->allKeys().isEmpty();
    m_settings->endGroup();
    m_settings->remove(fullName(name));
    return existed;
}

bool SettingsKey::sync() {
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace host
