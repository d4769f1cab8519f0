#include "platform/SigningLibrary.h"

#include <QDir>
#include <QLibrary>

#include <map>
#include <memory>

SigningLibrary::SigningLibrary(std::unique_ptr<QLibrary> library, BuscaCurpsFn buscaCurps,
                               GeneraFirmaDigitalFn generaFirma, VerificaFirmaDigitalFn verificaFirma)
    : library_(std::move(library)), buscaCurps_(buscaCurps), generaFirma_(generaFirma), verificaFirma_(verificaFirma) {}

SigningLibrary::~SigningLibrary() = default;

SigningLibrary& SigningLibrary::load(const QString& programFolder) {
    static std::map<QString, std::unique_ptr<SigningLibrary>> loaded;
    const QString base = QDir(programFolder).filePath(kSigningLibraryName);
    if (auto found = loaded.find(base); found != loaded.end())
        return *found->second;

    // Never unloaded: the run may sign again, and the code must stay mapped while we hold its functions.
    auto library = std::make_unique<QLibrary>(base);
    if (!library->load())
        throw Falla(library->errorString());
    auto buscaCurps = reinterpret_cast<BuscaCurpsFn>(library->resolve("BuscaCurps"));
    auto generaFirma = reinterpret_cast<GeneraFirmaDigitalFn>(library->resolve("GeneraFirmaDigital"));
    auto verificaFirma = reinterpret_cast<VerificaFirmaDigitalFn>(library->resolve("VerificaFirmaDigital"));
    const char* missing = !buscaCurps      ? "BuscaCurps"
                          : !generaFirma   ? "GeneraFirmaDigital"
                          : !verificaFirma ? "VerificaFirmaDigital"
                                           : nullptr;
    if (missing) {
        const QString falta = QStringLiteral("a la biblioteca %1 le falta la función %2")
                                  .arg(QDir::toNativeSeparators(library->fileName()), QLatin1String(missing));
        library->unload();
        throw Falla(falta);
    }
    auto& slot = loaded[base];
    slot.reset(new SigningLibrary(std::move(library), buscaCurps, generaFirma, verificaFirma));
    return *slot;
}
