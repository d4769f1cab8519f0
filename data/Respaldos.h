#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class Database;

// Copies of the database kept in the folder "respaldos" beside its file, each named after the local time it was
// made (tolvek-AAAAMMDD-HHMMSS.mdb); only the newest kGuardados stay. To restore one, the broker closes the program
// and copies it over the database file.
class Respaldos {
public:
    using Clock = std::function<QDateTime()>;
    static constexpr int kGuardados = 10;

    explicit Respaldos(
        Database& db, Clock now = [] { return QDateTime::currentDateTime(); });

    // A copy unless the newest one is less than a day old. Empty when all went well; otherwise what failed, in words
    // for the broker. A failure leaves the database as it was and the caller goes on without the copy.
    QString diario();
    // A copy whatever the age of the newest one; the same answer.
    QString respalda();

private:
    // The times of the copies in the folder, newest first, by their names.
    QList<QDateTime> copias() const;
    QString nombre(const QDateTime& hecha) const;
    QString borraAntiguas();

    Database& db_;
    Clock now_;
    QString carpeta_;
};
