#pragma once

#include <QDate>
#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui {
class frmPedTramitados;
}
class Store;

// Captures one declaration processed before 2001, for the declarations grid of frmApoderado.
class frmPedTramitados : public QDialog {
    Q_OBJECT

public:
    // The last day the picker offers: the frame speaks of declarations before 1 January 2001.
    static QDate fechaMaxima() { return QDate(2000, 12, 31); }

    // aduanasEnLista: the office numbers (number text) of the offices grid; when it holds any, the declaration
    // must name one of them.
    frmPedTramitados(Store& store, const QStringList& aduanasEnLista, QWidget* parent = nullptr);
    ~frmPedTramitados() override;

    // The row to append once accepted: office number text, office name, declaration number, date "dd/mm/yyyy".
    QStringList fila() const { return fila_; }

private:
    void cmdAceptar_Click();

    std::unique_ptr<Ui::frmPedTramitados> ui;
    QStringList aduanasEnLista_;
    QStringList fila_;
};
