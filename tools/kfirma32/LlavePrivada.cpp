#include "LlavePrivada.h"

#include "kfirma32.h"

#include <openssl/asn1.h>
#include <openssl/objects.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/x509.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace kfirma32 {
namespace {

template <typename T, void (*Free)(T*)> struct Deleter {
    void operator()(T* p) const { Free(p); }
};
using Sig = std::unique_ptr<X509_SIG, Deleter<X509_SIG, X509_SIG_free>>;
using KeyInfo = std::unique_ptr<PKCS8_PRIV_KEY_INFO, Deleter<PKCS8_PRIV_KEY_INFO, PKCS8_PRIV_KEY_INFO_free>>;
using Bio = std::unique_ptr<BIO, Deleter<BIO, BIO_free_all>>;
using Pbe = std::unique_ptr<PBEPARAM, Deleter<PBEPARAM, PBEPARAM_free>>;
using Pbe2 = std::unique_ptr<PBE2PARAM, Deleter<PBE2PARAM, PBE2PARAM_free>>;
using Pbkdf2 = std::unique_ptr<PBKDF2PARAM, Deleter<PBKDF2PARAM, PBKDF2PARAM_free>>;
using Scrypt = std::unique_ptr<SCRYPT_PARAMS, Deleter<SCRYPT_PARAMS, SCRYPT_PARAMS_free>>;

// The authority's keys use a few thousand PBKDF2 rounds. A file asking for billions would hold the program for
// hours before the password is even tried, so derivations beyond these bounds are refused unread.
constexpr std::uint64_t kMaxIterations = 10'000'000;
constexpr std::uint64_t kMaxScryptN = std::uint64_t(1) << 20;
constexpr std::uint64_t kMaxScryptR = 32;
constexpr std::uint64_t kMaxScryptP = 16;
constexpr std::uint64_t kMaxScryptWork = std::uint64_t(1) << 20; // N * r * p

struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
};

template <typename P> P unpack(const ASN1_ITEM* item, const X509_ALGOR* alg) {
    if (!alg || !alg->parameter || alg->parameter->type != V_ASN1_SEQUENCE)
        return nullptr;
    return P(static_cast<typename P::pointer>(ASN1_TYPE_unpack_sequence(item, alg->parameter)));
}

bool atMost(const ASN1_INTEGER* value, std::uint64_t limit) {
    std::uint64_t n = 0;
    return value && ASN1_INTEGER_get_uint64(&n, value) == 1 && n <= limit;
}

bool boundedPbes2(const X509_ALGOR* alg) {
    const Pbe2 pbe2 = unpack<Pbe2>(ASN1_ITEM_rptr(PBE2PARAM), alg);
    if (!pbe2 || !pbe2->keyfunc)
        return false;
    switch (OBJ_obj2nid(pbe2->keyfunc->algorithm)) {
    case NID_id_pbkdf2: {
        const Pbkdf2 kdf = unpack<Pbkdf2>(ASN1_ITEM_rptr(PBKDF2PARAM), pbe2->keyfunc);
        return kdf && atMost(kdf->iter, kMaxIterations);
    }
    case NID_id_scrypt: {
        const Scrypt kdf = unpack<Scrypt>(ASN1_ITEM_rptr(SCRYPT_PARAMS), pbe2->keyfunc);
        std::uint64_t n = 0, r = 0, p = 0;
        return kdf && ASN1_INTEGER_get_uint64(&n, kdf->costParameter) == 1 &&
               ASN1_INTEGER_get_uint64(&r, kdf->blockSize) == 1 &&
               ASN1_INTEGER_get_uint64(&p, kdf->parallelizationParameter) == 1 && n <= kMaxScryptN &&
               r <= kMaxScryptR && p <= kMaxScryptP && n * r * p <= kMaxScryptWork;
    }
    default:
        return false;
    }
}

// Whether deriving the key of this encrypted key stays within the bounds above; what cannot be read is refused.
bool boundedDerivation(const X509_SIG* encrypted) {
    const X509_ALGOR* alg = nullptr;
    X509_SIG_get0(encrypted, &alg, nullptr);
    if (!alg)
        return false;
    if (OBJ_obj2nid(alg->algorithm) == NID_pbes2)
        return boundedPbes2(alg);
    // PKCS#5 v1 and PKCS#12 schemes: salt and iteration count.
    const Pbe pbe = unpack<Pbe>(ASN1_ITEM_rptr(PBEPARAM), alg);
    return pbe && atMost(pbe->iter, kMaxIterations);
}

// The authority issues keys as encrypted PKCS#8 in DER; the PEM form of the same is accepted too.
Sig readEncryptedKey(const unsigned char* bytes, std::size_t size) {
    const unsigned char* p = bytes;
    Sig sig(d2i_X509_SIG(nullptr, &p, long(size)));
    if (sig)
        return sig;
    Bio bio(BIO_new_mem_buf(bytes, int(size)));
    if (!bio)
        return nullptr;
    return Sig(PEM_read_bio_PKCS8(bio.get(), nullptr, nullptr, nullptr));
}

} // namespace

bool readKeyFile(const std::string& path, SecretBuffer& out) {
    // Opened without blocking, so that a FIFO named as the key cannot hold the open until a writer comes.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const FdCloser closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > off_t(kMaxKeyFileSize))
        return false;
    // The file may grow after the check: one byte more than allowed is enough to tell.
    out.bytes.resize(kMaxKeyFileSize + 1);
    std::size_t total = 0;
    while (total < out.bytes.size()) {
        const ssize_t n = ::read(fd, out.bytes.data() + total, out.bytes.size() - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        total += std::size_t(n);
    }
    if (total > kMaxKeyFileSize)
        return false;
    out.bytes.resize(total);
    return true;
}

int openKey(const unsigned char* bytes, std::size_t size, const char* password, std::size_t passwordLength, PKey& key) {
    if (size > kMaxKeyFileSize)
        return KFIRMA32_LLAVE_INVALIDA;
    const Sig encrypted = readEncryptedKey(bytes, size);
    if (!encrypted || !boundedDerivation(encrypted.get()))
        return KFIRMA32_LLAVE_INVALIDA;
    const KeyInfo info(PKCS8_decrypt(encrypted.get(), password, int(passwordLength)));
    if (!info)
        return KFIRMA32_PASSWORD_INCORRECTO;
    key.reset(EVP_PKCS82PKEY(info.get()));
    return key ? KFIRMA32_FIRMADO : KFIRMA32_LLAVE_INVALIDA;
}

} // namespace kfirma32
