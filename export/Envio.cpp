#include "export/Envio.h"

#include "data/Rutinas.h"
#include "data/Store.h"
#include "export/ArchivoInformacion.h"
#include "export/Firma.h"
#include "export/NombresEnvio.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/Launcher.h"
#include "platform/Process.h"
#include "platform/ProgramFolders.h"
#include "platform/SigningLibrary.h"
#include "representative/Requerimiento.h"
#include "tools/dremlo/Borra.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <filesystem>
#include <functional>

namespace {

// A start finds an information file under its signing name only when a run broke off between writing and signing.
const QString kTemporal = QString::fromLatin1(kSufijoFirmando);
const QString kLista = QString::fromLatin1(dremlo::kLista);

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString nombreDe(const FilaMandatario& m) {
    return QStringList{m.nombre, m.apPaterno, m.apMaterno}.join(QLatin1Char(' ')).simplified();
}

// The erasing list Dremlo reads: one name a line, relative to ENVIO, CR LF; the program reads it as Dremlo does.
QString rutaLista(const QString& dataFolder) {
    return QDir(carpetaEnvio(dataFolder)).filePath(kLista);
}

std::filesystem::path canonicalEnvio(const QString& dataFolder) {
    std::error_code error;
    const auto envio = std::filesystem::canonical(QFile::encodeName(carpetaEnvio(dataFolder)).toStdString(), error);
    return error ? std::filesystem::path() : envio;
}

// The listed files, as full paths in ENVIO; `rechazo`, when given, gets why a list there could not be read.
QStringList leeLista(const QString& dataFolder, QString* rechazo = nullptr) {
    const dremlo::Lista lista = dremlo::leeLista(QFile::encodeName(carpetaEnvio(dataFolder)).toStdString());
    if (rechazo)
        *rechazo = QString::fromLocal8Bit(lista.rechazo);
    QStringList paths;
    const QDir envio(carpetaEnvio(dataFolder));
    for (const std::string& nombre : lista.nombres)
        paths << envio.filePath(QFileInfo(QDir::fromNativeSeparators(QString::fromStdString(nombre))).fileName());
    return paths;
}

bool escribeLista(const QString& dataFolder, const QStringList& paths, WriteFailure* failure) {
    if (paths.isEmpty())
        return removeFile(rutaLista(dataFolder), &failure->reason);
    QByteArray bytes;
    for (const QString& path : paths)
        bytes += QFileInfo(path).fileName().toUtf8() + "\r\n";
    return writeWholeFile(rutaLista(dataFolder), bytes, failure);
}

// What the broker reads when `que` could not be written (`hacer`: how), a full disk named as such; `ademas` is what
// the program did about it.
QString noSeEscribio(const QString& hacer, const QString& que, const WriteFailure& failure,
                     const QString& ademas = QString()) {
    if (failure.diskFull())
        return QStringLiteral("No hay espacio suficiente en el disco para %1 %2%3. Libere espacio en el disco y vuelva "
                              "a generar el archivo.")
            .arg(hacer, que, ademas);
    return QStringLiteral("No se pudo %1 %2 (%3)%4. Vuelva a generar el archivo.")
        .arg(hacer, que, failure.reason, ademas);
}

QString laLista(const QString& dataFolder) {
    return QStringLiteral("la lista %1").arg(native(rutaLista(dataFolder)));
}

// Dremlo's rule: only a regular file directly in ENVIO, not a link, is ever erased.
bool enEnvio(const QString& dataFolder, const QString& path) {
    const std::filesystem::path envio = canonicalEnvio(dataFolder);
    return !envio.empty() && dremlo::borrable(envio, QFileInfo(path).fileName().toStdString()).has_value() &&
           QFileInfo(path).absolutePath() == QFileInfo(carpetaEnvio(dataFolder)).absoluteFilePath();
}

Envio rechazo(const QString& mensaje) {
    return {Envio::Resultado::Rechazado, -1, mensaje, {}, {}};
}

QString mensajeDeFirma(int code, const QString& programFolder, const QString& ruta, const QString& error) {
    switch (code) {
    case KFIRMA32_FIRMADO:
        return QStringLiteral("Se genero el archivo ") + native(ruta) +
               QStringLiteral(" correctamente y se agrego Firma Digital, no olvide enviarlo y los requerimientos "
                              "manualmente a ") +
               kCorreoAutoridad;
    case KFIRMA32_SIN_ARCHIVO:
        return QStringLiteral("No se encontró el archivo a firmar digitalmente");
    case KFIRMA32_LLAVE_INVALIDA:
        return QStringLiteral("No se encontró la llave privada (*.key) o el archivo no es válido");
    case KFIRMA32_PASSWORD_INCORRECTO:
        return QStringLiteral("Error en la contraseña");
    case kFirmaNoComprobada:
        return QStringLiteral("No se pudo comprobar la Firma Digital agregada al archivo %1 con la llave privada "
                              "(*.key) usada. El archivo quedó sin firmar: no lo envíe; vuelva a generarlo.")
            .arg(native(ruta));
    case -1:
        return QStringLiteral("No se pudo usar la biblioteca de firma digital %1 de la carpeta %2 (%3). El archivo %4 "
                              "quedó sin firmar: no lo envíe; reinstale el programa y vuelva a generarlo.")
            .arg(kSigningLibraryName, native(programFolder), error, native(ruta));
    default:
        return QStringLiteral("No se pudo agregar la Firma Digital al archivo %1 (código %2). El archivo quedó sin "
                              "firmar: no lo envíe; vuelva a generarlo.")
            .arg(native(ruta))
            .arg(code);
    }
}

// What lies in ENVIO besides the signed file, its request copies and the program's own bookkeeping, which the next
// start tidies. Only named: the program cannot tell an earlier run's copy from a file the broker put there himself.
QStringList sobrantesEnEnvio(const QString& folder, const QString& ruta, const QStringList& copias) {
    QSet<QString> enviados{QFileInfo(ruta).fileName(), kLista};
    for (const QString& copia : copias)
        enviados.insert(QFileInfo(copia).fileName());
    QStringList sobrantes;
    for (const QString& name :
         QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name))
        if (!enviados.contains(name) && !name.endsWith(kTemporal) && !dremlo::restoDeLista(name.toStdString()))
            sobrantes << name;
    return sobrantes;
}

