#include "representative/RevisaMandatario.h"

#include "data/Rutinas.h"

std::optional<QString> revisaNombreRequerimiento(Mandato mandato, const QString& requerimiento, const QString& rfc) {
    if (!reglas(mandato).conRequerimiento || isBlank(requerimiento) ||
        requerimiento.toUpper().contains(rfc + QStringLiteral(".REQ")))
        return std::nullopt;
    return QStringLiteral("El Requerimiento Electrónico se debe llamar igual al RFC");
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
    const ReglasMandato& tipo = reglas(c.mandato);
    if (!tipo.seCaptura)
        return falta(C::Mandato, "Tipo de Mandato no puede estar vacio");
    if (tipo.conRequerimiento && isBlank(c.requerimiento))
        return falta(C::Requerimiento, "El Requerimiento Electrónico no puede estar vacio");
    if (std::optional<QString> nombre = revisaNombreRequerimiento(c.mandato, c.requerimiento, c.rfc))
        return FaltaMandatario{C::Requerimiento, *nombre};
    if (tipo.conAduanas && c.aduanas == 0)
        return falta(C::Aduanas, "Debe existir almenos una Aduana donde ha actuado");
    if (tipo.conAcreditacion && !c.ntcl && !c.examen)
        return falta(C::Acreditacion, "Debe elegir el tipo de acreditación");
    if (!c.si && !c.no)
        return falta(C::Operando, "Debe elegir si el Manandatario o Representante se encuentra Operando");
    return std::nullopt;
}
