#include "lists/ListaMandatarios.h"

#include "app/Globales.h"
#include "app/PaginaApoderado.h"
#include "data/Mandato.h"
#include "data/Rutinas.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "representative/Mandatarios.h"
#include "representative/frmApoderado.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <memory>

namespace {

// Columns of fgAA.
constexpr int kNombre = 0, kApPaterno = 1, kApMaterno = 2, kCURP = 4, kMandato = 5;

void clearOptions(QRadioButton* a, QRadioButton* b) {
    // Exclusive buttons cannot be unchecked one by one.
    for (QRadioButton* o : {a, b})
        o->setAutoExclusive(false);
    a->setChecked(false);
    b->setChecked(false);
    for (QRadioButton* o : {a, b})
        o->setAutoExclusive(true);
}

} // namespace

ListaMandatarios::ListaMandatarios(PaginaApoderado* page, Globales& globales) : page_(page), globales_(globales) {
    connect(page_->fgAA, &QTableWidget::cellClicked, this, &ListaMandatarios::fgAA_Click);
    connect(page_->fgAA, &QTableWidget::itemSelectionChanged, this, &ListaMandatarios::fgAA_Click);
    connect(page_->cmdNuevo, &QPushButton::clicked, this, &ListaMandatarios::cmdNuevo_Click);
    connect(page_->cmdEditar, &QPushButton::clicked, this, &ListaMandatarios::cmdEditar_Click);
    connect(page_->cmdBorrar, &QPushButton::clicked, this, &ListaMandatarios::cmdBorrar_Click);
}

void ListaMandatarios::Llena_Mandatarios() {
    QTableWidget* grid = page_->fgAA;
    const QSignalBlocker quiet(grid);
    clearGrid(grid);
    Query q = globales_.BaseDatos->select(QStringLiteral("select * from Mandatarios "));
    while (q.next()) {
        appendRow(grid, {q.text(2), q.text(3), q.text(4), q.text(1), q.text(0), mandatoText(q.value(5)),
                         operandoText(q.value(8))});
    }
}

void ListaMandatarios::Llena_Aduanas_MM(const QString& curp) {
    clearGrid(page_->fgAduanasAct);
    Query q = globales_.BaseDatos->select(
        QStringLiteral("select a.Aduana from Aduanas_MM AM, Aduanas A where AM.NoAduana=A.cveAduana and CURP=?"),
        {curp});
    while (q.next())
        appendRow(page_->fgAduanasAct, {q.text(0)});
}

void ListaMandatarios::Llena_Pedimentos_MM(const QString& curp) {
    clearGrid(page_->fgPedTramitados);
    Query q = globales_.BaseDatos->select(QStringLiteral("select a.Aduana,NoPedimento,FechPedimento from "
                                                         "Pedimentos_MM AM, Aduanas A where "
                                                         "AM.NoAduana=A.cveAduana and CURP=?"),
                                          {curp});
    while (q.next())
        appendRow(page_->fgPedTramitados, {q.text(0), q.text(1), dateText(q.date(2))});
}

void ListaMandatarios::Llena_Requerimiento_Mand(const QString& curp) {
    Query q = globales_.BaseDatos->select(
        QStringLiteral("select Requerimiento,Acreditacion from Mandatarios where CURP=?"), {curp});
    if (!q.next())
        return;
    page_->txtRequerimiento->setText(q.text(0));
    if (page_->lblTipoMandato->text() != Mandato_Conforme)
        return;
    if (q.isNull(1) || q.number(1) == 0)
        clearOptions(page_->optNTCL, page_->optExCon);
    else if (q.number(1) == 1)
        page_->optNTCL->setChecked(true);
    else if (q.number(1) == 2)
        page_->optExCon->setChecked(true);
}

