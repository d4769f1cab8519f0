#include "data/Schema.h"

namespace {

const QString T = QStringLiteral("TEXT");
const QString N = QStringLiteral("INTEGER");
// Dates are stored as ISO text, yyyy-mm-dd.
const QString D = QStringLiteral("TEXT");

QList<QPair<QString, QString>> address(bool withCurp) {
    QList<QPair<QString, QString>> c;
    if (withCurp)
        c << qMakePair(QStringLiteral("CURP"), T);
    else
        c << qMakePair(QStringLiteral("Tipo_Dom"), N);
    c << qMakePair(QStringLiteral("EntFed"), T) << qMakePair(QStringLiteral("MDeleg"), N)
      << qMakePair(QStringLiteral("Calle"), T) << qMakePair(QStringLiteral("NoExt"), T)
      << qMakePair(QStringLiteral("NoInt"), T) << qMakePair(QStringLiteral("Colonia"), T)
      << qMakePair(QStringLiteral("CP"), T) << qMakePair(QStringLiteral("Telefono"), T)
      << qMakePair(QStringLiteral("Fax"), T);
    if (withCurp)
        c << qMakePair(QStringLiteral("Tipo_Dom"), N);
    return c;
}

QList<TableDefinition> build() {
    auto col = [](const char* name, const QString& type) { return qMakePair(QString::fromLatin1(name), type); };
    return {
        {QStringLiteral("AA"),
         {col("Patente", N), col("Nombre", T), col("ApPaterno", T), col("ApMaterno", T), col("RFC", T), col("CURP", T),
          col("Autorizacion", N), col("Adscripcion", N)},
         {}},
        {QStringLiteral("Domicilios_AA"), address(false), QStringLiteral("UNIQUE (Tipo_Dom)")},
        {QStringLiteral("Mandatarios"),
         {col("CURP", T), col("RFC", T), col("Nombre", T), col("ApPaterno", T), col("ApMaterno", T), col("Mandato", N),
          col("Requerimiento", T), col("Acreditacion", N), col("Operando", N)},
         QStringLiteral("PRIMARY KEY (CURP)")},
        {QStringLiteral("Domicilios_MM"), address(true), QStringLiteral("UNIQUE (CURP, Tipo_Dom)")},
        {QStringLiteral("Aduanas_MM"), {col("CURP", T), col("NoAduana", N)}, {}},
        {QStringLiteral("Pedimentos_MM"),
         {col("CURP", T), col("NoAduana", N), col("NoPedimento", T), col("FechPedimento", D)},
         {}},
        {QStringLiteral("Historico_AA"),
         {col("RFC", T), col("CURP", T), col("Nombre", T), col("ApPaterno", T), col("ApMaterno", T)},
         QStringLiteral("PRIMARY KEY (CURP)")},
        {QStringLiteral("Periodos_H_AA"),
         {col("CURP", T), col("NoAduana", N), col("FechaIni", D), col("FechaFin", D)},
         {}},
        {QStringLiteral("Periodos_H_MM"),
         {col("CURP", T), col("NoAduana", N), col("Patente_MM", N), col("FechaIni", D), col("FechaFin", D)},
         {}},
        {QStringLiteral("EntFed"), {col("cveEntFed", T), col("EntFed", T)}, QStringLiteral("PRIMARY KEY (cveEntFed)")},
        {QStringLiteral("MpioDeleg"),
         {col("cveEntFed", T), col("NoMDeleg", N), col("MDeleg", T)},
         QStringLiteral("PRIMARY KEY (cveEntFed, NoMDeleg)")},
        {QStringLiteral("Aduanas"), {col("cveAduana", N), col("Aduana", T)}, QStringLiteral("PRIMARY KEY (cveAduana)")},
    };
}

} // namespace

QStringList TableDefinition::columnNames() const {
    QStringList names;
    for (const auto& c : columns)
        names << c.first;
    return names;
}

QString TableDefinition::createStatement() const {
    QStringList parts;
    for (const auto& c : columns)
        parts << c.first + QLatin1Char(' ') + c.second;
    if (!constraints.isEmpty())
        parts << constraints;
    return QStringLiteral("create table %1 (%2)").arg(name, parts.join(QStringLiteral(", ")));
}

const QList<TableDefinition>& tolvekTables() {
    static const QList<TableDefinition> tables = build();
    return tables;
}

QString TableDefinition::selectStatement(const QString& tail) const {
    QString sql = QStringLiteral("select %1 from %2").arg(columnNames().join(QLatin1Char(',')), name);
    if (!tail.isEmpty())
        sql += QLatin1Char(' ') + tail;
    return sql;
}

QString TableDefinition::insertStatement() const {
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("insert into %1(%2) values (%3)")
        .arg(name, columnNames().join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
}

QVariantList TableDefinition::insertValues(const QVariantHash& row) const {
    QVariantList values;
    for (const auto& c : columns)
        values << row.value(c.first);
    return values;
}

const TableDefinition& tabla(const QString& name) {
    for (const TableDefinition& t : tolvekTables()) {
        if (t.name == name)
            return t;
    }
    qFatal("no table %s", qPrintable(name));
}
