#include "lists/frmAgentes_Aduanales.h"

#include "ui_frmAgentes_Aduanales.h"

#include "data/ListModel.h"
#include "data/Rutinas.h"
#include "data/Store.h"
#include "lists/CeldasPeriodo.h"
#include "lists/frmPeriodo_Agente.h"
#include "platform/Database.h"
#include "platform/Messages.h"
#include "widgets/AvisoDigito.h"
#include "widgets/Capture.h"
#include "widgets/Grid.h"

#include <QItemSelectionModel>

frmAgentes_Aduanales::frmAgentes_Aduanales(Store& store, std::optional<PersonaHistorica> valor, QWidget* parent)
    : CaptureDialog(parent), ui(std::make_unique<Ui::frmAgentes_Aduanales>()), store_(store) {
    ui->setupUi(this);
    for (QLineEdit* box : {ui->txtNombre, ui->txtApPaterno, ui->txtApMaterno, ui->txtCURP, ui->txtRFC})
        makeCaptureBox(box);
    avisaDigitoVerificador(ui->txtCURP, Identificador::CURP);
    avisaDigitoVerificador(ui->txtRFC, Identificador::RFC);
    filas_ = new ListModel(
        {QStringLiteral("No."), QStringLiteral("Aduana"), QStringLiteral("F. Inicial"), QStringLiteral("F. Final")},
        this);
    setupView(ui->fgAA_Periodos, filas_, {0, 3970});
    connect(ui->cmdNuevo, &QPushButton::clicked, this, &frmAgentes_Aduanales::cmdNuevo_Click);
    connect(ui->cmdBorrar, &QPushButton::clicked, this, &frmAgentes_Aduanales::cmdBorrar_Click);
    connect(ui->fgAA_Periodos->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (selectedRow(ui->fgAA_Periodos) >= 0)
            ui->cmdBorrar->setEnabled(true);
    });
    onRowKeys(
        ui->fgAA_Periodos, [this] { corrigePeriodo(); }, [this] { cmdBorrar_Click(); });
    connect(ui->cmdAceptar, &QPushButton::clicked, this, &frmAgentes_Aduanales::cmdAceptar_Click);
    connect(ui->cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);

    if (valor) {
        ui->txtNombre->setText(valor->nombre);
        ui->txtApPaterno->setText(valor->apPaterno);
        ui->txtApMaterno->setText(valor->apMaterno);
        ui->txtCURP->setText(valor->curp);
        ui->txtRFC->setText(valor->rfc);
        curpAnterior_ = valor->curp;
        for (const PeriodoAgente& p : valor->periodos)
            agregaPeriodo(p);
    }
}

frmAgentes_Aduanales::~frmAgentes_Aduanales() = default;

PersonaHistorica frmAgentes_Aduanales::persona() const {
    return {ui->txtRFC->text(),       ui->txtCURP->text(),      ui->txtNombre->text(),
            ui->txtApPaterno->text(), ui->txtApMaterno->text(), periodos_};
}

void frmAgentes_Aduanales::agregaPeriodo(const PeriodoAgente& periodo) {
    periodos_ << periodo;
    filas_->append({QString(), celdasPeriodo(periodo)});
}

void frmAgentes_Aduanales::cmdNuevo_Click() {
    frmPeriodo_Agente dialog(store_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    agregaPeriodo(dialog.periodo());
    focusRow(ui->fgAA_Periodos, filas_->rowCount() - 1);
}

void frmAgentes_Aduanales::corrigePeriodo() {
    const int row = selectedRow(ui->fgAA_Periodos);
    if (row < 0 || row >= periodos_.size())
        return;
    frmPeriodo_Agente dialog(store_, this);
    dialog.muestra(periodos_.at(row));
    if (dialog.exec() == QDialog::Accepted) {
        periodos_[row] = dialog.periodo();
        filas_->replace(row, {QString(), celdasPeriodo(periodos_.at(row))});
    }
    focusRow(ui->fgAA_Periodos, row);
}

void frmAgentes_Aduanales::cmdBorrar_Click() {
    const int row = selectedRow(ui->fgAA_Periodos);
    if (row < 0 || row >= periodos_.size())
        return;
    const bool borra = confirmDestructive(this, QStringLiteral("¿DESEA BORRAR EL PERIODO SELECCIONADO?"));
    if (borra) {
        periodos_.removeAt(row);
        filas_->remove(row);
        if (periodos_.isEmpty())
            ui->cmdBorrar->setEnabled(false);
    }
    // The cursor stays in the list, on the period or on the one after it.
    focusRow(ui->fgAA_Periodos, std::min(row, int(periodos_.size()) - 1));
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
    bool validos = false;
    if (!intenta(this, QStringLiteral("No se pudo consultar la base de datos; nada se ha guardado.\n\n%1"),
                 [&] { validos = datosValidos(); }) ||
        !validos)
        return;
    if (guarda_ && !guarda_(persona(), this))
        return;
    accept();
}
