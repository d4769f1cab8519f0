#include "app/Globales.h"
#include "data/BaseDatos.h"
#include "export/ArchivoInformacion.h"
#include "export/Firma.h"
#include "export/Genera_archivo.h"
#include "platform/Database.h"
#include "platform/Launcher.h"
#include "support/TestKeys.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kCurp = QStringLiteral("LOTP751120HDFPRD02");

const QByteArray kEjemplo = "501|3012|1111111||||||||3012\r\n"
                            "AA|3012|MARIA|GOMEZ|RUIZ|GORM700215KX3|GORM700215MDFMZR05|470\r\n"
                            "Domicilios_AA|3012|1|09|15|AV. REFORMA|120||CENTRO|06000|5555123456|\r\n"
                            "Domicilios_AA|3012|2|09|15|AV. REFORMA|120||CENTRO|06000|5555123456|\r\n"
                            "Mandatarios|3012|LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LOPEZ|TORRES|1|1|1\r\n"
                            "Domicilios_MM|3012|LOTP751120HDFPRD02|09|15|CALLE 5|33||ROMA|06700|5555987654||1\r\n"
                            "Aduanas_MM|3012|LOTP751120HDFPRD02|470\r\n"
                            "Pedimentos_MM|3012|LOTP751120HDFPRD02|470|3004567|2000-11-30\r\n"
                            "800|1111111|1|\r\n";

const QByteArray kTrailer = "800|1111111|1|\r\n";

// The broker of the worked example with his one representative of mandate type 1.
std::unique_ptr<Database> baseEjemplo(const QString& folder, const QString& requerimiento = QString()) {
    QString error;
    auto db = openTolvekDatabase(folder, &error);
    db->exec("insert into AA values (?,?,?,?,?,?,?,?)",
             {3012, "MARIA", "GOMEZ", "RUIZ", "GORM700215KX3", "GORM700215MDFMZR05", 0, 470});
    for (int tipo : {1, 2})
        db->exec("insert into Domicilios_AA values (?,?,?,?,?,?,?,?,?,?)",
                 {tipo, "09", 15, "AV. REFORMA", "120", "", "CENTRO", "06000", "5555123456", ""});
    db->exec("insert into Mandatarios values (?,?,?,?,?,?,?,?,?)",
             {kCurp, "LOTP751120QW7", "PEDRO", "LOPEZ", "TORRES", 1, requerimiento, 1, 1});
    db->exec("insert into Domicilios_MM values (?,?,?,?,?,?,?,?,?,?,?)",
             {kCurp, "09", 15, "CALLE 5", "33", "", "ROMA", "06700", "5555987654", "", 1});
    db->exec("insert into Aduanas_MM values (?,?)", {kCurp, 470});
    db->exec("insert into Pedimentos_MM values (?,?,?,?)", {kCurp, 470, "3004567", QDate(2000, 11, 30)});
    return db;
}

QByteArray escribe(Database& db, QString* error = nullptr) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString message;
    const bool ok = Escribe_Archivo(db, QStringLiteral("3012"), &buffer, &message);
    if (error)
        *error = message;
    return ok ? buffer.data() : QByteArray("FALLO: ") + message.toUtf8();
}

// A device that accepts the first `room` bytes and then fails, as a full disk does.
class FullDevice : public QIODevice {
public:
    explicit FullDevice(qint64 room) : room_(room) {
        open(QIODevice::WriteOnly);
        setErrorString(QStringLiteral("disco lleno"));
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override {
        if (size > room_)
            return -1;
        room_ -= size;
        return size;
    }

private:
    qint64 room_;
};

const QByteArray kPassword = "Contraseña del agente";

} // namespace

