#pragma once

#include "platform/Database.h"

#include <QString>

#include <memory>

inline const QString kDatabaseFileName = QStringLiteral("tolvek.mdb");

// Opens the program's database in the given folder. A missing file is created with its tables and the three
// catalogues; a file that is not such a database is left untouched and reported through `error`.
std::unique_ptr<Database> openTolvekDatabase(const QString& programFolder, QString* error);

// The rows of one catalogue file (a resource under :/catalogos), header left out.
QList<QStringList> readCatalogue(const QString& resourceName);
