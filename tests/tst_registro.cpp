// Whole registrations, walked as a broker walks them: the real main window and the real modal dialogs, on a fresh
// program folder, from the start window to the signed information file and the exit.

#include "app/frmMain.h"
#include "export/Firma.h"
#include "platform/Database.h"
#include "platform/FileDialogs.h"
#include "support/Fixtures.h"
#include "support/TestKeys.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kAeropuerto = QStringLiteral("AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO");
const QString kNuevoLaredo = QStringLiteral("NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS");
const QString kPatente = QStringLiteral("3012");
const QString kRfcAgente = QStringLiteral("MURM700215KX3");
const QString kCurpAgente = QStringLiteral("MURM700215MDFXZR05");
const QString kPassword = QString("Contraseña 2004");

// Street, outer and inner number, district, postal code, telephone, fax, entity and municipality.
using Domicilio = QStringList;

const QString kCdmx = QString("CIUDAD DE MÉXICO");
const QString kCuauhtemoc = QString("CUAUHTÉMOC");       // municipality 15 of entity 09
const QString kAcapulco = QString("ACAPULCO DE JUÁREZ"); // municipality 1 of entity 12, GUERRERO

// Typed in lower case: the capture boxes keep capitals.
const Domicilio kFiscalAgente{"av. reforma", "120",        "",    "centro",   "06000",
                              "5555123456",  "5555123457", kCdmx, kCuauhtemoc};
const Domicilio kOirAgente{"costera alemán", "s/n",        "b",        "club",   "39690",
                           "7441234567",     "7441234568", "GUERRERO", kAcapulco};
const Domicilio kParticular{"calle 5", "33", "", "roma", "06700", "5555987654", "5555987655", kCdmx, kCuauhtemoc};
const Domicilio kFiscal{QString("juárez"), "12",         "4b",       "centro", "39300",
                        "7447654321",      "7447654322", "GUERRERO", kAcapulco};

// What the broker's own records look like in the file, after page 1 as Walk::start types it.
QStringList brokerLines() {
    return {"501|3012|1111111||||||||3012", QString("AA|3012|MARÍA|MUÑOZ|RUIZ|MURM700215KX3|MURM700215MDFXZR05|470"),
            "Domicilios_AA|3012|1|09|15|AV. REFORMA|120||CENTRO|06000|5555123456|5555123457",
            QString("Domicilios_AA|3012|2|12|1|COSTERA ALEMÁN|S/N|B|CLUB|39690|7441234567|"
                    "7441234568")};
}

// A representative's two address records, after frmApoderado as fillRepresentative fills it.
QStringList addressLines(const QString& curp) {
    return {"Domicilios_MM|3012|" + curp + "|09|15|CALLE 5|33||ROMA|06700|5555987654|5555987655|1",
            "Domicilios_MM|3012|" + curp + QString("|12|1|JUÁREZ|12|4B|CENTRO|39300|7447654321|7447654322|2")};
}

// The file's bytes: one byte a letter (Windows-1252, which for these letters is Latin-1), CR LF after every line.
QByteArray fileBytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

void type(QObject* root, const QString& name, const QString& text) {
    auto* box = root->findChild<QLineEdit*>(name);
    QVERIFY2(box, qPrintable(name));
    typeText(box, text);
}

void choose(QObject* root, const QString& name, const QString& text) {
    auto* combo = root->findChild<QComboBox*>(name);
    QVERIFY2(combo, qPrintable(name));
    const int i = combo->findText(text);
    QVERIFY2(i >= 0, qPrintable(name + ": " + text));
    combo->setCurrentIndex(i);
}

// Types each text into the box of the same position.
void typeAll(QObject* root, const QStringList& names, const QStringList& texts) {
    for (qsizetype i = 0; i < names.size(); ++i)
        type(root, names[i], texts[i]);
}

const QStringList kIdentity{"txtNombre", "txtApPaterno", "txtApMaterno", "txtCURP", "txtRFC"};

void fillAddress(QObject* root, const QString& textPrefix, const QString& comboStem, const Domicilio& a) {
    QStringList names;
    for (const char* field : {"Calle", "NoExt", "NoInt", "Colonia", "CP", "Telefono", "Fax"})
        names << "txt" + textPrefix + field;
    typeAll(root, names, a);
    choose(root, "cmb" + comboStem + "EntFed", a[7]);
    choose(root, "cmb" + comboStem + "MDeleg", a[8]);
}

QString caption(frmMain& window) {
    return child<QPushButton>(&window, "cmdSiguiente")->text();
}