class TestArchivo : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void workedExample();
    void variants_data();
    void variants();
    void refusedValues_data();
    void refusedValues();
    void deviceFailure();

    void generaSignedFileWithRequests();
    void requestFilesForTypes1And3Only();
    void secondRunReplacesFirst();
    void missingRequestRefusedBeforeWriting_data();
    void missingRequestRefusedBeforeWriting();
    void badValueLeavesEarlierFileAlone();
    void declinedOrCancelledWritesNothing_data();
    void declinedOrCancelledWritesNothing();
    void closeBoxGeneratesNothing();
    void sendingFolderCannotBeMade();
    void wrongPasswordLeavesUnsignedFile();
    void handOffErasesTheUnsignedFileAfterPatenteChanged();
    void unsignedFileOutlivesALaterSigning();
    void requestAlreadyInSendingFolder();
    void staleErasingListTakenAway();
    void patenteThatCannotNameTheFile_data();
    void patenteThatCannotNameTheFile();

private:
    // Runs Genera_archivo with the key dialog answered by "&Aceptar" with the key file and the password.
    bool genera(Globales& globales, const QString& folder, const QString& keyPath, const QByteArray& password);
    QString writeKey(const QString& folder, const QByteArray& password);

    TestKey key_;
};

void TestArchivo::initTestCase() {
    key_ = makeTestKey();
    QVERIFY(key_);
}

void TestArchivo::workedExample() {
    QTemporaryDir dir;
    auto db = baseEjemplo(dir.path());
    QCOMPARE(escribe(*db), kEjemplo);
}

void TestArchivo::variants_data() {
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("null NoInt and Fax read as empty fields")
        << QStringList{"update Domicilios_MM set NoInt=NULL, Fax=NULL", "update Domicilios_AA set Fax=NULL"}
        << kEjemplo;

    QByteArray aspirant = kEjemplo;
    aspirant.replace("TORRES|1|1|1", "TORRES|2|1|1");
    aspirant.replace(kTrailer, "Historico_AA|3012|No Aplica|No Aplica|No Aplica|No Aplica\r\n"
                               "Periodos_H_MM|3012|No Plica|No Aplica|No Aplica|No Aplica|No Aplica\r\n" +
                                   kTrailer);
    QTest::newRow("an aspirant and empty history: the two fillers")
        << QStringList{"update Mandatarios set Mandato=2"} << aspirant;

    QByteArray history = kEjemplo;
    history.replace("TORRES|1|1|1", "TORRES|2|1|1");
    history.replace(kTrailer, "Historico_AA|3012|RAAJ600101AB1|RAAJ600101HDFMRN01|JUAN|RAMOS|ARIAS\r\n"
                              "Periodos_H_AA|3012|RAAJ600101HDFMRN01|240|1995-01-02|1999-12-31\r\n"
                              "Periodos_H_MM|3012|LOTP751120HDFPRD02|470|3001|2001-02-01|2003-06-30\r\n" +
                                  kTrailer);
    QTest::newRow("an aspirant with history rows")
        << QStringList{"update Mandatarios set Mandato=2",
                       "insert into Historico_AA values ('RAAJ600101AB1','RAAJ600101HDFMRN01','JUAN','RAMOS','ARIAS')",
                       "insert into Periodos_H_AA values ('RAAJ600101HDFMRN01',240,'1995-01-02','1999-12-31')",
                       "insert into Periodos_H_MM values ('LOTP751120HDFPRD02',470,3001,'2001-02-01','2003-06-30')"}
        << history;

    QTest::newRow("no representative: the seven-value filler, no history")
        << QStringList{"delete from Mandatarios", "delete from Domicilios_MM", "delete from Aduanas_MM",
                       "delete from Pedimentos_MM"}
        << kEjemplo.left(kEjemplo.indexOf("Mandatarios|")) +
               "Mandatarios|3012|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica\r\n" + kTrailer;

    QTest::newRow("empty tables give no line, not even their tag")
        << QStringList{"delete from AA",          "delete from Domicilios_AA",
                       "delete from Mandatarios", "delete from Domicilios_MM",
                       "delete from Aduanas_MM",  "delete from Pedimentos_MM"}
        << "501|3012|1111111||||||||3012\r\n"
           "Mandatarios|3012|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica\r\n" +
               kTrailer;

    QByteArray enie = kEjemplo;
    enie.replace("|GOMEZ|", "|MU\xD1OZ|");
    QTest::newRow("Ñ is the one byte 0xD1") << QStringList{"update AA set ApPaterno='MUÑOZ'"} << enie;

    QByteArray accents = kEjemplo;
    accents.replace("|CENTRO|", "|JOS\xC9 \x80 \x93"
                                "A\x94|");
    QTest::newRow("accents and the code page's own letters")
        << QStringList{"update Domicilios_AA set Colonia='JOSÉ € “A”'"} << accents;

    QByteArray numbers = kEjemplo;
    numbers.replace("TORRES|1|1|1", "TORRES||-1|1");
    QTest::newRow("a null Mandato is empty, a negative number keeps its sign")
        << QStringList{"update Mandatarios set Mandato=NULL, Acreditacion=-1"} << numbers;

    QTest::newRow("a number stored as text with its blank is written without it")
        << QStringList{"update Aduanas_MM set NoAduana=' 470'"} << kEjemplo;

    QByteArray pipes = kEjemplo;
    pipes.replace("|1|09|15|AV. REFORMA|120||", "|1|09|15|AV. REFORMA|120|  |");
    QTest::newRow("texts are written untrimmed")
        << QStringList{"update Domicilios_AA set NoInt='  ' where Tipo_Dom=1"} << pipes;
}

