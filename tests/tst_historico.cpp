#include "data/Schema.h"
#include "data/Store.h"
#include "lists/PaginaHistoricoAA.h"
#include "lists/PaginaMandatarios.h"
#include "lists/frmAgentes_Aduanales.h"
#include "lists/frmPeriodo_Agente.h"
#include "lists/frmPeriodo_Mandatario.h"
#include "platform/Database.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"
#include "widgets/Grid.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kAirport = QStringLiteral("AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO");
const QDate d1(2001, 3, 15), d2(2003, 8, 31), d3(2004, 1, 2), d4(2005, 12, 24);
const QString kAirportRow = " 470|" + kAirport + "|15/03/2001|31/08/2003";
const QString kAcapulcoRow = " 10|ACAPULCO, ACAPULCO DE JUAREZ, GUERRERO|02/01/2004|24/12/2005";
const PersonaHistorica kPerez{"PERJ700101AB1", "PERJ700101HDFRRN01", "JUAN", "PEREZ", "RUIZ", {}};
const PersonaHistorica kLopez{"LOMA800215XY2", "LOMA800215MJCPRR02", "MARIA", "LOPEZ", "MORA", {}};
const PersonaHistorica kDiaz{"DISP750505QW3", "DISP750505HGRZTD03", "PEDRO", "DIAZ", "SOTO", {}};

QString fila(const PersonaHistorica& p) {
    return QStringList{p.nombre, p.apPaterno, p.apMaterno, p.curp, p.rfc}.join('|');
}
// A row of Periodos_H_AA as tableRows shows it.
QString periodo(const QString& curp, int office, const QDate& from, const QDate& to) {
    return curp + "|#" + QString::number(office) + "|" + from.toString(Qt::ISODate) + "|" + to.toString(Qt::ISODate);
}

void storePerson(Database& db, const PersonaHistorica& p, const QList<std::tuple<int, QDate, QDate>>& periods) {
    using namespace col;
    tabla::Historico_AA.inserta(db, {RFC, CURP, Nombre, ApPaterno, ApMaterno},
                                {p.rfc, p.curp, p.nombre, p.apPaterno, p.apMaterno});
    for (const auto& [office, from, to] : periods)
        tabla::Periodos_H_AA.inserta(db, {CURP, NoAduana, FechaIni, FechaFin}, {p.curp, office, from, to});
}

const QString kRamos = QStringLiteral("RARL820304HJCMMS05");
const QString kVega = QStringLiteral("VEAN850607MDFGRN06");

bool enabled(QWidget* root, const char* name) {
    return child<QPushButton>(root, name)->isEnabled();
}

// Fills either period dialog; the period ends on d2.
void fillPeriod(QWidget* d, const QString& patente, const QString& office, const QDate& from) {
    if (auto* box = child<QLineEdit>(d, "txtPatente"))
        box->setText(patente);
    auto* names = child<QComboBox>(d, "cmbAduana");
    names->setCurrentIndex(names->findText(office));
    child<QDateEdit>(d, "dtpIni")->setDate(from);
    child<QDateEdit>(d, "dtpFin")->setDate(d2);
}

// Pages 3 and 4 over a fresh database, with messages and dialogs answered by the test.
struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<Database> db = openDatabase(dir.path());
    Store store{*db};
    ScriptedMessages messages;
    ModalDriver driver;
    PaginaHistoricoAA page{store};
    PaginaMandatarios page4{store};
    QTableView* aspirants = child<QTableView>(&page4, "fgMandatarios");
    QTableView* periods = child<QTableView>(&page4, "fgPeriodosMandatario");

    void show(QWidget* which) {
        page.Llena_Hist_AA();
        page4.Llena_Hist_Mandatarios();
        which->resize(1400, 800);
        which->show();
    }
    QTableView* grid(const char* name) { return child<QTableView>(&page, name); }
};

} // namespace

