#include "ClockDialogue.h"

#include "ClockLibrary.h"
#include "ClockOpLogic.h"
#include "ClockOpState.h"
#include "CorvelError.h"
#include "FlightTime.h"
#include "Formats.h"
#include "TPigModuV6.h"
#include "TdmZAVR.h"

#include <cstring>

std::optional<ClockRace> findClockRace(const TdmZAVR& dm, const QString& raceCode)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT ClubID, LiberCode, LiberDate, LiberTime FROM ZAVR_RaceData "
                                         "WHERE RaceCode = ? ORDER BY rowid LIMIT 1"),
                          {raceCode});
    if (!q.next())
        return std::nullopt;
    ClockRace race;
    race.raceCode = raceCode;
    race.clubId = q.value(0).toString();
    race.liberCode = q.value(1).toString();
    race.liberDate = Formats::fromDbDate(q.value(2));
    race.liberation = FlightTime::liberationMoment(q.value(2), q.value(3));
    return race;
}

ClockRace chooseClockRace(const TdmZAVR& dm, ClockOpValues& values, const QString& choice)
{
    values.raceCode = ClockOp::raceCodeOfChoice(choice);
    if (const std::optional<ClockRace> race = findClockRace(dm, values.raceCode)) {
        values.raceLiberCode = race->liberCode;
        values.raceLiberDate = Formats::shortDate(race->liberDate);
        values.raceClubId = race->clubId;
    }
    return chosenClockRace(dm, values);
}

ClockRace chosenClockRace(const TdmZAVR& dm, const ClockOpValues& values)
{
    ClockRace race;
    race.raceCode = values.raceCode;
    race.clubId = values.raceClubId;
    race.liberCode = values.raceLiberCode;
    race.liberDate = Formats::readShortDate(values.raceLiberDate);
    QSqlQuery q = dm.exec(QStringLiteral("SELECT LiberDate, LiberTime FROM ZAVR_RaceData "
                                         "WHERE LiberCode = ? AND date(LiberDate) = ? ORDER BY ClubID = ? DESC, rowid LIMIT 1"),
                          {race.liberCode, Formats::toDbDate(race.liberDate), race.clubId});
    if (q.next())
        race.liberation = FlightTime::liberationMoment(q.value(0), q.value(1));
    return race;
}

QString raceNumber(const QString& raceCode)
{
    return raceCode.leftJustified(8, QLatin1Char('0'));
}

QByteArray ClockIdentity::sysIdText() const
{
    return QByteArray(reinterpret_cast<const char*>(sysIdBlock.data()), 8);
}

namespace {
const char* const ConnectFailed = "IFD_Connect NOT OK !";
}

ClockOnLink clockOnLink(const ClockOpState& state)
{
    if (state.clockLibrary() == nullptr || state.clockLink() == nullptr)
        throw CorvelError(QString::fromLatin1(ConnectFailed));
    return {*state.clockLibrary(), *state.clockLink()};
}

ClockIdentity connectClock(ClockLibrary& library, const TPigModuV6& link)
{
    ClockIdentity id;
    library.HexToBin(link.SysIDHex.toLatin1().constData(), id.sysIdBlock.data(), 8);
    library.HexToBin(link.SysIDCipherHex.toLatin1().constData(), id.sysIdCipherBlock.data(), 8);
    if (!library.IFD_Connect(link.PortHandle, id.sysIdBlock.data(), id.sysIdCipherBlock.data()))
        throw CorvelError(QString::fromLatin1(ConnectFailed));
    return id;
}

DesBlock raceAuthBlock(ClockLibrary& library, const QByteArray& raceNo, const ClockIdentity& identity)
{
    QByteArray number = raceNo.left(8);
    number.resize(8, '\0');
    DesBlock auth{};
    // A weak key leaves the block empty; the clock then refuses the race's confirmation.
    library.DesEncrypt(auth.data(), reinterpret_cast<const std::uint8_t*>(number.constData()), identity.sysIdCipherBlock.data());
    return auth;
}

void requireClock(bool done, const char* failText)
{
    if (!done)
        throw CorvelError(QString::fromUtf8(failText));
}

QString readClockNumber(TPigModuV6& link, const char* failText)
{
    char buffer[12] = {};
    requireClock(link.GetDevNo(buffer), failText);
    return QString::fromLatin1(buffer, static_cast<qsizetype>(strnlen(buffer, 9)));
}

double clockDays(const QDateTime& moment)
{
    return ClockDateTime::toDays(moment).value_or(0.0);
}

QVariantList raceKeyValues(const ClockRace& race)
{
    return {race.liberCode, Formats::toDbDate(race.liberDate)};
}
