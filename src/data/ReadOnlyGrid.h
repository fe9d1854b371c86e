#pragma once

#include "GridColumns.h"

#include <QString>

class QTableView;
class RowSetModel;

// How the pages show rows in the grids of their forms (title-click sorting: enableTitleSort in
// RowSetModel.h).

// Makes `grid` a read-only view of `model`: whole rows selected one at a time, no row numbers;
// sizing its columns to their contents measures at most GridSizingRows rows.
void setUpReadOnlyGrid(QTableView* grid, RowSetModel* model);
inline constexpr int GridSizingRows = 200;

// Shows the described columns of the grid's rows, left to right in the description's order, and
// hides every other field of the rows; kept when the rows are read again or sorted.
void showColumns(QTableView* grid, const GridColumns& columns);

// Makes `row` of the grid's model the current row, in `column`; nothing for a negative row.
void selectRow(QTableView* grid, int row, int column = 0);
