#pragma once

#include "data/Mandato.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

// The values the store reads and writes, one type per stored entity. Nothing here knows a window.

// One address as both address tables hold it.
struct Domicilio {
    QString entFed;
    QVariant mDeleg; // Null when no municipality was chosen
    QString calle, noExt, noInt, colonia, cp, telefono, fax;

    friend bool operator==(const Domicilio&, const Domicilio&) = default;
};

// The broker who registers (AA) with his fiscal address and his address for notifications (Domicilios_AA).
struct AgenteAduanal {
    qint64 patente = 0;
    QString nombre, apPaterno, apMaterno, rfc, curp;
    qint64 autorizacion = 0;
    QVariant adscripcion; // a cveAduana; Null when none was chosen
    Domicilio fiscal;
    Domicilio notificaciones;

    friend bool operator==(const AgenteAduanal&, const AgenteAduanal&) = default;
};

// A customs office of the catalogue.
struct Aduana {
    qint64 numero = 0;
    QString nombre;

    friend bool operator==(const Aduana&, const Aduana&) = default;
};

// A declaration processed before 2001 (Pedimentos_MM); the office's name is only for showing.
struct Pedimento {
    Aduana aduana;
    QString noPedimento;
    QDate fecha;

    friend bool operator==(const Pedimento&, const Pedimento&) = default;
};

// A representative (Mandatarios) with his private and fiscal addresses and, for mandate type Anterior, the offices
// he acted before and his declarations.
struct Mandatario {
    QString curp, rfc, nombre, apPaterno, apMaterno;
    Mandato mandato = Mandato::Ninguno;
    QString requerimiento;
    int acreditacion = 0; // 0 none, 1 NTCL, 2 Examen de Conocimientos
    int operando = 0;     // 0 No, 1 Si, 2 No Definido (what the import stores)
    Domicilio particular, fiscal;
    QList<Aduana> aduanas;
    QList<Pedimento> pedimentos;

    friend bool operator==(const Mandatario&, const Mandatario&) = default;
};

// A representative as the lists show him.
struct FilaMandatario {
    QString curp, rfc, nombre, apPaterno, apMaterno;
    Mandato mandato = Mandato::Ninguno;
    QVariant operando;
    QString requerimiento;
};

// What "Finaliza" looks at of one representative, as stored.
struct EstadoMandatario {
    FilaMandatario fila;
    QVariant acreditacion;
    bool particular = false, fiscal = false;
    // He has customs offices; filled by the walk, not by the store.
    bool aduanas = false;
};

// A period of a former representative before a customs office (Periodos_H_AA).
struct PeriodoAgente {
    Aduana aduana;
    QDate inicio;
    QDate fin;

    friend bool operator==(const PeriodoAgente&, const PeriodoAgente&) = default;
};

// A person who acted for the broker in the past (Historico_AA) with his periods.
struct PersonaHistorica {
    QString rfc, curp, nombre, apPaterno, apMaterno;
    QList<PeriodoAgente> periodos;

    friend bool operator==(const PersonaHistorica&, const PersonaHistorica&) = default;
};

// A period in which an aspirant acted with another broker (Periodos_H_MM).
struct PeriodoMandatario {
    QString curp;
    qint64 patente = 0;
    Aduana aduana;
    QDate inicio;
    QDate fin;
    // The stored row, so that a deletion takes this period and no other; 0 until stored.
    qint64 id = 0;

    friend bool operator==(const PeriodoMandatario&, const PeriodoMandatario&) = default;
};

// A stored period whose customs office has left the catalogue: it cannot be shown or edited.
struct PeriodoFueraDeCatalogo {
    QString curp;
    qint64 noAduana = 0;
    QDate inicio, fin;
};

// Catalogue items of the address blocks.
struct EntidadFederativa {
    QString clave, nombre;
};
struct Municipio {
    qint64 numero = 0;
    QString nombre;
};
