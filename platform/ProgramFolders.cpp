#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

ProgramFolders programFolders(const QString& executableFolder) {
    const QFileInfo folder(executableFolder);
    // Root may write under /usr, but the package's files are no place for anyone's data.
    const bool installed = folder.canonicalFilePath().startsWith(QStringLiteral("/usr/")) || !folder.isWritable();
    if (!installed)
        return executableFolder;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return {executableFolder, data};
}
