#include "data/BaseDatos.h"
#include "import/Recupera.h"
#include "platform/Database.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kHeader = "\"TOLVEK|Recupera|7\"";
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
    void emptyExportImportsNothing();
    void faultLeavesDatabaseAsItWas_data();
    void faultLeavesDatabaseAsItWas();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Database> db_;
    QString recupera_;
};

void TestImporta::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QString error;
    db_ = openTolvekDatabase(dir_->path(), &error);
    QVERIFY2(db_, qPrintable(error));
    recupera_ = dir_->filePath("Recupera.txt");
}

void TestImporta::cleanup() {
    db_.reset();
    dir_.reset();
}

void TestImporta::decodesWindows1252_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("AA|470|PEDRO") << QString("AA|470|PEDRO");
    QTest::newRow("latin letters") << QByteArray("PE\xD1"
                                                 "A MART\xCDNEZ \xE9")
                                   << QString::fromUtf8("PEÑA MARTÍNEZ é");
    QTest::newRow("windows range") << QByteArray("\x80\x93x\x94\x8A\x9F") << QString::fromUtf8("€“x”ŠŸ");
    QTest::newRow("undefined bytes") << QByteArray("\x81\x8D") << QString(QChar(0x81)) + QChar(0x8D);
    QTest::newRow("empty") << QByteArray() << QString();
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
    QTest::newRow("quoted") << "\"AA|470|PEDRO\""
                            << "AA|470|PEDRO" << false;
    QTest::newRow("quoted with commas") << "\"Domicilios_MM|470|X|09|15|AV. REFORMA, 120|S/N\""
                                        << "Domicilios_MM|470|X|09|15|AV. REFORMA, 120|S/N" << false;
    QTest::newRow("unquoted keeps its commas") << "Domicilios_MM|470|AV. REFORMA, 120, INT. 3"
                                               << "Domicilios_MM|470|AV. REFORMA, 120, INT. 3" << false;
    QTest::newRow("blanks around") << "  \"Aduanas_MM|470|X|3\"  "
                                   << "Aduanas_MM|470|X|3" << false;
    QTest::newRow("quote inside kept") << "\"Mandatarios|1|A\"B|C\""
                                       << "Mandatarios|1|A\"B|C" << false;
    QTest::newRow("empty quoted") << "\"\""
                                  << "" << false;
    QTest::newRow("empty line") << ""
                                << "" << false;
    QTest::newRow("quote never closed") << "\"AA|470|PEDRO"
                                        << "" << true;
    QTest::newRow("lone quote") << "\""
                                << "" << true;
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
        << "Mandatarios|3012|LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LOPEZ|TORRES|"
        << "insert into Mandatarios(CURP,RFC,Nombre,ApPaterno,ApMaterno,Mandato,Requerimiento,Acreditacion,Operando) "
           "values (?,?,?,?,?,?,'',0,2)"
        << QVariantList{"LOTP751120HDFPRD02", "LOTP751120QW7", "PEDRO", "LOPEZ", "TORRES", 1};
    QTest::newRow("Mandatarios: flag 1 is the later mandate")
        << "Mandatarios|3012|MAGA800101MDFRRN05|MAGA800101AB2|ANA|D'ARCY||1"
        << "insert into Mandatarios(CURP,RFC,Nombre,ApPaterno,ApMaterno,Mandato,Requerimiento,Acreditacion,Operando) "
           "values (?,?,?,?,?,?,'',0,2)"
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
        << "Pedimentos_MM|3012|LOTP751120HDFPRD02|470|0001234|2000-11-30"
        << "insert into Pedimentos_MM(CURP,NoAduana,NoPedimento,FechPedimento) values (?,?,?,?)"
        << QVariantList{"LOTP751120HDFPRD02", 470LL, "0001234", QDate(2000, 11, 30)};
    QTest::newRow("Pedimentos_MM: any separator")
        << "Pedimentos_MM|3012|X|3|1|1999/02/28"
        << "insert into Pedimentos_MM(CURP,NoAduana,NoPedimento,FechPedimento) "
           "values (?,?,?,?)"
        << QVariantList{"X", 3LL, "1", QDate(1999, 2, 28)};
    QTest::newRow("800 ends the export") << "800|3012|" << QString() << QVariantList();
    QTest::newRow("800 with anything after it") << "800|3012|5|x" << QString() << QVariantList();
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
        // An empty text is bound as the empty text, not as Null.
        QCOMPARE(insercion->values[i].toString().isNull(), false);
    }
}

