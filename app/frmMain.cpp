#include "app/frmMain.h"

#include "ui_frmMain.h"

#include "app/AbreBaseDatos.h"
#include "app/AcercaDe.h"
#include "app/AyudaF1.h"
#include "app/Idioma.h"
#include "app/PaginaAA.h"
#include "app/VerificaPaginas.h"
#include "app/frmInicio.h"
#include "data/Respaldos.h"
#include "data/Store.h"
#include "export/Genera_archivo.h"
#include "import/ViejoTolvek.h"
#include "lists/PaginaApoderado.h"
#include "lists/PaginaHistoricoAA.h"
#include "lists/PaginaMandatarios.h"
#include "platform/Database.h"
#include "platform/InstanceLock.h"
#include "platform/Messages.h"
#include "review/frmRevision.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

frmMain::frmMain(const QString& programFolder, const QString& previousFolder, QWidget* parent)
    : frmMain(ProgramFolders(programFolder), previousFolder, parent) {}

frmMain::frmMain(const ProgramFolders& folders, const QString& previousFolder, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::frmMain>()), folders_(folders), previousFolder_(previousFolder) {
    usaEspanolDeMexico();
    Q_INIT_RESOURCE(icono);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icono/tolvek.png")));
    ui->setupUi(this);
    connect(ui->cmdSiguiente, &QPushButton::clicked, this, &frmMain::cmdSiguiente_Click);
    connect(ui->cmdAtras, &QPushButton::clicked, this, &frmMain::cmdAtras_Click);
    connect(ui->cmdSalir, &QPushButton::clicked, this, &frmMain::cmdSalir_Click);
    connect(ui->cmdRevisar, &QPushButton::clicked, this, &frmMain::cmdRevisar_Click);
    connect(ui->cmdVistaPrevia, &QPushButton::clicked, this, [this] { Vista_Previa(this, *store_); });
    connect(ui->cmdAbrirEnvio, &QPushButton::clicked, this, [this] { Abre_Carpeta_Envio(this, folders_.data); });
    connect(ui->cmdConstancia, &QPushButton::clicked, this, [this] { Imprime_Constancia(this, *constancia_); });
    new AyudaF1([this] { return acercaDe(folders_.data, db_.get()); }, this);
    lblPaso_ = new QLabel(this);
    lblPaso_->setObjectName(QStringLiteral("lblPaso"));
    statusBar()->addWidget(lblPaso_);
    // They belong to the last page: the preview to "Finaliza", the folder and the constancia to a signed file.
    ui->cmdVistaPrevia->hide();
    ui->cmdAbrirEnvio->hide();
    ui->cmdConstancia->hide();
    // With its title bar, on a 1366x768 screen above the taskbar.
    resize(1280, 640);
}

frmMain::~frmMain() {
    // The pages read through the store: they go before it does.
    delete paginaAA_;
    delete paginaApoderado_;
    delete paginaHistoricoAA_;
    delete paginaMandatarios_;
}

bool frmMain::iniciar() {
    instancia_ = std::make_unique<InstanceLock>(folders_.data);
    if (const QString ocupada = instancia_->acquire(); !ocupada.isEmpty()) {
        inform(this, ocupada, MessageIcon::Exclamation);
        return false;
    }
    frmInicio inicio(this);
    inicio.exec();

    firma_ = {};
    db_ = abreBaseDatos(this, folders_.data);
    if (!db_)
        return false;
    // The day's copy is taken before this run writes anything; without it the start goes on, the broker told.
    intenta(this, [this] { Respaldos(*db_).diario(); });
    store_ = std::make_unique<Store>(*db_);
    // A run that broke off between writing and signing, or left without its exit hand-off, must not leave an
    // unsigned file in ENVIO to be sent by mistake.
    const Limpieza limpieza = limpiaEnvioPendiente(folders_.data);
    if (!limpieza.aviso.isEmpty())
        inform(this, limpieza.aviso, MessageIcon::Exclamation);
    return intenta(this, QStringLiteral("No se pudieron leer los datos de la base de datos:\n%1"), [this] {
        construyePaginas();
        Viejo_TOLVEK(this, *db_, folders_.program, previousFolder_);
        Inicializa_0();
        Inicializa_datos();
    });
}

void frmMain::construyePaginas() {
    paginaAA_ = new PaginaAA(*store_, this);
    paginaApoderado_ = new PaginaApoderado(*store_, this);
    paginaHistoricoAA_ = new PaginaHistoricoAA(*store_, this);
    paginaMandatarios_ = new PaginaMandatarios(*store_, this);
    ui->paginas->addWidget(paginaAA_);
    ui->paginas->addWidget(paginaApoderado_);
    ui->paginas->addWidget(paginaHistoricoAA_);
    ui->paginas->addWidget(paginaMandatarios_);
    connect(paginaApoderado_, &PaginaApoderado::mandatariosCambiados, this, &frmMain::mandatariosCambiados);
}

void frmMain::muestraPagina(int pagina) {
    pagina_ = pagina;
    ui->paginas->setCurrentIndex(pagina - 1);
    lblPaso_->setText(QStringLiteral("Paso %1 de %2").arg(pagina).arg(ui->paginas->count()));
    // The cursor goes into the page: to where it was last on it, else to its first field.
    ui->paginas->currentWidget()->setFocus();
    // Every move between pages leaves "< Atrás" usable except on page 1, and "Siguiente >" usable.
    ui->cmdAtras->setEnabled(pagina > 1);
    ui->cmdSiguiente->setEnabled(true);
}

void frmMain::terminaAsistente() {
    // The file is written and signed: the wizard is done for this run.
    ui->cmdAtras->setEnabled(false);
    ui->cmdSiguiente->setEnabled(false);
    ui->cmdAbrirEnvio->show();
    ui->cmdConstancia->setVisible(constancia_.has_value());
}

