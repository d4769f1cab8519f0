#include "import/VersionAnterior.h"

#include "data/Respaldos.h"
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

// Empty when the tool wrote its export; otherwise what went wrong.
QString runExportTool(const QString& programFolder, const QString& previousFolder, int timeoutMs,
                      const ProcessWait& wait) {
    const QString toolName = programFileName(kExportTool);
    const QString tool = QDir(programFolder).filePath(toolName);
    if (!QFileInfo(tool).isFile())
        return QStringLiteral("No se encontró el programa %1.").arg(native(tool));
    WriteFailure failure;
    if (!copyIntoFolder(tool, previousFolder, &failure))
        return QStringLiteral("No se pudo copiar %1 a %2: %3.").arg(toolName, native(previousFolder), failure.reason);
    QString error;
    // An export left from an earlier run must not pass for this one's.
    const QString export_ = QDir(previousFolder).filePath(kRecuperaFileName);
    if (!removeFile(export_, &error))
        return QStringLiteral("No se pudo borrar el archivo anterior %1: %2.").arg(native(export_), error);

    const ProgramRun run = runProgram(QDir(previousFolder).filePath(toolName), previousFolder, timeoutMs, {}, wait);
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

ResultadoImportacion importaVersionAnterior(Database& db, const QString& programFolder, const QString& previousFolder,
                                            int timeoutMs, ProcessWait wait) {
    using Estado = ResultadoImportacion::Estado;
    try {
        if (db.exists(QStringLiteral("select 1 from AA")))
            return {Estado::HayAgente, {}};
    } catch (const DatabaseError& e) {
        return {Estado::Falla, QStringLiteral("No se pudo leer la base de datos (%1).").arg(e.message())};
    }
    if (!QFileInfo(previousFolder).isDir())
        return {Estado::SinVersionAnterior, {}};
    const QString fault = runExportTool(programFolder, previousFolder, timeoutMs, wait);
    if (!fault.isEmpty())
        return {Estado::Falla, fault};
    // Whatever the age of the day's copy: the import writes a whole brokerage at once.
    const QString avisoRespaldo = Respaldos(db).respalda();
    try {
        importaRecupera(db, QDir(previousFolder).filePath(kRecuperaFileName));
    } catch (const ImportError& e) {
        return {Estado::Falla, e.message(), avisoRespaldo};
    } catch (const DatabaseError& e) {
        return {Estado::Falla, QStringLiteral("La base de datos no admitió la importación (%1).").arg(e.message()),
                avisoRespaldo};
    }
    return {Estado::Importada, {}, avisoRespaldo};
}
