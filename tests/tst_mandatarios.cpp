#include "data/ListModel.h"
#include "data/Store.h"
#include "lists/PaginaApoderado.h"
#include "platform/Database.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kAnterior = QStringLiteral("LOTP751120HDFPRD02");
const QString kExamen = QStringLiteral("GOMA800101MDFRRR05");
const QString kSinAcreditacion = QStringLiteral("RUIZ650303HGRZRN01");
const QString kAutorizado = QStringLiteral("SAGA701212HGRNRL03");
const QString kSinMandato = QStringLiteral("VEGA550505MDFGRN04");
const QString kConforme = QStringLiteral("Conforme 2.13.11 (Posterior 01/01/2001)");

// Page 2 over five representatives: one of each mandate type, a type 2 without accreditation, one with no type.
struct Page {
    QTemporaryDir dir;
    std::unique_ptr<Database> db{openDatabase(dir.path())};
    Store store{*db};
    ScriptedMessages messages;
    std::unique_ptr<PaginaApoderado> page;

    Page() {
        const auto add = [&](const QString& curp, const char* nombre, Mandato mandato, int acreditacion, int operando) {
            Mandatario m = representative(curp, curp.left(10) + QStringLiteral("AB1"), nombre, mandato);
            m.acreditacion = acreditacion;
            m.operando = operando;
            if (mandato == Mandato::Anterior) {
                const Aduana a470{470, {}}, a240{240, {}};
                m.aduanas = {a470, a240};
                m.pedimentos = {{a470, "3001", QDate(2000, 3, 5)}, {a240, "3002", QDate(1999, 2, 11)}};
            }
            store.guardaMandatario({}, m);
        };
        add(kAnterior, "ANA", Mandato::Anterior, 0, 1);
        add(kExamen, "BETO", Mandato::Conforme, 2, 0);
        add(kSinAcreditacion, "CIRO", Mandato::Conforme, 0, 1);
        add(kAutorizado, "DORA", Mandato::Autorizado, 0, 2);
        add(kSinMandato, "EVA", Mandato::Ninguno, 1, 1);
        db->exec("update Mandatarios set Acreditacion=NULL where CURP=?", {kSinAcreditacion});
        db->exec("delete from Domicilios_MM where CURP=? and Tipo_Dom=2", {kAutorizado});
        db->exec("insert into Periodos_H_MM values (?,?,?,?,?)",
                 {kExamen, 470, 12, QDate(2001, 1, 1), QDate(2002, 1, 1)});
    }
    PaginaApoderado* open() {
        page = std::make_unique<PaginaApoderado>(store);
        page->Llena_Mandatarios();
        page->show();
        return page.get();
    }
    void select(const QString& curp) {
        auto* list = child<QTableView>(page.get(), "fgAA");
        list->selectRow(static_cast<ListModel*>(list->model())->rowOf(curp));
    }
    QString shown(const char* name) { return child<QWidget>(page.get(), name)->isHidden() ? "-" : name; }
    int count(const QString& table, const QString& curp) {
        Query q = db->select(QString("select count(*) from %1 where CURP=?").arg(table), {curp});
        return q.next() ? int(q.number(0)) : -1;
    }
};

} // namespace

class TestMandatarios : public QObject {
    Q_OBJECT

private slots:
    void detailsPanelByMandate_data();
    void detailsPanelByMandate();
    void listReadByPages();
    void listedSelectedByKeysAndDeleted();
    void editThroughPageSelectsStored();
};

void TestMandatarios::detailsPanelByMandate_data() {
    QTest::addColumn<QString>("curp");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("frames");
    QTest::addColumn<QString>("acreditacion"); // NTCL, Examen: X checked
    QTest::addColumn<QString>("requerimiento");
    const QString previous = QStringLiteral("/req/GOMA800101AB1.req");
    const QString detalles = QStringLiteral("frAduanasAct frPedTramitados - txtRequerimiento");
    const QString conforme = QStringLiteral("- - frAcreditacion txtRequerimiento");
    // Each follows a type 2 with "Examen de Conocimientos". Type 1 leaves the hidden accreditation as it was.
    QTest::newRow("anterior") << kAnterior << "Anterior 01/01/2001" << detalles << "-X"
                              << "/req/LOTP751120AB1.req";
    QTest::newRow("conforme con examen") << kExamen << kConforme << conforme << "-X" << previous;
    QTest::newRow("conforme sin acreditacion") << kSinAcreditacion << kConforme << conforme << "--"
                                               << "/req/RUIZ650303AB1.req";
    // The request file is not read for type 3: what the previous selection showed stays (hidden).
    QTest::newRow("autorizado") << kAutorizado << QString::fromUtf8("Con autorización de operar al 15/01/2004")
                                << "- - - -"
                                << "-X" << previous;
    // No type matches: the panel keeps what the previous selection showed.
    QTest::newRow("sin mandato") << kSinMandato << kConforme << conforme << "-X" << previous;
}

