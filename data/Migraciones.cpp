#include "data/Migraciones.h"

#include "platform/Database.h"

namespace {

// The tables of version 0 as its files hold them, written out here and never changed: the schema moves on with
// later versions, and a file of version 0 must still be known for one.
const QList<QPair<QString, QStringList>>& tablasVersion0() {
    static const QList<QPair<QString, QStringList>> tablas = {
        {"AA", {"Patente", "Nombre", "ApPaterno", "ApMaterno", "RFC", "CURP", "Autorizacion", "Adscripcion"}},
        {"Domicilios_AA",
         {"Tipo_Dom", "EntFed", "MDeleg", "Calle", "NoExt", "NoInt", "Colonia", "CP", "Telefono", "Fax"}},
        {"Mandatarios",
         {"CURP", "RFC", "Nombre", "ApPaterno", "ApMaterno", "Mandato", "Requerimiento", "Acreditacion", "Operando"}},
        {"Domicilios_MM",
         {"CURP", "EntFed", "MDeleg", "Calle", "NoExt", "NoInt", "Colonia", "CP", "Telefono", "Fax", "Tipo_Dom"}},
        {"Aduanas_MM", {"CURP", "NoAduana"}},
        {"Pedimentos_MM", {"CURP", "NoAduana", "NoPedimento", "FechPedimento"}},
        {"Historico_AA", {"RFC", "CURP", "Nombre", "ApPaterno", "ApMaterno"}},
        {"Periodos_H_AA", {"CURP", "NoAduana", "FechaIni", "FechaFin"}},
        {"Periodos_H_MM", {"CURP", "NoAduana", "Patente_MM", "FechaIni", "FechaFin"}},
        {"EntFed", {"cveEntFed", "EntFed"}},
        {"MpioDeleg", {"cveEntFed", "NoMDeleg", "MDeleg"}},
        {"Aduanas", {"cveAduana", "Aduana"}},
    };
    return tablas;
}

// Version 0 held the tables of version 1 exactly; version 1 only began to keep its number in the header.
void ceroAUno(Database&) {}

} // namespace

const QList<Migracion>& migraciones() {
    static const QList<Migracion> pasos = {
        {0, tablasVersion0(), &ceroAUno},
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
