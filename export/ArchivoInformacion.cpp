#include "export/ArchivoInformacion.h"

#include "data/Schema.h"
#include "data/Store.h"
#include "export/Windows1252.h"
#include "platform/Database.h"
#include "platform/Files.h"

#include <QDate>
#include <QIODevice>

#include <charconv>
#include <functional>
#include <vector>

namespace {

// One record type: the table and the columns written, in file order.
struct Registro {
    TableDefinition tabla;
    QList<Columna> campos;
    // Whose rows these are: the broker's, or the person whose CURP each row names.
    const char* persona;
    // Values written after the tag and the patente when the table is empty; nullptr: nothing at all.
    const char* filler;
    // The broker's own rows name no person.
    bool porPersona() const { return tabla.name != tabla::AA.name && tabla.name != tabla::Domicilios_AA.name; }
};

using namespace col;

// The fields of an address, as both address tables carry them, between the fields before and after them.
QList<Columna> conDomicilio(QList<Columna> antes, const QList<Columna>& despues) {
    antes << QList<Columna>{EntFed, MDeleg, Calle, NoExt, NoInt, Colonia, CP, Telefono, Fax} << despues;
    return antes;
}

const std::vector<Registro>& registrosPrincipales() {
    static const std::vector<Registro> r = {
        {tabla::AA, {Nombre, ApPaterno, ApMaterno, RFC, CURP, Adscripcion}, "del Agente Aduanal", nullptr},
        {tabla::Domicilios_AA, conDomicilio({Tipo_Dom}, {}), "del Agente Aduanal", nullptr},
        // The filler carries seven values for a record of eight: the authority reads it so.
        {tabla::Mandatarios,
         {CURP, RFC, Nombre, ApPaterno, ApMaterno, col::Mandato, Acreditacion, Operando},
         "del representante",
         "No Aplica|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica|No Aplica"},
        {tabla::Domicilios_MM, conDomicilio({CURP}, {Tipo_Dom}), "del representante", nullptr},
        {tabla::Aduanas_MM, {CURP, NoAduana}, "del representante", nullptr},
        {tabla::Pedimentos_MM, {CURP, NoAduana, NoPedimento, FechPedimento}, "del representante", nullptr},
    };
    return r;
}

const std::vector<Registro>& registrosHistoria() {
    static const std::vector<Registro> r = {
        {tabla::Historico_AA,
         {RFC, CURP, Nombre, ApPaterno, ApMaterno},
         "del representante anterior",
         "No Aplica|No Aplica|No Aplica|No Aplica"},
        {tabla::Periodos_H_AA, {CURP, NoAduana, FechaIni, FechaFin}, "del representante anterior", nullptr},
        // "No Plica" is what the authority has always received; it stays as it is.
        {tabla::Periodos_H_MM,
         {CURP, NoAduana, Patente_MM, FechaIni, FechaFin},
         "del aspirante",
         "No Plica|No Aplica|No Aplica|No Aplica|No Aplica"},
    };
    return r;
}

const char* const kHeaderMiddle = "|1111111||||||||";
const char* const kTrailer = "800|1111111|1|\r\n";

// The byte of a character that Windows-1252 places between 0x80 and 0x9F; -1 for any other.
int highHalfByte(char32_t c) {
    if (c < 0x100)
        return -1;
    for (std::size_t k = 0; k < kHighHalf.size(); ++k)
        if (kHighHalf[k] == c)
            return int(0x80 + k);
    return -1;
}

enum class Defecto { Ninguna, Separador, SaltoDeLinea, Caracter };

constexpr char32_t kInvalid = 0xFFFD;

// Reads one UTF-8 sequence starting at `i`, moving `i` past it; kInvalid for a broken one.
char32_t decodeUtf8(QByteArrayView text, qsizetype& i) {
    const auto lead = uchar(text[i++]);
    int extra = 0;
    char32_t c = 0;
    if (lead >= 0xF0 && lead < 0xF5) {
        extra = 3;
        c = lead & 0x07;
    } else if (lead >= 0xE0) {
        extra = 2;
        c = lead & 0x0F;
    } else if (lead >= 0xC2 && lead < 0xE0) {
        extra = 1;
        c = lead & 0x1F;
    } else {
        return kInvalid;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (uchar(text[i]) & 0xC0) != 0x80)
            return kInvalid;
        c = (c << 6) | (uchar(text[i++]) & 0x3F);
    }
    return c;
}

