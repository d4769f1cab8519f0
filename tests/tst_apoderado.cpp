// Page 2: its list of representatives, the representative dialog it opens, and the check of every stored
// representative before the wizard moves on.
#include "data/Completitud.h"
#include "data/ListModel.h"
#include "data/Schema.h"
#include "data/Store.h"
#include "lists/PaginaApoderado.h"
#include "platform/Database.h"
#include "representative/Requerimiento.h"
#include "representative/frmApoderado.h"
#include "support/Fixtures.h"
#include "support/TestKeys.h"
#include "support/TestSupport.h"
#include "widgets/Grid.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <openssl/evp.h>
#include <openssl/x509.h>

namespace {

const QString kAnterior = QStringLiteral("LOTP751120HDFPRD02");
const QString kExamen = QStringLiteral("GOMA800101MDFRRR05");
const QString kSinAcreditacion = QStringLiteral("RUIZ650303HGRZRN01");
const QString kAutorizado = QStringLiteral("SAGA701212HGRNRL03");
const QString kSinMandato = QStringLiteral("VEGA550505MDFGRN04");
const QString kConforme = QStringLiteral("Conforme 2.13.11 (Posterior 01/01/2001)");
const QString kAeropuerto = QStringLiteral("AEROPUERTO INTERNACIONAL DE LA CIUDAD DE MEXICO");
const QString kLaredo = QStringLiteral("NUEVO LAREDO, NUEVO LAREDO, TAMAULIPAS");

// A representative who passes every check: type 2 with NTCL, or type 1 with offices 470 and 240 and a declaration
// at each.
Mandatario valido(const QString& curp, Mandato mandato, const QString& nombre = QStringLiteral("PEDRO")) {
    Mandatario m = representative(curp, curp.left(10) + QStringLiteral("QW7"), nombre, mandato);
    m.requerimiento = testData(m.rfc + ".req");
    m.acreditacion = mandato == Mandato::Conforme ? 1 : 0;
    if (mandato == Mandato::Anterior) {
        const Aduana a470{470, kAeropuerto}, a240{240, kLaredo};
        m.aduanas = {a470, a240};
        m.pedimentos = {{a470, QStringLiteral("3001"), QDate(2000, 3, 5)},
                        {a240, QStringLiteral("3002"), QDate(1999, 2, 11)}};
    }
    return m;
}

// A period of the representative with broker 12, straight into the table.
void periodoConOtroAgente(Database& db, const QString& curp) {
    using namespace col;
    tabla::Periodos_H_MM.inserta(db, {CURP, NoAduana, Patente_MM, FechaIni, FechaFin},
                                 {curp, 470, 12, QDate(2001, 1, 1), QDate(2002, 1, 1)});
}

struct Base {
    QTemporaryDir dir;
    std::unique_ptr<Database> db{openDatabase(dir.path())};
    Store store{*db};
    ScriptedMessages messages;
};

// Page 2 over five representatives: a type 2 with examination and a period with another broker, a type 2 without
// accreditation, a type 3 without fiscal address, one with no type, and last a type 1 not operating.
struct Page : Base {
    std::unique_ptr<PaginaApoderado> page;

