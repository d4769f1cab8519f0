// "Revisar": every problem of the stored data, each told once in the words of its own check.
#include "data/Store.h"
#include "platform/Database.h"
#include "review/Revision.h"
#include "review/frmRevision.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kData = QStringLiteral(TOLVEK_TEST_DATA "/");

// A brokerage with nothing to tell: the broker, his fax and CURP check digit mended, and PEDRO LOPEZ TORRES, who
// needs no request.
struct Base {
    QTemporaryDir dir;
    std::unique_ptr<Database> db = openDatabase(dir.path());
    Store store{*db};
    Base() {
        storeBroker(*db);
        db->exec("update AA set CURP='GODE561231HDFRRN00'");
        db->exec("update Domicilios_AA set Fax='5550000000'");
        Mandatario m = representative("LOTP751120HDFPRD03", "LOTP751120QW5", "PEDRO", Mandato::Autorizado);
        m.requerimiento.clear();
        store.guardaMandatario(std::nullopt, m);
    }
};

} // namespace

class TestRevision : public QObject {
    Q_OBJECT

private slots:
    void oneProblemOfEachKind_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected"); // lines "titular|CURP|E(rror) or A(viso)|the message's beginning"
        const QString pedro = "1|LOTP751120HDFPRD03|";
        const QString req = "update Mandatarios set Requerimiento='";
        QTest::newRow("page 1") << "update AA set Nombre=' '"
                                << "0||E|El Nombre no puede estar vacio";
        QTest::newRow("Finaliza") << "delete from Domicilios_MM where Tipo_Dom=2"
                                  << pedro + "E|Proporcione el Domicilo Fiscal del Representante PEDRO LOPEZ TORRES "
                                             "CURP=LOTP751120HDFPRD03";
        QTest::newRow("no one") << "delete from Mandatarios"
                                << "1||E|Debe existir por lo menos un o Representante";
        QTest::newRow("request gone") << req + "/no/X.req'"
                                      << pedro + "E|El Requerimiento Electrónico X.req no existe.";
        QTest::newRow("not a request") << req + kData + "texto.req'"
                                       << pedro + "E|El archivo texto.req no es un Requerimiento Electrónico.";
        QTest::newRow("someone else's") << req + kData + "OTRO800101AB1.req'"
                                        << pedro +
                                               "E|El Requerimiento Electrónico OTRO800101AB1.req corresponde al "
                                               "RFC OTRO800101AB1 y la CURP OTRO800101HDFRRR01, no al representante";
        QTest::newRow("check digit") << "update AA set RFC='GODE561231GR9'"
                                     << "0||A|El dígito verificador no coincide; revise el RFC";
        QTest::newRow("file value") << "update Domicilios_MM set Colonia='A|B' where Tipo_Dom=1"
                                    << pedro + "E|No se puede generar el archivo de información: en la tabla "
                                               "Domicilios_MM, el campo Colonia del representante LOTP751120HDFPRD03 "
                                               "contiene el carácter \"|\"";
        QTest::newRow("aspirant") << "update Mandatarios set Mandato=2"
                                  << pedro + "E|Proporcione el archivo de Requerimiento del mandatario\n" + pedro +
                                         "A|Se debe capturar la información de los Agentes Aduanales";
        QTest::newRow("office gone") << "insert into Historico_AA values('LOTP751120QW5','LOTP751120HDFPRD03','ANA',"
                                        "'RUIZ','PAZ');insert into Periodos_H_AA values('LOTP751120HDFPRD03',999,"
                                        "'1990-01-01','1995-12-31')"
                                     << "2|LOTP751120HDFPRD03|A|La Aduana 999 ya no está en el catálogo de Aduanas";
    }
    void oneProblemOfEachKind() {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        Base base;
        for (const QString& statement : sql.split(';', Qt::SkipEmptyParts))
            base.db->exec(statement);
        QStringList told;
        for (const Problema& p : revisa(base.store))
            told << QStringList{QString::number(int(p.titular)), p.curp, p.gravedad == Gravedad::Error ? "E" : "A",
                                p.mensaje}
                        .join('|');
        QCOMPARE(told.size(), expected.count('\n') + 1);
        for (const QString& line : expected.split('\n'))
            QVERIFY2(told.first().startsWith(line), qPrintable(told.takeFirst()));
    }

    // Enter opens the record and the list follows what its dialog stored; the broker's row ends the dialog.
    void enterOpensTheRecord() {
        Base base;
        base.db->exec("update AA set Nombre=' '");
        base.db->exec("update Mandatarios set Requerimiento='/no/X.req'");
        frmRevision revision(base.store, [&](const Problema& p) {
            base.db->exec("update Mandatarios set Requerimiento='' where CURP=?", {p.curp});
        });
        auto* grid = child<QTableView>(&revision, "fgProblemas");
        QTRY_VERIFY(revision.terminada());
        selectByKeyboard(grid, 1);
        QTest::keyClick(grid, Qt::Key_Return);
        QTRY_VERIFY(revision.terminada());
        QCOMPARE(gridRows(grid), QStringList{"Error|Agente Aduanal|||El Nombre no puede estar vacio"});
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(revision.result(), int(QDialog::Accepted));
        base.db->exec("update AA set Nombre='EMILIO'");
        revision.rehace();
        QCOMPARE(gridRows(grid), QStringList{"||||No se encontraron problemas"});
    }
};

QTEST_MAIN(TestRevision)
#include "tst_revision.moc"
