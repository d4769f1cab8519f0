#pragma once

#include <QString>

#include <optional>

// What a request file (*.req) turned out to be: the PKCS#10 certificate request that the authority's tool writes
// when a person applies for his e.firma, signed with the key it asks a certificate for.
enum class EstadoRequerimiento { Valido, NoExiste, Ilegible, NoEsRequerimiento };

struct LecturaRequerimiento {
    EstadoRequerimiento estado;
    QString rfc;    // x500UniqueIdentifier (2.5.4.45), the person's part of "RFC_MORAL / RFC_REP"
    QString curp;   // serialNumber (2.5.4.5)
    QString motivo; // when not Valido: why, in Spanish, for the user
};

// A request file is well under 1 KB; anything past this is not one.
inline constexpr qsizetype kMaxBytesRequerimiento = 64 * 1024;

// Reads the request at `path`, DER or PEM, and checks its self-signature; only a regular file of at most
// kMaxBytesRequerimiento is read.
LecturaRequerimiento leeRequerimiento(const QString& path);
// The request is valid and carries this RFC and CURP (letter case aside).
bool esDelRepresentante(const LecturaRequerimiento& lectura, const QString& rfc, const QString& curp);
// What is wrong with the representative's request file, in the user's words: it cannot be read, is not a request,
// or is another person's (naming the RFC and CURP it carries); nothing when it is his.
std::optional<QString> revisaRequerimiento(const QString& path, const QString& rfc, const QString& curp);
// The question to ask before a representative is stored with the request at `path`: none when it is his.
std::optional<QString> preguntaRequerimiento(const QString& path, const QString& rfc, const QString& curp);
// One short line on the representative's request file, for the page that lists him.
QString estadoRequerimiento(const QString& path, const QString& rfc, const QString& curp);
