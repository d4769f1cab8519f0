#include "app/frmMain.h"
#include "data/BaseDatos.h"
#include "platform/Database.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

class TestInicio : public QObject {
    Q_OBJECT

private slots:
    void firstStartOnEmptyFolder();
    void entityChoiceRefillsMunicipalities();
    void storedBrokerShownOnPageOne();
    void notADatabaseStopsStartUp();
};

void TestInicio::firstStartOnEmptyFolder() {
    QTemporaryDir dir;
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
    QStringList startTexts;
    QVERIFY(startUp(window, driver, &startTexts));
    QCOMPARE(startTexts, QStringList({"frmInicio", "TOLVEK 3.0", "TOLVEK v.3.0", "TOLVEK 3.0",
                                      "Datos que deberá proporcionar el Agente Aduanal relacionado a sus Apoderados o "
                                      "Representantes o el historico"}));
    QVERIFY(QFile::exists(dir.filePath("tolvek.mdb")));

    // Without a previous version the import says so first; then the empty broker table is reported.
    QCOMPARE(messages.texts(), QStringList({"No hay una versión anterior de TOLVEK en su computadora",
                                            "No se encontó información de la vesión anterior de TOLVEK"}));
    QCOMPARE(int(messages.shown.first().icon), int(MessageIcon::Information));
    QCOMPARE(messages.shown.first().title, QString("Mensaje"));
    QCOMPARE(int(messages.shown.last().icon), int(MessageIcon::Exclamation));
    QCOMPARE(messages.shown.last().title, QString("Mensaje"));

    QCOMPARE(window.windowTitle(), QString("TOLVEK 3"));
    QCOMPARE(window.Pagina(), 1);
    QCOMPARE(child<QStackedWidget>(&window, "paginas")->currentWidget()->objectName(), QString("frAA"));
    QVERIFY(!child<QPushButton>(&window, "cmdAtras")->isEnabled());
    QVERIFY(child<QPushButton>(&window, "cmdSiguiente")->isEnabled());
    for (const char* name : {"txtPatente", "txtAANombre", "txtAAApPat", "txtAAApMat", "txtAARFC", "txtAACURP",
                             "txtFiscalCalle", "txtOirRFax"})
        QVERIFY2(child<QLineEdit>(&window, name)->text().isEmpty(), name);

    auto* numbers = child<QComboBox>(&window, "cmbAANoAduanaA");
    auto* names = child<QComboBox>(&window, "cmbAAAduanaA");
    QCOMPARE(numbers->count(), 50);
    QCOMPARE(names->count(), 50);
    QCOMPARE(names->currentIndex(), -1);
    QStringList sorted;
    for (int i = 0; i < names->count(); ++i)
        sorted << names->itemText(i);
    QStringList expected = sorted;
    std::sort(expected.begin(), expected.end());
    QCOMPARE(sorted, expected);
    const int airport = names->findText("AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO");
    QCOMPARE(numbers->itemText(airport), QString(" 470"));
    names->setCurrentIndex(airport);
    QCOMPARE(numbers->currentText(), QString(" 470"));

    for (const char* stem : {"Fiscal", "OirR", "ApR", "FiscalApR"}) {
        const QByteArray s(stem);
        QCOMPARE(child<QComboBox>(&window, "cmb" + s + "CveEntFed")->count(), 32);
        QCOMPARE(child<QComboBox>(&window, "cmb" + s + "EntFed")->count(), 32);
        QCOMPARE(child<QComboBox>(&window, "cmb" + s + "EntFed")->currentIndex(), -1);
        QCOMPARE(child<QComboBox>(&window, "cmb" + s + "NoMDeleg")->count(), 0);
        QCOMPARE(child<QComboBox>(&window, "cmb" + s + "MDeleg")->count(), 0);
    }

    // The seven grids carry their headers and no rows.
    const QList<QPair<const char*, int>> grids = {
        {"fgAA", 7},         {"fgAduanasAct", 1},  {"fgPedTramitados", 3},     {"fgDatosAA", 5},
        {"fgPeriodosAA", 4}, {"fgMandatarios", 4}, {"fgPeriodosMandatario", 5}};
    for (const auto& [name, columns] : grids) {
        auto* grid = child<QTableWidget>(&window, name);
        QVERIFY2(grid, name);
        QCOMPARE(grid->columnCount(), columns);
        QCOMPARE(grid->rowCount(), 0);
    }
    QCOMPARE(child<QTableWidget>(&window, "fgAA")->horizontalHeaderItem(6)->text(), QString("Operando (Con gafete)"));
    QCOMPARE(driver.unexpected, QStringList());
}