void ListaMandatarios::fgAA_Click() {
    PaginaApoderado& p = *page_;
    const int row = selectedRow(p.fgAA);
    p.cmdBorrar->setEnabled(row >= 0);
    p.cmdEditar->setEnabled(row >= 0);
    if (row < 0 || !globales_.BaseDatos)
        return;
    const QString curp = cellText(p.fgAA, row, kCURP);
    const QString mandato = cellText(p.fgAA, row, kMandato);
    try {
        Database& db = *globales_.BaseDatos;
        Llena_Domicilio_M(db, p.particular, curp, 1);
        Llena_Domicilio_M(db, p.fiscal, curp, 2);
        if (mandato == Mandato_Anterior) {
            p.frAduanasAct->setVisible(true);
            Llena_Aduanas_MM(curp);
            Llena_Pedimentos_MM(curp);
            p.frPedTramitados->setVisible(true);
            p.frAcreditacion->setVisible(false);
            p.lblRequerimiento->setVisible(true);
            p.txtRequerimiento->setVisible(true);
            p.lblTipoMandato->setVisible(true);
            p.lblTipoMandato->setText(mandato);
            Llena_Requerimiento_Mand(curp);
        } else if (mandato == Mandato_Autorizado) {
            p.frAduanasAct->setVisible(false);
            p.frPedTramitados->setVisible(false);
            p.frAcreditacion->setVisible(false);
            p.lblRequerimiento->setVisible(false);
            p.txtRequerimiento->setVisible(false);
            p.lblTipoMandato->setVisible(true);
            p.lblTipoMandato->setText(mandato);
        } else if (mandato == Mandato_Conforme) {
            p.frAduanasAct->setVisible(false);
            p.frPedTramitados->setVisible(false);
            p.frAcreditacion->setVisible(true);
            p.lblRequerimiento->setVisible(true);
            p.txtRequerimiento->setVisible(true);
            p.lblTipoMandato->setVisible(true);
            p.lblTipoMandato->setText(mandato);
            Llena_Requerimiento_Mand(curp);
        }
    } catch (const DatabaseError& e) {
        informaError(QStringLiteral("No se pudieron leer los datos del Mandatario"), e.message());
    }
}

void ListaMandatarios::abreApoderado(const QString& Modo, const QString& curp) {
    if (!globales_.BaseDatos)
        return;
    std::unique_ptr<frmApoderado> dialog;
    try {
        dialog = std::make_unique<frmApoderado>(*globales_.BaseDatos, Modo, curp, page_->window());
    } catch (const DatabaseError& e) {
        informaError(QStringLiteral("No se pudieron leer los datos del Mandatario"), e.message());
        return;
    }
    if (dialog->exec() != QDialog::Accepted)
        return;
    try {
        Llena_Mandatarios();
    } catch (const DatabaseError& e) {
        informaError(QStringLiteral("No se pudo leer la lista de Mandatarios"), e.message());
    }
    // The stored representative stays selected, so that the user sees what he just wrote.
    const QTableWidget* grid = page_->fgAA;
    int stored = -1;
    for (int r = 0; r < rowCount(grid) && stored < 0; ++r) {
        if (cellText(grid, r, kCURP) == dialog->curpGuardado())
            stored = r;
    }
    {
        const QSignalBlocker quiet(page_->fgAA);
        selectRow(page_->fgAA, stored);
    }
    fgAA_Click();
    emit mandatariosCambiados();
}

void ListaMandatarios::cmdNuevo_Click() {
    abreApoderado(QStringLiteral("N"), QString());
}

void ListaMandatarios::cmdEditar_Click() {
    const int row = selectedRow(page_->fgAA);
    if (row < 0)
        return;
    abreApoderado(QStringLiteral("E"), cellText(page_->fgAA, row, kCURP));
}

void ListaMandatarios::cmdBorrar_Click() {
    const QTableWidget* grid = page_->fgAA;
    const int row = selectedRow(grid);
    if (row < 0 || !globales_.BaseDatos)
        return;
    const QString curp = cellText(grid, row, kCURP);
    const QString text = QStringLiteral("¿DESEA BORRAR EL MANDATARIO\n\n") + cellText(grid, row, kNombre) +
                         QLatin1Char(' ') + cellText(grid, row, kApPaterno) + QLatin1Char(' ') +
                         cellText(grid, row, kApMaterno) + QLatin1Char(' ') + curp + QStringLiteral(" ?");
    if (!confirm(page_, text))
        return;
    try {
        borraMandatario(*globales_.BaseDatos, curp);
    } catch (const DatabaseError& e) {
        informaError(QStringLiteral("No se pudo borrar el Mandatario; quedó como estaba"), e.message());
        return;
    }
    try {
        Llena_Mandatarios();
    } catch (const DatabaseError& e) {
        informaError(QStringLiteral("No se pudo leer la lista de Mandatarios"), e.message());
    }
    ocultaDetalles();
    fgAA_Click();
    emit mandatariosCambiados();
}

void ListaMandatarios::ocultaDetalles() {
    PaginaApoderado& p = *page_;
    for (QWidget* w : std::initializer_list<QWidget*>{p.frAduanasAct, p.frPedTramitados, p.frAcreditacion,
                                                      p.lblRequerimiento, p.txtRequerimiento})
        w->setVisible(false);
    p.lblTipoMandato->setVisible(true);
    p.lblTipoMandato->clear();
    // The addresses of someone who is no longer stored are not left on show.
    if (globales_.BaseDatos) {
        Limpia_Domicilio_M(*globales_.BaseDatos, p.particular);
        Limpia_Domicilio_M(*globales_.BaseDatos, p.fiscal);
    }
}

void ListaMandatarios::informaError(const QString& what, const QString& engine) {
    inform(page_, what + QStringLiteral(":\n") + engine, MessageIcon::Exclamation);
}
