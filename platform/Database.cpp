#include "platform/Database.h"

#include "platform/TextFold.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVarLengthArray>

#include <sqlite3.h>

#include <cerrno>

#include <atomic>
#include <utility>

namespace {

QString engineText(const QSqlError& error) {
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    return text;
}

QVariant forBinding(const QVariant& value) {
    // Dates are kept as ISO text so that they sort and compare as dates.
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    return value;
}

DatabaseError engineError(const QSqlError& error) {
    return DatabaseError(engineText(error), error.nativeErrorCode().toInt());
}

// The texts folded by fold() and joined by blanks, a NULL as an empty text. Made for every row a search reads, so on
// the stack.
void foldJoined(sqlite3_value** texts, int count, QVarLengthArray<char, 1024>& out) {
    qsizetype room = count;
    for (int i = 0; i < count; ++i)
        room += 2 * qsizetype(sqlite3_value_bytes(texts[i]));
    out.resize(room);
    char* end = out.data();
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            *end++ = ' ';
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(texts[i]));
        end = fold(QByteArrayView(text, sqlite3_value_bytes(texts[i])), end);
    }
    out.resize(end - out.data());
}

// fold_contains(needle, text, ...): the search of a text inside the engine, so that a search reads no row it does
// not show.
void foldContainsFunction(sqlite3_context* context, int count, sqlite3_value** arguments) {
    if (count < 2)
        return sqlite3_result_error(context, "fold_contains: a needle and at least one text", -1);
    // The needle is the same for every row of a statement: it is folded once and kept with the statement.
    QByteArray kept;
    auto* needle = static_cast<QByteArray*>(sqlite3_get_auxdata(context, 0));
    if (!needle) {
        QVarLengthArray<char, 1024> folded;
        foldJoined(arguments, 1, folded);
        kept = QByteArray(folded.constData(), folded.size());
        needle = &kept;
        sqlite3_set_auxdata(context, 0, new QByteArray(kept), [](void* p) { delete static_cast<QByteArray*>(p); });
    }
    QVarLengthArray<char, 1024> texts;
    foldJoined(arguments + 1, count - 1, texts);
    sqlite3_result_int(context, QByteArrayView(texts.constData(), texts.size()).contains(*needle));
}

void bindAndRun(QSqlQuery& query, const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, forBinding(values.at(i)));
    if (!query.exec())
        throw engineError(query.lastError());
}

} // namespace

DatabaseError::DatabaseError(const QString& message, int engineCode) : Falla(message), code_(engineCode & 0xff) {}

// SQLITE_LOCKED too: another connection of this program holds the file.
bool DatabaseError::busy() const {
    return code_ == SQLITE_BUSY || code_ == SQLITE_LOCKED;
}

bool DatabaseError::damaged() const {
    return code_ == SQLITE_CORRUPT || code_ == SQLITE_NOTADB;
}

bool DatabaseError::ioError() const {
    return code_ == SQLITE_IOERR;
}

bool DatabaseError::diskFull() const {
    return code_ == SQLITE_FULL;
}

Query::Query(std::unique_ptr<QSqlQuery> query, Database& db) : query_(std::move(query)), db_(&db) {}
Query::Query(Query&&) noexcept = default;
Query::~Query() = default;

bool Query::next() {
    if (query_->next())
        return true;
    if (query_->lastError().type() == QSqlError::NoError)
        return false;
    throw db_->refused(engineError(query_->lastError()));
}

bool Query::isNull(int column) const {
    return query_->isNull(column);
}

QVariant Query::value(int column) const {
    return query_->value(column);
}

QString Query::text(int column) const {
    const QVariant v = query_->value(column);
    return v.isNull() ? QString() : v.toString();
}

qint64 Query::number(int column) const {
    return query_->value(column).toLongLong();
}

QDate Query::date(int column) const {
    return QDate::fromString(text(column), Qt::ISODate);
}

bool Query::isNull(const QString& column) const {
    return value(column).isNull();
}

QVariant Query::value(const QString& column) const {
    // Every row of a select has the same columns: they are looked up by name once, not once per value, and as
    // QSqlRecord looks them up, whatever their case, the first of a name standing.
    if (indices_.isEmpty()) {
        const QSqlRecord record = query_->record();
        for (int i = record.count() - 1; i >= 0; --i)
            indices_.insert(record.fieldName(i).toLower(), i);
    }
    const int index = indices_.value(column.toLower(), -1);
    if (index < 0)
        throw DatabaseError(QStringLiteral("no such column: %1").arg(column));
    return query_->value(index);
}

QString Query::text(const QString& column) const {
    const QVariant v = value(column);
    return v.isNull() ? QString() : v.toString();
}

qint64 Query::number(const QString& column) const {
    return value(column).toLongLong();
}

QDate Query::date(const QString& column) const {
    return QDate::fromString(text(column), Qt::ISODate);
}

Statement::Statement(std::unique_ptr<QSqlQuery> query, Database& db) : query_(std::move(query)), db_(&db) {}
Statement::Statement(Statement&&) noexcept = default;
Statement& Statement::operator=(Statement&&) noexcept = default;
Statement::~Statement() = default;

void Statement::run(const QVariantList& values) {
    // The engine's driver keeps the values of the last run and only notices when there are too many.
    if (values.size() < bound_)
        throw DatabaseError(QStringLiteral("Parameter count mismatch"));
    bound_ = values.size();
    db_->refuseIfDamaged();
    try {
        bindAndRun(*query_, values);
    } catch (const DatabaseError& e) {
        throw db_->refused(e);
    }
}

Rows::Rows(Rows&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)), db_(std::exchange(other.db_, nullptr)) {}

Rows::~Rows() {
    sqlite3_finalize(statement_);
}

