#include "RowSetModel.h"

#include <QHeaderView>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <algorithm>
#include <numeric>

namespace {

bool isNumber(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

// Nulls first, numbers by value, everything else as text without regard to case.
int compareValues(const QVariant& a, const QVariant& b)
{
    const bool nullA = a.isNull() || !a.isValid();
    const bool nullB = b.isNull() || !b.isValid();
    if (nullA || nullB)
        return nullA == nullB ? 0 : (nullA ? -1 : 1);
    if (isNumber(a) && isNumber(b)) {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    const int c = QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive);
    return c != 0 ? c : QString::compare(a.toString(), b.toString(), Qt::CaseSensitive);
}

constexpr Qt::Alignment DefaultAlignment = Qt::AlignLeft | Qt::AlignVCenter;

}  // namespace

RowSetModel::RowSetModel(QObject* parent) : QAbstractTableModel(parent) {}

void RowSetModel::setQueryResult(QSqlQuery& query)
{
    const QSqlRecord record = query.record();
    QStringList fields;
    for (int i = 0; i < record.count(); ++i)
        fields << record.fieldName(i);
    QList<QVariantList> rows;
    while (query.next()) {
        QVariantList row;
        row.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            row << query.value(i);
        rows << row;
    }
    setRows(fields, std::move(rows));
}

void RowSetModel::setRows(const QStringList& fields, QList<QVariantList> rows)
{
    beginResetModel();
    fields_ = fields;
    fetched_ = std::move(rows);
    order_.resize(fetched_.size());
    std::iota(order_.begin(), order_.end(), 0);
    sortRows();
    endResetModel();
}

void RowSetModel::clear()
{
    setRows({}, {});
}

void RowSetModel::setColumns(const GridColumns& columns)
{
    rules_.clear();
    titles_.clear();
    alignments_.clear();
    for (const GridColumn& c : columns) {
        if (c.text)
            setDisplayRule(c.field, c.text);
        if (!c.title.isEmpty())
            setTitle(c.field, c.title);
        setAlignment(c.field, c.alignment);
    }
    if (!fields_.isEmpty()) {
        emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(fields_.size()) - 1);
        if (!order_.isEmpty())
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

void RowSetModel::setDisplayRule(const QString& field, DisplayRule rule)
{
    rules_.insert(field.toLower(), std::move(rule));
}

void RowSetModel::setTitle(const QString& field, const QString& title)
{
    titles_.insert(field.toLower(), title);
}

void RowSetModel::setAlignment(const QString& field, Qt::Alignment alignment)
{
    alignments_.insert(field.toLower(), alignment);
}

int RowSetModel::fieldIndex(const QString& field) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant RowSetModel::value(int row, int column) const
{
    if (row < 0 || row >= order_.size() || column < 0 || column >= fields_.size())
        return {};
    return fetched_.at(order_.at(row)).value(column);
}

QVariant RowSetModel::value(int row, const QString& field) const
{
    return value(row, fieldIndex(field));
}

QString RowSetModel::display(int column, const QVariant& v) const
{
    const auto rule = rules_.constFind(fields_.at(column).toLower());
    if (rule != rules_.constEnd())
        return (*rule)(v);
    return v.isNull() ? QString() : v.toString();
}

QString RowSetModel::displayText(int row, const QString& field) const
{
    const int column = fieldIndex(field);
    if (column < 0 || row < 0 || row >= order_.size())
        return {};
    return display(column, value(row, column));
}

void RowSetModel::applySort(const QString& sortText)
{
    beginResetModel();
    sort_ = sortText;
    sortRows();
    endResetModel();
}

void RowSetModel::sortRows()
{
    const QStringList words = sort_.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty()) {
        std::iota(order_.begin(), order_.end(), 0);
        return;
    }
    const int column = fieldIndex(words.first());
    if (column < 0)
        return;
    const bool descending = words.size() > 1 && words.at(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
    std::iota(order_.begin(), order_.end(), 0);
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        const int c = compareValues(fetched_.at(a).value(column), fetched_.at(b).value(column));
        return descending ? c > 0 : c < 0;
    });
}

int RowSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int RowSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(fields_.size());
}

QVariant RowSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= order_.size() || index.column() >= fields_.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return display(index.column(), value(index.row(), index.column()));
    case Qt::EditRole:
        return value(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignments_.value(fields_.at(index.column()).toLower(), DefaultAlignment));
    default:
        return {};
    }
}

QVariant RowSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= fields_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return titles_.value(fields_.at(section).toLower(), fields_.at(section));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignments_.value(fields_.at(section).toLower(), DefaultAlignment));
    return {};
}

QString nextSortText(const QString& sortText, const QString& field)
{
    if (sortText.startsWith(field) && !sortText.contains(QLatin1String(" DESC")))
        return field + QStringLiteral(" DESC");
    return field + QStringLiteral(" ASC");
}

int RowSetModel::findRow(const QString& field, const QString& text) const
{
    const int column = fieldIndex(field);
    if (column < 0)
        return -1;
    for (int r = 0; r < rowCount(); ++r)
        if (value(r, column).toString() == text)
            return r;
    return -1;
}

void sortByTitle(RowSetModel* model, int column, QString* sortText)
{
    if (column < 0 || column >= model->fields().size())
        return;
    *sortText = nextSortText(*sortText, model->fields().at(column));
    model->applySort(*sortText);
}

void enableTitleSort(QTableView* grid, RowSetModel* model, QString* sortText)
{
    showSortIndicator(grid, model);
    grid->horizontalHeader()->setSectionsClickable(true);
    QObject::connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, grid,
                     [model, sortText](int column) { sortByTitle(model, column, sortText); });
}

void showSortIndicator(QTableView* grid, RowSetModel* model)
{
    QHeaderView* header = grid->horizontalHeader();
    const char* property = "followsSortOf";
    if (header->property(property).value<QObject*>() == model)
        return;
    header->setProperty(property, QVariant::fromValue<QObject*>(model));
    header->setSortIndicatorShown(true);
    const auto follow = [header, model] {
        const QStringList words = model->currentSort().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const int column = words.isEmpty() ? -1 : model->fieldIndex(words.first());
        const bool descending = words.size() > 1 && words.at(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
        header->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    };
    // After the header's own handling of the reset, which may move the arrow.
    QObject::connect(model, &QAbstractItemModel::modelReset, header, follow);
    // A click on a title moves the arrow by itself; put it back where the rows are sorted (a click
    // that sorts them moves it again through the reset).
    QObject::connect(header, &QHeaderView::sectionClicked, model, follow);
    follow();
}
