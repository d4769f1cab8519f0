#include "import/ViejoTolvek.h"

#include "import/Recupera.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/Messages.h"
#include "platform/ProcessNotice.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace {

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

void reportFault(QWidget* parent, const QString& what) {
    inform(parent,
           QStringLiteral("No se pudo importar la información de la versión anterior de TOLVEK.\n\n%1\n\n"
                          "No se importó ningún dato.")
               .arg(what),
           MessageIcon::Exclamation);
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString seconds(int ms) {
    const int s = (ms + 999) / 1000;
    return s == 1 ? QStringLiteral("1 segundo") : QStringLiteral("%1 segundos").arg(s);
}

// Empty when the tool wrote its export; otherwise what went wrong.
QString runExportTool(QWidget* parent, const QString& programFolder, const QString& previousFolder, int timeoutMs) {
    const QString toolName = programFileName(kExportTool);
    const QString tool = QDir(programFolder).filePath(toolName);
    if (!QFileInfo(tool).isFile())
        return QStringLiteral("No se encontró el programa %1.").arg(native(tool));
    QString error;
    if (!copyIntoFolder(tool, previousFolder, &error))
        return QStringLiteral("No se pudo copiar %1 a %2: %3.").arg(toolName, native(previousFolder), error);
    // An export left from an earlier run must not pass for this one's.
    const QString export_ = QDir(previousFolder).filePath(kRecuperaFileName);
    if (!removeFile(export_, &error))
        return QStringLiteral("No se pudo borrar el archivo anterior %1: %2.").arg(native(export_), error);

    const ProgramRun run =
        runProgramWithNotice(QDir(previousFolder).filePath(toolName), previousFolder, timeoutMs,
                             QStringLiteral("Recuperando la información de la versión anterior de TOLVEK..."), parent);
    const QString said = run.errorText.isEmpty() ? QString() : QStringLiteral("\n%1").arg(run.errorText);
    switch (run.outcome) {
    case ProgramRun::Outcome::Finished:
        break;
    case ProgramRun::Outcome::NotStarted:
        return QStringLiteral("No se pudo ejecutar %1 en %2.%3").arg(toolName, native(previousFolder), said);
    case ProgramRun::Outcome::Failed:
        return run.exitCode >= 0 ? QStringLiteral("%1 terminó con error (código %2).%3")
                                       .arg(toolName, QString::number(run.exitCode), said)
                                 : QStringLiteral("%1 se interrumpió de forma anormal.%2").arg(toolName, said);
    case ProgramRun::Outcome::TimedOut:
        return QStringLiteral("%1 no terminó en %2 y se detuvo.").arg(toolName, seconds(timeoutMs));
    }
    if (!QFileInfo(export_).isFile())
        return QStringLiteral("%1 no escribió el archivo %2.").arg(toolName, native(export_));
    return {};
}

} // namespace

bool Viejo_TOLVEK(QWidget* parent, Database& db, const QString& programFolder, const QString& previousFolder,
                  int timeoutMs) {
    try {
        if (db.exists(QStringLiteral("select * from AA")))
            return false;
    } catch (const DatabaseError& e) {
        reportFault(parent, QStringLiteral("No se pudo leer la base de datos (%1).").arg(e.message()));
        return false;
    }
    if (!QFileInfo(previousFolder).isDir()) {
        inform(parent, QStringLiteral("No hay una versión anterior de TOLVEK en su computadora"));
        return false;
    }
    QString fault;
    {
        WaitCursor wait;
        fault = runExportTool(parent, programFolder, previousFolder, timeoutMs);
        if (fault.isEmpty()) {
            try {
                importaRecupera(db, QDir(previousFolder).filePath(kRecuperaFileName));
            } catch (const ImportError& e) {
                fault = e.message();
            } catch (const DatabaseError& e) {
                fault = QStringLiteral("La base de datos no admitió la importación (%1).").arg(e.message());
            }
        }
    }
    if (!fault.isEmpty()) {
        reportFault(parent, fault);
        return false;
    }
    return true;
}
