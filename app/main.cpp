#include "app/frmMain.h"
#include "platform/ProgramFolders.h"

#include <QApplication>
#include <QDir>

namespace {

// Where the previous version of the program kept its data.
QString previousVersionFolder() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\TOLVEK");
#else
    return QDir::home().filePath(QStringLiteral("TOLVEK"));
#endif
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TOLVEK 3"));
    frmMain window(programFolders(QApplication::applicationDirPath()), previousVersionFolder());
    if (!window.iniciar())
        return 1;
    window.show();
    return QApplication::exec();
}
