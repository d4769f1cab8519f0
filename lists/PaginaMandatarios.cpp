#include "lists/PaginaMandatarios.h"

#include "data/ListModel.h"
#include "data/Rutinas.h"
#include "data/Store.h"
#include "lists/frmPeriodo_Mandatario.h"
#include "platform/Database.h"
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

// The key is the stored row, so that a deletion takes this period even when another one looks the same.
ListRow filaPeriodo(const PeriodoMandatario& p) {
    return {QString::number(p.id),
            {numberText(p.patente), numberText(p.aduana.numero), p.aduana.nombre, dateText(p.inicio), dateText(p.fin)}};
}

} // namespace

PaginaMandatarios::PaginaMandatarios(Store& store, QWidget* parent)
    : QGroupBox(QStringLiteral("Historico Mandatario"), parent), store_(store) {
    setObjectName(QStringLiteral("frMandatarios"));
    setToolTip(QStringLiteral(
        "Se debe capturar la Información del Aspirante a Mandatario y los Agentes Aduanales con que ha actuado."));
    auto* page = new QVBoxLayout(this);
    auto* label29 = named(
        new QLabel(
            QStringLiteral(
                "Se debe capturar la información de los Agentes Aduanales con que ha actuado el Aspirante a Mandatario"),
            this),
        "Label29");
    label29->setWordWrap(true);
    page->addWidget(label29);

    auto* frame7 = named(new QGroupBox(QStringLiteral("Datos de Aspirantes:"), this), "Frame7");
    fgMandatarios = named(new QTableView(frame7), "fgMandatarios");
    (new QVBoxLayout(frame7))->addWidget(fgMandatarios);
    page->addWidget(frame7, 1);

    auto* frame8 =
        new QGroupBox(QStringLiteral("Agentes Aduanales y Periodos en los que actuo el Aspirante seleccionado:"), this);
    frame8->setObjectName(QStringLiteral("Frame8"));
    auto* periods = new QHBoxLayout(frame8);
    fgPeriodosMandatario = named(new QTableView(frame8), "fgPeriodosMandatario");
    periods->addWidget(fgPeriodosMandatario, 1);
    auto* buttons = new QVBoxLayout;
    cmdMandNuevo = named(new QPushButton(QStringLiteral("&Nuevo"), frame8), "cmdMandNuevo");
    cmdMandNuevo->setEnabled(false);
    cmdMandBorrar = named(new QPushButton(QStringLiteral("B&orrar"), frame8), "cmdMandBorrar");
    cmdMandBorrar->setEnabled(false);
    buttons->addWidget(cmdMandNuevo);
    buttons->addWidget(cmdMandBorrar);
    buttons->addStretch();
    periods->addLayout(buttons);
    page->addWidget(frame8, 1);

    aspirantes_ = new ListModel(
        {QStringLiteral("Nombre"), QStringLiteral("Ap.Paterno"), QStringLiteral("Ap.Materno"), QStringLiteral("CURP")},
        this);
    periodos_ = new ListModel({QStringLiteral("Patente"), QStringLiteral("No."), QStringLiteral("Aduana"),
                               QStringLiteral("F. Inicial"), QStringLiteral("F. Final")},
                              this);
    setupView(fgMandatarios, aspirantes_, {3000, 3000, 3000, 2050});
    widenToShow(fgMandatarios, 3, kAnchoCURP);
    setupView(fgPeriodosMandatario, periodos_, {1070, 1000, 5000, 2000, 2000});

    connect(aspirantes_, &ListModel::readFailed, this, [this](const QString& falla) {
        informFalla(this, QStringLiteral("No se pudo leer la lista de Aspirantes.\n\n%1"), falla);
    });
    connect(fgMandatarios->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PaginaMandatarios::aspiranteElegido);
    connect(fgPeriodosMandatario->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (selectedRow(fgPeriodosMandatario) >= 0)
            cmdMandBorrar->setEnabled(true);
    });
    connect(cmdMandNuevo, &QPushButton::clicked, this, &PaginaMandatarios::cmdMandNuevo_Click);
    connect(cmdMandBorrar, &QPushButton::clicked, this, &PaginaMandatarios::cmdMandBorrar_Click);
    // A period is not corrected, only shown; deleted, with its question.
    onRowKeys(
        fgPeriodosMandatario, [this] { muestraPeriodo(); }, [this] { cmdMandBorrar_Click(); });
}

bool PaginaMandatarios::hayAspirantes() const {
    return aspirantes_->rowCount() > 0;
}

