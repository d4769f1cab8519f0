#include "data/Completitud.h"

#include "data/Rutinas.h"
#include "data/Store.h"

#include <QSet>

namespace {

constexpr int kPagina = 1000;

} // namespace

QStringList faltasMandatario(const EstadoMandatario& m) {
    const FilaMandatario& f = m.fila;
    const QString who =
        f.nombre + QLatin1Char(' ') + f.apPaterno + QLatin1Char(' ') + f.apMaterno + QStringLiteral(" CURP=") + f.curp;
    QStringList faltas;
    if (!m.particular)
        faltas << QStringLiteral("Proporcione el Domicilo Particular del Representante ") + who;
    if (!m.fiscal)
        faltas << QStringLiteral("Proporcione el Domicilo Fiscal del Representante ") + who;
    if (!f.operando.isNull() && f.operando.toLongLong() == 2)
        faltas << QStringLiteral("Defina si se encuentra operando actualemente del Representante ") + who;
    const ReglasMandato& tipo = reglas(f.mandato);
    if (tipo.conRequerimiento && isBlank(f.requerimiento))
        faltas << QStringLiteral("Proporcione el archivo de Requerimiento del mandatario ") + who;
    if (tipo.conAduanas && !m.aduanas)
        faltas << QStringLiteral("Proporcione las Aduanas ante las que aha actuado el Representante ") + who;
    if (tipo.conAcreditacion && m.acreditacion.isNull())
        faltas << QStringLiteral("Proporcione el Tipo de acreditamiento del mandatario ") + who;
    return faltas;
}

void recorreEstados(Store& store, const std::function<bool(const EstadoMandatario&)>& action) {
    // The offices are looked up once for all: Aduanas_MM has no index on CURP.
    const QSet<QString> conAduanas = store.curpsDe(tabla::Aduanas_MM);
    qint64 despues = 0;
    for (;;) {
        QList<EstadoMandatario> pagina = store.estadosMandatarios(&despues, kPagina);
        for (EstadoMandatario& m : pagina) {
            m.aduanas = conAduanas.contains(m.fila.curp);
            if (!action(m))
                return;
        }
        if (pagina.size() < kPagina)
            return;
    }
}

std::optional<QString> revisaMandatarios(Store& store) {
    bool any = false;
    std::optional<QString> falta;
    recorreEstados(store, [&](const EstadoMandatario& m) {
        any = true;
        const QStringList faltas = faltasMandatario(m);
        if (!faltas.isEmpty())
            falta = faltas.first();
        return !falta;
    });
    if (!any)
        return QStringLiteral("Debe existir por lo menos un o Representante o Mandatario");
    return falta;
}
