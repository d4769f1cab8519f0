#include "lists/PaginaApoderado.h"

#include "data/ListModel.h"
#include "data/Mandato.h"
#include "data/Rutinas.h"
#include "data/Store.h"
#include "platform/Messages.h"
#include "representative/Requerimiento.h"
#include "representative/frmApoderado.h"
#include "widgets/Capture.h"
#include "widgets/Catalogos.h"
#include "widgets/Grid.h"
#include "widgets/Named.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include <memory>

namespace {

void clearOptions(QRadioButton* a, QRadioButton* b) {
    // Exclusive buttons cannot be unchecked one by one.
    for (QRadioButton* o : {a, b})
        o->setAutoExclusive(false);
    a->setChecked(false);
    b->setChecked(false);
    for (QRadioButton* o : {a, b})
        o->setAutoExclusive(true);
}

const QString kListaIlegible = QStringLiteral("No se pudo leer la lista de Mandatarios\n\n%1");
const QString kMandatarioIlegible = QStringLiteral("No se pudieron leer los datos del Mandatario\n\n%1");

ListRow filaMandatario(const FilaMandatario& m) {
    return {m.curp,
            {m.nombre, m.apPaterno, m.apMaterno, m.rfc, m.curp, mandatoText(m.mandato), operandoText(m.operando)}};
}

} // namespace

bool guardaMandatario(Store& store, const std::optional<QString>& curpAnterior, const Mandatario& m, QWidget* dialog) {
    bool repetido = false;
    const bool hecho = intenta(
        dialog, QStringLiteral("No se pudo guardar el Mandatario en la base de datos; quedó como estaba.\n%1"), [&] {
            repetido = store.existeMandatario(m.curp) && m.curp != curpAnterior.value_or(QString());
            if (!repetido)
                store.guardaMandatario(curpAnterior, m);
        });
    if (repetido)
        inform(dialog, QStringLiteral("YA EXISTE EL MANDATARIO EN LA BASE DE DATOS."), MessageIcon::None);
    return hecho && !repetido;
}

