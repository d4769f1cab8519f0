#include "data/BaseDatos.h"
#include "import/Recupera.h"
#include "platform/Database.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kHeader = "\"TOLVEK|Recupera|1\"";
const QByteArray kEnd = "\"800|470|\"";

} // namespace

class TestImporta : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void decodesWindows1252_data();
    void decodesWindows1252();
    void takesRecordOutOfLine_data();
    void takesRecordOutOfLine();
    void convertsEachRecordType_data();
    void convertsEachRecordType();
    void refusesRecordsOutsideFormat_data();
    void refusesRecordsOutsideFormat();

    void importsWholeExport();
    void exportLeavesDatabaseAsItWas_data();
    void exportLeavesDatabaseAsItWas();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Database> db_;
    QString recupera_;
};

void TestImporta::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    db_ = openDatabase(dir_->path());
    recupera_ = dir_->filePath("Recupera.txt");
}

void TestImporta::cleanup() {
    db_.reset();
    dir_.reset();
}

void TestImporta::decodesWindows1252_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("windows range") << QByteArray("\x80\x93x\x94\x8A\x9F") << QString("€“x”ŠŸ");
    QTest::newRow("undefined bytes") << QByteArray("\x81\x8D") << QString(QChar(0x81)) + QChar(0x8D);
}

void TestImporta::decodesWindows1252() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decodeWindows1252(bytes), text);
}

void TestImporta::takesRecordOutOfLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("record");
    QTest::addColumn<bool>("fault");
    const auto row = [](const char* name, const QString& line, const QString& record, bool fault) {
        QTest::newRow(name) << line << record << fault;
    };
    row("quoted", "\"AA|470|PEDRO\"", "AA|470|PEDRO", false);
    row("quoted with commas", "\"Domicilios_MM|470|X|09|15|AV. REFORMA, 120|S/N\"",
        "Domicilios_MM|470|X|09|15|AV. REFORMA, 120|S/N", false);
    row("unquoted keeps its commas", "Domicilios_MM|470|AV. REFORMA, 120, INT. 3",
        "Domicilios_MM|470|AV. REFORMA, 120, INT. 3", false);
    row("blanks around", "  \"Aduanas_MM|470|X|3\"  ", "Aduanas_MM|470|X|3", false);
    row("quote inside kept", "\"Mandatarios|1|A\"B|C\"", "Mandatarios|1|A\"B|C", false);
    row("quote never closed", "\"AA|470|PEDRO", "", true);
}

void TestImporta::takesRecordOutOfLine() {
    QFETCH(QString, line);
    QFETCH(QString, record);
    QFETCH(bool, fault);
    try {
        const QString got = recordOfLine(line);
        QVERIFY(!fault);
        QCOMPARE(got, record);
    } catch (const ImportError& e) {
        QVERIFY2(fault, qPrintable(e.message()));
        QCOMPARE(e.message(), QString("el registro abre comillas y no las cierra"));
    }
}

void TestImporta::convertsEachRecordType_data() {
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("values");
    const QString mandatarios = "insert into Mandatarios(CURP,RFC,Nombre,ApPaterno,ApMaterno,Mandato,Requerimiento,"
                                "Acreditacion,Operando) values (?,?,?,?,?,?,'',0,2)";
    const QString pedimentos = "insert into Pedimentos_MM(CURP,NoAduana,NoPedimento,FechPedimento) values (?,?,?,?)";
    QTest::newRow("AA: values right after the tag")
        << "AA|470|JOSÉ|PEÑA|O'BRIEN|PEOJ561231AB1|PEOJ561231HDFXXX09|0|3"
        << "insert into AA(Patente,Nombre,ApPaterno,ApMaterno,RFC,CURP,Autorizacion,Adscripcion) values "
           "(?,?,?,?,?,?,?,?)"
        << QVariantList{470LL, "JOSÉ", "PEÑA", "O'BRIEN", "PEOJ561231AB1", "PEOJ561231HDFXXX09", 0LL, 3LL};
    QTest::newRow("Domicilios_AA: patente skipped")
        << "Domicilios_AA|999|2|12| 83|AV. REFORMA, 120|S/N||CENTRO|06600|555|"
        << "insert into Domicilios_AA(Tipo_Dom,EntFed,MDeleg,Calle,NoExt,NoInt,Colonia,CP,Telefono,Fax) values "
           "(?,?,?,?,?,?,?,?,?,?)"
        << QVariantList{2LL, "12", 83LL, "AV. REFORMA, 120", "S/N", "", "CENTRO", "06600", "555", ""};
    QTest::newRow("Mandatarios: empty flag is the earlier mandate")
        << "Mandatarios|3012|LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LOPEZ|TORRES|" << mandatarios
        << QVariantList{"LOTP751120HDFPRD02", "LOTP751120QW7", "PEDRO", "LOPEZ", "TORRES", 1};
    QTest::newRow("Mandatarios: flag 1 is the later mandate")
        << "Mandatarios|3012|MAGA800101MDFRRN05|MAGA800101AB2|ANA|D'ARCY||1" << mandatarios
        << QVariantList{"MAGA800101MDFRRN05", "MAGA800101AB2", "ANA", "D'ARCY", "", 2};
    QTest::newRow("Domicilios_MM: the address is the private one")
        << "Domicilios_MM|3012|LOTP751120HDFPRD02|09|15|CALLE 5|10|A|ROMA|06700|5550|5551"
        << "insert into Domicilios_MM(CURP,EntFed,MDeleg,Calle,NoExt,NoInt,Colonia,CP,Telefono,Fax,Tipo_Dom) values "
           "(?,?,?,?,?,?,?,?,?,?,1)"
        << QVariantList{"LOTP751120HDFPRD02", "09", 15LL, "CALLE 5", "10", "A", "ROMA", "06700", "5550", "5551"};
    QTest::newRow("Aduanas_MM") << "Aduanas_MM|3012|LOTP751120HDFPRD02|470"
                                << "insert into Aduanas_MM(CURP,NoAduana) values (?,?)"
                                << QVariantList{"LOTP751120HDFPRD02", 470LL};
    QTest::newRow("Pedimentos_MM: date year first")
        << "Pedimentos_MM|3012|LOTP751120HDFPRD02|470|0001234|2000-11-30" << pedimentos
        << QVariantList{"LOTP751120HDFPRD02", 470LL, "0001234", QDate(2000, 11, 30)};
    QTest::newRow("Pedimentos_MM: any separator")
        << "Pedimentos_MM|3012|X|3|1|1999/02/28" << pedimentos << QVariantList{"X", 3LL, "1", QDate(1999, 2, 28)};
    QTest::newRow("800 ends the export") << "800|3012|5|x" << QString() << QVariantList();
}

