#include "data/BaseDatos.h"
#include "platform/Database.h"
#include "platform/FileDialogs.h"
#include "representative/Mandatarios.h"
#include "representative/frmAduanaAct.h"
#include "representative/frmApoderado.h"
#include "representative/frmPedTramitados.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kCurp = QStringLiteral("LOTP751120HDFPRD02");
const QString kRfc = QStringLiteral("LOTP751120QW7");
const QString kCurp2 = QStringLiteral("GOMA800101MDFRRR05");
const QString kRfc2 = QStringLiteral("GOMA800101AB1");
const QString kCurp3 = QStringLiteral("RUIZ650303HGRZRN01");
const QString kRfc3 = QStringLiteral("RUIZ650303KK2");
const QString kTablas[] = {QStringLiteral("Mandatarios"), QStringLiteral("Domicilios_MM"), QStringLiteral("Aduanas_MM"),
                           QStringLiteral("Pedimentos_MM"), QStringLiteral("Periodos_H_MM")};

struct Base {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    Base() : db(openDatabase(dir.path())) {}
};

// Every row of the representatives' tables, in stored order, one text per row.
QStringList dump(Database& db) {
    QStringList rows;
    for (const QString& table : kTablas) {
        Query q = db.select(QStringLiteral("select * from %1 order by rowid").arg(table));
        while (q.next()) {
            QStringList cells{table};
            for (int c = 0; c < q.columnCount(); ++c)
                cells << (q.isNull(c) ? QStringLiteral("<null>") : q.text(c));
            rows << cells.join(QLatin1Char('|'));
        }
    }
    return rows;
}

QStringList rows(Database& db, const QString& sql, const QVariantList& values = {}) {
    QStringList result;
    Query q = db.select(sql, values);
    while (q.next()) {
        QStringList cells;
        for (int c = 0; c < q.columnCount(); ++c)
            cells << (q.isNull(c) ? QStringLiteral("<null>") : q.text(c));
        result << cells.join(QLatin1Char('|'));
    }
    return result;
}

// Stored as the dialog stores him: type 1 with two offices and five declarations, type 2 with "Examen".
Mandatario seed(const QString& curp, const QString& rfc, int mandato) {
    Mandatario m = representative(curp, rfc, QStringLiteral("PEDRO"), mandato);
    m.acreditacion = mandato == 2 ? 2 : 0;
    if (mandato == 1) {
        m.aduanas = {470, 240};
        m.pedimentos = {{470, QStringLiteral("3001"), QDate(2000, 1, 10)},
                        {240, QStringLiteral("3002"), QDate(1999, 2, 11)},
                        {470, QStringLiteral("3003"), QDate(2000, 3, 5)},
                        {240, QStringLiteral("3004"), QDate(1998, 4, 12)},
                        {470, QStringLiteral("3005"), QDate(2000, 5, 13)}};
    }
    return m;
}

void choose(QComboBox* combo, const QString& text) {
    const int i = combo->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    combo->setCurrentIndex(i);
}

void fillAddress(QDialog* d, const QString& prefix, const QString& calle) {
    const auto box = [&](const char* stem) {
        return child<QLineEdit>(d, ("txt" + prefix + QLatin1String(stem)).toLatin1().constData());
    };
    box("Calle")->setText(calle);
    box("NoExt")->setText(QStringLiteral("S/N"));
    box("NoInt")->setText(QStringLiteral("2"));
    box("Colonia")->setText(QStringLiteral("CENTRO"));
    box("CP")->setText(QStringLiteral("39000"));
    box("Telefono")->setText(QStringLiteral("7471234567"));
    box("Fax")->setText(QStringLiteral("7477654321"));
    choose(child<QComboBox>(d, ("cmb" + prefix + "EntFed").toLatin1().constData()), QStringLiteral("GUERRERO"));
    choose(child<QComboBox>(d, ("cmb" + prefix + "MDeleg").toLatin1().constData()), QStringLiteral("AHUACUOTZINGO"));
}

// A capture that passes every check: type 2 with NTCL, or type 1 (offices still to be added).
void fillValid(QDialog* d, int mandato, const QString& curp = kCurp, const QString& rfc = kRfc) {
    child<QComboBox>(d, "cmbMandato")->setCurrentIndex(mandato - 1);
    child<QLineEdit>(d, "txtNombre")->setText(QStringLiteral("JUAN"));
    child<QLineEdit>(d, "txtApPaterno")->setText(QStringLiteral("PEREZ"));
    child<QLineEdit>(d, "txtApMaterno")->setText(QStringLiteral("SOLIS"));
    child<QLineEdit>(d, "txtCURP")->setText(curp);
    child<QLineEdit>(d, "txtRFC")->setText(rfc);
    child<QRadioButton>(d, "optSi")->setChecked(true);
    fillAddress(d, QString(), QStringLiteral("MORELOS"));
    fillAddress(d, QStringLiteral("Fiscal"), QStringLiteral("HIDALGO"));
    if (mandato == 2)
        child<QRadioButton>(d, "optNTCL")->setChecked(true);
    FileDialogs::queueAnswer(QStringLiteral("/home/juan/") + rfc + QStringLiteral(".req"));
    child<QPushButton>(d, "cmdBuscar")->click();
}

void click(QWidget* d, const char* name) {
    child<QPushButton>(d, name)->click();
}

void addOffice(ModalDriver& driver, QDialog* d, const QString& number) {
    driver.then([number](QDialog* small) {
        QCOMPARE(small->objectName(), QString("frmAduanaAct"));
        choose(child<QComboBox>(small, "cmbNoAduana"), number);
        click(small, "cmdAceptar");
    });
    click(d, "cmdNuevaAduana");
}

void addDeclaration(ModalDriver& driver, QDialog* d, const QString& number, const QString& pedimento,
                    const QDate& date) {
    driver.then([=](QDialog* small) {
        QCOMPARE(small->objectName(), QString("frmPedTramitados"));
        choose(child<QComboBox>(small, "cmbNoAduana"), number);
        typeText(child<QLineEdit>(small, "txtPedimento"), pedimento);
        child<QDateEdit>(small, "dtpFPed")->setDate(date);
        click(small, "cmdAceptar");
    });
    click(d, "cmdNuevoPed");
}

void selectGridRow(QDialog* d, const char* name, int row) {
    auto* grid = child<QTableWidget>(d, name);
    grid->selectRow(row);
}

} // namespace

