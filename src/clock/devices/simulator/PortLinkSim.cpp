// libPortLink.so of the simulator: the ring reader's port.
#include "CorvelDevices.h"
#include "SimulatorInstance.h"

extern "C" {

int32_t IFD_OpenPort(const char* name, const char* settings)
{
    try {
        return corvelSimulatorBench().PortLink().IFD_OpenPort(name, settings);
    } catch (...) {
        return 0;
    }
}
CorvelBool IFD_IsPortValid(int32_t h)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PortLink().IFD_IsPortValid(h); });
}
CorvelBool IFD_ClosePort(int32_t h)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PortLink().IFD_ClosePort(h); });
}

}  // extern "C"
