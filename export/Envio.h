#pragma once

#include "platform/ProgramFolders.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class Store;

// The broker's choice in the key dialog.
struct Llave {
    QString archivo;
    // Wiped as soon as the signing call returns.
    QByteArray password;
};

// What became of one generation.
struct Envio {
    enum class Resultado {
        // Signed and in place as <patente>.txt.
        Firmado,
        // The library found no file to sign; nothing new is left in ENVIO but the request copies, listed to be
        // erased.
        SinArchivo,
        // Written but left unsigned (key, password, library, a signature that does not verify): it lies in ENVIO as
        // <patente>.txt and is listed, with the request copies, in ENVIO/Borra.txt to be erased.
        SinFirma,
        // Refused before the signing (a value, a request file, the folder, the disk): no new file in ENVIO.
        Rechazado,
    };
    Resultado resultado = Resultado::Rechazado;
    // The signing library's result code; -1 when it was not called or could not be used.
    int codigo = -1;
    // What the broker is told.
    QString mensaje;
    // The information file.
    QString ruta;
};

// The sending folder of a data folder, and the information file in it.
QString carpetaEnvio(const QString& dataFolder);
QString rutaArchivoInformacion(const QString& dataFolder, const QString& patente);

// What the broker is told when the database cannot be read while the file is being made; %1 takes the engine's words.
inline const QString kBaseIlegible =
    QStringLiteral("No se pudo leer la base de datos para generar el archivo de información (%1).");

// Writes the information file of the stored broker of patente `patente` into the data folder's ENVIO under a
// temporary name, copies the request files of the representatives whose mandate type sends one beside it, has it
// signed by the program folder's library and only then puts it in place as <patente>.txt. The password is wiped
// however it ends.
Envio generaEnvio(Store& store, qint64 patente, const ProgramFolders& folders, Llave& llave);

// The information file exactly as generaEnvio would write it now, into `archivo`; nothing is written to disk. The
// message generaEnvio would give when it would refuse a value (`archivo` is then empty); throws Falla when the
// database cannot be read.
std::optional<QString> vistaPrevia(Store& store, qint64 patente, QByteArray& archivo);

// What the run knows of its signings: Archivo_Generado is 1 after a signing that left the file unsigned, 0 after
// one that did not; the unsigned files are those failed signings of this run left (the broker may have changed
// the patente since, so the one it names now is not enough).
struct EstadoFirma {
    int Archivo_Generado = 0;
    QStringList sinFirma;
    void registra(const Envio& envio);
};

// Leaving with unsigned files: they must not stay in ENVIO to be sent by mistake. Lists those still there in
// ENVIO/Borra.txt and starts the program folder's Dremlo, which erases them once the program has ended. Throws Falla,
// saying what the broker must erase himself, when that cannot be done (the list is then taken back).
void entregaSinFirma(const ProgramFolders& folders, const QStringList& sinFirma);

// What a start found left in ENVIO by a run that ended without its exit hand-off.
struct Limpieza {
    QStringList temporalesBorrados;
    QStringList sinFirmaBorrados;
    // Empty, or what the broker must be told: the unsigned files that could not be erased.
    QString aviso;
};
// Erases the temporary files a run that broke off while generating left in ENVIO and the unsigned files listed in
// ENVIO/Borra.txt, then the list itself.
Limpieza limpiaEnvioPendiente(const QString& dataFolder);
