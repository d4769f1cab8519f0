#include "representative/Requerimiento.h"

#include "export/Windows1252.h"
#include "platform/Files.h"

#include <QFileInfo>
#include <QStringList>

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/obj_mac.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <memory>

namespace {

// A person's RFC has 13 characters; a company's, 12.
constexpr qsizetype kLargoRfcPersona = 13;

struct FreeReq {
    void operator()(X509_REQ* req) const { X509_REQ_free(req); }
};
struct FreeKey {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct FreeBio {
    void operator()(BIO* bio) const { BIO_free(bio); }
};

LecturaRequerimiento falla(EstadoRequerimiento estado, const QString& motivo) {
    return {estado, {}, {}, motivo};
}

QString desdeWindows1252(const unsigned char* bytes, int size) {
    QString text;
    text.reserve(size);
    for (int i = 0; i < size; ++i) {
        const unsigned char b = bytes[i];
        const char16_t alto = b >= 0x80 && b < 0xA0 ? kHighHalf[b - 0x80] : 0;
        text += QChar(alto ? alto : char16_t(b));
    }
    return text;
}

// The authority's tool writes its code page's bytes ("Ñ" as 0xD1, "&") even into a PrintableString, so the
// single-byte kinds are read from their raw bytes, never through OpenSSL's conversion.
QString valor(const X509_NAME* name, int nid) {
    const int at = X509_NAME_get_index_by_NID(name, nid, -1);
    if (at < 0)
        return {};
    const ASN1_STRING* data = X509_NAME_ENTRY_get_data(X509_NAME_get_entry(name, at));
    const unsigned char* bytes = ASN1_STRING_get0_data(data);
    const int size = ASN1_STRING_length(data);
    switch (ASN1_STRING_type(data)) {
    case V_ASN1_UTF8STRING:
        return QString::fromUtf8(reinterpret_cast<const char*>(bytes), size).trimmed();
    case V_ASN1_BMPSTRING:
    case V_ASN1_UNIVERSALSTRING: {
        unsigned char* utf8 = nullptr;
        const int n = ASN1_STRING_to_UTF8(&utf8, data);
        const QString text = n < 0 ? QString() : QString::fromUtf8(reinterpret_cast<const char*>(utf8), n);
        OPENSSL_free(utf8);
        return text.trimmed();
    }
    default:
        return desdeWindows1252(bytes, size).trimmed();
    }
}

// "RFC_MORAL / RFC_REP" in a company's request: the representative is the person.
QString rfcDePersona(const QString& rfc) {
    const QStringList partes = rfc.split(QLatin1Char('/'));
    for (const QString& parte : partes)
        if (parte.trimmed().size() == kLargoRfcPersona)
            return parte.trimmed();
    return partes.last().trimmed();
}

std::unique_ptr<X509_REQ, FreeReq> decodifica(const QByteArray& bytes) {
    if (bytes.contains("-----BEGIN")) {
        std::unique_ptr<BIO, FreeBio> bio(BIO_new_mem_buf(bytes.constData(), int(bytes.size())));
        return std::unique_ptr<X509_REQ, FreeReq>(bio ? PEM_read_bio_X509_REQ(bio.get(), nullptr, nullptr, nullptr)
                                                      : nullptr);
    }
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    return std::unique_ptr<X509_REQ, FreeReq>(d2i_X509_REQ(nullptr, &p, long(bytes.size())));
}

} // namespace

LecturaRequerimiento leeRequerimiento(const QString& path) {
    const QString nombre = QFileInfo(path).fileName();
    QByteArray bytes;
    QString reason;
    switch (readSmallFile(path, kMaxBytesRequerimiento, &bytes, &reason)) {
    case SmallFile::Read:
        break;
    case SmallFile::Missing:
        return falla(EstadoRequerimiento::NoExiste,
                     QStringLiteral("El Requerimiento Electrónico %1 no existe.").arg(nombre));
    case SmallFile::NotAFile:
        return falla(EstadoRequerimiento::Ilegible,
                     QStringLiteral("El Requerimiento Electrónico %1 no es un archivo.").arg(nombre));
    case SmallFile::TooLarge:
        return falla(
            EstadoRequerimiento::NoEsRequerimiento,
            QStringLiteral("El archivo %1 mide más de 64 KB: no es un Requerimiento Electrónico.").arg(nombre));
    case SmallFile::Unreadable:
        return falla(EstadoRequerimiento::Ilegible,
                     QStringLiteral("No se pudo leer el Requerimiento Electrónico %1: %2.").arg(nombre, reason));
    }
    const std::unique_ptr<X509_REQ, FreeReq> req = decodifica(bytes);
    if (!req)
        return falla(EstadoRequerimiento::NoEsRequerimiento,
                     QStringLiteral("El archivo %1 no es un Requerimiento Electrónico.").arg(nombre));
    const std::unique_ptr<EVP_PKEY, FreeKey> key(X509_REQ_get_pubkey(req.get()));
    if (!key || X509_REQ_verify(req.get(), key.get()) != 1)
        return falla(EstadoRequerimiento::NoEsRequerimiento,
                     QStringLiteral("La firma del Requerimiento Electrónico %1 no corresponde a su contenido: el "
                                    "archivo está dañado o fue alterado.")
                         .arg(nombre));
    const X509_NAME* subject = X509_REQ_get_subject_name(req.get());
    LecturaRequerimiento lectura{EstadoRequerimiento::Valido,
                                 rfcDePersona(valor(subject, NID_x500UniqueIdentifier)),
                                 valor(subject, NID_serialNumber),
                                 {}};
    if (lectura.rfc.isEmpty() || lectura.curp.isEmpty())
        return falla(
            EstadoRequerimiento::NoEsRequerimiento,
            QStringLiteral("El Requerimiento Electrónico %1 no trae el RFC y la CURP del solicitante.").arg(nombre));
    return lectura;
}

bool esDelRepresentante(const LecturaRequerimiento& lectura, const QString& rfc, const QString& curp) {
    return lectura.estado == EstadoRequerimiento::Valido &&
           lectura.rfc.compare(rfc.trimmed(), Qt::CaseInsensitive) == 0 &&
           lectura.curp.compare(curp.trimmed(), Qt::CaseInsensitive) == 0;
}

std::optional<QString> revisaRequerimiento(const QString& path, const QString& rfc, const QString& curp) {
    const LecturaRequerimiento l = leeRequerimiento(path);
    if (esDelRepresentante(l, rfc, curp))
        return std::nullopt;
    if (l.estado != EstadoRequerimiento::Valido)
        return l.motivo;
    return QStringLiteral("El Requerimiento Electrónico %1 corresponde al RFC %2 y la CURP %3, no al representante "
                          "(RFC %4, CURP %5).")
        .arg(QFileInfo(path).fileName(), l.rfc, l.curp, rfc.trimmed(), curp.trimmed());
}

std::optional<QString> preguntaRequerimiento(const QString& path, const QString& rfc, const QString& curp) {
    const std::optional<QString> falta = revisaRequerimiento(path, rfc, curp);
    if (!falta)
        return std::nullopt;
    return *falta + QStringLiteral(" ¿Desea usarlo de todos modos?");
}

QString estadoRequerimiento(const QString& path, const QString& rfc, const QString& curp) {
    // The import brings representatives without one.
    if (path.trimmed().isEmpty())
        return QStringLiteral("Sin Requerimiento Electrónico.");
    const LecturaRequerimiento l = leeRequerimiento(path);
    if (esDelRepresentante(l, rfc, curp))
        return QStringLiteral("Requerimiento Electrónico en orden.");
    if (l.estado != EstadoRequerimiento::Valido)
        return l.motivo;
    return QStringLiteral("Es de otra persona: RFC %1, CURP %2.").arg(l.rfc, l.curp);
}
