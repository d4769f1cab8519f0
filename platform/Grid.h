#pragma once

#include <QList>

class QAbstractItemModel;
class QTableView;

// Lists shown as grids: the model's headers, widths in twips (1/1440 inch, 0 keeps the default), whole rows, one
// row selected at a time, read-only. Rows are counted from 0 for the first data row. The view does not own the
// model.
void setupView(QTableView* view, QAbstractItemModel* model, const QList<int>& widthsInTwips = {});
// The selected row, or -1 when none is.
int selectedRow(const QTableView* view);
// Selects and shows the row; -1 (or a row not there) clears the selection.
void selectRow(QTableView* view, int row);
