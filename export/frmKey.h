#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frmKey;
}
struct DatosLlave;

// The broker picks his private key file and types its password. "&Aceptar" and "&Cancelar" leave their answer
// in `datos`; closing the window by its close box leaves `datos` as it was.
class frmKey : public QDialog {
    Q_OBJECT

public:
    // rfcAgente: the broker's RFC; the key file's name must hold it followed by ".KEY".
    frmKey(const QString& rfcAgente, DatosLlave& datos, QWidget* parent = nullptr);
    ~frmKey() override;

private:
    void cmdBuscar_Click();
    void cmdAceptar_Click();
    void cmdCancelar_Click();
    void borraPassword();

    std::unique_ptr<Ui::frmKey> ui;
    QString rfcAgente_;
    DatosLlave& datos_;
};
