#pragma once

#include <QString>
#include <QVariant>

class Database;

// One of the broker's addresses as it is stored.
struct DomicilioAA {
    QString entFed;
    QVariant mDeleg;
    QString calle, noExt, noInt, colonia, cp, telefono, fax;
};

// The broker as page 1 stores him.
struct AgenteAduanal {
    qint64 patente = 0;
    QString curp, rfc, nombre, apPaterno, apMaterno;
    qint64 autorizacion = 0;
    QVariant adscripcion;
    DomicilioAA fiscal;
    DomicilioAA notificaciones;
};

// Replaces the stored broker and both his addresses, all or nothing; throws DatabaseError and leaves the
// previous broker in place when the engine refuses any of it.
void guardaAgente(Database& db, const AgenteAduanal& agente);

// A number taken from a combo item (" 470"); Null when the text holds none.
QVariant numberFromItem(const QString& text);
