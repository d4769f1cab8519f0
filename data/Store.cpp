#include "data/Store.h"

#include "data/Rutinas.h"
#include "data/Schema.h"
#include "platform/Database.h"

#include <QSet>

namespace {

// The address types of the two address tables.
constexpr int kFiscalAA = 1, kNotificacionesAA = 2;
constexpr int kParticularMM = 1, kFiscalMM = 2;

Query selecciona(Database& db, const TableDefinition& table, const QString& tail = {},
                 const QVariantList& values = {}) {
    return db.select(table.selectStatement(tail), values);
}

QString deleteWhereCurp(const TableDefinition& table) {
    return QStringLiteral("delete from %1 ").arg(table) + donde({col::CURP});
}

QString actualizaCurp(const TableDefinition& table) {
    return sentencia("update %1 set %2=? ", {table, col::CURP}) + donde({col::CURP});
}

// Name, surnames, RFC and CURP as one text, so that "ana garcia" finds her too. Both sides folded by the engine, so
// neither case nor accents matter ("diaz" finds "DÍAZ", "munoz" finds "MUÑOZ"), and what is typed is found as it is
// typed, "%", "_" and "'" included.
const QString kBuscaMandatario =
    sentencia("fold_contains(?,%1,%2,%3,%4,%5)", {col::Nombre, col::ApPaterno, col::ApMaterno, col::RFC, col::CURP});

QVariantHash filaDomicilio(const Domicilio& d, int tipo) {
    return {{col::Tipo_Dom, tipo},       {col::EntFed, d.entFed}, {col::MDeleg, d.mDeleg},   {col::Calle, d.calle},
            {col::NoExt, d.noExt},       {col::NoInt, d.noInt},   {col::Colonia, d.colonia}, {col::CP, d.cp},
            {col::Telefono, d.telefono}, {col::Fax, d.fax}};
}

Domicilio leeDomicilio(const Query& q) {
    Domicilio d;
    d.entFed = q.text(col::EntFed);
    d.mDeleg = q.isNull(col::MDeleg) ? QVariant() : QVariant(q.number(col::MDeleg));
    d.calle = q.text(col::Calle);
    d.noExt = q.text(col::NoExt);
    d.noInt = q.text(col::NoInt);
    d.colonia = q.text(col::Colonia);
    d.cp = q.text(col::CP);
    d.telefono = q.text(col::Telefono);
    d.fax = q.text(col::Fax);
    return d;
}

// One row per type; should there be more, the last one stands. An empty address when there is none.
Domicilio ultimoDomicilio(Query q) {
    Domicilio d;
    while (q.next())
        d = leeDomicilio(q);
    return d;
}

// The office a row names, with its name from the catalogue.
Aduana leeAduana(const Query& q) {
    return {q.number(col::NoAduana), q.text(col::Aduana)};
}

FilaMandatario leeFilaMandatario(const Query& q) {
    return {q.text(col::CURP),      q.text(col::RFC),          q.text(col::Nombre),
            q.text(col::ApPaterno), q.text(col::ApMaterno),    mandatoDeCodigo(q.value(col::Mandato)),
            q.value(col::Operando), q.text(col::Requerimiento)};
}

PersonaHistorica leePersona(const Query& q) {
    PersonaHistorica p;
    p.rfc = q.text(col::RFC);
    p.curp = q.text(col::CURP);
    p.nombre = q.text(col::Nombre);
    p.apPaterno = q.text(col::ApPaterno);
    p.apMaterno = q.text(col::ApMaterno);
    return p;
}

} // namespace

QList<EntidadFederativa> Store::entidades() {
    QList<EntidadFederativa> list;
    Query q =
        db_.select(tabla::EntFed.selectStatement({col::cveEntFed, col::EntFed}) + QStringLiteral(" order by rowid"));
    while (q.next())
        list << EntidadFederativa{q.text(col::cveEntFed), q.text(col::EntFed)};
    return list;
}

