#pragma once

#include "app/RevisaAgente.h"
#include "data/Entidades.h"
#include "widgets/BloqueDomicilio.h"

#include <QGroupBox>

#include <optional>

class QComboBox;
class QLineEdit;
class Store;

// Page 1: the registering broker's identity, office of assignment and his two addresses, read from and written to
// the store.
class PaginaAA : public QGroupBox {
    Q_OBJECT

public:
    // Fills the catalogue combos; throws DatabaseError when the catalogues cannot be read.
    PaginaAA(Store& store, QWidget* parent = nullptr);

    // Shows the stored broker; nothing when none is stored (the page stays empty).
    std::optional<AgenteAduanal> muestraAgente();
    // Checks the page and replaces the stored broker with what it shows. The user has been told of a fault or of a
    // refusal of the store (the previous broker then stays stored); nothing then.
    std::optional<AgenteAduanal> guarda();
    // The page may be stored; tells the user the first fault and puts the focus on it otherwise.
    bool Valida_AA();
    // Puts the focus on the page's first fault, telling nothing: the user already reads it elsewhere.
    void enfocaFalta();
    // The broker as the page shows him, ready to be stored.
    AgenteAduanal agente() const;
    // The page shows other than what it showed when it was filled from the store or stored last.
    bool cambiada() const { return agente() != guardado_; }

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

private:
    TextosAgente textos() const;
    QWidget* control(const FaltaAgente& falta) const;

    Store& store_;
    AgenteAduanal guardado_;
};
