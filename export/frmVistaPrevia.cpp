#include "export/frmVistaPrevia.h"

#include "ui_frmVistaPrevia.h"

#include "export/VistaPrevia.h"

#include <QFontDatabase>

frmVistaPrevia::frmVistaPrevia(const QByteArray& archivo, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmVistaPrevia>()) {
    ui->setupUi(this);
    // Fixed-width, so that the broker can compare the records field by field down the page.
    ui->txtArchivo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ui->txtArchivo->setPlainText(textoDelArchivo(archivo));
    ui->lblRegistros->setText(cuentaRegistros(archivo));
    connect(ui->cmdCerrar, &QPushButton::clicked, this, &QDialog::accept);
}

frmVistaPrevia::~frmVistaPrevia() = default;
