// Dremlo erases the unsigned files listed in ENVIO/Borra.txt, and nothing outside ENVIO whatever the list names.
#include "support/TestSupport.h"
#include "tools/dremlo/Borra.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sstream>

class TestDremlo : public QObject {
    Q_OBJECT

private slots:
    void erasesOnlyInsideEnvio() {
        QTemporaryDir dir;
        const QDir envio(dir.filePath("ENVIO"));
        QVERIFY(QDir().mkpath(envio.filePath("sub")));
        for (const QString& f : {dir.filePath("fuera.txt"), envio.filePath("470.txt"), envio.filePath("3012.txt")})
            writeFile(f, "x");
        QVERIFY(QFile::link(dir.filePath("fuera.txt"), envio.filePath("enlace.txt")));
        // A byte order mark, a relative name, a way out through "..", a link out, the folder, a file outside.
        writeFile(envio.filePath("Borra.txt"), "\xEF\xBB\xBF" + envio.filePath("470.txt").toUtf8() +
                                                   "\r\n3012.txt\r\n../fuera.txt\r\nenlace.txt\r\n" +
                                                   envio.filePath("sub").toUtf8() + "\r\n" +
                                                   dir.filePath("fuera.txt").toUtf8() + "\r\n");
        std::ostringstream said;
        QCOMPARE(dremlo::borraListados(std::filesystem::canonical(envio.path().toStdString()), said), 2);
        QCOMPARE(envio.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList({"enlace.txt", "sub"}));
        QCOMPARE(readFile(dir.filePath("fuera.txt")), QByteArray("x"));
    }
};

QTEST_MAIN(TestDremlo)
#include "tst_dremlo.moc"
