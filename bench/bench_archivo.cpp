// Writing the information file for 1,000, 10,000 and 100,000 representatives (two addresses, one customs office
// and one declaration each), against the sqlite3 shell writing the same tables pipe-separated from the same
// database. Prints the time ratio and the peak memory while writing, which must not grow with the rows.
#include "data/BaseDatos.h"
#include "export/ArchivoInformacion.h"
#include "platform/Database.h"
#include "platform/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

// The rows are made by the engine itself, so that filling 100,000 representatives takes seconds, not minutes.
void fill(Database& db, int representatives) {
    Transaction t(db);
    db.exec("insert into AA values (3012,'MARIA','GOMEZ','RUIZ','GORM700215KX3','GORM700215MDFMZR05',0,470)");
    db.exec("insert into Domicilios_AA values (1,'09',15,'AV. REFORMA','120','','CENTRO','06000','5555123456','')");
    db.exec("insert into Domicilios_AA values (2,'09',15,'AV. REFORMA','120','','CENTRO','06000','5555123456','')");
    const QString numbers = QStringLiteral("with recursive c(n) as (select 1 union all select n+1 from c where n<?) ");
    db.exec(numbers + "insert into Mandatarios select printf('CURP%014d',n), printf('RFC%010d',n), 'JOSÉ', "
                      "'MUÑOZ', 'PEÑA', 1 + n % 3, printf('/req/RFC%010d.REQ',n), n % 2, 1 from c",
            {representatives});
    for (int tipo : {1, 2})
        db.exec(numbers + "insert into Domicilios_MM select printf('CURP%014d',n), '09', 15, 'CALLE 5', '33', null, "
                          "'ROMA', '06700', '5555987654', null, ? from c",
                {representatives, tipo});
    db.exec(numbers + "insert into Aduanas_MM select printf('CURP%014d',n), 470 from c", {representatives});
    db.exec(numbers + "insert into Pedimentos_MM select printf('CURP%014d',n), 470, printf('%07d',n), "
                      "'2000-11-30' from c",
            {representatives});
    t.commit();
}

qint64 statusKb(const char* field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    return -1;
}

// Lets VmHWM start again from the present size (Linux 4.0 on).
void resetPeak() {
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double bestOf3(const std::function<bool()>& run) {
    double best = 1e18;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!run())
            return -1;
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString sqlite3 = QStandardPaths::findExecutable("sqlite3");
    std::printf("%14s %12s %12s %8s %14s %14s %12s\n", "representantes", "tolvek ms", "sqlite3 ms", "razón",
                "RSS antes KB", "pico KB", "archivo KB");
    for (int n : {1000, 10000, 100000}) {
        QTemporaryDir dir;
        QString error;
        auto db = openTolvekDatabase(dir.path(), &error);
        if (!db) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        fill(*db, n);
        const QString target = dir.filePath("3012.txt");

        const qint64 before = statusKb("VmRSS:");
        resetPeak();
        const double ours = bestOf3([&] {
            AtomicFile file(target);
            QString message;
            if (!file.open() || !Escribe_Archivo(*db, "3012", file.device(), &message) || !file.commit()) {
                std::fprintf(stderr, "%s\n", qPrintable(message.isEmpty() ? file.errorString() : message));
                return false;
            }
            return true;
        });
        const qint64 peak = statusKb("VmHWM:");

        double shell = -1;
        if (!sqlite3.isEmpty()) {
            QString script = ".mode list\n.separator |\n.output " + dir.filePath("sqlite3.txt") + "\n";
            for (const char* table : {"AA", "Domicilios_AA", "Mandatarios", "Domicilios_MM", "Aduanas_MM",
                                      "Pedimentos_MM", "Historico_AA", "Periodos_H_AA", "Periodos_H_MM"})
                script += QStringLiteral("select * from %1;\n").arg(table);
            shell = bestOf3([&] {
                QProcess p;
                p.start(sqlite3, {"-batch", db->path()});
                p.write(script.toUtf8());
                p.closeWriteChannel();
                return p.waitForFinished(-1) && p.exitCode() == 0;
            });
        }
        std::printf("%14d %12.1f %12.1f %8.2f %14lld %14lld %12lld\n", n, ours, shell, shell > 0 ? ours / shell : 0.0,
                    before, peak, QFileInfo(target).size() / 1024);
    }
    return 0;
}
