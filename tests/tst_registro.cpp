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
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QtTest>

namespace {

const QString kPatente = QStringLiteral("470");

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

    // A representative of type 1 with his request file and one office, stored, to the signed file; leaving asks
    // before the file is made and not after. His capture is walked by keys in tst_teclado, as are the aspirant and
    // the history pages, and checked as a dialog in tst_apoderado.
    void wizardToTheSignedFile() {
        Walk walk;
        Mandatario pedro = representative("LOTP751120HDFPRD02", "LOTP751120QW7", "PEDRO", Mandato::Anterior);
        pedro.requerimiento = copyTestData("LOTP751120QW7.req", walk.papers.filePath("LOTP751120QW7.req"));
        pedro.aduanas = {{470, {}}};
        Store(*openDatabase(walk.program.path())).guardaMandatario(std::nullopt, pedro);
        if (!walk.open())
            return;
        auto& [program, papers, messages, driver, window] = walk;
        QCOMPARE(walk.step("cmdSiguiente"), QString("2 Finaliza + Atrás")); // no aspirant, so page 2 is the last
        QCOMPARE(tableRows(*openDatabase(program.path()), "AA"),
                 QStringList{"#470|EMILIO|GOMEZ|DIAZ|GODE561231GR8|GODE561231HDFRRN09|#0|#470"});

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
        // Signed by the broker, with what page 1 stored: the fax typed there, not the authorisation it shows.
        QByteArray content, curp;
        QVERIFY(verifySignedFile(readFile(path), &content, &curp));
        QCOMPARE(curp, QByteArray("GODE561231HDFRRN09"));
        QVERIFY(content.startsWith("501|470|1111111||||||||470\r\n"
                                   "AA|470|EMILIO|GOMEZ|DIAZ|GODE561231GR8|GODE561231HDFRRN09|470\r\n"
                                   "Domicilios_AA|470|1|09|15|REFORMA|120||CENTRO|06600|5555555555|5555555556\r\n"));

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
