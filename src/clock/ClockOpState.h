#pragma once

#include "DeviceCodec.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class ClockLibrary;
class DataFolder;
class DeviceLibraries;
class RingReaderLibrary;
class TPigModuV6;
class TRaceModule;

// The values the Clock Operation page keeps for the whole run of the program. The tabs that
// program and read clocks and write the SMS files add their working values here.
struct ClockOpValues {
    std::int32_t readerHandle = 0;      // port of the ring reader link; 0 when none is usable
    std::int32_t clockHandle = 0;       // port of the clock link; 0 when none is usable
    std::array<std::uint8_t, 4> ringUid{};    // UID of the ring on the reader
    std::array<std::uint8_t, 16> ringData{};  // the ring's data block
    QString ringDataHex;                // eRing number and random code as hexadecimal text
    QString lastUid;                    // hexadecimal UID of the last ring handled
    bool skipRing = false;              // the ring now on the reader is to be ignored
    QString currentLoftNo;              // member being worked on
    // The race chosen on the current tab; raceLiberDate in the short date format.
    QString raceLiberCode;
    QString raceLiberDate;
    QString raceCode;
    QString raceClubId;
    std::uint8_t markCode = 0;          // random code written to the last marked ring
    QString markedRingNo;               // pigeon being marked, or whose arrival is being applied
    DesBlock sysIdBlock{};
    DesBlock sysIdCipherBlock{};
    DesBlock raceAuth{};
    std::array<char, 12> clockNoBuf{};  // clock number, NUL-terminated, read up to 9 characters
    std::array<char, 8> clockRaceNo{};  // race number reported by the clock
    std::array<char, 48> clockSiteBuf{};
    std::array<char, 104> recordBuf{};  // one arrival record of the clock
    QString lastClockLoft;              // member number of the clock last uploaded
    QString smsFileName;                // file chosen for the SMS file being written
    QString gridSortText;               // the last title-click sort of the page's grids
    // The date and time formats are the program's fixed ones (Formats), so none are kept here.
};

// What the Clock Operation page keeps for the whole run of the program: a new page instance finds
// it as the last one left it. It also owns the one serial link of the page (ring reader or clock)
// and the device libraries behind it, which exist only while that link does, so at most one link
// exists at a time.
class ClockOpState : public ClockOpValues {
public:
    ClockOpState();
    ~ClockOpState();
    ClockOpState(const ClockOpState&) = delete;
    ClockOpState& operator=(const ClockOpState&) = delete;

    // ---- the serial link ----

    // Releases the ring reader link (readerHandle := 0) or else the clock link (clockHandle := 0,
    // lastClockLoft := empty), then the device libraries.
    void releaseLink();
    // Open a new link through the device libraries that ZAVR.ini of the folder chooses, after
    // releasing the open one. Return whether a usable port was found; the handle is then that
    // port's, else 0 (a scan that found nothing keeps the last handle it tried, already closed).
    // Throw CorvelError when the device libraries cannot be opened (no link then).
    bool openReaderLink(const DataFolder& folder);
    bool openClockLink(const DataFolder& folder);

    // The link's libraries, null while no link exists.
    RingReaderLibrary* ringReader() const;
    ClockLibrary* clockLibrary() const;
    TPigModuV6* clockLink() const { return clockLink_.get(); }
    bool hasLink() const { return readerLink_ || clockLink_; }

    // Forgets every value and releases the link, as at the start of the program.
    void reset();

private:
    std::unique_ptr<DeviceLibraries> devices_;
    std::unique_ptr<TRaceModule> readerLink_;
    std::unique_ptr<TPigModuV6> clockLink_;
};

// The program's one page-wide state.
ClockOpState& clockOpState();
