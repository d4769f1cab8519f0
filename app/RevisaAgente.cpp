#include "app/RevisaAgente.h"

#include "data/Rutinas.h"

QList<FaltaAgente> faltasAgente(const TextosAgente& t) {
    using C = CampoAgente;
    QList<FaltaAgente> faltas;
    const auto falta = [&](C campo, const char* text) { faltas << FaltaAgente{campo, QString::fromUtf8(text)}; };
    // The patente is stored as a number and names the information file: digits only.
    if (!Valida_Patente(t.patente) || !isDigits(t.patente))
        falta(C::Patente, "No de Patente invalido");
    if (isBlank(t.nombre))
        falta(C::Nombre, "El Nombre no puede estar vacio");
    if (isBlank(t.apPaterno))
        falta(C::ApPaterno, "El Ap.Paterno no puede estar vacio");
    if (isBlank(t.apMaterno))
        falta(C::ApMaterno, "El Ap.Materno no puede estar vacio");
    if (!Valida_CURP(t.curp))
        falta(C::CURP, "Formato de CURP incorrecto");
    if (!Valida_RFC(t.rfc))
        falta(C::RFC, "Formato de RFC incorrecto");
    if (isBlank(t.aduana))
        falta(C::Aduana, "Indique la Aduana de Adscripción");
    for (const auto& [bloque, campo] :
         {std::pair{&t.fiscal, C::Fiscal}, std::pair{&t.notificaciones, C::Notificaciones}})
        for (const FaltaDomicilio& d : faltasDomicilio(*bloque))
            faltas << FaltaAgente{campo, d.mensaje, d.campo};
    return faltas;
}
