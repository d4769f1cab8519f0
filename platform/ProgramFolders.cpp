#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFile>
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
    // The brokerage's CURPs, RFCs and addresses are the user's alone: the folder is entered by him only, whatever
    // the umask, and one made before with a wider mode is narrowed.
    QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return {executableFolder, data};
}
