// The wizard walked as a broker walks it, real window and modal dialogs, from an empty folder to the signed file.

#include "app/frmMain.h"
#include "data/Store.h"
#include "export/Firma.h"
#include "platform/Database.h"
#include "platform/FileDialogs.h"
#include "platform/FileManager.h"
#include "support/Fixtures.h"
#include "support/TestKeys.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

const QString kPatente = QStringLiteral("470");

// Street, outer and inner number, district, postal code, telephone, fax, entity and municipality.
using Domicilio = QStringList;

// Typed in lower case: the capture boxes keep capitals.
const Domicilio kParticular{"calle 5",          "33",        "", "roma", "06700", "5555987654", "5555987655",
                            "CIUDAD DE MÉXICO", "CUAUHTÉMOC"}; // entity 09, municipality 15
const Domicilio kFiscal{QString("juárez"),   "12", "4b", "centro", "39300", "7447654321", "7447654322", "GUERRERO",
                        "ACAPULCO DE JUÁREZ"}; // 12 and 1

void choose(QObject* root, const QString& name, const QString& text) {
    auto* combo = root->findChild<QComboBox*>(name);
    const int i = combo ? combo->findText(text) : -1;
    QVERIFY2(i >= 0, qPrintable(name + ": " + text));
    combo->setCurrentIndex(i);
}

// Types each text into the box of the same position, key by key.
void typeAll(QObject* root, const QStringList& names, const QStringList& texts) {
    for (qsizetype i = 0; i < names.size(); ++i) {
        auto* box = root->findChild<QLineEdit*>(names[i]);
        QVERIFY2(box, qPrintable(names[i]));
        typeText(box, texts[i]);
    }
}

const QStringList kIdentity{"txtNombre", "txtApPaterno", "txtApMaterno", "txtCURP", "txtRFC"};

void fillAddress(QObject* root, const QString& stem, const Domicilio& a) {
    QStringList names;
    for (const char* field : {"Calle", "NoExt", "NoInt", "Colonia", "CP", "Telefono", "Fax"})
        names << "txt" + stem + field;
    typeAll(root, names, a);
    choose(root, "cmb" + stem + "EntFed", a[7]);
    choose(root, "cmb" + stem + "MDeleg", a[8]);
}

// A program folder with the signing library and the usual broker, his papers elsewhere, and the program on it.
struct Walk {
    QTemporaryDir program, papers;
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window{program.path(), program.filePath("sin-version-anterior")};

    // The start-up, page 1 showing the stored broker; false when it went wrong.
    bool open() { return (start(), !QTest::currentTestFailed()); }
    void start() {
        QVERIFY(copySigningLibrary(program.path()));
        storeBroker(*openDatabase(program.path()));
        QVERIFY(startUp(window, driver));
        QCOMPARE(messages.texts(), QStringList());
        window.show();
        QApplication::setActiveWindow(&window);
        // Whatever the box shows, the broker's authorisation is stored as 0.
        child<QLineEdit>(&window, "txtAutorizacion")->setText("99");
        child<QLineEdit>(&window, "txtFiscalFax")->setText("5555555556"); // the one field he left empty
    }
    // Presses the button if it can be pressed; tells the page, the forward caption and whether "< Atrás" can be.
    QString step(const char* button) {
        child<QPushButton>(&window, button)->click();
        // The status bar tells the page shown, or the test tells what it read there.
        const QString paso = child<QLabel>(&window, "lblPaso")->text();
        return (paso == QString("Paso %1 de 4").arg(pagina(&window)) ? QString::number(pagina(&window)) : paso) + " " +
               child<QPushButton>(&window, "cmdSiguiente")->text().remove('&') +
               (child<QPushButton>(&window, "cmdAtras")->isEnabled() ? " + Atrás" : "");
    }
};

} // namespace

class TestRegistro : public QObject {
    Q_OBJECT

private slots:
    void init() { FileDialogs::clearAnswers(); }