void TestArchivo::variants() {
    QFETCH(QStringList, statements);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    auto db = baseEjemplo(dir.path());
    for (const QString& sql : statements)
        db->exec(sql);
    QCOMPARE(escribe(*db), expected);
}

void TestArchivo::refusedValues_data() {
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QStringList>("named");

    QTest::newRow("a pipe") << QStringList{"update Domicilios_MM set Calle='CALLE | 5'"}
                            << QStringList{"tabla Domicilios_MM", "campo Calle", "representante LOTP751120HDFPRD02",
                                           "\"|\""};
    QTest::newRow("a line break") << QStringList{"update Mandatarios set Nombre='PE' || char(13) || char(10) || 'DRO'"}
                                  << QStringList{"tabla Mandatarios", "campo Nombre",
                                                 "representante LOTP751120HDFPRD02", "salto de línea"};
    QTest::newRow("a letter outside the code page")
        << QStringList{"update AA set Nombre='MARĪA'"}
        << QStringList{"tabla AA", "campo Nombre", "del Agente Aduanal", "\"Ī\" (U+012A)", "Windows-1252"};
    QTest::newRow("an emoji") << QStringList{"update Domicilios_AA set Telefono='55 😀' where Tipo_Dom=2"}
                              << QStringList{"tabla Domicilios_AA", "campo Telefono", "U+1F600"};
    QTest::newRow("a control character") << QStringList{"update Aduanas_MM set CURP='LOTP' || char(7)"}
                                         << QStringList{"tabla Aduanas_MM", "campo CURP", "U+0007"};
    QTest::newRow("a NUL") << QStringList{"update Aduanas_MM set NoAduana=470, CURP='LOTP' || char(0) || 'X'"}
                           << QStringList{"tabla Aduanas_MM", "campo CURP", "U+0000"};
    QTest::newRow("a date that is none") << QStringList{"update Pedimentos_MM set FechPedimento='30/11/2000'"}
                                         << QStringList{"tabla Pedimentos_MM", "campo FechPedimento", "fecha válida",
                                                        "LOTP751120HDFPRD02"};
    QTest::newRow("a number that is none") << QStringList{"update Aduanas_MM set NoAduana='CUATRO'"}
                                           << QStringList{"tabla Aduanas_MM", "campo NoAduana", "número válido"};
    QTest::newRow("a former representative")
        << QStringList{"update Mandatarios set Mandato=2",
                       "insert into Historico_AA values ('RAAJ600101AB1','RAAJ600101HDFMRN01','JUAN','RAMOS','A|B')"}
        << QStringList{"tabla Historico_AA", "campo ApMaterno", "representante anterior RAAJ600101HDFMRN01"};
}

