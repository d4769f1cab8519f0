#include "app/PaginaHistoricoAA.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

PaginaHistoricoAA::PaginaHistoricoAA(QWidget* parent) : QGroupBox(QStringLiteral("Historico Agente Aduanal"), parent) {
    setObjectName(QStringLiteral("frAA21311"));
    setToolTip(QStringLiteral(
        "Información que corresponde a los Apoderados y Mandatarios que han actuado, omitiendo a los ya registrados en TOLVEK"));
    auto* page = new QVBoxLayout(this);
    auto* label28 = new QLabel(
        QStringLiteral(
            "Se debe capturar la información que corresponde a los Representantes que han actuado con el Agente Aduanal"),
        this);
    label28->setObjectName(QStringLiteral("Label28"));
    label28->setWordWrap(true);
    page->addWidget(label28);

    auto* frame9 = new QGroupBox(QStringLiteral("Datos de Representantes:"), this);
    frame9->setObjectName(QStringLiteral("Frame9"));
    auto* persons = new QHBoxLayout(frame9);
    fgDatosAA = new QTableWidget(frame9);
    fgDatosAA->setObjectName(QStringLiteral("fgDatosAA"));
    persons->addWidget(fgDatosAA, 1);
    auto* buttons = new QVBoxLayout;
    cmdAANuevo = new QPushButton(QStringLiteral("Nuevo"), frame9);
    cmdAANuevo->setObjectName(QStringLiteral("cmdAANuevo"));
    cmdAAEditar = new QPushButton(QStringLiteral("Editar"), frame9);
    cmdAAEditar->setObjectName(QStringLiteral("cmdAAEditar"));
    cmdAAEditar->setEnabled(false);
    cmdAABorrar = new QPushButton(QStringLiteral("Borrar"), frame9);
    cmdAABorrar->setObjectName(QStringLiteral("cmdAABorrar"));
    cmdAABorrar->setEnabled(false);
    buttons->addWidget(cmdAANuevo);
    buttons->addWidget(cmdAAEditar);
    buttons->addWidget(cmdAABorrar);
    buttons->addStretch();
    persons->addLayout(buttons);
    page->addWidget(frame9, 1);

    auto* frame10 = new QGroupBox(QStringLiteral("Periodos del Representante seleccionado:"), this);
    frame10->setObjectName(QStringLiteral("Frame10"));
    fgPeriodosAA = new QTableWidget(frame10);
    fgPeriodosAA->setObjectName(QStringLiteral("fgPeriodosAA"));
    (new QVBoxLayout(frame10))->addWidget(fgPeriodosAA);
    page->addWidget(frame10, 1);
}
