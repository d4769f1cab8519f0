#include "data/BaseDatos.h"
#include "data/Catalogos.h"
#include "data/Schema.h"
#include "platform/Database.h"

#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestBaseDatos : public QObject {
    Q_OBJECT

private slots:
    void createdWithSchemaInOrder();
    void cataloguesLoaded();
    void selectStarReadsByPosition();
    void apostropheStoredExactly();
    void datesStoredAsIsoText();
    void failedStatementRollsBackTransaction();
    void keysRefuseSecondRow();
    void statementRunsAgainWithNewValues();
    void statementUsableAfterRefusedValue();
    void statementInRolledBackTransaction();
    void statementRefusesWrongValueCount_data();
    void statementRefusesWrongValueCount();
    void statementOnMissingTableRefused();
    void notADatabaseLeftUntouched();
    void missingTableReported();
    void otherColumnsReported();
    void municipalitiesOfOneEntity();

private:
    static QStringList curps(Database& db) {
        QStringList found;
        Query q = db.select("select CURP from Mandatarios order by CURP");
        while (q.next())
            found << q.text(0);
        return found;
    }

    std::unique_ptr<Database> freshDatabase(QTemporaryDir& dir) {
        QString error;
        auto db = openTolvekDatabase(dir.path(), &error);
        if (!db)
            qWarning() << error;
        return db;
    }
};

void TestBaseDatos::createdWithSchemaInOrder() {
    QTemporaryDir dir;
    auto db = freshDatabase(dir);
    QVERIFY(db);
    QVERIFY(QFile::exists(dir.filePath("tolvek.mdb")));
    QVERIFY(!QFile::exists(dir.filePath("tolvek.mdb.nueva")));
    QCOMPARE(db->columns("AA"), QStringList({"Patente", "Nombre", "ApPaterno", "ApMaterno", "RFC", "CURP",
                                             "Autorizacion", "Adscripcion"}));
    QCOMPARE(db->columns("Domicilios_MM"), QStringList({"CURP", "EntFed", "MDeleg", "Calle", "NoExt", "NoInt",
                                                        "Colonia", "CP", "Telefono", "Fax", "Tipo_Dom"}));
    QCOMPARE(db->columns("Domicilios_AA").first(), QString("Tipo_Dom"));
    QCOMPARE(db->columns("Periodos_H_MM"), QStringList({"CURP", "NoAduana", "Patente_MM", "FechaIni", "FechaFin"}));
    QCOMPARE(db->columns("Historico_AA"), QStringList({"RFC", "CURP", "Nombre", "ApPaterno", "ApMaterno"}));
}

void TestBaseDatos::cataloguesLoaded() {
    QTemporaryDir dir;
    auto db = freshDatabase(dir);
    QVERIFY(db);
    auto count = [&](const char* table) {
        Query q = db->select(QString("select count(*) from %1").arg(table));
        q.next();
        return q.number(0);
    };
    QCOMPARE(count("EntFed"), 32);
    QCOMPARE(count("MpioDeleg"), 2478);
    QCOMPARE(count("Aduanas"), 50);
    Query q = db->select("select * from MpioDeleg where cveEntFed=? and NoMDeleg=?", {"12", 83});
    QVERIFY(q.next());
    QCOMPARE(q.text(2), QString::fromUtf8("ÑUU SAVI"));
    // An office name with a comma inside survives the catalogue's quoting.
    Query office = db->select("select Aduana from Aduanas where cveAduana=10");
    QVERIFY(office.next());
    QCOMPARE(office.text(0), QString("ACAPULCO, ACAPULCO DE JUAREZ, GUERRERO"));
}

void TestBaseDatos::selectStarReadsByPosition() {
    QTemporaryDir dir;
    auto db = freshDatabase(dir);
    // Inserted in another column order than the table's; read back by position.
    db->exec("insert into AA(Patente,CURP,RFC,Nombre,ApPaterno,ApMaterno,Autorizacion,Adscripcion) "
             "values (?,?,?,?,?,?,?,?)",
             {470, "GODE561231HDFRRN09", "GODE561231GR8", "EMILIO", "GOMEZ", "DIAZ", 0, 3});
    Query q = db->select("select * from AA");
    QVERIFY(q.next());
    QStringList row;
    for (int i = 0; i < q.columnCount(); ++i)
        row << q.text(i);
    QCOMPARE(row, QStringList({"470", "EMILIO", "GOMEZ", "DIAZ", "GODE561231GR8", "GODE561231HDFRRN09", "0", "3"}));
    QVERIFY(!q.next());
}

