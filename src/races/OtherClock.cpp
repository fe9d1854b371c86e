#include "OtherClock.h"

#include "CorvelError.h"
#include "FlightTime.h"
#include "Formats.h"
#include "RaceLogic.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"

namespace OtherClock {
namespace {

QString raceDate(const Race& race)
{
    return raceDateKey(race.liberDate);
}

QString likeEnding(const QString& ending)
{
    QString escaped = ending;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped;
}

// The short date and the long time, as arrival texts are stored.
QString momentText(const QDateTime& moment)
{
    const QDateTime whole = Formats::toWholeSecond(moment);
    return Formats::shortDate(whole.date()) + QLatin1Char(' ') + Formats::longTime(whole.time());
}

const QStringList RaceClockKey = {QStringLiteral("LiberCode"), QStringLiteral("LiberDate"), QStringLiteral("LoftNo")};
const QStringList RaceEntryKey = {QStringLiteral("LiberCode"), QStringLiteral("LiberDate"), QStringLiteral("PRingNo")};

}  // namespace

QList<Member> members(const TdmZAVR& dm)
{
    QList<Member> out;
    QSqlQuery q = dm.exec(QStringLiteral("SELECT LoftNo, LoftName FROM ZAVR_LoftData ORDER BY rowid"));
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toString()});
    return out;
}

QStringList memberRings(const TdmZAVR& dm, const QString& loftNo, const QString& ending)
{
    return dm.texts(QStringLiteral("SELECT PRingNo FROM ZAVR_PigData WHERE LoftNo = ? AND PRingNo LIKE ? ESCAPE '\\'"),
                    {loftNo, likeEnding(ending)});
}

void loadMemberArrivals(const TdmZAVR& dm, const Race& race, const QString& loftNo, RowSetModel& rows)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT a.PRingNo, (SELECT b.BackTime FROM ZAVR_PigRaceData b "
                                         "WHERE b.LiberCode = ? AND date(b.LiberDate) = date(?) AND b.PRingNo = a.PRingNo) AS BackTime "
                                         "FROM ZAVR_PigData a WHERE a.LoftNo = ? ORDER BY a.PRingNo"),
                          {race.liberCode, raceDate(race), loftNo});
    rows.setQueryResult(q);
}

std::optional<ClockTimes> storedClockTimes(const TdmZAVR& dm, const Race& race, const QString& loftNo)
{
    const auto row = dm.locate(QStringLiteral("ZAVR_RaceClockTime"), RaceClockKey, {race.liberCode, raceDate(race), loftNo});
    if (!row)
        return std::nullopt;
    return ClockTimes{Formats::fromDbDateTime(row->value(QStringLiteral("DLMarkedTime"))),
                      Formats::fromDbDateTime(row->value(QStringLiteral("ULMasterTime"))),
                      Formats::fromDbDateTime(row->value(QStringLiteral("ULClockTime")))};
}

std::optional<QDateTime> storedArrival(const TdmZAVR& dm, const Race& race, const QString& ringNo)
{
    const QVariant text = dm.scalar(QStringLiteral("SELECT BackTime FROM ZAVR_PigRaceData WHERE LiberCode = ? "
                                                   "AND date(LiberDate) = date(?) AND PRingNo = ? AND BackTime IS NOT NULL"),
                                    {race.liberCode, raceDate(race), ringNo});
    if (text.isNull())
        return std::nullopt;
    const QDateTime moment = Formats::readShortDateLongTime(text.toString());
    if (!moment.isValid())
        throw CorvelError(QStringLiteral("'%1' is not a valid date and time").arg(text.toString()));
    return moment;
}

GridColumns arrivalColumns()
{
    return {{QStringLiteral("PRingNo"), QStringLiteral("Ring ")}, {QStringLiteral("BackTime"), QStringLiteral("Time")}};
}

bool arrivesBeforeLiberation(const QDateTime& arrival, const QDateTime& liberation)
{
    if (!arrival.isValid() || !liberation.isValid())
        return false;
    return Formats::msecsBetween(Formats::toWholeSecond(liberation), Formats::toWholeSecond(arrival)) < 0;
}

QString arrivalBeforeLiberationDetail(const QDateTime& arrival, const QDateTime& liberation)
{
    return QStringLiteral("arrival %1, liberation %2").arg(momentText(arrival), momentText(liberation));
}