class TestHistorico : public QObject {
    Q_OBJECT

private slots:
    void checksInOrder_data() {
        // Each row is named after the box given the text, which takes the focus when it is at fault.
        QTest::addColumn<bool>("focused");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, bool focused, const QString& text, const char* message) {
            QTest::newRow(name) << focused << text << QString(message);
        };
        row("txtNombre en blanco", true, "   ", "Nombre no puede estar vacio");
        row("txtApPaterno", true, " ", "Ap. Paterno no puede estar vacio");
        row("txtApMaterno", true, "", "Ap. Materno no puede estar vacio");
        row("txtCURP", true, "LOMA801315MJCPRR02", "CURP no valido");
        row("txtRFC", true, "LOMA800215", "RFC no valido");
        row("txtRFC sin periodos", false, kLopez.rfc, "Debe existir un periodo de trabajo");
    }
    void checksInOrder() {
        const QString box = QString(QTest::currentDataTag()).section(' ', 0, 0);
        QFETCH(bool, focused);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Fixture f;
        PersonaHistorica valor = kLopez;
        if (!QByteArray(QTest::currentDataTag()).endsWith("sin periodos"))
            valor.periodos = {{{470, kAirport}, d1, d2}};
        frmAgentes_Aduanales d(f.store, valor);
        d.show();
        child<QLineEdit>(&d, box.toLatin1())->setText(text);
        child<QPushButton>(&d, "cmdNuevo")->setFocus();
        press(&d, "cmdAceptar");
        QCOMPARE(f.messages.texts(), QStringList({message}));
        const Message& shown = f.messages.shown.first();
        QVERIFY(d.isVisible() && shown.title == "Mensaje" && shown.icon == MessageIcon::None);
        QCOMPARE(d.focusWidget()->objectName(), focused ? box : QString("cmdNuevo"));
    }

    void pageEditsAndDeletes() {
        Fixture f;
        storePerson(*f.db, kLopez, {{10, d1, d1}});
        // Office 999 has left the catalogue: neither page nor dialog can show that period, and an edit must not drop
        // it.
        storePerson(*f.db, kPerez, {{470, d1, d2}, {999, d1, d1}, {10, d3, d4}});
        storePerson(*f.db, kDiaz, {{470, d4, d4}});
        f.db->exec("create trigger t before insert on Historico_AA begin select raise(abort, 'rechazado'); end");
        const QStringList before = dumpAll(*f.db);
        f.show(&f.page);
        QCOMPARE(gridRows(f.grid("fgDatosAA")), QStringList({fila(kLopez), fila(kPerez), fila(kDiaz)}));
        selectByKeyboard(f.grid("fgDatosAA"), 1);
        QCOMPARE(gridRows(f.grid("fgPeriodosAA")), QStringList({kAirportRow, kAcapulcoRow}));
        const QString curp = "PERJ700101HDFRRN09";
        f.driver.then([&f, before, curp](QDialog* d) {
            QCOMPARE(gridRows(d, "fgAA_Periodos"), QStringList({kAirportRow, kAcapulcoRow}));
            child<QLineEdit>(d, "txtNombre")->setText("JUAN CARLOS");
            // The periods are a working copy: one taken out here goes from the store only with the person.
            selectByKeyboard(child<QTableView>(d, "fgAA_Periodos"), 1);
            press(d, "cmdBorrar");
            // His own CURP is no duplicate: the store is asked, and its refusal changes nothing.
            press(d, "cmdAceptar");
            QCOMPARE(dumpAll(*f.db), before);
            f.db->exec("drop trigger t");
            child<QLineEdit>(d, "txtCURP")->setText(kLopez.curp);
            press(d, "cmdAceptar");
            // Refused, the dialog stays open with everything typed.
            QVERIFY(d->isVisible());
            child<QLineEdit>(d, "txtCURP")->setText(curp);
            press(d, "cmdAceptar");
        });
        press(&f.page, "cmdAAEditar");
        QCOMPARE(f.driver.pending() + f.driver.unexpected.size(), 0);
        const PersonaHistorica edited{kPerez.rfc, curp, "JUAN CARLOS", kPerez.apPaterno, kPerez.apMaterno, {}};
        QCOMPARE(gridRows(f.grid("fgDatosAA")), QStringList({fila(kLopez), fila(kDiaz), fila(edited)}));
        // His old rows are gone, the hidden one moved to his new CURP, the others' untouched.
        QCOMPARE(tableRows(*f.db, "Periodos_H_AA"),
                 QStringList({periodo(kLopez.curp, 10, d1, d1), periodo(curp, 999, d1, d1),
                              periodo(kDiaz.curp, 470, d4, d4), periodo(curp, 470, d1, d2)}));

        // The edited one stays selected. The first row: all his periods go, the next person's show, the buttons
        // wait for a choice.
        QCOMPARE(selectedRow(f.grid("fgDatosAA")), 2);
        selectByKeyboard(f.grid("fgDatosAA"), 0);
        f.messages.answerNext(false);
        press(&f.page, "cmdAABorrar");
        press(&f.page, "cmdAABorrar");
        const QString question = QString::fromUtf8("¿DESEA BORRAR EL AGENTE ADUANAL \n\nMARIA LOPEZ MORA "
                                                   "LOMA800215MJCPRR02\n\n Y TODOS SUS PERIODOS DE LABOR?");
        QCOMPARE(f.messages.texts(),
                 QStringList({QString::fromUtf8("¿DESEA BORRAR EL PERIODO SELECCIONADO?"),
                              "No se pudo guardar el Representante; la base de datos queda como estaba.\n\nrechazado",
                              "YA EXISTE EL AGENTE ADUANAL EN LA BASE DE DATOS.", question, question}));
        QCOMPARE(gridRows(f.grid("fgPeriodosAA")), QStringList({" 470|" + kAirport + "|24/12/2005|24/12/2005"}));
        QVERIFY(!enabled(&f.page, "cmdAABorrar") && !enabled(&f.page, "cmdAAEditar"));
        // A later row: the buttons stay; the last one: both lists are left empty.
        const QRect cell = f.grid("fgDatosAA")->visualRect(f.grid("fgDatosAA")->model()->index(1, 0));
        QTest::mouseClick(f.grid("fgDatosAA")->viewport(), Qt::LeftButton, {}, cell.center());
        press(&f.page, "cmdAABorrar");
        QCOMPARE(gridRows(f.grid("fgDatosAA")), QStringList({fila(kDiaz)}));
        press(&f.page, "cmdAABorrar");
        QCOMPARE(gridRows(f.grid("fgDatosAA")) + gridRows(f.grid("fgPeriodosAA")), QStringList());
        QCOMPARE(tableRows(*f.db, "Historico_AA") + tableRows(*f.db, "Periodos_H_AA"), QStringList());
    }

    void periodDialogs_data() {
        // The patente typed (none: the former representative's dialog, which has no such box), the office chosen,
        // the start date typed after a click in its box or after Tab from the office, and the start date given back
        // (the end one is typed 31/08/2003) or the message that refuses the period.
        QTest::addColumn<QString>("patente");
        QTest::addColumn<QString>("office");
        QTest::addColumn<bool>("click");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QString>("message");
        const auto row = [](const QByteArray& name, const QString& patente, bool click, const QString& typed,
                            const QDate& from, const QString& message, const QString& office = kAirport) {
            QTest::newRow(name) << patente << office << click << typed << from << message;
        };
        const QString patente = "No. de Patente no valido", date = "Fecha no valida";
        for (const QString& p : {QString(), QString("470")}) {
            const QByteArray dialog = p.isNull() ? "agente: " : "mandatario: ";
            row(dialog + "fechas iguales", p, true, "31/08/2003", d2, "");
            row(dialog + "inicio despues del final", p, false, "01092003", {}, "Periodo no valido");
            row(dialog + "sin aduana", p, true, "01/03/1995", {}, "Aduana no valida", QString());
        }
        row("diagonales tras Tab", "4000", false, "01/03/1995", QDate(1995, 3, 1), "");
        row("ocho digitos", "470", true, "01031995", QDate(1995, 3, 1), "");
        row("dia y mes de un digito", QString(), true, "1/3/1995", QDate(1995, 3, 1), "");
        row("anio 8021", QString(), false, "01018021", {}, date);
        row("31 de febrero", "470", false, "31/02/1995", {}, date);
        row("a medias", "470", true, "01/03/19", {}, date);
        row("patente 0 antes que periodo", "0", true, "01092003", {}, patente);
        row("patente 4001", "4001", true, "01/03/1995", {}, patente);
        row("patente 12AB", "12AB", true, "01/03/1995", {}, patente);
    }
    void periodDialogs() {
        QFETCH(QString, patente);
        QFETCH(QString, office);
        QFETCH(bool, click);
        QFETCH(QString, typed);
        QFETCH(QDate, from);
        QFETCH(QString, message);
        Fixture f;
        const FilaMandatario ramos{kRamos, "", "LUIS", "RAMOS", "RAMIREZ", Mandato::Conforme, 1, {}};
        std::unique_ptr<QDialog> d(patente.isNull() ? static_cast<QDialog*>(new frmPeriodo_Agente(f.store))
                                                    : new frmPeriodo_Mandatario(f.store, ramos));
        fillPeriod(d.get(), patente, office, d1);
        d->show();
        QApplication::setActiveWindow(d.get());
        auto* start = child<QDateEdit>(d.get(), "dtpIni");
        if (auto* box = start->findChild<QLineEdit*>(); click) {
            QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        } else {
            child<QComboBox>(d.get(), "cmbAduana")->setFocus();
            QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
        }
        QTest::keyClicks(d->focusWidget(), typed);
        // Tab leaves for the end date, typed the same way.
        QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(d->focusWidget(), "31082003");
        press(d.get(), "cmdAceptar");
        QCOMPARE(f.messages.texts(), message.isEmpty() ? QStringList() : QStringList({message}));
        QCOMPARE(d->result(), int(message.isEmpty() ? QDialog::Accepted : QDialog::Rejected));
        if (message == "Fecha no valida") {
            // Refused as typed, never replaced by another date.
            QCOMPARE(f.messages.shown.first().title + d->focusWidget()->objectName() + start->text(),
                     "MensajedtpIni" + typed);
        } else if (!message.isEmpty()) {
            QCOMPARE(f.messages.shown.first().title, kProgramTitle);
        } else if (auto* agente = dynamic_cast<frmPeriodo_Agente*>(d.get())) {
            QCOMPARE(agente->periodo(), PeriodoAgente({{470, kAirport}, from, d2}));
        } else {
            QCOMPARE(static_cast<frmPeriodo_Mandatario*>(d.get())->periodo(),
                     PeriodoMandatario({kRamos, patente.toLongLong(), {470, kAirport}, from, d2}));
        }
    }

    void pageAddsAndDeletesPeriods() {
        Fixture f;
        // Ramos with the same period twice and one at an office that left the catalogue, a representative who is no
        // aspirant, Vega with no period.
        using namespace col;
        for (const auto& [curp, mandato] : {std::pair{kRamos, 2}, {QString("OTRO700101HDFRRN01"), 1}, {kVega, 2}})
            tabla::Mandatarios.inserta(
                *f.db, {CURP, RFC, Nombre, ApPaterno, ApMaterno, col::Mandato, Requerimiento, Acreditacion, Operando},
                {curp, curp.left(10) + "AB1", curp == kRamos ? "LUIS" : "ANA", "PATERNO", "MATERNO", mandato, "", 0,
                 1});
        for (int office : {470, 999, 470})
            tabla::Periodos_H_MM.inserta(*f.db, {CURP, NoAduana, Patente_MM, FechaIni, FechaFin},
                                         {kRamos, office, 3010, d1, d2});
        f.show(&f.page4);
        // Only aspirants, and only periods at offices in the catalogue.
        QCOMPARE(gridRows(f.aspirants),
                 QStringList({"LUIS|PATERNO|MATERNO|" + kRamos, "ANA|PATERNO|MATERNO|" + kVega}));
        selectByKeyboard(f.aspirants, 0);
        QCOMPARE(gridRows(f.periods), QStringList({" 3010|" + kAirportRow, " 3010|" + kAirportRow}));
        const QStringList stored = tableRows(*f.db, "Periodos_H_MM");

        // A refused period keeps the dialog open; an accepted one is stored at once and listed with its stored row.
        f.db->exec("create trigger t before insert on Periodos_H_MM when new.Patente_MM = 1 "
                   "begin select raise(abort, 'rechazado'); end");
        f.driver.then([](QDialog* d) {
            fillPeriod(d, "1", kAirport, d1);
            press(d, "cmdAceptar");
            QVERIFY(d->isVisible());
            fillPeriod(d, "0470", kAirport, d2);
            press(d, "cmdAceptar");
        });
        press(&f.page4, "cmdMandNuevo");
        const QString added = kRamos + "|#470|#470|2003-08-31|2003-08-31";
        QCOMPARE(tableRows(*f.db, "Periodos_H_MM"), stored + QStringList{added});
        QCOMPARE(gridRows(f.periods).last(), " 470| 470|" + kAirport + "|31/08/2003|31/08/2003");

        // Each row deletes its own stored period, even one that looks like another; asked first (a refusal that
        // keeps it is tst_teclado's, by Supr on the row).
        selectByKeyboard(f.periods, 1);
        press(&f.page4, "cmdMandBorrar");
        const QString question = QString::fromUtf8("¿DESEA BORRAR EL PERIODO DE LABOR SELECCIONADO DEL MANDATARIO\n\n"
                                                   "LUIS PATERNO MATERNO RARL820304HJCMMS05 ?");
        QCOMPARE(f.messages.texts(), QStringList({"No se pudo guardar el periodo.\n\nrechazado", question}));
        QCOMPARE(tableRows(*f.db, "Periodos_H_MM"), QStringList({stored[0], stored[1], added}));
        for (int row : {1, 0}) {
            selectByKeyboard(f.periods, row);
            press(&f.page4, "cmdMandBorrar");
        }
        QCOMPARE(tableRows(*f.db, "Periodos_H_MM"), QStringList({stored[1]}));
        QCOMPARE(gridRows(f.periods), QStringList());
        QVERIFY(!enabled(&f.page4, "cmdMandBorrar"));

        // Vega's name corrected and Ramos no longer an aspirant: Vega moves up and stays chosen, as stored.
        selectByKeyboard(f.aspirants, 1);
        f.db->exec("update Mandatarios set Nombre=? where CURP=?", {"ANITA", kVega});
        f.db->exec("update Mandatarios set Mandato=1 where CURP=?", {kRamos});
        f.page4.Llena_Hist_Mandatarios();
        QCOMPARE(selectedRow(f.aspirants), 0);
        f.driver.then([](QDialog* d) {
            QCOMPARE(child<QLineEdit>(d, "txtNombre")->text(), QString("ANITA"));
            d->reject();
        });
        press(&f.page4, "cmdMandNuevo");
        QCOMPARE(f.driver.pending() + f.driver.unexpected.size(), 0);
        // Vega no longer an aspirant either: nothing of his may be added from this page.
        f.db->exec("update Mandatarios set Mandato=3 where CURP=?", {kVega});
        f.page4.Llena_Hist_Mandatarios();
        QVERIFY(!f.page4.hayAspirantes() && !enabled(&f.page4, "cmdMandNuevo"));
    }
};

QTEST_MAIN(TestHistorico)
#include "tst_historico.moc"