PaginaApoderado::PaginaApoderado(Store& store, QWidget* parent)
    : QGroupBox(QStringLiteral("Datos del Representante o Mandatario"), parent), store_(store),
      mandatarios_(new ListModel({QStringLiteral("Nombre"), QStringLiteral("Ap.Paterno"), QStringLiteral("Ap.Materno"),
                                  QStringLiteral("RFC"), QStringLiteral("CURP"), QStringLiteral("Tipo Mandato"),
                                  QStringLiteral("Operando (Con gafete)")},
                                 this)),
      aduanas_(new ListModel({QStringLiteral("Aduana")}, this)),
      pedimentos_(
          new ListModel({QStringLiteral("Aduana"), QStringLiteral("Pedimento"), QStringLiteral("Fecha")}, this)) {
    setObjectName(QStringLiteral("frApoderado"));
    auto* page = new QVBoxLayout(this);

    auto* search = new QHBoxLayout;
    auto* lblBuscar = named(new QLabel(QStringLiteral("&Buscar:"), this), "lblBuscar");
    txtBuscar = named(new QLineEdit(this), "txtBuscar");
    lblBuscar->setBuddy(txtBuscar);
    search->addWidget(lblBuscar);
    search->addWidget(txtBuscar, 1);
    page->addLayout(search);

    auto* list = new QHBoxLayout;
    fgAA = named(new QTableView(this), "fgAA");
    list->addWidget(fgAA, 1);
    auto* buttons = new QVBoxLayout;
    cmdNuevo = named(new QPushButton(QStringLiteral("&Nuevo"), this), "cmdNuevo");
    cmdEditar = named(new QPushButton(QStringLiteral("&Editar"), this), "cmdEditar");
    cmdBorrar = named(new QPushButton(QStringLiteral("B&orrar"), this), "cmdBorrar");
    cmdEditar->setEnabled(false);
    cmdBorrar->setEnabled(false);
    buttons->addWidget(cmdNuevo);
    buttons->addWidget(cmdEditar);
    buttons->addWidget(cmdBorrar);
    buttons->addStretch();
    list->addLayout(buttons);
    page->addLayout(list, 2);

    auto* addresses = new QHBoxLayout;
    auto* frame6 = named(new QGroupBox(QStringLiteral("Domicilio Particular"), this), "Frame6");
    particular = BloqueDomicilio::build(
        frame6,
        {QStringLiteral("txtApRCalle"), QStringLiteral("txtApRNoExt"), QStringLiteral("txtApRNoInt"),
         QStringLiteral("txtApRColonia"), QStringLiteral("txtApRCP"), QStringLiteral("txtApRTelefono"),
         QStringLiteral("txtApRFax"), QStringLiteral("cmbApRCveEntFed"), QStringLiteral("cmbApREntFed"),
         QStringLiteral("cmbApRNoMDeleg"), QStringLiteral("cmbApRMDeleg")},
        false);
    auto* frame4 = named(new QGroupBox(QStringLiteral("Domicilio Fiscal"), this), "Frame4");
    // Three of the fiscal block's boxes were named with a lower-case "r" from the start; the names are kept.
    fiscal = BloqueDomicilio::build(frame4,
                                    {QStringLiteral("txtFiscalApRCalle"), QStringLiteral("txtFiscalApRNoExt"),
                                     QStringLiteral("txtFiscalAprNoInt"), QStringLiteral("txtFiscalApRColonia"),
                                     QStringLiteral("txtFiscalAprCP"), QStringLiteral("txtFiscalApRTelefono"),
                                     QStringLiteral("txtFiscalAprFax"), QStringLiteral("cmbFiscalApRCveEntFed"),
                                     QStringLiteral("cmbFiscalApREntFed"), QStringLiteral("cmbFiscalApRNoMDeleg"),
                                     QStringLiteral("cmbFiscalApRMDeleg")},
                                    false);
    addresses->addWidget(frame6);
    addresses->addWidget(frame4);
    page->addLayout(addresses);

    auto* mandate = new QHBoxLayout;
    Label27 = named(new QLabel(QStringLiteral("Mandato:"), this), "Label27");
    lblTipoMandato = named(new QLabel(this), "lblTipoMandato");
    lblTipoMandato->setVisible(false);
    mandate->addWidget(Label27);
    mandate->addWidget(lblTipoMandato, 1);
    page->addLayout(mandate);

    auto* details = new QHBoxLayout;
    frAduanasAct = named(new QGroupBox(QStringLiteral("Aduanas ante las que ha actuado"), this), "frAduanasAct");
    fgAduanasAct = named(new QTableView(frAduanasAct), "fgAduanasAct");
    (new QVBoxLayout(frAduanasAct))->addWidget(fgAduanasAct);
    frPedTramitados =
        named(new QGroupBox(QStringLiteral("Pedimentos tramitados con anterioridad al 1 de Enero de 2001"), this),
              "frPedTramitados");
    fgPedTramitados = named(new QTableView(frPedTramitados), "fgPedTramitados");
    (new QVBoxLayout(frPedTramitados))->addWidget(fgPedTramitados);
    frAcreditacion = named(new QGroupBox(QStringLiteral("Tipo de Acreditación"), this), "frAcreditacion");
    optNTCL = named(new QRadioButton(QStringLiteral("NTCL"), frAcreditacion), "optNTCL");
    optExCon = named(new QRadioButton(QStringLiteral("Examen de Conocimientos"), frAcreditacion), "optExCon");
    auto* accreditation = new QVBoxLayout(frAcreditacion);
    accreditation->addWidget(optNTCL);
    accreditation->addWidget(optExCon);
    accreditation->addStretch();
    frAduanasAct->setVisible(false);
    frPedTramitados->setVisible(false);
    frAcreditacion->setVisible(false);
    frAcreditacion->setEnabled(false);
    details->addWidget(frAduanasAct);
    details->addWidget(frPedTramitados);
    details->addWidget(frAcreditacion);
    page->addLayout(details, 1);

    lblRequerimiento = named(
        new QLabel(QStringLiteral("Requerimiento Electrónico (*.req) para traminte del NIP de Acceso al ORBEX M3:"),
                   this),
        "lblRequerimiento");
    txtRequerimiento = named(new QLineEdit(this), "txtRequerimiento");
    makeDisplayBox(txtRequerimiento);
    lblRequerimiento->setVisible(false);
    txtRequerimiento->setVisible(false);
    lblEstadoRequerimiento = named(new QLabel(this), "lblEstadoRequerimiento");
    lblEstadoRequerimiento->setVisible(false);
    page->addWidget(lblRequerimiento);
    auto* requerimiento = new QHBoxLayout;
    requerimiento->addWidget(txtRequerimiento, 1);
    requerimiento->addWidget(lblEstadoRequerimiento);
    page->addLayout(requerimiento);

    setupView(fgAA, mandatarios_, {2150, 2150, 2000, 1300, 1700, 1750});
    widenToShow(fgAA, 3, kAnchoRFC);
    widenToShow(fgAA, 4, kAnchoCURP);
    for (const ReglasMandato& tipo : tiposMandato())
        widenToShow(fgAA, 5, tipo.texto);
    setupView(fgAduanasAct, aduanas_, {5200});
    setupView(fgPedTramitados, pedimentos_, {3380, 1000, 1600});
    // A page read later is shown as far as it came; the user is told why the list ends there.
    connect(mandatarios_, &ListModel::readFailed, this,
            [this](const QString& falla) { informFalla(this, kListaIlegible, falla); });
    // A click, the arrow keys and a selection made by the program all show the representative.
    connect(fgAA->selectionModel(), &QItemSelectionModel::selectionChanged, this, &PaginaApoderado::fgAA_Click);
    connect(cmdNuevo, &QPushButton::clicked, this, &PaginaApoderado::cmdNuevo_Click);
    connect(cmdEditar, &QPushButton::clicked, this, &PaginaApoderado::cmdEditar_Click);
    connect(cmdBorrar, &QPushButton::clicked, this, &PaginaApoderado::cmdBorrar_Click);
    onRowKeys(
        fgAA, [this] { cmdEditar_Click(); }, [this] { cmdBorrar_Click(); });
    // Each keystroke narrows the list anew; the first one found is selected and shown.
    connect(txtBuscar, &QLineEdit::textChanged, this, [this] { recargaEn(std::nullopt); });

    for (const BloqueDomicilio* block : {&particular, &fiscal}) {
        Llena_EntFed(store_, block->cveEntFed, block->entFed);
        block->connectCatalogues(store_);
    }
}

