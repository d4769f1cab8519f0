#include "app/frmMain.h"
#include "platform/Database.h"
#include "platform/InstanceLock.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"
#include "tools/dremlo/Borra.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <optional>
#include <sstream>

class TestInicio : public QObject {
    Q_OBJECT

private slots:
    void firstStartOnEmptyFolder() {
        QTemporaryDir dir;
        ScriptedMessages messages;
        ModalDriver driver;
        frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
        QStringList startTexts;
        QVERIFY(startUp(window, driver, &startTexts));
        QCOMPARE(startTexts,
                 QStringList({"frmInicio", "TOLVEK 3.0", "TOLVEK v.3.0", "TOLVEK 3.0",
                              "Datos que deberá proporcionar el Agente Aduanal relacionado a sus Apoderados o "
                              "Representantes o el historico"}));

        // No previous version to import from: the broker is told so, and the start goes on to page 1.
        QCOMPARE(messages.texts(), QStringList({"No hay una versión anterior de TOLVEK en su computadora",
                                                "No se encontó información de la vesión anterior de TOLVEK"}));
        QVERIFY(messages.shown[0].icon == MessageIcon::Information &&
                messages.shown[1].icon == MessageIcon::Exclamation);
        QCOMPARE(messages.shown[0].title + QString::number(pagina(&window)), QString("Mensaje1"));
        QCOMPARE(window.windowTitle(), QString("TOLVEK 3"));

        // The offices in name order, nothing chosen.
        auto* names = child<QComboBox>(&window, "cmbAAAduanaA");
        QCOMPARE(names->currentIndex(), -1);
        QStringList officeNames;
        for (int i = 0; i < names->count(); ++i)
            officeNames << names->itemText(i);
        QVERIFY(std::is_sorted(officeNames.begin(), officeNames.end()));

        for (const QByteArray stem : {"Fiscal", "OirR", "ApR", "FiscalApR"}) {
            QCOMPARE(child<QComboBox>(&window, "cmb" + stem + "CveEntFed")->count(), 32);
            QCOMPARE(child<QComboBox>(&window, "cmb" + stem + "EntFed")->currentIndex(), -1);
            QCOMPARE(child<QComboBox>(&window, "cmb" + stem + "MDeleg")->count(), 0);
        }

        // Choosing an entity refills its own block's municipalities, nothing chosen, and leaves the other blocks be.
        auto* entities = child<QComboBox>(&window, "cmbOirREntFed");
        auto* municipalities = child<QComboBox>(&window, "cmbOirRMDeleg");
        entities->setCurrentIndex(entities->findText("GUERRERO"));
        QCOMPARE(child<QComboBox>(&window, "cmbOirRCveEntFed")->currentText(), QString("12"));
        QCOMPARE(municipalities->count(), 85);
        QCOMPARE(municipalities->currentIndex(), -1);
        entities->setCurrentIndex(entities->findText("COLIMA"));
        QCOMPARE(child<QComboBox>(&window, "cmbOirRNoMDeleg")->count(), 10);
        QCOMPARE(child<QComboBox>(&window, "cmbOirRNoMDeleg")->currentIndex(), -1);
        QCOMPARE(child<QComboBox>(&window, "cmbFiscalNoMDeleg")->count(), 0);

        // The grids' rows are checked where they have some; their headers are the texts the broker knows.
        QCOMPARE(child<QTableView>(&window, "fgAA")->model()->headerData(6, Qt::Horizontal).toString(),
                 QString("Operando (Con gafete)"));
        QCOMPARE(driver.unexpected, QStringList());
        // Qt's own words: the Cancel of every question and the calendar's months.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancelar"));
        QCOMPARE(QLocale().monthName(3), QString("marzo"));
    }

