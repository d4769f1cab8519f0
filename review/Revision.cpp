#include "review/Revision.h"

#include "app/RevisaAgente.h"
#include "data/Completitud.h"
#include "data/Rutinas.h"
#include "data/Schema.h"
#include "data/Store.h"
#include "export/ArchivoInformacion.h"
#include "export/NombresEnvio.h"
#include "representative/Requerimiento.h"
#include "representative/RevisaMandatario.h"

#include <QHash>
#include <QSet>

namespace {

constexpr int kPagina = 1000;

const QString kAgente = QStringLiteral("Agente Aduanal");

QString nombreDe(const QString& nombre, const QString& apPaterno, const QString& apMaterno) {
    return QStringList{nombre, apPaterno, apMaterno}.join(QLatin1Char(' ')).simplified();
}

// The address as page 1 shows it: the entity and municipality by their catalogue names, blank when not listed.
TextosDomicilio textosDe(Store& store, const Domicilio& d) {
    TextosDomicilio t{d.calle, d.noExt, d.colonia, d.cp, {}, {}, d.telefono, d.fax};
    for (const EntidadFederativa& e : store.entidades())
        if (e.clave == d.entFed)
            t.entidad = e.nombre;
    if (!d.mDeleg.isNull())
        for (const Municipio& m : store.municipios(d.entFed))
            if (m.numero == d.mDeleg.toLongLong())
                t.municipio = m.nombre;
    return t;
}

TextosAgente textosDe(Store& store, const std::optional<AgenteAduanal>& a) {
    if (!a)
        return {};
    TextosAgente t{QString::number(a->patente),
                   a->nombre,
                   a->apPaterno,
                   a->apMaterno,
                   a->curp,
                   a->rfc,
                   {},
                   textosDe(store, a->fiscal),
                   textosDe(store, a->notificaciones)};
    if (!a->adscripcion.isNull())
        for (const Aduana& aduana : store.aduanas())
            if (aduana.numero == a->adscripcion.toLongLong())
                t.aduana = aduana.nombre;
    return t;
}

class Revision {
public:
    explicit Revision(Store& store) : store_(store) {}

    RevisionBase run() {
        agente();
        mandatarios();
        valores();
        anteriores();
        periodos(tabla::Periodos_H_AA, Titular::Anterior);
        periodos(tabla::Periodos_H_MM, Titular::Mandatario);
        return {problemas_, requerimientos_};
    }

private:
    void agrega(Titular titular, const QString& curp, const QString& registro, const QString& mensaje,
                Gravedad gravedad = Gravedad::Error, const QString& donde = {}) {
        problemas_ << Problema{titular, curp, registro, donde, mensaje, gravedad};
    }

    void digitos(Titular titular, const QString& clave, const QString& curp, const QString& rfc,
                 const QString& registro) {
        for (const auto& [identificador, texto] : {std::pair{Identificador::CURP, curp}, {Identificador::RFC, rfc}})
            if (const std::optional<QString> aviso = avisoDigito(identificador, texto))
                agrega(titular, clave, registro, *aviso, Gravedad::Aviso);
    }

    void agente() {
        const std::optional<AgenteAduanal> a = store_.agente();
        for (const FaltaAgente& f : faltasAgente(textosDe(store_, a)))
            agrega(Titular::Agente, {}, kAgente, f.mensaje);
        if (a) {
            digitos(Titular::Agente, {}, a->curp, a->rfc, kAgente);
            patente_ = QString::number(a->patente);
        }
    }

    void mandatarios() {
        const QSet<QString> conPeriodos = store_.curpsDe(tabla::Periodos_H_MM);
        // The generation's own check of the names the request files take in ENVIO.
        RevisaNombres nombres(patente_);
        bool any = false;
        recorreEstados(store_, [&](const EstadoMandatario& m) {
            any = true;
            const FilaMandatario& f = m.fila;
            const QString nombre = nombreDe(f.nombre, f.apPaterno, f.apMaterno);
            for (const QString& falta : faltasMandatario(m))
                agrega(Titular::Mandatario, f.curp, nombre, falta);
            if (const std::optional<QString> falta = revisaNombreRequerimiento(f.mandato, f.requerimiento, f.rfc))
                agrega(Titular::Mandatario, f.curp, nombre, *falta);
            if (!isBlank(f.requerimiento)) {
                if (reglas(f.mandato).copiaRequerimiento)
                    if (const std::optional<QString> choque = nombres.agrega(nombre, f.curp, f.requerimiento))
                        agrega(Titular::Mandatario, f.curp, nombre, *choque);
                requerimientos_ << RequerimientoPorLeer{f.curp, f.rfc, nombre, f.requerimiento};
            }
            digitos(Titular::Mandatario, f.curp, f.curp, f.rfc, nombre);
            // Page 4 asks for them but does not stop without them.
            if (reglas(f.mandato).aspirante && !conPeriodos.contains(f.curp))
                agrega(Titular::Mandatario, f.curp, nombre,
                       QStringLiteral("Se debe capturar la información de los Agentes Aduanales con que ha actuado el "
                                      "Aspirante a Mandatario"),
                       Gravedad::Aviso);
            return true;
        });
        if (!any)
            agrega(Titular::Mandatario, {}, {},
                   QStringLiteral("Debe existir por lo menos un o Representante o Mandatario"));
    }

