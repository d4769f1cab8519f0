#include "platform/InstanceLock.h"

#include <QDir>
#include <QLockFile>

InstanceLock::InstanceLock(const QString& programFolder)
    : lock_(std::make_unique<QLockFile>(QDir(programFolder).filePath(QStringLiteral("tolvek.lck")))) {
    // Staleness by the holder's process alone: a copy left open for days still holds the folder.
    lock_->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::acquire() {
    return lock_->tryLock(0);
}
