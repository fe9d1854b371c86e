#pragma once

#include "Report.h"

#include <QString>

class RowSetModel;
class TdmZAVR;

// The three race reports of the Clock Operation page. Each takes the rows of the tab's query as the
// tab holds them (read by field name, any case, as raw stored values) and the texts the tab keeps;
// the race, the member and the clock times of the headings are looked up in the database. A row
// set without one of the expected fields raises CorvelError.
//
// The tab's handler, inside guarded(...), builds the report and shows its preview:
//   produceReport(this, RaceReports::raceEntry(dm, raceCode, memberName, clockIdText, *rows));
namespace RaceReports {

// Race entry ("Corvel   -   Official   Race   Entry"): the member's pigeons entered in the race,
// printed after the member's clock was programmed. raceCode is that of the tab's race choice,
// memberName the member list's text, clockIdText the number of the clock just programmed.
// Rows (the race tab's grid): PRingNo, Sex, ColorType, E_Ring, MarkedTime, RYear. The yearlings
// are the rows whose RYear is the two digits of the year before the printing year.
Report raceEntry(const TdmZAVR& dm, const QString& raceCode, const QString& memberName, const QString& clockIdText,
                 const RowSetModel& entries);

// Race list ("Corvel   -   Official   Race list"): the arrivals one clock reported, printed after
// the clock was read. clockSiteText is the site the clock holds (its member's LoftNo), clockIdText
// its number. Rows: Rank, PRingNo, RCountry, RYear, RRegLetter, RRegNumber, Sex, ColorType,
// BackTime, RandomCode, RealRandom, chk.
Report raceList(const TdmZAVR& dm, const QString& raceCode, const QString& clockSiteText, const QString& clockIdText,
                const RowSetModel& arrivals);

// Rank report: every arrival of the race, fastest first. raceChoice is the upload tab's race list
// text as shown, liberCode the liberation code of its race. Rows: Rank, LoftNo, RCountry, RYear,
// RRegLetter, RRegNumber, Sex, ColorType, BackTime, FlyTime, FlySpeed, Dist, TimeVari. results is
// the tab's result list (field FlyTime): its first row is the winner, its second the runner-up of
// the winning margin. Throws CorvelError (the number conversion error) when there is no arrival
// or a flying time is not in flying-time form: the report then is not produced.
Report rankReport(const TdmZAVR& dm, const QString& raceChoice, const QString& liberCode, const RowSetModel& ranks,
                  const RowSetModel& results);

// A flying-time text ("1:2:5") in seconds: the hours before the first ":", the minutes up to the
// second, at most two characters of seconds after it. Throws CorvelError "'x' is not a valid
// integer value" for a part that is not a whole number.
qint64 flyTimeSeconds(const QString& text);
// A difference of seconds as hours, minutes and seconds each truncated toward zero, joined by ":"
// (-75 -> "0:-1:-15").
QString differenceText(qint64 seconds);

}  // namespace RaceReports
