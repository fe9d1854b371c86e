#include "GridColumns.h"

const GridColumn* findColumn(const GridColumns& columns, const QString& field)
{
    for (const GridColumn& c : columns)
        if (c.field.compare(field, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QString columnText(const GridColumns& columns, const QString& field, const QVariant& value)
{
    const GridColumn* column = findColumn(columns, field);
    if (column && column->text)
        return column->text(value);
    return value.isNull() ? QString() : value.toString();
}

QStringList columnFields(const GridColumns& columns)
{
    QStringList fields;
    fields.reserve(columns.size());
    for (const GridColumn& c : columns)
        fields << c.field;
    return fields;
}
