#include "app/Globales.h"
#include "app/PaginaHistoricoAA.h"
#include "app/frmMain.h"
#include "data/BaseDatos.h"
#include "data/Rutinas.h"
#include "lists/HistoricoAA.h"
#include "lists/HistoricoMandatarios.h"
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

struct Persona {
    QString nombre, paterno, materno, curp, rfc;
};
const Persona kPerez{"JUAN", "PEREZ", "RUIZ", "PERJ700101HDFRRN01", "PERJ700101AB1"};
const Persona kLopez{"MARIA", "LOPEZ", "MORA", "LOMA800215MJCPRR02", "LOMA800215XY2"};
const Persona kDiaz{"PEDRO", "DIAZ", "SOTO", "DISP750505HGRZTD03", "DISP750505QW3"};

void storePerson(Database& db, const Persona& p, const QList<std::tuple<int, QDate, QDate>>& periods) {
    db.exec("insert into Historico_AA values (?,?,?,?,?)", {p.rfc, p.curp, p.nombre, p.paterno, p.materno});
    for (const auto& [office, from, to] : periods)
        db.exec("insert into Periodos_H_AA values (?,?,?,?)", {p.curp, office, from, to});
}

// Rows of a table for one CURP, each as "office from to" with ISO dates, in stored order.
QStringList storedPeriods(Database& db, const QString& curp) {
    QStringList rows;
    Query q = db.select("select NoAduana,FechaIni,FechaFin from Periodos_H_AA where CURP=? order by rowid", {curp});
    while (q.next())
        rows << QStringLiteral("%1 %2 %3").arg(q.text(0), q.text(1), q.text(2));
    return rows;
}

QStringList storedPersons(Database& db) {
    QStringList rows;
    Query q = db.select("select RFC,CURP,Nombre,ApPaterno,ApMaterno from Historico_AA order by CURP");
    while (q.next())
        rows << QStringList{q.text(0), q.text(1), q.text(2), q.text(3), q.text(4)}.join('|');
    return rows;
}

int count(Database& db, const QString& table) {
    Query q = db.select("select count(*) from " + table);
    q.next();
    return int(q.number(0));
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

// Page 3 on its own, with its grids laid out as the main window lays them out.
struct Pagina {
    QTemporaryDir dir;
    Globales globales;
    PaginaHistoricoAA page;
    HistoricoAA control;

    Pagina() : control(&page, globales) {
        globales.BaseDatos = openDatabase(dir.path());
        setupGrid(page.fgDatosAA, {"Nombre", "Ap.Paterno", "Ap.Materno", "CURP", "RFC"},
                  {3000, 3000, 3000, 2050, 2050});
        setupGrid(page.fgPeriodosAA, {"No.", "Aduana", "F. Inicial", "F. Final"}, {1050, 5000, 2500, 2500});
        page.resize(1400, 800);
        page.show();
    }
    Database& db() { return *globales.BaseDatos; }
};

const QDate d1(2001, 3, 15), d2(2003, 8, 31), d3(2004, 1, 2), d4(2005, 12, 24);

} // namespace

Q_DECLARE_METATYPE(Persona)

class TestHistoricoAA : public QObject {
    Q_OBJECT

private slots:
    void newPersonWithTwoPeriods();
    void checksInOrder_data();
    void checksInOrder();
    void editChangingCurpReplacesOldRows();
    void editKeepsPeriodsOutsideCatalogue();
    void duplicateCurpOnlyForAnotherPerson();
    void periodsAreAWorkingCopy();
    void refusedStatementLeavesTablesAsTheyWere();
    void periodDialog_data();
    void periodDialog();
    void pageListsAndDeletes();
    void deletingTheOnlyPerson();
    void refusedDeletionKeepsPerson();
    void pageNewAndEditThroughDialogs();
    void startUpFillsPageThree();
};

