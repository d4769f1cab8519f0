#pragma once

#include "data/Entidades.h"

#include <QDialog>
#include <QList>

#include <memory>

namespace Ui {
class frmAduanaAct;
}
class QComboBox;
class Store;

// Picks one customs office before which the representative acted, for the offices of frmApoderado.
class frmAduanaAct : public QDialog {
    Q_OBJECT

public:
    // enLista: the offices already listed; none of them may be picked again. Reads the catalogue: a refusal of the
    // engine is thrown from here.
    frmAduanaAct(Store& store, const QList<Aduana>& enLista, QWidget* parent = nullptr);
    ~frmAduanaAct() override;

    // Opens on an office already listed, to change it for another.
    void muestra(const Aduana& aduana);
    // The office picked, once accepted.
    Aduana aduana() const;

private:
    void cmdAceptar_Click();

    std::unique_ptr<Ui::frmAduanaAct> ui;
    QList<Aduana> catalogo_;
    QList<Aduana> enLista_;
};