void TestBaseDatos::apostropheStoredExactly() {
    QTemporaryDir dir;
    auto db = freshDatabase(dir);
    const QString name = "O'BRIEN'; drop table AA; --";
    db->exec("insert into Historico_AA values (?,?,?,?,?)", {"RFC", "CURP'1", name, "D'ANGELO", ""});
    Query q = db->select("select * from Historico_AA where CURP=?", {"CURP'1"});
    QVERIFY(q.next());
    QCOMPARE(q.text(2), name);
    QCOMPARE(q.text(3), QString("D'ANGELO"));
    QCOMPARE(db->columns("AA").size(), 8);
}

void TestBaseDatos::datesStoredAsIsoText() {
    QTemporaryDir dir;
    auto db = freshDatabase(dir);
    db->exec("insert into Pedimentos_MM values (?,?,?,?)", {"C", 470, "0001234", QDate(2000, 3, 5)});
    Query raw = db->select("select FechPedimento, typeof(FechPedimento) from Pedimentos_MM");
    QVERIFY(raw.next());
    QCOMPARE(raw.text(0), QString("2000-03-05"));
    QCOMPARE(raw.text(1), QString("text"));
    Query q = db->select("select * from Pedimentos_MM");
    QVERIFY(q.next());
    QCOMPARE(q.date(3), QDate(2000, 3, 5));
    QCOMPARE(q.text(2), QString("0001234"));
}

void TestBaseDatos::failedStatementRollsBackTransaction() {
    QTemporaryDir dir;
    auto db = freshDatabase(dir);
    db->exec("insert into Mandatarios(CURP) values (?)", {"EXISTE"});
    try {
        Transaction t(*db);
        db->exec("delete from Mandatarios");
        db->exec("insert into Mandatarios(CURP) values (?)", {"NUEVO"});
        db->exec("insert into Mandatarios(CURP) values (?)", {"NUEVO"});
        t.commit();
        QFAIL("the duplicate key was accepted");
    } catch (const DatabaseError& e) {
        QVERIFY(!e.message().isEmpty());
    }
    Query q = db->select("select CURP from Mandatarios");
    QVERIFY(q.next());
    QCOMPARE(q.text(0), QString("EXISTE"));
    QVERIFY(!q.next());
}

void TestBaseDatos::keysRefuseSecondRow() {
    QTemporaryDir dir;
    auto db = freshDatabase(dir);
    db->exec("insert into Domicilios_MM(CURP,Tipo_Dom) values ('A',1)");
    db->exec("insert into Domicilios_MM(CURP,Tipo_Dom) values ('A',2)");
    QVERIFY_THROWS_EXCEPTION(DatabaseError, db->exec("insert into Domicilios_MM(CURP,Tipo_Dom) values ('A',1)"));
    db->exec("insert into Domicilios_AA(Tipo_Dom) values (1)");
    QVERIFY_THROWS_EXCEPTION(DatabaseError, db->exec("insert into Domicilios_AA(Tipo_Dom) values (1)"));
    db->exec("insert into Historico_AA(CURP) values ('H')");
    QVERIFY_THROWS_EXCEPTION(DatabaseError, db->exec("insert into Historico_AA(CURP) values ('H')"));
}

void TestBaseDatos::statementRunsAgainWithNewValues() {
    QTemporaryDir dir;
    auto db = freshDatabase(dir);
    Statement insert = db->prepare("insert into Pedimentos_MM values (?,?,?,?)");
    insert.run({"O'BRIEN", 470, "0001", QDate(2000, 11, 30)});
    insert.run({"C2", 3, "", QDate(1999, 2, 28)});
    insert.run({"C3", 10, "0003", QVariant()});
    Query q = db->select("select CURP, NoAduana, NoPedimento, FechPedimento, typeof(FechPedimento) from Pedimentos_MM "
                         "order by CURP");
    QStringList rows;
    while (q.next())
        rows << QStringList({q.text(0), q.text(1), q.text(2), q.text(3), q.text(4)}).join("|");
    QCOMPARE(rows, QStringList({"C2|3||1999-02-28|text", "C3|10|0003||null", "O'BRIEN|470|0001|2000-11-30|text"}));
}

void TestBaseDatos::statementUsableAfterRefusedValue() {
    QTemporaryDir dir;
    auto db = freshDatabase(dir);
    Statement insert = db->prepare("insert into Mandatarios(CURP) values (?)");
    insert.run({"A"});
    try {
        insert.run({"A"});
        QFAIL("the duplicate key was accepted");
    } catch (const DatabaseError& e) {
        QVERIFY2(e.message().contains("UNIQUE"), qPrintable(e.message()));
    }
    insert.run({"B"});
    QCOMPARE(curps(*db), QStringList({"A", "B"}));
}

