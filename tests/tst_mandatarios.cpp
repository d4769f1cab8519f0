#include "app/frmMain.h"
#include "data/BaseDatos.h"
#include "platform/Database.h"
#include "platform/FileDialogs.h"
#include "representative/Mandatarios.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

const QString kAnterior = QStringLiteral("LOTP751120HDFPRD02");
const QString kExamen = QStringLiteral("GOMA800101MDFRRR05");
const QString kSinAcreditacion = QStringLiteral("RUIZ650303HGRZRN01");
const QString kAutorizado = QStringLiteral("SAGA701212HGRNRL03");
const QString kSinMandato = QStringLiteral("VEGA550505MDFGRN04");

// Stored as the representative dialog stores him; type 1 with two offices and a declaration at each.
Mandatario mandatario(const QString& curp, const QString& nombre, int mandato, int acreditacion, int operando) {
    Mandatario m = representative(curp, curp.left(10) + QStringLiteral("AB1"), nombre, mandato);
    m.acreditacion = acreditacion;
    m.operando = operando;
    if (mandato == 1) {
        m.aduanas = {470, 240};
        m.pedimentos = {{470, QStringLiteral("3001"), QDate(2000, 3, 5)},
                        {240, QStringLiteral("3002"), QDate(1999, 2, 11)}};
    }
    return m;
}

// A broker and five representatives: one of each mandate type, a type 2 without accreditation, one with no type.
void storeData(const QString& folder, bool withRepresentatives = true) {
    auto db = openDatabase(folder);
    storeBroker(*db);
    if (!withRepresentatives)
        return;
    guardaMandatario(*db, {}, mandatario(kAnterior, "ANA", 1, 0, 1));
    guardaMandatario(*db, {}, mandatario(kExamen, "BETO", 2, 2, 0));
    guardaMandatario(*db, {}, mandatario(kSinAcreditacion, "CIRO", 2, 0, 1));
    guardaMandatario(*db, {}, mandatario(kAutorizado, "DORA", 1, 0, 1));
    db->exec("update Mandatarios set Mandato=3, Acreditacion=NULL, Operando=2 where CURP=?", {kAutorizado});
    db->exec("update Mandatarios set Acreditacion=NULL where CURP=?", {kSinAcreditacion});
    db->exec("delete from Domicilios_MM where CURP=? and Tipo_Dom=2", {kAutorizado});
    guardaMandatario(*db, {}, mandatario(kSinMandato, "EVA", 2, 1, 1));
    db->exec("update Mandatarios set Mandato=NULL where CURP=?", {kSinMandato});
    db->exec("insert into Periodos_H_MM values (?,?,?,?,?)", {kExamen, 470, 12, QDate(2001, 1, 1), QDate(2002, 1, 1)});
}

int rowOf(QWidget* root, const QString& curp) {
    auto* grid = child<QTableWidget>(root, "fgAA");
    for (int r = 0; r < grid->rowCount(); ++r) {
        if (grid->item(r, 4)->text() == curp)
            return r;
    }
    return -1;
}

void select(QWidget* root, const QString& curp) {
    child<QTableWidget>(root, "fgAA")->selectRow(rowOf(root, curp));
}

bool shown(QWidget* root, const char* name) {
    return !child<QWidget>(root, name)->isHidden();
}

QString caption(QWidget* root) {
    return child<QPushButton>(root, "cmdSiguiente")->text();
}

int count(const QString& folder, const QString& sql, const QVariantList& values = {}) {
    auto db = Database::open(folder + QStringLiteral("/tolvek.mdb"));
    Query q = db->select(sql, values);
    return q.next() ? int(q.number(0)) : -1;
}

// Fills a new representative in frmApoderado with everything but the type-dependent parts.
void fillIdentity(QDialog* d, int mandato, const QString& curp, const QString& rfc) {
    child<QComboBox>(d, "cmbMandato")->setCurrentIndex(mandato - 1);
    child<QLineEdit>(d, "txtNombre")->setText("JUAN");
    child<QLineEdit>(d, "txtApPaterno")->setText("PEREZ");
    child<QLineEdit>(d, "txtApMaterno")->setText("SOLIS");
    child<QLineEdit>(d, "txtCURP")->setText(curp);
    child<QLineEdit>(d, "txtRFC")->setText(rfc);
    child<QRadioButton>(d, "optNo")->setChecked(true);
    for (const QString& prefix : {QString(), QStringLiteral("Fiscal")}) {
        for (const char* stem : {"Calle", "NoExt", "Colonia", "Telefono", "Fax"})
            child<QLineEdit>(d, ("txt" + prefix + stem).toLatin1().constData())->setText("X1");
        child<QLineEdit>(d, ("txt" + prefix + "CP").toLatin1().constData())->setText("39000");
        auto* entity = child<QComboBox>(d, ("cmb" + prefix + "EntFed").toLatin1().constData());
        entity->setCurrentIndex(entity->findText("GUERRERO"));
        child<QComboBox>(d, ("cmb" + prefix + "MDeleg").toLatin1().constData())->setCurrentIndex(0);
    }
    FileDialogs::queueAnswer("/home/juan/" + rfc + ".req");
    child<QPushButton>(d, "cmdBuscar")->click();
}

} // namespace

