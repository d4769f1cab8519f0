#include "data/BaseDatos.h"
#include "data/Store.h"
#include "export/ArchivoInformacion.h"
#include "export/Envio.h"
#include "export/Genera_archivo.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "support/TestKeys.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

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

// The file the worked example's database gives after the statements, or the refusal.
QByteArray escribe(Database& db, const QStringList& statements, QString* error = nullptr) {
    for (const QString& sql : statements)
        db.exec(sql);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString message;
    const bool ok = Escribe_Archivo(db, QStringLiteral("3012"), &buffer, &message);
    if (error)
        *error = message;
    return ok ? buffer.data() : QByteArray("FALLO: ") + message.toUtf8();
}

// A device that takes the first bytes and then fails, as a full disk does.
class FullDevice : public QIODevice {
public:
    FullDevice() {
        open(QIODevice::WriteOnly);
        setErrorString(QStringLiteral("disco lleno"));
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override { return (room_ -= size) >= 0 ? size : -1; }

private:
    qint64 room_ = 100;
};

const QByteArray kPassword = "Contraseña del agente";

// A program folder with the signing library and the worked example's database; the representative's request file
// and the broker's key lie in another folder.
struct Escena {
    QTemporaryDir dir;
    QTemporaryDir fuera;
    std::unique_ptr<Database> db;
    std::unique_ptr<Store> store;
    QString llave;

    explicit Escena(EVP_PKEY* key) {
        copySigningLibrary(dir.path());
        QDir(dir.path()).mkdir("ENVIO");
        db = baseEjemplo(dir.path(), writeFile(fuera.filePath("LOTP751120QW7.REQ"), QByteArray(4000, 'r')));
        store = std::make_unique<Store>(*db);
        llave = writeKeyFile(fuera.filePath("gorm700215kx3.key"), key, kPassword);
    }
    QString envio(const QString& name) const { return dir.filePath("ENVIO/" + name); }
    QStringList enEnvio() const { return QDir(dir.filePath("ENVIO")).entryList(QDir::Files | QDir::Hidden); }
    Envio genera(const QString& patente = "3012", const QByteArray& password = kPassword) {
        Llave key{llave, password};
        return generaEnvio(*store, patente, dir.path(), key);
    }
};

} // namespace

class TestArchivo : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void written_data();
    void written();
    void refusedValues_data();
    void refusedValues();
    void deviceFailure();
    void writeFailureMessage_data();
    void writeFailureMessage();

    void signsAndCopiesRequests();
    void refusedLeavesNoFile_data();
    void refusedLeavesNoFile();
    void unsignedFileListedAndErasedAtStart();
    void generaAsksForTheKey_data();
    void generaAsksForTheKey();

private:
    TestKey key_;
};

void TestArchivo::initTestCase() {
    key_ = makeTestKey();
    QVERIFY(key_);
    QTemporaryDir dir;
    QVERIFY2(copySigningLibrary(dir.path()), "the signing library has not been built");
}

void TestArchivo::written_data() {
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("the worked example, 470 without its blank") << QStringList() << kEjemplo;
    QTest::newRow("null NoInt and Fax read as empty fields")
        << QStringList{"update Domicilios_MM set NoInt=NULL, Fax=NULL", "update Domicilios_AA set Fax=NULL"}
        << kEjemplo;

    QByteArray aspirant = kEjemplo;
    aspirant.replace("TORRES|1|1|1", "TORRES|2|1|1");
    QByteArray history = aspirant;
    aspirant.replace(kTrailer, "Historico_AA|3012|No Aplica|No Aplica|No Aplica|No Aplica\r\n"
                               "Periodos_H_MM|3012|No Plica|No Aplica|No Aplica|No Aplica|No Aplica\r\n" +
                                   kTrailer);
    QTest::newRow("an aspirant and empty history: the two fillers")
        << QStringList{"update Mandatarios set Mandato=2"} << aspirant;

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

    QTest::newRow("empty tables give no line, the representatives their seven-value filler")
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
    accents.replace("|CENTRO|", "|JOS\xC9 \x80 \x93O\x94|");
    QTest::newRow("accents and the code page's own letters")
        << QStringList{"update Domicilios_AA set Colonia='JOSÉ € “O”'"} << accents;

    QByteArray numbers = kEjemplo;
    numbers.replace("TORRES|1|1|1", "TORRES||-1|1");
    QTest::newRow("a null Mandato is empty, a negative number keeps its sign")
        << QStringList{"update Mandatarios set Mandato=NULL, Acreditacion=-1"} << numbers;
    QTest::newRow("a number stored as text with its blank is written without it")
        << QStringList{"update Aduanas_MM set NoAduana=' 470'"} << kEjemplo;
}

