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
const QDate d1(2001, 3, 15), d2(2003, 8, 31), d3(2004, 1, 2), d4(2005, 12, 24);

void storeRepresentative(Database& db, const QString& curp, const QString& nombre, const QString& paterno,
                         const QString& materno, const QVariant& mandato) {
    db.exec("insert into Mandatarios values (?,?,?,?,?,?,?,?,?)",
            {curp, curp.left(10) + "AB1", nombre, paterno, materno, mandato, "", 0, 1});
}

void storePeriod(Database& db, const QString& curp, int office, int patente, const QDate& from, const QDate& to) {
    db.exec("insert into Periodos_H_MM values (?,?,?,?,?)", {curp, office, patente, from, to});
}

void fillPeriod(QWidget* d, const QString& patente, const QString& office, const QDate& from, const QDate& to) {
    child<QLineEdit>(d, "txtPatente")->setText(patente);
    auto* names = child<QComboBox>(d, "cmbAduana");
    names->setCurrentIndex(names->findText(office));
    child<QDateEdit>(d, "dtpIni")->setDate(from);
    child<QDateEdit>(d, "dtpFin")->setDate(to);
}

// Page 4 on its own, on show, with its grids laid out as the main window lays them out, and with messages and
// dialogs answered by the test.
struct Pagina {
    QTemporaryDir dir;
    std::unique_ptr<Database> database;
    std::unique_ptr<Store> storeOwned;
    Globales globales;
    PaginaMandatarios page;
    HistoricoMandatarios control{&page, globales};
    ScriptedMessages messages;
    ModalDriver driver;

    Pagina() {
        database = openDatabase(dir.path());
        storeOwned = std::make_unique<Store>(*database);
        globales = {database.get(), storeOwned.get()};
        setupGrid(page.fgMandatarios, {"Nombre", "Ap.Paterno", "Ap.Materno", "CURP"}, {3000, 3000, 3000, 2050});
        setupGrid(page.fgPeriodosMandatario, {"Patente", "No.", "Aduana", "F. Inicial", "F. Final"},
                  {1070, 1000, 5000, 2000, 2000});
        page.resize(1400, 800);
        page.show();
    }
    Database& db() { return *globales.BaseDatos; }

    // Ramos the aspirant with three periods and one at an office that left the catalogue, a representative who is
    // no aspirant, Vega the aspirant with one period, an aspirant with none; listed and Ramos clicked.
    void storeAspirants() {
        storeRepresentative(db(), kRamos, "LUIS", "RAMOS", "RAMIREZ", 2);
        storeRepresentative(db(), "OTRO700101HDFRRN01", "ANA", "OTERO", "PAZ", 1);
        storeRepresentative(db(), kVega, "ANA", "VEGA", "GARCIA", 2);
        storeRepresentative(db(), "SINP800101HDFRRN07", "SIN", "PERIODOS", "AUN", 2);
        storePeriod(db(), kRamos, 470, 3010, d1, d2);
        storePeriod(db(), kRamos, 999, 15, d1, d1);
        storePeriod(db(), kRamos, 10, 4000, d2, d3);
        storePeriod(db(), kRamos, 470, 1, d4, d4);
        storePeriod(db(), kVega, 10, 22, d3, d4);
        control.Llena_Hist_Mandatarios();
        clickRow(page.fgMandatarios, 0);
    }
};

// Ramos's periods as fgPeriodosMandatario shows them; the one at office 999 is not shown.
const QStringList kRamosRows{" 3010| 470|" + kAirport + "|15/03/2001|31/08/2003",
                             " 4000| 10|" + kAcapulco + "|31/08/2003|02/01/2004",
                             " 1| 470|" + kAirport + "|24/12/2005|24/12/2005"};

} // namespace

class TestHistoricoMandatarios : public QObject {
    Q_OBJECT

private slots:
    void hayHistMandatarios_data();
    void hayHistMandatarios();
    void periodDialogChecks_data();
    void periodDialogChecks();
    void pageListsAndAddsPeriods();
    void refusedInsertAddsNoRow();
    void deletePeriod_data();
    void deletePeriod();
    void refillFollowsTheAspirant();
    void startUpFillsPagesThreeAndFour_data();
    void startUpFillsPagesThreeAndFour();
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
    QCOMPARE(p.globales.store->hayAspirantes(), hay);
    QCOMPARE(gridRows(p.page.fgMandatarios), hay ? QStringList({"NOMBRE1|PATERNO|MATERNO|CURP1"}) : QStringList());
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
    QTest::newRow("sin aduana") << "470" << QString() << d1 << d2 << "Aduana no valida";
}

