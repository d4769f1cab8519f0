#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <span>

// The mandate type of a representative, stored in Mandatarios.Mandato as the code of its enumerator.
enum class Mandato {
    Ninguno = 0, // Null, or a code this version does not know (imported data)
    Anterior = 1,
    Conforme = 2,
    Autorizado = 3,
};

// What a mandate type means wherever it matters: the dialog, its checks, the store, the pages, the information
// file and the import all ask here, so a type is added or changed in this one row.
struct ReglasMandato {
    Mandato mandato = Mandato::Ninguno;
    // What the lists and the type combo show.
    QString texto;
    // Offered in the representative dialog's type combo; a representative of another type (imported) must be
    // given one of these before he is stored again.
    bool seCaptura = false;
    // Shows, requires at least one of, and stores the customs offices before which he acted and his declarations
    // processed before 2001.
    bool conAduanas = false;
    // Shows, requires and stores the type of accreditation (NTCL or the knowledge exam).
    bool conAcreditacion = false;
    // Shows and requires his request file (*.req).
    bool conRequerimiento = false;
    // His request file is copied beside the information file, for the authority.
    bool copiaRequerimiento = false;
    // Counts as an aspirant: his periods with other brokers are captured on page 4, and the history goes into the
    // information file.
    bool aspirante = false;
    // How the previous version's export marks the type (Recupera.txt); empty text is a mark too, a null one none.
    QString marcaExportacion;
};

// The known types, in code order.
std::span<const ReglasMandato> tiposMandato();
// The rules of a type; Ninguno's (nothing shown, required or stored) for it.
const ReglasMandato& reglas(Mandato mandato);
// The stored codes of the types for which the rule holds, in code order.
QVariantList codigosDonde(bool ReglasMandato::*regla);

Mandato mandatoDeCodigo(const QVariant& code);
// The stored code: Null for Ninguno.
QVariant codigoMandato(Mandato mandato);
// The text of a type; empty for Ninguno.
QString mandatoText(Mandato mandato);
// The text of a stored Operando code: "No", "Si", "No Definido"; empty otherwise.
QString operandoText(const QVariant& code);
