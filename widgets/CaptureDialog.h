#pragma once

#include <QDialog>
#include <QStringList>

// A dialog in which the clerk captures a record. Leaving it other than by "&Aceptar" ("&Cancelar", Escape or the
// window's close box) after anything in it was changed first asks whether to discard the capture; Cancel keeps the
// dialog open with everything in it. Unchanged, it closes at once.
class CaptureDialog : public QDialog {
    Q_OBJECT

public:
    using QDialog::QDialog;

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // What the dialog holds: the text of every box, the choice of every list and option, the cells of every grid.
    QStringList snapshot() const;

    // As the dialog was when it came on screen, filled by its opener.
    QStringList shown_;
    bool wasShown_ = false;
};
