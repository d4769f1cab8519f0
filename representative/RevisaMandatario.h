#pragma once

#include "data/Domicilio.h"
#include "data/Mandato.h"

#include <QString>

#include <optional>

// What the acceptance checks look at, as the dialog holds it.
struct CapturaMandatario {
    QString nombre, apPaterno, apMaterno, curp, rfc;
    TextosDomicilio particular, fiscal;
    Mandato mandato = Mandato::Ninguno;
    QString requerimiento;
    int aduanas = 0; // data rows of the offices grid
    bool ntcl = false, examen = false, si = false, no = false;
};

enum class CampoMandatario {
    Nombre,
    ApPaterno,
    ApMaterno,
    CURP,
    RFC,
    Particular,
    Fiscal,
    Mandato,
    Requerimiento,
    Aduanas,
    Acreditacion,
    Operando
};

struct FaltaMandatario {
    CampoMandatario campo;
    QString mensaje;
    // The faulty member of an address block (Particular, Fiscal).
    CampoDomicilio domicilio = CampoDomicilio::Calle;
};

// The request file of a type that requires one must be named after the representative's RFC: its path, upper-cased,
// holds the RFC as typed followed by ".REQ". Nothing for a type without a request, or with none given yet.
std::optional<QString> revisaNombreRequerimiento(Mandato mandato, const QString& requerimiento, const QString& rfc);

// The first fault of a capture, in the order the user is told of them, or nothing when it may be stored.
std::optional<FaltaMandatario> revisaMandatario(const CapturaMandatario& c);
