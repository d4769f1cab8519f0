#include "data/Mandato.h"

#include <array>

namespace {

const ReglasMandato kNinguno{};

const std::array<ReglasMandato, 3>& tabla() {
    // mandato, texto, seCaptura, conAduanas, conAcreditacion, conRequerimiento, copiaRequerimiento, aspirante, marca
    static const std::array<ReglasMandato, 3> tipos{{
        {Mandato::Anterior, QStringLiteral("Anterior 01/01/2001"), true, true, false, true, true, false,
         QStringLiteral("")},
        {Mandato::Conforme, QStringLiteral("Conforme 2.13.11 (Posterior 01/01/2001)"), true, false, true, true, false,
         true, QStringLiteral("1")},
        {Mandato::Autorizado, QStringLiteral("Con autorización de operar al 15/01/2004"), false, false, false, false,
         true, false, QString()},
    }};
    return tipos;
}

} // namespace

std::span<const ReglasMandato> tiposMandato() {
    return tabla();
}

const ReglasMandato& reglas(Mandato mandato) {
    for (const ReglasMandato& r : tabla())
        if (r.mandato == mandato)
            return r;
    return kNinguno;
}

QVariantList codigosDonde(bool ReglasMandato::*regla) {
    QVariantList codigos;
    for (const ReglasMandato& r : tabla())
        if (r.*regla)
            codigos << codigoMandato(r.mandato);
    return codigos;
}

Mandato mandatoDeCodigo(const QVariant& code) {
    if (code.isNull())
        return Mandato::Ninguno;
    for (const ReglasMandato& r : tabla())
        if (static_cast<int>(r.mandato) == code.toInt())
            return r.mandato;
    return Mandato::Ninguno;
}

QVariant codigoMandato(Mandato mandato) {
    return mandato == Mandato::Ninguno ? QVariant() : QVariant(static_cast<int>(mandato));
}

QString mandatoText(Mandato mandato) {
    return reglas(mandato).texto;
}

QString operandoText(const QVariant& code) {
    if (code.isNull())
        return {};
    switch (code.toInt()) {
    case 0:
        return QStringLiteral("No");
    case 1:
        return QStringLiteral("Si");
    case 2:
        return QStringLiteral("No Definido");
    default:
        return {};
    }
}
