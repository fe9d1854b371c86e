#include "FlightTime.h"

#include "Formats.h"
#include "TdmZAVR.h"

#include <cmath>

namespace FlightTime {
QList<SunRow> readSunRowsByDay(const TdmZAVR& dm, const QString& raceCode)
{
    QList<SunRow> rows;
    QSqlQuery q = dm.exec(QStringLiteral("SELECT RaceDate, SunSet, SunRise FROM ZAVR_SunSet_SunRise "
                                         "WHERE RaceCode = ? ORDER BY RaceDate"),
                          {raceCode});
    while (q.next())
        rows.append({Formats::fromDbDate(q.value(0)), Formats::fromDbTime(q.value(1)), Formats::fromDbTime(q.value(2))});
    return rows;
}

QDateTime liberationMoment(const QVariant& liberDate, const QVariant& liberTime)
{
    const QDate date = Formats::fromDbDate(liberDate);
    const QTime time = Formats::fromDbTime(liberTime);
    if (!date.isValid() || !time.isValid())
        return {};
    return Formats::toWholeSecond(Formats::moment(date, time));
}

qint64 ClockVariationSecs(const QDateTime& masterTime, const QDateTime& clockTime)
{
    if (!masterTime.isValid() || !clockTime.isValid())
        return 0;
    return Formats::msecsBetween(masterTime, clockTime) / 1000;  // integer division truncates toward zero
}

qint64 CalcuateSecs(qint64 clockVariationSecs, const QDateTime& arrival, const QDateTime& liberation,
                    const QList<SunRow>& sunRows, Variant variant)
{
    if (!arrival.isValid() || !liberation.isValid())
        return 0;
    const QDate libDay = liberation.date();
    const QDate backDay = arrival.date();
    qint64 totalMs = 0;
    if (libDay == backDay) {
        totalMs = Formats::msecsBetween(liberation, arrival);
    } else {
        const QTime arrivalTime = Formats::toWholeSecond(arrival).time();
        const QTime liberationTime = Formats::toWholeSecond(liberation).time();
        for (const SunRow& row : sunRows) {
            if (!row.day.isValid())
                continue;
            if (row.day == backDay) {
                if (row.sunRise.isValid())
                    totalMs += row.sunRise.msecsTo(arrivalTime);
            } else if (row.day == libDay) {
                if (row.sunSet.isValid())
                    totalMs += liberationTime.msecsTo(row.sunSet);
            } else if (row.day > libDay && row.day < backDay) {
                if (row.sunRise.isValid() && row.sunSet.isValid())
                    totalMs += row.sunRise.msecsTo(row.sunSet);
            }
        }
    }
    // The total is made whole seconds first, then tested.
    if (variant == Variant::HandEntry) {
        const qint64 total = totalMs / 1000;  // truncated toward zero
        if (total == 0)
            return 0;
        return total - clockVariationSecs;
    }
    // Nearest whole second, halves away from zero.
    const qint64 total = totalMs / 1000 + ((totalMs % 1000) * 2) / 1000;
    if (total <= 0)
        return 0;
    return total - clockVariationSecs;
}

qint64 CalcuateSecs(const TdmZAVR& dm, qint64 clockVariationSecs, const QDateTime& arrival,
                    const QDateTime& liberation, const QString& raceCode, Variant variant)
{
    QList<SunRow> rows;
    if (arrival.isValid() && liberation.isValid() && arrival.date() != liberation.date())
        rows = readSunRowsByDay(dm, raceCode);
    return CalcuateSecs(clockVariationSecs, arrival, liberation, rows, variant);
}

QString FlyTimeText(qint64 seconds)
{
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds / 60 - hours * 60;
    const qint64 secs = seconds - hours * 3600 - minutes * 60;
    return QStringLiteral("%1:%2:%3").arg(hours).arg(minutes).arg(secs);
}

double SpeedPerMinute(qint64 distance, qint64 seconds)
{
    if (distance < 1 || seconds < 1)
        return 0.0;
    return static_cast<double>(distance) / static_cast<double>(seconds) * 60.0;
}

double storedSpeed(double speed)
{
    if (!std::isfinite(speed))
        return 0.0;
    // The correctly rounded three-decimal text of the number, read back; no locale takes part.
    return QString::number(speed, 'f', 3).toDouble();
}

}  // namespace FlightTime
