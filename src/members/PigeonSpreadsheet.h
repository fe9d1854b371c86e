#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

class TdmZAVR;

// Pigeons in and out of spreadsheet files. One sheet, the first of the file; row 1 is a header and
// every row below it is one pigeon, its columns by position:
//   1 LoftNo, 2 RCountry, 3 RYear, 4 RRegLetter, 5 RRegNumber, 6 Sex ("Hen", anything else is a
//   cock), 7 ColorType, 8 PRingNo (optional), 9 E_Ring.
// A sheet of exactly 7 columns is the short layout, without ring number and eRing columns; any
// other width is the full layout. The export writes the full layout.

// File dialog filters: the import reads xlsx, ods and csv; the export writes xlsx.
inline constexpr const char* PigeonImportFilter = "Excel File|*.xlsx|OpenDocument Spreadsheet|*.ods|CSV File|*.csv";
inline constexpr const char* PigeonExportFilter = "Excel File|*.xlsx";

// The cells of one pigeon row as texts.
struct PigeonSheetRow {
    QString loftNo;      // column 1
    QString country;     // 2
    QString year;        // 3
    QString letters;     // 4
    QString number;      // 5
    QString sex;         // 6, as written ("Hen", "Cock", ...)
    QString colourCode;  // 7
    QString ringNo;      // 8
    QString eRing;       // 9
};

// Turns the cells of a sheet row (as readFirstSheet gives them; missing cells are empty) into
// texts. A whole number becomes its digits without a decimal part; the year is zero-filled to two
// digits and the eRing number to eight, as a spreadsheet drops their leading zeros. Throws
// CorvelError naming the column for a number that is not whole.
PigeonSheetRow pigeonSheetRow(const QVariantList& cells);

// The ring number a row imports under: column 8 in the full layout when it is not empty,
// otherwise columns 2 to 5 joined as they stand (no hyphens, no added zeros, for every country).
QString importRingNumber(const PigeonSheetRow& row, bool fullLayout);

struct PigeonImportResult {
    int inserted = 0;
    int updated = 0;
    bool cancelled = false;  // nothing was written
};

// Told the rows done and the rows in all before each row and once more at the end; returning
// false cancels the import.
using ImportProgress = std::function<bool(int done, int total)>;

// Imports the rows below the header of `sheet` (its first row), all or nothing. A pigeon found by
// loft number and ring number gets the row's sex, colour code and update time, and in the full
// layout its eRing number (an empty cell clears it; the chip UID stays). Any other row is inserted
// as a new pigeon (comment empty, synchronisation flag set, created today). Empty cells are stored
// as empty texts, an empty eRing cell as no eRing (null). Blank rows are skipped. A row with an
// empty member number, an empty registration number where the ring number is composed, a ring
// number of another member or a value the database refuses stops the import: CorvelError names the
// sheet row and the reason, and nothing is written.
PigeonImportResult importPigeonSheet(const TdmZAVR& dm, const QList<QVariantList>& sheet, const QDateTime& now,
                                     const ImportProgress& progress = {});

// Reads the file's first sheet (xlsx, ods or csv) and imports it. Throws CorvelError when the file
// cannot be read or a row is refused.
PigeonImportResult importPigeonFile(const TdmZAVR& dm, const QString& path, const QDateTime& now,
                                    const ImportProgress& progress = {});

// Writes the member's pigeons, by ring number, to a new workbook at `path` in the full layout, the
// header holding the column names; sex as "Cock" for "C" and "Hen" otherwise; year and
// registration number in text columns. A member without pigeons gives the header alone. Throws
// CorvelError "Data transfer error: " and the reason when the file cannot be written; no partial
// file is left.
void exportPigeons(const TdmZAVR& dm, const QString& loftNo, const QString& path);