void TestImporta::convertsEachRecordType() {
    QFETCH(QString, record);
    QFETCH(QString, sql);
    QFETCH(QVariantList, values);
    const auto insercion = convierteRegistro(record);
    if (sql.isEmpty()) {
        QVERIFY(!insercion);
        return;
    }
    QVERIFY(insercion);
    QCOMPARE(insercion->sql, sql);
    QCOMPARE(insercion->values.size(), values.size());
    for (qsizetype i = 0; i < values.size(); ++i) {
        QCOMPARE(insercion->values[i], values[i]);
        QVERIFY2(!insercion->values[i].toString().isNull(), "an empty text is bound as Null");
    }
}

void TestImporta::refusesRecordsOutsideFormat_data() {
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("fault");
    const QString notDate = "el valor «%1» de FechPedimento no es una fecha (año-mes-día)";
    const auto row = [](const char* name, const QString& record, const QString& fault) {
        QTest::newRow(name) << record << fault;
    };
    row("no bar", "AA 470 PEDRO", "el registro «AA 470 PEDRO» no tiene separadores \"|\"");
    row("unknown tag", "Historico_AA|470|X|Y", "«Historico_AA» no es ningún tipo de registro conocido");
    row("tag in other case", "aa|470|A|B|C|D|E|0|3", "«aa» no es ningún tipo de registro conocido");
    row("800 without bar", "800", "el registro «800» no tiene separadores \"|\"");
    row("only the patente", "Aduanas_MM|470", "el registro tiene 0 valores y se esperaban 2");
    row("too few", "Mandatarios|470|CURP|RFC|PEDRO|LOPEZ", "el registro tiene 4 valores y se esperaban 6");
    row("too many", "Aduanas_MM|470|CURP|470|3", "el registro tiene 3 valores y se esperaban 2");
    row("number not a number", "Domicilios_AA|470|1|09|CUAUHTEMOC|C|1||COL|06600|5|",
        "el valor «CUAUHTEMOC» de MDeleg no es un número");
    row("empty number", "Aduanas_MM|470|CURP|", "el valor «» de NoAduana no es un número");
    row("decimal number", "AA|470.5|A|B|C|D|E|0|3", "el valor «470.5» de Patente no es un número");
    row("date that does not exist", "Pedimentos_MM|470|X|3|1|2001-02-29", notDate.arg("2001-02-29"));
    row("date day first", "Pedimentos_MM|470|X|3|1|30/11/2000", notDate.arg("30/11/2000"));
    row("date too long", "Pedimentos_MM|470|X|3|1|2000-11-30 10:00", notDate.arg("2000-11-30 10:00"));
    row("flag 2", "Mandatarios|470|C|R|N|P|M|2", "la marca de tipo de mandato «2» no es ni vacía ni 1");
    row("flag blank", "Mandatarios|470|C|R|N|P|M| ", "la marca de tipo de mandato « » no es ni vacía ni 1");
}

void TestImporta::refusesRecordsOutsideFormat() {
    QFETCH(QString, record);
    QFETCH(QString, fault);
    try {
        convierteRegistro(record);
        QFAIL("the record was taken");
    } catch (const ImportError& e) {
        QCOMPARE(e.message(), fault);
    }
}

