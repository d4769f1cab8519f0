#pragma once

#include "data/Store.h"

#include <QString>

#include <memory>

class Database;

// The state the whole run shares: the open database, the broker's patente and whether the information file
// was left unsigned by a failed signing.
struct Globales {
    std::unique_ptr<Database> BaseDatos;
    std::unique_ptr<Store> store;
    QString NoPatente;
    // 1 after a signing that failed for the key or the password, 0 otherwise.
    int Archivo_Generado = 0;
};
