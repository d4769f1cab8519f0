#pragma once

#include "data/Rutinas.h"

class QLineEdit;

// A warning icon at the end of the box, with a tooltip, while its text passes the identifier's format check but
// its check digit does not match. It only warns: identifiers in real use do not all carry the digit the rule gives,
// so the box takes the text and the dialog stores it as before.
void avisaDigitoVerificador(QLineEdit* box, Identificador identificador);
