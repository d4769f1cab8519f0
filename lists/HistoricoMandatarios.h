#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class Store;
struct PeriodoMandatario;
class PaginaMandatarios;
struct Globales;

// Page 4: the aspirants, the periods of the one selected, and the two buttons for his periods.
class HistoricoMandatarios : public QObject {
    Q_OBJECT

public:
    HistoricoMandatarios(PaginaMandatarios* page, Globales& globales);

    void Llena_Hist_Mandatarios();
    void Llena_Periodos_H_MM(const QString& CURP_M);

private:
    void fgMandatarios_Click();
    void fgPeriodosMandatario_Click();
    void cmdMandNuevo_Click();
    void cmdMandBorrar_Click();
    void agregaFila(const PeriodoMandatario& periodo);
    void olvidaAspirante();
    Store& store();

    PaginaMandatarios* page_;
    Globales& globales_;
    // The aspirant whose periods are on show: Nombre, Ap.Paterno, Ap.Materno, CURP.
    QStringList aspirante_;
};
