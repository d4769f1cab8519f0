#pragma once

#include <QGroupBox>

class QPushButton;
class QTableWidget;

// Page 4: the aspirants and the periods in which they acted with other brokers.
class PaginaMandatarios : public QGroupBox {
    Q_OBJECT

public:
    explicit PaginaMandatarios(QWidget* parent = nullptr);

    QTableWidget* fgMandatarios;
    QTableWidget* fgPeriodosMandatario;
    QPushButton* cmdMandNuevo;
    QPushButton* cmdMandBorrar;
};
