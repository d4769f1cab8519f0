// The import of the previous version's export: what each record becomes, the faults that leave the database as it
// was, and the first start that runs Vantrix to write the export.
#include "app/frmMain.h"
#include "data/Schema.h"
#include "import/Recupera.h"
#include "import/VersionAnterior.h"
#include "import/ViejoTolvek.h"
#include "platform/Database.h"
#include "platform/Process.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#endif

namespace {

const QByteArray kHeader = "\"TOLVEK|Recupera|1\"";
const QByteArray kEnd = "\"800|470|\"";
const QString kConforme = QStringLiteral("Conforme 2.13.11 (Posterior 01/01/2001)");

// A former representative JUAN PEREZ RUIZ, stored straight into the table.
void personaHistorica(Database& db, const QString& rfc, const QString& curp) {
    using namespace col;
    tabla::Historico_AA.inserta(db, {RFC, CURP, Nombre, ApPaterno, ApMaterno}, {rfc, curp, "JUAN", "PEREZ", "RUIZ"});
}

// A fresh database beside an export file, with a row the import must never touch.
struct Export {
    QTemporaryDir dir;
    std::unique_ptr<Database> db = openDatabase(dir.path());
    QString path = dir.filePath("Recupera.txt");
    Export() { personaHistorica(*db, "R", "HISTORICO"); }
};

// A program folder and a previous version's folder, both temporary.
struct Folders {
    QTemporaryDir root;
    QString program = root.filePath("programa");
    QString previous = root.filePath("TOLVEK");

    Folders() {
        QDir().mkpath(program);
        QDir().mkpath(previous);
    }
    QString tool() const { return QDir(program).filePath(programFileName(kExportTool)); }
    QString copiedTool() const { return QDir(previous).filePath(programFileName(kExportTool)); }
    QString recupera() const { return QDir(previous).filePath("Recupera.txt"); }

    // "vantrix" copies the real tool, "none" leaves it out, "not runnable" writes one without execute permission;
    // anything else is the body of a shell script standing in for the tool, to make it misbehave.
    void withTool(const QString& kind) const {
        if (kind == "vantrix")
            QVERIFY(QFile::copy(QDir(TOLVEK_PROGRAM_DIR).filePath(programFileName(kExportTool)), tool()));
        else if (kind == "not runnable")
            writeFile(tool(), "#!/bin/sh\nexit 0\n");
        else if (kind != "none")
            script(tool(), kind.toUtf8());
    }
    static void script(const QString& path, const QByteArray& body) {
        writeFile(path, "#!/bin/sh\n" + body + "\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    }
};

// The main window started on the folders, with scripted messages and modal dialogs.
struct Started {
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window;
    bool ok;
    explicit Started(const Folders& f) : window(f.program, f.previous), ok(startUp(window, driver)) {}
};

QStringList freshDump() {
    QTemporaryDir empty;
    return dumpAll(*openDatabase(empty.path()));
}

} // namespace

class TestImporta : public QObject {
    Q_OBJECT

private slots:
    void importsEveryRecordType() {
        Export e;
        writeFile(
            e.path,
            crlf({
                // The header is never imported, even when it looks like a record.
                "\"AA|1|HEADER|X|Y|R|C|0|1\"",
                // Blanks around a quoted record; Windows-1252, whose five undefined bytes stand for themselves.
                "  \"AA|470|JOS\xC9 \x80\x93x\x94\x8A\x9F\x81\x8D|O'BRIEN||PEOJ561231AB1|PEOJ561231HDFXXX09|0|470\" ",
                // Every record but the broker's starts with a patente that is not imported.
                "Domicilios_AA|999|2|12| 83|AV. REFORMA, 120|S/N||CENTRO|06600|555|",
                "\"Mandatarios|3012|LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LOPEZ|A\"B|\"",
                "Mandatarios|3012|MAGA800101MDFRRN05|MAGA800101AB2|ANA|D'ARCY||1",
                "\"Domicilios_MM|3012|LOTP751120HDFPRD02|09|15|CALLE 5, INT. 2|10|A|ROMA|06700|5550|5551\"",
                "Aduanas_MM|3012|LOTP751120HDFPRD02|470",
                "Pedimentos_MM|3012|LOTP751120HDFPRD02|470|0001234|2000-11-30",
                "Pedimentos_MM|3012|LOTP751120HDFPRD02|240|1|1999/02/28",
                kEnd,
                // Blanks may follow the closing record.
                " ",
            }));
        QCOMPARE(importaRecupera(*e.db, e.path), 8);
        // Empty values are stored as empty texts, never as Null.
        QCOMPARE(dumpAll(*e.db).mid(0, 6),
                 QStringList({
                     "AA: #470|JOSÉ €“x”ŠŸ\u0081\u008D|O'BRIEN||PEOJ561231AB1|PEOJ561231HDFXXX09|#0|#470",
                     "Domicilios_AA: #2|12|#83|AV. REFORMA, 120|S/N||CENTRO|06600|555|",
                     "Mandatarios: LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LOPEZ|A\"B|#1||#0|#2 / "
                     "MAGA800101MDFRRN05|MAGA800101AB2|ANA|D'ARCY||#2||#0|#2",
                     "Domicilios_MM: LOTP751120HDFPRD02|09|#15|CALLE 5, INT. 2|10|A|ROMA|06700|5550|5551|#1",
                     "Aduanas_MM: LOTP751120HDFPRD02|#470",
                     "Pedimentos_MM: LOTP751120HDFPRD02|#470|0001234|2000-11-30 / LOTP751120HDFPRD02|#240|1|1999-02-28",
                 }));
    }

