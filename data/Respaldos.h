#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

class Database;

// Copies of the database kept in the folder "respaldos" beside its file, each named after the local time it was
// made (tolvek-AAAAMMDD-HHMMSS.mdb), readable by the broker alone. The newest kGuardados stay, and besides them the
// newest of each of the last kDias days.
class Respaldos {
public:
    using Clock = std::function<QDateTime()>;
    static constexpr int kGuardados = 10;
    static constexpr int kDias = 30;

    explicit Respaldos(
        Database& db, Clock now = [] { return QDateTime::currentDateTime(); });

    // A copy unless the newest one is less than a day old; first, what a copy broken off by a crash left is removed.
    // Throws Falla, saying what failed in words for the broker; a failure leaves the database as it was and the
    // caller goes on without the copy.
    void diario();
    // A copy when this run has written anything since it opened the database (the newest copy was made before
    // that, at the start); the same way.
    void alCerrar();
    // A copy whatever the age of the newest one; the same way.
    void respalda();
    // When the newest copy was made; nothing when there is none.
    std::optional<QDateTime> ultima() const;

    // A copy that passes the engine's check, as the broker is offered it in place of a damaged database.
    struct Sana {
        QString path;
        QDateTime hecha;
        qint64 mandatarios = 0;
    };
    // The newest copy beside the database file that is whole; nothing when there is none.
    static std::optional<Sana> copiaSana(const QString& databasePath);
    // Puts the copy in place of the database file in one step; the damaged file (and its journal) stays beside it
    // under a new name, never removed, which is given back. Throws Falla, and then nothing has changed.
    static QString restaura(const QString& databasePath, const Sana& copia, const QDateTime& now);

private:
    static QString carpetaDe(const QString& databasePath);
    // The times of the copies in the folder, newest first, by their names.
    static QList<QDateTime> copias(const QString& carpeta);
    static QString nombre(const QString& carpeta, const QDateTime& hecha);
    void borraAntiguas();
    void limpiaParcial();

    Database& db_;
    Clock now_;
    QString carpeta_;
};
