#include "data/Mandato.h"

Mandato mandatoDeCodigo(const QVariant& code) {
    if (code.isNull())
        return Mandato::Ninguno;
    switch (code.toInt()) {
    case 1:
        return Mandato::Anterior;
    case 2:
        return Mandato::Conforme;
    case 3:
        return Mandato::Autorizado;
    default:
        return Mandato::Ninguno;
    }
}

QVariant codigoMandato(Mandato mandato) {
    return mandato == Mandato::Ninguno ? QVariant() : QVariant(static_cast<int>(mandato));
}

QString mandatoText(Mandato mandato) {
    switch (mandato) {
    case Mandato::Anterior:
        return Mandato_Anterior;
    case Mandato::Conforme:
        return Mandato_Conforme;
    case Mandato::Autorizado:
        return Mandato_Autorizado;
    case Mandato::Ninguno:
        break;
    }
    return {};
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
