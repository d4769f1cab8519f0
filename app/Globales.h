#pragma once

#include "data/Store.h"

class Database;

// What the list controllers are still handed until they take the Store itself: the database and the store the
// main window owns.
struct Globales {
    Database* BaseDatos = nullptr;
    Store* store = nullptr;
};
