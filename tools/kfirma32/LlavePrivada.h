// Reading and opening the broker's private key, apart from the signing so that hostile key files can be fed to it
// directly.
#pragma once

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace kfirma32 {

// The authority's .key files are a couple of kilobytes; a file past this size is no key and is never read whole.
inline constexpr std::size_t kMaxKeyFileSize = 64 * 1024;

// A buffer that may hold key material: cleared before its memory is given back.
struct SecretBuffer {
    std::vector<unsigned char> bytes;
    ~SecretBuffer() {
        if (!bytes.empty())
            OPENSSL_cleanse(bytes.data(), bytes.size());
    }
};

struct PKeyFree {
    void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
};
using PKey = std::unique_ptr<EVP_PKEY, PKeyFree>;

// The key file's bytes; false when it cannot be read or is not a regular file of at most kMaxKeyFileSize bytes.
bool readKeyFile(const std::string& path, SecretBuffer& out);

// Opens the encrypted PKCS#8 key (DER or PEM) with the password. Gives KFIRMA32_FIRMADO with the key in `key`,
// KFIRMA32_LLAVE_INVALIDA or KFIRMA32_PASSWORD_INCORRECTO.
int openKey(const unsigned char* bytes, std::size_t size, const char* password, std::size_t passwordLength, PKey& key);

} // namespace kfirma32