    // A fault typed over the stored broker on page 1 is refused, the first one only, with the focus on
    // its field (the first of them); so is what the store refuses. Nothing is stored then, nor is the patente that
    // names the file taken. The fields are emptied or given the value.
    void pageOne_data() {
        QTest::addColumn<QByteArrayList>("fields");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("sql");
        const auto row = [](const char* name, const QByteArrayList& fields, const QString& value,
                            const QString& message, const QString& sql = QString()) {
            QTest::newRow(name) << fields << value << message << sql;
        };
        row("patente 4001", {"txtPatente"}, "4001", "No de Patente invalido");
        row("patente 12AB", {"txtPatente"}, "12AB", "No de Patente invalido");
        row("nombre en blanco", {"txtAANombre"}, "   ", "El Nombre no puede estar vacio");
        row("materno", {"txtAAApMat"}, " ", "El Ap.Materno no puede estar vacio");
        row("curp", {"txtAACURP"}, "GODE561331HDFRRN09", "Formato de CURP incorrecto");
        row("rfc", {"txtAARFC"}, "GODE56123", "Formato de RFC incorrecto");
        row("aduana", {"cmbAAAduanaA"}, "", "Indique la Aduana de Adscripción");
        row("fiscal antes", {"txtFiscalCalle", "txtOirRCalle"}, "", "Calle no puede estar vacio");
        row("cp notificaciones", {"txtOirRCP"}, "0660", "Formato de C.P. invalido");
        row("the store refuses", {}, "",
            "No se pudo guardar la información del Agente Aduanal; se conserva la anterior.",
            "create trigger falla before insert on Domicilios_AA when new.Tipo_Dom=2 "
            "begin select raise(abort, 'rechazado'); end");
    }
    void pageOne() {
        QFETCH(QByteArrayList, fields);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QFETCH(QString, sql);
        QTemporaryDir dir;
        storeBroker(*openDatabase(dir.path()));
        ScriptedMessages messages;
        ModalDriver driver;
        frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
        QVERIFY(startUp(window, driver));
        QCOMPARE(QDir(dir.filePath("respaldos")).entryList(QDir::Files).size(), 1); // the day's copy, made at the start
        window.show();
        QApplication::setActiveWindow(&window);
        child<QLineEdit>(&window, "txtFiscalFax")->setText("5555555556"); // the one field he left empty
        // The same file, as another program would see it.
        const auto db = openDatabase(dir.path());
        const QStringList stored = dumpAll(*db);
        if (!sql.isEmpty())
            db->exec(sql);
        for (const QByteArray& field : fields) {
            if (auto* box = window.findChild<QLineEdit*>(field))
                box->setText(value);
            else
                child<QComboBox>(&window, field)->setCurrentIndex(-1);
        }
        press(&window, "cmdSiguiente");
        QCOMPARE(pagina(&window), 1);
        QCOMPARE(messages.texts().join(" / ").section('\n', 0, 0), message);
        if (!fields.isEmpty())
            QCOMPARE(QApplication::focusWidget()->objectName().toLatin1(), fields.first());
        QCOMPARE(dumpAll(*db), stored);
    }

    // A database another program holds stops the start-up and is left untouched; a folder that cannot take the lock
    // stops it with the lock's own words (a copy already running: lockTakenOverUnlessHeld).
    void startUpStopped() {
        QTemporaryDir dir;
        storeBroker(*openDatabase(dir.path()));
        const QByteArray bytes = readFile(dir.filePath("tolvek.mdb"));
        ScriptedMessages messages;
        ModalDriver driver;
        {
            auto other = Database::open(dir.filePath("tolvek.mdb"));
            other->exec("begin exclusive");
            frmMain busy(dir.path(), dir.filePath("sin-version-anterior"));
            QVERIFY(!startUp(busy, driver));
            QCOMPARE(messages.shown.size(), 1);
            QVERIFY2(messages.texts().first().contains("en uso"), qPrintable(messages.texts().first()));
            other->exec("rollback");
        }
        QCOMPARE(readFile(dir.filePath("tolvek.mdb")), bytes);
        frmMain nowhere(dir.filePath("no/existe"), dir.filePath("sin-version-anterior"));
        QVERIFY(!nowhere.iniciar());
        QVERIFY(messages.texts().last().startsWith("No se puede escribir en la carpeta"));
        // A real disk of one page holds the lock, not the new database.
        QVERIFY(QDir(dir.path()).mkdir("lleno"));
        SMALL_DISK_OR_SKIP(disk, dir.filePath("lleno"), 1);
        QVERIFY(!frmMain(dir.filePath("lleno"), dir.filePath("sin-version-anterior")).iniciar());
        QVERIFY(
            messages.texts().last().startsWith("No hay espacio suficiente en el disco para crear la base de datos"));
    }

