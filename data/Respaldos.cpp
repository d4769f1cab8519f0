#include "data/Respaldos.h"

#include "data/Schema.h"
#include "platform/Database.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

const QString kPrefijo = QStringLiteral("tolvek-");
const QString kExtension = QStringLiteral(".mdb");
const QString kFormato = QStringLiteral("yyyyMMdd-HHmmss");
// The copy is made under this name and only renamed once whole, so a copy broken off never counts as the newest;
// the next start removes what such a one left, its journal too.
const QString kEnCurso = QStringLiteral("respaldo.parcial");
const QString kDiario = QStringLiteral("-journal");
constexpr qint64 kUnDia = 24 * 60 * 60;

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

Respaldos::Respaldos(Database& db, Clock now) : db_(db), now_(std::move(now)), carpeta_(carpetaDe(db.path())) {}

QString Respaldos::carpetaDe(const QString& databasePath) {
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("respaldos"));
}

void Respaldos::limpiaParcial() {
    QString error;
    const QString parcial = QDir(carpeta_).filePath(kEnCurso);
    removeFile(parcial + kDiario, &error);
    removeFile(parcial, &error);
}

void Respaldos::diario() {
    limpiaParcial();
    const QList<QDateTime> hechas = copias(carpeta_);
    const QDateTime now = now_();
    // A newest copy dated ahead of the clock tells nothing about how old the data in it is.
    if (!hechas.isEmpty() && hechas.first() <= now && hechas.first().secsTo(now) < kUnDia)
        return;
    respalda();
}

void Respaldos::alCerrar() {
    // A database found damaged during the run refuses this read, and is copied no more: a copy of it would pass for
    // a good one.
    const bool escrito = [this] {
        // Done with before the copy: the engine copies no database a statement is still reading.
        Query cambios = db_.select(QStringLiteral("select total_changes()"));
        return !cambios.next() || cambios.number(0) != 0;
    }();
    if (escrito)
        respalda();
}

void Respaldos::respalda() {
    // Two copies within one second would share a name; the later one takes the next second.
    QDateTime hecha = now_();
    const QList<QDateTime> hechas = copias(carpeta_);
    if (!hechas.isEmpty() && hechas.first().secsTo(hecha) < 1 && hechas.first() <= hecha)
        hecha = hechas.first().addSecs(1);
    const QString destino = nombre(carpeta_, hecha);
    const auto fallo = [&](const QString& causa) {
        return Falla(QStringLiteral("No se pudo hacer la copia de respaldo de la base de datos %1 en %2:\n%3\n"
                                    "TOLVEK 3 continúa sin ella.")
                         .arg(native(db_.path()), native(destino), causa));
    };
    const QString parcial = QDir(carpeta_).filePath(kEnCurso);
    QString error;
    try {
        makePrivateFolder(carpeta_);
        if (!removeFile(parcial, &error))
            throw fallo(error);
        // Made empty and private first: the engine then writes the copy into it, and never widens who may read it.
        makePrivateFile(parcial);
        // The engine's own copy of the open database: consistent as of one moment, whatever the connection holds,
        // written through the engine that owns the file and synced to the disk like the database itself.
        db_.exec(QStringLiteral("vacuum into ?"), {parcial});
    } catch (const Falla& e) {
        removeFile(parcial, &error);
        if (const auto* engine = dynamic_cast<const DatabaseError*>(&e); engine && engine->diskFull())
            throw Falla(QStringLiteral("No hay espacio suficiente en el disco para hacer la copia de respaldo de la "
                                       "base de datos %1 en %2. Libere espacio en el disco.\nTOLVEK 3 continúa sin "
                                       "ella.")
                            .arg(native(db_.path()), native(destino)));
        throw fallo(e.message());
    }
    if (!replaceFile(parcial, destino, &error)) {
        removeFile(parcial, &error);
        throw fallo(error);
    }
    borraAntiguas();
}

QList<QDateTime> Respaldos::copias(const QString& carpeta) {
    QList<QDateTime> hechas;
    const QStringList nombres = QDir(carpeta).entryList({kPrefijo + QLatin1Char('*') + kExtension}, QDir::Files);
    for (const QString& n : nombres) {
        const QDateTime hecha =
            QDateTime::fromString(n.mid(kPrefijo.size(), n.size() - kPrefijo.size() - kExtension.size()), kFormato);
        if (hecha.isValid())
            hechas << hecha;
    }
    std::sort(hechas.begin(), hechas.end(), std::greater<>());
    return hechas;
}

std::optional<QDateTime> Respaldos::ultima() const {
    const QList<QDateTime> hechas = copias(carpeta_);
    if (hechas.isEmpty())
        return std::nullopt;
    return hechas.first();
}

QString Respaldos::nombre(const QString& carpeta, const QDateTime& hecha) {
    return QDir(carpeta).filePath(kPrefijo + hecha.toString(kFormato) + kExtension);
}

void Respaldos::borraAntiguas() {
    const QList<QDateTime> hechas = copias(carpeta_);
    const QDate hoy = now_().date();
    QSet<QDate> diasGuardados;
    for (qsizetype i = 0; i < hechas.size(); ++i) {
        const QDate dia = hechas[i].date();
        // Newest first, so the first copy met of a day is that day's newest.
        const bool delDia = dia > hoy.addDays(-kDias) && !diasGuardados.contains(dia);
        diasGuardados.insert(dia);
        if (i < kGuardados || delDia)
            continue;
        QString error;
        if (!removeFile(nombre(carpeta_, hechas[i]), &error))
            throw Falla(QStringLiteral("No se pudo borrar la copia de respaldo antigua %1:\n%2")
                            .arg(native(nombre(carpeta_, hechas[i])), error));
    }
}

std::optional<Respaldos::Sana> Respaldos::copiaSana(const QString& databasePath) {
    const QString carpeta = carpetaDe(databasePath);
    for (const QDateTime& hecha : copias(carpeta)) {
        const QString path = nombre(carpeta, hecha);
        try {
            std::unique_ptr<Database> copia = Database::open(path);
            if (copia->damage())
                continue;
            Query q = copia->select(sentencia("select count(*) from %1", {tabla::Mandatarios}));
            if (q.next())
                return Sana{path, hecha, q.number(0)};
        } catch (const DatabaseError&) {
            // A copy the engine cannot read is no copy to offer.
        }
    }
    return std::nullopt;
}

QString Respaldos::restaura(const QString& databasePath, const Sana& copia, const QDateTime& now) {
    const QString aparte = databasePath + QStringLiteral(".danada-") + now.toString(kFormato);
    const QString entrante = databasePath + QStringLiteral(".restaurando");
    QString error;
    if (!removeFile(entrante, &error))
        throw Falla(error);
    if (!QFile::copy(copia.path, entrante) || !makePrivate(entrante, &error)) {
        removeFile(entrante, &error);
        throw Falla(
            QStringLiteral("No se pudo copiar el respaldo %1 junto a la base de datos.").arg(native(copia.path)));
    }
    try {
        linkFile(databasePath, aparte);
        // A journal left by the damaged file belongs to it: the engine would play it back into the copy.
        if (QFileInfo::exists(databasePath + kDiario) && !QFile::rename(databasePath + kDiario, aparte + kDiario))
            throw Falla(QStringLiteral("No se pudo apartar el diario %1.").arg(native(databasePath + kDiario)));
    } catch (const Falla&) {
        removeFile(entrante, &error);
        removeFile(aparte, &error);
        throw;
    }
    if (!replaceFile(entrante, databasePath, &error)) {
        removeFile(entrante, &error);
        throw Falla(error);
    }
    return aparte;
}
