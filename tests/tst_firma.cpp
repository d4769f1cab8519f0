#include "app/frmMain.h"
#include "export/Envio.h"
#include "export/Firma.h"
#include "export/frmKey.h"
#include "platform/Database.h"
#include "platform/FileDialogs.h"
#include "platform/Launcher.h"
#include "support/Fixtures.h"
#include "support/TestKeys.h"
#include "support/TestSupport.h"

#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <algorithm>

namespace {

const QByteArray kArchivo = "501|3012|1111111||||||||3012\r\n"
                            "AA|3012|MARIA|GOMEZ|RUIZ|GORM700215KX3|GORM700215MDFMZR05|470\r\n"
                            "Mandatarios|3012|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica\r\n"
                            "800|1111111|1|\r\n";
const QByteArray kPassword = "Contraseña 2004";
const QString kRfc = QStringLiteral("GORM700215KX3");

const QString kDremlo = QStringLiteral(TOLVEK_PROGRAM_DIR "/Dremlo");

} // namespace

class TestFirma : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void signing_data();
    void signing();

    void keyDialogChecks_data();
    void keyDialogChecks();
    void keyDialogBrowseAndCancel();

    void salirHandsOffUnsignedFile_data();
    void salirHandsOffUnsignedFile();
    void dremloErasesOnlyInsideEnvio();

private:
    // The broker's key file in one of the forms the cases need ("der", "pem", "garbage", "plain", "missing", ...).
    QString keyFile(const QString& folder, const QString& form);

    TestKey key_;
};

void TestFirma::initTestCase() {
    key_ = makeTestKey();
    QVERIFY(key_);
}

QString TestFirma::keyFile(const QString& folder, const QString& form) {
    const QString path = QDir(folder).filePath(kRfc + ".key");
    if (form == "der")
        writeKeyFile(path, key_.get(), kPassword);
    else if (form == "pem")
        writeFile(path, encryptedPem(key_.get(), kPassword));
    else if (form == "garbage")
        writeFile(path, "esto no es una llave");
    else if (form == "plain") {
        BIO* bio = BIO_new(BIO_s_mem());
        i2d_PKCS8PrivateKey_bio(bio, key_.get(), nullptr, nullptr, 0, nullptr, nullptr);
        writeFile(path, bioBytes(bio));
    } else if (form == "endless derivation")
        writeFile(path, endlessDerivationKey());
    else if (form == "70 KB")
        writeFile(path, encryptedDer(key_.get(), kPassword).leftJustified(70 * 1024, '\0'));
    else if (form == "/dev/zero")
        QFile::link("/dev/zero", path);
    else if (form == "fifo")
        mkfifo(QFile::encodeName(path).constData(), 0600);
    return path;
}

void TestFirma::signing_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QByteArray>("password");
    QTest::newRow("0: encrypted PKCS#8 DER") << "der" << kPassword;
    QTest::newRow("0: encrypted PKCS#8 PEM") << "pem" << kPassword;
    QTest::newRow("1: no file to sign") << "der" << kPassword;
    QTest::newRow("2: no key file") << "missing" << kPassword;
    QTest::newRow("2: not a key") << "garbage" << kPassword;
    QTest::newRow("2: a key without encryption") << "plain" << kPassword;
    // Refused at once: without a bound each would hold the program for hours or read without end.
    QTest::newRow("2: 2^31-1 derivation rounds") << "endless derivation" << kPassword;
    QTest::newRow("2: a key padded past 64 KB") << "70 KB" << kPassword;
    QTest::newRow("2: a link to /dev/zero") << "/dev/zero" << kPassword;
    QTest::newRow("2: a FIFO") << "fifo" << kPassword;
    QTest::newRow("3: wrong password") << "der" << QByteArray("contraseña");
    QTest::newRow("3: wrong password, PEM") << "pem" << QByteArray("Contraseña 2005");
    QTest::newRow("3: empty password") << "der" << QByteArray();
    QTest::newRow("-1: no library in the program folder") << "der" << kPassword;
}

