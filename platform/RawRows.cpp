#include "platform/RawRows.h"

#include "platform/Database.h"

#include <QFile>

#include <sqlite3.h>

namespace {
QString engineText(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("sin memoria");
}
} // namespace

RawRows::RawRows(const QString& databasePath, const QString& sql) {
    if (sqlite3_open_v2(QFile::encodeName(databasePath).constData(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const QString error = engineText(db_);
        sqlite3_close(db_);
        throw DatabaseError(error);
    }
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &statement_, nullptr) != SQLITE_OK) {
        const QString error = engineText(db_);
        sqlite3_close(db_);
        throw DatabaseError(error);
    }
}

RawRows::~RawRows() {
    sqlite3_finalize(statement_);
    sqlite3_close(db_);
}

bool RawRows::next() {
    switch (sqlite3_step(statement_)) {
    case SQLITE_ROW:
        return true;
    case SQLITE_DONE:
        return false;
    default:
        throw DatabaseError(engineText(db_));
    }
}

RawRows::Type RawRows::type(int column) const {
    switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_INTEGER:
        return Type::Integer;
    case SQLITE_FLOAT:
        return Type::Float;
    case SQLITE_TEXT:
        return Type::Text;
    case SQLITE_BLOB:
        return Type::Blob;
    default:
        return Type::Null;
    }
}

qint64 RawRows::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

double RawRows::real(int column) const {
    return sqlite3_column_double(statement_, column);
}

QByteArrayView RawRows::utf8(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return QByteArrayView(text, sqlite3_column_bytes(statement_, column));
}