bool isLineBreak(char32_t c) {
    return c == u'\n' || c == u'\r' || c == 0x0B || c == 0x0C || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// Appends the stored UTF-8 text in Windows-1252; on a fault appends nothing and tells which character stopped it.
Defecto appendWindows1252(QByteArray& out, QByteArrayView text, char32_t* bad) {
    const qsizetype start = out.size();
    // Never more bytes than the UTF-8 form has.
    out.resize(start + text.size());
    char* p = out.data() + start;
    qsizetype i = 0;
    while (i < text.size()) {
        const auto b = uchar(text[i]);
        char32_t c = b;
        if (b < 0x80) {
            ++i;
            if (b >= 0x20 && b != '|') {
                *p++ = char(b);
                continue;
            }
        } else {
            c = decodeUtf8(text, i);
        }
        Defecto falla = Defecto::Caracter;
        if (c == u'|') {
            falla = Defecto::Separador;
        } else if (isLineBreak(c)) {
            falla = Defecto::SaltoDeLinea;
        } else if (c == u'\t' || (c >= 0xA0 && c <= 0xFF)) {
            *p++ = char(c);
            continue;
        } else if (const int byte = highHalfByte(c); byte >= 0) {
            *p++ = char(byte);
            continue;
        }
        out.resize(start);
        *bad = c;
        return falla;
    }
    out.resize(p - out.constData());
    return Defecto::Ninguna;
}

void appendNumber(QByteArray& out, qint64 value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr - digits);
}

// A whole number as the engine may hold it: an integer, a float without fraction, or its text (blanks allowed).
bool storedNumber(const Rows& rows, int column, qint64* value) {
    switch (rows.type(column)) {
    case Rows::Type::Integer:
        *value = rows.integer(column);
        return true;
    case Rows::Type::Float: {
        const double d = rows.real(column);
        // Outside [-2^63, 2^63) the cast itself is undefined; NaN fails both comparisons.
        if (!(d >= -0x1p63 && d < 0x1p63) || d != double(qint64(d)))
            return false;
        *value = qint64(d);
        return true;
    }
    case Rows::Type::Text: {
        const QByteArrayView text = QByteArrayView(rows.utf8(column)).trimmed();
        const char* first = text.data();
        const char* last = first + text.size();
        if (first != last && *first == '+')
            ++first;
        const auto result = std::from_chars(first, last, *value);
        return text.size() > 0 && result.ec == std::errc() && result.ptr == last;
    }
    default:
        return false;
    }
}

int digitsAt(QByteArrayView text, int from, int count) {
    int value = 0;
    for (int k = from; k < from + count; ++k) {
        if (text[k] < '0' || text[k] > '9')
            return -1;
        value = value * 10 + (text[k] - '0');
    }
    return value;
}

// Dates are stored as ISO text (yyyy-mm-dd); anything else is not a date the file can carry.
bool appendDate(QByteArray& out, QByteArrayView stored) {
    if (stored.size() < 10 || stored[4] != '-' || stored[7] != '-' || (stored.size() > 10 && stored[10] != 'T'))
        return false;
    const int year = digitsAt(stored, 0, 4);
    const int month = digitsAt(stored, 5, 2);
    const int day = digitsAt(stored, 8, 2);
    if (year < 1000 || !QDate(year, month, day).isValid())
        return false;
    out.append(stored.first(10));
    return true;
}