class TestApoderado : public QObject {
    Q_OBJECT

private slots:
    void init() { FileDialogs::clearAnswers(); }

    void controlsAsDesigned();
    void typedTextInCapitals();
    void framesFollowMandate();
    void requestFilePicker();
    void fullCaptureOfTypeOne();
    void editLoadsEverythingBack();
    void editChangesCurp();
    void editTypeOneToTypeTwo();
    void importedOfficesOfTypeTwo();
    void duplicateCurpRefused();
    void eachCheckFailingAlone_data();
    void eachCheckFailingAlone();
    void requestFileNamedAfterRfc_data();
    void requestFileNamedAfterRfc();
    void apostrophesStoredAndShownBack();
    void failureMidEditLeavesTablesAsTheyWere();
    void removingOfficeRemovesItsDeclarations();
    void borrarWithoutRowsDoesNothing();
    void cancelWritesNothing();
    void storedTypeNotOfferedMustBeChosen_data();
    void storedTypeNotOfferedMustBeChosen();
    void undefinedOperandoMustBeChosen();
    void editOfImportedWithoutCurpReplacesHim();
    void officeDialogRules();
    void declarationDialogRules();
};

void TestApoderado::controlsAsDesigned() {
    Base base;
    frmApoderado d(*base.db, "N");
    QCOMPARE(d.objectName(), QString("frmApoderado"));
    QCOMPARE(d.windowTitle(), QString("Datos del Apoderado o Reprersentante"));
    auto* mandato = child<QComboBox>(&d, "cmbMandato");
    QCOMPARE(mandato->count(), 2);
    QCOMPARE(mandato->itemText(0), QString("Anterior 01/01/2001"));
    QCOMPARE(mandato->itemText(1), QString("Conforme 2.13.11 (Posterior 01/01/2001)"));
    QCOMPARE(mandato->currentIndex(), -1);
    QVERIFY(!mandato->isEditable());

    const QList<QPair<const char*, int>> lengths = {{"txtNombre", 25},       {"txtApPaterno", 25},
                                                    {"txtApMaterno", 25},    {"txtCURP", 18},
                                                    {"txtRFC", 13},          {"txtCalle", 100},
                                                    {"txtNoExt", 10},        {"txtNoInt", 10},
                                                    {"txtColonia", 100},     {"txtCP", 5},
                                                    {"txtTelefono", 25},     {"txtFax", 25},
                                                    {"txtFiscalCalle", 100}, {"txtFiscalNoExt", 10},
                                                    {"txtFiscalNoInt", 10},  {"txtFiscalColonia", 100},
                                                    {"txtFiscalCP", 5},      {"txtFiscalTelefono", 25},
                                                    {"txtFiscalFax", 25}};
    for (const auto& [name, length] : lengths) {
        auto* box = child<QLineEdit>(&d, name);
        QVERIFY2(box, name);
        QCOMPARE(box->maxLength(), length);
    }
    QVERIFY(!child<QLineEdit>(&d, "txtRequerimiento")->isEnabled());
    for (const char* name : {"cmbcveEntFed", "cmbEntFed", "cmbNoMDeleg", "cmbMDeleg", "cmbFiscalCveEntFed",
                             "cmbFiscalEntFed", "cmbFiscalNoMDeleg", "cmbFiscalMDeleg"})
        QVERIFY2(child<QComboBox>(&d, name), name);
    QCOMPARE(child<QComboBox>(&d, "cmbEntFed")->count(), 32);
    QCOMPARE(child<QComboBox>(&d, "cmbFiscalEntFed")->currentIndex(), -1);
    QCOMPARE(child<QComboBox>(&d, "cmbMDeleg")->count(), 0);
    choose(child<QComboBox>(&d, "cmbFiscalEntFed"), "GUERRERO");
    QCOMPARE(child<QComboBox>(&d, "cmbFiscalCveEntFed")->currentText(), QString("12"));
    QCOMPARE(child<QComboBox>(&d, "cmbFiscalMDeleg")->count(), 85);
    QCOMPARE(child<QComboBox>(&d, "cmbMDeleg")->count(), 0);

    QCOMPARE(child<QGroupBox>(&d, "Frame2")->title(), QString("Operando actualmente (Con gafete)"));
    QCOMPARE(child<QGroupBox>(&d, "Frame6")->title(), QString("Domicilio Particular"));
    QCOMPARE(child<QGroupBox>(&d, "Frame1")->title(), QString("Domicilio Fiscal"));
    QCOMPARE(child<QPushButton>(&d, "cmdBuscar")->text(), QString("&Buscar.."));
    QCOMPARE(child<QRadioButton>(&d, "optExamen")->text(), QString("Examen de Conocimientos"));

    auto* offices = child<QTableWidget>(&d, "fgAduanasAct");
    auto* declarations = child<QTableWidget>(&d, "fgPedTramitados");
    QCOMPARE(offices->columnCount(), 2);
    QCOMPARE(offices->horizontalHeaderItem(0)->text(), QString("No.Aduana"));
    QCOMPARE(declarations->columnCount(), 4);
    QCOMPARE(declarations->horizontalHeaderItem(3)->text(), QString("Fecha"));
    QCOMPARE(offices->rowCount(), 0);
    QVERIFY(child<QPushButton>(&d, "cmdNuevaAduana")->isEnabled());
    for (const char* name : {"cmdBorrarAduana", "cmdNuevoPed", "cmdBorrarPed"})
        QVERIFY2(!child<QPushButton>(&d, name)->isEnabled(), name);
    for (const char* name : {"optSi", "optNo", "optNTCL", "optExamen"})
        QVERIFY2(!child<QRadioButton>(&d, name)->isChecked(), name);
}

void TestApoderado::typedTextInCapitals() {
    Base base;
    frmApoderado d(*base.db, "N");
    for (const char* name : {"txtNombre", "txtApPaterno", "txtApMaterno", "txtCURP", "txtRFC", "txtCalle", "txtFax",
                             "txtFiscalColonia", "txtFiscalTelefono"}) {
        auto* box = child<QLineEdit>(&d, name);
        typeText(box, QString::fromUtf8("garcía ñ"));
        QCOMPARE(box->text(), QString::fromUtf8("GARCÍA Ñ"));
    }
}

