#include "app/frmMain.h"

#include "ui_frmMain.h"

#include "app/PaginaAA.h"
#include "app/PaginaApoderado.h"
#include "app/PaginaHistoricoAA.h"
#include "app/PaginaMandatarios.h"
#include "app/VerificaPaginas.h"
#include "app/frmInicio.h"
#include "data/BaseDatos.h"
#include "data/BloqueDomicilio.h"
#include "data/Catalogos.h"
#include "data/Rutinas.h"
#include "data/Store.h"
#include "export/Genera_archivo.h"
#include "import/ViejoTolvek.h"
#include "lists/HistoricoAA.h"
#include "lists/HistoricoMandatarios.h"
#include "lists/ListaMandatarios.h"
#include "platform/Capture.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

frmMain::frmMain(const QString& programFolder, const QString& previousFolder, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::frmMain>()), programFolder_(programFolder),
      previousFolder_(previousFolder) {
    ui->setupUi(this);
    connect(ui->cmdSiguiente, &QPushButton::clicked, this, &frmMain::cmdSiguiente_Click);
    connect(ui->cmdAtras, &QPushButton::clicked, this, &frmMain::cmdAtras_Click);
    connect(ui->cmdSalir, &QPushButton::clicked, this, &frmMain::cmdSalir_Click);
    resize(1280, 720);
}

frmMain::~frmMain() = default;

bool frmMain::iniciar() {
    frmInicio inicio(this);
    inicio.exec();

    firma_ = {};
    QString error;
    db_ = openTolvekDatabase(programFolder_, &error);
    if (!db_) {
        inform(this, error, MessageIcon::Exclamation);
        return false;
    }
    store_ = std::make_unique<Store>(*db_);
    listas_ = {db_.get(), store_.get()};
    construyePaginas();
    try {
        Viejo_TOLVEK(this, *db_, programFolder_, previousFolder_);
        Inicializa_0();
        Inicializa_Combos();
        Inicializa_datos();
    } catch (const DatabaseError& e) {
        inform(this, QStringLiteral("No se pudieron leer los datos de la base de datos:\n%1").arg(e.message()),
               MessageIcon::Exclamation);
        return false;
    }
    return true;
}

void frmMain::construyePaginas() {
    paginaAA_ = new PaginaAA(this);
    paginaApoderado_ = new PaginaApoderado(this);
    paginaHistoricoAA_ = new PaginaHistoricoAA(this);
    paginaMandatarios_ = new PaginaMandatarios(this);
    ui->paginas->addWidget(paginaAA_);
    ui->paginas->addWidget(paginaApoderado_);
    ui->paginas->addWidget(paginaHistoricoAA_);
    ui->paginas->addWidget(paginaMandatarios_);
    listaMandatarios_ = std::make_unique<ListaMandatarios>(paginaApoderado_, listas_);
    historicoAA_ = std::make_unique<HistoricoAA>(paginaHistoricoAA_, listas_);
    historicoMandatarios_ = std::make_unique<HistoricoMandatarios>(paginaMandatarios_, listas_);
    connect(listaMandatarios_.get(), &ListaMandatarios::mandatariosCambiados, this, &frmMain::mandatariosCambiados);
}

void frmMain::muestraPagina(int pagina) {
    pagina_ = pagina;
    ui->paginas->setCurrentIndex(pagina - 1);
    // Every move between pages leaves "< Atrás" usable except on page 1, and "Siguiente >" usable.
    ui->cmdAtras->setEnabled(pagina > 1);
    ui->cmdSiguiente->setEnabled(true);
}

void frmMain::terminaAsistente() {
    // The file is written and signed: the wizard is done for this run.
    ui->cmdAtras->setEnabled(false);
    ui->cmdSiguiente->setEnabled(false);
}

void frmMain::finaliza() {
    const std::optional<Envio> envio = Genera_archivo(this, *store_, NoPatente_, programFolder_);
    if (!envio)
        return;
    firma_.registra(*envio);
    if (envio->resultado == Envio::Resultado::Firmado)
        terminaAsistente();
}

void frmMain::Inicializa_0() {
    muestraPagina(1);

    setupGrid(paginaApoderado_->fgAA,
              {QStringLiteral("Nombre"), QStringLiteral("Ap.Paterno"), QStringLiteral("Ap.Materno"),
               QStringLiteral("RFC"), QStringLiteral("CURP"), QStringLiteral("Tipo Mandato"),
               QStringLiteral("Operando (Con gafete)")},
              {2150, 2150, 2000, 1300, 1700, 1750});
    setupGrid(paginaApoderado_->fgAduanasAct, {QStringLiteral("Aduana")}, {5200});
    setupGrid(paginaApoderado_->fgPedTramitados,
              {QStringLiteral("Aduana"), QStringLiteral("Pedimento"), QStringLiteral("Fecha")}, {3380, 1000, 1600});
    setupGrid(paginaHistoricoAA_->fgDatosAA,
              {QStringLiteral("Nombre"), QStringLiteral("Ap.Paterno"), QStringLiteral("Ap.Materno"),
               QStringLiteral("CURP"), QStringLiteral("RFC")},
              {3000, 3000, 3000, 2050, 2050});
    setupGrid(
        paginaHistoricoAA_->fgPeriodosAA,
        {QStringLiteral("No."), QStringLiteral("Aduana"), QStringLiteral("F. Inicial"), QStringLiteral("F. Final")},
        {1050, 5000, 2500, 2500});
    setupGrid(
        paginaMandatarios_->fgMandatarios,
        {QStringLiteral("Nombre"), QStringLiteral("Ap.Paterno"), QStringLiteral("Ap.Materno"), QStringLiteral("CURP")},
        {3000, 3000, 3000, 2050});
    setupGrid(paginaMandatarios_->fgPeriodosMandatario,
              {QStringLiteral("Patente"), QStringLiteral("No."), QStringLiteral("Aduana"), QStringLiteral("F. Inicial"),
               QStringLiteral("F. Final")},
              {1070, 1000, 5000, 2000, 2000});
}

