#pragma once

#include <QByteArray>
#include <QDialog>

#include <memory>

namespace Ui {
class frmVistaPrevia;
}

// The information file as it would be written, shown before the broker signs it; only read, never changed.
class frmVistaPrevia : public QDialog {
    Q_OBJECT

public:
    explicit frmVistaPrevia(const QByteArray& archivo, QWidget* parent = nullptr);
    ~frmVistaPrevia() override;

private:
    std::unique_ptr<Ui::frmVistaPrevia> ui;
};
