#include "data/BaseDatos.h"
#include "data/Schema.h"
#include "data/Store.h"
#include "export/ArchivoInformacion.h"
#include "export/ConstanciaPdf.h"
#include "export/Envio.h"
#include "export/Firma.h"
#include "export/Genera_archivo.h"
#include "export/NombresEnvio.h"
#include "export/VistaPrevia.h"
#include "export/frmKey.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/Launcher.h"
#include "platform/Process.h"
#include "platform/SigningLibrary.h"
#include "support/FailDevice.h"
#include "support/Fixtures.h"
#include "support/TestKeys.h"
#include "support/TestSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <sys/stat.h>

#include <optional>

namespace {

const QString kCurp = QStringLiteral("LOTP751120HDFPRD02");
const QString kRfc = QStringLiteral("GORM700215KX3");

const QByteArray kTrailer = "800|1111111|1|\r\n";
const QByteArray kEjemplo = "501|3012|1111111||||||||3012\r\n"
                            "AA|3012|MARIA|MU\xD1OZ|RUIZ|GORM700215KX3|GORM700215MDFMZR05|470\r\n"
                            "Domicilios_AA|3012|1|09|15|AV. REFORMA|120||JOS\xC9 \x80 \x93O\x94|06000|5555123456|\r\n"
                            "Domicilios_AA|3012|2|09|15|AV. REFORMA|120||JOS\xC9 \x80 \x93O\x94|06000|5555123456|\r\n"
                            "Mandatarios|3012|LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LOPEZ|TORRES|1|1|1\r\n"
                            "Domicilios_MM|3012|LOTP751120HDFPRD02|09|15|CALLE 5|33||ROMA|06700|5555987654||1\r\n"
                            "Aduanas_MM|3012|LOTP751120HDFPRD02|470\r\n"
                            "Pedimentos_MM|3012|LOTP751120HDFPRD02|470|3004567|2000-11-30\r\n" +
                            kTrailer;

// The broker of the worked example with his one representative of mandate type 1: letters of the code page's own,
// Nulls and empty texts, an office number stored as text with the blank VB's Str() gives it.
std::unique_ptr<Database> baseEjemplo(const QString& folder, const QString& requerimiento = QString()) {
    auto db = openTolvekDatabase(folder);
    using namespace col;
    tabla::AA.inserta(*db, {Patente, Nombre, ApPaterno, ApMaterno, RFC, CURP, Autorizacion, Adscripcion},
                      {3012, "MARIA", "MUÑOZ", "RUIZ", "GORM700215KX3", "GORM700215MDFMZR05", 0, 470});
    for (int tipo : {1, 2})
        tabla::Domicilios_AA.inserta(*db, {Tipo_Dom, EntFed, MDeleg, Calle, NoExt, NoInt, Colonia, CP, Telefono},
                                     {tipo, "09", 15, "AV. REFORMA", "120", "", "JOSÉ € “O”", "06000", "5555123456"});
    tabla::Mandatarios.inserta(
        *db, {CURP, RFC, Nombre, ApPaterno, ApMaterno, col::Mandato, Requerimiento, Acreditacion, Operando},
        {kCurp, "LOTP751120QW7", "PEDRO", "LOPEZ", "TORRES", 1, requerimiento, 1, 1});
    tabla::Domicilios_MM.inserta(*db, {CURP, EntFed, MDeleg, Calle, NoExt, Colonia, CP, Telefono, Tipo_Dom},
                                 {kCurp, "09", 15, "CALLE 5", "33", "ROMA", "06700", "5555987654", 1});
    tabla::Aduanas_MM.inserta(*db, {CURP, NoAduana}, {kCurp, " 470"});
    tabla::Pedimentos_MM.inserta(*db, {CURP, NoAduana, NoPedimento, FechPedimento},
                                 {kCurp, 470, "3004567", QDate(2000, 11, 30)});
    return db;
}

// The broker's key file in the form a case needs: a file of tests/data, or one of these.
QString keyFile(const QString& folder, const QString& form) {
    const QString path = QDir(folder).filePath(kRfc + ".key");
    QFile::remove(path);
    if (form == "fifo")
        mkfifo(QFile::encodeName(path).constData(), 0600);
    else if (form == "70 KB")
        writeFile(path, readFile(testData("agente.key")).leftJustified(70 * 1024, '\0'));
    else if (form != "missing")
        copyTestData(form, path);
    return path;
}

// A data folder with the worked example's database, beside the program folder with the signing library as an
// installed program has them; the representative's request file and the broker's key lie in a third folder.
struct Escena {
    QTemporaryDir dir, programa, fuera;
    std::unique_ptr<Database> db;
    std::unique_ptr<Store> store;
    QString llave;

