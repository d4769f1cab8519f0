#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui {
class frmAduanaAct;
}
class Store;

// Picks one customs office before which the representative acted, for the offices grid of frmApoderado.
class frmAduanaAct : public QDialog {
    Q_OBJECT

public:
    // enLista: the office numbers (number text) the grid already holds.
    frmAduanaAct(Store& store, const QStringList& enLista, QWidget* parent = nullptr);
    ~frmAduanaAct() override;

    // The row to append once accepted: office number text and name.
    QStringList fila() const { return fila_; }

private:
    void cmdAceptar_Click();

    std::unique_ptr<Ui::frmAduanaAct> ui;
    QStringList enLista_;
    QStringList fila_;
};
