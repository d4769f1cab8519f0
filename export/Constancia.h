#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class Store;

// The constancias lie beside the database, never in ENVIO, whose whole contents the broker sends.
QString carpetaConstancias(const QString& dataFolder);
// "<patente>-AAAAMMDD-HHMMSS.pdf", at the local time of the signing.
QString nombreConstancia(const QString& patente, const QDateTime& momento);

// The constancia of the signing at `momento` of the information file `archivo` of the broker of patente `patente`,
// as HTML in parts, each to begin on a page of its own: a large brokerage is laid out a part at a time, never whole.
// What was sent (its size, SHA-256, records, signer, the history it carried) is read from the signed file itself;
// the broker and the representatives with their request files from the store, a page of rows at a time. Throws
// Falla when the file cannot be read, DatabaseError when the store cannot.
void armaConstancia(Store& store, const QString& patente, const QString& archivo, const QDateTime& momento,
                    const std::function<void(const QString& html)>& parte);
