#include "export/Firma.h"

#include "export/Windows1252.h"
#include "platform/SigningLibrary.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace {

// Records 1 to 4 carry a key that does not exist and this placeholder; the library signs with record 0 only.
const QByteArray kLlaveVacia = QByteArrayLiteral("c:\\llave.key");
const QByteArray kPasswordVacio = QByteArrayLiteral("marcador");

using TablaFirmantes = std::array<Firmante, KFIRMA32_FIRMANTES>;
static_assert(kMaxBytesRutaLlave == sizeof(Firmante::Llave) - 1 && kMaxBytesPassword == sizeof(Firmante::Password));

void wipeBytes(char* bytes, std::size_t size) {
    volatile char* p = bytes;
    for (std::size_t i = 0; i < size; ++i)
        p[i] = 0;
}

// The password in Windows-1252, as the authority's tool took it when it encrypted the key; nothing when a character
// has no place in that code page.
std::optional<QByteArray> enWindows1252(const QByteArray& utf8) {
    QString text = QString::fromUtf8(utf8);
    QByteArray out(text.size(), Qt::Uninitialized);
    bool cabe = true;
    for (qsizetype i = 0; i < text.size() && cabe; ++i) {
        const char16_t c = text[i].unicode();
        const auto alto = std::find(kHighHalf.begin(), kHighHalf.end(), c);
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
            out[i] = char(c);
        else if (alto != kHighHalf.end())
            out[i] = char(0x80 + (alto - kHighHalf.begin()));
        else
            cabe = false;
    }
    if (!text.isEmpty())
        wipeBytes(reinterpret_cast<char*>(text.data()), std::size_t(text.size()) * sizeof(QChar));
    if (cabe)
        return out;
    wipe(out);
    return std::nullopt;
}

} // namespace

void wipe(QByteArray& secret) {
    // data() detaches a shared buffer first, leaving the other owner's copy as it was: the password is handed
    // from the dialog to the signing without being shared, so this one is the only copy.
    if (!secret.isEmpty())
        wipeBytes(secret.data(), std::size_t(secret.size()));
    secret.clear();
}

void llenaCampo(char* field, std::size_t size, const QByteArray& value) {
    const std::size_t n = std::min<std::size_t>(std::size_t(value.size()), size);
    std::memcpy(field, value.constData(), n);
    if (n < size) {
        field[n] = '\0';
        std::memset(field + n + 1, ' ', size - n - 1);
    }
}

int Firma_Archivo(const QString& programFolder, const QString& path, const QString& archivoLlave,
                  QByteArray& password) {
    SigningLibrary* library = nullptr;
    try {
        library = &SigningLibrary::load(programFolder);
    } catch (const Falla&) {
        wipe(password);
        throw;
    }
    TablaFirmantes firmantes{};
    QByteArray pathBytes = QFile::encodeName(path);
    library->BuscaCurps(pathBytes.data(), firmantes.data());

    const auto firma = [&](const QByteArray& clave) {
        llenaCampo(firmantes[0].Llave, sizeof firmantes[0].Llave, QFile::encodeName(archivoLlave));
        llenaCampo(firmantes[0].Password, sizeof firmantes[0].Password, clave);
        for (std::size_t i = 1; i < firmantes.size(); ++i) {
            llenaCampo(firmantes[i].Llave, sizeof firmantes[i].Llave, kLlaveVacia);
            llenaCampo(firmantes[i].Password, sizeof firmantes[i].Password, kPasswordVacio);
        }
        // The library may have changed the path buffer.
        pathBytes = QFile::encodeName(path);
        const int result = library->GeneraFirmaDigital(pathBytes.data(), firmantes.data());
        for (Firmante& f : firmantes)
            wipeBytes(f.Password, sizeof f.Password);
        return result;
    };
    // Keys made by other tools took the password in UTF-8: that form is tried when the code page's is refused.
    std::optional<QByteArray> cp1252 = enWindows1252(password);
    int code = cp1252 ? firma(*cp1252) : KFIRMA32_PASSWORD_INCORRECTO;
    if (code == KFIRMA32_PASSWORD_INCORRECTO && (!cp1252 || *cp1252 != password))
        code = firma(password);
    if (cp1252)
        wipe(*cp1252);
    wipe(password);
    if (code != KFIRMA32_FIRMADO)
        return code;
    pathBytes = QFile::encodeName(path);
    return library->VerificaFirmaDigital(pathBytes.data()) == 1 ? code : kFirmaNoComprobada;
}