    explicit Escena(const QString& signingLibrary = TOLVEK_PROGRAM_DIR) {
        copySigningLibrary(programa.path(), signingLibrary);
        QDir(dir.path()).mkdir("ENVIO");
        db = baseEjemplo(dir.path(), copyTestData("LOTP751120QW7.req", fuera.filePath("LOTP751120QW7.REQ")));
        store = std::make_unique<Store>(*db);
        llave = keyFile(fuera.path(), "agente.key");
    }
    QString envio(const QString& name) const { return dir.filePath("ENVIO/" + name); }
    QStringList enEnvio() const { return QDir(dir.filePath("ENVIO")).entryList(QDir::Files | QDir::Hidden); }
    Envio genera(qint64 patente = 3012, const QByteArray& password = kTestKeyPassword) {
        Llave key{llave, password};
        const Envio envio = generaEnvio(*store, patente, {programa.path(), dir.path()}, key);
        if (!key.password.isEmpty())
            QTest::qFail("the password outlived the generation", __FILE__, __LINE__);
        return envio;
    }
};

} // namespace

class TestArchivo : public QObject {
    Q_OBJECT

private slots:
    void written_data() {
        QTest::addColumn<QString>("statements");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("the worked example") << QString() << kEjemplo;
        QTest::newRow("a null Mandato is empty, a negative number keeps its sign")
            << "update Mandatarios set Mandato=NULL, Acreditacion=-1"
            << QByteArray(kEjemplo).replace("TORRES|1|1|1", "TORRES||-1|1");
        const QByteArray aspirant = QByteArray(kEjemplo).replace("TORRES|1|1|1", "TORRES|2|1|1");
        QTest::newRow("an aspirant and empty history: the two fillers")
            << "update Mandatarios set Mandato=2"
            << QByteArray(aspirant).replace(kTrailer,
                                            "Historico_AA|3012|No Aplica|No Aplica|No Aplica|No Aplica\r\n"
                                            "Periodos_H_MM|3012|No Plica|No Aplica|No Aplica|No Aplica|No Aplica\r\n" +
                                                kTrailer);
        QTest::newRow("empty tables give no line, the representatives their seven-value filler")
            << "delete from AA;delete from Domicilios_AA;delete from Mandatarios;delete from Domicilios_MM;"
               "delete from Aduanas_MM;delete from Pedimentos_MM"
            << "501|3012|1111111||||||||3012\r\n"
               "Mandatarios|3012|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica\r\n" +
                   kTrailer;
    }
    void written() {
        QFETCH(QString, statements);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        auto db = baseEjemplo(dir.path());
        for (const QString& sql : statements.split(';', Qt::SkipEmptyParts))
            db->exec(sql);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        Store store(*db);
        QCOMPARE(Escribe_Archivo(store, 3012, &buffer), std::nullopt);
        QCOMPARE(buffer.data(), expected);
    }

    // A device that cuts a write short is asked for the rest, and tells its own reason for refusing it.
    void shortWrite() {
        Escena s;
        FailDevice full(100);
        QCOMPARE(fallaDe([&] { Escribe_Archivo(*s.store, 3012, &full); }),
                 QString("No se pudo escribir el archivo de información: No space left on device."));
    }

