#include "lists/HistoricoAA.h"

#include "app/Globales.h"
#include "app/PaginaHistoricoAA.h"
#include "data/Rutinas.h"
#include "lists/frmAgentes_Aduanales.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QPushButton>
#include <QTableWidget>

namespace {

void informaError(QWidget* parent, const QString& what, const DatabaseError& e) {
    inform(parent, what + QStringLiteral("\n\n") + e.message(), MessageIcon::Exclamation);
}

} // namespace

QStringList PeriodoAgente::celdas() const {
    return {numberText(noAduana), aduana, dateText(inicio), dateText(fin)};
}

QList<PeriodoAgente> periodosAgente(Database& db, const QString& curp) {
    QList<PeriodoAgente> periodos;
    Query q = db.select(QStringLiteral("select NoAduana,Aduana,FechaIni,FechaFin from Periodos_H_AA P, Aduanas A "
                                       "where P.NoAduana=A.cveAduana and P.CURP=? order by P.rowid"),
                        {curp});
    while (q.next())
        periodos << PeriodoAgente{q.number(0), q.text(1), q.date(2), q.date(3)};
    return periodos;
}

bool existeAgente(Database& db, const QString& curp) {
    return db.exists(QStringLiteral("select * from Historico_AA where CURP=?"), {curp});
}

void guardaAgente(Database& db, const QString& curpAnterior, const PersonaHistorica& persona,
                  const QList<PeriodoAgente>& periodos) {
    Transaction t(db);
    if (!curpAnterior.isEmpty()) {
        db.exec(
            QStringLiteral("delete from Periodos_H_AA where CURP=? and NoAduana in (select cveAduana from Aduanas)"),
            {curpAnterior});
        db.exec(QStringLiteral("update Periodos_H_AA set CURP=? where CURP=?"), {persona.CURP, curpAnterior});
        db.exec(QStringLiteral("delete from Historico_AA where CURP=?"), {curpAnterior});
    }
    db.exec(QStringLiteral("insert into Historico_AA(RFC,CURP,Nombre,ApPaterno,ApMaterno) values (?,?,?,?,?)"),
            {persona.RFC, persona.CURP, persona.Nombre, persona.ApPaterno, persona.ApMaterno});
    for (const PeriodoAgente& p : periodos)
        db.exec(QStringLiteral("insert into Periodos_H_AA(CURP,NoAduana,FechaIni,FechaFin) values (?,?,?,?)"),
                {persona.CURP, p.noAduana, p.inicio, p.fin});
    t.commit();
}

void borraAgente(Database& db, const QString& curp) {
    Transaction t(db);
    db.exec(QStringLiteral("delete from Periodos_H_AA where CURP=?"), {curp});
    db.exec(QStringLiteral("delete from Historico_AA where CURP=?"), {curp});
    t.commit();
}

HistoricoAA::HistoricoAA(PaginaHistoricoAA* page, Globales& globales) : page_(page), globales_(globales) {
    connect(page_->fgDatosAA, &QTableWidget::cellClicked, this, &HistoricoAA::fgDatosAA_Click);
    connect(page_->cmdAANuevo, &QPushButton::clicked, this, &HistoricoAA::cmdAANuevo_Click);
    connect(page_->cmdAAEditar, &QPushButton::clicked, this, &HistoricoAA::cmdAAEditar_Click);
    connect(page_->cmdAABorrar, &QPushButton::clicked, this, &HistoricoAA::cmdAABorrar_Click);
}

Database& HistoricoAA::db() {
    return *globales_.BaseDatos;
}

void HistoricoAA::Llena_Hist_AA() {
    clearGrid(page_->fgDatosAA);
    Query q = db().select(QStringLiteral("select * from Historico_AA "));
    while (q.next())
        appendRow(page_->fgDatosAA, {q.text(2), q.text(3), q.text(4), q.text(1), q.text(0)});
}

void HistoricoAA::Llena_Periodos_Hist_AA(const QString& curp) {
    clearGrid(page_->fgPeriodosAA);
    for (const PeriodoAgente& p : periodosAgente(db(), curp))
        appendRow(page_->fgPeriodosAA, p.celdas());
}

void HistoricoAA::fgDatosAA_Click() {
    const int row = selectedRow(page_->fgDatosAA);
    if (rowCount(page_->fgDatosAA) == 0 || row < 0)
        return;
    try {
        Llena_Periodos_Hist_AA(cellText(page_->fgDatosAA, row, 3));
    } catch (const DatabaseError& e) {
        informaError(page_, QStringLiteral("No se pudieron leer los periodos del Representante."), e);
    }
    page_->cmdAABorrar->setEnabled(true);
    page_->cmdAAEditar->setEnabled(true);
}

void HistoricoAA::cmdAANuevo_Click() {
    abreAgente(QStringLiteral("N"));
}

void HistoricoAA::cmdAAEditar_Click() {
    if (selectedRow(page_->fgDatosAA) < 0)
        return;
    abreAgente(QStringLiteral("E"));
}

void HistoricoAA::abreAgente(const QString& modo) {
    QStringList seleccionado;
    if (modo == QLatin1String("E"))
        seleccionado = rowCells(page_->fgDatosAA, selectedRow(page_->fgDatosAA));
    {
        frmAgentes_Aduanales dialog(db(), modo, seleccionado, page_);
        dialog.exec();
    }
    // Refilled after a cancellation too: it only shows again what is stored.
    try {
        Llena_Hist_AA();
        if (rowCount(page_->fgDatosAA) > 0) {
            selectRow(page_->fgDatosAA, 0);
            Llena_Periodos_Hist_AA(cellText(page_->fgDatosAA, 0, 3));
        } else {
            clearGrid(page_->fgPeriodosAA);
        }
    } catch (const DatabaseError& e) {
        informaError(page_, QStringLiteral("No se pudieron leer los Representantes."), e);
    }
}

void HistoricoAA::cmdAABorrar_Click() {
    QTableWidget* grid = page_->fgDatosAA;
    const int row = selectedRow(grid);
    if (row < 0)
        return;
    const QStringList c = rowCells(grid, row);
    const QString curp = c.value(3);
    if (!confirm(page_, QStringLiteral("¿DESEA BORRAR EL AGENTE ADUANAL \n\n") + c.value(0) + QLatin1Char(' ') +
                            c.value(1) + QLatin1Char(' ') + c.value(2) + QLatin1Char(' ') + curp +
                            QStringLiteral("\n\n Y TODOS SUS PERIODOS DE LABOR?")))
        return;
    try {
        borraAgente(db(), curp);
    } catch (const DatabaseError& e) {
        informaError(page_, QStringLiteral("No se pudo borrar el Representante; sus datos quedan como estaban."), e);
        return;
    }
    clearGrid(page_->fgPeriodosAA);
    if (rowCount(grid) == 1) {
        clearGrid(grid);
    } else {
        removeRow(grid, row);
        const int next = std::min(row, rowCount(grid) - 1);
        selectRow(grid, next);
        try {
            Llena_Periodos_Hist_AA(cellText(grid, next, 3));
        } catch (const DatabaseError& e) {
            informaError(page_, QStringLiteral("No se pudieron leer los periodos del Representante."), e);
        }
    }
    if (row == 0) {
        page_->cmdAABorrar->setEnabled(false);
        page_->cmdAAEditar->setEnabled(false);
    }
}