    void lockTakenOverUnlessHeld_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* kind, const QString& message = {}) { QTest::newRow(kind) << kind << message; };
        row("empty, after a power cut");
        row("written by another host");
        row("an empty folder");
        row("a holder since killed");
        row("a live holder", "TOLVEK 3 ya está abierto");
        row("a folder with files", "es una carpeta que no está vacía");
        row("a link", "es un enlace a otro archivo");
        row("no room for a file", "No hay espacio suficiente en el disco para crear el archivo");
        row("no room to create datos", "No hay espacio suficiente en el disco para crear la carpeta");
    }
    // Only a running copy's hold on the file stops a start; what the file holds says nothing about one.
    void lockTakenOverUnlessHeld() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString lck = dir.filePath("tolvek.lck");
        QProcess holder;
        SMALL_DISK_OR_SKIP(disk, dir.path(), kind.startsWith("no room") ? 1 : 0, 1);
        if (kind.startsWith("empty"))
            writeFile(lck, "");
        else if (kind.startsWith("written"))
            writeFile(lck, "4242\ntolvek\notra-computadora\n");
        else if (kind.contains("folder"))
            QVERIFY(QDir().mkdir(lck) && (kind.contains("empty") || !writeFile(lck + "/x", "x").isEmpty()));
        else if (kind == "a link")
            QVERIFY(QFile::link(dir.filePath("otro"), lck));
        else if (kind.contains("holder")) {
            holder.start(QCoreApplication::applicationFilePath(), {"--candado", dir.path()});
            QVERIFY(holder.waitForReadyRead(10000));
            if (kind.contains("killed")) {
                holder.kill();
                holder.waitForFinished();
            }
        }
        InstanceLock lock(kind.endsWith("datos") ? dir.filePath("datos") : dir.path());
        const QString said = lock.acquire();
        QVERIFY2(message.isEmpty() ? said.isEmpty() : said.contains(message), qPrintable(said));
        if (said.contains("borre"))
            QVERIFY(said.contains(QDir::toNativeSeparators(lck)));
        // Taken, it refuses every later copy: one refused does not let the next one in when it ends.
        for (int copy = 0; said.isEmpty() && copy < 2; ++copy)
            QCOMPARE(InstanceLock(dir.path()).acquire(), QString("TOLVEK 3 ya está abierto"));
        holder.kill();
        holder.waitForFinished();
    }

    // Dremlo and the program's start erase the unsigned files listed in ENVIO/Borra.txt, and nothing outside ENVIO
    // whatever the list names or is.
    void erasesOnlyInsideEnvio() {
        QTemporaryDir dir;
        const QDir envio(dir.filePath("ENVIO"));
        QVERIFY(QDir().mkpath(envio.filePath("sub")) && QDir().mkpath(dir.filePath("otra")));
        for (const QString& f : {dir.filePath("fuera.txt"), dir.filePath("otra/victima.txt"), envio.filePath("470.txt"),
                                 envio.filePath("3012.txt"), envio.filePath("victima.txt")})
            writeFile(f, "x");
        QVERIFY(QFile::link(dir.filePath("fuera.txt"), envio.filePath("enlace.txt")));
        QVERIFY(QFile::link(dir.filePath("otra/sub"), envio.filePath("lnk")));
        QVERIFY(QDir().mkpath(dir.filePath("otra/sub")));
        // A byte order mark, a full path, a relative name, ways out through ".." and through a link to a folder
        // outside, a link out, a folder, a file outside.
        writeFile(envio.filePath("Borra.txt"), "\xEF\xBB\xBF" + envio.filePath("470.txt").toUtf8() +
                                                   "\r\n3012.txt\r\n../fuera.txt\r\nlnk/../victima.txt\r\n"
                                                   "enlace.txt\r\nsub\r\n" +
                                                   dir.filePath("fuera.txt").toUtf8() + "\r\n");
        std::ostringstream said;
        QCOMPARE(dremlo::borraListados(std::filesystem::canonical(envio.path().toStdString()), said), 2);
        QCOMPARE(envio.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList({"enlace.txt", "lnk", "sub", "victima.txt"}));
        QCOMPARE(readFile(dir.filePath("fuera.txt")), QByteArray("x"));
        QCOMPARE(readFile(dir.filePath("otra/victima.txt")), QByteArray("x"));
    }

    void refusesAListThatIsNoSmallFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a FIFO") << "fifo";
        QTest::newRow("larger than 4 MB") << "grande";
        QTest::newRow("a link") << "enlace";
    }
    void refusesAListThatIsNoSmallFile() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString list = dir.filePath("Borra.txt");
        writeFile(dir.filePath("3012.txt"), "x");
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(list).constData(), 0600), 0);
        else if (kind == "grande")
            writeFile(list, "3012.txt\r\n" + QByteArray(4 * 1024 * 1024, '\n'));
        else
            QVERIFY(QFile::link(writeFile(dir.filePath("otra.txt"), "3012.txt\r\n"), list));
        std::ostringstream said;
        QCOMPARE(dremlo::borraListados(std::filesystem::canonical(dir.path().toStdString()), said), 2);
        QVERIFY(said.str().find("no se lee la lista") != std::string::npos);
        QVERIFY(QFile::exists(dir.filePath("3012.txt")));
    }
};

// `--candado <folder>`: a copy that holds the folder until it is killed.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--candado") == 0) {
        InstanceLock lock(QString::fromLocal8Bit(argv[2]));
        if (!lock.acquire().isEmpty())
            return 1;
        QTextStream(stdout) << "listo" << Qt::endl;
        QThread::sleep(60);
        return 0;
    }
    TestInicio test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_inicio.moc"
