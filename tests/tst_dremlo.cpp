// Dremlo and the program's start erase the unsigned files listed in ENVIO/Borra.txt, and nothing outside ENVIO
// whatever the list names or is.
#include "support/TestSupport.h"
#include "tools/dremlo/Borra.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <sstream>

class TestDremlo : public QObject {
    Q_OBJECT

private slots:
    void erasesOnlyInsideEnvio() {
        QTemporaryDir dir;
        const QDir envio(dir.filePath("ENVIO"));
        QVERIFY(QDir().mkpath(envio.filePath("sub")) && QDir().mkpath(dir.filePath("otra")));
        for (const QString& f : {dir.filePath("fuera.txt"), dir.filePath("otra/victima.txt"), envio.filePath("470.txt"),
                                 envio.filePath("3012.txt"), envio.filePath("victima.txt")})
            writeFile(f, "x");
        QVERIFY(QFile::link(dir.filePath("fuera.txt"), envio.filePath("enlace.txt")));
        QVERIFY(QFile::link(dir.filePath("otra/sub"), envio.filePath("lnk")));
        QVERIFY(QDir().mkpath(dir.filePath("otra/sub")));
        // A byte order mark, a full path, a relative name, ways out through ".." and through a link to a folder
        // outside, a link out, a folder, a file outside.
        writeFile(envio.filePath("Borra.txt"), "\xEF\xBB\xBF" + envio.filePath("470.txt").toUtf8() +
                                                   "\r\n3012.txt\r\n../fuera.txt\r\nlnk/../victima.txt\r\n"
                                                   "enlace.txt\r\nsub\r\n" +
                                                   dir.filePath("fuera.txt").toUtf8() + "\r\n");
        std::ostringstream said;
        QCOMPARE(dremlo::borraListados(std::filesystem::canonical(envio.path().toStdString()), said), 2);
        QCOMPARE(envio.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList({"enlace.txt", "lnk", "sub", "victima.txt"}));
        QCOMPARE(readFile(dir.filePath("fuera.txt")), QByteArray("x"));
        QCOMPARE(readFile(dir.filePath("otra/victima.txt")), QByteArray("x"));
    }

    void refusesAListThatIsNoSmallFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a FIFO") << "fifo";
        QTest::newRow("larger than 4 MB") << "grande";
        QTest::newRow("a link") << "enlace";
    }
    void refusesAListThatIsNoSmallFile() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString list = dir.filePath("Borra.txt");
        writeFile(dir.filePath("3012.txt"), "x");
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(list).constData(), 0600), 0);
        else if (kind == "grande")
            writeFile(list, "3012.txt\r\n" + QByteArray(4 * 1024 * 1024, '\n'));
        else
            QVERIFY(QFile::link(writeFile(dir.filePath("otra.txt"), "3012.txt\r\n"), list));
        std::ostringstream said;
        QCOMPARE(dremlo::borraListados(std::filesystem::canonical(dir.path().toStdString()), said), 2);
        QVERIFY(said.str().find("no se lee la lista") != std::string::npos);
        QVERIFY(QFile::exists(dir.filePath("3012.txt")));
    }
};

QTEST_MAIN(TestDremlo)
#include "tst_dremlo.moc"
