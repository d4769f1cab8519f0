#include "representative/frmApoderado.h"

#include "ui_frmApoderado.h"

#include "data/BloqueDomicilio.h"
#include "data/Catalogos.h"
#include "data/Mandato.h"
#include "data/Rutinas.h"
#include "data/Store.h"
#include "platform/Capture.h"
#include "platform/Database.h"
#include "platform/FileDialogs.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "representative/RevisaMandatario.h"
#include "representative/frmAduanaAct.h"
#include "representative/frmPedTramitados.h"

#include <QDir>

namespace {

QStringList columna0(const QTableWidget* grid) {
    QStringList cells;
    for (int r = 0; r < rowCount(grid); ++r)
        cells << cellText(grid, r, 0);
    return cells;
}

void informaCatalogo(QWidget* parent, const DatabaseError& e) {
    inform(parent, QStringLiteral("No se pudo leer el catálogo de Aduanas:\n%1").arg(e.message()),
           MessageIcon::Exclamation);
}

} // namespace

frmApoderado::frmApoderado(Store& store, const QString& Modo, const QString& curp, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmApoderado>()), store_(store), Modo_(Modo) {
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
    ordenTabulador();

    ui->cmbMandato->addItem(Mandato_Anterior);
    ui->cmbMandato->addItem(Mandato_Conforme);
    ui->cmbMandato->setCurrentIndex(-1);
    connect(ui->cmbMandato, &QComboBox::currentIndexChanged, this, &frmApoderado::cmbMandato_Click);

    setupGrid(ui->fgAduanasAct, {QStringLiteral("No.Aduana"), QStringLiteral("Aduana")}, {1000, 3600});
    setupGrid(
        ui->fgPedTramitados,
        {QStringLiteral("No.Aduana"), QStringLiteral("Aduana"), QStringLiteral("Pedimento"), QStringLiteral("Fecha")},
        {1000, 2280, 1000, 1600});
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
    connect(ui->fgAduanasAct, &QTableWidget::cellClicked, this, &frmApoderado::fgAduanasAct_Click);
    connect(ui->fgAduanasAct, &QTableWidget::itemSelectionChanged, this, &frmApoderado::fgAduanasAct_Click);
    connect(ui->fgPedTramitados, &QTableWidget::cellClicked, this, &frmApoderado::fgPedTramitados_Click);
    connect(ui->fgPedTramitados, &QTableWidget::itemSelectionChanged, this, &frmApoderado::fgPedTramitados_Click);

    if (Modo_ != QLatin1String("E"))
        return;
    curpAnterior_ = curp;
    const std::optional<Mandatario> m = store_.mandatario(curpAnterior_);
    if (!m)
        return;
    ui->txtNombre->setText(m->nombre);
    ui->txtApPaterno->setText(m->apPaterno);
    ui->txtApMaterno->setText(m->apMaterno);
    ui->txtCURP->setText(m->curp);
    ui->txtRFC->setText(m->rfc);
    // Only the two types this window offers are chosen; any other stored type (imported data) leaves the
    // choice to the user before he may store.
    if (m->mandato == Mandato::Anterior || m->mandato == Mandato::Conforme)
        ui->cmbMandato->setCurrentIndex(static_cast<int>(m->mandato) - 1);
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
    for (const Aduana& a : m->aduanas)
        appendRow(ui->fgAduanasAct, {numberText(a.numero), a.nombre});
    for (const Pedimento& p : m->pedimentos)
        appendRow(ui->fgPedTramitados,
                  {numberText(p.aduana.numero), p.aduana.nombre, p.noPedimento, dateText(p.fecha)});
    // With offices loaded, a further declaration must be possible without adding an office first (the office would
    // be refused as already in the list).
    if (!m->aduanas.isEmpty() || !m->pedimentos.isEmpty())
        ui->cmdNuevoPed->setEnabled(true);
    particular_.muestra(store_, m->particular);
    fiscal_.muestra(store_, m->fiscal);
}

frmApoderado::~frmApoderado() = default;

QString frmApoderado::Respuesta_Apoderado() const {
    return result() == QDialog::Accepted ? QStringLiteral("A") : QStringLiteral("C");
}

