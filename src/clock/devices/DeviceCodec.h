#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

// DES and hexadecimal helpers shared by the device libraries, the links and the clock page.

using DesBlock = std::array<std::uint8_t, 8>;

// The fixed key under which a ring's authenticity pages and the system identity's cipher are made.
inline constexpr char FixedDesKey[] = "41930572";

// One 8-byte block through DES (ECB) under an 8-byte key; the key's parity bits are ignored.
// Returns false, and leaves out untouched, when the key is weak. Note the argument orders.
bool DesEncrypt(std::uint8_t* out, const std::uint8_t* in, const std::uint8_t* key);
bool DesDecrypt(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* key);

// Whether text is exactly digits hexadecimal digits (0-9, A-F, a-f), with no sign, blank or prefix.
bool isHexText(const QString& text, qsizetype digits);

// Writes n bytes from text of exactly 2n hexadecimal digits (either case). Returns false, and
// writes nothing, for text of another length (at most 2n + 1 characters are looked at), a
// non-hexadecimal character, a null text or a negative n.
bool HexToBin(const char* text, std::uint8_t* out, std::int32_t n);
bool HexToBin(const QString& text, std::uint8_t* out, std::int32_t n);

// Each of count bytes from the position first (counted from 1) as two upper-case hexadecimal
// digits. Throws CorvelError when the range does not lie inside bytes.
QString BytesToHex(std::span<const std::uint8_t> bytes, int first, int count);
inline QString BytesToHex(const QByteArray& bytes, int first, int count)
{
    return BytesToHex(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())),
                      first, count);
}

// The 16-bit value of hexadecimal text (3C -> 60); higher digits beyond 16 bits are dropped.
// Empty text gives 0. Throws CorvelError for a character that is not a hexadecimal digit.
std::uint16_t HexTextToWord(const QString& text);

// The SysID text of [Parameter] in the ZAVR.ini at iniPath, as written (an unquoted value with
// commas included); empty when the file or the key is missing. Throws CorvelError for a file
// larger than 1 MB.
QString iniSysId(const QString& iniPath);
// The system identity as the clocks take it: the first 8 characters of the SysID text, or its
// characters followed by "0" up to 8.
DesBlock systemIdentityBlock(const QString& sysId);
// That block encrypted with DES under the fixed key.
DesBlock systemIdentityCipher(const DesBlock& sysId);
// The race authentication block: the 8 characters of the race number encrypted under the
// system identity's cipher. Returns false for a weak key.
bool raceAuthBlock(const char* raceNo8, const DesBlock& sysIdCipher, DesBlock& auth);

// Date-times as the device libraries pass them: days since 1899-12-30, the time of day as the
// fraction. They are moments (a calendar date and a time of day, no time zone): toDays reads the
// date and time of day a date-time shows, fromDays gives a moment (Formats::moment).
// Conversions are exact to the millisecond within MaxDays either side of day 0; toDays gives
// nothing for an invalid date-time or one outside that range, fromDays an invalid date-time for
// a number outside it.
namespace ClockDateTime {
inline constexpr double MaxDays = 3.0e6;
std::optional<double> toDays(const QDateTime& moment);
QDateTime fromDays(double days);
}  // namespace ClockDateTime
