#include "app/frmMain.h"
#include "data/BaseDatos.h"
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

const QString kNoPrevious = QStringLiteral("No hay una versión anterior de TOLVEK en su computadora");
const QString kNoBroker = QStringLiteral("No se encontó información de la vesión anterior de TOLVEK");
const QString kFaultOpening = QStringLiteral("No se pudo importar la información de la versión anterior de TOLVEK.");
const QString kFaultClosing = QStringLiteral("No se importó ningún dato.");

// The previous version's data, as Vantrix finds it: Windows-1252 bytes, apostrophes and commas in values.
const QByteArray kDatos = crlf({
    "AA|470|JOS\xC9|PE\xD1"
    "A|O'BRIEN|PEOJ561231AB1|PEOJ561231HDFXXX09|0|470",
    "Domicilios_AA|470|1|09|15|AV. REFORMA, 120|S/N||CENTRO|06600|5555555555|",
    "Domicilios_AA|470|2|12|83|JUAREZ|12|B|SAN JOS\xC9|39000|7471111111|7472222222",
    "Mandatarios|470|LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LOPEZ|TORRES|",
    "Mandatarios|470|MAGA800101MDFRRN05|MAGA800101AB2|ANA|MART\xCDNEZ|D'ARCY|1",
    "Domicilios_MM|470|LOTP751120HDFPRD02|09|15|CALLE 5, INT. 2|10|A|ROMA|06700|5550000000|",
    "Aduanas_MM|470|LOTP751120HDFPRD02|470",
    "Pedimentos_MM|470|LOTP751120HDFPRD02|470|0001234|2000-11-30",
});

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

// What a database the program has just created holds.
QStringList freshDump() {
    QTemporaryDir empty;
    return dumpAll(*openDatabase(empty.path()));
}

} // namespace

class TestImportaInicio : public QObject {
    Q_OBJECT

private slots:
    void importsAtFirstStartOnly();
    void toldAndStartUpGoesOn_data();
    void toldAndStartUpGoesOn();
    void faultKeepsDatabase_data();
    void faultKeepsDatabase();
    void toolThatDoesNotFinishIsStopped();
};

void TestImportaInicio::importsAtFirstStartOnly() {
    Folders f;
    f.withTool("vantrix");
    writeFile(QDir(f.previous).filePath("Datos.txt"), kDatos);
    // An older copy of the tool, left by an earlier start, is replaced.
    Folders::script(f.copiedTool(), "exit 9");
    // With the day's copy there already, the import still makes its own, of the database before it.
    const QDir respaldos(QDir(f.program).filePath("respaldos"));
    QVERIFY(respaldos.mkpath("."));
    writeFile(respaldos.filePath(QDateTime::currentDateTime().addSecs(-60).toString("'tolvek-'yyyyMMdd-HHmmss'.mdb'")),
              {});
    {
        Started s(f);
        QVERIFY(s.ok);
        QCOMPARE(s.messages.texts(), QStringList());
        QCOMPARE(s.driver.unexpected, QStringList());
        QCOMPARE(readFile(f.copiedTool()), readFile(f.tool()));
        QCOMPARE(respaldos.entryList(QDir::Files).size(), 2);
        QCOMPARE(dumpAll(*Database::open(respaldos.filePath(respaldos.entryList(QDir::Files).last()))), freshDump());

        QStringList stored;
        auto db = openDatabase(f.program);
        // Each record's mapping is checked where records are converted; here, what the export tool's code page and
        // quoting carry through.
        for (const char* table : {"AA", "Domicilios_AA", "Mandatarios", "Pedimentos_MM"})
            stored << tableRows(*db, table);
        QCOMPARE(stored, QStringList({"#470|JOSÉ|PEÑA|O'BRIEN|PEOJ561231AB1|PEOJ561231HDFXXX09|#0|#470",
                                      "#1|09|#15|AV. REFORMA, 120|S/N||CENTRO|06600|5555555555|",
                                      "#2|12|#83|JUAREZ|12|B|SAN JOSÉ|39000|7471111111|7472222222",
                                      "LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LOPEZ|TORRES|#1||#0|#2",
                                      "MAGA800101MDFRRN05|MAGA800101AB2|ANA|MARTÍNEZ|D'ARCY|#2||#0|#2",
                                      "LOTP751120HDFPRD02|#470|0001234|2000-11-30"}));

        // The imported broker shows on page 1 at once.
        QCOMPARE(child<QLineEdit>(&s.window, "txtAAApMat")->text(), QString("O'BRIEN"));
        QCOMPARE(child<QComboBox>(&s.window, "cmbOirRMDeleg")->currentText(), QString("ÑUU SAVI"));
    }
    // The next start finds the broker stored: the tool is not run again and nothing is read.
    QVERIFY(QFile::remove(f.recupera()));
    QVERIFY(QFile::remove(f.copiedTool()));
    Started s(f);
    QVERIFY(s.ok);
    QCOMPARE(s.messages.texts(), QStringList());
    QVERIFY(!QFile::exists(f.recupera()));
    QVERIFY(!QFile::exists(f.copiedTool()));
    QCOMPARE(tableRows(*openDatabase(f.program), "Mandatarios").size(), 2);
    QCOMPARE(child<QLineEdit>(&s.window, "txtAANombre")->text(), QString("JOSÉ"));
}