// Signs the written file under its temporary name and puts it in place. An unsigned file goes in place too, so
// that the broker finds it where he expects it, but it is listed for erasing first: were the program to end before
// its exit hand-off, the next start erases it. The request copies, listed before they were made (`conCopias`), leave
// the list only once the file beside them is signed.
Envio firma(const ProgramFolders& folders, const QString& patente, const QString& temporal, Llave& llave,
            const QStringList& conCopias, const QStringList& copias) {
    const QString ruta = rutaArchivoInformacion(folders.data, patente);
    QString error;
    WriteFailure failure;
    int code = -1;
    try {
        code = Firma_Archivo(folders.program, temporal, llave.archivo, llave.password);
    } catch (const Falla& e) {
        // Left unsigned as any failed signing leaves it, told with the system's reason.
        error = e.message();
    }
    Envio envio{Envio::Resultado::SinFirma, code, mensajeDeFirma(code, folders.program, ruta, error), ruta, {}};
    if (code == KFIRMA32_SIN_ARCHIVO) {
        QFile::remove(temporal);
        envio.resultado = Envio::Resultado::SinArchivo;
        return envio;
    }
    QStringList lista = conCopias;
    lista.removeAll(ruta);
    if (code != KFIRMA32_FIRMADO) {
        lista << ruta;
        if (!escribeLista(folders.data, lista, &failure)) {
            QFile::remove(temporal);
            return rechazo(noSeEscribio(QStringLiteral("escribir"), laLista(folders.data), failure,
                                        QStringLiteral("; el archivo sin firmar se borró")));
        }
    }
    if (!replaceFile(temporal, ruta, &error)) {
        QFile::remove(temporal);
        // What lies at `ruta` is what was there before, perhaps a file signed by an earlier run: the list must not
        // name it now that its unsigned replacement never came.
        if (code != KFIRMA32_FIRMADO)
            escribeLista(folders.data, conCopias, &failure);
        return rechazo(QStringLiteral("No se pudo poner el archivo de información en %1 (%2). Vuelva a generar el "
                                      "archivo.")
                           .arg(native(ruta), error));
    }
    if (code == KFIRMA32_FIRMADO) {
        envio.resultado = Envio::Resultado::Firmado;
        // A list left by an earlier run names the file just signed: a late Dremlo must not erase it, nor the copies
        // that go with it, nor may the list travel to the authority with the folder. Should this fail the next
        // start erases them, which is the safe side.
        const QSet<QString> hechas(copias.cbegin(), copias.cend());
        lista.removeIf([&](const QString& listado) { return hechas.contains(listado); });
        escribeLista(folders.data, lista, &failure);
        envio.sobrantes = sobrantesEnEnvio(carpetaEnvio(folders.data), ruta, copias);
    }
    return envio;
}

