#pragma once

#include <QString>

#include <memory>

class Database;
class QWidget;

// The start's opening of the database in `folder`. A damaged one is told, and the newest whole copy in respaldos/
// offered in its place; with the broker's OK the damaged file is kept aside and the copy opened. Nothing when the
// start must end (the broker has been told; nothing was changed unless he accepted the copy).
std::unique_ptr<Database> abreBaseDatos(QWidget* parent, const QString& folder);
