#pragma once

#include <QList>
#include <QString>

#include <optional>

class Store;

enum class Gravedad { Error, Aviso };

// Whose record a problem lies in, which tells where it is mended: page 1, the representative's dialog or the
// former representative's.
enum class Titular { Agente, Mandatario, Anterior };

struct Problema {
    Titular titular = Titular::Agente;
    // The record's key; empty for the broker.
    QString curp;
    // "Agente Aduanal", or the person's name.
    QString registro;
    // The office or the period the problem lies in, where one does.
    QString donde;
    // In the words of the check that finds it.
    QString mensaje;
    Gravedad gravedad = Gravedad::Error;
};

// A representative's request file, to be read: reading one means checking its signature, which takes long enough
// that a window reads them apart from the rest, one at a time.
struct RequerimientoPorLeer {
    QString curp, rfc, registro, ruta;
};

struct RevisionBase {
    QList<Problema> problemas;
    QList<RequerimientoPorLeer> requerimientos;
};

// What the database alone tells, in this order: the broker's page-1 checks, each representative's completeness
// for his mandate type, his request file's name (after his RFC, and one of its own in ENVIO) and check digits (in
// stored order, read a page at a time), the values the information file cannot hold, the former representatives'
// check digits and the periods whose office has left the catalogue; and the request files still to be read.
// Throws DatabaseError when the store cannot be read.
RevisionBase revisaBase(Store& store);
// The request file missing, unreadable, not a request or someone else's; nothing when it is the representative's.
std::optional<Problema> revisaArchivo(const RequerimientoPorLeer& r);
// Every problem of the data as stored: revisaBase's, then those of the request files.
QList<Problema> revisa(Store& store);
