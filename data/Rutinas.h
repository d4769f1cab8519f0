#pragma once

#include <QDate>
#include <QString>

#include <optional>

// The identifier checks and the number and date readings that several windows share.

// True when the number the text begins with is greater than 0 and at most 4000.
bool Valida_Patente(const QString& text);
bool Valida_CURP(const QString& curp);
bool Valida_RFC(const QString& rfc);
// True when the 18th character of the CURP is the check digit RENAPO computes from the 17 before it.
bool coincideDigitoCURP(const QString& curp);
// True when the 13th character of a person's RFC is the check digit SAT computes from the 12 before it.
bool coincideDigitoRFC(const QString& rfc);
enum class Identificador { CURP, RFC };
// The warning for a text that passes the identifier's format check while its check digit does not match; nothing
// otherwise (a text that fails the format check gets the capture's own message).
std::optional<QString> avisoDigito(Identificador identificador, const QString& text);
// As wide on screen as an RFC or a CURP can be: capitals where letters may stand, digits where the date stands.
inline const QString kAnchoRFC = QStringLiteral("MMMM999999MMM");
inline const QString kAnchoCURP = QStringLiteral("MMMM999999MMMMMM99");

// True when the text is digits only (and not empty).
bool isDigits(const QString& text);
// The date day/month/two-digit year, or a null date when it does not exist in the calendar.
// Years 00 to 29 are 2000 to 2029, 30 to 99 are 1930 to 1999.
QDate twoDigitYearDate(const QString& day, const QString& month, const QString& year);

// The text without its trailing blanks.
QString rtrim(const QString& text);
// True when nothing is left of the text once trailing blanks are removed.
bool isBlank(const QString& text);

// A number as lists and grids show it: one blank before a number that is not negative (47 becomes " 47").
QString numberText(qint64 number);
// Dates as the screens show them.
QString dateText(const QDate& date);