void TestArchivo::written() {
    QFETCH(QStringList, statements);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    QCOMPARE(escribe(*baseEjemplo(dir.path()), statements), expected);
}

void TestArchivo::refusedValues_data() {
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QStringList>("named");

    QTest::newRow("a pipe") << QStringList{"update Domicilios_MM set Calle='CALLE | 5'"}
                            << QStringList{"tabla Domicilios_MM", "campo Calle", "representante " + kCurp, "\"|\""};
    QTest::newRow("a line break") << QStringList{"update Mandatarios set Nombre='PE' || char(13) || char(10) || 'DRO'"}
                                  << QStringList{"tabla Mandatarios", "campo Nombre", "salto de línea"};
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
                                         << QStringList{"tabla Pedimentos_MM", "campo FechPedimento", "fecha válida"};
    QTest::newRow("a number that is none") << QStringList{"update Aduanas_MM set NoAduana='CUATRO'"}
                                           << QStringList{"tabla Aduanas_MM", "campo NoAduana", "número válido"};
    QTest::newRow("an invisible character is shown by its code")
        << QStringList{"update AA set Nombre='MAR' || char(8238) || 'IA'"} << QStringList{"invisible U+202E"};
    QTest::newRow("a former representative")
        << QStringList{"update Mandatarios set Mandato=2",
                       "insert into Historico_AA values ('RAAJ600101AB1','RAAJ600101HDFMRN01','JUAN','RAMOS','A|B')"}
        << QStringList{"tabla Historico_AA", "campo ApMaterno", "representante anterior RAAJ600101HDFMRN01"};
}

void TestArchivo::refusedValues() {
    QFETCH(QStringList, statements);
    QFETCH(QStringList, named);
    QTemporaryDir dir;
    QString error;
    escribe(*baseEjemplo(dir.path()), statements, &error);
    QVERIFY2(error.startsWith("No se puede generar el archivo de información: "), qPrintable(error));
    for (const QString& part : named)
        QVERIFY2(error.contains(part), qPrintable(error + " / " + part));
    QVERIFY(!error.contains(QChar(0x202E)));
}

void TestArchivo::deviceFailure() {
    QTemporaryDir dir;
    FullDevice device;
    QString error;
    QVERIFY(!Escribe_Archivo(*baseEjemplo(dir.path()), "3012", &device, &error));
    QCOMPARE(error, QString("No se pudo escribir el archivo de información: disco lleno."));
}

void TestArchivo::writeFailureMessage_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("systemError");
    QTest::addColumn<QString>("expected");
    const QString full =
        "No hay espacio suficiente en el disco para escribir en la carpeta " + QDir::toNativeSeparators("/p/ENVIO");
    QTest::newRow("the disk full as Qt reports it") << int(QFileDevice::ResourceError) << 0 << full;
    QTest::newRow("a write that met ENOSPC") << int(QFileDevice::WriteError) << ENOSPC << full;
    QTest::newRow("anything else keeps its reason") << int(QFileDevice::WriteError) << EACCES << "razón";
}

void TestArchivo::writeFailureMessage() {
    QFETCH(int, kind);
    QFETCH(int, systemError);
    QFETCH(QString, expected);
    QCOMPARE(describeWriteFailure({QFileDevice::FileError(kind), systemError, "razón"}, "/p/ENVIO"), expected);
}