bool Rows::next() {
    switch (sqlite3_step(statement_)) {
    case SQLITE_ROW:
        return true;
    case SQLITE_DONE:
        return false;
    default: {
        sqlite3* handle = sqlite3_db_handle(statement_);
        throw db_->refused(DatabaseError(QString::fromUtf8(sqlite3_errmsg(handle)), sqlite3_errcode(handle)));
    }
    }
}

Rows::Type Rows::type(int column) const {
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

qint64 Rows::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

double Rows::real(int column) const {
    return sqlite3_column_double(statement_, column);
}

QByteArrayView Rows::utf8(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return QByteArrayView(text, sqlite3_column_bytes(statement_, column));
}

Database::Database(QString connection, QString path) : connection_(std::move(connection)), path_(std::move(path)) {}

std::unique_ptr<Database> Database::open(const QString& path) {
    static std::atomic<int> counter{0};
    const QString name = QStringLiteral("tolvek-%1").arg(++counter);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            const DatabaseError error = engineError(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw error;
        }
    }
    auto opened = std::unique_ptr<Database>(new Database(name, path));
    if (sqlite3_create_function_v2(opened->engine(), "fold_contains", -1,
                                   SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr, foldContainsFunction,
                                   nullptr, nullptr, nullptr) != SQLITE_OK)
        throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(opened->engine())), sqlite3_errcode(opened->engine()));
    // Every page is checked as it is read, so that a damaged one is met as damage by the statement that reads it
    // rather than read as rows of garbage.
    opened->exec(QStringLiteral("pragma cell_size_check = on"));
    return opened;
}

Database::~Database() {
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

sqlite3* Database::engine() const {
    // The driver's own handle: the engine library is the one the driver links, so what runs on it runs on this
    // connection, inside whatever it has begun.
    const QVariant handle = QSqlDatabase::database(connection_, false).driver()->handle();
    sqlite3* db = handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0
                      ? *static_cast<sqlite3* const*>(handle.constData())
                      : nullptr;
    if (!db)
        throw DatabaseError(QStringLiteral("la conexión no está abierta"));
    return db;
}

std::unique_ptr<QSqlQuery> Database::prepared(const QString& sql) {
    auto query = std::make_unique<QSqlQuery>(QSqlDatabase::database(connection_, false));
    query->setForwardOnly(true);
    if (!query->prepare(sql))
        throw engineError(query->lastError());
    return query;
}

DatabaseError Database::damageError() const {
    return DatabaseError(QStringLiteral("La base de datos %1 está dañada (%2); TOLVEK 3 ya no escribirá en ella. "
                                        "Cierre el programa y vuelva a abrirlo: le ofrecerá restaurar su copia de "
                                        "respaldo más reciente.")
                             .arg(QDir::toNativeSeparators(path_), *damage_),
                         SQLITE_CORRUPT);
}

void Database::refuseIfDamaged() const {
    if (damage_)
        throw damageError();
}

DatabaseError Database::refused(const DatabaseError& error) {
    // The engine tells a full disk as SQLITE_FULL but a spent quota only as an I/O error; the system's own reason,
    // which the engine keeps for the connection, tells them apart.
    if (error.ioError()) {
        const int cause = sqlite3_system_errno(engine());
        if (cause == ENOSPC || cause == EDQUOT)
            return DatabaseError(error.message(), SQLITE_FULL);
    }
    if (!error.damaged())
        return error;
    if (!damage_)
        damage_ = error.message();
    return damageError();
}

std::unique_ptr<QSqlQuery> Database::execute(const QString& sql, const QVariantList& values) {
    refuseIfDamaged();
    try {
        auto query = prepared(sql);
        bindAndRun(*query, values);
        return query;
    } catch (const DatabaseError& e) {
        throw refused(e);
    }
}

void Database::exec(const QString& sql, const QVariantList& values) {
    execute(sql, values);
}

Query Database::select(const QString& sql, const QVariantList& values) {
    return Query(execute(sql, values), *this);
}

Rows Database::rows(const QString& sql) {
    refuseIfDamaged();
    sqlite3* db = engine();
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    const int code = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &statement, nullptr);
    if (code != SQLITE_OK)
        throw refused(DatabaseError(QString::fromUtf8(sqlite3_errmsg(db)), code));
    return Rows(statement, *this);
}

Statement Database::prepare(const QString& sql) {
    refuseIfDamaged();
    try {
        return Statement(prepared(sql), *this);
    } catch (const DatabaseError& e) {
        throw refused(e);
    }
}

bool Database::exists(const QString& sql, const QVariantList& values) {
    return select(sql, values).next();
}

QStringList Database::columns(const QString& table) {
    QStringList names;
    Query q = select(QStringLiteral("select name from pragma_table_info(?)"), {table});
    while (q.next())
        names << q.text(QStringLiteral("name"));
    return names;
}

std::optional<QString> Database::damage() {
    try {
        Query q = select(QStringLiteral("pragma quick_check(1)"));
        const QString verdict = q.next() ? q.text(0) : QString();
        if (verdict == QLatin1String("ok"))
            return std::nullopt;
        damage_ = verdict;
        return verdict;
    } catch (const DatabaseError& e) {
        if (!e.damaged())
            throw;
        return damage_;
    }
}

void Database::begin() {
    exec(QStringLiteral("begin"));
}

void Database::commit() {
    exec(QStringLiteral("commit"));
}

void Database::rollback() {
    exec(QStringLiteral("rollback"));
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.begin();
}

Transaction::~Transaction() {
    if (!done_) {
        try {
            db_.rollback();
        } catch (const DatabaseError&) {
            // The engine may already have rolled back on its own after a failed statement.
        }
    }
}

void Transaction::commit() {
    db_.commit();
    done_ = true;
}
