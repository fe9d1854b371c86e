#include "TPigModuV6.h"

#include "ClockLibrary.h"
#include "CorvelError.h"
#include "DeviceCodec.h"
#include "Formats.h"
#include "PortScan.h"

namespace {

QString hexOf(const DesBlock& block) { return BytesToHex(std::span<const std::uint8_t>(block), 1, 8); }

// A digit group of a compact coordinate: digits only. A blank or a sign in it (a mask typed only
// in part) is the integer conversion error, never a smaller number.
int digitGroup(const QString& group)
{
    bool ok = !group.isEmpty();
    for (QChar c : group)
        ok = ok && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!ok)
        throw CorvelError(QStringLiteral("'%1' is not a valid integer value").arg(group));
    return group.toInt();
}

}  // namespace

TPigModuV6::TPigModuV6(ClockLibrary& library, const QString& iniPath) : library_(library)
{
    const PortScanResult found = scanPorts(library_, "baud=115200;timeout=2000");
    Opened = found.opened;
    PortHandle = found.handle;

    const DesBlock sysId = systemIdentityBlock(iniSysId(iniPath));
    SysIDHex = hexOf(sysId);
    SysIDCipherHex = hexOf(systemIdentityCipher(sysId));
}

TPigModuV6::~TPigModuV6()
{
    if (Opened)
        library_.IFD_ClosePort(PortHandle);
}

bool TPigModuV6::GetDevNo(char* buffer) { return library_.IFD_GetDevNo(PortHandle, buffer); }

std::int32_t TPigModuV6::CoordTextToValue(const QString& text)
{
    if (text.isEmpty())
        return 0;
    const QChar hemisphere = text.at(0);
    int sign = 0;
    if (hemisphere == QLatin1Char('E') || hemisphere == QLatin1Char('N'))
        sign = 1;
    else if (hemisphere == QLatin1Char('W') || hemisphere == QLatin1Char('S'))
        sign = -1;
    else
        return 0;
    const qint64 degrees = digitGroup(text.mid(1, 3));
    const qint64 minutes = digitGroup(text.mid(4, 2));
    const qint64 seconds = digitGroup(text.mid(6, 2));
    // Two further digits count as they stand, in thousandths.
    const qint64 further = text.size() > 8 ? digitGroup(text.mid(8, 2)) : 0;
    const qint64 value = sign * ((degrees * 3600 + minutes * 60 + seconds) * 1000 + further);
    // Three digits of degrees can exceed what a clock coordinate holds (about 596 degrees).
    if (value > INT32_MAX || value < INT32_MIN)
        throw CorvelError(QStringLiteral("The coordinate %1 is out of range.").arg(text));
    return static_cast<std::int32_t>(value);
}

QString TPigModuV6::ClockTimeToText(const QString& hex)
{
    std::uint8_t b[8];
    if (!HexToBin(hex, b, 8))
        throw CorvelError(QStringLiteral("'%1' is not a valid clock time stamp").arg(hex));
    const int year = 2000 + b[0];
    const int month = b[1];
    const int day = b[2];
    const int hour = b[3];
    const int minute = b[4];
    const int second = b[5];
    const int msecs = b[6] + 256 * b[7];
    QDateTime moment = Formats::moment(QDate(1899, 12, 30), QTime(0, 0));  // year 2000: no time recorded, the zero date-time
    if (year != 2000) {
        const QDate date(year, month, day);
        const QTime time(hour, minute, second);
        if (!date.isValid() || !time.isValid()) {
            const QLatin1Char zero('0');
            throw CorvelError(QStringLiteral("'%1/%2/%3 %4:%5:%6' is not a valid date and time")
                                  .arg(year, 4, 10, zero)
                                  .arg(month, 2, 10, zero)
                                  .arg(day, 2, 10, zero)
                                  .arg(hour, 2, 10, zero)
                                  .arg(minute, 2, 10, zero)
                                  .arg(second, 2, 10, zero));
        }
        // A moment: a stamp never falls into a daylight-saving gap.
        moment = Formats::moment(date, time);
    }
    return Formats::dateTimeC(moment) + QStringLiteral(".%1").arg(msecs, 3, 10, QLatin1Char('0'));
}
