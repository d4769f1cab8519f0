#include "export/NombresEnvio.h"

#include "platform/Files.h"
#include "tools/dremlo/Borra.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Which of the program's own files the (case-folded) name meets, as the broker reads it; empty for none.
QString archivoDelPrograma(const QString& nombre, const QString& informacion) {
    const QString lista = QString::fromLatin1(dremlo::kLista).toCaseFolded();
    if (nombre == informacion)
        return QStringLiteral("el archivo de información %1").arg(informacion);
    if (nombre == lista)
        return QStringLiteral("la lista de archivos sin firma %1").arg(QString::fromLatin1(dremlo::kLista));
    // The written file under its signing name, what a rewrite of either file broke off leaves, the partial copies and
    // the probe of the folder: a start erases them all.
    if (nombre.startsWith(informacion + QLatin1Char('.')) || nombre.startsWith(lista + QLatin1Char('.')) ||
        nombre.endsWith(QLatin1String(".txt") + QLatin1String(kSufijoFirmando)) ||
        nombre.endsWith(QLatin1String(kPartialCopySuffix)) || nombre.startsWith(QLatin1String(".tolvek-")))
        return QStringLiteral("un archivo temporal del programa");
    return {};
}

} // namespace

RevisaNombres::RevisaNombres(const QString& patente)
    : informacion_((patente + QStringLiteral(".txt")).toCaseFolded()) {}

std::optional<QString> RevisaNombres::agrega(const QString& representante, const QString& curp,
                                             const QString& requerimiento) {
    const QString nombre = QFileInfo(requerimiento).fileName().toCaseFolded();
    if (const QString propio = archivoDelPrograma(nombre, informacion_); !propio.isEmpty())
        return QStringLiteral("No se puede generar el archivo de información: el Requerimiento Electrónico %1 del "
                              "representante %2 (%3) tiene el nombre de %4, que el programa escribe en la carpeta de "
                              "envío. Cambie el nombre del requerimiento y vuelva a generar el archivo.")
            .arg(native(requerimiento), representante, curp, propio);
    const auto visto = vistos_.constFind(nombre);
    if (visto == vistos_.cend()) {
        vistos_.insert(nombre, {representante, curp, requerimiento});
        return std::nullopt;
    }
    return QStringLiteral("No se puede generar el archivo de información: los Requerimientos Electrónicos %1 del "
                          "representante %2 (%3) y %4 del representante %5 (%6) tienen el mismo nombre, y en la "
                          "carpeta de envío uno reemplazaría al otro. Cambie el nombre de uno de ellos y vuelva a "
                          "generar el archivo.")
        .arg(native(visto->requerimiento), visto->representante, visto->curp, native(requerimiento), representante,
             curp);
}