void TestArchivo::signsAndCopiesRequests() {
    Escena s(key_.get());
    const QString insert = "insert into Mandatarios values (?,?,?,?,?,?,?,?,?)";
    s.db->exec(insert, {"AASP800101HDFRNB03", "AASP800101AB2", "PABLO", "ARIAS", "SOSA", 2,
                        writeFile(s.fuera.filePath("AASP800101AB2.REQ"), "dos"), 0, 1});
    s.db->exec(insert, {"BERL700101MDFRNS09", "BERL700101CD3", "LUISA", "BERMUDEZ", "RIOS", 3,
                        writeFile(s.fuera.filePath("BERL700101CD3.REQ"), "tres"), 1, 1});
    // Left by an exit whose Dremlo never ran: a late Dremlo must not erase the file about to be signed.
    writeFile(s.envio("Borra.txt"), QDir::toNativeSeparators(s.envio("3012.txt")).toUtf8());
    Llave llave{s.llave, kPassword};
    const Envio envio = generaEnvio(*s.store, "3012", s.dir.path(), llave);
    QCOMPARE(int(envio.resultado), int(Envio::Resultado::Firmado));
    QCOMPARE(envio.mensaje, "Se genero el archivo " + QDir::toNativeSeparators(s.envio("3012.txt")) +
                                " correctamente y se agrego Firma Digital, no olvide enviarlo y los requerimientos "
                                "manualmente a mandatarios@aduanas.gob.mx");
    QVERIFY(llave.password.isEmpty());
    QByteArray content, curp;
    QVERIFY(verifySignedFile(readFile(s.envio("3012.txt")), key_.get(), &content, &curp));
    QCOMPARE(content, escribe(*s.db, {}));
    QCOMPARE(curp, QByteArray("GORM700215MDFMZR05"));
    QCOMPARE(s.enEnvio(), QStringList({"3012.txt", "BERL700101CD3.REQ", "LOTP751120QW7.REQ"}));

    // A second run replaces the file and the copies; a request taken from ENVIO itself survives copying onto itself.
    writeFile(s.fuera.filePath("BERL700101CD3.REQ"), "segunda");
    s.db->exec("update Mandatarios set Requerimiento=? where Mandato=1", {s.envio("LOTP751120QW7.REQ")});
    QCOMPARE(int(s.genera().resultado), int(Envio::Resultado::Firmado));
    QCOMPARE(readFile(s.envio("BERL700101CD3.REQ")), QByteArray("segunda"));
    QCOMPARE(readFile(s.envio("LOTP751120QW7.REQ")), QByteArray(4000, 'r'));
}

void TestArchivo::refusedLeavesNoFile_data() {
    QTest::addColumn<QString>("patente");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<qint64>("freeBytes");
    QTest::addColumn<QStringList>("named");
    const QString refused = "la patente del Agente Aduanal \"%1\" no es válida.";
    const QString envio = QDir::toNativeSeparators("/ENVIO");
    QTest::newRow("request file missing") << "3012"
                                          << "update Mandatarios set Requerimiento='FALTA.REQ'" << -1LL
                                          << QStringList{"PEDRO LOPEZ TORRES", kCurp, "FALTA.REQ"};
    QTest::newRow("no request chosen") << "3012"
                                       << "update Mandatarios set Requerimiento='  '" << -1LL
                                       << QStringList{kCurp, "no tiene Requerimiento Electrónico"};
    QTest::newRow("a value that would corrupt a record")
        << "3012"
        << "update Pedimentos_MM set NoPedimento='300|4567'" << -1LL << QStringList{"campo NoPedimento"};
    // Valida_Patente reads only the leading number, so the rest of the box may hold anything.
    for (const QString malformed : {"1/2", "12\\A", "1:2"})
        QTest::newRow(qPrintable("patente " + malformed))
            << malformed << QString() << -1LL << QStringList{refused.arg(malformed)};
    QTest::newRow("patente with an invisible character")
        << QString::fromUtf8("12\u202E") << QString() << -1LL << QStringList{refused.arg("12U+202E")};
    const QStringList full{"No hay espacio suficiente en el disco para escribir en la carpeta", envio};
    QTest::newRow("disk full writing the file") << "3012" << QString() << 300LL << full;
    QTest::newRow("disk full copying a request") << "3012" << QString() << 2000LL << full + QStringList{"copiar"};
}

// Nothing new is left in ENVIO, whatever stopped the generation: neither a file, cut or whole, nor a copy.
void TestArchivo::refusedLeavesNoFile() {
    QFETCH(QString, patente);
    QFETCH(QString, sql);
    QFETCH(qint64, freeBytes);
    QFETCH(QStringList, named);
    Escena s(key_.get());
    writeFile(s.envio("3012.txt"), "archivo anterior\r\n");
    if (!sql.isEmpty())
        s.db->exec(sql);
    simulateFreeSpace(freeBytes);
    const Envio envio = s.genera(patente);
    simulateFreeSpace(-1);
    QCOMPARE(int(envio.resultado), int(Envio::Resultado::Rechazado));
    for (const QString& part : named)
        QVERIFY2(envio.mensaje.contains(part), qPrintable(envio.mensaje + " / " + part));
    QVERIFY(!envio.mensaje.contains(QChar(0x202E)));
    QCOMPARE(s.enEnvio(), QStringList{"3012.txt"});
    QCOMPARE(readFile(s.envio("3012.txt")), QByteArray("archivo anterior\r\n"));
}

