#include "ModuleLoader.h"

#include "HostDirectory.h"

#include <QFileInfo>
#include <QLibrary>

namespace host {

std::unique_ptr<QLibrary> loadModule(const QString& fileName, QString* error) {
    const QString path = QFileInfo(fileName).isAbsolute() ? fileName : HostDirectory::resolveModule(fileName);
    auto library = std::make_unique<QLibrary>(path);
    library->setLoadHints(QLibrary::PreventUnloadHint);
    if (!library->load()) {
        if (error)
            *error = library->errorString();
        return nullptr;
    }
    return library;
}

void* resolveEntry(QLibrary* library, const char* name) {
    if (library == nullptr || !library->isLoaded())
        return nullptr;
    return reinterpret_cast<void*>(library->resolve(name));
}

} // namespace host
