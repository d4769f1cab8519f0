#include "data/Store.h"
#include "platform/Database.h"
#include "platform/FileDialogs.h"
#include "representative/frmAduanaAct.h"
#include "representative/frmApoderado.h"
#include "representative/frmPedTramitados.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QDateEdit>
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
const QString kTablas[] = {QStringLiteral("Mandatarios"), QStringLiteral("Domicilios_MM"), QStringLiteral("Aduanas_MM"),
                           QStringLiteral("Pedimentos_MM"), QStringLiteral("Periodos_H_MM")};
const QString kAeropuerto = QStringLiteral("AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO");
const QString kLaredo = QStringLiteral("NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS");

struct Base {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    Store store;
    ScriptedMessages messages;
    Base() : db(openDatabase(dir.path())), store(*db) {}
    // Stored as the dialog stores him: type 1 with offices 470 and 240 and five declarations, type 2 with "Examen".
    void seed(const QString& curp, const QString& rfc, int mandato) {
        Mandatario m = representative(curp, rfc, QStringLiteral("PEDRO"), mandatoDeCodigo(mandato));
        m.acreditacion = mandato == 2 ? 2 : 0;
        if (mandato == 1) {
            const Aduana a470{470, {}}, a240{240, {}};
            m.aduanas = {a470, a240};
            m.pedimentos = {{a470, QStringLiteral("3001"), QDate(2000, 1, 10)},
                            {a240, QStringLiteral("3002"), QDate(1999, 2, 11)},
                            {a470, QStringLiteral("3003"), QDate(2000, 3, 5)},
                            {a240, QStringLiteral("3004"), QDate(1998, 4, 12)},
                            {a470, QStringLiteral("3005"), QDate(2000, 5, 13)}};
        }
        store.guardaMandatario({}, m);
    }
};

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

template <typename T> T* the(QWidget* d, const QString& name) {
    return child<T>(d, name.toLatin1().constData());
}

void choose(QComboBox* combo, const QString& text) {
    const int i = combo->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    combo->setCurrentIndex(i);
}

// A capture that passes every check: type 2 with NTCL, or type 1 (offices still to be added).
void fillValid(QDialog* d, int mandato, const QString& curp = kCurp, const QString& rfc = kRfc) {
    the<QComboBox>(d, "cmbMandato")->setCurrentIndex(mandato - 1);
    const QList<QPair<QString, QString>> texts = {
        {"Nombre", "JUAN"}, {"ApPaterno", "PEREZ"}, {"ApMaterno", "SOLIS"}, {"CURP", curp}, {"RFC", rfc}};
    for (const auto& [name, text] : texts)
        the<QLineEdit>(d, "txt" + name)->setText(text);
    the<QRadioButton>(d, "optSi")->setChecked(true);
    for (const QString& prefix : {QString(), QStringLiteral("Fiscal")}) {
        const QList<QPair<QString, QString>> address = {{"Calle", prefix.isEmpty() ? "MORELOS" : "HIDALGO"},
                                                        {"NoExt", "S/N"},
                                                        {"NoInt", "2"},
                                                        {"Colonia", "CENTRO"},
                                                        {"CP", "39000"},
                                                        {"Telefono", "7471234567"},
                                                        {"Fax", "7477654321"}};
        for (const auto& [stem, text] : address)
            the<QLineEdit>(d, "txt" + prefix + stem)->setText(text);
        choose(the<QComboBox>(d, "cmb" + prefix + "EntFed"), QStringLiteral("GUERRERO"));
        choose(the<QComboBox>(d, "cmb" + prefix + "MDeleg"), QStringLiteral("AHUACUOTZINGO"));
    }
    if (mandato == 2)
        the<QRadioButton>(d, "optNTCL")->setChecked(true);
    FileDialogs::queueAnswer(QStringLiteral("/home/juan/") + rfc + QStringLiteral(".req"));
    press(d, "cmdBuscar");
}

