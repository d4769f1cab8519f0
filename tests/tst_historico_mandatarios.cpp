#include "app/Globales.h"
#include "app/PaginaMandatarios.h"
#include "app/frmMain.h"
#include "data/BaseDatos.h"
#include "lists/HistoricoMandatarios.h"
#include "lists/frmPeriodo_Mandatario.h"
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
const QString kRamos = QStringLiteral("RARL820304HJCMMS05");
const QString kVega = QStringLiteral("VEAN850607MDFGRN06");
const QStringList kRamosRow{"LUIS", "RAMOS", "RAMIREZ", kRamos};
const QDate d1(2001, 3, 15), d2(2003, 8, 31), d3(2004, 1, 2), d4(2005, 12, 24);

void storeRepresentative(Database& db, const QString& curp, const QString& nombre, const QString& paterno,
                         const QString& materno, const QVariant& mandato) {
    db.exec("insert into Mandatarios values (?,?,?,?,?,?,?,?,?)",
            {curp, curp.left(10) + "AB1", nombre, paterno, materno, mandato, "", 0, 1});
}

void storePeriod(Database& db, const QString& curp, int office, int patente, const QDate& from, const QDate& to) {
    db.exec("insert into Periodos_H_MM values (?,?,?,?,?)", {curp, office, patente, from, to});
}

// One CURP's periods as "patente office from to", ISO dates, in stored order.
QStringList storedPeriods(Database& db, const QString& curp) {
    QStringList rows;
    Query q = db.select("select Patente_MM,NoAduana,FechaIni,FechaFin from Periodos_H_MM where CURP=? order by rowid",
                        {curp});
    while (q.next())
        rows << QStringLiteral("%1 %2 %3 %4").arg(q.text(0), q.text(1), q.text(2), q.text(3));
    return rows;
}

void fillPeriod(QWidget* d, const QString& patente, const QString& office, const QDate& from, const QDate& to) {
    child<QLineEdit>(d, "txtPatente")->setText(patente);
    auto* names = child<QComboBox>(d, "cmbAduana");
    names->setCurrentIndex(names->findText(office));
    child<QDateEdit>(d, "dtpIni")->setDate(from);
    child<QDateEdit>(d, "dtpFin")->setDate(to);
}

// Page 4 on its own, with its grids laid out as the main window lays them out.
struct Pagina {
    QTemporaryDir dir;
    Globales globales;
    PaginaMandatarios page;
    HistoricoMandatarios control;

    Pagina() : control(&page, globales) {
        globales.BaseDatos = openDatabase(dir.path());
        setupGrid(page.fgMandatarios, {"Nombre", "Ap.Paterno", "Ap.Materno", "CURP"}, {3000, 3000, 3000, 2050});
        setupGrid(page.fgPeriodosMandatario, {"Patente", "No.", "Aduana", "F. Inicial", "F. Final"},
                  {1070, 1000, 5000, 2000, 2000});
        page.resize(1400, 800);
        page.show();
    }
    Database& db() { return *globales.BaseDatos; }

    // Ramos the aspirant with three periods and one at an office that left the catalogue; Vega the aspirant with one.
    void storeAspirants() {
        storeRepresentative(db(), kRamos, "LUIS", "RAMOS", "RAMIREZ", 2);
        storeRepresentative(db(), "OTRO700101HDFRRN01", "ANA", "OTERO", "PAZ", 1);
        storeRepresentative(db(), kVega, "ANA", "VEGA", "GARCIA", 2);
        storePeriod(db(), kRamos, 470, 3010, d1, d2);
        storePeriod(db(), kRamos, 999, 15, d1, d1);
        storePeriod(db(), kRamos, 10, 4000, d2, d3);
        storePeriod(db(), kRamos, 470, 1, d4, d4);
        storePeriod(db(), kVega, 10, 22, d3, d4);
    }
};

} // namespace

class TestHistoricoMandatarios : public QObject {
    Q_OBJECT

private slots:
    void hayHistMandatarios_data();
    void hayHistMandatarios();
    void periodDialogChecks_data();
    void periodDialogChecks();
    void periodDialogShowsTheAspirant();
    void refusedInsertAddsNoRow();
    void pageListsAndAddsPeriods();
    void deletingOneOfThree();
    void deletingTheOnlyPeriod();
    void borrarWithoutSelectionChangesNothing();
    void aspirantWhoLeftTakesHisPeriodsOffThePage();
    void correctedAspirantShownAsStored();
    void startUpWithAndWithoutAspirants();
};

