// The signing library: signs the information file with the broker's private key and appends the signature line.
#include "kfirma32.h"

#include "LlavePrivada.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

template <typename T, void (*Free)(T*)> struct Deleter {
    void operator()(T* p) const { Free(p); }
};
using MdCtx = std::unique_ptr<EVP_MD_CTX, Deleter<EVP_MD_CTX, EVP_MD_CTX_free>>;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A record field: its value ends at the first NUL; a value that fills the field has none.
std::string fieldText(const char* field, std::size_t size) {
    return std::string(field, strnlen(field, size));
}

// Blanks that padded a value past its NUL are not part of it; a value cut at the field's size keeps them.
std::size_t fieldLength(const char* field, std::size_t size) {
    return strnlen(field, size);
}

// The signature line is "FIRMA|", a CURP and the Base64 of one signature: a few hundred bytes for the authority's
// keys. A last line longer than this is no signature line of ours.
constexpr long kMaxSignatureLine = 4096;

// The public half of the key the last successful signing used. The program checks the line it was given against
// it without handing over the key file and its password a second time.
std::mutex lastKeyMutex;
kfirma32::PKey lastKey;

void rememberKey(kfirma32::PKey key) {
    const std::lock_guard lock(lastKeyMutex);
    lastKey = std::move(key);
}

kfirma32::PKey publicHalf(EVP_PKEY* key) {
    unsigned char* der = nullptr;
    const int size = i2d_PUBKEY(key, &der);
    if (size <= 0)
        return nullptr;
    const unsigned char* p = der;
    kfirma32::PKey pub(d2i_PUBKEY(nullptr, &p, size));
    OPENSSL_free(der);
    return pub;
}

void clearPasswords(Firmante* firmantes) {
    for (int i = 0; i < KFIRMA32_FIRMANTES; ++i)
        OPENSSL_cleanse(firmantes[i].Password, sizeof firmantes[i].Password);
}

int sign(const char* archivo, Firmante& firmante) {
    const std::string path(archivo);
    File data(std::fopen(path.c_str(), "rb"));
    if (!data)
        return KFIRMA32_SIN_ARCHIVO;

    kfirma32::PKey key;
    {
        kfirma32::SecretBuffer keyFile;
        if (!kfirma32::readKeyFile(fieldText(firmante.Llave, sizeof firmante.Llave), keyFile))
            return KFIRMA32_LLAVE_INVALIDA;
        const int opened = kfirma32::openKey(keyFile.bytes.data(), keyFile.bytes.size(), firmante.Password,
                                             fieldLength(firmante.Password, sizeof firmante.Password), key);
        if (opened != KFIRMA32_FIRMADO)
            return opened;
    }

    MdCtx ctx(EVP_MD_CTX_new());
    if (!ctx || EVP_DigestSignInit(ctx.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1)
        return KFIRMA32_LLAVE_INVALIDA;
    std::vector<unsigned char> chunk(1 << 16);
    std::size_t n;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), data.get())) > 0)
        if (EVP_DigestSignUpdate(ctx.get(), chunk.data(), n) != 1)
            return KFIRMA32_LLAVE_INVALIDA;
    if (std::ferror(data.get()))
        return KFIRMA32_SIN_ARCHIVO;
    const long signedSize = std::ftell(data.get());
    data.reset();

    std::size_t signatureSize = 0;
    if (EVP_DigestSignFinal(ctx.get(), nullptr, &signatureSize) != 1)
        return KFIRMA32_LLAVE_INVALIDA;
    std::vector<unsigned char> signature(signatureSize);
    if (EVP_DigestSignFinal(ctx.get(), signature.data(), &signatureSize) != 1)
        return KFIRMA32_LLAVE_INVALIDA;
    signature.resize(signatureSize);

    std::vector<unsigned char> base64(4 * ((signature.size() + 2) / 3) + 1);
    const int base64Size = EVP_EncodeBlock(base64.data(), signature.data(), int(signature.size()));

    // The signature covers every byte before this line, so a verifier cuts the last line off and checks the rest.
    std::string line = "FIRMA|" + fieldText(firmante.Curp_Firmante, sizeof firmante.Curp_Firmante) + "|";
    line.append(reinterpret_cast<const char*>(base64.data()), std::size_t(base64Size));
    line += "\r\n";

    File out(std::fopen(path.c_str(), "ab"));
    if (!out)
        return KFIRMA32_ERROR_ESCRITURA;
    const bool written =
        std::fwrite(line.data(), 1, line.size(), out.get()) == line.size() && std::fflush(out.get()) == 0;
    out.reset();
    if (!written) {
        // A half-written signature line would make the file look signed; give back the file as it was.
        std::error_code ignored;
        std::filesystem::resize_file(path, std::uintmax_t(signedSize), ignored);
        return KFIRMA32_ERROR_ESCRITURA;
    }
    rememberKey(publicHalf(key.get()));
    return KFIRMA32_FIRMADO;
}

