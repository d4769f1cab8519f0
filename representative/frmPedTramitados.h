#pragma once

#include "data/Entidades.h"

#include <QDate>
#include <QDialog>
#include <QList>

#include <memory>

namespace Ui {
class frmPedTramitados;
}
class Store;

// Captures one declaration processed before 2001, for the declarations of frmApoderado.
class frmPedTramitados : public QDialog {
    Q_OBJECT

public:
    // The last day the picker offers: the frame speaks of declarations before 1 January 2001.
    static QDate fechaMaxima() { return QDate(2000, 12, 31); }

    // aduanasEnLista: the offices listed in frmApoderado; when there are any, the declaration must name one of them.
    // Reads the catalogue: a refusal of the engine is thrown from here.
    frmPedTramitados(Store& store, const QList<Aduana>& aduanasEnLista, QWidget* parent = nullptr);
    ~frmPedTramitados() override;

    // Opens on a declaration already listed, to correct it.
    void muestra(const Pedimento& pedimento);
    // The declaration captured, once accepted.
    Pedimento pedimento() const;

private:
    void cmdAceptar_Click();

    std::unique_ptr<Ui::frmPedTramitados> ui;
    QList<Aduana> catalogo_;
    QList<Aduana> aduanasEnLista_;
};
