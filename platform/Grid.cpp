#include "platform/Grid.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QTableWidget>

void setupGrid(QTableWidget* grid, const QStringList& headers, const QList<int>& widthsInTwips) {
    grid->clear();
    grid->setRowCount(0);
    grid->setColumnCount(int(headers.size()));
    grid->setHorizontalHeaderLabels(headers);
    grid->verticalHeader()->setVisible(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setStretchLastSection(true);
    const int dpi = grid->logicalDpiX();
    for (int i = 0; i < widthsInTwips.size() && i < headers.size(); ++i) {
        if (widthsInTwips[i] > 0)
            grid->setColumnWidth(i, widthsInTwips[i] * dpi / 1440);
    }
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
