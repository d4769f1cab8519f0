#include "export/Genera_archivo.h"

#include "data/Store.h"
#include "export/frmKey.h"
#include "export/frmVistaPrevia.h"
#include "platform/Database.h"
#include "platform/FileManager.h"
#include "platform/Messages.h"

#include <QDir>

namespace {

const QString kPregunta = QStringLiteral(
    "¿DESEA GENERAR EL ARCHIVO DE INFORMACION? PARA ESTA OPERACION DEBE USAR EL ARCHIVO LLAVE DEL AGENTE ADUANAL. ");

QString rfcDelAgente(Store& store) {
    const std::optional<AgenteAduanal> agente = store.agente();
    return agente ? agente->rfc : QString();
}

} // namespace

std::optional<Envio> Genera_archivo(QWidget* parent, Store& store, const QString& patente,
                                    const ProgramFolders& folders, std::optional<Constancia>* constancia) {
    if (!confirm(parent, kPregunta, kTitleMensaje))
        return std::nullopt;
    Llave llave;
    try {
        frmKey dialog(rfcDelAgente(store), parent);
        // Closing the dialog by its close box is taken as a cancel too: there is no password to sign with.
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        llave = dialog.llave();
    } catch (const DatabaseError& e) {
        inform(parent, baseIlegible(e), MessageIcon::Exclamation);
        return std::nullopt;
    }
    Envio envio = generaEnvio(store, patente, folders, llave);
    const bool firmado = envio.resultado == Envio::Resultado::Firmado;
    QString sinConstancia;
    if (firmado) {
        try {
            Constancia escrita =
                escribeConstancia(store, folders.data, patente, envio.ruta, QDateTime::currentDateTime());
            if (constancia)
                *constancia = std::move(escrita);
        } catch (const Falla& e) {
            sinConstancia =
                e.message() +
                QStringLiteral(" No se hizo la constancia de envío; el archivo de información quedó firmado y puede "
                               "enviarse.");
        }
    }
    inform(parent, envio.mensaje, firmado ? MessageIcon::Information : MessageIcon::Exclamation);
    if (!sinConstancia.isEmpty())
        inform(parent, sinConstancia, MessageIcon::Exclamation);
    return envio;
}

void Vista_Previa(QWidget* parent, Store& store, const QString& patente) {
    QByteArray archivo;
    QString mensaje;
    if (!vistaPrevia(store, patente, &archivo, &mensaje)) {
        inform(parent, mensaje, MessageIcon::Exclamation);
        return;
    }
    frmVistaPrevia dialog(archivo, parent);
    dialog.exec();
}

void Abre_Carpeta_Envio(QWidget* parent, const QString& dataFolder) {
    const QString folder = carpetaEnvio(dataFolder);
    if (!showFolder(folder))
        inform(parent,
               QStringLiteral("No se pudo abrir la carpeta de envío %1. Ábrala desde el explorador de archivos.")
                   .arg(QDir::toNativeSeparators(folder)),
               MessageIcon::Exclamation);
}

void Borra_Archivo_Sin_Firma(QWidget* parent, const ProgramFolders& folders, const QStringList& sinFirma) {
    if (const QString aviso = entregaSinFirma(folders, sinFirma); !aviso.isEmpty())
        inform(parent, aviso, MessageIcon::Exclamation);
}
