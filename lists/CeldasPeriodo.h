#pragma once

#include "data/Entidades.h"
#include "data/Rutinas.h"

#include <QStringList>

// The cells of a former representative's period in a grid: " 47", name, "dd/mm/yyyy", "dd/mm/yyyy".
inline QStringList celdasPeriodo(const PeriodoAgente& p) {
    return {numberText(p.aduana.numero), p.aduana.nombre, dateText(p.inicio), dateText(p.fin)};
}