QList<Municipio> Store::municipios(const QString& cveEntFed) {
    QList<Municipio> list;
    const QString key = rtrim(cveEntFed);
    if (key.isEmpty())
        return list;
    Query q = db_.select(tabla::MpioDeleg.selectStatement({col::NoMDeleg, col::MDeleg}) + QLatin1Char(' ') +
                             donde({col::cveEntFed}) + sentencia(" order by %1", {col::NoMDeleg}),
                         {key});
    while (q.next())
        list << Municipio{q.number(col::NoMDeleg), q.text(col::MDeleg)};
    return list;
}

QList<Aduana> Store::aduanas() {
    QList<Aduana> list;
    Query q = db_.select(tabla::Aduanas.selectStatement({col::cveAduana, col::Aduana}) +
                         sentencia(" order by %1", {col::Aduana}));
    while (q.next())
        list << Aduana{q.number(col::cveAduana), q.text(col::Aduana)};
    return list;
}

std::optional<AgenteAduanal> Store::agente() {
    Query q = selecciona(db_, tabla::AA);
    std::optional<AgenteAduanal> agente;
    while (q.next()) {
        AgenteAduanal a;
        a.patente = q.number(col::Patente);
        a.nombre = q.text(col::Nombre);
        a.apPaterno = q.text(col::ApPaterno);
        a.apMaterno = q.text(col::ApMaterno);
        a.rfc = q.text(col::RFC);
        a.curp = q.text(col::CURP);
        a.autorizacion = q.number(col::Autorizacion);
        a.adscripcion = q.value(col::Adscripcion);
        agente = a;
    }
    if (!agente)
        return agente;
    const QString byType = donde({col::Tipo_Dom});
    agente->fiscal = ultimoDomicilio(selecciona(db_, tabla::Domicilios_AA, byType, {kFiscalAA}));
    agente->notificaciones = ultimoDomicilio(selecciona(db_, tabla::Domicilios_AA, byType, {kNotificacionesAA}));
    return agente;
}

void Store::guardaAgente(const AgenteAduanal& a) {
    Transaction t(db_);
    for (const TableDefinition& table : {tabla::AA, tabla::Domicilios_AA})
        db_.exec(QStringLiteral("delete from %1").arg(table));
    tabla::AA.inserta(db_, {{col::Patente, a.patente},
                            {col::Nombre, a.nombre},
                            {col::ApPaterno, a.apPaterno},
                            {col::ApMaterno, a.apMaterno},
                            {col::RFC, a.rfc},
                            {col::CURP, a.curp},
                            {col::Autorizacion, a.autorizacion},
                            {col::Adscripcion, a.adscripcion}});
    tabla::Domicilios_AA.inserta(db_, filaDomicilio(a.fiscal, kFiscalAA));
    tabla::Domicilios_AA.inserta(db_, filaDomicilio(a.notificaciones, kNotificacionesAA));
    t.commit();
}

std::optional<Mandatario> Store::mandatario(const QString& curp) {
    Query q = selecciona(db_, tabla::Mandatarios, donde({col::CURP}), {curp});
    if (!q.next())
        return std::nullopt;
    Mandatario m;
    m.curp = q.text(col::CURP);
    m.rfc = q.text(col::RFC);
    m.nombre = q.text(col::Nombre);
    m.apPaterno = q.text(col::ApPaterno);
    m.apMaterno = q.text(col::ApMaterno);
    m.mandato = mandatoDeCodigo(q.value(col::Mandato));
    m.requerimiento = q.text(col::Requerimiento);
    m.acreditacion = int(q.number(col::Acreditacion));
    m.operando = q.isNull(col::Operando) ? 2 : int(q.number(col::Operando));

    const QString byType = donde({col::CURP, col::Tipo_Dom});
    m.particular = ultimoDomicilio(selecciona(db_, tabla::Domicilios_MM, byType, {curp, kParticularMM}));
    m.fiscal = ultimoDomicilio(selecciona(db_, tabla::Domicilios_MM, byType, {curp, kFiscalMM}));
    // Offices and declarations are read whatever the stored type: an imported representative may carry them
    // under another type, and they show as soon as type Anterior is chosen.
    Query aduanas = db_.select(
        sentencia("select %1,%2 from %3 AM, %4 A where AM.%1=%5 and AM.%6=? order by AM.rowid",
                  {col::NoAduana, col::Aduana, tabla::Aduanas_MM, tabla::Aduanas, col::cveAduana, col::CURP}),
        {curp});
    while (aduanas.next())
        m.aduanas << leeAduana(aduanas);
    Query pedimentos =
        db_.select(sentencia("select %1,%2,%3,%4 from %5 AM, %6 A where AM.%1=%7 and AM.%8=? order by AM.rowid",
                             {col::NoAduana, col::Aduana, col::NoPedimento, col::FechPedimento, tabla::Pedimentos_MM,
                              tabla::Aduanas, col::cveAduana, col::CURP}),
                   {curp});
    while (pedimentos.next())
        m.pedimentos << Pedimento{leeAduana(pedimentos), pedimentos.text(col::NoPedimento),
                                  pedimentos.date(col::FechPedimento)};
    return m;
}

