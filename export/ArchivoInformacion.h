#pragma once

#include <QString>

#include <functional>
#include <optional>

class Store;
class QIODevice;

// Writes the information file for the broker of patente `patente` from the database alone, row by row, into
// `out`: pipe-separated records in Windows-1252 with CR LF line ends. A value that cannot go into the file as it is
// (a "|", a line break, a character the code page lacks, a number or date that is not one) stops the writing with
// a message naming the table, the person and the field; what was written so far must then be thrown away, and so
// must it when the device or the database fails, which throws Falla. Nothing when the whole file was written.
std::optional<QString> Escribe_Archivo(Store& store, qint64 patente, QIODevice* out);

// A value the information file cannot hold, told as the writer would stop on it.
struct FaltaValor {
    QString tabla;
    // The person whose row it is, as stored; empty for the broker's own rows.
    QString curp;
    QString mensaje;
};

// Reads every record the information file would carry and gives each value it cannot hold, without writing
// anything. Throws DatabaseError when a table cannot be read.
void recorreValores(Store& store, const std::function<void(const FaltaValor&)>& falta);

// The text as a message may show it: a character that would print as nothing, or turn the text around it, is
// shown by its code ("U+202E").
QString legible(const QString& text);