// Adds an office through frmAduanaAct, or with a declaration number a declaration through frmPedTramitados.
void addRow(ModalDriver& driver, QDialog* d, const QString& number, const QString& pedimento = {},
            const QDate& date = {}) {
    driver.then([=](QDialog* small) {
        QCOMPARE(small->objectName(), QString(pedimento.isEmpty() ? "frmAduanaAct" : "frmPedTramitados"));
        choose(child<QComboBox>(small, "cmbNoAduana"), number);
        if (!pedimento.isEmpty()) {
            typeText(child<QLineEdit>(small, "txtPedimento"), pedimento);
            child<QDateEdit>(small, "dtpFPed")->setDate(date);
        }
        press(small, "cmdAceptar");
    });
    press(d, pedimento.isEmpty() ? "cmdNuevaAduana" : "cmdNuevoPed");
}

void selectGridRow(QDialog* d, const char* name, int row) {
    child<QTableWidget>(d, name)->selectRow(row);
}

QString focusName(QWidget* d) {
    return d->focusWidget() ? d->focusWidget()->objectName() : QString();
}

} // namespace

class TestApoderado : public QObject {
    Q_OBJECT

private slots:
    void init() { FileDialogs::clearAnswers(); }

    void controlsAsDesigned();
    void framesAndPickerFollowMandate();
    void fullCaptureOfTypeOne();
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
    void removedRowsAndCancelWriteNothing();
    void storedValueNotOfferedMustBeChosen_data();
    void storedValueNotOfferedMustBeChosen();
    void editOfImportedWithoutCurpReplacesHim();
    void officeDialogRules();
    void declarationDialogRules();
};

void TestApoderado::controlsAsDesigned() {
    Base base;
    frmApoderado d(base.store, "N");
    auto* mandato = child<QComboBox>(&d, "cmbMandato");
    QCOMPARE(mandato->currentIndex(), -1);
    QCOMPARE(mandato->count(), 2);
    QCOMPARE(mandato->itemText(1), QString("Conforme 2.13.11 (Posterior 01/01/2001)"));

    const auto limitedInCapitals = [&](const QString& name, int length) {
        auto* box = the<QLineEdit>(&d, name);
        QCOMPARE(box->maxLength(), length);
        typeText(box, QString::fromUtf8("garcía ñ"));
        QCOMPARE(box->text(), QString::fromUtf8("GARCÍA Ñ").left(length));
    };
    const QList<QPair<QString, int>> identity = {
        {"Nombre", 25}, {"ApPaterno", 25}, {"ApMaterno", 25}, {"CURP", 18}, {"RFC", 13}};
    const QList<QPair<QString, int>> address = {{"Calle", 100}, {"NoExt", 10},    {"NoInt", 10}, {"Colonia", 100},
                                                {"CP", 5},      {"Telefono", 25}, {"Fax", 25}};
    for (const auto& [stem, length] : identity)
        limitedInCapitals("txt" + stem, length);
    for (const auto& [stem, length] : address) {
        limitedInCapitals("txt" + stem, length);
        limitedInCapitals("txtFiscal" + stem, length);
    }
    QVERIFY(!child<QLineEdit>(&d, "txtRequerimiento")->isEnabled());
    // The two address blocks fill their own municipalities only.
    QCOMPARE(child<QComboBox>(&d, "cmbEntFed")->count(), 32);
    choose(child<QComboBox>(&d, "cmbFiscalEntFed"), "GUERRERO");
    QCOMPARE(child<QComboBox>(&d, "cmbFiscalCveEntFed")->currentText(), QString("12"));
    QCOMPARE(child<QComboBox>(&d, "cmbFiscalMDeleg")->count(), 85);
    QCOMPARE(child<QComboBox>(&d, "cmbMDeleg")->count(), 0);

    QCOMPARE(gridRows(&d, "fgAduanasAct"), QStringList());
    for (const char* name : {"cmdBorrarAduana", "cmdNuevoPed", "cmdBorrarPed"})
        QVERIFY2(!child<QPushButton>(&d, name)->isEnabled(), name);
    for (const char* name : {"optSi", "optNo", "optNTCL", "optExamen"})
        QVERIFY2(!child<QRadioButton>(&d, name)->isChecked(), name);
}

