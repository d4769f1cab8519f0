#include "import/Recupera.h"

#include "data/Mandato.h"
#include "data/Schema.h"
#include "platform/Database.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

// Bytes 0x80 to 0x9F of Windows-1252; the five it leaves undefined stand for themselves, as Windows reads them.
constexpr std::array<char16_t, 32> kHighControls = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

enum class Kind { Text, Number, Flag, Date };

struct Column {
    Columna columna;
    Kind kind;
};

// What each record of the export becomes: a row of the table it is named after. The fixed values are the ones
// every imported row receives: a representative has no request file, no accreditation and an operating state still
// to be defined, and his one address is his private one.
struct RecordType {
    QString tag;
    QString sql;
    std::vector<Column> columns;
    QVariantList fijos;
};

RecordType recordType(const TableDefinition& table, const QList<Columna>& columns,
                      const QList<std::pair<Columna, QVariant>>& fijos = {}) {
    RecordType type{table, {}, {}, {}};
    QList<Columna> inserted = columns;
    for (const Columna& c : columns) {
        const Tipo tipo = table.tipo(c);
        // The export marks the mandate type instead of giving its code.
        const Kind kind = c == col::Mandato      ? Kind::Flag
                          : tipo == Tipo::Numero ? Kind::Number
                          : tipo == Tipo::Fecha  ? Kind::Date
                                                 : Kind::Text;
        type.columns.push_back({c, kind});
    }
    for (const auto& [c, value] : fijos) {
        inserted << c;
        type.fijos << value;
    }
    type.sql = table.insertStatement(inserted);
    return type;
}

const std::vector<RecordType>& recordTypes() {
    using namespace col;
    static const std::vector<RecordType> types = {
        recordType(tabla::AA, {Patente, Nombre, ApPaterno, ApMaterno, RFC, CURP, Autorizacion, Adscripcion}),
        recordType(tabla::Domicilios_AA, {Tipo_Dom, EntFed, MDeleg, Calle, NoExt, NoInt, Colonia, CP, Telefono, Fax}),
        recordType(tabla::Mandatarios, {CURP, RFC, Nombre, ApPaterno, ApMaterno, col::Mandato},
                   {{Requerimiento, QStringLiteral("")}, {Acreditacion, 0}, {Operando, 2}}),
        recordType(tabla::Domicilios_MM, {CURP, EntFed, MDeleg, Calle, NoExt, NoInt, Colonia, CP, Telefono, Fax},
                   {{Tipo_Dom, 1}}),
        recordType(tabla::Aduanas_MM, {CURP, NoAduana}),
        recordType(tabla::Pedimentos_MM, {CURP, NoAduana, NoPedimento, FechPedimento}),
    };
    return types;
}

