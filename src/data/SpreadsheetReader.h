#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class QIODevice;

// Reads the cells of a workbook's first sheet (xlsx, ods or csv): one list of values per row from
// the first row to the last row holding data, each as wide as the widest row. Numbers come as
// double, texts as QString, empty cells as a null QVariant; a formula gives its stored result.
// Every cell of a csv file is text. Throws CorvelError with the reason when the file cannot be
// read, or when its data reach further than kMaxSheetCells cells (rows times columns).
inline constexpr qint64 kMaxSheetCells = 10'000'000;
//
// The reading happens in the reader program corvel-sheet-reader, so that whatever a damaged file
// does to the spreadsheet library (an abort, a crash, endless work) this program survives it; a
// reader that stops, fails or runs longer than kSheetReaderTimeoutMs is reported as a damaged file.
// The reader is $CORVEL_SHEET_READER when set, else the one in the program's library folder, else
// the one of the build tree.
inline constexpr int kSheetReaderTimeoutMs = 5 * 60 * 1000;
QList<QVariantList> readFirstSheet(const QString& path);

// The same reading done in this process, as the reader program and the fuzz target do it: a
// damaged file may take this process down with it.
QList<QVariantList> readFirstSheetInProcess(const QString& path);

// The reader program's work: reads the file in this process and writes the rows, or the text of
// the CorvelError, to out in the form readFirstSheet decodes.
void writeFirstSheet(const QString& path, QIODevice& out);