void TestImportaInicio::toldAndStartUpGoesOn_data() {
    QTest::addColumn<bool>("previous");
    QTest::addColumn<QString>("told");
    QTest::addColumn<int>("icon");
    QTest::newRow("no previous version") << false << kNoPrevious << int(MessageIcon::Information);
    QTest::newRow("fault") << true << kFaultOpening + "\n\nNo se encontró el programa %1.\n\n" + kFaultClosing
                           << int(MessageIcon::Exclamation);
}

void TestImportaInicio::toldAndStartUpGoesOn() {
    QFETCH(bool, previous);
    QFETCH(QString, told);
    QFETCH(int, icon);
    Folders f;
    if (!previous)
        QVERIFY(QDir(f.previous).removeRecursively());
    Started s(f);
    QVERIFY(s.ok);
    QCOMPARE(s.messages.texts(), QStringList({told.arg(QDir::toNativeSeparators(f.tool())), kNoBroker}));
    QCOMPARE(int(s.messages.shown.first().icon), icon);
    QCOMPARE(s.messages.shown.first().title, QString("Mensaje"));
    QCOMPARE(s.window.Pagina(), 1);
}

void TestImportaInicio::faultKeepsDatabase_data() {
    QTest::addColumn<QString>("tool");  // "vantrix", "none" or the body of a script
    QTest::addColumn<QString>("fault"); // %1 the program folder, %2 the previous version's folder
    const auto row = [](const char* name, const QString& tool, const QString& fault) {
        QTest::newRow(name) << tool << fault;
    };
#ifdef Q_OS_UNIX
    row("tool fails", "echo 'sin acceso a los datos' >&2; exit 3",
        "Vantrix terminó con error (código 3).\nsin acceso a los datos");
    row("tool crashes", "echo 'memoria agotada' >&2; kill -KILL $$",
        "Vantrix se interrumpió de forma anormal.\nmemoria agotada");
    row("tool cannot be run", "not runnable", "No se pudo ejecutar Vantrix en %2.");
    row("tool writes nothing", "exit 0", "Vantrix no escribió el archivo %2/Recupera.txt.");
#endif
    row("tool missing", "none", "No se encontró el programa %1/Vantrix.");
    row("no data for the tool", "vantrix",
        "Vantrix terminó con error (código 2).\nVantrix: no se encontró Datos.txt en %2");
}

void TestImportaInicio::faultKeepsDatabase() {
    QFETCH(QString, tool);
    QFETCH(QString, fault);
    Folders f;
    f.withTool(tool);
    // An export left from an earlier run never passes for this run's.
    writeFile(f.recupera(), crlf({"h", "AA|1|VIEJO|B|C|R|CU|0|470", "800|1|"}));
    auto db = openDatabase(f.program);
    const ResultadoImportacion r = importaVersionAnterior(*db, f.program, f.previous);
    QCOMPARE(int(r.estado), int(ResultadoImportacion::Estado::Falla));
    const QString expected =
        fault.replace("%1", QDir::toNativeSeparators(f.program)).replace("%2", QDir::toNativeSeparators(f.previous));
    QVERIFY2(r.falla.startsWith(expected), qPrintable(r.falla));
    QCOMPARE(dumpAll(*db), freshDump());
}

void TestImportaInicio::toolThatDoesNotFinishIsStopped() {
#ifndef Q_OS_UNIX
    QSKIP("The stand-in tool is a shell script");
#else
    Folders f;
    f.withTool("echo $$ > pid.txt; exec sleep 30");
    QTemporaryDir dir;
    auto db = openDatabase(dir.path());
    ScriptedMessages messages;
    // While the tool runs the user is told what is being waited for.
    // (The first events handled after the tool has started are those of the wait itself.)
    QStringList notices;
    QTimer::singleShot(0, [&notices] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible())
                notices << p->labelText();
        }
    });
    QVERIFY(!Viejo_TOLVEK(nullptr, *db, f.program, f.previous, 300));
    QCOMPARE(notices, QStringList({"Recuperando la información de la versión anterior de TOLVEK..."}));
    QCOMPARE(messages.texts(),
             QStringList({kFaultOpening + "\n\nVantrix no terminó en 1 segundo y se detuvo.\n\n" + kFaultClosing}));
    QCOMPARE(dumpAll(*db), freshDump());
    QVERIFY(!QGuiApplication::overrideCursor());
    // Stopped and reaped, not left running in the previous version's folder.
    const QByteArray pid = readFile(QDir(f.previous).filePath("pid.txt")).trimmed();
    if (!pid.isEmpty()) {
        QCOMPARE(::kill(pid.toInt(), 0), -1);
        QCOMPARE(errno, ESRCH);
    }
#endif
}

QTEST_MAIN(TestImportaInicio)
#include "tst_importa_inicio.moc"
