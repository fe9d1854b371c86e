#pragma once

#include <QString>
#include <cstdint>

class ClockLibrary;

// The clock link: owns the clock's serial port from construction to destruction and holds the
// club's system identity in the two forms a clock demands before it accepts any command.
class TPigModuV6 {
public:
    // Tries COM1, then COM2, keeps the first port on which a clock answers, and reads the system
    // identity ([Parameter] SysID) from the ZAVR.ini at iniPath.
    TPigModuV6(ClockLibrary& library, const QString& iniPath);
    ~TPigModuV6();
    TPigModuV6(const TPigModuV6&) = delete;
    TPigModuV6& operator=(const TPigModuV6&) = delete;

    bool Opened = false;
    std::int32_t PortHandle = 0;
    QString SysIDHex;        // 16 upper-case hexadecimal digits: the 8 bytes of the system identity
    QString SysIDCipherHex;  // the same bytes encrypted with DES under the fixed key

    // buffer: 12 bytes; receives the clock number as NUL-terminated text.
    bool GetDevNo(char* buffer);

    // A compact coordinate (hemisphere letter, 3 digits of degrees, 2 of minutes, 2 of seconds:
    // E1212324) as a clock coordinate value in thousandths of an arc second; 0 when the first
    // character is not a hemisphere letter. Two further digits, in a longer text, are added to the
    // value as they stand, that is as thousandths (E121232433 gives 437004033); the callers pass
    // none, as they leave out the hundredths of a coordinate text. Throws CorvelError when a digit
    // group is not a number.
    static std::int32_t CoordTextToValue(const QString& text);
    // A clock time stamp of 16 hexadecimal digits as "yyyy/mm/dd hh:nn:ss.zzz" (the time left out
    // at midnight). Throws CorvelError when the digits do not form a valid date and time.
    static QString ClockTimeToText(const QString& hex);

private:
    ClockLibrary& library_;
};
