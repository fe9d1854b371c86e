#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

class TdmZAVR;

// From an arrival to the values of a race entry: the clock variation, the flying seconds with the
// nights neutralised, the flying time text and the speed. A moment is a calendar date and a time
// of day with no time zone (Formats::moment); every difference of moments is taken by date and
// time of day in whole milliseconds, then truncated or rounded as each operation says.
namespace FlightTime {

// Hand entry truncates the flying time toward zero and gives 0 for a total of 0 s; a clock upload
// rounds it to the nearest second (halves away from zero) and gives 0 for a total that is not
// above 0 s. The total is made whole seconds before it is tested.
enum class Variant { HandEntry, ClockUpload };

// Sunset and sunrise of one calendar day of a race.
struct SunRow {
    QDate day;
    QTime sunSet;
    QTime sunRise;
};

// The sun rows of a race, by race code, in day order.
QList<SunRow> readSunRowsByDay(const TdmZAVR& dm, const QString& raceCode);

// The liberation moment of a race row: the date of LiberDate with the time of day of LiberTime,
// to the second, as a moment. Invalid when either is missing or unreadable.
QDateTime liberationMoment(const QVariant& liberDate, const QVariant& liberTime);

// (clock time - master time) in whole seconds, truncated toward zero; positive when the
// member's clock runs ahead.
qint64 ClockVariationSecs(const QDateTime& masterTime, const QDateTime& clockTime);

// The flying seconds of an arrival, less the clock variation; 0 when none can be computed.
// On the day of liberation the plain difference counts; over several days only the daylight
// between sunrise and sunset of each day of the race counts (a day without a sun row adds
// nothing). Days are compared as calendar dates, so a race across the turn of a year is right.
qint64 CalcuateSecs(qint64 clockVariationSecs, const QDateTime& arrival, const QDateTime& liberation,
                    const QList<SunRow>& sunRows, Variant variant);
// The same, reading the race's sun rows by race code only when the race spans several days.
qint64 CalcuateSecs(const TdmZAVR& dm, qint64 clockVariationSecs, const QDateTime& arrival,
                    const QDateTime& liberation, const QString& raceCode, Variant variant);

// Hours, minutes and seconds without leading zeros, joined by ":": 3725 -> "1:2:5".
QString FlyTimeText(qint64 seconds);

// Distance units per minute; 0 when the distance or the seconds are below 1.
double SpeedPerMinute(qint64 distance, qint64 seconds);

// The speed as it is stored in FlySpeed: rounded to three decimals.
double storedSpeed(double speed);

}  // namespace FlightTime