class TestMandatarios : public QObject {
    Q_OBJECT

private slots:
    void init() { FileDialogs::clearAnswers(); }

    void listFilledAtStartUp();
    void detailsPanelByMandate_data();
    void detailsPanelByMandate();
    void addressesOfSelection();
    void deleteRepresentative();
    void refusedDeleteLeavesEverything();
    void newEditAndCancelThroughWindow();
    void newTypeOneWithOfficeThroughWindow();
};

void TestMandatarios::listFilledAtStartUp() {
    QTemporaryDir dir;
    storeData(dir.path());
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
    QVERIFY(startUp(window, driver));
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(gridRows(&window, "fgAA"),
             QStringList(
                 {"ANA|LOPEZ|TORRES|LOTP751120AB1|" + kAnterior + "|Anterior 01/01/2001|Si",
                  "BETO|LOPEZ|TORRES|GOMA800101AB1|" + kExamen + "|Conforme 2.13.11 (Posterior 01/01/2001)|No",
                  "CIRO|LOPEZ|TORRES|RUIZ650303AB1|" + kSinAcreditacion + "|Conforme 2.13.11 (Posterior 01/01/2001)|Si",
                  "DORA|LOPEZ|TORRES|SAGA701212AB1|" + kAutorizado +
                      QString::fromUtf8("|Con autorización de operar al 15/01/2004|No Definido"),
                  "EVA|LOPEZ|TORRES|VEGA550505AB1|" + kSinMandato + "||Si"}));
    QVERIFY(child<QPushButton>(&window, "cmdNuevo")->isEnabled());
    QVERIFY(!child<QPushButton>(&window, "cmdEditar")->isEnabled());
    QVERIFY(!child<QPushButton>(&window, "cmdBorrar")->isEnabled());

    // Without a broker the start-up stops before the lists, and an empty table leaves the header alone.
    QTemporaryDir empty;
    frmMain bare(empty.path(), empty.filePath("sin-version-anterior"));
    QVERIFY(startUp(bare, driver));
    QCOMPARE(child<QTableWidget>(&bare, "fgAA")->rowCount(), 0);
    QCOMPARE(child<QTableWidget>(&bare, "fgAA")->columnCount(), 7);
}

void TestMandatarios::detailsPanelByMandate_data() {
    QTest::addColumn<QString>("curp");
    QTest::addColumn<QString>("tipo");
    // Frames shown: offices, declarations, accreditation, request file.
    QTest::addColumn<QString>("frames");
    QTest::addColumn<QString>("acreditacion");
    QTest::addColumn<QString>("requerimiento");
    QTest::addColumn<QStringList>("aduanas");
    QTest::addColumn<QStringList>("pedimentos");

    // Type 1 leaves the (hidden) accreditation as the previous selection showed it.
    QTest::newRow("anterior") << kAnterior << "Anterior 01/01/2001"
                              << "ODR"
                              << "-X"
                              << "/req/LOTP751120AB1.req"
                              << QStringList({"AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO",
                                              "NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS"})
                              << QStringList({"AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO|3001|05/03/2000",
                                              "NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS|3002|11/02/1999"});
    QTest::newRow("conforme con examen") << kExamen << "Conforme 2.13.11 (Posterior 01/01/2001)"
                                         << "AR"
                                         << "-X"
                                         << "/req/GOMA800101AB1.req" << QStringList() << QStringList();
    QTest::newRow("conforme sin acreditacion") << kSinAcreditacion << "Conforme 2.13.11 (Posterior 01/01/2001)"
                                               << "AR"
                                               << "--"
                                               << "/req/RUIZ650303AB1.req" << QStringList() << QStringList();
    // The request file is not read for type 3: what the previous selection showed stays (hidden).
    QTest::newRow("autorizado") << kAutorizado << QString::fromUtf8("Con autorización de operar al 15/01/2004") << ""
                                << "-X"
                                << "/req/GOMA800101AB1.req" << QStringList() << QStringList();
    // No type matches: the panel keeps what the previous selection showed.
    QTest::newRow("sin mandato") << kSinMandato << "Conforme 2.13.11 (Posterior 01/01/2001)"
                                 << "AR"
                                 << "-X"
                                 << "/req/GOMA800101AB1.req" << QStringList() << QStringList();
}