void TestHistoricoAA::newPersonWithTwoPeriods() {
    QTemporaryDir dir;
    auto db = openDatabase(dir.path());
    ScriptedMessages messages;
    ModalDriver driver;
    frmAgentes_Aduanales d(*db, "N", {});
    d.show();
    QCOMPARE(d.windowTitle(), QString("Datos del Representante que  actuó con el Agente Aduanal"));
    QVERIFY(!child<QPushButton>(&d, "cmdBorrar")->isEnabled());
    // Typed in lower case, kept in capitals.
    typeText(child<QLineEdit>(&d, "txtNombre"), QString::fromUtf8("josé ñuño"));
    QCOMPARE(child<QLineEdit>(&d, "txtNombre")->text(), QString::fromUtf8("JOSÉ ÑUÑO"));
    fillPerson(&d, {QString::fromUtf8(" JOSÉ"), "PEREZ", "RUIZ", kPerez.curp, kPerez.rfc});
    addPeriod(driver, &d, kAirport, d1, d2);
    addPeriod(driver, &d, kAcapulco, d3, d3);
    auto* grid = child<QTableWidget>(&d, "fgAA_Periodos");
    QCOMPARE(gridRows(grid), QStringList({" 470|" + kAirport + "|15/03/2001|31/08/2003",
                                          " 10|" + kAcapulco + "|02/01/2004|02/01/2004"}));
    QCOMPARE(count(*db, "Periodos_H_AA"), 0);

    press(&d, "cmdAceptar");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(messages.texts(), QStringList());
    // Leading blanks are the user's own and are kept.
    QCOMPARE(storedPersons(*db),
             QStringList({kPerez.rfc + "|" + kPerez.curp + QString::fromUtf8("| JOSÉ|PEREZ|RUIZ")}));
    QCOMPARE(storedPeriods(*db, kPerez.curp), QStringList({"470 2001-03-15 2003-08-31", "10 2004-01-02 2004-01-02"}));
}

void TestHistoricoAA::checksInOrder_data() {
    QTest::addColumn<Persona>("persona");
    QTest::addColumn<bool>("withPeriod");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const Persona p = kLopez;
    auto with = [&](auto change) {
        Persona q = p;
        change(q);
        return q;
    };
    QTest::newRow("nombre vacio") << with([](Persona& q) { q.nombre = ""; }) << true << "Nombre no puede estar vacio"
                                  << "txtNombre";
    QTest::newRow("nombre en blanco") << with([](Persona& q) { q.nombre = "   "; }) << true
                                      << "Nombre no puede estar vacio"
                                      << "txtNombre";
    QTest::newRow("paterno") << with([](Persona& q) { q.paterno = " "; }) << true << "Ap. Paterno no puede estar vacio"
                             << "txtApPaterno";
    QTest::newRow("materno") << with([](Persona& q) { q.materno = ""; }) << false << "Ap. Materno no puede estar vacio"
                             << "txtApMaterno";
    QTest::newRow("curp") << with([](Persona& q) { q.curp = "LOMA801315MJCPRR02"; }) << true << "CURP no valido"
                          << "txtCURP";
    QTest::newRow("rfc") << with([](Persona& q) { q.rfc = "LOMA800215"; }) << false << "RFC no valido"
                         << "txtRFC";
    QTest::newRow("sin periodos") << p << false << "Debe existir un periodo de trabajo"
                                  << "";
    QTest::newRow("curp ya existe") << with([](Persona& q) { q.curp = kPerez.curp; }) << true
                                    << "YA EXISTE EL AGENTE ADUANAL EN LA BASE DE DATOS."
                                    << "";
}

