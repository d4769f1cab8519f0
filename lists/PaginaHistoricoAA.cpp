#include "lists/PaginaHistoricoAA.h"

#include "data/ListModel.h"
#include "data/Rutinas.h"
#include "data/Store.h"
#include "lists/CeldasPeriodo.h"
#include "lists/frmAgentes_Aduanales.h"
#include "platform/Messages.h"
#include "widgets/Grid.h"
#include "widgets/Named.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kPersonasIlegibles = QStringLiteral("No se pudieron leer los Representantes.\n\n%1");
const QString kPeriodosIlegibles = QStringLiteral("No se pudieron leer los periodos del Representante.\n\n%1");

ListRow filaPersona(const PersonaHistorica& p) {
    return {p.curp, {p.nombre, p.apPaterno, p.apMaterno, p.curp, p.rfc}};
}

} // namespace

PaginaHistoricoAA::PaginaHistoricoAA(Store& store, QWidget* parent)
    : QGroupBox(QStringLiteral("Historico Agente Aduanal"), parent), store_(store) {
    setObjectName(QStringLiteral("frAA21311"));
    setToolTip(QStringLiteral(
        "Información que corresponde a los Apoderados y Mandatarios que han actuado, omitiendo a los ya registrados en TOLVEK"));
    auto* page = new QVBoxLayout(this);
    auto* label28 = named(
        new QLabel(
            QStringLiteral(
                "Se debe capturar la información que corresponde a los Representantes que han actuado con el Agente Aduanal"),
            this),
        "Label28");
    label28->setWordWrap(true);
    page->addWidget(label28);

    auto* frame9 = named(new QGroupBox(QStringLiteral("Datos de Representantes:"), this), "Frame9");
    auto* persons = new QHBoxLayout(frame9);
    fgDatosAA = named(new QTableView(frame9), "fgDatosAA");
    persons->addWidget(fgDatosAA, 1);
    auto* buttons = new QVBoxLayout;
    cmdAANuevo = named(new QPushButton(QStringLiteral("&Nuevo"), frame9), "cmdAANuevo");
    cmdAAEditar = named(new QPushButton(QStringLiteral("&Editar"), frame9), "cmdAAEditar");
    cmdAAEditar->setEnabled(false);
    cmdAABorrar = named(new QPushButton(QStringLiteral("B&orrar"), frame9), "cmdAABorrar");
    cmdAABorrar->setEnabled(false);
    buttons->addWidget(cmdAANuevo);
    buttons->addWidget(cmdAAEditar);
    buttons->addWidget(cmdAABorrar);
    buttons->addStretch();
    persons->addLayout(buttons);
    page->addWidget(frame9, 1);

    auto* frame10 = named(new QGroupBox(QStringLiteral("Periodos del Representante seleccionado:"), this), "Frame10");
    fgPeriodosAA = named(new QTableView(frame10), "fgPeriodosAA");
    (new QVBoxLayout(frame10))->addWidget(fgPeriodosAA);
    page->addWidget(frame10, 1);

    personas_ = new ListModel({QStringLiteral("Nombre"), QStringLiteral("Ap.Paterno"), QStringLiteral("Ap.Materno"),
                               QStringLiteral("CURP"), QStringLiteral("RFC")},
                              this);
    periodos_ = new ListModel(
        {QStringLiteral("No."), QStringLiteral("Aduana"), QStringLiteral("F. Inicial"), QStringLiteral("F. Final")},
        this);
    setupView(fgDatosAA, personas_, {3000, 3000, 3000, 2050, 2050});
    widenToShow(fgDatosAA, 3, kAnchoCURP);
    widenToShow(fgDatosAA, 4, kAnchoRFC);
    setupView(fgPeriodosAA, periodos_, {1050, 5000, 2500, 2500});

    connect(personas_, &ListModel::readFailed, this,
            [this](const QString& falla) { informFalla(this, kPersonasIlegibles, falla); });
    connect(fgDatosAA->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PaginaHistoricoAA::seleccionCambiada);
    connect(cmdAANuevo, &QPushButton::clicked, this, [this] { abreAgente(std::nullopt); });
    connect(cmdAAEditar, &QPushButton::clicked, this, &PaginaHistoricoAA::cmdAAEditar_Click);
    connect(cmdAABorrar, &QPushButton::clicked, this, &PaginaHistoricoAA::cmdAABorrar_Click);
    onRowKeys(
        fgDatosAA, [this] { cmdAAEditar_Click(); }, [this] { cmdAABorrar_Click(); });
}

