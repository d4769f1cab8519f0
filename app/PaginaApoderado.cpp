#include "app/PaginaApoderado.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

PaginaApoderado::PaginaApoderado(QWidget* parent)
    : QGroupBox(QStringLiteral("Datos del Representante o Mandatario"), parent) {
    setObjectName(QStringLiteral("frApoderado"));
    auto* page = new QVBoxLayout(this);

    auto* list = new QHBoxLayout;
    fgAA = named(new QTableWidget(this), "fgAA");
    list->addWidget(fgAA, 1);
    auto* buttons = new QVBoxLayout;
    cmdNuevo = named(new QPushButton(QStringLiteral("Nuevo"), this), "cmdNuevo");
    cmdEditar = named(new QPushButton(QStringLiteral("Editar"), this), "cmdEditar");
    cmdBorrar = named(new QPushButton(QStringLiteral("Borrar"), this), "cmdBorrar");
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
    fgAduanasAct = named(new QTableWidget(frAduanasAct), "fgAduanasAct");
    (new QVBoxLayout(frAduanasAct))->addWidget(fgAduanasAct);
    frPedTramitados =
        named(new QGroupBox(QStringLiteral("Pedimentos tramitados con anterioridad al 1 de Enero de 2001"), this),
              "frPedTramitados");
    fgPedTramitados = named(new QTableWidget(frPedTramitados), "fgPedTramitados");
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
    txtRequerimiento->setReadOnly(true);
    txtRequerimiento->setEnabled(false);
    lblRequerimiento->setVisible(false);
    txtRequerimiento->setVisible(false);
    page->addWidget(lblRequerimiento);
    page->addWidget(txtRequerimiento);
}
