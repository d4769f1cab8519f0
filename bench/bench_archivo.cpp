// Writing the information file for 1,000, 10,000 and 100,000 representatives (two addresses, one customs office
// and one declaration each), against the sqlite3 shell writing the same tables pipe-separated from the same
// database. Prints the time ratio and the peak memory while writing, which must not grow with the rows.
#include "BenchSupport.h"

#include "data/BaseDatos.h"
#include "data/Schema.h"
#include "data/Store.h"
#include "export/ArchivoInformacion.h"
#include "platform/Database.h"
#include "platform/Files.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString sqlite3 = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    std::printf("%14s %12s %12s %8s %14s %14s %12s\n", "representantes", "tolvek ms", "sqlite3 ms", "razón",
                "RSS antes KB", "pico KB", "archivo KB");
    for (int n : {1000, 10000, 100000}) {
        QTemporaryDir dir;
        auto db = openTolvekDatabase(dir.path());
        fillBrokerage(*db, n);
        const QString target = dir.filePath("3012.txt");

        const long before = statusKb("VmRSS:");
        resetPeak();
        Store store(*db);
        const double ours = bestMs(3, [&] {
            WriteFile file(target);
            std::optional<QString> defecto;
            if (!file.create() || (defecto = Escribe_Archivo(store, 3012, &file)) || !file.finish()) {
                std::fprintf(stderr, "%s\n", qPrintable(defecto.value_or(file.errorString())));
                return false;
            }
            return true;
        });
        const long peak = statusKb("VmHWM:");

        QStringList commands{".mode list", ".separator |", ".output " + dir.filePath("sqlite3.txt")};
        for (const TableDefinition& table : tablasCapturadas())
            commands << QStringLiteral("select * from %1;").arg(table);
        const double shell =
            sqlite3.isEmpty() ? -1 : bestMs(3, [&] { return runSqlite3(sqlite3, db->path(), commands); });
        std::printf("%14d %12.1f %12.1f %8.2f %14ld %14ld %12lld\n", n, ours, shell, shell > 0 ? ours / shell : 0.0,
                    before, peak, QFileInfo(target).size() / 1024);
    }
    return 0;
}