void PaginaMandatarios::Llena_Hist_Mandatarios() {
    aspirantes_->setSource([this](qsizetype offset, int count) {
        QList<ListRow> rows;
        for (const FilaMandatario& m : store_.filasMandatarios(offset, count, true))
            rows << ListRow{m.curp, {m.nombre, m.apPaterno, m.apMaterno, m.curp}};
        return rows;
    });
    if (aspirante_ && sigueAspirante())
        return;
    // A list on show has a row selected, with his periods beside it.
    if (aspirantes_->rowCount() > 0)
        selectRow(fgMandatarios, 0);
}

bool PaginaMandatarios::sigueAspirante() {
    // Asked first, so that one who is no longer an aspirant does not make the whole list be read in search of him.
    const std::optional<FilaMandatario> sigue = store_.filaMandatario(aspirante_->curp);
    const int row = sigue && reglas(sigue->mandato).aspirante ? aspirantes_->rowOf(aspirante_->curp) : -1;
    if (row < 0) {
        // No period may be added to or taken from a list that is not his any more.
        olvidaAspirante();
        return false;
    }
    // His names may have just been corrected: the period dialog and the question show them as stored.
    aspirante_ = sigue;
    recargando_ = true;
    selectRow(fgMandatarios, row);
    recargando_ = false;
    return true;
}

void PaginaMandatarios::olvidaAspirante() {
    aspirante_.reset();
    periodos_->setRows({});
    cmdMandNuevo->setEnabled(false);
    cmdMandBorrar->setEnabled(false);
}

void PaginaMandatarios::Llena_Periodos_H_MM(const QString& curp) {
    QList<ListRow> rows;
    intenta(this, QStringLiteral("No se pudieron leer los periodos del Aspirante.\n\n%1"), [&] {
        for (const PeriodoMandatario& p : store_.periodosMandatario(curp))
            rows << filaPeriodo(p);
    });
    periodos_->setRows(rows);
}

void PaginaMandatarios::aspiranteElegido() {
    const QString curp = aspirantes_->key(selectedRow(fgMandatarios));
    if (curp.isEmpty() || recargando_)
        return;
    if (!intenta(this, QStringLiteral("No se pudieron leer los datos del Aspirante.\n\n%1"),
                 [&] { aspirante_ = store_.filaMandatario(curp); })) {
        olvidaAspirante();
        return;
    }
    Llena_Periodos_H_MM(curp);
    cmdMandNuevo->setEnabled(true);
}

void PaginaMandatarios::cmdMandNuevo_Click() {
    if (!aspirante_)
        return;
    frmPeriodo_Mandatario dialog(store_, *aspirante_, this);
    dialog.setGuarda([this](const PeriodoMandatario& periodo, QWidget* d) {
        return intenta(d, QStringLiteral("No se pudo guardar el periodo.\n\n%1"),
                       [&] { periodos_->append(filaPeriodo(store_.agregaPeriodoMandatario(periodo))); });
    });
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The cursor goes to the list, on the period just stored.
    selectRow(fgPeriodosMandatario, periodos_->rowCount() - 1);
    fgPeriodosMandatario->setFocus();
}

void PaginaMandatarios::cmdMandBorrar_Click() {
    const int row = selectedRow(fgPeriodosMandatario);
    const QString id = periodos_->key(row);
    if (id.isEmpty() || !aspirante_)
        return;
    const FilaMandatario& a = *aspirante_;
    if (!confirmDestructive(this, QStringLiteral("¿DESEA BORRAR EL PERIODO DE LABOR SELECCIONADO DEL MANDATARIO\n\n") +
                                      QStringList{a.nombre, a.apPaterno, a.apMaterno, a.curp}.join(QLatin1Char(' ')) +
                                      QStringLiteral(" ?")))
        return;
    if (!intenta(this, QStringLiteral("No se pudo borrar el periodo; los periodos quedan como estaban.\n\n%1"),
                 [&] { store_.borraPeriodoMandatario(a.curp, id.toLongLong()); }))
        return;
    periodos_->remove(row);
    if (periodos_->rowCount() == 0)
        cmdMandBorrar->setEnabled(false);
    // The cursor stays in the list, on the period after it.
    selectRow(fgPeriodosMandatario, std::min(row, periodos_->rowCount() - 1));
    fgPeriodosMandatario->setFocus();
}

void PaginaMandatarios::muestraPeriodo() {
    const QString id = periodos_->key(selectedRow(fgPeriodosMandatario));
    if (id.isEmpty() || !aspirante_)
        return;
    QList<PeriodoMandatario> periodos;
    if (!intenta(this, QStringLiteral("No se pudieron leer los periodos del Aspirante.\n\n%1"),
                 [&] { periodos = store_.periodosMandatario(aspirante_->curp); }))
        return;
    for (const PeriodoMandatario& p : periodos) {
        if (p.id != id.toLongLong())
            continue;
        frmPeriodo_Mandatario dialog(store_, *aspirante_, this);
        dialog.soloMuestra(p);
        dialog.exec();
    }
}
