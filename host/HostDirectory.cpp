#include "HostDirectory.h"

#include <QCoreApplication>
#include <QDir>

namespace host {
namespace {

QString applicationDirectory() {
    if (QCoreApplication::instance() != nullptr)
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

QString& dataOverride() {
    static QString path;
    return path;
}

QString& moduleOverride() {
    static QString path;
    return path;
}

QString pick(const QString& overridden, const char* variable) {
    if (!overridden.isEmpty())
        return overridden;
    const QString fromEnv = qEnvironmentVariable(variable);
    return fromEnv.isEmpty() ? applicationDirectory() : fromEnv;
}

} // namespace

QString HostDirectory::dataDirectory() {
    return pick(dataOverride(), "KESTRAMON_HOSTDIR");
}
void HostDirectory::setDataDirectory(const QString& path) {
    dataOverride() = path;
}
QString HostDirectory::resolveData(const QString& fileName) {
    return QDir(dataDirectory()).filePath(fileName);
}

QString HostDirectory::moduleDirectory() {
    return pick(moduleOverride(), "KESTRAMON_MODULEDIR");
}
void HostDirectory::setModuleDirectory(const QString& path) {
    moduleOverride() = path;
}
QString HostDirectory::resolveModule(const QString& fileName) {
    return QDir(moduleDirectory()).filePath(fileName);
}

} // namespace host
