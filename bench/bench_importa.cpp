// Importing the previous version's export against the sqlite3 shell running the same inserts in one transaction.
// Prints, for 1,000, 10,000 and 100,000 representatives (each with his address, a customs office and a
// declaration), both times and their ratio.
#include "BenchSupport.h"

#include "data/BaseDatos.h"
#include "import/Recupera.h"
#include "platform/Database.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const QStringList kTables{"AA", "Domicilios_AA", "Mandatarios", "Domicilios_MM", "Aduanas_MM", "Pedimentos_MM"};

// The previous version's export, as Vantrix writes it.
void writeExport(int representatives, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    const auto record = [&](const QString& r) { file.write("\"" + r.toLatin1() + "\"\r\n"); };
    record(QStringLiteral("TOLVEK|Recupera"));
    record(QStringLiteral("AA|470|JOSE|PENA|O'BRIEN|PEOJ561231AB1|PEOJ561231HDFXXX09|0|470"));
    for (int tipo : {1, 2})
        record(QStringLiteral("Domicilios_AA|470|%1|09|15|AV. REFORMA, 120|S/N||CENTRO|06600|5555555555|").arg(tipo));
    for (int i = 0; i < representatives; ++i) {
        const QString c =
            QStringLiteral("REPR%1HDFXXX%2").arg(i, 6, 10, QLatin1Char('0')).arg(i % 100, 2, 10, QLatin1Char('0'));
        record(QStringLiteral("Mandatarios|470|%1|%2AB1|PEDRO|LOPEZ|D'ARCY|%3").arg(c, c.left(10), i % 2 ? "1" : ""));
        record(QStringLiteral("Domicilios_MM|470|%1|09|15|CALLE 5, INT. 2|10|A|ROMA|06700|5550000000|").arg(c));
        record(QStringLiteral("Aduanas_MM|470|%1|470").arg(c));
        record(QStringLiteral("Pedimentos_MM|470|%1|470|%2|2000-11-30").arg(c).arg(i));
    }
    record(QStringLiteral("800|470|"));
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
    openTolvekDatabase(dir.path());
    // Each run, on either side, fills a fresh copy of the same empty database.
    const QString empty = dir.filePath(kDatabaseFileName), target = dir.filePath(QStringLiteral("corrida.mdb"));
    const auto fresh = [&] { return (QFile::remove(target), QFile::copy(empty, target)); };

    std::printf("%14s %12s %12s %8s\n", "representantes", "importa (s)", "sqlite3 (s)", "razon");
    for (int n : {1000, 10000, 100000}) {
        const QString recupera = dir.filePath(QStringLiteral("Recupera.txt")), script = dir.filePath("inserts.sql");
        writeExport(n, recupera);
        const double ours = bestMs(3, [&] {
            try {
                return fresh() && (importaRecupera(*Database::open(target), recupera), true);
            } catch (const ImportError& e) {
                std::fprintf(stderr, "bench_importa: %s\n", qPrintable(e.message()));
                return false;
            }
        });
        // The shell's inserts are the rows the import stored, as the shell itself writes them.
        QStringList dump{".output " + script};
        for (const QString& table : kTables)
            dump << ".mode insert " + table << "select * from " + table + ";";
        const bool dumped = runSqlite3(shell, target, dump);
        const double theirs = bestMs(3, [&] {
            return fresh() && runSqlite3(shell, target, {"begin;", ".read " + script, "commit;"});
        });
        if (ours < 0 || !dumped || theirs < 0)
            return 1;
        std::printf("%14d %12.3f %12.3f %8.2f\n", n, ours / 1000, theirs / 1000, ours / theirs);
        std::fflush(stdout);
    }
    return 0;
}
