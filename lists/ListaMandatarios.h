#pragma once

#include <QObject>
#include <QString>

class PaginaApoderado;
struct Mandatario;
struct Globales;

// Page 2: the list of representatives, what the selected one carries, and the buttons that add, correct and
// remove them through frmApoderado.
class ListaMandatarios : public QObject {
    Q_OBJECT

public:
    ListaMandatarios(PaginaApoderado* page, Globales& globales);

    void Llena_Mandatarios();
    // Shows the details of the selected row; without one, only disables "Editar" and "Borrar".
    void fgAA_Click();

    void cmdNuevo_Click();
    void cmdEditar_Click();
    void cmdBorrar_Click();

signals:
    // A representative was stored or removed: the pages that depend on the list must follow.
    void mandatariosCambiados();

private:
    // The offices, declarations, request file and accreditation of the representative on show.
    void muestraDetalles(const Mandatario& m);
    void abreApoderado(const QString& Modo, const QString& curp);
    void ocultaDetalles();
    void informaError(const QString& what, const QString& engine);

    PaginaApoderado* page_;
    Globales& globales_;
};
