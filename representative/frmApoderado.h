#pragma once

#include "data/BloqueDomicilio.h"
#include "data/Entidades.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class frmApoderado;
}
class Store;

// Captures or corrects one representative: identity, mandate type, addresses, request file and, by mandate type,
// his accreditation or the offices and declarations of his past work. Writes him as a whole on "&Aceptar".
class frmApoderado : public QDialog {
    Q_OBJECT

public:
    // Modo "E" opens the stored representative with the CURP given; any other mode opens empty.
    frmApoderado(Store& store, const QString& Modo, const QString& curp = {}, QWidget* parent = nullptr);
    ~frmApoderado() override;

    // "A" once the representative was stored, "C" otherwise.
    QString Respuesta_Apoderado() const;
    // The CURP he was stored under.
    QString curpGuardado() const { return curpGuardado_; }

private:
    void cmbMandato_Click(int index);
    void cmdBuscar_Click();
    void cmdAceptar_Click();
    void cmdNuevaAduana_Click();
    void cmdBorrarAduana_Click();
    void cmdNuevoPed_Click();
    void cmdBorrarPed_Click();
    void fgAduanasAct_Click();
    void fgPedTramitados_Click();
    void ordenTabulador();
    Mandato mandatoElegido() const;
    Mandatario captura() const;

    std::unique_ptr<Ui::frmApoderado> ui;
    Store& store_;
    QString Modo_;
    QString curpAnterior_;
    QString curpGuardado_;
    BloqueDomicilio particular_;
    BloqueDomicilio fiscal_;
};
