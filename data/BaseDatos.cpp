#include "data/BaseDatos.h"

#include "data/Schema.h"

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
    transaction.commit();
}

// Empty when the file holds every table with its columns in order; otherwise what is wrong.
QString schemaFault(const QString& path) {
    // Read-write, although it only reads: a write broken off by a crash leaves a journal that the engine rolls back
    // on the first read, and a read-only connection cannot, so it would call our own file foreign at every start.
    // A file that is not a database is not written by reading it.
    std::unique_ptr<Database> db = Database::open(path);
    for (const TableDefinition& table : tolvekTables()) {
        const QStringList found = db->columns(table.name);
        if (found.isEmpty())
            return QStringLiteral("no contiene la tabla %1").arg(table.name);
        if (found.join(QLatin1Char(',')).compare(table.columnNames().join(QLatin1Char(',')), Qt::CaseInsensitive) != 0)
            return QStringLiteral("tiene la tabla %1 con otras columnas").arg(table.name);
    }
    return {};
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

std::unique_ptr<Database> openTolvekDatabase(const QString& programFolder, QString* error) {
    const QString path = QDir(programFolder).filePath(kDatabaseFileName);
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo::exists(path)) {
        // Built aside and renamed into place, so that an interrupted creation never leaves a half-made file.
        const QString temporary = path + QStringLiteral(".nueva");
        QFile::remove(temporary);
        try {
            createDatabase(temporary);
        } catch (const DatabaseError& e) {
            QFile::remove(temporary);
            *error = QStringLiteral("No se pudo crear la base de datos %1:\n%2").arg(shown, e.message());
            return nullptr;
        }
        if (!QFile::rename(temporary, path)) {
            QFile::remove(temporary);
            *error = QStringLiteral("No se pudo crear la base de datos %1").arg(shown);
            return nullptr;
        }
    }
    try {
        const QString fault = schemaFault(path);
        if (!fault.isEmpty()) {
            *error = QStringLiteral("El archivo %1 no es una base de datos de TOLVEK: %2.\nNo se ha modificado.")
                         .arg(shown, fault);
            return nullptr;
        }
        return Database::open(path);
    } catch (const DatabaseError& e) {
        if (e.busy())
            *error = QStringLiteral("La base de datos %1 está en uso por otro programa. Ciérrelo y vuelva a abrir "
                                    "TOLVEK 3.\nNo se ha modificado.")
                         .arg(shown);
        else
            *error = QStringLiteral("El archivo %1 no es una base de datos de TOLVEK (%2).\nNo se ha modificado.")
                         .arg(shown, e.message());
        return nullptr;
    }
}