void TestApoderado::framesAndPickerFollowMandate() {
    Base base;
    frmApoderado d(base.store, "N");
    d.show();
    const auto shown = [&](const char* name) { return child<QWidget>(&d, name)->isVisible(); };
    const char* typeOne[] = {"frAduanasAct", "frPedTramitados", "lblRequerimiento", "txtRequerimiento", "cmdBuscar"};
    for (const char* name : typeOne)
        QVERIFY2(!shown(name), name);
    QVERIFY(!shown("frAcreditacion"));
    auto* mandato = child<QComboBox>(&d, "cmbMandato");
    mandato->setCurrentIndex(0);
    QVERIFY(!shown("frAcreditacion"));
    for (const char* name : typeOne)
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

    auto* req = child<QLineEdit>(&d, "txtRequerimiento");
    // The box is filled by the picker alone; a long path is kept whole, or the file could not be found again.
    const QString longPath = "/home/" + QString(120, QLatin1Char('c')) + "/LOTP751120QW7.req";
    FileDialogs::queueAnswer(longPath);
    press(&d, "cmdBuscar");
    QCOMPARE(req->text(), longPath);
    QCOMPARE(FileDialogs::lastFolder(), homeFolder());
    QCOMPARE(FileDialogs::lastFilter(), QString("Archivo_llave (*.req)"));
    FileDialogs::queueAnswer(QString());
    press(&d, "cmdBuscar");
    QCOMPARE(req->text(), longPath);
}

void TestApoderado::fullCaptureOfTypeOne() {
    Base base;
    ModalDriver driver;
    frmApoderado d(base.store, "N");
    d.show();
    fillValid(&d, 1);
    addRow(driver, &d, " 240");
    addRow(driver, &d, " 470");
    addRow(driver, &d, " 470", "3004567", QDate(2000, 3, 5));
    addRow(driver, &d, " 240", "0001234", QDate(1999, 12, 31));
    addRow(driver, &d, " 470", "42", QDate(1998, 1, 2));
    QCOMPARE(gridRows(&d, "fgAduanasAct"), QStringList({" 240|" + kLaredo, " 470|" + kAeropuerto}));
    QCOMPARE(gridRows(&d, "fgPedTramitados").first(), " 470|" + kAeropuerto + "|3004567|05/03/2000");
    // An accreditation chosen before the type settled on 1 is not stored.
    child<QRadioButton>(&d, "optExamen")->setChecked(true);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts(), QStringList());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(d.Respuesta_Apoderado(), QString("A"));
    QCOMPARE(d.curpGuardado(), kCurp);

    // Numbers are stored as numbers, dates as ISO text.
    QCOMPARE(tableRows(*base.db, "Mandatarios"),
             QStringList({kCurp + "|" + kRfc + "|JUAN|PEREZ|SOLIS|#1|/home/juan/LOTP751120QW7.req|#0|#1"}));
    QCOMPARE(tableRows(*base.db, "Domicilios_MM"),
             QStringList({kCurp + "|12|#2|MORELOS|S/N|2|CENTRO|39000|7471234567|7477654321|#1",
                          kCurp + "|12|#2|HIDALGO|S/N|2|CENTRO|39000|7471234567|7477654321|#2"}));
    QCOMPARE(tableRows(*base.db, "Aduanas_MM"), QStringList({kCurp + "|#240", kCurp + "|#470"}));
    QCOMPARE(tableRows(*base.db, "Pedimentos_MM"),
             QStringList({kCurp + "|#470|3004567|2000-03-05", kCurp + "|#240|0001234|1999-12-31",
                          kCurp + "|#470|42|1998-01-02"}));
}

