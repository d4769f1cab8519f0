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

bool copyIntoFolder(const QString& source, const QString& folder, QString* error) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = in.errorString();
        return false;
    }
    AtomicFile out(QDir(folder).filePath(QFileInfo(source).fileName()));
    if (!out.open()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 16);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            if (error)
                *error = in.errorString();
            return false;
        }
        if (out.device()->write(chunk) != chunk.size()) {
            if (error)
                *error = out.errorString();
            return false;
        }
    }
    if (!out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return true;
}
