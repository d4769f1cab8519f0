#pragma once

#include "data/Entidades.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class Store;

namespace Ui {
class frmAgentes_Aduanales;
}

// One former representative with all his periods. The periods are a working copy until "&Aceptar" stores the lot.
class frmAgentes_Aduanales : public QDialog {
    Q_OBJECT

public:
    // modo "N" for a new person, "E" to edit the person whose list cells (Nombre, Ap.Paterno, Ap.Materno, CURP,
    // RFC) are given.
    frmAgentes_Aduanales(Store& store, const QString& modo, const QStringList& seleccionado, QWidget* parent = nullptr);
    ~frmAgentes_Aduanales() override;

private:
    void Inicializa_gr2(const QString& curp);
    void agregaPeriodo(const PeriodoAgente& periodo);
    bool datosValidos();
    void cmdNuevo_Click();
    void cmdBorrar_Click();
    void fgAA_Periodos_Click();
    void cmdAceptar_Click();

    std::unique_ptr<Ui::frmAgentes_Aduanales> ui;
    Store& store_;
    QString modo_;
    QString curpAnterior_;
    // In step with the rows of fgAA_Periodos.
    QList<PeriodoAgente> periodos_;
};