QString codigo(char32_t c) {
    return QStringLiteral("U+%1").arg(QString::number(uint(c), 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

// Characters that print as nothing, or that turn the text around them (U+202E writes the rest backwards).
bool invisible(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

QString describe(char32_t bad) {
    if (bad == kInvalid)
        return QStringLiteral("un carácter dañado");
    if (bad < 0x20 || (bad >= 0x7F && bad < 0xA0))
        return QStringLiteral("el carácter de control %1").arg(codigo(bad));
    if (invisible(bad))
        return QStringLiteral("el carácter invisible %1").arg(codigo(bad));
    return QStringLiteral("el carácter \"%1\" (%2)").arg(QString::fromUcs4(&bad, 1), codigo(bad));
}

class Escritor {
public:
    // Without a device the records are only checked: every value at fault goes to `falta`, which says whether to
    // go on.
    Escritor(QIODevice* out, std::function<bool(const FaltaValor&)> falta) : out_(out), falta_(std::move(falta)) {
        buffer_.reserve(kChunk + 4096);
    }

    void patente(qint64 patente) { patente_ = QByteArray::number(patente); }

    void header() { buffer_.append("501|").append(patente_).append(kHeaderMiddle).append(patente_).append("\r\n"); }

    void trailer() {
        buffer_.append(kTrailer);
        flush();
    }

    // The first value of the table the file cannot carry that `falta` stops on, as the broker is told it. Throws
    // DatabaseError when the table cannot be read.
    std::optional<QString> tabla(Store& store, const Registro& registro) {
        // The record's columns in file order, so that the i-th field is the i-th column read.
        personColumn_ = registro.porPersona() ? int(registro.campos.indexOf(col::CURP)) : -1;
        tipos_.clear();
        for (const Columna& campo : registro.campos)
            tipos_ << registro.tabla.tipo(campo);
        Rows rows = store.filas(registro.tabla, registro.campos);
        prefix_ = QString(registro.tabla).toLatin1() + '|' + patente_;
        bool any = false;
        while (rows.next()) {
            any = true;
            if (std::optional<QString> defecto = fila(rows, registro))
                return defecto;
            if (buffer_.size() >= kChunk)
                flush();
        }
        if (!any && registro.filler)
            buffer_.append(prefix_).append('|').append(registro.filler).append("\r\n");
        return std::nullopt;
    }

    void flush() {
        if (!out_)
            buffer_.clear();
        if (buffer_.isEmpty())
            return;
        if (!writeAll(*out_, buffer_))
            throw Falla(QStringLiteral("No se pudo escribir el archivo de información: %1.").arg(out_->errorString()));
        buffer_.clear();
    }

private:
    static constexpr qsizetype kChunk = 1 << 16;

    static QString stored(const Rows& rows, int column) { return legible(QString::fromUtf8(rows.utf8(column))); }

    std::optional<QString> fila(const Rows& rows, const Registro& registro) {
        const qsizetype lineStart = buffer_.size();
        bool faulty = false;
        buffer_.append(prefix_);
        for (qsizetype i = 0; i < registro.campos.size(); ++i) {
            const int column = int(i);
            buffer_.append('|');
            if (rows.isNull(column))
                continue;
            QString problem;
            switch (tipos_[i]) {
            case Tipo::Texto: {
                char32_t bad = 0;
                switch (appendWindows1252(buffer_, rows.utf8(column), &bad)) {
                case Defecto::Ninguna:
                    break;
                case Defecto::Separador:
                    problem = QStringLiteral("contiene el carácter \"|\", que separa los campos del archivo");
                    break;
                case Defecto::SaltoDeLinea:
                    problem = QStringLiteral("contiene un salto de línea");
                    break;
                case Defecto::Caracter:
                    problem = QStringLiteral("contiene %1, que el archivo (código Windows-1252) no puede llevar")
                                  .arg(describe(bad));
                    break;
                }
                break;
            }
            case Tipo::Numero: {
                qint64 n = 0;
                if (storedNumber(rows, column, &n))
                    appendNumber(buffer_, n);
                else
                    problem = QStringLiteral("no tiene un número válido (\"%1\")").arg(stored(rows, column));
                break;
            }
            case Tipo::Fecha:
                if (!appendDate(buffer_, rows.utf8(column)))
                    problem = QStringLiteral("no tiene una fecha válida (\"%1\")").arg(stored(rows, column));
                break;
            }
            if (!problem.isEmpty()) {
                faulty = true;
                QString persona = QString::fromUtf8(registro.persona);
                const QString curp = personColumn_ >= 0 ? QString::fromUtf8(rows.utf8(personColumn_)) : QString();
                if (personColumn_ >= 0)
                    persona += QLatin1Char(' ') + legible(curp);
                const FaltaValor falta{
                    registro.tabla, curp,
                    QStringLiteral("No se puede generar el archivo de información: en la tabla %1, el campo %2 %3 "
                                   "%4. Corríjalo y vuelva a generar el archivo.")
                        .arg(registro.tabla, registro.campos[i], persona, problem)};
                if (!falta_(falta)) {
                    buffer_.truncate(lineStart);
                    return falta.mensaje;
                }
            }
        }
        if (faulty)
            buffer_.truncate(lineStart);
        else
            buffer_.append("\r\n");
        return std::nullopt;
    }

    QIODevice* out_;
    std::function<bool(const FaltaValor&)> falta_;
    QByteArray patente_;
    // The tag and the patente that begin every line of the table being written.
    QByteArray prefix_;
    // The position among the columns read of the person's CURP (-1: none).
    int personColumn_ = -1;
    // What each column read holds.
    QList<Tipo> tipos_;
    QByteArray buffer_;
};

} // namespace

QString legible(const QString& text) {
    QString shown;
    for (const char32_t c : text.toUcs4())
        shown += invisible(c) ? codigo(c) : QString::fromUcs4(&c, 1);
    return shown;
}

std::optional<QString> Escribe_Archivo(Store& store, qint64 patente, QIODevice* out) {
    Escritor escritor(out, [](const FaltaValor&) { return false; });
    escritor.patente(patente);
    escritor.header();
    const auto tablas = [&](const std::vector<Registro>& registros) -> std::optional<QString> {
        for (const Registro& registro : registros) {
            try {
                if (std::optional<QString> defecto = escritor.tabla(store, registro))
                    return defecto;
            } catch (const DatabaseError& e) {
                throw Falla(QStringLiteral("No se puede generar el archivo de información: no se pudo leer la tabla "
                                           "%1 de la base de datos (%2).")
                                .arg(registro.tabla, e.message()));
            }
        }
        return std::nullopt;
    };
    if (std::optional<QString> defecto = tablas(registrosPrincipales()))
        return defecto;
    bool historia = false;
    try {
        historia = store.Hay_Hist_Mandatarios();
    } catch (const DatabaseError& e) {
        throw Falla(QStringLiteral("No se puede generar el archivo de información: no se pudo leer la tabla "
                                   "Mandatarios de la base de datos (%1).")
                        .arg(e.message()));
    }
    if (historia)
        if (std::optional<QString> defecto = tablas(registrosHistoria()))
            return defecto;
    escritor.trailer();
    return std::nullopt;
}

void recorreValores(Store& store, const std::function<void(const FaltaValor&)>& falta) {
    Escritor escritor(nullptr, [&](const FaltaValor& f) {
        falta(f);
        return true;
    });
    for (const Registro& registro : registrosPrincipales())
        escritor.tabla(store, registro);
    if (store.Hay_Hist_Mandatarios())
        for (const Registro& registro : registrosHistoria())
            escritor.tabla(store, registro);
}
