// libRingReader.so of the simulator.
#include "CorvelDevices.h"
#include "SimulatorInstance.h"

extern "C" {

CorvelBool HTS_Active(int32_t h, unsigned char* uid4)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().HTS_Active(h, uid4); });
}
CorvelBool HTS_ReadPage(int32_t h, int32_t page, unsigned char* buffer4)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().HTS_ReadPage(h, page, buffer4); });
}
CorvelBool TTF_Read(int32_t h, int32_t zero, unsigned char* block16)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().TTF_Read(h, zero, block16); });
}
CorvelBool HTS_ChangePigeon(int32_t h, const unsigned char* block16)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().HTS_ChangePigeon(h, block16); });
}
CorvelBool SC_DoBell(int32_t h, int32_t a, int32_t b, int32_t c)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().SC_DoBell(h, a, b, c); });
}
CorvelBool RF_Reset(int32_t h, int32_t n)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().RF_Reset(h, n); });
}

}  // extern "C"
