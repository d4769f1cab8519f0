#include "data/BaseDatos.h"
#include "platform/Database.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestBaseDatos : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void createdWithSchemaInOrder();
    void cataloguesLoaded();
    void valuesStoredExactly();
    void statementInRolledBackTransaction();
    void statementRefusesWrongValueCount_data();
    void statementRefusesWrongValueCount();
    void notADatabaseLeftUntouched();
    void otherSchemaReported_data();
    void otherSchemaReported();

private:
    QStringList curps() { return tableRows(*db_, "Mandatarios"); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Database> db_;
};

void TestBaseDatos::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    db_ = openDatabase(dir_->path());
}

void TestBaseDatos::cleanup() {
    db_.reset();
    dir_.reset();
}

void TestBaseDatos::createdWithSchemaInOrder() {
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList({"tolvek.mdb"}));
    QCOMPARE(db_->columns("AA"), QStringList({"Patente", "Nombre", "ApPaterno", "ApMaterno", "RFC", "CURP",
                                              "Autorizacion", "Adscripcion"}));
    QCOMPARE(db_->columns("Domicilios_MM"), QStringList({"CURP", "EntFed", "MDeleg", "Calle", "NoExt", "NoInt",
                                                         "Colonia", "CP", "Telefono", "Fax", "Tipo_Dom"}));
    QCOMPARE(db_->columns("Domicilios_AA").first(), QString("Tipo_Dom"));
    QCOMPARE(db_->columns("Periodos_H_MM"), QStringList({"CURP", "NoAduana", "Patente_MM", "FechaIni", "FechaFin"}));
    QCOMPARE(db_->columns("Historico_AA"), QStringList({"RFC", "CURP", "Nombre", "ApPaterno", "ApMaterno"}));
}

void TestBaseDatos::cataloguesLoaded() {
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

void TestBaseDatos::valuesStoredExactly() {
    // Inserted in another column order than the table's; read back by position.
    db_->exec("insert into AA(Patente,CURP,RFC,Nombre,ApPaterno,ApMaterno,Autorizacion,Adscripcion) "
              "values (?,?,?,?,?,?,?,?)",
              {470, "GODE561231HDFRRN09", "GODE561231GR8", "O'BRIEN'; drop table AA; --", "D'ANGELO", "", 0, 3});
    db_->exec("insert into Pedimentos_MM values (?,?,?,?)", {"C", 470, "0001234", QDate(2000, 3, 5)});
    QCOMPARE(tableRows(*db_, "AA"), QStringList({"#470|O'BRIEN'; drop table AA; --|D'ANGELO||GODE561231GR8|"
                                                 "GODE561231HDFRRN09|#0|#3"}));
    QCOMPARE(tableRows(*db_, "Pedimentos_MM"), QStringList({"C|#470|0001234|2000-03-05"}));
    Query q = db_->select("select * from Pedimentos_MM where FechPedimento=?", {QDate(2000, 3, 5)});
    QVERIFY(q.next());
    QCOMPARE(q.date(3), QDate(2000, 3, 5));
}

void TestBaseDatos::statementInRolledBackTransaction() {
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

void TestBaseDatos::statementRefusesWrongValueCount_data() {
    QTest::addColumn<QVariantList>("values");
    QTest::newRow("fewer than last time") << QVariantList{"B"};
    QTest::newRow("more than the statement takes") << QVariantList{"B", 2, 3};
    QTest::newRow("none") << QVariantList{};
}

void TestBaseDatos::statementRefusesWrongValueCount() {
    QFETCH(QVariantList, values);
    Statement insert = db_->prepare("insert into Aduanas_MM(CURP,NoAduana) values (?,?)");
    insert.run({"A", 1});
    // A value left from the run before must not be stored in place of a missing one.
    QVERIFY_THROWS_EXCEPTION(DatabaseError, insert.run(values));
    QCOMPARE(tableRows(*db_, "Aduanas_MM"), QStringList({"A|#1"}));
}

void TestBaseDatos::notADatabaseLeftUntouched() {
    QTemporaryDir dir;
    const QString path = dir.filePath("tolvek.mdb");
    const QByteArray bytes = QByteArray("Standard Jet DB\0\0 not really", 29).repeated(100);
    writeFile(path, bytes);
    QString error;
    QVERIFY(!openTolvekDatabase(dir.path(), &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QCOMPARE(readFile(path), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"tolvek.mdb"}));
}

void TestBaseDatos::otherSchemaReported_data() {
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QString>("table");
    QTest::newRow("missing table") << QStringList({"drop table Periodos_H_MM"}) << "Periodos_H_MM";
    QTest::newRow("other columns") << QStringList({"drop table Aduanas_MM",
                                                   "create table Aduanas_MM (NoAduana INTEGER, CURP TEXT)"})
                                   << "Aduanas_MM";
}

void TestBaseDatos::otherSchemaReported() {
    QFETCH(QStringList, changes);
    QFETCH(QString, table);
    for (const QString& sql : changes)
        db_->exec(sql);
    db_.reset();
    const QByteArray bytes = readFile(dir_->filePath("tolvek.mdb"));
    QString error;
    QVERIFY(!openTolvekDatabase(dir_->path(), &error));
    QVERIFY2(error.contains(table), qPrintable(error));
    QCOMPARE(readFile(dir_->filePath("tolvek.mdb")), bytes);
}

QTEST_MAIN(TestBaseDatos)
#include "tst_basedatos.moc"
