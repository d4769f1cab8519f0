#include "app/frmMain.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class Wizard {
public:
    explicit Wizard(const QString& folder) : window(folder, folder + "/sin-version-anterior") {
        QVERIFY(startUp(window, driver));
        window.show();
        QApplication::setActiveWindow(&window);
        messages.shown.clear();
    }

    QLineEdit* box(const char* name) { return child<QLineEdit>(&window, name); }
    QComboBox* combo(const char* name) { return child<QComboBox>(&window, name); }
    QPushButton* button(const char* name) { return child<QPushButton>(&window, name); }
    void press(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    void pick(const char* comboName, const QString& text) {
        QComboBox* c = combo(comboName);
        c->setCurrentIndex(c->findText(text));
    }

    // Sets each box "<prefix><field>" to its text.
    void fill(const QByteArray& prefix, const QList<const char*>& fields, const QStringList& texts) {
        for (qsizetype i = 0; i < fields.size(); ++i)
            box(prefix + fields[i])->setText(texts[i]);
    }

    void fillAddress(const QByteArray& stem, const QString& entity, const QString& municipality) {
        fill("txt" + stem, {"Calle", "NoExt", "Colonia", "CP", "Telefono", "Fax"},
             {"REFORMA", "S/N", "CENTRO", "06600", "5555555555", "5555555556"});
        pick("cmb" + stem + "EntFed", entity);
        pick("cmb" + stem + "MDeleg", municipality);
    }

    void fillValidPage1() {
        fill("txt", {"Patente", "Autorizacion", "AANombre", "AAApPat", "AAApMat", "AARFC", "AACURP"},
             {"0470", "99", "EMILIO", "GOMEZ", "DIAZ", "GODE561231GR8", "GODE561231HDFRRN09"});
        pick("cmbAAAduanaA", "AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO");
        fillAddress("Fiscal", QString::fromUtf8("CIUDAD DE MÉXICO"), QString::fromUtf8("CUAUHTÉMOC"));
        fillAddress("OirR", "GUERRERO", QString::fromUtf8("ÑUU SAVI"));
    }

    QStringList rows(const QString& table) { return tableRows(window.db(), table); }

    // Presses the button and tells on which page the wizard is then and what its forward button reads.
    QString step(const char* name) {
        press(name);
        return QString::number(window.Pagina()) + " " + button("cmdSiguiente")->text();
    }

    // "Salir" answered OK ends the event loop (and with it the program); gives the loop's exit code.
    int leave() {
        messages.answerNext(true);
        QTimer::singleShot(0, &window, [this] { press("cmdSalir"); });
        QTimer::singleShot(5000, &window, [] { QCoreApplication::exit(1); });
        return QCoreApplication::exec();
    }

    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window;
};

void storeAspirant(Database& db) {
    db.exec("insert into Mandatarios values (?,?,?,?,?,?,?,?,?)",
            {"PEMJ800101HDFRRN01", "PEMJ800101AB1", "JUAN", "PEREZ", "MARTINEZ", 2, "/x/PEMJ800101AB1.REQ", 1, 1});
    db.exec("insert into Domicilios_MM(CURP,Tipo_Dom) values ('PEMJ800101HDFRRN01',1)");
    db.exec("insert into Domicilios_MM(CURP,Tipo_Dom) values ('PEMJ800101HDFRRN01',2)");
}

} // namespace

class TestWizard : public QObject {
    Q_OBJECT

private slots:
    void brokerPageFaults_data();
    void brokerPageFaults();
    void everythingEmptyGivesFirstFaultOnly();
    void walkWithoutAspirant();
    void walkWithAspirant();
    void refusedInsertKeepsStoredBroker();
    void salirAsksBeforeGeneration();
    void salirHandsOffUnsignedFileOnce();
};

