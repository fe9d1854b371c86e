#include "TRaceModule.h"

#include "ClockLibrary.h"
#include "PortScan.h"

TRaceModule::TRaceModule(ClockLibrary& library) : library_(library)
{
    const PortScanResult found = scanPorts(library_.PortLink(), nullptr);
    Opened = found.opened;
    PortHandle = found.handle;
}

TRaceModule::~TRaceModule()
{
    if (Opened)
        library_.PortLink().IFD_ClosePort(PortHandle);
}
