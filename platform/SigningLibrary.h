#pragma once

#include "tools/kfirma32/kfirma32.h"

#include <QString>

// The signing library kfirma32, loaded by name from the program folder the first time it is needed.
class SigningLibrary {
public:
    // The library of that folder, or nullptr with the reason in `error` (not found, or a function missing).
    // A failed load is tried again on the next call, so the broker can mend the installation and retry.
    static SigningLibrary* load(const QString& programFolder, QString* error);

    int BuscaCurps(char* path, Firmante* firmantes) const { return buscaCurps_(path, firmantes); }
    int GeneraFirmaDigital(char* path, Firmante* firmantes) const { return generaFirma_(path, firmantes); }

private:
    SigningLibrary(BuscaCurpsFn buscaCurps, GeneraFirmaDigitalFn generaFirma)
        : buscaCurps_(buscaCurps), generaFirma_(generaFirma) {}

    BuscaCurpsFn buscaCurps_;
    GeneraFirmaDigitalFn generaFirma_;
};

inline const QString kSigningLibraryName = QStringLiteral("kfirma32");
