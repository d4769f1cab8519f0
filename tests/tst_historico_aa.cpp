#include "app/Globales.h"
#include "app/PaginaHistoricoAA.h"
#include "data/BaseDatos.h"
#include "data/Rutinas.h"
#include "lists/CeldasPeriodo.h"
#include "lists/HistoricoAA.h"
#include "lists/frmAgentes_Aduanales.h"
#include "lists/frmPeriodo_Agente.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kAirport = QStringLiteral("AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO");
const QString kAcapulco = QStringLiteral("ACAPULCO, ACAPULCO DE JUAREZ, GUERRERO");
const QDate d1(2001, 3, 15), d2(2003, 8, 31), d3(2004, 1, 2), d4(2005, 12, 24);
// The periods 470 d1-d2 and 10 d3-d4 as the grids show them.
const QString kAirportRow = " 470|" + kAirport + "|15/03/2001|31/08/2003";
const QString kAcapulcoRow = " 10|" + kAcapulco + "|02/01/2004|24/12/2005";

struct Persona {
    QString nombre, paterno, materno, curp, rfc;
    // As fgDatosAA shows him and as the page hands him to the dialog.
    QStringList fila() const { return {nombre, paterno, materno, curp, rfc}; }
    // As tableRows shows his row of Historico_AA.
    QString guardada() const { return QStringList{rfc, curp, nombre, paterno, materno}.join('|'); }
};
const Persona kPerez{"JUAN", "PEREZ", "RUIZ", "PERJ700101HDFRRN01", "PERJ700101AB1"};
const Persona kLopez{"MARIA", "LOPEZ", "MORA", "LOMA800215MJCPRR02", "LOMA800215XY2"};
const Persona kDiaz{"PEDRO", "DIAZ", "SOTO", "DISP750505HGRZTD03", "DISP750505QW3"};

// A row of Periodos_H_AA as tableRows shows it.
QString periodo(const QString& curp, int office, const QDate& from, const QDate& to) {
    return curp + "|#" + QString::number(office) + "|" + from.toString(Qt::ISODate) + "|" + to.toString(Qt::ISODate);
}

void storePerson(Database& db, const Persona& p, const QList<std::tuple<int, QDate, QDate>>& periods) {
    db.exec("insert into Historico_AA values (?,?,?,?,?)", {p.rfc, p.curp, p.nombre, p.paterno, p.materno});
    for (const auto& [office, from, to] : periods)
        db.exec("insert into Periodos_H_AA values (?,?,?,?)", {p.curp, office, from, to});
}

void fillPerson(QWidget* d, const Persona& p) {
    child<QLineEdit>(d, "txtNombre")->setText(p.nombre);
    child<QLineEdit>(d, "txtApPaterno")->setText(p.paterno);
    child<QLineEdit>(d, "txtApMaterno")->setText(p.materno);
    child<QLineEdit>(d, "txtCURP")->setText(p.curp);
    child<QLineEdit>(d, "txtRFC")->setText(p.rfc);
}

void choosePeriod(QWidget* d, const QString& office, const QDate& from, const QDate& to) {
    auto* names = child<QComboBox>(d, "cmbAduana");
    names->setCurrentIndex(names->findText(office));
    child<QDateEdit>(d, "dtpIni")->setDate(from);
    child<QDateEdit>(d, "dtpFin")->setDate(to);
}

// Presses "&Nuevo" in the person dialog and answers the period dialog that opens.
void addPeriod(ModalDriver& driver, QWidget* person, const QString& office, const QDate& from, const QDate& to) {
    driver.then([=](QDialog* d) {
        QCOMPARE(d->objectName(), QString("frmPeriodo_Agente"));
        choosePeriod(d, office, from, to);
        press(d, "cmdAceptar");
    });
    press(person, "cmdNuevo");
    QCOMPARE(driver.pending(), 0);
    QCOMPARE(driver.unexpected, QStringList());
}

