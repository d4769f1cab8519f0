#pragma once

#include <QByteArrayView>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// The rows of one select straight from the engine, each value as it is stored (text as UTF-8 bytes), with no
// conversion per row. Only for reading whole tables fast (the information file): everything else goes through
// Database. It opens its own read-only connection to the file, so it sees what has been committed; like every
// other object of the program it is used from the one thread only, so the connection takes no locks of its own.
class RawRows {
public:
    enum class Type { Integer, Float, Text, Blob, Null };

    // Throws DatabaseError when the file cannot be opened or the statement is refused.
    RawRows(const QString& databasePath, const QString& sql);
    ~RawRows();
    RawRows(const RawRows&) = delete;
    RawRows& operator=(const RawRows&) = delete;

    // Throws DatabaseError when the engine fails while reading.
    bool next();
    Type type(int column) const;
    bool isNull(int column) const { return type(column) == Type::Null; }
    qint64 integer(int column) const;
    double real(int column) const;
    // Valid until the next call of next().
    QByteArrayView utf8(int column) const;

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
};