void TestMandatarios::detailsPanelByMandate() {
    QFETCH(QString, curp);
    QFETCH(QString, tipo);
    QFETCH(QString, frames);
    QFETCH(QString, acreditacion);
    QFETCH(QString, requerimiento);
    QFETCH(QStringList, aduanas);
    QFETCH(QStringList, pedimentos);
    QTemporaryDir dir;
    storeData(dir.path());
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
    QVERIFY(startUp(window, driver));
    // Each case follows the selection of a type 2 representative with "Examen de Conocimientos".
    select(&window, kExamen);
    select(&window, curp);
    QVERIFY(child<QPushButton>(&window, "cmdEditar")->isEnabled());
    QVERIFY(child<QPushButton>(&window, "cmdBorrar")->isEnabled());
    QVERIFY(shown(&window, "lblTipoMandato"));
    QCOMPARE(child<QLabel>(&window, "lblTipoMandato")->text(), tipo);
    QCOMPARE(shown(&window, "frAduanasAct"), frames.contains('O'));
    QCOMPARE(shown(&window, "frPedTramitados"), frames.contains('D'));
    QCOMPARE(shown(&window, "frAcreditacion"), frames.contains('A'));
    QCOMPARE(shown(&window, "lblRequerimiento"), frames.contains('R'));
    QCOMPARE(shown(&window, "txtRequerimiento"), frames.contains('R'));
    QVERIFY(!child<QWidget>(&window, "frAcreditacion")->isEnabled());
    QCOMPARE(child<QRadioButton>(&window, "optNTCL")->isChecked(), acreditacion[0] == 'X');
    QCOMPARE(child<QRadioButton>(&window, "optExCon")->isChecked(), acreditacion[1] == 'X');
    QCOMPARE(child<QLineEdit>(&window, "txtRequerimiento")->text(), requerimiento);
    if (frames.contains('O')) {
        QCOMPARE(gridRows(&window, "fgAduanasAct"), aduanas);
        QCOMPARE(gridRows(&window, "fgPedTramitados"), pedimentos);
    }
    QCOMPARE(messages.texts(), QStringList());
}

void TestMandatarios::addressesOfSelection() {
    QTemporaryDir dir;
    storeData(dir.path());
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
    QVERIFY(startUp(window, driver));
    select(&window, kAnterior);
    QCOMPARE(child<QLineEdit>(&window, "txtApRCalle")->text(), QString("ANA PARTICULAR"));
    QCOMPARE(child<QComboBox>(&window, "cmbApRMDeleg")->currentText(), QString::fromUtf8("ACAPULCO DE JUÁREZ"));
    QCOMPARE(child<QLineEdit>(&window, "txtFiscalApRCalle")->text(), QString("ANA FISCAL"));
    QCOMPARE(child<QLineEdit>(&window, "txtFiscalAprNoInt")->text(), QString("4B"));
    QCOMPARE(child<QComboBox>(&window, "cmbFiscalApRNoMDeleg")->currentText(), QString(" 15"));
    // Only a private address: the fiscal block is emptied.
    select(&window, kAutorizado);
    QCOMPARE(child<QLineEdit>(&window, "txtApRCalle")->text(), QString("DORA PARTICULAR"));
    QCOMPARE(child<QLineEdit>(&window, "txtFiscalApRCalle")->text(), QString());
    QCOMPARE(child<QLineEdit>(&window, "txtFiscalAprFax")->text(), QString());
    QCOMPARE(child<QComboBox>(&window, "cmbFiscalApREntFed")->currentIndex(), -1);
    QCOMPARE(child<QComboBox>(&window, "cmbFiscalApRMDeleg")->count(), 0);
}