void TestArchivo::refusedValues() {
    QFETCH(QStringList, statements);
    QFETCH(QStringList, named);
    QTemporaryDir dir;
    auto db = baseEjemplo(dir.path());
    for (const QString& sql : statements)
        db->exec(sql);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    QVERIFY(!Escribe_Archivo(*db, "3012", &buffer, &error));
    QVERIFY2(error.startsWith("No se puede generar el archivo de información: "), qPrintable(error));
    for (const QString& part : named)
        QVERIFY2(error.contains(part), qPrintable(error + " / " + part));
}

void TestArchivo::deviceFailure() {
    QTemporaryDir dir;
    auto db = baseEjemplo(dir.path());
    FullDevice device(10);
    QString error;
    QVERIFY(!Escribe_Archivo(*db, "3012", &device, &error));
    QCOMPARE(error, QString("No se pudo escribir el archivo de información: disco lleno."));
}

QString TestArchivo::writeKey(const QString& folder, const QByteArray& password) {
    return writeKeyFile(QDir(folder).filePath("gorm700215kx3.key"), key_.get(), password);
}

bool TestArchivo::genera(Globales& globales, const QString& folder, const QString& keyPath,
                         const QByteArray& password) {
    ModalDriver driver;
    driver.then([&](QDialog* d) {
        child<QLineEdit>(d, "txtLlave")->setText(keyPath);
        child<QLineEdit>(d, "txtPassword")->setText(QString::fromUtf8(password));
        QTest::mouseClick(child<QPushButton>(d, "cmdAceptar"), Qt::LeftButton);
    });
    const bool result = Genera_archivo(nullptr, globales, folder);
    if (!driver.unexpected.isEmpty() || driver.pending() != 0)
        qWarning() << "key dialog not answered" << driver.unexpected << driver.pending();
    return result;
}

void TestArchivo::generaSignedFileWithRequests() {
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    QVERIFY(copySigningLibrary(dir.path()));
    const QString req = writeFile(elsewhere.filePath("LOTP751120QW7.REQ"), "solicitud de Pedro");
    Globales g;
    g.BaseDatos = baseEjemplo(dir.path(), req);
    g.NoPatente = "3012";
    ScriptedMessages messages;
    QVERIFY(genera(g, dir.path(), writeKey(elsewhere.path(), kPassword), kPassword));

    QCOMPARE(messages.shown.size(), 2);
    QCOMPARE(messages.shown[0].text, QString("¿DESEA GENERAR EL ARCHIVO DE INFORMACION? PARA ESTA OPERACION DEBE USAR "
                                             "EL ARCHIVO LLAVE DEL AGENTE ADUANAL. "));
    QCOMPARE(messages.shown[0].title, QString("Mensaje"));
    QCOMPARE(int(messages.shown[0].icon), int(MessageIcon::Exclamation));
    QVERIFY(messages.shown[0].withCancel);
    const QString path = dir.filePath("ENVIO/3012.txt");
    QCOMPARE(messages.shown[1].text,
             "Se genero el archivo " + QDir::toNativeSeparators(path) +
                 " correctamente y se agrego Firma Digital, no olvide enviarlo y los requerimientos manualmente a " +
                 kCorreoAutoridad);
    QCOMPARE(int(messages.shown[1].icon), int(MessageIcon::Information));
    QCOMPARE(g.Archivo_Generado, 0);

    QByteArray content, curp;
    QVERIFY(verifySignedFile(readFile(path), key_.get(), &content, &curp));
    QCOMPARE(content, kEjemplo);
    QCOMPARE(curp, QByteArray("GORM700215MDFMZR05"));
    QCOMPARE(readFile(dir.filePath("ENVIO/LOTP751120QW7.REQ")), QByteArray("solicitud de Pedro"));
    QVERIFY(datosLlave().Password_Llave.isEmpty());
    QCOMPARE(QDir(dir.filePath("ENVIO")).entryList(QDir::Files | QDir::Hidden),
             QStringList({"3012.txt", "LOTP751120QW7.REQ"}));
}

