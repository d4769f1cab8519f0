#pragma once

#include <QString>

#include <memory>

class QLockFile;

// One copy of the program a program folder: two copies would each store page 1 and report success, and the last
// one would win. Held for the life of the object; a copy that crashed does not hold it (its lock is stale).
class InstanceLock {
public:
    explicit InstanceLock(const QString& programFolder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Empty once this copy holds the folder; otherwise why it cannot, as the broker reads it: another running copy
    // holds it, or the folder itself cannot take the lock (missing, or not writable).
    QString acquire();

private:
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
};