    Page() {
        const auto add = [&](const QString& curp, const char* nombre, Mandato mandato, int acreditacion, int operando) {
            Mandatario m = valido(curp, mandato, nombre);
            m.acreditacion = acreditacion;
            m.operando = operando;
            store.guardaMandatario({}, m);
        };
        add(kExamen, "BETO", Mandato::Conforme, 2, 0);
        add(kSinAcreditacion, "CIRO", Mandato::Conforme, 0, 1);
        add(kAutorizado, "DORA", Mandato::Autorizado, 0, 2);
        add(kSinMandato, "EVA", Mandato::Ninguno, 1, 1);
        add(kAnterior, "ANA", Mandato::Anterior, 0, 0);
        db->exec("update Mandatarios set Acreditacion=NULL where CURP=?", {kSinAcreditacion});
        db->exec("delete from Domicilios_MM where CURP=? and Tipo_Dom=2", {kAutorizado});
        periodoConOtroAgente(*db, kExamen);
    }
    PaginaApoderado* open() {
        page = std::make_unique<PaginaApoderado>(store);
        page->Llena_Mandatarios();
        page->show();
        return page.get();
    }
    QTableView* list() { return child<QTableView>(page.get(), "fgAA"); }
    void select(const QString& curp) { list()->selectRow(static_cast<ListModel*>(list()->model())->rowOf(curp)); }
    QString selected() { return gridRows(list()).value(selectedRow(list())).section('|', 4, 4); }
    QString shown(const char* name) { return child<QWidget>(page.get(), name)->isHidden() ? "-" : name; }
};

const QString kWho = " JUAN PEREZ MARTINEZ CURP=";

// A representative as stored: Mandato, Requerimiento, Acreditacion and Operando, then which of his rows exist (P his
// private address, F his fiscal one, A an office).
void storeRows(Database& db, const QString& curp, const QVariantList& m, const QString& rows) {
    using namespace col;
    tabla::Mandatarios.inserta(
        db, {CURP, RFC, Nombre, ApPaterno, ApMaterno, col::Mandato, Requerimiento, Acreditacion, Operando},
        {curp, "PEMJ800101AB1", "JUAN", "PEREZ", "MARTINEZ", m[0], m[1], m[2], m[3]});
    for (const auto& [row, tipo] : {std::pair{'P', 1}, {'F', 2}})
        if (rows.contains(QLatin1Char(row)))
            tabla::Domicilios_MM.inserta(db, {CURP, Tipo_Dom}, {curp, tipo});
    if (rows.contains(QLatin1Char('A')))
        tabla::Aduanas_MM.inserta(db, {CURP, NoAduana}, {curp, 470});
}

// A request as the authority's tool writes it: its code page's bytes in a PrintableString, which `openssl req` will
// not write.
QString conBytesDelCodigo(const QString& path) {
    EVP_PKEY* key = EVP_EC_gen("P-256");
    X509_REQ* req = X509_REQ_new();
    for (const auto& [nid, value] :
         {std::pair{NID_x500UniqueIdentifier, "\xD1&T751120QW7"}, {NID_serialNumber, "NATP751120HDFPRD02"}})
        X509_NAME_add_entry_by_NID(X509_REQ_get_subject_name(req), nid, V_ASN1_PRINTABLESTRING,
                                   reinterpret_cast<const unsigned char*>(value), -1, -1, 0);
    X509_REQ_set_pubkey(req, key);
    X509_REQ_sign(req, key, EVP_sha256());
    unsigned char* der = nullptr;
    const int size = i2d_X509_REQ(req, &der);
    writeFile(path, QByteArray(reinterpret_cast<char*>(der), size));
    OPENSSL_free(der);
    X509_REQ_free(req);
    EVP_PKEY_free(key);
    return path;
}

} // namespace

