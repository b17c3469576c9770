#pragma once

#include <QString>

#include <memory>
#include <optional>

class QSettings;

namespace host {

// The per-user settings of the product (the key Software\VORTELIA\KESTRAMON and its subkeys),
// kept with QSettings: the registry on Windows, an INI file in the user's configuration
// folder elsewhere.
//
// Values are 32-bit integers or strings and keep their type: in the INI file an integer is
// written "dword:0000000a" and a string "sz:text". A value of the other type, or one that
// cannot be parsed, reads as missing.
//
// Changes are written to the file once per change set: all keys opened from one
// openOrCreate share their pending changes, which reach the file at sync() or when the last
// copy closes, through a temporary file renamed over the old one; writing a value that is
// already stored is no change at all.
class SettingsStore {
public:
    // Redirects the store to an INI file (tests, portable installs); an empty path goes back
    // to the default, which the environment variable KESTRAMON_SETTINGS can also set.
    static void setLocation(const QString& iniFile);
    static QString location();

    // The stored forms of the two value types; parsing answers nothing for anything else.
    static std::optional<qint32> parseInt(const QString& stored);
    static std::optional<QString> parseString(const QString& stored);
    static QString formatInt(qint32 value);
    static QString formatString(const QString& value);
};

// An open key: the product key itself (empty path) or a subkey path below it, with "/"
// between levels ("ARMONICOS", "PROPIEDADESEH").
class SettingsKey {
public:
    // Opens the key, creating it when missing; `createdAnew` tells whether it held nothing
    // before. Returns nothing when the store cannot be written (defaults then stay in force).
    static std::optional<SettingsKey> openOrCreate(const QString& subKey = QString(),
                                                   bool* createdAnew = nullptr);

    SettingsKey(const SettingsKey&);
    SettingsKey& operator=(const SettingsKey&);
    SettingsKey(SettingsKey&&) noexcept;
    SettingsKey& operator=(SettingsKey&&) noexcept;
    ~SettingsKey();

    const QString& path() const { return m_path; }

    std::optional<qint32> readInt(const QString& name) const;
    std::optional<QString> readString(const QString& name) const;
    void writeInt(const QString& name, qint32 value);
    void writeString(const QString& name, const QString& value);
    // Reads a value and writes it back: the value read, or `fallback` when it was missing.
    qint32 readIntWithDefault(const QString& name, qint32 fallback);
    QString readStringWithDefault(const QString& name, const QString& fallback);
    bool contains(const QString& name) const;
    void removeValue(const QString& name);
    // Deletes a subkey with every value and subkey under it; true when it existed.
    bool deleteSubKey(const QString& name);
    // Writes pending changes to the store (also done when the last copy of the key closes).
    bool sync();

private:
    SettingsKey(std::shared_ptr<QSettings> settings, QString path);
    QString fullName(const QString& name) const;
    void store(const QString& name, const QString& text);

    std::shared_ptr<QSettings> m_settings;
    QString m_path;
};

} // namespace host