void frmMain::Inicializa_Combos() {
    Store& store = *store_;
    Llena_Aduanas(store, paginaAA_->cmbAANoAduanaA, paginaAA_->cmbAAAduanaA);
    pairCombos(paginaAA_->cmbAANoAduanaA, paginaAA_->cmbAAAduanaA);
    for (const BloqueDomicilio* block :
         {&paginaAA_->fiscal, &paginaAA_->oirR, &paginaApoderado_->particular, &paginaApoderado_->fiscal}) {
        Llena_EntFed(store, block->cveEntFed, block->entFed);
        block->connectCatalogues(store);
        Llena_MpioDeleg(store, block->noMDeleg, block->mDeleg, block->cveEntFed->currentText());
    }
}

void frmMain::Inicializa_datos() {
    Store& store = *store_;
    const std::optional<AgenteAduanal> agente = store.agente();
    if (!agente) {
        inform(this, QStringLiteral("No se encontó información de la vesión anterior de TOLVEK"),
               MessageIcon::Exclamation);
        return;
    }
    PaginaAA& p = *paginaAA_;
    p.txtPatente->setText(QString::number(agente->patente));
    NoPatente_ = p.txtPatente->text();
    p.txtAANombre->setText(agente->nombre);
    p.txtAAApPat->setText(agente->apPaterno);
    p.txtAAApMat->setText(agente->apMaterno);
    p.txtAARFC->setText(agente->rfc);
    p.txtAACURP->setText(agente->curp);
    p.txtAutorizacion->setText(QString::number(agente->autorizacion));
    const int office =
        agente->adscripcion.isNull() ? -1 : findItem(p.cmbAANoAduanaA, numberText(agente->adscripcion.toLongLong()));
    p.cmbAAAduanaA->setCurrentIndex(office);
    p.cmbAANoAduanaA->setCurrentIndex(office);
    p.fiscal.muestra(store, agente->fiscal);
    p.oirR.muestra(store, agente->notificaciones);
    listaMandatarios_->Llena_Mandatarios();
    historicoMandatarios_->Llena_Hist_Mandatarios();
    historicoAA_->Llena_Hist_AA();
}

void frmMain::setSiguiente(Siguiente siguiente) {
    siguiente_ = siguiente;
    switch (siguiente) {
    case Siguiente::Siguiente:
        ui->cmdSiguiente->setText(QStringLiteral("Siguiente >"));
        break;
    case Siguiente::Siguente:
        // The caption the button has always shown after page 1 when aspirants exist.
        ui->cmdSiguiente->setText(QStringLiteral("Siguente >"));
        break;
    case Siguiente::Finaliza:
        ui->cmdSiguiente->setText(QStringLiteral("Finaliza"));
        break;
    }
}

void frmMain::mandatariosCambiados() {
    try {
        historicoMandatarios_->Llena_Hist_Mandatarios();
        setSiguiente(store_->hayAspirantes() ? Siguiente::Siguiente : Siguiente::Finaliza);
    } catch (const DatabaseError& e) {
        inform(this, QStringLiteral("No se pudo leer la lista de Mandatarios:\n%1").arg(e.message()),
               MessageIcon::Exclamation);
    }
}

bool frmMain::guardaPagina1() {
    PaginaAA& p = *paginaAA_;
    p.txtAutorizacion->setText(QStringLiteral("0"));
    try {
        const AgenteAduanal agente = p.agente();
        store_->guardaAgente(agente);
        // Only once stored, and as stored: the patente names the information file, which is written from the
        // database, so "0470" is 470 in this run as in any later one.
        NoPatente_ = QString::number(agente.patente);
    } catch (const DatabaseError& e) {
        inform(this,
               QStringLiteral("No se pudo guardar la información del Agente Aduanal; se conserva la anterior.\n%1")
                   .arg(e.message()),
               MessageIcon::Exclamation);
        return false;
    }
    return true;
}

void frmMain::cmdSiguiente_Click() {
    Store& store = *store_;
    try {
        switch (pagina_) {
        case 1:
            if (!paginaAA_->Valida_AA() || !guardaPagina1())
                return;
            muestraPagina(2);
            setSiguiente(store.hayAspirantes() ? Siguiente::Siguente : Siguiente::Finaliza);
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
            if (!Verifica_Datos_p4(paginaMandatarios_->fgMandatarios))
                return;
            finaliza();
            break;
        }
    } catch (const DatabaseError& e) {
        inform(this, QStringLiteral("No se pudo leer la base de datos:\n%1").arg(e.message()),
               MessageIcon::Exclamation);
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
    if (ui->cmdSiguiente->isEnabled() &&
        !confirm(this, QStringLiteral("¿Desea salir de la aplicación?, aun no a generado el archivo de información"),
                 kTitleMendaje))
        return;
    termina();
}

void frmMain::termina() {
    // Leaving the event loop closes this window once more, which would come back here.
    if (terminando_)
        return;
    terminando_ = true;
    // A file left unsigned by a failed signing must not stay in ENVIO to be sent by mistake; the list on disk
    // names those of this run and any an earlier run could not hand off.
    Borra_Archivo_Sin_Firma(this, programFolder_, firma_.sinFirma);
    QApplication::quit();
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    termina();
}
