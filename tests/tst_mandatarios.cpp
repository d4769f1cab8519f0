#include "app/frmMain.h"
#include "data/Store.h"
#include "platform/Database.h"
#include "platform/FileDialogs.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kAnterior = QStringLiteral("LOTP751120HDFPRD02");
const QString kExamen = QStringLiteral("GOMA800101MDFRRR05");
const QString kSinAcreditacion = QStringLiteral("RUIZ650303HGRZRN01");
const QString kAutorizado = QStringLiteral("SAGA701212HGRNRL03");
const QString kSinMandato = QStringLiteral("VEGA550505MDFGRN04");

// The wizard started over a broker and, when asked, five representatives: one of each mandate type, a type 2
// without accreditation, one with no type.
struct Page {
    QTemporaryDir dir;
    ScriptedMessages messages;
    ModalDriver driver;
    std::unique_ptr<frmMain> window;

    explicit Page(bool withRepresentatives = true) {
        auto db = openDatabase(dir.path());
        storeBroker(*db);
        if (!withRepresentatives)
            return;
        // Stored as the representative dialog stores him; type 1 with two offices and a declaration at each.
        const auto store = [&](const QString& curp, const QString& nombre, int mandato, int acreditacion,
                               int operando) {
            Mandatario m =
                representative(curp, curp.left(10) + QStringLiteral("AB1"), nombre, mandatoDeCodigo(mandato));
            m.acreditacion = acreditacion;
            m.operando = operando;
            if (mandato == 1) {
                const Aduana a470{470, {}}, a240{240, {}};
                m.aduanas = {a470, a240};
                m.pedimentos = {{a470, "3001", QDate(2000, 3, 5)}, {a240, "3002", QDate(1999, 2, 11)}};
            }
            Store(*db).guardaMandatario({}, m);
        };
        store(kAnterior, "ANA", 1, 0, 1);
        store(kExamen, "BETO", 2, 2, 0);
        store(kSinAcreditacion, "CIRO", 2, 0, 1);
        store(kAutorizado, "DORA", 1, 0, 1);
        store(kSinMandato, "EVA", 2, 1, 1);
        db->exec("update Mandatarios set Mandato=3, Acreditacion=NULL, Operando=2 where CURP=?", {kAutorizado});
        db->exec("update Mandatarios set Acreditacion=NULL where CURP=?", {kSinAcreditacion});
        db->exec("delete from Domicilios_MM where CURP=? and Tipo_Dom=2", {kAutorizado});
        db->exec("update Mandatarios set Mandato=NULL where CURP=?", {kSinMandato});
        db->exec("insert into Periodos_H_MM values (?,?,?,?,?)",
                 {kExamen, 470, 12, QDate(2001, 1, 1), QDate(2002, 1, 1)});
    }
    // The window, or null when its start-up failed.
    QWidget* start() {
        window = std::make_unique<frmMain>(dir.path(), dir.filePath("sin-version-anterior"));
        return startUp(*window, driver) ? window.get() : nullptr;
    }
    int count(const QString& sql, const QVariantList& values = {}) {
        Query q = openDatabase(dir.path())->select(sql, values);
        return q.next() ? int(q.number(0)) : -1;
    }
};

void select(QWidget* root, const QString& curp) {
    auto* grid = child<QTableWidget>(root, "fgAA");
    const auto found = grid->findItems(curp, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(curp));
    grid->selectRow(found.first()->row());
}

bool shown(QWidget* root, const char* name) {
    return !child<QWidget>(root, name)->isHidden();
}

QString caption(QWidget* root) {
    return child<QPushButton>(root, "cmdSiguiente")->text();
}