void TestHistoricoAA::checksInOrder() {
    QFETCH(Persona, persona);
    QFETCH(bool, withPeriod);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QTemporaryDir dir;
    auto db = openDatabase(dir.path());
    storePerson(*db, kPerez, {{470, d1, d2}});
    ScriptedMessages messages;
    ModalDriver driver;
    frmAgentes_Aduanales d(*db, "N", {});
    d.show();
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    fillPerson(&d, persona);
    if (withPeriod)
        addPeriod(driver, &d, kAirport, d3, d4);
    child<QPushButton>(&d, "cmdNuevo")->setFocus();
    press(&d, "cmdAceptar");

    QCOMPARE(messages.texts(), QStringList({message}));
    QCOMPARE(messages.shown.first().title, QString("Mensaje"));
    QCOMPARE(int(messages.shown.first().icon), int(MessageIcon::None));
    QVERIFY(d.isVisible());
    QCOMPARE(d.focusWidget()->objectName(), focus.isEmpty() ? QString("cmdNuevo") : focus);
    QCOMPARE(storedPersons(*db).size(), 1);
    QCOMPARE(count(*db, "Periodos_H_AA"), 1);
}

void TestHistoricoAA::editChangingCurpReplacesOldRows() {
    QTemporaryDir dir;
    auto db = openDatabase(dir.path());
    storePerson(*db, kPerez, {{470, d1, d2}, {10, d3, d4}});
    storePerson(*db, kLopez, {{10, d1, d1}});
    ScriptedMessages messages;
    ModalDriver driver;
    frmAgentes_Aduanales d(*db, "E", {kPerez.nombre, kPerez.paterno, kPerez.materno, kPerez.curp, kPerez.rfc});
    d.show();
    QCOMPARE(child<QLineEdit>(&d, "txtCURP")->text(), kPerez.curp);
    QCOMPARE(child<QLineEdit>(&d, "txtRFC")->text(), kPerez.rfc);
    QCOMPARE(child<QLineEdit>(&d, "txtApMaterno")->text(), kPerez.materno);
    QCOMPARE(
        gridRows(child<QTableWidget>(&d, "fgAA_Periodos")),
        QStringList({" 470|" + kAirport + "|15/03/2001|31/08/2003", " 10|" + kAcapulco + "|02/01/2004|24/12/2005"}));
    fillPerson(&d, kDiaz);
    addPeriod(driver, &d, kAcapulco, d4, d4);
    press(&d, "cmdAceptar");

    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(storedPersons(*db), QStringList({"DISP750505QW3|DISP750505HGRZTD03|PEDRO|DIAZ|SOTO",
                                              "LOMA800215XY2|LOMA800215MJCPRR02|MARIA|LOPEZ|MORA"}));
    QCOMPARE(storedPeriods(*db, kPerez.curp), QStringList());
    QCOMPARE(storedPeriods(*db, kDiaz.curp),
             QStringList({"470 2001-03-15 2003-08-31", "10 2004-01-02 2005-12-24", "10 2005-12-24 2005-12-24"}));
    QCOMPARE(storedPeriods(*db, kLopez.curp), QStringList({"10 2001-03-15 2001-03-15"}));
}

void TestHistoricoAA::editKeepsPeriodsOutsideCatalogue() {
    // A period at an office that has left the catalogue cannot be shown, so an edit must not drop it.
    QTemporaryDir dir;
    auto db = openDatabase(dir.path());
    storePerson(*db, kPerez, {{999, d1, d2}, {470, d3, d4}});
    ScriptedMessages messages;
    frmAgentes_Aduanales d(*db, "E", {kPerez.nombre, kPerez.paterno, kPerez.materno, kPerez.curp, kPerez.rfc});
    d.show();
    QCOMPARE(rowCount(child<QTableWidget>(&d, "fgAA_Periodos")), 1);
    child<QLineEdit>(&d, "txtCURP")->setText(kDiaz.curp);
    press(&d, "cmdAceptar");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(storedPeriods(*db, kPerez.curp), QStringList());
    QCOMPARE(storedPeriods(*db, kDiaz.curp), QStringList({"999 2001-03-15 2003-08-31", "470 2004-01-02 2005-12-24"}));
}