void TestWizard::brokerPageFaults_data() {
    // The fields emptied or given the value; focus goes back to the first.
    QTest::addColumn<QByteArrayList>("fields");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, const QByteArrayList& fields, const QString& value, const QString& message) {
        QTest::newRow(name) << fields << value << message;
    };
    row("patente 4001", {"txtPatente"}, "4001", "No de Patente invalido");
    row("patente 12AB", {"txtPatente"}, "12AB", "No de Patente invalido");
    row("nombre en blanco", {"txtAANombre"}, "   ", "El Nombre no puede estar vacio");
    row("paterno", {"txtAAApPat"}, "", "El Ap.Paterno no puede estar vacio");
    row("materno", {"txtAAApMat"}, " ", "El Ap.Materno no puede estar vacio");
    row("curp", {"txtAACURP"}, "GODE561331HDFRRN09", "Formato de CURP incorrecto");
    row("rfc", {"txtAARFC"}, "GODE56123", "Formato de RFC incorrecto");
    row("aduana", {"cmbAAAduanaA"}, "", QString::fromUtf8("Indique la Aduana de Adscripción"));
    // The fiscal block is reported before the notifications block is looked at.
    row("fiscal antes", {"txtFiscalCalle", "txtOirRCalle"}, "", "Calle no puede estar vacio");
    row("cp notificaciones", {"txtOirRCP"}, "0660", "Formato de C.P. invalido");
    row("fax notificaciones", {"txtOirRFax"}, "", "El Fax no puede estar vacio");
    row("municipio notificaciones", {"cmbOirRMDeleg"}, "",
        QString::fromUtf8("Mpio. o Delegación no puede estar vacio"));
}

void TestWizard::brokerPageFaults() {
    QFETCH(QByteArrayList, fields);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QTemporaryDir dir;
    Wizard w(dir.path());
    w.fillValidPage1();
    for (const QByteArray& field : fields) {
        if (QLineEdit* box = w.box(field))
            box->setText(value);
        else
            w.combo(field)->setCurrentIndex(-1);
    }
    w.press("cmdSiguiente");
    QCOMPARE(w.messages.texts(), QStringList({message}));
    QCOMPARE(int(w.messages.shown.first().icon), int(MessageIcon::Information));
    QCOMPARE(QApplication::focusWidget()->objectName().toLatin1(), fields.first());
    QCOMPARE(w.window.Pagina(), 1);
    QCOMPARE(w.rows("AA"), QStringList());
}

void TestWizard::everythingEmptyGivesFirstFaultOnly() {
    QTemporaryDir dir;
    Wizard w(dir.path());
    w.press("cmdSiguiente");
    QCOMPARE(w.messages.texts(), QStringList({"No de Patente invalido"}));
}

void TestWizard::walkWithoutAspirant() {
    QTemporaryDir dir;
    Wizard w(dir.path());
    w.fillValidPage1();
    QCOMPARE(w.step("cmdSiguiente"), QString("2 Finaliza"));
    QCOMPARE(w.messages.texts(), QStringList());
    QVERIFY(w.button("cmdAtras")->isEnabled());
    QCOMPARE(w.box("txtAutorizacion")->text(), QString("0"));
    // The patente names the file as stored: a later start would read 470 too.
    QCOMPARE(w.window.NoPatente(), QString("470"));
    // Numbers stored as numbers, the empty NoInt as an empty text.
    QCOMPARE(w.rows("AA"), QStringList({"#470|EMILIO|GOMEZ|DIAZ|GODE561231GR8|GODE561231HDFRRN09|#0|#470"}));
    QVERIFY(w.rows("Domicilios_AA").value(0).startsWith("#1|09|#15|REFORMA|S/N||CENTRO|"));

    QCOMPARE(w.step("cmdAtras"), QString("1 Siguente >"));
    QVERIFY(!w.button("cmdAtras")->isEnabled());
    w.box("txtAANombre")->setText("EMILIANO");
    QCOMPARE(w.step("cmdSiguiente"), QString("2 Finaliza"));
    QCOMPARE(w.rows("AA"), QStringList({"#470|EMILIANO|GOMEZ|DIAZ|GODE561231GR8|GODE561231HDFRRN09|#0|#470"}));
    QCOMPARE(w.rows("Domicilios_AA").size(), 2);

    // "Finaliza" on page 2 checks the representatives first: with none the user is told and nothing moves.
    QCOMPARE(w.step("cmdSiguiente"), QString("2 Finaliza"));
    QCOMPARE(w.messages.texts(), QStringList({"Debe existir por lo menos un o Representante o Mandatario"}));
}

