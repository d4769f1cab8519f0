#include "platform/Files.h"

#include "platform/Falla.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

namespace {

QString systemReason(int systemError) {
    return QString::fromLocal8Bit(std::strerror(systemError));
}

// Why `que` (its kind, then %1 for its path) could not be created.
Falla noSeCreo(const QString& que, const QString& path, int systemError) {
    const QString what = que.arg(QDir::toNativeSeparators(path));
    if (WriteFailure{systemError, {}}.diskFull())
        return Falla(QStringLiteral("No hay espacio suficiente en el disco para crear %1. Libere espacio en el disco.")
                         .arg(what));
    return Falla(QStringLiteral("No se pudo crear %1: %2").arg(what, systemReason(systemError)));
}

} // namespace

bool makeFolder(const QString& path, WriteFailure* failure) {
    const bool made = ::mkdir(QFile::encodeName(path).constData(), 0777) == 0;
    const int cause = errno;
    if (made || (cause == EEXIST && QFileInfo(path).isDir()))
        return true;
    *failure = {cause, systemReason(cause)};
    return false;
}

void makePrivateFolder(const QString& path) {
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(path).toStdString(), error);
    if (error)
        throw noSeCreo(QStringLiteral("la carpeta %1"), path, error.value());
    if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        throw Falla(QStringLiteral("No se pudo proteger la carpeta %1.").arg(QDir::toNativeSeparators(path)));
}

void makePrivateFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 || ::fchmod(fd, 0600) != 0) {
        const int cause = errno;
        if (fd >= 0)
            ::close(fd);
        throw noSeCreo(QStringLiteral("el archivo %1"), path, cause);
    }
    ::close(fd);
}

bool makePrivate(const QString& path, QString* error) {
    if (QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner))
        return true;
    *error = QStringLiteral("No se pudieron cambiar los permisos de %1.").arg(QDir::toNativeSeparators(path));
    return false;
}

void linkFile(const QString& existing, const QString& newName) {
    if (::link(QFile::encodeName(existing).constData(), QFile::encodeName(newName).constData()) != 0)
        throw Falla(
            QStringLiteral("No se pudo apartar el archivo %1 como %2: %3")
                .arg(QDir::toNativeSeparators(existing), QDir::toNativeSeparators(newName), systemReason(errno)));
}

bool folderWritable(const QString& path, WriteFailure* failure) {
    WriteFile probe(QDir(path).filePath(QString::fromLatin1(kProbeName)));
    if (!probe.create(true)) {
        *failure = probe.failure();
        return false;
    }
    probe.close();
    QFile::remove(probe.path());
    return true;
}

bool WriteFailure::diskFull() const {
    return systemError == ENOSPC || systemError == EDQUOT;
}

bool writeAll(QIODevice& device, QByteArrayView bytes) {
    qint64 written = device.write(bytes.data(), bytes.size());
    if (written >= 0 && written < bytes.size()) {
        const qint64 rest = device.write(bytes.data() + written, bytes.size() - written);
        written = rest < 0 ? rest : written + rest;
    }
    return written == bytes.size();
}

WriteFile::WriteFile(const QString& path) : path_(path) {}

WriteFile::~WriteFile() {
    close();
}

bool WriteFile::fail(int systemError) {
    failure_ = {systemError, systemError ? systemReason(systemError)
                                         : QStringLiteral("el sistema escribió solo una parte de lo pedido")};
    setErrorString(failure_.reason);
    return false;
}

bool WriteFile::create(bool unique) {
    QByteArray name = QFile::encodeName(path_) + (unique ? ".XXXXXX" : "");
    // mkstemp makes its file 0600 and the mode given to open only narrows with the umask; an emptied file keeps
    // its own, hence the fchmod.
    fd_ = unique ? ::mkostemp(name.data(), O_CLOEXEC)
                 : ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0 || ::fchmod(fd_, 0600) != 0) {
        const int cause = errno;
        close();
        return fail(cause);
    }
    path_ = QFile::decodeName(name);
    return QIODevice::open(QIODevice::WriteOnly);
}

