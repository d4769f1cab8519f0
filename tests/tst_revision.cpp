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

// Each problem told, "titular|registro|CURP|office or period|E(rror) or A(viso)|message", begins with its line of
// `expected`, where "<NAME> <c>|" stands for one of the LOPEZ TORRES, the last two characters of his CURP <c>.
void expectTold(Store& store, QString expected) {
    expected.replace(QRegularExpression("^([A-Z]+) (..)\\|", QRegularExpression::MultilineOption),
                     "1|\\1 LOPEZ TORRES|LOTP751120HDFPRD\\2||");
    QStringList told;
    for (const Problema& p : revisa(store))
        told << QStringList{QString::number(int(p.titular)),           p.registro, p.curp, p.donde,
                            p.gravedad == Gravedad::Error ? "E" : "A", p.mensaje}
                    .join('|');
    QVERIFY2(told.size() == expected.count('\n') + 1, qPrintable(told.join('\n')));
    for (const QString& line : expected.split('\n'))
        QVERIFY2(told.first().startsWith(line), qPrintable(told.takeFirst()));
}

} // namespace

class TestRevision : public QObject {
    Q_OBJECT

private slots:
    // One brokerage holding one problem of each kind, each told in order with the record it lies in.
    void oneProblemOfEachKind() {
        Base base;
        for (const char* sql :
             {"update AA set Nombre=' ', RFC='GODE561231GR9'", "update Domicilios_MM set Colonia='A|B'",
              "delete from Domicilios_MM where Tipo_Dom=2", "update Mandatarios set Requerimiento='/no/470.txt'",
              "insert into Historico_AA values('LOTP751120QW5','LOTP751120HDFPRD03','ANA','RUIZ','PAZ')",
              "insert into Periodos_H_AA values('LOTP751120HDFPRD03',999,'1990-01-01','1995-12-31')"})
            base.db->exec(sql);
        // PEDRO's identifiers with other homoclaves, their check digits right.
        const QList<QStringList> others{{"A3", "QA7", "ANA", kData + "texto.req"},
                                        {"B1", "QB5", "CARLOS", kData + "OTRO800101AB1.req"},
                                        {"C9", "QC3", "DIANA", "/no/otro800101ab1.REQ"},
                                        {"D7", "QD1", "ELENA", TOLVEK_TEST_DATA}};
        for (const QStringList& o : others) {
            Mandatario m = representative("LOTP751120HDFPRD" + o[0], "LOTP751120" + o[1], o[2],
                                          o[2] == "ANA" ? Mandato::Conforme : Mandato::Autorizado);
            m.requerimiento = o[3];
            base.store.guardaMandatario(std::nullopt, m);
        }
        expectTold(base.store,
                   QString("0|Agente Aduanal|||E|El Nombre no puede estar vacio\n"
                           "0|Agente Aduanal|||A|El dígito verificador no coincide; revise el RFC\n"
                           "PEDRO 03|E|Proporcione el Domicilo Fiscal del Representante PEDRO LOPEZ TORRES\n"
                           "PEDRO 03|%1el Requerimiento Electrónico /no/470.txt del representante PEDRO LOPEZ "
                           "TORRES (LOTP751120HDFPRD03) tiene el nombre de el archivo de información 470.txt,\n"
                           "ANA A3|E|El Requerimiento Electrónico se debe llamar igual al RFC\n"
                           "ANA A3|A|Se debe capturar la información de los Agentes Aduanales\n"
                           "DIANA C9|%1los Requerimientos Electrónicos %2OTRO800101AB1.req del representante "
                           "CARLOS LOPEZ TORRES (LOTP751120HDFPRDB1) y /no/otro800101ab1.REQ del "
                           "representante DIANA LOPEZ TORRES (LOTP751120HDFPRDC9) tienen el mismo nombre\n"
                           "PEDRO 03|%1en la tabla Domicilios_MM, el campo Colonia del representante "
                           "LOTP751120HDFPRD03 contiene el carácter \"|\"\n"
                           "2|ANA RUIZ PAZ|LOTP751120HDFPRD03|Aduana 999, del 01/01/1990 al 31/12/1995|A|La Aduana 999 "
                           "ya no está en el catálogo de Aduanas\n"
                           "PEDRO 03|E|El Requerimiento Electrónico 470.txt no existe.\n"
                           "ANA A3|E|El archivo texto.req no es un Requerimiento Electrónico.\n"
                           "CARLOS B1|E|El Requerimiento Electrónico OTRO800101AB1.req corresponde al RFC "
                           "OTRO800101AB1 y la CURP OTRO800101HDFRRR01, no al representante\n"
                           "DIANA C9|E|El Requerimiento Electrónico otro800101ab1.REQ no existe.\n"
                           "ELENA D7|E|El Requerimiento Electrónico data no es un archivo.")
                       .arg("E|No se puede generar el archivo de información: ", kData));
        for (const char* curp : {"03", "A3", "B1", "C9", "D7"})
            base.store.borraMandatario(QString("LOTP751120HDFPRD") + curp);
        QCOMPARE(revisa(base.store)[2].mensaje, "Debe existir por lo menos un o Representante o Mandatario");
    }

    // The request files are read behind the list; with nothing left to tell, the list says so.
    void readBehindTheList() {
        Base base;
        base.db->exec("update Mandatarios set Requerimiento='/no/X.req'");
        frmRevision revision(base.store, {});
        QTRY_VERIFY(revision.terminada());
        QCOMPARE(gridRows(&revision, "fgProblemas").join(""),
                 "Error|PEDRO LOPEZ TORRES|LOTP751120HDFPRD03||El Requerimiento Electrónico X.req no existe.");
        base.db->exec("update Mandatarios set Requerimiento=''");
        revision.rehace();
        QCOMPARE(gridRows(&revision, "fgProblemas"), QStringList{"||||No se encontraron problemas"});
    }
};

QTEST_MAIN(TestRevision)
#include "tst_revision.moc"
