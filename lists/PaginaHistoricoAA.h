#pragma once

#include "data/Entidades.h"

#include <QGroupBox>

#include <optional>

class ListModel;
class QPushButton;
class QTableView;
class Store;

// Page 3: the persons who acted for the broker in the past, the periods of the one selected, and the buttons that
// add, correct and delete them.
class PaginaHistoricoAA : public QGroupBox {
    Q_OBJECT

public:
    PaginaHistoricoAA(Store& store, QWidget* parent = nullptr);

    // Lists the stored persons again, a page at a time; throws DatabaseError when the first page cannot be read.
    void Llena_Hist_AA();
    // Opens frmAgentes_Aduanales on the stored person, as "Editar" does.
    void editaPersona(const QString& curp);

private:
    void seleccionCambiada();
    void Llena_Periodos_Hist_AA(const QString& curp);
    void abreAgente(const std::optional<PersonaHistorica>& valor);
    void cmdAAEditar_Click();
    void cmdAABorrar_Click();
    QString curpSeleccionada() const;

    Store& store_;
    // The persons read so far, by CURP, as listed: the deletion's question names him as stored.
    ListModel* personas_;
    ListModel* periodos_;
    QTableView* fgDatosAA;
    QTableView* fgPeriodosAA;
    QPushButton* cmdAANuevo;
    QPushButton* cmdAAEditar;
    QPushButton* cmdAABorrar;
};
