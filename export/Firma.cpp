#include "export/Firma.h"

#include "platform/SigningLibrary.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>

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

int Firma_Archivo(const QString& programFolder, const QString& path, const QString& archivoLlave, QByteArray& password,
                  QString* error) {
    SigningLibrary* library = SigningLibrary::load(programFolder, error);
    if (!library) {
        wipe(password);
        return -1;
    }
    TablaFirmantes firmantes{};
    QByteArray pathBytes = QFile::encodeName(path);
    library->BuscaCurps(pathBytes.data(), firmantes.data());

    llenaCampo(firmantes[0].Llave, sizeof firmantes[0].Llave, QFile::encodeName(archivoLlave));
    llenaCampo(firmantes[0].Password, sizeof firmantes[0].Password, password);
    for (std::size_t i = 1; i < firmantes.size(); ++i) {
        llenaCampo(firmantes[i].Llave, sizeof firmantes[i].Llave, kLlaveVacia);
        llenaCampo(firmantes[i].Password, sizeof firmantes[i].Password, kPasswordVacio);
    }
    // The library may have changed the path buffer.
    pathBytes = QFile::encodeName(path);
    const int code = library->GeneraFirmaDigital(pathBytes.data(), firmantes.data());
    for (Firmante& f : firmantes)
        wipeBytes(f.Password, sizeof f.Password);
    wipe(password);
    if (code != KFIRMA32_FIRMADO)
        return code;
    pathBytes = QFile::encodeName(path);
    return library->VerificaFirmaDigital(pathBytes.data()) == 1 ? code : kFirmaNoComprobada;
}
