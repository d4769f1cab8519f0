#pragma once

#include "data/Entidades.h"
#include "data/Schema.h"

#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

class Database;
class Rows;

// The one door between the program and its tables: every entity is read and written here, by column name, with
// bound values, and every write of more than one statement is one transaction. A refusal of the engine throws
// DatabaseError and leaves the tables as they were.
class Store {
public:
    explicit Store(Database& db) : db_(db) {}

    // Catalogues, in the order the combos list them.
    QList<EntidadFederativa> entidades();
    QList<Municipio> municipios(const QString& cveEntFed);
    // Every office, by name.
    QList<Aduana> aduanas();

    // The broker; nothing while none is stored. Should there be more than one row, the last one stands.
    std::optional<AgenteAduanal> agente();
    // Replaces the stored broker and both his addresses.
    void guardaAgente(const AgenteAduanal& agente);

    std::optional<Mandatario> mandatario(const QString& curp);
    bool existeMandatario(const QString& curp);
    // Writes the representative as a whole; when he is corrected, curpAnterior is the CURP he was stored under
    // (possibly empty, for some imported representatives) and his old rows are replaced.
    void guardaMandatario(const std::optional<QString>& curpAnterior, const Mandatario& m);
    // Removes the representative with every row that hangs on his CURP.
    void borraMandatario(const QString& curp);
    // True when some representative is an aspirant (by his mandate type's rules): then the history pages are walked.
    bool Hay_Hist_Mandatarios();
    // The representative as the lists show him; nothing when he is not stored.
    std::optional<FilaMandatario> filaMandatario(const QString& curp);
    // Up to `count` representatives in stored order, starting after the first `offset`; aspirants only when asked;
    // with a text to search, only those whose name, surnames, RFC or CURP contain it, whatever its case and accents.
    QList<FilaMandatario> filasMandatarios(qsizetype offset, int count, bool soloAspirantes = false,
                                           const QString& busca = {});
    // Every representative whose request file goes with the information file (by his mandate type's rules), in
    // stored order, one at a time, without holding them all; stops when `action` gives false.
    void recorreConRequerimiento(const std::function<bool(const FilaMandatario&)>& action);
    // The columns of every row of the table, in stored order, as the engine holds them: the information file's
    // reader of one record.
    Rows filas(const TableDefinition& tabla, const QList<Columna>& columnas);
    // Up to `count` representatives as "Finaliza" checks them, in stored order, from the stored row after
    // `*despues`, which is moved on to the last row read.
    QList<EstadoMandatario> estadosMandatarios(qint64* despues, int count);
    // The CURPs that rows of the table name.
    QSet<QString> curpsDe(const TableDefinition& tabla);
    // The periods of a table of periods (Periodos_H_AA, Periodos_H_MM) whose office is not in the catalogue, in
    // stored order.
    QList<PeriodoFueraDeCatalogo> periodosFueraDeCatalogo(const TableDefinition& tabla);

    std::optional<PersonaHistorica> personaHistorica(const QString& curp);
    bool existePersonaHistorica(const QString& curp);
    QList<PersonaHistorica> filasHistoricas(qsizetype offset, int count);
    // Stores the person with exactly his periods; curpAnterior is the CURP he was stored under (empty for a new
    // person). Periods whose office has left the catalogue cannot be shown or edited, so they are kept and follow
    // him to his new CURP.
    void guardaPersonaHistorica(const QString& curpAnterior, const PersonaHistorica& persona);
    void borraPersonaHistorica(const QString& curp);

    // The aspirant's periods whose office is in the catalogue, in stored order.
    QList<PeriodoMandatario> periodosMandatario(const QString& curp);
    // Stores the period and gives it back with its stored row.
    PeriodoMandatario agregaPeriodoMandatario(PeriodoMandatario periodo);
    // Deletes exactly that stored period of the aspirant.
    void borraPeriodoMandatario(const QString& curp, qint64 id);

private:
    Database& db_;
};
