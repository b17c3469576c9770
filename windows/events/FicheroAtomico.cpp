#include "FicheroAtomico.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FicheroAtomico {
namespace {

std::function<void()>& gancho() {
    static std::function<void()> g;
    return g;
}

bool Fallo(QString* error, const QString& que) {
    if (error != nullptr)
        *error = QStringLiteral("%1: %2").arg(que, QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

bool EscribirTodo(int fd, const QByteArray& contenido) {
    const char* p = contenido.constData();
    qsizetype quedan = contenido.size();
    while (quedan > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(quedan));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        quedan -= n;
    }
    return true;
}

} // namespace

void PonerAntesDeRenombrar(std::function<void()> g) {
    gancho() = std::move(g);
}

bool Escribir(const QString& ruta, const QByteArray& contenido, QString* error) {
    const QFileInfo info(ruta);
    const QByteArray destino = QFile::encodeName(info.absoluteFilePath());
    const QByteArray carpeta = QFile::encodeName(info.absolutePath());
    // The temporary lives in the same folder, so the rename never crosses file systems.
    QByteArray plantilla = destino + ".XXXXXX";
    const int fd = ::mkstemp(plantilla.data());
    if (fd < 0)
        return Fallo(error, ruta);
    const auto abandonar = [&](const QString& que) {
        const int guardado = errno;
        ::close(fd);
        ::unlink(plantilla.constData());
        errno = guardado;
        return Fallo(error, que);
    };
    if (!EscribirTodo(fd, contenido))
        return abandonar(ruta);
    if (::fsync(fd) != 0)
        return abandonar(ruta);
    // mkstemp makes the file private to its owner: the new file keeps the old one's mode, or
    // is an ordinary readable file.
    struct stat anterior {};
    ::fchmod(fd, ::stat(destino.constData(), &anterior) == 0 ? (anterior.st_mode & 07777) : 0644);
    if (::close(fd) != 0) {
        const int guardado = errno;
        ::unlink(plantilla.constData());
        errno = guardado;
        return Fallo(error, ruta);
    }
    if (gancho())
        gancho()();
    if (::rename(plantilla.constData(), destino.constData()) != 0) {
        const int guardado = errno;
        ::unlink(plantilla.constData());
        errno = guardado;
        return Fallo(error, ruta);
    }
    // The rename itself reaches the disk with the folder's entry.
    const int dirfd = ::open(carpeta.constData(), O_RDONLY | O_DIRECTORY);
    if (dirfd >= 0) {
        ::fsync(dirfd);
        ::close(dirfd);
    }
    return true;
}

} // namespace FicheroAtomico