// Removes the temporary information file on the way out unless kept.
struct TemporalFile {
    QString path;
    bool keep = false;
    ~TemporalFile() {
        if (!keep)
            QFile::remove(path);
    }
};

Envio escribeYFirma(Store& store, qint64 numero, const ProgramFolders& folders, Llave& llave) {
    const QString patente = QString::number(numero);

    const QString folder = carpetaEnvio(folders.data);
    const QString laCarpeta = QStringLiteral("la carpeta de envío %1").arg(native(folder));
    WriteFailure failure;
    if (!makeFolder(folder, &failure))
        return rechazo(failure.diskFull()
                           ? noSeEscribio(QStringLiteral("crear"), laCarpeta, failure)
                           : QStringLiteral("No se pudo crear %1 (%2). Revise que pueda escribir en la carpeta %3 y "
                                            "vuelva a generar el archivo.")
                                 .arg(laCarpeta, failure.reason, native(folders.data)));
    if (!folderWritable(folder, &failure))
        return rechazo(failure.diskFull() ? noSeEscribio(QStringLiteral("escribir en"), laCarpeta, failure)
                                          : QStringLiteral("No se puede escribir en %1 (%2). Revise sus permisos y "
                                                           "vuelva a generar el archivo.")
                                                .arg(laCarpeta, failure.reason));

    // Every request file must be at hand, under a name of its own, before anything is written, or the broker would
    // send a folder with some of them missing.
    QString falta;
    RevisaNombres nombres(patente);
    QStringList copias;
    store.recorreConRequerimiento([&](const FilaMandatario& r) {
        copias << QDir(folder).filePath(QFileInfo(r.requerimiento).fileName());
        if (isBlank(r.requerimiento))
            falta = QStringLiteral("El representante %1 (%2) no tiene Requerimiento Electrónico (*.req). Capture su "
                                   "requerimiento y vuelva a generar el archivo.")
                        .arg(nombreDe(r), r.curp);
        // A file that is no request, or another person's, was the broker's own answer when he stored it.
        else if (const LecturaRequerimiento l = leeRequerimiento(r.requerimiento);
                 l.estado == EstadoRequerimiento::NoExiste)
            falta = QStringLiteral("No se encontró el Requerimiento Electrónico %1 del representante %2 (%3). Corrija "
                                   "su requerimiento y vuelva a generar el archivo.")
                        .arg(native(r.requerimiento), nombreDe(r), r.curp);
        else if (l.estado == EstadoRequerimiento::Ilegible)
            falta = QStringLiteral("%1 Corrija el requerimiento del representante %2 (%3) y vuelva a generar el "
                                   "archivo.")
                        .arg(l.motivo, nombreDe(r), r.curp);
        else
            falta = nombres.agrega(nombreDe(r), r.curp, r.requerimiento).value_or(QString());
        return falta.isEmpty();
    });
    if (!falta.isEmpty())
        return rechazo(falta);

    const QString temporal = rutaArchivoInformacion(folders.data, patente) + kTemporal;
    // Declared before the file, so that the file is closed first: the temporary file goes on every way out,
    // an engine failure included, unless the signing takes it over.
    TemporalFile guard{temporal};
    WriteFile file(temporal);
    const QString informacion =
        QStringLiteral("el archivo de información %1").arg(native(rutaArchivoInformacion(folders.data, patente)));
    if (!file.create())
        return rechazo(noSeEscribio(QStringLiteral("escribir"), informacion, file.failure()));
    try {
        if (const std::optional<QString> defecto = Escribe_Archivo(store, numero, &file))
            return rechazo(*defecto);
    } catch (const Falla& e) {
        return rechazo(file.failure().reason.isEmpty()
                           ? e.message()
                           : noSeEscribio(QStringLiteral("escribir"), informacion, file.failure()));
    }
    if (!file.finish())
        return rechazo(noSeEscribio(QStringLiteral("escribir"), informacion, file.failure()));

    // Listed before they are made: a generation that fails or is killed from here on leaves no copy in ENVIO
    // without a signed file beside it.
    const QStringList antes = leeLista(folders.data);
    QStringList conCopias = antes;
    const QSet<QString> listados(antes.cbegin(), antes.cend());
    for (const QString& copia : copias)
        if (!listados.contains(copia))
            conCopias << copia;
    if (!escribeLista(folders.data, conCopias, &failure))
        return rechazo(noSeEscribio(QStringLiteral("escribir"), laLista(folders.data), failure));
    QString noCopiado;
    qsizetype copiadas = 0;
    store.recorreConRequerimiento([&](const FilaMandatario& r) {
        if (copyIntoFolder(r.requerimiento, folder, &failure))
            ++copiadas;
        else
            noCopiado = noSeEscribio(QStringLiteral("copiar"),
                                     QStringLiteral("el Requerimiento Electrónico %1 del representante %2 (%3) a la "
                                                    "carpeta %4")
                                         .arg(native(r.requerimiento), nombreDe(r), r.curp, native(folder)),
                                     failure);
        return noCopiado.isEmpty();
    });
    if (!noCopiado.isEmpty()) {
        // The copies made go with the unwritten file; what the list named before is all it names again.
        for (const QString& copia : copias.first(copiadas))
            QFile::remove(copia);
        escribeLista(folders.data, antes, &failure);
        return rechazo(noCopiado);
    }
    guard.keep = true;
    return firma(folders, patente, temporal, llave, conCopias, copias);
}

} // namespace