void frmMain::finaliza() {
    const std::optional<Envio> envio = Genera_archivo(this, *store_, folders_, &constancia_);
    if (!envio)
        return;
    firma_.registra(*envio);
    if (envio->resultado == Envio::Resultado::Firmado)
        terminaAsistente();
}

void frmMain::Inicializa_0() {
    muestraPagina(1);
}

void frmMain::Inicializa_datos() {
    const std::optional<AgenteAduanal> agente = paginaAA_->muestraAgente();
    if (!agente) {
        inform(this, QStringLiteral("No se encontó información de la vesión anterior de TOLVEK"),
               MessageIcon::Exclamation);
        return;
    }
    paginaApoderado_->Llena_Mandatarios();
    paginaMandatarios_->Llena_Hist_Mandatarios();
    paginaHistoricoAA_->Llena_Hist_AA();
}

void frmMain::setSiguiente(Siguiente siguiente) {
    siguiente_ = siguiente;
    ui->cmdVistaPrevia->setVisible(siguiente == Siguiente::Finaliza);
    switch (siguiente) {
    case Siguiente::Siguiente:
        ui->cmdSiguiente->setText(QStringLiteral("&Siguiente >"));
        break;
    case Siguiente::Siguente:
        // The caption the button has always shown after page 1 when aspirants exist.
        ui->cmdSiguiente->setText(QStringLiteral("&Siguente >"));
        break;
    case Siguiente::Finaliza:
        ui->cmdSiguiente->setText(QStringLiteral("&Finaliza"));
        break;
    }
}

void frmMain::mandatariosCambiados() {
    intenta(this, QStringLiteral("No se pudo leer la lista de Mandatarios:\n%1"), [this] {
        paginaMandatarios_->Llena_Hist_Mandatarios();
        // "Revisar" stores representatives from any page; the caption follows the list on page 2 alone.
        if (pagina_ == 2)
            setSiguiente(paginaMandatarios_->hayAspirantes() ? Siguiente::Siguiente : Siguiente::Finaliza);
    });
}

void frmMain::cmdSiguiente_Click() {
    intenta(this, QStringLiteral("No se pudo leer la base de datos:\n%1"), [this] { avanza(); });
}

void frmMain::avanza() {
    Store& store = *store_;
    switch (pagina_) {
    case 1:
        if (!paginaAA_->guarda())
            return;
        muestraPagina(2);
        setSiguiente(store.Hay_Hist_Mandatarios() ? Siguiente::Siguente : Siguiente::Finaliza);
        break;
    case 2:
        if (!Verifica_Datos_p2(this, store))
            return;
        if (siguiente_ == Siguiente::Finaliza) {
            finaliza();
            return;
        }
        muestraPagina(3);
        break;
    case 3:
        muestraPagina(4);
        setSiguiente(Siguiente::Finaliza);
        break;
    case 4:
        if (!Verifica_Datos_p4(*paginaMandatarios_))
            return;
        finaliza();
        break;
    }
}

void frmMain::cmdAtras_Click() {
    switch (pagina_) {
    case 2:
        muestraPagina(1);
        setSiguiente(Siguiente::Siguente);
        break;
    case 3:
        muestraPagina(2);
        break;
    case 4:
        muestraPagina(3);
        setSiguiente(Siguiente::Siguiente);
        break;
    default:
        break;
    }
}

void frmMain::cmdSalir_Click() {
    if (saleConfirmado())
        termina();
}

bool frmMain::saleConfirmado() {
    // Only "Siguiente >" stores page 1: leaving without it would drop the broker's changes unseen.
    if (paginaAA_ && paginaAA_->cambiada()) {
        const Answer answer =
            ask(this, QStringLiteral("Los cambios de la página 1, Datos del Agente Aduanal, no se han guardado.\n\n"
                                     "¿Desea guardarlos antes de salir?"));
        if (answer == Answer::Cancel || (answer == Answer::Yes && !paginaAA_->guarda()))
            return false;
    }
    return !ui->cmdSiguiente->isEnabled() ||
           confirm(this, QStringLiteral("¿Desea salir de la aplicación?, aun no a generado el archivo de información"),
                   kTitleMendaje);
}

void frmMain::cmdRevisar_Click() {
    frmRevision revision(
        *store_,
        [this](const Problema& p) {
            if (p.titular == Titular::Anterior)
                paginaHistoricoAA_->editaPersona(p.curp);
            else
                paginaApoderado_->editaMandatario(p.curp);
        },
        this);
    if (revision.exec() != QDialog::Accepted)
        return;
    // The broker is mended on page 1, reached as "< Atrás" reaches it; once signed, the wizard stays where it is.
    if (ui->cmdAtras->isEnabled())
        while (pagina_ > 1)
            cmdAtras_Click();
    if (pagina_ == 1)
        paginaAA_->enfocaFalta();
}

void frmMain::termina() {
    // Leaving the event loop closes this window once more, which would come back here.
    if (terminando_)
        return;
    terminando_ = true;
    // A file left unsigned by a failed signing must not stay in ENVIO to be sent by mistake; the list on disk
    // names those of this run and any an earlier run could not hand off.
    Borra_Archivo_Sin_Firma(this, folders_, firma_.sinFirma);
    // What this run wrote gets a copy of its own before the program ends; without it the broker is told.
    if (db_)
        intenta(this, [this] { Respaldos(*db_).alCerrar(); });
    QApplication::quit();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Once leaving, the event loop's end closes the window again: no second question then.
    if (!terminando_ && !saleConfirmado()) {
        event->ignore();
        return;
    }
    event->accept();
    termina();
}
