#pragma once

#include "export/Envio.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmKey;
}

// The broker picks his private key file and types its password; after "&Aceptar" llave() hands them over.
class frmKey : public QDialog {
    Q_OBJECT

public:
    // rfcAgente: the broker's RFC; the key file's name must hold it followed by ".KEY".
    explicit frmKey(const QString& rfcAgente, QWidget* parent = nullptr);
    ~frmKey() override;

    // The choice accepted; the dialog keeps no copy of the password afterwards.
    Llave llave();

private:
    void cmdBuscar_Click();
    void cmdAceptar_Click();
    void borraPassword();

    std::unique_ptr<Ui::frmKey> ui;
    QString rfcAgente_;
    Llave llave_;
};
