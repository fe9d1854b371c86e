#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class RowSetModel;

// Writes spreadsheet files (xlsx) that the program's users open in their office programs and that
// readFirstSheet reads back.

// How one column of a written sheet looks.
struct SheetColumn {
    double width = 0;         // in characters; 0 keeps the default width
    QByteArray numberFormat;  // "@" makes the column text; empty is the general format
};

// The text every failed workbook save begins with.
inline constexpr const char* DataTransferErrorText = "Data transfer error: ";

// Writes a new workbook of one sheet, "Sheet1": the field names in row 1 and the rows below them,
// in their current order.
// Empty and null values leave the cell empty; a number is written as a number unless its column is
// text ("@"); everything else is written as text. `columns` gives the look of the first columns.
// The workbook is written under a temporary name beside `path` and renamed over it once complete,
// so a failure leaves neither a partial file nor a changed old one. Throws CorvelError
// "Data transfer error: " and the reason.
void writeWorkbook(const QString& path, const RowSetModel& rows, const QList<SheetColumn>& columns = {});

// The name a workbook is written under: the chosen name with ".xlsx" added when it has no ending,
// and its ending ".xls" (any case) made ".xlsx", as the content is an xlsx workbook.
QString workbookFileName(const QString& chosen);
