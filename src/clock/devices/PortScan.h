#pragma once

#include <cstdint>

class PortLibrary;

struct PortScanResult {
    bool opened = false;
    std::int32_t handle = 0;  // of the last open call
};

// Opens COM1, then COM2, and stops at the first port that opens and is usable. A port that opens
// but is not usable is left to the library (it is not closed here).
PortScanResult scanPorts(PortLibrary& library, const char* settings);