// Firma_Archivo with the built library (the code leads the row's name): the code, the password gone, and what
// became of the file.
void TestFirma::signing() {
    QFETCH(QString, form);
    QFETCH(QByteArray, password);
    const int code = QString(QTest::currentDataTag()).section(':', 0, 0).toInt();
    QTemporaryDir dir;
    if (code >= 0)
        QVERIFY(copySigningLibrary(dir.path()));
    const QString path = dir.filePath("3012.txt");
    if (code != 1)
        writeFile(path, kArchivo);
    QByteArray secret = password;
    QString error;
    QCOMPARE(Firma_Archivo(dir.path(), path, keyFile(dir.path(), form), secret, &error), code);
    QVERIFY(secret.isEmpty());
    QCOMPARE(error.isEmpty(), code >= 0);
    if (code == 0) {
        QByteArray content, curp;
        QVERIFY(verifySignedFile(readFile(path), key_.get(), &content, &curp));
        QCOMPARE(content, kArchivo);
        QCOMPARE(curp, QByteArray("GORM700215MDFMZR05"));
        // The README's recipe with the standard openssl command: cut off the last line, decode its third field,
        // verify the rest.
        if (!QStandardPaths::findExecutable("openssl").isEmpty())
            QCOMPARE(verifyWithOpensslTool(readFile(path), key_.get(), dir.path()), QByteArray("Verified OK"));
    } else if (code != 1) {
        QCOMPARE(readFile(path), kArchivo);
    }
}

void TestFirma::keyDialogChecks_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");
    const QString vacio = "El archivo llave no puede estar vacio";
    const QString otro = "Debe usar el archivo llave del AGENTE ADUANAL";
    QTest::newRow("empty") << "" << vacio;
    QTest::newRow("blanks only") << "   " << vacio;
    QTest::newRow("another RFC") << "c:\\claves\\OTRO700101AB1.key" << otro;
    QTest::newRow("the RFC without .KEY") << "/claves/GORM700215KX3.cer" << otro;
    QTest::newRow("lower case passes") << "c:\\claves\\gorm700215kx3.key" << QString();
    QTest::newRow("a path merely holding it passes") << "C:\\GORM700215KX3.KEY\\OTRO.TXT" << QString();
}

void TestFirma::keyDialogChecks() {
    QFETCH(QString, path);
    QFETCH(QString, message);
    ScriptedMessages messages;
    frmKey dialog(kRfc);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QString("Datos de la Firma"));
    QCOMPARE(child<QPushButton>(&dialog, "cmdBuscar")->text(), QString("&Buscar.."));
    auto* password = child<QLineEdit>(&dialog, "txtPassword");
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    child<QLineEdit>(&dialog, "txtLlave")->setText(path);
    typeText(password, QString::fromUtf8(kPassword));
    QTest::mouseClick(child<QPushButton>(&dialog, "cmdAceptar"), Qt::LeftButton);
    if (message.isEmpty()) {
        QCOMPARE(messages.shown.size(), 0);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const Llave llave = dialog.llave();
        QCOMPARE(llave.archivo, path);
        QCOMPARE(llave.password, kPassword);
        QVERIFY(dialog.llave().password.isEmpty());
        // Nothing of the password stays in the box, its undo history included.
        password->setEchoMode(QLineEdit::Normal);
        password->undo();
        QCOMPARE(password->text(), QString());
    } else {
        QCOMPARE(messages.texts(), QStringList{message});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), child<QPushButton>(&dialog, "cmdBuscar"));
    }
}