// Fills a new representative in frmApoderado with everything but the type-dependent parts.
void fillIdentity(QDialog* d, int mandato, const QString& curp, const QString& rfc) {
    child<QComboBox>(d, "cmbMandato")->setCurrentIndex(mandato - 1);
    for (const auto& [name, text] : QList<QPair<QString, QString>>{
             {"Nombre", "JUAN"}, {"ApPaterno", "PEREZ"}, {"ApMaterno", "SOLIS"}, {"CURP", curp}, {"RFC", rfc}})
        child<QLineEdit>(d, qPrintable("txt" + name))->setText(text);
    child<QRadioButton>(d, "optNo")->setChecked(true);
    for (const QString& prefix : {QString(), QStringLiteral("Fiscal")}) {
        for (const char* stem : {"Calle", "NoExt", "Colonia", "Telefono", "Fax", "CP"})
            child<QLineEdit>(d, qPrintable("txt" + prefix + stem))->setText("39000");
        auto* entity = child<QComboBox>(d, qPrintable("cmb" + prefix + "EntFed"));
        entity->setCurrentIndex(entity->findText("GUERRERO"));
        child<QComboBox>(d, qPrintable("cmb" + prefix + "MDeleg"))->setCurrentIndex(0);
    }
    FileDialogs::queueAnswer("/home/juan/" + rfc + ".req");
    press(d, "cmdBuscar");
}

} // namespace

class TestMandatarios : public QObject {
    Q_OBJECT

private slots:
    void init() { FileDialogs::clearAnswers(); }

    void detailsPanelByMandate_data();
    void detailsPanelByMandate();
    void listFilledAndDeleted();
    void refusedDeleteLeavesEverything();
    void newEditAndCancelThroughWindow();
};

void TestMandatarios::detailsPanelByMandate_data() {
    QTest::addColumn<QString>("curp");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("tipo");
    // Frames shown: offices, declarations, accreditation, request file.
    QTest::addColumn<QString>("frames");
    QTest::addColumn<QString>("acreditacion");
    QTest::addColumn<QString>("requerimiento");
    const QString conforme = QStringLiteral("Conforme 2.13.11 (Posterior 01/01/2001)");
    const QString previous = QStringLiteral("/req/GOMA800101AB1.req");
    const auto add = [](const char* row, const QString& curp, const char* nombre, const QString& tipo,
                        const char* frames, const char* acreditacion, const QString& requerimiento) {
        QTest::newRow(row) << curp << QString(nombre) << tipo << QString(frames) << QString(acreditacion)
                           << requerimiento;
    };
    // Type 1 leaves the (hidden) accreditation as the previous selection showed it.
    add("anterior", kAnterior, "ANA", "Anterior 01/01/2001", "ODR", "-X", "/req/LOTP751120AB1.req");
    add("conforme con examen", kExamen, "BETO", conforme, "AR", "-X", previous);
    add("conforme sin acreditacion", kSinAcreditacion, "CIRO", conforme, "AR", "--", "/req/RUIZ650303AB1.req");
    // The request file is not read for type 3: what the previous selection showed stays (hidden). He has only a
    // private address: the fiscal block is emptied.
    add("autorizado", kAutorizado, "DORA", "Con autorización de operar al 15/01/2004", "", "-X", previous);
    // No type matches: the panel keeps what the previous selection showed.
    add("sin mandato", kSinMandato, "EVA", conforme, "AR", "-X", previous);
}

void TestMandatarios::detailsPanelByMandate() {
    QFETCH(QString, curp);
    QFETCH(QString, tipo);
    QFETCH(QString, frames);
    QFETCH(QString, acreditacion);
    QFETCH(QString, requerimiento);
    QFETCH(QString, nombre);
    Page page;
    QWidget* window = page.start();
    QVERIFY(window);
    // Each case follows the selection of a type 2 representative with "Examen de Conocimientos".
    select(window, kExamen);
    select(window, curp);
    QVERIFY(child<QPushButton>(window, "cmdEditar")->isEnabled());
    QVERIFY(child<QPushButton>(window, "cmdBorrar")->isEnabled());
    QCOMPARE(child<QLabel>(window, "lblTipoMandato")->text(), tipo);
    QCOMPARE(shown(window, "frAduanasAct"), frames.contains('O'));
    QCOMPARE(shown(window, "frPedTramitados"), frames.contains('D'));
    QCOMPARE(shown(window, "frAcreditacion"), frames.contains('A'));
    QCOMPARE(shown(window, "lblRequerimiento"), frames.contains('R'));
    QCOMPARE(shown(window, "txtRequerimiento"), frames.contains('R'));
    QVERIFY(!child<QWidget>(window, "frAcreditacion")->isEnabled());
    QCOMPARE(child<QRadioButton>(window, "optNTCL")->isChecked(), acreditacion[0] == 'X');
    QCOMPARE(child<QRadioButton>(window, "optExCon")->isChecked(), acreditacion[1] == 'X');
    QCOMPARE(child<QLineEdit>(window, "txtRequerimiento")->text(), requerimiento);
    if (frames.contains('O')) {
        QCOMPARE(gridRows(window, "fgAduanasAct"), QStringList({"AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO",
                                                                "NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS"}));
        QCOMPARE(gridRows(window, "fgPedTramitados"),
                 QStringList({"AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO|3001|05/03/2000",
                              "NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS|3002|11/02/1999"}));
    }
    QCOMPARE(child<QLineEdit>(window, "txtApRCalle")->text(), nombre + " PARTICULAR");
    QCOMPARE(child<QComboBox>(window, "cmbApRMDeleg")->currentText(), QString::fromUtf8("ACAPULCO DE JUÁREZ"));
    const bool fiscal = curp != kAutorizado;
    QCOMPARE(child<QLineEdit>(window, "txtFiscalApRCalle")->text(), fiscal ? nombre + " FISCAL" : QString());
    QCOMPARE(child<QLineEdit>(window, "txtFiscalAprNoInt")->text(), QString(fiscal ? "4B" : ""));
    QCOMPARE(child<QComboBox>(window, "cmbFiscalApRNoMDeleg")->currentText(), QString(fiscal ? " 15" : ""));
    QCOMPARE(child<QComboBox>(window, "cmbFiscalApRMDeleg")->count() > 0, fiscal);
    QCOMPARE(page.messages.texts(), QStringList());
}

