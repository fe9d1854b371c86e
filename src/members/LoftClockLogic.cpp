#include "LoftClockLogic.h"

#include "ClockLibrary.h"
#include "DataFolder.h"
#include "DeviceCodec.h"
#include "DeviceLibraries.h"
#include "DisplayRules.h"
#include "TPigModuV6.h"
#include "TdmZAVR.h"

#include <QThread>

#include <cstring>

namespace LoftClocks {

namespace {

const QString Table = QStringLiteral("ZAVR_LoftClocks");
const QStringList Key = {QStringLiteral("LoftNo"), QStringLiteral("ClockID")};

// A serial number as stored: an empty one is an empty text, never null.
QString serialText(const QString& clockId) { return clockId.isNull() ? QStringLiteral("") : clockId; }

// The dialogue with the clock while the link holds the port.
Discovery askClock(ClockLibrary& library, TPigModuV6& link)
{
    Discovery found;
    found.portActive = link.Opened;
    if (!link.Opened)
        return found;  // no port: the clock cannot accept anything
    std::uint8_t sysId[8];
    std::uint8_t cipher[8];
    if (!HexToBin(link.SysIDHex, sysId, 8) || !HexToBin(link.SysIDCipherHex, cipher, 8)
        || !library.IFD_Connect(link.PortHandle, sysId, cipher))
        return found;
    found.connected = true;
    char number[12] = {};
    if (link.GetDevNo(number))
        found.serialNo = QString::fromLatin1(number, static_cast<qsizetype>(strnlen(number, 9)));
    return found;
}

}  // namespace

QSqlQuery clockListQuery(const TdmZAVR& dm, const QString& loftNo)
{
    return dm.exec(QStringLiteral("select * from ZAVR_LoftClocks where LoftNo=? order by rowid"), {loftNo});
}

GridColumns clockListColumns()
{
    return {{QStringLiteral("ClockID"), QStringLiteral("Serial Number")},
            {QStringLiteral("LastSynchDate"), QStringLiteral("Date last synchronized "), DisplayRules::dateTimeText},
            {QStringLiteral("SynchStat"), QStringLiteral("Sync. required")}};
}

int clockCount(const TdmZAVR& dm, const QString& loftNo)
{
    return dm.scalar(QStringLiteral("select count(*) from ZAVR_LoftClocks where LoftNo=?"), {loftNo}).toInt();
}

QString clockListTitle(const QString& loftName) { return loftName + QStringLiteral("'s Clock List"); }

QString clockCountText(int count) { return QStringLiteral("Number of clocks ") + QString::number(count); }

Discovery discoverClock(ClockLibrary& library, const QString& iniPath)
{
    Discovery found;
    {
        TPigModuV6 link(library, iniPath);
        found = askClock(library, link);
    }  // the link closes its port here, whatever the clock answered
    QThread::msleep(300);
    return found;
}

Discovery discoverClock(const DataFolder& folder)
{
    const std::unique_ptr<DeviceLibraries> devices = DeviceLibraries::open(folder);
    return discoverClock(devices->clock(), folder.iniPath());
}

SaveOutcome saveClock(const TdmZAVR& dm, const QString& loftNo, const QString& loftName, const QString& typedClockId,
                      const QString& memberName)
{
    const QString clockId = serialText(typedClockId);
    if (dm.locate(Table, Key, {loftNo, clockId}))
        return {SaveOutcome::Duplicate,
                loftName + QStringLiteral("'s ") + QStringLiteral("Clock serial number ") + clockId + QStringLiteral(" duplicate !")};
    const QVariant named = dm.scalar(QStringLiteral("select 1 from ZAVR_LoftData where LoftName=? limit 1"), {memberName});
    if (named.isNull())
        return {SaveOutcome::UnknownMember, memberName + QStringLiteral(" not find in Member data !")};
    dm.append(Table, {{QStringLiteral("LoftNo"), loftNo}, {QStringLiteral("ClockID"), clockId}});
    return {};
}

void deleteClock(const TdmZAVR& dm, const QString& loftNo, const QString& clockId)
{
    dm.remove(Table, Key, {loftNo, serialText(clockId)});
}

}  // namespace LoftClocks
