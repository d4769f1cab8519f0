#include "data/BaseDatos.h"
#include "data/Schema.h"
#include "platform/Database.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QDir>
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

    void createdWithSchemaInOrder() {
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList({"tolvek.mdb"}));
        QCOMPARE(db_->columns("AA"), QStringList({"Patente", "Nombre", "ApPaterno", "ApMaterno", "RFC", "CURP",
                                                  "Autorizacion", "Adscripcion"}));
        QCOMPARE(db_->columns("Domicilios_MM"), QStringList({"CURP", "EntFed", "MDeleg", "Calle", "NoExt", "NoInt",
                                                             "Colonia", "CP", "Telefono", "Fax", "Tipo_Dom"}));
        QCOMPARE(db_->columns("Domicilios_AA").first(), QString("Tipo_Dom"));
        QCOMPARE(db_->columns("Periodos_H_MM"),
                 QStringList({"CURP", "NoAduana", "Patente_MM", "FechaIni", "FechaFin"}));
        QCOMPARE(db_->columns("Historico_AA"), QStringList({"RFC", "CURP", "Nombre", "ApPaterno", "ApMaterno"}));
    }

    void cataloguesLoaded() {
        Query q = db_->select("select (select count(*) from EntFed), (select count(*) from MpioDeleg), "
                              "(select count(*) from Aduanas), (select MDeleg from MpioDeleg where cveEntFed=? and "
                              "NoMDeleg=?), (select Aduana from Aduanas where cveAduana=10)",
                              {"12", 83});
        QVERIFY(q.next());
        QCOMPARE(q.number(0), 32);
        QCOMPARE(q.number(1), 2478);
        QCOMPARE(q.number(2), 50);
        QCOMPARE(q.text(3), QString("ÑUU SAVI"));
        // An office name with a comma inside survives the catalogue's quoting.
        QCOMPARE(q.text(4), QString("ACAPULCO, ACAPULCO DE JUAREZ, GUERRERO"));
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

    // A file that is not the program's database is refused, named, and left as it was, with nothing beside it.
    void othersRefusedUntouched_data() {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QByteArray>("bytes"); // the file's bytes instead of the database's, when given
        QTest::addColumn<QString>("named");
        QTest::newRow("missing table") << QStringList{"drop table Periodos_H_MM"} << QByteArray() << "Periodos_H_MM";
        QTest::newRow("other columns") << QStringList{"drop table Aduanas_MM",
                                                      "create table Aduanas_MM (NoAduana INTEGER, CURP TEXT)"}
                                       << QByteArray() << "Aduanas_MM";
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
        QVERIFY(!openTolvekDatabase(dir_->path(), &error));
        QVERIFY2(error.contains(named), qPrintable(error));
        QCOMPARE(readFile(path), before);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList({"tolvek.mdb"}));
    }
};

QTEST_MAIN(TestBaseDatos)
#include "tst_basedatos.moc"