void PaginaApoderado::Llena_Mandatarios() {
    mandatarios_->setSource([&store = store_, busca = txtBuscar->text()](qsizetype offset, int count) {
        QList<ListRow> rows;
        for (const FilaMandatario& m : store.filasMandatarios(offset, count, false, busca))
            rows << filaMandatario(m);
        return rows;
    });
    if (mandatarios_->rowCount() > 0)
        selectRow(fgAA, 0);
    else
        fgAA_Click();
}

void PaginaApoderado::recargaEn(const std::optional<QString>& curp, int fila) {
    if (!intenta(this, kListaIlegible, [this] { Llena_Mandatarios(); }))
        return;
    const int found = curp ? mandatarios_->rowOf(*curp) : -1;
    selectRow(fgAA, found >= 0 ? found : std::min(fila, mandatarios_->rowCount() - 1));
}

void PaginaApoderado::muestraDetalles(const Mandatario& m) {
    QList<ListRow> aduanas;
    for (const Aduana& a : m.aduanas)
        aduanas << ListRow{numberText(a.numero), {a.nombre}};
    aduanas_->setRows(aduanas);
    QList<ListRow> pedimentos;
    for (const Pedimento& d : m.pedimentos)
        pedimentos << ListRow{numberText(d.aduana.numero), {d.aduana.nombre, d.noPedimento, dateText(d.fecha)}};
    pedimentos_->setRows(pedimentos);
    txtRequerimiento->setText(m.requerimiento);
    lblEstadoRequerimiento->setText(estadoRequerimiento(m.requerimiento, m.rfc, m.curp));
    if (!reglas(m.mandato).conAcreditacion)
        return;
    if (m.acreditacion == 1)
        optNTCL->setChecked(true);
    else if (m.acreditacion == 2)
        optExCon->setChecked(true);
    else
        clearOptions(optNTCL, optExCon);
}

