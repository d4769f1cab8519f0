#pragma once

#include "data/Domicilio.h"

#include <QList>
#include <QString>

// What page 1's check looks at, as the page shows it.
struct TextosAgente {
    QString patente, nombre, apPaterno, apMaterno, curp, rfc, aduana;
    TextosDomicilio fiscal, notificaciones;
};

enum class CampoAgente { Patente, Nombre, ApPaterno, ApMaterno, CURP, RFC, Aduana, Fiscal, Notificaciones };

struct FaltaAgente {
    CampoAgente campo;
    QString mensaje;
    // The faulty member of an address block (Fiscal, Notificaciones).
    CampoDomicilio domicilio = CampoDomicilio::Calle;
};

// Every fault of page 1, in the order the user is told of them: the page tells the first, "Revisar" all.
QList<FaltaAgente> faltasAgente(const TextosAgente& t);