void TestHistoricoMandatarios::hayHistMandatarios_data() {
    QTest::addColumn<QVariantList>("mandatos");
    QTest::addColumn<bool>("hay");
    QTest::newRow("sin representantes") << QVariantList{} << false;
    QTest::newRow("tipos 1, 3 y nulo") << QVariantList{1, 3, QVariant()} << false;
    QTest::newRow("un aspirante") << QVariantList{1, 2, 3} << true;
}

void TestHistoricoMandatarios::hayHistMandatarios() {
    QFETCH(QVariantList, mandatos);
    QFETCH(bool, hay);
    Pagina p;
    for (int i = 0; i < mandatos.size(); ++i)
        storeRepresentative(p.db(), QStringLiteral("CURP%1").arg(i), QStringLiteral("NOMBRE%1").arg(i), "PATERNO",
                            "MATERNO", mandatos[i]);
    p.control.Llena_Hist_Mandatarios();
    QCOMPARE(p.control.Hay_Hist_Mandatarios(), hay);
    QCOMPARE(gridRows(p.page.fgMandatarios), hay ? QStringList({"NOMBRE1|PATERNO|MATERNO|CURP1"}) : QStringList());
    QCOMPARE(p.page.fgMandatarios->columnCount(), 4);
    QVERIFY(!p.page.cmdMandNuevo->isEnabled());
    QVERIFY(!p.page.cmdMandBorrar->isEnabled());
}

void TestHistoricoMandatarios::periodDialogChecks_data() {
    QTest::addColumn<QString>("patente");
    QTest::addColumn<QString>("office");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("message");
    const QString patente = "No. de Patente no valido";
    QTest::newRow("patente 4000") << "4000" << kAirport << d1 << d2 << "";
    QTest::newRow("patente 1, fechas iguales") << "1" << kAirport << d3 << d3 << "";
    QTest::newRow("patente 0") << "0" << kAirport << d1 << d2 << patente;
    QTest::newRow("patente 4001") << "4001" << kAirport << d1 << d2 << patente;
    QTest::newRow("patente vacia") << "" << kAirport << d1 << d2 << patente;
    QTest::newRow("patente 12AB") << "12AB" << kAirport << d1 << d2 << patente;
    QTest::newRow("patente antes que periodo") << "0" << kAirport << d2 << d1 << patente;
    QTest::newRow("inicio despues del final") << "470" << kAirport << d3.addDays(1) << d3 << "Periodo no valido";
    QTest::newRow("sin aduana") << "470"
                                << "" << d1 << d2 << "Aduana no valida";
}

void TestHistoricoMandatarios::periodDialogChecks() {
    QFETCH(QString, patente);
    QFETCH(QString, office);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, message);
    QTemporaryDir dir;
    auto db = openDatabase(dir.path());
    ScriptedMessages messages;
    frmPeriodo_Mandatario d(*db, kRamosRow);
    fillPeriod(&d, patente, office, from, to);
    press(&d, "cmdAceptar");
    if (message.isEmpty()) {
        QCOMPARE(messages.shown.size(), 0);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        const QString stored = QStringLiteral("%1 470 %2 %3")
                                   .arg(patente.toInt())
                                   .arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate));
        QCOMPARE(storedPeriods(*db, kRamos), QStringList({stored}));
        const PeriodoMandatario periodo = d.periodo();
        QCOMPARE(periodo.celdas(), QStringList({" " + patente, " 470", kAirport, from.toString("dd/MM/yyyy"),
                                                to.toString("dd/MM/yyyy")}));
        QVERIFY(periodo.id > 0);
    } else {
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(messages.texts(), QStringList({message}));
        QCOMPARE(messages.shown.first().title, QString("TOLVEK 3"));
        QCOMPARE(int(messages.shown.first().icon), int(MessageIcon::None));
        QCOMPARE(storedPeriods(*db, kRamos), QStringList());
        // The entries stay for the user to mend.
        QCOMPARE(child<QLineEdit>(&d, "txtPatente")->text(), patente);
    }
}

