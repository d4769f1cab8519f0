#include "app/Globales.h"
#include "app/frmMain.h"
#include "export/Firma.h"
#include "export/Genera_archivo.h"
#include "export/frmKey.h"
#include "platform/Database.h"
#include "platform/FileDialogs.h"
#include "platform/Launcher.h"
#include "platform/SigningLibrary.h"
#include "support/Fixtures.h"
#include "support/TestKeys.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

namespace {

const QByteArray kArchivo = "501|3012|1111111||||||||3012\r\n"
                            "AA|3012|MARIA|GOMEZ|RUIZ|GORM700215KX3|GORM700215MDFMZR05|470\r\n"
                            "Mandatarios|3012|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica\r\n"
                            "800|1111111|1|\r\n";
const QByteArray kPassword = "Contraseña 2004";
const QString kRfc = QStringLiteral("GORM700215KX3");

bool allPasswordsCleared(const TablaFirmantes& firmantes) {
    for (const Firmante& f : firmantes)
        for (char c : f.Password)
            if (c != 0)
                return false;
    return true;
}

const QString kDremlo = QStringLiteral(TOLVEK_PROGRAM_DIR "/Dremlo");

} // namespace

class TestFirma : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void recordFields_data();
    void recordFields();
    void libraryRoundTrip_data();
    void libraryRoundTrip();
    void signatureVerifiesWithOpensslTool();
    void outcomes_data();
    void outcomes();
    void libraryMissing();

    void keyDialogChecks_data();
    void keyDialogChecks();
    void keyDialogBrowse();
    void keyDialogCancel();

    void salirHandsOffUnsignedFile_data();
    void salirHandsOffUnsignedFile();
    void dremloErasesOnlyInsideEnvio();
    void handOffThatCannotStartLeavesNoList();
    void dremloReadsAListWithByteOrderMark();

private:
    // The signing setup of one case: which key file, which password, whether the file to sign exists.
    QString keyFile(const QString& folder, const QString& form);

    TestKey key_;
};

void TestFirma::initTestCase() {
    key_ = makeTestKey();
    QVERIFY(key_);
}

void TestFirma::recordFields_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("short") << QByteArray("abc") << QByteArray("abc") + '\0' + QByteArray(252, ' ');
    QTest::newRow("empty") << QByteArray() << '\0' + QByteArray(255, ' ');
    QTest::newRow("255 leaves room for the NUL") << QByteArray(255, 'x') << QByteArray(255, 'x') + '\0';
    QTest::newRow("longer is cut") << QByteArray(300, 'y') << QByteArray(256, 'y');
}

void TestFirma::recordFields() {
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, expected);
    char field[256];
    std::memset(field, '#', sizeof field);
    llenaCampo(field, sizeof field, value);
    QCOMPARE(QByteArray(field, sizeof field), expected);
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
    }
    return path;
}

void TestFirma::libraryRoundTrip_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("code");
    QTest::newRow("0: encrypted PKCS#8 DER") << "der" << true << kPassword << 0;
    QTest::newRow("0: encrypted PKCS#8 PEM") << "pem" << true << kPassword << 0;
    QTest::newRow("1: no file to sign") << "der" << false << kPassword << 1;
    QTest::newRow("2: no key file") << "missing" << true << kPassword << 2;
    QTest::newRow("2: not a key") << "garbage" << true << kPassword << 2;
    QTest::newRow("2: a key without encryption") << "plain" << true << kPassword << 2;
    QTest::newRow("3: wrong password") << "der" << true << QByteArray("contraseña") << 3;
    QTest::newRow("3: wrong password, PEM") << "pem" << true << QByteArray("Contraseña 2005") << 3;
    QTest::newRow("3: empty password") << "der" << true << QByteArray() << 3;
}

