// A write killed at any moment must leave every table as it was before the write or as it is after it, and ENVIO
// with nothing but the signed file and whole request copies beside it once the next start has cleared what a run left.
// Each case repeats its writes in a child process (this same program, started with --hijo) that is killed (SIGKILL) at
// a random moment, again and again. TOLVEK_SEMILLA=<n> replays a failure with the seed it printed.

#include "data/BaseDatos.h"
#include "data/Store.h"
#include "export/Envio.h"
#include "platform/Database.h"
#include "support/Fixtures.h"
#include "support/TestKeys.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <cstdio>
#include <functional>
#include <stdexcept>

namespace {

constexpr qint64 kPatente = 470;
const QString kCurpA = QStringLiteral("LOTP751120HGRPRN09");
const QString kCurpB = QStringLiteral("LOTP751120HGRPRN01");
constexpr int kMuertesPorCaso = 9;
constexpr quint32 kSemilla = 20040115;

// A write of the child; `plantilla` is the folder that keeps the files the writes read.
using Paso = std::function<void(Database&, Store&, const QDir& plantilla)>;

// What the database holds before the child starts, and the writes it repeats: the last one brings the tables back
// to where the first one began.
struct Caso {
    Paso prepara;
    QList<Paso> pasos;
};

Mandatario anterior(const QString& curp, const QString& nombre, int oficinas, const QDir& plantilla) {
    Mandatario m = representative(curp, "LOTP751120QW7", nombre, Mandato::Anterior);
    m.requerimiento = plantilla.filePath("LOTP751120QW7.req");
    for (int i = 0; i < oficinas; ++i) {
        const Aduana aduana{QList<qint64>{10, 20, 50, 60}[i], {}};
        m.aduanas << aduana;
        m.pedimentos << Pedimento{aduana, QStringLiteral("000123%1").arg(i), QDate(2000, 11, i + 1)};
    }
    return m;
}

const PeriodoMandatario kPeriodo{kCurpA, 3012, {50, {}}, QDate(1998, 1, 5), QDate(1999, 6, 30)};

void conMandatarios(Database&, Store& s, const QDir& plantilla) {
    copyTestData("LOTP751120QW7.req", plantilla.filePath("LOTP751120QW7.req"));
    s.guardaMandatario(std::nullopt, representative("GAMA800101MDFRRN02", "GAMA800101AB1", "ANA", Mandato::Conforme));
    s.guardaMandatario(std::nullopt, anterior(kCurpA, "JUAN", 2, plantilla));
    s.agregaPeriodoMandatario(kPeriodo);
}

Paso genera(const QByteArray& password, Envio::Resultado esperado) {
    return [=](Database& db, Store& s, const QDir& plantilla) {
        Llave key{plantilla.filePath("GODE561231GR8.key"), password};
        const Envio envio = generaEnvio(s, kPatente, QFileInfo(db.path()).absolutePath(), key);
        if (envio.resultado != esperado)
            throw std::runtime_error(envio.mensaje.toStdString());
    };
}

const QMap<QString, Caso>& casos() {
    static const QMap<QString, Caso> casos{
        {"mandatarios",
         {conMandatarios,
          {[](Database&, Store& s, const QDir& p) { s.guardaMandatario(kCurpA, anterior(kCurpB, "JUAN PABLO", 3, p)); },
           [](Database&, Store& s, const QDir&) { s.borraMandatario(kCurpB); },
           [](Database&, Store& s, const QDir& p) { s.guardaMandatario(std::nullopt, anterior(kCurpA, "JUAN", 2, p)); },
           [](Database&, Store& s, const QDir&) { s.agregaPeriodoMandatario(kPeriodo); }}}},
        {"generacion",
         {[](Database& db, Store& s, const QDir& p) {
              storeBroker(db);
              conMandatarios(db, s, p);
              copyTestData("agente.key", p.filePath("GODE561231GR8.key"));
          },
          {genera(kTestKeyPassword, Envio::Resultado::Firmado), genera("otra", Envio::Resultado::SinFirma)}}},
    };
    return casos;
}

// Every captured row, sorted: a write that deletes and inserts again may leave them in another order.
QStringList estado(Database& db) {
    QStringList filas;
    for (const QString& tabla : dumpAll(db))
        for (const QString& fila : tabla.section(": ", 1).split(" / ", Qt::SkipEmptyParts))
            filas << tabla.section(": ", 0, 0) + ": " + fila;
    filas.sort();
    return filas;
}

// What is wrong in ENVIO once the next start has cleared what a run left; empty when nothing is.
QString faltaEnEnvio(const QString& programa) {
    limpiaEnvioPendiente(programa);
    const QDir envio(carpetaEnvio(programa));
    // A request copy may only lie beside a signed file: a folder without one holds nothing to be sent.
    const bool firmado = verifySignedFile(readFile(envio.filePath(QString::number(kPatente) + ".txt")));
    QStringList mal;
    for (const QString& nombre : envio.entryList(QDir::Files | QDir::Hidden)) {
        const QByteArray bytes = readFile(envio.filePath(nombre));
        if (nombre == QString::number(kPatente) + ".txt" ? !firmado
                                                         : !firmado || bytes != readFile(testData("LOTP751120QW7.req")))
            mal << nombre;
    }
    return mal.join(", ");
}

// The child: tells it is ready, then repeats the case's writes until it is killed.
int hijo(const QString& caso, const QString& programa, const QDir& plantilla) {
    const auto db = openDatabase(programa);
    Store store(*db);
    std::fputs("listo\n", stdout);
    std::fflush(stdout);
    try {
        for (;;)
            for (const Paso& paso : casos()[caso].pasos)
                paso(*db, store, plantilla);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    return 2;
}

} // namespace

class TestMuerte : public QObject {
    Q_OBJECT

private slots:
    void muerte_data();
    void muerte();
};

void TestMuerte::muerte_data() {
    QTest::addColumn<QString>("caso");
    for (const QString& caso : casos().keys())
        QTest::newRow(qPrintable(caso)) << caso;
}

void TestMuerte::muerte() {
    QFETCH(QString, caso);
    const Caso& c = casos()[caso];
    QTemporaryDir plantilla;
    {
        const auto db = openDatabase(plantilla.path());
        Store store(*db);
        c.prepara(*db, store, plantilla.path());
    }
    const QString base = plantilla.filePath(kDatabaseFileName);

    // The whole states: before the first write and after each one, the last being the first again.
    QList<QStringList> estados;
    {
        QTemporaryDir ref;
        QVERIFY(QFile::copy(base, ref.filePath(kDatabaseFileName)) && copySigningLibrary(ref.path()));
        const auto db = openDatabase(ref.path());
        Store store(*db);
        estados << estado(*db);
        for (const Paso& paso : c.pasos) {
            paso(*db, store, plantilla.path());
            estados << estado(*db);
        }
        QCOMPARE(estados.takeLast(), estados.first());
    }

    const quint32 semilla =
        qEnvironmentVariableIsSet("TOLVEK_SEMILLA") ? qEnvironmentVariableIntValue("TOLVEK_SEMILLA") : kSemilla;
    QRandomGenerator azar(semilla);
    for (int i = 0; i < kMuertesPorCaso; ++i) {
        const int demora = azar.bounded(2, 300);
        const QString donde = QStringLiteral("semilla %1, muerte %2 a los %3 ms: ").arg(semilla).arg(i).arg(demora);
        QTemporaryDir programa;
        QVERIFY(QFile::copy(base, programa.filePath(kDatabaseFileName)) && copySigningLibrary(programa.path()));
        QProcess proceso;
        proceso.start(QCoreApplication::applicationFilePath(), {"--hijo", caso, programa.path(), plantilla.path()});
        // The delay counts from its first write: a slow start then costs time, never a kill.
        const bool listo = proceso.waitForReadyRead(-1);
        QThread::msleep(demora);
        proceso.kill();
        proceso.waitForFinished(-1);
        QVERIFY2(listo && proceso.exitStatus() == QProcess::CrashExit,
                 qPrintable(donde + "el hijo terminó solo: " + proceso.readAllStandardError()));

        // Opened as the next start opens it: a killed write's journal is rolled back, the file is its own.
        const auto db = openTolvekDatabase(programa.path());
        Query integridad = db->select("pragma integrity_check");
        QVERIFY2(integridad.next() && integridad.text(0) == "ok", qPrintable(donde + integridad.text(0)));
        const QStringList hallado = estado(*db);
        QVERIFY2(estados.contains(hallado), qPrintable(donde + "tablas a medias: " + hallado.join("; ")));
        const QString falta = faltaEnEnvio(programa.path());
        QVERIFY2(falta.isEmpty(), qPrintable(donde + "en ENVIO tras la limpieza: " + falta));
    }
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--hijo") == 0)
        return hijo(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]));
    TestMuerte test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_muerte.moc"
