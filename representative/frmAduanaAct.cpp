#include "representative/frmAduanaAct.h"

#include "ui_frmAduanaAct.h"

#include "data/Catalogos.h"
#include "platform/Capture.h"
#include "platform/Messages.h"

frmAduanaAct::frmAduanaAct(Store& store, const QStringList& enLista, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmAduanaAct>()), enLista_(enLista) {
    ui->setupUi(this);
    Llena_Aduanas(store, ui->cmbNoAduana, ui->cmbAduana);
    pairCombos(ui->cmbNoAduana, ui->cmbAduana);
    connect(ui->cmdAceptar, &QPushButton::clicked, this, &frmAduanaAct::cmdAceptar_Click);
    connect(ui->cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

frmAduanaAct::~frmAduanaAct() = default;

void frmAduanaAct::cmdAceptar_Click() {
    // An office left unchosen would become a row that cannot be stored.
    if (ui->cmbNoAduana->currentIndex() < 0) {
        inform(this, QStringLiteral("Debe elegir la Aduana"));
        ui->cmbAduana->setFocus();
        return;
    }
    if (enLista_.contains(ui->cmbNoAduana->currentText())) {
        inform(this, QStringLiteral("Ya existe la aduana en la lista de aduanas que actuo"));
        return;
    }
    fila_ = {ui->cmbNoAduana->currentText(), ui->cmbAduana->currentText()};
    accept();
}