// A fresh database, with messages and dialogs answered by the test.
struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<Database> database;
    std::unique_ptr<Store> storeOwned;
    Globales globales;
    ScriptedMessages messages;
    ModalDriver driver;

    Fixture() {
        database = openDatabase(dir.path());
        storeOwned = std::make_unique<Store>(*database);
        globales = {database.get(), storeOwned.get()};
    }
    Database& db() { return *globales.BaseDatos; }
    Store& store() { return *globales.store; }
};

// Page 3 on its own, on show, with its grids laid out as the main window lays them out.
struct Pagina : Fixture {
    PaginaHistoricoAA page;
    HistoricoAA control{&page, globales};

    Pagina() {
        setupGrid(page.fgDatosAA, {"Nombre", "Ap.Paterno", "Ap.Materno", "CURP", "RFC"},
                  {3000, 3000, 3000, 2050, 2050});
        setupGrid(page.fgPeriodosAA, {"No.", "Aduana", "F. Inicial", "F. Final"}, {1050, 5000, 2500, 2500});
        page.resize(1400, 800);
        page.show();
    }
};

} // namespace

class TestHistoricoAA : public QObject {
    Q_OBJECT

private slots:
    void newPersonWithTwoPeriods();
    void checksInOrder_data();
    void checksInOrder();
    void editPerson_data();
    void editPerson();
    void periodsAreAWorkingCopy();
    void refusedStatementLeavesTablesAsTheyWere();
    void periodDialog_data();
    void periodDialog();
    void pageListsAndDeletes();
    void refusedDeletionKeepsPerson();
    void pageEditsTheSelectedPerson();
};

void TestHistoricoAA::newPersonWithTwoPeriods() {
    Fixture f;
    frmAgentes_Aduanales d(f.store(), "N", {});
    d.show();
    // Leading blanks are the user's own and are kept.
    const Persona jose{QString::fromUtf8(" JOSÉ"), "PEREZ", "RUIZ", kPerez.curp, kPerez.rfc};
    fillPerson(&d, jose);
    addPeriod(f.driver, &d, kAirport, d1, d2);
    addPeriod(f.driver, &d, kAcapulco, d3, d3);
    QCOMPARE(tableRows(f.db(), "Periodos_H_AA"), QStringList());

    press(&d, "cmdAceptar");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(f.messages.texts(), QStringList());
    QCOMPARE(tableRows(f.db(), "Historico_AA"), QStringList({jose.guardada()}));
    QCOMPARE(tableRows(f.db(), "Periodos_H_AA"),
             QStringList({periodo(kPerez.curp, 470, d1, d2), periodo(kPerez.curp, 10, d3, d3)}));
}

void TestHistoricoAA::checksInOrder_data() {
    // The box given the text, whether a period is added, the text, whether the box takes the focus, the message.
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("withPeriod");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<QString>("message");
    QTest::newRow("nombre vacio") << "txtNombre" << true << "" << true << "Nombre no puede estar vacio";
    QTest::newRow("nombre en blanco") << "txtNombre" << true << "   " << true << "Nombre no puede estar vacio";
    QTest::newRow("paterno") << "txtApPaterno" << true << " " << true << "Ap. Paterno no puede estar vacio";
    QTest::newRow("materno") << "txtApMaterno" << false << "" << true << "Ap. Materno no puede estar vacio";
    QTest::newRow("curp") << "txtCURP" << true << "LOMA801315MJCPRR02" << true << "CURP no valido";
    QTest::newRow("rfc") << "txtRFC" << false << "LOMA800215" << true << "RFC no valido";
    QTest::newRow("sin periodos") << "txtRFC" << false << kLopez.rfc << false << "Debe existir un periodo de trabajo";
    QTest::newRow("curp ya existe") << "txtCURP" << true << kPerez.curp << false
                                    << "YA EXISTE EL AGENTE ADUANAL EN LA BASE DE DATOS.";
}

