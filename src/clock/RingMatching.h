#pragma once

#include "ClockOpLogic.h"

#include <QDateTime>
#include <QList>
#include <QSqlQuery>
#include <QString>
#include <functional>
#include <optional>

class ClockOpState;
class TdmZAVR;

// What one poll of the ring reader came to, for the tab that runs it.
struct RingPollResult {
    bool keepReading = true;  // whether the tab's timer runs on
    QString message;          // to show once the poll is over; empty for none
    QString acceptedRingNo;   // the pigeon that was given or marked with the ring: the tab
                              // beeps and shows its row; empty when none was
};

// eRing matching: assigning the ring on the reader to one of a member's pigeons, after checking
// that the ring is genuine. Works through the ring reader link of the page-wide state.
namespace RingMatching {

inline constexpr const char* UnauthorizedRing = "Unauthorized eRing !";
inline constexpr const char* RingAssociationError = "Ring association number error !";
inline constexpr const char* DataUpdateFail = "Data Update Fail !";
// "PRingNo(<ring number>) ReMatching , Update or not?"
QString reMatchQuestion(const QString& ringNo);

// The member's pigeons: LoftNo, PRingNo, E_Ring, UID, Sex, ColorType (no order).
QSqlQuery matchingQuery(const TdmZAVR& dm, const QString& loftNo);
// The grid's columns in the order shown.
QList<ClockOp::GridColumn> gridColumns();

// The member named loftName becomes state.currentLoftNo; returns its LoftNo, or nothing (and
// changes nothing) when no member has that name.
std::optional<QString> chooseMember(const TdmZAVR& dm, ClockOpState& state, const QString& loftName);

// Reads the data block of the ring on the reader into state.ringData and its first five bytes
// (eRing number, random code) into state.ringDataHex; false when the read failed.
bool ReadRingData(ClockOpState& state);

// Answers a yes/no question: true for Yes.
using Question = std::function<bool(const QString& text)>;

// One poll of the reader, for the pigeon ringNo of state.currentLoftNo. A genuine ring not
// handled last is given to that pigeon (E_Ring, UID, RandomCode, ActiveStat, SynchFlag,
// AssignDate, Updatetime), after ask has agreed to take it from the pigeon that holds it; taking
// it away and giving it are one transaction. Throws CorvelError with RingAssociationError when
// the member has no such pigeon, DataUpdateFail when the database refuses the change (nothing is
// then written).
RingPollResult poll(const TdmZAVR& dm, ClockOpState& state, const QString& ringNo, const Question& ask,
                    const QDateTime& now);

}  // namespace RingMatching
