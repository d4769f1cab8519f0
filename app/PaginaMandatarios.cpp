#include "app/PaginaMandatarios.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

PaginaMandatarios::PaginaMandatarios(QWidget* parent) : QGroupBox(QStringLiteral("Historico Mandatario"), parent) {
    setObjectName(QStringLiteral("frMandatarios"));
    setToolTip(QStringLiteral(
        "Se debe capturar la Información del Aspirante a Mandatario y los Agentes Aduanales con que ha actuado."));
    auto* page = new QVBoxLayout(this);
    auto* label29 = new QLabel(
        QStringLiteral(
            "Se debe capturar la información de los Agentes Aduanales con que ha actuado el Aspirante a Mandatario"),
        this);
    label29->setObjectName(QStringLiteral("Label29"));
    label29->setWordWrap(true);
    page->addWidget(label29);

    auto* frame7 = new QGroupBox(QStringLiteral("Datos de Aspirantes:"), this);
    frame7->setObjectName(QStringLiteral("Frame7"));
    fgMandatarios = new QTableWidget(frame7);
    fgMandatarios->setObjectName(QStringLiteral("fgMandatarios"));
    (new QVBoxLayout(frame7))->addWidget(fgMandatarios);
    page->addWidget(frame7, 1);

    auto* frame8 =
        new QGroupBox(QStringLiteral("Agentes Aduanales y Periodos en los que actuo el Aspirante seleccionado:"), this);
    frame8->setObjectName(QStringLiteral("Frame8"));
    auto* periods = new QHBoxLayout(frame8);
    fgPeriodosMandatario = new QTableWidget(frame8);
    fgPeriodosMandatario->setObjectName(QStringLiteral("fgPeriodosMandatario"));
    periods->addWidget(fgPeriodosMandatario, 1);
    auto* buttons = new QVBoxLayout;
    cmdMandNuevo = new QPushButton(QStringLiteral("Nuevo"), frame8);
    cmdMandNuevo->setObjectName(QStringLiteral("cmdMandNuevo"));
    cmdMandNuevo->setEnabled(false);
    cmdMandBorrar = new QPushButton(QStringLiteral("Borrar"), frame8);
    cmdMandBorrar->setObjectName(QStringLiteral("cmdMandBorrar"));
    cmdMandBorrar->setEnabled(false);
    buttons->addWidget(cmdMandNuevo);
    buttons->addWidget(cmdMandBorrar);
    buttons->addStretch();
    periods->addLayout(buttons);
    page->addWidget(frame8, 1);
}
