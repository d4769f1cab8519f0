// The signing library's opening of the key file, fed any bytes with the password of the seed keys.
#include "tools/kfirma32/LlavePrivada.h"
#include "tools/kfirma32/kfirma32.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char password[] = "Contraseña 2004";
    kfirma32::PKey key;
    const int code = kfirma32::openKey(data, size, password, sizeof password - 1, key);
    if ((code == KFIRMA32_FIRMADO) != bool(key))
        std::abort();
    return 0;
}
