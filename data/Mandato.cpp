#include "data/Mandato.h"

QString mandatoText(const QVariant& code) {
    if (code.isNull())
        return {};
    switch (code.toInt()) {
    case 1:
        return Mandato_Anterior;
    case 2:
        return Mandato_Conforme;
    case 3:
        return Mandato_Autorizado;
    default:
        return {};
    }
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
