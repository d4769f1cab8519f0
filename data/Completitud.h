#pragma once

#include "data/Entidades.h"

#include <QStringList>

#include <functional>

#include <optional>

class Store;

// Every way the representative is not complete for his mandate type, in the order "Finaliza" tells them.
QStringList faltasMandatario(const EstadoMandatario& m);
// Walks the representatives a page at a time, in stored order, until `action` gives false; the walk for "Finaliza"
// and for "Revisar".
void recorreEstados(Store& store, const std::function<bool(const EstadoMandatario&)>& action);
// The first fault of the first representative who is not complete, as the message that tells the user so; a
// message of its own when there is none at all.
std::optional<QString> revisaMandatarios(Store& store);
