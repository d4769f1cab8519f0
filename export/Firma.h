#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>

// The authority's contact, to whom the broker sends the signed file and the request files.
inline const QString kCorreoAutoridad = QStringLiteral("mandatarios@aduanas.gob.mx");

// What a signer record carries whole: the key file's path with the NUL that ends it, and a password that may fill
// its field. Anything longer would reach the library cut, and fail as a missing key or a wrong password.
inline constexpr qsizetype kMaxBytesRutaLlave = 255;
inline constexpr qsizetype kMaxBytesPassword = 256;

// Overwrites the bytes before letting the buffer go.
void wipe(QByteArray& secret);

// Fills a record field: the value, one NUL, blanks up to the field's size; a longer value is cut at that size.
void llenaCampo(char* field, std::size_t size, const QByteArray& value);

// Firma_Archivo's own result: the library said it signed, but the line it appended is no signature of the file by
// the key it was given. The file is as good as unsigned.
inline constexpr int kFirmaNoComprobada = -2;

// Has the file at `path` signed in place by the library of the program folder with the key file and password, and
// the signature checked by the library against that key before it counts. Gives the library's result code,
// or kFirmaNoComprobada; throws Falla with the system's reason when the library could not be used. The password (UTF-8,
// as typed) reaches the library in Windows-1252, and once more in UTF-8 when that is refused as wrong; in UTF-8 alone
// when the code page cannot hold it. It is wiped, and so are its other forms and the signer records.
int Firma_Archivo(const QString& programFolder, const QString& path, const QString& archivoLlave, QByteArray& password);
