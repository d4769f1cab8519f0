#include "lists/frmPeriodo_Mandatario.h"

#include "ui_frmPeriodo_Mandatario.h"

#include "data/Rutinas.h"
#include "platform/Messages.h"
#include "widgets/CampoFecha.h"
#include "widgets/Capture.h"
#include "widgets/Catalogos.h"

frmPeriodo_Mandatario::frmPeriodo_Mandatario(Store& store, const FilaMandatario& aspirante, QWidget* parent)
    : CaptureDialog(parent), ui(std::make_unique<Ui::frmPeriodo_Mandatario>()) {
    ui->setupUi(this);
    makeCaptureBox(ui->txtPatente);
    // The aspirant is chosen on the page: his name and CURP are only shown here.
    for (QLineEdit* box : {ui->txtNombre, ui->txtApPaterno, ui->txtApMaterno, ui->txtCURP})
        makeDisplayBox(box);
    ui->txtNombre->setText(aspirante.nombre);
    ui->txtApPaterno->setText(aspirante.apPaterno);
    ui->txtApMaterno->setText(aspirante.apMaterno);
    ui->txtCURP->setText(aspirante.curp);
    preparaAduanas(this, store, ui->cmbNoAduana, ui->cmbAduana);
    ui->dtpIni->setDate(QDate::currentDate());
    ui->dtpFin->setDate(QDate::currentDate());
    connect(ui->cmdAceptar, &QPushButton::clicked, this, &frmPeriodo_Mandatario::cmdAceptar_Click);
    connect(ui->cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

frmPeriodo_Mandatario::~frmPeriodo_Mandatario() = default;

PeriodoMandatario frmPeriodo_Mandatario::periodo() const {
    return {ui->txtCURP->text(),
            ui->txtPatente->text().toLongLong(),
            {chosenNumber(ui->cmbNoAduana).toLongLong(), ui->cmbAduana->currentText()},
            ui->dtpIni->date(),
            ui->dtpFin->date()};
}

void frmPeriodo_Mandatario::soloMuestra(const PeriodoMandatario& periodo) {
    ui->txtPatente->setText(QString::number(periodo.patente));
    makeDisplayBox(ui->txtPatente);
    eligeAduana(ui->cmbNoAduana, ui->cmbAduana, periodo.aduana.numero);
    ui->cmbNoAduana->setEnabled(false);
    ui->cmbAduana->setEnabled(false);
    ui->dtpIni->setDate(periodo.inicio);
    ui->dtpFin->setDate(periodo.fin);
    for (CampoFecha* date : {ui->dtpIni, ui->dtpFin}) {
        date->setReadOnly(true);
        date->setFocusPolicy(Qt::NoFocus);
    }
    ui->cmdAceptar->hide();
    ui->cmdCancelar->setText(QStringLiteral("&Cerrar"));
    ui->cmdCancelar->setDefault(true);
    ui->cmdCancelar->setFocus();
}

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
    if (!CampoFecha::revisa(this, {ui->dtpIni, ui->dtpFin}))
        return;
    if (ui->dtpIni->date() > ui->dtpFin->date()) {
        inform(this, QStringLiteral("Periodo no valido"), MessageIcon::None, kProgramTitle);
        return;
    }
    if (guarda_ && !guarda_(periodo(), this))
        return;
    accept();
}