void TestApoderado::editChangesCurp() {
    Base base;
    Database& db = *base.db;
    base.seed(kCurp2, kRfc2, 2);
    base.seed(kCurp, kRfc, 1);
    db.exec("insert into Periodos_H_MM values (?,?,?,?,?)", {kCurp, 470, 12, QDate(2001, 1, 1), QDate(2002, 1, 1)});
    QStringList before = dumpAll(db);
    frmApoderado d(base.store, "E", kCurp);
    QCOMPARE(child<QComboBox>(&d, "cmbMDeleg")->currentText(), QString::fromUtf8("ACAPULCO DE JUÁREZ"));
    QCOMPARE(gridRows(&d, "fgAduanasAct"), QStringList({" 470|" + kAeropuerto, " 240|" + kLaredo}));
    QCOMPARE(gridRows(&d, "fgPedTramitados")[2], " 470|" + kAeropuerto + "|3003|05/03/2000");
    child<QLineEdit>(&d, "txtCURP")->setText(kCurp3);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts(), QStringList());
    QCOMPARE(d.curpGuardado(), kCurp3);
    // Everything he had, his periods with other brokers included, is loaded back and stored again under the
    // corrected CURP, in the same order; the other representative is untouched.
    QCOMPARE(dumpAll(db), before.replaceInStrings(kCurp, kCurp3));
}

void TestApoderado::editTypeOneToTypeTwo() {
    Base base;
    Database& db = *base.db;
    base.seed(kCurp, kRfc, 1);
    base.seed(kCurp2, kRfc2, 1);
    frmApoderado d(base.store, "E", kCurp);
    child<QComboBox>(&d, "cmbMandato")->setCurrentIndex(1);
    child<QRadioButton>(&d, "optNTCL")->setChecked(true);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts(), QStringList());
    QCOMPARE(rows(db, "select Mandato, Acreditacion, Operando from Mandatarios where CURP=?", {kCurp}),
             QStringList({"2|1|1"}));
    QCOMPARE(rows(db, "select CURP, count(*) from Aduanas_MM group by CURP"), QStringList({kCurp2 + "|2"}));
    QCOMPARE(rows(db, "select CURP, count(*) from Pedimentos_MM group by CURP"), QStringList({kCurp2 + "|5"}));

    // Back to type 1: the grid rows it shows are what is stored.
    frmApoderado back(base.store, "E", kCurp);
    QCOMPARE(gridRows(&back, "fgAduanasAct"), QStringList());
    back.show();
    child<QComboBox>(&back, "cmbMandato")->setCurrentIndex(0);
    ModalDriver driver;
    addRow(driver, &back, " 160");
    press(&back, "cmdAceptar");
    QCOMPARE(base.messages.texts(), QStringList());
    QCOMPARE(rows(db, "select Mandato, Acreditacion from Mandatarios where CURP=?", {kCurp}), QStringList({"1|0"}));
    QCOMPARE(rows(db, "select NoAduana from Aduanas_MM where CURP=?", {kCurp}), QStringList({"160"}));
}

void TestApoderado::importedOfficesOfTypeTwo() {
    Base base;
    Database& db = *base.db;
    base.seed(kCurp, kRfc, 1);
    db.exec("update Mandatarios set Mandato=2, Acreditacion=1");
    // Loaded so that choosing type 1 shows the rows he already has, and they are not stored twice.
    frmApoderado d(base.store, "E", kCurp);
    QCOMPARE(gridRows(&d, "fgAduanasAct").size(), 2);
    QVERIFY(child<QPushButton>(&d, "cmdNuevoPed")->isEnabled());
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts(), QStringList());
    // A type 2 representative keeps no offices or declarations.
    QVERIFY(!db.exists("select * from Aduanas_MM"));
    QVERIFY(!db.exists("select * from Pedimentos_MM"));
}

void TestApoderado::duplicateCurpRefused() {
    Base base;
    Database& db = *base.db;
    base.seed(kCurp, kRfc, 2);
    base.seed(kCurp2, kRfc2, 2);
    const QStringList before = dumpAll(db);
    const QStringList refused = {"YA EXISTE EL MANDATARIO EN LA BASE DE DATOS."};
    {
        frmApoderado d(base.store, "N");
        d.show();
        fillValid(&d, 2, kCurp2, kRfc2);
        child<QWidget>(&d, "txtNombre")->setFocus();
        press(&d, "cmdAceptar");
        QCOMPARE(base.messages.texts(), refused);
        QCOMPARE(int(base.messages.shown.last().icon), int(MessageIcon::None));
        QCOMPARE(focusName(&d), QString("txtNombre"));
        QVERIFY(d.result() != QDialog::Accepted);
    }
    base.messages.shown.clear();
    frmApoderado d(base.store, "E", kCurp);
    child<QLineEdit>(&d, "txtCURP")->setText(kCurp2);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts(), refused);
    QVERIFY(d.result() != QDialog::Accepted);
    QCOMPARE(dumpAll(db), before);
    // Going back to his own CURP is no duplicate.
    child<QLineEdit>(&d, "txtCURP")->setText(kCurp);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts(), refused);
    QCOMPARE(d.result(), int(QDialog::Accepted));
}

