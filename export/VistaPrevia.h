#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <utility>

// The information file's bytes as the broker reads them: Windows-1252 decoded, one record a line.
QString textoDelArchivo(QByteArrayView archivo);

// How many records of each type a file holds, in the order the types first appear, counted a line at a time.
class CuentaRegistros {
public:
    // One line, with or without its line end.
    void agrega(QByteArrayView linea);
    const QList<std::pair<QString, int>>& tipos() const { return tipos_; }
    int total() const { return total_; }

private:
    QList<std::pair<QString, int>> tipos_;
    int total_ = 0;
};

// The counts of the whole file on one line, for the preview's summary.
QString cuentaRegistros(QByteArrayView archivo);
