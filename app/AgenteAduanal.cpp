#include "app/AgenteAduanal.h"

#include "platform/Database.h"

namespace {

void insertAddress(Database& db, const DomicilioAA& d, int tipo) {
    db.exec(
        QStringLiteral("insert into Domicilios_AA(EntFed,MDeleg,Calle,NoExt,NoInt,Colonia,CP,Telefono,Fax,Tipo_Dom) "
                       "values (?,?,?,?,?,?,?,?,?,?)"),
        {d.entFed, d.mDeleg, d.calle, d.noExt, d.noInt, d.colonia, d.cp, d.telefono, d.fax, tipo});
}

} // namespace

void guardaAgente(Database& db, const AgenteAduanal& a) {
    Transaction transaction(db);
    db.exec(QStringLiteral("delete from AA"));
    db.exec(QStringLiteral("delete from Domicilios_AA"));
    db.exec(QStringLiteral("insert into AA(Patente,CURP,RFC,Nombre,ApPaterno,ApMaterno,Autorizacion,Adscripcion) "
                           "values (?,?,?,?,?,?,?,?)"),
            {a.patente, a.curp, a.rfc, a.nombre, a.apPaterno, a.apMaterno, a.autorizacion, a.adscripcion});
    insertAddress(db, a.fiscal, 1);
    insertAddress(db, a.notificaciones, 2);
    transaction.commit();
}

QVariant numberFromItem(const QString& text) {
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    return ok ? QVariant(n) : QVariant();
}
