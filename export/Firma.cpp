#include "export/Firma.h"

#include "app/Globales.h"
#include "platform/Messages.h"
#include "platform/SigningLibrary.h"

#include <QDir>
#include <QFile>

#include <cstring>

namespace {

// Records 1 to 4 carry a key that does not exist and this placeholder; the library signs with record 0 only.
const QByteArray kLlaveVacia = QByteArrayLiteral("c:\\llave.key");
const QByteArray kPasswordVacio = QByteArrayLiteral("marcador");

void wipeRecords(TablaFirmantes& firmantes) {
    for (Firmante& f : firmantes) {
        volatile char* p = f.Password;
        for (std::size_t i = 0; i < sizeof f.Password; ++i)
            p[i] = 0;
    }
}

} // namespace

DatosLlave& datosLlave() {
    static DatosLlave datos;
    return datos;
}

void wipe(QByteArray& secret) {
    if (!secret.isEmpty()) {
        secret.detach();
        secret.fill('\0');
    }
    secret.clear();
}

TablaFirmantes& Firmantes() {
    static TablaFirmantes firmantes{};
    return firmantes;
}

void llenaCampo(char* field, std::size_t size, const QByteArray& value) {
    const std::size_t n = std::min<std::size_t>(std::size_t(value.size()), size);
    std::memcpy(field, value.constData(), n);
    if (n < size) {
        field[n] = '\0';
        std::memset(field + n + 1, ' ', size - n - 1);
    }
}

int Firma_Archivo(QWidget* parent, Globales& globales, const QString& programFolder, const QString& path,
                  const QString& archivoLlave, QByteArray& password) {
    QString error;
    SigningLibrary* library = SigningLibrary::load(programFolder, &error);
    if (!library) {
        wipe(password);
        globales.Archivo_Generado = 1;
        inform(parent,
               QStringLiteral("No se pudo usar la biblioteca de firma digital %1 de la carpeta %2 (%3). El archivo %4 "
                              "quedó sin firmar: no lo envíe; reinstale el programa y vuelva a generarlo.")
                   .arg(kSigningLibraryName, QDir::toNativeSeparators(programFolder), error,
                        QDir::toNativeSeparators(path)),
               MessageIcon::Exclamation);
        return -1;
    }

    TablaFirmantes& firmantes = Firmantes();
    QByteArray pathBytes = QFile::encodeName(path);
    library->BuscaCurps(pathBytes.data(), firmantes.data());

    llenaCampo(firmantes[0].Llave, sizeof firmantes[0].Llave, QFile::encodeName(archivoLlave));
    llenaCampo(firmantes[0].Password, sizeof firmantes[0].Password, password);
    for (std::size_t i = 1; i < firmantes.size(); ++i) {
        llenaCampo(firmantes[i].Llave, sizeof firmantes[i].Llave, kLlaveVacia);
        llenaCampo(firmantes[i].Password, sizeof firmantes[i].Password, kPasswordVacio);
    }
    pathBytes = QFile::encodeName(path);
    const int code = library->GeneraFirmaDigital(pathBytes.data(), firmantes.data());
    wipeRecords(firmantes);
    wipe(password);

    switch (code) {
    case KFIRMA32_FIRMADO:
        globales.Archivo_Generado = 0;
        inform(parent, QStringLiteral("Se genero el archivo ") +
                           QDir::toNativeSeparators(programFolder + QStringLiteral("/ENVIO/") + globales.NoPatente) +
                           QStringLiteral(".txt correctamente y se agrego Firma Digital, no olvide enviarlo y los "
                                          "requerimientos manualmente a ") +
                           kCorreoAutoridad);
        break;
    case KFIRMA32_SIN_ARCHIVO:
        globales.Archivo_Generado = 0;
        inform(parent, QStringLiteral("No se encontró el archivo a firmar digitalmente"), MessageIcon::Exclamation);
        break;
    case KFIRMA32_LLAVE_INVALIDA:
        globales.Archivo_Generado = 1;
        inform(parent, QStringLiteral("No se encontró la llave privada (*.key) o el archivo no es válido"),
               MessageIcon::Exclamation);
        break;
    case KFIRMA32_PASSWORD_INCORRECTO:
        globales.Archivo_Generado = 1;
        inform(parent, QStringLiteral("Error en la contraseña"), MessageIcon::Exclamation);
        break;
    default:
        // Anything else left the file without a signature; it must not pass for a finished one.
        globales.Archivo_Generado = 1;
        inform(parent,
               QStringLiteral("No se pudo agregar la Firma Digital al archivo %1 (código %2). El archivo quedó sin "
                              "firmar: no lo envíe; vuelva a generarlo.")
                   .arg(QDir::toNativeSeparators(path))
                   .arg(code),
               MessageIcon::Exclamation);
        break;
    }
    return code;
}
