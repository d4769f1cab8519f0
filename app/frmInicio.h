#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frmInicio;
}

// The start window: what the program is for, until the user goes on.
class frmInicio : public QDialog {
    Q_OBJECT

public:
    explicit frmInicio(QWidget* parent = nullptr);
    ~frmInicio() override;

private:
    std::unique_ptr<Ui::frmInicio> ui;
};
