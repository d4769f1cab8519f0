#pragma once

#include "data/Entidades.h"
#include "widgets/BloqueDomicilio.h"

#include <QGroupBox>

#include <optional>

class ListModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class Store;

// Page 2: the stored representatives, what the selected one carries, and the buttons that add, correct and remove
// them through frmApoderado.
class PaginaApoderado : public QGroupBox {
    Q_OBJECT

public:
    // Lays out the page and fills its catalogue combos; the list is read by Llena_Mandatarios(). A refusal of the
    // engine is thrown from here.
    explicit PaginaApoderado(Store& store, QWidget* parent = nullptr);

    // Reads the list again from its first page, narrowed to what "Buscar" holds; its first row is selected and shown.
    void Llena_Mandatarios();
    // Opens frmApoderado on the stored representative, or on a new one when no CURP is given; what it stores is
    // shown as "Editar" shows it.
    void editaMandatario(const QString& curp);

signals:
    // A representative was stored or removed: the pages that depend on the list must follow.
    void mandatariosCambiados();

private:
    // Shows the details of the selected representative; without one, only disables "Editar" and "Borrar".
    void fgAA_Click();
    void cmdNuevo_Click();
    void cmdEditar_Click();
    void cmdBorrar_Click();
    void abreApoderado(std::optional<Mandatario> valor);
    void muestraDetalles(const Mandatario& m);
    void ocultaDetalles();
    // Reads the list again and selects the representative with that CURP, when one is given and he is there;
    // else the row at `fila`, or the last one when the list got shorter.
    void recargaEn(const std::optional<QString>& curp, int fila = 0);

    Store& store_;
    ListModel* mandatarios_;
    ListModel* aduanas_;
    ListModel* pedimentos_;

    QLineEdit* txtBuscar;
    QTableView* fgAA;
    QPushButton* cmdNuevo;
    QPushButton* cmdEditar;
    QPushButton* cmdBorrar;
    BloqueDomicilio particular;
    BloqueDomicilio fiscal;
    QLabel* Label27;
    QLabel* lblTipoMandato;
    QGroupBox* frAduanasAct;
    QTableView* fgAduanasAct;
    QGroupBox* frPedTramitados;
    QTableView* fgPedTramitados;
    QGroupBox* frAcreditacion;
    QRadioButton* optNTCL;
    QRadioButton* optExCon;
    QLabel* lblRequerimiento;
    QLineEdit* txtRequerimiento;
    QLabel* lblEstadoRequerimiento;
};

// How page 2 stores what frmApoderado captured: a CURP that another stored representative holds is refused, and a
// refusal of the engine is told; either way the dialog stays open. curpAnterior: the CURP he was stored under when
// he is corrected.
bool guardaMandatario(Store& store, const std::optional<QString>& curpAnterior, const Mandatario& m, QWidget* dialog);
