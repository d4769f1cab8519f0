#include "BenchSupport.h"

#include "data/Schema.h"
#include "platform/Database.h"
#include "platform/Process.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

void fillBrokerage(Database& db, int representatives) {
    using namespace col;
    Transaction t(db);
    tabla::AA.inserta(db, {Patente, Nombre, ApPaterno, ApMaterno, RFC, CURP, Autorizacion, Adscripcion},
                      {3012, "MARIA", "GOMEZ", "RUIZ", "GORM700215KX3", "GORM700215MDFMZR05", 0, 470});
    for (int tipo : {1, 2})
        tabla::Domicilios_AA.inserta(
            db, {Tipo_Dom, EntFed, MDeleg, Calle, NoExt, NoInt, Colonia, CP, Telefono, Fax},
            {tipo, "09", 15, "AV. REFORMA", "120", "", "CENTRO", "06000", "5555123456", "5555123457"});
    // The rows are made by the engine's printf, n counting them; its patterns are spliced after the names.
    const auto rows = [&](const QString& table, std::initializer_list<QString> columns, const QString& values,
                          const QVariant& value = {}) {
        db.exec(QStringLiteral("with recursive c(n) as (select 1 union all select n+1 from c where n<?) "
                               "insert into %1(%2) select %3 from c")
                    .arg(table, QStringList(columns).join(QLatin1Char(',')), values),
                value.isValid() ? QVariantList{representatives, value} : QVariantList{representatives});
    };
    rows(tabla::Mandatarios,
         {CURP, RFC, Nombre, ApPaterno, ApMaterno, col::Mandato, Requerimiento, Acreditacion, Operando},
         "printf('CURP%014d',n), printf('RFC%010d',n), 'JOSÉ', 'MUÑOZ', 'PEÑA', 1 + n % 3, "
         "printf('/req/RFC%010d.REQ',n), n % 2, 1");
    for (int tipo : {1, 2})
        rows(tabla::Domicilios_MM, {CURP, EntFed, MDeleg, Calle, NoExt, Colonia, CP, Telefono, Tipo_Dom},
             "printf('CURP%014d',n), '09', 15, 'CALLE 5', '33', 'ROMA', '06700', '5555987654', ?", tipo);
    rows(tabla::Aduanas_MM, {CURP, NoAduana}, "printf('CURP%014d',n), 470");
    rows(tabla::Pedimentos_MM, {CURP, NoAduana, NoPedimento, FechPedimento},
         "printf('CURP%014d',n), 470, printf('%07d',n), '2000-11-30'");
    t.commit();
}

long statusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    return -1;
}

void resetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double bestMs(int rounds, const std::function<bool()>& run) {
    double best = 1e18;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!run())
            return -1;
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool runSqlite3(const QString& shell, const QString& database, const QStringList& commands) {
    const ProgramRun run =
        runProgram(shell, QFileInfo(database).absolutePath(), -1,
                   QStringList{QStringLiteral("-bail"), QStringLiteral("-batch"), database} + commands);
    if (run.outcome == ProgramRun::Outcome::Finished && run.errorText.isEmpty())
        return true;
    std::fprintf(stderr, "sqlite3: %s\n", qPrintable(run.errorText));
    return false;
}
