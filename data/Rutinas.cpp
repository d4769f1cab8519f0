#include "data/Rutinas.h"

namespace {

bool isDigitChar(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// A date hidden in an identifier: day, month and year are two characters each at fixed positions.
bool hasValidDate(const QString& text) {
    return twoDigitYearDate(text.mid(8, 2), text.mid(6, 2), text.mid(4, 2)).isValid();
}

// A text that reads as a number: optional sign, digits, at most one decimal point; blanks around are allowed.
bool isNumeric(const QString& text) {
    const QString t = text.trimmed();
    int i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < t.size(); ++i) {
        if (isDigitChar(t[i])) {
            digits = true;
        } else if (t[i] == QLatin1Char('.') && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

// The number a text begins with, read up to the first character that cannot continue it; 0 when none.
double leadingNumber(const QString& text) {
    const QString t = text.trimmed();
    int end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('+') || t[end] == QLatin1Char('-')))
        ++end;
    bool point = false;
    while (end < t.size() && (isDigitChar(t[end]) || (t[end] == QLatin1Char('.') && !point))) {
        if (t[end] == QLatin1Char('.'))
            point = true;
        ++end;
    }
    bool ok = false;
    const double value = t.left(end).toDouble(&ok);
    return ok ? value : 0.0;
}

// The weighted sum of the first `count` characters, each valued by its place in the alphabet and weighted from
// count + 1 down to 2; -1 when a character is not in the alphabet.
int weightedSum(const QString& text, qsizetype count, const QString& alphabet) {
    int sum = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype value = alphabet.indexOf(text[i]);
        if (value < 0)
            return -1;
        sum += int(value * (count + 1 - i));
    }
    return sum;
}

} // namespace

bool isDigits(const QString& text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (!isDigitChar(c))
            return false;
    }
    return true;
}

QDate twoDigitYearDate(const QString& day, const QString& month, const QString& year) {
    if (!isDigits(day) || !isDigits(month) || !isDigits(year) || year.size() != 2)
        return {};
    const int yy = year.toInt();
    return QDate(yy < 30 ? 2000 + yy : 1900 + yy, month.toInt(), day.toInt());
}

bool Valida_Patente(const QString& text) {
    const double value = leadingNumber(text);
    return value > 0 && value <= 4000;
}

bool Valida_CURP(const QString& curp) {
    if (curp.size() < 18)
        return false;
    if (isNumeric(curp.left(4)))
        return false;
    if (!hasValidDate(curp))
        return false;
    if (curp[10] != QLatin1Char('H') && curp[10] != QLatin1Char('M'))
        return false;
    if (isNumeric(curp.mid(11, 2)))
        return false;
    return true;
}

bool Valida_RFC(const QString& rfc) {
    if (rfc.size() < 13)
        return false;
    if (isNumeric(rfc.left(4)))
        return false;
    return hasValidDate(rfc);
}

bool coincideDigitoCURP(const QString& curp) {
    // RENAPO's values: digits 0-9, A-N 10-23, Ñ 24, O-Z 25-36.
    static const QString alphabet = QStringLiteral("0123456789ABCDEFGHIJKLMN\u00D1OPQRSTUVWXYZ");
    if (curp.size() < 18)
        return false;
    const int sum = weightedSum(curp, 17, alphabet);
    return sum >= 0 && curp[17] == QLatin1Char(char('0' + (10 - sum % 10) % 10));
}

bool coincideDigitoRFC(const QString& rfc) {
    // SAT's values: digits 0-9, A-N 10-23, & 24, O-Z 25-36, blank 37, Ñ 38.
    static const QString alphabet = QStringLiteral("0123456789ABCDEFGHIJKLMN&OPQRSTUVWXYZ \u00D1");
    if (rfc.size() < 13)
        return false;
    const int sum = weightedSum(rfc, 12, alphabet);
    if (sum < 0)
        return false;
    const int digit = (11 - sum % 11) % 11;
    return rfc[12] == (digit == 10 ? QLatin1Char('A') : QLatin1Char(char('0' + digit)));
}

std::optional<QString> avisoDigito(Identificador identificador, const QString& text) {
    if (identificador == Identificador::CURP) {
        if (Valida_CURP(text) && !coincideDigitoCURP(text))
            return QStringLiteral("El dígito verificador no coincide; revise la CURP");
    } else if (Valida_RFC(text) && !coincideDigitoRFC(text)) {
        return QStringLiteral("El dígito verificador no coincide; revise el RFC");
    }
    return std::nullopt;
}

QString numberText(qint64 number) {
    return number < 0 ? QString::number(number) : QLatin1Char(' ') + QString::number(number);
}

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString rtrim(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.left(end);
}

bool isBlank(const QString& text) {
    return rtrim(text).isEmpty();
}
