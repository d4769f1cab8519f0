#include "data/Domicilio.h"
#include "data/Rutinas.h"
#include "platform/Capture.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

class TestRutinas : public QObject {
    Q_OBJECT

private slots:
    void patente_data();
    void patente();
    void curp_data();
    void curp();
    void rfc_data();
    void rfc();
    void numeric_data();
    void numeric();
    void twoDigitYears();
    void numberTexts();
    void addressFaultsInOrder();
    void postalCode_data();
    void postalCode();
    void captureBoxTypesCapitals();
    void captureBoxLeavesOutBar();
    void captureBoxKeepsToTheCodePage();
    void pairedCombosFollowEachOther();
};

void TestRutinas::patente_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("cero") << "0" << false;
    QTest::newRow("4001") << "4001" << false;
    QTest::newRow("vacia") << "" << false;
    QTest::newRow("blancos") << "   " << false;
    QTest::newRow("negativa") << "-5" << false;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("4000") << "4000" << true;
    QTest::newRow("ceros a la izquierda") << "0012" << true;
    QTest::newRow("numero inicial") << "12AB" << true;
    QTest::newRow("letras") << "AB12" << false;
}

void TestRutinas::patente() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(Valida_Patente(text), valid);
}

void TestRutinas::curp_data() {
    QTest::addColumn<QString>("curp");
    QTest::addColumn<bool>("valid");
    QTest::newRow("real") << "GODE561231HDFRRN09" << true;
    QTest::newRow("29 feb bisiesto") << "ABCD800229HDFRRN09" << true;
    QTest::newRow("29 feb no bisiesto") << "ABCD810229HDFRRN09" << false;
    QTest::newRow("2004 bisiesto") << "ABCD040229MDFRRN09" << true;
    QTest::newRow("mes 13") << "ABCD801301HDFRRN09" << false;
    QTest::newRow("dia 00") << "ABCD800100HDFRRN09" << false;
    QTest::newRow("sexo minuscula") << "ABCD800229hDFRRN09" << false;
    QTest::newRow("sexo X") << "ABCD800229XDFRRN09" << false;
    QTest::newRow("primeros cuatro digitos") << "1234800229HDFRRN09" << false;
    QTest::newRow("primeros cuatro 12AB") << "12AB800229HDFRRN09" << true;
    QTest::newRow("12-13 numero") << "ABCD800229H12RRN09" << false;
    QTest::newRow("corta") << "ABCD800229HDFRRN0" << false;
    QTest::newRow("larga, resto sin examinar") << "ABCD800229HDF#####XYZ" << true;
    QTest::newRow("fecha con letras") << "ABCD80AB29HDFRRN09" << false;
}

void TestRutinas::curp() {
    QFETCH(QString, curp);
    QFETCH(bool, valid);
    QCOMPARE(Valida_CURP(curp), valid);
}

void TestRutinas::rfc_data() {
    QTest::addColumn<QString>("rfc");
    QTest::addColumn<bool>("valid");
    QTest::newRow("real") << "GODE561231GR8" << true;
    QTest::newRow("12 caracteres") << "GODE561231GR" << false;
    QTest::newRow("14, solo diez examinados") << "GODE561231!!!!" << true;
    QTest::newRow("fecha invalida") << "GODE563112GR8" << false;
    QTest::newRow("digitos al inicio") << "1234561231GR8" << false;
    QTest::newRow("29 feb 2000") << "GODE000229GR8" << true;
}

void TestRutinas::rfc() {
    QFETCH(QString, rfc);
    QFETCH(bool, valid);
    QCOMPARE(Valida_RFC(rfc), valid);
}

void TestRutinas::numeric_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::newRow("digitos") << "06600" << true;
    QTest::newRow("signo") << "-12" << true;
    QTest::newRow("decimal") << "12.5" << true;
    QTest::newRow("dos puntos") << "1.2.3" << false;
    QTest::newRow("letras") << "ABCDE" << false;
    QTest::newRow("vacio") << "" << false;
    QTest::newRow("solo signo") << "+" << false;
    QTest::newRow("blancos alrededor") << " 12 " << true;
    QTest::newRow("blanco dentro") << "1 2" << false;
}

void TestRutinas::numeric() {
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QCOMPARE(isNumeric(text), numeric);
}