void TestHistoricoMandatarios::periodDialogChecks() {
    QFETCH(QString, patente);
    QFETCH(QString, office);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, message);
    Pagina p;
    frmPeriodo_Mandatario d(*p.globales.store, {"LUIS", "RAMOS", "RAMIREZ", kRamos});
    fillPeriod(&d, patente, office, from, to);
    press(&d, "cmdAceptar");
    const bool accepted = message.isEmpty();
    QCOMPARE(d.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(p.messages.texts(), accepted ? QStringList() : QStringList({message}));
    const QString stored =
        kRamos + "|#470|#" + patente + "|" + from.toString(Qt::ISODate) + "|" + to.toString(Qt::ISODate);
    QCOMPARE(tableRows(p.db(), "Periodos_H_MM"), accepted ? QStringList({stored}) : QStringList());
    if (!accepted)
        QCOMPARE(p.messages.shown.first().title, QString("TOLVEK 3"));
}

void TestHistoricoMandatarios::pageListsAndAddsPeriods() {
    Pagina p;
    p.storeAspirants();
    // Only aspirants are listed, and only periods at offices in the catalogue.
    QCOMPARE(gridRows(p.page.fgMandatarios), QStringList({"LUIS|RAMOS|RAMIREZ|" + kRamos, "ANA|VEGA|GARCIA|" + kVega,
                                                          "SIN|PERIODOS|AUN|SINP800101HDFRRN07"}));
    QCOMPARE(gridRows(p.page.fgPeriodosMandatario), kRamosRows);
    const QStringList before = tableRows(p.db(), "Periodos_H_MM");
    p.driver.then([](QDialog* d) {
        // The period is stored under the CURP the dialog shows: the user may not change it.
        QCOMPARE(child<QLineEdit>(d, "txtCURP")->text(), kRamos);
        QVERIFY(child<QLineEdit>(d, "txtCURP")->isReadOnly());
        fillPeriod(d, "0470", kAcapulco, d1, d4);
        press(d, "cmdAceptar");
    });
    press(&p.page, "cmdMandNuevo");
    QCOMPARE(gridRows(p.page.fgPeriodosMandatario),
             kRamosRows + QStringList{" 470| 10|" + kAcapulco + "|15/03/2001|24/12/2005"});
    QCOMPARE(tableRows(p.db(), "Periodos_H_MM"), before + QStringList{kRamos + "|#10|#470|2001-03-15|2005-12-24"});

    // The new row knows its stored period: deleting it takes exactly that one.
    clickRow(p.page.fgPeriodosMandatario, 3);
    press(&p.page, "cmdMandBorrar");
    QCOMPARE(tableRows(p.db(), "Periodos_H_MM"), before);
    QCOMPARE(p.messages.shown.size(), 1);
    QCOMPARE(p.driver.unexpected, QStringList());
}

void TestHistoricoMandatarios::refusedInsertAddsNoRow() {
    Pagina p;
    p.storeAspirants();
    p.db().exec("create trigger rechaza before insert on Periodos_H_MM "
                "begin select raise(abort, 'periodo rechazado'); end");
    p.driver.then([](QDialog* d) {
        fillPeriod(d, "470", kAirport, d1, d2);
        press(d, "cmdAceptar");
        QVERIFY(d->isVisible());
        press(d, "cmdCancelar");
    });
    press(&p.page, "cmdMandNuevo");
    QCOMPARE(p.messages.shown.size(), 1);
    QVERIFY(p.messages.texts().first().startsWith("No se pudo guardar el periodo."));
    QVERIFY(p.messages.texts().first().contains("periodo rechazado"));
    QCOMPARE(gridRows(p.page.fgPeriodosMandatario), kRamosRows);
    QCOMPARE(p.driver.unexpected, QStringList());
}

void TestHistoricoMandatarios::deletePeriod_data() {
    // The aspirant clicked (0 Ramos, 1 Vega, 2 one with no period), the period row clicked (-1: clicked, then the
    // selection cleared), the aspirant clicked next (-1: none), the answer to the question; then the stored row
    // expected gone (-1: none) and whether "Borrar" stays enabled.
    QTest::addColumn<int>("aspirant");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("next");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("gone");
    QTest::addColumn<bool>("borrar");
    QTest::newRow("uno de tres") << 0 << 1 << -1 << true << 2 << true;
    QTest::newRow("pregunta cancelada") << 0 << 1 << -1 << false << -1 << true;
    QTest::newRow("el unico") << 1 << 0 << -1 << true << 4 << false;
    QTest::newRow("sin fila elegida") << 0 << -1 << -1 << true << -1 << true;
    QTest::newRow("lista vacia") << 0 << 0 << 2 << true << -1 << true;
}

