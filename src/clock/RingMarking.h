#pragma once

#include "ClockOpLogic.h"
#include "RingMatching.h"

#include <QDateTime>
#include <QList>
#include <QSqlQuery>
#include <QString>

class ClockOpState;
class TdmZAVR;

// Marking: recording which pigeons are basketed for a race. Each ring laid on the reader gets a
// fresh random code, read back to verify it, and the pigeon's race entry takes that code and the
// marking time. Works through the ring reader link of the page-wide state.
namespace RingMarking {

inline constexpr const char* SelectRaceCode = "Pls. Select Race Code !";
// The ring on the reader belongs to no pigeon.
inline constexpr const char* UnknownRing = "UID Not Match Error !  !";
// The ring was replaced between reading and writing.
inline constexpr const char* RingReplaced = "UID Not Match Error ! ";
inline constexpr const char* UpdateMarkingFail = "Update Marking table fail !";
// A pigeon whose stored eRing number is not 8 hexadecimal digits cannot be marked.
QString badERingMessage(const QString& ringNo);

// Chooses the race of a Marking race list entry ("1A2F  08/19"): the first race with that
// liberation code on that day and month sets state.raceLiberCode, raceLiberDate (short date),
// raceCode and raceClubId. Throws CorvelError with SelectRaceCode when the entry names no race
// (state unchanged).
void chooseRace(const TdmZAVR& dm, ClockOpState& state, const QString& entry);

// Every pigeon without any race entry, and every pigeon with its entry of the chosen race:
// LoftNo, PRingNo, Sex, ColorType, LiberCode, LiberDate, by ring number.
QSqlQuery markingQuery(const TdmZAVR& dm, const ClockOpState& state);
QList<ClockOp::GridColumn> gridColumns();

// Writes state.ringDataHex (the pigeon's eRing number) with a new random code (state.markCode)
// into the ring on the reader, provided it is still the ring of pigeonUid, and reads it back.
// True when the ring now holds exactly that; message receives RingReplaced when another ring
// lies on the reader.
bool WriteMarkingCode(ClockOpState& state, const QString& pigeonUid, QString* message);

// One poll of the reader: a ring not handled last, of a pigeon, is marked for the chosen race
// and the pigeon's entry of that race is created or updated, in one transaction. Throws
// CorvelError with UpdateMarkingFail when the entry cannot be saved.
RingPollResult poll(const TdmZAVR& dm, ClockOpState& state, const QDateTime& now);

}  // namespace RingMarking