class TestApoderado : public QObject {
    Q_OBJECT
    QTemporaryDir made;

private slots:
    // Requests made by `openssl req` (tests/data/README.md says how), and one as the authority's tool writes it;
    // checksInOrder reads someone else's.
    void requestsRead_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("estado");
        QTest::addColumn<QString>("rfc");
        QTest::addColumn<QString>("curp");
        const auto row = [](const QString& path, EstadoRequerimiento estado, const QString& rfc = {},
                            const QString& curp = kAnterior) {
            QTest::addRow("%s", qPrintable(QFileInfo(path).fileName())) << path << int(estado) << rfc << curp;
        };
        row(testData("LOTP751120QW7.req"), EstadoRequerimiento::Valido, "LOTP751120QW7");
        row(testData("LOTP751120QW7_pem.req"), EstadoRequerimiento::Valido, "LOTP751120QW7");
        row(testData("EMP010101AB1.req"), EstadoRequerimiento::Valido, "LOTP751120QW7");
        row(conBytesDelCodigo(made.filePath("codigo.req")), EstadoRequerimiento::Valido,
            QString::fromUtf8("Ñ&T751120QW7"), "NATP751120HDFPRD02");
        for (const char* file : {"truncado.req", "texto.req", "firma_rota.req"})
            row(testData(file), EstadoRequerimiento::NoEsRequerimiento, {}, {});
    }
    void requestsRead() {
        QFETCH(QString, path);
        QFETCH(int, estado);
        QFETCH(QString, rfc);
        QFETCH(QString, curp);
        const LecturaRequerimiento l = leeRequerimiento(path);
        QCOMPARE(int(l.estado), estado);
        QCOMPARE(l.rfc + l.curp, rfc + curp);
        QCOMPARE(l.motivo.isEmpty(), l.estado == EstadoRequerimiento::Valido);
        QCOMPARE(esDelRepresentante(l, rfc.toLower(), curp), l.estado == EstadoRequerimiento::Valido);
    }

    void pageDetailsByMandate_data() {
        // The panel: frames and boxes on show ("-" hidden), NTCL and Examen ("X" checked), the request file and the
        // line on it.
        QTest::addColumn<QString>("curp");
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("panel");
        const QString previous =
            QStringLiteral("-X GOMA800101QW7.req El Requerimiento Electrónico GOMA800101QW7.req no existe.");
        const QString conforme = QStringLiteral("- - frAcreditacion txtRequerimiento ");
        const QString autorizado = QString::fromUtf8("Con autorización de operar al 15/01/2004");
        // Each follows a type 2 with "Examen de Conocimientos". Type 1 leaves the hidden accreditation as it was.
        QTest::newRow("anterior") << kAnterior << "Anterior 01/01/2001"
                                  << QStringLiteral("frAduanasAct frPedTramitados - txtRequerimiento -X "
                                                    "LOTP751120QW7.req Requerimiento Electrónico en orden.");
        QTest::newRow("conforme sin acreditacion")
            << kSinAcreditacion << kConforme
            << conforme + "-- RUIZ650303QW7.req El Requerimiento Electrónico RUIZ650303QW7.req no existe.";
        // The request file is not read for type 3: what the previous selection showed stays (hidden).
        QTest::newRow("autorizado") << kAutorizado << autorizado << "- - - - " + previous;
        // No type matches: the panel keeps what the previous selection showed.
        QTest::newRow("sin mandato") << kSinMandato << kConforme << conforme + previous;
    }

    void pageDetailsByMandate() {
        QFETCH(QString, curp);
        QFETCH(QString, tipo);
        QFETCH(QString, panel);
        Page p;
        QWidget* page = p.open();
        p.select(kExamen);
        p.select(curp);
        QCOMPARE(child<QLabel>(page, "lblTipoMandato")->text(), tipo);
        const auto mark = [page](const char* name) { return child<QRadioButton>(page, name)->isChecked() ? "X" : "-"; };
        QCOMPARE(QStringList({p.shown("frAduanasAct"), p.shown("frPedTramitados"), p.shown("frAcreditacion"),
                              p.shown("txtRequerimiento"), mark("optNTCL") + QString(mark("optExCon")),
                              QFileInfo(child<QLineEdit>(page, "txtRequerimiento")->text()).fileName(),
                              child<QLabel>(page, "lblEstadoRequerimiento")->text()})
                     .join(' '),
                 panel);
        if (curp == kAnterior)
            QCOMPARE(gridRows(page, "fgPedTramitados"),
                     QStringList({kAeropuerto + "|3001|05/03/2000", kLaredo + "|3002|11/02/1999"}));
        // He who has only a private address shows an empty fiscal block.
        const bool fiscal = curp != kAutorizado;
        QCOMPARE(child<QLineEdit>(page, "txtFiscalAprNoInt")->text(), QString(fiscal ? "4B" : ""));
        QCOMPARE(child<QComboBox>(page, "cmbFiscalApRNoMDeleg")->currentText(), QString(fiscal ? " 15" : ""));
        QCOMPARE(p.messages.texts(), QStringList());
    }

    void pageListsSelectsAndDeletes() {
        Page p;
        PaginaApoderado* page = p.open();
        QSignalSpy changed(page, &PaginaApoderado::mandatariosCambiados);
        QCOMPARE(gridRows(page, "fgAA"),
                 QStringList({"BETO|LOPEZ|TORRES|GOMA800101QW7|" + kExamen + "|" + kConforme + "|No",
                              "CIRO|LOPEZ|TORRES|RUIZ650303QW7|" + kSinAcreditacion + "|" + kConforme + "|Si",
                              "DORA|LOPEZ|TORRES|SAGA701212QW7|" + kAutorizado +
                                  QString::fromUtf8("|Con autorización de operar al 15/01/2004|No Definido"),
                              "EVA|LOPEZ|TORRES|VEGA550505QW7|" + kSinMandato + "||Si",
                              "ANA|LOPEZ|TORRES|LOTP751120QW7|" + kAnterior + "|Anterior 01/01/2001|No"}));
        // The page opens on its first row, shown.
        QCOMPARE(child<QLineEdit>(page, "txtApRCalle")->text(), QString("BETO PARTICULAR"));
        // The arrow keys show the representative as a click does.
        p.list()->selectRow(3);
        QTest::keyClick(p.list(), Qt::Key_Down);
        QCOMPARE(child<QLineEdit>(page, "txtApRCalle")->text(), QString("ANA PARTICULAR"));
        // Asked first; a refusal that keeps him is tst_teclado's (Supr on a row, Cancel its default).
        press(page, "cmdBorrar");
        QCOMPARE(p.messages.texts(),
                 QStringList({"¿DESEA BORRAR EL MANDATARIO\n\nANA LOPEZ TORRES " + kAnterior + " ?"}));
        QVERIFY(!dumpAll(*p.db).join('/').contains(kAnterior));
        QCOMPARE(gridRows(page, "fgAA").size(), 4);
        QCOMPARE(changed.count(), 1);
        // The last one gone, the one before him is selected and shown.
        QCOMPARE(p.selected(), kSinMandato);
        QCOMPARE(p.shown("frAduanasAct") + child<QLineEdit>(page, "txtApRCalle")->text(), QString("-EVA PARTICULAR"));
        // An aspirant takes his periods with other brokers along.
        p.select(kExamen);
        press(page, "cmdBorrar");
        QVERIFY(!dumpAll(*p.db).join('/').contains(kExamen));

        // A long list is read a page at a time.
        p.db->exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < 1000) "
                   "insert into Mandatarios(CURP, Nombre, Mandato) select printf('CURP%06d', i), 'X', 1 from n");
        page->Llena_Mandatarios();
        QCOMPARE(p.list()->model()->rowCount(), ListModel::kPage);
    }

    // Searched by the store over name, surnames, RFC and CURP, whatever the case and the accents.
    void searchNarrowsTheList_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("nothing: all") << "" << QStringList{"BETO", "CIRO", "DORA", "EVA", "ANA"};
        QTest::newRow("accent and case") << "diaz" << QStringList{"BETO"};
        QTest::newRow("accent typed") << "Díaz" << QStringList{"BETO"};
        QTest::newRow("RFC") << "ruiz65" << QStringList{"CIRO"};
        QTest::newRow("CURP") << "hgrnrl" << QStringList{"DORA"};
        QTest::newRow("across name and surname") << "ana lopez" << QStringList{"ANA"};
        QTest::newRow("ñ as n") << "munoz" << QStringList{"CIRO"};
        QTest::newRow("a wildcard is a letter") << "%" << QStringList{"EVA"};
        QTest::newRow("the other wildcard") << "l_1" << QStringList{"EVA"};
        QTest::newRow("apostrophe") << "o'n" << QStringList{"EVA"};
    }
    void searchNarrowsTheList() {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        Page p;
        p.db->exec("update Mandatarios set ApMaterno='DÍAZ' where CURP=?", {kExamen});
        p.db->exec("update Mandatarios set ApMaterno='MUÑOZ' where CURP=?", {kSinAcreditacion});
        p.db->exec("update Mandatarios set ApMaterno='O''NEIL_100%' where CURP=?", {kSinMandato});
        PaginaApoderado* page = p.open();
        typeText(child<QLineEdit>(page, "txtBuscar"), typed);
        QStringList names;
        for (const QString& row : gridRows(page, "fgAA"))
            names << row.section('|', 0, 0);
        QCOMPARE(names, found);
        // The first one found is selected and his addresses shown; none found, none shown.
        QCOMPARE(child<QLineEdit>(page, "txtApRCalle")->text(), found.isEmpty() ? QString() : found[0] + " PARTICULAR");
    }

    void pageStoresCorrectionWhole() {
        Page p;
        const QString duplicate = "YA EXISTE EL MANDATARIO EN LA BASE DE DATOS.";
        const QString nuevo = "PEMJ800101HDFRRN01";
        // A new one may not take a stored CURP.
        QVERIFY(!guardaMandatario(p.store, std::nullopt, valido(kExamen, Mandato::Conforme), nullptr));
        QCOMPARE(p.messages.texts(), QStringList({duplicate}));
        periodoConOtroAgente(*p.db, kAnterior);
        QStringList before = dumpAll(*p.db);
        // The engine refuses the declarations, which come after every delete and most inserts.
        p.db->exec("create trigger falla before insert on Pedimentos_MM begin select raise(abort, 'forzado'); end");
        PaginaApoderado* page = p.open();
        QSignalSpy changed(page, &PaginaApoderado::mandatariosCambiados);
        ModalDriver driver;
        p.select(kAnterior);
        driver.then([&p, &before, &nuevo](QDialog* d) {
            // His own CURP is no duplicate: the store is asked, and its refusal leaves the tables as they were.
            press(d, "cmdAceptar");
            QCOMPARE(dumpAll(*p.db), before);
            child<QLineEdit>(d, "txtCURP")->setText(kExamen);
            press(d, "cmdAceptar");
            // Once the engine takes it again, the same window stores what was typed.
            p.db->exec("drop trigger falla");
            child<QLineEdit>(d, "txtCURP")->setText(nuevo);
            // An accreditation chosen while the type was 2 is not kept for a type 1.
            child<QRadioButton>(d, "optExamen")->setChecked(true);
            press(d, "cmdAceptar");
            QCOMPARE(d->result(), int(QDialog::Accepted));
        });
        press(page, "cmdEditar");
        QCOMPARE(driver.pending() + driver.unexpected.size(), 0);
        // His request names his old CURP: each corrected one is asked about (checksInOrder holds the words), OK.
        QStringList told = p.messages.texts().mid(1);
        QCOMPARE(told.removeIf([](const QString& t) { return t.endsWith("¿Desea usarlo de todos modos?"); }), 2);
        QCOMPARE(told, QStringList({"No se pudo guardar el Mandatario en la base de datos; quedó como estaba.\nforzado",
                                    duplicate}));
        QCOMPARE(int(p.messages.shown[1].icon), int(MessageIcon::Exclamation));
        QCOMPARE(int(p.messages.shown[3].icon), int(MessageIcon::None));
        // A corrected CURP carries everything he had, his periods with other brokers included, in the same order;
        // the others are untouched. He stays selected.
        QCOMPARE(dumpAll(*p.db), before.replaceInStrings(kAnterior, nuevo));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(p.selected(), nuevo);
    }

    void checksInOrder_data() {
        // One control spoilt in an otherwise valid representative: a box gets the value, a combo loses its choice,
        // a radio button is unchecked.
        QTest::addColumn<int>("mandato");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        // The focus goes back to the control spoilt unless another is named.
        const auto add = [](const char* row, int mandato, const char* control, const QString& value,
                            const QString& message, const char* focus = nullptr) {
            QTest::newRow(row) << mandato << QString(control) << value << message << QString(focus ? focus : control);
        };
        add("1 nombre", 2, "txtNombre", "   ", "Nombre no puede estar vacio");
        add("2 paterno", 2, "txtApPaterno", "", "Ap. Paterno no puede estar vacio");
        add("3 materno", 2, "txtApMaterno", "", "Ap. Materno no puede estar vacio");
        add("4 curp", 2, "txtCURP", "LOTP751120HDFPRD0", "CURP no valido");
        add("5 rfc", 2, "txtRFC", "LOTP751320QW7", "RFC no valido");
        add("6 particular", 2, "txtCalle", "", "Calle no puede estar vacio");
        add("7 fiscal", 2, "cmbFiscalMDeleg", "", "Mpio. o Delegación no puede estar vacio");
        add("8 mandato", 2, "cmbMandato", "", "Tipo de Mandato no puede estar vacio");
        add("9 requerimiento", 2, "txtRequerimiento", "", "El Requerimiento Electrónico no puede estar vacio",
            "cmdBuscar");
        add("10 otro rfc", 2, "txtRequerimiento", "/home/juan/GODE561231GR8.req",
            "El Requerimiento Electrónico se debe llamar igual al RFC", "cmdBuscar");
        // Declarations do not stand in for offices.
        add("11 aduanas", 1, "fgAduanasAct", "", "Debe existir almenos una Aduana donde ha actuado", "cmdNuevaAduana");
        add("12 acreditacion", 2, "optNTCL", "", "Debe elegir el tipo de acreditación");
        add("13 operando", 2, "optSi", "", "Debe elegir si el Manandatario o Representante se encuentra Operando");
        // Every check passed, a question about a file under his name that is not his; Cancel, the default, keeps all.
        const QString usarlo = QStringLiteral(" ¿Desea usarlo de todos modos?");
        add("14 de otra persona", 2, "txtRequerimiento",
            copyTestData("OTRO800101AB1.req", made.filePath("LOTP751120QW7.req")),
            "El Requerimiento Electrónico LOTP751120QW7.req corresponde al RFC OTRO800101AB1 y la CURP "
            "OTRO800101HDFRRR01, no al representante (RFC LOTP751120QW7, CURP LOTP751120HDFPRD02)." +
                usarlo,
            "cmdBuscar");
        add("15 no es requerimiento", 2, "txtRequerimiento",
            copyTestData("texto.req", made.filePath("xLOTP751120QW7.req")),
            "El archivo xLOTP751120QW7.req no es un Requerimiento Electrónico." + usarlo, "cmdBuscar");
    }

    void checksInOrder() {
        QFETCH(int, mandato);
        QFETCH(QString, control);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        Base base;
        Mandatario m = valido(kAnterior, mandatoDeCodigo(mandato));
        if (control == "fgAduanasAct")
            m.aduanas.clear();
        frmApoderado d(base.store, m);
        d.show();
        QWidget* spoilt = child<QWidget>(&d, qPrintable(control));
        if (auto* box = qobject_cast<QLineEdit*>(spoilt)) {
            box->setText(value);
        } else if (auto* combo = qobject_cast<QComboBox*>(spoilt)) {
            combo->setCurrentIndex(-1);
        } else if (auto* option = qobject_cast<QRadioButton*>(spoilt)) {
            option->setAutoExclusive(false);
            option->setChecked(false);
        }
        bool stored = false;
        d.setGuarda([&stored](const Mandatario&, QWidget*) { return stored = true; });
        base.messages.answerNext(false);
        press(&d, "cmdAceptar");
        QCOMPARE(base.messages.texts(), QStringList({message}));
        const Message& told = base.messages.shown.first();
        QCOMPARE(int(told.icon), int(told.cancelDefault ? MessageIcon::Exclamation : MessageIcon::Information));
        QCOMPARE(told.cancelDefault, message.endsWith('?'));
        QCOMPARE(d.focusWidget() ? d.focusWidget()->objectName() : QString(), focus);
        QVERIFY(d.result() != QDialog::Accepted && !stored);
    }

    void officesAndDeclarationsAsValues() {
        Base base;
        ModalDriver driver;
        Mandatario m = valido(kAnterior, Mandato::Anterior);
        frmApoderado d(base.store, m);
        d.show();
        // An office through its dialog, a listed one refused; then a declaration, at a listed office only.
        driver.then([](QDialog* small) {
            child<QComboBox>(small, "cmbNoAduana")->setCurrentText(" 240");
            press(small, "cmdAceptar");
            child<QComboBox>(small, "cmbAduana")->setCurrentText("MANZANILLO, MANZANILLO, COLIMA");
            press(small, "cmdAceptar");
        });
        press(&d, "cmdNuevaAduana");
        driver.then([](QDialog* small) {
            child<QComboBox>(small, "cmbNoAduana")->setCurrentText(" 160");
            typeText(child<QLineEdit>(small, "txtPedimento"), "0042");
            // A typed date past the last day of the declarations is refused after every other check.
            QTest::keyClicks(child<QDateEdit>(small, "dtpFPed"), "02/01/2001");
            child<QComboBox>(small, "cmbNoAduana")->setCurrentText(" 200");
            press(small, "cmdAceptar");
            child<QComboBox>(small, "cmbNoAduana")->setCurrentText(" 160");
            press(small, "cmdAceptar");
            child<QDateEdit>(small, "dtpFPed")->setDate(QDate(1998, 1, 2));
            press(small, "cmdAceptar");
        });
        press(&d, "cmdNuevoPed");
        QCOMPARE(driver.unexpected, QStringList());

        // Removing an office takes its declarations along; a refused confirmation removes nothing.
        child<QTableView>(&d, "fgAduanasAct")->selectRow(0);
        base.messages.answerNext(false);
        press(&d, "cmdBorrarAduana");
        press(&d, "cmdBorrarAduana");
        child<QTableView>(&d, "fgPedTramitados")->selectRow(0);
        press(&d, "cmdBorrarPed");
        const QString office = QStringLiteral("¿DESEA BORRAR LA ADUANA SELECCIONADA Y LOS PEDIMENTOS RELACIONADOS?");
        QCOMPARE(base.messages.texts(),
                 QStringList({"Ya existe la aduana en la lista de aduanas que actuo",
                              "No existe la aduana del pedimento en la lista de aduanas que actuo", "Fecha no valida",
                              office, office, "¿DESEA BORRAR EL PERIODO SELECCIONADO?"}));
        // Enter on a deletion question keeps.
        QVERIFY(std::ranges::all_of(base.messages.shown.mid(3), &Message::cancelDefault));
        const Aduana a160{160, "MANZANILLO, MANZANILLO, COLIMA"};
        m.aduanas = {m.aduanas[1], a160};
        m.pedimentos = {{a160, "0042", QDate(1998, 1, 2)}};
        QCOMPARE(d.mandatario(), m);
        QCOMPARE(gridRows(&d, "fgAduanasAct") + gridRows(&d, "fgPedTramitados"),
                 QStringList({" 240|" + kLaredo, " 160|" + a160.nombre, " 160|" + a160.nombre + "|0042|02/01/1998"}));
    }

    void storedRepresentativesChecked_data() {
        QTest::addColumn<QVariantList>("mandatario");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("message"); // followed by who he is; none: he passes
        const QVariant none;
        const QString req = "/home/aa/PEMJ800101AB1.REQ";
        const QString request = "Proporcione el archivo de Requerimiento del mandatario";
        const QString operando = "Defina si se encuentra operando actualemente del Representante";
        const auto row = [](const char* name, const QVariantList& m, const char* rows, const QString& message) {
            QTest::newRow(name) << m << QString(rows) << message;
        };
        row("sin particular", {1, req, 0, 1}, "FA", "Proporcione el Domicilo Particular del Representante");
        row("sin fiscal", {1, req, 0, 1}, "PA", "Proporcione el Domicilo Fiscal del Representante");
        row("operando no definido", {1, req, 0, 2}, "PFA", operando);
        row("tipo 1 sin requerimiento", {1, "   ", 0, 0}, "PFA", request);
        row("tipo 1 sin aduana", {1, req, 0, 1}, "PF",
            "Proporcione las Aduanas ante las que aha actuado el Representante");
        row("tipo 1 completo", {1, req, 0, 1}, "PFA", "");
        row("tipo 2 sin requerimiento", {2, "", 1, 1}, "PF", request);
        row("tipo 2 sin acreditacion", {2, req, none, 1}, "PF", "Proporcione el Tipo de acreditamiento del mandatario");
        row("tipo 2 acreditacion 0, sin aduana", {2, req, 0, 0}, "PF", "");
        row("tipo 3 solo domicilios", {3, "", none, 0}, "PF", "");
        row("sin tipo", {none, "", none, 1}, "PF", "");
    }

    void storedRepresentativesChecked() {
        QFETCH(QVariantList, mandatario);
        QFETCH(QString, rows);
        QFETCH(QString, message);
        // Between one who passes and one at fault in a check made before most: the first at fault is told.
        Base base;
        storeRows(*base.db, "A", {1, "x.REQ", 0, 1}, "PFA");
        storeRows(*base.db, "PEMJ800101HDFRRN01", mandatario, rows);
        storeRows(*base.db, "Z", {1, "", 0, 1}, "FA");
        QCOMPARE(revisaMandatarios(base.store).value_or(QString()),
                 message.isEmpty() ? "Proporcione el Domicilo Particular del Representante" + kWho + "Z"
                                   : message + kWho + "PEMJ800101HDFRRN01");
    }
};

QTEST_MAIN(TestApoderado)
#include "tst_apoderado.moc"
