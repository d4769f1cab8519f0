#include "import/ViejoTolvek.h"

#include "platform/Messages.h"
#include "platform/ProcessNotice.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

bool Viejo_TOLVEK(QWidget* parent, Database& db, const QString& programFolder, const QString& previousFolder,
                  int timeoutMs) {
    ResultadoImportacion resultado;
    // The wait ends before a failure is told: the cursor and the notice go as the action is left.
    if (!intenta(parent,
                 QStringLiteral("No se pudo importar la información de la versión anterior de TOLVEK.\n\n%1\n\n"
                                "No se importó ningún dato."),
                 [&] {
                     WaitCursor wait;
                     ProgramNotice notice(
                         QStringLiteral("Recuperando la información de la versión anterior de TOLVEK..."), parent);
                     resultado = importaVersionAnterior(db, programFolder, previousFolder, timeoutMs, notice.waiter());
                 }))
        return false;
    if (!resultado.avisoRespaldo.isEmpty())
        inform(parent, resultado.avisoRespaldo, MessageIcon::Exclamation);
    switch (resultado.estado) {
    case ResultadoImportacion::Estado::HayAgente:
        return false;
    case ResultadoImportacion::Estado::SinVersionAnterior:
        inform(parent, QStringLiteral("No hay una versión anterior de TOLVEK en su computadora"));
        return false;
    case ResultadoImportacion::Estado::Importada:
        break;
    }
    return true;
}
