#include "export/frmKey.h"

#include "ui_frmKey.h"

#include "data/Rutinas.h"
#include "export/Firma.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"

#include <QFile>

#include <algorithm>

frmKey::frmKey(const QString& rfcAgente, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmKey>()), rfcAgente_(rfcAgente) {
    ui->setupUi(this);
    connect(ui->cmdBuscar, &QPushButton::clicked, this, &frmKey::cmdBuscar_Click);
    connect(ui->cmdAceptar, &QPushButton::clicked, this, &frmKey::cmdAceptar_Click);
    connect(ui->cmdCancelar, &QPushButton::clicked, this, [this] {
        borraPassword();
        reject();
    });
}

frmKey::~frmKey() {
    borraPassword();
    wipe(llave_.password);
}

Llave frmKey::llave() {
    Llave llave{llave_.archivo, std::move(llave_.password)};
    llave_ = {};
    return llave;
}

void frmKey::borraPassword() {
    // The box's text is shared with `typed` until the box is given blanks of the same length; `typed` is then the
    // only owner of the password's characters and overwrites them where they lie. setText() also drops the undo
    // history, which holds every typed character.
    QString typed = ui->txtPassword->text();
    ui->txtPassword->setText(QString(typed.size(), QLatin1Char(' ')));
    ui->txtPassword->setText(QString());
    if (!typed.isEmpty())
        std::fill(typed.data(), typed.data() + typed.size(), QChar(u'\0'));
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
    if (const qsizetype bytes = QFile::encodeName(ui->txtLlave->text()).size(); bytes > kMaxBytesRutaLlave) {
        inform(this, QStringLiteral("La ruta del archivo llave es demasiado larga: ocupa %1 bytes y la firma admite "
                                    "hasta %2. Copie el archivo llave a una carpeta de ruta más corta y elíjalo de "
                                    "nuevo.")
                         .arg(bytes)
                         .arg(kMaxBytesRutaLlave));
        ui->cmdBuscar->setFocus();
        return;
    }
    QByteArray password = ui->txtPassword->text().toUtf8();
    if (const qsizetype bytes = password.size(); bytes > kMaxBytesPassword) {
        wipe(password);
        inform(this, QStringLiteral("La contraseña es demasiado larga: ocupa %1 bytes y la firma admite hasta %2 "
                                    "(cada letra acentuada o ñ ocupa dos).")
                         .arg(bytes)
                         .arg(kMaxBytesPassword));
        ui->txtPassword->setFocus();
        return;
    }
    wipe(llave_.password);
    llave_ = {ui->txtLlave->text(), std::move(password)};
    borraPassword();
    accept();
}
