#pragma once

#include "tools/kfirma32/kfirma32.h"

#include "platform/Falla.h"

#include <QString>

#include <memory>

class QLibrary;

// The signing library kfirma32, loaded by name from the program folder the first time it is needed.
class SigningLibrary {
public:
    // The library of that folder; throws Falla with the system's reason when it cannot be used (not found, or a
    // function missing). A failed load is tried again on the next call, so the broker can mend the installation and
    // retry.
    static SigningLibrary& load(const QString& programFolder);

    int BuscaCurps(char* path, Firmante* firmantes) const { return buscaCurps_(path, firmantes); }
    int GeneraFirmaDigital(char* path, Firmante* firmantes) const { return generaFirma_(path, firmantes); }
    int VerificaFirmaDigital(char* path) const { return verificaFirma_(path); }

    ~SigningLibrary();

private:
    SigningLibrary(std::unique_ptr<QLibrary> library, BuscaCurpsFn buscaCurps, GeneraFirmaDigitalFn generaFirma,
                   VerificaFirmaDigitalFn verificaFirma);

    // Kept only to be freed at exit: destroying a QLibrary leaves its code loaded.
    std::unique_ptr<QLibrary> library_;
    BuscaCurpsFn buscaCurps_;
    GeneraFirmaDigitalFn generaFirma_;
    VerificaFirmaDigitalFn verificaFirma_;
};

inline const QString kSigningLibraryName = QStringLiteral("kfirma32");
