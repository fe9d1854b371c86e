#include "PortScan.h"

#include "ClockLibrary.h"

#include <initializer_list>

PortScanResult scanPorts(PortLibrary& library, const char* settings)
{
    PortScanResult result;
    for (const char* name : {"COM1", "COM2"}) {
        result.handle = library.IFD_OpenPort(name, settings);
        if (result.handle == 0)
            continue;
        if (library.IFD_IsPortValid(result.handle)) {
            result.opened = true;
            break;
        }
        library.IFD_ClosePort(result.handle);
    }
    return result;
}
