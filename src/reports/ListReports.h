#pragma once

#include "GridColumns.h"
#include "Report.h"

#include <QString>
#include <QVariant>

class RowSetModel;
class TdmZAVR;
struct ClubSettings;

// The six list reports of the Member and Races pages. Each takes what its page shows: the club
// settings (TdmZAVR::clubSettings()), the title texts the page holds, and the rows of the page's
// grid as that grid holds them, in its current order (a title-click sort carries over). Rows are
// read by field name (case does not matter) as raw stored values, and printed by the display
// rules of the page's grid (ListColumns). A row set without one of the expected fields raises
// CorvelError. Reports that show member names or colour names look them up in the database; the
// race result prints by the Result view's own columns, whose names and ring parts came with its
// rows.
//
// A page's Print handler builds the report and shows its preview:
//   produceReport(this, ListReports::memberList(dm.clubSettings(), *memberModel));
namespace ListReports {

// Member list, "Member List".
// Rows (the member grid): LoftName, LoftNo, clockCnt.
Report memberList(const ClubSettings& club, const RowSetModel& members);

// Ring list of one member, titled " Ring list of <name>( <loftNo> )".
// Rows (the ring grid, all columns of ZAVR_PigData): PRingNo, Sex, E_Ring, ColorType, CreateDate,
// AssignDate, Updatetime.
Report ringList(const TdmZAVR& dm, const ClubSettings& club, const QString& memberName, const QString& loftNo,
                const RowSetModel& rings);
QString ringListTitle(const QString& memberName, const QString& loftNo);

// Race list, "Race List".
// Rows (the race grid): ClubID, LiberCode, LiberSiteAbbr, LiberSite, LiberDate, LiberTime.
Report raceList(const ClubSettings& club, const RowSetModel& races);

// Member distances to one liberation point, titled with the Distance view's title.
// Rows (the distance grid, rows of ZAVR_LoftLibPointDist): LoftNo, Miles, Yards. The member
// column shows the name of LoftNo.
Report memberDistances(const TdmZAVR& dm, const ClubSettings& club, const QString& distanceViewTitle,
                       const RowSetModel& distances);

// Race status, titled with the Status view's title and the race's liberation date and time.
// liberDate and liberTime are the stored LiberDate and LiberTime of the race grid's current row.
// Rows (the Status view): LoftNo, ClockID, MarkedCnt, ArriveCnt.
Report raceStatus(const TdmZAVR& dm, const ClubSettings& club, const QString& statusViewTitle,
                  const QVariant& liberDate, const QVariant& liberTime, const RowSetModel& status);
QString raceStatusTitle(const QString& statusViewTitle, const QVariant& liberDate, const QVariant& liberTime);

// Race result, titled with the Result view's title, the race's liberation date and time and the
// view's summary line. Rows (the Result view): Pos, LoftNo, PRingNo, BackTime, FlyTime, FlySpeed,
// Dist, printed as the Result view's columns (`resultColumns`, ListColumns::raceResult) show them:
// the member's name and the ring's parts as read with the rows.
Report raceResult(const ClubSettings& club, const GridColumns& resultColumns, const QString& resultViewTitle,
                  const QVariant& liberDate, const QVariant& liberTime, const QString& summaryLine,
                  const RowSetModel& results);
QString raceResultTitle(const QString& resultViewTitle, const QVariant& liberDate, const QVariant& liberTime,
                        const QString& summaryLine);

}  // namespace ListReports