QString arrivalBeforeLiberationQuestion(const QDateTime& arrival, const QDateTime& liberation)
{
    return QStringLiteral("The arrival is before the liberation (%1). Save it anyway?")
        .arg(arrivalBeforeLiberationDetail(arrival, liberation));
}

SavedArrival saveArrival(const TdmZAVR& dm, const Race& race, const QString& loftNo, const QString& ringNo,
                         const ClockTimes& times, const QDateTime& arrival)
{
    if (loftNo.isEmpty())
        throw CorvelError(QStringLiteral("Please choose the member first."));
    if (ringNo.trimmed().isEmpty())
        throw CorvelError(QStringLiteral("Please choose the ring whose arrival is entered."));
    for (const QDateTime* moment : {&times.marked, &times.master, &times.member, &arrival})
        if (!moment->isValid())
            throw CorvelError(QStringLiteral("A date or time of the arrival or the clock check is not valid."));
    if (!race.liberation.isValid())
        throw CorvelError(QStringLiteral("The race has no valid liberation date and time."));

    SavedArrival saved;
    const QDateTime arrivalMoment = Formats::toWholeSecond(arrival);
    saved.backTime = momentText(arrivalMoment);
    saved.distance = dm.scalar(QStringLiteral("SELECT Yards FROM ZAVR_LoftLibPointDist WHERE LiberCode = ? AND LoftNo = ?"),
                               {race.liberCode, loftNo})
                         .toInt();
    const qint64 variation = FlightTime::ClockVariationSecs(Formats::toWholeSecond(times.master), Formats::toWholeSecond(times.member));
    saved.seconds = FlightTime::CalcuateSecs(dm, variation, arrivalMoment, race.liberation, race.raceCode,
                                             FlightTime::Variant::HandEntry);
    saved.flyTime = FlightTime::FlyTimeText(saved.seconds);
    saved.speed = FlightTime::storedSpeed(FlightTime::SpeedPerMinute(saved.distance, saved.seconds));

    TdmZAVR::Transaction tx(dm);
    const FieldValues clock = {{QStringLiteral("DLMarkedTime"), Formats::toDbDateTime(Formats::toWholeSecond(times.marked))},
                               {QStringLiteral("ULMasterTime"), Formats::toDbDateTime(Formats::toWholeSecond(times.master))},
                               {QStringLiteral("ULClockTime"), Formats::toDbDateTime(Formats::toWholeSecond(times.member))}};
    const QVariantList clockKey = {race.liberCode, raceDate(race), loftNo};
    if (dm.locate(QStringLiteral("ZAVR_RaceClockTime"), RaceClockKey, clockKey)) {
        dm.update(QStringLiteral("ZAVR_RaceClockTime"), RaceClockKey, clockKey, clock);
    } else {
        dm.append(QStringLiteral("ZAVR_RaceClockTime"), FieldValues{{QStringLiteral("LiberCode"), race.liberCode},
                                                                    {QStringLiteral("LiberDate"), raceDate(race)},
                                                                    {QStringLiteral("LoftNo"), loftNo}}
                                                            + clock);
    }
    const FieldValues entry = {{QStringLiteral("BackTime"), saved.backTime},
                               {QStringLiteral("FlyTime"), saved.flyTime},
                               {QStringLiteral("FlySpeed"), saved.speed},
                               {QStringLiteral("Dist"), saved.distance}};
    const QVariantList entryKey = {race.liberCode, raceDate(race), ringNo};
    if (dm.locate(QStringLiteral("ZAVR_PigRaceData"), RaceEntryKey, entryKey)) {
        dm.update(QStringLiteral("ZAVR_PigRaceData"), RaceEntryKey, entryKey, entry);
    } else {
        dm.append(QStringLiteral("ZAVR_PigRaceData"), FieldValues{{QStringLiteral("ClubID"), race.clubId},
                                                                  {QStringLiteral("LiberCode"), race.liberCode},
                                                                  {QStringLiteral("LiberDate"), raceDate(race)},
                                                                  {QStringLiteral("PRingNo"), ringNo}}
                                                          + entry);
    }
    tx.commit();
    return saved;
}

}  // namespace OtherClock
