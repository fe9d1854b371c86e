#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// Reads the cells of a workbook's first sheet (xlsx, ods or csv): one list of values per row from
// the first row to the last row holding data, each as wide as the widest row. Numbers come as
// double, texts as QString, empty cells as a null QVariant; a formula gives its stored result.
// Every cell of a csv file is text. Throws CorvelError with the reason when the file cannot be
// read, or when its data reach further than kMaxSheetCells cells (rows times columns).
inline constexpr qint64 kMaxSheetCells = 10'000'000;
QList<QVariantList> readFirstSheet(const QString& path);
