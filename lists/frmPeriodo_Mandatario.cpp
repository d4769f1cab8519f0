#include "lists/frmPeriodo_Mandatario.h"

#include "ui_frmPeriodo_Mandatario.h"

#include "data/Catalogos.h"
#include "data/Rutinas.h"
#include "data/Store.h"
#include "platform/Capture.h"
#include "platform/Database.h"
#include "platform/Messages.h"

frmPeriodo_Mandatario::frmPeriodo_Mandatario(Store& store, const QStringList& aspirante, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmPeriodo_Mandatario>()), store_(store) {
    ui->setupUi(this);
    makeCaptureBox(ui->txtPatente);
    ui->txtNombre->setText(aspirante.value(0));
    ui->txtApPaterno->setText(aspirante.value(1));
    ui->txtApMaterno->setText(aspirante.value(2));
    ui->txtCURP->setText(aspirante.value(3));
    preparaAduanas(this, store_, ui->cmbNoAduana, ui->cmbAduana);
    ui->dtpIni->setDate(QDate::currentDate());
    ui->dtpFin->setDate(QDate::currentDate());
    connect(ui->cmdAceptar, &QPushButton::clicked, this, &frmPeriodo_Mandatario::cmdAceptar_Click);
    connect(ui->cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

frmPeriodo_Mandatario::~frmPeriodo_Mandatario() = default;

void frmPeriodo_Mandatario::cmdAceptar_Click() {
    const QString patente = ui->txtPatente->text();
    // The patente is stored as a number: "12AB" would pass a look at its leading number alone.
    if (!isDigits(patente) || !Valida_Patente(patente)) {
        inform(this, QStringLiteral("No. de Patente no valido"), MessageIcon::None, kProgramTitle);
        ui->txtPatente->setFocus();
        return;
    }
    // A period with no office could not be stored.
    if (ui->cmbNoAduana->currentIndex() < 0) {
        inform(this, QStringLiteral("Aduana no valida"), MessageIcon::None, kProgramTitle);
        ui->cmbAduana->setFocus();
        return;
    }
    if (ui->dtpIni->date() > ui->dtpFin->date()) {
        inform(this, QStringLiteral("Periodo no valido"), MessageIcon::None, kProgramTitle);
        return;
    }
    const PeriodoMandatario periodo{
        ui->txtCURP->text(),
        patente.toLongLong(),
        {ui->cmbNoAduana->currentText().trimmed().toLongLong(), ui->cmbAduana->currentText()},
        ui->dtpIni->date(),
        ui->dtpFin->date()};
    try {
        periodo_ = store_.agregaPeriodoMandatario(periodo);
    } catch (const DatabaseError& e) {
        inform(this, QStringLiteral("No se pudo guardar el periodo.\n\n") + e.message(), MessageIcon::Exclamation);
        return;
    }
    accept();
}
