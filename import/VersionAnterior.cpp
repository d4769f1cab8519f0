#include "import/VersionAnterior.h"

#include "data/Respaldos.h"
#include "data/Schema.h"
#include "import/Recupera.h"
#include "platform/Database.h"
#include "platform/Files.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString seconds(int ms) {
    const int s = (ms + 999) / 1000;
    return s == 1 ? QStringLiteral("1 segundo") : QStringLiteral("%1 segundos").arg(s);
}

// Has the tool write its export; throws Falla saying what went wrong when it did not.
void runExportTool(const QString& programFolder, const QString& previousFolder, int timeoutMs,
                   const ProcessWait& wait) {
    const QString toolName = programFileName(kExportTool);
    const QString tool = QDir(programFolder).filePath(toolName);
    if (!QFileInfo(tool).isFile())
        throw Falla(QStringLiteral("No se encontró el programa %1.").arg(native(tool)));
    WriteFailure failure;
    if (!copyIntoFolder(tool, previousFolder, &failure))
        throw Falla(
            QStringLiteral("No se pudo copiar %1 a %2: %3.").arg(toolName, native(previousFolder), failure.reason));
    QString error;
    // An export left from an earlier run must not pass for this one's.
    const QString export_ = QDir(previousFolder).filePath(kRecuperaFileName);
    if (!removeFile(export_, &error))
        throw Falla(QStringLiteral("No se pudo borrar el archivo anterior %1: %2.").arg(native(export_), error));

    const ProgramRun run = runProgram(QDir(previousFolder).filePath(toolName), previousFolder, timeoutMs, {}, wait);
    const QString said = run.errorText.isEmpty() ? QString() : QStringLiteral("\n%1").arg(run.errorText);
    switch (run.outcome) {
    case ProgramRun::Outcome::Finished:
        break;
    case ProgramRun::Outcome::NotStarted:
        throw Falla(QStringLiteral("No se pudo ejecutar %1 en %2.%3").arg(toolName, native(previousFolder), said));
    case ProgramRun::Outcome::Failed:
        throw Falla(run.exitCode >= 0 ? QStringLiteral("%1 terminó con error (código %2).%3")
                                            .arg(toolName, QString::number(run.exitCode), said)
                                      : QStringLiteral("%1 se interrumpió de forma anormal.%2").arg(toolName, said));
    case ProgramRun::Outcome::TimedOut:
        throw Falla(QStringLiteral("%1 no terminó en %2 y se detuvo.").arg(toolName, seconds(timeoutMs)));
    }
    if (!QFileInfo(export_).isFile())
        throw Falla(QStringLiteral("%1 no escribió el archivo %2.").arg(toolName, native(export_)));
}

} // namespace

ResultadoImportacion importaVersionAnterior(Database& db, const QString& programFolder, const QString& previousFolder,
                                            int timeoutMs, ProcessWait wait) {
    using Estado = ResultadoImportacion::Estado;
    try {
        if (db.exists(sentencia("select 1 from %1", {tabla::AA})))
            return {Estado::HayAgente};
    } catch (const DatabaseError& e) {
        throw Falla(QStringLiteral("No se pudo leer la base de datos (%1).").arg(e.message()));
    }
    if (!QFileInfo(previousFolder).isDir())
        return {Estado::SinVersionAnterior};
    runExportTool(programFolder, previousFolder, timeoutMs, wait);
    // Whatever the age of the day's copy: the import writes a whole brokerage at once.
    QString avisoRespaldo;
    try {
        Respaldos(db).respalda();
    } catch (const Falla& e) {
        avisoRespaldo = e.message();
    }
    try {
        importaRecupera(db, QDir(previousFolder).filePath(kRecuperaFileName));
    } catch (const DatabaseError& e) {
        throw Falla(QStringLiteral("La base de datos no admitió la importación (%1).").arg(e.message()));
    }
    return {Estado::Importada, avisoRespaldo};
}
