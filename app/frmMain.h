#pragma once

#include "app/Globales.h"

#include <QMainWindow>

#include <memory>

namespace Ui {
class frmMain;
}
class ListaMandatarios;
class PaginaAA;
class PaginaApoderado;
class PaginaHistoricoAA;
class PaginaMandatarios;

// The wizard: four pages walked with "< Atrás" and "Siguiente >".
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    // programFolder holds the database and the sending folder; previousFolder is where the previous version lived.
    frmMain(const QString& programFolder, const QString& previousFolder, QWidget* parent = nullptr);
    ~frmMain() override;

    // Shows the start window, opens the database and brings the window into its first state.
    // False when the database cannot be used (the user has been told); the window must not be shown then.
    bool iniciar();

    Globales& globales() { return globales_; }
    int Pagina() const { return pagina_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Inicializa_0();
    void Inicializa_Combos();
    void Inicializa_datos();
    void muestraPagina(int pagina);
    void cmdSalir_Click();
    void mandatariosCambiados();

    std::unique_ptr<Ui::frmMain> ui;
    PaginaAA* paginaAA_;
    PaginaApoderado* paginaApoderado_;
    PaginaHistoricoAA* paginaHistoricoAA_;
    PaginaMandatarios* paginaMandatarios_;
    std::unique_ptr<ListaMandatarios> listaMandatarios_;

    QString programFolder_;
    QString previousFolder_;
    Globales globales_;
    int pagina_ = 1;
};
