#pragma once

#include "GridColumns.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QVariant>
#include <functional>

class QSqlQuery;
class QTableView;

// The rows of one query, fetched once and shown in a grid. Each column is a field of the query;
// its title is the field name unless set. A display rule turns a stored value into the text a
// grid or a report shows. Sorting re-orders the fetched rows in memory; the query is not run
// again.
class RowSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using DisplayRule = GridColumn::DisplayRule;

    explicit RowSetModel(QObject* parent = nullptr);

    // Reads every row of an executed query (and its field names).
    void setQueryResult(QSqlQuery& query);
    void setRows(const QStringList& fields, QList<QVariantList> rows);
    void clear();

    // Titles, display rules and alignments of the described columns, in place of those set
    // before. The grid showing the rows chooses its visible columns with showColumns().
    void setColumns(const GridColumns& columns);
    void setDisplayRule(const QString& field, DisplayRule rule);
    void setTitle(const QString& field, const QString& title);
    void setAlignment(const QString& field, Qt::Alignment alignment);

    const QStringList& fields() const { return fields_; }
    int fieldIndex(const QString& field) const;  // -1 when the query has no such field
    QVariant value(int row, const QString& field) const;
    // The first row (in the current order) whose `field` holds `text`; -1 when none does.
    int findRow(const QString& field, const QString& text) const;
    QVariant value(int row, int column) const;
    QString displayText(int row, const QString& field) const;

    // "Field ASC" or "Field DESC"; empty restores the order in which the rows were fetched.
    // A text naming no field of the query leaves the order as it is.
    void applySort(const QString& sortText);
    const QString& currentSort() const { return sort_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    // A value of `column` as the column shows it: through its display rule, else as text.
    QString display(int column, const QVariant& value) const;

private:
    void sortRows();

    QStringList fields_;
    QList<QVariantList> fetched_;  // in fetched order
    QList<int> order_;             // display row -> fetched row
    QHash<QString, DisplayRule> rules_;
    QHash<QString, QString> titles_;
    QHash<QString, Qt::Alignment> alignments_;
    QString sort_;
};

// The sort text after a click on the title of `field`: "F DESC" when the text begins with F and
// holds no " DESC", otherwise "F ASC".
QString nextSortText(const QString& sortText, const QString& field);

// Sorts the rows by a click on the title of `column`: `*sortText` becomes nextSortText() of the
// column's field and the model's fetched rows are ordered by it. `sortText` may outlive the grid.
void sortByTitle(RowSetModel* model, int column, QString* sortText);
// Wires the title clicks of `grid` (showing `model`) to sortByTitle.
void enableTitleSort(QTableView* grid, RowSetModel* model, QString* sortText);
// Shows the order of the rows on the grid's titles: the sorted column's title carries the style's
// arrow for ascending or descending, and no title has one while the rows are in the order they
// were read. Follows every later sort and re-read; once per grid.
void showSortIndicator(QTableView* grid, RowSetModel* model);
