#include "app/VerificaPaginas.h"

#include "data/Rutinas.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

bool Regla_2_13_11(Database& db) {
    return db.exists(QStringLiteral("select * from Mandatarios where Mandato=2"));
}

std::optional<QString> revisaMandatarios(Database& db, const QList<FilaMandatario>& filas) {
    if (filas.isEmpty())
        return QStringLiteral("Debe existir por lo menos un o Representante o Mandatario");
    for (const FilaMandatario& f : filas) {
        const QString who = f.nombre + QLatin1Char(' ') + f.apPaterno + QLatin1Char(' ') + f.apMaterno +
                            QStringLiteral(" CURP=") + f.curp;
        Query m = db.select(
            QStringLiteral("select Mandato,Requerimiento,Acreditacion,OPerando from Mandatarios where CURP=?"),
            {f.curp});
        // A row the list still shows but the table no longer holds has nothing left to check.
        if (!m.next())
            continue;
        const auto hasAddress = [&](int tipo) {
            return db.exists(QStringLiteral("select * from Domicilios_MM where CURP=? and Tipo_Dom=?"), {f.curp, tipo});
        };
        if (!hasAddress(1))
            return QStringLiteral("Proporcione el Domicilo Particular del Representante ") + who;
        if (!hasAddress(2))
            return QStringLiteral("Proporcione el Domicilo Fiscal del Representante ") + who;
        if (!m.isNull(3) && m.number(3) == 2)
            return QStringLiteral("Defina si se encuentra operando actualemente del Representante ") + who;
        const qint64 mandato = m.isNull(0) ? 0 : m.number(0);
        const bool noRequest = isBlank(m.text(1));
        if (mandato == 1) {
            if (noRequest)
                return QStringLiteral("Proporcione el archivo de Requerimiento del mandatario ") + who;
            if (!db.exists(QStringLiteral("select * from Aduanas_MM where CURP=?"), {f.curp}))
                return QStringLiteral("Proporcione las Aduanas ante las que aha actuado el Representante ") + who;
        } else if (mandato == 2) {
            if (noRequest)
                return QStringLiteral("Proporcione el archivo de Requerimiento del mandatario ") + who;
            if (m.isNull(2))
                return QStringLiteral("Proporcione el Tipo de acreditamiento del mandatario ") + who;
        }
    }
    return std::nullopt;
}

bool Verifica_Datos_p2(QWidget* parent, Database& db, const QTableWidget* fgAA) {
    QList<FilaMandatario> filas;
    for (int r = 0; r < rowCount(fgAA); ++r)
        filas << FilaMandatario{cellText(fgAA, r, 0), cellText(fgAA, r, 1), cellText(fgAA, r, 2), cellText(fgAA, r, 4)};
    const std::optional<QString> fault = revisaMandatarios(db, filas);
    if (fault)
        inform(parent, *fault);
    return !fault;
}

bool Verifica_Datos_p4(const QTableWidget* fgMandatarios) {
    return rowCount(fgMandatarios) > 0;
}
