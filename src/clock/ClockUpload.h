#pragma once

#include "ClockDialogue.h"
#include "ClockOpLogic.h"
#include "CorvelError.h"
#include "FlightTime.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSqlQuery>
#include <QString>

class ClockLibrary;
class RowSetModel;
class TPigModuV6;
class TdmZAVR;

// Reading the members' clocks after a race: the poll of the port, reading and authenticating the
// arrival records, storing them in the race entries, and the rankings and lists shown afterwards.
//
// Order of one clock's upload: the records are read and authenticated, then the race is verified
// and closed in the clock, which is what gives the end-of-race check (the clock's own time and the
// master time) that every flying time needs; only then is anything written, all of the clock's
// rows in one transaction. Closing the race removes nothing from the clock: its records and its
// race stay there, so when writing fails (nothing of the clock is then written) the clock is
// simply read again and gives the same records.
namespace ClockUpload {

// One arrival record as the clock gives it (read up to 101 characters; hexadecimal digits).
// Positions below are counted from 1.
struct ArrivalRecord {
    QString text;

    QString eRing() const { return field(1, 8); }       // the pigeon's E_Ring
    QString givenCode() const { return field(13, 2); }  // random code programmed with the pigeon
    QString readCode() const { return field(29, 2); }   // random code read from the ring at arrival
    QString stamp() const { return field(33, 16); }     // arrival time stamp
    QString uid() const { return field(49, 8); }        // chip UID read at arrival; "00000000" for none
    // The flags' bit 0x20: positions 73-88 hold the arrival position.
    bool hasPosition() const;

private:
    QString field(int first, int count) const { return text.mid(first - 1, count).toUpper(); }
};

// The clock on the port as the poll found it.
struct ClockOnPort {
    ClockIdentity identity;
    QByteArray raceNo;  // the clock's current race number, 8 characters
    DesBlock raceAuth{};
    QString clockNo;
};

enum class PollResult {
    AlreadyRead,  // the clock on the port was read already: poll on
    OtherRace,    // the clock holds another race ("RaceNo not Match  !" shown): stop polling
    Ready,        // a new clock holding the race: stop polling and read it
};

// Raised when the clock does not name its race ("PGT_GetCurrentRace Fail !"): the clock counts as
// read, and polling goes on for the next one.
class CurrentRaceError : public CorvelError {
public:
    using CorvelError::CorvelError;
};

// One poll of the port for the race raceCode. currentLoftNo becomes the member number the clock
// holds as its site (kept when the clock gives none), clockSiteText the site text. A clock whose
// member is lastClockLoft is not read again; otherwise lastClockLoft becomes its member. Throws
// CorvelError "IFD_Connect NOT OK !" (stop polling), CurrentRaceError, or "IFDGetDevNo Fail !".
PollResult pollClock(ClockLibrary& library, TPigModuV6& link, const QString& raceCode, QString& currentLoftNo,
                     QString& lastClockLoft, QString& clockSiteText, ClockOnPort& clock, const ShowMessage& show);

// What was read from one clock.
struct ClockReading {
    QList<ArrivalRecord> records;  // the accepted records, in the order read
    QString clockNo;
    QDateTime masterTime;  // end-of-race check: the master time
    QDateTime clockTime;   // and the clock's own time
    qint64 timeVariation = 0;
};

// Reads every arrival record of the clock's race and authenticates it (a record that fails is
// shown and left out), then verifies and closes the race in the clock at the moment now and takes
// the end-of-race check. Returns false, after "Clock no record be uploaded   ! ", when no record
// was accepted. Throws CorvelError when an end-of-race call fails. Writes nothing.
bool ReadClockRecords(ClockLibrary& library, TPigModuV6& link, const ClockOnPort& clock, const QDateTime& now,
                      ClockReading& reading, const ShowMessage& show);

// Writes what was read from the clock of member loftNo, all or nothing: the end-of-race check into
// the race's ZAVR_RaceClockTime row of that clock, and each accepted record into its pigeon's race
// entry with arrival, flying time, speed and the member's distance (full update), or only the UID
// and code read when the code read differs from the code given or the UID belongs to no pigeon
// (partial update; "Security Code not match !! ", "UID Not Match  !!"). A record of an eRing that
// is no pigeon's, or of a pigeon not entered in the race ("PRingNo not found in this race (...)!!"),
// is shown and skipped. Every record is worked out before anything is written: an arrival that is
// not a valid date and time throws CorvelError and nothing of the clock is written.
void ApplyClockRecords(const TdmZAVR& dm, const ClockRace& race, const QString& loftNo, const ClockReading& reading,
                       const ShowMessage& show);

// The flying seconds of a clock's arrival: FlightTime::CalcuateSecs in its clock upload variant
// (the total rounded to the nearest second, 0 when it is not above 0 s) less the clock variation.
qint64 ClockFlyingSeconds(qint64 clockVariationSecs, const QDateTime& arrival, const QDateTime& liberation,
                          const QList<FlightTime::SunRow>& sunRows);

// An arrival text of TPigModuV6::ClockTimeToText ("2014/08/25 13:45:10.123", at midnight
// "2014/08/25.000") as a moment with its milliseconds. Throws CorvelError when it is not a date and
// time a clock records (the zero date-time of a stamp without time included).
QDateTime readArrivalText(const QString& text);

// The race's arrivals, fastest first (then by arrival when byArrival): Rank, LoftNo, PRingNo,
// BackTime, FlyTime, FlySpeed, Dist.
QSqlQuery timerResult(const TdmZAVR& dm, const ClockRace& race, bool byArrival);
// The result grid's columns: Pos., Member, Pigeon, Clocked, Fly Speed, Flying Time, Dist.
QList<ClockOp::GridColumn> resultGridColumns();

// The member's entries of the race that have a code read at arrival, fastest first: Rank (the
// race-wide position; empty for an entry without an arrival), PRingNo, RCountry, RYear, RRegLetter,
// RRegNumber, Sex, ColorType, BackTime, RandomCode, RealRandom (the code read, as a number),
// chk ("OK" when it equals RandomCode, else "NG").
void loadRaceListRows(const TdmZAVR& dm, const ClockRace& race, const QString& loftNo, RowSetModel& rows);

// Every arrival of the race, fastest first, for the rank report: Rank, LoftNo, PRingNo, RCountry,
// RYear, RRegLetter, RRegNumber, Sex, ColorType, BackTime, FlyTime, FlySpeed, Dist, TimeVari.
QSqlQuery rankRows(const TdmZAVR& dm, const ClockRace& race);

// "12 Members sent 240 birds of which 201 were clocked".
QString uploadSummary(const TdmZAVR& dm, const ClockRace& race);

}  // namespace ClockUpload
