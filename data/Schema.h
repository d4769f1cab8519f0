#pragma once

#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantHash>
#include <QVariantList>

#include <array>
#include <span>

class Database;

// The tables of tolvek.mdb and their columns. This is the one place a table's or a column's name is spelled: the
// store, the information file, the import and the catalogues name them through the handles below, so a column is
// added or renamed here and nowhere else.

// A column's name, as every table that has it spells it.
struct Columna {
    constexpr explicit Columna(const char* name) : nombre(name) {}
    QLatin1StringView nombre;
    operator QString() const { return nombre; }
    friend bool operator==(const Columna& a, const Columna& b) { return a.nombre == b.nombre; }
};

// What a column holds. Dates are stored as ISO text, yyyy-mm-dd.
enum class Tipo { Texto, Numero, Fecha };

struct ColumnaDeTabla {
    Columna columna;
    Tipo tipo;
};

// Readers of whole rows take the columns by position, so the order of `columns` is part of the file's format.
struct TableDefinition {
    QLatin1StringView name;
    std::span<const ColumnaDeTabla> columns;
    // Keys and uniqueness, as written after the columns.
    QLatin1StringView constraints;

    operator QString() const { return name; }
    QStringList columnNames() const;
    QString createStatement() const;
    // What the table's column holds; the column must be one of the table's.
    Tipo tipo(const Columna& columna) const;
    // "select <every column, in order> from <table>" followed by the tail (a where or order clause).
    QString selectStatement(const QString& tail = {}) const;
    // "select <the columns, in the order given> from <table>".
    QString selectStatement(const QList<Columna>& columnas) const;
    // An insert of the columns given (every column when none is), each value a bound placeholder, in that order.
    QString insertStatement(const QList<Columna>& columnas = {}) const;
    // The values for insertStatement(), taken by column name; a column left out is Null. Every name must be one of
    // the table's columns: a misspelt one would otherwise store Null without a word.
    QVariantList insertValues(const QVariantHash& row) const;
    // Runs the insert of the row; throws DatabaseError when the engine refuses it.
    void inserta(Database& db, const QVariantHash& row) const;
    // The same for the values of the columns given, in that order; the others are Null.
    void inserta(Database& db, const QList<Columna>& columnas, const QVariantList& valores) const;
};

// "where A=? and B=?": the condition that the columns equal the values bound in that order.
QString donde(std::initializer_list<Columna> columnas);
// "A in (?,?)": the condition that the column holds one of the values bound, one placeholder each.
QString entre(Columna columna, const QVariantList& valores);

namespace col {
// Identity of a person, in every table that names one.
inline constexpr Columna CURP{"CURP"}, RFC{"RFC"}, Nombre{"Nombre"}, ApPaterno{"ApPaterno"}, ApMaterno{"ApMaterno"};
// The broker (AA).
inline constexpr Columna Patente{"Patente"}, Autorizacion{"Autorizacion"}, Adscripcion{"Adscripcion"};
// An address, in both address tables.
inline constexpr Columna Tipo_Dom{"Tipo_Dom"}, EntFed{"EntFed"}, MDeleg{"MDeleg"}, Calle{"Calle"}, NoExt{"NoExt"},
    NoInt{"NoInt"}, Colonia{"Colonia"}, CP{"CP"}, Telefono{"Telefono"}, Fax{"Fax"};
// A representative (Mandatarios).
inline constexpr Columna Mandato{"Mandato"}, Requerimiento{"Requerimiento"}, Acreditacion{"Acreditacion"},
    Operando{"Operando"};
// Offices, declarations and periods.
inline constexpr Columna NoAduana{"NoAduana"}, NoPedimento{"NoPedimento"}, FechPedimento{"FechPedimento"},
    FechaIni{"FechaIni"}, FechaFin{"FechaFin"}, Patente_MM{"Patente_MM"};
// The catalogues. The municipality's name shares its column name with the address's municipality number.
inline constexpr Columna cveEntFed{"cveEntFed"}, NoMDeleg{"NoMDeleg"}, cveAduana{"cveAduana"}, Aduana{"Aduana"};
} // namespace col