void TestArchivo::requestFilesForTypes1And3Only() {
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    QVERIFY(copySigningLibrary(dir.path()));
    Globales g;
    g.BaseDatos = baseEjemplo(dir.path(), writeFile(elsewhere.filePath("LOTP751120QW7.REQ"), "uno"));
    g.NoPatente = "3012";
    g.BaseDatos->exec("insert into Mandatarios values (?,?,?,?,?,?,?,?,?)",
                      {"AASP800101HDFRNB03", "AASP800101AB2", "PABLO", "ARIAS", "SOSA", 2,
                       writeFile(elsewhere.filePath("AASP800101AB2.REQ"), "dos"), 0, 1});
    g.BaseDatos->exec("insert into Mandatarios values (?,?,?,?,?,?,?,?,?)",
                      {"BERL700101MDFRNS09", "BERL700101CD3", "LUISA", "BERMUDEZ", "RIOS", 3,
                       writeFile(elsewhere.filePath("BERL700101CD3.REQ"), "tres"), 1, 1});
    // An aspirant needs no request file at all.
    g.BaseDatos->exec("insert into Mandatarios values (?,?,?,?,?,?,?,?,?)",
                      {"CAMJ900101HDFRRN04", "CAMJ900101EF4", "JORGE", "CAMPOS", "MORA", 2, "", 0, 1});
    ScriptedMessages messages;
    QVERIFY(genera(g, dir.path(), writeKey(elsewhere.path(), kPassword), kPassword));
    QCOMPARE(QDir(dir.filePath("ENVIO")).entryList(QDir::Files),
             QStringList({"3012.txt", "BERL700101CD3.REQ", "LOTP751120QW7.REQ"}));
    QCOMPARE(readFile(dir.filePath("ENVIO/BERL700101CD3.REQ")), QByteArray("tres"));
}

void TestArchivo::secondRunReplacesFirst() {
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    QVERIFY(copySigningLibrary(dir.path()));
    Globales g;
    g.BaseDatos = baseEjemplo(dir.path(), writeFile(elsewhere.filePath("LOTP751120QW7.REQ"), "primera"));
    g.NoPatente = "3012";
    ScriptedMessages messages;
    const QString keyPath = writeKey(elsewhere.path(), kPassword);
    QVERIFY(genera(g, dir.path(), keyPath, kPassword));

    g.BaseDatos->exec("update AA set ApPaterno='MUÑOZ'");
    writeFile(elsewhere.filePath("LOTP751120QW7.REQ"), "segunda");
    QVERIFY(genera(g, dir.path(), keyPath, kPassword));
    QByteArray content, curp;
    QVERIFY(verifySignedFile(readFile(dir.filePath("ENVIO/3012.txt")), key_.get(), &content, &curp));
    QByteArray expected = kEjemplo;
    expected.replace("|GOMEZ|", "|MU\xD1OZ|");
    QCOMPARE(content, expected);
    QCOMPARE(readFile(dir.filePath("ENVIO/LOTP751120QW7.REQ")), QByteArray("segunda"));
}

void TestArchivo::missingRequestRefusedBeforeWriting_data() {
    QTest::addColumn<bool>("blank");
    QTest::newRow("file missing") << false;
    QTest::newRow("no request chosen") << true;
}

