#include "data/Migraciones.h"

#include "data/Schema.h"
#include "platform/Database.h"

namespace {

QList<QPair<QString, QStringList>> tablasActuales() {
    QList<QPair<QString, QStringList>> tablas;
    for (const TableDefinition& t : tolvekTables())
        tablas << qMakePair(t.name, t.columnNames());
    return tablas;
}

// Version 0 held the tables of version 1 exactly; version 1 only began to keep its number in the header.
void ceroAUno(Database&) {}

} // namespace

const QList<Migracion>& migraciones() {
    static const QList<Migracion> pasos = {
        {0, tablasActuales(), &ceroAUno},
    };
    return pasos;
}

void actualizaEsquema(Database& db, int desde) {
    Transaction transaction(db);
    for (const Migracion& m : migraciones()) {
        if (m.desde >= desde)
            m.paso(db);
    }
    // The engine takes no bound value in a pragma; the number is the program's own constant.
    db.exec(QStringLiteral("pragma user_version = %1").arg(kVersionEsquema));
    transaction.commit();
}