void TestHistoricoAA::duplicateCurpOnlyForAnotherPerson() {
    QTemporaryDir dir;
    auto db = openDatabase(dir.path());
    storePerson(*db, kPerez, {{470, d1, d2}});
    storePerson(*db, kLopez, {{10, d3, d4}});
    const QStringList perez{kPerez.nombre, kPerez.paterno, kPerez.materno, kPerez.curp, kPerez.rfc};
    ScriptedMessages messages;
    {
        // His own CURP kept: accepted.
        frmAgentes_Aduanales d(*db, "E", perez);
        d.show();
        child<QLineEdit>(&d, "txtNombre")->setText("JUAN CARLOS");
        press(&d, "cmdAceptar");
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(messages.texts(), QStringList());
    }
    QCOMPARE(storedPersons(*db).last(), QString("PERJ700101AB1|PERJ700101HDFRRN01|JUAN CARLOS|PEREZ|RUIZ"));
    QCOMPARE(storedPeriods(*db, kPerez.curp), QStringList({"470 2001-03-15 2003-08-31"}));
    {
        // Another person's CURP: refused.
        frmAgentes_Aduanales d(*db, "E", perez);
        d.show();
        child<QLineEdit>(&d, "txtCURP")->setText(kLopez.curp);
        press(&d, "cmdAceptar");
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(messages.texts(), QStringList({"YA EXISTE EL AGENTE ADUANAL EN LA BASE DE DATOS."}));
    }
    QCOMPARE(storedPeriods(*db, kPerez.curp), QStringList({"470 2001-03-15 2003-08-31"}));
    QCOMPARE(storedPeriods(*db, kLopez.curp), QStringList({"10 2004-01-02 2005-12-24"}));
}

void TestHistoricoAA::periodsAreAWorkingCopy() {
    QTemporaryDir dir;
    auto db = openDatabase(dir.path());
    storePerson(*db, kPerez, {{470, d1, d2}, {10, d3, d4}});
    const QStringList before = storedPeriods(*db, kPerez.curp);
    ScriptedMessages messages;
    frmAgentes_Aduanales d(*db, "E", {kPerez.nombre, kPerez.paterno, kPerez.materno, kPerez.curp, kPerez.rfc});
    d.show();
    auto* grid = child<QTableWidget>(&d, "fgAA_Periodos");
    auto* borrar = child<QPushButton>(&d, "cmdBorrar");
    QVERIFY(!borrar->isEnabled());

    // Nothing selected: nothing removed, nothing asked.
    clickRow(grid, 0);
    QVERIFY(borrar->isEnabled());
    grid->clearSelection();
    press(&d, "cmdBorrar");
    QCOMPARE(rowCount(grid), 2);
    QCOMPARE(messages.shown.size(), 0);

    // Cancelled confirmation keeps the row.
    clickRow(grid, 1);
    messages.answerNext(false);
    press(&d, "cmdBorrar");
    QCOMPARE(messages.texts(), QStringList({QString::fromUtf8("¿DESEA BORRAR EL PERIODO SELECCIONADO?")}));
    QCOMPARE(messages.shown.first().title, QString("Mendaje"));
    QCOMPARE(int(messages.shown.first().icon), int(MessageIcon::Exclamation));
    QVERIFY(messages.shown.first().withCancel);
    QCOMPARE(rowCount(grid), 2);

    press(&d, "cmdBorrar");
    QCOMPARE(gridRows(grid), QStringList({" 470|" + kAirport + "|15/03/2001|31/08/2003"}));
    clickRow(grid, 0);
    press(&d, "cmdBorrar");
    QCOMPARE(rowCount(grid), 0);
    QVERIFY(!borrar->isEnabled());
    QCOMPARE(storedPeriods(*db, kPerez.curp), before);

    // Cancelling forgets the removals.
    press(&d, "cmdCancelar");
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(storedPeriods(*db, kPerez.curp), before);
}