void TestApoderado::eachCheckFailingAlone_data() {
    // One control spoilt in an otherwise valid capture: a box gets the value, a combo loses its choice, a radio
    // button is unchecked. Type 1 is spoilt by its missing office.
    QTest::addColumn<int>("mandato");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const auto add = [](const char* row, int mandato, const char* control, const char* value, const char* message,
                        const char* focus) {
        QTest::newRow(row) << mandato << QString(control) << QString(value) << QString(message) << QString(focus);
    };
    add("1 nombre", 2, "txtNombre", "   ", "Nombre no puede estar vacio", "txtNombre");
    add("2 paterno", 2, "txtApPaterno", "", "Ap. Paterno no puede estar vacio", "txtApPaterno");
    add("3 materno", 2, "txtApMaterno", "", "Ap. Materno no puede estar vacio", "txtApMaterno");
    add("4 curp", 2, "txtCURP", "LOTP751120HDFPRD0", "CURP no valido", "txtCURP");
    add("5 rfc", 2, "txtRFC", "LOTP751320QW7", "RFC no valido", "txtRFC");
    add("6 particular", 2, "txtCalle", "", "Calle no puede estar vacio", "txtCalle");
    add("7 fiscal", 2, "cmbFiscalMDeleg", "", "Mpio. o Delegación no puede estar vacio", "cmbFiscalMDeleg");
    add("8 mandato", 2, "cmbMandato", "", "Tipo de Mandato no puede estar vacio", "cmbMandato");
    add("9 requerimiento", 2, "txtRequerimiento", "", "El Requerimiento Electrónico no puede estar vacio", "cmdBuscar");
    add("10 nombre del requerimiento", 2, "txtRequerimiento", "/home/juan/GODE561231GR8.req",
        "El Requerimiento Electrónico se debe llamar igual al RFC", "cmdBuscar");
    add("11 aduanas", 1, "", "", "Debe existir almenos una Aduana donde ha actuado", "cmdNuevaAduana");
    add("12 acreditacion", 2, "optNTCL", "", "Debe elegir el tipo de acreditación", "optNTCL");
    add("13 operando", 2, "optSi", "", "Debe elegir si el Manandatario o Representante se encuentra Operando", "optSi");
}

void TestApoderado::eachCheckFailingAlone() {
    QFETCH(int, mandato);
    QFETCH(QString, control);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    Base base;
    ModalDriver driver;
    frmApoderado d(base.store, "N");
    d.show();
    fillValid(&d, mandato);
    QWidget* spoilt = control.isEmpty() ? nullptr : the<QWidget>(&d, control);
    if (auto* box = qobject_cast<QLineEdit*>(spoilt)) {
        box->setText(value);
    } else if (auto* combo = qobject_cast<QComboBox*>(spoilt)) {
        combo->setCurrentIndex(-1);
    } else if (auto* option = qobject_cast<QRadioButton*>(spoilt)) {
        option->setAutoExclusive(false);
        option->setChecked(false);
    }
    if (mandato == 1) {
        // Declarations do not stand in for offices. cmdNuevoPed opens once an office is there; the office is taken
        // off again, and a declaration added afterwards, at any office since the list has none.
        addRow(driver, &d, " 240");
        addRow(driver, &d, " 240", "123", QDate(2000, 1, 1));
        selectGridRow(&d, "fgAduanasAct", 0);
        base.messages.answerNext(true);
        press(&d, "cmdBorrarAduana");
        QCOMPARE(gridRows(&d, "fgPedTramitados"), QStringList());
        addRow(driver, &d, " 470", "124", QDate(2000, 1, 1));
        QCOMPARE(gridRows(&d, "fgPedTramitados").size(), 1);
        base.messages.shown.clear();
    }
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts(), QStringList({message}));
    QCOMPARE(int(base.messages.shown.first().icon), int(MessageIcon::Information));
    QCOMPARE(focusName(&d), focus);
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
    frmApoderado d(base.store, "N");
    fillValid(&d, 2);
    FileDialogs::queueAnswer(path);
    press(&d, "cmdBuscar");
    press(&d, "cmdAceptar");
    QCOMPARE(d.result() == QDialog::Accepted, accepted);
    QCOMPARE(rows(*base.db, "select Requerimiento from Mandatarios"), accepted ? QStringList({path}) : QStringList());
}

