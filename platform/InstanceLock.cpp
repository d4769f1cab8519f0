#include "platform/InstanceLock.h"

#include <QDir>
#include <QLockFile>

InstanceLock::InstanceLock(const QString& programFolder)
    : folder_(programFolder), lock_(std::make_unique<QLockFile>(QDir(programFolder).filePath(QStringLiteral("tolvek.lck")))) {
    // Staleness by the holder's process alone: a copy left open for days still holds the folder.
    lock_->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

QString InstanceLock::acquire() {
    if (lock_->tryLock(0))
        return {};
    if (lock_->error() == QLockFile::LockFailedError)
        return QStringLiteral("TOLVEK 3 ya está abierto");
    return QStringLiteral("No se puede escribir en la carpeta %1, donde TOLVEK 3 guarda sus datos")
        .arg(QDir::toNativeSeparators(folder_));
}