void TestArchivo::missingRequestRefusedBeforeWriting() {
    QFETCH(bool, blank);
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    QVERIFY(copySigningLibrary(dir.path()));
    const QString missing = elsewhere.filePath("LOTP751120QW7.REQ");
    Globales g;
    g.BaseDatos = baseEjemplo(dir.path(), blank ? QString("  ") : missing);
    g.NoPatente = "3012";
    ScriptedMessages messages;
    QVERIFY(!genera(g, dir.path(), writeKey(elsewhere.path(), kPassword), kPassword));
    QCOMPARE(messages.shown.size(), 2);
    const QString text = messages.shown[1].text;
    QVERIFY2(text.contains("PEDRO LOPEZ TORRES") && text.contains(kCurp), qPrintable(text));
    if (blank)
        QVERIFY2(text.contains("no tiene Requerimiento Electrónico"), qPrintable(text));
    else
        QVERIFY2(text.contains(QDir::toNativeSeparators(missing)), qPrintable(text));
    QCOMPARE(QDir(dir.filePath("ENVIO")).entryList(QDir::Files | QDir::Hidden), QStringList());
    QVERIFY(datosLlave().Password_Llave.isEmpty());
}

void TestArchivo::badValueLeavesEarlierFileAlone() {
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    QVERIFY(copySigningLibrary(dir.path()));
    Globales g;
    g.BaseDatos = baseEjemplo(dir.path(), writeFile(elsewhere.filePath("LOTP751120QW7.REQ"), "req"));
    g.NoPatente = "3012";
    QDir(dir.path()).mkdir("ENVIO");
    writeFile(dir.filePath("ENVIO/3012.txt"), "archivo anterior\r\n");
    g.BaseDatos->exec("update Pedimentos_MM set NoPedimento='300|4567'");
    ScriptedMessages messages;
    QVERIFY(!genera(g, dir.path(), writeKey(elsewhere.path(), kPassword), kPassword));
    QVERIFY2(messages.texts().last().contains("campo NoPedimento"), qPrintable(messages.texts().last()));
    QCOMPARE(readFile(dir.filePath("ENVIO/3012.txt")), QByteArray("archivo anterior\r\n"));
    QCOMPARE(QDir(dir.filePath("ENVIO")).entryList(QDir::Files | QDir::Hidden), QStringList({"3012.txt"}));
}

void TestArchivo::declinedOrCancelledWritesNothing_data() {
    QTest::addColumn<bool>("declined");
    QTest::newRow("question declined") << true;
    QTest::newRow("key dialog cancelled") << false;
}

void TestArchivo::declinedOrCancelledWritesNothing() {
    QFETCH(bool, declined);
    QTemporaryDir dir;
    Globales g;
    g.BaseDatos = baseEjemplo(dir.path());
    g.NoPatente = "3012";
    datosLlave().Respuesta_Key = "anterior";
    ScriptedMessages messages;
    messages.answerNext(!declined);
    ModalDriver driver;
    if (!declined)
        driver.then([](QDialog* d) { QTest::mouseClick(child<QPushButton>(d, "cmdCancelar"), Qt::LeftButton); });
    QVERIFY(!Genera_archivo(nullptr, g, dir.path()));
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.pending(), 0);
    QVERIFY(!QFileInfo::exists(dir.filePath("ENVIO")));
    QCOMPARE(datosLlave().Respuesta_Key, declined ? QString("anterior") : QString("C"));
}

void TestArchivo::closeBoxGeneratesNothing() {
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    QVERIFY(copySigningLibrary(dir.path()));
    Globales g;
    g.BaseDatos = baseEjemplo(dir.path(), writeFile(elsewhere.filePath("LOTP751120QW7.REQ"), "req"));
    g.NoPatente = "3012";
    g.Archivo_Generado = 1;
    datosLlave().Archivo_Llave = writeKey(elsewhere.path(), kPassword);
    ScriptedMessages messages;
    ModalDriver driver;
    driver.then([](QDialog* d) { d->close(); });
    QVERIFY(!Genera_archivo(nullptr, g, dir.path()));
    // Only the question before the key dialog; nothing written, nothing signed, the state as it was.
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(g.Archivo_Generado, 1);
    QVERIFY(!QFile::exists(dir.filePath("ENVIO/3012.txt")));
}