const QString kEndTag = QStringLiteral("800");
// An empty value is stored as the empty text, never as Null: a null QString would be bound as Null.
const QString kEmptyText = QStringLiteral("");

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isBlankChar(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString shown(const QString& value) {
    return QStringLiteral("«%1»").arg(value);
}

QVariant number(const Column& column, const QString& value) {
    const QString t = value.trimmed();
    qsizetype i = (!t.isEmpty() && (t[0] == QLatin1Char('-') || t[0] == QLatin1Char('+'))) ? 1 : 0;
    bool ok = i < t.size();
    for (; ok && i < t.size(); ++i)
        ok = isDigit(t[i]);
    const qint64 n = ok ? t.toLongLong(&ok) : 0;
    if (!ok)
        throw ImportError(
            QStringLiteral("el valor %1 de %2 no es un número").arg(shown(value), QString(column.columna)));
    return n;
}

// The export writes a date year first (2000-11-30); any character but a digit may stand between its parts.
QVariant date(const Column& column, const QString& value) {
    bool ok = value.size() == 10;
    for (qsizetype i : {0, 1, 2, 3, 5, 6, 8, 9})
        ok = ok && isDigit(value[i]);
    ok = ok && !isDigit(value[4]) && !isDigit(value[7]);
    const QDate d = ok ? QDate(value.left(4).toInt(), value.mid(5, 2).toInt(), value.mid(8, 2).toInt()) : QDate();
    if (!d.isValid())
        throw ImportError(QStringLiteral("el valor %1 de %2 no es una fecha (año-mes-día)")
                              .arg(shown(value), QString(column.columna)));
    return d;
}

// The export marks each mandate type of its time in its own way (the later one "1", the others empty).
QVariant mandato(const QString& value) {
    for (const ReglasMandato& tipo : tiposMandato())
        if (!tipo.marcaExportacion.isNull() && tipo.marcaExportacion == value)
            return codigoMandato(tipo.mandato);
    throw ImportError(QStringLiteral("la marca de tipo de mandato %1 no es ni vacía ni 1").arg(shown(value)));
}

QVariant converted(const Column& column, const QString& value) {
    switch (column.kind) {
    case Kind::Number:
        return number(column, value);
    case Kind::Date:
        return date(column, value);
    case Kind::Flag:
        return mandato(value);
    case Kind::Text:
        break;
    }
    return value.isNull() ? kEmptyText : value;
}

bool lineaEnBlanco(const QString& line) {
    return std::all_of(line.begin(), line.end(), isBlankChar);
}

// Vantrix heads the export with "TOLVEK|Recupera|<records between header and 800>" in double quotes; other headers
// carry no count, and a header is never a fault.
std::optional<qint64> announcedCount(const QString& line) {
    static const QString quoted = QStringLiteral("\"TOLVEK|Recupera|");
    const QString header = line.trimmed();
    const QString count = header.startsWith(quoted) && header.endsWith(QLatin1Char('"'))
                              ? header.mid(quoted.size(), header.size() - quoted.size() - 1)
                              : QString();
    if (count.isEmpty() || !std::all_of(count.begin(), count.end(), isDigit))
        return std::nullopt;
    bool ok = false;
    const qint64 n = count.toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

QString lineFault(const QString& path, int line, const QString& what) {
    return QStringLiteral("Línea %1 de %2: %3.").arg(line).arg(QDir::toNativeSeparators(path), what);
}

} // namespace

QString decodeWindows1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = (u >= 0x80 && u <= 0x9F) ? QChar(kHighControls[u - 0x80]) : QChar(u);
    }
    return text;
}

QString recordOfLine(const QString& line) {
    qsizetype start = 0;
    while (start < line.size() && isBlankChar(line[start]))
        ++start;
    if (start == line.size() || line[start] != QLatin1Char('"'))
        return line.mid(start);
    qsizetype end = line.size();
    while (end > start + 1 && isBlankChar(line[end - 1]))
        --end;
    if (end == start + 1 || line[end - 1] != QLatin1Char('"'))
        throw ImportError(QStringLiteral("el registro abre comillas y no las cierra"));
    return line.mid(start + 1, end - start - 2);
}

QStringList Conv_Insert(const QString& linea, qsizetype posicion, int n) {
    QStringList values;
    values.reserve(n + 1);
    qsizetype from = posicion + 1;
    bool fits = true;
    for (int i = 0; i < n; ++i) {
        const qsizetype next = linea.indexOf(QLatin1Char('|'), from);
        if (next < 0) {
            fits = false;
            break;
        }
        values << linea.mid(from, next - from);
        from = next + 1;
    }
    if (fits) {
        values << linea.mid(from);
        fits = !values.last().contains(QLatin1Char('|'));
    }
    if (!fits) {
        const qsizetype found = linea.mid(posicion + 1).count(QLatin1Char('|')) + 1;
        throw ImportError(QStringLiteral("el registro tiene %1 valores y se esperaban %2").arg(found).arg(n + 1));
    }
    return values;
}

