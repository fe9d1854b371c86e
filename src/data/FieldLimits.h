#pragma once

#include <QList>
#include <QString>

class QLabel;
class QLineEdit;

// The text fields of a form and the columns of the club database they are stored in: a field takes
// at most its column's width as it is typed, and a value that does not fit is named by the field's
// caption, as the form shows it, not by its column.

struct ColumnField {
    QLineEdit* edit;
    QString table;    // "ZAVR_LoftData"
    QString column;   // "PhoneNo"
    QString caption;  // "Telephone Number"
};
using ColumnFields = QList<ColumnField>;

// Each field takes at most its column's width (schema) as typed.
void limitToColumns(const ColumnFields& fields);

// The message for the first field whose text is longer than its column takes, for a field whose
// form allows more than the column: "The value of Loft Number is not accepted: at most 10
// characters." Empty when every text fits.
QString columnLengthError(const ColumnFields& fields);

// A field's caption from its label: the label's text without the accelerator "&" and without a
// closing ":" and blanks ("Telephone Number:" -> "Telephone Number").
QString fieldCaption(const QLabel* label);

// Puts a stored text into a field whose limit it exceeds (a limit counts UTF-16 units, a column
// characters) without cutting it: the field's limit grows to the text.
void setStoredText(QLineEdit* edit, const QString& text);
