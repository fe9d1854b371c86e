#include "ClockProgramming.h"

#include "ClockLibrary.h"
#include "CorvelError.h"
#include "Formats.h"
#include "RowSetModel.h"
#include "TPigModuV6.h"
#include "TdmZAVR.h"

namespace ClockProgramming {
namespace {

QString fieldText(const RowSetModel& rows, int row, const QString& field)
{
    return rows.value(row, field).toString();
}

// One pigeon of the clock's list as the clock takes it.
struct ClockPigeon {
    QString ringNo;
    QByteArray tag;
    QByteArray uid;
    QByteArray regNo;
};

ClockPigeon clockPigeon(const RowSetModel& pigeons, int row)
{
    return {fieldText(pigeons, row, QStringLiteral("PRingNo")),
            pigeonTag(fieldText(pigeons, row, QStringLiteral("E_Ring")), pigeons.value(row, QStringLiteral("RandomCode")).toInt())
                .toLatin1(),
            fieldText(pigeons, row, QStringLiteral("UID")).toLatin1(),
            clockRegNumber(fieldText(pigeons, row, QStringLiteral("RRegNumber"))).toLatin1()};
}

// Steps shared by the training and the race: connect, give the clock the list of pigeons, and
// take the loft's position. Errors of the pigeon list are only shown.
ClockIdentity connectAndListPigeons(ClockLibrary& library, const TPigModuV6& link, const RowSetModel& pigeons,
                                    const ShowMessage& show)
{
    const ClockIdentity identity = connectClock(library, link);
    const std::int32_t h = link.PortHandle;
    if (!library.PGT_StartTag(h, 0)) {
        show(QStringLiteral("Error in PGT_StartTag ! "));
        return identity;
    }
    for (int r = 0; r < pigeons.rowCount(); ++r) {
        const ClockPigeon p = clockPigeon(pigeons, r);
        if (!library.PGT_SetTag(h, p.tag.constData(), 0, p.uid.constData(), p.regNo.constData()))
            show(QStringLiteral("Error in PGT_SetTag : ") + p.ringNo);
    }
    std::int32_t count = 0;
    if (!library.PGT_CloseTag(h, &count))
        show(QStringLiteral("Error in PGT_CloseTag ! "));
    return identity;
}

// Upload mode, site (the member number and the loft's position) and the race itself.
void createRace(ClockLibrary& library, std::int32_t h, const QByteArray& raceNo, const ClockIdentity& identity,
                const QString& loftNo, const ClockPosition& position)
{
    requireClock(library.PGT_SetUploadMode(h, 130, 131, 120), "PGT_SetUploadMode Fail !");
    requireClock(library.PGT_SetSiteInfo(h, loftNo.toUtf8().constData(), position.lon, position.lat), "PGT_SetSiteInfo Fail !");
    requireClock(library.PGT_CreateRace(h, raceNo.constData(), identity.sysIdText().constData()), "Error in PGT_CreateRace ! ");
}

// Description, mode and the confirmation under the race's authentication block.
DesBlock confirmRace(ClockLibrary& library, std::int32_t h, const QByteArray& raceNo, const char* description,
                     const ClockIdentity& identity, const QDateTime& now)
{
    requireClock(library.PGT_SetRaceDesc(h, raceNo.constData(), description), "Error in PGT_SetRaceDesc ! ");
    requireClock(library.PGT_SetRaceMode(h, raceNo.constData(), 128), "Error in PGT_SetRaceMode ! ");
    const DesBlock auth = raceAuthBlock(library, raceNo, identity);
    requireClock(library.PGT_ConfirmRace(h, raceNo.constData(), auth.data(), clockDays(now)), "Error in PGT_ConfirmRace ! ");
    return auth;
}

const QStringList LoftClocksKey = {QStringLiteral("LoftNo"), QStringLiteral("ClockID")};
const QStringList RaceClockKey = {QStringLiteral("LiberCode"), QStringLiteral("LiberDate"), QStringLiteral("LoftNo")};

}  // namespace

QString pigeonTag(const QString& eRing, int randomCode)
{
    return eRing + QStringLiteral("0000") + QStringLiteral("%1").arg(randomCode, 2, 16, QLatin1Char('0')).toUpper() +
           QStringLiteral("00");
}

QString clockRegNumber(const QString& regNumber)
{
    if (regNumber.size() >= 6)
        return regNumber.right(6);
    return regNumber.rightJustified(6, QLatin1Char('0'));
}

std::int32_t clockCoordinate(const QString& coordinate)
{
    if (coordinate.isEmpty())
        return 0;
    return TPigModuV6::CoordTextToValue(coordinate.mid(0, 4) + coordinate.mid(5, 2) + coordinate.mid(8, 2));
}

ClockPosition loftPosition(const TdmZAVR& dm, const QString& loftNo)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT LoftLon, LoftLat FROM ZAVR_LoftData WHERE LoftNo = ?"), {loftNo});
    if (!q.next())
        return {};
    return {clockCoordinate(q.value(0).toString()), clockCoordinate(q.value(1).toString())};
}

