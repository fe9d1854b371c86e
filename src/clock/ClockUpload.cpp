#include "ClockUpload.h"

#include "ClockLibrary.h"
#include "Formats.h"
#include "RaceResults.h"
#include "RowSetModel.h"
#include "TPigModuV6.h"
#include "TdmZAVR.h"

#include <QRegularExpression>
#include <cstring>

namespace ClockUpload {
namespace {

const QString NoUid = QStringLiteral("00000000");
const QStringList RaceEntryKey = {QStringLiteral("LiberCode"), QStringLiteral("LiberDate"), QStringLiteral("PRingNo")};

// A text the device wrote into a buffer, read no further than maxLength characters.
QString bufferText(const char* buffer, std::size_t maxLength)
{
    return QString::fromLatin1(buffer, static_cast<qsizetype>(strnlen(buffer, maxLength)));
}

// The number that the leading hexadecimal digits of text make, 0 when it has none.
int leadingHexValue(const QString& text)
{
    int value = 0;
    for (QChar c : text) {
        const int digit = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    return value;
}

// The position of an arrived entry (alias a) among the arrived entries of the race that the
// statement selects: 1 + the number of them with a higher FlySpeed, so equal speeds share a
// position and the next one is skipped; an arrival without a speed has none higher: position 1.
// As in the Result view, computed with RANK() in one pass.
const QString Position = QStringLiteral("CASE WHEN a.FlySpeed IS NULL THEN 1 ELSE RANK() OVER (ORDER BY a.FlySpeed DESC) END");

// One race entry to write, worked out before the transaction starts.
struct EntryWrite {
    QString ringNo;
    FieldValues values;
};

}  // namespace

bool ArrivalRecord::hasPosition() const
{
    bool ok = false;
    const int flags = field(17, 2).toInt(&ok, 16);
    return ok && (flags & 0x20) != 0;
}

PollResult pollClock(ClockLibrary& library, TPigModuV6& link, const QString& raceCode, QString& currentLoftNo,
                     QString& lastClockLoft, QString& clockSiteText, ClockOnPort& clock, const ShowMessage& show)
{
    const std::int32_t h = link.PortHandle;
    const QByteArray raceNo = raceNumber(raceCode).toLatin1();
    clock = ClockOnPort{};
    clock.identity = connectClock(library, link);

    char site[48] = {};
    std::int32_t lon = 0;
    std::int32_t lat = 0;
    if (library.PGT_GetSiteInfo(h, site, &lon, &lat)) {
        clockSiteText = QString::fromUtf8(site, static_cast<qsizetype>(strnlen(site, 47)));
        currentLoftNo = clockSiteText.left(16);
    }
    if (currentLoftNo == lastClockLoft)
        return PollResult::AlreadyRead;
    lastClockLoft = currentLoftNo;

    char current[8] = {};
    std::int32_t length = 0;
    if (!library.PGT_GetCurrentRace(h, current, &length))
        throw CurrentRaceError(QStringLiteral("PGT_GetCurrentRace Fail !"));
    clock.raceNo = QByteArray(current, static_cast<qsizetype>(strnlen(current, 8)));
    if (clock.raceNo != raceNo) {
        show(QStringLiteral("RaceNo not Match  !"));
        return PollResult::OtherRace;
    }
    clock.raceAuth = raceAuthBlock(library, clock.raceNo, clock.identity);
    clock.clockNo = readClockNumber(link, "IFDGetDevNo Fail !");
    return PollResult::Ready;
}

bool ReadClockRecords(ClockLibrary& library, TPigModuV6& link, const ClockOnPort& clock, const QDateTime& now,
                      ClockReading& reading, const ShowMessage& show)
{
    reading = ClockReading{};
    const std::int32_t h = link.PortHandle;
    const char* raceNo = clock.raceNo.constData();
    const QByteArray clockNo = clock.clockNo.toLatin1();
    std::int32_t count = 0;
    if (library.PGT_GetRaceTagCount(h, raceNo, 128, &count)) {
        for (std::int32_t index = 0; index < count; ++index) {
            char record[104] = {};
            if (!library.PGT_GetRaceRecord(h, raceNo, 128, index, record))
                continue;
            const QString text = bufferText(record, 101);
            if (!library.PGT_CheckRecord(record, clock.identity.sysIdBlock.data(), clockNo.constData(), raceNo,
                                         clock.raceAuth.data())) {
                show(QStringLiteral("MAC Code 不合 PigeonRec ！PigeonRec=") + text);
                continue;
            }
            reading.records.append(ArrivalRecord{text});
        }
        double clockTime = 0.0;
        double masterTime = 0.0;
        requireClock(library.PGT_VerifyRace(h, raceNo, clock.raceAuth.data()), "PGT_VerifyRace Fail !");
        requireClock(library.PGT_CloseRace(h, raceNo, clockDays(now)), "PGT_CloseRace Fail !");
        requireClock(library.PGT_GetRaceT2Device(h, raceNo, &clockTime), "PGT_GetRaceT2Device Fail !");
        requireClock(library.PGT_GetRaceT2Auth(h, raceNo, &masterTime), "PGT_GetRaceT2Auth Fail !");
        reading.clockNo = readClockNumber(link, "IFDGetDevNo Fail !");
        reading.clockTime = ClockDateTime::fromDays(clockTime);
        reading.masterTime = ClockDateTime::fromDays(masterTime);
        reading.timeVariation = FlightTime::ClockVariationSecs(reading.masterTime, reading.clockTime);
    }
    if (reading.records.isEmpty()) {
        show(QStringLiteral("Clock no record be uploaded   ! "));
        return false;
    }
    return true;
}

void ApplyClockRecords(const TdmZAVR& dm, const ClockRace& race, const QString& loftNo, const ClockReading& reading,
                       const ShowMessage& show)
{
    const QVariantList raceKey = raceKeyValues(race);
    const int distance = dm.scalar(QStringLiteral("SELECT Yards FROM ZAVR_LoftLibPointDist WHERE LiberCode = ? AND LoftNo = ?"),
                                   {race.liberCode, loftNo})
                             .toInt();
    const QList<FlightTime::SunRow> sunRows = FlightTime::readSunRowsByDay(dm, race.raceCode);

    QList<EntryWrite> writes;
    for (const ArrivalRecord& record : reading.records) {
        const QVariant ring = dm.scalar(QStringLiteral("SELECT PRingNo FROM ZAVR_PigData WHERE E_Ring = ? ORDER BY rowid LIMIT 1"),
                                        {record.eRing()});
        if (ring.isNull()) {
            show(QStringLiteral("eRing not found (%1): the arrival is skipped !!").arg(record.eRing()));
            continue;
        }
        const QString ringNo = ring.toString();
        const int entries = dm.scalar(QStringLiteral("SELECT count(*) FROM ZAVR_PigRaceData "
                                                     "WHERE LiberCode = ? AND date(LiberDate) = ? AND PRingNo = ?"),
                                      raceKey + QVariantList{ringNo})
                                .toInt();
        if (entries != 1) {
            show(QStringLiteral("PRingNo not found in this race (") + ringNo + QStringLiteral(")!!"));
            continue;
        }
        const QString backTime = TPigModuV6::ClockTimeToText(record.stamp());
        const QDateTime arrival = readArrivalText(backTime);
        if (!race.liberation.isValid())
            throw CorvelError(QStringLiteral("The race has no valid liberation date and time."));
        const qint64 seconds = ClockFlyingSeconds(reading.timeVariation, arrival, race.liberation, sunRows);
        const double speed = FlightTime::storedSpeed(FlightTime::SpeedPerMinute(distance, seconds));
        const QString uid = record.uid();
        const FieldValues codes = {{QStringLiteral("UID_Real"), uid == NoUid ? QString() : uid},
                                   {QStringLiteral("RealRandom"), record.readCode()}};
        if (record.givenCode() != record.readCode()) {
            show(QStringLiteral("Security Code not match !! "));
            writes.append({ringNo, codes});
        } else if (uid != NoUid && dm.scalar(QStringLiteral("SELECT 1 FROM ZAVR_PigData WHERE UID = ? LIMIT 1"), {uid}).isNull()) {
            show(QStringLiteral("UID Not Match  !!"));
            writes.append({ringNo, codes});
        } else {
            writes.append({ringNo, FieldValues{{QStringLiteral("BackTime"), backTime},
                                               {QStringLiteral("FlyTime"), FlightTime::FlyTimeText(seconds)},
                                               {QStringLiteral("FlySpeed"), speed},
                                               {QStringLiteral("Dist"), distance},
                                               {QStringLiteral("ClockID"), reading.clockNo},
                                               {QStringLiteral("TimeVari"), reading.timeVariation}} +
                                       codes});
        }
    }

    TdmZAVR::Transaction tx(dm);
    dm.exec(QStringLiteral("UPDATE ZAVR_RaceClockTime SET ULMasterTime = ?, ULClockTime = ? "
                           "WHERE LiberCode = ? AND date(LiberDate) = ? AND ClockID = ?"),
            QVariantList{Formats::toDbDateTime(Formats::toWholeSecond(reading.masterTime)),
                         Formats::toDbDateTime(Formats::toWholeSecond(reading.clockTime))} +
                raceKey + QVariantList{reading.clockNo});
    for (const EntryWrite& write : writes)
        dm.update(QStringLiteral("ZAVR_PigRaceData"), RaceEntryKey, raceKey + QVariantList{write.ringNo}, write.values);
    tx.commit();
}

qint64 ClockFlyingSeconds(qint64 clockVariationSecs, const QDateTime& arrival, const QDateTime& liberation,
                          const QList<FlightTime::SunRow>& sunRows)
{
    return FlightTime::CalcuateSecs(clockVariationSecs, arrival, liberation, sunRows, FlightTime::Variant::ClockUpload);
}

QDateTime readArrivalText(const QString& text)
{
    static const QRegularExpression form(QRegularExpression::anchoredPattern(
        QStringLiteral("(\\d{4})/(\\d{2})/(\\d{2})(?: (\\d{2}):(\\d{2}):(\\d{2}))?(?:\\.(\\d{3}))?")));
    const QRegularExpressionMatch m = form.match(text);
    QDateTime moment;
    if (m.hasMatch()) {
        auto number = [&m](int n) { return m.captured(n).toInt(); };
        moment = Formats::moment(QDate(number(1), number(2), number(3)), QTime(number(4), number(5), number(6), number(7)));
    }
    // A clock records from 2001 on: the zero date-time is a stamp without a time.
    if (!moment.isValid() || moment.date().year() <= 2000)
        throw CorvelError(QStringLiteral("'%1' is not a valid date and time").arg(text));
    return moment;
}

QSqlQuery timerResult(const TdmZAVR& dm, const ClockRace& race, bool byArrival)
{
    return dm.exec(QStringLiteral("SELECT %1 AS Rank, b.LoftNo, a.PRingNo, a.BackTime, a.FlyTime, a.FlySpeed, a.Dist "
                                  "FROM ZAVR_PigRaceData a LEFT JOIN ZAVR_PigData b ON a.PRingNo = b.PRingNo "
                                  "WHERE a.LiberCode = ? AND date(a.LiberDate) = ? AND a.BackTime IS NOT NULL "
                                  "ORDER BY a.FlySpeed DESC%2")
                       .arg(Position, byArrival ? QStringLiteral(", a.BackTime") : QString()),
                   raceKeyValues(race));
}

QList<ClockOp::GridColumn> resultGridColumns()
{
    return {{QStringLiteral("Rank"), QStringLiteral("Pos.")},         {QStringLiteral("LoftNo"), QStringLiteral("Member")},
            {QStringLiteral("PRingNo"), QStringLiteral("Pigeon")},     {QStringLiteral("BackTime"), QStringLiteral("Clocked")},
            {QStringLiteral("FlySpeed"), QStringLiteral("Fly Speed")}, {QStringLiteral("FlyTime"), QStringLiteral("Flying Time")},
            {QStringLiteral("Dist"), QStringLiteral("Dist.")}};
}

void loadRaceListRows(const TdmZAVR& dm, const ClockRace& race, const QString& loftNo, RowSetModel& rows)
{
    // Positions are those among the race's arrivals; an entry whose code was read but whose arrival
    // was refused has none.
    QSqlQuery q = dm.exec(QStringLiteral("WITH ranked AS (SELECT a.PRingNo, %1 AS Rank FROM ZAVR_PigRaceData a "
                                         "  WHERE a.LiberCode = ? AND date(a.LiberDate) = ? AND a.BackTime IS NOT NULL) "
                                         "SELECT r.Rank, a.PRingNo, b.RCountry, b.RYear, b.RRegLetter, b.RRegNumber, b.Sex, "
                                         "b.ColorType, a.BackTime, a.RandomCode, a.RealRandom "
                                         "FROM ZAVR_PigRaceData a LEFT JOIN ZAVR_PigData b ON a.PRingNo = b.PRingNo "
                                         "LEFT JOIN ranked r ON r.PRingNo = a.PRingNo "
                                         "WHERE a.LiberCode = ? AND date(a.LiberDate) = ? AND a.RealRandom IS NOT NULL "
                                         "AND b.LoftNo = ? ORDER BY a.FlySpeed DESC")
                              .arg(Position),
                          raceKeyValues(race) + raceKeyValues(race) + QVariantList{loftNo});
    const int realRandom = 10;
    const int randomCode = 9;
    QStringList fields;
    QList<QVariantList> values;
    for (int i = 0; i < q.record().count(); ++i)
        fields << q.record().fieldName(i);
    fields << QStringLiteral("chk");
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < realRandom; ++i)
            row << q.value(i);
        const int read = leadingHexValue(q.value(realRandom).toString());
        row << read;
        const QVariant given = q.value(randomCode);
        row << ((!given.isNull() && given.toInt() == read) ? QStringLiteral("OK") : QStringLiteral("NG"));
        values << row;
    }
    rows.setRows(fields, values);
}

