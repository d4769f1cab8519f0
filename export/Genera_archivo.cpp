#include "export/Genera_archivo.h"

#include "data/Store.h"
#include "export/frmKey.h"
#include "export/frmVistaPrevia.h"
#include "platform/FileManager.h"
#include "platform/Messages.h"

#include <QDir>

namespace {

const QString kPregunta = QStringLiteral(
    "¿DESEA GENERAR EL ARCHIVO DE INFORMACION? PARA ESTA OPERACION DEBE USAR EL ARCHIVO LLAVE DEL AGENTE ADUANAL. ");

// The wizard stores the broker before the last page; without him there is no patente to name the file after.
const QString kSinAgente =
    QStringLiteral("No se puede generar el archivo de información: capture primero los datos del Agente Aduanal.");

} // namespace

std::optional<Envio> Genera_archivo(QWidget* parent, Store& store, const ProgramFolders& folders,
                                    std::optional<Constancia>* constancia) {
    if (!confirm(parent, kPregunta, kTitleMensaje))
        return std::nullopt;
    std::optional<AgenteAduanal> agente;
    if (!intenta(parent, kBaseIlegible, [&] { agente = store.agente(); }))
        return std::nullopt;
    if (!agente) {
        inform(parent, kSinAgente, MessageIcon::Exclamation);
        return std::nullopt;
    }
    frmKey dialog(agente->rfc, parent);
    // Closing the dialog by its close box is taken as a cancel too: there is no password to sign with.
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    Llave llave = dialog.llave();
    Envio envio = generaEnvio(store, agente->patente, folders, llave);
    const bool firmado = envio.resultado == Envio::Resultado::Firmado;
    QString sinConstancia;
    if (firmado) {
        try {
            Constancia escrita = escribeConstancia(store, folders.data, QString::number(agente->patente), envio.ruta,
                                                   QDateTime::currentDateTime());
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

void Vista_Previa(QWidget* parent, Store& store) {
    std::optional<AgenteAduanal> agente;
    if (!intenta(parent, kBaseIlegible, [&] { agente = store.agente(); }))
        return;
    QByteArray archivo;
    std::optional<QString> defecto = kSinAgente;
    // The writer's own failures already say that the file cannot be made.
    if (agente && !intenta(parent, [&] { defecto = vistaPrevia(store, agente->patente, archivo); }))
        return;
    if (defecto) {
        inform(parent, *defecto, MessageIcon::Exclamation);
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
    intenta(parent, [&] { entregaSinFirma(folders, sinFirma); });
}
