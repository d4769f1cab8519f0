#include "representative/frmApoderado.h"

#include "ui_frmApoderado.h"

#include "data/ListModel.h"
#include "data/Mandato.h"
#include "data/Rutinas.h"
#include "data/Store.h"
#include "platform/Database.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "representative/Requerimiento.h"
#include "representative/RevisaMandatario.h"
#include "representative/frmAduanaAct.h"
#include "representative/frmPedTramitados.h"
#include "widgets/AvisoDigito.h"
#include "widgets/BloqueDomicilio.h"
#include "widgets/Capture.h"
#include "widgets/Catalogos.h"
#include "widgets/Grid.h"

#include <QDir>
#include <QItemSelectionModel>

namespace {

// Rows keyed by office number, the link between an office and its declarations.
ListRow filaAduana(const Aduana& a) {
    return {numberText(a.numero), {numberText(a.numero), a.nombre}};
}

ListRow filaPedimento(const Pedimento& p) {
    return {numberText(p.aduana.numero),
            {numberText(p.aduana.numero), p.aduana.nombre, p.noPedimento, dateText(p.fecha)}};
}

const QString kCatalogoIlegible = QStringLiteral("No se pudo leer el catálogo de Aduanas:\n%1");

} // namespace

frmApoderado::frmApoderado(Store& store, std::optional<Mandatario> valor, QWidget* parent)
    : CaptureDialog(parent), ui(std::make_unique<Ui::frmApoderado>()), store_(store),
      fgAduanasAct_(new ListModel({QStringLiteral("No.Aduana"), QStringLiteral("Aduana")}, this)),
      fgPedTramitados_(new ListModel(
          {QStringLiteral("No.Aduana"), QStringLiteral("Aduana"), QStringLiteral("Pedimento"), QStringLiteral("Fecha")},
          this)) {
    ui->setupUi(this);
    particular_ =
        BloqueDomicilio::build(ui->Frame6,
                               {QStringLiteral("txtCalle"), QStringLiteral("txtNoExt"), QStringLiteral("txtNoInt"),
                                QStringLiteral("txtColonia"), QStringLiteral("txtCP"), QStringLiteral("txtTelefono"),
                                QStringLiteral("txtFax"), QStringLiteral("cmbcveEntFed"), QStringLiteral("cmbEntFed"),
                                QStringLiteral("cmbNoMDeleg"), QStringLiteral("cmbMDeleg")},
                               true);
    fiscal_ = BloqueDomicilio::build(
        ui->Frame1,
        {QStringLiteral("txtFiscalCalle"), QStringLiteral("txtFiscalNoExt"), QStringLiteral("txtFiscalNoInt"),
         QStringLiteral("txtFiscalColonia"), QStringLiteral("txtFiscalCP"), QStringLiteral("txtFiscalTelefono"),
         QStringLiteral("txtFiscalFax"), QStringLiteral("cmbFiscalCveEntFed"), QStringLiteral("cmbFiscalEntFed"),
         QStringLiteral("cmbFiscalNoMDeleg"), QStringLiteral("cmbFiscalMDeleg")},
        true);
    for (QLineEdit* box : {ui->txtNombre, ui->txtApPaterno, ui->txtApMaterno, ui->txtCURP, ui->txtRFC})
        makeCaptureBox(box);
    avisaDigitoVerificador(ui->txtCURP, Identificador::CURP);
    avisaDigitoVerificador(ui->txtRFC, Identificador::RFC);
    ordenTabulador();

    for (const ReglasMandato& tipo : tiposMandato())
        if (tipo.seCaptura)
            ui->cmbMandato->addItem(tipo.texto, codigoMandato(tipo.mandato));
    ui->cmbMandato->setCurrentIndex(-1);
    connect(ui->cmbMandato, &QComboBox::currentIndexChanged, this, &frmApoderado::cmbMandato_Click);

    setupView(ui->fgAduanasAct, fgAduanasAct_, {1000, 3600});
    setupView(ui->fgPedTramitados, fgPedTramitados_, {1000, 2280, 1000, 1600});
    ui->cmdBorrarAduana->setEnabled(false);
    ui->cmdNuevoPed->setEnabled(false);
    ui->cmdBorrarPed->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{ui->frAcreditacion, ui->frAduanasAct, ui->frPedTramitados,
                                                      ui->lblRequerimiento, ui->txtRequerimiento, ui->cmdBuscar})
        w->setVisible(false);

    for (const BloqueDomicilio* block : {&particular_, &fiscal_}) {
        Llena_EntFed(store_, block->cveEntFed, block->entFed);
        block->connectCatalogues(store_);
    }

    connect(ui->cmdBuscar, &QPushButton::clicked, this, &frmApoderado::cmdBuscar_Click);
    connect(ui->cmdAceptar, &QPushButton::clicked, this, &frmApoderado::cmdAceptar_Click);
    connect(ui->cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->cmdNuevaAduana, &QPushButton::clicked, this, &frmApoderado::cmdNuevaAduana_Click);
    connect(ui->cmdBorrarAduana, &QPushButton::clicked, this, &frmApoderado::cmdBorrarAduana_Click);
    connect(ui->cmdNuevoPed, &QPushButton::clicked, this, &frmApoderado::cmdNuevoPed_Click);
    connect(ui->cmdBorrarPed, &QPushButton::clicked, this, &frmApoderado::cmdBorrarPed_Click);
    onRowKeys(
        ui->fgAduanasAct, [this] { corrigeAduana(); }, [this] { cmdBorrarAduana_Click(); });
    onRowKeys(
        ui->fgPedTramitados, [this] { corrigePedimento(); }, [this] { cmdBorrarPed_Click(); });
    connect(ui->fgAduanasAct->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmApoderado::fgAduanasAct_Click);
    connect(ui->fgPedTramitados->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmApoderado::fgPedTramitados_Click);

    const std::optional<Mandatario>& m = valor;
    if (!m)
        return;
    ui->txtNombre->setText(m->nombre);
    ui->txtApPaterno->setText(m->apPaterno);
    ui->txtApMaterno->setText(m->apMaterno);
    ui->txtCURP->setText(m->curp);
    ui->txtRFC->setText(m->rfc);
    // Only a type this window offers is chosen; any other stored type (imported data) leaves the choice to the
    // user before he may store.
    ui->cmbMandato->setCurrentIndex(ui->cmbMandato->findData(codigoMandato(m->mandato)));
    ui->txtRequerimiento->setText(m->requerimiento);
    // A fresh window has neither option chosen, which is what 0 means.
    if (m->acreditacion == 1)
        ui->optNTCL->setChecked(true);
    else if (m->acreditacion == 2)
        ui->optExamen->setChecked(true);
    // 2 is what the import stores when it does not know: the user must say.
    if (m->operando == 0)
        ui->optNo->setChecked(true);
    else if (m->operando == 1)
        ui->optSi->setChecked(true);
    // Loaded whatever the stored type: rows of an imported representative then show as soon as type 1 is chosen.
    aduanas_ = m->aduanas;
    pedimentos_ = m->pedimentos;
    muestraListas();
    // With offices loaded, a further declaration must be possible without adding an office first (the office would
    // be refused as already in the list).
    if (!m->aduanas.isEmpty() || !m->pedimentos.isEmpty())
        ui->cmdNuevoPed->setEnabled(true);
    particular_.muestra(m->particular);
    fiscal_.muestra(m->fiscal);
}

