#include "DeviceCodec.h"

#include "CorvelError.h"
#include "Moment.h"
#include "SettingsFile.h"

#include <nettle/des.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool desBlock(bool encrypt, std::uint8_t* out, const std::uint8_t* in, const std::uint8_t* key)
{
    if (out == nullptr || in == nullptr || key == nullptr)
        return false;
    des_ctx ctx;
    if (des_set_key(&ctx, key) == 0)
        return false;  // weak key
    std::uint8_t result[DES_BLOCK_SIZE];
    if (encrypt)
        des_encrypt(&ctx, DES_BLOCK_SIZE, result, in);
    else
        des_decrypt(&ctx, DES_BLOCK_SIZE, result, in);
    std::memcpy(out, result, DES_BLOCK_SIZE);
    return true;
}

constexpr qint64 MsecsPerDay = 86'400'000;
// Julian day of 1899-12-30, the day 0 of the libraries' date-times.
constexpr qint64 DayZero = 2'415'019;

}  // namespace

bool DesEncrypt(std::uint8_t* out, const std::uint8_t* in, const std::uint8_t* key) { return desBlock(true, out, in, key); }
bool DesDecrypt(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* key) { return desBlock(false, out, in, key); }

bool HexToBin(const char* text, std::uint8_t* out, std::int32_t n)
{
    if (text == nullptr || out == nullptr || n < 0)
        return false;
    const std::size_t digits = static_cast<std::size_t>(n) * 2;
    if (strnlen(text, digits + 1) != digits)
        return false;
    for (std::size_t i = 0; i < digits; ++i)
        if (hexDigit(text[i]) < 0)
            return false;
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i)
        out[i] = static_cast<std::uint8_t>(hexDigit(text[2 * i]) * 16 + hexDigit(text[2 * i + 1]));
    return true;
}

bool isHexText(const QString& text, qsizetype digits)
{
    if (text.size() != digits)
        return false;
    for (QChar c : text)
        if (c.unicode() > 0x7f || hexDigit(static_cast<char>(c.unicode())) < 0)
            return false;
    return true;
}

bool HexToBin(const QString& text, std::uint8_t* out, std::int32_t n)
{
    if (n < 0 || !isHexText(text, static_cast<qsizetype>(n) * 2))
        return false;
    return HexToBin(text.toLatin1().constData(), out, n);
}

QString BytesToHex(std::span<const std::uint8_t> bytes, int first, int count)
{
    if (first < 1 || count < 0 || static_cast<std::size_t>(first - 1) + static_cast<std::size_t>(count) > bytes.size())
        throw CorvelError(QStringLiteral("Bytes %1 to %2 lie outside a buffer of %3 bytes.")
                              .arg(first)
                              .arg(first + count - 1)
                              .arg(bytes.size()));
    static const char digits[] = "0123456789ABCDEF";
    QString text;
    text.reserve(count * 2);
    for (int i = 0; i < count; ++i) {
        const std::uint8_t b = bytes[static_cast<std::size_t>(first - 1 + i)];
        text += QLatin1Char(digits[b >> 4]);
        text += QLatin1Char(digits[b & 0x0f]);
    }
    return text;
}

std::uint16_t HexTextToWord(const QString& text)
{
    std::uint16_t value = 0;
    for (QChar c : text) {
        const int digit = c.unicode() > 0x7f ? -1 : hexDigit(static_cast<char>(c.unicode()));
        if (digit < 0)
            throw CorvelError(QStringLiteral("'%1' is not a valid hexadecimal number").arg(text));
        value = static_cast<std::uint16_t>(value * 16 + digit);
    }
    return value;
}

QString iniSysId(const QString& iniPath)
{
    return iniText(*readIniFile(iniPath), QStringLiteral("Parameter/SysID"));
}

DesBlock systemIdentityBlock(const QString& sysId)
{
    DesBlock block;
    block.fill('0');
    const QByteArray bytes = sysId.left(8).toLatin1();
    std::memcpy(block.data(), bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return block;
}

DesBlock systemIdentityCipher(const DesBlock& sysId)
{
    DesBlock cipher{};
    // The fixed key is not weak, so this cannot fail.
    DesEncrypt(cipher.data(), sysId.data(), reinterpret_cast<const std::uint8_t*>(FixedDesKey));
    return cipher;
}

bool raceAuthBlock(const char* raceNo8, const DesBlock& sysIdCipher, DesBlock& auth)
{
    return DesEncrypt(auth.data(), reinterpret_cast<const std::uint8_t*>(raceNo8), sysIdCipher.data());
}

namespace ClockDateTime {

std::optional<double> toDays(const QDateTime& moment)
{
    if (!moment.isValid())
        return std::nullopt;
    // The day is checked before it is multiplied: a far date's milliseconds overflow 64 bits.
    const qint64 day = moment.date().toJulianDay() - DayZero;
    if (static_cast<double>(std::llabs(day)) > MaxDays)
        return std::nullopt;
    const qint64 msecs = day * MsecsPerDay + moment.time().msecsSinceStartOfDay();
    const double days = static_cast<double>(msecs) / static_cast<double>(MsecsPerDay);
    if (std::fabs(days) > MaxDays)
        return std::nullopt;
    return days;
}

QDateTime fromDays(double days)
{
    if (!std::isfinite(days) || std::fabs(days) > MaxDays)
        return {};
    const auto msecs = static_cast<qint64>(std::llround(days * static_cast<double>(MsecsPerDay)));
    qint64 day = msecs / MsecsPerDay;
    qint64 rest = msecs % MsecsPerDay;
    if (rest < 0) {
        rest += MsecsPerDay;
        --day;
    }
    return Formats::moment(QDate::fromJulianDay(day + DayZero), QTime::fromMSecsSinceStartOfDay(static_cast<int>(rest)));
}

}  // namespace ClockDateTime
