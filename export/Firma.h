#pragma once

#include "tools/kfirma32/kfirma32.h"

#include <QByteArray>
#include <QString>

#include <array>

class QWidget;
struct Globales;

// The authority's contact, to whom the broker sends the signed file and the request files.
inline const QString kCorreoAutoridad = QStringLiteral("mandatarios@aduanas.gob.mx");

// What the key dialog leaves for the generation; lives for the whole run.
struct DatosLlave {
    // "A" after "&Aceptar", "C" after "&Cancelar", empty when the dialog was closed by its close box.
    QString Respuesta_Key;
    QString Archivo_Llave;
    // Wiped as soon as the signing call returns, so it is held no longer than needed.
    QByteArray Password_Llave;
};
DatosLlave& datosLlave();

// Overwrites the bytes before letting the buffer go.
void wipe(QByteArray& secret);

// The signer table handed to the signing library; lives for the whole run.
using TablaFirmantes = std::array<Firmante, KFIRMA32_FIRMANTES>;
TablaFirmantes& Firmantes();

// Fills a record field: the value, one NUL, blanks up to the field's size; a longer value is cut at that size.
void llenaCampo(char* field, std::size_t size, const QByteArray& value);

// Has the information file at `path` signed by the library of the program folder with the key file and password
// and tells the broker the outcome. Sets Archivo_Generado: 1 when the file was left unsigned (key, password, a
// library that cannot be used, a signature that could not be written), 0 otherwise. The password is wiped.
// Returns the library's result code, or -1 when the library could not be used.
int Firma_Archivo(QWidget* parent, Globales& globales, const QString& programFolder, const QString& path,
                  const QString& archivoLlave, QByteArray& password);
