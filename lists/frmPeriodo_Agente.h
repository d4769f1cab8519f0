#pragma once

#include "data/Entidades.h"

#include "widgets/CaptureDialog.h"

#include <memory>

class Store;

namespace Ui {
class frmPeriodo_Agente;
}

// One period of a former representative at a customs office; the caller reads it with periodo() once accepted.
class frmPeriodo_Agente : public CaptureDialog {
    Q_OBJECT

public:
    explicit frmPeriodo_Agente(Store& store, QWidget* parent = nullptr);
    ~frmPeriodo_Agente() override;

    // Opens on a period already listed, to correct it.
    void muestra(const PeriodoAgente& periodo);
    PeriodoAgente periodo() const { return periodo_; }

private:
    void cmdAceptar_Click();

    std::unique_ptr<Ui::frmPeriodo_Agente> ui;
    PeriodoAgente periodo_;
};