void TestApoderado::framesFollowMandate() {
    Base base;
    frmApoderado d(*base.db, "N");
    d.show();
    const auto shown = [&](const char* name) { return child<QWidget>(&d, name)->isVisible(); };
    for (const char* name :
         {"frAcreditacion", "frAduanasAct", "frPedTramitados", "lblRequerimiento", "txtRequerimiento", "cmdBuscar"})
        QVERIFY2(!shown(name), name);
    auto* mandato = child<QComboBox>(&d, "cmbMandato");
    mandato->setCurrentIndex(0);
    QVERIFY(!shown("frAcreditacion"));
    for (const char* name : {"frAduanasAct", "frPedTramitados", "lblRequerimiento", "txtRequerimiento", "cmdBuscar"})
        QVERIFY2(shown(name), name);
    child<QRadioButton>(&d, "optExamen")->setChecked(true);
    mandato->setCurrentIndex(1);
    QVERIFY(shown("frAcreditacion"));
    QVERIFY(!shown("frAduanasAct"));
    QVERIFY(!shown("frPedTramitados"));
    QVERIFY(shown("cmdBuscar"));
    // The choices of a hidden frame stay as they were.
    mandato->setCurrentIndex(0);
    QVERIFY(child<QRadioButton>(&d, "optExamen")->isChecked());
}

void TestApoderado::requestFilePicker() {
    Base base;
    frmApoderado d(*base.db, "N");
    child<QComboBox>(&d, "cmbMandato")->setCurrentIndex(0);
    auto* req = child<QLineEdit>(&d, "txtRequerimiento");
    FileDialogs::queueAnswer("/datos/LOTP751120QW7.req");
    click(&d, "cmdBuscar");
    QCOMPARE(req->text(), QString("/datos/LOTP751120QW7.req"));
    QCOMPARE(FileDialogs::lastFolder(), homeFolder());
    QCOMPARE(FileDialogs::lastFilter(), QString("Archivo_llave (*.req)"));
    FileDialogs::queueAnswer(QString());
    click(&d, "cmdBuscar");
    QCOMPARE(req->text(), QString("/datos/LOTP751120QW7.req"));
    // The box is filled by the picker alone; a long path is kept whole, or the file could not be found again.
    const QString longPath = "/home/" + QString(120, QLatin1Char('c')) + "/LOTP751120QW7.req";
    FileDialogs::queueAnswer(longPath);
    click(&d, "cmdBuscar");
    QCOMPARE(req->text(), longPath);
}

void TestApoderado::fullCaptureOfTypeOne() {
    Base base;
    ScriptedMessages messages;
    ModalDriver driver;
    frmApoderado d(*base.db, "N");
    d.show();
    fillValid(&d, 1);
    addOffice(driver, &d, " 240");
    QVERIFY(child<QPushButton>(&d, "cmdNuevoPed")->isEnabled());
    addOffice(driver, &d, " 470");
    addDeclaration(driver, &d, " 470", "3004567", QDate(2000, 3, 5));
    addDeclaration(driver, &d, " 240", "0001234", QDate(1999, 12, 31));
    addDeclaration(driver, &d, " 470", "42", QDate(1998, 1, 2));
    QCOMPARE(gridRows(&d, "fgAduanasAct"), QStringList({" 240|NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS",
                                                        " 470|AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO"}));
    QCOMPARE(gridRows(&d, "fgPedTramitados").first(),
             QString(" 470|AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO|3004567|05/03/2000"));
    // An accreditation chosen before the type settled on 1 is not stored.
    child<QRadioButton>(&d, "optExamen")->setChecked(true);
    click(&d, "cmdAceptar");
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(d.Respuesta_Apoderado(), QString("A"));
    QCOMPARE(d.curpGuardado(), kCurp);

    Database& db = *base.db;
    Query m = db.select("select * from Mandatarios");
    QVERIFY(m.next());
    QCOMPARE(m.text(0), kCurp);
    QCOMPARE(m.text(1), kRfc);
    QCOMPARE(m.text(2), QString("JUAN"));
    QCOMPARE(m.text(3), QString("PEREZ"));
    QCOMPARE(m.text(4), QString("SOLIS"));
    QCOMPARE(m.value(5).toInt(), 1);
    QCOMPARE(m.text(6), QString("/home/juan/LOTP751120QW7.req"));
    QCOMPARE(m.value(7).toInt(), 0);
    QCOMPARE(m.value(8).toInt(), 1);
    QVERIFY(!m.next());
    QCOMPARE(rows(db, "select * from Domicilios_MM order by Tipo_Dom"),
             QStringList({kCurp + "|12|2|MORELOS|S/N|2|CENTRO|39000|7471234567|7477654321|1",
                          kCurp + "|12|2|HIDALGO|S/N|2|CENTRO|39000|7471234567|7477654321|2"}));
    QCOMPARE(rows(db, "select * from Aduanas_MM order by rowid"), QStringList({kCurp + "|240", kCurp + "|470"}));
    QCOMPARE(rows(db, "select * from Pedimentos_MM order by rowid"),
             QStringList(
                 {kCurp + "|470|3004567|2000-03-05", kCurp + "|240|0001234|1999-12-31", kCurp + "|470|42|1998-01-02"}));
    QCOMPARE(rows(db, "select typeof(Mandato), typeof(MDeleg), typeof(NoAduana) from Mandatarios, Domicilios_MM, "
                      "Aduanas_MM limit 1"),
             QStringList({"integer|integer|integer"}));
}

