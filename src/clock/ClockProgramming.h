#pragma once

#include "ClockDialogue.h"
#include "ClockOpLogic.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <cstdint>

class ClockLibrary;
class RowSetModel;
class TPigModuV6;
class TdmZAVR;

// Loading a member's clock with a training (all the member's eRinged pigeons) or with a race of the
// club (the member's pigeons marked for it), and what the database keeps of it.
namespace ClockProgramming {

// The pigeon as the clock is given it: the eRing number, "0000", the random code as two upper-case
// hexadecimal digits and "00" (1A2B3C4D with code 60 -> 1A2B3C4D00003C00).
QString pigeonTag(const QString& eRing, int randomCode);

// The registration number for the clock: the last 6 characters of RRegNumber, or RRegNumber
// preceded by "0" up to 6 (12345678 -> 345678, 123 -> 000123, empty -> 000000).
QString clockRegNumber(const QString& regNumber);

// A coordinate text ("E121'23:24.33") as a clock coordinate value: its characters 1 to 4, 6 to 7
// and 9 to 10 through TPigModuV6::CoordTextToValue, the hundredths left out; 0 for an empty text.
// Throws CorvelError (the integer conversion error) when a digit group is not all digits, so a
// blank or a sign never shifts the position.
std::int32_t clockCoordinate(const QString& coordinate);

struct ClockPosition {
    std::int32_t lon = 0;
    std::int32_t lat = 0;
};
// The member's LoftLon and LoftLat as clock coordinate values; 0, 0 for a member without them.
ClockPosition loftPosition(const TdmZAVR& dm, const QString& loftNo);

// The training tab's pigeons of the member: those whose E_Ring is not null, by eRing number when
// ordered. Fields LoftNo, PRingNo, E_Ring, UID, Sex, ColorType, RRegNumber, RandomCode.
QSqlQuery trainingPigeons(const TdmZAVR& dm, const QString& loftNo, bool ordered);
// The training grid's columns: Member, Association number, Sex of birds, Color.
QList<ClockOp::GridColumn> trainingGridColumns();

// The race tab's pigeons of the member marked for the race, with the entry's code, marking time and
// clock, by eRing number when ordered. Fields LoftNo, PRingNo, E_Ring, UID, Sex, ColorType,
// RandomCode (the entry's), RRegNumber, MarkedTime, RYear, ClockID.
QSqlQuery racePigeons(const TdmZAVR& dm, const ClockRace& race, const QString& loftNo, bool ordered);
// The race grid's columns: Member, Association Number, Sex of birs, Color.
QList<ClockOp::GridColumn> raceGridColumns();

// The name of every member with entries in the race, one each, by name.
QStringList raceMemberNames(const TdmZAVR& dm, const ClockRace& race);

// What a clock was given.
struct ProgrammedClock {
    QString clockNo;        // the clock's number
    QDateTime confirmedAt;  // when the clock confirmed the flight, to the second
    ClockIdentity identity;
    DesBlock raceAuth{};
};

// Loads the clock on the link's port with the training "F0000001" of the member's pigeons (rows
// of trainingPigeons, in their current order) at the moment now. Errors of the pigeon list are
// shown and the training goes on; any other failed step throws CorvelError with its message and
// stops there (the clock keeps what it was given so far). Writes nothing to the database.
ProgrammedClock ProgramTraining(ClockLibrary& library, TPigModuV6& link, const TdmZAVR& dm, const QString& loftNo,
                                const RowSetModel& pigeons, const QDateTime& now, const ShowMessage& show);

// Loads the clock with the race, its pigeons being the rows of racePigeons in their current
// order, as ProgramTraining does; once the clock has started the race, stores the clock number
// with the member's entries of the race and writes the member's ZAVR_RaceClockTime row (both in
// one transaction). Throws CorvelError; nothing is written when a step fails.
ProgrammedClock ProgramRace(ClockLibrary& library, TPigModuV6& link, const TdmZAVR& dm, const ClockRace& race,
                            const QString& loftNo, const RowSetModel& pigeons, const QDateTime& now, const ShowMessage& show);

// The member's ZAVR_LoftClocks row of that clock gets LastSynchDate := now; it is appended when the
// member has no row for the clock.
void RecordClockSync(const TdmZAVR& dm, const QString& loftNo, const QString& clockNo, const QDateTime& now);

// The clock's number on every entry of the race whose pigeon belongs to the member, and the
// member's ZAVR_RaceClockTime row of the race with ClockID and DLMarkedTime := confirmedAt
// (appended when missing), in one transaction.
void recordRaceClock(const TdmZAVR& dm, const ClockRace& race, const QString& loftNo, const QString& clockNo,
                     const QDateTime& confirmedAt);

}  // namespace ClockProgramming
