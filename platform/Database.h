#pragma once

#include "platform/Falla.h"

#include <QByteArrayView>
#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <optional>
#include <stdexcept>

class Database;
class QSqlQuery;

// A statement the engine refused; what() carries the engine's own words, `engineCode` its result code (0: none).
class DatabaseError : public Falla {
public:
    explicit DatabaseError(const QString& message, int engineCode = 0);
    // The file is locked by another program: nothing is wrong with it.
    bool busy() const;
    // The file itself is damaged (SQLITE_CORRUPT, SQLITE_NOTADB): the fault is in no value of the user's.
    bool damaged() const;
    // The disk the engine wrote to is full, or the user's quota on it spent.
    bool diskFull() const;
    // The system refused a read or write of the file (SQLITE_IOERR).
    bool ioError() const;

private:
    int code_ = 0;
};

// A select read row by row, in the order the engine returns the rows, without holding them all.
class Query {
public:
    Query(std::unique_ptr<QSqlQuery> query, Database& db);
    Query(Query&&) noexcept;
    ~Query();

    // Throws DatabaseError when the engine fails on the way to the next row (a damaged page), rather than end early.
    bool next();
    bool isNull(int column) const;
    QVariant value(int column) const;
    // Null reads as the empty text.
    QString text(int column) const;
    qint64 number(int column) const;
    // Dates are stored as ISO text (yyyy-mm-dd); anything else reads as a null date.
    QDate date(int column) const;
    // The same, by the column's name in the select.
    bool isNull(const QString& column) const;
    QVariant value(const QString& column) const;
    QString text(const QString& column) const;
    qint64 number(const QString& column) const;
    QDate date(const QString& column) const;

private:
    std::unique_ptr<QSqlQuery> query_;
    Database* db_;
    mutable QHash<QString, int> indices_;
};

// One statement prepared once and run many times, each time with new values bound: the engine parses it once,
// which is what makes a long run of the same insert (the import of the previous version's data) as fast as the
// engine's own shell. Only for statements that return no rows. It belongs to its Database and must go before it.
class Statement {
public:
    Statement(std::unique_ptr<QSqlQuery> query, Database& db);
    Statement(Statement&&) noexcept;
    Statement& operator=(Statement&&) noexcept;
    ~Statement();

    // Throws DatabaseError when the engine refuses the values; the statement can be run again afterwards.
    // Every run binds all of the statement's values: fewer than before would leave the earlier ones in place.
    void run(const QVariantList& values = {});

private:
    std::unique_ptr<QSqlQuery> query_;
    Database* db_;
    qsizetype bound_ = 0;
};

struct sqlite3;
struct sqlite3_stmt;

// The rows of one select straight from the engine, each value as it is stored (text as UTF-8 bytes), with no
// conversion per row: for reading whole tables fast (the information file). It reads on its Database's own
// connection, so it sees what that connection sees, and must go before it.
class Rows {
public:
    enum class Type { Integer, Float, Text, Blob, Null };

    Rows(Rows&&) noexcept;
    ~Rows();
    Rows(const Rows&) = delete;
    Rows& operator=(const Rows&) = delete;

    // Throws DatabaseError when the engine fails while reading.
    bool next();
    Type type(int column) const;
    bool isNull(int column) const { return type(column) == Type::Null; }
    qint64 integer(int column) const;
    double real(int column) const;
    // Valid until the next call of next().
    QByteArrayView utf8(int column) const;

private:
    friend class Database;
    Rows(sqlite3_stmt* statement, Database& db) : statement_(statement), db_(&db) {}
    sqlite3_stmt* statement_ = nullptr;
    Database* db_ = nullptr;
};

// One open database file. Every statement is prepared and takes its values bound, never spliced. Its statements may
// call fold_contains(needle, text, ...): 1 when the texts, joined by blanks, contain the needle, both folded by
// fold() (platform/TextFold.h), a NULL as an empty text; else 0.
class Database {
public:
    // Opens an existing file; throws DatabaseError when the engine cannot open it.
    // A file that exists but is not a database is only noticed by the first statement.
    static std::unique_ptr<Database> open(const QString& path);
    ~Database();

    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QString path() const { return path_; }

    // Runs a statement that returns no rows; throws DatabaseError when the engine refuses it.
    void exec(const QString& sql, const QVariantList& values = {});
    Query select(const QString& sql, const QVariantList& values = {});
    // The select's rows as the engine holds them; throws DatabaseError when the engine refuses the statement.
    Rows rows(const QString& sql);
    // Throws DatabaseError when the engine refuses the statement itself.
    Statement prepare(const QString& sql);
    // True when the select gives at least one row.
    bool exists(const QString& sql, const QVariantList& values = {});
    // The column names of a table in their stored order; empty when there is no such table.
    QStringList columns(const QString& table);
    // What the engine's check of the whole file finds wrong (PRAGMA quick_check); nothing when it is whole.
    std::optional<QString> damage();

    void begin();
    void commit();
    void rollback();

private:
    friend class Query;
    friend class Statement;
    friend class Rows;
    Database(QString connection, QString path);
    DatabaseError damageError() const;
    // Throws once damage has been met: nothing more runs on this file.
    void refuseIfDamaged() const;
    // The engine's refusal as it leaves this class: damage is remembered and told as damage of the file.
    DatabaseError refused(const DatabaseError& error);
    std::unique_ptr<QSqlQuery> prepared(const QString& sql);
    sqlite3* engine() const;
    std::unique_ptr<QSqlQuery> execute(const QString& sql, const QVariantList& values);

    QString connection_;
    QString path_;
    // Set by the first statement that meets damage: from then on no statement runs, so nothing is written to a
    // file whose pages cannot be trusted.
    std::optional<QString> damage_;
};

// All or nothing: rolls back on destruction unless commit() was called.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& db_;
    bool done_ = false;
};
