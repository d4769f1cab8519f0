#pragma once

#include "data/Domicilio.h"

#include <QGroupBox>

class QComboBox;
class QLineEdit;

// Page 1: the registering broker's identity, office of assignment and his two addresses.
class PaginaAA : public QGroupBox {
    Q_OBJECT

public:
    explicit PaginaAA(QWidget* parent = nullptr);

    QLineEdit* txtPatente;
    QLineEdit* txtAutorizacion;
    QLineEdit* txtAANombre;
    QLineEdit* txtAAApPat;
    QLineEdit* txtAAApMat;
    QLineEdit* txtAARFC;
    QLineEdit* txtAACURP;
    QComboBox* cmbAANoAduanaA;
    QComboBox* cmbAAAduanaA;
    BloqueDomicilio fiscal;
    BloqueDomicilio oirR;
};
