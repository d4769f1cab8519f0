#include "representative/frmPedTramitados.h"

#include "ui_frmPedTramitados.h"

#include "data/Rutinas.h"
#include "data/Store.h"
#include "platform/Messages.h"
#include "representative/frmAduanaAct.h"
#include "widgets/CampoFecha.h"
#include "widgets/Capture.h"
#include "widgets/Catalogos.h"

#include <algorithm>

frmPedTramitados::frmPedTramitados(Store& store, const QList<Aduana>& aduanasEnLista, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmPedTramitados>()), catalogo_(store.aduanas()),
      aduanasEnLista_(aduanasEnLista) {
    ui->setupUi(this);
    Llena_Aduanas(catalogo_, ui->cmbNoAduana, ui->cmbAduana);
    pairCombos(ui->cmbNoAduana, ui->cmbAduana);
    makeCaptureBox(ui->txtPedimento);
    ui->dtpFPed->setMaximumDate(fechaMaxima());
    ui->dtpFPed->setDate(QDate::currentDate());
    connect(ui->cmdAceptar, &QPushButton::clicked, this, &frmPedTramitados::cmdAceptar_Click);
    connect(ui->cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

frmPedTramitados::~frmPedTramitados() = default;

void frmPedTramitados::muestra(const Pedimento& pedimento) {
    eligeAduana(ui->cmbNoAduana, ui->cmbAduana, pedimento.aduana.numero);
    ui->txtPedimento->setText(pedimento.noPedimento);
    ui->dtpFPed->setDate(pedimento.fecha);
}

Pedimento frmPedTramitados::pedimento() const {
    return {catalogo_.value(ui->cmbNoAduana->currentIndex()), ui->txtPedimento->text(), ui->dtpFPed->date()};
}

void frmPedTramitados::cmdAceptar_Click() {
    if (ui->cmbNoAduana->currentIndex() < 0) {
        inform(this, QStringLiteral("Debe elegir la Aduana"));
        ui->cmbAduana->setFocus();
        return;
    }
    const Pedimento p = pedimento();
    const auto listed = [&p](const Aduana& a) { return a.numero == p.aduana.numero; };
    if (!aduanasEnLista_.isEmpty() && std::none_of(aduanasEnLista_.cbegin(), aduanasEnLista_.cend(), listed)) {
        inform(this, QStringLiteral("No existe la aduana del pedimento en la lista de aduanas que actuo"));
        return;
    }
    // The declaration number is stored as a number of digits; anything else could never be stored.
    if (isBlank(p.noPedimento)) {
        inform(this, QStringLiteral("El Pedimento no puede estar vacio"));
        ui->txtPedimento->setFocus();
        return;
    }
    if (!isDigits(p.noPedimento)) {
        inform(this, QStringLiteral("Formato de Pedimento invalido, escriba solo números"));
        ui->txtPedimento->setFocus();
        return;
    }
    // A date past the box's last day (fechaMaxima) is no valid date either.
    if (!CampoFecha::revisa(this, {ui->dtpFPed}))
        return;
    accept();
}