// The one row of a table, by its kinds of values (see tableRows).
QString storedRow(frmMain& window, const QString& table) {
    const QStringList rows = tableRows(window.db(), table);
    return rows.size() == 1 ? rows.first() : QStringLiteral("%1 rows").arg(rows.size());
}

// frmApoderado filled as the broker fills it: the mandate type, his identity typed in lower case, operating at
// present, his private address in Cuauhtémoc and his fiscal one in Acapulco, and the request file picked.
void fillRepresentative(QDialog* d, const QString& mandato, const QStringList& identity, const QString& request) {
    QCOMPARE(d->objectName(), QString("frmApoderado"));
    choose(d, "cmbMandato", mandato);
    typeAll(d, kIdentity, identity);
    child<QRadioButton>(d, "optSi")->click();
    fillAddress(d, "", "", kParticular);
    fillAddress(d, "Fiscal", "Fiscal", kFiscal);
    FileDialogs::queueAnswer(request);
    press(d, "cmdBuscar");
    QCOMPARE(child<QLineEdit>(d, "txtRequerimiento")->text(), QDir::toNativeSeparators(request));
}

// After a press that opened dialogs: each was answered by its step, and none of them had anything to say.
void allAnswered(const ModalDriver& driver, const ScriptedMessages& messages) {
    QCOMPARE(driver.pending(), 0);
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(messages.texts().join(QLatin1Char('\n')), QString());
}

TestKey gKey;

// A fresh program folder with the signing library, the broker's own papers (keys, request files) elsewhere, and the
// program on the folder.
struct Walk {
    QTemporaryDir program, papers;
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window{program.path(), program.filePath("sin-version-anterior")};

    // The start-up, then page 1 typed and chosen as the broker does it, and "Siguiente >"; false when it went wrong.
    bool begin() { return (start(), !QTest::currentTestFailed()); }
    void start();
    // "Finaliza", the confirmation, the key dialog with the key file picked and the password typed; checks the
    // success message and the signature, and gives the signed content without its signature line.
    bool finalizeAndSign(QByteArray* content) { return (sign(content), !QTest::currentTestFailed()); }
    void sign(QByteArray* content);
    QStringList sent() const { return QDir(program.filePath("ENVIO")).entryList(QDir::Files | QDir::Hidden); }
};

void Walk::start() {
    QVERIFY(copySigningLibrary(program.path()));
    QVERIFY(startUp(window, driver));
    QCOMPARE(messages.shown.size(), 2); // no previous version, no broker yet
    messages.shown.clear();
    window.show();
    QApplication::setActiveWindow(&window);

    typeAll(&window, {"txtPatente", "txtAANombre", "txtAAApPat", "txtAAApMat", "txtAARFC", "txtAACURP"},
            {kPatente, "maría", "muñoz", "ruiz", kRfcAgente.toLower(), kCurpAgente.toLower()});
    choose(&window, "cmbAAAduanaA", kAeropuerto);
    fillAddress(&window, "Fiscal", "Fiscal", kFiscalAgente);
    fillAddress(&window, "OirR", "OirR", kOirAgente);

    press(&window, "cmdSiguiente");
    QCOMPARE(messages.texts().join(QLatin1Char('\n')), QString());
    QCOMPARE(window.Pagina(), 2);
    QCOMPARE(window.NoPatente(), kPatente);
    QCOMPARE(storedRow(window, "AA"), QString("#3012|MARÍA|MUÑOZ|RUIZ|MURM700215KX3|MURM700215MDFXZR05|#0|#470"));
    // No representative yet, so none is an aspirant: page 2 is the last.
    QCOMPARE(caption(window), QString("Finaliza"));
}