void PaginaHistoricoAA::Llena_Hist_AA() {
    personas_->setSource([this](qsizetype offset, int count) {
        QList<ListRow> rows;
        for (const PersonaHistorica& p : store_.filasHistoricas(offset, count))
            rows << filaPersona(p);
        return rows;
    });
    // A list on show has a row selected, with his periods beside it.
    if (personas_->rowCount() > 0)
        selectRow(fgDatosAA, 0);
    else
        periodos_->setRows({});
}

QString PaginaHistoricoAA::curpSeleccionada() const {
    return personas_->key(selectedRow(fgDatosAA));
}

void PaginaHistoricoAA::Llena_Periodos_Hist_AA(const QString& curp) {
    QList<ListRow> rows;
    intenta(this, kPeriodosIlegibles, [&] {
        const std::optional<PersonaHistorica> persona = store_.personaHistorica(curp);
        for (const PeriodoAgente& p : persona ? persona->periodos : QList<PeriodoAgente>())
            rows << ListRow{QString(), celdasPeriodo(p)};
    });
    periodos_->setRows(rows);
}

void PaginaHistoricoAA::seleccionCambiada() {
    const QString curp = curpSeleccionada();
    if (curp.isEmpty())
        return;
    Llena_Periodos_Hist_AA(curp);
    cmdAABorrar->setEnabled(true);
    cmdAAEditar->setEnabled(true);
}

void PaginaHistoricoAA::cmdAAEditar_Click() {
    const QString curp = curpSeleccionada();
    if (!curp.isEmpty())
        editaPersona(curp);
}

void PaginaHistoricoAA::editaPersona(const QString& curp) {
    std::optional<PersonaHistorica> persona;
    // Editing an incomplete copy would drop the periods that could not be read.
    if (intenta(this, kPeriodosIlegibles, [&] { persona = store_.personaHistorica(curp); }) && persona)
        abreAgente(persona);
}

void PaginaHistoricoAA::abreAgente(const std::optional<PersonaHistorica>& valor) {
    const QString curpAnterior = valor ? valor->curp : QString();
    QString curp = curpAnterior;
    {
        frmAgentes_Aduanales dialog(store_, valor, this);
        dialog.setGuarda([this, curpAnterior](const PersonaHistorica& persona, QWidget* d) {
            return intenta(
                d, QStringLiteral("No se pudo guardar el Representante; la base de datos queda como estaba.\n\n%1"),
                [&] { store_.guardaPersonaHistorica(curpAnterior, persona); });
        });
        if (dialog.exec() == QDialog::Accepted)
            curp = dialog.persona().curp;
    }
    // Refilled after a cancellation too: it only shows again what is stored.
    if (!intenta(this, kPersonasIlegibles, [this] { Llena_Hist_AA(); }))
        return;
    // The cursor goes back to the list, on the one just edited or stored.
    if (const int row = curp.isEmpty() ? -1 : personas_->rowOf(curp); row >= 0)
        selectRow(fgDatosAA, row);
    if (valor)
        fgDatosAA->setFocus();
}

void PaginaHistoricoAA::cmdAABorrar_Click() {
    const int row = selectedRow(fgDatosAA);
    const QString curp = personas_->key(row);
    if (curp.isEmpty())
        return;
    std::optional<PersonaHistorica> leida;
    if (!intenta(this, kPersonasIlegibles, [&] { leida = store_.personaHistorica(curp); }) || !leida)
        return;
    const PersonaHistorica& p = *leida;
    const bool borra =
        confirmDestructive(this, QStringLiteral("¿DESEA BORRAR EL AGENTE ADUANAL \n\n") + p.nombre + QLatin1Char(' ') +
                                     p.apPaterno + QLatin1Char(' ') + p.apMaterno + QLatin1Char(' ') + p.curp +
                                     QStringLiteral("\n\n Y TODOS SUS PERIODOS DE LABOR?"));
    // The cursor stays in the list, on him or on the one after him.
    fgDatosAA->setFocus();
    if (!borra)
        return;
    if (!intenta(this, QStringLiteral("No se pudo borrar el Representante; sus datos quedan como estaban.\n\n%1"),
                 [&] { store_.borraPersonaHistorica(curp); }))
        return;
    periodos_->setRows({});
    fgDatosAA->clearSelection();
    // The rows read so far stay in step with the store without reading it again: the next page starts just as far
    // into the table.
    personas_->remove(row);
    selectRow(fgDatosAA, std::min(row, personas_->rowCount() - 1));
    // Selecting the next person enables the buttons, but after the first row they wait for a choice of the user.
    if (row == 0) {
        cmdAABorrar->setEnabled(false);
        cmdAAEditar->setEnabled(false);
    }
}
