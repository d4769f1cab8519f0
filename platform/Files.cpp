#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

bool makeFolder(const QString& path) {
    QDir dir(path);
    if (dir.exists())
        return true;
    return QDir().mkdir(path);
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

bool copyIntoFolder(const QString& file, const QString& folder, QString* error) {
    const QString target = QDir(folder).filePath(QFileInfo(file).fileName());
    // Copied beside the target first, so that a failed copy never leaves a truncated program in its place.
    const QString partial = target + QStringLiteral(".copia");
    QFile::remove(partial);
    QFile source(file);
    if (!source.copy(partial)) {
        *error = source.errorString();
        QFile::remove(partial);
        return false;
    }
    QFile old(target);
    if (old.exists() && !old.remove()) {
        *error = old.errorString();
        QFile::remove(partial);
        return false;
    }
    QFile copy(partial);
    if (!copy.rename(target)) {
        *error = copy.errorString();
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