void TestHistoricoMandatarios::deletePeriod() {
    QFETCH(int, aspirant);
    QFETCH(int, row);
    QFETCH(int, next);
    QFETCH(bool, answer);
    QFETCH(int, gone);
    QFETCH(bool, borrar);
    Pagina p;
    p.storeAspirants();
    auto* grid = p.page.fgPeriodosMandatario;
    clickRow(p.page.fgMandatarios, aspirant);
    clickRow(grid, std::max(row, 0));
    if (row < 0)
        grid->clearSelection();
    if (next >= 0)
        clickRow(p.page.fgMandatarios, next);
    QStringList stored = tableRows(p.db(), "Periodos_H_MM");
    QStringList shown = gridRows(grid);
    p.messages.answerNext(answer);
    press(&p.page, "cmdMandBorrar");

    // Asked only with a period row chosen.
    QCOMPARE(p.messages.shown.size(), int(gone >= 0 || !answer));
    if (gone >= 0) {
        stored.removeAt(gone);
        shown.removeAt(row);
    }
    QCOMPARE(tableRows(p.db(), "Periodos_H_MM"), stored);
    QCOMPARE(gridRows(grid), shown);
    QCOMPARE(grid->columnCount(), 5);
    QCOMPARE(p.page.cmdMandBorrar->isEnabled(), borrar);
}

void TestHistoricoMandatarios::refillFollowsTheAspirant() {
    Pagina p;
    p.storeAspirants();
    clickRow(p.page.fgMandatarios, 1);
    clickRow(p.page.fgPeriodosMandatario, 0);

    // Vega's names corrected and Ramos no longer an aspirant: Vega moves up, stays selected, keeps his periods, and
    // the period dialog and the question show him as stored.
    p.db().exec("update Mandatarios set Nombre=?, ApMaterno=? where CURP=?", {"ANITA", "GARCES", kVega});
    p.db().exec("update Mandatarios set Mandato=1 where CURP=?", {kRamos});
    p.control.Llena_Hist_Mandatarios();
    QCOMPARE(selectedRow(p.page.fgMandatarios), 0);
    QCOMPARE(rowCount(p.page.fgPeriodosMandatario), 1);
    p.driver.then([](QDialog* d) {
        QCOMPARE(child<QLineEdit>(d, "txtNombre")->text() + " " + child<QLineEdit>(d, "txtApMaterno")->text(),
                 QString("ANITA GARCES"));
        press(d, "cmdCancelar");
    });
    press(&p.page, "cmdMandNuevo");
    QCOMPARE(p.driver.pending(), 0);
    p.messages.answerNext(false);
    press(&p.page, "cmdMandBorrar");
    QCOMPARE(p.messages.texts(),
             QStringList({QString::fromUtf8("¿DESEA BORRAR EL PERIODO DE LABOR SELECCIONADO DEL MANDATARIO\n\nANITA "
                                            "VEGA GARCES VEAN850607MDFGRN06 ?")}));

    // Vega no longer an aspirant either: nothing of his may be added or deleted from this page.
    p.db().exec("update Mandatarios set Mandato=1 where CURP=?", {kVega});
    p.control.Llena_Hist_Mandatarios();
    QCOMPARE(rowCount(p.page.fgMandatarios), 1);
    QCOMPARE(rowCount(p.page.fgPeriodosMandatario), 0);
    QVERIFY(!p.page.cmdMandNuevo->isEnabled());
    QVERIFY(!p.page.cmdMandBorrar->isEnabled());
    QCOMPARE(p.driver.unexpected, QStringList());
}

void TestHistoricoMandatarios::startUpFillsPagesThreeAndFour_data() {
    QTest::addColumn<bool>("withAspirant");
    QTest::newRow("sin aspirantes") << false;
    QTest::newRow("con un aspirante") << true;
}

void TestHistoricoMandatarios::startUpFillsPagesThreeAndFour() {
    QFETCH(bool, withAspirant);
    QTemporaryDir dir;
    {
        auto db = openDatabase(dir.path());
        storeBroker(*db);
        storeRepresentative(*db, "OTRO700101HDFRRN01", "ANA", "OTERO", "PAZ", 1);
        db->exec("insert into Historico_AA values (?,?,?,?,?)",
                 {"PERJ700101AB1", "PERJ700101HDFRRN01", "JUAN", "PEREZ", "RUIZ"});
        db->exec("insert into Periodos_H_AA values (?,?,?,?)", {"PERJ700101HDFRRN01", 470, d1, d2});
        if (withAspirant) {
            storeRepresentative(*db, kRamos, "LUIS", "RAMOS", "RAMIREZ", 2);
            storePeriod(*db, kRamos, 470, 3010, d1, d2);
        }
    }
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
    QVERIFY(startUp(window, driver));
    QCOMPARE(!gridRows(&window, "fgMandatarios").isEmpty(), withAspirant);
    QCOMPARE(gridRows(&window, "fgDatosAA"), QStringList({"JUAN|PEREZ|RUIZ|PERJ700101HDFRRN01|PERJ700101AB1"}));
    QCOMPARE(gridRows(&window, "fgMandatarios"),
             withAspirant ? QStringList({"LUIS|RAMOS|RAMIREZ|" + kRamos}) : QStringList());
    QVERIFY(!child<QPushButton>(&window, "cmdMandNuevo")->isEnabled());
    QCOMPARE(messages.shown.size(), 0);
    QCOMPARE(driver.unexpected, QStringList());
}

QTEST_MAIN(TestHistoricoMandatarios)
#include "tst_historico_mandatarios.moc"