    void faultLeavesDatabaseAsItWas_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fault"); // %1: the file
        const QByteArray aa = "\"AA|470|JOSE|PENA|OBRIEN|PEOJ561231AB1|PEOJ561231HDFXXX09|0|470\"";
        const QByteArray rep = "\"Mandatarios|470|LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LOPEZ|TORRES|\"";
        const QString early = "El archivo %1 termina antes de su registro 800.";
        const QString notDate = "el valor «%1» de FechPedimento no es una fecha (año-mes-día)";
        const auto file = [](const char* name, const QByteArray& bytes, const QString& fault) {
            QTest::newRow(name) << bytes << fault;
        };
        // The third line of an export that is otherwise whole.
        const auto line3 = [&aa](const char* name, const QByteArray& record, const QString& fault) {
            QTest::newRow(name) << crlf({kHeader, aa, record, kEnd}) << "Línea 3 de %1: " + fault + ".";
        };
        line3("blank line", "", "el registro «» no tiene separadores \"|\"");
        line3("quote not closed", "\"Aduanas_MM|470|C|3", "el registro abre comillas y no las cierra");
        line3("unknown tag", "Historico_AA|470|X|Y", "«Historico_AA» no es ningún tipo de registro conocido");
        line3("tag in other case", "aa|470|A|B|C|D|E|0|3", "«aa» no es ningún tipo de registro conocido");
        line3("only the patente", "Aduanas_MM|470", "el registro tiene 0 valores y se esperaban 2");
        line3("too few", "Mandatarios|470|CURP|RFC|PEDRO|LOPEZ", "el registro tiene 4 valores y se esperaban 6");
        line3("too many", "Aduanas_MM|470|CURP|470|3", "el registro tiene 3 valores y se esperaban 2");
        line3("not a number", "Aduanas_MM|470|CURP|A470", "el valor «A470» de NoAduana no es un número");
        line3("empty number", "Aduanas_MM|470|CURP|", "el valor «» de NoAduana no es un número");
        line3("date that does not exist", "Pedimentos_MM|470|X|3|1|2001-02-29", notDate.arg("2001-02-29"));
        line3("date day first", "Pedimentos_MM|470|X|3|1|30/11/2000", notDate.arg("30/11/2000"));
        line3("date too long", "Pedimentos_MM|470|X|3|1|2000-11-30 10:00", notDate.arg("2000-11-30 10:00"));
        line3("flag 2", "Mandatarios|470|C|R|N|P|M|2", "la marca de tipo de mandato «2» no es ni vacía ni 1");
        // A previous version that held no data exports only its header and closing record: nothing to import.
        file("nothing to import", crlf({"\"TOLVEK|Recupera|0\"", kEnd}), QString());
        file("records after 800", crlf({kHeader, aa, kEnd, "", rep}),
             "Línea 5 de %1: el registro 800 cierra el archivo y esta línea lo sigue.");
        file("header counts fewer", crlf({kHeader, aa, rep, kEnd}),
             "El archivo %1 trae 2 registros y su encabezado anuncia 1.");
        file("two fiscal addresses",
             crlf({kHeader, aa, "Domicilios_AA|470|1|09|15|A|1||C|06600|5|",
                   "Domicilios_AA|470|1|09|15|B|1||C|06600|5|", kEnd}),
             "Línea 4 de %1: la base de datos rechazó el registro (UNIQUE constraint failed: Domicilios_AA.Tipo_Dom).");
        file("no 800, no line end", kHeader + "\r\n" + aa, early);
        file("empty file", QByteArray(), early);
        file("no broker", crlf({kHeader, rep, kEnd}),
             "El archivo %1 no trae los datos del Agente Aduanal (registro AA).");
    }

