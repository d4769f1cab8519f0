#include "data/Store.h"
#include "platform/Database.h"
#include "support/Fixtures.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kWho = " JUAN PEREZ MARTINEZ CURP=";

// A representative as stored: Mandato, Requerimiento, Acreditacion and Operando, then which of his rows exist (P his
// private address, F his fiscal one, A an office).
void store(Database& db, const QString& curp, const QVariantList& m, const QString& rows) {
    db.exec("insert into Mandatarios values (?,?,?,?,?,?,?,?,?)",
            QVariantList{curp, "PEMJ800101AB1", "JUAN", "PEREZ", "MARTINEZ"} + m);
    for (const auto& [row, sql] : {std::pair{'P', "insert into Domicilios_MM(CURP,Tipo_Dom) values (?,1)"},
                                   {'F', "insert into Domicilios_MM(CURP,Tipo_Dom) values (?,2)"},
                                   {'A', "insert into Aduanas_MM values (?,470)"}}) {
        if (rows.contains(QLatin1Char(row)))
            db.exec(sql, {curp});
    }
}

} // namespace

class TestVerifica : public QObject {
    Q_OBJECT

private slots:
    void representatives_data() {
        QTest::addColumn<QVariantList>("mandatario");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("message"); // followed by who he is
        const QVariant none;
        const QString req = "/home/aa/PEMJ800101AB1.REQ";
        const QString request = "Proporcione el archivo de Requerimiento del mandatario";
        const QString operando = "Defina si se encuentra operando actualemente del Representante";
        const auto row = [](const char* name, const QVariantList& m, const char* rows, const QString& message) {
            QTest::newRow(name) << m << QString(rows) << message;
        };
        row("sin particular", {1, req, 0, 1}, "FA", "Proporcione el Domicilo Particular del Representante");
        row("sin fiscal", {1, req, 0, 1}, "PA", "Proporcione el Domicilo Fiscal del Representante");
        row("operando no definido", {1, req, 0, 2}, "PFA", operando);
        row("tipo 1 sin requerimiento", {1, "   ", 0, 0}, "PFA", request);
        row("tipo 1 sin aduana", {1, req, 0, 1}, "PF",
            "Proporcione las Aduanas ante las que aha actuado el Representante");
        row("tipo 1 completo", {1, req, 0, 1}, "PFA", "");
        row("tipo 2 sin requerimiento", {2, "", 1, 1}, "PF", request);
        row("tipo 2 sin acreditacion", {2, req, none, 1}, "PF", "Proporcione el Tipo de acreditamiento del mandatario");
        row("tipo 2 acreditacion 0, sin aduana", {2, req, 0, 0}, "PF", "");
        row("tipo 3 solo domicilios", {3, "", none, 0}, "PF", "");
        row("tipo 3 operando no definido", {3, "", none, 2}, "PF", operando);
        row("sin tipo", {none, "", none, 1}, "PF", "");
    }

    void representatives() {
        QFETCH(QVariantList, mandatario);
        QFETCH(QString, rows);
        QFETCH(QString, message);
        QTemporaryDir dir;
        auto db = openDatabase(dir.path());
        store(*db, "PEMJ800101HDFRRN01", mandatario, rows);
        QCOMPARE(Store(*db).revisaMandatarios().value_or(QString()),
                 message.isEmpty() ? message : message + kWho + "PEMJ800101HDFRRN01");
    }

    void firstFaultyRowOnly() {
        QTemporaryDir dir;
        auto db = openDatabase(dir.path());
        store(*db, "A", {1, "x.REQ", 0, 1}, "PFA");
        store(*db, "B", {2, "x.REQ", QVariant(), 1}, "P");
        store(*db, "C", {1, "", 0, 1}, "FA");
        QCOMPARE(Store(*db).revisaMandatarios().value_or(QString()),
                 "Proporcione el Domicilo Fiscal del Representante" + kWho + "B");
    }
};

QTEST_MAIN(TestVerifica)
#include "tst_verifica.moc"