    void valores() {
        recorreValores(store_, [&](const FaltaValor& f) {
            const QString table = f.tabla;
            if (table == QString(tabla::AA) || table == QString(tabla::Domicilios_AA))
                agrega(Titular::Agente, {}, kAgente, f.mensaje);
            else if (table == QString(tabla::Historico_AA) || table == QString(tabla::Periodos_H_AA))
                agrega(Titular::Anterior, f.curp, nombreAnterior(f.curp), f.mensaje);
            else
                agrega(Titular::Mandatario, f.curp, nombreMandatario(f.curp), f.mensaje);
        });
    }

    void anteriores() {
        for (qsizetype offset = 0;; offset += kPagina) {
            const QList<PersonaHistorica> pagina = store_.filasHistoricas(offset, kPagina);
            for (const PersonaHistorica& p : pagina)
                digitos(Titular::Anterior, p.curp, p.curp, p.rfc, nombreDe(p.nombre, p.apPaterno, p.apMaterno));
            if (pagina.size() < kPagina)
                return;
        }
    }

    void periodos(const TableDefinition& tabla, Titular titular) {
        for (const PeriodoFueraDeCatalogo& p : store_.periodosFueraDeCatalogo(tabla))
            agrega(titular, p.curp, titular == Titular::Anterior ? nombreAnterior(p.curp) : nombreMandatario(p.curp),
                   QStringLiteral("La Aduana %1 ya no está en el catálogo de Aduanas: el periodo no se puede mostrar "
                                  "ni corregir, y va así en el archivo de información.")
                       .arg(p.noAduana),
                   Gravedad::Aviso,
                   QStringLiteral("Aduana %1, del %2 al %3").arg(p.noAduana).arg(dateText(p.inicio), dateText(p.fin)));
    }

    // A value at fault names only the CURP of its row; the person is looked up once.
    QString nombreMandatario(const QString& curp) {
        if (!nombres_.contains(curp)) {
            const std::optional<FilaMandatario> f = store_.filaMandatario(curp);
            nombres_.insert(curp, f ? nombreDe(f->nombre, f->apPaterno, f->apMaterno) : QString());
        }
        return nombres_.value(curp);
    }

    QString nombreAnterior(const QString& curp) {
        if (!nombresAnteriores_.contains(curp)) {
            const std::optional<PersonaHistorica> p = store_.personaHistorica(curp);
            nombresAnteriores_.insert(curp, p ? nombreDe(p->nombre, p->apPaterno, p->apMaterno) : QString());
        }
        return nombresAnteriores_.value(curp);
    }

    Store& store_;
    QString patente_;
    QList<Problema> problemas_;
    QList<RequerimientoPorLeer> requerimientos_;
    QHash<QString, QString> nombres_, nombresAnteriores_;
};

} // namespace

RevisionBase revisaBase(Store& store) {
    return Revision(store).run();
}

std::optional<Problema> revisaArchivo(const RequerimientoPorLeer& r) {
    const std::optional<QString> falta = revisaRequerimiento(r.ruta, r.rfc, r.curp);
    if (!falta)
        return std::nullopt;
    return Problema{Titular::Mandatario, r.curp, r.registro, {}, *falta, Gravedad::Error};
}

QList<Problema> revisa(Store& store) {
    RevisionBase base = revisaBase(store);
    for (const RequerimientoPorLeer& r : base.requerimientos)
        if (std::optional<Problema> p = revisaArchivo(r))
            base.problemas << *p;
    return base.problemas;
}
