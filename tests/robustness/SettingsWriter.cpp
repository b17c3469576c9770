// Writes change sets to a settings file until killed (or COUNT of them): change set N stores N in every value
// of the product key and in a value of a subkey, and "N" in a string, then ends with a sync.
// A reader that finds values of two change sets has found a torn write.

#include "SettingsStore.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fputs("usage: settings_writer FILE.ini FIRST-GENERATION [COUNT]\n", stderr);
        return 2;
    }
    host::SettingsStore::setLocation(QString::fromLocal8Bit(argv[1]));
    const long first = std::atol(argv[2]);
    const long count = argc == 4 ? std::atol(argv[3]) : -1; // -1: until killed
    for (long generation = first; count < 0 || generation < first + count; ++generation) {
        auto key = host::SettingsKey::openOrCreate();
        if (!key)
            return 1;
        for (int i = 1; i <= 24; ++i)
            key->writeInt(QStringLiteral("Value%1").arg(i), static_cast<qint32>(generation));
        key->writeInt(QStringLiteral("ARMONICOS/SELECCIONADO"), static_cast<qint32>(generation));
        key->writeString(QStringLiteral("Generation"), QString::number(generation));
        if (!key->sync())
            return 1;
    }
    return 0;
}
