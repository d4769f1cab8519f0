#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class frmAyuda;
}

// The manual (docs/ayuda, compiled in) opened on one topic; its links lead to the others.
class frmAyuda : public QDialog {
    Q_OBJECT

public:
    // tema: a page of the manual, by its file name without ".md"; acercaDe gives the text of "Acerca de TOLVEK 3".
    frmAyuda(const QString& tema, std::function<QString()> acercaDe, QWidget* parent = nullptr);
    ~frmAyuda() override;

    void muestraTema(const QString& tema);

private:
    std::unique_ptr<Ui::frmAyuda> ui;
    std::function<QString()> acercaDe_;
};
