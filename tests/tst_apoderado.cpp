#include "data/Store.h"
#include "lists/PaginaApoderado.h"
#include "platform/Database.h"
#include "platform/FileDialogs.h"
#include "representative/frmApoderado.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kCurp = QStringLiteral("LOTP751120HDFPRD02");
const QString kCurp2 = QStringLiteral("GOMA800101MDFRRR05");
const QString kCurp3 = QStringLiteral("RUIZ650303HGRZRN01");
const QString kAeropuerto = QStringLiteral("AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO");
const QString kLaredo = QStringLiteral("NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS");

// A representative who passes every check: type 2 with NTCL, or type 1 with offices 470 and 240 and a declaration
// at each.
Mandatario valido(const QString& curp, Mandato mandato) {
    Mandatario m = representative(curp, curp.left(10) + QStringLiteral("QW7"), QStringLiteral("PEDRO"), mandato);
    m.acreditacion = mandato == Mandato::Conforme ? 1 : 0;
    if (mandato == Mandato::Anterior) {
        const Aduana a470{470, kAeropuerto}, a240{240, kLaredo};
        m.aduanas = {a470, a240};
        m.pedimentos = {{a470, QStringLiteral("3001"), QDate(2000, 3, 5)},
                        {a240, QStringLiteral("3002"), QDate(1999, 2, 11)}};
    }
    return m;
}

struct Base {
    QTemporaryDir dir;
    std::unique_ptr<Database> db{openDatabase(dir.path())};
    Store store{*db};
    ScriptedMessages messages;
    // The dialog stores as page 2 has it store: curpAnterior is the CURP of the one corrected.
    void guardaComoPagina(frmApoderado& d, const std::optional<QString>& curpAnterior) {
        d.setGuarda([this, curpAnterior](const Mandatario& m, QWidget* w) {
            return guardaMandatario(store, curpAnterior, m, w);
        });
    }
};

QString focusName(QWidget* d) {
    return d->focusWidget() ? d->focusWidget()->objectName() : QString();
}

} // namespace

class TestApoderado : public QObject {
    Q_OBJECT

private slots:
    void init() { FileDialogs::clearAnswers(); }

    void checksInOrder_data();
    void checksInOrder();
    void officesAndDeclarationsAsValues();
    void refusalsKeepDialogOpen();
    void editReplacesExactlyHisRows();
    void valueStoredAndGivenBackExactly();
};

void TestApoderado::checksInOrder_data() {
    // One control spoilt in an otherwise valid representative: a box gets the value, a combo loses its choice, a
    // radio button is unchecked.
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
    add("10 otro rfc", 2, "txtRequerimiento", "/home/juan/GODE561231GR8.req",
        "El Requerimiento Electrónico se debe llamar igual al RFC", "cmdBuscar");
    // Declarations do not stand in for offices.
    add("11 aduanas", 1, "fgAduanasAct", "", "Debe existir almenos una Aduana donde ha actuado", "cmdNuevaAduana");
    add("12 acreditacion", 2, "optNTCL", "", "Debe elegir el tipo de acreditación", "optNTCL");
    add("13 operando", 2, "optSi", "", "Debe elegir si el Manandatario o Representante se encuentra Operando", "optSi");
}

void TestApoderado::checksInOrder() {
    QFETCH(int, mandato);
    QFETCH(QString, control);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    Base base;
    Mandatario m = valido(kCurp, mandatoDeCodigo(mandato));
    if (control == "fgAduanasAct")
        m.aduanas.clear();
    frmApoderado d(base.store, m);
    d.show();
    QWidget* spoilt = child<QWidget>(&d, qPrintable(control));
    if (auto* box = qobject_cast<QLineEdit*>(spoilt)) {
        box->setText(value);
    } else if (auto* combo = qobject_cast<QComboBox*>(spoilt)) {
        combo->setCurrentIndex(-1);
    } else if (auto* option = qobject_cast<QRadioButton*>(spoilt)) {
        option->setAutoExclusive(false);
        option->setChecked(false);
    }
    base.guardaComoPagina(d, std::nullopt);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts(), QStringList({message}));
    QCOMPARE(int(base.messages.shown.first().icon), int(MessageIcon::Information));
    QCOMPARE(focusName(&d), focus);
    QVERIFY(d.result() != QDialog::Accepted);
    QVERIFY(!base.db->exists("select * from Mandatarios"));
}

