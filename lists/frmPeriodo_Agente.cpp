#include "lists/frmPeriodo_Agente.h"

#include "ui_frmPeriodo_Agente.h"

#include "platform/Database.h"
#include "platform/Messages.h"
#include "widgets/CampoFecha.h"
#include "widgets/Catalogos.h"

frmPeriodo_Agente::frmPeriodo_Agente(Store& store, QWidget* parent)
    : CaptureDialog(parent), ui(std::make_unique<Ui::frmPeriodo_Agente>()) {
    ui->setupUi(this);
    preparaAduanas(this, store, ui->cmbNoAduana, ui->cmbAduana);
    ui->dtpIni->setDate(QDate::currentDate());
    ui->dtpFin->setDate(QDate::currentDate());
    connect(ui->cmdAceptar, &QPushButton::clicked, this, &frmPeriodo_Agente::cmdAceptar_Click);
    connect(ui->cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

frmPeriodo_Agente::~frmPeriodo_Agente() = default;

void frmPeriodo_Agente::muestra(const PeriodoAgente& periodo) {
    eligeAduana(ui->cmbNoAduana, ui->cmbAduana, periodo.aduana.numero);
    ui->dtpIni->setDate(periodo.inicio);
    ui->dtpFin->setDate(periodo.fin);
}

void frmPeriodo_Agente::cmdAceptar_Click() {
    // A period with no office could never be stored with its person.
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
    periodo_ = PeriodoAgente{{chosenNumber(ui->cmbNoAduana).toLongLong(), ui->cmbAduana->currentText()},
                             ui->dtpIni->date(),
                             ui->dtpFin->date()};
    accept();
}
