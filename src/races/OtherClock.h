#pragma once

#include "GridColumns.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class RowSetModel;
class TdmZAVR;

// Arrivals typed in by hand for members whose pigeons were timed on another clock.
namespace OtherClock {

// The race the arrivals belong to.
// Moments (liberation, clock times, arrivals) are calendar dates and times of day with no time
// zone, made with Formats::moment.
struct Race {
    QString clubId;
    QString liberCode;
    QDate liberDate;
    QDateTime liberation;  // liberation date and time, to the second
    QString raceCode;      // liberation code and "mmdd"
};

// The three times of the member clock's control.
struct ClockTimes {
    QDateTime marked;  // when the race was set into the clock
    QDateTime master;  // master time at the check after the race
    QDateTime member;  // the member clock's time at that check
};

// What a saved arrival became.
struct SavedArrival {
    QString backTime;
    qint64 seconds = 0;
    QString flyTime;
    double speed = 0.0;  // as stored
    int distance = 0;
};

struct Member {
    QString loftNo;
    QString loftName;
};
// Every member, in table order, for the member choice of the view.
QList<Member> members(const TdmZAVR& dm);

// The member's ring numbers, all of them or those ending with `ending` (any case).
QStringList memberRings(const TdmZAVR& dm, const QString& loftNo, const QString& ending = {});

// Every pigeon of the member by ring number, with its arrival text in the race (or null):
// fields PRingNo, BackTime.
void loadMemberArrivals(const TdmZAVR& dm, const Race& race, const QString& loftNo, RowSetModel& rows);
// The columns of those rows in the view's grid.
GridColumns arrivalColumns();

std::optional<ClockTimes> storedClockTimes(const TdmZAVR& dm, const Race& race, const QString& loftNo);

// The stored arrival of a pigeon in the race; empty when it has none.
std::optional<QDateTime> storedArrival(const TdmZAVR& dm, const Race& race, const QString& ringNo);

// Whether the arrival lies before the liberation moment (compared to the second): a mistyped day
// or time that no club means. The view asks before it saves such an arrival.
bool arrivesBeforeLiberation(const QDateTime& arrival, const QDateTime& liberation);
// What the question names in its parenthesis:
// "arrival 2026/07/18 13:00:00, liberation 2026/07/19 14:00:00".
QString arrivalBeforeLiberationDetail(const QDateTime& arrival, const QDateTime& liberation);
// "The arrival is before the liberation (<detail>). Save it anyway?"
QString arrivalBeforeLiberationQuestion(const QDateTime& arrival, const QDateTime& liberation);

// Stores the member's clock times for the race and the pigeon's arrival with its flying time,
// speed and distance, all or nothing. A member and a ring must be given. Throws CorvelError.
SavedArrival saveArrival(const TdmZAVR& dm, const Race& race, const QString& loftNo, const QString& ringNo,
                         const ClockTimes& times, const QDateTime& arrival);

}  // namespace OtherClock
