#include "representative/Mandatarios.h"

#include "data/Rutinas.h"
#include "platform/Database.h"

#include <QComboBox>

namespace {

void insertaDomicilio(Database& db, const QString& curp, const DomicilioMandatario& d, int tipoDom) {
    db.exec(QStringLiteral("insert into Domicilios_MM(CURP,EntFed,MDeleg,Calle,NoExt,NoInt,Colonia,CP,Telefono,Fax,"
                           "Tipo_Dom) values (?,?,?,?,?,?,?,?,?,?,?)"),
            {curp, d.entFed, d.mDeleg, d.calle, d.noExt, d.noInt, d.colonia, d.cp, d.telefono, d.fax, tipoDom});
}

} // namespace

void guardaMandatario(Database& db, const std::optional<QString>& anterior, const Mandatario& m) {
    Transaction t(db);
    if (anterior) {
        const QString& curpAnterior = *anterior;
        // Offices and declarations go whatever the stored type was: the dialog loaded them all, and rows left under
        // a type that does not show them (imported data) would reach the information file unseen.
        for (const char* table : {"Aduanas_MM", "Pedimentos_MM", "Domicilios_MM", "Mandatarios"})
            db.exec(QStringLiteral("delete from %1 where CURP=?").arg(QLatin1String(table)), {curpAnterior});
        // A corrected CURP takes his periods with other brokers along instead of leaving them to nobody.
        if (curpAnterior != m.curp)
            db.exec(QStringLiteral("update Periodos_H_MM set CURP=? where CURP=?"), {m.curp, curpAnterior});
    }
    db.exec(
        QStringLiteral("insert into Mandatarios(CURP,RFC,Nombre,ApPaterno,ApMaterno,Mandato,Requerimiento,"
                       "Acreditacion,Operando) values (?,?,?,?,?,?,?,?,?)"),
        {m.curp, m.rfc, m.nombre, m.apPaterno, m.apMaterno, m.mandato, m.requerimiento, m.acreditacion, m.operando});
    insertaDomicilio(db, m.curp, m.particular, 1);
    insertaDomicilio(db, m.curp, m.fiscal, 2);
    if (m.mandato == 1) {
        for (qint64 aduana : m.aduanas)
            db.exec(QStringLiteral("insert into Aduanas_MM(CURP,NoAduana) values (?,?)"), {m.curp, aduana});
        for (const PedimentoMandatario& p : m.pedimentos)
            db.exec(QStringLiteral("insert into Pedimentos_MM(CURP,NoAduana,NoPedimento,FechPedimento) values "
                                   "(?,?,?,?)"),
                    {m.curp, p.noAduana, p.noPedimento, p.fecha});
    }
    t.commit();
}

void borraMandatario(Database& db, const QString& curp) {
    Transaction t(db);
    // Every row that names him goes: the information file is written from whole tables, so a row left behind
    // would speak of a representative who is no longer there.
    for (const char* table : {"Aduanas_MM", "Pedimentos_MM", "Domicilios_MM", "Periodos_H_MM", "Mandatarios"})
        db.exec(QStringLiteral("delete from %1 where CURP=?").arg(QLatin1String(table)), {curp});
    t.commit();
}

bool existeMandatario(Database& db, const QString& curp) {
    return db.exists(QStringLiteral("select * from Mandatarios where CURP=?"), {curp});
}

void Llena_Domicilio_M(Database& db, const BloqueDomicilio& block, const QString& curp, int tipoDom) {
    Query q = db.select(QStringLiteral("select * from Domicilios_MM where CURP=? and Tipo_dom=?"), {curp, tipoDom});
    bool found = false;
    // One row per type; should there be more, the last one stands.
    while (q.next()) {
        block.muestra(db, q);
        found = true;
    }
    if (!found)
        Limpia_Domicilio_M(db, block);
}

void Limpia_Domicilio_M(Database& db, const BloqueDomicilio& block) {
    block.limpia(db);
    block.noMDeleg->setCurrentIndex(-1);
    block.mDeleg->setCurrentIndex(-1);
}

std::optional<FaltaMandatario> revisaMandatario(const CapturaMandatario& c) {
    using C = CampoMandatario;
    auto falta = [](C campo, const char* text) { return FaltaMandatario{campo, QString::fromUtf8(text)}; };
    if (isBlank(c.nombre))
        return falta(C::Nombre, "Nombre no puede estar vacio");
    if (isBlank(c.apPaterno))
        return falta(C::ApPaterno, "Ap. Paterno no puede estar vacio");
    if (isBlank(c.apMaterno))
        return falta(C::ApMaterno, "Ap. Materno no puede estar vacio");
    if (!Valida_CURP(c.curp))
        return falta(C::CURP, "CURP no valido");
    if (!Valida_RFC(c.rfc))
        return falta(C::RFC, "RFC no valido");
    if (const auto d = revisaDomicilio(c.particular))
        return FaltaMandatario{C::Particular, d->mensaje, d->campo};
    if (const auto d = revisaDomicilio(c.fiscal))
        return FaltaMandatario{C::Fiscal, d->mensaje, d->campo};
    if (c.mandato != 1 && c.mandato != 2)
        return falta(C::Mandato, "Tipo de Mandato no puede estar vacio");
    if (isBlank(c.requerimiento))
        return falta(C::Requerimiento, "El Requerimiento Electrónico no puede estar vacio");
    if (!c.requerimiento.toUpper().contains(c.rfc + QStringLiteral(".REQ")))
        return falta(C::Requerimiento, "El Requerimiento Electrónico se debe llamar igual al RFC");
    if (c.mandato == 1 && c.aduanas == 0)
        return falta(C::Aduanas, "Debe existir almenos una Aduana donde ha actuado");
    if (c.mandato == 2 && !c.ntcl && !c.examen)
        return falta(C::Acreditacion, "Debe elegir el tipo de acreditación");
    if (!c.si && !c.no)
        return falta(C::Operando, "Debe elegir si el Manandatario o Representante se encuentra Operando");
    return std::nullopt;
}
