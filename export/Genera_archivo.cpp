#include "export/Genera_archivo.h"

#include "app/Globales.h"
#include "data/Rutinas.h"
#include "export/ArchivoInformacion.h"
#include "export/Firma.h"
#include "export/frmKey.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/Launcher.h"
#include "platform/Messages.h"

#include <QDir>
#include <QFileInfo>

#include <functional>

namespace {

const QString kPregunta = QStringLiteral(
    "¿DESEA GENERAR EL ARCHIVO DE INFORMACION? PARA ESTA OPERACION DEBE USAR EL ARCHIVO LLAVE DEL AGENTE ADUANAL. ");

// The password leaves memory however the generation ends.
struct PasswordGuard {
    QByteArray& password;
    ~PasswordGuard() { wipe(password); }
};

QString rfcDelAgente(Database& db) {
    QString rfc;
    Query aa = db.select(QStringLiteral("select * from AA"));
    while (aa.next())
        rfc = aa.text(4);
    return rfc;
}

struct Requerimiento {
    QString curp;
    QString nombre;
    QString archivo;
};

// Representatives of mandate types 1 and 3 send their request file with the information file; type 2 do not.
void paraCadaRequerimiento(Database& db, const std::function<bool(const Requerimiento&)>& action) {
    // Mandato 1: "Anterior 01/01/2001"; 3: "Con autorización de operar al 15/01/2004".
    Query rows = db.select(QStringLiteral("select * from Mandatarios where Mandato=1 or Mandato=3"));
    while (rows.next()) {
        const QString nombre =
            QStringList{rows.text(2), rows.text(3), rows.text(4)}.join(QLatin1Char(' ')).simplified();
        if (!action({rows.text(0), nombre, rows.text(6)}))
            return;
    }
}

// A patente may begin with its number and go on with other characters (Valida_Patente reads only the number), but
// those that separate folders or that the file system refuses would leave the file somewhere else, or nowhere.
bool nombreDeArchivo(const QString& patente) {
    if (patente.isEmpty())
        return false;
    for (const QChar c : patente)
        if (c.unicode() < 0x20 || QStringView(u"\\/:*?\"<>|").contains(c))
            return false;
    return true;
}

void avisa(QWidget* parent, const QString& text) {
    inform(parent, text, MessageIcon::Exclamation);
}

// The files failed signings have left unsigned in this run. The exit hand-off erases these rather than only the
// file the patente names by then: the broker may have gone back to page 1 and changed the patente since.
QStringList& archivosSinFirma() {
    static QStringList paths;
    return paths;
}

} // namespace

QString carpetaEnvio(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("ENVIO"));
}

QString rutaArchivoInformacion(const QString& programFolder, const QString& patente) {
    return QDir(carpetaEnvio(programFolder)).filePath(patente + QStringLiteral(".txt"));
}

