#pragma once

#include <QString>

class Database;
class QWidget;

// The companion export tool, copied into the previous version's folder and run there.
inline const QString kExportTool = QStringLiteral("Vantrix");
inline constexpr int kExportTimeoutMs = 60000;

// Takes over the previous version's data while no broker is stored yet: runs the export tool in the previous
// version's folder and imports the Recupera.txt it writes, all or nothing. Every outcome but success is told in
// one message; the start-up goes on in any case. True when data was imported.
bool Viejo_TOLVEK(QWidget* parent, Database& db, const QString& programFolder, const QString& previousFolder,
                  int timeoutMs = kExportTimeoutMs);