void TestApoderado::apostrophesStoredAndShownBack() {
    Base base;
    frmApoderado d(base.store, "N");
    fillValid(&d, 2);
    child<QLineEdit>(&d, "txtApPaterno")->clear();
    typeText(child<QLineEdit>(&d, "txtApPaterno"), "d'angelo");
    child<QLineEdit>(&d, "txtCalle")->setText("O'HIGGINS'); delete from Mandatarios; --");
    const QString path = "/home/o'brien/LOTP751120QW7.req";
    FileDialogs::queueAnswer(path);
    press(&d, "cmdBuscar");
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts(), QStringList());
    QCOMPARE(rows(*base.db, "select ApPaterno, Requerimiento from Mandatarios"), QStringList({"D'ANGELO|" + path}));
    frmApoderado back(base.store, "E", kCurp);
    QCOMPARE(child<QLineEdit>(&back, "txtApPaterno")->text(), QString("D'ANGELO"));
    QCOMPARE(child<QLineEdit>(&back, "txtCalle")->text(), QString("O'HIGGINS'); DELETE FROM MANDATARIOS; --"));
    QCOMPARE(child<QLineEdit>(&back, "txtRequerimiento")->text(), path);
}

void TestApoderado::failureMidEditLeavesTablesAsTheyWere() {
    Base base;
    Database& db = *base.db;
    base.seed(kCurp, kRfc, 1);
    base.seed(kCurp2, kRfc2, 2);
    db.exec("insert into Periodos_H_MM values (?,?,?,?,?)", {kCurp, 470, 12, QDate(2001, 1, 1), QDate(2002, 1, 1)});
    const QStringList before = dumpAll(db);
    // The engine refuses the declarations, which come after every delete and most inserts.
    db.exec("create trigger falla before insert on Pedimentos_MM begin select raise(abort, 'pedimento forzado'); end");
    frmApoderado d(base.store, "E", kCurp);
    child<QLineEdit>(&d, "txtNombre")->setText("PEDRO PABLO");
    child<QLineEdit>(&d, "txtCURP")->setText(kCurp3);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.shown.size(), 1);
    QVERIFY(base.messages.texts().first().startsWith("No se pudo guardar el Mandatario"));
    QVERIFY(base.messages.texts().first().contains("pedimento forzado"));
    QCOMPARE(int(base.messages.shown.first().icon), int(MessageIcon::Exclamation));
    QVERIFY(d.result() != QDialog::Accepted);
    QCOMPARE(dumpAll(db), before);

    // Once the engine takes it again, the same window stores what was typed.
    db.exec("drop trigger falla");
    press(&d, "cmdAceptar");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(rows(db, "select Nombre from Mandatarios where CURP=?", {kCurp3}), QStringList({"PEDRO PABLO"}));
}