std::optional<QString> avisoDeSobrantes(const QString& dataFolder, const Envio& envio) {
    constexpr qsizetype kNombrados = 10;
    const qsizetype n = envio.sobrantes.size();
    if (n == 0)
        return std::nullopt;
    QString nombres = envio.sobrantes.first(std::min(n, kNombrados)).join(QStringLiteral(", "));
    if (n > kNombrados)
        nombres += QStringLiteral(" y %1 más").arg(n - kNombrados);
    return QStringLiteral("La carpeta de envío %1 tiene además %2 que este envío no lleva: %3. Quítel%4 de la "
                          "carpeta antes de enviarla, para que la autoridad reciba sólo lo que se firmó.")
        .arg(native(carpetaEnvio(dataFolder)),
             n == 1 ? QStringLiteral("un archivo") : QStringLiteral("%1 archivos").arg(n), nombres,
             n == 1 ? QStringLiteral("o") : QStringLiteral("os"));
}

QString carpetaEnvio(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral("ENVIO"));
}

QString rutaArchivoInformacion(const QString& dataFolder, const QString& patente) {
    return QDir(carpetaEnvio(dataFolder)).filePath(patente + QStringLiteral(".txt"));
}

Envio generaEnvio(Store& store, qint64 patente, const ProgramFolders& folders, Llave& llave) {
    Envio envio;
    try {
        envio = escribeYFirma(store, patente, folders, llave);
    } catch (const DatabaseError& e) {
        envio = rechazo(kBaseIlegible.arg(e.message()));
    }
    wipe(llave.password);
    return envio;
}