QSqlQuery rankRows(const TdmZAVR& dm, const ClockRace& race)
{
    return dm.exec(QStringLiteral("SELECT %1 AS Rank, b.LoftNo, a.PRingNo, b.RCountry, b.RYear, b.RRegLetter, "
                                  "b.RRegNumber, b.Sex, b.ColorType, a.BackTime, a.FlyTime, a.FlySpeed, a.Dist, a.TimeVari "
                                  "FROM ZAVR_PigRaceData a LEFT JOIN ZAVR_PigData b ON a.PRingNo = b.PRingNo "
                                  "WHERE a.LiberCode = ? AND date(a.LiberDate) = ? AND a.BackTime IS NOT NULL "
                                  "ORDER BY a.FlySpeed DESC")
                       .arg(Position),
                   raceKeyValues(race));
}

QString uploadSummary(const TdmZAVR& dm, const ClockRace& race)
{
    // Members are the groups of the race's entries by member (entries without one make a group).
    QSqlQuery q = dm.exec(QStringLiteral("SELECT count(*), count(a.BackTime) FROM ZAVR_PigRaceData a "
                                         "LEFT JOIN ZAVR_PigData b ON a.PRingNo = b.PRingNo "
                                         "WHERE a.LiberCode = ? AND date(a.LiberDate) = ? GROUP BY b.LoftNo"),
                          raceKeyValues(race));
    RaceResults::Counts counts;
    while (q.next()) {
        ++counts.members;
        counts.birds += q.value(0).toInt();
        counts.clocked += q.value(1).toInt();
    }
    return RaceResults::summaryLine(counts);
}

}  // namespace ClockUpload