void TestApoderado::removedRowsAndCancelWriteNothing() {
    Base base;
    base.seed(kCurp, kRfc, 1);
    const QStringList before = dumpAll(*base.db);
    frmApoderado d(base.store, "E", kCurp);
    // With rows but none selected, "Borrar" asks nothing and removes nothing.
    selectGridRow(&d, "fgAduanasAct", 0);
    child<QTableWidget>(&d, "fgAduanasAct")->clearSelection();
    press(&d, "cmdBorrarAduana");
    QCOMPARE(base.messages.texts(), QStringList());
    selectGridRow(&d, "fgAduanasAct", 0);
    base.messages.answerNext(false);
    press(&d, "cmdBorrarAduana");
    QCOMPARE(base.messages.texts(),
             QStringList({"¿DESEA BORRAR LA ADUANA SELECCIONADA Y LOS PEDIMENTOS RELACIONADOS?"}));
    QVERIFY(base.messages.shown.first().withCancel);
    QCOMPARE(gridRows(&d, "fgPedTramitados").size(), 5);

    selectGridRow(&d, "fgAduanasAct", 0);
    press(&d, "cmdBorrarAduana");
    QCOMPARE(gridRows(&d, "fgAduanasAct"), QStringList({" 240|" + kLaredo}));
    QCOMPARE(gridRows(&d, "fgPedTramitados"),
             QStringList({" 240|" + kLaredo + "|3002|11/02/1999", " 240|" + kLaredo + "|3004|12/04/1998"}));

    selectGridRow(&d, "fgPedTramitados", 1);
    press(&d, "cmdBorrarPed");
    QCOMPARE(base.messages.texts().last(), QString("¿DESEA BORRAR EL PERIODO SELECCIONADO?"));
    QCOMPARE(gridRows(&d, "fgPedTramitados"), QStringList({" 240|" + kLaredo + "|3002|11/02/1999"}));

    // The only office goes with its last declaration.
    selectGridRow(&d, "fgAduanasAct", 0);
    press(&d, "cmdBorrarAduana");
    QCOMPARE(gridRows(&d, "fgAduanasAct"), QStringList());
    QCOMPARE(gridRows(&d, "fgPedTramitados"), QStringList());

    // The buttons stay enabled once used; on an empty grid they ask nothing either.
    const qsizetype asked = base.messages.shown.size();
    press(&d, "cmdBorrarAduana");
    press(&d, "cmdBorrarPed");
    QCOMPARE(base.messages.shown.size(), asked);

    // Cancelled after all these changes: the stored rows keep every office and declaration.
    child<QLineEdit>(&d, "txtNombre")->setText("OTRO");
    press(&d, "cmdCancelar");
    QCOMPARE(d.Respuesta_Apoderado(), QString("C"));
    QCOMPARE(dumpAll(*base.db), before);
}

void TestApoderado::storedValueNotOfferedMustBeChosen_data() {
    // Imported data may hold values the dialog does not offer: nothing is chosen, so the user must choose.
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("result");
    const auto add = [](const char* row, const char* column, const QVariant& stored, const char* message,
                        const char* choice, const char* result) {
        QTest::newRow(row) << QString(column) << stored << QString(message) << QString(choice) << QString(result);
    };
    add("type 3", "Mandato", 3, "Tipo de Mandato no puede estar vacio", "cmbMandato", "2|2|1");
    add("no type", "Mandato", QVariant(), "Tipo de Mandato no puede estar vacio", "cmbMandato", "2|2|1");
    add("operando undefined", "Operando", 2, "Debe elegir si el Manandatario o Representante se encuentra Operando",
        "optNo", "2|2|0");
}

void TestApoderado::storedValueNotOfferedMustBeChosen() {
    QFETCH(QString, column);
    QFETCH(QVariant, stored);
    QFETCH(QString, message);
    QFETCH(QString, choice);
    QFETCH(QString, result);
    Base base;
    Database& db = *base.db;
    base.seed(kCurp, kRfc, 2);
    db.exec(QString("update Mandatarios set %1=?").arg(column), {stored});
    frmApoderado d(base.store, "E", kCurp);
    const QStringList before = dumpAll(db);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts(), QStringList({message}));
    QCOMPARE(dumpAll(db), before);
    if (auto* combo = qobject_cast<QComboBox*>(the<QWidget>(&d, choice)))
        combo->setCurrentIndex(1);
    else
        the<QRadioButton>(&d, choice)->setChecked(true);
    press(&d, "cmdAceptar");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(rows(db, "select Mandato, Acreditacion, Operando from Mandatarios"), QStringList({result}));
}

