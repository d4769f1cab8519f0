#include "representative/frmAduanaAct.h"

#include "ui_frmAduanaAct.h"

#include "data/Rutinas.h"
#include "data/Store.h"
#include "platform/Messages.h"
#include "widgets/Capture.h"
#include "widgets/Catalogos.h"

#include <algorithm>

frmAduanaAct::frmAduanaAct(Store& store, const QList<Aduana>& enLista, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmAduanaAct>()), catalogo_(store.aduanas()), enLista_(enLista) {
    ui->setupUi(this);
    Llena_Aduanas(catalogo_, ui->cmbNoAduana, ui->cmbAduana);
    pairCombos(ui->cmbNoAduana, ui->cmbAduana);
    connect(ui->cmdAceptar, &QPushButton::clicked, this, &frmAduanaAct::cmdAceptar_Click);
    connect(ui->cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

frmAduanaAct::~frmAduanaAct() = default;

void frmAduanaAct::muestra(const Aduana& aduana) {
    eligeAduana(ui->cmbNoAduana, ui->cmbAduana, aduana.numero);
}

Aduana frmAduanaAct::aduana() const {
    return catalogo_.value(ui->cmbNoAduana->currentIndex());
}

void frmAduanaAct::cmdAceptar_Click() {
    // An office left unchosen would become a row that cannot be stored.
    if (ui->cmbNoAduana->currentIndex() < 0) {
        inform(this, QStringLiteral("Debe elegir la Aduana"));
        ui->cmbAduana->setFocus();
        return;
    }
    const qint64 numero = aduana().numero;
    if (std::any_of(enLista_.cbegin(), enLista_.cend(), [numero](const Aduana& a) { return a.numero == numero; })) {
        inform(this, QStringLiteral("Ya existe la aduana en la lista de aduanas que actuo"));
        return;
    }
    accept();
}
