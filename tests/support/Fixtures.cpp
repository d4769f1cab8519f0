#include "Fixtures.h"

#include "TestSupport.h"

#include "app/frmMain.h"
#include "data/BaseDatos.h"
#include "data/Schema.h"
#include "platform/Database.h"

#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QtTest>

bool startUp(frmMain& window, ModalDriver& driver, QStringList* startWindowTexts) {
    driver.then([startWindowTexts](QDialog* d) {
        if (startWindowTexts) {
            *startWindowTexts << d->objectName() << d->windowTitle();
            for (const char* name : {"Label1", "Label2", "Label3"})
                *startWindowTexts << child<QLabel>(d, name)->text();
        }
        QTest::mouseClick(child<QPushButton>(d, "cmdInicio"), Qt::LeftButton);
    });
    return window.iniciar();
}

std::unique_ptr<Database> openDatabase(const QString& folder) {
    return openTolvekDatabase(folder);
}

void storeBroker(Database& db) {
    using namespace col;
    tabla::AA.inserta(db, {Patente, Nombre, ApPaterno, ApMaterno, RFC, CURP, Autorizacion, Adscripcion},
                      {470, "EMILIO", "GOMEZ", "DIAZ", "GODE561231GR8", "GODE561231HDFRRN09", 0, 470});
    tabla::Domicilios_AA.inserta(db, {Tipo_Dom, EntFed, MDeleg, Calle, NoExt, Colonia, CP, Telefono},
                                 {1, "09", 15, "REFORMA", "120", "CENTRO", "06600", "5555555555"});
    tabla::Domicilios_AA.inserta(db, {Tipo_Dom, EntFed, MDeleg, Calle, NoExt, NoInt, Colonia, CP, Telefono, Fax},
                                 {2, "12", 83, "JUAREZ", "S/N", "B", "SAN JOSE", "39000", "7471111111", "7472222222"});
}

Mandatario representative(const QString& curp, const QString& rfc, const QString& nombre, Mandato mandato) {
    Mandatario m{curp, rfc, nombre, "LOPEZ", "TORRES", mandato, "/req/" + rfc + ".req", 0, 1};
    m.particular = {"12", 1, nombre + " PARTICULAR", "10", "", "CENTRO", "39300", "7441111111", "7442222222"};
    m.fiscal = {"09", 15, nombre + " FISCAL", "S/N", "4B", "JUAREZ", "06600", "5555555555", "5556666666"};
    return m;
}

int pagina(QWidget* window) {
    return child<QStackedWidget>(window, "paginas")->currentIndex() + 1;
}

QString temaMostrado(QObject* ayuda) {
    auto* texto = child<QTextBrowser>(ayuda, "txtAyuda");
    return texto->document()->isEmpty() ? QString() : QFileInfo(texto->source().path()).completeBaseName();
}

void press(QWidget* root, const char* buttonName) {
    auto* button = child<QPushButton>(root, buttonName);
    QVERIFY2(button, buttonName);
    QVERIFY2(button->isEnabled(), buttonName);
    button->click();
}

void selectByKeyboard(QTableView* grid, int row) {
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < row; ++i)
        QTest::keyClick(grid, Qt::Key_Down);
    const QModelIndexList selected = grid->selectionModel()->selectedRows();
    QVERIFY(selected.size() == 1 && selected.first().row() == row);
}

QStringList gridRows(const QTableView* grid) {
    QStringList rows;
    const QAbstractItemModel* model = grid->model();
    for (int r = 0; model && r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells << model->index(r, c).data().toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QStringList gridRows(QObject* root, const char* gridName) {
    return gridRows(child<QTableView>(root, gridName));
}

QStringList tableRows(Database& db, const QString& table) {
    QStringList rows, columnas = db.columns(table);
    Query q = db.select(QStringLiteral("select * from %1").arg(table));
    while (q.next()) {
        QStringList cells;
        for (const QString& c : columnas) {
            const QVariant v = q.value(c);
            if (q.isNull(c))
                cells << QStringLiteral("null");
            else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)
                cells << QStringLiteral("#") + v.toString();
            else
                cells << v.toString();
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QStringList dumpAll(Database& db) {
    QStringList all;
    for (const TableDefinition& table : tablasCapturadas())
        all << table + QStringLiteral(": ") + tableRows(db, table).join(QStringLiteral(" / "));
    return all;
}

QByteArray crlf(const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}
