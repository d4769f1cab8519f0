#pragma once

#include "data/Entidades.h"
#include "widgets/BloqueDomicilio.h"

#include "widgets/CaptureDialog.h"
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class frmApoderado;
}
class ListModel;
class Store;

// Captures or corrects one representative: identity, mandate type, addresses, request file and, by mandate type,
// his accreditation or the offices and declarations of his past work. It reads the catalogues and writes nothing:
// on "&Aceptar", once the checks pass, the opener's hook stores the value.
class frmApoderado : public CaptureDialog {
    Q_OBJECT

public:
    // Stores the captured representative, telling the user why not when it cannot; false keeps the dialog open
    // with everything typed.
    using Guarda = std::function<bool(const Mandatario& m, QWidget* dialog)>;

    // Without a value the dialog opens empty for a new representative; with one, on him for correction. Reads the
    // catalogues: a refusal of the engine is thrown from here.
    frmApoderado(Store& store, std::optional<Mandatario> valor, QWidget* parent = nullptr);
    ~frmApoderado() override;

    void setGuarda(Guarda guarda) { guarda_ = std::move(guarda); }
    // The representative as the dialog holds him.
    Mandatario mandatario() const;

private:
    void cmbMandato_Click(int index);
    void cmdBuscar_Click();
    void cmdAceptar_Click();
    void cmdNuevaAduana_Click();
    void cmdBorrarAduana_Click();
    void cmdNuevoPed_Click();
    void cmdBorrarPed_Click();
    // Enter or a double-click on a row: the office changed for another (its declarations follow it), or the
    // declaration corrected.
    void corrigeAduana();
    void corrigePedimento();
    // Both lists shown again from the working copies.
    void muestraListas();
    void fgAduanasAct_Click();
    void fgPedTramitados_Click();
    void ordenTabulador();
    void agregaAduana(const Aduana& a);
    void agregaPedimento(const Pedimento& p);
    Mandato mandatoElegido() const;

    std::unique_ptr<Ui::frmApoderado> ui;
    Store& store_;
    Guarda guarda_;
    BloqueDomicilio particular_;
    BloqueDomicilio fiscal_;
    // The offices and declarations as values; the two models show them, row for row.
    QList<Aduana> aduanas_;
    QList<Pedimento> pedimentos_;
    ListModel* fgAduanasAct_;
    ListModel* fgPedTramitados_;
};