namespace tabla {
namespace detail {
constexpr Tipo T = Tipo::Texto, N = Tipo::Numero, D = Tipo::Fecha;
inline constexpr ColumnaDeTabla aa[] = {{col::Patente, N},      {col::Nombre, T},     {col::ApPaterno, T},
                                        {col::ApMaterno, T},    {col::RFC, T},        {col::CURP, T},
                                        {col::Autorizacion, N}, {col::Adscripcion, N}};
// The broker's addresses lead with their type, the representatives' end with it.
inline constexpr ColumnaDeTabla domiciliosAA[] = {
    {col::Tipo_Dom, N}, {col::EntFed, T},  {col::MDeleg, N}, {col::Calle, T},    {col::NoExt, T},
    {col::NoInt, T},    {col::Colonia, T}, {col::CP, T},     {col::Telefono, T}, {col::Fax, T}};
inline constexpr ColumnaDeTabla mandatarios[] = {{col::CURP, T},          {col::RFC, T},          {col::Nombre, T},
                                                 {col::ApPaterno, T},     {col::ApMaterno, T},    {col::Mandato, N},
                                                 {col::Requerimiento, T}, {col::Acreditacion, N}, {col::Operando, N}};
inline constexpr ColumnaDeTabla domiciliosMM[] = {
    {col::CURP, T},    {col::EntFed, T}, {col::MDeleg, N},   {col::Calle, T}, {col::NoExt, T},   {col::NoInt, T},
    {col::Colonia, T}, {col::CP, T},     {col::Telefono, T}, {col::Fax, T},   {col::Tipo_Dom, N}};
inline constexpr ColumnaDeTabla aduanasMM[] = {{col::CURP, T}, {col::NoAduana, N}};
inline constexpr ColumnaDeTabla pedimentosMM[] = {
    {col::CURP, T}, {col::NoAduana, N}, {col::NoPedimento, T}, {col::FechPedimento, D}};
inline constexpr ColumnaDeTabla historicoAA[] = {
    {col::RFC, T}, {col::CURP, T}, {col::Nombre, T}, {col::ApPaterno, T}, {col::ApMaterno, T}};
inline constexpr ColumnaDeTabla periodosAA[] = {
    {col::CURP, T}, {col::NoAduana, N}, {col::FechaIni, D}, {col::FechaFin, D}};
inline constexpr ColumnaDeTabla periodosMM[] = {
    {col::CURP, T}, {col::NoAduana, N}, {col::Patente_MM, N}, {col::FechaIni, D}, {col::FechaFin, D}};
inline constexpr ColumnaDeTabla entFed[] = {{col::cveEntFed, T}, {col::EntFed, T}};
inline constexpr ColumnaDeTabla mpioDeleg[] = {{col::cveEntFed, T}, {col::NoMDeleg, N}, {col::MDeleg, T}};
inline constexpr ColumnaDeTabla aduanas[] = {{col::cveAduana, N}, {col::Aduana, T}};
} // namespace detail

inline constexpr TableDefinition AA{QLatin1StringView("AA"), detail::aa, {}};
inline constexpr TableDefinition Domicilios_AA{QLatin1StringView("Domicilios_AA"), detail::domiciliosAA,
                                               QLatin1StringView("UNIQUE (Tipo_Dom)")};
inline constexpr TableDefinition Mandatarios{QLatin1StringView("Mandatarios"), detail::mandatarios,
                                             QLatin1StringView("PRIMARY KEY (CURP)")};
inline constexpr TableDefinition Domicilios_MM{QLatin1StringView("Domicilios_MM"), detail::domiciliosMM,
                                               QLatin1StringView("UNIQUE (CURP, Tipo_Dom)")};
inline constexpr TableDefinition Aduanas_MM{QLatin1StringView("Aduanas_MM"), detail::aduanasMM, {}};
inline constexpr TableDefinition Pedimentos_MM{QLatin1StringView("Pedimentos_MM"), detail::pedimentosMM, {}};
inline constexpr TableDefinition Historico_AA{QLatin1StringView("Historico_AA"), detail::historicoAA,
                                              QLatin1StringView("PRIMARY KEY (CURP)")};
inline constexpr TableDefinition Periodos_H_AA{QLatin1StringView("Periodos_H_AA"), detail::periodosAA, {}};
inline constexpr TableDefinition Periodos_H_MM{QLatin1StringView("Periodos_H_MM"), detail::periodosMM, {}};
inline constexpr TableDefinition EntFed{QLatin1StringView("EntFed"), detail::entFed,
                                        QLatin1StringView("PRIMARY KEY (cveEntFed)")};
inline constexpr TableDefinition MpioDeleg{QLatin1StringView("MpioDeleg"), detail::mpioDeleg,
                                           QLatin1StringView("PRIMARY KEY (cveEntFed, NoMDeleg)")};
inline constexpr TableDefinition Aduanas{QLatin1StringView("Aduanas"), detail::aduanas,
                                         QLatin1StringView("PRIMARY KEY (cveAduana)")};
} // namespace tabla

// Every table, in the order they are made.
const std::array<TableDefinition, 12>& tolvekTables();
// The tables that hold what the broker captured (not the catalogues), in the order the information file takes them.
const std::array<TableDefinition, 9>& tablasCapturadas();

// The statement with %1, %2… replaced by the names of the tables and columns given, in that order.
QString sentencia(const char* pattern, std::initializer_list<QString> names);
