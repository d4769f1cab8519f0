// The signing library: signs the information file with the broker's private key and appends the signature line.
#include "kfirma32.h"

#include "LlavePrivada.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
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
    return KFIRMA32_FIRMADO;
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
    if (!firmantes)
        return KFIRMA32_LLAVE_INVALIDA;
    const int result = archivo ? sign(archivo, firmantes[0]) : KFIRMA32_SIN_ARCHIVO;
    clearPasswords(firmantes);
    return result;
}

} // extern "C"
