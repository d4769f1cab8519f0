#include "data/Respaldos.h"
#include "platform/Database.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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

    void copyIsTheDatabase() {
        storeBroker(*db_);
        QCOMPARE(respaldos().diario(), QString());
        QCOMPARE(copias(), QStringList{hoy_});
        QCOMPARE(dumpAll(*Database::open(QDir(carpeta()).filePath(hoy_))), dumpAll(*db_));
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
        QCOMPARE(respaldos().diario(), QString());
        QCOMPARE(copias().contains(hoy_), made);
        QCOMPARE(copias().size(), (hoursAgo != 0) + made);
    }

    void keepsTheNewestTen() {
        for (int days = 2; days <= 12; ++days)
            dejaCopia(now_.addDays(-days));
        QCOMPARE(respaldos().respalda(), QString());
        QCOMPARE(copias().size(), Respaldos::kGuardados);
        QCOMPARE(copias().first(), QString("tolvek-20240507-093005.mdb"));
        QCOMPARE(copias().last(), hoy_);
    }

    void failureToldNotThrown() {
        // A file where the folder should be: no copy can be made there.
        QVERIFY(QFile(carpeta()).open(QIODevice::WriteOnly));
        const QString told = respaldos().diario();
        QVERIFY2(told.startsWith("No se pudo hacer la copia de respaldo de la base de datos"), qPrintable(told));
        QVERIFY(db_->exists("select 1 from EntFed"));
    }

private:
    Respaldos respaldos() {
        return Respaldos(*db_, [this] { return now_; });
    }
    QString carpeta() const { return dir_->filePath("respaldos"); }
    QStringList copias() const { return QDir(carpeta()).entryList(QDir::Files, QDir::Name); }
    void dejaCopia(const QDateTime& hecha) {
        QVERIFY(QDir().mkpath(carpeta()));
        QFile file(QDir(carpeta()).filePath(hecha.toString("'tolvek-'yyyyMMdd-HHmmss'.mdb'")));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    const QDateTime now_{QDate(2024, 5, 17), QTime(9, 30, 5)};
    const QString hoy_ = "tolvek-20240517-093005.mdb";
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Database> db_;
};

QTEST_MAIN(TestRespaldos)
#include "tst_respaldos.moc"
