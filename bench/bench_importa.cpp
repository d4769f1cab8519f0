// Importing the previous version's export against the sqlite3 shell running the same inserts in one transaction.
// Prints, for 1,000, 10,000 and 100,000 representatives (each with his address, a customs office and a
// declaration), both times and their ratio.

#include "data/BaseDatos.h"
#include "import/Recupera.h"
#include "platform/Database.h"
#include "platform/Process.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRounds = 3;

QString curp(int i) {
    return QStringLiteral("REPR%1HDFXXX%2").arg(i, 6, 10, QLatin1Char('0')).arg(i % 100, 2, 10, QLatin1Char('0'));
}

QString quoted(const QString& text) {
    QString q = text;
    return QLatin1Char('\'') + q.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

// The export and the equivalent SQL script, written side by side.
void writeInputs(int representatives, const QString& recupera, const QString& script) {
    QFile exportFile(recupera);
    QFile sqlFile(script);
    if (!exportFile.open(QIODevice::WriteOnly) || !sqlFile.open(QIODevice::WriteOnly))
        qFatal("cannot write the inputs");
    auto record = [&](const QString& r) { exportFile.write("\"" + r.toLatin1() + "\"\r\n"); };
    auto sql = [&](const QString& s) { sqlFile.write(s.toLatin1() + ";\n"); };

    exportFile.write("\"TOLVEK|Recupera\"\r\n");
    sql(QStringLiteral("begin"));
    record(QStringLiteral("AA|470|JOSE|PENA|O'BRIEN|PEOJ561231AB1|PEOJ561231HDFXXX09|0|470"));
    sql(QStringLiteral("insert into AA(Patente,Nombre,ApPaterno,ApMaterno,RFC,CURP,Autorizacion,Adscripcion) values "
                       "(470,'JOSE','PENA','O''BRIEN','PEOJ561231AB1','PEOJ561231HDFXXX09',0,470)"));
    for (int tipo : {1, 2}) {
        record(QStringLiteral("Domicilios_AA|470|%1|09|15|AV. REFORMA, 120|S/N||CENTRO|06600|5555555555|").arg(tipo));
        sql(QStringLiteral("insert into Domicilios_AA(Tipo_Dom,EntFed,MDeleg,Calle,NoExt,NoInt,Colonia,CP,Telefono,"
                           "Fax) values (%1,'09',15,'AV. REFORMA, 120','S/N','','CENTRO','06600','5555555555','')")
                .arg(tipo));
    }
    for (int i = 0; i < representatives; ++i) {
        const QString c = curp(i);
        const QString rfc = c.left(10) + QStringLiteral("AB1");
        const QString flag = i % 2 ? QStringLiteral("1") : QString();
        record(QStringLiteral("Mandatarios|470|%1|%2|PEDRO|LOPEZ|D'ARCY|%3").arg(c, rfc, flag));
        sql(QStringLiteral("insert into Mandatarios(CURP,RFC,Nombre,ApPaterno,ApMaterno,Mandato,Requerimiento,"
                           "Acreditacion,Operando) values (%1,%2,'PEDRO','LOPEZ',%3,%4,'',0,2)")
                .arg(quoted(c), quoted(rfc), quoted(QStringLiteral("D'ARCY")),
                     i % 2 ? QStringLiteral("2") : QStringLiteral("1")));
        record(QStringLiteral("Domicilios_MM|470|%1|09|15|CALLE 5, INT. 2|10|A|ROMA|06700|5550000000|").arg(c));
        sql(QStringLiteral("insert into Domicilios_MM(CURP,EntFed,MDeleg,Calle,NoExt,NoInt,Colonia,CP,Telefono,Fax,"
                           "Tipo_Dom) values (%1,'09',15,'CALLE 5, INT. 2','10','A','ROMA','06700','5550000000','',1)")
                .arg(quoted(c)));
        record(QStringLiteral("Aduanas_MM|470|%1|470").arg(c));
        sql(QStringLiteral("insert into Aduanas_MM(CURP,NoAduana) values (%1,470)").arg(quoted(c)));
        record(QStringLiteral("Pedimentos_MM|470|%1|470|%2|2000-11-30").arg(c).arg(i));
        sql(QStringLiteral("insert into Pedimentos_MM(CURP,NoAduana,NoPedimento,FechPedimento) values "
                           "(%1,470,'%2','2000-11-30')")
                .arg(quoted(c))
                .arg(i));
    }
    record(QStringLiteral("800|470|"));
    sql(QStringLiteral("commit"));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty()) {
        std::fprintf(stderr, "bench_importa: the sqlite3 shell is not installed\n");
        return 1;
    }
    QTemporaryDir dir;
    QString error;
    const QString templateFolder = dir.filePath(QStringLiteral("plantilla"));
    QDir().mkpath(templateFolder);
    if (!openTolvekDatabase(templateFolder, &error)) {
        std::fprintf(stderr, "bench_importa: %s\n", qPrintable(error));
        return 1;
    }
    const QString templateFile = QDir(templateFolder).filePath(kDatabaseFileName);

    std::printf("%14s %12s %12s %8s\n", "representantes", "importa (s)", "sqlite3 (s)", "razon");
    for (int n : {1000, 10000, 100000}) {
        const QString recupera = dir.filePath(QStringLiteral("Recupera-%1.txt").arg(n));
        const QString script = dir.filePath(QStringLiteral("inserts-%1.sql").arg(n));
        writeInputs(n, recupera, script);
        // Best of three rounds, each on a fresh copy of the same empty database: the machine may be busy.
        double importSeconds = 1e9;
        double shellSeconds = 1e9;
        for (int round = 0; round < kRounds; ++round) {
            const QString ours = dir.filePath(QStringLiteral("importa-%1-%2.mdb").arg(n).arg(round));
            const QString theirs = dir.filePath(QStringLiteral("sqlite3-%1-%2.mdb").arg(n).arg(round));
            QFile::copy(templateFile, ours);
            QFile::copy(templateFile, theirs);

            QElapsedTimer clock;
            {
                auto db = Database::open(ours);
                clock.start();
                try {
                    importaRecupera(*db, recupera);
                } catch (const ImportError& e) {
                    std::fprintf(stderr, "bench_importa: %s\n", qPrintable(e.message()));
                    return 1;
                }
                importSeconds = std::min(importSeconds, clock.nsecsElapsed() / 1e9);
            }
            clock.restart();
            const ProgramRun run = runProgram(shell, dir.path(), -1, {theirs, QStringLiteral(".read ") + script});
            shellSeconds = std::min(shellSeconds, clock.nsecsElapsed() / 1e9);
            if (run.outcome != ProgramRun::Outcome::Finished || !run.errorText.isEmpty()) {
                std::fprintf(stderr, "bench_importa: sqlite3 failed: %s\n", qPrintable(run.errorText));
                return 1;
            }
            QFile::remove(ours);
            QFile::remove(theirs);
        }
        std::printf("%14d %12.3f %12.3f %8.2f\n", n, importSeconds, shellSeconds, importSeconds / shellSeconds);
        std::fflush(stdout);
    }
    return 0;
}