void TestFirma::libraryRoundTrip() {
    QFETCH(QString, form);
    QFETCH(bool, fileThere);
    QFETCH(QByteArray, password);
    QFETCH(int, code);
    QString error;
    SigningLibrary* library = SigningLibrary::load(TOLVEK_PROGRAM_DIR, &error);
    QVERIFY2(library, qPrintable(error));
    QTemporaryDir dir;
    const QString path = dir.filePath("3012.txt");
    if (fileThere)
        writeFile(path, kArchivo);

    TablaFirmantes firmantes{};
    QByteArray pathBytes = QFile::encodeName(path);
    QCOMPARE(library->BuscaCurps(pathBytes.data(), firmantes.data()), fileThere ? 1 : 0);
    if (fileThere)
        QCOMPARE(QByteArray(firmantes[0].Curp_Firmante), QByteArray("GORM700215MDFMZR05"));
    llenaCampo(firmantes[0].Llave, 256, QFile::encodeName(keyFile(dir.path(), form)));
    llenaCampo(firmantes[0].Password, 256, password);
    for (int i = 1; i < 5; ++i) {
        llenaCampo(firmantes[i].Llave, 256, "c:\\llave.key");
        llenaCampo(firmantes[i].Password, 256, "marcador");
    }
    QCOMPARE(library->GeneraFirmaDigital(pathBytes.data(), firmantes.data()), code);
    QVERIFY(allPasswordsCleared(firmantes));

    if (code == 0) {
        QByteArray content, curp;
        QVERIFY(verifySignedFile(readFile(path), key_.get(), &content, &curp));
        QCOMPARE(content, kArchivo);
        QCOMPARE(curp, QByteArray("GORM700215MDFMZR05"));
        // A single changed byte no longer verifies.
        QByteArray tampered = readFile(path);
        tampered.replace("MARIA", "MARIO");
        QVERIFY(!verifySignedFile(tampered, key_.get(), &content, &curp));
    } else if (fileThere) {
        QCOMPARE(readFile(path), kArchivo);
    } else {
        QVERIFY(!QFile::exists(path));
    }
}

void TestFirma::signatureVerifiesWithOpensslTool() {
    const QString openssl = QStandardPaths::findExecutable("openssl");
    if (openssl.isEmpty())
        QSKIP("the openssl command is not installed");
    QString error;
    SigningLibrary* library = SigningLibrary::load(TOLVEK_PROGRAM_DIR, &error);
    QVERIFY2(library, qPrintable(error));
    QTemporaryDir dir;
    const QString path = writeFile(dir.filePath("3012.txt"), kArchivo);
    TablaFirmantes firmantes{};
    QByteArray pathBytes = QFile::encodeName(path);
    library->BuscaCurps(pathBytes.data(), firmantes.data());
    llenaCampo(firmantes[0].Llave, 256, QFile::encodeName(keyFile(dir.path(), "der")));
    llenaCampo(firmantes[0].Password, 256, kPassword);
    QCOMPARE(library->GeneraFirmaDigital(pathBytes.data(), firmantes.data()), 0);

    // The recipe of the README: cut off the last line, decode its third field, verify the rest.
    QCOMPARE(verifyWithOpensslTool(readFile(path), key_.get(), dir.path()), QByteArray("Verified OK"));
}

void TestFirma::outcomes_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("after");
    const int info = int(MessageIcon::Information);
    const int excl = int(MessageIcon::Exclamation);
    QTest::newRow("0 signed") << "der" << true << kPassword << 1 << "" << info << 0;
    QTest::newRow("1 no file") << "der" << false << kPassword << 1 << "No se encontró el archivo a firmar digitalmente"
                               << excl << 0;
    QTest::newRow("2 no key") << "missing" << true << kPassword << 0
                              << "No se encontró la llave privada (*.key) o el archivo no es válido" << excl << 1;
    QTest::newRow("3 password") << "der" << true << QByteArray("otra") << 0 << "Error en la contraseña" << excl << 1;
}

void TestFirma::outcomes() {
    QFETCH(QString, form);
    QFETCH(bool, fileThere);
    QFETCH(QByteArray, password);
    QFETCH(int, before);
    QFETCH(QString, message);
    QFETCH(int, icon);
    QFETCH(int, after);
    QTemporaryDir dir;
    QVERIFY(copySigningLibrary(dir.path()));
    QDir(dir.path()).mkdir("ENVIO");
    const QString path = dir.filePath("ENVIO/3012.txt");
    if (fileThere)
        writeFile(path, kArchivo);
    Globales g;
    g.NoPatente = "3012";
    g.Archivo_Generado = before;
    ScriptedMessages messages;
    QByteArray secret = password;
    const int code = Firma_Archivo(nullptr, g, dir.path(), path, keyFile(dir.path(), form), secret);
    QCOMPARE(messages.shown.size(), 1);
    if (message.isEmpty())
        message = "Se genero el archivo " + QDir::toNativeSeparators(path) +
                  " correctamente y se agrego Firma Digital, no olvide enviarlo y los requerimientos manualmente a " +
                  kCorreoAutoridad;
    QCOMPARE(messages.shown[0].text, message);
    QCOMPARE(messages.shown[0].title, QString("Mensaje"));
    QCOMPARE(int(messages.shown[0].icon), icon);
    QVERIFY(!messages.shown[0].withCancel);
    QCOMPARE(g.Archivo_Generado, after);
    QCOMPARE(code, QString(QTest::currentDataTag()).left(1).toInt());
    QVERIFY(secret.isEmpty());
    QVERIFY(allPasswordsCleared(Firmantes()));
    // Records 1 to 4 carry the placeholder key.
    QCOMPARE(QByteArray(Firmantes()[3].Llave), QByteArray("c:\\llave.key"));
}