void TestHistoricoAA::refusedStatementLeavesTablesAsTheyWere() {
    QTemporaryDir dir;
    auto db = openDatabase(dir.path());
    storePerson(*db, kPerez, {{470, d1, d2}});
    db->exec("create trigger rechaza before insert on Periodos_H_AA when new.NoAduana = 10 "
             "begin select raise(abort, 'periodo rechazado'); end");
    ScriptedMessages messages;
    ModalDriver driver;
    frmAgentes_Aduanales d(*db, "E", {kPerez.nombre, kPerez.paterno, kPerez.materno, kPerez.curp, kPerez.rfc});
    d.show();
    fillPerson(&d, kDiaz);
    addPeriod(driver, &d, kAcapulco, d3, d4);
    press(&d, "cmdAceptar");
    QVERIFY(d.isVisible());
    QCOMPARE(messages.shown.size(), 1);
    QVERIFY(messages.texts().first().startsWith("No se pudo guardar el Representante"));
    QVERIFY(messages.texts().first().contains("periodo rechazado"));
    QCOMPARE(storedPersons(*db), QStringList({"PERJ700101AB1|PERJ700101HDFRRN01|JUAN|PEREZ|RUIZ"}));
    QCOMPARE(storedPeriods(*db, kPerez.curp), QStringList({"470 2001-03-15 2003-08-31"}));
    QCOMPARE(count(*db, "Periodos_H_AA"), 1);
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
    QTemporaryDir dir;
    auto db = openDatabase(dir.path());
    ScriptedMessages messages;
    frmPeriodo_Agente d(*db);
    QCOMPARE(d.windowTitle(), QString("Periodo del Representante"));
    auto* numbers = child<QComboBox>(&d, "cmbNoAduana");
    auto* names = child<QComboBox>(&d, "cmbAduana");
    QCOMPARE(numbers->count(), 50);
    QCOMPARE(names->currentIndex(), -1);
    QCOMPARE(child<QDateEdit>(&d, "dtpIni")->date(), QDate::currentDate());
    QCOMPARE(child<QDateEdit>(&d, "dtpFin")->date(), QDate::currentDate());
    numbers->setCurrentIndex(numbers->findText(" 10"));
    QCOMPARE(names->currentText(), kAcapulco);

    names->setCurrentIndex(names->findText(office));
    child<QDateEdit>(&d, "dtpIni")->setDate(from);
    child<QDateEdit>(&d, "dtpFin")->setDate(to);
    press(&d, "cmdAceptar");
    if (message.isEmpty()) {
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(messages.shown.size(), 0);
        QCOMPARE(d.periodo().celdas(), QStringList({" 470", kAirport, dateText(from), dateText(to)}));
    } else {
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(messages.texts(), QStringList({message}));
        QCOMPARE(messages.shown.first().title, QString("TOLVEK 3"));
        QCOMPARE(int(messages.shown.first().icon), int(MessageIcon::None));
    }
}