void TestApoderado::editOfImportedWithoutCurpReplacesHim() {
    Base base;
    Database& db = *base.db;
    // The previous version's data may hold a representative with no CURP; correcting him gives him one.
    base.seed(QStringLiteral(""), QStringLiteral(""), 1);
    db.exec("update Mandatarios set Requerimiento='', Operando=2");
    base.seed(kCurp2, kRfc2, 2);
    frmApoderado d(base.store, "E", QStringLiteral(""));
    QCOMPARE(gridRows(&d, "fgAduanasAct").size(), 2);
    fillValid(&d, 1);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts(), QStringList());
    QCOMPARE(d.result(), int(QDialog::Accepted));
    for (const QString& table : kTablas)
        QVERIFY2(!db.exists(QString("select * from %1 where CURP=''").arg(table)), qPrintable(table));
    QCOMPARE(rows(db, "select CURP from Mandatarios order by CURP"), QStringList({kCurp2, kCurp}));
    QCOMPARE(rows(db, "select NoAduana from Aduanas_MM where CURP=? order by rowid", {kCurp}),
             QStringList({"470", "240"}));
}

void TestApoderado::officeDialogRules() {
    Base base;
    frmAduanaAct d(base.store, {" 240", " 470"});
    auto* numbers = child<QComboBox>(&d, "cmbNoAduana");
    auto* names = child<QComboBox>(&d, "cmbAduana");
    QCOMPARE(numbers->count(), 50);
    QCOMPARE(numbers->currentIndex(), -1);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts(), QStringList({"Debe elegir la Aduana"}));
    QVERIFY(d.result() != QDialog::Accepted);

    choose(numbers, " 240");
    QCOMPARE(names->currentText(), kLaredo);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts().last(), QString("Ya existe la aduana en la lista de aduanas que actuo"));
    QVERIFY(d.result() != QDialog::Accepted);

    choose(names, "MANZANILLO, MANZANILLO, COLIMA");
    QCOMPARE(numbers->currentText(), QString(" 160"));
    press(&d, "cmdAceptar");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(d.fila(), QStringList({" 160", "MANZANILLO, MANZANILLO, COLIMA"}));
    QCOMPARE(base.messages.shown.size(), 2);
}

void TestApoderado::declarationDialogRules() {
    Base base;
    const auto last = [&] { return base.messages.texts().value(base.messages.texts().size() - 1); };
    frmPedTramitados d(base.store, {" 240", " 470"});
    auto* date = child<QDateEdit>(&d, "dtpFPed");
    auto* pedimento = child<QLineEdit>(&d, "txtPedimento");
    // Today lies after the last day offered, so the picker opens on it.
    QCOMPARE(date->date(), QDate(2000, 12, 31));
    date->setDate(QDate(2001, 1, 1));
    QCOMPARE(date->date(), QDate(2000, 12, 31));
    QCOMPARE(pedimento->maxLength(), 10);

    typeText(pedimento, "3004567");
    press(&d, "cmdAceptar");
    QCOMPARE(last(), QString("Debe elegir la Aduana"));
    choose(child<QComboBox>(&d, "cmbNoAduana"), " 160");
    press(&d, "cmdAceptar");
    QCOMPARE(last(), QString("No existe la aduana del pedimento en la lista de aduanas que actuo"));
    choose(child<QComboBox>(&d, "cmbAduana"), kAeropuerto);
    pedimento->clear();
    press(&d, "cmdAceptar");
    QCOMPARE(last(), QString("El Pedimento no puede estar vacio"));
    QCOMPARE(focusName(&d), QString("txtPedimento"));
    typeText(pedimento, "30a4");
    press(&d, "cmdAceptar");
    QCOMPARE(last(), QString::fromUtf8("Formato de Pedimento invalido, escriba solo números"));
    QVERIFY(d.result() != QDialog::Accepted);
    pedimento->setText("0030400");
    date->setDate(QDate(2000, 3, 5));
    press(&d, "cmdAceptar");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(d.fila(), QStringList({" 470", kAeropuerto, "0030400", "05/03/2000"}));
}

QTEST_MAIN(TestApoderado)
#include "tst_apoderado.moc"
