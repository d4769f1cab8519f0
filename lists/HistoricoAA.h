#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class Store;
class PaginaHistoricoAA;
struct Globales;

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
    Store& store();

    PaginaHistoricoAA* page_;
    Globales& globales_;
};
