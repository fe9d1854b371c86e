#pragma once

#include <cstdint>

class PortLibrary;

struct PortScanResult {
    bool opened = false;
    std::int32_t handle = 0;  // of the last open call; already closed unless opened
};

// What a page shows when a new link found no usable port.
inline constexpr const char* ComPortNotActive = "Com Port not be actived , Pls Connect Rs232 Cable and restart !";

// Opens COM1, then COM2, and stops at the first port that opens and is usable, which stays open
// for the caller. A port that opens but is not usable is closed again before the next is tried.
PortScanResult scanPorts(PortLibrary& library, const char* settings);