void TestHistoricoMandatarios::periodDialogShowsTheAspirant() {
    QTemporaryDir dir;
    auto db = openDatabase(dir.path());
    frmPeriodo_Mandatario d(*db, kRamosRow);
    QCOMPARE(d.windowTitle(), QString("Periodo Mandatario"));
    const QList<QPair<const char*, QString>> boxes = {
        {"txtNombre", "LUIS"}, {"txtApPaterno", "RAMOS"}, {"txtApMaterno", "RAMIREZ"}, {"txtCURP", kRamos}};
    for (const auto& [name, text] : boxes) {
        QCOMPARE(child<QLineEdit>(&d, name)->text(), text);
        QVERIFY2(child<QLineEdit>(&d, name)->isReadOnly(), name);
    }
    QVERIFY(!child<QLineEdit>(&d, "txtPatente")->isReadOnly());
    QCOMPARE(child<QComboBox>(&d, "cmbAduana")->count(), 50);
    QCOMPARE(child<QComboBox>(&d, "cmbAduana")->currentIndex(), -1);
    child<QComboBox>(&d, "cmbAduana")->setCurrentIndex(child<QComboBox>(&d, "cmbAduana")->findText(kAcapulco));
    QCOMPARE(child<QComboBox>(&d, "cmbNoAduana")->currentText(), QString(" 10"));
    QCOMPARE(child<QDateEdit>(&d, "dtpIni")->date(), QDate::currentDate());
    QCOMPARE(child<QDateEdit>(&d, "dtpFin")->date(), QDate::currentDate());
    typeText(child<QLineEdit>(&d, "txtPatente"), "12345");
    QCOMPARE(child<QLineEdit>(&d, "txtPatente")->text(), QString("1234"));
    press(&d, "cmdCancelar");
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(storedPeriods(*db, kRamos), QStringList());
}

void TestHistoricoMandatarios::refusedInsertAddsNoRow() {
    Pagina p;
    p.storeAspirants();
    p.db().exec("create trigger rechaza before insert on Periodos_H_MM "
                "begin select raise(abort, 'periodo rechazado'); end");
    ScriptedMessages messages;
    ModalDriver driver;
    p.control.Llena_Hist_Mandatarios();
    clickRow(p.page.fgMandatarios, 0);
    QCOMPARE(rowCount(p.page.fgPeriodosMandatario), 3);
    QStringList seen;
    driver.then([&](QDialog* d) {
        fillPeriod(d, "470", kAirport, d1, d2);
        press(d, "cmdAceptar");
        // Refused: the dialog stays open with the message.
        seen << QString::number(d->isVisible()) << messages.texts();
        press(d, "cmdCancelar");
    });
    press(&p.page, "cmdMandNuevo");
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen.first(), QString("1"));
    QVERIFY(seen.last().startsWith("No se pudo guardar el periodo."));
    QVERIFY(seen.last().contains("periodo rechazado"));
    QCOMPARE(rowCount(p.page.fgPeriodosMandatario), 3);
    QCOMPARE(storedPeriods(p.db(), kRamos).size(), 4);
}

void TestHistoricoMandatarios::pageListsAndAddsPeriods() {
    Pagina p;
    p.storeAspirants();
    ScriptedMessages messages;
    ModalDriver driver;
    p.control.Llena_Hist_Mandatarios();
    QCOMPARE(gridRows(p.page.fgMandatarios), QStringList({"LUIS|RAMOS|RAMIREZ|" + kRamos, "ANA|VEGA|GARCIA|" + kVega}));
    QCOMPARE(rowCount(p.page.fgPeriodosMandatario), 0);

    clickRow(p.page.fgMandatarios, 1);
    QCOMPARE(gridRows(p.page.fgPeriodosMandatario), QStringList({" 22| 10|" + kAcapulco + "|02/01/2004|24/12/2005"}));
    QVERIFY(p.page.cmdMandNuevo->isEnabled());
    QVERIFY(!p.page.cmdMandBorrar->isEnabled());

    clickRow(p.page.fgMandatarios, 0);
    // The period at an office that left the catalogue is not listed.
    QCOMPARE(gridRows(p.page.fgPeriodosMandatario), QStringList({" 3010| 470|" + kAirport + "|15/03/2001|31/08/2003",
                                                                 " 4000| 10|" + kAcapulco + "|31/08/2003|02/01/2004",
                                                                 " 1| 470|" + kAirport + "|24/12/2005|24/12/2005"}));

    driver.then([](QDialog* d) {
        QCOMPARE(d->objectName(), QString("frmPeriodo_Mandatario"));
        QCOMPARE(child<QLineEdit>(d, "txtCURP")->text(), kRamos);
        fillPeriod(d, "0470", kAcapulco, d1, d4);
        press(d, "cmdAceptar");
    });
    press(&p.page, "cmdMandNuevo");
    QCOMPARE(driver.pending(), 0);
    QCOMPARE(gridRows(p.page.fgPeriodosMandatario).last(), " 470| 10|" + kAcapulco + "|15/03/2001|24/12/2005");
    QCOMPARE(storedPeriods(p.db(), kRamos).last(), QString("470 10 2001-03-15 2005-12-24"));

    // A cancelled dialog adds nothing.
    driver.then([](QDialog* d) { press(d, "cmdCancelar"); });
    press(&p.page, "cmdMandNuevo");
    QCOMPARE(rowCount(p.page.fgPeriodosMandatario), 4);
    QCOMPARE(storedPeriods(p.db(), kRamos).size(), 5);
    QCOMPARE(messages.shown.size(), 0);
    QCOMPARE(driver.unexpected, QStringList());
}