    // A representative of type 1 with his request file and one office, to the signed file; leaving asks before the
    // file is made and not after. The aspirant and the history pages are walked by keys in tst_teclado.
    void wizardToTheSignedFile() {
        Walk walk;
        if (!walk.open())
            return;
        auto& [program, papers, messages, driver, window] = walk;
        QCOMPARE(walk.step("cmdSiguiente"), QString("2 Finaliza + Atrás")); // no representative, so none is an aspirant
        QCOMPARE(tableRows(*openDatabase(program.path()), "AA"),
                 QStringList{"#470|EMILIO|GOMEZ|DIAZ|GODE561231GR8|GODE561231HDFRRN09|#0|#470"});

        const QString pedro = copyTestData("LOTP751120QW7.req", papers.filePath("LOTP751120QW7.req"));
        driver.then([pedro](QDialog* d) {
            choose(d, "cmbMandato", "Anterior 01/01/2001");
            typeAll(d, kIdentity, {"pedro", "lópez", "torres", "lotp751120hdfprd02", "lotp751120qw7"});
            child<QRadioButton>(d, "optSi")->click();
            fillAddress(d, "", kParticular);
            fillAddress(d, "Fiscal", kFiscal);
            FileDialogs::queueAnswer(pedro);
            press(d, "cmdBuscar");
            QCOMPARE(child<QLineEdit>(d, "txtRequerimiento")->text(), QDir::toNativeSeparators(pedro));
            press(d, "cmdNuevaAduana");
            press(d, "cmdAceptar");
        });
        driver.then([](QDialog* d) {
            choose(d, "cmbAduana", "AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO");
            press(d, "cmdAceptar");
        });
        press(&window, "cmdNuevo");
        QCOMPARE(driver.pending() + driver.unexpected.size(), 0);
        QCOMPARE(messages.texts(), QStringList());

        // The last page previews the file to come, counted by record type; the sending folder is not offered yet.
        driver.then([](QDialog* d) {
            QVERIFY(child<QLabel>(d, "lblRegistros")->text().startsWith("Registros por tipo:   501: 1   AA: 1   "));
            press(d, "cmdCerrar");
        });
        press(&window, "cmdVistaPrevia");
        QVERIFY(!child<QPushButton>(&window, "cmdAbrirEnvio")->isVisible() &&
                !child<QPushButton>(&window, "cmdConstancia")->isVisible());

        // "Finaliza": the broker's key, issued to his RFC, picked through "&Buscar.." and opened with his password.
        const QString keyPath = copyTestData("agente.key", papers.filePath("GODE561231GR8.key"));
        driver.then([keyPath](QDialog* d) {
            FileDialogs::queueAnswer(keyPath);
            press(d, "cmdBuscar");
            typeText(child<QLineEdit>(d, "txtPassword"), QString::fromUtf8(kTestKeyPassword));
            press(d, "cmdAceptar");
        });
        press(&window, "cmdSiguiente");
        QCOMPARE(driver.pending() + driver.unexpected.size(), 0);
        const QString path = program.filePath("ENVIO/" + kPatente + ".txt");
        QCOMPARE(
            messages.texts().value(1),
            "Se genero el archivo " + QDir::toNativeSeparators(path) +
                " correctamente y se agrego Firma Digital, no olvide enviarlo y los requerimientos manualmente a " +
                kCorreoAutoridad);
        QCOMPARE(int(messages.shown[1].icon), int(MessageIcon::Information));
        // Done: neither button of the wizard may be pressed again.
        QVERIFY(!child<QPushButton>(&window, "cmdSiguiente")->isEnabled() &&
                !child<QPushButton>(&window, "cmdAtras")->isEnabled());
        // The sending folder is offered now, to the system's file manager.
        QStringList opened;
        interceptShowFolder([&opened](const QString& folder) {
            opened << folder;
            return true;
        });
        press(&window, "cmdAbrirEnvio");
        interceptShowFolder({});
        QCOMPARE(opened, QStringList{program.filePath("ENVIO")});
        // And the constancia of the signing, shown as it was written, to be printed.
        driver.then([](QDialog* d) {
            const auto* preview = d->findChild<QPrintPreviewWidget*>();
            QVERIFY(d->objectName() == "frmConstancia" && preview && preview->pageCount() == 1);
            d->reject();
        });
        press(&window, "cmdConstancia");
        QCOMPARE(driver.pending() + driver.unexpected.size(), 0);
        QCOMPARE(QDir(program.filePath("constancias")).entryList(QDir::Files).size(), 1);
        // Signed by the broker, and what he typed as the file holds it: one byte a letter (Windows-1252, which for
        // these letters is Latin-1), CR LF after every line.
        QByteArray content, curp;
        QVERIFY(verifySignedFile(readFile(path), &content, &curp));
        QCOMPARE(curp, QByteArray("GODE561231HDFRRN09"));
        QCOMPARE(QString::fromLatin1(content),
                 "501|470|1111111||||||||470\r\n"
                 "AA|470|EMILIO|GOMEZ|DIAZ|GODE561231GR8|GODE561231HDFRRN09|470\r\n"
                 "Domicilios_AA|470|1|09|15|REFORMA|120||CENTRO|06600|5555555555|5555555556\r\n"
                 "Domicilios_AA|470|2|12|83|JUAREZ|S/N|B|SAN JOSE|39000|7471111111|7472222222\r\n"
                 "Mandatarios|470|LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LÓPEZ|TORRES|1|0|1\r\n"
                 "Domicilios_MM|470|LOTP751120HDFPRD02|09|15|CALLE 5|33||ROMA|06700|5555987654|5555987655|1\r\n"
                 "Domicilios_MM|470|LOTP751120HDFPRD02|12|1|JUÁREZ|12|4B|CENTRO|39300|7447654321|7447654322|2\r\n"
                 "Aduanas_MM|470|LOTP751120HDFPRD02|470\r\n"
                 "800|1111111|1|\r\n");

        // Generated and signed: "Salir" ends the run without asking. An unsigned file an earlier signing left listed
        // is handed off once, though leaving closes the window too; with no Dremlo at hand the broker is told.
        const QString unsignedFile = QDir::toNativeSeparators(writeFile(program.filePath("ENVIO/3011.txt"), "3011"));
        writeFile(program.filePath("ENVIO/Borra.txt"), unsignedFile.toUtf8() + "\r\n");
        QTimer::singleShot(0, &window, [&window] { press(&window, "cmdSalir"); });
        QTimer::singleShot(30000, &window, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0); // leaving ends the event loop, and with it the program
        QCOMPARE(messages.texts().mid(2).replaceInStrings(QRegularExpression("\\. Bórrelo .*"), ""),
                 QStringList{"No se pudo borrar el archivo sin firma " + unsignedFile});
    }

