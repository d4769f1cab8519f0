#include "data/BaseDatos.h"

#include "data/Migraciones.h"
#include "data/Respaldos.h"
#include "data/Schema.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Fields are quoted only when they hold a comma; a doubled quote inside one stands for a quote.
QStringList splitCsvLine(const QString& line) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

void loadCatalogue(Database& db, const QString& resource, const TableDefinition& table) {
    const QList<QStringList> rows = readCatalogue(resource);
    const QString insert = table.insertStatement();
    for (const QStringList& row : rows) {
        if (row.size() != table.columns.size())
            throw DatabaseError(QStringLiteral("catálogo %1 dañado").arg(resource));
        QVariantList values;
        for (const QString& v : row)
            values << v;
        db.exec(insert, values);
    }
}

void createDatabase(const QString& path) {
    std::unique_ptr<Database> db = Database::open(path);
    Transaction transaction(*db);
    for (const TableDefinition& table : tolvekTables())
        db->exec(table.createStatement());
    loadCatalogue(*db, QStringLiteral("entidades.csv"), tabla::EntFed);
    loadCatalogue(*db, QStringLiteral("municipios.csv"), tabla::MpioDeleg);
    loadCatalogue(*db, QStringLiteral("aduanas.csv"), tabla::Aduanas);
    db->exec(QStringLiteral("pragma user_version = %1").arg(kVersionEsquema));
    transaction.commit();
}

// Every file of the engine begins with these bytes; one that does not is no database at all, damaged or not.
bool isEngineFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3", 16);
}

Falla foreign(const QString& shown, const QString& fault) {
    return Falla(
        QStringLiteral("El archivo %1 no es una base de datos de TOLVEK: %2.\nNo se ha modificado.").arg(shown, fault));
}

int storedVersion(Database& db) {
    Query q = db.select(QStringLiteral("pragma user_version"));
    return q.next() ? int(q.number(0)) : 0;
}

// Empty when the file holds every table of its version with its columns in order; otherwise what is wrong.
QString schemaFault(Database& db, const QList<QPair<QString, QStringList>>& tables) {
    for (const auto& [name, columns] : tables) {
        const QStringList found = db.columns(name);
        if (found.isEmpty())
            return QStringLiteral("no contiene la tabla %1").arg(name);
        if (found.join(QLatin1Char(',')).compare(columns.join(QLatin1Char(',')), Qt::CaseInsensitive) != 0)
            return QStringLiteral("tiene la tabla %1 con otras columnas").arg(name);
    }
    return {};
}

QList<QPair<QString, QStringList>> tablesOfVersion(int version) {
    for (const Migracion& m : migraciones()) {
        if (m.desde == version)
            return m.tablas;
    }
    QList<QPair<QString, QStringList>> tables;
    for (const TableDefinition& t : tolvekTables())
        tables << qMakePair(t.name, t.columnNames());
    return tables;
}

void create(const QString& path, const QString& shown) {
    // Built aside and renamed into place, so that an interrupted creation never leaves a half-made file.
    const QString temporary = path + QStringLiteral(".nueva");
    QFile::remove(temporary);
    try {
        makePrivateFile(temporary);
        createDatabase(temporary);
    } catch (const Falla& e) {
        QFile::remove(temporary);
        if (const auto* engine = dynamic_cast<const DatabaseError*>(&e); engine && engine->diskFull())
            throw Falla(QStringLiteral("No hay espacio suficiente en el disco para crear la base de datos %1. Libere "
                                       "espacio en el disco y vuelva a abrir el programa.")
                            .arg(shown));
        throw Falla(QStringLiteral("No se pudo crear la base de datos %1:\n%2").arg(shown, e.message()));
    }
    if (!QFile::rename(temporary, path)) {
        QFile::remove(temporary);
        throw Falla(QStringLiteral("No se pudo crear la base de datos %1").arg(shown));
    }
}

// Throws BaseDanada when the engine's check finds damage, a Falla when the file is not ours or of a newer version.
void check(Database& db, const QString& path, const QString& shown) {
    if (const std::optional<QString> damage = db.damage())
        throw BaseDanada(path, *damage);
    const int version = storedVersion(db);
    if (version > kVersionEsquema && !db.columns(tabla::Mandatarios).isEmpty())
        throw Falla(QStringLiteral("La base de datos %1 fue creada por una versión más reciente de TOLVEK 3; "
                                   "actualice el programa.\nNo se ha modificado.")
                        .arg(shown));
    if (const QString fault = schemaFault(db, tablesOfVersion(version)); !fault.isEmpty() || version > kVersionEsquema)
        throw foreign(shown, fault.isEmpty() ? QStringLiteral("versión %1 desconocida").arg(version) : fault);
    if (version < kVersionEsquema) {
        try {
            Respaldos(db).respalda();
        } catch (const Falla& e) {
            throw Falla(QStringLiteral("La base de datos %1 es de una versión anterior de TOLVEK 3 y no se actualizó "
                                       "porque antes no se pudo copiar:\n%2")
                            .arg(shown, e.message()));
        }
        actualizaEsquema(db, version);
    }
}

std::unique_ptr<Database> openChecked(const QString& path, const QString& shown) {
    if (!isEngineFile(path))
        throw foreign(shown, QStringLiteral("no es un archivo de base de datos"));
    // Read-write, although the checks only read: a write broken off by a crash leaves a journal that the engine
    // rolls back on the first read, and a read-only connection cannot, so it would refuse our own file at every
    // start. Nothing else here writes until the file is known to be ours, whole, and of a version we know.
    std::unique_ptr<Database> db = Database::open(path);
    try {
        check(*db, path, shown);
    } catch (const DatabaseError& e) {
        if (e.damaged())
            throw BaseDanada(path, db->damage().value_or(e.message()));
        throw;
    }
    // A file made before the program kept it private, under a wider umask, is narrowed to its owner; one that
    // cannot be is still his to use.
    QString ignored;
    makePrivate(path, &ignored);
    return db;
}

} // namespace

QList<QStringList> readCatalogue(const QString& resourceName) {
    static const bool registered = [] {
        Q_INIT_RESOURCE(catalogos);
        return true;
    }();
    Q_UNUSED(registered);
    QFile file(QStringLiteral(":/catalogos/") + resourceName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QList<QStringList> rows;
    bool header = true;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (header) {
            header = false;
            continue;
        }
        if (!line.isEmpty())
            rows << splitCsvLine(line);
    }
    return rows;
}

BaseDanada::BaseDanada(const QString& path, const QString& causa)
    : Falla(QStringLiteral("La base de datos %1 está dañada (%2).").arg(QDir::toNativeSeparators(path), causa)),
      path_(path) {}

std::unique_ptr<Database> openTolvekDatabase(const QString& programFolder) {
    const QString path = QDir(programFolder).filePath(kDatabaseFileName);
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo::exists(path))
        create(path, shown);
    try {
        return openChecked(path, shown);
    } catch (const BaseDanada&) {
        throw;
    } catch (const DatabaseError& e) {
        if (e.busy())
            throw Falla(QStringLiteral("La base de datos %1 está en uso por otro programa. Ciérrelo y vuelva a abrir "
                                       "TOLVEK 3.\nNo se ha modificado.")
                            .arg(shown));
        if (e.damaged())
            throw BaseDanada(path, e.message());
        throw Falla(QStringLiteral("El archivo %1 no es una base de datos de TOLVEK (%2).\nNo se ha modificado.")
                        .arg(shown, e.message()));
    }
}