void Walk::sign(QByteArray* content) {
    // The broker's key, issued to his RFC; picked through "&Buscar.." and opened with the password he types.
    const QString keyPath = writeKeyFile(papers.filePath(kRfcAgente + ".key"), gKey.get(), kPassword.toUtf8());
    driver.then([keyPath](QDialog* d) {
        QCOMPARE(d->objectName(), QString("frmKey"));
        FileDialogs::queueAnswer(keyPath);
        press(d, "cmdBuscar");
        QCOMPARE(child<QLineEdit>(d, "txtLlave")->text(), QDir::toNativeSeparators(keyPath));
        typeText(child<QLineEdit>(d, "txtPassword"), kPassword);
        press(d, "cmdAceptar");
    });
    QCOMPARE(caption(window), QString("Finaliza"));
    press(&window, "cmdSiguiente");
    QCOMPARE(driver.pending(), 0);
    QCOMPARE(driver.unexpected, QStringList());

    const QString path = program.filePath("ENVIO/" + kPatente + ".txt");
    QCOMPARE(messages.shown.size(), 2);
    QCOMPARE(messages.shown[1].text,
             "Se genero el archivo " + QDir::toNativeSeparators(path) +
                 " correctamente y se agrego Firma Digital, no olvide enviarlo y los requerimientos manualmente a " +
                 kCorreoAutoridad);
    QCOMPARE(int(messages.shown[1].icon), int(MessageIcon::Information));
    // Done: neither button of the wizard may be pressed again.
    QVERIFY(!child<QPushButton>(&window, "cmdSiguiente")->isEnabled());
    QVERIFY(!child<QPushButton>(&window, "cmdAtras")->isEnabled());

    // The last line is the broker's signature, which the authority verifies with his public key alone.
    const QByteArray file = readFile(path);
    QByteArray curp;
    QVERIFY2(verifySignedFile(file, gKey.get(), content, &curp), file.constData());
    QCOMPARE(curp, kCurpAgente.toLatin1());
    if (!QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
        QCOMPARE(verifyWithOpensslTool(file, gKey.get(), papers.path()), QByteArray("Verified OK"));
}

} // namespace

class TestRegistro : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(gKey = makeTestKey()); }
    void cleanupTestCase() { gKey.reset(); }
    void init() { FileDialogs::clearAnswers(); }
    void representativeBeforeTheCutOff();
    void aspirantWithHistory();
};

