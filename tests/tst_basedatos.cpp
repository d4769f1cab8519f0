#include "app/AbreBaseDatos.h"
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
            try {
                insert.run({"NUEVO1"});
                QFAIL("the duplicate key was accepted");
            } catch (const DatabaseError& e) {
                QVERIFY2(e.message().contains("UNIQUE"), qPrintable(e.message()));
            }
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
        QString error;
        try {
            openTolvekDatabase(dir_->path());
        } catch (const Falla& e) {
            error = e.message();
        }
        QVERIFY2(error.contains(named), qPrintable(error));
        QCOMPARE(readFile(path), before);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList({"tolvek.mdb"}));
    }
};

QTEST_MAIN(TestBaseDatos)
#include "tst_basedatos.moc"
