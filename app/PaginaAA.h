#pragma once

#include "data/BloqueDomicilio.h"
#include "data/Entidades.h"

#include <QGroupBox>

class QComboBox;
class QLineEdit;

// Page 1: the registering broker's identity, office of assignment and his two addresses.
class PaginaAA : public QGroupBox {
    Q_OBJECT

public:
    explicit PaginaAA(QWidget* parent = nullptr);

    // The page may be stored; tells the user the first fault and puts the focus on it otherwise.
    bool Valida_AA();
    // The broker as the page shows him, ready to be stored.
    AgenteAduanal agente() const;

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
