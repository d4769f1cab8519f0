#include "data/Domicilio.h"
#include "data/Rutinas.h"
#include "support/TestSupport.h"
#include "widgets/AvisoDigito.h"
#include "widgets/Capture.h"

#include <QAction>
#include <QLineEdit>
#include <QtTest>

class TestRutinas : public QObject {
    Q_OBJECT

private slots:
    void identifiers_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        const auto rows = [](const char* kind, bool valid, std::initializer_list<const char*> texts) {
            for (const char* t : texts)
                QTest::addRow("%s '%s'", kind, t) << QString(kind) << QString(t) << valid;
        };
        // A patente's leading number is what counts.
        rows("patente", false, {"0", "4001", "", "-5", "AB12"});
        rows("patente", true, {"1", "4000", "12AB"});
        // 1980 is a leap year, 1981 is not; the first four characters may not be a number, the sex is H or M, the
        // entity two letters; what follows the eighteenth character is not examined.
        rows("curp", true, {"GODE561231HDFRRN09", "ABCD800229HDFRRN09", "12AB800229HDFRRN09", "ABCD800229HDF#####XYZ"});
        rows("curp", false,
             {"ABCD810229HDFRRN09", "ABCD801301HDFRRN09", "ABCD800229hDFRRN09", "ABCD800229XDFRRN09",
              "1234800229HDFRRN09", "ABCD800229H12RRN09", "ABCD800229HDFRRN0"});
        // Only the first ten characters are examined; 2000 was a leap year.
        rows("rfc", true, {"GODE561231GR8", "GODE561231!!!!", "GODE000229GR8"});
        rows("rfc", false, {"GODE561231GR", "GODE563112GR8", "1234561231GR8"});
        // Check digits: examples published by RENAPO and SAT and identifiers in public use, then a digit changed.
        rows("digito curp", true,
             {"HEGG560427MVZRRL04", "BEML920313HMCLNS09", "PEGL890909MJCRMS08", "MESJ890928HMNZNS00"});
        rows("digito curp", false, {"HEGG560427MVZRRL05", "BEML920313HMCLNS0A", "BEML920313HMCLNS0"});
        rows("digito rfc", true, {"GODE561231GR8", "AAAL730401TE0", "COML8103203QA", "ZENP8101128Y0"});
        rows("digito rfc", false, {"GODE561231GR9", "COML8103203Q0", "VACE460910SX6", "GODE561231GR"});
        // A postal code is five digits, nothing else.
        rows("cp", true, {"06600"});
        rows("cp", false, {"0660", "ABCDE", "0660 ", "-0660", "06.60"});
    }

    void identifiers() {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(bool, valid);
        static const QHash<QString, bool (*)(const QString&)> checks = {{"patente", Valida_Patente},
                                                                        {"curp", Valida_CURP},
                                                                        {"rfc", Valida_RFC},
                                                                        {"digito curp", coincideDigitoCURP},
                                                                        {"digito rfc", coincideDigitoRFC}};
        if (kind == "cp")
            QCOMPARE(!revisaDomicilio({"REFORMA", "S/N", "CENTRO", text, "CDMX", "CUAUHTÉMOC", "555", "556"}), valid);
        else
            QCOMPARE(checks.value(kind)(text), valid);
    }

    void addressFaultsInOrder() {
        const TextosDomicilio complete{"REFORMA",          "S/N",        "CENTRO", "06600",
                                       "CIUDAD DE MÉXICO", "CUAUHTÉMOC", "555",    "556"};
        QVERIFY(!revisaDomicilio(complete));

        // Emptying the fields one at a time from the last to the first: each time the first empty one is reported.
        const QList<QPair<QString TextosDomicilio::*, QString>> fields = {
            {&TextosDomicilio::calle, "Calle no puede estar vacio"},
            {&TextosDomicilio::noExt, "El No. Externo no puede estar vacio, si no tiene número escriba S/N"},
            {&TextosDomicilio::colonia, "Colonia no puede estar vacio"},
            {&TextosDomicilio::cp, "C.P. no puede estar vacio"},
            {&TextosDomicilio::entidad, "Entidad Fed. no puede estar vacio"},
            {&TextosDomicilio::municipio, "Mpio. o Delegación no puede estar vacio"},
            {&TextosDomicilio::telefono, "El Telefóno no puede estar vacio"},
            {&TextosDomicilio::fax, "El Fax no puede estar vacio"},
        };
        TextosDomicilio d = complete;
        for (qsizetype i = fields.size() - 1; i >= 0; --i) {
            d.*(fields[i].first) = "  ";
            const auto fault = revisaDomicilio(d);
            QVERIFY(fault);
            QCOMPARE(fault->mensaje, fields[i].second);
        }
        QCOMPARE(int(revisaDomicilio(d)->campo), int(CampoDomicilio::Calle));
    }

    void captureBox_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, const char* typed, const char* pasted, const char* shown) {
            QTest::newRow(name) << QString::fromUtf8(typed) << QString::fromUtf8(pasted) << QString::fromUtf8(shown);
        };
        row("tecleado", "garcía ñuñez", "", "GARCÍA ÑUÑEZ");
        row("pegado", "", "müller", "MÜLLER");
        // µ has no capital in the information file's code page; ÿ has (Ÿ), and so has œ (Œ).
        row("pagina de codigos", "5 µm ÿœ", "", "5 µM ŸŒ");
        row("barra tecleada", "a|b", "", "AB");
        // Pasted line breaks and tabs would split or shift a record of the information file.
        row("saltos pegados", "", "av.\treforma\r\n120\u2028|b", "AV.REFORMA120B");
        row("fuera de la pagina de codigos", "ana😀", "\u202Eпетр שלום €", "ANA  €");
    }

    void captureBox() {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        QLineEdit box;
        makeCaptureBox(&box);
        typeText(&box, typed);
        box.insert(pasted);
        QCOMPARE(box.text(), shown);
        // The cursor stays where the user put it.
        box.setCursorPosition(1);
        QTest::keyClicks(&box, "a");
        QCOMPARE(box.text(), shown.left(1) + "A" + shown.mid(1));
    }

    void checkDigitWarning() {
        QLineEdit box;
        avisaDigitoVerificador(&box, Identificador::RFC);
        const auto* aviso = box.findChild<QAction*>("avisoDigito");
        QVERIFY(aviso && !aviso->isVisible() && !aviso->icon().isNull());
        // Only a text of the right format gets the warning: a wrong format has its own message when stored.
        for (const auto& [text, shown] :
             {std::pair{"GODE561231GR9", true}, {"GODE561231GR8", false}, {"GODE561331GR9", false}}) {
            box.setText(text);
            QCOMPARE(aviso->isVisible(), shown);
            // The keyboard's way to the reason: the box's accessible description.
            QCOMPARE(box.accessibleDescription(), shown ? aviso->toolTip() : QString());
        }
        QCOMPARE(aviso->toolTip(), QString::fromUtf8("El dígito verificador no coincide; revise el RFC"));
    }
};

QTEST_MAIN(TestRutinas)
#include "tst_rutinas.moc"