void TestImporta::importsWholeExport() {
    // Each record type's values are checked where records are converted, and stored through the start-up's import.
    db_->exec("insert into Historico_AA values (?,?,?,?,?)", {"R", "HISTORICO", "N", "P", "M"});
    writeFile(recupera_, crlf({
                             // The header is never imported, even when it looks like a record.
                             "\"AA|1|HEADER|X|Y|R|C|0|1\"",
                             "\"AA|470|JOS\xC9|O'BRIEN|Z|PEOJ561231AB1|PEOJ561231HDFXXX09|0|470\"",
                             "Domicilios_AA|470|2|12|83|JUAREZ, 4|12|B|SAN JOS\xC9|39000|7471111111|7472222222",
                             "\"Mandatarios|470|LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LOPEZ|TORRES|\"",
                             kEnd,
                             // Blanks may follow the closing record.
                             " ",
                         }));
    QCOMPARE(importaRecupera(*db_, recupera_), 3);
    QCOMPARE(tableRows(*db_, "AA"), QStringList({"#470|JOSÉ|O'BRIEN|Z|PEOJ561231AB1|PEOJ561231HDFXXX09|#0|#470"}));
    QCOMPARE(tableRows(*db_, "Domicilios_AA"),
             QStringList({"#2|12|#83|JUAREZ, 4|12|B|SAN JOSÉ|39000|7471111111|7472222222"}));
    QCOMPARE(tableRows(*db_, "Mandatarios").size(), 1);
    QCOMPARE(tableRows(*db_, "Aduanas_MM"), QStringList());
    QCOMPARE(tableRows(*db_, "Historico_AA"), QStringList({"R|HISTORICO|N|P|M"}));
}

void TestImporta::exportLeavesDatabaseAsItWas_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("fault");
    const QByteArray aa = "\"AA|470|JOSE|PENA|OBRIEN|PEOJ561231AB1|PEOJ561231HDFXXX09|0|470\"";
    const QByteArray rep = "\"Mandatarios|470|LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LOPEZ|TORRES|\"";
    const QString early = "El archivo %1 termina antes de su registro 800.";
    const auto row = [](const char* name, const QByteArray& bytes, const QString& fault) {
        QTest::newRow(name) << bytes << fault;
    };
    // A previous version that held no data exports only its header and closing record: nothing to import, no fault.
    row("nothing to import", crlf({"\"TOLVEK|Recupera|0\"", kEnd}), QString());
    row("records after 800", crlf({kHeader, aa, kEnd, "", rep}),
        "Línea 5 de %1: el registro 800 cierra el archivo y esta línea lo sigue.");
    row("header counts fewer", crlf({kHeader, aa, rep, kEnd}),
        "El archivo %1 trae 2 registros y su encabezado anuncia 1.");
    row("duplicate CURP", crlf({kHeader, aa, rep, rep, kEnd}),
        "Línea 4 de %1: la base de datos rechazó el registro (UNIQUE constraint failed: Mandatarios.CURP).");
    row("two fiscal addresses",
        crlf({kHeader, aa, "Domicilios_AA|470|1|09|15|A|1||C|06600|5|", "Domicilios_AA|470|1|09|15|B|1||C|06600|5|",
              kEnd}),
        "Línea 4 de %1: la base de datos rechazó el registro (UNIQUE constraint failed: Domicilios_AA.Tipo_Dom).");
    row("no 800, no line end", kHeader + "\r\n" + aa, early);
    row("header only", crlf({kHeader}), early);
    row("empty file", QByteArray(), early);
    row("blank line", crlf({kHeader, aa, "", rep, kEnd}), "Línea 3 de %1: el registro «» no tiene separadores \"|\".");
    row("bad number", crlf({kHeader, aa, rep, "\"Aduanas_MM|470|LOTP751120HDFPRD02|A470\"", kEnd}),
        "Línea 4 de %1: el valor «A470» de NoAduana no es un número.");
    row("no broker", crlf({kHeader, rep, kEnd}), "El archivo %1 no trae los datos del Agente Aduanal (registro AA).");
    row("quote not closed", crlf({kHeader, aa, "\"Aduanas_MM|470|C|3", kEnd}),
        "Línea 3 de %1: el registro abre comillas y no las cierra.");
}

void TestImporta::exportLeavesDatabaseAsItWas() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, fault);
    db_->exec("insert into Historico_AA values (?,?,?,?,?)", {"R", "HISTORICO", "N", "P", "M"});
    const QStringList before = dumpAll(*db_);
    writeFile(recupera_, bytes);
    try {
        QCOMPARE(importaRecupera(*db_, recupera_), 0);
        QVERIFY2(fault.isEmpty(), "the export was imported");
    } catch (const ImportError& e) {
        QCOMPARE(e.message(), fault.arg(QDir::toNativeSeparators(recupera_)));
    }
    QCOMPARE(dumpAll(*db_), before);
    // The database takes the next statement as usual: no transaction is left open.
    db_->exec("insert into Aduanas_MM values (?,?)", {"X", 3});
}

QTEST_MAIN(TestImporta)
#include "tst_importa.moc"