void TestHistoricoAA::checksInOrder() {
    QFETCH(QString, box);
    QFETCH(bool, withPeriod);
    QFETCH(QString, text);
    QFETCH(bool, focused);
    QFETCH(QString, message);
    Fixture f;
    storePerson(f.db(), kPerez, {{470, d1, d2}});
    const QStringList before = dumpAll(f.db());
    frmAgentes_Aduanales d(f.store(), "N", {});
    d.show();
    fillPerson(&d, kLopez);
    child<QLineEdit>(&d, box.toLatin1())->setText(text);
    if (withPeriod)
        addPeriod(f.driver, &d, kAirport, d3, d4);
    child<QPushButton>(&d, "cmdNuevo")->setFocus();
    press(&d, "cmdAceptar");

    QCOMPARE(f.messages.texts(), QStringList({message}));
    QCOMPARE(f.messages.shown.first().title, QString("Mensaje"));
    QCOMPARE(int(f.messages.shown.first().icon), int(MessageIcon::None));
    QVERIFY(d.isVisible());
    QCOMPARE(d.focusWidget()->objectName(), focused ? box : QString("cmdNuevo"));
    QCOMPARE(dumpAll(f.db()), before);
}

void TestHistoricoAA::editPerson_data() {
    QTest::addColumn<QString>("curp");
    QTest::addColumn<QString>("message");
    QTest::newRow("curp cambiada") << kDiaz.curp << "";
    QTest::newRow("su propia curp") << kPerez.curp << "";
    QTest::newRow("curp de otro") << kLopez.curp << "YA EXISTE EL AGENTE ADUANAL EN LA BASE DE DATOS.";
}

void TestHistoricoAA::editPerson() {
    QFETCH(QString, curp);
    QFETCH(QString, message);
    Fixture f;
    // Office 999 has left the catalogue: the dialog cannot show that period, and an edit must not drop it.
    storePerson(f.db(), kPerez, {{470, d1, d2}, {999, d1, d1}, {10, d3, d4}});
    storePerson(f.db(), kLopez, {{10, d1, d1}});
    const QStringList before = dumpAll(f.db());
    frmAgentes_Aduanales d(f.store(), "E", kPerez.fila());
    d.show();
    QCOMPARE(gridRows(&d, "fgAA_Periodos"), QStringList({kAirportRow, kAcapulcoRow}));
    child<QLineEdit>(&d, "txtNombre")->setText("JUAN CARLOS");
    child<QLineEdit>(&d, "txtCURP")->setText(curp);
    addPeriod(f.driver, &d, kAcapulco, d4, d4);
    press(&d, "cmdAceptar");

    if (!message.isEmpty()) {
        QCOMPARE(f.messages.texts(), QStringList({message}));
        QVERIFY(d.isVisible());
        QCOMPARE(dumpAll(f.db()), before);
        return;
    }
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(f.messages.texts(), QStringList());
    const Persona edited{"JUAN CARLOS", kPerez.paterno, kPerez.materno, curp, kPerez.rfc};
    QCOMPARE(tableRows(f.db(), "Historico_AA"), QStringList({kLopez.guardada(), edited.guardada()}));
    // His old rows are gone, the hidden one moved to his new CURP, the other person's untouched.
    QCOMPARE(tableRows(f.db(), "Periodos_H_AA"),
             QStringList({periodo(curp, 999, d1, d1), periodo(kLopez.curp, 10, d1, d1), periodo(curp, 470, d1, d2),
                          periodo(curp, 10, d3, d4), periodo(curp, 10, d4, d4)}));
}