void TestImporta::refusesRecordsOutsideFormat_data() {
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("fault");
    QTest::newRow("no bar") << "AA 470 PEDRO"
                            << "el registro «AA 470 PEDRO» no tiene separadores \"|\"";
    QTest::newRow("empty record") << ""
                                  << "el registro «» no tiene separadores \"|\"";
    QTest::newRow("unknown tag") << "Historico_AA|470|X|Y"
                                 << "«Historico_AA» no es ningún tipo de registro conocido";
    QTest::newRow("tag in other case") << "aa|470|A|B|C|D|E|0|3"
                                       << "«aa» no es ningún tipo de registro conocido";
    QTest::newRow("800 without bar") << "800"
                                     << "el registro «800» no tiene separadores \"|\"";
    QTest::newRow("only the patente") << "Aduanas_MM|470"
                                      << "el registro tiene 0 valores y se esperaban 2";
    QTest::newRow("too few") << "Mandatarios|470|CURP|RFC|PEDRO|LOPEZ"
                             << "el registro tiene 4 valores y se esperaban 6";
    QTest::newRow("too many") << "Aduanas_MM|470|CURP|470|3"
                              << "el registro tiene 3 valores y se esperaban 2";
    QTest::newRow("AA too few") << "AA|470|A|B|C|D|E|0"
                                << "el registro tiene 7 valores y se esperaban 8";
    QTest::newRow("number not a number") << "Domicilios_AA|470|1|09|CUAUHTEMOC|C|1||COL|06600|5|"
                                         << "el valor «CUAUHTEMOC» de MDeleg no es un número";
    QTest::newRow("empty number") << "Aduanas_MM|470|CURP|"
                                  << "el valor «» de NoAduana no es un número";
    QTest::newRow("decimal number") << "AA|470.5|A|B|C|D|E|0|3"
                                    << "el valor «470.5» de Patente no es un número";
    QTest::newRow("date that does not exist") << "Pedimentos_MM|470|X|3|1|2001-02-29"
                                              << "el valor «2001-02-29» de FechPedimento no es una fecha (año-mes-día)";
    QTest::newRow("date day first") << "Pedimentos_MM|470|X|3|1|30/11/2000"
                                    << "el valor «30/11/2000» de FechPedimento no es una fecha (año-mes-día)";
    QTest::newRow("date too long") << "Pedimentos_MM|470|X|3|1|2000-11-30 10:00"
                                   << "el valor «2000-11-30 10:00» de FechPedimento no es una fecha (año-mes-día)";
    QTest::newRow("empty date") << "Pedimentos_MM|470|X|3|1|"
                                << "el valor «» de FechPedimento no es una fecha (año-mes-día)";
    QTest::newRow("flag 2") << "Mandatarios|470|C|R|N|P|M|2"
                            << "la marca de tipo de mandato «2» no es ni vacía ni 1";
    QTest::newRow("flag blank") << "Mandatarios|470|C|R|N|P|M| "
                                << "la marca de tipo de mandato « » no es ni vacía ni 1";
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
    db_->exec("insert into Historico_AA values (?,?,?,?,?)", {"R", "HISTORICO", "N", "P", "M"});
    writeFile(recupera_,
              crlf({
                  // The header is never imported, even when it looks like a record.
                  "\"AA|1|HEADER|X|Y|R|C|0|1\"",
                  "\"AA|470|JOS\xC9|PE\xD1"
                  "A|O'BRIEN|PEOJ561231AB1|PEOJ561231HDFXXX09|0|470\"",
                  "\"Domicilios_AA|470|1|09|15|AV. REFORMA, 120|S/N||CENTRO|06600|5555555555|\"",
                  "Domicilios_AA|470|2|12|83|JUAREZ, 4|12|B|SAN JOS\xC9|39000|7471111111|7472222222",
                  "\"Mandatarios|470|LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LOPEZ|TORRES|\"",
                  "\"Mandatarios|470|MAGA800101MDFRRN05|MAGA800101AB2|ANA|MART\xCDNEZ|D'ARCY|1\"",
                  "\"Domicilios_MM|470|LOTP751120HDFPRD02|09|15|CALLE 5, INT. 2|10|A|ROMA|06700|5550000000|\"",
                  "\"Aduanas_MM|470|LOTP751120HDFPRD02|470\"",
                  "\"Pedimentos_MM|470|LOTP751120HDFPRD02|470|0001234|2000-11-30\"",
                  kEnd,
                  // Nothing after the closing record is read, whatever it holds.
                  "\"Aduanas_MM|470|LOTP751120HDFPRD02|3\"",
                  "not a record at all",
              }));
    QCOMPARE(importaRecupera(*db_, recupera_), 8);
    QCOMPARE(tableRows(*db_, "AA"),
             QStringList({QString::fromUtf8("#470|JOSÉ|PEÑA|O'BRIEN|PEOJ561231AB1|PEOJ561231HDFXXX09|#0|#470")}));
    QCOMPARE(tableRows(*db_, "Domicilios_AA"),
             QStringList({"#1|09|#15|AV. REFORMA, 120|S/N||CENTRO|06600|5555555555|",
                          QString::fromUtf8("#2|12|#83|JUAREZ, 4|12|B|SAN JOSÉ|39000|7471111111|7472222222")}));
    QCOMPARE(tableRows(*db_, "Mandatarios"),
             QStringList({"LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LOPEZ|TORRES|#1||#0|#2",
                          QString::fromUtf8("MAGA800101MDFRRN05|MAGA800101AB2|ANA|MARTÍNEZ|D'ARCY|#2||#0|#2")}));
    QCOMPARE(tableRows(*db_, "Domicilios_MM"),
             QStringList({"LOTP751120HDFPRD02|09|#15|CALLE 5, INT. 2|10|A|ROMA|06700|5550000000||#1"}));
    QCOMPARE(tableRows(*db_, "Aduanas_MM"), QStringList({"LOTP751120HDFPRD02|#470"}));
    QCOMPARE(tableRows(*db_, "Pedimentos_MM"), QStringList({"LOTP751120HDFPRD02|#470|0001234|2000-11-30"}));
    QCOMPARE(tableRows(*db_, "Historico_AA"), QStringList({"R|HISTORICO|N|P|M"}));
    Query date = db_->select("select FechPedimento from Pedimentos_MM");
    QVERIFY(date.next());
    QCOMPARE(date.date(0), QDate(2000, 11, 30));
}

