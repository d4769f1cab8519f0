// The import of the previous version's export, fed any bytes, each time into a fresh database.
#include "data/BaseDatos.h"
#include "import/Recupera.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> folder;

// A new database is made once and copied for every input: creating the catalogues each time would slow the run to
// a crawl.
QString templateFile() {
    return folder->filePath(QStringLiteral("nueva/") + kDatabaseFileName);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    folder = std::make_unique<QTemporaryDir>();
    QDir(folder->path()).mkpath(QStringLiteral("nueva"));
    QDir(folder->path()).mkpath(QStringLiteral("trabajo"));
    openTolvekDatabase(folder->filePath(QStringLiteral("nueva")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString work = folder->filePath(QStringLiteral("trabajo"));
    const QString database = QDir(work).filePath(kDatabaseFileName);
    QFile::remove(database);
    if (!QFile::copy(templateFile(), database))
        qFatal("cannot copy the new database");
    const QString recupera = QDir(work).filePath(kRecuperaFileName);
    QFile file(recupera);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        qFatal("cannot write the export");
    file.close();

    const auto db = openTolvekDatabase(work);
    try {
        importaRecupera(*db, recupera);
    } catch (const ImportError&) {
        // All or nothing: a refused export leaves no row behind.
        if (db->exists(QStringLiteral("select 1 from AA union all select 1 from Mandatarios")))
            std::abort();
    }
    return 0;
}