void TestFirma::libraryMissing() {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("ENVIO");
    const QString path = writeFile(dir.filePath("ENVIO/3012.txt"), kArchivo);
    Globales g;
    g.NoPatente = "3012";
    ScriptedMessages messages;
    QByteArray secret = kPassword;
    QCOMPARE(Firma_Archivo(nullptr, g, dir.path(), path, keyFile(dir.path(), "der"), secret), -1);
    QCOMPARE(messages.shown.size(), 1);
    const QString text = messages.shown[0].text;
    QVERIFY2(text.startsWith("No se pudo usar la biblioteca de firma digital kfirma32 de la carpeta " +
                             QDir::toNativeSeparators(dir.path())),
             qPrintable(text));
    QVERIFY2(text.contains("quedó sin firmar"), qPrintable(text));
    QCOMPARE(int(messages.shown[0].icon), int(MessageIcon::Exclamation));
    QCOMPARE(g.Archivo_Generado, 1);
    QVERIFY(secret.isEmpty());
    QCOMPARE(readFile(path), kArchivo);
}

void TestFirma::keyDialogChecks_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << ""
                           << "El archivo llave no puede estar vacio";
    QTest::newRow("blanks only") << "   "
                                 << "El archivo llave no puede estar vacio";
    QTest::newRow("another RFC") << "c:\\claves\\OTRO700101AB1.key"
                                 << "Debe usar el archivo llave del AGENTE ADUANAL";
    QTest::newRow("the RFC without .KEY") << "/claves/GORM700215KX3.cer"
                                          << "Debe usar el archivo llave del AGENTE ADUANAL";
    QTest::newRow("lower case passes") << "c:\\claves\\gorm700215kx3.key"
                                       << "";
    QTest::newRow("a path merely holding it passes") << "C:\\GORM700215KX3.KEY\\OTRO.TXT"
                                                     << "";
}

void TestFirma::keyDialogChecks() {
    QFETCH(QString, path);
    QFETCH(QString, message);
    DatosLlave datos;
    datos.Respuesta_Key = "antes";
    ScriptedMessages messages;
    frmKey dialog(kRfc, datos);
    dialog.show();
    QCOMPARE(dialog.objectName(), QString("frmKey"));
    QCOMPARE(dialog.windowTitle(), QString("Datos de la Firma"));
    QCOMPARE(child<QPushButton>(&dialog, "cmdBuscar")->text(), QString("&Buscar.."));
    QCOMPARE(child<QLabel>(&dialog, "Label2")->text(), QString("Contraseña:"));
    QCOMPARE(child<QLineEdit>(&dialog, "txtPassword")->echoMode(), QLineEdit::Password);
    child<QLineEdit>(&dialog, "txtLlave")->setText(path);
    typeText(child<QLineEdit>(&dialog, "txtPassword"), QString::fromUtf8(kPassword));
    QTest::mouseClick(child<QPushButton>(&dialog, "cmdAceptar"), Qt::LeftButton);
    if (message.isEmpty()) {
        QCOMPARE(messages.shown.size(), 0);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(datos.Respuesta_Key, QString("A"));
        QCOMPARE(datos.Archivo_Llave, path);
        QCOMPARE(datos.Password_Llave, kPassword);
        // Nothing of the password stays in the box, its undo history included.
        auto* password = child<QLineEdit>(&dialog, "txtPassword");
        password->setEchoMode(QLineEdit::Normal);
        password->undo();
        QCOMPARE(password->text(), QString());
    } else {
        QCOMPARE(messages.texts(), QStringList{message});
        QCOMPARE(messages.shown[0].title, QString("Mensaje"));
        QCOMPARE(int(messages.shown[0].icon), int(MessageIcon::Information));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), child<QPushButton>(&dialog, "cmdBuscar"));
        QCOMPARE(datos.Respuesta_Key, QString("antes"));
    }
}