void TestHistoricoAA::pageListsAndDeletes() {
    Pagina p;
    storePerson(p.db(), kPerez, {{470, d1, d2}, {999, d3, d4}});
    storePerson(p.db(), kLopez, {{10, d3, d4}});
    storePerson(p.db(), kDiaz, {{470, d4, d4}});
    ScriptedMessages messages;
    p.control.Llena_Hist_AA();
    QCOMPARE(gridRows(p.page.fgDatosAA), QStringList({"JUAN|PEREZ|RUIZ|PERJ700101HDFRRN01|PERJ700101AB1",
                                                      "MARIA|LOPEZ|MORA|LOMA800215MJCPRR02|LOMA800215XY2",
                                                      "PEDRO|DIAZ|SOTO|DISP750505HGRZTD03|DISP750505QW3"}));
    QVERIFY(!p.page.cmdAAEditar->isEnabled());
    QVERIFY(!p.page.cmdAABorrar->isEnabled());

    clickRow(p.page.fgDatosAA, 0);
    // The office that left the catalogue is not listed.
    QCOMPARE(gridRows(p.page.fgPeriodosAA), QStringList({" 470|" + kAirport + "|15/03/2001|31/08/2003"}));
    QVERIFY(p.page.cmdAAEditar->isEnabled());
    QVERIFY(p.page.cmdAABorrar->isEnabled());

    messages.answerNext(false);
    p.page.cmdAABorrar->click();
    QCOMPARE(messages.texts(),
             QStringList({QString::fromUtf8("¿DESEA BORRAR EL AGENTE ADUANAL \n\nJUAN PEREZ RUIZ "
                                            "PERJ700101HDFRRN01\n\n Y TODOS SUS PERIODOS DE LABOR?")}));
    QCOMPARE(messages.shown.first().title, QString("Mendaje"));
    QVERIFY(messages.shown.first().withCancel);
    QCOMPARE(rowCount(p.page.fgDatosAA), 3);
    QCOMPARE(count(p.db(), "Periodos_H_AA"), 4);

    // Deleting the first row: every period of his goes, the next person's periods show, the buttons wait for a click.
    p.page.cmdAABorrar->click();
    QCOMPARE(storedPersons(p.db()).size(), 2);
    QCOMPARE(storedPeriods(p.db(), kPerez.curp), QStringList());
    QCOMPARE(gridRows(p.page.fgDatosAA).first(), QString("MARIA|LOPEZ|MORA|LOMA800215MJCPRR02|LOMA800215XY2"));
    QCOMPARE(gridRows(p.page.fgPeriodosAA), QStringList({" 10|" + kAcapulco + "|02/01/2004|24/12/2005"}));
    QVERIFY(!p.page.cmdAAEditar->isEnabled());
    QVERIFY(!p.page.cmdAABorrar->isEnabled());

    // Deleting a later row keeps the buttons.
    clickRow(p.page.fgDatosAA, 1);
    p.page.cmdAABorrar->click();
    QCOMPARE(gridRows(p.page.fgDatosAA), QStringList({"MARIA|LOPEZ|MORA|LOMA800215MJCPRR02|LOMA800215XY2"}));
    QCOMPARE(gridRows(p.page.fgPeriodosAA), QStringList({" 10|" + kAcapulco + "|02/01/2004|24/12/2005"}));
    QVERIFY(p.page.cmdAABorrar->isEnabled());
    QCOMPARE(storedPeriods(p.db(), kLopez.curp), QStringList({"10 2004-01-02 2005-12-24"}));
    QCOMPARE(count(p.db(), "Periodos_H_AA"), 1);
}

void TestHistoricoAA::deletingTheOnlyPerson() {
    Pagina p;
    storePerson(p.db(), kPerez, {{470, d1, d2}});
    ScriptedMessages messages;
    p.control.Llena_Hist_AA();
    clickRow(p.page.fgDatosAA, 0);
    QCOMPARE(rowCount(p.page.fgPeriodosAA), 1);
    p.page.cmdAABorrar->click();
    QCOMPARE(rowCount(p.page.fgDatosAA), 0);
    QCOMPARE(rowCount(p.page.fgPeriodosAA), 0);
    QCOMPARE(p.page.fgDatosAA->columnCount(), 5);
    QCOMPARE(count(p.db(), "Historico_AA"), 0);
    QCOMPARE(count(p.db(), "Periodos_H_AA"), 0);
    QVERIFY(!p.page.cmdAABorrar->isEnabled());
}

void TestHistoricoAA::refusedDeletionKeepsPerson() {
    Pagina p;
    storePerson(p.db(), kPerez, {{470, d1, d2}});
    p.db().exec("create trigger protege before delete on Historico_AA begin select raise(abort, 'protegido'); end");
    ScriptedMessages messages;
    p.control.Llena_Hist_AA();
    clickRow(p.page.fgDatosAA, 0);
    p.page.cmdAABorrar->click();
    QCOMPARE(messages.shown.size(), 2);
    QVERIFY(messages.texts().last().contains("protegido"));
    // The periods deleted before the refusal are back, and the grids still show them.
    QCOMPARE(storedPeriods(p.db(), kPerez.curp), QStringList({"470 2001-03-15 2003-08-31"}));
    QCOMPARE(rowCount(p.page.fgDatosAA), 1);
    QCOMPARE(rowCount(p.page.fgPeriodosAA), 1);
}

