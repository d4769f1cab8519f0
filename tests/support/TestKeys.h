#pragma once
// Keys and checks shared by the signing and generation tests: a broker key made on the spot, in the forms the
// authority issues, and a verifier that reads the appended signature line as any outside party would.

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <memory>

struct PKeyFree {
    void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
using TestKey = std::unique_ptr<EVP_PKEY, PKeyFree>;

inline TestKey makeTestKey() {
    return TestKey(EVP_RSA_gen(2048));
}

inline QByteArray bioBytes(BIO* bio) {
    char* data = nullptr;
    const long n = BIO_get_mem_data(bio, &data);
    QByteArray bytes(data, int(n));
    BIO_free(bio);
    return bytes;
}

// Encrypted PKCS#8, DER: the form of the authority's .key files.
inline QByteArray encryptedDer(EVP_PKEY* key, const QByteArray& password) {
    BIO* bio = BIO_new(BIO_s_mem());
    i2d_PKCS8PrivateKey_bio(bio, key, EVP_aes_256_cbc(), password.constData(), int(password.size()), nullptr, nullptr);
    return bioBytes(bio);
}

inline QByteArray encryptedPem(EVP_PKEY* key, const QByteArray& password) {
    BIO* bio = BIO_new(BIO_s_mem());
    PEM_write_bio_PKCS8PrivateKey(bio, key, EVP_aes_256_cbc(), password.constData(), int(password.size()), nullptr,
                                  nullptr);
    return bioBytes(bio);
}

// An encrypted key whose PBKDF2 asks for 2^31 - 1 rounds. Only its parameters are real: nothing is derived to make
// it, and the library must refuse it before deriving anything.
inline QByteArray endlessDerivationKey() {
    X509_ALGOR* pbe = PKCS5_pbe2_set_iv(EVP_aes_256_cbc(), 0x7fffffff, nullptr, 0, nullptr, NID_hmacWithSHA256);
    X509_SIG* sig = X509_SIG_new();
    X509_ALGOR* alg = nullptr;
    ASN1_OCTET_STRING* encrypted = nullptr;
    X509_SIG_getm(sig, &alg, &encrypted);
    X509_ALGOR_copy(alg, pbe);
    ASN1_OCTET_STRING_set(encrypted, reinterpret_cast<const unsigned char*>("0123456789abcdef"), 16);
    unsigned char* der = nullptr;
    const int size = i2d_X509_SIG(sig, &der);
    const QByteArray bytes(reinterpret_cast<const char*>(der), size);
    OPENSSL_free(der);
    X509_SIG_free(sig);
    X509_ALGOR_free(pbe);
    return bytes;
}

// Writes the key as the broker's .key file protected by the password; gives the path.
inline QString writeKeyFile(const QString& path, EVP_PKEY* key, const QByteArray& password) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(encryptedDer(key, password));
    return path;
}

inline QByteArray publicPem(EVP_PKEY* key) {
    BIO* bio = BIO_new(BIO_s_mem());
    PEM_write_bio_PUBKEY(bio, key);
    return bioBytes(bio);
}

// Splits a signed file into what was signed and its last line "FIRMA|<CURP>|<Base64>" CR LF; true when the
// signature verifies against the key's public half.
inline bool verifySignedFile(const QByteArray& file, EVP_PKEY* key, QByteArray* content, QByteArray* curp) {
    if (!file.endsWith("\r\n"))
        return false;
    const qsizetype lineStart = file.lastIndexOf('\n', file.size() - 3) + 1;
    *content = file.left(lineStart);
    const QList<QByteArray> fields = file.mid(lineStart, file.size() - lineStart - 2).split('|');
    if (fields.size() != 3 || fields[0] != "FIRMA")
        return false;
    *curp = fields[1];
    const QByteArray signature = QByteArray::fromBase64(fields[2], QByteArray::AbortOnBase64DecodingErrors);
    if (signature.isEmpty())
        return false;
    // Verify with the public key alone, as the authority would.
    const QByteArray pub = publicPem(key);
    BIO* bio = BIO_new_mem_buf(pub.constData(), int(pub.size()));
    TestKey publicKey(PEM_read_bio_PUBKEY(bio, nullptr, nullptr, nullptr));
    BIO_free(bio);
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    const bool ok =
        EVP_DigestVerifyInit(ctx, nullptr, EVP_sha256(), nullptr, publicKey.get()) == 1 &&
        EVP_DigestVerify(ctx, reinterpret_cast<const unsigned char*>(signature.constData()),
                         std::size_t(signature.size()), reinterpret_cast<const unsigned char*>(content->constData()),
                         std::size_t(content->size())) == 1;
    EVP_MD_CTX_free(ctx);
    return ok;
}

// The program loads its signing library from its own folder: a test's program folder gets a copy of the built one
// (or of the one built in `from`).
inline bool copySigningLibrary(const QString& folder, const QString& from = QStringLiteral(TOLVEK_PROGRAM_DIR)) {
    const QDir built(from);
    const QStringList names = built.entryList({QStringLiteral("*kfirma32.*")}, QDir::Files);
    if (names.isEmpty())
        return false;
    for (const QString& name : names)
        if (!QFile::copy(built.filePath(name), QDir(folder).filePath(name)))
            return false;
    return true;
}

// The authority's check with the standard openssl command: the last line cut off, its third field decoded, the rest
// verified against the public key. Gives the command's output ("Verified OK") or why it could not run; the working
// files go into `folder`.
inline QByteArray verifyWithOpensslTool(const QByteArray& signedFile, EVP_PKEY* key, const QString& folder) {
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (openssl.isEmpty())
        return "no openssl command";
    const qsizetype lineStart = signedFile.lastIndexOf('\n', signedFile.size() - 3) + 1;
    const QList<QByteArray> fields = signedFile.mid(lineStart).trimmed().split('|');
    if (fields.size() != 3)
        return "no signature line";
    const auto write = [&](const char* name, const QByteArray& bytes) {
        QFile f(QDir(folder).filePath(QString::fromLatin1(name)));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    };
    if (!write("datos.txt", signedFile.left(lineStart)) || !write("firma.bin", QByteArray::fromBase64(fields[2])) ||
        !write("publica.pem", publicPem(key)))
        return "cannot write into " + QFile::encodeName(folder);
    QProcess tool;
    tool.setWorkingDirectory(folder);
    tool.start(openssl, {"dgst", "-sha256", "-verify", "publica.pem", "-signature", "firma.bin", "datos.txt"});
    if (!tool.waitForFinished(60000))
        return "openssl did not finish";
    return tool.readAllStandardOutput().trimmed() + tool.readAllStandardError().trimmed();
}
