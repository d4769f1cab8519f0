#pragma once

#include <QString>
#include <QVariant>

// The mandate types of a representative, stored as codes 1 to 3 and shown as these texts.
inline const QString Mandato_Anterior = QStringLiteral("Anterior 01/01/2001");
inline const QString Mandato_Conforme = QStringLiteral("Conforme 2.13.11 (Posterior 01/01/2001)");
inline const QString Mandato_Autorizado = QStringLiteral("Con autorización de operar al 15/01/2004");

// The text of a stored Mandato code; empty for Null or an unknown code.
QString mandatoText(const QVariant& code);
// The text of a stored Operando code: "No", "Si", "No Definido"; empty otherwise.
QString operandoText(const QVariant& code);