bool Store::existeMandatario(const QString& curp) {
    return db_.exists(sentencia("select 1 from %1 ", {tabla::Mandatarios}) + donde({col::CURP}), {curp});
}

void Store::guardaMandatario(const std::optional<QString>& anterior, const Mandatario& m) {
    Transaction t(db_);
    if (anterior) {
        const QString& curpAnterior = *anterior;
        // Offices and declarations go whatever the stored type was: the dialog loaded them all, and rows left under
        // a type that does not show them (imported data) would reach the information file unseen.
        for (const TableDefinition& table :
             {tabla::Aduanas_MM, tabla::Pedimentos_MM, tabla::Domicilios_MM, tabla::Mandatarios})
            db_.exec(deleteWhereCurp(table), {curpAnterior});
        // A corrected CURP takes his periods with other brokers along instead of leaving them to nobody.
        if (curpAnterior != m.curp)
            db_.exec(actualizaCurp(tabla::Periodos_H_MM), {m.curp, curpAnterior});
    }
    tabla::Mandatarios.inserta(db_, {{col::CURP, m.curp},
                                     {col::RFC, m.rfc},
                                     {col::Nombre, m.nombre},
                                     {col::ApPaterno, m.apPaterno},
                                     {col::ApMaterno, m.apMaterno},
                                     {col::Mandato, codigoMandato(m.mandato)},
                                     {col::Requerimiento, m.requerimiento},
                                     {col::Acreditacion, m.acreditacion},
                                     {col::Operando, m.operando}});
    for (const auto& [domicilio, tipo] : {std::pair{&m.particular, kParticularMM}, std::pair{&m.fiscal, kFiscalMM}}) {
        QVariantHash row = filaDomicilio(*domicilio, tipo);
        row.insert(col::CURP, m.curp);
        tabla::Domicilios_MM.inserta(db_, row);
    }
    if (reglas(m.mandato).conAduanas) {
        for (const Aduana& a : m.aduanas)
            tabla::Aduanas_MM.inserta(db_, {{col::CURP, m.curp}, {col::NoAduana, a.numero}});
        for (const Pedimento& p : m.pedimentos)
            tabla::Pedimentos_MM.inserta(db_, {{col::CURP, m.curp},
                                               {col::NoAduana, p.aduana.numero},
                                               {col::NoPedimento, p.noPedimento},
                                               {col::FechPedimento, p.fecha}});
    }
    t.commit();
}

void Store::borraMandatario(const QString& curp) {
    Transaction t(db_);
    // Every row that names him goes: the information file is written from whole tables, so a row left behind
    // would speak of a representative who is no longer there.
    for (const TableDefinition& table :
         {tabla::Aduanas_MM, tabla::Pedimentos_MM, tabla::Domicilios_MM, tabla::Periodos_H_MM, tabla::Mandatarios})
        db_.exec(deleteWhereCurp(table), {curp});
    t.commit();
}

bool Store::Hay_Hist_Mandatarios() {
    const QVariantList aspirantes = codigosDonde(&ReglasMandato::aspirante);
    return db_.exists(sentencia("select 1 from %1 where ", {tabla::Mandatarios}) + entre(col::Mandato, aspirantes),
                      aspirantes);
}

std::optional<FilaMandatario> Store::filaMandatario(const QString& curp) {
    Query q = selecciona(db_, tabla::Mandatarios, donde({col::CURP}), {curp});
    return q.next() ? std::optional(leeFilaMandatario(q)) : std::nullopt;
}