void TestWizard::walkWithAspirant() {
    QTemporaryDir dir;
    Wizard w(dir.path());
    storeAspirant(w.window.db());
    w.fillValidPage1();
    // Forward the captions keep their typo; back from pages 3 and 4 they are spelt right, except on page 1.
    QCOMPARE(w.step("cmdSiguiente"), QString("2 Siguente >"));
    QCOMPARE(w.step("cmdSiguiente"), QString("3 Siguente >"));
    QCOMPARE(w.step("cmdSiguiente"), QString("4 Finaliza"));
    // An empty list of aspirants keeps page 4 without a message.
    QCOMPARE(w.step("cmdSiguiente"), QString("4 Finaliza"));
    QCOMPARE(w.messages.texts(), QStringList());
    QCOMPARE(w.step("cmdAtras"), QString("3 Siguiente >"));
    QCOMPARE(w.step("cmdAtras"), QString("2 Siguiente >"));
    QCOMPARE(w.step("cmdAtras"), QString("1 Siguente >"));
    // On page 1 "< Atrás" is disabled and does nothing.
    QCOMPARE(w.step("cmdAtras"), QString("1 Siguente >"));
}

void TestWizard::refusedInsertKeepsStoredBroker() {
    QTemporaryDir dir;
    {
        auto db = openDatabase(dir.path());
        db->exec("insert into AA values (1,'ANTES','A','B','RFC','CURP',0,470)");
        db->exec("insert into Domicilios_AA(Tipo_Dom,Calle) values (1,'CALLE ANTES 1')");
        db->exec("insert into Domicilios_AA(Tipo_Dom,Calle) values (2,'CALLE ANTES 2')");
        db->exec("create trigger falla before insert on Domicilios_AA when new.Tipo_Dom=2 "
                 "begin select raise(abort, 'rechazado'); end");
    }
    Wizard w(dir.path());
    const QStringList before = dumpAll(w.window.db());
    w.fillValidPage1();
    w.press("cmdSiguiente");
    QCOMPARE(w.messages.shown.size(), 1);
    QVERIFY(w.messages.texts().first().contains("rechazado"));
    QCOMPARE(w.window.Pagina(), 1);
    // The patente that names the information file stays the stored one.
    QCOMPARE(w.window.NoPatente(), QString("1"));
    QCOMPARE(dumpAll(w.window.db()), before);
    QVERIFY(before.join("/").contains("CALLE ANTES 2"));
}

void TestWizard::salirAsksBeforeGeneration() {
    QTemporaryDir dir;
    Wizard w(dir.path());
    w.messages.answerNext(false);
    w.press("cmdSalir");
    QCOMPARE(w.messages.texts(), QStringList({QString::fromUtf8(
                                     "¿Desea salir de la aplicación?, aun no a generado el archivo de información")}));
    QCOMPARE(w.messages.shown.first().title, QString("Mendaje"));
    QVERIFY(w.messages.shown.first().withCancel);
    QCOMPARE(int(w.messages.shown.first().icon), int(MessageIcon::Exclamation));
    QCOMPARE(w.leave(), 0);
    QCOMPARE(w.messages.shown.size(), 2);
}

void TestWizard::salirHandsOffUnsignedFileOnce() {
    QTemporaryDir dir;
    Wizard w(dir.path());
    // A signing that failed for the key left the unsigned file in ENVIO, listed for erasing; no erasing tool is at
    // hand to take it, so each attempt to hand it off tells the user. Leaving closes the window too; the hand-off
    // is made once.
    QVERIFY(QDir(dir.path()).mkpath("ENVIO"));
    const QString unsignedFile = writeFile(dir.filePath("ENVIO/0470.txt"), "sin firma");
    writeFile(dir.filePath("ENVIO/Borra.txt"), QDir::toNativeSeparators(unsignedFile).toUtf8() + "\r\n");
    QCOMPARE(w.leave(), 0);
    QCOMPARE(w.messages.shown.size(), 2);
    QVERIFY(w.messages.texts().last().startsWith("No se pudo borrar el archivo sin firma"));
}

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
