#include "representative/frmPedTramitados.h"

#include "ui_frmPedTramitados.h"

#include "data/Catalogos.h"
#include "data/Rutinas.h"
#include "platform/Capture.h"
#include "platform/Messages.h"

frmPedTramitados::frmPedTramitados(Store& store, const QStringList& aduanasEnLista, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmPedTramitados>()), aduanasEnLista_(aduanasEnLista) {
    ui->setupUi(this);
    Llena_Aduanas(store, ui->cmbNoAduana, ui->cmbAduana);
    pairCombos(ui->cmbNoAduana, ui->cmbAduana);
    makeCaptureBox(ui->txtPedimento);
    ui->dtpFPed->setMaximumDate(fechaMaxima());
    ui->dtpFPed->setDate(QDate::currentDate());
    connect(ui->cmdAceptar, &QPushButton::clicked, this, &frmPedTramitados::cmdAceptar_Click);
    connect(ui->cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

frmPedTramitados::~frmPedTramitados() = default;

void frmPedTramitados::cmdAceptar_Click() {
    if (ui->cmbNoAduana->currentIndex() < 0) {
        inform(this, QStringLiteral("Debe elegir la Aduana"));
        ui->cmbAduana->setFocus();
        return;
    }
    const QString aduana = ui->cmbNoAduana->currentText();
    if (!aduanasEnLista_.isEmpty() && !aduanasEnLista_.contains(aduana)) {
        inform(this, QStringLiteral("No existe la aduana del pedimento en la lista de aduanas que actuo"));
        return;
    }
    // The declaration number is stored as a number of digits; anything else could never be stored.
    const QString pedimento = ui->txtPedimento->text();
    if (isBlank(pedimento)) {
        inform(this, QStringLiteral("El Pedimento no puede estar vacio"));
        ui->txtPedimento->setFocus();
        return;
    }
    if (!isDigits(pedimento)) {
        inform(this, QStringLiteral("Formato de Pedimento invalido, escriba solo números"));
        ui->txtPedimento->setFocus();
        return;
    }
    fila_ = {aduana, ui->cmbAduana->currentText(), pedimento, dateText(ui->dtpFPed->date())};
    accept();
}
