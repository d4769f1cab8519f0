#include "app/frmMain.h"
#include "data/BaseDatos.h"
#include "import/ViejoTolvek.h"
#include "platform/Database.h"
#include "platform/Process.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

    void withVantrix() const {
        QVERIFY(QFile::copy(QDir(TOLVEK_PROGRAM_DIR).filePath(programFileName(kExportTool)), tool()));
    }
    // A shell script standing in for the tool, to make it misbehave.
    void withScript(const QByteArray& body) const { script(tool(), body); }
    static void script(const QString& path, const QByteArray& body) {
        writeFile(path, "#!/bin/sh\n" + body + "\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    }
};

QString text(frmMain& window, const char* name) {
    return child<QLineEdit>(&window, name)->text();
}

QString combo(frmMain& window, const char* name) {
    return child<QComboBox>(&window, name)->currentText();
}

} // namespace

class TestImportaInicio : public QObject {
    Q_OBJECT

private slots:
    void importsAtFirstStartOnly();
    void noPreviousVersion();
    void faultKeepsDatabaseAndStartUpGoesOn_data();
    void faultKeepsDatabaseAndStartUpGoesOn();
    void toolThatDoesNotFinishIsStopped();
};

void TestImportaInicio::importsAtFirstStartOnly() {
    Folders f;
    f.withVantrix();
    writeFile(QDir(f.previous).filePath("Datos.txt"), kDatos);
    // An older copy of the tool, left by an earlier start, is replaced.
    Folders::script(f.copiedTool(), "exit 9");
    {
        ScriptedMessages messages;
        ModalDriver driver;
        frmMain window(f.program, f.previous);
        QVERIFY(startUp(window, driver));
        QCOMPARE(messages.texts(), QStringList());
        QCOMPARE(driver.unexpected, QStringList());
        QCOMPARE(readFile(f.copiedTool()), readFile(f.tool()));

        Database& db = *window.globales().BaseDatos;
        QCOMPARE(tableRows(db, "AA"),
                 QStringList({QString::fromUtf8("#470|JOSÉ|PEÑA|O'BRIEN|PEOJ561231AB1|PEOJ561231HDFXXX09|#0|#470")}));
        QCOMPARE(tableRows(db, "Domicilios_AA"),
                 QStringList({"#1|09|#15|AV. REFORMA, 120|S/N||CENTRO|06600|5555555555|",
                              QString::fromUtf8("#2|12|#83|JUAREZ|12|B|SAN JOSÉ|39000|7471111111|7472222222")}));
        QCOMPARE(tableRows(db, "Mandatarios"),
                 QStringList({"LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LOPEZ|TORRES|#1||#0|#2",
                              QString::fromUtf8("MAGA800101MDFRRN05|MAGA800101AB2|ANA|MARTÍNEZ|D'ARCY|#2||#0|#2")}));
        QCOMPARE(tableRows(db, "Domicilios_MM"),
                 QStringList({"LOTP751120HDFPRD02|09|#15|CALLE 5, INT. 2|10|A|ROMA|06700|5550000000||#1"}));
        QCOMPARE(tableRows(db, "Aduanas_MM"), QStringList({"LOTP751120HDFPRD02|#470"}));
        QCOMPARE(tableRows(db, "Pedimentos_MM"), QStringList({"LOTP751120HDFPRD02|#470|0001234|2000-11-30"}));

        // The imported broker shows on page 1 at once.
        QCOMPARE(text(window, "txtPatente"), QString("470"));
        QCOMPARE(window.globales().NoPatente, QString("470"));
        QCOMPARE(text(window, "txtAANombre"), QString::fromUtf8("JOSÉ"));
        QCOMPARE(text(window, "txtAAApPat"), QString::fromUtf8("PEÑA"));
        QCOMPARE(text(window, "txtAAApMat"), QString("O'BRIEN"));
        QCOMPARE(text(window, "txtAARFC"), QString("PEOJ561231AB1"));
        QCOMPARE(text(window, "txtAACURP"), QString("PEOJ561231HDFXXX09"));
        QCOMPARE(combo(window, "cmbAANoAduanaA"), QString(" 470"));
        QCOMPARE(text(window, "txtFiscalCalle"), QString("AV. REFORMA, 120"));
        QCOMPARE(text(window, "txtFiscalNoExt"), QString("S/N"));
        QCOMPARE(text(window, "txtFiscalNoInt"), QString());
        QCOMPARE(combo(window, "cmbFiscalMDeleg"), QString::fromUtf8("CUAUHTÉMOC"));
        QCOMPARE(text(window, "txtOirRColonia"), QString::fromUtf8("SAN JOSÉ"));
        QCOMPARE(text(window, "txtOirRFax"), QString("7472222222"));
        QCOMPARE(combo(window, "cmbOirRMDeleg"), QString::fromUtf8("ÑUU SAVI"));
    }
    // The next start finds the broker stored: the tool is not run again and nothing is read.
    QVERIFY(QFile::remove(f.recupera()));
    QVERIFY(QFile::remove(f.copiedTool()));
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(f.program, f.previous);
    QVERIFY(startUp(window, driver));
    QCOMPARE(messages.texts(), QStringList());
    QVERIFY(!QFile::exists(f.recupera()));
    QVERIFY(!QFile::exists(f.copiedTool()));
    QCOMPARE(tableRows(*window.globales().BaseDatos, "Mandatarios").size(), 2);
    QCOMPARE(text(window, "txtAANombre"), QString::fromUtf8("JOSÉ"));
}

