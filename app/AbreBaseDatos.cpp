#include "app/AbreBaseDatos.h"

#include "data/BaseDatos.h"
#include "data/Respaldos.h"
#include "platform/Database.h"
#include "platform/Messages.h"

#include <QDateTime>
#include <QDir>

namespace {

// The damaged file replaced by the copy the broker accepts; false when the start must end.
bool restauraRespaldo(QWidget* parent, const BaseDanada& danada) {
    const std::optional<Respaldos::Sana> copia = Respaldos::copiaSana(danada.path());
    if (!copia) {
        inform(parent,
               danada.message() + QStringLiteral("\n\nNo hay en la carpeta respaldos ninguna copia de respaldo sana "
                                                 "con que reemplazarla. No se ha modificado; TOLVEK 3 se cerrará."),
               MessageIcon::Exclamation);
        return false;
    }
    const QString oferta =
        danada.message() +
        QStringLiteral("\n\nLa copia de respaldo del %1, la más reciente que está completa, contiene %2 mandatarios; "
                       "lo capturado después no está en ella.\n¿Desea restaurarla? La base dañada se "
                       "conservará junto a ella con otro nombre.\nSi cancela, TOLVEK 3 se cerrará sin cambiar nada.")
            .arg(copia->hecha.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")))
            .arg(copia->mandatarios);
    if (!confirm(parent, oferta, kProgramTitle))
        return false;
    try {
        const QString aparte = Respaldos::restaura(danada.path(), *copia, QDateTime::currentDateTime());
        inform(parent, QStringLiteral("Se restauró la copia de respaldo %1.\nLa base dañada quedó como %2.")
                           .arg(QDir::toNativeSeparators(copia->path), QDir::toNativeSeparators(aparte)));
        return true;
    } catch (const Falla& e) {
        inform(parent, e.message() + QStringLiteral("\nNo se ha modificado; TOLVEK 3 se cerrará."),
               MessageIcon::Exclamation);
        return false;
    }
}

} // namespace

std::unique_ptr<Database> abreBaseDatos(QWidget* parent, const QString& folder) {
    try {
        return openTolvekDatabase(folder);
    } catch (const BaseDanada& e) {
        if (!restauraRespaldo(parent, e))
            return nullptr;
    } catch (const Falla& e) {
        inform(parent, e.message(), MessageIcon::Exclamation);
        return nullptr;
    }
    // The copy now in place is opened as any file is, checks and all.
    try {
        return openTolvekDatabase(folder);
    } catch (const Falla& e) {
        inform(parent, e.message(), MessageIcon::Exclamation);
        return nullptr;
    }
}