void PaginaApoderado::fgAA_Click() {
    const int row = selectedRow(fgAA);
    cmdBorrar->setEnabled(row >= 0);
    cmdEditar->setEnabled(row >= 0);
    if (row < 0) {
        ocultaDetalles();
        return;
    }
    intenta(this, kMandatarioIlegible, [&] {
        const std::optional<Mandatario> m = store_.mandatario(mandatarios_->key(row));
        if (!m)
            return;
        particular.muestra(m->particular);
        fiscal.muestra(m->fiscal);
        const ReglasMandato& tipo = reglas(m->mandato);
        if (tipo.mandato == Mandato::Ninguno)
            return;
        frAduanasAct->setVisible(tipo.conAduanas);
        frPedTramitados->setVisible(tipo.conAduanas);
        frAcreditacion->setVisible(tipo.conAcreditacion);
        lblRequerimiento->setVisible(tipo.conRequerimiento);
        txtRequerimiento->setVisible(tipo.conRequerimiento);
        lblEstadoRequerimiento->setVisible(tipo.conRequerimiento);
        lblTipoMandato->setVisible(true);
        lblTipoMandato->setText(tipo.texto);
        // A type that shows none of them leaves the hidden boxes as they were.
        if (tipo.conAduanas || tipo.conAcreditacion || tipo.conRequerimiento)
            muestraDetalles(*m);
    });
}

void PaginaApoderado::abreApoderado(std::optional<Mandatario> valor) {
    // He is corrected under the CURP he was stored with, even when the user changes it.
    const std::optional<QString> curpAnterior = valor ? std::optional<QString>(valor->curp) : std::nullopt;
    std::unique_ptr<frmApoderado> dialog;
    if (!intenta(this, kMandatarioIlegible,
                 [&] { dialog = std::make_unique<frmApoderado>(store_, std::move(valor), window()); }))
        return;
    dialog->setGuarda(
        [this, curpAnterior](const Mandatario& m, QWidget* d) { return guardaMandatario(store_, curpAnterior, m, d); });
    const bool stored = dialog->exec() == QDialog::Accepted;
    if (curpAnterior)
        fgAA->setFocus();
    if (!stored)
        return;
    // The stored representative stays selected, so that the user sees what he just wrote.
    recargaEn(dialog->mandatario().curp, selectedRow(fgAA));
    emit mandatariosCambiados();
}

void PaginaApoderado::cmdNuevo_Click() {
    abreApoderado(std::nullopt);
}

void PaginaApoderado::cmdEditar_Click() {
    const int row = selectedRow(fgAA);
    if (row >= 0)
        editaMandatario(mandatarios_->key(row));
}

void PaginaApoderado::editaMandatario(const QString& curp) {
    if (curp.isEmpty()) {
        abreApoderado(std::nullopt);
        return;
    }
    std::optional<Mandatario> m;
    if (intenta(this, kMandatarioIlegible, [&] { m = store_.mandatario(curp); }) && m)
        abreApoderado(std::move(m));
}

void PaginaApoderado::cmdBorrar_Click() {
    const int row = selectedRow(fgAA);
    if (row < 0)
        return;
    const QString curp = mandatarios_->key(row);
    bool borrado = false;
    const auto borra = [&] {
        const std::optional<Mandatario> m = store_.mandatario(curp);
        if (!m)
            return;
        const QString text = QStringLiteral("¿DESEA BORRAR EL MANDATARIO\n\n") + m->nombre + QLatin1Char(' ') +
                             m->apPaterno + QLatin1Char(' ') + m->apMaterno + QLatin1Char(' ') + m->curp +
                             QStringLiteral(" ?");
        const bool confirmado = confirmDestructive(this, text);
        fgAA->setFocus();
        if (!confirmado)
            return;
        store_.borraMandatario(curp);
        borrado = true;
    };
    if (!intenta(this, QStringLiteral("No se pudo borrar el Mandatario; quedó como estaba\n\n%1"), borra) || !borrado)
        return;
    // The cursor stays in the list, on the one after him.
    recargaEn(std::nullopt, row);
    emit mandatariosCambiados();
}

void PaginaApoderado::ocultaDetalles() {
    for (QWidget* w : std::initializer_list<QWidget*>{frAduanasAct, frPedTramitados, frAcreditacion, lblRequerimiento,
                                                      txtRequerimiento, lblEstadoRequerimiento})
        w->setVisible(false);
    lblTipoMandato->setVisible(true);
    lblTipoMandato->clear();
    // The addresses of someone who is no longer stored are not left on show.
    particular.limpia();
    fiscal.limpia();
}
