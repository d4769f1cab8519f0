#include "app/AcercaDe.h"

#include "data/Respaldos.h"
#include "export/Firma.h"

#include <QDir>

QString acercaDe(const QString& carpetaDatos, Database* db) {
    QString respaldo = QStringLiteral("ninguna todavía");
    if (db)
        if (const std::optional<QDateTime> ultima = Respaldos(*db).ultima())
            respaldo = ultima->toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    return QStringLiteral("TOLVEK 3, versión %1\n\nCarpeta de datos: %2\nÚltima copia de respaldo: %3\nContacto de la "
                          "autoridad: %4")
        .arg(QStringLiteral(TOLVEK_VERSION), QDir::toNativeSeparators(carpetaDatos), respaldo, kCorreoAutoridad);
}
