#pragma once

#include "data/Entidades.h"

#include <QDialog>

#include <memory>

class Store;

namespace Ui {
class frmPeriodo_Mandatario;
}

// One period of an aspirant with another broker, stored as soon as it is accepted; periodo() gives it back, with its
// stored row, to the caller.
class frmPeriodo_Mandatario : public QDialog {
    Q_OBJECT

public:
    // aspirante: Nombre, Ap.Paterno, Ap.Materno, CURP.
    frmPeriodo_Mandatario(Store& store, const QStringList& aspirante, QWidget* parent = nullptr);
    ~frmPeriodo_Mandatario() override;

    PeriodoMandatario periodo() const { return periodo_; }

private:
    void cmdAceptar_Click();

    std::unique_ptr<Ui::frmPeriodo_Mandatario> ui;
    Store& store_;
    PeriodoMandatario periodo_;
};
