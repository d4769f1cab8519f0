#pragma once

#include "platform/Falla.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>
#include <stdexcept>

class Database;

// The previous version's export, `Recupera.txt`: one record per line, one byte per character (Windows-1252).
// The first line is a header (Vantrix's gives the number of records that follow it); every other record is a tag,
// "|" and values separated by "|"; the record "800" ends the file, and only blank lines may follow it.

inline const QString kRecuperaFileName = QStringLiteral("Recupera.txt");

// Why the export could not be imported, in words for the user.
class ImportError : public Falla {
public:
    explicit ImportError(const QString& message) : Falla(message) {}
};

// The bytes of one line as text, each byte one character of Windows-1252.
QString decodeWindows1252(const QByteArray& bytes);

// The record a line holds (without its line end): leading blanks skipped, and a record written between double
// quotes taken from inside them, commas and all. Throws ImportError when the closing quote is missing.
QString recordOfLine(const QString& line);

// The n + 1 values of the record that follow the "|" at `posicion` (0-based): each runs to the next "|", the last
// one to the end of the record. Throws ImportError when there are fewer or more values.
QStringList Conv_Insert(const QString& linea, qsizetype posicion, int n);

// One insert with its values, ready to be run with the values bound.
struct Insercion {
    QString sql;
    QVariantList values;
};

// The insert a record becomes; nothing for the record "800", which ends the export.
// Throws ImportError (without a line number) when the record does not fit the format.
std::optional<Insercion> convierteRegistro(const QString& record);

// Imports the export file into the database in one transaction and returns the number of records imported.
// Throws ImportError, naming the line when a record is at fault, with the database left as it was.
int importaRecupera(Database& db, const QString& path);