void TestRutinas::twoDigitYears() {
    QCOMPARE(twoDigitYearDate("01", "01", "29"), QDate(2029, 1, 1));
    QCOMPARE(twoDigitYearDate("01", "01", "30"), QDate(1930, 1, 1));
    QCOMPARE(twoDigitYearDate("31", "12", "99"), QDate(1999, 12, 31));
    QCOMPARE(twoDigitYearDate("31", "04", "99"), QDate());
}

void TestRutinas::numberTexts() {
    QCOMPARE(numberText(47), QString(" 47"));
    QCOMPARE(numberText(0), QString(" 0"));
    QCOMPARE(numberText(-3), QString("-3"));
    QCOMPARE(dateText(QDate(2000, 3, 5)), QString("05/03/2000"));
    QCOMPARE(rtrim("AB  "), QString("AB"));
    QCOMPARE(rtrim("  AB"), QString("  AB"));
    QVERIFY(isBlank("   "));
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

void TestRutinas::postalCode_data() {
    QTest::addColumn<QString>("cp");
    QTest::addColumn<bool>("valid");
    QTest::newRow("cinco digitos") << "06600" << true;
    QTest::newRow("cuatro digitos") << "0660" << false;
    QTest::newRow("cinco letras") << "ABCDE" << false;
    QTest::newRow("blanco al final") << "0660 " << false;
    QTest::newRow("con signo") << "-0660" << false;
    QTest::newRow("con punto") << "06.60" << false;
}

void TestRutinas::postalCode() {
    QFETCH(QString, cp);
    QFETCH(bool, valid);
    TextosDomicilio d{"REFORMA", "S/N", "CENTRO", cp, "CIUDAD DE MÉXICO", "CUAUHTÉMOC", "555", "556"};
    const auto fault = revisaDomicilio(d);
    QCOMPARE(!fault, valid);
    if (fault)
        QCOMPARE(fault->mensaje, QString("Formato de C.P. invalido"));
}

void TestRutinas::captureBoxTypesCapitals() {
    QLineEdit box;
    makeCaptureBox(&box);
    typeText(&box, QString::fromUtf8("garcía ñuñez"));
    QCOMPARE(box.text(), QString::fromUtf8("GARCÍA ÑUÑEZ"));

    // Pasted text follows the same rule; the cursor stays after what was inserted.
    box.clear();
    box.insert(QString::fromUtf8("müller"));
    QCOMPARE(box.text(), QString::fromUtf8("MÜLLER"));
    box.setCursorPosition(1);
    QTest::keyClicks(&box, "a");
    QCOMPARE(box.text(), QString::fromUtf8("MAÜLLER"));
}

void TestRutinas::captureBoxKeepsToTheCodePage() {
    QLineEdit box;
    makeCaptureBox(&box);
    // µ has no capital in the information file's code page; ÿ has (Ÿ), and so has œ (Œ).
    typeText(&box, QString::fromUtf8("5 µm ÿœ"));
    QCOMPARE(box.text(), QString::fromUtf8("5 µM ŸŒ"));
}

void TestRutinas::captureBoxLeavesOutBar() {
    QLineEdit box;
    makeCaptureBox(&box);
    QTest::keyClicks(&box, "a|b");
    QCOMPARE(box.text(), QString("AB"));

    // Pasted line breaks and tabs would split or shift a record of the information file.
    box.clear();
    box.insert(QString::fromUtf8("av.\treforma\r\n120\u2028|b"));
    QCOMPARE(box.text(), QString("AV.REFORMA120B"));
}

void TestRutinas::pairedCombosFollowEachOther() {
    QComboBox keys, names;
    keys.addItems({" 10", " 20", " 30"});
    names.addItems({"ACAPULCO", "AGUA PRIETA", "ALTAMIRA"});
    pairCombos(&keys, &names);
    names.setCurrentIndex(2);
    QCOMPARE(keys.currentText(), QString(" 30"));
    keys.setCurrentIndex(0);
    QCOMPARE(names.currentText(), QString("ACAPULCO"));
    names.setCurrentIndex(-1);
    QCOMPARE(keys.currentIndex(), -1);
}

QTEST_MAIN(TestRutinas)
#include "tst_rutinas.moc"
