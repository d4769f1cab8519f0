#include "data/Store.h"
#include "lists/PaginaApoderado.h"
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
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kCurp = QStringLiteral("LOTP751120HDFPRD02");
const QString kRfc = QStringLiteral("LOTP751120QW7");
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
    void valueGivenBackAsCaptured();
    void framesFollowMandate();
    void officesAndDeclarationsAsValues();
    void duplicateCurpRefused();
    void refusedStoreKeepsDialogOpen();
    void editReplacesExactlyHisRows();
    void apostrophesStoredAndReadBack();
    void officeDialogRules();
    void declarationDialogRules();
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

void TestApoderado::valueGivenBackAsCaptured() {
    Base base;
    // Opened on a representative, the dialog gives him back whole; what the user changes is what changes.
    Mandatario m = valido(kCurp, Mandato::Anterior);
    frmApoderado d(base.store, m);
    QCOMPARE(child<QComboBox>(&d, "cmbMDeleg")->currentText(), QString::fromUtf8("ACAPULCO DE JUÁREZ"));
    QCOMPARE(gridRows(&d, "fgPedTramitados").first(), " 470|" + kAeropuerto + "|3001|05/03/2000");
    // An accreditation chosen while the type was 2 is not kept for a type 1.
    child<QRadioButton>(&d, "optExamen")->setChecked(true);
    child<QRadioButton>(&d, "optNo")->setChecked(true);
    typeText(child<QLineEdit>(&d, "txtFiscalNoInt"), "b");
    press(&d, "cmdAceptar");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(d.Respuesta_Apoderado(), QString("A"));
    m.operando = 0;
    m.fiscal.noInt = "4BB";
    QCOMPARE(d.mandatario(), m);

    // A new one: the request file is what the picker gave, a long path kept whole.
    frmApoderado nuevo(base.store, std::nullopt);
    QCOMPARE(nuevo.mandatario().mandato, Mandato::Ninguno);
    const QString path = "/home/" + QString(120, QLatin1Char('c')) + "/LOTP751120QW7.req";
    FileDialogs::queueAnswer(path);
    press(&nuevo, "cmdBuscar");
    QCOMPARE(FileDialogs::lastFilter(), QString("Archivo_llave (*.req)"));
    FileDialogs::queueAnswer(QString());
    press(&nuevo, "cmdBuscar");
    QCOMPARE(nuevo.mandatario().requerimiento, path);
    press(&nuevo, "cmdCancelar");
    QCOMPARE(nuevo.Respuesta_Apoderado(), QString("C"));
}

void TestApoderado::framesFollowMandate() {
    Base base;
    frmApoderado d(base.store, std::nullopt);
    d.show();
    const auto shown = [&d] {
        QStringList names;
        for (const char* name : {"frAduanasAct", "frPedTramitados", "frAcreditacion", "txtRequerimiento", "cmdBuscar"})
            names << (child<QWidget>(&d, name)->isVisible() ? name : "-");
        return names.join(' ');
    };
    QCOMPARE(shown(), QString("- - - - -"));
    auto* mandato = child<QComboBox>(&d, "cmbMandato");
    mandato->setCurrentIndex(0);
    QCOMPARE(shown(), QString("frAduanasAct frPedTramitados - txtRequerimiento cmdBuscar"));
    child<QRadioButton>(&d, "optExamen")->setChecked(true);
    mandato->setCurrentIndex(1);
    QCOMPARE(shown(), QString("- - frAcreditacion txtRequerimiento cmdBuscar"));
    // The choices of a hidden frame stay as they were.
    mandato->setCurrentIndex(0);
    QVERIFY(child<QRadioButton>(&d, "optExamen")->isChecked());
}

void TestApoderado::officesAndDeclarationsAsValues() {
    Base base;
    ModalDriver driver;
    Mandatario m = valido(kCurp, Mandato::Anterior);
    frmApoderado d(base.store, m);
    d.show();
    // An office through its dialog, then a declaration at it.
    driver.then([](QDialog* small) {
        QCOMPARE(small->objectName(), QString("frmAduanaAct"));
        child<QComboBox>(small, "cmbAduana")->setCurrentText("MANZANILLO, MANZANILLO, COLIMA");
        press(small, "cmdAceptar");
    });
    press(&d, "cmdNuevaAduana");
    driver.then([](QDialog* small) {
        child<QComboBox>(small, "cmbNoAduana")->setCurrentText(" 160");
        typeText(child<QLineEdit>(small, "txtPedimento"), "0042");
        child<QDateEdit>(small, "dtpFPed")->setDate(QDate(1998, 1, 2));
        press(small, "cmdAceptar");
    });
    press(&d, "cmdNuevoPed");
    QCOMPARE(driver.unexpected, QStringList());
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

void TestApoderado::duplicateCurpRefused() {
    Base base;
    base.store.guardaMandatario({}, valido(kCurp, Mandato::Conforme));
    base.store.guardaMandatario({}, valido(kCurp2, Mandato::Conforme));
    const QStringList before = dumpAll(*base.db);
    const QStringList refused = {"YA EXISTE EL MANDATARIO EN LA BASE DE DATOS."};
    // A new one may not take a stored CURP.
    frmApoderado nuevo(base.store, valido(kCurp2, Mandato::Conforme));
    base.guardaComoPagina(nuevo, std::nullopt);
    press(&nuevo, "cmdAceptar");
    QCOMPARE(base.messages.texts(), refused);
    QCOMPARE(int(base.messages.shown.last().icon), int(MessageIcon::None));
    QVERIFY(nuevo.result() != QDialog::Accepted);
    // A corrected one may not take another's, and may keep his own.
    base.messages.shown.clear();
    frmApoderado d(base.store, valido(kCurp, Mandato::Conforme));
    base.guardaComoPagina(d, kCurp);
    child<QLineEdit>(&d, "txtCURP")->setText(kCurp2);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts(), refused);
    QVERIFY(d.result() != QDialog::Accepted);
    QCOMPARE(dumpAll(*base.db), before);
    child<QLineEdit>(&d, "txtCURP")->setText(kCurp);
    press(&d, "cmdAceptar");
    QCOMPARE(d.result(), int(QDialog::Accepted));
}

