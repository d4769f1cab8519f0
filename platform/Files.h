#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

// The folder and its missing parents; the folder itself only its owner may enter, whatever the umask. Throws Falla,
// a full disk named as such.
void makePrivateFolder(const QString& path);
// A new empty file that only its owner may read and write, whatever the umask, replacing nothing. Throws Falla, a
// full disk named as such.
void makePrivateFile(const QString& path);
// Narrows an existing file to its owner; false with the reason in `error`.
bool makePrivate(const QString& path, QString* error);
// A second name for the same file, which stays where it is untouched (a hard link). Throws Falla.
void linkFile(const QString& existing, const QString& newName);

// Why a write failed: the system's error number, taken at the moment it failed (0 when it gave none), and its words.
struct WriteFailure {
    int systemError = 0;
    QString reason;
    // The disk is full, or the user's quota on it is spent.
    bool diskFull() const;
};

// Creates the folder when it is missing (only its last level); false with the failure when it is not there afterwards.
bool makeFolder(const QString& path, WriteFailure* failure);
// True when new files can be created in the folder; false with the failure. The file it tries is named after
// kProbeName, with six characters of its own after a dot, and is gone unless the program broke off at that moment.
bool folderWritable(const QString& path, WriteFailure* failure);
inline constexpr const char* kProbeName = ".tolvek";

// Writes all the bytes. A disk that fills up first cuts a write short without an error, and only a write of the
// rest fails with the system's reason: the rest is written once more, so that the device meets that reason.
bool writeAll(QIODevice& device, QByteArrayView bytes);

// A file written straight to the system, readable and writable by its owner alone whatever the umask; a failed
// write keeps the system's own reason. Sequential: it only appends.
class WriteFile : public QIODevice {
public:
    explicit WriteFile(const QString& path);
    ~WriteFile() override;
    // Creates the file, or empties the one of that name; with `unique`, a new file whose name is the path with six
    // characters of its own after a dot. False with the failure.
    bool create(bool unique = false);
    // Everything written reaches the disk, then the file is closed; false with the failure when anything did not.
    bool finish();
    void close() override;
    bool isSequential() const override { return true; }
    QString path() const { return path_; }
    const WriteFailure& failure() const { return failure_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool fail(int systemError);

    QString path_;
    int fd_ = -1;
    WriteFailure failure_;
};

// Writes the bytes as the whole file, atomically (a file of its own beside it, synced, then renamed onto it), readable
// by its owner alone; false with the failure. Nothing is left of a write that failed.
bool writeWholeFile(const QString& path, QByteArrayView bytes, WriteFailure* failure);

// Moves the file onto `target`, replacing a file of that name in one step. False with the reason in `error`.
bool replaceFile(const QString& from, const QString& target, QString* error);

// Copies the file into the folder under its own name, replacing an older copy; the copy keeps the file's
// owner's permissions alone, so a program stays runnable. False, with the failure, when it cannot be done; no partial
// copy is left then.
bool copyIntoFolder(const QString& file, const QString& folder, WriteFailure* failure);
// The name a copy has while copyIntoFolder writes it.
inline constexpr const char* kPartialCopySuffix = ".copia";

// Removes the file when it is there. False, with the reason in `error`, when it is there and stays.
bool removeFile(const QString& path, QString* error);

// What readSmallFile found.
enum class SmallFile { Read, Missing, NotAFile, TooLarge, Unreadable };

// The whole file into `bytes` when it is a regular file (a link to one counts) of at most `maxBytes`; a FIFO or a
// device is refused before anything waits on it. On Unreadable, the system's reason is in `reason`.
SmallFile readSmallFile(const QString& path, qsizetype maxBytes, QByteArray* bytes, QString* reason);