void TestHistoricoMandatarios::deletingOneOfThree() {
    Pagina p;
    p.storeAspirants();
    ScriptedMessages messages;
    p.control.Llena_Hist_Mandatarios();
    clickRow(p.page.fgMandatarios, 0);
    clickRow(p.page.fgPeriodosMandatario, 1);
    QVERIFY(p.page.cmdMandBorrar->isEnabled());

    messages.answerNext(false);
    press(&p.page, "cmdMandBorrar");
    QCOMPARE(messages.texts(),
             QStringList({QString::fromUtf8("¿DESEA BORRAR EL PERIODO DE LABOR SELECCIONADO DEL MANDATARIO\n\nLUIS "
                                            "RAMOS RAMIREZ RARL820304HJCMMS05 ?")}));
    QCOMPARE(messages.shown.first().title, QString("Mendaje"));
    QCOMPARE(int(messages.shown.first().icon), int(MessageIcon::Exclamation));
    QVERIFY(messages.shown.first().withCancel);
    QCOMPARE(storedPeriods(p.db(), kRamos).size(), 4);
    QCOMPARE(rowCount(p.page.fgPeriodosMandatario), 3);

    press(&p.page, "cmdMandBorrar");
    QCOMPARE(gridRows(p.page.fgPeriodosMandatario), QStringList({" 3010| 470|" + kAirport + "|15/03/2001|31/08/2003",
                                                                 " 1| 470|" + kAirport + "|24/12/2005|24/12/2005"}));
    // Exactly the chosen period went; the one the grid could not show is still there, and so is Vega's.
    QCOMPARE(
        storedPeriods(p.db(), kRamos),
        QStringList({"3010 470 2001-03-15 2003-08-31", "15 999 2001-03-15 2001-03-15", "1 470 2005-12-24 2005-12-24"}));
    QCOMPARE(storedPeriods(p.db(), kVega), QStringList({"22 10 2004-01-02 2005-12-24"}));
    QVERIFY(p.page.cmdMandBorrar->isEnabled());
}

void TestHistoricoMandatarios::deletingTheOnlyPeriod() {
    Pagina p;
    p.storeAspirants();
    ScriptedMessages messages;
    p.control.Llena_Hist_Mandatarios();
    clickRow(p.page.fgMandatarios, 1);
    clickRow(p.page.fgPeriodosMandatario, 0);
    press(&p.page, "cmdMandBorrar");
    QCOMPARE(rowCount(p.page.fgPeriodosMandatario), 0);
    QCOMPARE(p.page.fgPeriodosMandatario->columnCount(), 5);
    QVERIFY(!p.page.cmdMandBorrar->isEnabled());
    QCOMPARE(storedPeriods(p.db(), kVega), QStringList());
    QCOMPARE(storedPeriods(p.db(), kRamos).size(), 4);
}

void TestHistoricoMandatarios::borrarWithoutSelectionChangesNothing() {
    Pagina p;
    p.storeAspirants();
    ScriptedMessages messages;
    p.control.Llena_Hist_Mandatarios();
    clickRow(p.page.fgMandatarios, 0);
    clickRow(p.page.fgPeriodosMandatario, 0);
    p.page.fgPeriodosMandatario->clearSelection();
    press(&p.page, "cmdMandBorrar");
    QCOMPARE(messages.shown.size(), 0);
    QCOMPARE(rowCount(p.page.fgPeriodosMandatario), 3);
    QCOMPARE(storedPeriods(p.db(), kRamos).size(), 4);

    // Another aspirant with no period: the button may still be enabled, and still nothing happens.
    storeRepresentative(p.db(), "SINP800101HDFRRN07", "SIN", "PERIODOS", "AUN", 2);
    p.control.Llena_Hist_Mandatarios();
    clickRow(p.page.fgMandatarios, 2);
    QCOMPARE(rowCount(p.page.fgPeriodosMandatario), 0);
    press(&p.page, "cmdMandBorrar");
    QCOMPARE(messages.shown.size(), 0);
    QCOMPARE(storedPeriods(p.db(), kRamos).size(), 4);
    QCOMPARE(storedPeriods(p.db(), kVega).size(), 1);
}

