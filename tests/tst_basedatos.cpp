#include "app/AbreBaseDatos.h"
#include "app/AcercaDe.h"
#include "data/BaseDatos.h"
#include "data/Respaldos.h"
#include "data/Schema.h"
#include "platform/Database.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h> // umask

class TestBaseDatos : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Database> db_;

    QStringList curps() { return tableRows(*db_, "Mandatarios"); }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        db_ = openDatabase(dir_->path());
    }
    void cleanup() {
        db_.reset();
        dir_.reset();
    }
    // The database replaced by the version-0 file; its captured rows.
    QStringList ponVersion0() {
        db_.reset();
        const QString path = dir_->filePath("tolvek.mdb");
        QFile::remove(path);
        if (!QFile::copy(TOLVEK_TEST_DATA "/version0.mdb", path) ||
            !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther))
            qFatal("cannot copy version0.mdb");
        return dumpAll(*Database::open(path));
    }
    // The table's root page damaged in the file as a disk does it: its cell pointers flipped, or, for a catalogue,
    // the page zeroed. The header's change counter moves, so that an open connection reads the page anew.
    static void estropea(const QString& path, const QString& table) {
        const qint64 size = 4096; // the engine's default page size, which the program keeps
        qint64 at = 0;
        {
            const auto db = Database::open(path);
            Query q = db->select("select rootpage from sqlite_master where name = ?", {table});
            at = q.next() ? (q.number(0) - 1) * size : 0;
        }
        QByteArray bytes = readFile(path);
        if (table == "MpioDeleg")
            bytes.replace(at, size, QByteArray(size, '\0'));
        else
            for (qint64 i = 8; i < 14; ++i)
                bytes[at + i] = char(~bytes[at + i]);
        bytes[27] = char(bytes[27] + 1);
        writeFile(path, bytes);
    }
    static qint64 version(Database& db) {
        Query q = db.select("pragma user_version");
        return q.next() ? q.number(0) : -1;
    }

    // Whole catalogues (their names are read back on the pages: a Ñ in tst_importa, commas in tst_historico).
    void cataloguesLoaded() {
        Query q = db_->select("select (select count(*) from EntFed), (select count(*) from MpioDeleg), "
                              "(select count(*) from Aduanas)");
        QVERIFY(q.next());
        QCOMPARE(QList<qint64>({q.number(0), q.number(1), q.number(2)}), QList<qint64>({32, 2478, 50}));
    }

    void valuesStoredExactly() {
        // Inserted in another column order than the table's; read back by position.
        using namespace col;
        tabla::AA.inserta(
            *db_, {Patente, CURP, RFC, Nombre, ApPaterno, ApMaterno, Autorizacion, Adscripcion},
            {470, "GODE561231HDFRRN09", "GODE561231GR8", "O'BRIEN'; drop table AA; --", "D'ANGELO", "", 0, 3});
        tabla::Pedimentos_MM.inserta(*db_, {CURP, NoAduana, NoPedimento, FechPedimento},
                                     {"C", 470, "0001234", QDate(2000, 3, 5)});
        QCOMPARE(tableRows(*db_, "AA"), QStringList({"#470|O'BRIEN'; drop table AA; --|D'ANGELO||GODE561231GR8|"
                                                     "GODE561231HDFRRN09|#0|#3"}));
        QCOMPARE(tableRows(*db_, "Pedimentos_MM"), QStringList({"C|#470|0001234|2000-03-05"}));
        Query q = db_->select("select * from Pedimentos_MM where FechPedimento=?", {QDate(2000, 3, 5)});
        QVERIFY(q.next());
        QCOMPARE(q.date(3), QDate(2000, 3, 5));
    }

    void statementInRolledBackTransaction() {
        db_->exec("insert into Mandatarios(CURP) values (?)", {"EXISTE"});
        const QStringList before = curps();
        Statement insert = db_->prepare("insert into Mandatarios(CURP) values (?)");
        {
            Transaction t(*db_);
            insert.run({"NUEVO1"});
            insert.run({"NUEVO2"});
            QCOMPARE(curps().size(), 3);
            QVERIFY(fallaDe([&] { insert.run({"NUEVO1"}); }).contains("UNIQUE"));
        }
        QCOMPARE(curps(), before);
        // Refused once and rolled back, the same statement stores its row at once outside the transaction.
        insert.run({"NUEVO1"});
        QCOMPARE(curps().size(), 2);
    }

    void statementRefusesWrongValueCount_data() {
        QTest::addColumn<QVariantList>("values");
        QTest::newRow("fewer than last time") << QVariantList{"B"};
        QTest::newRow("more than the statement takes") << QVariantList{"B", 2, 3};
        QTest::newRow("none") << QVariantList{};
    }
    void statementRefusesWrongValueCount() {
        QFETCH(QVariantList, values);
        Statement insert = db_->prepare("insert into Aduanas_MM(CURP,NoAduana) values (?,?)");
        insert.run({"A", 1});
        // A value left from the run before must not be stored in place of a missing one.
        QVERIFY_THROWS_EXCEPTION(DatabaseError, insert.run(values));
        QCOMPARE(tableRows(*db_, "Aduanas_MM"), QStringList({"A|#1"}));
    }

    // A file of the program made before it kept the version comes up to date with every row, a copy made first, and
    // becomes its owner's alone. Real damage is then told at start with the newest whole copy offered: OK puts it in
    // place and keeps the damaged file aside, Cancel changes nothing, and without a whole copy the start ends.
    void version0UpgradedThenDamaged_data() {
        QTest::addColumn<QString>("table"); // whose root page is damaged
        QTest::addColumn<bool>("copy");     // a whole copy is there
        QTest::addColumn<bool>("accept");
        QTest::newRow("row page bytes flipped, copy restored") << "Mandatarios" << true << true;
        QTest::newRow("catalogue page zeroed, cancelled") << "MpioDeleg" << true << false;
        QTest::newRow("no whole copy") << "Mandatarios" << false << false;
    }
    void version0UpgradedThenDamaged() {
        QFETCH(QString, table);
        QFETCH(bool, copy);
        QFETCH(bool, accept);
        const QString path = dir_->filePath("tolvek.mdb");
        QCOMPARE(version(*db_), 1);
        QCOMPARE(fileMode(path), 0600);
        const QStringList v0 = ponVersion0();
        QVERIFY(v0.join("\n").contains("D'ARTAGNAN"));
        db_ = openTolvekDatabase(dir_->path());
        QCOMPARE(dumpAll(*db_), v0);
        QCOMPARE(version(*db_), 1);
        QCOMPARE(fileMode(path), 0600);
        const std::optional<Respaldos::Sana> copia = Respaldos::copiaSana(path);
        QVERIFY(copia && copia->mandatarios == 3);
        QCOMPARE(version(*Database::open(copia->path)), 0);
        db_.reset();
        estropea(path, table);
        QDir respaldos(dir_->filePath("respaldos"));
        if (!copy)
            QVERIFY(QFile::remove(respaldos.filePath(respaldos.entryList(QDir::Files).first())));
        // A newer copy that is damaged too is passed over.
        QVERIFY(QFile::copy(path, respaldos.filePath("tolvek-20991231-000000.mdb")));
        const QByteArray before = readFile(path);
        const QStringList files = QDir(dir_->path()).entryList(QDir::Files);

        ScriptedMessages messages;
        messages.answerNext(accept);
        const std::unique_ptr<Database> db = abreBaseDatos(nullptr, dir_->path());
        const QString told = messages.texts().join("\n");
        QVERIFY2(told.contains("está dañada"), qPrintable(told));
        QCOMPARE(told.contains("respaldo del " + QDate::currentDate().toString("dd/MM/yyyy")), copy);
        QCOMPARE(told.contains("contiene 3 mandatarios"), copy);
        QCOMPARE(bool(db), accept);
        if (!accept) {
            QCOMPARE(readFile(path), before);
            QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), files);
            return;
        }
        QCOMPARE(dumpAll(*db), v0);
        const QStringList aside = QDir(dir_->path()).entryList({"tolvek.mdb.danada-*"}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(readFile(dir_->filePath(aside.first())), before);
    }

    // Damage met after the start is told as damage, and nothing is written to the file from then on.
    void laterDamageStopsWrites() {
        storeBroker(*db_);
        const QString path = dir_->filePath("tolvek.mdb");
        estropea(path, "AA");
        const QByteArray before = readFile(path);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, db_->select("select * from AA").next());
        const QString told = db_->damage().value_or("none");
        QVERIFY2(told.contains("malformed"), qPrintable(told));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, db_->exec("insert into Aduanas_MM values ('X', 1)"));
        QCOMPARE(readFile(path), before);
    }

    // A file that is not the program's database is refused, named, and left as it was, with nothing beside it.
    void othersRefusedUntouched_data() {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QByteArray>("bytes"); // the file's bytes instead of the database's, when given
        QTest::addColumn<QString>("named");
        QTest::newRow("missing table") << QStringList{"drop table Periodos_H_MM"} << QByteArray() << "Periodos_H_MM";
        QTest::newRow("other columns") << QStringList{"drop table Aduanas_MM",
                                                      "create table Aduanas_MM (NoAduana INTEGER, CURP TEXT)"}
                                       << QByteArray() << "Aduanas_MM";
        QTest::newRow("newer version") << QStringList{"pragma user_version = 2"} << QByteArray()
                                       << "creada por una versión más reciente de TOLVEK 3";
        QTest::newRow("not a database") << QStringList()
                                        << QByteArray("Standard Jet DB\0\0 not really", 29).repeated(100)
                                        << QDir::toNativeSeparators("/tolvek.mdb");
    }
    void othersRefusedUntouched() {
        QFETCH(QStringList, changes);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, named);
        for (const QString& sql : changes)
            db_->exec(sql);
        db_.reset();
        const QString path = dir_->filePath("tolvek.mdb");
        if (!bytes.isEmpty())
            writeFile(path, bytes);
        const QByteArray before = readFile(path);
        const QString error = fallaDe([&] { openTolvekDatabase(dir_->path()); });
        QVERIFY2(error.contains(named), qPrintable(error));
        QCOMPARE(readFile(path), before);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList({"tolvek.mdb"}));
    }

    // The copies, with a clock the test sets.
    // The copy holds the data, only its owner may read it or enter its folder, and a copy broken off before goes.
    void copyIsTheDatabase() {
        storeBroker(*db_);
        dejaCopia({}, "respaldo.parcial");
        dejaCopia({}, "respaldo.parcial-journal");
        const mode_t umask = ::umask(0);
        respaldos().diario();
        ::umask(umask);
        QCOMPARE(copias(), QStringList{hoy_});
        QCOMPARE(dumpAll(*Database::open(QDir(carpeta()).filePath(hoy_))), dumpAll(*db_));
        QCOMPARE(fileMode(QDir(carpeta()).filePath(hoy_)), 0600);
        QCOMPARE(fileMode(carpeta()), 0700);
        // "Acerca de TOLVEK 3" tells it.
        QVERIFY(acercaDe(dir_->path(), db_.get()).contains("respaldo: " + now_.toString("dd/MM/yyyy HH:mm:ss")));
    }

    // The end of a run copies only what it wrote.
    void closingCopiesWhatWasWritten() {
        respaldos().alCerrar();
        QVERIFY(copias().isEmpty());
        storeBroker(*db_);
        respaldos().alCerrar();
        QCOMPARE(copias(), QStringList{hoy_});
    }

    void madeWhenNewestIsADayOld_data() {
        QTest::addColumn<int>("hoursAgo"); // the newest copy's age; 0 for none
        QTest::addColumn<bool>("made");
        QTest::newRow("none") << 0 << true;
        QTest::newRow("23 hours") << 23 << false;
        QTest::newRow("25 hours") << 25 << true;
        // A copy dated ahead of the clock says nothing of the data's age.
        QTest::newRow("ahead of the clock") << -2 << true;
    }

    void madeWhenNewestIsADayOld() {
        QFETCH(int, hoursAgo);
        QFETCH(bool, made);
        if (hoursAgo != 0)
            dejaCopia(now_.addSecs(-3600 * hoursAgo));
        respaldos().diario();
        QCOMPARE(copias().contains(hoy_), made);
        QCOMPARE(copias().size(), (hoursAgo != 0) + made);
    }

    // The newest ten, and the newest of each of the last thirty days.
    void keepsTenAndOnePerDay() {
        for (int hour : {6, 7, 8})
            dejaCopia(now_.addDays(-1).addSecs(-3600 * hour));
        for (int days = 2; days <= 40; ++days)
            dejaCopia(now_.addDays(-days));
        dejaCopia(now_.addDays(-15).addSecs(-3600));
        respaldos().respalda();
        const QStringList kept = copias();
        QCOMPARE(kept.size(), 32);
        QCOMPARE(kept.first(), QString("tolvek-20240418-093005.mdb"));
        QVERIFY(!kept.contains("tolvek-20240502-083005.mdb"));
        QCOMPARE(kept.last(), hoy_);
    }

    void failureTold() {
        // A file where the folder should be: no copy can be made there.
        QVERIFY(QFile(carpeta()).open(QIODevice::WriteOnly));
        QVERIFY(diarioDice().startsWith("No se pudo hacer la copia de respaldo de la base de datos"));
        QVERIFY(db_->exists("select 1 from EntFed"));
        // On a real disk smaller than the copy, nothing of the copy is left.
        QVERIFY(QFile::remove(carpeta()) && QDir().mkdir(carpeta()));
        SMALL_DISK_OR_SKIP(disk, carpeta(), 2);
        QVERIFY(diarioDice().startsWith("No hay espacio suficiente en el disco para hacer la copia de respaldo"));
        QCOMPARE(copias(), QStringList());
    }

private:
    Respaldos respaldos() {
        return Respaldos(*db_, [this] { return now_; });
    }
    QString diarioDice() {
        return fallaDe([this] { respaldos().diario(); });
    }
    QString carpeta() const { return dir_->filePath("respaldos"); }
    QStringList copias() const { return QDir(carpeta()).entryList(QDir::Files, QDir::Name); }
    // An empty file named as the copy of that time, or given its name.
    void dejaCopia(const QDateTime& hecha, const QString& name = QString()) {
        QVERIFY(QDir().mkpath(carpeta()));
        QFile file(QDir(carpeta()).filePath(name.isEmpty() ? hecha.toString("'tolvek-'yyyyMMdd-HHmmss'.mdb'") : name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    const QDateTime now_{QDate(2024, 5, 17), QTime(9, 30, 5)};
    const QString hoy_ = "tolvek-20240517-093005.mdb";
};

QTEST_MAIN(TestBaseDatos)
#include "tst_basedatos.moc"