void TestApoderado::editLoadsEverythingBack() {
    Base base;
    guardaMandatario(*base.db, {}, seed(kCurp, kRfc, 1));
    frmApoderado d(*base.db, "E", kCurp);
    QCOMPARE(child<QLineEdit>(&d, "txtNombre")->text(), QString("PEDRO"));
    QCOMPARE(child<QLineEdit>(&d, "txtApMaterno")->text(), QString("TORRES"));
    QCOMPARE(child<QLineEdit>(&d, "txtCURP")->text(), kCurp);
    QCOMPARE(child<QLineEdit>(&d, "txtRFC")->text(), kRfc);
    QCOMPARE(child<QComboBox>(&d, "cmbMandato")->currentIndex(), 0);
    QVERIFY(!child<QWidget>(&d, "frAduanasAct")->isHidden());
    QCOMPARE(child<QLineEdit>(&d, "txtRequerimiento")->text(), QString("/req/LOTP751120QW7.req"));
    QVERIFY(child<QRadioButton>(&d, "optSi")->isChecked());
    QVERIFY(!child<QRadioButton>(&d, "optNTCL")->isChecked());
    QVERIFY(!child<QRadioButton>(&d, "optExamen")->isChecked());
    QCOMPARE(gridRows(&d, "fgAduanasAct"), QStringList({" 470|AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO",
                                                        " 240|NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS"}));
    QCOMPARE(gridRows(&d, "fgPedTramitados").size(), 5);
    QCOMPARE(gridRows(&d, "fgPedTramitados")[2],
             QString(" 470|AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO|3003|05/03/2000"));
    QVERIFY(child<QPushButton>(&d, "cmdNuevoPed")->isEnabled());
    QCOMPARE(child<QLineEdit>(&d, "txtCalle")->text(), QString("PEDRO PARTICULAR"));
    QCOMPARE(child<QLineEdit>(&d, "txtNoInt")->text(), QString());
    QCOMPARE(child<QComboBox>(&d, "cmbcveEntFed")->currentText(), QString("12"));
    QCOMPARE(child<QComboBox>(&d, "cmbNoMDeleg")->currentText(), QString(" 1"));
    QCOMPARE(child<QComboBox>(&d, "cmbMDeleg")->currentText(), QString::fromUtf8("ACAPULCO DE JUÁREZ"));
    QCOMPARE(child<QLineEdit>(&d, "txtFiscalNoInt")->text(), QString("4B"));
    QCOMPARE(child<QComboBox>(&d, "cmbFiscalMDeleg")->currentText(), QString::fromUtf8("CUAUHTÉMOC"));

    // Accepting unchanged rewrites the same rows.
    ScriptedMessages messages;
    const QStringList before = dump(*base.db);
    click(&d, "cmdAceptar");
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(dump(*base.db), before);

    // A type 2 representative brings back his accreditation.
    guardaMandatario(*base.db, {}, seed(kCurp2, kRfc2, 2));
    frmApoderado second(*base.db, "E", kCurp2);
    QCOMPARE(child<QComboBox>(&second, "cmbMandato")->currentIndex(), 1);
    QVERIFY(child<QRadioButton>(&second, "optExamen")->isChecked());
    QVERIFY(child<QWidget>(&second, "frAduanasAct")->isHidden());
}

void TestApoderado::editChangesCurp() {
    Base base;
    Database& db = *base.db;
    guardaMandatario(db, {}, seed(kCurp, kRfc, 1));
    guardaMandatario(db, {}, seed(kCurp2, kRfc2, 2));
    db.exec("insert into Periodos_H_MM values (?,?,?,?,?)", {kCurp, 470, 12, QDate(2001, 1, 1), QDate(2002, 1, 1)});
    const QStringList other = rows(db, "select * from Domicilios_MM where CURP=?", {kCurp2});
    ScriptedMessages messages;
    frmApoderado d(db, "E", kCurp);
    child<QLineEdit>(&d, "txtCURP")->setText(kCurp3);
    click(&d, "cmdAceptar");
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(d.Respuesta_Apoderado(), QString("A"));
    QCOMPARE(d.curpGuardado(), kCurp3);
    for (const QString& table : kTablas)
        QVERIFY2(!db.exists(QString("select * from %1 where CURP=?").arg(table), {kCurp}), qPrintable(table));
    QCOMPARE(rows(db, "select CURP, Nombre, Mandato from Mandatarios order by CURP"),
             QStringList({kCurp2 + "|PEDRO|2", kCurp3 + "|PEDRO|1"}));
    QCOMPARE(rows(db, "select count(*) from Domicilios_MM where CURP=?", {kCurp3}), QStringList({"2"}));
    QCOMPARE(rows(db, "select NoAduana from Aduanas_MM where CURP=? order by rowid", {kCurp3}),
             QStringList({"470", "240"}));
    QCOMPARE(rows(db, "select NoPedimento from Pedimentos_MM where CURP=? order by rowid", {kCurp3}),
             QStringList({"3001", "3002", "3003", "3004", "3005"}));
    // His periods with other brokers follow him to the corrected CURP.
    QCOMPARE(rows(db, "select CURP from Periodos_H_MM"), QStringList({kCurp3}));
    QCOMPARE(rows(db, "select * from Domicilios_MM where CURP=?", {kCurp2}), other);
}

void TestApoderado::editTypeOneToTypeTwo() {
    Base base;
    Database& db = *base.db;
    guardaMandatario(db, {}, seed(kCurp, kRfc, 1));
    guardaMandatario(db, {}, seed(kCurp2, kRfc2, 1));
    ScriptedMessages messages;
    frmApoderado d(db, "E", kCurp);
    child<QComboBox>(&d, "cmbMandato")->setCurrentIndex(1);
    child<QRadioButton>(&d, "optNTCL")->setChecked(true);
    click(&d, "cmdAceptar");
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(rows(db, "select Mandato, Acreditacion, Operando from Mandatarios where CURP=?", {kCurp}),
             QStringList({"2|1|1"}));
    QVERIFY(!db.exists("select * from Aduanas_MM where CURP=?", {kCurp}));
    QVERIFY(!db.exists("select * from Pedimentos_MM where CURP=?", {kCurp}));
    QCOMPARE(rows(db, "select count(*) from Aduanas_MM where CURP=?", {kCurp2}), QStringList({"2"}));
    QCOMPARE(rows(db, "select count(*) from Pedimentos_MM where CURP=?", {kCurp2}), QStringList({"5"}));

    // Back to type 1: the grid rows it shows are what is stored.
    frmApoderado back(db, "E", kCurp);
    QCOMPARE(gridRows(&back, "fgAduanasAct"), QStringList());
    back.show();
    child<QComboBox>(&back, "cmbMandato")->setCurrentIndex(0);
    ModalDriver driver;
    addOffice(driver, &back, " 160");
    click(&back, "cmdAceptar");
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(rows(db, "select Mandato, Acreditacion from Mandatarios where CURP=?", {kCurp}), QStringList({"1|0"}));
    QCOMPARE(rows(db, "select NoAduana from Aduanas_MM where CURP=?", {kCurp}), QStringList({"160"}));
}