void TestMandatarios::detailsPanelByMandate() {
    QFETCH(QString, curp);
    QFETCH(QString, tipo);
    QFETCH(QString, frames);
    QFETCH(QString, acreditacion);
    QFETCH(QString, requerimiento);
    Page p;
    QWidget* page = p.open();
    p.select(kExamen);
    p.select(curp);
    QVERIFY(child<QPushButton>(page, "cmdEditar")->isEnabled());
    QCOMPARE(child<QLabel>(page, "lblTipoMandato")->text(), tipo);
    QCOMPARE(QStringList({p.shown("frAduanasAct"), p.shown("frPedTramitados"), p.shown("frAcreditacion"),
                          p.shown("txtRequerimiento")})
                 .join(' '),
             frames);
    QCOMPARE(child<QRadioButton>(page, "optNTCL")->isChecked(), acreditacion[0] == 'X');
    QCOMPARE(child<QRadioButton>(page, "optExCon")->isChecked(), acreditacion[1] == 'X');
    QCOMPARE(child<QLineEdit>(page, "txtRequerimiento")->text(), requerimiento);
    if (curp == kAnterior) {
        QCOMPARE(gridRows(page, "fgPedTramitados"),
                 QStringList({"AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO|3001|05/03/2000",
                              "NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS|3002|11/02/1999"}));
    }
    // He who has only a private address shows an empty fiscal block.
    const bool fiscal = curp != kAutorizado;
    QCOMPARE(child<QLineEdit>(page, "txtFiscalAprNoInt")->text(), QString(fiscal ? "4B" : ""));
    QCOMPARE(child<QComboBox>(page, "cmbFiscalApRNoMDeleg")->currentText(), QString(fiscal ? " 15" : ""));
    QCOMPARE(p.messages.texts(), QStringList());
}

void TestMandatarios::listReadByPages() {
    Page p;
    p.db->exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < 1000) "
               "insert into Mandatarios(CURP, Nombre, Mandato) select printf('CURP%06d', i), 'X', 1 from n");
    QWidget* page = p.open();
    QCOMPARE(child<QTableView>(page, "fgAA")->model()->rowCount(), 256);
}

void TestMandatarios::listedSelectedByKeysAndDeleted() {
    Page p;
    PaginaApoderado* page = p.open();
    QSignalSpy changed(page, &PaginaApoderado::mandatariosCambiados);
    QCOMPARE(gridRows(page, "fgAA"),
             QStringList({"ANA|LOPEZ|TORRES|LOTP751120AB1|" + kAnterior + "|Anterior 01/01/2001|Si",
                          "BETO|LOPEZ|TORRES|GOMA800101AB1|" + kExamen + "|" + kConforme + "|No",
                          "CIRO|LOPEZ|TORRES|RUIZ650303AB1|" + kSinAcreditacion + "|" + kConforme + "|Si",
                          "DORA|LOPEZ|TORRES|SAGA701212AB1|" + kAutorizado +
                              QString::fromUtf8("|Con autorización de operar al 15/01/2004|No Definido"),
                          "EVA|LOPEZ|TORRES|VEGA550505AB1|" + kSinMandato + "||Si"}));
    QVERIFY(!child<QPushButton>(page, "cmdBorrar")->isEnabled());
    // The arrow keys show the representative as a click does.
    auto* list = child<QTableView>(page, "fgAA");
    list->selectRow(1);
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(child<QLineEdit>(page, "txtApRCalle")->text(), QString("ANA PARTICULAR"));
    p.messages.answerNext(false);
    press(page, "cmdBorrar");
    QCOMPARE(p.messages.texts(), QStringList({"¿DESEA BORRAR EL MANDATARIO\n\nANA LOPEZ TORRES " + kAnterior + " ?"}));
    QVERIFY(p.messages.shown.first().withCancel);
    QCOMPARE(p.count("Aduanas_MM", kAnterior), 2);
    QCOMPARE(changed.count(), 0);

    press(page, "cmdBorrar");
    for (const char* table : {"Mandatarios", "Domicilios_MM", "Aduanas_MM", "Pedimentos_MM"})
        QCOMPARE(p.count(table, kAnterior), 0);
    QCOMPARE(gridRows(page, "fgAA").size(), 4);
    QCOMPARE(changed.count(), 1);
    QVERIFY(!child<QPushButton>(page, "cmdBorrar")->isEnabled());
    QCOMPARE(p.shown("frAduanasAct"), QString("-"));
    QCOMPARE(child<QLineEdit>(page, "txtApRCalle")->text(), QString());
    // An aspirant takes his periods with other brokers along.
    p.select(kExamen);
    press(page, "cmdBorrar");
    QCOMPARE(p.count("Periodos_H_MM", kExamen), 0);
}

void TestMandatarios::editThroughPageSelectsStored() {
    Page p;
    ModalDriver driver;
    PaginaApoderado* page = p.open();
    QSignalSpy changed(page, &PaginaApoderado::mandatariosCambiados);
    p.select(kSinAcreditacion);
    driver.then([](QDialog* d) {
        child<QLineEdit>(d, "txtNombre")->setText("CIRO JOSE");
        child<QLineEdit>(d, "txtCURP")->setText("PEMJ800101HDFRRN01");
        child<QRadioButton>(d, "optNTCL")->setChecked(true);
        press(d, "cmdAceptar");
    });
    press(page, "cmdEditar");
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(p.messages.texts(), QStringList());
    QCOMPARE(changed.count(), 1);
    const int row = child<QTableView>(page, "fgAA")->selectionModel()->selectedRows().value(0).row();
    QCOMPARE(gridRows(page, "fgAA").value(row).left(9), QString("CIRO JOSE"));
    QVERIFY(child<QRadioButton>(page, "optNTCL")->isChecked());
    QCOMPARE(p.count("Mandatarios", kSinAcreditacion), 0);
}

QTEST_MAIN(TestMandatarios)
#include "tst_mandatarios.moc"