void TestInicio::entityChoiceRefillsMunicipalities() {
    QTemporaryDir dir;
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
    QVERIFY(startUp(window, driver));
    auto* keys = child<QComboBox>(&window, "cmbOirRCveEntFed");
    auto* entities = child<QComboBox>(&window, "cmbOirREntFed");
    auto* numbers = child<QComboBox>(&window, "cmbOirRNoMDeleg");
    auto* municipalities = child<QComboBox>(&window, "cmbOirRMDeleg");

    entities->setCurrentIndex(entities->findText("GUERRERO"));
    QCOMPARE(keys->currentText(), QString("12"));
    QCOMPARE(numbers->count(), 85);
    QCOMPARE(municipalities->count(), 85);
    QCOMPARE(municipalities->currentIndex(), -1);
    municipalities->setCurrentIndex(municipalities->findText(QString::fromUtf8("ÑUU SAVI")));
    QCOMPARE(numbers->currentText(), QString(" 83"));

    entities->setCurrentIndex(entities->findText("COLIMA"));
    QCOMPARE(keys->currentText(), QString("06"));
    QCOMPARE(numbers->count(), 10);
    QCOMPARE(numbers->currentIndex(), -1);
    // The other blocks are not touched.
    QCOMPARE(child<QComboBox>(&window, "cmbFiscalNoMDeleg")->count(), 0);
}

void TestInicio::storedBrokerShownOnPageOne() {
    QTemporaryDir dir;
    storeBroker(dir.path());
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
    QVERIFY(startUp(window, driver));
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(child<QLineEdit>(&window, "txtPatente")->text(), QString("470"));
    QCOMPARE(window.globales().NoPatente, QString("470"));
    QCOMPARE(child<QLineEdit>(&window, "txtAANombre")->text(), QString("EMILIO"));
    QCOMPARE(child<QLineEdit>(&window, "txtAARFC")->text(), QString("GODE561231GR8"));
    QCOMPARE(child<QLineEdit>(&window, "txtAACURP")->text(), QString("GODE561231HDFRRN09"));
    QCOMPARE(child<QLineEdit>(&window, "txtAutorizacion")->text(), QString("0"));
    QCOMPARE(child<QComboBox>(&window, "cmbAANoAduanaA")->currentText(), QString(" 470"));
    QCOMPARE(child<QComboBox>(&window, "cmbAAAduanaA")->currentText(),
             QString("AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO"));

    QCOMPARE(child<QLineEdit>(&window, "txtFiscalCalle")->text(), QString("REFORMA"));
    QCOMPARE(child<QLineEdit>(&window, "txtFiscalNoInt")->text(), QString());
    QCOMPARE(child<QLineEdit>(&window, "txtFiscalFax")->text(), QString());
    QCOMPARE(child<QComboBox>(&window, "cmbFiscalCveEntFed")->currentText(), QString("09"));
    QCOMPARE(child<QComboBox>(&window, "cmbFiscalEntFed")->currentText(), QString::fromUtf8("CIUDAD DE MÉXICO"));
    QCOMPARE(child<QComboBox>(&window, "cmbFiscalNoMDeleg")->currentText(), QString(" 15"));
    QCOMPARE(child<QComboBox>(&window, "cmbFiscalMDeleg")->currentText(), QString::fromUtf8("CUAUHTÉMOC"));
    QCOMPARE(child<QLineEdit>(&window, "txtOirRNoInt")->text(), QString("B"));
    QCOMPARE(child<QLineEdit>(&window, "txtOirRFax")->text(), QString("7472222222"));
    QCOMPARE(child<QComboBox>(&window, "cmbOirRMDeleg")->currentText(), QString::fromUtf8("ÑUU SAVI"));
}

void TestInicio::notADatabaseStopsStartUp() {
    QTemporaryDir dir;
    const QByteArray bytes("esto no es una base de datos\r\n");
    writeFile(dir.filePath("tolvek.mdb"), bytes);
    ScriptedMessages messages;
    ModalDriver driver;
    frmMain window(dir.path(), dir.filePath("sin-version-anterior"));
    QVERIFY(!startUp(window, driver));
    QCOMPARE(messages.shown.size(), 1);
    QVERIFY(messages.texts().first().contains(QDir::toNativeSeparators(dir.filePath("tolvek.mdb"))));
    QCOMPARE(readFile(dir.filePath("tolvek.mdb")), bytes);
}

QTEST_MAIN(TestInicio)
#include "tst_inicio.moc"