void TestRegistro::representativeBeforeTheCutOff() {
    Walk walk;
    if (!walk.begin())
        return;
    auto& [program, papers, messages, driver, window] = walk;

    // "Nuevo": a representative of type 1 with both addresses, his request file, one office and one declaration.
    QDir(papers.path()).mkdir("solicitudes");
    const QString request = writeFile(papers.filePath("solicitudes/LOTP751120QW7.req"), "solicitud de Pedro");
    driver.then([request](QDialog* d) {
        fillRepresentative(d, "Anterior 01/01/2001",
                           {"pedro", "lópez", "torres", "lotp751120hdfprd02", "lotp751120qw7"}, request);
        press(d, "cmdNuevaAduana");
        press(d, "cmdNuevoPed");
        press(d, "cmdAceptar");
    });
    driver.then([](QDialog* d) {
        QCOMPARE(d->objectName(), QString("frmAduanaAct"));
        choose(d, "cmbAduana", kAeropuerto);
        press(d, "cmdAceptar");
    });
    driver.then([](QDialog* d) {
        QCOMPARE(d->objectName(), QString("frmPedTramitados"));
        choose(d, "cmbNoAduana", " 470");
        type(d, "txtPedimento", "3004567");
        child<QDateEdit>(d, "dtpFPed")->setDate(QDate(2000, 11, 30));
        press(d, "cmdAceptar");
    });
    press(&window, "cmdNuevo");
    allAnswered(driver, messages);
    QCOMPARE(gridRows(&window, "fgAA"),
             QStringList({QString("PEDRO|LÓPEZ|TORRES|LOTP751120QW7|LOTP751120HDFPRD02|Anterior 01/01/2001|Si")}));
    QCOMPARE(caption(window), QString("Finaliza"));

    QByteArray content;
    if (!walk.finalizeAndSign(&content))
        return;
    QStringList expected = brokerLines();
    expected << QString("Mandatarios|3012|LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LÓPEZ|TORRES|1|0|1")
             << addressLines("LOTP751120HDFPRD02") << "Aduanas_MM|3012|LOTP751120HDFPRD02|470"
             << "Pedimentos_MM|3012|LOTP751120HDFPRD02|470|3004567|2000-11-30"
             << "800|1111111|1|";
    QCOMPARE(content, fileBytes(expected));

    // What the file holds is what is stored, the request file's path included.
    QCOMPARE(storedRow(window, "Mandatarios"), QString("LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LÓPEZ|TORRES|#1|") +
                                                   QDir::toNativeSeparators(request) + "|#0|#1");

    // His request file travels beside the information file.
    QCOMPARE(walk.sent(), QStringList({"3012.txt", "LOTP751120QW7.req"}));
    QCOMPARE(readFile(program.filePath("ENVIO/LOTP751120QW7.req")), QByteArray("solicitud de Pedro"));

    // Generated and signed: "Salir" ends the run without asking.
    QTimer::singleShot(0, &window, [&window] { press(&window, "cmdSalir"); });
    QTimer::singleShot(30000, &window, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(messages.shown.size(), 2);
    QCOMPARE(driver.unexpected, QStringList());
}

void TestRegistro::aspirantWithHistory() {
    Walk walk;
    if (!walk.begin())
        return;
    auto& [program, papers, messages, driver, window] = walk;

    // An aspirant accredited by NTCL: his request file is asked for but not sent.
    const QString request = writeFile(papers.filePath("GAVA800101AB2.req"), "solicitud de Ana");
    driver.then([request](QDialog* d) {
        fillRepresentative(d, "Conforme 2.13.11 (Posterior 01/01/2001)",
                           {"ana", "garcía", "vega", "gava800101mdfrgn05", "gava800101ab2"}, request);
        child<QRadioButton>(d, "optNTCL")->click();
        press(d, "cmdAceptar");
    });
    press(&window, "cmdNuevo");
    allAnswered(driver, messages);
    QCOMPARE(gridRows(&window, "fgAA"),
             QStringList({QString(
                 "ANA|GARCÍA|VEGA|GAVA800101AB2|GAVA800101MDFRGN05|Conforme 2.13.11 (Posterior 01/01/2001)|Si")}));
    // With an aspirant the history pages belong to the walk.
    QCOMPARE(caption(window), QString("Siguiente >"));
    press(&window, "cmdSiguiente");
    QCOMPARE(messages.texts().join(QLatin1Char('\n')), QString());
    QCOMPARE(window.Pagina(), 3);

    // Page 3: one former representative with one period.
    driver.then([](QDialog* d) {
        QCOMPARE(d->objectName(), QString("frmAgentes_Aduanales"));
        typeAll(d, kIdentity, {"juan", "ramos", "arias", "raaj600101hdfmrn01", "raaj600101ab1"});
        press(d, "cmdNuevo");
        press(d, "cmdAceptar");
    });
    driver.then([](QDialog* d) {
        QCOMPARE(d->objectName(), QString("frmPeriodo_Agente"));
        choose(d, "cmbAduana", kNuevoLaredo);
        child<QDateEdit>(d, "dtpIni")->setDate(QDate(1995, 1, 2));
        child<QDateEdit>(d, "dtpFin")->setDate(QDate(1999, 12, 31));
        press(d, "cmdAceptar");
    });
    press(&window, "cmdAANuevo");
    allAnswered(driver, messages);
    QCOMPARE(gridRows(&window, "fgPeriodosAA"), QStringList({" 240|" + kNuevoLaredo + "|02/01/1995|31/12/1999"}));
    press(&window, "cmdSiguiente");
    QCOMPARE(window.Pagina(), 4);
    QCOMPARE(caption(window), QString("Finaliza"));

    // Page 4: the aspirant's period with another broker.
    auto* aspirants = child<QTableView>(&window, "fgMandatarios");
    QCOMPARE(gridRows(aspirants), QStringList({QString("ANA|GARCÍA|VEGA|GAVA800101MDFRGN05")}));
    clickRow(aspirants, 0);
    driver.then([](QDialog* d) {
        QCOMPARE(d->objectName(), QString("frmPeriodo_Mandatario"));
        QCOMPARE(child<QLineEdit>(d, "txtCURP")->text(), QString("GAVA800101MDFRGN05"));
        type(d, "txtPatente", "3001");
        choose(d, "cmbAduana", kAeropuerto);
        child<QDateEdit>(d, "dtpIni")->setDate(QDate(2001, 2, 1));
        child<QDateEdit>(d, "dtpFin")->setDate(QDate(2003, 6, 30));
        press(d, "cmdAceptar");
    });
    press(&window, "cmdMandNuevo");
    allAnswered(driver, messages);

    QByteArray content;
    if (!walk.finalizeAndSign(&content))
        return;
    QStringList expected = brokerLines();
    expected << QString("Mandatarios|3012|GAVA800101MDFRGN05|GAVA800101AB2|ANA|GARCÍA|VEGA|2|1|1")
             << addressLines("GAVA800101MDFRGN05")
             << "Historico_AA|3012|RAAJ600101AB1|RAAJ600101HDFMRN01|JUAN|RAMOS|ARIAS"
             << "Periodos_H_AA|3012|RAAJ600101HDFMRN01|240|1995-01-02|1999-12-31"
             << "Periodos_H_MM|3012|GAVA800101MDFRGN05|470|3001|2001-02-01|2003-06-30"
             << "800|1111111|1|";
    QCOMPARE(content, fileBytes(expected));
    QCOMPARE(storedRow(window, "Periodos_H_MM"), QString("GAVA800101MDFRGN05|#470|#3001|2001-02-01|2003-06-30"));
    // An aspirant's request file is not sent.
    QCOMPARE(walk.sent(), QStringList({"3012.txt"}));
}

QTEST_MAIN(TestRegistro)
#include "tst_registro.moc"