void TestApoderado::refusedStoreKeepsDialogOpen() {
    Base base;
    Database& db = *base.db;
    base.store.guardaMandatario({}, valido(kCurp, Mandato::Anterior));
    const QStringList before = dumpAll(db);
    // The engine refuses the declarations, which come after every delete and most inserts.
    db.exec("create trigger falla before insert on Pedimentos_MM begin select raise(abort, 'pedimento forzado'); end");
    frmApoderado d(base.store, base.store.mandatario(kCurp));
    base.guardaComoPagina(d, kCurp);
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
    QCOMPARE(base.store.mandatario(kCurp3)->nombre, QString("PEDRO PABLO"));
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

void TestApoderado::apostrophesStoredAndReadBack() {
    Base base;
    Mandatario m = valido(kCurp, Mandato::Conforme);
    m.apPaterno = "D'ANGELO";
    m.particular.calle = "O'HIGGINS'); DELETE FROM MANDATARIOS; --";
    m.requerimiento = "/home/o'brien/LOTP751120QW7.req";
    QVERIFY(guardaMandatario(base.store, std::nullopt, m, nullptr));
    QCOMPARE(*base.store.mandatario(kCurp), m);
    frmApoderado back(base.store, base.store.mandatario(kCurp));
    QCOMPARE(child<QLineEdit>(&back, "txtCalle")->text(), m.particular.calle);
    QCOMPARE(back.mandatario(), m);
}

void TestApoderado::officeDialogRules() {
    Base base;
    frmAduanaAct d(base.store, {{240, kLaredo}, {470, kAeropuerto}});
    auto* numbers = child<QComboBox>(&d, "cmbNoAduana");
    QCOMPARE(numbers->count(), 50);
    QCOMPARE(numbers->currentIndex(), -1);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts(), QStringList({"Debe elegir la Aduana"}));
    numbers->setCurrentText(" 240");
    QCOMPARE(child<QComboBox>(&d, "cmbAduana")->currentText(), kLaredo);
    press(&d, "cmdAceptar");
    QCOMPARE(base.messages.texts().last(), QString("Ya existe la aduana en la lista de aduanas que actuo"));
    QVERIFY(d.result() != QDialog::Accepted);
    child<QComboBox>(&d, "cmbAduana")->setCurrentText("MANZANILLO, MANZANILLO, COLIMA");
    QCOMPARE(numbers->currentText(), QString(" 160"));
    press(&d, "cmdAceptar");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(d.aduana(), Aduana({160, "MANZANILLO, MANZANILLO, COLIMA"}));
}

void TestApoderado::declarationDialogRules() {
    Base base;
    const auto last = [&] { return base.messages.texts().value(base.messages.texts().size() - 1); };
    frmPedTramitados d(base.store, {{240, kLaredo}, {470, kAeropuerto}});
    auto* date = child<QDateEdit>(&d, "dtpFPed");
    auto* pedimento = child<QLineEdit>(&d, "txtPedimento");
    // Today lies after the last day offered, so the picker opens on it.
    QCOMPARE(date->date(), QDate(2000, 12, 31));
    typeText(pedimento, "3004567");
    press(&d, "cmdAceptar");
    QCOMPARE(last(), QString("Debe elegir la Aduana"));
    child<QComboBox>(&d, "cmbNoAduana")->setCurrentText(" 160");
    press(&d, "cmdAceptar");
    QCOMPARE(last(), QString("No existe la aduana del pedimento en la lista de aduanas que actuo"));
    child<QComboBox>(&d, "cmbAduana")->setCurrentText(kAeropuerto);
    pedimento->clear();
    press(&d, "cmdAceptar");
    QCOMPARE(last(), QString("El Pedimento no puede estar vacio"));
    typeText(pedimento, "30a4");
    press(&d, "cmdAceptar");
    QCOMPARE(last(), QString::fromUtf8("Formato de Pedimento invalido, escriba solo números"));
    QVERIFY(d.result() != QDialog::Accepted);
    pedimento->setText("0030400");
    date->setDate(QDate(2000, 3, 5));
    press(&d, "cmdAceptar");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(d.pedimento(), Pedimento({{470, kAeropuerto}, "0030400", QDate(2000, 3, 5)}));
}

QTEST_MAIN(TestApoderado)
#include "tst_apoderado.moc"