QSqlQuery trainingPigeons(const TdmZAVR& dm, const QString& loftNo, bool ordered)
{
    // An empty eRing text passes the condition too, as the clock list always took it.
    QString sql = QStringLiteral("SELECT LoftNo, PRingNo, E_Ring, UID, Sex, ColorType, RRegNumber, RandomCode "
                                 "FROM ZAVR_PigData WHERE LoftNo = ? AND ((E_Ring IS NOT NULL) OR (E_Ring <> ''))");
    if (ordered)
        sql += QStringLiteral(" ORDER BY E_Ring");
    return dm.exec(sql, {loftNo});
}

QList<ClockOp::GridColumn> trainingGridColumns()
{
    return {{QStringLiteral("LoftNo"), QStringLiteral("Member")},
            {QStringLiteral("PRingNo"), QStringLiteral("Association number")},
            {QStringLiteral("Sex"), QStringLiteral("Sex of birds")},
            {QStringLiteral("ColorType"), QStringLiteral("Color")}};
}

QSqlQuery racePigeons(const TdmZAVR& dm, const ClockRace& race, const QString& loftNo, bool ordered)
{
    QString sql = QStringLiteral("SELECT a.LoftNo, a.PRingNo, a.E_Ring, a.UID, a.Sex, a.ColorType, b.RandomCode, a.RRegNumber, "
                                 "b.MarkedTime, a.RYear, b.ClockID "
                                 "FROM ZAVR_PigData a LEFT JOIN ZAVR_PigRaceData b ON a.PRingNo = b.PRingNo "
                                 "WHERE a.LoftNo = ? AND b.LiberCode = ? AND date(b.LiberDate) = ?");
    if (ordered)
        sql += QStringLiteral(" ORDER BY a.E_Ring");
    return dm.exec(sql, QVariantList{loftNo} + raceKeyValues(race));
}

QList<ClockOp::GridColumn> raceGridColumns()
{
    return {{QStringLiteral("LoftNo"), QStringLiteral("Member")},
            {QStringLiteral("PRingNo"), QStringLiteral("Association Number")},
            {QStringLiteral("Sex"), QStringLiteral("Sex of birs")},
            {QStringLiteral("ColorType"), QStringLiteral("Color")}};
}

QStringList raceMemberNames(const TdmZAVR& dm, const ClockRace& race)
{
    // Entries of pigeons without a member give no name: choosing an empty name would program the
    // clock of whichever member was chosen before.
    return dm.texts(QStringLiteral("SELECT c.LoftName FROM ZAVR_PigRaceData a "
                                   "LEFT JOIN ZAVR_PigData b ON a.PRingNo = b.PRingNo "
                                   "LEFT JOIN ZAVR_LoftData c ON b.LoftNo = c.LoftNo "
                                   "WHERE a.LiberCode = ? AND date(a.LiberDate) = ? AND c.LoftName IS NOT NULL "
                                   "GROUP BY c.LoftName ORDER BY c.LoftName"),
                    raceKeyValues(race));
}

