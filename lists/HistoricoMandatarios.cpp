#include "lists/HistoricoMandatarios.h"

#include "app/Globales.h"
#include "app/PaginaMandatarios.h"
#include "data/Rutinas.h"
#include "data/Store.h"
#include "lists/frmPeriodo_Mandatario.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QPushButton>
#include <QTableWidget>

#include <limits>

namespace {

// Each row of fgPeriodosMandatario knows the stored period it shows.
constexpr int kIdRole = Qt::UserRole;
constexpr int kCurpRole = Qt::UserRole + 1;

void informaError(QWidget* parent, const QString& what, const DatabaseError& e) {
    inform(parent, what + QStringLiteral("\n\n") + e.message(), MessageIcon::Exclamation);
}

// The cells of fgPeriodosMandatario: " 470", " 47", name, "dd/mm/yyyy", "dd/mm/yyyy".
QStringList celdas(const PeriodoMandatario& p) {
    return {numberText(p.patente), numberText(p.aduana.numero), p.aduana.nombre, dateText(p.inicio), dateText(p.fin)};
}

} // namespace

HistoricoMandatarios::HistoricoMandatarios(PaginaMandatarios* page, Globales& globales)
    : page_(page), globales_(globales) {
    connect(page_->fgMandatarios, &QTableWidget::cellClicked, this, &HistoricoMandatarios::fgMandatarios_Click);
    connect(page_->fgPeriodosMandatario, &QTableWidget::cellClicked, this,
            &HistoricoMandatarios::fgPeriodosMandatario_Click);
    connect(page_->cmdMandNuevo, &QPushButton::clicked, this, &HistoricoMandatarios::cmdMandNuevo_Click);
    connect(page_->cmdMandBorrar, &QPushButton::clicked, this, &HistoricoMandatarios::cmdMandBorrar_Click);
}

Store& HistoricoMandatarios::store() {
    return *globales_.store;
}

void HistoricoMandatarios::Llena_Hist_Mandatarios() {
    QTableWidget* grid = page_->fgMandatarios;
    clearGrid(grid);
    for (const FilaMandatario& m : store().filasMandatarios(0, std::numeric_limits<int>::max(), true))
        appendRow(grid, {m.nombre, m.apPaterno, m.apMaterno, m.curp});
    if (aspirante_.isEmpty())
        return;
    for (int row = 0; row < rowCount(grid); ++row) {
        if (cellText(grid, row, 3) == aspirante_.value(3)) {
            selectRow(grid, row);
            // His names may have just been corrected: the period dialog and the confirmation show them as stored.
            aspirante_ = rowCells(grid, row);
            return;
        }
    }
    // He is no longer an aspirant: no period may be added to or taken from a list that is not his any more.
    olvidaAspirante();
}

void HistoricoMandatarios::Llena_Periodos_H_MM(const QString& CURP_M) {
    clearGrid(page_->fgPeriodosMandatario);
    for (const PeriodoMandatario& p : store().periodosMandatario(CURP_M))
        agregaFila(p);
}

void HistoricoMandatarios::agregaFila(const PeriodoMandatario& periodo) {
    QTableWidget* grid = page_->fgPeriodosMandatario;
    appendRow(grid, celdas(periodo));
    QTableWidgetItem* item = grid->item(rowCount(grid) - 1, 0);
    item->setData(kIdRole, periodo.id);
    item->setData(kCurpRole, periodo.curp);
}

void HistoricoMandatarios::olvidaAspirante() {
    aspirante_.clear();
    clearGrid(page_->fgPeriodosMandatario);
    page_->cmdMandNuevo->setEnabled(false);
    page_->cmdMandBorrar->setEnabled(false);
}

void HistoricoMandatarios::fgMandatarios_Click() {
    const int row = selectedRow(page_->fgMandatarios);
    if (rowCount(page_->fgMandatarios) == 0 || row < 0)
        return;
    aspirante_ = rowCells(page_->fgMandatarios, row);
    try {
        Llena_Periodos_H_MM(aspirante_.value(3));
    } catch (const DatabaseError& e) {
        informaError(page_, QStringLiteral("No se pudieron leer los periodos del Aspirante."), e);
    }
    page_->cmdMandNuevo->setEnabled(true);
}

void HistoricoMandatarios::fgPeriodosMandatario_Click() {
    page_->cmdMandBorrar->setEnabled(true);
}

void HistoricoMandatarios::cmdMandNuevo_Click() {
    if (aspirante_.isEmpty())
        return;
    frmPeriodo_Mandatario dialog(store(), aspirante_, page_);
    if (dialog.exec() == QDialog::Accepted)
        agregaFila(dialog.periodo());
}

void HistoricoMandatarios::cmdMandBorrar_Click() {
    QTableWidget* grid = page_->fgPeriodosMandatario;
    const int row = selectedRow(grid);
    if (row < 0 || aspirante_.isEmpty())
        return;
    const QTableWidgetItem* item = grid->item(row, 0);
    if (!confirm(page_, QStringLiteral("¿DESEA BORRAR EL PERIODO DE LABOR SELECCIONADO DEL MANDATARIO\n\n") +
                            aspirante_.mid(0, 4).join(QLatin1Char(' ')) + QStringLiteral(" ?")))
        return;
    try {
        store().borraPeriodoMandatario(item->data(kCurpRole).toString(), item->data(kIdRole).toLongLong());
    } catch (const DatabaseError& e) {
        informaError(page_, QStringLiteral("No se pudo borrar el periodo; los periodos quedan como estaban."), e);
        return;
    }
    removeRow(grid, row);
    if (rowCount(grid) == 0)
        page_->cmdMandBorrar->setEnabled(false);
}
