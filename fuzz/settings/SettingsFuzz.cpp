// The settings on hostile text: the value parser ("dword:" and "sz:") on the input as one
// value and, when the input has more than one line, the input as a whole settings file read,
// repaired with defaults and written back. A value that parses must come back the same once
// formatted, and a default written back must read back.

#include "FuzzFolder.h"
#include "SettingsStore.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

const QString& iniPath() {
    static const QString path =
        QString::fromStdString(fuzzFolder("settings")) + QStringLiteral("/settings.ini");
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString value = QString::fromUtf8(bytes);
    if (const auto i = host::SettingsStore::parseInt(value)) {
        if (host::SettingsStore::formatInt(*i).compare(value, Qt::CaseInsensitive) != 0)
            std::abort();
    }
    if (const auto s = host::SettingsStore::parseString(value)) {
        if (host::SettingsStore::formatString(*s) != value)
            std::abort();
    }
    // Files cost a lot more than values; one-line inputs stay values only.
    if (!bytes.contains('\n'))
        return 0;
    {
        QFile f(iniPath());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(bytes);
    }
    host::SettingsStore::setLocation(iniPath());
    auto key = host::SettingsKey::openOrCreate();
    if (!key)
        return 0;
    for (const char* name :
         {"Color1", "Tipo12", "Desk Color", "Main Font", "PASOS", "ARMONICOS/SELECCIONADO"}) {
        const QString n = QString::fromLatin1(name);
        const qint32 read = key->readIntWithDefault(n, 7);
        if (key->readInt(n) != read)
            std::abort();
    }
    const QString text = key->readStringWithDefault(QStringLiteral("Recent"), QStringLiteral("a,b=c;d"));
    if (key->readString(QStringLiteral("Recent")) != text)
        std::abort();
    key->sync();
    return 0;
}
