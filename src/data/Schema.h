#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QSqlDatabase;

// The club database: twelve tables, their columns in stored order, keys and indexes.
namespace Schema {

enum class ColumnType { Text, DateTime, U16, I32, Real, YesNo, Memo };

struct Column {
    QString name;
    ColumnType type;
    int width = 0;  // Text only: the most characters the column takes
};

struct Index {
    QString name;
    QStringList expressions;  // column names, or date(Column) for the date part of a moment
    bool unique = false;
};

struct Table {
    QString name;
    std::vector<Column> columns;
    QStringList primaryKey;
    std::vector<Index> indexes;

    const Column* column(const QString& columnName) const;  // nullptr when it has none
};

inline constexpr int Version = 1;

const std::vector<Table>& tables();
const Table* table(const QString& tableName);  // nullptr for an unknown table

// The CREATE statements of one table (table, then its indexes).
QStringList createStatements(const Table& table);

// Creates every missing table and index and sets the schema version. Throws DbError.
void create(QSqlDatabase& db);

// What the database lacks of the schema: "the table X is missing" or "the table X has no column
// Y" for the first table or column missing; empty when every table has every column. Throws
// DbError when the database cannot be read.
QString mismatch(const QSqlDatabase& db);

}  // namespace Schema