void TestImporta::emptyExportImportsNothing() {
    // A previous version that held no data exports only its header and closing record: nothing to import, no fault.
    const QStringList before = dumpAll(*db_);
    writeFile(recupera_, crlf({kHeader, kEnd}));
    QCOMPARE(importaRecupera(*db_, recupera_), 0);
    QCOMPARE(dumpAll(*db_), before);
}

void TestImporta::faultLeavesDatabaseAsItWas_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("fault");
    const QByteArray aa = "\"AA|470|JOSE|PENA|OBRIEN|PEOJ561231AB1|PEOJ561231HDFXXX09|0|470\"";
    const QByteArray rep = "\"Mandatarios|470|LOTP751120HDFPRD02|LOTP751120QW7|PEDRO|LOPEZ|TORRES|\"";
    QTest::newRow("duplicate CURP") << crlf({kHeader, aa, rep, rep, kEnd})
                                    << "Línea 4 de %1: la base de datos rechazó el registro (UNIQUE constraint "
                                       "failed: Mandatarios.CURP).";
    QTest::newRow("two fiscal addresses")
        << crlf({kHeader, aa, "Domicilios_AA|470|1|09|15|A|1||C|06600|5|", "Domicilios_AA|470|1|09|15|B|1||C|06600|5|",
                 kEnd})
        << "Línea 4 de %1: la base de datos rechazó el registro (UNIQUE constraint failed: Domicilios_AA.Tipo_Dom).";
    QTest::newRow("no 800") << crlf({kHeader, aa, rep}) << "El archivo %1 termina antes de su registro 800.";
    QTest::newRow("no 800, no line end") << kHeader + "\r\n" + aa << "El archivo %1 termina antes de su registro 800.";
    QTest::newRow("header only") << crlf({kHeader}) << "El archivo %1 termina antes de su registro 800.";
    QTest::newRow("empty file") << QByteArray() << "El archivo %1 termina antes de su registro 800.";
    QTest::newRow("blank line") << crlf({kHeader, aa, "", rep, kEnd})
                                << "Línea 3 de %1: el registro «» no tiene separadores \"|\".";
    QTest::newRow("bad number") << crlf({kHeader, aa, rep, "\"Aduanas_MM|470|LOTP751120HDFPRD02|A470\"", kEnd})
                                << "Línea 4 de %1: el valor «A470» de NoAduana no es un número.";
    QTest::newRow("bad date") << crlf({kHeader, aa, rep, "\"Pedimentos_MM|470|LOTP751120HDFPRD02|470|1|2000-13-01\"",
                                       kEnd})
                              << "Línea 4 de %1: el valor «2000-13-01» de FechPedimento no es una fecha (año-mes-día).";
    QTest::newRow("bad flag") << crlf({kHeader, aa, "Mandatarios|470|C|R|N|P|M|S", kEnd})
                              << "Línea 3 de %1: la marca de tipo de mandato «S» no es ni vacía ni 1.";
    QTest::newRow("unknown tag") << crlf({kHeader, aa, "\"Periodos_H_MM|470|C|3|1|2000-01-01|2000-02-01\"", kEnd})
                                 << "Línea 3 de %1: «Periodos_H_MM» no es ningún tipo de registro conocido.";
    QTest::newRow("too many values") << crlf({kHeader, aa, "\"Aduanas_MM|470|C|3|\"", kEnd})
                                     << "Línea 3 de %1: el registro tiene 3 valores y se esperaban 2.";
    QTest::newRow("no broker") << crlf({kHeader, rep, kEnd})
                               << "El archivo %1 no trae los datos del Agente Aduanal (registro AA).";
    QTest::newRow("quote not closed") << crlf({kHeader, aa, "\"Aduanas_MM|470|C|3", kEnd})
                                      << "Línea 3 de %1: el registro abre comillas y no las cierra.";
}

void TestImporta::faultLeavesDatabaseAsItWas() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, fault);
    db_->exec("insert into Historico_AA values (?,?,?,?,?)", {"R", "HISTORICO", "N", "P", "M"});
    const QStringList before = dumpAll(*db_);
    writeFile(recupera_, bytes);
    try {
        importaRecupera(*db_, recupera_);
        QFAIL("the export was imported");
    } catch (const ImportError& e) {
        QCOMPARE(e.message(), fault.arg(QDir::toNativeSeparators(recupera_)));
    }
    QCOMPARE(dumpAll(*db_), before);
    // The database takes the next statement as usual: no transaction is left open.
    db_->exec("insert into Aduanas_MM values (?,?)", {"X", 3});
}

QTEST_MAIN(TestImporta)
#include "tst_importa.moc"
