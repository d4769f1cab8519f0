#include "widgets/Grid.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QStyle>
#include <QTableView>

namespace {

void setWidths(QTableView* view, const QList<int>& widthsInTwips, int columns) {
    const int dpi = view->logicalDpiX();
    for (int i = 0; i < widthsInTwips.size() && i < columns; ++i) {
        if (widthsInTwips[i] > 0)
            view->setColumnWidth(i, widthsInTwips[i] * dpi / 1440);
    }
}

void setHabits(QTableView* view) {
    view->verticalHeader()->setVisible(false);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setTabKeyNavigation(false);
}

class RowKeys : public QObject {
public:
    RowKeys(QTableView* view, std::function<void()> abre, std::function<void()> borra)
        : QObject(view), view_(view), abre_(std::move(abre)), borra_(std::move(borra)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != view_ || event->type() != QEvent::KeyPress || selectedRow(view_) < 0)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            abre_();
            return true;
        }
        if (key->key() == Qt::Key_Delete && borra_) {
            borra_();
            return true;
        }
        return false;
    }

private:
    QTableView* view_;
    std::function<void()> abre_;
    std::function<void()> borra_;
};

} // namespace

void setupView(QTableView* view, QAbstractItemModel* model, const QList<int>& widthsInTwips) {
    view->setModel(model);
    setHabits(view);
    setWidths(view, widthsInTwips, model->columnCount());
    // No cell is cut, so that nobody has to drag a column: one narrower than the rows shown grows as they come.
    const auto fit = [view] {
        for (int c = 0; c < view->model()->columnCount(); ++c) {
            const int needed = static_cast<const QAbstractItemView*>(view)->sizeHintForColumn(c);
            if (view->columnWidth(c) < needed)
                view->setColumnWidth(c, needed);
        }
    };
    QObject::connect(model, &QAbstractItemModel::rowsInserted, view, fit);
    QObject::connect(model, &QAbstractItemModel::modelReset, view, fit);
}

void widenToShow(QTableView* view, int column, const QString& widest) {
    // The margins the item delegate puts on either side of a cell's text, and the grid line.
    const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) + 1;
    const int needed = view->fontMetrics().horizontalAdvance(widest) + margins;
    if (view->columnWidth(column) < needed)
        view->setColumnWidth(column, needed);
}

int selectedRow(const QTableView* view) {
    const QItemSelectionModel* selection = view->selectionModel();
    if (!selection)
        return -1;
    const QModelIndexList rows = selection->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void selectRow(QTableView* view, int row) {
    if (view->model() && row >= 0 && row < view->model()->rowCount()) {
        view->selectRow(row);
        view->scrollTo(view->model()->index(row, 0));
    } else if (view->selectionModel()) {
        view->clearSelection();
    }
}

void focusRow(QTableView* view, int row) {
    selectRow(view, row);
    view->setFocus();
}

void onRowKeys(QTableView* view, std::function<void()> abre, std::function<void()> borra) {
    view->installEventFilter(new RowKeys(view, abre, std::move(borra)));
    QObject::connect(view, &QAbstractItemView::doubleClicked, view, [view, abre](const QModelIndex& index) {
        if (index.isValid() && selectedRow(view) >= 0)
            abre();
    });
}