// The Base64 of the signature line, decoded; empty when it is not Base64.
std::vector<unsigned char> decodeSignature(const std::string& base64) {
    if (base64.empty() || base64.size() % 4 != 0)
        return {};
    std::vector<unsigned char> signature(base64.size() / 4 * 3);
    const int n =
        EVP_DecodeBlock(signature.data(), reinterpret_cast<const unsigned char*>(base64.data()), int(base64.size()));
    // EVP_DecodeBlock counts the padding as decoded zero bytes.
    const std::size_t padding = std::size_t(std::count(base64.end() - 2, base64.end(), '='));
    if (n < 0 || std::size_t(n) <= padding)
        return {};
    signature.resize(std::size_t(n) - padding);
    return signature;
}

// Whether the file's last line is the key's signature of every byte before it, read the way sign() made it.
bool verify(const char* archivo, EVP_PKEY* key) {
    File data(std::fopen(archivo, "rb"));
    if (!data || std::fseek(data.get(), 0, SEEK_END) != 0)
        return false;
    const long size = std::ftell(data.get());
    const long tailStart = std::max(0L, size - kMaxSignatureLine);
    if (size < 0 || std::fseek(data.get(), tailStart, SEEK_SET) != 0)
        return false;
    std::string tail(std::size_t(size - tailStart), '\0');
    if (std::fread(tail.data(), 1, tail.size(), data.get()) != tail.size() || tail.size() < 3 ||
        tail.compare(tail.size() - 2, 2, "\r\n") != 0)
        return false;
    const std::size_t newline = tail.rfind('\n', tail.size() - 3);
    if (newline == std::string::npos && tailStart > 0)
        return false;
    const std::size_t lineStart = newline == std::string::npos ? 0 : newline + 1;
    const std::string line = tail.substr(lineStart, tail.size() - 2 - lineStart);
    const std::size_t bar = line.rfind('|');
    if (line.rfind("FIRMA|", 0) != 0 || bar <= 5)
        return false;
    const std::vector<unsigned char> signature = decodeSignature(line.substr(bar + 1));

    MdCtx ctx(EVP_MD_CTX_new());
    if (signature.empty() || !ctx || EVP_DigestVerifyInit(ctx.get(), nullptr, EVP_sha256(), nullptr, key) != 1 ||
        std::fseek(data.get(), 0, SEEK_SET) != 0)
        return false;
    std::vector<unsigned char> chunk(1 << 16);
    for (long left = tailStart + long(lineStart); left > 0;) {
        const std::size_t n =
            std::fread(chunk.data(), 1, std::min<std::size_t>(chunk.size(), std::size_t(left)), data.get());
        if (n == 0 || EVP_DigestVerifyUpdate(ctx.get(), chunk.data(), n) != 1)
            return false;
        left -= long(n);
    }
    return EVP_DigestVerifyFinal(ctx.get(), signature.data(), signature.size()) == 1;
}

} // namespace

extern "C" {

KFIRMA32_API int BuscaCurps(char* archivo, Firmante* firmantes) {
    if (!firmantes)
        return 0;
    std::memset(firmantes[0].Curp_Firmante, 0, sizeof firmantes[0].Curp_Firmante);
    if (!archivo)
        return 0;
    File f(std::fopen(archivo, "rb"));
    if (!f)
        return 0;
    // The broker's record comes right after the header: "AA|patente|Nombre|ApPaterno|ApMaterno|RFC|CURP|...".
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, f.get())) {
        std::string line(buffer);
        if (line.rfind("501|", 0) == 0)
            continue;
        if (line.rfind("AA|", 0) != 0)
            return 0;
        std::size_t start = 0;
        for (int field = 0; field < 6; ++field) {
            start = line.find('|', start);
            if (start == std::string::npos)
                return 0;
            ++start;
        }
        const std::size_t end = line.find_first_of("|\r\n", start);
        const std::string curp = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::size_t n = std::min(curp.size(), sizeof firmantes[0].Curp_Firmante - 1);
        std::memcpy(firmantes[0].Curp_Firmante, curp.data(), n);
        return 1;
    }
    return 0;
}

KFIRMA32_API int GeneraFirmaDigital(char* archivo, Firmante* firmantes) {
    // A signing that fails leaves nothing to verify against, so the line of an earlier one cannot pass for it.
    rememberKey(nullptr);
    if (!firmantes)
        return KFIRMA32_LLAVE_INVALIDA;
    const int result = archivo ? sign(archivo, firmantes[0]) : KFIRMA32_SIN_ARCHIVO;
    clearPasswords(firmantes);
    return result;
}

KFIRMA32_API int VerificaFirmaDigital(char* archivo) {
    const std::lock_guard lock(lastKeyMutex);
    return archivo && lastKey && verify(archivo, lastKey.get()) ? 1 : 0;
}

} // extern "C"