void TestMandatarios::listFilledAndDeleted() {
    Page page;
    QWidget* window = page.start();
    QVERIFY(window);
    QCOMPARE(page.messages.texts(), QStringList());
    QCOMPARE(gridRows(window, "fgAA"),
             QStringList(
                 {"ANA|LOPEZ|TORRES|LOTP751120AB1|" + kAnterior + "|Anterior 01/01/2001|Si",
                  "BETO|LOPEZ|TORRES|GOMA800101AB1|" + kExamen + "|Conforme 2.13.11 (Posterior 01/01/2001)|No",
                  "CIRO|LOPEZ|TORRES|RUIZ650303AB1|" + kSinAcreditacion + "|Conforme 2.13.11 (Posterior 01/01/2001)|Si",
                  "DORA|LOPEZ|TORRES|SAGA701212AB1|" + kAutorizado +
                      QString::fromUtf8("|Con autorización de operar al 15/01/2004|No Definido"),
                  "EVA|LOPEZ|TORRES|VEGA550505AB1|" + kSinMandato + "||Si"}));
    QVERIFY(child<QPushButton>(window, "cmdNuevo")->isEnabled());
    QVERIFY(!child<QPushButton>(window, "cmdEditar")->isEnabled());
    QVERIFY(!child<QPushButton>(window, "cmdBorrar")->isEnabled());

    select(window, kAnterior);
    page.messages.answerNext(false);
    press(window, "cmdBorrar");
    QCOMPARE(page.messages.texts(),
             QStringList({"¿DESEA BORRAR EL MANDATARIO\n\nANA LOPEZ TORRES " + kAnterior + " ?"}));
    QVERIFY(page.messages.shown.first().withCancel);
    QCOMPARE(gridRows(window, "fgAA").size(), 5);
    QCOMPARE(page.count("select count(*) from Aduanas_MM"), 4);

    press(window, "cmdBorrar");
    QCOMPARE(gridRows(window, "fgAA").size(), 4);
    for (const char* table : {"Mandatarios", "Domicilios_MM", "Aduanas_MM", "Pedimentos_MM"})
        QCOMPARE(page.count(QString("select count(*) from %1 where CURP=?").arg(table), {kAnterior}), 0);
    QVERIFY(!child<QPushButton>(window, "cmdEditar")->isEnabled());
    QVERIFY(!child<QPushButton>(window, "cmdBorrar")->isEnabled());
    for (const char* name : {"frAduanasAct", "frPedTramitados", "frAcreditacion", "txtRequerimiento"})
        QVERIFY2(!shown(window, name), name);
    QCOMPARE(child<QLineEdit>(window, "txtApRCalle")->text(), QString());
    QCOMPARE(caption(window), QString("Siguiente >"));

    // A type 2 representative takes his periods with other brokers along; the last type 2 leaves "Finaliza".
    select(window, kExamen);
    press(window, "cmdBorrar");
    QCOMPARE(page.count("select count(*) from Periodos_H_MM"), 0);
    QCOMPARE(caption(window), QString("Siguiente >"));
    select(window, kSinAcreditacion);
    press(window, "cmdBorrar");
    QCOMPARE(caption(window), QString("Finaliza"));
    // Offices stored under another type (imported data) go with their representative too.
    select(window, kAutorizado);
    press(window, "cmdBorrar");
    QCOMPARE(page.count("select (select count(*) from Aduanas_MM) + (select count(*) from Pedimentos_MM)"), 0);
    QCOMPARE(gridRows(window, "fgAA").size(), 1);
    QCOMPARE(page.driver.unexpected, QStringList());
}

