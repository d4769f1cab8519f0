#include "app/PaginaAA.h"

#include "data/Rutinas.h"
#include "data/Store.h"
#include "platform/Database.h"
#include "platform/Messages.h"
#include "widgets/AvisoDigito.h"
#include "widgets/Capture.h"
#include "widgets/Catalogos.h"
#include "widgets/Named.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QLineEdit* captureBox(QWidget* parent, const char* name, int maxLength) {
    auto* box = named(new QLineEdit(parent), name);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    makeCaptureBox(box);
    return box;
}

} // namespace

PaginaAA::PaginaAA(Store& store, QWidget* parent)
    : QGroupBox(QStringLiteral("Datos del Agente Aduanal"), parent), store_(store) {
    setObjectName(QStringLiteral("frAA"));
    auto* page = new QVBoxLayout(this);

    auto* frame1 =
        new QGroupBox(QStringLiteral("Patente Local o Autorización (Patente Nal.) en caso de contar con ella:"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto* patente = new QHBoxLayout(frame1);
    txtPatente = captureBox(frame1, "txtPatente", 4);
    txtPatente->setToolTip(QStringLiteral("Patente Loca o Autorizacion (Patente Nal.) en case de contar con ella"));
    txtPatente->setMaximumWidth(80);
    txtAutorizacion = named(new QLineEdit(frame1), "txtAutorizacion");
    // Only shown: the broker page always stores 0 there, and the information file does not carry it.
    makeDisplayBox(txtAutorizacion);
    txtAutorizacion->setMaximumWidth(80);
    patente->addWidget(new QLabel(QStringLiteral("Número:"), frame1));
    patente->addWidget(txtPatente);
    patente->addSpacing(24);
    patente->addWidget(new QLabel(QStringLiteral("Autorización Nal. (Patente Nal.):"), frame1));
    patente->addWidget(txtAutorizacion);
    patente->addStretch();
    page->addWidget(frame1);

    auto* identity = new QGridLayout;
    txtAANombre = captureBox(this, "txtAANombre", 25);
    txtAAApPat = captureBox(this, "txtAAApPat", 25);
    txtAAApMat = captureBox(this, "txtAAApMat", 25);
    txtAARFC = captureBox(this, "txtAARFC", 13);
    txtAACURP = captureBox(this, "txtAACURP", 18);
    avisaDigitoVerificador(txtAARFC, Identificador::RFC);
    avisaDigitoVerificador(txtAACURP, Identificador::CURP);
    cmbAANoAduanaA = named(new QComboBox(this), "cmbAANoAduanaA");
    cmbAANoAduanaA->setMinimumContentsLength(4);
    cmbAAAduanaA = named(new QComboBox(this), "cmbAAAduanaA");
    cmbAAAduanaA->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbAAAduanaA->setMinimumContentsLength(30);
    identity->addWidget(new QLabel(QStringLiteral("Nombre:"), this), 0, 0);
    identity->addWidget(txtAANombre, 0, 1);
    identity->addWidget(new QLabel(QStringLiteral("Ap. Paterno:"), this), 0, 2);
    identity->addWidget(txtAAApPat, 0, 3);
    identity->addWidget(new QLabel(QStringLiteral("Ap. Materno:"), this), 0, 4);
    identity->addWidget(txtAAApMat, 0, 5);
    identity->addWidget(new QLabel(QStringLiteral("RFC:"), this), 1, 0);
    identity->addWidget(txtAARFC, 1, 1);
    identity->addWidget(new QLabel(QStringLiteral("CURP:"), this), 1, 2);
    identity->addWidget(txtAACURP, 1, 3);
    auto* office = new QHBoxLayout;
    office->addWidget(cmbAANoAduanaA);
    office->addWidget(cmbAAAduanaA, 1);
    identity->addWidget(new QLabel(QStringLiteral("Aduana de Adscripción:"), this), 2, 0);
    identity->addLayout(office, 2, 1, 1, 5);
    page->addLayout(identity);

    auto* addresses = new QHBoxLayout;
    auto* frame2 = named(new QGroupBox(QStringLiteral("Domicilio Fiscal"), this), "Frame2");
    fiscal = BloqueDomicilio::build(
        frame2,
        {QStringLiteral("txtFiscalCalle"), QStringLiteral("txtFiscalNoExt"), QStringLiteral("txtFiscalNoInt"),
         QStringLiteral("txtFiscalColonia"), QStringLiteral("txtFiscalCP"), QStringLiteral("txtFiscalTelefono"),
         QStringLiteral("txtFiscalFax"), QStringLiteral("cmbFiscalCveEntFed"), QStringLiteral("cmbFiscalEntFed"),
         QStringLiteral("cmbFiscalNoMDeleg"), QStringLiteral("cmbFiscalMDeleg")},
        true);
    auto* frame3 = named(new QGroupBox(QStringLiteral("Domicilio para Oir y Recibir Notificaciones"), this), "Frame3");
    oirR = BloqueDomicilio::build(
        frame3,
        {QStringLiteral("txtOirRCalle"), QStringLiteral("txtOirRNoExt"), QStringLiteral("txtOirRNoInt"),
         QStringLiteral("txtOirRColonia"), QStringLiteral("txtOirRCP"), QStringLiteral("txtOirRTelefono"),
         QStringLiteral("txtOirRFax"), QStringLiteral("cmbOirRCveEntFed"), QStringLiteral("cmbOirREntFed"),
         QStringLiteral("cmbOirRNoMDeleg"), QStringLiteral("cmbOirRMDeleg")},
        true);
    addresses->addWidget(frame2);
    addresses->addWidget(frame3);
    page->addLayout(addresses);
    page->addStretch();

    Llena_Aduanas(store_, cmbAANoAduanaA, cmbAAAduanaA);
    pairCombos(cmbAANoAduanaA, cmbAAAduanaA);
    for (const BloqueDomicilio* block : {&fiscal, &oirR}) {
        Llena_EntFed(store_, block->cveEntFed, block->entFed);
        block->connectCatalogues(store_);
    }
}

std::optional<AgenteAduanal> PaginaAA::muestraAgente() {
    std::optional<AgenteAduanal> agente = store_.agente();
    if (!agente) {
        guardado_ = this->agente();
        return agente;
    }
    txtPatente->setText(QString::number(agente->patente));
    txtAANombre->setText(agente->nombre);
    txtAAApPat->setText(agente->apPaterno);
    txtAAApMat->setText(agente->apMaterno);
    txtAARFC->setText(agente->rfc);
    txtAACURP->setText(agente->curp);
    txtAutorizacion->setText(QString::number(agente->autorizacion));
    const int office =
        agente->adscripcion.isNull() ? -1 : findItem(cmbAANoAduanaA, numberText(agente->adscripcion.toLongLong()));
    cmbAAAduanaA->setCurrentIndex(office);
    cmbAANoAduanaA->setCurrentIndex(office);
    fiscal.muestra(agente->fiscal);
    oirR.muestra(agente->notificaciones);
    guardado_ = this->agente();
    return agente;
}

std::optional<AgenteAduanal> PaginaAA::guarda() {
    if (!Valida_AA())
        return std::nullopt;
    txtAutorizacion->setText(QStringLiteral("0"));
    const AgenteAduanal stored = agente();
    if (!intenta(this,
                 QStringLiteral("No se pudo guardar la información del Agente Aduanal; se conserva la anterior.\n%1"),
                 [&] { store_.guardaAgente(stored); }))
        return std::nullopt;
    guardado_ = stored;
    return stored;
}

bool PaginaAA::Valida_AA() {
    const QList<FaltaAgente> faltas = faltasAgente(textos());
    if (faltas.isEmpty())
        return true;
    // An address tells its fault through its block, the rest here.
    const FaltaAgente& falta = faltas.first();
    if (falta.campo == CampoAgente::Fiscal)
        return Valida_Domicilio(this, fiscal);
    if (falta.campo == CampoAgente::Notificaciones)
        return Valida_Domicilio(this, oirR);
    inform(this, falta.mensaje);
    control(falta)->setFocus();
    return false;
}

void PaginaAA::enfocaFalta() {
    const QList<FaltaAgente> faltas = faltasAgente(textos());
    if (!faltas.isEmpty())
        control(faltas.first())->setFocus();
}

TextosAgente PaginaAA::textos() const {
    return {txtPatente->text(), txtAANombre->text(),         txtAAApPat->text(), txtAAApMat->text(), txtAACURP->text(),
            txtAARFC->text(),   cmbAAAduanaA->currentText(), fiscal.textos(),    oirR.textos()};
}

QWidget* PaginaAA::control(const FaltaAgente& falta) const {
    switch (falta.campo) {
    case CampoAgente::Patente:
        return txtPatente;
    case CampoAgente::Nombre:
        return txtAANombre;
    case CampoAgente::ApPaterno:
        return txtAAApPat;
    case CampoAgente::ApMaterno:
        return txtAAApMat;
    case CampoAgente::CURP:
        return txtAACURP;
    case CampoAgente::RFC:
        return txtAARFC;
    case CampoAgente::Aduana:
        return cmbAAAduanaA;
    case CampoAgente::Fiscal:
        return fiscal.control(falta.domicilio);
    case CampoAgente::Notificaciones:
        return oirR.control(falta.domicilio);
    }
    return txtPatente;
}

AgenteAduanal PaginaAA::agente() const {
    AgenteAduanal a;
    a.patente = txtPatente->text().toLongLong();
    a.curp = txtAACURP->text();
    a.rfc = txtAARFC->text();
    a.nombre = txtAANombre->text();
    a.apPaterno = txtAAApPat->text();
    a.apMaterno = txtAAApMat->text();
    a.autorizacion = txtAutorizacion->text().toLongLong();
    a.adscripcion = chosenNumber(cmbAANoAduanaA);
    a.fiscal = fiscal.domicilio();
    a.notificaciones = oirR.domicilio();
    return a;
}
