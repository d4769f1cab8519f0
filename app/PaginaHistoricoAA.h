#pragma once

#include <QGroupBox>

class QPushButton;
class QTableWidget;

// Page 3: the persons who acted for the broker in the past, with their periods at customs offices.
class PaginaHistoricoAA : public QGroupBox {
    Q_OBJECT

public:
    explicit PaginaHistoricoAA(QWidget* parent = nullptr);

    QTableWidget* fgDatosAA;
    QPushButton* cmdAANuevo;
    QPushButton* cmdAAEditar;
    QPushButton* cmdAABorrar;
    QTableWidget* fgPeriodosAA;
};
