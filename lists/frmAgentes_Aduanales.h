#pragma once

#include "data/Entidades.h"

#include "widgets/CaptureDialog.h"
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class ListModel;
class Store;

namespace Ui {
class frmAgentes_Aduanales;
}

// One former representative with all his periods. The periods are a working copy: nothing is written here; on
// "&Aceptar", once the checks pass, the opener stores the person through the hook.
class frmAgentes_Aduanales : public CaptureDialog {
    Q_OBJECT

public:
    // Gives true once the person is stored; false (having told the user why) keeps the dialog open as it is.
    using Guarda = std::function<bool(const PersonaHistorica& persona, QWidget* dialog)>;

    // valor: the person to correct, with the periods the store shows; none for a new person.
    frmAgentes_Aduanales(Store& store, std::optional<PersonaHistorica> valor, QWidget* parent = nullptr);
    ~frmAgentes_Aduanales() override;

    void setGuarda(Guarda guarda) { guarda_ = std::move(guarda); }
    // The person as typed, with the periods on show.
    PersonaHistorica persona() const;

private:
    void agregaPeriodo(const PeriodoAgente& periodo);
    bool datosValidos();
    void cmdNuevo_Click();
    // Enter or a double-click on a period: corrected in its own dialog.
    void corrigePeriodo();
    void cmdBorrar_Click();
    void cmdAceptar_Click();

    std::unique_ptr<Ui::frmAgentes_Aduanales> ui;
    Store& store_;
    Guarda guarda_;
    QString curpAnterior_;
    // In step with the rows of fgAA_Periodos.
    QList<PeriodoAgente> periodos_;
    ListModel* filas_;
};
