#pragma once

#include "data/Domicilio.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

class Database;

// What the representative dialog stores: one Mandatarios row, his two Domicilios_MM rows and, for mandate type 1,
// his Aduanas_MM and Pedimentos_MM rows.
struct DomicilioMandatario {
    QString entFed;
    QVariant mDeleg; // Null when no municipality was chosen
    QString calle, noExt, noInt, colonia, cp, telefono, fax;
};

struct PedimentoMandatario {
    qint64 noAduana = 0;
    QString noPedimento;
    QDate fecha;
};

struct Mandatario {
    QString curp, rfc, nombre, apPaterno, apMaterno;
    int mandato = 0;
    QString requerimiento;
    int acreditacion = 0;
    int operando = 0;
    DomicilioMandatario particular, fiscal;
    QList<qint64> aduanas;
    QList<PedimentoMandatario> pedimentos;
};

// Writes the representative as a whole; when he is corrected, curpAnterior is the CURP he was stored under (empty
// for some imported representatives) and his old rows are replaced. All or nothing: a refused statement throws
// DatabaseError and leaves every table as it was.
void guardaMandatario(Database& db, const std::optional<QString>& curpAnterior, const Mandatario& m);
// Removes the representative with every row that hangs on his CURP, all or nothing.
void borraMandatario(Database& db, const QString& curp);
bool existeMandatario(Database& db, const QString& curp);

// Shows the representative's address of one type (1 private, 2 fiscal) in the block; empties it when he has none.
void Llena_Domicilio_M(Database& db, const BloqueDomicilio& block, const QString& curp, int tipoDom);
void Limpia_Domicilio_M(Database& db, const BloqueDomicilio& block);

// What the acceptance checks look at, as the dialog holds it.
struct CapturaMandatario {
    QString nombre, apPaterno, apMaterno, curp, rfc;
    TextosDomicilio particular, fiscal;
    int mandato = 0; // 0 when no type is chosen
    QString requerimiento;
    int aduanas = 0; // data rows of the offices grid
    bool ntcl = false, examen = false, si = false, no = false;
};

enum class CampoMandatario {
    Nombre,
    ApPaterno,
    ApMaterno,
    CURP,
    RFC,
    Particular,
    Fiscal,
    Mandato,
    Requerimiento,
    Aduanas,
    Acreditacion,
    Operando
};

struct FaltaMandatario {
    CampoMandatario campo;
    QString mensaje;
    // The faulty member of an address block (Particular, Fiscal).
    CampoDomicilio domicilio = CampoDomicilio::Calle;
};

// The first fault of a capture, in the order the user is told of them, or nothing when it may be stored.
std::optional<FaltaMandatario> revisaMandatario(const CapturaMandatario& c);
