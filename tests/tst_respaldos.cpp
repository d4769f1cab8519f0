#include "app/AcercaDe.h"
#include "data/Respaldos.h"
#include "platform/Database.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h> // umask

// The copies of a real database file, with a clock the test sets.
class TestRespaldos : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        db_ = openDatabase(dir_->path());
    }

    void cleanup() {
        db_.reset();
        dir_.reset();
    }

    // The copy holds the data, only its owner may read it or enter its folder, and a copy broken off before goes.
    void copyIsTheDatabase() {
        storeBroker(*db_);
        dejaCopia({}, "respaldo.parcial");
        dejaCopia({}, "respaldo.parcial-journal");
        const mode_t umask = ::umask(0);
        respaldos().diario();
        ::umask(umask);
        QCOMPARE(copias(), QStringList{hoy_});
        QCOMPARE(dumpAll(*Database::open(QDir(carpeta()).filePath(hoy_))), dumpAll(*db_));
        QCOMPARE(fileMode(QDir(carpeta()).filePath(hoy_)), 0600);
        QCOMPARE(fileMode(carpeta()), 0700);
        // "Acerca de TOLVEK 3" tells it.
        QVERIFY(acercaDe(dir_->path(), db_.get()).contains("respaldo: " + now_.toString("dd/MM/yyyy HH:mm:ss")));
    }

    // The end of a run copies only what it wrote.
    void closingCopiesWhatWasWritten() {
        respaldos().alCerrar();
        QVERIFY(copias().isEmpty());
        storeBroker(*db_);
        respaldos().alCerrar();
        QCOMPARE(copias(), QStringList{hoy_});
    }

    void madeWhenNewestIsADayOld_data() {
        QTest::addColumn<int>("hoursAgo"); // the newest copy's age; 0 for none
        QTest::addColumn<bool>("made");
        QTest::newRow("none") << 0 << true;
        QTest::newRow("23 hours") << 23 << false;
        QTest::newRow("25 hours") << 25 << true;
        // A copy dated ahead of the clock says nothing of the data's age.
        QTest::newRow("ahead of the clock") << -2 << true;
    }

    void madeWhenNewestIsADayOld() {
        QFETCH(int, hoursAgo);
        QFETCH(bool, made);
        if (hoursAgo != 0)
            dejaCopia(now_.addSecs(-3600 * hoursAgo));
        respaldos().diario();
        QCOMPARE(copias().contains(hoy_), made);
        QCOMPARE(copias().size(), (hoursAgo != 0) + made);
    }

    // The newest ten, and the newest of each of the last thirty days.
    void keepsTenAndOnePerDay() {
        for (int hour : {6, 7, 8})
            dejaCopia(now_.addDays(-1).addSecs(-3600 * hour));
        for (int days = 2; days <= 40; ++days)
            dejaCopia(now_.addDays(-days));
        dejaCopia(now_.addDays(-15).addSecs(-3600));
        respaldos().respalda();
        const QStringList kept = copias();
        QCOMPARE(kept.size(), 32);
        QCOMPARE(kept.first(), QString("tolvek-20240418-093005.mdb"));
        QVERIFY(!kept.contains("tolvek-20240502-083005.mdb"));
        QCOMPARE(kept.last(), hoy_);
    }

    void failureTold() {
        // A file where the folder should be: no copy can be made there.
        QVERIFY(QFile(carpeta()).open(QIODevice::WriteOnly));
        QVERIFY(diarioDice().startsWith("No se pudo hacer la copia de respaldo de la base de datos"));
        QVERIFY(db_->exists("select 1 from EntFed"));
        // On a real disk smaller than the copy, nothing of the copy is left.
        QVERIFY(QFile::remove(carpeta()) && QDir().mkdir(carpeta()));
        SMALL_DISK_OR_SKIP(disk, carpeta(), 2);
        QVERIFY(diarioDice().startsWith("No hay espacio suficiente en el disco para hacer la copia de respaldo"));
        QCOMPARE(copias(), QStringList());
    }

private:
    Respaldos respaldos() {
        return Respaldos(*db_, [this] { return now_; });
    }
    QString diarioDice() {
        return fallaDe([this] { respaldos().diario(); });
    }
    QString carpeta() const { return dir_->filePath("respaldos"); }
    QStringList copias() const { return QDir(carpeta()).entryList(QDir::Files, QDir::Name); }
    // An empty file named as the copy of that time, or given its name.
    void dejaCopia(const QDateTime& hecha, const QString& name = QString()) {
        QVERIFY(QDir().mkpath(carpeta()));
        QFile file(QDir(carpeta()).filePath(name.isEmpty() ? hecha.toString("'tolvek-'yyyyMMdd-HHmmss'.mdb'") : name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    const QDateTime now_{QDate(2024, 5, 17), QTime(9, 30, 5)};
    const QString hoy_ = "tolvek-20240517-093005.mdb";
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Database> db_;
};

QTEST_MAIN(TestRespaldos)
#include "tst_respaldos.moc"
