#pragma once

#include <QString>

#include <memory>

class QLibrary;

namespace host {

// Loads a run-time module by its file name from the module directory (HostDirectory).
// Returns nullptr when it cannot be loaded; `error` then says why.
//
// Modules are never unmapped while the process runs, even after unload(): a window a
// sibling module opened may outlive the handle that loaded it.
std::unique_ptr<QLibrary> loadModule(const QString& fileName, QString* error = nullptr);

// Looks an entry point up by name; nullptr when the library is null or lacks it.
void* resolveEntry(QLibrary* library, const char* name);

} // namespace host
