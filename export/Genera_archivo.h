#pragma once

#include <QString>

class QWidget;
struct Globales;

// The wizard's last act: asks, takes the key in frmKey, writes the information file into the program folder's
// ENVIO folder as <patente>.txt (Globales::NoPatente) with the request files of the representatives of mandate
// types 1 and 3 beside it, and has it signed. True only when the file was written and signed; every other outcome
// has been told to the broker, who may try again.
bool Genera_archivo(QWidget* parent, Globales& globales, const QString& programFolder);

// The sending folder of a program folder, and the information file in it.
QString carpetaEnvio(const QString& programFolder);
QString rutaArchivoInformacion(const QString& programFolder, const QString& patente);

// Leaving after a signing that failed: the unsigned file must not stay in ENVIO to be sent by mistake. Writes
// ENVIO/Borra.txt naming the files the failed signings of this run left there (failing those, the file `patente`
// names) and starts Dremlo, which erases them once the program has ended. When Dremlo cannot be started the list
// is taken back and the broker is told which files to erase.
void Borra_Archivo_Sin_Firma(QWidget* parent, const QString& programFolder, const QString& patente);

// True when a failed signing of this run left a file unsigned in ENVIO that is still there, even if a later
// signing (under another patente) succeeded.
bool quedanArchivosSinFirma(const QString& programFolder);
