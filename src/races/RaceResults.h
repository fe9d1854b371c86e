#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class QTableView;
class RowSetModel;
class TdmZAVR;
struct ClubSettings;

// The status and result views of a race: the race entries of one liberation code and date
// (whatever club entered them).
namespace RaceResults {

struct Counts {
    int members = 0;  // members that sent pigeons (entries whose ring has no member count as one)
    int birds = 0;    // pigeons sent
    int clocked = 0;  // pigeons with an arrival
};

// Result rows, ranked by speed: Pos, LiberCode, PRingNo, BackTime, FlyTime, FlySpeed, Dist,
// LoftNo; one per entry with an arrival, highest speed first. Equal speeds share a position
// and the next position is skipped. The rows show LoftNo as the member's name and PRingNo as the
// ring's parts, both read with the rows (a ring the register does not hold shows its number).
// Returns the counts of the race's summary line, read in the same pass.
Counts loadResultRows(const TdmZAVR& dm, const QString& liberCode, const QDate& liberDate, RowSetModel& rows);

// Status rows: LoftNo, ClockID, MarkedCnt, ArriveCnt; one per member and clock.
void loadStatusRows(const TdmZAVR& dm, const QString& liberCode, const QDate& liberDate, RowSetModel& rows);

// "12 Members sent 150 birds of which 98 were clocked"
QString summaryLine(const Counts& counts);

// "Yds/Min" in yards mode, "MPM" in metres mode.
QString speedTitle(const ClubSettings& settings);

// Titles and display rules of the result grid and report: the time of BackTime, "%8.3n" for the
// speed (empty for 0), thousands for Dist (the member names and ring parts come with the rows).
void applyResultDisplay(const ClubSettings& settings, RowSetModel& rows);
// Titles and display rules of the status grid and report.
void applyStatusDisplay(const TdmZAVR& dm, RowSetModel& rows);
// Shows the result grid's columns in the order Pos., Member, Pigeon, Clock, Flying Time, speed,
// Dist.; the liberation code is hidden.
void arrangeResultGrid(QTableView* grid);

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