void TestBaseDatos::statementInRolledBackTransaction() {
    QTemporaryDir dir;
    auto db = freshDatabase(dir);
    db->exec("insert into Mandatarios(CURP) values (?)", {"EXISTE"});
    Statement insert = db->prepare("insert into Mandatarios(CURP) values (?)");
    {
        Transaction t(*db);
        insert.run({"NUEVO1"});
        insert.run({"NUEVO2"});
        QCOMPARE(curps(*db), QStringList({"EXISTE", "NUEVO1", "NUEVO2"}));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, insert.run({"NUEVO1"}));
    }
    QCOMPARE(curps(*db), QStringList({"EXISTE"}));
    // Outside the transaction the same statement stores its row at once.
    insert.run({"NUEVO1"});
    QCOMPARE(curps(*db), QStringList({"EXISTE", "NUEVO1"}));
}

void TestBaseDatos::statementRefusesWrongValueCount_data() {
    QTest::addColumn<QVariantList>("values");
    QTest::newRow("fewer than last time") << QVariantList{"B"};
    QTest::newRow("more than the statement takes") << QVariantList{"B", 2, 3};
    QTest::newRow("none") << QVariantList{};
}

void TestBaseDatos::statementRefusesWrongValueCount() {
    QFETCH(QVariantList, values);
    QTemporaryDir dir;
    auto db = freshDatabase(dir);
    Statement insert = db->prepare("insert into Aduanas_MM(CURP,NoAduana) values (?,?)");
    insert.run({"A", 1});
    // A value left from the run before must not be stored in place of a missing one.
    QVERIFY_THROWS_EXCEPTION(DatabaseError, insert.run(values));
    Query q = db->select("select CURP, NoAduana from Aduanas_MM");
    QVERIFY(q.next());
    QCOMPARE(q.text(0), QString("A"));
    QVERIFY(!q.next());
}

void TestBaseDatos::statementOnMissingTableRefused() {
    QTemporaryDir dir;
    auto db = freshDatabase(dir);
    try {
        db->prepare("insert into NoExiste values (?)");
        QFAIL("a statement on a missing table was prepared");
    } catch (const DatabaseError& e) {
        QVERIFY2(e.message().contains("NoExiste"), qPrintable(e.message()));
    }
}

void TestBaseDatos::notADatabaseLeftUntouched() {
    QTemporaryDir dir;
    const QByteArray bytes = QByteArray("Standard Jet DB\0\0 not really", 29).repeated(100);
    {
        QFile f(dir.filePath("tolvek.mdb"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QString error;
    auto db = openTolvekDatabase(dir.path(), &error);
    QVERIFY(!db);
    QVERIFY2(error.contains(QDir::toNativeSeparators(dir.filePath("tolvek.mdb"))), qPrintable(error));
    QFile f(dir.filePath("tolvek.mdb"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"tolvek.mdb"}));
}

void TestBaseDatos::missingTableReported() {
    QTemporaryDir dir;
    {
        auto db = freshDatabase(dir);
        db->exec("drop table Periodos_H_MM");
    }
    QFile file(dir.filePath("tolvek.mdb"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    QString error;
    QVERIFY(!openTolvekDatabase(dir.path(), &error));
    QVERIFY2(error.contains("Periodos_H_MM"), qPrintable(error));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void TestBaseDatos::otherColumnsReported() {
    QTemporaryDir dir;
    {
        auto db = freshDatabase(dir);
        db->exec("drop table Aduanas_MM");
        db->exec("create table Aduanas_MM (NoAduana INTEGER, CURP TEXT)");
    }
    QString error;
    QVERIFY(!openTolvekDatabase(dir.path(), &error));
    QVERIFY2(error.contains("Aduanas_MM"), qPrintable(error));
}

void TestBaseDatos::municipalitiesOfOneEntity() {
    QTemporaryDir dir;
    auto db = freshDatabase(dir);
    QComboBox numbers, names;
    numbers.addItem("stale");
    Llena_MpioDeleg(*db, &numbers, &names, "09  ");
    QCOMPARE(numbers.count(), 16);
    QCOMPARE(names.count(), 16);
    QCOMPARE(numbers.itemText(13), QString(" 15"));
    QCOMPARE(names.itemText(13), QString::fromUtf8("CUAUHTÉMOC"));
    Llena_MpioDeleg(*db, &numbers, &names, "");
    QCOMPARE(numbers.count(), 0);
    QCOMPARE(names.count(), 0);
}

QTEST_MAIN(TestBaseDatos)
#include "tst_basedatos.moc"
