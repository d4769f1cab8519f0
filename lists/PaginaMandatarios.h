#pragma once

#include "data/Entidades.h"

#include <QGroupBox>

#include <optional>

class ListModel;
class QPushButton;
class QTableView;
class Store;

// Page 4: the aspirants, the periods in which the one selected acted with other brokers, and the buttons that add
// and delete those periods. Each change is stored at once.
class PaginaMandatarios : public QGroupBox {
    Q_OBJECT

public:
    PaginaMandatarios(Store& store, QWidget* parent = nullptr);

    // Lists the aspirants again, a page at a time, keeping the one selected while he is still an aspirant; throws
    // DatabaseError when the first page cannot be read.
    void Llena_Hist_Mandatarios();
    // At least one aspirant is listed.
    bool hayAspirantes() const;

signals:
    // Enter or a double-click on an aspirant: he is corrected where representatives are, on page 2.
    void editaAspirante(const QString& curp);

private:
    void aspiranteElegido();
    void Llena_Periodos_H_MM(const QString& curp);
    void olvidaAspirante();
    // The aspirant on show is still one, and selected again; else he is forgotten.
    bool sigueAspirante();
    // The selected period, in its dialog, only to be read.
    void muestraPeriodo();
    void cmdMandNuevo_Click();
    void cmdMandBorrar_Click();

    Store& store_;
    // The aspirants read so far, by CURP: the period dialog and the question show him as listed.
    // The aspirant whose periods are on show.
    std::optional<FilaMandatario> aspirante_;
    // While the list is refilled the aspirant is selected again without his periods being read again.
    bool recargando_ = false;
    ListModel* aspirantes_;
    ListModel* periodos_;
    QTableView* fgMandatarios;
    QTableView* fgPeriodosMandatario;
    QPushButton* cmdMandNuevo;
    QPushButton* cmdMandBorrar;
};
