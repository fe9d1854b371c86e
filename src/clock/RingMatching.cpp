#include "RingMatching.h"

#include "ClockLibrary.h"
#include "ClockOpState.h"
#include "CorvelError.h"
#include "DeviceCodec.h"
#include "Formats.h"
#include "RingReaderLibrary.h"
#include "TdmZAVR.h"

#include <cstring>

namespace RingMatching {

namespace {

QString uidText(const ClockOpState& state) { return BytesToHex(std::span<const std::uint8_t>(state.ringUid), 1, 4); }

// Whether pages 6 and 7 of the ring, decrypted under the fixed key, read as its UID text. Nothing
// when the pages could not be read (the ring was taken away).
std::optional<bool> ringIsGenuine(ClockOpState& state)
{
    RingReaderLibrary& reader = *state.ringReader();
    std::uint8_t pages[8] = {};
    if (!reader.HTS_ReadPage(state.readerHandle, 6, pages) || !reader.HTS_ReadPage(state.readerHandle, 7, pages + 4))
        return std::nullopt;
    char plain[9] = {};
    state.clockLibrary()->DesDecrypt(pages, reinterpret_cast<std::uint8_t*>(plain),
                                     reinterpret_cast<const std::uint8_t*>(FixedDesKey));
    return QString::fromLatin1(plain, static_cast<qsizetype>(strnlen(plain, 8))) == uidText(state);
}

// The first pigeon (in table order) that carries the ring of that UID.
std::optional<QString> holderOf(const TdmZAVR& dm, const QString& uid)
{
    const QVariant ringNo =
        dm.scalar(QStringLiteral("select PRingNo from ZAVR_PigData where UID = ? order by rowid limit 1"), {uid});
    if (ringNo.isNull())
        return std::nullopt;
    return ringNo.toString();
}

// Takes the ring from its former holder (when given) and gives it to the chosen pigeon.
void assign(const TdmZAVR& dm, const ClockOpState& state, const QString& ringNo, const std::optional<QString>& formerHolder,
            const QDateTime& now)
{
    const QString today = Formats::toDbMidnight(now.date());
    const QString moment = Formats::toDbDateTime(Formats::toWholeSecond(now));
    const QString pigData = QStringLiteral("ZAVR_PigData");
    const QStringList key = {QStringLiteral("PRingNo")};
    try {
        TdmZAVR::Transaction transaction(dm);
        if (!dm.locate(pigData, {QStringLiteral("LoftNo"), QStringLiteral("PRingNo")}, {state.currentLoftNo, ringNo}))
            throw CorvelError(QString::fromLatin1(RingAssociationError));
        if (formerHolder)
            dm.update(pigData, key, {*formerHolder},
                      {{QStringLiteral("E_Ring"), QStringLiteral("")},
                       {QStringLiteral("UID"), QStringLiteral("")},
                       {QStringLiteral("AssignDate"), today},
                       {QStringLiteral("Updatetime"), moment}});
        dm.update(pigData, key, {ringNo},
                  {{QStringLiteral("E_Ring"), state.ringDataHex.left(8)},
                   {QStringLiteral("UID"), uidText(state)},
                   {QStringLiteral("ActiveStat"), 1},
                   {QStringLiteral("SynchFlag"), 1},
                   {QStringLiteral("RandomCode"), HexTextToWord(state.ringDataHex.mid(8, 2))},
                   {QStringLiteral("AssignDate"), today},
                   {QStringLiteral("Updatetime"), moment}});
        transaction.commit();
    } catch (const DbError&) {
        throw CorvelError(QString::fromLatin1(DataUpdateFail));
    }
}

}  // namespace

QString reMatchQuestion(const QString& ringNo) { return QStringLiteral("PRingNo(") + ringNo + QStringLiteral(") ReMatching , Update or not?"); }

QSqlQuery matchingQuery(const TdmZAVR& dm, const QString& loftNo)
{
    return dm.exec(QStringLiteral("select LoftNo,PRingNo,E_Ring,UID,Sex,ColorType  from ZAVR_PigData where LoftNo=?"), {loftNo});
}

QList<ClockOp::GridColumn> gridColumns()
{
    return {{QStringLiteral("LoftNo"), QStringLiteral("Member")},
            {QStringLiteral("Sex"), QStringLiteral("Sex of bird")},
            {QStringLiteral("PRingNo"), QStringLiteral("Association Number")},
            {QStringLiteral("E_Ring"), QStringLiteral("eRing Assigment")},
            {QStringLiteral("UID"), QStringLiteral("UID")},
            {QStringLiteral("ColorType"), QStringLiteral("Color")}};
}

std::optional<QString> chooseMember(const TdmZAVR& dm, ClockOpState& state, const QString& loftName)
{
    const std::optional<QString> loftNo = ClockOp::loftNoOfName(dm, loftName);
    if (loftNo)
        state.currentLoftNo = *loftNo;
    return loftNo;
}

bool ReadRingData(ClockOpState& state)
{
    RingReaderLibrary& reader = *state.ringReader();
    reader.RF_Reset(state.readerHandle, 50);
    if (!reader.TTF_Read(state.readerHandle, 0, state.ringData.data()))
        return false;
    reader.RF_Reset(state.readerHandle, 0);
    state.ringDataHex = BytesToHex(std::span<const std::uint8_t>(state.ringData), 1, 5);
    return true;
}

RingPollResult poll(const TdmZAVR& dm, ClockOpState& state, const QString& ringNo, const Question& ask, const QDateTime& now)
{
    RingReaderLibrary* reader = state.ringReader();
    if (reader == nullptr || !reader->HTS_Active(state.readerHandle, state.ringUid.data()))
        return {};
    const std::optional<bool> genuine = ringIsGenuine(state);
    if (!genuine)
        return {};
    if (!*genuine)
        return {false, QString::fromLatin1(UnauthorizedRing), {}};

    const QString uid = uidText(state);
    const std::optional<QString> holder = holderOf(dm, uid);
    std::optional<QString> formerHolder;
    if (holder && uid != state.lastUid) {
        if (!ask(reMatchQuestion(*holder))) {
            state.lastUid = uid;
            state.skipRing = true;
            return {false, {}, {}};
        }
        formerHolder = holder;
        state.skipRing = false;
    } else if (!holder) {
        state.skipRing = false;
    }

    RingPollResult result{false, {}, {}};
    if (uid != state.lastUid && !state.skipRing) {
        if (!ReadRingData(state)) {
            result.keepReading = true;
        } else {
            state.lastUid = uid;
            assign(dm, state, ringNo, formerHolder, now);
            reader->SC_DoBell(state.readerHandle, 1, 3, 2);
            result.acceptedRingNo = ringNo;
        }
    }
    reader->RF_Reset(state.readerHandle, 20);
    return result;
}

}  // namespace RingMatching
