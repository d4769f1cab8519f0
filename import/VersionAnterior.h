#pragma once

#include "platform/Process.h"

#include <QString>

class Database;

// The companion export tool, copied into the previous version's folder and run there.
inline const QString kExportTool = QStringLiteral("Vantrix");
inline constexpr int kExportTimeoutMs = 60000;

struct ResultadoImportacion {
    enum class Estado {
        HayAgente,          // a broker is stored already: nothing to take over
        SinVersionAnterior, // the previous version's folder is not there
        Importada,
    };
    Estado estado = Estado::HayAgente;
    // The copy of the database taken before the import failed: what to tell the broker. The import went on.
    QString avisoRespaldo{};
};

// Takes over the previous version's data while no broker is stored yet: copies the export tool from the program
// folder into the previous version's folder, runs it there (stopped after timeoutMs, waited for with `wait`) and
// imports the Recupera.txt it writes, all or nothing. Throws Falla saying why, in words for the broker, when nothing
// was imported.
ResultadoImportacion importaVersionAnterior(Database& db, const QString& programFolder, const QString& previousFolder,
                                            int timeoutMs = kExportTimeoutMs, ProcessWait wait = {});
