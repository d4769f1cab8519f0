#include "platform/InstanceLock.h"

#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

const QString kNombre = QStringLiteral("tolvek.lck");

bool sameFile(const struct stat& held, const QByteArray& path) {
    struct stat named {};
    return ::lstat(path.constData(), &named) == 0 && held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

QString causa(int error) {
    if (error == EACCES || error == EPERM)
        return QStringLiteral("no tiene permiso");
    return QString::fromLocal8Bit(std::strerror(error));
}

QString noSePuedeTomar(const QString& path, const QString& porque) {
    return QStringLiteral("TOLVEK 3 no puede abrirse: el archivo %1, con el que evita abrirse dos veces, %2. Si "
                          "TOLVEK 3 no está abierto, borre %1 y vuelva a abrir el programa.")
        .arg(QDir::toNativeSeparators(path), porque);
}

} // namespace

InstanceLock::InstanceLock(const QString& programFolder) : folder_(programFolder) {}

InstanceLock::~InstanceLock() {
    // The file stays: removing it could let a copy that opened it a moment ago hold a lock on a name gone.
    if (fd_ >= 0)
        ::close(fd_);
}

QString InstanceLock::acquire() {
    const QString path = QDir(folder_).filePath(kNombre);
    const QByteArray name = QFile::encodeName(path);
    // A second round only after the name changed under us (removed, replaced, or an empty folder taken away).
    for (int round = 0; round < 3; ++round) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
        if (fd < 0) {
            int error = errno;
            if (error == EISDIR && ::rmdir(name.constData()) == 0)
                continue;
            // The data folder is made before the lock is sought, but nothing said why when that failed.
            if (error == ENOENT && !QFileInfo::exists(folder_)) {
                if (::mkdir(QFile::encodeName(folder_).constData(), 0700) == 0)
                    continue;
                error = errno;
                if (WriteFailure{error, {}}.diskFull())
                    return QStringLiteral("No hay espacio suficiente en el disco para crear la carpeta %1, donde "
                                          "TOLVEK 3 guarda sus datos. Libere espacio en el disco y vuelva a abrir el "
                                          "programa.")
                        .arg(QDir::toNativeSeparators(folder_));
            }
            if (error == EISDIR)
                return noSePuedeTomar(path, QStringLiteral("es una carpeta que no está vacía"));
            if (error == ELOOP)
                return noSePuedeTomar(path, QStringLiteral("es un enlace a otro archivo"));
            if (WriteFailure{error, {}}.diskFull())
                return QStringLiteral("No hay espacio suficiente en el disco para crear el archivo %1, con el que "
                                      "TOLVEK 3 evita abrirse dos veces. Libere espacio en el disco y vuelva a abrir "
                                      "el programa.")
                    .arg(QDir::toNativeSeparators(path));
            if (QFileInfo::exists(path))
                return noSePuedeTomar(path, QStringLiteral("no se puede abrir (%1)").arg(causa(error)));
            return QStringLiteral("No se puede escribir en la carpeta %1, donde TOLVEK 3 guarda sus datos")
                .arg(QDir::toNativeSeparators(folder_));
        }
        struct stat held {};
        if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            ::close(fd);
            return noSePuedeTomar(path, QStringLiteral("no es un archivo común"));
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK)
                return QStringLiteral("TOLVEK 3 ya está abierto");
            return QStringLiteral("TOLVEK 3 no puede abrirse: la carpeta %1 no admite el candado del archivo %2, con "
                                  "el que evita abrirse dos veces (%3). Guarde los datos en un disco de esta "
                                  "computadora.")
                .arg(QDir::toNativeSeparators(folder_), kNombre, causa(error));
        }
        if (sameFile(held, name)) {
            fd_ = fd;
            return {};
        }
        ::close(fd);
    }
    return noSePuedeTomar(path, QStringLiteral("cambia mientras se intenta tomarlo"));
}
