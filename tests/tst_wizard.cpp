#include "app/frmMain.h"
#include "data/BaseDatos.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class Wizard {
public:
    explicit Wizard(const QString& folder) : window(folder, folder + "/sin-version-anterior") {
        ok = startUp(window, driver);
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

    void fillAddress(const QByteArray& stem, const QString& entity, const QString& municipality) {
        box("txt" + stem + "Calle")->setText("REFORMA");
        box("txt" + stem + "NoExt")->setText("S/N");
        box("txt" + stem + "Colonia")->setText("CENTRO");
        box("txt" + stem + "CP")->setText("06600");
        box("txt" + stem + "Telefono")->setText("5555555555");
        box("txt" + stem + "Fax")->setText("5555555556");
        pick("cmb" + stem + "EntFed", entity);
        pick("cmb" + stem + "MDeleg", municipality);
    }

    void fillValidPage1() {
        box("txtPatente")->setText("0470");
        box("txtAutorizacion")->setText("99");
        box("txtAANombre")->setText("EMILIO");
        box("txtAAApPat")->setText("GOMEZ");
        box("txtAAApMat")->setText("DIAZ");
        box("txtAARFC")->setText("GODE561231GR8");
        box("txtAACURP")->setText("GODE561231HDFRRN09");
        pick("cmbAAAduanaA", "AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO");
        fillAddress("Fiscal", QString::fromUtf8("CIUDAD DE MÉXICO"), QString::fromUtf8("CUAUHTÉMOC"));
        fillAddress("OirR", "GUERRERO", QString::fromUtf8("ÑUU SAVI"));
    }

    qint64 count(const QString& table) {
        Query q = window.globales().BaseDatos->select("select count(*) from " + table);
        q.next();
        return q.number(0);
    }

    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window;
    bool ok = false;
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
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("focus");
    QTest::newRow("patente 4001") << QByteArray("txtPatente") << "4001"
                                  << "No de Patente invalido" << QByteArray("txtPatente");
    QTest::newRow("patente 12AB") << QByteArray("txtPatente") << "12AB"
                                  << "No de Patente invalido" << QByteArray("txtPatente");
    QTest::newRow("patente vacia") << QByteArray("txtPatente") << ""
                                   << "No de Patente invalido" << QByteArray("txtPatente");
    QTest::newRow("nombre en blanco") << QByteArray("txtAANombre") << "   "
                                      << "El Nombre no puede estar vacio" << QByteArray("txtAANombre");
    QTest::newRow("paterno") << QByteArray("txtAAApPat") << ""
                             << "El Ap.Paterno no puede estar vacio" << QByteArray("txtAAApPat");
    QTest::newRow("materno") << QByteArray("txtAAApMat") << " "
                             << "El Ap.Materno no puede estar vacio" << QByteArray("txtAAApMat");
    QTest::newRow("curp") << QByteArray("txtAACURP") << "GODE561331HDFRRN09"
                          << "Formato de CURP incorrecto" << QByteArray("txtAACURP");
    QTest::newRow("rfc") << QByteArray("txtAARFC") << "GODE56123"
                         << "Formato de RFC incorrecto" << QByteArray("txtAARFC");
    QTest::newRow("aduana") << QByteArray("cmbAAAduanaA") << ""
                            << "Indique la Aduana de Adscripción" << QByteArray("cmbAAAduanaA");
    QTest::newRow("calle fiscal") << QByteArray("txtFiscalCalle") << ""
                                  << "Calle no puede estar vacio" << QByteArray("txtFiscalCalle");
    QTest::newRow("cp notificaciones") << QByteArray("txtOirRCP") << "0660"
                                       << "Formato de C.P. invalido" << QByteArray("txtOirRCP");
    QTest::newRow("fax notificaciones") << QByteArray("txtOirRFax") << ""
                                        << "El Fax no puede estar vacio" << QByteArray("txtOirRFax");
    QTest::newRow("municipio notificaciones")
        << QByteArray("cmbOirRMDeleg") << "" << QString::fromUtf8("Mpio. o Delegación no puede estar vacio")
        << QByteArray("cmbOirRMDeleg");
}

