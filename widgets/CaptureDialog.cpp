#include "widgets/CaptureDialog.h"

#include "platform/Messages.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>

namespace {

QString cells(const QTableView* grid) {
    QStringList texts;
    const QAbstractItemModel* model = grid->model();
    for (int r = 0; model && r < model->rowCount(); ++r) {
        for (int c = 0; c < model->columnCount(); ++c)
            texts << model->index(r, c).data().toString();
    }
    return texts.join(QLatin1Char('\t'));
}

} // namespace

void CaptureDialog::showEvent(QShowEvent* event) {
    if (!wasShown_) {
        shown_ = snapshot();
        wasShown_ = true;
    }
    QDialog::showEvent(event);
}

void CaptureDialog::reject() {
    if (wasShown_ && snapshot() != shown_ &&
        !confirmDestructive(this, QStringLiteral("¿Desea descartar los datos capturados?"), kTitleMensaje))
        return;
    QDialog::reject();
}

QStringList CaptureDialog::snapshot() const {
    QStringList state;
    // Every child, those of hidden frames too: what a frame hides now shows again when the mandate type changes.
    for (const QObject* o : findChildren<QObject*>()) {
        if (const auto* box = qobject_cast<const QLineEdit*>(o))
            state << box->text();
        else if (const auto* list = qobject_cast<const QComboBox*>(o))
            state << QString::number(list->currentIndex());
        else if (const auto* option = qobject_cast<const QAbstractButton*>(o); option && option->isCheckable())
            state << QString::number(option->isChecked());
        else if (const auto* grid = qobject_cast<const QTableView*>(o))
            state << cells(grid);
    }
    return state;
}
