#pragma once

#include <QString>

class Database;

// The text of "Acerca de TOLVEK 3": the version, where the data lies, its newest backup and the authority's
// contact. db is null before the database is open.
QString acercaDe(const QString& carpetaDatos, Database* db);