void TestImportaInicio::noPreviousVersion() {
    Folders f;
    f.withVantrix();
    QVERIFY(QDir(f.previous).removeRecursively());
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(f.program, f.previous);
    QVERIFY(startUp(window, driver));
    QCOMPARE(messages.texts(), QStringList({kNoPrevious, kNoBroker}));
    QCOMPARE(int(messages.shown.first().icon), int(MessageIcon::Information));
    QCOMPARE(messages.shown.first().title, QString("Mensaje"));
    QVERIFY(!QFileInfo::exists(f.previous));
}

void TestImportaInicio::faultKeepsDatabaseAndStartUpGoesOn_data() {
    QTest::addColumn<QString>("tool"); // "vantrix", "none" or the body of a script
    QTest::addColumn<QByteArray>("datos");
    QTest::addColumn<QString>("fault"); // %1 the program folder, %2 the previous version's folder
#ifdef Q_OS_UNIX
    QTest::newRow("tool fails") << "echo 'sin acceso a los datos' >&2; exit 3" << QByteArray()
                                << "Vantrix terminó con error (código 3).\nsin acceso a los datos";
    QTest::newRow("tool crashes") << "echo 'memoria agotada' >&2; kill -KILL $$" << QByteArray()
                                  << "Vantrix se interrumpió de forma anormal.\nmemoria agotada";
    QTest::newRow("tool cannot be run") << "not runnable" << QByteArray() << "No se pudo ejecutar Vantrix en %2.";
    QTest::newRow("tool writes nothing") << "exit 0" << QByteArray()
                                         << "Vantrix no escribió el archivo %2/Recupera.txt.";
    QTest::newRow("export without 800") << "printf '\"x\"\\r\\n\"AA|470|A|B|C|R|CU|0|470\"\\r\\n' > Recupera.txt"
                                        << QByteArray()
                                        << "El archivo %2/Recupera.txt termina antes de su registro 800.";
#endif
    QTest::newRow("tool missing") << "none" << QByteArray() << "No se encontró el programa %1/Vantrix.";
    QTest::newRow("no data for the tool") << "vantrix" << QByteArray()
                                          << "Vantrix terminó con error (código 2).\nVantrix: no se encontró Datos.txt "
                                             "en %2";
    QTest::newRow("number that is not") << "vantrix" << crlf({"AA|470|A|B|C|R|CU|0|470", "Aduanas_MM|470|CU|AICM"})
                                        << "Línea 3 de %2/Recupera.txt: el valor «AICM» de NoAduana no es un número.";
    QTest::newRow("duplicate CURP")
        << "vantrix" << crlf({"AA|470|A|B|C|R|CU|0|470", "Mandatarios|470|C1|R|N|P|M|", "Mandatarios|470|C1|R|N|P|M|1"})
        << "Línea 4 de %2/Recupera.txt: la base de datos rechazó el registro (UNIQUE constraint failed: "
           "Mandatarios.CURP).";
}

void TestImportaInicio::faultKeepsDatabaseAndStartUpGoesOn() {
    QFETCH(QString, tool);
    QFETCH(QByteArray, datos);
    QFETCH(QString, fault);
    Folders f;
    if (tool == "vantrix")
        f.withVantrix();
    else if (tool == "not runnable")
        writeFile(f.tool(), "#!/bin/sh\nexit 0\n");
    else if (tool != "none")
        f.withScript(tool.toUtf8());
    if (!datos.isEmpty())
        writeFile(QDir(f.previous).filePath("Datos.txt"), datos);
    // An export left from an earlier run never passes for this run's.
    writeFile(f.recupera(), crlf({"h", "AA|1|VIEJO|B|C|R|CU|0|470", "800|1|"}));

    QStringList fresh;
    {
        QTemporaryDir empty;
        QString error;
        auto db = openTolvekDatabase(empty.path(), &error);
        fresh = dumpAll(*db);
    }
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(f.program, f.previous);
    QVERIFY(startUp(window, driver));
    QCOMPARE(messages.shown.size(), 2);
    const QString expected =
        kFaultOpening + "\n\n" +
        fault.replace("%1", QDir::toNativeSeparators(f.program)).replace("%2", QDir::toNativeSeparators(f.previous));
    QVERIFY2(messages.texts().first().startsWith(expected), qPrintable(messages.texts().first()));
    QVERIFY(messages.texts().first().endsWith("\n\n" + kFaultClosing));
    QCOMPARE(int(messages.shown.first().icon), int(MessageIcon::Exclamation));
    QCOMPARE(messages.shown.first().title, QString("Mensaje"));
    // The start-up went on as for an empty database.
    QCOMPARE(messages.texts().last(), kNoBroker);
    QCOMPARE(dumpAll(*window.globales().BaseDatos), fresh);
    QCOMPARE(text(window, "txtPatente"), QString());
    QCOMPARE(window.Pagina(), 1);
}

void TestImportaInicio::toolThatDoesNotFinishIsStopped() {
#ifndef Q_OS_UNIX
    QSKIP("The stand-in tool is a shell script");
#else
    Folders f;
    f.withScript("echo $$ > pid.txt; exec sleep 30");
    QTemporaryDir dir;
    QString error;
    auto db = openTolvekDatabase(dir.path(), &error);
    const QStringList before = dumpAll(*db);
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
    QCOMPARE(dumpAll(*db), before);
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
