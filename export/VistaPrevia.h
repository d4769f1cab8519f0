#pragma once

#include <QByteArrayView>
#include <QString>

// The information file's bytes as the broker reads them: Windows-1252 decoded, one record a line.
QString textoDelArchivo(QByteArrayView archivo);

// How many records of each type the file holds, in the order the types first appear, for the preview's summary.
QString cuentaRegistros(QByteArrayView archivo);