void TestApoderado::importedOfficesOfTypeTwo() {
    Base base;
    Database& db = *base.db;
    guardaMandatario(db, {}, seed(kCurp, kRfc, 1));
    db.exec("update Mandatarios set Mandato=2, Acreditacion=1");
    ScriptedMessages messages;
    {
        // Choosing type 1 shows the rows he already has, so that they are not stored twice.
        frmApoderado d(db, "E", kCurp);
        QCOMPARE(gridRows(&d, "fgAduanasAct").size(), 2);
        QVERIFY(child<QPushButton>(&d, "cmdNuevoPed")->isEnabled());
        click(&d, "cmdCancelar");
    }
    frmApoderado d(db, "E", kCurp);
    click(&d, "cmdAceptar");
    QCOMPARE(messages.texts(), QStringList());
    // A type 2 representative keeps no offices or declarations.
    QVERIFY(!db.exists("select * from Aduanas_MM"));
    QVERIFY(!db.exists("select * from Pedimentos_MM"));
}

void TestApoderado::duplicateCurpRefused() {
    Base base;
    Database& db = *base.db;
    guardaMandatario(db, {}, seed(kCurp, kRfc, 2));
    guardaMandatario(db, {}, seed(kCurp2, kRfc2, 2));
    const QStringList before = dump(db);
    ScriptedMessages messages;
    {
        frmApoderado d(db, "N");
        d.show();
        fillValid(&d, 2, kCurp2, kRfc2);
        child<QWidget>(&d, "txtNombre")->setFocus();
        click(&d, "cmdAceptar");
        QCOMPARE(messages.texts(), QStringList({"YA EXISTE EL MANDATARIO EN LA BASE DE DATOS."}));
        QCOMPARE(int(messages.shown.last().icon), int(MessageIcon::None));
        QCOMPARE(messages.shown.last().title, QString("Mensaje"));
        QCOMPARE(d.focusWidget()->objectName(), QString("txtNombre"));
        QVERIFY(d.result() != QDialog::Accepted);
        QCOMPARE(child<QLineEdit>(&d, "txtNombre")->text(), QString("JUAN"));
    }
    {
        frmApoderado d(db, "E", kCurp);
        child<QLineEdit>(&d, "txtCURP")->setText(kCurp2);
        click(&d, "cmdAceptar");
        QCOMPARE(messages.texts().size(), 2);
        QCOMPARE(messages.texts().last(), QString("YA EXISTE EL MANDATARIO EN LA BASE DE DATOS."));
        QVERIFY(d.result() != QDialog::Accepted);
    }
    QCOMPARE(dump(db), before);
    {
        // Keeping his own CURP is no duplicate.
        frmApoderado d(db, "E", kCurp);
        click(&d, "cmdAceptar");
        QCOMPARE(messages.texts().size(), 2);
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }
}

enum Fault {
    NombreBlancos,
    ApPaternoVacio,
    ApMaternoVacio,
    CurpCorta,
    RfcInvalido,
    CalleVacia,
    FiscalSinMunicipio,
    SinMandato,
    SinRequerimiento,
    RequerimientoOtroRfc,
    TipoUnoSinAduanas,
    TipoDosSinAcreditacion,
    SinOperando
};

void TestApoderado::eachCheckFailingAlone_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("1 nombre") << int(NombreBlancos) << "Nombre no puede estar vacio"
                              << "txtNombre";
    QTest::newRow("2 paterno") << int(ApPaternoVacio) << "Ap. Paterno no puede estar vacio"
                               << "txtApPaterno";
    QTest::newRow("3 materno") << int(ApMaternoVacio) << "Ap. Materno no puede estar vacio"
                               << "txtApMaterno";
    QTest::newRow("4 curp") << int(CurpCorta) << "CURP no valido"
                            << "txtCURP";
    QTest::newRow("5 rfc") << int(RfcInvalido) << "RFC no valido"
                           << "txtRFC";
    QTest::newRow("6 particular") << int(CalleVacia) << "Calle no puede estar vacio"
                                  << "txtCalle";
    QTest::newRow("7 fiscal") << int(FiscalSinMunicipio) << QString::fromUtf8("Mpio. o Delegación no puede estar vacio")
                              << "cmbFiscalMDeleg";
    QTest::newRow("8 mandato") << int(SinMandato) << "Tipo de Mandato no puede estar vacio"
                               << "cmbMandato";
    QTest::newRow("9 requerimiento") << int(SinRequerimiento)
                                     << QString::fromUtf8("El Requerimiento Electrónico no puede estar vacio")
                                     << "cmdBuscar";
    QTest::newRow("10 nombre del requerimiento")
        << int(RequerimientoOtroRfc) << QString::fromUtf8("El Requerimiento Electrónico se debe llamar igual al RFC")
        << "cmdBuscar";
    QTest::newRow("11 aduanas") << int(TipoUnoSinAduanas) << "Debe existir almenos una Aduana donde ha actuado"
                                << "cmdNuevaAduana";
    QTest::newRow("12 acreditacion") << int(TipoDosSinAcreditacion)
                                     << QString::fromUtf8("Debe elegir el tipo de acreditación") << "optNTCL";
    QTest::newRow("13 operando") << int(SinOperando)
                                 << "Debe elegir si el Manandatario o Representante se encuentra Operando"
                                 << "optSi";
}