QList<FilaMandatario> Store::filasMandatarios(qsizetype offset, int count, bool soloAspirantes, const QString& busca) {
    QStringList where;
    QVariantList values;
    if (soloAspirantes) {
        const QVariantList aspirantes = codigosDonde(&ReglasMandato::aspirante);
        where << entre(col::Mandato, aspirantes);
        values << aspirantes;
    }
    if (const QString texto = busca.simplified(); !texto.isEmpty()) {
        where << kBuscaMandatario;
        values << texto;
    }
    values << count << offset;
    const QString filtro = where.isEmpty() ? QString() : QStringLiteral("where ") + where.join(QStringLiteral(" and "));
    QList<FilaMandatario> rows;
    Query q = selecciona(db_, tabla::Mandatarios, filtro + QStringLiteral(" order by rowid limit ? offset ?"), values);
    while (q.next())
        rows << leeFilaMandatario(q);
    return rows;
}

void Store::recorreConRequerimiento(const std::function<bool(const FilaMandatario&)>& action) {
    const QVariantList conCopia = codigosDonde(&ReglasMandato::copiaRequerimiento);
    Query q = selecciona(db_, tabla::Mandatarios,
                         QStringLiteral("where ") + entre(col::Mandato, conCopia) + QStringLiteral(" order by rowid"),
                         conCopia);
    while (q.next()) {
        if (!action(leeFilaMandatario(q)))
            return;
    }
}

Rows Store::filas(const TableDefinition& tabla, const QList<Columna>& columnas) {
    return db_.rows(tabla.selectStatement(columnas) + QStringLiteral(" order by rowid"));
}

QList<EstadoMandatario> Store::estadosMandatarios(qint64* despues, int count) {
    const QString domicilio = sentencia("exists(select 1 from %1 D where D.%2=M.%2 and D.%3=?)",
                                        {tabla::Domicilios_MM, col::CURP, col::Tipo_Dom});
    Query q =
        db_.select(sentencia("select M.rowid as fila,%1,%2,%3,%4,%5,%6,%7,%8,%9,",
                             {col::CURP, col::RFC, col::Nombre, col::ApPaterno, col::ApMaterno, col::Mandato,
                              col::Requerimiento, col::Acreditacion, col::Operando}) +
                       domicilio + QStringLiteral(" as particular,") + domicilio +
                       sentencia(" as fiscal from %1 M where M.rowid>? order by M.rowid limit ?", {tabla::Mandatarios}),
                   {kParticularMM, kFiscalMM, *despues, count});
    QList<EstadoMandatario> pagina;
    while (q.next()) {
        *despues = q.number(QStringLiteral("fila"));
        pagina << EstadoMandatario{leeFilaMandatario(q), q.value(col::Acreditacion),
                                   q.number(QStringLiteral("particular")) != 0,
                                   q.number(QStringLiteral("fiscal")) != 0};
    }
    return pagina;
}

QSet<QString> Store::curpsDe(const TableDefinition& tabla) {
    QSet<QString> curps;
    Query q = db_.select(sentencia("select distinct %1 from %2", {col::CURP, tabla}));
    while (q.next())
        curps.insert(q.text(col::CURP));
    return curps;
}

QList<PeriodoFueraDeCatalogo> Store::periodosFueraDeCatalogo(const TableDefinition& tabla) {
    QList<PeriodoFueraDeCatalogo> periodos;
    Query q = db_.select(
        sentencia("select %1,%2,%3,%4 from %5 where %2 not in (select %6 from %7) order by rowid",
                  {col::CURP, col::NoAduana, col::FechaIni, col::FechaFin, tabla, col::cveAduana, tabla::Aduanas}));
    while (q.next())
        periodos << PeriodoFueraDeCatalogo{q.text(col::CURP), q.number(col::NoAduana), q.date(col::FechaIni),
                                           q.date(col::FechaFin)};
    return periodos;
}