void TestWizard::brokerPageFaults() {
    QFETCH(QByteArray, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QFETCH(QByteArray, focus);
    QTemporaryDir dir;
    Wizard w(dir.path());
    QVERIFY(w.ok);
    w.fillValidPage1();
    if (QLineEdit* box = w.box(field))
        box->setText(value);
    else
        w.combo(field)->setCurrentIndex(-1);
    w.press("cmdSiguiente");
    QCOMPARE(w.messages.texts(), QStringList({message}));
    QCOMPARE(w.messages.shown.first().title, QString("Mensaje"));
    QCOMPARE(int(w.messages.shown.first().icon), int(MessageIcon::Information));
    QCOMPARE(QApplication::focusWidget()->objectName().toLatin1(), focus);
    QCOMPARE(w.window.Pagina(), 1);
    QCOMPARE(w.count("AA"), 0);
}

void TestWizard::everythingEmptyGivesFirstFaultOnly() {
    QTemporaryDir dir;
    Wizard w(dir.path());
    w.press("cmdSiguiente");
    QCOMPARE(w.messages.texts(), QStringList({"No de Patente invalido"}));

    // With a valid identity, the fiscal block is reported before the notifications block is looked at.
    w.fillValidPage1();
    w.box("txtFiscalCalle")->clear();
    w.box("txtOirRCalle")->clear();
    w.messages.shown.clear();
    w.press("cmdSiguiente");
    QCOMPARE(w.messages.texts(), QStringList({"Calle no puede estar vacio"}));
    QCOMPARE(QApplication::focusWidget(), w.box("txtFiscalCalle"));
}

void TestWizard::walkWithoutAspirant() {
    QTemporaryDir dir;
    Wizard w(dir.path());
    w.fillValidPage1();
    w.press("cmdSiguiente");
    QCOMPARE(w.messages.texts(), QStringList());
    QCOMPARE(w.window.Pagina(), 2);
    QCOMPARE(w.button("cmdSiguiente")->text(), QString("Finaliza"));
    QVERIFY(w.button("cmdAtras")->isEnabled());
    QCOMPARE(w.box("txtAutorizacion")->text(), QString("0"));
    QCOMPARE(w.window.globales().NoPatente, QString("0470"));

    Query aa = w.window.globales().BaseDatos->select("select * from AA");
    QVERIFY(aa.next());
    QCOMPARE(aa.number(0), 470);
    QCOMPARE(aa.text(5), QString("GODE561231HDFRRN09"));
    QCOMPARE(aa.number(6), 0);
    QCOMPARE(aa.number(7), 470);
    Query fiscal = w.window.globales().BaseDatos->select("select * from Domicilios_AA where Tipo_Dom=1");
    QVERIFY(fiscal.next());
    QCOMPARE(fiscal.text(1), QString("09"));
    QCOMPARE(fiscal.value(2), QVariant(qint64(15)));
    QCOMPARE(fiscal.text(5), QString(""));
    QVERIFY(!fiscal.isNull(5));

    w.press("cmdAtras");
    QCOMPARE(w.window.Pagina(), 1);
    QVERIFY(!w.button("cmdAtras")->isEnabled());
    QCOMPARE(w.button("cmdSiguiente")->text(), QString("Siguente >"));
    w.box("txtAANombre")->setText("EMILIANO");
    w.press("cmdSiguiente");
    QCOMPARE(w.window.Pagina(), 2);
    QCOMPARE(w.count("AA"), 1);
    QCOMPARE(w.count("Domicilios_AA"), 2);
    Query again = w.window.globales().BaseDatos->select("select Nombre from AA");
    QVERIFY(again.next());
    QCOMPARE(again.text(0), QString("EMILIANO"));

    // "Finaliza" on page 2 checks the representatives first: with none the user is told and nothing moves.
    w.press("cmdSiguiente");
    QCOMPARE(w.messages.texts(), QStringList({"Debe existir por lo menos un o Representante o Mandatario"}));
    QCOMPARE(w.window.Pagina(), 2);
}

void TestWizard::walkWithAspirant() {
    QTemporaryDir dir;
    Wizard w(dir.path());
    storeAspirant(*w.window.globales().BaseDatos);
    appendRow(child<QTableWidget>(&w.window, "fgAA"),
              {"JUAN", "PEREZ", "MARTINEZ", "PEMJ800101AB1", "PEMJ800101HDFRRN01", "x", "Si"});
    w.fillValidPage1();
    w.press("cmdSiguiente");
    QCOMPARE(w.window.Pagina(), 2);
    QCOMPARE(w.button("cmdSiguiente")->text(), QString("Siguente >"));

    w.press("cmdSiguiente");
    QCOMPARE(w.messages.texts(), QStringList());
    QCOMPARE(w.window.Pagina(), 3);
    QCOMPARE(w.button("cmdSiguiente")->text(), QString("Siguente >"));
    w.press("cmdSiguiente");
    QCOMPARE(w.window.Pagina(), 4);
    QCOMPARE(w.button("cmdSiguiente")->text(), QString("Finaliza"));

    // An empty list of aspirants keeps page 4 without a message.
    w.press("cmdSiguiente");
    QCOMPARE(w.window.Pagina(), 4);
    QCOMPARE(w.messages.texts(), QStringList());
    QVERIFY(w.button("cmdSiguiente")->isEnabled());

    w.press("cmdAtras");
    QCOMPARE(w.window.Pagina(), 3);
    QCOMPARE(w.button("cmdSiguiente")->text(), QString("Siguiente >"));
    w.press("cmdAtras");
    QCOMPARE(w.window.Pagina(), 2);
    QCOMPARE(w.button("cmdSiguiente")->text(), QString("Siguiente >"));
    QVERIFY(w.button("cmdAtras")->isEnabled());
    w.press("cmdAtras");
    QCOMPARE(w.window.Pagina(), 1);
    QCOMPARE(w.button("cmdSiguiente")->text(), QString("Siguente >"));
    // On page 1 "< Atrás" is disabled and does nothing.
    w.press("cmdAtras");
    QCOMPARE(w.window.Pagina(), 1);
}

void TestWizard::refusedInsertKeepsStoredBroker() {
    QTemporaryDir dir;
    {
        QString error;
        auto db = openTolvekDatabase(dir.path(), &error);
        db->exec("insert into AA values (1,'ANTES','A','B','RFC','CURP',0,470)");
        db->exec("insert into Domicilios_AA(Tipo_Dom,Calle) values (1,'CALLE ANTES 1')");
        db->exec("insert into Domicilios_AA(Tipo_Dom,Calle) values (2,'CALLE ANTES 2')");
        db->exec("create trigger falla before insert on Domicilios_AA when new.Tipo_Dom=2 "
                 "begin select raise(abort, 'rechazado'); end");
    }
    Wizard w(dir.path());
    w.fillValidPage1();
    w.press("cmdSiguiente");
    QCOMPARE(w.messages.shown.size(), 1);
    QVERIFY(w.messages.texts().first().contains("rechazado"));
    QCOMPARE(w.window.Pagina(), 1);
    // The patente that names the information file stays the stored one.
    QCOMPARE(w.window.globales().NoPatente, QString("1"));
    Query aa = w.window.globales().BaseDatos->select("select Nombre from AA");
    QVERIFY(aa.next());
    QCOMPARE(aa.text(0), QString("ANTES"));
    QVERIFY(!aa.next());
    Query addresses = w.window.globales().BaseDatos->select("select Calle from Domicilios_AA order by Tipo_Dom");
    QVERIFY(addresses.next());
    QCOMPARE(addresses.text(0), QString("CALLE ANTES 1"));
    QVERIFY(addresses.next());
    QCOMPARE(addresses.text(0), QString("CALLE ANTES 2"));
    QVERIFY(!addresses.next());
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

    // Answered OK, the event loop ends (and with it the program, which closes the database on its way out).
    w.messages.answerNext(true);
    QTimer::singleShot(0, [&w] { w.press("cmdSalir"); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(w.messages.shown.size(), 2);
}

void TestWizard::salirHandsOffUnsignedFileOnce() {
    QTemporaryDir dir;
    Wizard w(dir.path());
    // A signing that failed for the key left the unsigned file in ENVIO; no erasing tool is at hand to take it,
    // so each attempt to hand it off tells the user.
    QVERIFY(QDir(dir.path()).mkpath("ENVIO"));
    writeFile(dir.filePath("ENVIO/0470.txt"), "sin firma");
    w.window.globales().NoPatente = "0470";
    w.window.globales().Archivo_Generado = 1;
    w.messages.answerNext(true);
    QTimer::singleShot(0, [&w] { w.press("cmdSalir"); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
    // Leaving closes the window on the way out; the hand-off is still made once.
    QCOMPARE(w.messages.shown.size(), 2);
    QVERIFY(w.messages.texts().last().startsWith("No se pudo borrar el archivo sin firma"));
}

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