std::optional<QString> vistaPrevia(Store& store, qint64 patente, QByteArray& archivo) {
    archivo.clear();
    // The writer the generation uses, into memory: what it refuses there it refuses here, in the same words.
    QBuffer buffer(&archivo);
    buffer.open(QIODevice::WriteOnly);
    std::optional<QString> defecto = Escribe_Archivo(store, patente, &buffer);
    if (defecto)
        archivo.clear();
    return defecto;
}

void EstadoFirma::registra(const Envio& envio) {
    if (envio.resultado == Envio::Resultado::Rechazado)
        return;
    sinFirma.removeAll(envio.ruta);
    Archivo_Generado = envio.resultado == Envio::Resultado::SinFirma ? 1 : 0;
    if (Archivo_Generado == 1)
        sinFirma << envio.ruta;
}

void entregaSinFirma(const ProgramFolders& folders, const QStringList& sinFirma) {
    QStringList files;
    for (const QString& file : sinFirma + leeLista(folders.data))
        if (enEnvio(folders.data, file) && !files.contains(file))
            files << file;
    if (files.isEmpty())
        return;
    const QString folder = carpetaEnvio(folders.data);
    const QString dremlo = QDir(folders.program).filePath(programFileName(QStringLiteral("Dremlo")));
    WriteFailure failure;
    if (escribeLista(folders.data, files, &failure)) {
        if (startDetached(dremlo, {native(folder)}, folder))
            return;
        // A list that no eraser will act on must not travel to the authority with the folder's contents.
        removeFile(rutaLista(folders.data), &failure.reason);
    }
    QStringList shown;
    for (const QString& file : files)
        shown << native(file);
    const QString sinEspacio =
        failure.diskFull()
            ? QStringLiteral("No hay espacio suficiente en el disco para escribir %1. ").arg(laLista(folders.data))
            : QString();
    throw Falla(sinEspacio +
                QStringLiteral("No se pudo borrar el archivo sin firma %1. Bórrelo antes de enviar la carpeta %2.")
                    .arg(shown.join(QStringLiteral(", ")), native(folder)));
}

Limpieza limpiaEnvioPendiente(const QString& dataFolder) {
    Limpieza limpieza;
    const QDir folder(carpetaEnvio(dataFolder));
    const QStringList temporales{QStringLiteral("*.txt") + kTemporal, QStringLiteral("*") + kPartialCopySuffix,
                                 kLista + QStringLiteral(".*"), QString::fromLatin1(kProbeName) + QStringLiteral(".*")};
    for (const QString& name : folder.entryList(temporales, QDir::Files | QDir::Hidden))
        if ((!name.startsWith(kLista) || dremlo::restoDeLista(name.toStdString())) &&
            QFile::remove(folder.filePath(name)))
            limpieza.temporalesBorrados << folder.filePath(name);
    QString rechazo;
    QStringList quedan;
    for (const QString& file : leeLista(dataFolder, &rechazo)) {
        if (!enEnvio(dataFolder, file))
            continue;
        if (QFile::remove(file))
            limpieza.sinFirmaBorrados << file;
        else
            quedan << native(file);
    }
    if (!rechazo.isEmpty()) {
        limpieza.aviso = QStringLiteral("No se pudo leer la lista de archivos sin firma %1 (%2). Bórrela, y los "
                                        "archivos sin firma, antes de enviar la carpeta %3.")
                             .arg(native(rutaLista(dataFolder)), rechazo, native(folder.path()));
        return limpieza;
    }
    QString error;
    if (quedan.isEmpty() && removeFile(rutaLista(dataFolder), &error))
        return limpieza;
    limpieza.aviso = QStringLiteral("No se pudo borrar el archivo sin firma %1. Bórrelo antes de enviar la carpeta %2.")
                         .arg(quedan.isEmpty() ? native(rutaLista(dataFolder)) : quedan.join(QStringLiteral(", ")),
                              native(folder.path()));
    return limpieza;
}
