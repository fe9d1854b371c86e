// libClockRace.so of the simulator.
#include "CorvelDevices.h"
#include "SimulatorInstance.h"

extern "C" {

CorvelBool PGT_StartTag(int32_t h, int32_t zero)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_StartTag(h, zero); });
}
CorvelBool PGT_SetTag(int32_t h, const char* tag, int32_t zero, const char* uid, const char* regNo)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_SetTag(h, tag, zero, uid, regNo); });
}
CorvelBool PGT_CloseTag(int32_t h, int32_t* n)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_CloseTag(h, n); });
}
CorvelBool PGT_SetUploadMode(int32_t h, int32_t a, int32_t b, int32_t c)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_SetUploadMode(h, a, b, c); });
}
CorvelBool PGT_SetSiteInfo(int32_t h, const char* site, int32_t lon, int32_t lat)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_SetSiteInfo(h, site, lon, lat); });
}
CorvelBool PGT_GetSiteInfo(int32_t h, char* site48, int32_t* lon, int32_t* lat)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_GetSiteInfo(h, site48, lon, lat); });
}
CorvelBool PGT_CreateRace(int32_t h, const char* raceNo, const char* sysIdText)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_CreateRace(h, raceNo, sysIdText); });
}
CorvelBool PGT_AddRaceTag(int32_t h, const char* raceNo, const char* tag, const char* uid)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_AddRaceTag(h, raceNo, tag, uid); });
}
CorvelBool PGT_SetRaceDesc(int32_t h, const char* raceNo, const char* text)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_SetRaceDesc(h, raceNo, text); });
}
CorvelBool PGT_SetRaceMode(int32_t h, const char* raceNo, int32_t mode)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_SetRaceMode(h, raceNo, mode); });
}
CorvelBool PGT_ConfirmRace(int32_t h, const char* raceNo, const unsigned char* auth, double now)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_ConfirmRace(h, raceNo, auth, now); });
}
CorvelBool PGT_StartRace(int32_t h, const char* raceNo, int32_t kind)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_StartRace(h, raceNo, kind); });
}
CorvelBool PGT_GetCurrentRace(int32_t h, char* raceNo8, int32_t* n)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_GetCurrentRace(h, raceNo8, n); });
}
CorvelBool PGT_GetRaceTagCount(int32_t h, const char* raceNo, int32_t mode, int32_t* count)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_GetRaceTagCount(h, raceNo, mode, count); });
}
CorvelBool PGT_GetRaceRecord(int32_t h, const char* raceNo, int32_t mode, int32_t index, char* record104)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_GetRaceRecord(h, raceNo, mode, index, record104); });
}
CorvelBool PGT_CheckRecord(const char* record, const unsigned char* sysId, const char* clockNo, const char* raceNo, const unsigned char* auth)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_CheckRecord(record, sysId, clockNo, raceNo, auth); });
}
CorvelBool PGT_VerifyRace(int32_t h, const char* raceNo, const unsigned char* auth)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_VerifyRace(h, raceNo, auth); });
}
CorvelBool PGT_CloseRace(int32_t h, const char* raceNo, double now)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_CloseRace(h, raceNo, now); });
}
CorvelBool PGT_GetRaceT2Device(int32_t h, const char* raceNo, double* t)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_GetRaceT2Device(h, raceNo, t); });
}
CorvelBool PGT_GetRaceT2Auth(int32_t h, const char* raceNo, double* t)
{
    return corvelSimulatorCall([&] { return corvelSimulatorBench().PGT_GetRaceT2Auth(h, raceNo, t); });
}

}  // extern "C"
