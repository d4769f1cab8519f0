#include "data/Domicilio.h"

#include "data/Rutinas.h"

std::optional<FaltaDomicilio> revisaDomicilio(const TextosDomicilio& d) {
    if (isBlank(d.calle))
        return FaltaDomicilio{CampoDomicilio::Calle, QStringLiteral("Calle no puede estar vacio")};
    if (isBlank(d.noExt))
        return FaltaDomicilio{CampoDomicilio::NoExt,
                              QStringLiteral("El No. Externo no puede estar vacio, si no tiene número escriba S/N")};
    if (isBlank(d.colonia))
        return FaltaDomicilio{CampoDomicilio::Colonia, QStringLiteral("Colonia no puede estar vacio")};
    if (isBlank(d.cp))
        return FaltaDomicilio{CampoDomicilio::CP, QStringLiteral("C.P. no puede estar vacio")};
    // Five digits: a sign, a point or a blank would pass a numeric reading but is no postal code.
    if (!isDigits(d.cp) || d.cp.size() < 5)
        return FaltaDomicilio{CampoDomicilio::CP, QStringLiteral("Formato de C.P. invalido")};
    if (isBlank(d.entidad))
        return FaltaDomicilio{CampoDomicilio::Entidad, QStringLiteral("Entidad Fed. no puede estar vacio")};
    if (isBlank(d.municipio))
        return FaltaDomicilio{CampoDomicilio::Municipio, QStringLiteral("Mpio. o Delegación no puede estar vacio")};
    if (isBlank(d.telefono))
        return FaltaDomicilio{CampoDomicilio::Telefono, QStringLiteral("El Telefóno no puede estar vacio")};
    if (isBlank(d.fax))
        return FaltaDomicilio{CampoDomicilio::Fax, QStringLiteral("El Fax no puede estar vacio")};
    return std::nullopt;
}
