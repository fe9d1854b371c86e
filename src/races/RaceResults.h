#pragma once

#include "GridColumns.h"

#include <QDate>
#include <QString>
#include <QStringList>

class RowSetModel;
class TdmZAVR;

// The status and result views of a race: the race entries of one liberation code and date
// (whatever club entered them).
namespace RaceResults {

// The rows' titles and display rules are those of ListColumns::raceResult and raceStatus.

struct Counts {
    int members = 0;  // members that sent pigeons (entries whose ring has no member count as one)
    int birds = 0;    // pigeons sent
    int clocked = 0;  // pigeons with an arrival
};

// What the pass that loads a race's result rows reads besides them: the counts of the race's
// summary line, and how the member and pigeon columns show the rows (ListColumns::raceResult):
// the names of the race's members and the parts of the rings that arrived, nothing else of the
// registers.
struct LoadedResult {
    Counts counts;
    GridColumn::DisplayRule memberName;  // LoftNo as the member's name
    GridColumn::DisplayRule ringParts;   // PRingNo as the ring's parts; a ring the register does not hold as its number
};

// Result rows, ranked by speed: Pos, LiberCode, PRingNo, BackTime, FlyTime, FlySpeed, Dist,
// LoftNo; one per entry with an arrival, highest speed first. Equal speeds share a position
// and the next position is skipped. Returns what the same pass read for the summary line and the
// member and pigeon columns.
LoadedResult loadResultRows(const TdmZAVR& dm, const QString& liberCode, const QDate& liberDate, RowSetModel& rows);

// Status rows: LoftNo, ClockID, MarkedCnt, ArriveCnt; one per member and clock.
void loadStatusRows(const TdmZAVR& dm, const QString& liberCode, const QDate& liberDate, RowSetModel& rows);

// "12 Members sent 150 birds of which 98 were clocked"
QString summaryLine(const Counts& counts);

// Writes the result rows, in their current order, to a new xlsx workbook: one sheet "Sheet1",
// a header row of field names, then the stored values; ring number and arrival as text, the
// speed as "0.000". The file is written under a temporary name and renamed when complete.
// Throws CorvelError "Data transfer error: " and the reason.
void exportResultRows(const RowSetModel& rows, const QString& path);

// The filter of the export's save dialog: "Excel File (*.xlsx)" and the older "Excel File|*.xls".
QString resultExportFilter();
// The name the workbook is written under: the chosen name with ".xlsx" added when it has no
// ending, and its ending ".xls" (any case) made ".xlsx", as the content is an xlsx workbook.
QString workbookFileName(const QString& chosen);
// What the user is told when the ending was changed; empty when it was not.
QString workbookFileNameNotice(const QString& chosen);

}  // namespace RaceResults
