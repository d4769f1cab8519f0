#include "data/BaseDatos.h"
#include "data/Store.h"
#include "platform/Database.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kCurp = "PEMJ800101HDFRRN01";
const QString kWho = "JUAN PEREZ MARTINEZ CURP=" + kCurp;

struct Representante {
    QVariant mandato;
    QString requerimiento;
    QVariant acreditacion;
    int operando;
    bool particular, fiscal, aduana;
};

void store(Database& db, const QString& curp, const Representante& r) {
    db.exec(
        "insert into Mandatarios values (?,?,?,?,?,?,?,?,?)",
        {curp, "PEMJ800101AB1", "JUAN", "PEREZ", "MARTINEZ", r.mandato, r.requerimiento, r.acreditacion, r.operando});
    if (r.particular)
        db.exec("insert into Domicilios_MM(CURP,Tipo_Dom) values (?,1)", {curp});
    if (r.fiscal)
        db.exec("insert into Domicilios_MM(CURP,Tipo_Dom) values (?,2)", {curp});
    if (r.aduana)
        db.exec("insert into Aduanas_MM values (?,470)", {curp});
}

} // namespace

class TestVerifica : public QObject {
    Q_OBJECT

private slots:
    void representatives_data();
    void representatives();
    void firstFaultyRowOnly();
};

void TestVerifica::representatives_data() {
    QTest::addColumn<QVariant>("mandato");
    QTest::addColumn<QString>("requerimiento");
    QTest::addColumn<QVariant>("acreditacion");
    QTest::addColumn<int>("operando");
    QTest::addColumn<bool>("particular");
    QTest::addColumn<bool>("fiscal");
    QTest::addColumn<bool>("aduana");
    QTest::addColumn<QString>("message");

    const QVariant one(1), two(2), three(3), none;
    const QString req = "/home/aa/PEMJ800101AB1.REQ";
    QTest::newRow("sin particular") << one << req << QVariant(0) << 1 << false << true << true
                                    << "Proporcione el Domicilo Particular del Representante " + kWho;
    QTest::newRow("sin fiscal") << one << req << QVariant(0) << 1 << true << false << true
                                << "Proporcione el Domicilo Fiscal del Representante " + kWho;
    QTest::newRow("operando no definido") << one << req << QVariant(0) << 2 << true << true << true
                                          << "Defina si se encuentra operando actualemente del Representante " + kWho;
    QTest::newRow("tipo 1 sin requerimiento") << one << "   " << QVariant(0) << 0 << true << true << true
                                              << "Proporcione el archivo de Requerimiento del mandatario " + kWho;
    QTest::newRow("tipo 1 sin aduana") << one << req << QVariant(0) << 1 << true << true << false
                                       << "Proporcione las Aduanas ante las que aha actuado el Representante " + kWho;
    QTest::newRow("tipo 1 completo") << one << req << QVariant(0) << 1 << true << true << true << QString();
    QTest::newRow("tipo 2 sin requerimiento") << two << "" << QVariant(1) << 1 << true << true << false
                                              << "Proporcione el archivo de Requerimiento del mandatario " + kWho;
    QTest::newRow("tipo 2 sin acreditacion") << two << req << none << 1 << true << true << false
                                             << "Proporcione el Tipo de acreditamiento del mandatario " + kWho;
    QTest::newRow("tipo 2 acreditacion 0, sin aduana")
        << two << req << QVariant(0) << 0 << true << true << false << QString();
    QTest::newRow("tipo 3 solo domicilios") << three << "" << none << 0 << true << true << false << QString();
    QTest::newRow("tipo 3 operando no definido")
        << three << "" << none << 2 << true << true << false
        << "Defina si se encuentra operando actualemente del Representante " + kWho;
    QTest::newRow("sin tipo") << none << "" << none << 1 << true << true << false << QString();
}

void TestVerifica::representatives() {
    QFETCH(QVariant, mandato);
    QFETCH(QString, requerimiento);
    QFETCH(QVariant, acreditacion);
    QFETCH(int, operando);
    QFETCH(bool, particular);
    QFETCH(bool, fiscal);
    QFETCH(bool, aduana);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QString error;
    auto db = openTolvekDatabase(dir.path(), &error);
    store(*db, kCurp, {mandato, requerimiento, acreditacion, operando, particular, fiscal, aduana});
    const auto fault = Store(*db).revisaMandatarios();
    QCOMPARE(fault.value_or(QString()), message);
}

void TestVerifica::firstFaultyRowOnly() {
    QTemporaryDir dir;
    QString error;
    auto db = openTolvekDatabase(dir.path(), &error);
    store(*db, "A", {1, "x.REQ", 0, 1, true, true, true});
    store(*db, "B", {2, "x.REQ", QVariant(), 1, true, false, false});
    store(*db, "C", {1, "", 0, 1, false, true, true});
    QCOMPARE(Store(*db).revisaMandatarios().value_or(QString()),
             QString("Proporcione el Domicilo Fiscal del Representante JUAN PEREZ MARTINEZ CURP=B"));
}

QTEST_MAIN(TestVerifica)
#include "tst_verifica.moc"