void TestArchivo::unsignedFileListedAndErasedAtStart() {
    Escena s(key_.get());
    EstadoFirma estado;
    const Envio fallida = s.genera("3012", "otra");
    estado.registra(fallida);
    QCOMPARE(fallida.mensaje, QString("Error en la contraseña"));
    QCOMPARE(estado.Archivo_Generado, 1);
    QCOMPARE(readFile(s.envio("3012.txt")), kEjemplo);
    // Listed at once, in Dremlo's form, so that a run that ends without its hand-off does not forget it.
    const QByteArray listed = QDir::toNativeSeparators(s.envio("3012.txt")).toUtf8() + "\r\n";
    QCOMPARE(readFile(s.envio("Borra.txt")), listed);

    // The broker corrects his patente and signs under it: the first file stays listed, the signed one is not.
    estado.registra(s.genera("3013"));
    QCOMPARE(estado.Archivo_Generado, 0);
    QCOMPARE(estado.sinFirma, QStringList{s.envio("3012.txt")});
    QCOMPARE(readFile(s.envio("Borra.txt")), listed);

    // The run breaks off; so did an earlier one while writing and copying. The next start clears all of it.
    writeFile(s.envio("3014.txt.firmando"), "501|3014|");
    writeFile(s.envio("LOTP751120QW7.REQ.copia"), "r");
    const Limpieza limpieza = limpiaEnvioPendiente(s.dir.path());
    QCOMPARE(limpieza.sinFirmaBorrados, QStringList{s.envio("3012.txt")});
    QCOMPARE(limpieza.temporalesBorrados.size(), 2);
    QCOMPARE(limpieza.aviso, QString());
    QCOMPARE(s.enEnvio(), QStringList({"3013.txt", "LOTP751120QW7.REQ"}));
}

void TestArchivo::generaAsksForTheKey_data() {
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("generated");
    QTest::newRow("question declined") << false << QString() << false;
    QTest::newRow("key dialog cancelled") << true << QString("cmdCancelar") << false;
    // There is no password to sign with: going on would only report a wrong one.
    QTest::newRow("key dialog closed by its close box") << true << QString() << false;
    QTest::newRow("accepted") << true << QString("cmdAceptar") << true;
}

void TestArchivo::generaAsksForTheKey() {
    QFETCH(bool, answer);
    QFETCH(QString, button);
    QFETCH(bool, generated);
    Escena s(key_.get());
    ScriptedMessages messages;
    messages.answerNext(answer);
    ModalDriver driver;
    if (answer)
        driver.then([&](QDialog* d) {
            child<QLineEdit>(d, "txtLlave")->setText(s.llave);
            child<QLineEdit>(d, "txtPassword")->setText(QString::fromUtf8(kPassword));
            if (button.isEmpty())
                d->close();
            else
                QTest::mouseClick(d->findChild<QPushButton*>(button), Qt::LeftButton);
        });
    const std::optional<Envio> envio = Genera_archivo(nullptr, *s.store, "3012", s.dir.path());
    QCOMPARE(envio.has_value(), generated);
    QCOMPARE(driver.pending(), 0);
    QCOMPARE(messages.shown[0].text, QString("¿DESEA GENERAR EL ARCHIVO DE INFORMACION? PARA ESTA OPERACION DEBE USAR "
                                             "EL ARCHIVO LLAVE DEL AGENTE ADUANAL. "));
    QCOMPARE(messages.shown[0].title, QString("Mensaje"));
    QVERIFY(messages.shown[0].withCancel);
    QCOMPARE(messages.shown.size(), generated ? 2 : 1);
    if (generated) {
        QCOMPARE(messages.shown[1].text, envio->mensaje);
        QCOMPARE(int(messages.shown[1].icon), int(MessageIcon::Information));
    }
    QCOMPARE(s.enEnvio().contains("3012.txt"), generated);
}

QTEST_MAIN(TestArchivo)
#include "tst_archivo.moc"
