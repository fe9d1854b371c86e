#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

// Moments. A moment is a calendar date and a time of day with no time zone: flying times, clock
// checks and clock stamps know no summer time. A moment is held as a QDateTime in UTC, so that no
// local time zone can shift, refuse or double it (02:30 on the night the clocks go forward is a
// moment like any other). Header only: the device libraries use it without the data library.
namespace Formats {

inline QDateTime moment(const QDate& date, const QTime& time)
{
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

// The calendar date and time of day a date-time shows, as a moment.
inline QDateTime asMoment(const QDateTime& dateTime)
{
    return moment(dateTime.date(), dateTime.time());
}

// to - from in milliseconds, counted by calendar date and time of day alone (whatever time zone
// either carries): days times 86,400,000 plus the difference of the times of day.
inline qint64 msecsBetween(const QDateTime& from, const QDateTime& to)
{
    constexpr qint64 MsecsPerDay = 86400000;
    return (to.date().toJulianDay() - from.date().toJulianDay()) * MsecsPerDay + from.time().msecsTo(to.time());
}

}  // namespace Formats
