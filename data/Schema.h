#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The tables of tolvek.mdb. Readers take the columns by position, so the order here is part of the file's format.
struct TableDefinition {
    QString name;
    // Each entry: column name and its engine type (TEXT or INTEGER; dates are ISO text).
    QList<QPair<QString, QString>> columns;
    // Keys and uniqueness, as written after the columns.
    QString constraints;

    QStringList columnNames() const;
    QString createStatement() const;
};

const QList<TableDefinition>& tolvekTables();
