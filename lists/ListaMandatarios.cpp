#include "lists/ListaMandatarios.h"

#include "app/Globales.h"
#include "app/PaginaApoderado.h"
#include "data/Mandato.h"
#include "data/Rutinas.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "representative/frmApoderado.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <limits>
#include <memory>

namespace {

// Columns of fgAA.
constexpr int kNombre = 0, kApPaterno = 1, kApMaterno = 2, kCURP = 4;

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
    for (const FilaMandatario& m : globales_.store->filasMandatarios(0, std::numeric_limits<int>::max()))
        appendRow(grid, {m.nombre, m.apPaterno, m.apMaterno, m.rfc, m.curp, mandatoText(m.mandato),
                         operandoText(m.operando)});
}

void ListaMandatarios::muestraDetalles(const Mandatario& m) {
    PaginaApoderado& p = *page_;
    clearGrid(p.fgAduanasAct);
    for (const Aduana& a : m.aduanas)
        appendRow(p.fgAduanasAct, {a.nombre});
    clearGrid(p.fgPedTramitados);
    for (const Pedimento& d : m.pedimentos)
        appendRow(p.fgPedTramitados, {d.aduana.nombre, d.noPedimento, dateText(d.fecha)});
    p.txtRequerimiento->setText(m.requerimiento);
    if (m.mandato != Mandato::Conforme)
        return;
    if (m.acreditacion == 1)
        p.optNTCL->setChecked(true);
    else if (m.acreditacion == 2)
        p.optExCon->setChecked(true);
    else
        clearOptions(p.optNTCL, p.optExCon);
}

void ListaMandatarios::fgAA_Click() {
    PaginaApoderado& p = *page_;
    const int row = selectedRow(p.fgAA);
    p.cmdBorrar->setEnabled(row >= 0);
    p.cmdEditar->setEnabled(row >= 0);
    if (row < 0 || !globales_.BaseDatos)
        return;
    const QString curp = cellText(p.fgAA, row, kCURP);
    try {
        Store& store = *globales_.store;
        const std::optional<Mandatario> m = store.mandatario(curp);
        if (!m)
            return;
        p.particular.muestra(store, m->particular);
        p.fiscal.muestra(store, m->fiscal);
        const bool anterior = m->mandato == Mandato::Anterior;
        const bool conforme = m->mandato == Mandato::Conforme;
        if (!anterior && !conforme && m->mandato != Mandato::Autorizado)
            return;
        p.frAduanasAct->setVisible(anterior);
        p.frPedTramitados->setVisible(anterior);
        p.frAcreditacion->setVisible(conforme);
        p.lblRequerimiento->setVisible(anterior || conforme);
        p.txtRequerimiento->setVisible(anterior || conforme);
        p.lblTipoMandato->setVisible(true);
        p.lblTipoMandato->setText(mandatoText(m->mandato));
        if (anterior || conforme)
            muestraDetalles(*m);
    } catch (const DatabaseError& e) {
        informaError(QStringLiteral("No se pudieron leer los datos del Mandatario"), e.message());
    }
}

void ListaMandatarios::abreApoderado(const QString& Modo, const QString& curp) {
    if (!globales_.BaseDatos)
        return;
    std::unique_ptr<frmApoderado> dialog;
    try {
        dialog = std::make_unique<frmApoderado>(*globales_.store, Modo, curp, page_->window());
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
        globales_.store->borraMandatario(curp);
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
        p.particular.limpia(*globales_.store);
        p.fiscal.limpia(*globales_.store);
    }
}

void ListaMandatarios::informaError(const QString& what, const QString& engine) {
    inform(page_, what + QStringLiteral(":\n") + engine, MessageIcon::Exclamation);
}
