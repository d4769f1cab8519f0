#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <memory>

class QFile;
class QIODevice;
class QSaveFile;

// Creates the folder when it is missing (only its last level); true when it exists afterwards.
bool makeFolder(const QString& path);
// True when new files can be created in the folder.
bool folderWritable(const QString& path);
bool fileExists(const QString& path);
// The folder and its missing parents; the folder itself only its owner may enter, whatever the umask. Throws Falla.
void makePrivateFolder(const QString& path);
// A new empty file that only its owner may read and write, whatever the umask, replacing nothing. Throws Falla.
void makePrivateFile(const QString& path);
// Narrows an existing file to its owner; false with the reason in `error`.
bool makePrivate(const QString& path, QString* error);
// A second name for the same file, which stays where it is untouched (a hard link). Throws Falla.
void linkFile(const QString& existing, const QString& newName);

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
    // Readable by its owner alone once in place, whatever the umask; call it once open.
    bool setOwnerOnly();
    bool commit();
    QString errorString() const;

private:
    std::unique_ptr<QSaveFile> file_;
};

// Writes the bytes as the whole file, atomically; false with the reason in `error`.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error);

// Why a write through this door failed: its kind, so that a full disk can be told apart, and the system's reason.
struct WriteFailure {
    QFileDevice::FileError kind = QFileDevice::NoError;
    int systemError = 0;
    QString reason;
};

// A full disk, however the system reported it.
bool diskFull(const WriteFailure& failure);
// The failure as the broker reads it: a full disk in Spanish, naming the folder; anything else with the reason.
QString describeWriteFailure(const WriteFailure& failure, const QString& folder);

// A file opened for writing (created or truncated) whose every write counts against the simulated free space.
std::unique_ptr<QFile> openForWriting(const QString& path, WriteFailure* failure);
// Flushes and closes a file from openForWriting; false, with the failure, when anything did not reach the disk.
bool finishWriting(QFile& file, WriteFailure* failure);
// The failure a file opened by openForWriting has met so far; kind NoError when none.
WriteFailure failureOf(const QFileDevice& file);
bool failed(const QFileDevice& file);

// Tests: the disk has only this many bytes free for the files openForWriting and copyIntoFolder write from now on;
// a negative value gives back the real disk.
void simulateFreeSpace(qint64 bytes);

// Moves the file onto `target`, replacing a file of that name in one step. False with the reason in `error`.
bool replaceFile(const QString& from, const QString& target, QString* error);

// Copies the file into the folder under its own name, replacing an older copy; the copy keeps the file's
// permissions, so a program stays runnable. False, with the reason in `error` (and its kind in `failure`), when it
// cannot be done; no partial copy is left then.
bool copyIntoFolder(const QString& file, const QString& folder, QString* error, WriteFailure* failure = nullptr);
// The name a copy has while copyIntoFolder writes it.
inline constexpr const char* kPartialCopySuffix = ".copia";

// Removes the file when it is there. False, with the reason in `error`, when it is there and stays.
bool removeFile(const QString& path, QString* error);

// What readSmallFile found.
enum class SmallFile { Read, Missing, NotAFile, TooLarge, Unreadable };

// The whole file into `bytes` when it is a regular file (a link to one counts) of at most `maxBytes`; a FIFO or a
// device is refused before anything waits on it. On Unreadable, the system's reason is in `reason`.
SmallFile readSmallFile(const QString& path, qsizetype maxBytes, QByteArray* bytes, QString* reason);
