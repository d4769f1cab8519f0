#pragma once

#include <QString>

#include <optional>

class Database;
class Query;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QWidget;

// The texts of an address block as the check sees them.
struct TextosDomicilio {
    QString calle, noExt, colonia, cp, entidad, municipio, telefono, fax;
};

enum class CampoDomicilio { Calle, NoExt, Colonia, CP, Entidad, Municipio, Telefono, Fax };

struct FaltaDomicilio {
    CampoDomicilio campo;
    QString mensaje;
};

// The first fault of a block in the order the user is told of them, or nothing when it is complete.
std::optional<FaltaDomicilio> revisaDomicilio(const TextosDomicilio& d);

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

    // Keeps the pairs in step and refills the municipalities when another entity is chosen.
    void connectCatalogues(Database& db) const;

    TextosDomicilio textos() const;
    // Shows the address of one result row (columns 1 to 9 as both address tables hold them).
    void muestra(Database& db, const Query& row) const;
    void limpia(Database& db) const;
};

// Checks the block; on a fault tells the user, puts the focus on the faulty control and gives false.
bool Valida_Domicilio(QWidget* parent, const BloqueDomicilio& block);
