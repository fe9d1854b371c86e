#pragma once

#include <cstdint>

class ClockLibrary;

// The ring reader link: owns the ring reader's serial port (opened through the clock library's
// port library) from construction to destruction.
class TRaceModule {
public:
    // Tries COM1, then COM2, and keeps the first port on which the ring reader answers.
    explicit TRaceModule(ClockLibrary& library);
    ~TRaceModule();
    TRaceModule(const TRaceModule&) = delete;
    TRaceModule& operator=(const TRaceModule&) = delete;

    bool Opened = false;
    // Handle of the last open call, closed again unless Opened; 0 when no port could be opened at all.
    std::int32_t PortHandle = 0;

private:
    ClockLibrary& library_;
};
