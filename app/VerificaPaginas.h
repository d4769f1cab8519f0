#pragma once

#include <QList>
#include <QString>

#include <optional>

class Database;
class QTableWidget;
class QWidget;

// True when some representative is an aspirant (mandate type 2): then the history pages are walked.
bool Regla_2_13_11(Database& db);

// A representative as page 2 lists him.
struct FilaMandatario {
    QString nombre, apPaterno, apMaterno, curp;
};

// The first representative who is not complete for his mandate type, as the message that tells the user so.
std::optional<QString> revisaMandatarios(Database& db, const QList<FilaMandatario>& filas);

// Page 2 may be left: at least one representative and every one complete. Tells the user the first fault.
bool Verifica_Datos_p2(QWidget* parent, Database& db, const QTableWidget* fgAA);
// Page 4 may be left: at least one aspirant listed.
bool Verifica_Datos_p4(const QTableWidget* fgMandatarios);