void TestMandatarios::deleteRepresentative() {
    QTemporaryDir dir;
    storeData(dir.path());
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
    QVERIFY(startUp(window, driver));
    select(&window, kAnterior);
    messages.answerNext(false);
    child<QPushButton>(&window, "cmdBorrar")->click();
    QCOMPARE(messages.texts(), QStringList({"¿DESEA BORRAR EL MANDATARIO\n\nANA LOPEZ TORRES " + kAnterior + " ?"}));
    QCOMPARE(messages.shown.first().title, QString("Mendaje"));
    QCOMPARE(int(messages.shown.first().icon), int(MessageIcon::Exclamation));
    QVERIFY(messages.shown.first().withCancel);
    QCOMPARE(gridRows(&window, "fgAA").size(), 5);
    QCOMPARE(count(dir.path(), "select count(*) from Aduanas_MM"), 4);

    child<QPushButton>(&window, "cmdBorrar")->click();
    QCOMPARE(gridRows(&window, "fgAA").size(), 4);
    QCOMPARE(rowOf(&window, kAnterior), -1);
    for (const char* table : {"Mandatarios", "Domicilios_MM", "Aduanas_MM", "Pedimentos_MM"})
        QCOMPARE(count(dir.path(), QString("select count(*) from %1 where CURP=?").arg(table), {kAnterior}), 0);
    QCOMPARE(count(dir.path(), "select count(*) from Domicilios_MM"), 7);
    QCOMPARE(count(dir.path(), "select count(*) from Aduanas_MM"), 2);
    QVERIFY(!child<QPushButton>(&window, "cmdEditar")->isEnabled());
    QVERIFY(!child<QPushButton>(&window, "cmdBorrar")->isEnabled());
    for (const char* name :
         {"frAduanasAct", "frPedTramitados", "frAcreditacion", "lblRequerimiento", "txtRequerimiento"})
        QVERIFY2(!shown(&window, name), name);
    QVERIFY(shown(&window, "lblTipoMandato"));
    QCOMPARE(child<QLabel>(&window, "lblTipoMandato")->text(), QString());
    QCOMPARE(child<QLineEdit>(&window, "txtApRCalle")->text(), QString());
    QCOMPARE(caption(&window), QString("Siguiente >"));

    // A type 2 representative takes his periods with other brokers along; the last aspirant leaves "Finaliza".
    select(&window, kExamen);
    child<QPushButton>(&window, "cmdBorrar")->click();
    QCOMPARE(count(dir.path(), "select count(*) from Periodos_H_MM"), 0);
    QCOMPARE(caption(&window), QString("Siguiente >"));
    select(&window, kSinAcreditacion);
    child<QPushButton>(&window, "cmdBorrar")->click();
    QCOMPARE(caption(&window), QString("Finaliza"));
    // Offices stored under another type (imported data) go with their representative too.
    select(&window, kAutorizado);
    child<QPushButton>(&window, "cmdBorrar")->click();
    QCOMPARE(count(dir.path(), "select count(*) from Aduanas_MM"), 0);
    QCOMPARE(count(dir.path(), "select count(*) from Pedimentos_MM"), 0);
    QCOMPARE(gridRows(&window, "fgAA").size(), 1);
    QCOMPARE(driver.unexpected, QStringList());
}

void TestMandatarios::refusedDeleteLeavesEverything() {
    QTemporaryDir dir;
    storeData(dir.path());
    {
        auto db = Database::open(dir.filePath("tolvek.mdb"));
        // The last delete is refused, after the dependent rows are gone.
        db->exec("create trigger falla before delete on Mandatarios begin select raise(abort, 'borrado forzado'); end");
    }
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
    QVERIFY(startUp(window, driver));
    select(&window, kAnterior);
    child<QPushButton>(&window, "cmdBorrar")->click();
    QCOMPARE(messages.shown.size(), 2);
    QVERIFY(messages.texts().last().contains("borrado forzado"));
    QCOMPARE(int(messages.shown.last().icon), int(MessageIcon::Exclamation));
    QCOMPARE(gridRows(&window, "fgAA").size(), 5);
    QCOMPARE(count(dir.path(), "select count(*) from Aduanas_MM where CURP=?", {kAnterior}), 2);
    QCOMPARE(count(dir.path(), "select count(*) from Pedimentos_MM where CURP=?", {kAnterior}), 2);
    QCOMPARE(count(dir.path(), "select count(*) from Domicilios_MM where CURP=?", {kAnterior}), 2);
    QCOMPARE(caption(&window), QString("Siguiente >"));
}

