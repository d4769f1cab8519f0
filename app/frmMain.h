#pragma once

#include "export/ConstanciaPdf.h"
#include "export/Envio.h"
#include "platform/ProgramFolders.h"

#include <QMainWindow>

#include <memory>
#include <optional>

namespace Ui {
class frmMain;
}
class PaginaAA;
class PaginaApoderado;
class PaginaHistoricoAA;
class PaginaMandatarios;
class InstanceLock;
class Database;
class Store;
class QLabel;

// The wizard: four pages walked with "< Atrás" and "Siguiente >".
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    // programFolder holds the companion tools, the database and the sending folder; previousFolder is where the
    // previous version lived.
    frmMain(const QString& programFolder, const QString& previousFolder, QWidget* parent = nullptr);
    // The tools in folders.program, the database and the sending folder in folders.data.
    frmMain(const ProgramFolders& folders, const QString& previousFolder, QWidget* parent = nullptr);
    ~frmMain() override;

    // Shows the start window, opens the database and brings the window into its first state.
    // False when the database cannot be used (the user has been told); the window must not be shown then.
    bool iniciar();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // What "Siguiente >" does next on page 2 follows from this; its caption shows it.
    enum class Siguiente { Siguiente, Siguente, Finaliza };

    // The pages read and write through the store, so they are built once it is open.
    void construyePaginas();
    void Inicializa_0();
    void Inicializa_datos();
    void muestraPagina(int pagina);
    void terminaAsistente();
    // "Finaliza": the information file written and signed; the wizard ends when it was signed.
    void finaliza();
    void cmdSiguiente_Click();
    // The step forward from the page on show.
    void avanza();
    void cmdAtras_Click();
    void cmdSalir_Click();
    // "Salir" and the close box: page 1 changed and not stored is kept or dropped as the user says, then he is
    // asked as before. False when he stays.
    bool saleConfirmado();
    // Every problem of the stored data at once; a row opens its record.
    void cmdRevisar_Click();
    void setSiguiente(Siguiente siguiente);
    // Ends the run: leaves the event loop, so that the database is closed on the way out.
    void termina();
    void mandatariosCambiados();

    std::unique_ptr<Ui::frmMain> ui;
    PaginaAA* paginaAA_ = nullptr;
    PaginaApoderado* paginaApoderado_ = nullptr;
    PaginaHistoricoAA* paginaHistoricoAA_ = nullptr;
    PaginaMandatarios* paginaMandatarios_ = nullptr;
    // "Paso N de 4", in the status bar.
    QLabel* lblPaso_ = nullptr;

    ProgramFolders folders_;
    std::unique_ptr<InstanceLock> instancia_;
    QString previousFolder_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<Store> store_;
    EstadoFirma firma_;
    // That of the last signing, once written.
    std::optional<Constancia> constancia_;
    int pagina_ = 1;
    Siguiente siguiente_ = Siguiente::Siguiente;
    bool terminando_ = false;
};
