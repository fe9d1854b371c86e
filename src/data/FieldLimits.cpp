#include "FieldLimits.h"

#include "Schema.h"

#include <QLabel>
#include <QLineEdit>

namespace {

// The width of the field's column; 0 for a column that is not text of a limited width.
int columnWidth(const ColumnField& field)
{
    const Schema::Table* table = Schema::table(field.table);
    const Schema::Column* column = table ? table->column(field.column) : nullptr;
    Q_ASSERT_X(column, "columnWidth", "a form field names a column the schema does not have");
    return column && column->type == Schema::ColumnType::Text ? column->width : 0;
}

}  // namespace

void limitToColumns(const ColumnFields& fields)
{
    for (const ColumnField& f : fields)
        if (const int width = columnWidth(f); width > 0)
            f.edit->setMaxLength(width);
}

QString columnLengthError(const ColumnFields& fields)
{
    for (const ColumnField& f : fields) {
        const int width = columnWidth(f);
        // The database counts characters, not UTF-16 units.
        if (width > 0 && f.edit->text().toUcs4().size() > width)
            return QStringLiteral("The value of %1 is not accepted: at most %2 characters.").arg(f.caption).arg(width);
    }
    return {};
}

QString fieldCaption(const QLabel* label)
{
    QString text = label->text();
    text.remove(QLatin1Char('&'));
    while (!text.isEmpty() && (text.back() == QLatin1Char(':') || text.back().isSpace()))
        text.chop(1);
    return text.trimmed();
}

void setStoredText(QLineEdit* edit, const QString& text)
{
    if (text.size() > edit->maxLength())
        edit->setMaxLength(static_cast<int>(text.size()));
    edit->setText(text);
}