void TestArchivo::sendingFolderCannotBeMade() {
    QTemporaryDir dir;
    Globales g;
    g.BaseDatos = baseEjemplo(dir.path());
    g.NoPatente = "3012";
    writeFile(dir.filePath("ENVIO"), "un archivo, no una carpeta");
    ScriptedMessages messages;
    QVERIFY(!genera(g, dir.path(), "GORM700215KX3.key", "x"));
    QCOMPARE(messages.shown.size(), 2);
    QCOMPARE(messages.shown[1].text, "No se pudo crear la carpeta de envío " +
                                         QDir::toNativeSeparators(dir.filePath("ENVIO")) +
                                         ". Revise que pueda escribir en la carpeta del programa y vuelva a generar "
                                         "el archivo.");
}

void TestArchivo::wrongPasswordLeavesUnsignedFile() {
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    QVERIFY(copySigningLibrary(dir.path()));
    Globales g;
    g.BaseDatos = baseEjemplo(dir.path(), writeFile(elsewhere.filePath("LOTP751120QW7.REQ"), "req"));
    g.NoPatente = "3012";
    ScriptedMessages messages;
    const QString keyPath = writeKey(elsewhere.path(), kPassword);
    QVERIFY(!genera(g, dir.path(), keyPath, "otra"));
    QCOMPARE(messages.texts().last(), QString("Error en la contraseña"));
    QCOMPARE(g.Archivo_Generado, 1);
    QCOMPARE(readFile(dir.filePath("ENVIO/3012.txt")), kEjemplo);
    // A later signing that succeeds clears the mark.
    QVERIFY(genera(g, dir.path(), keyPath, kPassword));
    QCOMPARE(g.Archivo_Generado, 0);
}

void TestArchivo::handOffErasesTheUnsignedFileAfterPatenteChanged() {
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    QVERIFY(copySigningLibrary(dir.path()));
    Globales g;
    g.BaseDatos = baseEjemplo(dir.path(), writeFile(elsewhere.filePath("LOTP751120QW7.REQ"), "req"));
    g.NoPatente = "3012";
    ScriptedMessages messages;
    QVERIFY(!genera(g, dir.path(), writeKey(elsewhere.path(), kPassword), "otra"));
    QCOMPARE(g.Archivo_Generado, 1);
    // Back on page 1 the broker corrects his patente, then leaves.
    g.NoPatente = "3013";
    QStringList launched;
    interceptLaunches([&](const QString& program, const QStringList&, const QString&) {
        launched << program;
        return true;
    });
    Borra_Archivo_Sin_Firma(nullptr, dir.path(), g.NoPatente);
    interceptLaunches({});
    QCOMPARE(launched.size(), 1);
    QCOMPARE(readFile(dir.filePath("ENVIO/Borra.txt")),
             QDir::toNativeSeparators(dir.filePath("ENVIO/3012.txt")).toUtf8() + "\r\n");
}

void TestArchivo::requestAlreadyInSendingFolder() {
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    QVERIFY(copySigningLibrary(dir.path()));
    QDir(dir.path()).mkdir("ENVIO");
    Globales g;
    // Copying a file onto itself must not lose it.
    g.BaseDatos = baseEjemplo(dir.path(), writeFile(dir.filePath("ENVIO/LOTP751120QW7.REQ"), "ya en ENVIO"));
    g.NoPatente = "3012";
    ScriptedMessages messages;
    QVERIFY(genera(g, dir.path(), writeKey(elsewhere.path(), kPassword), kPassword));
    QCOMPARE(readFile(dir.filePath("ENVIO/LOTP751120QW7.REQ")), QByteArray("ya en ENVIO"));
    QCOMPARE(QDir(dir.filePath("ENVIO")).entryList(QDir::Files | QDir::Hidden),
             QStringList({"3012.txt", "LOTP751120QW7.REQ"}));
}

