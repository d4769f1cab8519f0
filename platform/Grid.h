#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QAbstractItemModel;
class QTableView;
class QTableWidget;

// Lists shown as grids: one fixed header row, data rows below it added whole, read-only, one row selected at a time.
// Rows are counted from 0 for the first data row; the header is not a row here.

// Sets the headers and widths; widths are in twips (1/1440 inch), 0 keeps the default width.
void setupGrid(QTableWidget* grid, const QStringList& headers, const QList<int>& widthsInTwips = {});
// Cuts the grid back to its header row.
void clearGrid(QTableWidget* grid);
void appendRow(QTableWidget* grid, const QStringList& cells);
void removeRow(QTableWidget* grid, int row);
int rowCount(const QTableWidget* grid);
QString cellText(const QTableWidget* grid, int row, int column);
QStringList rowCells(const QTableWidget* grid, int row);
// The selected data row, or -1 when none is.
int selectedRow(const QTableWidget* grid);
void selectRow(QTableWidget* grid, int row);

// The same habits for a view over a model (the model gives the headers): widths in twips, whole rows, one row
// selected at a time, read-only. The view takes the model; it does not own it.
void setupView(QTableView* view, QAbstractItemModel* model, const QList<int>& widthsInTwips = {});
// The selected row, or -1 when none is.
int selectedRow(const QTableView* view);
// Selects and shows the row; -1 (or a row not there) clears the selection.
void selectRow(QTableView* view, int row);
