#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class frmAyuda;
class QWidget;

// F1 anywhere in the program opens the manual on the topic of the window, or of the wizard's page, in use. Over a
// modal dialog the manual is modal too, so the dialog waits for it; otherwise it stays open beside the window. One
// filter on the application: no dialog needs to know about help.
class AyudaF1 : public QObject {
public:
    // acercaDe gives the text of "Acerca de TOLVEK 3".
    AyudaF1(std::function<QString()> acercaDe, QObject* parent);

    // The manual's page for a window: by its objectName, or by its shown page's for the wizard; "indice" otherwise.
    static QString temaDe(const QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void abre(QWidget* window, bool modal);

    std::function<QString()> acercaDe_;
    QPointer<frmAyuda> abierta_;
};
