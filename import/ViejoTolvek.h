#pragma once

#include "import/VersionAnterior.h"

#include <QString>

class Database;
class QWidget;

// importaVersionAnterior with the user told: a notice while the export tool runs, and every outcome but success
// in one message; the start-up goes on in any case. True when data was imported.
bool Viejo_TOLVEK(QWidget* parent, Database& db, const QString& programFolder, const QString& previousFolder,
                  int timeoutMs = kExportTimeoutMs);
