#pragma once

#include <QString>

#include <optional>

class Store;
class QIODevice;

// Writes the information file for the broker of patente `patente` from the database alone, row by row, into
// `out`: pipe-separated records in Windows-1252 with CR LF line ends. A value that cannot go into the file as it is
// (a "|", a line break, a character the code page lacks, a number or date that is not one) stops the writing with
// a message naming the table, the person and the field; what was written so far must then be thrown away, and so
// must it when the device or the database fails, which throws Falla. Nothing when the whole file was written.
std::optional<QString> Escribe_Archivo(Store& store, qint64 patente, QIODevice* out);

// The text as a message may show it: a character that would print as nothing, or turn the text around it, is
// shown by its code ("U+202E").
QString legible(const QString& text);