void TestApoderado::eachCheckFailingAlone() {
    QFETCH(int, fault);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    Base base;
    ScriptedMessages messages;
    ModalDriver driver;
    frmApoderado d(*base.db, "N");
    d.show();
    fillValid(&d, fault == TipoUnoSinAduanas ? 1 : 2);
    const auto box = [&](const char* name) { return child<QLineEdit>(&d, name); };
    switch (Fault(fault)) {
    case NombreBlancos:
        box("txtNombre")->setText("   ");
        break;
    case ApPaternoVacio:
        box("txtApPaterno")->clear();
        break;
    case ApMaternoVacio:
        box("txtApMaterno")->clear();
        break;
    case CurpCorta:
        box("txtCURP")->setText(kCurp.left(17));
        break;
    case RfcInvalido:
        box("txtRFC")->setText("LOTP751320QW7");
        break;
    case CalleVacia:
        box("txtCalle")->clear();
        break;
    case FiscalSinMunicipio:
        child<QComboBox>(&d, "cmbFiscalMDeleg")->setCurrentIndex(-1);
        break;
    case SinMandato: {
        // A fresh window: everything but the type.
        auto* mandato = child<QComboBox>(&d, "cmbMandato");
        mandato->setCurrentIndex(-1);
        break;
    }
    case SinRequerimiento:
        box("txtRequerimiento")->clear();
        break;
    case RequerimientoOtroRfc:
        FileDialogs::queueAnswer("/home/juan/GODE561231GR8.req");
        click(&d, "cmdBuscar");
        break;
    case TipoUnoSinAduanas:
        break;
    case TipoDosSinAcreditacion:
        child<QRadioButton>(&d, "optNTCL")->setAutoExclusive(false);
        child<QRadioButton>(&d, "optNTCL")->setChecked(false);
        break;
    case SinOperando:
        child<QRadioButton>(&d, "optSi")->setAutoExclusive(false);
        child<QRadioButton>(&d, "optSi")->setChecked(false);
        break;
    }
    if (fault == TipoUnoSinAduanas) {
        // Declarations do not stand in for offices. cmdNuevoPed opens once an office is there; the office is taken
        // off again, and a declaration added afterwards.
        addOffice(driver, &d, " 240");
        addDeclaration(driver, &d, " 240", "123", QDate(2000, 1, 1));
        selectGridRow(&d, "fgAduanasAct", 0);
        messages.answerNext(true);
        click(&d, "cmdBorrarAduana");
        QCOMPARE(gridRows(&d, "fgPedTramitados"), QStringList());
        addDeclaration(driver, &d, " 470", "124", QDate(2000, 1, 1));
        QCOMPARE(gridRows(&d, "fgPedTramitados").size(), 1);
        messages.shown.clear();
    }
    click(&d, "cmdAceptar");
    QCOMPARE(messages.texts(), QStringList({message}));
    QCOMPARE(int(messages.shown.first().icon), int(MessageIcon::Information));
    QCOMPARE(messages.shown.first().title, QString("Mensaje"));
    QVERIFY(d.focusWidget());
    QCOMPARE(d.focusWidget()->objectName(), focus);
    QVERIFY(d.result() != QDialog::Accepted);
    QVERIFY(!base.db->exists("select * from Mandatarios"));
    QVERIFY(!base.db->exists("select * from Domicilios_MM"));
}

void TestApoderado::requestFileNamedAfterRfc_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("lower case") << "/home/juan/lotp751120qw7.req" << true;
    QTest::newRow("containing") << "/home/juan/XLOTP751120QW7.REQ" << true;
    QTest::newRow("in a folder name") << "/home/LOTP751120QW7.req.viejo/otro.req" << true;
    QTest::newRow("another rfc") << "/home/juan/GODE561231GR8.req" << false;
    QTest::newRow("rfc without extension") << "/home/juan/LOTP751120QW7.txt" << false;
}

void TestApoderado::requestFileNamedAfterRfc() {
    QFETCH(QString, path);
    QFETCH(bool, accepted);
    Base base;
    ScriptedMessages messages;
    frmApoderado d(*base.db, "N");
    fillValid(&d, 2);
    FileDialogs::queueAnswer(path);
    click(&d, "cmdBuscar");
    click(&d, "cmdAceptar");
    QCOMPARE(d.result() == QDialog::Accepted, accepted);
    if (accepted) {
        QCOMPARE(rows(*base.db, "select Requerimiento from Mandatarios"), QStringList({path}));
    } else {
        QCOMPARE(messages.texts(),
                 QStringList({QString::fromUtf8("El Requerimiento Electrónico se debe llamar igual al RFC")}));
    }
}

void TestApoderado::apostrophesStoredAndShownBack() {
    Base base;
    ScriptedMessages messages;
    frmApoderado d(*base.db, "N");
    fillValid(&d, 2);
    child<QLineEdit>(&d, "txtApPaterno")->clear();
    typeText(child<QLineEdit>(&d, "txtApPaterno"), "d'angelo");
    child<QLineEdit>(&d, "txtCalle")->setText("O'HIGGINS'); delete from Mandatarios; --");
    const QString path = "/home/o'brien/LOTP751120QW7.req";
    FileDialogs::queueAnswer(path);
    click(&d, "cmdBuscar");
    click(&d, "cmdAceptar");
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(rows(*base.db, "select ApPaterno, Requerimiento from Mandatarios"), QStringList({"D'ANGELO|" + path}));
    frmApoderado back(*base.db, "E", kCurp);
    QCOMPARE(child<QLineEdit>(&back, "txtApPaterno")->text(), QString("D'ANGELO"));
    QCOMPARE(child<QLineEdit>(&back, "txtCalle")->text(), QString("O'HIGGINS'); DELETE FROM MANDATARIOS; --"));
    QCOMPARE(child<QLineEdit>(&back, "txtRequerimiento")->text(), path);
}

void TestApoderado::failureMidEditLeavesTablesAsTheyWere() {
    Base base;
    Database& db = *base.db;
    guardaMandatario(db, {}, seed(kCurp, kRfc, 1));
    guardaMandatario(db, {}, seed(kCurp2, kRfc2, 2));
    db.exec("insert into Periodos_H_MM values (?,?,?,?,?)", {kCurp, 470, 12, QDate(2001, 1, 1), QDate(2002, 1, 1)});
    const QStringList before = dump(db);
    // The engine refuses the declarations, which come after every delete and most inserts.
    db.exec("create trigger falla before insert on Pedimentos_MM begin select raise(abort, 'pedimento forzado'); end");
    ScriptedMessages messages;
    frmApoderado d(db, "E", kCurp);
    child<QLineEdit>(&d, "txtNombre")->setText("PEDRO PABLO");
    child<QLineEdit>(&d, "txtCURP")->setText(kCurp3);
    click(&d, "cmdAceptar");
    QCOMPARE(messages.shown.size(), 1);
    QVERIFY(messages.texts().first().startsWith("No se pudo guardar el Mandatario"));
    QVERIFY(messages.texts().first().contains("pedimento forzado"));
    QCOMPARE(int(messages.shown.first().icon), int(MessageIcon::Exclamation));
    QVERIFY(d.result() != QDialog::Accepted);
    QCOMPARE(child<QLineEdit>(&d, "txtNombre")->text(), QString("PEDRO PABLO"));
    QCOMPARE(dump(db), before);

    // Once the engine takes it again, the same window stores what was typed.
    db.exec("drop trigger falla");
    click(&d, "cmdAceptar");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(rows(db, "select Nombre from Mandatarios where CURP=?", {kCurp3}), QStringList({"PEDRO PABLO"}));
}

