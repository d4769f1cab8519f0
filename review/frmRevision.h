#pragma once

#include "review/Revision.h"

#include <QDialog>

#include <atomic>
#include <functional>
#include <memory>

namespace Ui {
class frmRevision;
}
class ListModel;
class QThread;
class Store;

// "Revisar": every problem of the stored data, one row each. Enter or a double-click on a row has it mended: a
// person's record is opened through `abre` and the list is made again once that dialog closes; the broker's
// record is on page 1, so the dialog then ends accepted and the opener shows that page.
// The list shows what the database tells at once; the request files are read behind it, their rows added as they
// come, so that a large brokerage does not wait for every file before it sees anything.
class frmRevision : public QDialog {
    Q_OBJECT

public:
    frmRevision(Store& store, std::function<void(const Problema&)> abre, QWidget* parent = nullptr);
    ~frmRevision() override;

    // Reads the problems again; the selection stays on the same row, or the last one when fewer are left. A store
    // that cannot be read is told, and the list stays empty.
    void rehace();
    // Every request file has been read.
    bool terminada() const { return leidos_ == porLeer_; }

private:
    void abreSeleccionado();
    void detieneLectura();
    void leeRequerimientos(QList<RequerimientoPorLeer> pendientes);
    void agrega(const QList<Problema>& problemas);
    // A batch of the reader: `leidos` files read in all.
    void recibe(int lectura, const QList<Problema>& problemas, qsizetype leidos);
    void muestraEstado();

    std::unique_ptr<Ui::frmRevision> ui;
    Store& store_;
    std::function<void(const Problema&)> abre_;
    ListModel* modelo_;
    QList<Problema> problemas_;
    std::unique_ptr<QThread> lector_;
    std::atomic<bool> cancela_{false};
    // Which reading a batch belongs to: one still queued from before rehace() is dropped.
    int lectura_ = 0;
    qsizetype leidos_ = 0, porLeer_ = 0, errores_ = 0;
    // The store could not be read: the list is empty, and says so.
    bool fallida_ = false;
};