    // Firma_Archivo with the built library (the code leads the row's name).
    void signing_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QByteArray>("password");
        const QByteArray right = kTestKeyPassword;
        QTest::newRow("0: encrypted PKCS#8 DER") << "agente.key" << right;
        QTest::newRow("0: encrypted PKCS#8 PEM") << "agente.pem" << right;
        QTest::newRow("0: password taken in UTF-8") << "agente_utf8.key" << right;
        QTest::newRow("0: a password beyond the code page") << "agente_omega.key" << right + "Ω";
        QTest::newRow("1: no file to sign") << "agente.key" << right;
        QTest::newRow("2: no key file") << "missing" << right;
        QTest::newRow("2: a key without encryption") << "sin_cifrar.key" << right;
        // Refused at once: without a bound each would hold the program for hours or read without end.
        QTest::newRow("2: 2^31-1 derivation rounds") << "sin_fin.key" << right;
        QTest::newRow("2: a key padded past 64 KB") << "70 KB" << right;
        QTest::newRow("2: a FIFO") << "fifo" << right;
        QTest::newRow("3: wrong password") << "agente.key" << QByteArray("contraseña");
        QTest::newRow("3: empty password") << "agente.key" << QByteArray();
        QTest::newRow("-1: no library in the program folder") << "agente.key" << right;
    }
    void signing() {
        QFETCH(QString, form);
        QFETCH(QByteArray, password);
        const int code = QString(QTest::currentDataTag()).section(':', 0, 0).toInt();
        QTemporaryDir dir;
        if (code >= 0)
            QVERIFY(copySigningLibrary(dir.path()));
        const QString path = dir.filePath("3012.txt");
        if (code != 1)
            writeFile(path, kEjemplo);
        int result = -1;
        const QString error =
            fallaDe([&] { result = Firma_Archivo(dir.path(), path, keyFile(dir.path(), form), password); });
        QCOMPARE(result, code);
        QVERIFY(password.isEmpty());
        QCOMPARE(error.isEmpty(), code >= 0);
        if (code == 0) {
            QByteArray content;
            QVERIFY(verifySignedFile(readFile(path), &content));
            QCOMPARE(content, kEjemplo);
        } else if (code != 1) {
            QCOMPARE(readFile(path), kEjemplo);
        }
    }

    // The library checks the line it appended against the public half of the key it last signed with.
    void verification() {
        QTemporaryDir dir;
        QVERIFY(copySigningLibrary(dir.path()));
        const QString path = writeFile(dir.filePath("3012.txt"), kEjemplo);
        const auto sign = [&](const QString& file, const QString& key, QByteArray password) {
            return Firma_Archivo(dir.path(), file, keyFile(dir.path(), key), password);
        };
        const auto verifies = [&](const QByteArray& bytes) {
            QByteArray pathBytes = QFile::encodeName(writeFile(path, bytes));
            return SigningLibrary::load(dir.path()).VerificaFirmaDigital(pathBytes.data());
        };
        QCOMPARE(sign(path, "agente.key", kTestKeyPassword), 0);
        const QByteArray file = readFile(path);
        QByteArray body = file, signature = file;
        body[40] = 'X';
        signature[file.size() - 10] = file[file.size() - 10] == 'A' ? 'B' : 'A';
        QCOMPARE(QList({verifies(file), verifies(body), verifies(signature)}), QList({1, 0, 0}));
        // Another key signed since, or a signing failed since.
        const QString other = writeFile(dir.filePath("3013.txt"), kEjemplo);
        QCOMPARE(sign(other, "otra.key", kTestKeyPassword), 0);
        QCOMPARE(verifies(file), 0);
        QCOMPARE(sign(writeFile(path, kEjemplo), "agente.key", kTestKeyPassword), 0);
        QCOMPARE(verifies(readFile(path)), 1);
        QCOMPARE(sign(other, "otra.key", "otra"), 3);
        QCOMPARE(verifies(readFile(path)), 0);
    }

    // A library that says it signed, with a line that does not verify, leaves the file as a failed signing does.
    void unverifiedSignature() {
        Escena s(FIRMA_FALSA_DIR);
        const Envio envio = s.genera();
        QCOMPARE(int(envio.resultado), int(Envio::Resultado::SinFirma));
        QVERIFY(envio.mensaje.startsWith("No se pudo comprobar la Firma Digital agregada al archivo "));
    }

    // The preview is the generation's writer into memory: the same bytes, or the same refusal, and nothing on disk.
    void preview_data() {
        QTest::addColumn<QString>("statement");
        QTest::newRow("the worked example") << QString();
        QTest::newRow("a value the file cannot carry") << "update Domicilios_MM set Calle='CALLE | 5'";
    }
    void preview() {
        QFETCH(QString, statement);
        Escena s;
        if (!statement.isEmpty())
            s.db->exec(statement);
        QByteArray archivo, content, curp;
        const std::optional<QString> mensaje = vistaPrevia(*s.store, 3012, archivo);
        const bool shown = !mensaje;
        QCOMPARE(s.enEnvio(), QStringList());
        const Envio envio = s.genera();
        QCOMPARE(shown, envio.resultado == Envio::Resultado::Firmado);
        if (shown)
            QVERIFY(verifySignedFile(readFile(envio.ruta), &content, &curp) && archivo == content);
        else
            QCOMPARE(*mensaje, envio.mensaje);
    }
    void previewText() {
        QCOMPARE(cuentaRegistros(kEjemplo), QString("Registros por tipo:   501: 1   AA: 1   Domicilios_AA: 2   "
                                                    "Mandatarios: 1   Domicilios_MM: 1   Aduanas_MM: 1   "
                                                    "Pedimentos_MM: 1   800: 1   Total: 9"));
        QCOMPARE(textoDelArchivo(kEjemplo).split('\n').value(2),
                 QString("Domicilios_AA|3012|1|09|15|AV. REFORMA|120||JOSÉ € “O”|06000|5555123456|"));
    }

    // Types 1 and 3 send their request file beside the information file, type 2 does not. A second run replaces
    // the copies, and a request taken from ENVIO itself survives being copied onto itself. Another person's request,
    // or a file that is none, was the broker's answer when he stored it: it goes.
    void copiesRequests() {
        Escena s;
        using namespace col;
        for (const auto& [curp, rfc, tipo] : {std::tuple{"AASP800101HDFRNB03", "AASP800101AB2", 2},
                                              std::tuple{"BERL700101MDFRNS09", "BERL700101CD3", 3}})
            tabla::Mandatarios.inserta(*s.db, {CURP, RFC, Nombre, col::Mandato, Requerimiento, Acreditacion, Operando},
                                       {curp, rfc, "PABLO", tipo,
                                        copyTestData("OTRO800101AB1.req", s.fuera.filePath(rfc + QString(".REQ"))), 1,
                                        1});
        QCOMPARE(int(s.genera().resultado), int(Envio::Resultado::Firmado));
        QCOMPARE(s.enEnvio(), QStringList({"3012.txt", "BERL700101CD3.REQ", "LOTP751120QW7.REQ"}));
        writeFile(s.fuera.filePath("BERL700101CD3.REQ"), "segunda");
        s.db->exec("update Mandatarios set Requerimiento=? where Mandato=1", {s.envio("LOTP751120QW7.REQ")});
        QCOMPARE(int(s.genera().resultado), int(Envio::Resultado::Firmado));
        QCOMPARE(readFile(s.envio("BERL700101CD3.REQ")), QByteArray("segunda"));
        QCOMPARE(readFile(s.envio("LOTP751120QW7.REQ")), readFile(testData("LOTP751120QW7.req")));
        // A representative no longer sent leaves his earlier copy behind: named to the broker, never erased.
        s.db->exec("delete from Mandatarios where CURP='BERL700101MDFRNS09'");
        const Envio envio = s.genera();
        QCOMPARE(envio.sobrantes, QStringList{"BERL700101CD3.REQ"});
        QVERIFY(QFile::exists(s.envio("BERL700101CD3.REQ")));
        QVERIFY(avisoDeSobrantes(s.dir.path(), envio)
                    ->contains(" un archivo que este envío no lleva: "
                               "BERL700101CD3.REQ. Quítelo de la carpeta"));
    }

    void requestNames_data() {
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("clash");
        QTest::newRow("own name") << "/b/OTRO.REQ" << QString();
        QTest::newRow("information file") << "/b/3012.TXT"
                                          << "el archivo de información 3012.txt";
        QTest::newRow("erasing list") << "/b/borra.txt"
                                      << "la lista de archivos sin firma Borra.txt";
        for (const char* temporal : {"3012.txt.Firmando", "3012.txt.aB12cD", "Borra.txt.x1", "a.req.copia",
                                     "9999.txt.firmando", ".tolvek-Ab12Cd"})
            QTest::newRow(temporal) << QString("/b/") + temporal << "un archivo temporal del programa";
        QTest::newRow("another representative's") << "/b/a.Req"
                                                  << "/a/A.REQ del representante UNO (C1) y";
    }
    // Checked before anything is written: a request copied into ENVIO must not take the place of what the
    // program writes or erases there, nor of another request.
    void requestNames() {
        QFETCH(QString, second);
        QFETCH(QString, clash);
        RevisaNombres nombres("3012");
        QCOMPARE(nombres.agrega("UNO", "C1", "/a/A.REQ"), std::nullopt);
        const std::optional<QString> refused = nombres.agrega("DOS", "C2", second);
        QCOMPARE(refused.has_value(), !clash.isEmpty());
        for (const QString& part : {clash, second + " del representante DOS (C2)"})
            QVERIFY2(!refused || refused->contains(part), qPrintable(refused.value_or("")));
    }

    void refusedLeavesNoFile_data() {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("files");
        QTest::addColumn<QStringList>("named");
        const auto row = [](const char* name, QString sql, const QStringList& named, int pages = 0, int files = 0) {
            QTest::newRow(name) << sql.split(';', Qt::SkipEmptyParts) << pages << files << named;
        };
        row("request file missing", "update Mandatarios set Requerimiento='FALTA.REQ'",
            {"PEDRO LOPEZ TORRES", kCurp, "FALTA.REQ"});
        row("request file is a folder", "update Mandatarios set Requerimiento='FUERA'", {"no es un archivo. Corrija"});
        row("no request chosen", "update Mandatarios set Requerimiento='  '",
            {kCurp, "no tiene Requerimiento Electrónico"});
        row("request named as the file being signed", "update Mandatarios set Requerimiento='FUERA/3012.txt.firmando'",
            {kCurp, "un archivo temporal del programa"});
        // The writer refuses what would corrupt a record or not reach the authority as it was typed.
        row("a pipe", "update Domicilios_MM set Calle='CALLE | 5'",
            {"No se puede generar el archivo de información: ", "tabla Domicilios_MM", "campo Calle",
             "representante " + kCurp, "\"|\""});
        row("a line break", "update Mandatarios set Nombre='PE' || char(13) || char(10) || 'DRO'",
            {"tabla Mandatarios", "campo Nombre", "salto de línea"});
        row("outside the code page", "update AA set Nombre='MARĪA'",
            {"tabla AA", "campo Nombre", "del Agente Aduanal", "\"Ī\" (U+012A)", "Windows-1252"});
        row("an emoji", "update Domicilios_AA set Telefono='55 😀' where Tipo_Dom=2",
            {"tabla Domicilios_AA", "campo Telefono", "U+1F600"});
        row("a NUL", "update Aduanas_MM set CURP='LOTP' || char(0) || 'X'",
            {"tabla Aduanas_MM", "campo CURP", "U+0000"});
        row("an invisible character by its code", "update AA set Nombre='MAR' || char(8238) || 'IA'",
            {"invisible U+202E"});
        row("a date that is none", "update Pedimentos_MM set FechPedimento='30/11/2000'",
            {"tabla Pedimentos_MM", "campo FechPedimento", "fecha válida"});
        row("a number that is none", "update Aduanas_MM set NoAduana='CUATRO'", {"campo NoAduana", "número válido"});
        row("a real beyond 64 bits", "update Aduanas_MM set NoAduana=9.3e18", {"campo NoAduana", "número válido"});
        row("a former representative",
            "update Mandatarios set Mandato=2;"
            "insert into Historico_AA(RFC,CURP,Nombre,ApPaterno,ApMaterno) "
            "values ('RAAJ600101AB1','RAAJ600101HDFMRN01','JUAN','RAMOS','A|B')",
            {"tabla Historico_AA", "campo ApMaterno", "representante anterior RAAJ600101HDFMRN01"});
        // ENVIO on a real disk of so many pages (and entries: its root and the earlier file), the earlier file in one
        // of them; the file, over a page, is cut short.
        const QString full = "No hay espacio suficiente en el disco para ";
        row("disk full for a new file", QString(), {full + "escribir en la carpeta de envío"}, 2, 2);
        row("disk full writing the file", "update Domicilios_MM set Calle=printf('%5000s', 'CALLE')",
            {full + "escribir el archivo de información ", QDir::toNativeSeparators("/ENVIO/3012.txt.")}, 2);
        row("disk full writing the list", QString(), {full + "escribir la lista", "Borra.txt"}, 2);
        row("disk full copying a request", QString(), {full + "copiar el Requerimiento Electrónico"}, 3);
    }
    // Nothing new is left in ENVIO, whatever stopped the generation: neither a file, cut or whole, nor a copy.
    void refusedLeavesNoFile() {
        QFETCH(QStringList, statements);
        QFETCH(int, pages);
        QFETCH(int, files);
        QFETCH(QStringList, named);
        Escena s;
        SMALL_DISK_OR_SKIP(disk, s.dir.filePath("ENVIO"), pages, files);
        writeFile(s.envio("3012.txt"), "archivo anterior\r\n");
        writeFile(s.fuera.filePath("3012.txt.firmando"), "r");
        for (const QString& sql : statements)
            s.db->exec(QString(sql).replace("FUERA", s.fuera.path()));
        const Envio envio = s.genera();
        QCOMPARE(int(envio.resultado), int(Envio::Resultado::Rechazado));
        for (const QString& part : named)
            QVERIFY2(envio.mensaje.contains(part), qPrintable(envio.mensaje + " / " + part));
        QVERIFY(!envio.mensaje.contains(QChar(0x202E)));
        QCOMPARE(s.enEnvio(), QStringList{"3012.txt"});
        QCOMPARE(readFile(s.envio("3012.txt")), QByteArray("archivo anterior\r\n"));
    }

    void unsignedFileListedAndErasedAtStart() {
        Escena s;
        EstadoFirma estado;
        const Envio fallida = s.genera(3012, "otra");
        estado.registra(fallida);
        QCOMPARE(fallida.mensaje, QString("Error en la contraseña"));
        QCOMPARE(estado.Archivo_Generado, 1);
        QCOMPARE(readFile(s.envio("3012.txt")), kEjemplo);
        // Listed at once, in Dremlo's form, so that a run that ends without its hand-off does not forget it.
        const QByteArray listed = "3012.txt\r\n", copy = "LOTP751120QW7.REQ\r\n";
        QCOMPARE(readFile(s.envio("Borra.txt")), copy + listed);

        // The broker corrects his patente, fails once more, then signs: the signed file leaves the list, lest a late
        // Dremlo erase it, nor the copy beside it; the first stays.
        estado.registra(s.genera(3013, "otra"));
        QCOMPARE(readFile(s.envio("Borra.txt")), copy + listed + "3013.txt\r\n");
        estado.registra(s.genera(3013));
        QCOMPARE(estado.Archivo_Generado, 0);
        QCOMPARE(estado.sinFirma, QStringList{s.envio("3012.txt")});
        QCOMPARE(readFile(s.envio("Borra.txt")), listed);
        // The unsigned file and the signed one, the copy and the list: each readable by the broker alone.
        for (const QString& name : s.enEnvio())
            QVERIFY2(fileMode(s.envio(name)) == 0600, qPrintable(name));

        // The run breaks off; so did an earlier one while writing and copying. The next start clears all of it.
        writeFile(s.envio("3014.txt.firmando"), "501|3014|");
        writeFile(s.envio("LOTP751120QW7.REQ.copia"), "r");
        writeFile(s.envio("Borra.txt.Ab12Cd"), "x");
        writeFile(s.envio(".tolvek.Ef34Gh"), "");
        // The data folder was moved since an earlier release listed the file by its full path.
        writeFile(s.envio("Borra.txt"), "/antes/en/otra/parte/ENVIO/3012.txt\r\n");
        const Limpieza limpieza = limpiaEnvioPendiente(s.dir.path());
        QCOMPARE(limpieza.sinFirmaBorrados, QStringList{s.envio("3012.txt")});
        QCOMPARE(limpieza.temporalesBorrados.size(), 4);
        QCOMPARE(limpieza.aviso, QString());
        QCOMPARE(s.enEnvio(), QStringList({"3013.txt", "LOTP751120QW7.REQ"}));
        // A list that is no file of ours is read no more than Dremlo reads it, and the broker is told what to do.
        QCOMPARE(mkfifo(QFile::encodeName(s.envio("Borra.txt")).constData(), 0600), 0);
        QVERIFY(limpiaEnvioPendiente(s.dir.path()).aviso.startsWith("No se pudo leer la lista de archivos sin firma"));
    }

    void handOffAtExit_data() {
        QTest::addColumn<bool>("listed");
        QTest::addColumn<bool>("thisRun");
        QTest::addColumn<bool>("dremloStarts");
        QTest::addColumn<int>("pages");
        QTest::newRow("listed by an earlier run") << true << false << true << 0;
        QTest::newRow("left by this run") << false << true << true << 0;
        QTest::newRow("nothing unsigned") << false << false << true << 0;
        // The broker sends the folder's contents as they are: a list nobody acts on must not be among them.
        QTest::newRow("Dremlo cannot start") << true << true << false << 0;
        // ENVIO on a real disk of two pages, which the two files fill.
        QTest::newRow("no room for the list") << false << true << true << 2;
    }
    void handOffAtExit() {
        QFETCH(bool, listed);
        QFETCH(bool, thisRun);
        QFETCH(bool, dremloStarts);
        QFETCH(int, pages);
        QTemporaryDir dir;
        const QString envio = dir.filePath("ENVIO"), native = QDir::toNativeSeparators(envio);
        QDir(dir.path()).mkdir("ENVIO");
        SMALL_DISK_OR_SKIP(disk, envio, pages);
        const QString file = writeFile(envio + "/3012.txt", kEjemplo);
        writeFile(envio + "/LOTP751120QW7.REQ", "r");
        if (listed)
            writeFile(envio + "/Borra.txt", QDir::toNativeSeparators(file).toUtf8() + "\r\n");
        QStringList launched;
        interceptLaunches([&](const QString& program, const QStringList& arguments, const QString& folder) {
            launched << program << arguments << folder;
            return dremloStarts;
        });
        const QString aviso = fallaDe([&] {
            entregaSinFirma({TOLVEK_PROGRAM_DIR, dir.path()}, thisRun ? QStringList{file} : QStringList());
        });
        interceptLaunches({});
        const bool handOff = listed || thisRun, started = handOff && !pages, handedOff = started && dremloStarts;
        QCOMPARE(launched, started ? QStringList({TOLVEK_PROGRAM_DIR "/Dremlo", native, envio}) : QStringList());
        const QString full =
            pages ? "No hay espacio suficiente en el disco para escribir la lista " + native + "/Borra.txt. " : "";
        QCOMPARE(aviso, handOff && !handedOff
                            ? full + "No se pudo borrar el archivo sin firma " + QDir::toNativeSeparators(file) +
                                  ". Bórrelo antes de enviar la carpeta " + native + "."
                            : QString());
        // Rewritten relative to ENVIO, whatever form an earlier release gave it.
        QCOMPARE(readFile(envio + "/Borra.txt"), handedOff ? QByteArray("3012.txt\r\n") : QByteArray());
        // What the started Dremlo does once the program has ended (what it passes over is fuzz_dremlo's).
        if (handedOff)
            QCOMPARE(QProcess::execute(TOLVEK_PROGRAM_DIR "/Dremlo", {native}), 0);
        QCOMPARE(QDir(envio).entryList(QDir::Files),
                 QStringList({"3012.txt", "LOTP751120QW7.REQ"}).mid(handedOff ? 1 : 0));
    }

    void keyDialog_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("password");
        const QString typed = QString::fromUtf8(kTestKeyPassword);
        const auto row = [&](const char* name, const QString& path, const QString& message,
                             const QString& button = "cmdAceptar", const QString& password = {}) {
            QTest::newRow(name) << path << message << button << (password.isNull() ? typed : password);
        };
        const QString vacio = "El archivo llave no puede estar vacio",
                      otro = "Debe usar el archivo llave del AGENTE ADUANAL";
        row("blanks only", "   ", vacio);
        row("another RFC", "c:\\claves\\OTRO700101AB1.key", otro);
        row("the RFC without .KEY", "/claves/GORM700215KX3.cer", otro);
        row("lower case passes", "c:\\claves\\gorm700215kx3.key", QString());
        row("a path merely holding it passes", "C:\\GORM700215KX3.KEY\\OTRO.TXT", QString());
        row("cancelled", "/claves/GORM700215KX3.key", QString(), "cmdCancelar");
        // The signer record holds 255 bytes of path and 256 of password; more would reach the library cut.
        const QString key = "/GORM700215KX3.key", largo = "La ruta del archivo llave es demasiado larga: ocupa 256";
        row("a path of 255 bytes passes", QString(255 - key.size(), 'c') + key, QString());
        row("a path of 256 bytes", QString(256 - key.size(), 'c') + key, largo);
        row("a password of 256 bytes passes", key, QString(), "cmdAceptar", QString(128, u'ñ'));
        row("a password of 257 bytes", key, "La contraseña es demasiado larga: ocupa 257", "cmdAceptar",
            QString(128, u'ñ') + 'a');
    }
    // The dialog as a function: the choice comes out as a value, and nothing of the password stays in the box, its
    // undo history included.
    void keyDialog() {
        QFETCH(QString, path);
        QFETCH(QString, message);
        QFETCH(QString, button);
        QFETCH(QString, password);
        ScriptedMessages messages;
        frmKey dialog(kRfc);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Datos de la Firma"));
        auto* box = child<QLineEdit>(&dialog, "txtPassword");
        QCOMPARE(box->echoMode(), QLineEdit::Password);
        child<QLineEdit>(&dialog, "txtLlave")->setText(path);
        typeText(box, password);
        press(&dialog, button.toLatin1());
        QCOMPARE(messages.texts().size(), message.isEmpty() ? 0 : 1);
        QVERIFY(messages.texts().join(QString()).startsWith(message));
        QCOMPARE(dialog.isVisible(), !message.isEmpty());
        const bool accepted = message.isEmpty() && button == "cmdAceptar";
        const Llave llave = dialog.llave();
        QCOMPARE(llave.archivo, accepted ? path : QString());
        QCOMPARE(llave.password, accepted ? password.toUtf8() : QByteArray());
        QVERIFY(dialog.llave().password.isEmpty());
        if (!message.isEmpty()) {
            QCOMPARE(dialog.focusWidget()->objectName(), message.contains("contraseña") ? "txtPassword" : "cmdBuscar");
            return;
        }
        QCOMPARE(box->text(), QString());
        box->setEchoMode(QLineEdit::Normal);
        box->undo();
        QCOMPARE(box->text(), QString());
    }

    // Nothing is generated when the broker declines, nor when he closes the key dialog by its close box: there is
    // no password to sign with. Generating from the wizard is walked end to end in tst_registro.
    void generaDeclined() {
        Escena s;
        ScriptedMessages messages;
        ModalDriver driver;
        messages.answerNext(false);
        QVERIFY(!Genera_archivo(nullptr, *s.store, s.dir.path()));
        driver.then([](QDialog* d) { d->close(); });
        QVERIFY(!Genera_archivo(nullptr, *s.store, s.dir.path()));
        QCOMPARE(driver.pending() + driver.unexpected.size(), 0);
        const QString question = "¿DESEA GENERAR EL ARCHIVO DE INFORMACION? PARA ESTA OPERACION DEBE USAR EL ARCHIVO "
                                 "LLAVE DEL AGENTE ADUANAL. ";
        QCOMPARE(messages.texts(), QStringList({question, question}));
        QCOMPARE(messages.shown[0].title, QString("Mensaje"));
        QCOMPARE(s.enEnvio(), QStringList());
    }

    // After a signing, and only then, the constancia of what was sent, read back from the PDF field by field.
    void constancia_data() {
        QTest::addColumn<QString>("statements");
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<QString>("lines");
        const QString registros = "Tipo Registros\n501 1\nAA 1\nDomicilios_AA 2\nMandatarios 1\nDomicilios_MM 1\n"
                                  "Aduanas_MM 1\nPedimentos_MM 1\n";
        const QString representantes = "Representantes\nNombre CURP RFC Mandato Requerimiento Copiado\n";
        QTest::newRow("the worked example")
            << QString() << kTestKeyPassword
            << registros + "800 1\nFIRMA 1\nTotal 10\n" + representantes +
                   "PEDRO LOPEZ LOTP751120HDFPRD02 LOTP751120QW7 Anterior 01/01/2001 LOTP751120QW7.REQ Sí\nTORRES\n"
                   "Historia\nEl archivo no lleva historia: ningún representante tiene el mandato Conforme 2.13.11 "
                   "(Posterior 01/01/2001).";
        // Long texts wrap in their cells, identifiers never.
        QTest::newRow("an aspirant with history")
            << "update Mandatarios set Mandato=2;insert into Historico_AA values ('RAAJ600101AB1',"
               "'RAAJ600101HDFMRN01','JUAN','RAMOS','<b>&');insert into Periodos_H_MM(CURP,NoAduana,Patente_MM,"
               "FechaIni,FechaFin) values ('LOTP751120HDFPRD02',470,3011,'1999-02-01','2000-12-31')"
            << kTestKeyPassword
            << registros + "Historico_AA 1\nPeriodos_H_MM 1\n800 1\nFIRMA 1\nTotal 12\n" + representantes +
                   "PEDRO LOPEZ LOTP751120HDFPRD02 LOTP751120QW7 Conforme 2.13.11 LOTP751120QW7.REQ No\n"
                   "TORRES (Posterior 01/01/2001)\nRepresentantes anteriores\nNombre CURP RFC\n"
                   "JUAN RAMOS <b>& RAAJ600101HDFMRN01 RAAJ600101AB1\nPeriodos de los representantes anteriores\n"
                   "Ninguno.\nPeriodos de los aspirantes con otros Agentes Aduanales\nCURP Patente Aduana Desde Hasta\n"
                   "LOTP751120HDFPRD02 3011 470 AEROPUERTO INTERNACIONAL DE LA CIUDAD DE 01/02/1999 31/12/2000\nMEXICO";
        QTest::newRow("a failed signing writes none") << QString() << QByteArray("otra") << QString();
        QTest::newRow("one that cannot be written is told") << QString() << kTestKeyPassword << QString();
    }
    void constancia() {
        QFETCH(QString, statements);
        QFETCH(QByteArray, password);
        QFETCH(QString, lines);
        Escena s;
        for (const QString& sql : statements.split(';', Qt::SkipEmptyParts))
            s.db->exec(sql);
        ScriptedMessages messages;
        ModalDriver driver;
        driver.then([&](QDialog* d) {
            child<QLineEdit>(d, "txtLlave")->setText(s.llave);
            child<QLineEdit>(d, "txtPassword")->setText(QString::fromUtf8(password));
            press(d, "cmdAceptar");
        });
        // A file where the folder would be; or what a run that broke off left there, to be removed.
        const bool sinCarpeta = lines.isEmpty() && password == kTestKeyPassword;
        if (sinCarpeta)
            writeFile(s.dir.filePath("constancias"), "");
        else if (!lines.isEmpty() && QDir(s.dir.path()).mkdir("constancias"))
            writeFile(s.dir.filePath("constancias/3012-20260101-000000.pdf.aB12cD"), "%PDF");
        std::optional<Constancia> constancia;
        QVERIFY(Genera_archivo(nullptr, *s.store, {s.programa.path(), s.dir.path()}, &constancia));
        const QDir carpeta(s.dir.filePath("constancias"));
        const QStringList pdfs = carpeta.entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(pdfs.size(), lines.isEmpty() ? 0 : 1);
        QCOMPARE(constancia.has_value(), !lines.isEmpty());
        QCOMPARE(messages.texts().last().endsWith(
                     "No se hizo la constancia de envío; el archivo de información quedó firmado y puede enviarse."),
                 sinCarpeta);
        if (lines.isEmpty())
            return;
        QCOMPARE(constancia->ruta, carpeta.filePath(pdfs[0]));
        struct stat st;
        QVERIFY(stat(QFile::encodeName(constancia->ruta).constData(), &st) == 0 && (st.st_mode & 0777) == 0600);
        const QDateTime momento = QDateTime::fromString(pdfs[0], "'3012-'yyyyMMdd-HHmmss'.pdf'");
        QVERIFY(qAbs(momento.secsTo(QDateTime::currentDateTime())) < 60);
        const QStringList args = {"-layout", constancia->ruta, s.dir.filePath("constancia.txt")};
        QCOMPARE(int(runProgram("pdftotext", s.dir.path(), 30000, args).outcome), int(ProgramRun::Outcome::Finished));
        QStringList text;
        for (const QString& line : QString::fromUtf8(readFile(s.dir.filePath("constancia.txt"))).split('\n'))
            if (!line.simplified().isEmpty())
                text << line.simplified();
        const QByteArray archivo = readFile(s.envio("3012.txt"));
        QCOMPARE(text,
                 QStringList({"Constancia de envío", "Patente: 3012", "Agente Aduanal: MARIA MUÑOZ RUIZ",
                              "RFC: GORM700215KX3", "CURP: GORM700215MDFMZR05",
                              "Fecha y hora: " + momento.toString("dd/MM/yyyy HH:mm:ss"), "Archivo de información",
                              QString("3012.txt %1 bytes SHA-256 %2")
                                  .arg(archivo.size())
                                  .arg(QCryptographicHash::hash(archivo, QCryptographicHash::Sha256).toHex()),
                              "Firmado con la llave del Agente Aduanal, CURP del firmante GORM700215MDFMZR05.",
                              "Registros por tipo"}) +
                     lines.split('\n') + QStringList{"Constancia de envío, página 1"});
    }
};

QTEST_MAIN(TestArchivo)
#include "tst_archivo.moc"