void TestMandatarios::newEditAndCancelThroughWindow() {
    QTemporaryDir dir;
    storeData(dir.path(), false);
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
    QVERIFY(startUp(window, driver));
    QCOMPARE(gridRows(&window, "fgAA"), QStringList());

    driver.then([](QDialog* d) {
        QCOMPARE(d->objectName(), QString("frmApoderado"));
        fillIdentity(d, 2, kExamen, "GOMA800101AB1");
        child<QRadioButton>(d, "optExamen")->setChecked(true);
        child<QPushButton>(d, "cmdAceptar")->click();
    });
    child<QPushButton>(&window, "cmdNuevo")->click();
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(gridRows(&window, "fgAA"), QStringList({"JUAN|PEREZ|SOLIS|GOMA800101AB1|" + kExamen +
                                                     "|Conforme 2.13.11 (Posterior 01/01/2001)|No"}));
    QCOMPARE(child<QTableWidget>(&window, "fgAA")->selectedItems().first()->row(), 0);
    QVERIFY(child<QPushButton>(&window, "cmdEditar")->isEnabled());
    QVERIFY(shown(&window, "frAcreditacion"));
    QVERIFY(child<QRadioButton>(&window, "optExCon")->isChecked());
    QCOMPARE(child<QLineEdit>(&window, "txtApRCalle")->text(), QString("X1"));
    QCOMPARE(caption(&window), QString("Siguiente >"));

    driver.then([](QDialog* d) {
        QCOMPARE(child<QLineEdit>(d, "txtCURP")->text(), kExamen);
        QCOMPARE(child<QLineEdit>(d, "txtNombre")->text(), QString("JUAN"));
        child<QLineEdit>(d, "txtNombre")->setText("JUAN JOSE");
        child<QRadioButton>(d, "optSi")->setChecked(true);
        child<QPushButton>(d, "cmdAceptar")->click();
    });
    child<QPushButton>(&window, "cmdEditar")->click();
    QCOMPARE(gridRows(&window, "fgAA"), QStringList({"JUAN JOSE|PEREZ|SOLIS|GOMA800101AB1|" + kExamen +
                                                     "|Conforme 2.13.11 (Posterior 01/01/2001)|Si"}));

    // Cancelled: nothing stored, nothing refreshed.
    child<QPushButton>(&window, "cmdSiguiente")->setText("sin tocar");
    driver.then([](QDialog* d) {
        child<QLineEdit>(d, "txtNombre")->setText("OTRO");
        child<QPushButton>(d, "cmdCancelar")->click();
    });
    child<QPushButton>(&window, "cmdEditar")->click();
    QCOMPARE(gridRows(&window, "fgAA").first().left(9), QString("JUAN JOSE"));
    QCOMPARE(caption(&window), QString("sin tocar"));
    QCOMPARE(count(dir.path(), "select count(*) from Mandatarios where Nombre='OTRO'"), 0);
    QCOMPARE(driver.unexpected, QStringList());
}

void TestMandatarios::newTypeOneWithOfficeThroughWindow() {
    QTemporaryDir dir;
    storeData(dir.path(), false);
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
    QVERIFY(startUp(window, driver));

    QPointer<QDialog> apoderado;
    driver.then([&apoderado](QDialog* d) {
        apoderado = d;
        fillIdentity(d, 1, kAnterior, "LOTP751120QW7");
        // The office dialog opens over this one once this step has returned.
        QTimer::singleShot(0, d, [d] { child<QPushButton>(d, "cmdNuevaAduana")->click(); });
    });
    driver.then([&apoderado](QDialog* d) {
        QCOMPARE(d->objectName(), QString("frmAduanaAct"));
        auto* names = child<QComboBox>(d, "cmbAduana");
        names->setCurrentIndex(names->findText("MANZANILLO, MANZANILLO, COLIMA"));
        child<QPushButton>(d, "cmdAceptar")->click();
        QDialog* parent = apoderado;
        QTimer::singleShot(0, parent, [parent] { child<QPushButton>(parent, "cmdAceptar")->click(); });
    });
    child<QPushButton>(&window, "cmdNuevo")->click();
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(gridRows(&window, "fgAA").size(), 1);
    QCOMPARE(count(dir.path(), "select NoAduana from Aduanas_MM where CURP=?", {kAnterior}), 160);
    QVERIFY(shown(&window, "frAduanasAct"));
    QCOMPARE(gridRows(&window, "fgAduanasAct"), QStringList({"MANZANILLO, MANZANILLO, COLIMA"}));
    // No aspirant: the wizard ends after this page.
    QCOMPARE(caption(&window), QString("Finaliza"));
}

QTEST_MAIN(TestMandatarios)
#include "tst_mandatarios.moc"