bool Genera_archivo(QWidget* parent, Globales& globales, const QString& programFolder) {
    if (!confirm(parent, kPregunta, kTitleMensaje))
        return false;
    Database& db = *globales.BaseDatos;
    DatosLlave& llave = datosLlave();
    try {
        llave.Respuesta_Key.clear();
        {
            frmKey dialog(rfcDelAgente(db), llave, parent);
            dialog.exec();
        }
        PasswordGuard guard{llave.Password_Llave};
        // Closing the dialog by its close box is taken as a cancel too: the password of an earlier signing has been
        // wiped, so going on would only sign with a stale key path and report a wrong password.
        if (llave.Respuesta_Key != QStringLiteral("A"))
            return false;

        // The patente names the file; a name that would point elsewhere must not get that far.
        if (!nombreDeArchivo(globales.NoPatente)) {
            avisa(parent, QStringLiteral("No se puede generar el archivo de información: la patente del Agente "
                                         "Aduanal \"%1\" no es válida.")
                              .arg(globales.NoPatente));
            return false;
        }

        const QString folder = carpetaEnvio(programFolder);
        const QString shownFolder = QDir::toNativeSeparators(folder);
        if (!makeFolder(folder)) {
            avisa(parent, QStringLiteral("No se pudo crear la carpeta de envío %1. Revise que pueda escribir en la "
                                         "carpeta del programa y vuelva a generar el archivo.")
                              .arg(shownFolder));
            return false;
        }
        if (!folderWritable(folder)) {
            avisa(parent, QStringLiteral("No se puede escribir en la carpeta de envío %1. Revise sus permisos y "
                                         "vuelva a generar el archivo.")
                              .arg(shownFolder));
            return false;
        }

        // Every request file must be at hand before anything is written, or the broker would send a folder
        // with some of them missing.
        QString falta;
        paraCadaRequerimiento(db, [&](const Requerimiento& r) {
            if (isBlank(r.archivo))
                falta = QStringLiteral("El representante %1 (%2) no tiene Requerimiento Electrónico (*.req). "
                                       "Capture su requerimiento y vuelva a generar el archivo.")
                            .arg(r.nombre, r.curp);
            else if (!fileExists(r.archivo))
                falta = QStringLiteral("No se encontró el Requerimiento Electrónico %1 del representante %2 (%3). "
                                       "Corrija su requerimiento y vuelva a generar el archivo.")
                            .arg(QDir::toNativeSeparators(r.archivo), r.nombre, r.curp);
            return falta.isEmpty();
        });
        if (!falta.isEmpty()) {
            avisa(parent, falta);
            return false;
        }

        const QString path = rutaArchivoInformacion(programFolder, globales.NoPatente);
        AtomicFile file(path);
        if (!file.open()) {
            avisa(parent, QStringLiteral("No se puede escribir en la carpeta de envío %1 (%2). Revise sus permisos y "
                                         "vuelva a generar el archivo.")
                              .arg(shownFolder, file.errorString()));
            return false;
        }
        QString error;
        if (!Escribe_Archivo(db, globales.NoPatente, file.device(), &error)) {
            avisa(parent, error);
            return false;
        }

        QString noCopiado;
        paraCadaRequerimiento(db, [&](const Requerimiento& r) {
            QString reason;
            if (!copyIntoFolder(r.archivo, folder, &reason))
                noCopiado = QStringLiteral("No se pudo copiar el Requerimiento Electrónico %1 del representante %2 "
                                           "(%3) a la carpeta %4 (%5). Vuelva a generar el archivo.")
                                .arg(QDir::toNativeSeparators(r.archivo), r.nombre, r.curp, shownFolder, reason);
            return noCopiado.isEmpty();
        });
        if (!noCopiado.isEmpty()) {
            avisa(parent, noCopiado);
            return false;
        }

        if (!file.commit()) {
            avisa(parent, QStringLiteral("No se pudo escribir el archivo de información %1 (%2). Vuelva a generar el "
                                         "archivo.")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
            return false;
        }
        // An erasing list left by an earlier exit whose Dremlo never ran names the file just written: it must not
        // travel to the authority with the folder, nor have a late Dremlo erase the new file.
        if (QString reason; !removeFile(QDir(folder).filePath(QStringLiteral("Borra.txt")), &reason))
            avisa(parent,
                  QStringLiteral("No se pudo borrar la lista %1 (%2). Bórrela antes de enviar la carpeta.")
                      .arg(QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("Borra.txt"))), reason));
        const int code =
            Firma_Archivo(parent, globales, programFolder, path, llave.Archivo_Llave, llave.Password_Llave);
        archivosSinFirma().removeAll(path);
        if (globales.Archivo_Generado == 1)
            archivosSinFirma().append(path);
        return code == KFIRMA32_FIRMADO;
    } catch (const DatabaseError& e) {
        wipe(llave.Password_Llave);
        avisa(parent, QStringLiteral("No se pudo leer la base de datos para generar el archivo de información (%1).")
                          .arg(e.message()));
        return false;
    }
}

namespace {

// The files failed signings of this run left unsigned that still lie in this program folder's ENVIO.
QStringList sinFirmaEnCarpeta(const QString& programFolder) {
    const QString folder = QFileInfo(carpetaEnvio(programFolder)).absoluteFilePath();
    QStringList files;
    for (const QString& file : archivosSinFirma())
        if (fileExists(file) && QFileInfo(file).absolutePath() == folder)
            files << file;
    return files;
}

} // namespace

bool quedanArchivosSinFirma(const QString& programFolder) {
    return !sinFirmaEnCarpeta(programFolder).isEmpty();
}

void Borra_Archivo_Sin_Firma(QWidget* parent, const QString& programFolder, const QString& patente) {
    const QString folder = carpetaEnvio(programFolder);
    QStringList unsignedFiles = sinFirmaEnCarpeta(programFolder);
    if (const QString named = rutaArchivoInformacion(programFolder, patente);
        unsignedFiles.isEmpty() && fileExists(named))
        unsignedFiles << named;
    if (unsignedFiles.isEmpty())
        return;
#ifdef Q_OS_WIN
    const QString dremlo = QDir(programFolder).filePath(QStringLiteral("Dremlo.exe"));
#else
    const QString dremlo = QDir(programFolder).filePath(QStringLiteral("Dremlo"));
#endif
    QByteArray list;
    QStringList shown;
    for (const QString& file : unsignedFiles) {
        shown << QDir::toNativeSeparators(file);
        list += shown.last().toUtf8() + "\r\n";
    }
    QString error;
    const QString lista = QDir(folder).filePath(QStringLiteral("Borra.txt"));
    if (writeWholeFile(lista, list, &error)) {
        if (startDetached(dremlo, {QDir::toNativeSeparators(folder)}, folder))
            return;
        // A list that no eraser will act on must not travel to the authority with the folder's contents.
        removeFile(lista, &error);
    }
    avisa(parent, QStringLiteral("No se pudo borrar el archivo sin firma %1. Bórrelo antes de enviar la carpeta %2.")
                      .arg(shown.join(QStringLiteral(", ")), QDir::toNativeSeparators(folder)));
}