std::optional<PersonaHistorica> Store::personaHistorica(const QString& curp) {
    Query q = selecciona(db_, tabla::Historico_AA, donde({col::CURP}), {curp});
    if (!q.next())
        return std::nullopt;
    PersonaHistorica p = leePersona(q);
    Query periodos =
        db_.select(sentencia("select %1,%2,%3,%4 from %5 P, %6 A where P.%1=A.%7 and P.%8=? order by P.rowid",
                             {col::NoAduana, col::Aduana, col::FechaIni, col::FechaFin, tabla::Periodos_H_AA,
                              tabla::Aduanas, col::cveAduana, col::CURP}),
                   {curp});
    while (periodos.next())
        p.periodos << PeriodoAgente{leeAduana(periodos), periodos.date(col::FechaIni), periodos.date(col::FechaFin)};
    return p;
}

bool Store::existePersonaHistorica(const QString& curp) {
    return db_.exists(sentencia("select 1 from %1 ", {tabla::Historico_AA}) + donde({col::CURP}), {curp});
}

QList<PersonaHistorica> Store::filasHistoricas(qsizetype offset, int count) {
    QList<PersonaHistorica> rows;
    Query q = selecciona(db_, tabla::Historico_AA, QStringLiteral("order by rowid limit ? offset ?"), {count, offset});
    while (q.next())
        rows << leePersona(q);
    return rows;
}

void Store::guardaPersonaHistorica(const QString& curpAnterior, const PersonaHistorica& p) {
    Transaction t(db_);
    if (!curpAnterior.isEmpty()) {
        db_.exec(deleteWhereCurp(tabla::Periodos_H_AA) +
                     sentencia(" and %1 in (select %2 from %3)", {col::NoAduana, col::cveAduana, tabla::Aduanas}),
                 {curpAnterior});
        db_.exec(actualizaCurp(tabla::Periodos_H_AA), {p.curp, curpAnterior});
        db_.exec(deleteWhereCurp(tabla::Historico_AA), {curpAnterior});
    }
    tabla::Historico_AA.inserta(db_, {{col::RFC, p.rfc},
                                      {col::CURP, p.curp},
                                      {col::Nombre, p.nombre},
                                      {col::ApPaterno, p.apPaterno},
                                      {col::ApMaterno, p.apMaterno}});
    for (const PeriodoAgente& periodo : p.periodos)
        tabla::Periodos_H_AA.inserta(db_, {{col::CURP, p.curp},
                                           {col::NoAduana, periodo.aduana.numero},
                                           {col::FechaIni, periodo.inicio},
                                           {col::FechaFin, periodo.fin}});
    t.commit();
}

void Store::borraPersonaHistorica(const QString& curp) {
    Transaction t(db_);
    for (const TableDefinition& table : {tabla::Periodos_H_AA, tabla::Historico_AA})
        db_.exec(deleteWhereCurp(table), {curp});
    t.commit();
}

QList<PeriodoMandatario> Store::periodosMandatario(const QString& curp) {
    QList<PeriodoMandatario> periodos;
    Query q = db_.select(
        sentencia("select %1,%2,%3,%4,%5,P.rowid as id from %6 P, %7 A where P.%2=A.%8 and P.%9=? order by P.rowid",
                  {col::Patente_MM, col::NoAduana, col::Aduana, col::FechaIni, col::FechaFin, tabla::Periodos_H_MM,
                   tabla::Aduanas, col::cveAduana, col::CURP}),
        {curp});
    while (q.next())
        periodos << PeriodoMandatario{curp,
                                      q.number(col::Patente_MM),
                                      leeAduana(q),
                                      q.date(col::FechaIni),
                                      q.date(col::FechaFin),
                                      q.number(QStringLiteral("id"))};
    return periodos;
}

PeriodoMandatario Store::agregaPeriodoMandatario(PeriodoMandatario periodo) {
    tabla::Periodos_H_MM.inserta(db_, {{col::CURP, periodo.curp},
                                       {col::NoAduana, periodo.aduana.numero},
                                       {col::Patente_MM, periodo.patente},
                                       {col::FechaIni, periodo.inicio},
                                       {col::FechaFin, periodo.fin}});
    Query q = db_.select(QStringLiteral("select last_insert_rowid() as id"));
    periodo.id = q.next() ? q.number(QStringLiteral("id")) : 0;
    return periodo;
}

void Store::borraPeriodoMandatario(const QString& curp, qint64 id) {
    db_.exec(sentencia("delete from %1 where rowid=? and %2=?", {tabla::Periodos_H_MM, col::CURP}), {id, curp});
}
