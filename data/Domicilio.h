#pragma once

#include <QList>
#include <QString>

#include <optional>

// The texts of an address block as the check sees them.
struct TextosDomicilio {
    QString calle, noExt, colonia, cp, entidad, municipio, telefono, fax;
};

enum class CampoDomicilio { Calle, NoExt, Colonia, CP, Entidad, Municipio, Telefono, Fax };

struct FaltaDomicilio {
    CampoDomicilio campo;
    QString mensaje;
};

// Every fault of a block, in the order the user is told of them.
QList<FaltaDomicilio> faltasDomicilio(const TextosDomicilio& d);
// The first of them, or nothing when the block is complete.
std::optional<FaltaDomicilio> revisaDomicilio(const TextosDomicilio& d);
