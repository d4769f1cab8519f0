#include "representative/frmApoderado.h"

#include "ui_frmApoderado.h"

#include "data/Catalogos.h"
#include "data/Mandato.h"
#include "data/Rutinas.h"
#include "platform/Capture.h"
#include "platform/Database.h"
#include "platform/FileDialogs.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "representative/Mandatarios.h"
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

DomicilioMandatario domicilio(const BloqueDomicilio& b) {
    DomicilioMandatario d;
    d.entFed = b.cveEntFed->currentText();
    // The municipality goes in as the number its list shows (" 15" is 15).
    if (b.noMDeleg->currentIndex() >= 0)
        d.mDeleg = b.noMDeleg->currentText().trimmed().toLongLong();
    d.calle = b.calle->text();
    d.noExt = b.noExt->text();
    d.noInt = b.noInt->text();
    d.colonia = b.colonia->text();
    d.cp = b.cp->text();
    d.telefono = b.telefono->text();
    d.fax = b.fax->text();
    return d;
}

void informaCatalogo(QWidget* parent, const DatabaseError& e) {
    inform(parent, QStringLiteral("No se pudo leer el catálogo de Aduanas:\n%1").arg(e.message()),
           MessageIcon::Exclamation);
}

} // namespace

frmApoderado::frmApoderado(Database& db, const QString& Modo, const QString& curp, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmApoderado>()), db_(db), Modo_(Modo) {
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
        Llena_EntFed(db_, block->cveEntFed, block->entFed);
        block->connectCatalogues(db_);
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
    Query q = db_.select(QStringLiteral("select * from Mandatarios where CURP=?"), {curpAnterior_});
    if (q.next()) {
        ui->txtNombre->setText(q.text(2));
        ui->txtApPaterno->setText(q.text(3));
        ui->txtApMaterno->setText(q.text(4));
        ui->txtCURP->setText(q.text(0));
        ui->txtRFC->setText(q.text(1));
        // Only the two types this window offers are chosen; any other stored type (imported data) leaves the
        // choice to the user before he may store.
        const qint64 mandato = q.isNull(5) ? 0 : q.number(5);
        if (mandato == 1 || mandato == 2)
            ui->cmbMandato->setCurrentIndex(int(mandato - 1));
        ui->txtRequerimiento->setText(q.text(6));
        // A fresh window has neither option chosen, which is what 0 or Null mean.
        if (!q.isNull(7) && q.number(7) == 1)
            ui->optNTCL->setChecked(true);
        else if (!q.isNull(7) && q.number(7) == 2)
            ui->optExamen->setChecked(true);
        // 2 is what the import stores when it does not know: the user must say.
        if (!q.isNull(8) && q.number(8) == 0)
            ui->optNo->setChecked(true);
        else if (!q.isNull(8) && q.number(8) == 1)
            ui->optSi->setChecked(true);
    }
    // Loaded whatever the stored type: rows of an imported representative then show as soon as type 1 is chosen.
    Llena_Aduana_PedTram();
    Llena_Domicilio_M(db_, particular_, curpAnterior_, 1);
    Llena_Domicilio_M(db_, fiscal_, curpAnterior_, 2);
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

void frmApoderado::Llena_Aduana_PedTram() {
    Query aduanas = db_.select(QStringLiteral("select NoAduana,Aduana from Aduanas_MM AM, Aduanas A "
                                              "where AM.NoAduana=cveAduana and CURP=?"),
                               {curpAnterior_});
    while (aduanas.next())
        appendRow(ui->fgAduanasAct, {numberText(aduanas.number(0)), aduanas.text(1)});
    Query pedimentos = db_.select(QStringLiteral("select NoAduana,Aduana,NoPedimento,FechPedimento "
                                                 "from Pedimentos_MM AM, Aduanas A "
                                                 "where AM.NoAduana=cveAduana and CURP=?"),
                                  {curpAnterior_});
    while (pedimentos.next())
        appendRow(ui->fgPedTramitados, {numberText(pedimentos.number(0)), pedimentos.text(1), pedimentos.text(2),
                                        dateText(pedimentos.date(3))});
    // With offices loaded, a further declaration must be possible without adding an office first (the office would
    // be refused as already in the list).
    if (rowCount(ui->fgPedTramitados) > 0 || rowCount(ui->fgAduanasAct) > 0)
        ui->cmdNuevoPed->setEnabled(true);
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

Mandatario frmApoderado::captura() const {
    Mandatario m;
    m.curp = ui->txtCURP->text();
    m.rfc = ui->txtRFC->text();
    m.nombre = ui->txtNombre->text();
    m.apPaterno = ui->txtApPaterno->text();
    m.apMaterno = ui->txtApMaterno->text();
    m.mandato = ui->cmbMandato->currentIndex() + 1;
    m.requerimiento = ui->txtRequerimiento->text();
    // A type 1 representative carries no accreditation, whatever was chosen before the type changed.
    m.acreditacion = m.mandato == 1 ? 0 : (ui->optNTCL->isChecked() ? 1 : 2);
    m.operando = ui->optSi->isChecked() ? 1 : 0;
    m.particular = domicilio(particular_);
    m.fiscal = domicilio(fiscal_);
    for (int r = 0; r < rowCount(ui->fgAduanasAct); ++r)
        m.aduanas << cellText(ui->fgAduanasAct, r, 0).trimmed().toLongLong();
    for (int r = 0; r < rowCount(ui->fgPedTramitados); ++r) {
        m.pedimentos << PedimentoMandatario{
            cellText(ui->fgPedTramitados, r, 0).trimmed().toLongLong(), cellText(ui->fgPedTramitados, r, 2),
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
    c.mandato = ui->cmbMandato->currentIndex() + 1;
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
        if (existeMandatario(db_, m.curp) && m.curp != curpAnterior_) {
            inform(this, QStringLiteral("YA EXISTE EL MANDATARIO EN LA BASE DE DATOS."), MessageIcon::None);
            return;
        }
        guardaMandatario(db_, Modo_ == QLatin1String("E") ? std::optional<QString>(curpAnterior_) : std::nullopt, m);
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
        frmAduanaAct dialog(db_, columna0(ui->fgAduanasAct), this);
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
        frmPedTramitados dialog(db_, columna0(ui->fgAduanasAct), this);
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
