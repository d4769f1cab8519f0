// A clerk who never takes the mouse: the whole registration with Tab, typing, arrows, Space, Enter and Alt+letter.

#include "app/frmAyuda.h"
#include "app/frmMain.h"
#include "data/Store.h"
#include "lists/frmAgentes_Aduanales.h"
#include "lists/frmPeriodo_Agente.h"
#include "lists/frmPeriodo_Mandatario.h"
#include "platform/Database.h"
#include "platform/FileDialogs.h"
#include "representative/frmAduanaAct.h"
#include "representative/frmApoderado.h"
#include "support/Fixtures.h"
#include "support/TestKeys.h"
#include "support/TestSupport.h"
#include "widgets/Grid.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QStackedWidget>
#include <QTableView>
#include <QtTest>

namespace {

// Types the keys where the cursor is: "␣" is Space, "↓" and "↑" the arrows, "⏎" Enter, "⌦" Supr; the rest is typed as
// it stands.
void keys(const QString& typed) {
    QWidget* window = QApplication::activeWindow();
    for (QChar c : typed) {
        // A desktop gives the focus back to the window under a dialog that closed; the offscreen platform does not.
        if (!QApplication::activeWindow())
            QApplication::setActiveWindow(window);
        if (const qsizetype special = QStringLiteral("␣↓↑⏎⌦").indexOf(c); special >= 0)
            QTest::keyClick(QApplication::focusWidget(),
                            QList{Qt::Key_Space, Qt::Key_Down, Qt::Key_Up, Qt::Key_Return, Qt::Key_Delete}[special]);
        else
            typeText(QApplication::focusWidget(), c);
    }
    if (!QApplication::activeWindow())
        QApplication::setActiveWindow(window);
}

// Each step "control=keys" (or just "control"): the cursor must be there; the keys are typed and, unless they end
// with Enter or Supr or took the cursor elsewhere (a dialog that closed), Tab moves on.
void walk(const QStringList& steps) {
    for (const QString& step : steps) {
        QWidget* const before = QApplication::focusWidget();
        const QString at = before ? before->objectName() : "(nada)";
        QVERIFY2(at == step.section('=', 0, 0), qPrintable(step + " <> " + at));
        keys(step.section('=', 1));
        if (QApplication::focusWidget() == before && before && !step.endsWith(u'⏎') && !step.endsWith(u'⌦'))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

// An address block as it is typed: street, numbers and postal code, colony, the entity and municipality looked up
// by their first letters in the name lists, telephone and fax.
QStringList address(const QString& stem, const QStringList& v) {
    return QStringList{
        "txt~Calle=" + v[0],       "txt~NoExt=" + v[1],   "txt~NoInt",
        "txt~CP=" + v[2],          "txt~Colonia=" + v[3], stem.isEmpty() ? "cmbcveEntFed" : "cmb~CveEntFed",
        "cmb~EntFed=" + v[4],      "cmb~NoMDeleg",        "cmb~MDeleg=" + v[5],
        "txt~Telefono=5551234567", "txt~Fax=5557654321"}
        .replaceInStrings("~", stem);
}

const QStringList kCdmx{"av. reforma", "120", "06000", "centro", "ciudad de m", "cuauht"};
const QStringList kGuerrero{"costera", "s/n", "39690", "club", "guerrero", "acapulco"};

// No two buttons of the window (of those shown, or of all) answer to the same Alt+letter.
bool mnemonicsApart(const QWidget* window, bool shownOnly) {
    QList<QKeySequence> keys;
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (!b->shortcut().isEmpty() && (!shownOnly || b->isVisibleTo(window)))
            keys << b->shortcut();
    return QSet(keys.cbegin(), keys.cend()).size() == keys.size();
}

// The next dialog that opens is walked through the steps.
void answer(ModalDriver& driver, const QStringList& steps) {
    driver.then([steps](QDialog*) { walk(steps); });
}

} // namespace

class TestTeclado : public QObject {
    Q_OBJECT

private slots:
    // The broker's key as the authority issues it, its password taken in Windows-1252, and as other tools make it.
    void registrationWithKeysOnly_data() {
        QTest::addColumn<QString>("key");
        QTest::newRow("Windows-1252") << "agente.key";
        QTest::newRow("UTF-8") << "agente_utf8.key";
    }
    void registrationWithKeysOnly() {
        QFETCH(QString, key);
        QTemporaryDir program, papers;
        ScriptedMessages messages;
        ModalDriver driver;
        frmMain window{program.path(), program.filePath("sin-version-anterior")};
        QVERIFY(copySigningLibrary(program.path()) && startUp(window, driver));
        window.show();
        QApplication::setActiveWindow(&window);
        // Under 680 px with the title bar, so that it fits a 1366x768 screen above the taskbar.
        QVERIFY(window.height() <= 640 && window.minimumSizeHint().height() <= window.height());

        // Page 1 opens in the patente; the national authorisation, only shown, is passed over. Closing the window
        // with it changed offers to store it: its checks stop at the first fault, with the cursor there.
        walk({"txtPatente=3012", "txtAANombre=maría"});
        messages.answerNext(Answer::Yes);
        window.close();
        QVERIFY(messages.shown.end()[-2].text.contains("cambios") &&
                messages.texts().last() == "El Ap.Paterno no puede estar vacio");
        walk(QStringList{"txtAAApPat=muñoz", "txtAAApMat=ruiz", "txtAARFC=murm700215kx3",
                         "txtAACURP=murm700215mdfxzr05", "cmbAANoAduanaA=470", "cmbAAAduanaA"} +
             address("Fiscal", kCdmx) + address("OirR", kGuerrero) +
             QStringList{"cmdRevisar", "cmdSiguiente", "cmdSalir"});
        // "Salir" (Alt+L): without storing, staying, stored; the question of leaving declined, the cursor stays.
        QWidget* const at = QApplication::focusWidget();
        const auto stored = [&] {
            const std::unique_ptr<Database> db = openDatabase(program.path());
            return Store(*db).agente().has_value();
        };
        for (Answer answer : {Answer::No, Answer::Cancel, Answer::Yes}) {
            messages.shown.clear();
            messages.answerNext(answer);
            if (answer != Answer::Cancel)
                messages.answerNext(false);
            QTest::keyClick(&window, Qt::Key_L, Qt::AltModifier);
            QTRY_COMPARE(messages.shown.size(), answer == Answer::Cancel ? 1 : 2);
            QVERIFY(window.isVisible() && QApplication::focusWidget() == at && stored() == (answer == Answer::Yes));
        }
        QCOMPARE(messages.texts()[1], "¿Desea salir de la aplicación?, aun no a generado el archivo de información");
        QVERIFY(messages.shown[1].title == "Mendaje" && messages.shown[1].icon == MessageIcon::Exclamation);
        QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(pagina(&window), 2);
        QVERIFY(mnemonicsApart(&window, true));

        // Page 2: an aspirant, typed into frmApoderado from its first field on and accepted with Enter.
        FileDialogs::queueAnswer(copyTestData("GAVA800101AB2.req", papers.filePath("GAVA800101AB2.req")));
        answer(driver, QStringList{"cmbMandato=c", "txtNombre=ana", "txtApPaterno=garcía", "txtApMaterno=vega",
                                   "txtCURP=gava800101mdfrgn05", "txtRFC=gava800101ab2", "optSi=␣"} +
                           address("", kCdmx) + address("Fiscal", kGuerrero) +
                           QStringList{"cmdBuscar=␣", "optNTCL=␣⏎"});
        // The cursor comes back on her row. The addresses on the page only show: Tab passes them over.
        const QTableView* fgAA = child<QTableView>(&window, "fgAA");
        walk({"txtBuscar", "fgAA", "cmdNuevo=␣", "fgAA", "cmdNuevo", "cmdEditar", "cmdBorrar", "cmdRevisar", "cmdAtras",
              "cmdSiguiente"});
        // Alt+B searches; Enter on the row found edits her (Escape leaves), Supr asks; the cursor stays on her row.
        QTest::keyClick(&window, Qt::Key_B, Qt::AltModifier);
        const auto leavesFrmApoderado = [&driver] {
            driver.then([](QDialog* d) {
                QCOMPARE(d->objectName(), QString("frmApoderado"));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            });
        };
        leavesFrmApoderado();
        messages.answerNext(false);
        walk({"txtBuscar=garcia", "fgAA=⏎", "fgAA=⌦", "fgAA"});
        QCOMPARE(gridRows(&window, "fgAA").size(), 1);
        QCOMPARE(selectedRow(fgAA), 0);
        QCOMPARE(messages.texts().last().left(27), QString("¿DESEA BORRAR EL MANDATARIO"));
        QVERIFY(messages.shown.last().cancelDefault);
        // "Revisar" (Alt+R): her row (after the broker's two check digits) opens her record, and the list follows
        // what was stored; the broker's row leads back to page 1.
        driver.then([&](QDialog* d) {
            walk({"fgProblemas=↓↓⏎"});
            QVERIFY(gridRows(d, "fgProblemas")[2].contains("|ANA LUISA GARCÍA VEGA|"));
            walk({"fgProblemas=↑↑⏎"});
        });
        answer(driver, {"cmbMandato", "txtNombre=ana luisa⏎"});
        QTest::keyClick(&window, Qt::Key_R, Qt::AltModifier);
        QTRY_COMPARE(pagina(&window), 1);
        QApplication::setActiveWindow(&window);
        QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(pagina(&window), 2);
        QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(pagina(&window), 3);

        // Page 3: a former representative; his period through a second dialog, the cursor then on it: Enter
        // corrects it, Supr asks.
        answer(driver, {"txtNombre=juan", "txtApPaterno=ramos", "txtApMaterno=arias", "txtCURP=raaj600101hdfmrn01",
                        "txtRFC=raaj600101ab1", "fgAA_Periodos", "cmdNuevo=␣", "fgAA_Periodos=⏎", "fgAA_Periodos=⌦",
                        "fgAA_Periodos", "cmdNuevo", "cmdBorrar", "cmdAceptar=⏎"});
        driver.then([](QDialog*) {
            // The office number typed into the open list (F4), Enter takes it.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
            keys("240⏎");
            walk({"cmbNoAduana", "cmbAduana"});
            // Escape shuts the calendar and leaves the cursor in the date.
            auto* dtpIni = qobject_cast<QDateEdit*>(QApplication::focusWidget());
            QVERIFY(dtpIni);
            QTest::keyClick(dtpIni, Qt::Key_F4);
            QTRY_VERIFY(dtpIni->calendarWidget()->isVisible());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QTRY_VERIFY(!dtpIni->calendarWidget()->isVisible());
            walk({"dtpIni=02011995", "dtpFin=31121998⏎"});
        });
        answer(driver, {"cmbNoAduana", "cmbAduana", "dtpIni", "dtpFin=31121999⏎"});
        messages.answerNext(false);
        walk({"fgDatosAA", "cmdAANuevo=␣", "fgDatosAA"});
        QCOMPARE(messages.texts().last(), "¿DESEA BORRAR EL PERIODO SELECCIONADO?");
        QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(pagina(&window), 4);

        // Page 4: Enter on the aspirant corrects him as on page 2; Space picks him; his period with another broker.
        leavesFrmApoderado();
        walk({"fgMandatarios=⏎"});
        answer(driver,
               {"txtPatente=3001", "cmbNoAduana", "cmbAduana=aeropuerto", "dtpIni=01022001", "dtpFin=30062003⏎"});
        // The cursor on the period stored: Enter shows it, only to be read; Supr asks, and the cursor stays there.
        driver.then([](QDialog* d) {
            QCOMPARE(child<QWidget>(d, "txtPatente")->property("readOnly"), true);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        messages.answerNext(false);
        walk({"fgMandatarios=␣", "fgPeriodosMandatario", "cmdMandNuevo=␣⏎", "fgPeriodosMandatario=⌦",
              "fgPeriodosMandatario"});
        QVERIFY(driver.pending() == 0 && messages.texts().last().startsWith("¿DESEA BORRAR EL PERIODO"));

        // "Finaliza" (Alt+F): the key file's path and the password typed, Enter.
        const QString keyPath = copyTestData(key, papers.filePath("MURM700215KX3.key"));
        answer(driver,
               {"txtLlave=" + keyPath, "cmdBuscar", "txtPassword=" + QString::fromUtf8(kTestKeyPassword) + "⏎"});
        QTest::keyClick(&window, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!child<QWidget>(&window, "cmdSiguiente")->isEnabled(), 20000);
        QVERIFY(mnemonicsApart(&window, true));
        // Every cell of every list shows whole.
        for (const QTableView* grid : window.findChildren<QTableView*>())
            for (int c = 0; c < grid->model()->columnCount(); ++c)
                QVERIFY2(grid->columnWidth(c) >= static_cast<const QAbstractItemView*>(grid)->sizeHintForColumn(c),
                         qPrintable(grid->objectName()));
        QByteArray content, curp;
        QVERIFY(verifySignedFile(readFile(program.filePath("ENVIO/3012.txt")), &content, &curp));
        // What was typed, chosen and picked by keys went where it belongs.
        for (const QString line : {"AA|3012|MARÍA|MUÑOZ|RUIZ|MURM700215KX3|MURM700215MDFXZR05|470\r",
                                   "|1|09|15|AV. REFORMA|120||CENTRO|06000|",
                                   "|GAVA800101MDFRGN05|GAVA800101AB2|ANA LUISA|GARCÍA|VEGA|2|1|1\r",
                                   "Historico_AA|3012|RAAJ600101AB1|RAAJ600101HDFMRN01|JUAN|RAMOS|ARIAS\r",
                                   "|RAAJ600101HDFMRN01|240|1995-01-02|1999-12-31\r",
                                   "|GAVA800101MDFRGN05|470|3001|2001-02-01|2003-06-30\r"})
            QVERIFY2(content.contains(line.toLatin1()), qPrintable(line));
    }

    // Escape, "&Cancelar" and the close box ask before a capture is lost; office names show whole meanwhile.
    void leavingAskedFirst_data() {
        QTest::addColumn<QStringList>("dialogTypedLeave"); // typed where the dialog opens the cursor
        QTest::addColumn<bool>("discard");                 // the answer to the question
        QTest::newRow("nothing typed: closes at once") << QStringList{"frmApoderado", "", "Escape"} << false;
        QTest::newRow("a choice kept") << QStringList{"frmApoderado", "c", "Escape"} << false;
        QTest::newRow("discarded") << QStringList{"frmAgentes_Aduanales", "juan", "cmdCancelar"} << true;
        QTest::newRow("the close box asks too") << QStringList{"frmPeriodo_Mandatario", "3001", "X"} << false;
        QTest::newRow("an office chosen, discarded") << QStringList{"frmPeriodo_Agente", "↓", "Escape"} << true;
        QTest::newRow("an office is no capture") << QStringList{"frmAduanaAct", "", "Escape"} << false;
    }
    void leavingAskedFirst() {
        QFETCH(QStringList, dialogTypedLeave);
        QFETCH(bool, discard);
        const auto [dialog, typed, leave] = std::tuple(dialogTypedLeave[0], dialogTypedLeave[1], dialogTypedLeave[2]);
        QTemporaryDir dir;
        std::unique_ptr<Database> db = openDatabase(dir.path());
        Store store(*db);
        ScriptedMessages messages;
        const std::unique_ptr<QDialog> d(
            dialog == "frmApoderado"           ? static_cast<QDialog*>(new frmApoderado(store, std::nullopt))
            : dialog == "frmAgentes_Aduanales" ? new frmAgentes_Aduanales(store, std::nullopt)
            : dialog == "frmPeriodo_Agente"    ? new frmPeriodo_Agente(store)
            : dialog == "frmAduanaAct"         ? new frmAduanaAct(store, {})
                                               : static_cast<QDialog*>(new frmPeriodo_Mandatario(store, {})));
        d->show();
        QApplication::setActiveWindow(d.get());
        QVERIFY(mnemonicsApart(d.get(), false));
        for (const QComboBox* offices : d->findChildren<QComboBox*>("cmbAduana"))
            for (int i = 0; i < offices->count(); ++i)
                QVERIFY(offices->fontMetrics().horizontalAdvance(offices->itemText(i)) < offices->width());
        keys(typed);
        QWidget* field = QApplication::focusWidget();
        QVERIFY(field);
        const char* shown = qobject_cast<QComboBox*>(field) ? "currentText" : "text";
        const QVariant value = field->property(shown);
        messages.answerNext(discard);
        if (leave == "Escape")
            QTest::keyClick(field, Qt::Key_Escape);
        else if (leave == "X")
            d->close();
        else
            press(d.get(), "cmdCancelar");
        QCOMPARE(messages.texts(), QStringList(typed.isEmpty() ? 0 : 1, "¿Desea descartar los datos capturados?"));
        // Enter on the question keeps the capture.
        QVERIFY(messages.shown.isEmpty() || messages.shown[0].cancelDefault);
        QCOMPARE(d->isVisible(), !typed.isEmpty() && !discard);
        QCOMPARE(field->property(shown), value);
    }

    // F1 opens the manual on the page or the dialog in use (each dialog here by its objectName): beside the main
    // window, modal over a dialog.
    void f1OpensTheTopic_data() {
        QTest::addColumn<QString>("tema");
        const QString rows = "1=agente 2=representantes 3=historico_agente 4=historico_aspirantes frmInicio=indice "
                             "frmApoderado=representante frmAduanaAct=aduanas frmPedTramitados=aduanas "
                             "frmAgentes_Aduanales=historico_agente frmPeriodo_Agente=historico_agente "
                             "frmPeriodo_Mandatario=historico_aspirantes frmKey=envio frmVistaPrevia=envio "
                             "frmRevision=revision frmConstancia=constancia";
        for (const QString& row : rows.split(' '))
            QTest::newRow(qPrintable(row.section('=', 0, 0))) << row.section('=', 1);
    }
    void f1OpensTheTopic() {
        QFETCH(QString, tema);
        const QString en = QTest::currentDataTag();
        QTemporaryDir dir;
        ScriptedMessages messages;
        ModalDriver driver;
        frmMain window{dir.path(), dir.filePath("sin-version-anterior")};
        QVERIFY(startUp(window, driver));
        child<QStackedWidget>(&window, "paginas")->setCurrentIndex(en.toInt() - 1);
        QDialog dialog(&window);
        dialog.setObjectName(en);
        QString shown;
        driver.then([&shown](QDialog* d) {
            shown = temaMostrado(d);
            d->accept();
        });
        if (!en.toInt())
            dialog.open();
        QTest::keyClick(en.toInt() ? static_cast<QWidget*>(&window) : &dialog, Qt::Key_F1);
        if (auto* beside = window.findChild<frmAyuda*>(); beside && en.toInt())
            shown = temaMostrado(beside);
        QCOMPARE(shown, tema);
        QCOMPARE(driver.pending(), en.toInt() ? 1 : 0);
    }
};

QTEST_MAIN(TestTeclado)
#include "tst_teclado.moc"
