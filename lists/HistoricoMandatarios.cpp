#include "lists/HistoricoMandatarios.h"

#include "app/Globales.h"
#include "app/PaginaMandatarios.h"
#include "data/Rutinas.h"
#include "lists/frmPeriodo_Mandatario.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QPushButton>
#include <QTableWidget>

namespace {

// Each row of fgPeriodosMandatario knows the stored period it shows.
constexpr int kIdRole = Qt::UserRole;
constexpr int kCurpRole = Qt::UserRole + 1;

void informaError(QWidget* parent, const QString& what, const DatabaseError& e) {
    inform(parent, what + QStringLiteral("\n\n") + e.message(), MessageIcon::Exclamation);
}

} // namespace

QStringList PeriodoMandatario::celdas() const {
    return {numberText(patente), numberText(noAduana), aduana, dateText(inicio), dateText(fin)};
}

bool Hay_Hist_Mandatarios(Database& db) {
    return db.exists(QStringLiteral("select * from Mandatarios where Mandato=2"));
}

QList<PeriodoMandatario> periodosMandatario(Database& db, const QString& curp) {
    QList<PeriodoMandatario> periodos;
    Query q = db.select(QStringLiteral("select Patente_MM,NoAduana,Aduana,FechaIni,FechaFin,P.rowid "
                                       "from Periodos_H_MM P, Aduanas A "
                                       "where P.NoAduana=A.cveAduana and P.CURP=? order by P.rowid"),
                        {curp});
    while (q.next())
        periodos << PeriodoMandatario{curp, q.number(0), q.number(1), q.text(2), q.date(3), q.date(4), q.number(5)};
    return periodos;
}

qint64 agregaPeriodoMandatario(Database& db, const PeriodoMandatario& periodo) {
    db.exec(QStringLiteral("insert into Periodos_H_MM(CURP,NoAduana,Patente_MM,FechaIni,FechaFin) values (?,?,?,?,?)"),
            {periodo.curp, periodo.noAduana, periodo.patente, periodo.inicio, periodo.fin});
    Query q = db.select(QStringLiteral("select last_insert_rowid()"));
    return q.next() ? q.number(0) : 0;
}

void borraPeriodoMandatario(Database& db, const QString& curp, qint64 id) {
    db.exec(QStringLiteral("delete from Periodos_H_MM where rowid=? and CURP=?"), {id, curp});
}

HistoricoMandatarios::HistoricoMandatarios(PaginaMandatarios* page, Globales& globales)
    : page_(page), globales_(globales) {
    connect(page_->fgMandatarios, &QTableWidget::cellClicked, this, &HistoricoMandatarios::fgMandatarios_Click);
    connect(page_->fgPeriodosMandatario, &QTableWidget::cellClicked, this,
            &HistoricoMandatarios::fgPeriodosMandatario_Click);
    connect(page_->cmdMandNuevo, &QPushButton::clicked, this, &HistoricoMandatarios::cmdMandNuevo_Click);
    connect(page_->cmdMandBorrar, &QPushButton::clicked, this, &HistoricoMandatarios::cmdMandBorrar_Click);
}

Database& HistoricoMandatarios::db() {
    return *globales_.BaseDatos;
}

void HistoricoMandatarios::Llena_Hist_Mandatarios() {
    QTableWidget* grid = page_->fgMandatarios;
    clearGrid(grid);
    Query q = db().select(QStringLiteral("select * from Mandatarios where Mandato=2"));
    while (q.next())
        appendRow(grid, {q.text(2), q.text(3), q.text(4), q.text(0)});
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

bool HistoricoMandatarios::Hay_Hist_Mandatarios() {
    return ::Hay_Hist_Mandatarios(db());
}

void HistoricoMandatarios::Llena_Periodos_H_MM(const QString& CURP_M) {
    clearGrid(page_->fgPeriodosMandatario);
    for (const PeriodoMandatario& p : periodosMandatario(db(), CURP_M))
        agregaFila(p);
}

void HistoricoMandatarios::agregaFila(const PeriodoMandatario& periodo) {
    QTableWidget* grid = page_->fgPeriodosMandatario;
    appendRow(grid, periodo.celdas());
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
    frmPeriodo_Mandatario dialog(db(), aspirante_, page_);
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
        borraPeriodoMandatario(db(), item->data(kCurpRole).toString(), item->data(kIdRole).toLongLong());
    } catch (const DatabaseError& e) {
        informaError(page_, QStringLiteral("No se pudo borrar el periodo; los periodos quedan como estaban."), e);
        return;
    }
    removeRow(grid, row);
    if (rowCount(grid) == 0)
        page_->cmdMandBorrar->setEnabled(false);
}
