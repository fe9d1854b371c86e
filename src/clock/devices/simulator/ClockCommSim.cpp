// libClockComm.so of the simulator.
#include "CorvelDevices.h"
#include "SimulatorInstance.h"

extern "C" {

int32_t IFD_OpenPort(const char* name, const char* settings)
{
    try {
        return corvelSimulatorBench().IFD_OpenPort(name, settings);
    } catch (...) {
        return 0;
    }
}
CorvelBool IFD_IsPortValid(int32_t h)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().IFD_IsPortValid(h); });
}
CorvelBool IFD_ClosePort(int32_t h)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().IFD_ClosePort(h); });
}
CorvelBool IFD_Connect(int32_t h, const unsigned char* sysId, const unsigned char* sysIdCipher)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().IFD_Connect(h, sysId, sysIdCipher); });
}
CorvelBool IFD_GetDevNo(int32_t h, char* buffer12)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().IFD_GetDevNo(h, buffer12); });
}
CorvelBool DesEncrypt(unsigned char* out, const unsigned char* in, const unsigned char* key)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().DesEncrypt(out, in, key); });
}
CorvelBool DesDecrypt(const unsigned char* in, unsigned char* out, const unsigned char* key)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().DesDecrypt(in, out, key); });
}
CorvelBool HexToBin(const char* text, unsigned char* out, int32_t n)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().HexToBin(text, out, n); });
}

}  // extern "C"
