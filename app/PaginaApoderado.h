#pragma once

#include "data/BloqueDomicilio.h"

#include <QGroupBox>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

// Page 2: the representatives and what the selected one carries.
class PaginaApoderado : public QGroupBox {
    Q_OBJECT

public:
    explicit PaginaApoderado(QWidget* parent = nullptr);

    QTableWidget* fgAA;
    QPushButton* cmdNuevo;
    QPushButton* cmdEditar;
    QPushButton* cmdBorrar;
    BloqueDomicilio particular;
    BloqueDomicilio fiscal;
    QLabel* Label27;
    QLabel* lblTipoMandato;
    QGroupBox* frAduanasAct;
    QTableWidget* fgAduanasAct;
    QGroupBox* frPedTramitados;
    QTableWidget* fgPedTramitados;
    QGroupBox* frAcreditacion;
    QRadioButton* optNTCL;
    QRadioButton* optExCon;
    QLabel* lblRequerimiento;
    QLineEdit* txtRequerimiento;
};
