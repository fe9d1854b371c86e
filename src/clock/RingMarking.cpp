#include "RingMarking.h"

#include "ClockOpState.h"
#include "CorvelError.h"
#include "DeviceCodec.h"
#include "Formats.h"
#include "RingReaderLibrary.h"
#include "TdmZAVR.h"

#include <QRandomGenerator>

namespace RingMarking {

namespace {

QString uidText(const std::array<std::uint8_t, 4>& uid) { return BytesToHex(std::span<const std::uint8_t>(uid), 1, 4); }

QDate chosenRaceDate(const ClockOpState& state)
{
    return QDate::fromString(state.raceLiberDate, QStringLiteral("yyyy/MM/dd"));
}

// Creates the pigeon's entry of the chosen race with the marking code, or gives its entry the new
// code and marking time.
void saveEntry(const TdmZAVR& dm, const ClockOpState& state, const QDateTime& now)
{
    const QDate raceDate = chosenRaceDate(state);
    if (state.raceLiberCode.isEmpty() || !raceDate.isValid())
        throw CorvelError(QString::fromLatin1(SelectRaceCode));
    const QString table = QStringLiteral("ZAVR_PigRaceData");
    const QStringList key = {QStringLiteral("LiberCode"), QStringLiteral("LiberDate"), QStringLiteral("PRingNo")};
    const QVariantList keyValues = {state.raceLiberCode, Formats::toDbMidnight(raceDate), state.markedRingNo};
    const QString markedTime = Formats::toDbDateTime(Formats::toWholeSecond(now));
    try {
        TdmZAVR::Transaction transaction(dm);
        if (dm.locate(table, key, keyValues)) {
            dm.update(table, key, keyValues,
                      {{QStringLiteral("RandomCode"), state.markCode}, {QStringLiteral("MarkedTime"), markedTime}});
        } else {
            dm.append(table, {{QStringLiteral("ClubID"), state.raceClubId},
                              {QStringLiteral("LiberCode"), state.raceLiberCode},
                              {QStringLiteral("LiberDate"), Formats::toDbMidnight(raceDate)},
                              {QStringLiteral("PRingNo"), state.markedRingNo},
                              {QStringLiteral("RandomCode"), state.markCode},
                              {QStringLiteral("MarkedTime"), markedTime}});
        }
        transaction.commit();
    } catch (const DbError&) {
        throw CorvelError(QString::fromLatin1(UpdateMarkingFail));
    }
}

}  // namespace

QString badERingMessage(const QString& ringNo)
{
    return QStringLiteral("PRingNo(") + ringNo + QStringLiteral(") has no valid eRing number: match its eRing again !");
}

void chooseRace(const TdmZAVR& dm, ClockOpState& state, const QString& entry)
{
    const auto [liberCode, dateText] = ClockOp::splitMarkingChoice(entry);
    if (liberCode.isEmpty())
        throw CorvelError(QString::fromLatin1(SelectRaceCode));
    QSqlQuery race = dm.exec(QStringLiteral("select ClubID,RaceCode,LiberDate from ZAVR_RaceData where LiberCode=? "
                                            "and strftime('%m/%d', LiberDate)=? order by rowid limit 1"),
                             {liberCode, dateText});
    if (!race.next())
        throw CorvelError(QString::fromLatin1(SelectRaceCode));
    state.raceLiberCode = liberCode;
    state.raceCode = race.value(1).toString();
    state.raceLiberDate = Formats::shortDate(Formats::fromDbDate(race.value(2)));
    state.raceClubId = race.value(0).toString();
}

QSqlQuery markingQuery(const TdmZAVR& dm, const ClockOpState& state)
{
    return dm.exec(QStringLiteral("select a.LoftNo,a.PRingNo,a.Sex,a.ColorType,b.LiberCode, b.LiberDate from ZAVR_PigData a "
                                  "left join ZAVR_PigRaceData b on a.PRingNo=b.PRingNo "
                                  "where (b.LiberCode is NULL) or (b.LiberCode=? and date(b.LiberDate)=?) Order by a.PRingNo"),
                   {state.raceLiberCode, Formats::toDbDate(chosenRaceDate(state))});
}

QList<ClockOp::GridColumn> gridColumns()
{
    return {{QStringLiteral("LoftNo"), QStringLiteral("Member")},
            {QStringLiteral("PRingNo"), QStringLiteral("Association Number")},
            {QStringLiteral("Sex"), QStringLiteral("Sex of Bird")},
            {QStringLiteral("ColorType"), QStringLiteral("Color")},
            {QStringLiteral("LiberCode"), QStringLiteral("LiberCode")},
            {QStringLiteral("LiberDate"), QStringLiteral("LiberDate")}};
}

bool WriteMarkingCode(ClockOpState& state, const QString& pigeonUid, QString* message)
{
    RingReaderLibrary& reader = *state.ringReader();
    const std::int32_t h = state.readerHandle;
    state.markCode = static_cast<std::uint8_t>(QRandomGenerator::global()->bounded(256));
    state.ringDataHex += QStringLiteral("%1").arg(state.markCode, 2, 16, QLatin1Char('0')).toUpper();
    if (!HexToBin(state.ringDataHex, state.ringData.data(), 5))
        return false;
    if (!reader.HTS_Active(h, state.ringUid.data()))
        return false;
    if (uidText(state.ringUid) != pigeonUid) {
        if (message != nullptr)
            *message = QString::fromLatin1(RingReplaced);
        return false;
    }
    if (!reader.HTS_ChangePigeon(h, state.ringData.data()))
        return false;
    reader.RF_Reset(h, 50);
    if (!reader.TTF_Read(h, 0, state.ringData.data()))
        return false;
    reader.RF_Reset(h, 0);
    return BytesToHex(std::span<const std::uint8_t>(state.ringData), 1, 5) == state.ringDataHex;
}

RingPollResult poll(const TdmZAVR& dm, ClockOpState& state, const QDateTime& now)
{
    RingReaderLibrary* reader = state.ringReader();
    if (reader == nullptr)
        return {};
    const std::int32_t h = state.readerHandle;
    RingPollResult result;
    if (reader->HTS_Active(h, state.ringUid.data())) {
        const QString uid = uidText(state.ringUid);
        QSqlQuery pigeon =
            dm.exec(QStringLiteral("select PRingNo, E_Ring from ZAVR_PigData where UID = ? order by rowid limit 1"), {uid});
        if (pigeon.next()) {
            state.skipRing = false;
            state.markedRingNo = pigeon.value(0).toString();
            state.ringDataHex = pigeon.value(1).toString();
        } else if (uid != state.lastUid) {
            state.skipRing = true;
            state.lastUid = uid;
            return {true, QString::fromLatin1(UnknownRing), {}};
        }
        if (uid != state.lastUid && !state.skipRing) {
            if (!isHexText(state.ringDataHex, 8)) {
                // Writing would put a wrong number into the ring: refuse the ring once.
                state.lastUid = uid;
                result.message = badERingMessage(state.markedRingNo);
            } else if (WriteMarkingCode(state, uid, &result.message)) {
                saveEntry(dm, state, now);
                state.lastUid = uid;
                reader->SC_DoBell(h, 1, 3, 2);
                result.acceptedRingNo = state.markedRingNo;
            }
        }
    }
    reader->RF_Reset(h, 0);
    return result;
}

}  // namespace RingMarking