frmApoderado::~frmApoderado() = default;

void frmApoderado::ordenTabulador() {
    // As on screen: the accreditation stands where the offices stand for the other mandate type.
    QList<QWidget*> order = {ui->cmbMandato, ui->txtNombre, ui->txtApPaterno, ui->txtApMaterno,
                             ui->txtCURP,    ui->txtRFC,    ui->optSi,        ui->optNo};
    order << particular_.inTabOrder() << fiscal_.inTabOrder();
    order << QList<QWidget*>{ui->cmdBuscar,      ui->optNTCL,         ui->optExamen,       ui->fgAduanasAct,
                             ui->cmdNuevaAduana, ui->cmdBorrarAduana, ui->fgPedTramitados, ui->cmdNuevoPed,
                             ui->cmdBorrarPed,   ui->cmdAceptar,      ui->cmdCancelar};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void frmApoderado::cmbMandato_Click(int index) {
    if (index < 0)
        return;
    const ReglasMandato& tipo = reglas(mandatoElegido());
    ui->frAcreditacion->setVisible(tipo.conAcreditacion);
    ui->frAduanasAct->setVisible(tipo.conAduanas);
    ui->frPedTramitados->setVisible(tipo.conAduanas);
    ui->lblRequerimiento->setVisible(tipo.conRequerimiento);
    ui->txtRequerimiento->setVisible(tipo.conRequerimiento);
    ui->cmdBuscar->setVisible(tipo.conRequerimiento);
}

void frmApoderado::cmdBuscar_Click() {
#ifdef Q_OS_WIN
    const QString folder = QStringLiteral("c:\\");
#else
    const QString folder = homeFolder();
#endif
    const QString path =
        FileDialogs::openFileName(this, QStringLiteral("Abrir"), folder, QStringLiteral("Archivo_llave (*.req)"));
    if (!path.isEmpty())
        ui->txtRequerimiento->setText(QDir::toNativeSeparators(path));
}

Mandato frmApoderado::mandatoElegido() const {
    return mandatoDeCodigo(ui->cmbMandato->currentData());
}

void frmApoderado::agregaAduana(const Aduana& a) {
    aduanas_ << a;
    fgAduanasAct_->append(filaAduana(a));
}

void frmApoderado::agregaPedimento(const Pedimento& p) {
    pedimentos_ << p;
    fgPedTramitados_->append(filaPedimento(p));
}

Mandatario frmApoderado::mandatario() const {
    Mandatario m;
    m.curp = ui->txtCURP->text();
    m.rfc = ui->txtRFC->text();
    m.nombre = ui->txtNombre->text();
    m.apPaterno = ui->txtApPaterno->text();
    m.apMaterno = ui->txtApMaterno->text();
    m.mandato = mandatoElegido();
    m.requerimiento = ui->txtRequerimiento->text();
    // A type without accreditation carries none, whatever was chosen before the type changed.
    m.acreditacion = reglas(m.mandato).conAcreditacion ? (ui->optNTCL->isChecked() ? 1 : 2) : 0;
    m.operando = ui->optSi->isChecked() ? 1 : 0;
    m.particular = particular_.domicilio();
    m.fiscal = fiscal_.domicilio();
    m.aduanas = aduanas_;
    m.pedimentos = pedimentos_;
    return m;
}

void frmApoderado::cmdAceptar_Click() {
    CapturaMandatario c;
    c.nombre = ui->txtNombre->text();
    c.apPaterno = ui->txtApPaterno->text();
    c.apMaterno = ui->txtApMaterno->text();
    c.curp = ui->txtCURP->text();
    c.rfc = ui->txtRFC->text();
    c.particular = particular_.textos();
    c.fiscal = fiscal_.textos();
    c.mandato = mandatoElegido();
    c.requerimiento = ui->txtRequerimiento->text();
    c.aduanas = int(aduanas_.size());
    c.ntcl = ui->optNTCL->isChecked();
    c.examen = ui->optExamen->isChecked();
    c.si = ui->optSi->isChecked();
    c.no = ui->optNo->isChecked();

    if (const std::optional<FaltaMandatario> falta = revisaMandatario(c)) {
        if (falta->campo == CampoMandatario::Particular || falta->campo == CampoMandatario::Fiscal) {
            Valida_Domicilio(this, falta->campo == CampoMandatario::Particular ? particular_ : fiscal_);
            return;
        }
        inform(this, falta->mensaje);
        QWidget* focus = nullptr;
        switch (falta->campo) {
        case CampoMandatario::Nombre:
            focus = ui->txtNombre;
            break;
        case CampoMandatario::ApPaterno:
            focus = ui->txtApPaterno;
            break;
        case CampoMandatario::ApMaterno:
            focus = ui->txtApMaterno;
            break;
        case CampoMandatario::CURP:
            focus = ui->txtCURP;
            break;
        case CampoMandatario::RFC:
            focus = ui->txtRFC;
            break;
        case CampoMandatario::Mandato:
            focus = ui->cmbMandato;
            break;
        case CampoMandatario::Requerimiento:
            focus = ui->cmdBuscar;
            break;
        case CampoMandatario::Aduanas:
            focus = ui->cmdNuevaAduana;
            break;
        case CampoMandatario::Acreditacion:
            focus = ui->optNTCL;
            break;
        case CampoMandatario::Operando:
            focus = ui->optSi;
            break;
        case CampoMandatario::Particular:
        case CampoMandatario::Fiscal:
            break;
        }
        if (focus)
            focus->setFocus();
        return;
    }

    // Only the file's name was checked so far: a copied or renamed request of another person would pass.
    if (const std::optional<QString> pregunta = preguntaRequerimiento(c.requerimiento, c.rfc, c.curp);
        pregunta && !confirmDestructive(this, *pregunta, kTitleMensaje)) {
        ui->cmdBuscar->setFocus();
        return;
    }
    if (guarda_ && !guarda_(mandatario(), this))
        return;
    accept();
}

void frmApoderado::fgAduanasAct_Click() {
    if (!aduanas_.isEmpty())
        ui->cmdBorrarAduana->setEnabled(true);
}

void frmApoderado::fgPedTramitados_Click() {
    if (!pedimentos_.isEmpty())
        ui->cmdBorrarPed->setEnabled(true);
}

void frmApoderado::cmdNuevaAduana_Click() {
    intenta(this, kCatalogoIlegible, [this] {
        frmAduanaAct dialog(store_, aduanas_, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        agregaAduana(dialog.aduana());
        focusRow(ui->fgAduanasAct, int(aduanas_.size()) - 1);
    });
    if (!aduanas_.isEmpty())
        ui->cmdNuevoPed->setEnabled(true);
}

void frmApoderado::cmdNuevoPed_Click() {
    intenta(this, kCatalogoIlegible, [this] {
        frmPedTramitados dialog(store_, aduanas_, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        agregaPedimento(dialog.pedimento());
        focusRow(ui->fgPedTramitados, int(pedimentos_.size()) - 1);
    });
}

void frmApoderado::corrigeAduana() {
    const int row = selectedRow(ui->fgAduanasAct);
    if (row < 0 || row >= aduanas_.size())
        return;
    intenta(this, kCatalogoIlegible, [&] {
        QList<Aduana> otras = aduanas_;
        otras.removeAt(row);
        frmAduanaAct dialog(store_, otras, this);
        dialog.muestra(aduanas_.at(row));
        if (dialog.exec() != QDialog::Accepted)
            return;
        const Aduana nueva = dialog.aduana();
        for (Pedimento& p : pedimentos_) {
            if (p.aduana.numero == aduanas_.at(row).numero)
                p.aduana = nueva;
        }
        aduanas_[row] = nueva;
        muestraListas();
    });
    focusRow(ui->fgAduanasAct, row);
}

void frmApoderado::corrigePedimento() {
    const int row = selectedRow(ui->fgPedTramitados);
    if (row < 0 || row >= pedimentos_.size())
        return;
    intenta(this, kCatalogoIlegible, [&] {
        frmPedTramitados dialog(store_, aduanas_, this);
        dialog.muestra(pedimentos_.at(row));
        if (dialog.exec() != QDialog::Accepted)
            return;
        pedimentos_[row] = dialog.pedimento();
        fgPedTramitados_->replace(row, filaPedimento(pedimentos_.at(row)));
    });
    focusRow(ui->fgPedTramitados, row);
}

void frmApoderado::muestraListas() {
    QList<ListRow> aduanas;
    for (const Aduana& a : aduanas_)
        aduanas << filaAduana(a);
    fgAduanasAct_->setRows(aduanas);
    QList<ListRow> pedimentos;
    for (const Pedimento& p : pedimentos_)
        pedimentos << filaPedimento(p);
    fgPedTramitados_->setRows(pedimentos);
}

void frmApoderado::cmdBorrarAduana_Click() {
    const int row = selectedRow(ui->fgAduanasAct);
    if (row < 0)
        return;
    if (confirmDestructive(this,
                           QStringLiteral("¿DESEA BORRAR LA ADUANA SELECCIONADA Y LOS PEDIMENTOS RELACIONADOS?"))) {
        const qint64 aduana = aduanas_.at(row).numero;
        pedimentos_.removeIf([aduana](const Pedimento& p) { return p.aduana.numero == aduana; });
        aduanas_.removeAt(row);
        muestraListas();
    }
    // The cursor stays in the list, on the office or on the one after it.
    focusRow(ui->fgAduanasAct, std::min(row, int(aduanas_.size()) - 1));
}

void frmApoderado::cmdBorrarPed_Click() {
    const int row = selectedRow(ui->fgPedTramitados);
    if (row < 0)
        return;
    if (confirmDestructive(this, QStringLiteral("¿DESEA BORRAR EL PERIODO SELECCIONADO?"))) {
        pedimentos_.removeAt(row);
        fgPedTramitados_->remove(row);
    }
    focusRow(ui->fgPedTramitados, std::min(row, int(pedimentos_.size()) - 1));
}
