#pragma once

#include <QString>
#include <QVariant>

// The mandate type of a representative, stored in Mandatarios.Mandato as the code of its enumerator.
enum class Mandato {
    Ninguno = 0, // Null, or a code this version does not know (imported data)
    Anterior = 1,
    Conforme = 2, // the aspirants: their periods with other brokers are captured on page 4
    Autorizado = 3,
};

// The texts the lists and the type combo show.
inline const QString Mandato_Anterior = QStringLiteral("Anterior 01/01/2001");
inline const QString Mandato_Conforme = QStringLiteral("Conforme 2.13.11 (Posterior 01/01/2001)");
inline const QString Mandato_Autorizado = QStringLiteral("Con autorización de operar al 15/01/2004");

Mandato mandatoDeCodigo(const QVariant& code);
// The stored code: Null for Ninguno.
QVariant codigoMandato(Mandato mandato);
// The text of a type; empty for Ninguno.
QString mandatoText(Mandato mandato);
// The text of a stored Operando code: "No", "Si", "No Definido"; empty otherwise.
QString operandoText(const QVariant& code);
