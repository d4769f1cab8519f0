#include "data/Store.h"

#include "data/Rutinas.h"
#include "data/Schema.h"
#include "platform/Database.h"

#include <QSet>

namespace {

const QString kAA = QStringLiteral("AA");
const QString kDomiciliosAA = QStringLiteral("Domicilios_AA");
const QString kMandatarios = QStringLiteral("Mandatarios");
const QString kDomiciliosMM = QStringLiteral("Domicilios_MM");
const QString kAduanasMM = QStringLiteral("Aduanas_MM");
const QString kPedimentosMM = QStringLiteral("Pedimentos_MM");
const QString kHistoricoAA = QStringLiteral("Historico_AA");
const QString kPeriodosAA = QStringLiteral("Periodos_H_AA");
const QString kPeriodosMM = QStringLiteral("Periodos_H_MM");

// The address types of the two address tables.
constexpr int kFiscalAA = 1, kNotificacionesAA = 2;
constexpr int kParticularMM = 1, kFiscalMM = 2;

void inserta(Database& db, const QString& table, const QVariantHash& row) {
    const TableDefinition& t = tabla(table);
    db.exec(t.insertStatement(), t.insertValues(row));
}

// The accented letters of Spanish folded to their plain ones inside the engine: its LIKE ignores the case of plain
// letters only, so "diaz" finds "DÍAZ" once both are folded. Done there, a search reads no row it does not show.
QString plegado(QString expression) {
    const QString accented = QStringLiteral("ÁÉÍÓÚÜÑáéíóúüñ");
    const QString plain = QStringLiteral("AEIOUUNaeiouun");
    for (qsizetype i = 0; i < accented.size(); ++i)
        expression = QStringLiteral("replace(%1,'%2','%3')").arg(expression, accented.at(i), plain.at(i));
    return expression;
}

// Name, surnames, RFC and CURP as one text, so that "ana garcia" finds her too.
const QString kBuscaMandatario =
    plegado(QStringLiteral("coalesce(Nombre,'')||' '||coalesce(ApPaterno,'')||' '||coalesce(ApMaterno,'')||' '||"
                           "coalesce(RFC,'')||' '||coalesce(CURP,'')")) +
    QStringLiteral(" like ? escape '\\'");

// The typed text without its accents, as a LIKE pattern that takes its own % and _ literally.
QString patronBusqueda(const QString& texto) {
    QString plano;
    for (QChar c : texto.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            plano += c;
    plano.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + plano + QLatin1Char('%');
}

Query selecciona(Database& db, const QString& table, const QString& tail = {}, const QVariantList& values = {}) {
    return db.select(tabla(table).selectStatement(tail), values);
}

QVariantHash filaDomicilio(const Domicilio& d, int tipo) {
    return {{QStringLiteral("Tipo_Dom"), tipo},       {QStringLiteral("EntFed"), d.entFed},
            {QStringLiteral("MDeleg"), d.mDeleg},     {QStringLiteral("Calle"), d.calle},
            {QStringLiteral("NoExt"), d.noExt},       {QStringLiteral("NoInt"), d.noInt},
            {QStringLiteral("Colonia"), d.colonia},   {QStringLiteral("CP"), d.cp},
            {QStringLiteral("Telefono"), d.telefono}, {QStringLiteral("Fax"), d.fax}};
}

Domicilio leeDomicilio(const Query& q) {
    Domicilio d;
    d.entFed = q.text(QStringLiteral("EntFed"));
    d.mDeleg = q.isNull(QStringLiteral("MDeleg")) ? QVariant() : QVariant(q.number(QStringLiteral("MDeleg")));
    d.calle = q.text(QStringLiteral("Calle"));
    d.noExt = q.text(QStringLiteral("NoExt"));
    d.noInt = q.text(QStringLiteral("NoInt"));
    d.colonia = q.text(QStringLiteral("Colonia"));
    d.cp = q.text(QStringLiteral("CP"));
    d.telefono = q.text(QStringLiteral("Telefono"));
    d.fax = q.text(QStringLiteral("Fax"));
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
    return {q.number(QStringLiteral("NoAduana")), q.text(QStringLiteral("Aduana"))};
}

FilaMandatario leeFilaMandatario(const Query& q) {
    return {q.text(QStringLiteral("CURP")),      q.text(QStringLiteral("RFC")),
            q.text(QStringLiteral("Nombre")),    q.text(QStringLiteral("ApPaterno")),
            q.text(QStringLiteral("ApMaterno")), mandatoDeCodigo(q.value(QStringLiteral("Mandato"))),
            q.value(QStringLiteral("Operando")), q.text(QStringLiteral("Requerimiento"))};
}

PersonaHistorica leePersona(const Query& q) {
    PersonaHistorica p;
    p.rfc = q.text(QStringLiteral("RFC"));
    p.curp = q.text(QStringLiteral("CURP"));
    p.nombre = q.text(QStringLiteral("Nombre"));
    p.apPaterno = q.text(QStringLiteral("ApPaterno"));
    p.apMaterno = q.text(QStringLiteral("ApMaterno"));
    return p;
}

} // namespace

QList<EntidadFederativa> Store::entidades() {
    QList<EntidadFederativa> list;
    Query q = db_.select(QStringLiteral("select cveEntFed,EntFed from EntFed order by rowid"));
    while (q.next())
        list << EntidadFederativa{q.text(QStringLiteral("cveEntFed")), q.text(QStringLiteral("EntFed"))};
    return list;
}

QList<Municipio> Store::municipios(const QString& cveEntFed) {
    QList<Municipio> list;
    const QString key = rtrim(cveEntFed);
    if (key.isEmpty())
        return list;
    Query q =
        db_.select(QStringLiteral("select NoMDeleg,MDeleg from MpioDeleg where cveEntFed=? order by NoMDeleg"), {key});
    while (q.next())
        list << Municipio{q.number(QStringLiteral("NoMDeleg")), q.text(QStringLiteral("MDeleg"))};
    return list;
}

QList<Aduana> Store::aduanas() {
    QList<Aduana> list;
    Query q = db_.select(QStringLiteral("select cveAduana,Aduana from Aduanas order by aduana"));
    while (q.next())
        list << Aduana{q.number(QStringLiteral("cveAduana")), q.text(QStringLiteral("Aduana"))};
    return list;
}

std::optional<AgenteAduanal> Store::agente() {
    Query q = selecciona(db_, kAA);
    std::optional<AgenteAduanal> agente;
    while (q.next()) {
        AgenteAduanal a;
        a.patente = q.number(QStringLiteral("Patente"));
        a.nombre = q.text(QStringLiteral("Nombre"));
        a.apPaterno = q.text(QStringLiteral("ApPaterno"));
        a.apMaterno = q.text(QStringLiteral("ApMaterno"));
        a.rfc = q.text(QStringLiteral("RFC"));
        a.curp = q.text(QStringLiteral("CURP"));
        a.autorizacion = q.number(QStringLiteral("Autorizacion"));
        a.adscripcion = q.value(QStringLiteral("Adscripcion"));
        agente = a;
    }
    if (!agente)
        return agente;
    const QString byType = QStringLiteral("where Tipo_Dom=?");
    agente->fiscal = ultimoDomicilio(selecciona(db_, kDomiciliosAA, byType, {kFiscalAA}));
    agente->notificaciones = ultimoDomicilio(selecciona(db_, kDomiciliosAA, byType, {kNotificacionesAA}));
    return agente;
}

void Store::guardaAgente(const AgenteAduanal& a) {
    Transaction t(db_);
    db_.exec(QStringLiteral("delete from AA"));
    db_.exec(QStringLiteral("delete from Domicilios_AA"));
    inserta(db_, kAA,
            {{QStringLiteral("Patente"), a.patente},
             {QStringLiteral("Nombre"), a.nombre},
             {QStringLiteral("ApPaterno"), a.apPaterno},
             {QStringLiteral("ApMaterno"), a.apMaterno},
             {QStringLiteral("RFC"), a.rfc},
             {QStringLiteral("CURP"), a.curp},
             {QStringLiteral("Autorizacion"), a.autorizacion},
             {QStringLiteral("Adscripcion"), a.adscripcion}});
    inserta(db_, kDomiciliosAA, filaDomicilio(a.fiscal, kFiscalAA));
    inserta(db_, kDomiciliosAA, filaDomicilio(a.notificaciones, kNotificacionesAA));
    t.commit();
}

std::optional<Mandatario> Store::mandatario(const QString& curp) {
    Query q = selecciona(db_, kMandatarios, QStringLiteral("where CURP=?"), {curp});
    if (!q.next())
        return std::nullopt;
    Mandatario m;
    m.curp = q.text(QStringLiteral("CURP"));
    m.rfc = q.text(QStringLiteral("RFC"));
    m.nombre = q.text(QStringLiteral("Nombre"));
    m.apPaterno = q.text(QStringLiteral("ApPaterno"));
    m.apMaterno = q.text(QStringLiteral("ApMaterno"));
    m.mandato = mandatoDeCodigo(q.value(QStringLiteral("Mandato")));
    m.requerimiento = q.text(QStringLiteral("Requerimiento"));
    m.acreditacion = int(q.number(QStringLiteral("Acreditacion")));
    m.operando = q.isNull(QStringLiteral("Operando")) ? 2 : int(q.number(QStringLiteral("Operando")));

    const QString byType = QStringLiteral("where CURP=? and Tipo_Dom=?");
    m.particular = ultimoDomicilio(selecciona(db_, kDomiciliosMM, byType, {curp, kParticularMM}));
    m.fiscal = ultimoDomicilio(selecciona(db_, kDomiciliosMM, byType, {curp, kFiscalMM}));
    // Offices and declarations are read whatever the stored type: an imported representative may carry them
    // under another type, and they show as soon as type Anterior is chosen.
    Query aduanas = db_.select(QStringLiteral("select NoAduana,Aduana from Aduanas_MM AM, Aduanas A "
                                              "where AM.NoAduana=cveAduana and CURP=? order by AM.rowid"),
                               {curp});
    while (aduanas.next())
        m.aduanas << leeAduana(aduanas);
    Query pedimentos = db_.select(QStringLiteral("select NoAduana,Aduana,NoPedimento,FechPedimento from "
                                                 "Pedimentos_MM AM, Aduanas A where AM.NoAduana=cveAduana and "
                                                 "CURP=? order by AM.rowid"),
                                  {curp});
    while (pedimentos.next())
        m.pedimentos << Pedimento{leeAduana(pedimentos), pedimentos.text(QStringLiteral("NoPedimento")),
                                  pedimentos.date(QStringLiteral("FechPedimento"))};
    return m;
}

bool Store::existeMandatario(const QString& curp) {
    return db_.exists(QStringLiteral("select 1 from Mandatarios where CURP=?"), {curp});
}

void Store::guardaMandatario(const std::optional<QString>& anterior, const Mandatario& m) {
    Transaction t(db_);
    if (anterior) {
        const QString& curpAnterior = *anterior;
        // Offices and declarations go whatever the stored type was: the dialog loaded them all, and rows left under
        // a type that does not show them (imported data) would reach the information file unseen.
        for (const QString& table : {kAduanasMM, kPedimentosMM, kDomiciliosMM, kMandatarios})
            db_.exec(QStringLiteral("delete from %1 where CURP=?").arg(table), {curpAnterior});
        // A corrected CURP takes his periods with other brokers along instead of leaving them to nobody.
        if (curpAnterior != m.curp)
            db_.exec(QStringLiteral("update Periodos_H_MM set CURP=? where CURP=?"), {m.curp, curpAnterior});
    }
    inserta(db_, kMandatarios,
            {{QStringLiteral("CURP"), m.curp},
             {QStringLiteral("RFC"), m.rfc},
             {QStringLiteral("Nombre"), m.nombre},
             {QStringLiteral("ApPaterno"), m.apPaterno},
             {QStringLiteral("ApMaterno"), m.apMaterno},
             {QStringLiteral("Mandato"), codigoMandato(m.mandato)},
             {QStringLiteral("Requerimiento"), m.requerimiento},
             {QStringLiteral("Acreditacion"), m.acreditacion},
             {QStringLiteral("Operando"), m.operando}});
    for (const auto& [domicilio, tipo] : {std::pair{&m.particular, kParticularMM}, std::pair{&m.fiscal, kFiscalMM}}) {
        QVariantHash row = filaDomicilio(*domicilio, tipo);
        row.insert(QStringLiteral("CURP"), m.curp);
        inserta(db_, kDomiciliosMM, row);
    }
    if (m.mandato == Mandato::Anterior) {
        for (const Aduana& a : m.aduanas)
            inserta(db_, kAduanasMM, {{QStringLiteral("CURP"), m.curp}, {QStringLiteral("NoAduana"), a.numero}});
        for (const Pedimento& p : m.pedimentos)
            inserta(db_, kPedimentosMM,
                    {{QStringLiteral("CURP"), m.curp},
                     {QStringLiteral("NoAduana"), p.aduana.numero},
                     {QStringLiteral("NoPedimento"), p.noPedimento},
                     {QStringLiteral("FechPedimento"), p.fecha}});
    }
    t.commit();
}

void Store::borraMandatario(const QString& curp) {
    Transaction t(db_);
    // Every row that names him goes: the information file is written from whole tables, so a row left behind
    // would speak of a representative who is no longer there.
    for (const QString& table : {kAduanasMM, kPedimentosMM, kDomiciliosMM, kPeriodosMM, kMandatarios})
        db_.exec(QStringLiteral("delete from %1 where CURP=?").arg(table), {curp});
    t.commit();
}

bool Store::Hay_Hist_Mandatarios() {
    return db_.exists(QStringLiteral("select 1 from Mandatarios where Mandato=?"), {codigoMandato(Mandato::Conforme)});
}

std::optional<FilaMandatario> Store::filaMandatario(const QString& curp) {
    Query q = selecciona(db_, kMandatarios, QStringLiteral("where CURP=?"), {curp});
    return q.next() ? std::optional(leeFilaMandatario(q)) : std::nullopt;
}

QList<FilaMandatario> Store::filasMandatarios(qsizetype offset, int count, bool soloAspirantes, const QString& busca) {
    QStringList where;
    QVariantList values;
    if (soloAspirantes) {
        where << QStringLiteral("Mandato=?");
        values << codigoMandato(Mandato::Conforme);
    }
    if (const QString texto = busca.simplified(); !texto.isEmpty()) {
        where << kBuscaMandatario;
        values << patronBusqueda(texto);
    }
    values << count << offset;
    const QString filtro = where.isEmpty() ? QString() : QStringLiteral("where ") + where.join(QStringLiteral(" and "));
    QList<FilaMandatario> rows;
    Query q = selecciona(db_, kMandatarios, filtro + QStringLiteral(" order by rowid limit ? offset ?"), values);
    while (q.next())
        rows << leeFilaMandatario(q);
    return rows;
}

void Store::recorreConRequerimiento(const std::function<bool(const FilaMandatario&)>& action) {
    Query q = selecciona(db_, kMandatarios, QStringLiteral("where Mandato=? or Mandato=? order by rowid"),
                         {codigoMandato(Mandato::Anterior), codigoMandato(Mandato::Autorizado)});
    while (q.next()) {
        if (!action(leeFilaMandatario(q)))
            return;
    }
}

std::optional<QString> Store::revisaMandatarios() {
    // The offices are looked up once for all: Aduanas_MM has no index on CURP.
    QSet<QString> conAduanas;
    Query aduanas = db_.select(QStringLiteral("select distinct CURP from Aduanas_MM"));
    while (aduanas.next())
        conAduanas.insert(aduanas.text(QStringLiteral("CURP")));

    Query q = db_.select(
        QStringLiteral("select CURP,Nombre,ApPaterno,ApMaterno,Mandato,Requerimiento,Acreditacion,Operando,"
                       "exists(select 1 from Domicilios_MM D where D.CURP=M.CURP and D.Tipo_Dom=1) as particular,"
                       "exists(select 1 from Domicilios_MM D where D.CURP=M.CURP and D.Tipo_Dom=2) as fiscal "
                       "from Mandatarios M order by M.rowid"));
    bool any = false;
    while (q.next()) {
        any = true;
        const QString curp = q.text(QStringLiteral("CURP"));
        const QString who = q.text(QStringLiteral("Nombre")) + QLatin1Char(' ') + q.text(QStringLiteral("ApPaterno")) +
                            QLatin1Char(' ') + q.text(QStringLiteral("ApMaterno")) + QStringLiteral(" CURP=") + curp;
        if (q.number(QStringLiteral("particular")) == 0)
            return QStringLiteral("Proporcione el Domicilo Particular del Representante ") + who;
        if (q.number(QStringLiteral("fiscal")) == 0)
            return QStringLiteral("Proporcione el Domicilo Fiscal del Representante ") + who;
        if (!q.isNull(QStringLiteral("Operando")) && q.number(QStringLiteral("Operando")) == 2)
            return QStringLiteral("Defina si se encuentra operando actualemente del Representante ") + who;
        const Mandato mandato = mandatoDeCodigo(q.value(QStringLiteral("Mandato")));
        const bool noRequest = isBlank(q.text(QStringLiteral("Requerimiento")));
        if (mandato == Mandato::Anterior) {
            if (noRequest)
                return QStringLiteral("Proporcione el archivo de Requerimiento del mandatario ") + who;
            if (!conAduanas.contains(curp))
                return QStringLiteral("Proporcione las Aduanas ante las que aha actuado el Representante ") + who;
        } else if (mandato == Mandato::Conforme) {
            if (noRequest)
                return QStringLiteral("Proporcione el archivo de Requerimiento del mandatario ") + who;
            if (q.isNull(QStringLiteral("Acreditacion")))
                return QStringLiteral("Proporcione el Tipo de acreditamiento del mandatario ") + who;
        }
    }
    if (!any)
        return QStringLiteral("Debe existir por lo menos un o Representante o Mandatario");
    return std::nullopt;
}

std::optional<PersonaHistorica> Store::personaHistorica(const QString& curp) {
    Query q = selecciona(db_, kHistoricoAA, QStringLiteral("where CURP=?"), {curp});
    if (!q.next())
        return std::nullopt;
    PersonaHistorica p = leePersona(q);
    Query periodos = db_.select(QStringLiteral("select NoAduana,Aduana,FechaIni,FechaFin from Periodos_H_AA P, "
                                               "Aduanas A where P.NoAduana=A.cveAduana and P.CURP=? order by P.rowid"),
                                {curp});
    while (periodos.next())
        p.periodos << PeriodoAgente{leeAduana(periodos), periodos.date(QStringLiteral("FechaIni")),
                                    periodos.date(QStringLiteral("FechaFin"))};
    return p;
}

bool Store::existePersonaHistorica(const QString& curp) {
    return db_.exists(QStringLiteral("select 1 from Historico_AA where CURP=?"), {curp});
}

QList<PersonaHistorica> Store::filasHistoricas(qsizetype offset, int count) {
    QList<PersonaHistorica> rows;
    Query q = selecciona(db_, kHistoricoAA, QStringLiteral("order by rowid limit ? offset ?"), {count, offset});
    while (q.next())
        rows << leePersona(q);
    return rows;
}

void Store::guardaPersonaHistorica(const QString& curpAnterior, const PersonaHistorica& p) {
    Transaction t(db_);
    if (!curpAnterior.isEmpty()) {
        db_.exec(
            QStringLiteral("delete from Periodos_H_AA where CURP=? and NoAduana in (select cveAduana from Aduanas)"),
            {curpAnterior});
        db_.exec(QStringLiteral("update Periodos_H_AA set CURP=? where CURP=?"), {p.curp, curpAnterior});
        db_.exec(QStringLiteral("delete from Historico_AA where CURP=?"), {curpAnterior});
    }
    inserta(db_, kHistoricoAA,
            {{QStringLiteral("RFC"), p.rfc},
             {QStringLiteral("CURP"), p.curp},
             {QStringLiteral("Nombre"), p.nombre},
             {QStringLiteral("ApPaterno"), p.apPaterno},
             {QStringLiteral("ApMaterno"), p.apMaterno}});
    for (const PeriodoAgente& periodo : p.periodos)
        inserta(db_, kPeriodosAA,
                {{QStringLiteral("CURP"), p.curp},
                 {QStringLiteral("NoAduana"), periodo.aduana.numero},
                 {QStringLiteral("FechaIni"), periodo.inicio},
                 {QStringLiteral("FechaFin"), periodo.fin}});
    t.commit();
}

void Store::borraPersonaHistorica(const QString& curp) {
    Transaction t(db_);
    db_.exec(QStringLiteral("delete from Periodos_H_AA where CURP=?"), {curp});
    db_.exec(QStringLiteral("delete from Historico_AA where CURP=?"), {curp});
    t.commit();
}

QList<PeriodoMandatario> Store::periodosMandatario(const QString& curp) {
    QList<PeriodoMandatario> periodos;
    Query q = db_.select(QStringLiteral("select Patente_MM,NoAduana,Aduana,FechaIni,FechaFin,P.rowid as id "
                                        "from Periodos_H_MM P, Aduanas A "
                                        "where P.NoAduana=A.cveAduana and P.CURP=? order by P.rowid"),
                         {curp});
    while (q.next())
        periodos << PeriodoMandatario{curp,
                                      q.number(QStringLiteral("Patente_MM")),
                                      leeAduana(q),
                                      q.date(QStringLiteral("FechaIni")),
                                      q.date(QStringLiteral("FechaFin")),
                                      q.number(QStringLiteral("id"))};
    return periodos;
}

PeriodoMandatario Store::agregaPeriodoMandatario(PeriodoMandatario periodo) {
    inserta(db_, kPeriodosMM,
            {{QStringLiteral("CURP"), periodo.curp},
             {QStringLiteral("NoAduana"), periodo.aduana.numero},
             {QStringLiteral("Patente_MM"), periodo.patente},
             {QStringLiteral("FechaIni"), periodo.inicio},
             {QStringLiteral("FechaFin"), periodo.fin}});
    Query q = db_.select(QStringLiteral("select last_insert_rowid() as id"));
    periodo.id = q.next() ? q.number(QStringLiteral("id")) : 0;
    return periodo;
}

void Store::borraPeriodoMandatario(const QString& curp, qint64 id) {
    db_.exec(QStringLiteral("delete from Periodos_H_MM where rowid=? and CURP=?"), {id, curp});
}
