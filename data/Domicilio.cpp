#include "data/Domicilio.h"

#include "data/Rutinas.h"

QList<FaltaDomicilio> faltasDomicilio(const TextosDomicilio& d) {
    QList<FaltaDomicilio> faltas;
    const auto falta = [&](CampoDomicilio campo, const char* text) {
        faltas << FaltaDomicilio{campo, QString::fromUtf8(text)};
    };
    if (isBlank(d.calle))
        falta(CampoDomicilio::Calle, "Calle no puede estar vacio");
    if (isBlank(d.noExt))
        falta(CampoDomicilio::NoExt, "El No. Externo no puede estar vacio, si no tiene número escriba S/N");
    if (isBlank(d.colonia))
        falta(CampoDomicilio::Colonia, "Colonia no puede estar vacio");
    if (isBlank(d.cp))
        falta(CampoDomicilio::CP, "C.P. no puede estar vacio");
    // Five digits: a sign, a point or a blank would pass a numeric reading but is no postal code.
    else if (!isDigits(d.cp) || d.cp.size() < 5)
        falta(CampoDomicilio::CP, "Formato de C.P. invalido");
    if (isBlank(d.entidad))
        falta(CampoDomicilio::Entidad, "Entidad Fed. no puede estar vacio");
    if (isBlank(d.municipio))
        falta(CampoDomicilio::Municipio, "Mpio. o Delegación no puede estar vacio");
    if (isBlank(d.telefono))
        falta(CampoDomicilio::Telefono, "El Telefóno no puede estar vacio");
    if (isBlank(d.fax))
        falta(CampoDomicilio::Fax, "El Fax no puede estar vacio");
    return faltas;
}

std::optional<FaltaDomicilio> revisaDomicilio(const TextosDomicilio& d) {
    const QList<FaltaDomicilio> faltas = faltasDomicilio(d);
    return faltas.isEmpty() ? std::nullopt : std::optional(faltas.first());
}