void frmApoderado::ordenTabulador() {
    const BloqueDomicilio& p = particular_;
    const BloqueDomicilio& f = fiscal_;
    const QList<QWidget*> order = {ui->cmbMandato,
                                   ui->txtNombre,
                                   ui->txtApPaterno,
                                   ui->txtApMaterno,
                                   ui->txtCURP,
                                   ui->txtRFC,
                                   ui->optSi,
                                   ui->optNo,
                                   p.calle,
                                   p.noExt,
                                   p.noInt,
                                   p.colonia,
                                   p.cveEntFed,
                                   p.entFed,
                                   p.noMDeleg,
                                   p.mDeleg,
                                   p.cp,
                                   p.telefono,
                                   p.fax,
                                   f.calle,
                                   f.noExt,
                                   f.noInt,
                                   f.colonia,
                                   f.cveEntFed,
                                   f.entFed,
                                   f.noMDeleg,
                                   f.mDeleg,
                                   f.cp,
                                   f.telefono,
                                   f.fax,
                                   ui->cmdBuscar,
                                   ui->cmdNuevaAduana,
                                   ui->cmdBorrarAduana,
                                   ui->fgAduanasAct,
                                   ui->cmdNuevoPed,
                                   ui->cmdBorrarPed,
                                   ui->fgPedTramitados,
                                   ui->cmdAceptar,
                                   ui->cmdCancelar,
                                   ui->optNTCL,
                                   ui->optExamen};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void frmApoderado::cmbMandato_Click(int index) {
    if (index < 0)
        return;
    const bool anterior = index == 0;
    ui->frAcreditacion->setVisible(!anterior);
    ui->frAduanasAct->setVisible(anterior);
    ui->frPedTramitados->setVisible(anterior);
    ui->lblRequerimiento->setVisible(true);
    ui->txtRequerimiento->setVisible(true);
    ui->cmdBuscar->setVisible(true);
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
    // The combo offers the first two types, in code order.
    switch (ui->cmbMandato->currentIndex()) {
    case 0:
        return Mandato::Anterior;
    case 1:
        return Mandato::Conforme;
    default:
        return Mandato::Ninguno;
    }
}

Mandatario frmApoderado::captura() const {
    Mandatario m;
    m.curp = ui->txtCURP->text();
    m.rfc = ui->txtRFC->text();
    m.nombre = ui->txtNombre->text();
    m.apPaterno = ui->txtApPaterno->text();
    m.apMaterno = ui->txtApMaterno->text();
    m.mandato = mandatoElegido();
    m.requerimiento = ui->txtRequerimiento->text();
    // A type Anterior representative carries no accreditation, whatever was chosen before the type changed.
    m.acreditacion = m.mandato == Mandato::Anterior ? 0 : (ui->optNTCL->isChecked() ? 1 : 2);
    m.operando = ui->optSi->isChecked() ? 1 : 0;
    m.particular = particular_.domicilio();
    m.fiscal = fiscal_.domicilio();
    for (int r = 0; r < rowCount(ui->fgAduanasAct); ++r)
        m.aduanas << Aduana{cellText(ui->fgAduanasAct, r, 0).trimmed().toLongLong(), cellText(ui->fgAduanasAct, r, 1)};
    for (int r = 0; r < rowCount(ui->fgPedTramitados); ++r) {
        m.pedimentos << Pedimento{
            {cellText(ui->fgPedTramitados, r, 0).trimmed().toLongLong(), cellText(ui->fgPedTramitados, r, 1)},
            cellText(ui->fgPedTramitados, r, 2),
            QDate::fromString(cellText(ui->fgPedTramitados, r, 3), QStringLiteral("dd/MM/yyyy"))};
    }
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
    c.aduanas = rowCount(ui->fgAduanasAct);
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

    const Mandatario m = captura();
    try {
        if (store_.existeMandatario(m.curp) && m.curp != curpAnterior_) {
            inform(this, QStringLiteral("YA EXISTE EL MANDATARIO EN LA BASE DE DATOS."), MessageIcon::None);
            return;
        }
        store_.guardaMandatario(Modo_ == QLatin1String("E") ? std::optional<QString>(curpAnterior_) : std::nullopt, m);
    } catch (const DatabaseError& e) {
        inform(this,
               QStringLiteral("No se pudo guardar el Mandatario en la base de datos; quedó como estaba.\n%1")
                   .arg(e.message()),
               MessageIcon::Exclamation);
        return;
    }
    curpGuardado_ = m.curp;
    accept();
}

void frmApoderado::fgAduanasAct_Click() {
    if (rowCount(ui->fgAduanasAct) > 0)
        ui->cmdBorrarAduana->setEnabled(true);
}

void frmApoderado::fgPedTramitados_Click() {
    if (rowCount(ui->fgPedTramitados) > 0)
        ui->cmdBorrarPed->setEnabled(true);
}

void frmApoderado::cmdNuevaAduana_Click() {
    try {
        frmAduanaAct dialog(store_, columna0(ui->fgAduanasAct), this);
        if (dialog.exec() == QDialog::Accepted)
            appendRow(ui->fgAduanasAct, dialog.fila());
    } catch (const DatabaseError& e) {
        informaCatalogo(this, e);
    }
    if (rowCount(ui->fgAduanasAct) > 0)
        ui->cmdNuevoPed->setEnabled(true);
}

void frmApoderado::cmdNuevoPed_Click() {
    try {
        frmPedTramitados dialog(store_, columna0(ui->fgAduanasAct), this);
        if (dialog.exec() == QDialog::Accepted)
            appendRow(ui->fgPedTramitados, dialog.fila());
    } catch (const DatabaseError& e) {
        informaCatalogo(this, e);
    }
}

void frmApoderado::cmdBorrarAduana_Click() {
    const int row = selectedRow(ui->fgAduanasAct);
    if (row < 0)
        return;
    if (!confirm(this, QStringLiteral("¿DESEA BORRAR LA ADUANA SELECCIONADA Y LOS PEDIMENTOS RELACIONADOS?")))
        return;
    const QString aduana = cellText(ui->fgAduanasAct, row, 0);
    // From the last row down, so that removing one keeps the positions still to be visited.
    for (int r = rowCount(ui->fgPedTramitados) - 1; r >= 0; --r) {
        if (cellText(ui->fgPedTramitados, r, 0) == aduana)
            removeRow(ui->fgPedTramitados, r);
    }
    removeRow(ui->fgAduanasAct, row);
}

void frmApoderado::cmdBorrarPed_Click() {
    const int row = selectedRow(ui->fgPedTramitados);
    if (row < 0)
        return;
    if (!confirm(this, QStringLiteral("¿DESEA BORRAR EL PERIODO SELECCIONADO?")))
        return;
    removeRow(ui->fgPedTramitados, row);
}