void TestArchivo::staleErasingListTakenAway() {
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    QVERIFY(copySigningLibrary(dir.path()));
    QDir(dir.path()).mkdir("ENVIO");
    // Left by an exit after a failed signing whose Dremlo never ran.
    writeFile(dir.filePath("ENVIO/Borra.txt"), QDir::toNativeSeparators(dir.filePath("ENVIO/3012.txt")).toUtf8());
    Globales g;
    g.BaseDatos = baseEjemplo(dir.path(), writeFile(elsewhere.filePath("LOTP751120QW7.REQ"), "req"));
    g.NoPatente = "3012";
    ScriptedMessages messages;
    QVERIFY(genera(g, dir.path(), writeKey(elsewhere.path(), kPassword), kPassword));
    QCOMPARE(messages.shown.size(), 2);
    QCOMPARE(QDir(dir.filePath("ENVIO")).entryList(QDir::Files | QDir::Hidden),
             QStringList({"3012.txt", "LOTP751120QW7.REQ"}));
}

void TestArchivo::patenteThatCannotNameTheFile_data() {
    QTest::addColumn<QString>("patente");
    // Valida_Patente reads only the leading number, so the rest of the box may hold anything.
    QTest::newRow("a folder separator") << "1/2";
    QTest::newRow("a backslash") << "12\\A";
    QTest::newRow("a colon") << "1:2";
}

void TestArchivo::patenteThatCannotNameTheFile() {
    QFETCH(QString, patente);
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    Globales g;
    g.BaseDatos = baseEjemplo(dir.path(), writeFile(elsewhere.filePath("LOTP751120QW7.REQ"), "req"));
    g.NoPatente = patente;
    ScriptedMessages messages;
    QVERIFY(!genera(g, dir.path(), writeKey(elsewhere.path(), kPassword), kPassword));
    QCOMPARE(messages.texts().last(),
             "No se puede generar el archivo de información: la patente del Agente Aduanal \"" + patente +
                 "\" no es válida.");
    QVERIFY(!QFileInfo::exists(dir.filePath("ENVIO")));
}

void TestArchivo::unsignedFileOutlivesALaterSigning() {
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    QVERIFY(copySigningLibrary(dir.path()));
    Globales g;
    g.BaseDatos = baseEjemplo(dir.path(), writeFile(elsewhere.filePath("LOTP751120QW7.REQ"), "req"));
    g.NoPatente = "3013";
    ScriptedMessages messages;
    const QString key = writeKey(elsewhere.path(), kPassword);
    // A signing that succeeds leaves nothing to erase: the signed file is never listed.
    QVERIFY(genera(g, dir.path(), key, kPassword));
    QVERIFY(!quedanArchivosSinFirma(dir.path()));

    g.NoPatente = "3012";
    QVERIFY(!genera(g, dir.path(), key, "otra"));
    QVERIFY(quedanArchivosSinFirma(dir.path()));
    // Back on page 1 the patente is corrected and the file signed under it: the first one stays unsigned.
    g.NoPatente = "3014";
    QVERIFY(genera(g, dir.path(), key, kPassword));
    QCOMPARE(g.Archivo_Generado, 0);
    QVERIFY(quedanArchivosSinFirma(dir.path()));
    interceptLaunches([](const QString&, const QStringList&, const QString&) { return true; });
    Borra_Archivo_Sin_Firma(nullptr, dir.path(), g.NoPatente);
    interceptLaunches({});
    QCOMPARE(readFile(dir.filePath("ENVIO/Borra.txt")),
             QDir::toNativeSeparators(dir.filePath("ENVIO/3012.txt")).toUtf8() + "\r\n");
}

QTEST_MAIN(TestArchivo)
#include "tst_archivo.moc"