void TestApoderado::removingOfficeRemovesItsDeclarations() {
    Base base;
    guardaMandatario(*base.db, {}, seed(kCurp, kRfc, 1));
    ScriptedMessages messages;
    frmApoderado d(*base.db, "E", kCurp);
    selectGridRow(&d, "fgAduanasAct", 0);
    QVERIFY(child<QPushButton>(&d, "cmdBorrarAduana")->isEnabled());
    messages.answerNext(false);
    click(&d, "cmdBorrarAduana");
    QCOMPARE(messages.texts(), QStringList({"¿DESEA BORRAR LA ADUANA SELECCIONADA Y LOS PEDIMENTOS RELACIONADOS?"}));
    QCOMPARE(messages.shown.first().title, QString("Mendaje"));
    QCOMPARE(int(messages.shown.first().icon), int(MessageIcon::Exclamation));
    QVERIFY(messages.shown.first().withCancel);
    QCOMPARE(gridRows(&d, "fgPedTramitados").size(), 5);

    selectGridRow(&d, "fgAduanasAct", 0);
    click(&d, "cmdBorrarAduana");
    QCOMPARE(gridRows(&d, "fgAduanasAct"), QStringList({" 240|NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS"}));
    QCOMPARE(gridRows(&d, "fgPedTramitados"),
             QStringList({" 240|NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS|3002|11/02/1999",
                          " 240|NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS|3004|12/04/1998"}));

    selectGridRow(&d, "fgPedTramitados", 1);
    QVERIFY(child<QPushButton>(&d, "cmdBorrarPed")->isEnabled());
    click(&d, "cmdBorrarPed");
    QCOMPARE(messages.texts().last(), QString("¿DESEA BORRAR EL PERIODO SELECCIONADO?"));
    QCOMPARE(gridRows(&d, "fgPedTramitados"),
             QStringList({" 240|NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS|3002|11/02/1999"}));

    // The only office goes with its last declaration; both grids keep their headers alone.
    selectGridRow(&d, "fgAduanasAct", 0);
    click(&d, "cmdBorrarAduana");
    QCOMPARE(child<QTableWidget>(&d, "fgAduanasAct")->rowCount(), 0);
    QCOMPARE(child<QTableWidget>(&d, "fgPedTramitados")->rowCount(), 0);
    QCOMPARE(child<QTableWidget>(&d, "fgPedTramitados")->columnCount(), 4);
}

void TestApoderado::borrarWithoutRowsDoesNothing() {
    Base base;
    guardaMandatario(*base.db, {}, seed(kCurp, kRfc, 1));
    ScriptedMessages messages;
    frmApoderado d(*base.db, "E", kCurp);
    for (int i = 0; i < 2; ++i) {
        selectGridRow(&d, "fgAduanasAct", 0);
        click(&d, "cmdBorrarAduana");
    }
    QCOMPARE(child<QTableWidget>(&d, "fgAduanasAct")->rowCount(), 0);
    const int asked = int(messages.shown.size());
    // The buttons stay enabled once used; pressing them on an empty grid asks nothing and removes nothing.
    QVERIFY(child<QPushButton>(&d, "cmdBorrarAduana")->isEnabled());
    click(&d, "cmdBorrarAduana");
    click(&d, "cmdBorrarPed");
    QCOMPARE(int(messages.shown.size()), asked);
    // With rows but none selected, nothing is removed either.
    frmApoderado other(*base.db, "E", kCurp);
    selectGridRow(&other, "fgAduanasAct", 0);
    child<QTableWidget>(&other, "fgAduanasAct")->clearSelection();
    click(&other, "cmdBorrarAduana");
    QCOMPARE(int(messages.shown.size()), asked);
    QCOMPARE(child<QTableWidget>(&other, "fgAduanasAct")->rowCount(), 2);
}

void TestApoderado::cancelWritesNothing() {
    Base base;
    guardaMandatario(*base.db, {}, seed(kCurp, kRfc, 1));
    const QStringList before = dump(*base.db);
    ScriptedMessages messages;
    ModalDriver driver;
    {
        frmApoderado d(*base.db, "E", kCurp);
        d.show();
        addOffice(driver, &d, " 160");
        selectGridRow(&d, "fgPedTramitados", 0);
        click(&d, "cmdBorrarPed");
        child<QLineEdit>(&d, "txtNombre")->setText("OTRO");
        child<QComboBox>(&d, "cmbMandato")->setCurrentIndex(1);
        click(&d, "cmdCancelar");
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(d.Respuesta_Apoderado(), QString("C"));
    }
    QCOMPARE(dump(*base.db), before);
    frmApoderado again(*base.db, "E", kCurp);
    QCOMPARE(gridRows(&again, "fgAduanasAct").size(), 2);
    QCOMPARE(gridRows(&again, "fgPedTramitados").size(), 5);
    QCOMPARE(child<QLineEdit>(&again, "txtNombre")->text(), QString("PEDRO"));
    QCOMPARE(driver.unexpected, QStringList());
}

void TestApoderado::storedTypeNotOfferedMustBeChosen_data() {
    QTest::addColumn<QVariant>("mandato");
    QTest::newRow("type 3") << QVariant(3);
    QTest::newRow("empty") << QVariant();
}

void TestApoderado::storedTypeNotOfferedMustBeChosen() {
    QFETCH(QVariant, mandato);
    Base base;
    Database& db = *base.db;
    guardaMandatario(db, {}, seed(kCurp, kRfc, 2));
    db.exec("update Mandatarios set Mandato=?", {mandato});
    ScriptedMessages messages;
    frmApoderado d(db, "E", kCurp);
    d.show();
    QCOMPARE(child<QComboBox>(&d, "cmbMandato")->currentIndex(), -1);
    QVERIFY(!child<QWidget>(&d, "frAcreditacion")->isVisible());
    QVERIFY(!child<QWidget>(&d, "frAduanasAct")->isVisible());
    const QStringList before = dump(db);
    click(&d, "cmdAceptar");
    QCOMPARE(messages.texts(), QStringList({"Tipo de Mandato no puede estar vacio"}));
    QCOMPARE(d.focusWidget()->objectName(), QString("cmbMandato"));
    QCOMPARE(dump(db), before);
    child<QComboBox>(&d, "cmbMandato")->setCurrentIndex(1);
    click(&d, "cmdAceptar");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(rows(db, "select Mandato, Acreditacion from Mandatarios"), QStringList({"2|2"}));
}