ProgrammedClock ProgramTraining(ClockLibrary& library, TPigModuV6& link, const TdmZAVR& dm, const QString& loftNo,
                                const RowSetModel& pigeons, const QDateTime& now, const ShowMessage& show)
{
    const std::int32_t h = link.PortHandle;
    const QByteArray raceNo(TrainingRaceNo);
    ProgrammedClock clock;
    clock.identity = connectAndListPigeons(library, link, pigeons, show);
    const ClockPosition position = loftPosition(dm, loftNo);
    clock.clockNo = readClockNumber(link, "IFDGetDevNo 失敗 !");
    createRace(library, h, raceNo, clock.identity, loftNo, position);
    clock.raceAuth = confirmRace(library, h, raceNo, "Train", clock.identity, now);
    clock.confirmedAt = Formats::toWholeSecond(now);
    requireClock(library.PGT_StartRace(h, raceNo.constData(), 1), "Error in PGT_StartRace ! ");
    return clock;
}

ProgrammedClock ProgramRace(ClockLibrary& library, TPigModuV6& link, const TdmZAVR& dm, const ClockRace& race,
                            const QString& loftNo, const RowSetModel& pigeons, const QDateTime& now, const ShowMessage& show)
{
    const std::int32_t h = link.PortHandle;
    const QByteArray raceNo = raceNumber(race.raceCode).toLatin1();
    ProgrammedClock clock;
    clock.identity = connectAndListPigeons(library, link, pigeons, show);
    const ClockPosition position = loftPosition(dm, loftNo);
    clock.clockNo = readClockNumber(link, "IFDGetDevNo Fail !");
    createRace(library, h, raceNo, clock.identity, loftNo, position);
    for (int r = 0; r < pigeons.rowCount(); ++r) {
        const ClockPigeon p = clockPigeon(pigeons, r);
        if (!library.PGT_AddRaceTag(h, raceNo.constData(), p.tag.constData(), p.uid.constData()))
            show(QStringLiteral("Error in PGT_AddRaceTag : ") + p.ringNo);
    }
    clock.raceAuth = confirmRace(library, h, raceNo, "Race", clock.identity, now);
    clock.confirmedAt = Formats::toWholeSecond(now);
    requireClock(library.PGT_StartRace(h, raceNo.constData(), 3), "Error in PGT_StartRace ! ");
    recordRaceClock(dm, race, loftNo, clock.clockNo, clock.confirmedAt);
    return clock;
}

void RecordClockSync(const TdmZAVR& dm, const QString& loftNo, const QString& clockNo, const QDateTime& now)
{
    const QString table = QStringLiteral("ZAVR_LoftClocks");
    const QVariantList key = {loftNo, clockNo};
    const QString synched = Formats::toDbDateTime(Formats::toWholeSecond(now));
    TdmZAVR::Transaction tx(dm);
    if (dm.update(table, LoftClocksKey, key, {{QStringLiteral("LastSynchDate"), synched}}) == 0)
        dm.append(table, {{QStringLiteral("LoftNo"), loftNo},
                          {QStringLiteral("ClockID"), clockNo},
                          {QStringLiteral("LastSynchDate"), synched}});
    tx.commit();
}

void recordRaceClock(const TdmZAVR& dm, const ClockRace& race, const QString& loftNo, const QString& clockNo,
                     const QDateTime& confirmedAt)
{
    const QString table = QStringLiteral("ZAVR_RaceClockTime");
    const QVariantList key = raceKeyValues(race) + QVariantList{loftNo};
    const QString marked = Formats::toDbDateTime(Formats::toWholeSecond(confirmedAt));
    TdmZAVR::Transaction tx(dm);
    dm.exec(QStringLiteral("UPDATE ZAVR_PigRaceData SET ClockID = ? WHERE LiberCode = ? AND date(LiberDate) = ? "
                           "AND PRingNo IN (SELECT PRingNo FROM ZAVR_PigData WHERE LoftNo = ?)"),
            QVariantList{clockNo} + key);
    const FieldValues clock = {{QStringLiteral("ClockID"), clockNo}, {QStringLiteral("DLMarkedTime"), marked}};
    if (dm.update(table, RaceClockKey, key, clock) == 0)
        dm.append(table, FieldValues{{QStringLiteral("LiberCode"), race.liberCode},
                                     {QStringLiteral("LiberDate"), Formats::toDbMidnight(race.liberDate)},
                                     {QStringLiteral("LoftNo"), loftNo}} +
                             clock);
    tx.commit();
}

}  // namespace ClockProgramming
