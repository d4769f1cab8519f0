#include "app/frmMain.h"
#include "platform/Database.h"
#include "platform/InstanceLock.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

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

        QCOMPARE(int(messages.shown.last().icon), int(MessageIcon::Exclamation));
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

        // The grids carry their headers and no rows.
        const QList<QTableView*> grids = window.findChildren<QTableView*>();
        QCOMPARE(grids.size(), 7);
        for (const QTableView* grid : grids)
            QVERIFY2(grid->model()->columnCount() > 0 && grid->model()->rowCount() == 0,
                     qPrintable(grid->objectName()));
        QCOMPARE(child<QTableView>(&window, "fgAA")->model()->headerData(6, Qt::Horizontal).toString(),
                 QString("Operando (Con gafete)"));
        QCOMPARE(driver.unexpected, QStringList());
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
        row("paterno", {"txtAAApPat"}, "", "El Ap.Paterno no puede estar vacio");
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

    // A database another program holds stops the start-up and is left untouched; so does a copy already running,
    // which goes on; and a folder that cannot take the lock is not mistaken for such a copy.
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
        frmMain first(dir.path(), dir.filePath("sin-version-anterior"));
        QVERIFY(startUp(first, driver));
        {
            frmMain second(dir.path(), dir.filePath("sin-version-anterior"));
            QVERIFY(!second.iniciar());
            QCOMPARE(messages.texts().last(), QString("TOLVEK 3 ya está abierto"));
        }
        QVERIFY(child<QPushButton>(&first, "cmdSiguiente")->isEnabled());
        QVERIFY(!frmMain(dir.filePath("no/existe"), dir.filePath("sin-version-anterior")).iniciar());
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
        InstanceLock lock(dir.path());
        const QString said = lock.acquire();
        QVERIFY2(message.isEmpty() ? said.isEmpty() : said.contains(message), qPrintable(said));
        if (said.contains("borre"))
            QVERIFY(said.contains(QDir::toNativeSeparators(lck)));
        if (said.isEmpty())
            QCOMPARE(InstanceLock(dir.path()).acquire(), QString("TOLVEK 3 ya está abierto"));
        holder.kill();
        holder.waitForFinished();
    }

    void qtSpeaksSpanish() {
        QTemporaryDir dir;
        frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
        // Qt's own words: the Cancel of every question and the calendar's months.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancelar"));
        QCOMPARE(QLocale().monthName(3), QString("marzo"));
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