void TestApoderado::undefinedOperandoMustBeChosen() {
    Base base;
    Database& db = *base.db;
    guardaMandatario(db, {}, seed(kCurp, kRfc, 2));
    db.exec("update Mandatarios set Operando=2");
    ScriptedMessages messages;
    frmApoderado d(db, "E", kCurp);
    QVERIFY(!child<QRadioButton>(&d, "optSi")->isChecked());
    QVERIFY(!child<QRadioButton>(&d, "optNo")->isChecked());
    click(&d, "cmdAceptar");
    QCOMPARE(messages.texts(), QStringList({"Debe elegir si el Manandatario o Representante se encuentra Operando"}));
    child<QRadioButton>(&d, "optNo")->setChecked(true);
    click(&d, "cmdAceptar");
    QCOMPARE(rows(db, "select Operando from Mandatarios"), QStringList({"0"}));
}

void TestApoderado::editOfImportedWithoutCurpReplacesHim() {
    Base base;
    Database& db = *base.db;
    // The previous version's data may hold a representative with no CURP; correcting him gives him one.
    guardaMandatario(db, {}, seed(QStringLiteral(""), QStringLiteral(""), 1));
    db.exec("update Mandatarios set Requerimiento='', Operando=2");
    guardaMandatario(db, {}, seed(kCurp2, kRfc2, 2));
    ScriptedMessages messages;
    frmApoderado d(db, "E", QStringLiteral(""));
    QCOMPARE(child<QTableWidget>(&d, "fgAduanasAct")->rowCount(), 2);
    fillValid(&d, 1);
    press(&d, "cmdAceptar");
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(d.result(), int(QDialog::Accepted));
    for (const QString& table : kTablas)
        QVERIFY2(!db.exists(QString("select * from %1 where CURP=''").arg(table)), qPrintable(table));
    QCOMPARE(rows(db, "select CURP from Mandatarios order by CURP"), QStringList({kCurp2, kCurp}));
    QCOMPARE(rows(db, "select NoAduana from Aduanas_MM where CURP=? order by rowid", {kCurp}),
             QStringList({"470", "240"}));
}

void TestApoderado::officeDialogRules() {
    Base base;
    ScriptedMessages messages;
    frmAduanaAct d(*base.db, {" 240", " 470"});
    QCOMPARE(d.windowTitle(), QString::fromUtf8("Aduana donde Actuó"));
    auto* numbers = child<QComboBox>(&d, "cmbNoAduana");
    auto* names = child<QComboBox>(&d, "cmbAduana");
    QCOMPARE(numbers->count(), 50);
    QCOMPARE(numbers->currentIndex(), -1);
    click(&d, "cmdAceptar");
    QCOMPARE(messages.texts(), QStringList({"Debe elegir la Aduana"}));
    QVERIFY(d.result() != QDialog::Accepted);

    choose(numbers, " 240");
    QCOMPARE(names->currentText(), QString("NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS"));
    click(&d, "cmdAceptar");
    QCOMPARE(messages.texts().last(), QString("Ya existe la aduana en la lista de aduanas que actuo"));
    QVERIFY(d.result() != QDialog::Accepted);

    choose(names, "MANZANILLO, MANZANILLO, COLIMA");
    QCOMPARE(numbers->currentText(), QString(" 160"));
    click(&d, "cmdAceptar");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(d.fila(), QStringList({" 160", "MANZANILLO, MANZANILLO, COLIMA"}));
    QCOMPARE(messages.shown.size(), 2);
}

void TestApoderado::declarationDialogRules() {
    Base base;
    ScriptedMessages messages;
    {
        frmPedTramitados d(*base.db, {" 240", " 470"});
        QCOMPARE(d.windowTitle(), QString("Pedimento Tramitado"));
        auto* date = child<QDateEdit>(&d, "dtpFPed");
        // Today lies after the last day offered, so the picker opens on it.
        QCOMPARE(date->maximumDate(), QDate(2000, 12, 31));
        QCOMPARE(date->date(), QDate(2000, 12, 31));
        date->setDate(QDate(2001, 1, 1));
        QCOMPARE(date->date(), QDate(2000, 12, 31));
        QCOMPARE(child<QLineEdit>(&d, "txtPedimento")->maxLength(), 10);

        typeText(child<QLineEdit>(&d, "txtPedimento"), "3004567");
        click(&d, "cmdAceptar");
        QCOMPARE(messages.texts().last(), QString("Debe elegir la Aduana"));
        choose(child<QComboBox>(&d, "cmbNoAduana"), " 160");
        click(&d, "cmdAceptar");
        QCOMPARE(messages.texts().last(),
                 QString("No existe la aduana del pedimento en la lista de aduanas que actuo"));
        choose(child<QComboBox>(&d, "cmbAduana"), "AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO");
        child<QLineEdit>(&d, "txtPedimento")->clear();
        click(&d, "cmdAceptar");
        QCOMPARE(messages.texts().last(), QString("El Pedimento no puede estar vacio"));
        QCOMPARE(d.focusWidget()->objectName(), QString("txtPedimento"));
        typeText(child<QLineEdit>(&d, "txtPedimento"), "30a4");
        QCOMPARE(child<QLineEdit>(&d, "txtPedimento")->text(), QString("30A4"));
        click(&d, "cmdAceptar");
        QCOMPARE(messages.texts().last(), QString::fromUtf8("Formato de Pedimento invalido, escriba solo números"));
        QVERIFY(d.result() != QDialog::Accepted);
        child<QLineEdit>(&d, "txtPedimento")->setText("0030400");
        date->setDate(QDate(2000, 3, 5));
        click(&d, "cmdAceptar");
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.fila(),
                 QStringList({" 470", "AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO", "0030400", "05/03/2000"}));
    }
    {
        // With no office in the list, any office will do.
        frmPedTramitados d(*base.db, {});
        choose(child<QComboBox>(&d, "cmbNoAduana"), " 810");
        child<QLineEdit>(&d, "txtPedimento")->setText("1");
        click(&d, "cmdAceptar");
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.fila().first(), QString(" 810"));
    }
}

QTEST_MAIN(TestApoderado)
#include "tst_apoderado.moc"
