#include "data/Schema.h"

#include "platform/Database.h"

namespace {

QString joined(const QList<Columna>& columnas, const char* after = "") {
    QStringList names;
    for (const Columna& c : columnas)
        names << QString(c) + QLatin1String(after);
    return names.join(QLatin1Char(','));
}

} // namespace

QStringList TableDefinition::columnNames() const {
    QStringList names;
    for (const ColumnaDeTabla& c : columns)
        names << c.columna;
    return names;
}

QString TableDefinition::createStatement() const {
    QStringList parts;
    for (const ColumnaDeTabla& c : columns)
        parts << QString(c.columna) + (c.tipo == Tipo::Numero ? QLatin1String(" INTEGER") : QLatin1String(" TEXT"));
    if (!constraints.isEmpty())
        parts << constraints;
    return QStringLiteral("create table %1 (%2)").arg(name, parts.join(QStringLiteral(", ")));
}

Tipo TableDefinition::tipo(const Columna& columna) const {
    for (const ColumnaDeTabla& c : columns)
        if (c.columna == columna)
            return c.tipo;
    qFatal("no column %s in %s", columna.nombre.data(), name.data());
}

QString TableDefinition::selectStatement(const QString& tail) const {
    QString sql = QStringLiteral("select %1 from %2").arg(columnNames().join(QLatin1Char(',')), name);
    if (!tail.isEmpty())
        sql += QLatin1Char(' ') + tail;
    return sql;
}

QString TableDefinition::selectStatement(const QList<Columna>& columnas) const {
    return QStringLiteral("select %1 from %2").arg(joined(columnas), name);
}

QString TableDefinition::insertStatement(const QList<Columna>& columnas) const {
    QList<Columna> all = columnas;
    if (all.isEmpty())
        for (const ColumnaDeTabla& c : columns)
            all << c.columna;
    QStringList marks;
    for (qsizetype i = 0; i < all.size(); ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("insert into %1(%2) values (%3)").arg(name, joined(all), marks.join(QLatin1Char(',')));
}

QVariantList TableDefinition::insertValues(const QVariantHash& row) const {
    for (auto it = row.begin(); it != row.end(); ++it)
        if (!columnNames().contains(it.key()))
            qFatal("no column %s in %s", qPrintable(it.key()), name.data());
    QVariantList values;
    for (const ColumnaDeTabla& c : columns)
        values << row.value(c.columna);
    return values;
}

void TableDefinition::inserta(Database& db, const QVariantHash& row) const {
    db.exec(insertStatement(), insertValues(row));
}

void TableDefinition::inserta(Database& db, const QList<Columna>& columnas, const QVariantList& valores) const {
    if (columnas.size() != valores.size())
        qFatal("%lld values for %lld columns of %s", qlonglong(valores.size()), qlonglong(columnas.size()),
               name.data());
    db.exec(insertStatement(columnas), valores);
}

QString donde(std::initializer_list<Columna> columnas) {
    return QStringLiteral("where ") + joined(columnas, "=?").replace(QLatin1Char(','), QStringLiteral(" and "));
}

QString entre(Columna columna, const QVariantList& valores) {
    QStringList marcas(valores.size(), QStringLiteral("?"));
    return QString(columna) + QStringLiteral(" in (") + marcas.join(QLatin1Char(',')) + QLatin1Char(')');
}

const std::array<TableDefinition, 12>& tolvekTables() {
    using namespace tabla;
    static const std::array<TableDefinition, 12> tables = {
        AA,           Domicilios_AA, Mandatarios,   Domicilios_MM, Aduanas_MM, Pedimentos_MM,
        Historico_AA, Periodos_H_AA, Periodos_H_MM, EntFed,        MpioDeleg,  Aduanas};
    return tables;
}

const std::array<TableDefinition, 9>& tablasCapturadas() {
    using namespace tabla;
    static const std::array<TableDefinition, 9> tables = {AA,           Domicilios_AA, Mandatarios,  Domicilios_MM,
                                                          Aduanas_MM,   Pedimentos_MM, Historico_AA, Periodos_H_AA,
                                                          Periodos_H_MM};
    return tables;
}

QString sentencia(const char* pattern, std::initializer_list<QString> names) {
    QString sql = QString::fromLatin1(pattern);
    for (const QString& name : names)
        sql = sql.arg(name);
    return sql;
}
