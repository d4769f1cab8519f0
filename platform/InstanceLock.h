#pragma once

#include <QString>

// One copy of the program a data folder: two copies would each store page 1 and report success, and the last one
// would win. The hold is the system's lock on `tolvek.lck`, which ends with the process that took it, however it
// ends: whatever a file of that name holds (nothing, after a power cut; another machine's copy of the folder) says
// nothing about a live holder, so it is taken over.
class InstanceLock {
public:
    explicit InstanceLock(const QString& programFolder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Empty once this copy holds the folder; otherwise why it cannot, as the broker reads it: another running copy
    // holds it, the folder cannot take the lock (missing, or not writable), or `tolvek.lck` is something the
    // program must not take over, named with what to do about it.
    QString acquire();

private:
    QString folder_;
    int fd_ = -1;
};