qint64 WriteFile::writeData(const char* data, qint64 size) {
    ssize_t written;
    do
        written = ::write(fd_, data, std::size_t(size));
    while (written < 0 && errno == EINTR);
    // A write cut short is a failure until the rest is written: only that write can tell why.
    if (written < size)
        fail(written < 0 ? errno : 0);
    else
        failure_ = {};
    return written;
}

bool WriteFile::finish() {
    // A disk that delays its writes reports a full disk only here.
    const bool synced = failure_.reason.isEmpty() && (::fsync(fd_) == 0 || fail(errno));
    const bool closed = ::close(std::exchange(fd_, -1)) == 0 || fail(errno);
    QIODevice::close();
    return synced && closed;
}

void WriteFile::close() {
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
    QIODevice::close();
}

bool writeWholeFile(const QString& path, QByteArrayView bytes, WriteFailure* failure) {
    WriteFile file(path);
    bool ok = file.create(true) && writeAll(file, bytes) && file.finish();
    if (ok && !replaceFile(file.path(), path, &failure->reason)) {
        failure->systemError = 0;
        ok = false;
    } else if (!ok) {
        *failure = file.failure();
    }
    if (!ok && file.path() != path)
        QFile::remove(file.path());
    return ok;
}

bool replaceFile(const QString& from, const QString& target, QString* error) {
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(from).toStdString(), QFile::encodeName(target).toStdString(), ec);
    if (ec && error)
        *error = QString::fromLocal8Bit(ec.message());
    return !ec;
}

namespace {

bool copyBytes(const QString& file, const QString& partial, WriteFailure* failure) {
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly)) {
        *failure = {0, source.errorString()};
        return false;
    }
    WriteFile copy(partial);
    bool ok = copy.create();
    while (ok && !source.atEnd()) {
        const QByteArray block = source.read(1 << 16);
        if (source.error() != QFileDevice::NoError) {
            *failure = {0, source.errorString()};
            return false;
        }
        ok = writeAll(copy, block);
    }
    if (!ok || !copy.finish()) {
        *failure = copy.failure();
        return false;
    }
    QFile::setPermissions(partial, source.permissions() & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    return true;
}

} // namespace

bool copyIntoFolder(const QString& file, const QString& folder, WriteFailure* failure) {
    const QString target = QDir(folder).filePath(QFileInfo(file).fileName());
    // Copied beside the target first, so that a failed copy never leaves a truncated program in its place.
    const QString partial = target + QLatin1String(kPartialCopySuffix);
    QFile::remove(partial);
    if (!copyBytes(file, partial, failure)) {
        QFile::remove(partial);
        return false;
    }
    // One rename replaces the older copy: there is no moment with neither in place.
    if (!replaceFile(partial, target, &failure->reason)) {
        failure->systemError = 0;
        QFile::remove(partial);
        return false;
    }
    return true;
}

bool removeFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.exists() || file.remove())
        return true;
    *error = file.errorString();
    return false;
}

SmallFile readSmallFile(const QString& path, qsizetype maxBytes, QByteArray* bytes, QString* reason) {
    bytes->clear();
    // Opened without waiting, so that a FIFO named as the file cannot hold the program.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return SmallFile::Missing;
        *reason = systemReason(errno);
        return SmallFile::Unreadable;
    }
    struct stat st;
    SmallFile result = SmallFile::Read;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        result = SmallFile::NotAFile;
    // The file may grow after the check: one byte more than allowed is enough to tell.
    QByteArray read(result == SmallFile::Read ? maxBytes + 1 : 0, Qt::Uninitialized);
    qsizetype total = 0;
    while (total < read.size()) {
        const ssize_t n = ::read(fd, read.data() + total, std::size_t(read.size() - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *reason = systemReason(errno);
            result = SmallFile::Unreadable;
            break;
        }
        if (n == 0)
            break;
        total += n;
    }
    ::close(fd);
    if (result == SmallFile::Read && total > maxBytes)
        result = SmallFile::TooLarge;
    if (result == SmallFile::Read)
        *bytes = read.first(total);
    return result;
}
