#include "platform/Grid.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTableWidget>

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
}

} // namespace

void setupView(QTableView* view, QAbstractItemModel* model, const QList<int>& widthsInTwips) {
    view->setModel(model);
    setHabits(view);
    setWidths(view, widthsInTwips, model->columnCount());
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

void setupGrid(QTableWidget* grid, const QStringList& headers, const QList<int>& widthsInTwips) {
    grid->clear();
    grid->setRowCount(0);
    grid->setColumnCount(int(headers.size()));
    grid->setHorizontalHeaderLabels(headers);
    setHabits(grid);
    setWidths(grid, widthsInTwips, int(headers.size()));
}

void clearGrid(QTableWidget* grid) {
    grid->setRowCount(0);
}

void appendRow(QTableWidget* grid, const QStringList& cells) {
    const int row = grid->rowCount();
    grid->insertRow(row);
    for (int c = 0; c < cells.size() && c < grid->columnCount(); ++c)
        grid->setItem(row, c, new QTableWidgetItem(cells[c]));
}

void removeRow(QTableWidget* grid, int row) {
    grid->removeRow(row);
}

int rowCount(const QTableWidget* grid) {
    return grid->rowCount();
}

QString cellText(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

QStringList rowCells(const QTableWidget* grid, int row) {
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c)
        cells << cellText(grid, row, c);
    return cells;
}

int selectedRow(const QTableWidget* grid) {
    const QList<QTableWidgetSelectionRange> ranges = grid->selectedRanges();
    if (ranges.isEmpty())
        return -1;
    return ranges.first().topRow();
}

void selectRow(QTableWidget* grid, int row) {
    if (row >= 0 && row < grid->rowCount())
        grid->selectRow(row);
    else
        grid->clearSelection();
}
