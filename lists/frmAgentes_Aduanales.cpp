#include "lists/frmAgentes_Aduanales.h"

#include "ui_frmAgentes_Aduanales.h"

#include "data/Rutinas.h"
#include "data/Store.h"
#include "lists/CeldasPeriodo.h"
#include "lists/frmPeriodo_Agente.h"
#include "platform/Capture.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

frmAgentes_Aduanales::frmAgentes_Aduanales(Store& store, const QString& modo, const QStringList& seleccionado,
                                           QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmAgentes_Aduanales>()), store_(store), modo_(modo) {
    ui->setupUi(this);
    for (QLineEdit* box : {ui->txtNombre, ui->txtApPaterno, ui->txtApMaterno, ui->txtCURP, ui->txtRFC})
        makeCaptureBox(box);
    setupGrid(
        ui->fgAA_Periodos,
        {QStringLiteral("No."), QStringLiteral("Aduana"), QStringLiteral("F. Inicial"), QStringLiteral("F. Final")},
        {0, 3970});
    connect(ui->cmdNuevo, &QPushButton::clicked, this, &frmAgentes_Aduanales::cmdNuevo_Click);
    connect(ui->cmdBorrar, &QPushButton::clicked, this, &frmAgentes_Aduanales::cmdBorrar_Click);
    connect(ui->fgAA_Periodos, &QTableWidget::cellClicked, this, &frmAgentes_Aduanales::fgAA_Periodos_Click);
    connect(ui->cmdAceptar, &QPushButton::clicked, this, &frmAgentes_Aduanales::cmdAceptar_Click);
    connect(ui->cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);

    if (modo_ == QLatin1String("E")) {
        ui->txtNombre->setText(seleccionado.value(0));
        ui->txtApPaterno->setText(seleccionado.value(1));
        ui->txtApMaterno->setText(seleccionado.value(2));
        ui->txtCURP->setText(seleccionado.value(3));
        ui->txtRFC->setText(seleccionado.value(4));
        curpAnterior_ = seleccionado.value(3);
        try {
            Inicializa_gr2(curpAnterior_);
        } catch (const DatabaseError& e) {
            // Accepting an incomplete copy would drop the periods that could not be read.
            ui->cmdAceptar->setEnabled(false);
            inform(this,
                   QStringLiteral("No se pudieron leer los periodos del Representante; no podrá guardar cambios.\n\n") +
                       e.message(),
                   MessageIcon::Exclamation);
        }
    }
}

frmAgentes_Aduanales::~frmAgentes_Aduanales() = default;

void frmAgentes_Aduanales::Inicializa_gr2(const QString& curp) {
    if (const std::optional<PersonaHistorica> persona = store_.personaHistorica(curp)) {
        for (const PeriodoAgente& p : persona->periodos)
            agregaPeriodo(p);
    }
}

void frmAgentes_Aduanales::agregaPeriodo(const PeriodoAgente& periodo) {
    periodos_ << periodo;
    appendRow(ui->fgAA_Periodos, celdasPeriodo(periodo));
}

void frmAgentes_Aduanales::cmdNuevo_Click() {
    frmPeriodo_Agente dialog(store_, this);
    if (dialog.exec() == QDialog::Accepted)
        agregaPeriodo(dialog.periodo());
}

void frmAgentes_Aduanales::fgAA_Periodos_Click() {
    if (rowCount(ui->fgAA_Periodos) > 0)
        ui->cmdBorrar->setEnabled(true);
}

void frmAgentes_Aduanales::cmdBorrar_Click() {
    const int row = selectedRow(ui->fgAA_Periodos);
    if (row < 0 || row >= periodos_.size())
        return;
    if (!confirm(this, QStringLiteral("¿DESEA BORRAR EL PERIODO SELECCIONADO?")))
        return;
    periodos_.removeAt(row);
    removeRow(ui->fgAA_Periodos, row);
    if (periodos_.isEmpty())
        ui->cmdBorrar->setEnabled(false);
}

bool frmAgentes_Aduanales::datosValidos() {
    const auto falla = [this](const QString& text, QWidget* focus) {
        inform(this, text, MessageIcon::None);
        if (focus)
            focus->setFocus();
        return false;
    };
    if (isBlank(ui->txtNombre->text()))
        return falla(QStringLiteral("Nombre no puede estar vacio"), ui->txtNombre);
    if (isBlank(ui->txtApPaterno->text()))
        return falla(QStringLiteral("Ap. Paterno no puede estar vacio"), ui->txtApPaterno);
    if (isBlank(ui->txtApMaterno->text()))
        return falla(QStringLiteral("Ap. Materno no puede estar vacio"), ui->txtApMaterno);
    if (!Valida_CURP(ui->txtCURP->text()))
        return falla(QStringLiteral("CURP no valido"), ui->txtCURP);
    if (!Valida_RFC(ui->txtRFC->text()))
        return falla(QStringLiteral("RFC no valido"), ui->txtRFC);
    if (periodos_.isEmpty())
        return falla(QStringLiteral("Debe existir un periodo de trabajo"), nullptr);
    if (ui->txtCURP->text() != curpAnterior_ && store_.existePersonaHistorica(ui->txtCURP->text()))
        return falla(QStringLiteral("YA EXISTE EL AGENTE ADUANAL EN LA BASE DE DATOS."), nullptr);
    return true;
}

void frmAgentes_Aduanales::cmdAceptar_Click() {
    try {
        if (!datosValidos())
            return;
        const PersonaHistorica persona{ui->txtRFC->text(),       ui->txtCURP->text(),      ui->txtNombre->text(),
                                       ui->txtApPaterno->text(), ui->txtApMaterno->text(), periodos_};
        store_.guardaPersonaHistorica(curpAnterior_, persona);
    } catch (const DatabaseError& e) {
        inform(this,
               QStringLiteral("No se pudo guardar el Representante; la base de datos queda como estaba.\n\n") +
                   e.message(),
               MessageIcon::Exclamation);
        return;
    }
    accept();
}
