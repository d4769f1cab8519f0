#include "export/frmKey.h"

#include "ui_frmKey.h"

#include "data/Rutinas.h"
#include "export/Firma.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"

frmKey::frmKey(const QString& rfcAgente, DatosLlave& datos, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmKey>()), rfcAgente_(rfcAgente), datos_(datos) {
    ui->setupUi(this);
    connect(ui->cmdBuscar, &QPushButton::clicked, this, &frmKey::cmdBuscar_Click);
    connect(ui->cmdAceptar, &QPushButton::clicked, this, &frmKey::cmdAceptar_Click);
    connect(ui->cmdCancelar, &QPushButton::clicked, this, &frmKey::cmdCancelar_Click);
}

frmKey::~frmKey() {
    borraPassword();
}

void frmKey::borraPassword() {
    // setText() drops the box's undo history, which holds every typed character of the password; clear() would
    // only add the whole password to it once more.
    ui->txtPassword->setText(QString());
}

void frmKey::cmdBuscar_Click() {
    const QString chosen =
        FileDialogs::openFileName(this, QStringLiteral("Abrir"), homeFolder(), QStringLiteral("Archivo_llave (*.key)"));
    if (!chosen.isEmpty())
        ui->txtLlave->setText(chosen);
}

void frmKey::cmdAceptar_Click() {
    if (isBlank(ui->txtLlave->text())) {
        inform(this, QStringLiteral("El archivo llave no puede estar vacio"));
        ui->cmdBuscar->setFocus();
        return;
    }
    if (!ui->txtLlave->text().toUpper().contains(rfcAgente_ + QStringLiteral(".KEY"))) {
        inform(this, QStringLiteral("Debe usar el archivo llave del AGENTE ADUANAL"));
        ui->cmdBuscar->setFocus();
        return;
    }
    datos_.Respuesta_Key = QStringLiteral("A");
    datos_.Archivo_Llave = ui->txtLlave->text();
    wipe(datos_.Password_Llave);
    datos_.Password_Llave = ui->txtPassword->text().toUtf8();
    borraPassword();
    accept();
}

void frmKey::cmdCancelar_Click() {
    datos_.Respuesta_Key = QStringLiteral("C");
    datos_.Archivo_Llave.clear();
    wipe(datos_.Password_Llave);
    borraPassword();
    reject();
}