void TestFirma::keyDialogBrowseAndCancel() {
    ScriptedMessages messages;
    frmKey dialog(kRfc);
    auto* llave = child<QLineEdit>(&dialog, "txtLlave");
    llave->setText("/antes/GORM700215KX3.key");
    FileDialogs::queueAnswer(QString());
    QTest::mouseClick(child<QPushButton>(&dialog, "cmdBuscar"), Qt::LeftButton);
    QCOMPARE(llave->text(), QString("/antes/GORM700215KX3.key"));
    QVERIFY(FileDialogs::lastFilter().contains("*.key"));
    FileDialogs::queueAnswer("/claves/gorm700215kx3.key");
    QTest::mouseClick(child<QPushButton>(&dialog, "cmdBuscar"), Qt::LeftButton);
    QCOMPARE(llave->text(), QString("/claves/gorm700215kx3.key"));

    child<QLineEdit>(&dialog, "txtPassword")->setText("secreto");
    QTest::mouseClick(child<QPushButton>(&dialog, "cmdCancelar"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(child<QLineEdit>(&dialog, "txtPassword")->text(), QString());
    QCOMPARE(messages.shown.size(), 0);
}

void TestFirma::salirHandsOffUnsignedFile_data() {
    QTest::addColumn<bool>("listed");
    QTest::addColumn<bool>("leave");
    QTest::addColumn<bool>("dremloStarts");
    QTest::newRow("after a failed signing") << true << true << true;
    QTest::newRow("staying after a failed signing") << true << false << true;
    QTest::newRow("nothing unsigned") << false << true << true;
    // The broker sends the folder's contents as they are: a list nobody acts on must not be among them.
    QTest::newRow("Dremlo cannot start") << true << true << false;
}

void TestFirma::salirHandsOffUnsignedFile() {
    QFETCH(bool, listed);
    QFETCH(bool, leave);
    QFETCH(bool, dremloStarts);
    const bool handOff = listed && leave;
    QTemporaryDir dir;
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
    QVERIFY(startUp(window, driver));

    QDir(dir.path()).mkdir("ENVIO");
    const QString unsignedFile = QDir::toNativeSeparators(writeFile(dir.filePath("ENVIO/3012.txt"), kArchivo));
    writeFile(dir.filePath("ENVIO/LOTP751120QW7.REQ"), "requerimiento");
    // As a signing that failed for the key or the password leaves it.
    if (listed)
        writeFile(dir.filePath("ENVIO/Borra.txt"), unsignedFile.toUtf8() + "\r\n");

    QStringList launched;
    interceptLaunches([&](const QString& program, const QStringList& arguments, const QString& folder) {
        launched << program << arguments << folder;
        return dremloStarts;
    });
    messages.shown.clear();
    messages.answerNext(leave);
    QTest::mouseClick(child<QPushButton>(&window, "cmdSalir"), Qt::LeftButton);
    interceptLaunches({});

    const QString envio = QDir::toNativeSeparators(dir.filePath("ENVIO"));
    QStringList texts{"¿Desea salir de la aplicación?, aun no a generado el archivo de información"};
    if (handOff && !dremloStarts)
        texts << "No se pudo borrar el archivo sin firma " + unsignedFile + ". Bórrelo antes de enviar la carpeta " +
                     envio + ".";
    QCOMPARE(messages.texts(), texts);
    QCOMPARE(launched, handOff ? QStringList({dir.filePath("Dremlo"), envio, dir.filePath("ENVIO")}) : QStringList());
    if (!handOff || !dremloStarts) {
        QStringList left{"3012.txt", "LOTP751120QW7.REQ"};
        if (listed && !handOff)
            left.insert(1, "Borra.txt");
        QCOMPARE(QDir(envio).entryList(QDir::Files | QDir::Hidden), left);
        return;
    }
    QCOMPARE(readFile(dir.filePath("ENVIO/Borra.txt")), unsignedFile.toUtf8() + "\r\n");
    // What the started Dremlo does once the program has ended.
    QCOMPARE(QProcess::execute(kDremlo, {envio}), 0);
    QCOMPARE(QDir(envio).entryList(QDir::Files | QDir::Hidden), QStringList{"LOTP751120QW7.REQ"});
}

void TestFirma::dremloErasesOnlyInsideEnvio() {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("ENVIO/sub");
    const QString outside = writeFile(dir.filePath("fuera.txt"), "fuera");
    writeFile(dir.filePath("ENVIO/3012.txt"), kArchivo);
    writeFile(dir.filePath("ENVIO/sub/dentro.txt"), "dentro");
    writeFile(dir.filePath("ENVIO/queda.REQ"), "queda");
    QVERIFY(QFile::link(outside, dir.filePath("ENVIO/enlace.txt")));
    // Saved again by a Windows editor: a byte order mark before the first name, a bare LF after the last.
    const QByteArray list = "\xEF\xBB\xBFsub/dentro.txt\r\n../fuera.txt\r\n" + outside.toUtf8() + "\r\n" +
                            "enlace.txt\r\n" + dir.filePath("ENVIO").toUtf8() + "\r\n" + "sub\r\n" +
                            "no-existe.txt\r\n" + dir.filePath("ENVIO/sub/../3012.txt").toUtf8() + "\n";
    writeFile(dir.filePath("ENVIO/Borra.txt"), list);
    QProcess dremlo;
    dremlo.start(kDremlo, {dir.filePath("ENVIO")});
    QVERIFY(dremlo.waitForFinished(60000));
    QCOMPARE(dremlo.exitCode(), 2); // some names were passed over
    // The link and the folders named stay, the file outside too; the list is gone.
    QCOMPARE(QDir(dir.filePath("ENVIO")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList({"enlace.txt", "queda.REQ", "sub"}));
    QVERIFY(QDir(dir.filePath("ENVIO/sub")).isEmpty());
    QCOMPARE(readFile(outside), QByteArray("fuera"));
}

QTEST_MAIN(TestFirma)
#include "tst_firma.moc"
