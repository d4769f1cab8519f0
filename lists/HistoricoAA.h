#pragma once

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class Database;
class PaginaHistoricoAA;
struct Globales;

// A person who acted for the broker in the past (Historico_AA).
struct PersonaHistorica {
    QString RFC;
    QString CURP;
    QString Nombre;
    QString ApPaterno;
    QString ApMaterno;
};

// One period of such a person before a customs office (Periodos_H_AA); the office name is only for showing.
struct PeriodoAgente {
    qint64 noAduana = 0;
    QString aduana;
    QDate inicio;
    QDate fin;

    // The cells of a period grid: " 47", name, "dd/mm/yyyy", "dd/mm/yyyy".
    QStringList celdas() const;
};

// The person's periods whose office is in the catalogue, in the order they were stored.
QList<PeriodoAgente> periodosAgente(Database& db, const QString& curp);
bool existeAgente(Database& db, const QString& curp);

// Stores the person with exactly these periods, all or nothing. curpAnterior is the CURP he was stored under (empty
// for a new person); his old rows go. Periods whose office has left the catalogue cannot be shown or edited, so they
// are kept and follow him to his new CURP.
void guardaAgente(Database& db, const QString& curpAnterior, const PersonaHistorica& persona,
                  const QList<PeriodoAgente>& periodos);
// Deletes the person and every period of his, all or nothing.
void borraAgente(Database& db, const QString& curp);

// Page 3: the list of former representatives, the periods of the selected one and its three buttons.
class HistoricoAA : public QObject {
    Q_OBJECT

public:
    HistoricoAA(PaginaHistoricoAA* page, Globales& globales);

    void Llena_Hist_AA();
    void Llena_Periodos_Hist_AA(const QString& curp);

private:
    void fgDatosAA_Click();
    void cmdAANuevo_Click();
    void cmdAAEditar_Click();
    void cmdAABorrar_Click();
    void abreAgente(const QString& modo);
    Database& db();

    PaginaHistoricoAA* page_;
    Globales& globales_;
};