void TestHistoricoMandatarios::aspirantWhoLeftTakesHisPeriodsOffThePage() {
    Pagina p;
    p.storeAspirants();
    ScriptedMessages messages;
    p.control.Llena_Hist_Mandatarios();
    clickRow(p.page.fgMandatarios, 1);
    clickRow(p.page.fgPeriodosMandatario, 0);

    // Refilled with him still an aspirant: his periods stay on show and he stays selected.
    storeRepresentative(p.db(), "NUEV900101HDFRRN08", "NUEVO", "ASPIRANTE", "MAS", 2);
    p.control.Llena_Hist_Mandatarios();
    QCOMPARE(rowCount(p.page.fgMandatarios), 3);
    QCOMPARE(selectedRow(p.page.fgMandatarios), 1);
    QCOMPARE(rowCount(p.page.fgPeriodosMandatario), 1);
    QVERIFY(p.page.cmdMandBorrar->isEnabled());

    // No longer an aspirant: nothing of his may be added or deleted from this page.
    p.db().exec("update Mandatarios set Mandato=1 where CURP=?", {kVega});
    p.control.Llena_Hist_Mandatarios();
    QCOMPARE(rowCount(p.page.fgMandatarios), 2);
    QCOMPARE(rowCount(p.page.fgPeriodosMandatario), 0);
    QVERIFY(!p.page.cmdMandNuevo->isEnabled());
    QVERIFY(!p.page.cmdMandBorrar->isEnabled());
}

void TestHistoricoMandatarios::correctedAspirantShownAsStored() {
    Pagina p;
    p.storeAspirants();
    ScriptedMessages messages;
    ModalDriver driver;
    p.control.Llena_Hist_Mandatarios();
    clickRow(p.page.fgMandatarios, 0);
    clickRow(p.page.fgPeriodosMandatario, 0);

    // His names are corrected in the representative dialog and the list refilled; he stays selected.
    p.db().exec("update Mandatarios set Nombre=?, ApMaterno=? where CURP=?", {"LUISA", "RAMIRO", kRamos});
    p.control.Llena_Hist_Mandatarios();
    QStringList seen;
    driver.then([&](QDialog* d) {
        seen << child<QLineEdit>(d, "txtNombre")->text() << child<QLineEdit>(d, "txtApMaterno")->text();
        press(d, "cmdCancelar");
    });
    press(&p.page, "cmdMandNuevo");
    QCOMPARE(seen, QStringList({"LUISA", "RAMIRO"}));

    messages.answerNext(false);
    press(&p.page, "cmdMandBorrar");
    QCOMPARE(messages.texts(),
             QStringList({QString::fromUtf8("¿DESEA BORRAR EL PERIODO DE LABOR SELECCIONADO DEL MANDATARIO\n\nLUISA "
                                            "RAMOS RAMIRO RARL820304HJCMMS05 ?")}));
    QCOMPARE(driver.unexpected, QStringList());
}

void TestHistoricoMandatarios::startUpWithAndWithoutAspirants() {
    for (const bool withAspirant : {false, true}) {
        QTemporaryDir dir;
        {
            auto db = openDatabase(dir.path());
            storeBroker(*db);
            storeRepresentative(*db, "OTRO700101HDFRRN01", "ANA", "OTERO", "PAZ", 1);
            if (withAspirant) {
                storeRepresentative(*db, kRamos, "LUIS", "RAMOS", "RAMIREZ", 2);
                storePeriod(*db, kRamos, 470, 3010, d1, d2);
            }
        }
        ScriptedMessages messages;
        ModalDriver driver;
        frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
        QVERIFY(startUp(window, driver));
        QCOMPARE(window.historicoMandatarios().Hay_Hist_Mandatarios(), withAspirant);
        auto* aspirants = child<QTableWidget>(&window, "fgMandatarios");
        QCOMPARE(gridRows(aspirants), withAspirant ? QStringList({"LUIS|RAMOS|RAMIREZ|" + kRamos}) : QStringList());
        QCOMPARE(rowCount(child<QTableWidget>(&window, "fgPeriodosMandatario")), 0);
        QVERIFY(!child<QPushButton>(&window, "cmdMandNuevo")->isEnabled());
        if (withAspirant) {
            // The page's own controls of the started window: the aspirant's click shows his period.
            selectRow(aspirants, 0);
            emit aspirants->cellClicked(0, 0);
            QCOMPARE(rowCount(child<QTableWidget>(&window, "fgPeriodosMandatario")), 1);
            QVERIFY(child<QPushButton>(&window, "cmdMandNuevo")->isEnabled());
        }
        QCOMPARE(messages.shown.size(), 0);
        QCOMPARE(driver.unexpected, QStringList());
    }
}

QTEST_MAIN(TestHistoricoMandatarios)
#include "tst_historico_mandatarios.moc"