void TestFirma::keyDialogBrowse() {
    DatosLlave datos;
    frmKey dialog(kRfc, datos);
    auto* llave = child<QLineEdit>(&dialog, "txtLlave");
    llave->setText("/antes/GORM700215KX3.key");
    FileDialogs::queueAnswer(QString());
    QTest::mouseClick(child<QPushButton>(&dialog, "cmdBuscar"), Qt::LeftButton);
    QCOMPARE(llave->text(), QString("/antes/GORM700215KX3.key"));
    QVERIFY(FileDialogs::lastFilter().contains("*.key"));
    FileDialogs::queueAnswer("/claves/gorm700215kx3.key");
    QTest::mouseClick(child<QPushButton>(&dialog, "cmdBuscar"), Qt::LeftButton);
    QCOMPARE(llave->text(), QString("/claves/gorm700215kx3.key"));
}

void TestFirma::keyDialogCancel() {
    DatosLlave datos{"A", "/claves/GORM700215KX3.key", "secreto"};
    ScriptedMessages messages;
    {
        frmKey dialog(kRfc, datos);
        child<QLineEdit>(&dialog, "txtLlave")->setText("/otra/GORM700215KX3.key");
        QTest::mouseClick(child<QPushButton>(&dialog, "cmdCancelar"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    QCOMPARE(datos.Respuesta_Key, QString("C"));
    QVERIFY(datos.Archivo_Llave.isEmpty());
    QVERIFY(datos.Password_Llave.isEmpty());
    // A later "&Aceptar" stores new ones.
    frmKey dialog(kRfc, datos);
    child<QLineEdit>(&dialog, "txtLlave")->setText("/nueva/GORM700215KX3.key");
    child<QLineEdit>(&dialog, "txtPassword")->setText("nueva");
    QTest::mouseClick(child<QPushButton>(&dialog, "cmdAceptar"), Qt::LeftButton);
    QCOMPARE(datos.Respuesta_Key, QString("A"));
    QCOMPARE(datos.Archivo_Llave, QString("/nueva/GORM700215KX3.key"));
    QCOMPARE(datos.Password_Llave, QByteArray("nueva"));
    QCOMPARE(messages.shown.size(), 0);
}

void TestFirma::salirHandsOffUnsignedFile_data() {
    QTest::addColumn<int>("archivoGenerado");
    QTest::addColumn<bool>("leave");
    QTest::addColumn<bool>("handOff");
    QTest::newRow("after a failed signing") << 1 << true << true;
    QTest::newRow("staying after a failed signing") << 1 << false << false;
    QTest::newRow("nothing unsigned") << 0 << true << false;
}

void TestFirma::salirHandsOffUnsignedFile() {
    QFETCH(int, archivoGenerado);
    QFETCH(bool, leave);
    QFETCH(bool, handOff);
    QTemporaryDir dir;
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
    QVERIFY(startUp(window, driver));

    QDir(dir.path()).mkdir("ENVIO");
    const QString unsignedFile = writeFile(dir.filePath("ENVIO/3012.txt"), kArchivo);
    writeFile(dir.filePath("ENVIO/LOTP751120QW7.REQ"), "requerimiento");
    writeFile(dir.filePath("3012.txt"), "fuera de ENVIO");
    window.globales().NoPatente = "3012";
    window.globales().Archivo_Generado = archivoGenerado;

    QStringList launched;
    interceptLaunches([&](const QString& program, const QStringList& arguments, const QString& folder) {
        launched << program << arguments << folder;
        return true;
    });
    messages.shown.clear();
    messages.answerNext(leave);
    QTest::mouseClick(child<QPushButton>(&window, "cmdSalir"), Qt::LeftButton);
    interceptLaunches({});
    QCOMPARE(messages.texts(),
             QStringList{"¿Desea salir de la aplicación?, aun no a generado el archivo de información"});

    const QString envio = QDir::toNativeSeparators(dir.filePath("ENVIO"));
    if (!handOff) {
        QCOMPARE(launched, QStringList());
        QVERIFY(!QFile::exists(dir.filePath("ENVIO/Borra.txt")));
        return;
    }
    QCOMPARE(readFile(dir.filePath("ENVIO/Borra.txt")), QDir::toNativeSeparators(unsignedFile).toUtf8() + "\r\n");
    QCOMPARE(launched, QStringList({dir.filePath("Dremlo"), envio, dir.filePath("ENVIO")}));

    // What the started Dremlo does once the program has ended.
    QCOMPARE(QProcess::execute(kDremlo, {envio}), 0);
    QCOMPARE(QDir(dir.filePath("ENVIO")).entryList(QDir::Files), QStringList{"LOTP751120QW7.REQ"});
    QCOMPARE(readFile(dir.filePath("3012.txt")), QByteArray("fuera de ENVIO"));
}

void TestFirma::dremloErasesOnlyInsideEnvio() {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("ENVIO/sub");
    const QString outside = writeFile(dir.filePath("fuera.txt"), "fuera");
    writeFile(dir.filePath("ENVIO/3012.txt"), kArchivo);
    writeFile(dir.filePath("ENVIO/sub/dentro.txt"), "dentro");
    writeFile(dir.filePath("ENVIO/queda.REQ"), "queda");
    QVERIFY(QFile::link(outside, dir.filePath("ENVIO/enlace.txt")));
    const QByteArray list = QByteArray("../fuera.txt\r\n") + outside.toUtf8() + "\r\n" + "enlace.txt\r\n" +
                            dir.filePath("ENVIO").toUtf8() + "\r\n" + "sub\r\n" + "no-existe.txt\r\n" +
                            dir.filePath("ENVIO/sub/../3012.txt").toUtf8() + "\r\n" + "sub/dentro.txt\n";
    writeFile(dir.filePath("ENVIO/Borra.txt"), list);
    QProcess dremlo;
    dremlo.start(kDremlo, {dir.filePath("ENVIO")});
    QVERIFY(dremlo.waitForFinished(60000));
    QCOMPARE(dremlo.exitCode(), 2);
    QVERIFY(!QFile::exists(dir.filePath("ENVIO/3012.txt")));
    QVERIFY(!QFile::exists(dir.filePath("ENVIO/sub/dentro.txt")));
    QVERIFY(!QFile::exists(dir.filePath("ENVIO/Borra.txt")));
    QCOMPARE(readFile(outside), QByteArray("fuera"));
    QVERIFY(QFileInfo(dir.filePath("ENVIO/enlace.txt")).isSymLink());
    QVERIFY(QFileInfo(dir.filePath("ENVIO/sub")).isDir());
    QCOMPARE(readFile(dir.filePath("ENVIO/queda.REQ")), QByteArray("queda"));
}

void TestFirma::handOffThatCannotStartLeavesNoList() {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("ENVIO");
    const QString unsignedFile = writeFile(dir.filePath("ENVIO/3012.txt"), kArchivo);
    ScriptedMessages messages;
    interceptLaunches([](const QString&, const QStringList&, const QString&) { return false; });
    Borra_Archivo_Sin_Firma(nullptr, dir.path(), "3012");
    interceptLaunches({});
    QCOMPARE(messages.texts(),
             QStringList{"No se pudo borrar el archivo sin firma " + QDir::toNativeSeparators(unsignedFile) +
                         ". Bórrelo antes de enviar la carpeta " + QDir::toNativeSeparators(dir.filePath("ENVIO")) +
                         "."});
    // The broker sends the folder's contents as they are: a list nobody acted on must not be among them.
    QCOMPARE(QDir(dir.filePath("ENVIO")).entryList(QDir::Files | QDir::Hidden), QStringList{"3012.txt"});
}

void TestFirma::dremloReadsAListWithByteOrderMark() {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("ENVIO");
    const QString unsignedFile = writeFile(dir.filePath("ENVIO/3012.txt"), kArchivo);
    writeFile(dir.filePath("ENVIO/Borra.txt"), "\xEF\xBB\xBF" + unsignedFile.toUtf8() + "\r\n");
    QCOMPARE(QProcess::execute(kDremlo, {dir.filePath("ENVIO")}), 0);
    QCOMPARE(QDir(dir.filePath("ENVIO")).entryList(QDir::Files | QDir::Hidden), QStringList());
}

QTEST_MAIN(TestFirma)
#include "tst_firma.moc"
