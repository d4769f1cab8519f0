#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantHash>
#include <QVariantList>

// The tables of tolvek.mdb. Readers take the columns by position, so the order here is part of the file's format.
struct TableDefinition {
    QString name;
    // Each entry: column name and its engine type (TEXT or INTEGER; dates are ISO text).
    QList<QPair<QString, QString>> columns;
    // Keys and uniqueness, as written after the columns.
    QString constraints;

    QStringList columnNames() const;
    QString createStatement() const;
    // "select <every column, in order> from <table>" followed by the tail (a where or order clause).
    QString selectStatement(const QString& tail = {}) const;
    // An insert of every column, each value a bound placeholder.
    QString insertStatement() const;
    // The values for insertStatement(), taken by column name; a column left out is Null.
    QVariantList insertValues(const QVariantHash& row) const;
};

const QList<TableDefinition>& tolvekTables();
// The definition of one of the tables above; the name must be one of them.
const TableDefinition& tabla(const QString& name);