    void faultLeavesDatabaseAsItWas() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fault);
        Export e;
        const QStringList before = dumpAll(*e.db);
        writeFile(e.path, bytes);
        try {
            QCOMPARE(importaRecupera(*e.db, e.path), 0);
            QVERIFY2(fault.isEmpty(), "the export was imported");
        } catch (const ImportError& error) {
            QCOMPARE(error.message(), fault.arg(QDir::toNativeSeparators(e.path)));
        }
        QCOMPARE(dumpAll(*e.db), before);
        // The database takes the next statement as usual: no transaction is left open.
        tabla::Aduanas_MM.inserta(*e.db, {col::CURP, col::NoAduana}, {"X", 3});
    }

    void firstStartRunsVantrixOnce() {
        Folders f;
        f.withTool("vantrix");
        // The previous version's data as Vantrix finds it: Windows-1252 bytes, apostrophes and commas in values.
        writeFile(QDir(f.previous).filePath("Datos.txt"),
                  crlf({"AA|470|JOS\xC9|PE\xD1"
                        "A|O'BRIEN|PEOJ561231AB1|PEOJ561231HDFXXX09|0|470",
                        "Domicilios_AA|470|2|12|83|JUAREZ, 4|12|B|SAN JOS\xC9|39000|7471111111|7472222222",
                        "Mandatarios|470|MAGA800101MDFRRN05|MAGA800101AB2|ANA|MART\xCDNEZ|D'ARCY|1"}));
        // An older copy of the tool, left by an earlier start, is replaced.
        Folders::script(f.copiedTool(), "exit 9");
        // With the day's copy there already, the import still makes its own, of the database before it.
        const QDir respaldos(QDir(f.program).filePath("respaldos"));
        QVERIFY(respaldos.mkpath("."));
        writeFile(
            respaldos.filePath(QDateTime::currentDateTime().addSecs(-60).toString("'tolvek-'yyyyMMdd-HHmmss'.mdb'")),
            {});
        // A former representative captured before it, whom the import keeps.
        personaHistorica(*openDatabase(f.program), "PERJ700101AB1", "PERJ700101HDFRRN01");
        const QStringList before = dumpAll(*openDatabase(f.program));
        Started s(f);
        QVERIFY(s.ok);
        QCOMPARE(s.messages.texts() + s.driver.unexpected, QStringList());
        QCOMPARE(readFile(f.copiedTool()), readFile(f.tool()));
        QCOMPARE(respaldos.entryList(QDir::Files).size(), 2);
        QCOMPARE(dumpAll(*Database::open(respaldos.filePath(respaldos.entryList(QDir::Files).last()))), before);
        auto db = openDatabase(f.program);
        QCOMPARE(tableRows(*db, "AA") + tableRows(*db, "Domicilios_AA") + tableRows(*db, "Mandatarios"),
                 QStringList({"#470|JOSÉ|PEÑA|O'BRIEN|PEOJ561231AB1|PEOJ561231HDFXXX09|#0|#470",
                              "#2|12|#83|JUAREZ, 4|12|B|SAN JOSÉ|39000|7471111111|7472222222",
                              "MAGA800101MDFRRN05|MAGA800101AB2|ANA|MARTÍNEZ|D'ARCY|#2||#0|#2"}));
        // The imported broker shows on page 1 at once, and the lists of pages 2, 4 and 3 as stored. (A start that
        // finds a broker stored imports nothing: tst_registro's and tst_inicio's, with no previous version, are told
        // nothing.)
        QCOMPARE(child<QLineEdit>(&s.window, "txtAAApMat")->text(), QString("O'BRIEN"));
        QCOMPARE(child<QComboBox>(&s.window, "cmbOirRMDeleg")->currentText(), QString("ÑUU SAVI"));
        QCOMPARE(gridRows(&s.window, "fgAA") + gridRows(&s.window, "fgMandatarios") + gridRows(&s.window, "fgDatosAA"),
                 QStringList({"ANA|MARTÍNEZ|D'ARCY|MAGA800101AB2|MAGA800101MDFRRN05|" + kConforme + "|No Definido",
                              "ANA|MARTÍNEZ|D'ARCY|MAGA800101MDFRRN05",
                              "JUAN|PEREZ|RUIZ|PERJ700101HDFRRN01|PERJ700101AB1"}));
    }

    void toolFaultKeepsDatabase_data() {
        QTest::addColumn<QString>("tool");  // "vantrix", "none", "not runnable" or the body of a script
        QTest::addColumn<QString>("fault"); // %1 the program folder, %2 the previous version's folder
        const auto row = [](const char* name, const char* tool, const char* fault) {
            QTest::newRow(name) << QString(tool) << QString::fromUtf8(fault);
        };
#ifdef Q_OS_UNIX
        row("tool fails", "echo 'sin acceso a los datos' >&2; exit 3",
            "Vantrix terminó con error (código 3).\nsin acceso a los datos");
        row("tool crashes", "echo 'memoria agotada' >&2; kill -KILL $$",
            "Vantrix se interrumpió de forma anormal.\nmemoria agotada");
        row("tool cannot be run", "not runnable", "No se pudo ejecutar Vantrix en %2.");
        row("tool writes nothing", "exit 0", "Vantrix no escribió el archivo %2/Recupera.txt.");
        row("tool does not finish", "echo $$ > pid.txt; exec sleep 30", "Vantrix no terminó en 1 segundo y se detuvo.");
#endif
        row("tool missing", "none", "No se encontró el programa %1/Vantrix.");
        row("no data for the tool", "vantrix",
            "Vantrix terminó con error (código 2).\nVantrix: no se encontró Datos.txt en %2");
    }

    // Told in one message, the database left as it was; a tool that does not finish is stopped and reaped, not left
    // running in the previous version's folder.
    void toolFaultKeepsDatabase() {
        QFETCH(QString, tool);
        QFETCH(QString, fault);
        const bool hangs = tool.contains("sleep");
        Folders f;
        f.withTool(tool);
        // An export left from an earlier run never passes for this run's.
        writeFile(f.recupera(), crlf({"h", "AA|1|VIEJO|B|C|R|CU|0|470", "800|1|"}));
        auto db = openDatabase(f.program);
        ScriptedMessages messages;
        // While the tool runs the user is told what is being waited for (the first events handled after the tool
        // has started are those of the wait itself).
        QStringList notices;
        if (hangs)
            QTimer::singleShot(0, [&notices] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible())
                        notices << p->labelText();
            });
        QVERIFY(!Viejo_TOLVEK(nullptr, *db, f.program, f.previous, hangs ? 300 : kExportTimeoutMs));
        fault.replace("%1", QDir::toNativeSeparators(f.program)).replace("%2", QDir::toNativeSeparators(f.previous));
        const QString told = messages.texts().join("/");
        QVERIFY2(
            messages.shown.size() == 1 &&
                told.startsWith("No se pudo importar la información de la versión anterior de TOLVEK.\n\n" + fault) &&
                told.endsWith("\n\nNo se importó ningún dato."),
            qPrintable(told));
        QCOMPARE(int(messages.shown.first().icon), int(MessageIcon::Exclamation));
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(notices, hangs ? QStringList({"Recuperando la información de la versión anterior de TOLVEK..."})
                                : QStringList());
        QCOMPARE(dumpAll(*db), freshDump());
#ifdef Q_OS_UNIX
        if (const QByteArray pid = readFile(QDir(f.previous).filePath("pid.txt")).trimmed(); !pid.isEmpty())
            QVERIFY(::kill(pid.toInt(), 0) == -1 && errno == ESRCH);
#endif
    }
};

QTEST_MAIN(TestImporta)
#include "tst_importa.moc"
