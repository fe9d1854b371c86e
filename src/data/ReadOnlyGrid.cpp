#include "ReadOnlyGrid.h"

#include "RowSetModel.h"

#include <QHeaderView>
#include <QTableView>

void setUpReadOnlyGrid(QTableView* grid, RowSetModel* model)
{
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setVisible(false);
    // Sizing the columns to their contents looks at this many rows (the visible ones first), not
    // at every row of a national race.
    grid->horizontalHeader()->setResizeContentsPrecision(GridSizingRows);
    showSortIndicator(grid, model);
}

namespace {

void arrangeColumns(QTableView* grid, const QStringList& shown)
{
    const auto* rows = qobject_cast<const RowSetModel*>(grid->model());
    if (!rows)
        return;
    QHeaderView* header = grid->horizontalHeader();
    for (int c = 0; c < rows->columnCount(); ++c)
        header->setSectionHidden(c, !shown.contains(rows->fields().at(c), Qt::CaseInsensitive));
    int visual = 0;
    for (const QString& field : shown) {
        const int logical = rows->fieldIndex(field);
        if (logical >= 0)
            header->moveSection(header->visualIndex(logical), visual++);
    }
}

}  // namespace

void showColumns(QTableView* grid, const GridColumns& columns)
{
    const QStringList shown = columnFields(columns);
    arrangeColumns(grid, shown);
    // Once per grid: a later description replaces the earlier one.
    const char* property = "shownColumns";
    const bool wired = grid->property(property).isValid();
    grid->setProperty(property, shown);
    if (wired)
        return;
    QObject::connect(grid->model(), &QAbstractItemModel::modelReset, grid,
                     [grid, property] { arrangeColumns(grid, grid->property(property).toStringList()); });
}

void selectRow(QTableView* grid, int row, int column)
{
    if (row >= 0)
        grid->setCurrentIndex(grid->model()->index(row, column));
}