void TestHistoricoAA::pageNewAndEditThroughDialogs() {
    Pagina p;
    storePerson(p.db(), kPerez, {{470, d1, d2}});
    ScriptedMessages messages;
    p.control.Llena_Hist_AA();

    ModalDriver driver;
    driver.then([&driver](QDialog* d) {
        QCOMPARE(d->objectName(), QString("frmAgentes_Aduanales"));
        QCOMPARE(child<QLineEdit>(d, "txtCURP")->text(), QString());
        fillPerson(d, kLopez);
        // The driver answers the nested period dialog only once this step has returned.
        QTimer::singleShot(0, d, [&driver, d] {
            addPeriod(driver, d, kAcapulco, d3, d4);
            press(d, "cmdAceptar");
        });
    });
    p.page.cmdAANuevo->click();
    QCOMPARE(driver.pending(), 0);
    QCOMPARE(rowCount(p.page.fgDatosAA), 2);
    // The first row is selected and its periods shown.
    QCOMPARE(selectedRow(p.page.fgDatosAA), 0);
    QCOMPARE(gridRows(p.page.fgPeriodosAA), QStringList({" 470|" + kAirport + "|15/03/2001|31/08/2003"}));
    QCOMPARE(storedPeriods(p.db(), kLopez.curp), QStringList({"10 2004-01-02 2005-12-24"}));

    clickRow(p.page.fgDatosAA, 1);
    driver.then([](QDialog* d) {
        QCOMPARE(child<QLineEdit>(d, "txtCURP")->text(), kLopez.curp);
        QCOMPARE(rowCount(child<QTableWidget>(d, "fgAA_Periodos")), 1);
        child<QLineEdit>(d, "txtApMaterno")->setText("MORALES");
        press(d, "cmdAceptar");
    });
    p.page.cmdAAEditar->click();
    QCOMPARE(driver.pending(), 0);
    QCOMPARE(storedPersons(p.db()).first(), QString("LOMA800215XY2|LOMA800215MJCPRR02|MARIA|LOPEZ|MORALES"));

    // Cancelled: the lists show what is stored.
    driver.then([](QDialog* d) { press(d, "cmdCancelar"); });
    p.page.cmdAANuevo->click();
    QCOMPARE(rowCount(p.page.fgDatosAA), 2);
    QCOMPARE(messages.shown.size(), 0);
    QCOMPARE(driver.unexpected, QStringList());
}

void TestHistoricoAA::startUpFillsPageThree() {
    QTemporaryDir dir;
    {
        auto db = openDatabase(dir.path());
        storeBroker(*db);
        storePerson(*db, kPerez, {{470, d1, d2}});
        storePerson(*db, kLopez, {{10, d3, d4}});
    }
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
    QVERIFY(startUp(window, driver));
    auto* list = child<QTableWidget>(&window, "fgDatosAA");
    QCOMPARE(gridRows(list), QStringList({"JUAN|PEREZ|RUIZ|PERJ700101HDFRRN01|PERJ700101AB1",
                                          "MARIA|LOPEZ|MORA|LOMA800215MJCPRR02|LOMA800215XY2"}));
    QCOMPARE(rowCount(child<QTableWidget>(&window, "fgPeriodosAA")), 0);
    QVERIFY(!window.historicoMandatarios().Hay_Hist_Mandatarios());
    QCOMPARE(rowCount(child<QTableWidget>(&window, "fgMandatarios")), 0);

    // "Borrar" on the page of the started window, through its own controls.
    selectRow(list, 1);
    emit list->cellClicked(1, 0);
    QCOMPARE(rowCount(child<QTableWidget>(&window, "fgPeriodosAA")), 1);
    child<QPushButton>(&window, "cmdAABorrar")->click();
    QCOMPARE(rowCount(list), 1);
    QCOMPARE(driver.unexpected, QStringList());
}

QTEST_MAIN(TestHistoricoAA)
#include "tst_historico_aa.moc"
