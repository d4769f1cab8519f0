#pragma once

#include "data/Entidades.h"

#include "widgets/CaptureDialog.h"

#include <functional>
#include <memory>

class Store;

namespace Ui {
class frmPeriodo_Mandatario;
}

// One period of an aspirant with another broker. The opener stores it on "&Aceptar" through the hook, so that it is
// in the database before the dialog closes.
class frmPeriodo_Mandatario : public CaptureDialog {
    Q_OBJECT

public:
    // Gives true once the period is stored; false (having told the user why) keeps the dialog open as it is.
    using Guarda = std::function<bool(const PeriodoMandatario& periodo, QWidget* dialog)>;

    frmPeriodo_Mandatario(Store& store, const FilaMandatario& aspirante, QWidget* parent = nullptr);
    ~frmPeriodo_Mandatario() override;

    void setGuarda(Guarda guarda) { guarda_ = std::move(guarda); }
    // Shows a stored period, nothing in it to be changed; Enter and Escape close.
    void soloMuestra(const PeriodoMandatario& periodo);
    // The period as typed, for the aspirant shown; not yet stored (its id is 0).
    PeriodoMandatario periodo() const;

private:
    void cmdAceptar_Click();

    std::unique_ptr<Ui::frmPeriodo_Mandatario> ui;
    Guarda guarda_;
};