void TestHistoricoAA::periodsAreAWorkingCopy() {
    Fixture f;
    storePerson(f.db(), kPerez, {{470, d1, d2}, {10, d3, d4}});
    const QStringList before = dumpAll(f.db());
    frmAgentes_Aduanales d(f.store(), "E", kPerez.fila());
    d.show();
    auto* grid = child<QTableWidget>(&d, "fgAA_Periodos");

    // Nothing selected: nothing removed, nothing asked.
    clickRow(grid, 0);
    grid->clearSelection();
    press(&d, "cmdBorrar");
    QCOMPARE(f.messages.shown.size(), 0);

    clickRow(grid, 1);
    f.messages.answerNext(false);
    press(&d, "cmdBorrar");
    QCOMPARE(f.messages.texts(), QStringList({QString::fromUtf8("¿DESEA BORRAR EL PERIODO SELECCIONADO?")}));
    QCOMPARE(rowCount(grid), 2);
    press(&d, "cmdBorrar");
    QCOMPARE(gridRows(grid), QStringList({kAirportRow}));
    clickRow(grid, 0);
    press(&d, "cmdBorrar");
    QCOMPARE(rowCount(grid), 0);
    QVERIFY(!child<QPushButton>(&d, "cmdBorrar")->isEnabled());

    // The removals are stored only on acceptance.
    press(&d, "cmdCancelar");
    QCOMPARE(dumpAll(f.db()), before);
}

void TestHistoricoAA::refusedStatementLeavesTablesAsTheyWere() {
    Fixture f;
    storePerson(f.db(), kPerez, {{470, d1, d2}});
    f.db().exec("create trigger rechaza before insert on Periodos_H_AA when new.NoAduana = 10 "
                "begin select raise(abort, 'periodo rechazado'); end");
    const QStringList before = dumpAll(f.db());
    frmAgentes_Aduanales d(f.store(), "E", kPerez.fila());
    d.show();
    fillPerson(&d, kDiaz);
    addPeriod(f.driver, &d, kAcapulco, d3, d4);
    press(&d, "cmdAceptar");
    QVERIFY(d.isVisible());
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY(f.messages.texts().first().startsWith("No se pudo guardar el Representante"));
    QVERIFY(f.messages.texts().first().contains("periodo rechazado"));
    QCOMPARE(dumpAll(f.db()), before);
}

void TestHistoricoAA::periodDialog_data() {
    QTest::addColumn<QString>("office");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("message");
    QTest::newRow("fechas iguales") << kAirport << d3 << d3 << "";
    QTest::newRow("inicio un dia despues") << kAirport << d3.addDays(1) << d3 << "Periodo no valido";
    QTest::newRow("sin aduana") << "" << d1 << d2 << "Aduana no valida";
}

void TestHistoricoAA::periodDialog() {
    QFETCH(QString, office);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, message);
    Fixture f;
    frmPeriodo_Agente d(f.store());
    choosePeriod(&d, office, from, to);
    press(&d, "cmdAceptar");
    const bool accepted = message.isEmpty();
    QCOMPARE(d.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(f.messages.texts(), accepted ? QStringList() : QStringList({message}));
    if (accepted)
        QCOMPARE(celdasPeriodo(d.periodo()), QStringList({" 470", kAirport, dateText(from), dateText(to)}));
    else
        QCOMPARE(f.messages.shown.first().title, QString("TOLVEK 3"));
}

