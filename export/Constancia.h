#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class Store;

// The constancias lie beside the database, never in ENVIO, whose whole contents the broker sends.
QString carpetaConstancias(const QString& dataFolder);
// "<patente>-AAAAMMDD-HHMMSS.pdf", at the local time of the signing.
QString nombreConstancia(const QString& patente, const QDateTime& momento);

// Where a constancia goes, piece by piece in reading order: texts of its own, in HTML, and tables given a row at a
// time, each column with its share of the page's width in hundredths. A table begins with tabla() and ends with
// cierra(), which gives the sentence that stands for it when it got no row.
class DestinoConstancia {
public:
    virtual ~DestinoConstancia() = default;
    virtual void texto(const QString& html) = 0;
    virtual void tabla(const QString& titulo, const QStringList& encabezados, const QList<int>& anchos) = 0;
    virtual void fila(const QStringList& celdas) = 0;
    virtual void cierra(const QString& sinFilas) = 0;
};

// The constancia of the signing at `momento` of the information file `archivo` of the broker of patente `patente`.
// What was sent (its size, SHA-256, records, signer, the history it carried) is read from the signed file itself;
// the broker and the representatives with their request files from the store, a page of rows at a time, so that a
// large brokerage is never held whole. Throws Falla when the file cannot be read, DatabaseError when the store
// cannot.
void armaConstancia(Store& store, const QString& patente, const QString& archivo, const QDateTime& momento,
                    DestinoConstancia& destino);
