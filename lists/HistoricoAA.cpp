#include "lists/HistoricoAA.h"

#include "app/Globales.h"
#include "app/PaginaHistoricoAA.h"
#include "data/Rutinas.h"
#include "data/Store.h"
#include "lists/CeldasPeriodo.h"
#include "lists/frmAgentes_Aduanales.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QPushButton>
#include <QTableWidget>

#include <limits>

namespace {

void informaError(QWidget* parent, const QString& what, const DatabaseError& e) {
    inform(parent, what + QStringLiteral("\n\n") + e.message(), MessageIcon::Exclamation);
}

} // namespace

HistoricoAA::HistoricoAA(PaginaHistoricoAA* page, Globales& globales) : page_(page), globales_(globales) {
    connect(page_->fgDatosAA, &QTableWidget::cellClicked, this, &HistoricoAA::fgDatosAA_Click);
    connect(page_->cmdAANuevo, &QPushButton::clicked, this, &HistoricoAA::cmdAANuevo_Click);
    connect(page_->cmdAAEditar, &QPushButton::clicked, this, &HistoricoAA::cmdAAEditar_Click);
    connect(page_->cmdAABorrar, &QPushButton::clicked, this, &HistoricoAA::cmdAABorrar_Click);
}

Store& HistoricoAA::store() {
    return *globales_.store;
}

void HistoricoAA::Llena_Hist_AA() {
    clearGrid(page_->fgDatosAA);
    for (const PersonaHistorica& p : store().filasHistoricas(0, std::numeric_limits<int>::max()))
        appendRow(page_->fgDatosAA, {p.nombre, p.apPaterno, p.apMaterno, p.curp, p.rfc});
}

void HistoricoAA::Llena_Periodos_Hist_AA(const QString& curp) {
    clearGrid(page_->fgPeriodosAA);
    const std::optional<PersonaHistorica> persona = store().personaHistorica(curp);
    for (const PeriodoAgente& p : persona ? persona->periodos : QList<PeriodoAgente>())
        appendRow(page_->fgPeriodosAA, celdasPeriodo(p));
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
        frmAgentes_Aduanales dialog(store(), modo, seleccionado, page_);
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
        store().borraPersonaHistorica(curp);
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