void TestHistoricoAA::pageListsAndDeletes() {
    Pagina f;
    storePerson(f.db(), kPerez, {{470, d1, d2}, {999, d3, d4}});
    storePerson(f.db(), kLopez, {{10, d3, d4}});
    storePerson(f.db(), kDiaz, {{470, d4, d4}});
    f.control.Llena_Hist_AA();
    QCOMPARE(gridRows(f.page.fgDatosAA),
             QStringList({kPerez.fila().join('|'), kLopez.fila().join('|'), kDiaz.fila().join('|')}));
    QVERIFY(!f.page.cmdAABorrar->isEnabled());

    clickRow(f.page.fgDatosAA, 0);
    // The office that left the catalogue is not listed.
    QCOMPARE(gridRows(f.page.fgPeriodosAA), QStringList({kAirportRow}));
    f.messages.answerNext(false);
    f.page.cmdAABorrar->click();
    QCOMPARE(f.messages.texts(),
             QStringList({QString::fromUtf8("¿DESEA BORRAR EL AGENTE ADUANAL \n\nJUAN PEREZ RUIZ "
                                            "PERJ700101HDFRRN01\n\n Y TODOS SUS PERIODOS DE LABOR?")}));
    QCOMPARE(rowCount(f.page.fgDatosAA), 3);

    // The first row: all his periods go, the next person's show, the buttons wait for a click.
    f.page.cmdAABorrar->click();
    QCOMPARE(tableRows(f.db(), "Historico_AA"), QStringList({kLopez.guardada(), kDiaz.guardada()}));
    QCOMPARE(tableRows(f.db(), "Periodos_H_AA"),
             QStringList({periodo(kLopez.curp, 10, d3, d4), periodo(kDiaz.curp, 470, d4, d4)}));
    QCOMPARE(gridRows(f.page.fgPeriodosAA), QStringList({kAcapulcoRow}));
    QVERIFY(!f.page.cmdAAEditar->isEnabled());
    QVERIFY(!f.page.cmdAABorrar->isEnabled());

    // A later row: the buttons stay.
    clickRow(f.page.fgDatosAA, 1);
    f.page.cmdAABorrar->click();
    QCOMPARE(gridRows(f.page.fgDatosAA), QStringList({kLopez.fila().join('|')}));
    QCOMPARE(gridRows(f.page.fgPeriodosAA), QStringList({kAcapulcoRow}));
    QVERIFY(f.page.cmdAABorrar->isEnabled());

    // The last one: both grids keep only their headers.
    f.page.cmdAABorrar->click();
    QCOMPARE(rowCount(f.page.fgDatosAA), 0);
    QCOMPARE(f.page.fgDatosAA->columnCount(), 5);
    QCOMPARE(rowCount(f.page.fgPeriodosAA), 0);
    QCOMPARE(tableRows(f.db(), "Historico_AA") + tableRows(f.db(), "Periodos_H_AA"), QStringList());
    QVERIFY(!f.page.cmdAABorrar->isEnabled());
}

void TestHistoricoAA::refusedDeletionKeepsPerson() {
    Pagina f;
    storePerson(f.db(), kPerez, {{470, d1, d2}});
    f.db().exec("create trigger protege before delete on Historico_AA begin select raise(abort, 'protegido'); end");
    const QStringList before = dumpAll(f.db());
    f.control.Llena_Hist_AA();
    clickRow(f.page.fgDatosAA, 0);
    f.page.cmdAABorrar->click();
    QCOMPARE(f.messages.shown.size(), 2);
    QVERIFY(f.messages.texts().last().contains("protegido"));
    // The periods deleted before the refusal are back, and the grids still show them.
    QCOMPARE(dumpAll(f.db()), before);
    QCOMPARE(rowCount(f.page.fgDatosAA), 1);
    QCOMPARE(rowCount(f.page.fgPeriodosAA), 1);
}

void TestHistoricoAA::pageEditsTheSelectedPerson() {
    Pagina f;
    storePerson(f.db(), kPerez, {{470, d1, d2}});
    storePerson(f.db(), kLopez, {{10, d3, d4}});
    f.control.Llena_Hist_AA();
    clickRow(f.page.fgDatosAA, 1);
    f.driver.then([](QDialog* d) {
        QCOMPARE(gridRows(d, "fgAA_Periodos"), QStringList({kAcapulcoRow}));
        child<QLineEdit>(d, "txtApMaterno")->setText("MORALES");
        press(d, "cmdAceptar");
    });
    f.page.cmdAAEditar->click();
    QCOMPARE(f.driver.pending(), 0);
    // Refilled from the store, with the first row selected and its periods shown.
    QCOMPARE(gridRows(f.page.fgDatosAA),
             QStringList({kPerez.fila().join('|'), "MARIA|LOPEZ|MORALES|LOMA800215MJCPRR02|LOMA800215XY2"}));
    QCOMPARE(selectedRow(f.page.fgDatosAA), 0);
    QCOMPARE(gridRows(f.page.fgPeriodosAA), QStringList({kAirportRow}));
    QCOMPARE(f.messages.shown.size(), 0);
    QCOMPARE(f.driver.unexpected, QStringList());
}

QTEST_MAIN(TestHistoricoAA)
#include "tst_historico_aa.moc"
