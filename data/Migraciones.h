#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Database;

// The version of the tables this program writes, kept in the file's header (PRAGMA user_version). Files made
// before the version was kept read 0.
inline constexpr int kVersionEsquema = 1;

// What a file of one earlier version holds, and the step that brings it to the next version.
struct Migracion {
    int desde = 0;
    // Each table of that version with its columns in order, as the file must hold them to be ours.
    QList<QPair<QString, QStringList>> tablas;
    // Runs inside the upgrade's one transaction; throws DatabaseError when the engine refuses.
    void (*paso)(Database&) = nullptr;
};

// Every step, oldest first: the one place where the history of the tables is written.
const QList<Migracion>& migraciones();

// Brings a file of version `desde` up to kVersionEsquema in one transaction: all the steps and the new version, or
// nothing. Throws DatabaseError.
void actualizaEsquema(Database& db, int desde);