std::optional<Insercion> convierteRegistro(const QString& record) {
    const qsizetype bar = record.indexOf(QLatin1Char('|'));
    if (bar < 0)
        throw ImportError(QStringLiteral("el registro %1 no tiene separadores \"|\"").arg(shown(record)));
    const QString tag = record.left(bar);
    if (tag == kEndTag)
        return std::nullopt;
    for (const RecordType& type : recordTypes()) {
        if (type.tag != tag)
            continue;
        // Every record but the broker's carries the exporting broker's patente first; it is not imported.
        qsizetype posicion = bar;
        if (tag != tabla::AA.name) {
            posicion = record.indexOf(QLatin1Char('|'), bar + 1);
            if (posicion < 0)
                throw ImportError(
                    QStringLiteral("el registro tiene 0 valores y se esperaban %1").arg(type.columns.size()));
        }
        const QStringList values = Conv_Insert(record, posicion, int(type.columns.size()) - 1);
        Insercion insercion{type.sql, {}};
        insercion.values.reserve(values.size() + type.fijos.size());
        for (qsizetype i = 0; i < values.size(); ++i)
            insercion.values << converted(type.columns[size_t(i)], values[i]);
        insercion.values << type.fijos;
        return insercion;
    }
    throw ImportError(QStringLiteral("%1 no es ningún tipo de registro conocido").arg(shown(tag)));
}

int importaRecupera(Database& db, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ImportError(
            QStringLiteral("No se pudo leer %1: %2.").arg(QDir::toNativeSeparators(path), file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ImportError(
            QStringLiteral("No se pudo leer %1: %2.").arg(QDir::toNativeSeparators(path), file.errorString()));

    Transaction transaction(db);
    // Each record type's insert is prepared at its first record and run again for every other one: preparing
    // it anew for every record took as long as the inserts themselves.
    std::vector<std::pair<QString, Statement>> inserts;
    inserts.reserve(recordTypes().size());
    auto insertFor = [&](const QString& sql) -> Statement& {
        for (auto& [text, statement] : inserts) {
            if (text == sql)
                return statement;
        }
        return inserts.emplace_back(sql, db.prepare(sql)).second;
    };
    int imported = 0;
    int line = 0;
    bool ended = false;
    std::optional<qint64> announced;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', pos);
        qsizetype end = newline < 0 ? bytes.size() : newline;
        const qsizetype next = newline < 0 ? bytes.size() : newline + 1;
        if (end > pos && bytes[end - 1] == '\r')
            --end;
        ++line;
        const QString text = decodeWindows1252(bytes.mid(pos, end - pos));
        pos = next;
        if (ended) {
            // A closing record halfway through would otherwise drop the rest of the export unnoticed.
            if (!lineaEnBlanco(text))
                throw ImportError(lineFault(path, line,
                                            QStringLiteral("el registro 800 cierra el archivo y esta "
                                                           "línea lo sigue")));
            continue;
        }
        // The first record is the export's header, whatever it holds.
        if (line == 1) {
            announced = announcedCount(text);
            continue;
        }
        try {
            const auto insercion = convierteRegistro(recordOfLine(text));
            if (insercion) {
                insertFor(insercion->sql).run(insercion->values);
                ++imported;
            } else {
                ended = true;
            }
        } catch (const ImportError& e) {
            throw ImportError(lineFault(path, line, e.message()));
        } catch (const DatabaseError& e) {
            throw ImportError(
                lineFault(path, line, QStringLiteral("la base de datos rechazó el registro (%1)").arg(e.message())));
        }
    }
    if (!ended)
        throw ImportError(
            QStringLiteral("El archivo %1 termina antes de su registro 800.").arg(QDir::toNativeSeparators(path)));
    if (announced && *announced != imported)
        throw ImportError(QStringLiteral("El archivo %1 trae %2 registros y su encabezado anuncia %3.")
                              .arg(QDir::toNativeSeparators(path))
                              .arg(imported)
                              .arg(*announced));
    // Without the broker the program shows none of his data and would import the same export again at every start,
    // failing on its own representatives the second time.
    if (imported > 0 && !db.exists(tabla::AA.selectStatement()))
        throw ImportError(QStringLiteral("El archivo %1 no trae los datos del Agente Aduanal (registro AA).")
                              .arg(QDir::toNativeSeparators(path)));
    try {
        transaction.commit();
    } catch (const DatabaseError& e) {
        throw ImportError(QStringLiteral("La base de datos no guardó lo importado (%1).").arg(e.message()));
    }
    return imported;
}
