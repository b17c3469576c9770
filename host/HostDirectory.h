#pragma once

#include <QString>

namespace host {

// Where the host keeps its files. Both default to the host executable's directory; tests and
// read-only installs redirect them. Paths are resolved against them: the process's current
// directory is never changed.
class HostDirectory {
public:
    // Data files beside the host: FILTROS.NRM, INTERVALS.PVI, UMBRALES.PVI.
    // Environment override: KESTRAMON_HOSTDIR.
    static QString dataDirectory();
    static void setDataDirectory(const QString& path);
    static QString resolveData(const QString& fileName);

    // Run-time loaded modules: the engine, the charting library and the sibling modules.
    // Environment override: KESTRAMON_MODULEDIR.
    static QString moduleDirectory();
    static void setModuleDirectory(const QString& path);
    static QString resolveModule(const QString& fileName);
};

} // namespace host
