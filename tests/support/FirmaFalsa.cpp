// A signing library that reports success for a signature line no key made, as a broken or tampered installation
// would: the program must not take the file for signed.
#include "tools/kfirma32/kfirma32.h"

#include <cstdio>

extern "C" {

KFIRMA32_API int BuscaCurps(char*, Firmante*) {
    return 0;
}

KFIRMA32_API int GeneraFirmaDigital(char* archivo, Firmante*) {
    std::FILE* f = std::fopen(archivo, "ab");
    return f && std::fputs("FIRMA|LOTP751120HDFPRD02|AAAA\r\n", f) >= 0 && std::fclose(f) == 0 ? KFIRMA32_FIRMADO
                                                                                               : KFIRMA32_SIN_ARCHIVO;
}

KFIRMA32_API int VerificaFirmaDigital(char*) {
    return 0;
}
}
