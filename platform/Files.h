#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QIODevice;
class QSaveFile;

// Creates the folder when it is missing (only its last level); true when it exists afterwards.
bool makeFolder(const QString& path);
// True when new files can be created in the folder.
bool folderWritable(const QString& path);
bool fileExists(const QString& path);

// A file written whole under a temporary name beside it and put in place only by commit(), so a reader never
// sees it half-written; an earlier file of that name stays as it was until then. Dropped unless committed.
class AtomicFile {
public:
    explicit AtomicFile(const QString& path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool open();
    QIODevice* device();
    bool commit();
    QString errorString() const;

private:
    std::unique_ptr<QSaveFile> file_;
};

// Writes the bytes as the whole file, atomically; false with the reason in `error`.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error);

// Copies the file into the folder under its own name, replacing an older copy; the copy keeps the file's
// permissions, so a program stays runnable. False, with the reason in `error`, when it cannot be done.
bool copyIntoFolder(const QString& file, const QString& folder, QString* error);

// Removes the file when it is there. False, with the reason in `error`, when it is there and stays.
bool removeFile(const QString& path, QString* error);