void TestApoderado::officesAndDeclarationsAsValues() {
    Base base;
    ModalDriver driver;
    Mandatario m = valido(kCurp, Mandato::Anterior);
    frmApoderado d(base.store, m);
    d.show();
    // An office through its dialog, a listed one refused; then a declaration, at a listed office only.
    driver.then([](QDialog* small) {
        child<QComboBox>(small, "cmbNoAduana")->setCurrentText(" 240");
        press(small, "cmdAceptar");
        child<QComboBox>(small, "cmbAduana")->setCurrentText("MANZANILLO, MANZANILLO, COLIMA");
        press(small, "cmdAceptar");
    });
    press(&d, "cmdNuevaAduana");
    driver.then([](QDialog* small) {
        child<QComboBox>(small, "cmbNoAduana")->setCurrentText(" 160");
        typeText(child<QLineEdit>(small, "txtPedimento"), "0042");
        // A typed date past the last day of the declarations is refused after every other check.
        QTest::keyClicks(child<QDateEdit>(small, "dtpFPed"), "02/01/2001");
        child<QComboBox>(small, "cmbNoAduana")->setCurrentText(" 200");
        press(small, "cmdAceptar");
        child<QComboBox>(small, "cmbNoAduana")->setCurrentText(" 160");
        press(small, "cmdAceptar");
        child<QDateEdit>(small, "dtpFPed")->setDate(QDate(1998, 1, 2));
        press(small, "cmdAceptar");
    });
    press(&d, "cmdNuevoPed");
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(base.messages.texts(),
             QStringList({"Ya existe la aduana en la lista de aduanas que actuo",
                          "No existe la aduana del pedimento en la lista de aduanas que actuo", "Fecha no valida"}));
    const Aduana a160{160, "MANZANILLO, MANZANILLO, COLIMA"};
    m.aduanas << a160;
    m.pedimentos << Pedimento{a160, "0042", QDate(1998, 1, 2)};
    QCOMPARE(d.mandatario(), m);

    // Removing an office takes its declarations along; a refused confirmation removes nothing.
    child<QTableView>(&d, "fgAduanasAct")->selectRow(0);
    base.messages.answerNext(false);
    press(&d, "cmdBorrarAduana");
    QCOMPARE(d.mandatario(), m);
    press(&d, "cmdBorrarAduana");
    QCOMPARE(base.messages.texts().last(),
             QString("¿DESEA BORRAR LA ADUANA SELECCIONADA Y LOS PEDIMENTOS RELACIONADOS?"));
    m.aduanas.removeFirst();
    m.pedimentos.removeFirst();
    QCOMPARE(d.mandatario(), m);
    QCOMPARE(gridRows(&d, "fgAduanasAct"), QStringList({" 240|" + kLaredo, " 160|MANZANILLO, MANZANILLO, COLIMA"}));
    child<QTableView>(&d, "fgPedTramitados")->selectRow(1);
    press(&d, "cmdBorrarPed");
    QCOMPARE(base.messages.texts().last(), QString("¿DESEA BORRAR EL PERIODO SELECCIONADO?"));
    m.pedimentos.removeLast();
    QCOMPARE(d.mandatario(), m);
    QCOMPARE(gridRows(&d, "fgPedTramitados"), QStringList({" 240|" + kLaredo + "|3002|11/02/1999"}));
}

void TestApoderado::editReplacesExactlyHisRows() {
    Base base;
    Database& db = *base.db;
    base.store.guardaMandatario({}, valido(kCurp2, Mandato::Anterior));
    base.store.guardaMandatario({}, valido(kCurp, Mandato::Anterior));
    db.exec("insert into Periodos_H_MM values (?,?,?,?,?)", {kCurp, 470, 12, QDate(2001, 1, 1), QDate(2002, 1, 1)});
    QStringList before = dumpAll(db);
    // A corrected CURP carries everything he had, his periods with other brokers included, in the same order; the
    // other representative is untouched.
    Mandatario m = *base.store.mandatario(kCurp);
    m.curp = kCurp3;
    QVERIFY(guardaMandatario(base.store, kCurp, m, nullptr));
    QCOMPARE(dumpAll(db), before.replaceInStrings(kCurp, kCurp3));
    // Now a type 2: his offices and declarations go, the other's stay.
    m.mandato = Mandato::Conforme;
    m.acreditacion = 2;
    QVERIFY(guardaMandatario(base.store, kCurp3, m, nullptr));
    m.aduanas.clear();
    m.pedimentos.clear();
    QCOMPARE(*base.store.mandatario(kCurp3), m);
    QCOMPARE(base.store.mandatario(kCurp2)->pedimentos.size(), 2);
}

