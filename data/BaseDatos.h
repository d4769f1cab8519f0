#pragma once

#include "platform/Database.h"

#include <QString>

#include <memory>

inline const QString kDatabaseFileName = QStringLiteral("tolvek.mdb");

// The database file fails the engine's check: nothing in it can be trusted, and nothing is written to it.
class BaseDanada : public Falla {
public:
    BaseDanada(const QString& path, const QString& causa);
    QString path() const { return path_; }

private:
    QString path_;
};

// Opens the program's database in the given folder. A missing file is created with its tables and the three
// catalogues; a file of an earlier version is copied into respaldos/ and brought up to date. Throws BaseDanada for
// a damaged file and a Falla for one that is not ours, is of a newer version or is in use; those are left untouched.
std::unique_ptr<Database> openTolvekDatabase(const QString& programFolder);

// The rows of one catalogue file (a resource under :/catalogos), header left out.
QList<QStringList> readCatalogue(const QString& resourceName);
