#pragma once

#include "export/ConstanciaPdf.h"
#include "export/Envio.h"

#include <QString>

#include <optional>

class QWidget;
class Store;

// The wizard's last act: asks, takes the key of the stored broker in frmKey, has his information file written and
// signed (generaEnvio) and tells the broker the outcome. Nothing when the broker declined or did not accept the key
// dialog. A signed file gets its constancia (escribeConstancia), handed back through `constancia`; one that cannot
// be written is told, and the signed file stands.
std::optional<Envio> Genera_archivo(QWidget* parent, Store& store, const ProgramFolders& folders,
                                    std::optional<Constancia>* constancia = nullptr);

// The information file the stored broker would get now, shown in frmVistaPrevia before anything is written or
// signed; what the generation would refuse is refused in its words.
void Vista_Previa(QWidget* parent, Store& store);

// The sending folder in the system's file manager, for the broker to send its contents.
void Abre_Carpeta_Envio(QWidget* parent, const QString& dataFolder);

// Leaving with unsigned files (entregaSinFirma), telling the broker when they could not be handed off.
void Borra_Archivo_Sin_Firma(QWidget* parent, const ProgramFolders& folders, const QStringList& sinFirma);
