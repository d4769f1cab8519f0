#pragma once

#include <QList>
#include <QString>

#include <functional>

class QAbstractItemModel;
class QTableView;

// Lists shown as grids: the model's headers, widths in twips (1/1440 inch, 0 keeps the default) that grow so that
// no cell shown is cut, whole rows, one row selected at a time, read-only. The arrows move inside a grid and Tab
// leaves it, as from any other control.
// Rows are counted from 0 for the first data row. The view does not own the model.
void setupView(QTableView* view, QAbstractItemModel* model, const QList<int>& widthsInTwips = {});
// Widens the column, when it is narrower, so that a cell as wide as `widest` shows whole in the view's font.
void widenToShow(QTableView* view, int column, const QString& widest);
// The selected row, or -1 when none is.
int selectedRow(const QTableView* view);
// Selects and shows the row; -1 (or a row not there) clears the selection.
void selectRow(QTableView* view, int row);
// The cursor into the list, on that row: where it goes after a row was added, corrected or deleted.
void focusRow(QTableView* view, int row);
// Enter and a double-click on a row run `abre` (what the page's "Editar" does); Supr runs `borra` when given.
// Both only while a row is selected.
void onRowKeys(QTableView* view, std::function<void()> abre, std::function<void()> borra = {});
