#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

class QWidget;
class Store;

// A constancia written after a signing: where it lies, and its parts as written (compressed), to print it again as
// it was, whatever the broker changes afterwards.
struct Constancia {
    QString ruta;
    QList<QByteArray> partes;
};

// The constancia of the information file `archivo` of the broker of patente `patente`, signed at `momento`, as an A4
// PDF in the data folder's constancias: readable by its owner alone, and whole or not there at all. Throws Falla
// (DatabaseError when the store cannot be read), whose message tells what failed, not that no constancia was made.
Constancia escribeConstancia(Store& store, const QString& dataFolder, const QString& patente, const QString& archivo,
                             const QDateTime& momento);

// Shows the constancia and prints it through the system's print dialog.
void Imprime_Constancia(QWidget* parent, const Constancia& constancia);
