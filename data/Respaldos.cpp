#include "data/Respaldos.h"

#include "platform/Database.h"
#include "platform/Files.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString kPrefijo = QStringLiteral("tolvek-");
const QString kExtension = QStringLiteral(".mdb");
const QString kFormato = QStringLiteral("yyyyMMdd-HHmmss");
// The copy is made under this name and only renamed once whole, so a copy broken off never counts as the newest;
// the next copy starts by removing what such a one left.
const QString kEnCurso = QStringLiteral("respaldo.parcial");
constexpr qint64 kUnDia = 24 * 60 * 60;

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

Respaldos::Respaldos(Database& db, Clock now)
    : db_(db), now_(std::move(now)),
      carpeta_(QFileInfo(db.path()).absoluteDir().filePath(QStringLiteral("respaldos"))) {}

QString Respaldos::diario() {
    const QList<QDateTime> hechas = copias();
    const QDateTime now = now_();
    // A newest copy dated ahead of the clock tells nothing about how old the data in it is.
    if (!hechas.isEmpty() && hechas.first() <= now && hechas.first().secsTo(now) < kUnDia)
        return {};
    return respalda();
}

QString Respaldos::respalda() {
    const QString destino = nombre(now_());
    const auto fallo = [&](const QString& causa) {
        return QStringLiteral("No se pudo hacer la copia de respaldo de la base de datos %1 en %2:\n%3\n"
                              "TOLVEK 3 continúa sin ella.")
            .arg(native(db_.path()), native(destino), causa);
    };
    if (!makeFolder(carpeta_))
        return fallo(QStringLiteral("no se pudo crear la carpeta %1.").arg(native(carpeta_)));
    const QString parcial = QDir(carpeta_).filePath(kEnCurso);
    QString error;
    if (!removeFile(parcial, &error))
        return fallo(error);
    try {
        // The engine's own copy of the open database: consistent as of one moment, whatever the connection holds,
        // written through the engine that owns the file and synced to the disk like the database itself.
        db_.exec(QStringLiteral("vacuum into ?"), {parcial});
    } catch (const DatabaseError& e) {
        removeFile(parcial, &error);
        return fallo(e.message());
    }
    if (!replaceFile(parcial, destino, &error)) {
        removeFile(parcial, &error);
        return fallo(error);
    }
    return borraAntiguas();
}

QList<QDateTime> Respaldos::copias() const {
    QList<QDateTime> hechas;
    const QStringList nombres = QDir(carpeta_).entryList({kPrefijo + QLatin1Char('*') + kExtension}, QDir::Files);
    for (const QString& n : nombres) {
        const QDateTime hecha =
            QDateTime::fromString(n.mid(kPrefijo.size(), n.size() - kPrefijo.size() - kExtension.size()), kFormato);
        if (hecha.isValid())
            hechas << hecha;
    }
    std::sort(hechas.begin(), hechas.end(), std::greater<>());
    return hechas;
}

QString Respaldos::nombre(const QDateTime& hecha) const {
    return QDir(carpeta_).filePath(kPrefijo + hecha.toString(kFormato) + kExtension);
}

QString Respaldos::borraAntiguas() {
    const QList<QDateTime> hechas = copias();
    for (qsizetype i = kGuardados; i < hechas.size(); ++i) {
        QString error;
        if (!removeFile(nombre(hechas[i]), &error))
            return QStringLiteral("No se pudo borrar la copia de respaldo antigua %1:\n%2")
                .arg(native(nombre(hechas[i])), error);
    }
    return {};
}
