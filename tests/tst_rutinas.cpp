#include "data/Domicilio.h"
#include "data/Rutinas.h"
#include "platform/AvisoDigito.h"
#include "platform/Capture.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QLineEdit>
#include <QtTest>

class TestRutinas : public QObject {
    Q_OBJECT

private slots:
    void identifiers_data();
    void identifiers();
    void addressFaultsInOrder();
    void captureBox_data();
    void captureBox();
    void checkDigitWarning();
};

void TestRutinas::identifiers_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    const auto row = [](const char* kind, const char* name, const QString& text, bool valid) {
        QTest::addRow("%s %s", kind, name) << QString(kind) << text << valid;
    };
    for (const char* t : {"0", "4001", "", "   ", "-5", "AB12"})
        QTest::addRow("patente '%s'", t) << "patente" << QString(t) << false;
    for (const char* t : {"1", "4000", "0012", "12AB"}) // a leading number is what counts
        QTest::addRow("patente '%s'", t) << "patente" << QString(t) << true;
    row("curp", "real", "GODE561231HDFRRN09", true);
    row("curp", "29 feb bisiesto", "ABCD800229HDFRRN09", true);
    row("curp", "29 feb no bisiesto", "ABCD810229HDFRRN09", false);
    row("curp", "2004 bisiesto", "ABCD040229MDFRRN09", true);
    row("curp", "mes 13", "ABCD801301HDFRRN09", false);
    row("curp", "dia 00", "ABCD800100HDFRRN09", false);
    row("curp", "sexo minuscula", "ABCD800229hDFRRN09", false);
    row("curp", "sexo X", "ABCD800229XDFRRN09", false);
    row("curp", "primeros cuatro digitos", "1234800229HDFRRN09", false);
    row("curp", "primeros cuatro 12AB", "12AB800229HDFRRN09", true);
    row("curp", "12-13 numero", "ABCD800229H12RRN09", false);
    row("curp", "corta", "ABCD800229HDFRRN0", false);
    row("curp", "larga, resto sin examinar", "ABCD800229HDF#####XYZ", true);
    row("curp", "fecha con letras", "ABCD80AB29HDFRRN09", false);
    // Only the first ten characters are examined.
    for (const char* t : {"GODE561231GR8", "GODE561231!!!!", "GODE000229GR8"})
        QTest::addRow("rfc %s", t) << "rfc" << QString(t) << true;
    for (const char* t : {"GODE561231GR", "GODE563112GR8", "1234561231GR8"})
        QTest::addRow("rfc %s", t) << "rfc" << QString(t) << false;
    // Check digits: examples published by RENAPO and SAT and CURPs and RFCs in public use, then a digit changed.
    for (const char* t : {"HEGG560427MVZRRL04", "BEML920313HMCLNS09", "PEGL890909MJCRMS08", "MESJ890928HMNZNS00"})
        QTest::addRow("digito curp %s", t) << "digito curp" << QString(t) << true;
    for (const char* t : {"HEGG560427MVZRRL05", "BEML920313HMCLNS0A", "BEML920313HMCLNS0"})
        QTest::addRow("digito curp %s", t) << "digito curp" << QString(t) << false;
    for (const char* t : {"GODE561231GR8", "AAAL730401TE0", "COML8103203QA", "ZENP8101128Y0"})
        QTest::addRow("digito rfc %s", t) << "digito rfc" << QString(t) << true;
    for (const char* t : {"GODE561231GR9", "COML8103203Q0", "VACE460910SX6", "GODE561231GR"})
        QTest::addRow("digito rfc %s", t) << "digito rfc" << QString(t) << false;
    QTest::newRow("cp 06600") << "cp"
                              << "06600" << true;
    for (const char* t : {"0660", "ABCDE", "0660 ", "-0660", "06.60"})
        QTest::addRow("cp '%s'", t) << "cp" << QString(t) << false;
}

void TestRutinas::identifiers() {
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    static const QHash<QString, bool (*)(const QString&)> checks = {{"patente", Valida_Patente},
                                                                    {"curp", Valida_CURP},
                                                                    {"rfc", Valida_RFC},
                                                                    {"digito curp", coincideDigitoCURP},
                                                                    {"digito rfc", coincideDigitoRFC}};
    if (kind == "cp") // a postal code is five digits, nothing else
        QCOMPARE(!revisaDomicilio({"REFORMA", "S/N", "CENTRO", text, "CDMX", "CUAUHTÉMOC", "555", "556"}), valid);
    else
        QCOMPARE(checks.value(kind)(text), valid);
}

void TestRutinas::addressFaultsInOrder() {
    const TextosDomicilio complete{"REFORMA", "S/N", "CENTRO", "06600", "CIUDAD DE MÉXICO", "CUAUHTÉMOC", "555", "556"};
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

void TestRutinas::captureBox_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::newRow("tecleado") << QString::fromUtf8("garcía ñuñez") << "" << QString::fromUtf8("GARCÍA ÑUÑEZ");
    QTest::newRow("pegado") << "" << QString::fromUtf8("müller") << QString::fromUtf8("MÜLLER");
    // µ has no capital in the information file's code page; ÿ has (Ÿ), and so has œ (Œ).
    QTest::newRow("pagina de codigos") << QString::fromUtf8("5 µm ÿœ") << "" << QString::fromUtf8("5 µM ŸŒ");
    QTest::newRow("barra tecleada") << "a|b"
                                    << ""
                                    << "AB";
    // Pasted line breaks and tabs would split or shift a record of the information file.
    QTest::newRow("saltos pegados") << "" << QString::fromUtf8("av.\treforma\r\n120\u2028|b") << "AV.REFORMA120B";
    QTest::newRow("fuera de la pagina de codigos")
        << QString::fromUtf8("ana😀") << QString::fromUtf8("\u202Eпетр שלום €") << QString::fromUtf8("ANA  €");
}

void TestRutinas::captureBox() {
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

void TestRutinas::checkDigitWarning() {
    QLineEdit box;
    avisaDigitoVerificador(&box, Identificador::RFC);
    const auto* aviso = box.findChild<QAction*>("avisoDigito");
    QVERIFY(aviso && !aviso->isVisible() && !aviso->icon().isNull());
    // Only a text of the right format gets the warning: a wrong format has its own message when stored.
    for (const auto& [text, shown] :
         {std::pair{"GODE561231GR9", true}, {"GODE561231GR8", false}, {"GODE561331GR9", false}}) {
        box.setText(text);
        QCOMPARE(aviso->isVisible(), shown);
    }
    QCOMPARE(aviso->toolTip(), QString::fromUtf8("El dígito verificador no coincide; revise el RFC"));
}

QTEST_MAIN(TestRutinas)
#include "tst_rutinas.moc"
