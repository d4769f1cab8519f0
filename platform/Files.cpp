#include "platform/Files.h"

#include "platform/Falla.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Bytes the tests leave free on the disk; negative: the real disk decides.
qint64 simulatedFree = -1;

// Every write goes through here, so that a simulated full disk fails the way a real one does.
class DoorFile : public QFile {
public:
    using QFile::QFile;
    // Set once the simulated disk is full; QFileDevice keeps its own error kind to itself.
    bool full = false;
    // The system's error number of the last failed write, taken at once: errno means nothing a few calls later.
    int systemError = 0;

protected:
    qint64 writeData(const char* data, qint64 size) override {
        if (simulatedFree >= 0) {
            if (size > simulatedFree) {
                simulatedFree = 0;
                full = true;
                setErrorString(QStringLiteral("No space left on device"));
                return -1;
            }
            simulatedFree -= size;
        }
        const qint64 written = QFile::writeData(data, size);
        if (written < 0)
            systemError = errno;
        return written;
    }
};

} // namespace

bool makeFolder(const QString& path) {
    QDir dir(path);
    if (dir.exists())
        return true;
    return QDir().mkdir(path);
}

void makePrivateFolder(const QString& path) {
    const QString native = QDir::toNativeSeparators(path);
    if (!QDir().mkpath(path))
        throw Falla(QStringLiteral("No se pudo crear la carpeta %1.").arg(native));
    if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        throw Falla(QStringLiteral("No se pudo proteger la carpeta %1.").arg(native));
}

void makePrivateFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 || ::fchmod(fd, 0600) != 0) {
        const int cause = errno;
        if (fd >= 0)
            ::close(fd);
        throw Falla(QStringLiteral("No se pudo crear el archivo %1: %2")
                        .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(cause))));
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
        throw Falla(QStringLiteral("No se pudo apartar el archivo %1 como %2: %3")
                        .arg(QDir::toNativeSeparators(existing), QDir::toNativeSeparators(newName),
                             QString::fromLocal8Bit(std::strerror(errno))));
}

bool folderWritable(const QString& path) {
    QTemporaryFile probe(QDir(path).filePath(QStringLiteral(".tolvek-XXXXXX")));
    return probe.open();
}

bool fileExists(const QString& path) {
    return QFileInfo(path).isFile();
}

AtomicFile::AtomicFile(const QString& path) : file_(std::make_unique<QSaveFile>(path)) {}

AtomicFile::~AtomicFile() = default;

bool AtomicFile::open() {
    return file_->open(QIODevice::WriteOnly);
}

QIODevice* AtomicFile::device() {
    return file_.get();
}

bool AtomicFile::setOwnerOnly() {
    return file_->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool AtomicFile::commit() {
    return file_->commit();
}

QString AtomicFile::errorString() const {
    return file_->errorString();
}

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    AtomicFile file(path);
    if (file.open() && file.device()->write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

bool diskFull(const WriteFailure& failure) {
    return failure.kind == QFileDevice::ResourceError ||
           (failure.kind == QFileDevice::WriteError &&
            (failure.systemError == ENOSPC || failure.systemError == EDQUOT));
}

QString describeWriteFailure(const WriteFailure& failure, const QString& folder) {
    if (diskFull(failure))
        return QStringLiteral("No hay espacio suficiente en el disco para escribir en la carpeta %1")
            .arg(QDir::toNativeSeparators(folder));
    return failure.reason;
}

std::unique_ptr<QFile> openForWriting(const QString& path, WriteFailure* failure) {
    auto file = std::make_unique<DoorFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        *failure = failureOf(*file);
    return file;
}

WriteFailure failureOf(const QFileDevice& file) {
    const auto* door = dynamic_cast<const DoorFile*>(&file);
    if (door && door->full)
        return {QFileDevice::ResourceError, ENOSPC, file.errorString()};
    return {file.error(), door ? door->systemError : 0, file.errorString()};
}

bool failed(const QFileDevice& file) {
    return failureOf(file).kind != QFileDevice::NoError;
}

bool finishWriting(QFile& file, WriteFailure* failure) {
    if (failed(file)) {
        *failure = failureOf(file);
        file.close();
        return false;
    }
    if (!file.flush()) {
        // The buffered bytes reach the disk here, past writeData.
        if (auto* door = dynamic_cast<DoorFile*>(&file))
            door->systemError = errno;
        *failure = failureOf(file);
        file.close();
        return false;
    }
    file.close();
    if (failed(file)) {
        *failure = failureOf(file);
        return false;
    }
    return true;
}

void simulateFreeSpace(qint64 bytes) {
    simulatedFree = bytes;
}

bool replaceFile(const QString& from, const QString& target, QString* error) {
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(from).toStdString(), QFile::encodeName(target).toStdString(), ec);
    if (ec && error)
        *error = QString::fromLocal8Bit(ec.message());
    return !ec;
}

namespace {

bool copyBytes(const QString& file, const QString& partial, QString* error, WriteFailure* failure) {
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = source.errorString();
        return false;
    }
    WriteFailure met;
    std::unique_ptr<QFile> copy = openForWriting(partial, &met);
    bool ok = copy->isOpen();
    while (ok && !source.atEnd()) {
        const QByteArray block = source.read(1 << 16);
        if (source.error() != QFileDevice::NoError) {
            *error = source.errorString();
            copy->close();
            return false;
        }
        if (copy->write(block) != block.size()) {
            met = failureOf(*copy);
            ok = false;
        }
    }
    if (ok)
        ok = finishWriting(*copy, &met);
    if (!ok) {
        copy->close();
        *error = describeWriteFailure(met, QFileInfo(partial).absolutePath());
        if (failure)
            *failure = met;
        return false;
    }
    QFile::setPermissions(partial, source.permissions());
    return true;
}

} // namespace

bool copyIntoFolder(const QString& file, const QString& folder, QString* error, WriteFailure* failure) {
    const QString target = QDir(folder).filePath(QFileInfo(file).fileName());
    // Copied beside the target first, so that a failed copy never leaves a truncated program in its place.
    const QString partial = target + QLatin1String(kPartialCopySuffix);
    QFile::remove(partial);
    if (!copyBytes(file, partial, error, failure)) {
        QFile::remove(partial);
        return false;
    }
    // One rename replaces the older copy: there is no moment with neither in place.
    if (!replaceFile(partial, target, error)) {
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
        *reason = QString::fromLocal8Bit(std::strerror(errno));
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
            *reason = QString::fromLocal8Bit(std::strerror(errno));
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