void TestApoderado::refusalsKeepDialogOpen() {
    Base base;
    Database& db = *base.db;
    base.store.guardaMandatario({}, valido(kCurp, Mandato::Anterior));
    base.store.guardaMandatario({}, valido(kCurp2, Mandato::Conforme));
    const QStringList before = dumpAll(db);
    const QString duplicate = "YA EXISTE EL MANDATARIO EN LA BASE DE DATOS.";
    // A new one may not take a stored CURP.
    frmApoderado nuevo(base.store, valido(kCurp2, Mandato::Conforme));
    base.guardaComoPagina(nuevo, std::nullopt);
    press(&nuevo, "cmdAceptar");
    QCOMPARE(base.messages.texts(), QStringList({duplicate}));
    QCOMPARE(int(base.messages.shown.last().icon), int(MessageIcon::None));
    // A corrected one may not take another's CURP. The engine refuses the declarations, which come after every
    // delete and most inserts; it is told, and the tables stay as they were.
    db.exec("create trigger falla before insert on Pedimentos_MM begin select raise(abort, 'pedimento forzado'); end");
    frmApoderado d(base.store, base.store.mandatario(kCurp));
    base.guardaComoPagina(d, kCurp);
    child<QLineEdit>(&d, "txtNombre")->setText("PEDRO PABLO");
    child<QLineEdit>(&d, "txtCURP")->setText(kCurp2);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts().last(), duplicate);
    child<QLineEdit>(&d, "txtCURP")->setText(kCurp3);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.shown.size(), 3);
    QVERIFY(base.messages.texts().last().startsWith("No se pudo guardar el Mandatario"));
    QVERIFY(base.messages.texts().last().contains("pedimento forzado"));
    QCOMPARE(int(base.messages.shown.last().icon), int(MessageIcon::Exclamation));
    QVERIFY(nuevo.result() != QDialog::Accepted && d.result() != QDialog::Accepted);
    QCOMPARE(dumpAll(db), before);
    // Once the engine takes it again, the same window stores what was typed; his own CURP is no duplicate.
    db.exec("drop trigger falla");
    child<QLineEdit>(&d, "txtCURP")->setText(kCurp);
    press(&d, "cmdAceptar");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(base.store.mandatario(kCurp)->nombre, QString("PEDRO PABLO"));
}

void TestApoderado::valueStoredAndGivenBackExactly() {
    Base base;
    Mandatario m = valido(kCurp, Mandato::Anterior);
    m.apPaterno = "D'ANGELO";
    m.particular.calle = "O'HIGGINS'); DELETE FROM MANDATARIOS; --";
    m.requerimiento = "/home/o'brien/LOTP751120QW7.req";
    QVERIFY(guardaMandatario(base.store, std::nullopt, m, nullptr));
    QCOMPARE(*base.store.mandatario(kCurp), m);
    // Opened on him, the dialog gives him back whole; what the user changes is what changes.
    frmApoderado d(base.store, base.store.mandatario(kCurp));
    QCOMPARE(gridRows(&d, "fgPedTramitados").first(), " 470|" + kAeropuerto + "|3001|05/03/2000");
    // An accreditation chosen while the type was 2 is not kept for a type 1.
    child<QRadioButton>(&d, "optExamen")->setChecked(true);
    child<QRadioButton>(&d, "optNo")->setChecked(true);
    typeText(child<QLineEdit>(&d, "txtFiscalNoInt"), "b");
    press(&d, "cmdAceptar");
    QCOMPARE(d.Respuesta_Apoderado(), QString("A"));
    m.operando = 0;
    m.fiscal.noInt = "4BB";
    QCOMPARE(d.mandatario(), m);
}

QTEST_MAIN(TestApoderado)
#include "tst_apoderado.moc"
