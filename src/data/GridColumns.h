#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

// One column of a grid of rows: the field it shows, its title, the display rule that turns a
// stored value into the text shown, and its alignment. A list report printing the same rows takes
// the display rules from the same description, so a rule changed there changes both.
struct GridColumn {
    using DisplayRule = std::function<QString(const QVariant&)>;

    QString field;
    QString title = {};     // empty: the field name
    DisplayRule text = {};  // empty: the stored value as text, null as empty
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// The columns a grid shows, left to right; a field of its rows that is not listed is not shown.
using GridColumns = QList<GridColumn>;

// The column of `field` (case does not matter); null when the description does not list it.
const GridColumn* findColumn(const GridColumns& columns, const QString& field);

// A stored value of `field` as its column shows it: through the column's rule, else as text
// (null as empty).
QString columnText(const GridColumns& columns, const QString& field, const QVariant& value);

// The fields of the description, in its order.
QStringList columnFields(const GridColumns& columns);