void TestMandatarios::refusedDeleteLeavesEverything() {
    Page page;
    // The last delete is refused, after the dependent rows are gone.
    Database::open(page.dir.filePath("tolvek.mdb"))
        ->exec("create trigger falla before delete on Mandatarios begin select raise(abort, 'borrado forzado'); end");
    QWidget* window = page.start();
    QVERIFY(window);
    select(window, kAnterior);
    press(window, "cmdBorrar");
    QCOMPARE(page.messages.shown.size(), 2);
    QVERIFY(page.messages.texts().last().contains("borrado forzado"));
    QCOMPARE(int(page.messages.shown.last().icon), int(MessageIcon::Exclamation));
    QCOMPARE(gridRows(window, "fgAA").size(), 5);
    for (const char* table : {"Domicilios_MM", "Aduanas_MM", "Pedimentos_MM"})
        QCOMPARE(page.count(QString("select count(*) from %1 where CURP=?").arg(table), {kAnterior}), 2);
    QCOMPARE(caption(window), QString("Siguiente >"));
}

void TestMandatarios::newEditAndCancelThroughWindow() {
    Page page(false);
    QWidget* window = page.start();
    QVERIFY(window);
    QCOMPARE(gridRows(window, "fgAA"), QStringList());
    child<QPushButton>(window, "cmdSiguiente")->setText("sin refrescar");

    // The walks through the whole wizard add representatives of both types with their offices; here the list and
    // the panel follow a new and an edited one.
    page.driver.then([](QDialog* d) {
        fillIdentity(d, 2, kExamen, "GOMA800101AB1");
        child<QRadioButton>(d, "optExamen")->setChecked(true);
        press(d, "cmdAceptar");
    });
    press(window, "cmdNuevo");
    QCOMPARE(page.messages.texts(), QStringList());
    const QString tail = "|PEREZ|SOLIS|GOMA800101AB1|" + kExamen + "|Conforme 2.13.11 (Posterior 01/01/2001)|";
    QCOMPARE(gridRows(window, "fgAA"), QStringList({"JUAN" + tail + "No"}));
    QCOMPARE(child<QTableWidget>(window, "fgAA")->selectedItems().first()->row(), 0);
    QVERIFY(child<QRadioButton>(window, "optExCon")->isChecked());
    QCOMPARE(child<QLineEdit>(window, "txtApRCalle")->text(), QString("39000"));
    QCOMPARE(caption(window), QString("Siguiente >"));

    page.driver.then([](QDialog* d) {
        child<QLineEdit>(d, "txtNombre")->setText("JUAN JOSE");
        child<QRadioButton>(d, "optSi")->setChecked(true);
        press(d, "cmdAceptar");
    });
    press(window, "cmdEditar");
    QCOMPARE(gridRows(window, "fgAA"), QStringList({"JUAN JOSE" + tail + "Si"}));

    // Cancelled: nothing stored, nothing refreshed.
    child<QPushButton>(window, "cmdSiguiente")->setText("sin tocar");
    page.driver.then([](QDialog* d) {
        child<QLineEdit>(d, "txtNombre")->setText("OTRO");
        press(d, "cmdCancelar");
    });
    press(window, "cmdEditar");
    QCOMPARE(gridRows(window, "fgAA").first().left(9), QString("JUAN JOSE"));
    QCOMPARE(caption(window), QString("sin tocar"));
    QCOMPARE(page.count("select count(*) from Mandatarios where Nombre='OTRO'"), 0);
    QCOMPARE(page.driver.unexpected, QStringList());
}

QTEST_MAIN(TestMandatarios)
#include "tst_mandatarios.moc"
