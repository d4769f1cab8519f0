#include "review/frmRevision.h"

#include "ui_frmRevision.h"

#include "data/ListModel.h"
#include "platform/Database.h"
#include "platform/Messages.h"
#include "widgets/Grid.h"

#include <QItemSelectionModel>
#include <QPushButton>
#include <QThread>

namespace {

// How many files the reader reads before it hands their problems over.
constexpr qsizetype kLote = 200;

const QString kFallida = QStringLiteral("No se pudieron revisar los datos");

} // namespace

frmRevision::frmRevision(Store& store, std::function<void(const Problema&)> abre, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmRevision>()), store_(store), abre_(std::move(abre)),
      modelo_(new ListModel({QStringLiteral("Tipo"), QStringLiteral("Registro"), QStringLiteral("CURP"),
                             QStringLiteral("Aduana o periodo"), QStringLiteral("Problema")},
                            this)) {
    ui->setupUi(this);
    setupView(ui->fgProblemas, modelo_, {900, 3600, 2900, 2600, 0});
    onRowKeys(ui->fgProblemas, [this] { abreSeleccionado(); });
    // A long message does not fit its cell: the selected row's is shown whole under the list.
    connect(ui->fgProblemas->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                ui->lblDetalle->setText(modelo_->data(modelo_->index(current.row(), 4)).toString());
            });
    connect(ui->cmdAbrir, &QPushButton::clicked, this, &frmRevision::abreSeleccionado);
    connect(ui->cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);
    rehace();
}

frmRevision::~frmRevision() {
    detieneLectura();
}

void frmRevision::detieneLectura() {
    if (!lector_)
        return;
    cancela_ = true;
    lector_->wait();
    lector_.reset();
    ++lectura_;
}

void frmRevision::rehace() {
    detieneLectura();
    const int fila = std::max(selectedRow(ui->fgProblemas), 0);
    RevisionBase base;
    fallida_ = !intenta(this, kFallida + QStringLiteral("\n\n%1"), [&] { base = revisaBase(store_); });
    problemas_.clear();
    errores_ = 0;
    modelo_->setRows({});
    agrega(base.problemas);
    leeRequerimientos(std::move(base.requerimientos));
    selectRow(ui->fgProblemas, std::min(fila, modelo_->rowCount() - 1));
    ui->fgProblemas->setFocus();
}

void frmRevision::leeRequerimientos(QList<RequerimientoPorLeer> pendientes) {
    leidos_ = 0;
    porLeer_ = pendientes.size();
    muestraEstado();
    if (pendientes.isEmpty())
        return;
    cancela_ = false;
    lector_.reset(QThread::create([this, lectura = lectura_, pendientes = std::move(pendientes)] {
        QList<Problema> lote;
        for (qsizetype i = 0; i < pendientes.size() && !cancela_; ++i) {
            if (std::optional<Problema> p = revisaArchivo(pendientes.at(i)))
                lote << *p;
            if ((i + 1) % kLote == 0 || i + 1 == pendientes.size()) {
                QMetaObject::invokeMethod(
                    this, [this, lectura, lote, leidos = i + 1] { recibe(lectura, lote, leidos); },
                    Qt::QueuedConnection);
                lote.clear();
            }
        }
    }));
    lector_->start();
}

void frmRevision::recibe(int lectura, const QList<Problema>& problemas, qsizetype leidos) {
    if (lectura != lectura_)
        return;
    leidos_ = leidos;
    const bool ninguna = modelo_->rowCount() == 0;
    agrega(problemas);
    if (ninguna && modelo_->rowCount() > 0)
        selectRow(ui->fgProblemas, 0);
    muestraEstado();
}

void frmRevision::agrega(const QList<Problema>& problemas) {
    QList<ListRow> rows;
    rows.reserve(problemas.size());
    for (const Problema& p : problemas) {
        const bool error = p.gravedad == Gravedad::Error;
        errores_ += error;
        rows << ListRow{
            QString::number(problemas_.size()),
            {error ? QStringLiteral("Error") : QStringLiteral("Aviso"), p.registro, p.curp, p.donde, p.mensaje}};
        problemas_ << p;
    }
    modelo_->append(std::move(rows));
}

void frmRevision::muestraEstado() {
    QString estado = QStringLiteral("%1 errores y %2 avisos.").arg(errores_).arg(problemas_.size() - errores_);
    if (fallida_) {
        // What could not be read is not "no problem".
        estado = kFallida + QLatin1Char('.');
    } else if (!terminada()) {
        estado += QStringLiteral(" Leyendo los Requerimientos Electrónicos: %1 de %2…").arg(leidos_).arg(porLeer_);
    } else if (problemas_.isEmpty()) {
        estado.clear();
        modelo_->append({{}, {{}, {}, {}, {}, QStringLiteral("No se encontraron problemas")}});
        selectRow(ui->fgProblemas, 0);
    }
    ui->lblResumen->setText(estado);
    ui->cmdAbrir->setEnabled(!problemas_.isEmpty());
}

void frmRevision::abreSeleccionado() {
    bool ok = false;
    const int i = modelo_->key(selectedRow(ui->fgProblemas)).toInt(&ok);
    if (!ok || i < 0 || i >= problemas_.size())
        return;
    const Problema p = problemas_.at(i);
    if (p.titular == Titular::Agente) {
        accept();
        return;
    }
    abre_(p);
    rehace();
}