    void pageMoves_data() {
        QTest::addColumn<bool>("aspirant");
        QTest::addColumn<QString>("presses");    // S: "Siguiente >", A: "< Atrás"
        QTest::addColumn<QStringList>("states"); // after each press, then the messages shown
        // Forward the captions keep their typo; back from pages 3 and 4 they are spelt right, except on page 1, where
        // "< Atrás" is disabled and does nothing.
        QTest::newRow("no aspirant: page 2 is the last, and needs a representative")
            << false << "SAS S"
            << QStringList{"2 Finaliza + Atrás", "1 Siguente >", "2 Finaliza + Atrás", "2 Finaliza + Atrás",
                           "Debe existir por lo menos un o Representante o Mandatario"};
        QTest::newRow("an aspirant: pages 3 and 4, whose empty list of periods is no fault")
            << true << "SSSSAAAA"
            << QStringList{"2 Siguente > + Atrás",  "3 Siguente > + Atrás",  "4 Finaliza + Atrás", "4 Finaliza + Atrás",
                           "3 Siguiente > + Atrás", "2 Siguiente > + Atrás", "1 Siguente >",       "1 Siguente >"};
    }

    void pageMoves() {
        QFETCH(bool, aspirant);
        QFETCH(QString, presses);
        QFETCH(QStringList, states);
        Walk walk;
        if (!walk.open())
            return;
        if (aspirant)
            Store(*openDatabase(walk.program.path()))
                .guardaMandatario(std::nullopt,
                                  representative("PEMJ800101HDFRRN01", "PEMJ800101AB1", "JUAN", Mandato::Conforme));
        child<QLineEdit>(&walk.window, "txtPatente")->setText("0470");
        QStringList seen;
        for (const QChar press : presses.remove(' '))
            seen << walk.step(press == 'S' ? "cmdSiguiente" : "cmdAtras");
        QCOMPARE(seen + walk.messages.texts(), states);
    }
};

QTEST_MAIN(TestRegistro)
#include "tst_registro.moc"
