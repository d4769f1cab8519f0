#include "platform/SigningLibrary.h"

#include <QDir>
#include <QLibrary>

#include <map>
#include <memory>

SigningLibrary* SigningLibrary::load(const QString& programFolder, QString* error) {
    static std::map<QString, std::unique_ptr<SigningLibrary>> loaded;
    const QString base = QDir(programFolder).filePath(kSigningLibraryName);
    if (auto found = loaded.find(base); found != loaded.end())
        return found->second.get();

    // Never unloaded: the run may sign again, and the code must stay mapped while we hold its functions. The
    // handles are kept only to be freed at exit; destroying a QLibrary leaves its code loaded.
    static std::map<QString, std::unique_ptr<QLibrary>> handles;
    auto library = std::make_unique<QLibrary>(base);
    if (!library->load()) {
        if (error)
            *error = library->errorString();
        return nullptr;
    }
    auto buscaCurps = reinterpret_cast<BuscaCurpsFn>(library->resolve("BuscaCurps"));
    auto generaFirma = reinterpret_cast<GeneraFirmaDigitalFn>(library->resolve("GeneraFirmaDigital"));
    if (!buscaCurps || !generaFirma) {
        if (error)
            *error = QStringLiteral("a la biblioteca %1 le falta la función %2")
                         .arg(QDir::toNativeSeparators(library->fileName()),
                              buscaCurps ? QStringLiteral("GeneraFirmaDigital") : QStringLiteral("BuscaCurps"));
        library->unload();
        return nullptr;
    }
    handles[base] = std::move(library);
    auto& slot = loaded[base];
    slot.reset(new SigningLibrary(buscaCurps, generaFirma));
    return slot.get();
}
