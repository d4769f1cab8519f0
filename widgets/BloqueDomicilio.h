#pragma once

#include "data/Domicilio.h"
#include "data/Entidades.h"

#include <QList>

class Store;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QWidget;

// One address block of a window: seven text boxes and the entity and municipality pairs.
struct BloqueDomicilio {
    struct Nombres {
        QString calle, noExt, noInt, colonia, cp, telefono, fax, cveEntFed, entFed, noMDeleg, mDeleg;
    };

    QLineEdit* calle = nullptr;
    QLineEdit* noExt = nullptr;
    QLineEdit* noInt = nullptr;
    QLineEdit* colonia = nullptr;
    QLineEdit* cp = nullptr;
    QLineEdit* telefono = nullptr;
    QLineEdit* fax = nullptr;
    QComboBox* cveEntFed = nullptr;
    QComboBox* entFed = nullptr;
    QComboBox* noMDeleg = nullptr;
    QComboBox* mDeleg = nullptr;

    // Lays the block's labels and controls into the frame, each control named as given.
    // A capture block takes typed text in capitals; a display block is read-only.
    static BloqueDomicilio build(QGroupBox* frame, const Nombres& names, bool capture);

    // The controls in the order they stand on screen, which is the order Tab follows.
    QList<QWidget*> inTabOrder() const;

    // Keeps the pairs in step and refills the municipalities when another entity is chosen.
    void connectCatalogues(Store& store) const;

    TextosDomicilio textos() const;
    // The control a check names.
    QWidget* control(CampoDomicilio campo) const;
    // The address as it is stored: the keys of the chosen entity and municipality (" 15" is 15).
    Domicilio domicilio() const;
    // The municipalities follow the entity through connectCatalogues(), which must have been called.
    void muestra(const Domicilio& d) const;
    // Empties the block; no entity and no municipality chosen.
    void limpia() const;
};

// Checks the block; on a fault tells the user, puts the focus on the faulty control and gives false.
bool Valida_Domicilio(QWidget* parent, const BloqueDomicilio& block);
