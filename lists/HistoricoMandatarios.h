#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>

class Database;
class PaginaMandatarios;
struct Globales;

// One period in which an aspirant acted with another broker (Periodos_H_MM); the office name is only for showing.
struct PeriodoMandatario {
    QString curp;
    qint64 patente = 0;
    qint64 noAduana = 0;
    QString aduana;
    QDate inicio;
    QDate fin;
    // The stored row it is, so that a deletion takes this one and no other; 0 until stored.
    qint64 id = 0;

    // The cells of fgPeriodosMandatario: " 470", " 47", name, "dd/mm/yyyy", "dd/mm/yyyy".
    QStringList celdas() const;
};

bool Hay_Hist_Mandatarios(Database& db);
// The aspirant's periods whose office is in the catalogue, in the order they were stored.
QList<PeriodoMandatario> periodosMandatario(Database& db, const QString& curp);
// Stores the period and gives back its stored row.
qint64 agregaPeriodoMandatario(Database& db, const PeriodoMandatario& periodo);
// Deletes exactly that stored period of the aspirant.
void borraPeriodoMandatario(Database& db, const QString& curp, qint64 id);

// Page 4: the aspirants, the periods of the one selected, and the two buttons for his periods.
class HistoricoMandatarios : public QObject {
    Q_OBJECT

public:
    HistoricoMandatarios(PaginaMandatarios* page, Globales& globales);

    void Llena_Hist_Mandatarios();
    // True when at least one representative is an aspirant (mandate type 2).
    bool Hay_Hist_Mandatarios();
    void Llena_Periodos_H_MM(const QString& CURP_M);

private:
    void fgMandatarios_Click();
    void fgPeriodosMandatario_Click();
    void cmdMandNuevo_Click();
    void cmdMandBorrar_Click();
    void agregaFila(const PeriodoMandatario& periodo);
    void olvidaAspirante();
    Database& db();

    PaginaMandatarios* page_;
    Globales& globales_;
    // The aspirant whose periods are on show: Nombre, Ap.Paterno, Ap.Materno, CURP.
    QStringList aspirante_;
};
