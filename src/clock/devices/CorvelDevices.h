/* The C functions that a vendor's device libraries export for Corvel Club Management.
 *
 * Four shared libraries, found through ZAVR.ini ([Devices] Library=vendor):
 *   libClockComm.so   clock port and connection, DES, hexadecimal conversion
 *   libClockRace.so   the clock's race functions (their handles come from libClockComm.so)
 *   libPortLink.so    the ring reader's port
 *   libRingReader.so  the ring reader (its handles come from libPortLink.so)
 *
 * Conventions: a CorvelBool result is non-zero for success; texts are NUL-terminated 8-bit
 * texts; a block is 8 raw bytes; a handle is a 32-bit number, 0 meaning none; raceNo is a race
 * number of exactly 8 characters that need not be followed by a NUL; a date-time is a double
 * counting days since 1899-12-30, the time of day as the fraction. Buffer sizes are given in
 * the comments; a function never writes beyond them.
 *
 * The port name given to IFD_OpenPort is the device file that ZAVR.ini maps to COM1 or COM2
 * ([Devices] COM1=..., COM2=...), or "COM1"/"COM2" when no file is given.
 */
#ifndef CORVEL_DEVICES_H
#define CORVEL_DEVICES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned char CorvelBool;

/* Function types, as the program resolves them. */
typedef int32_t (*IFD_OpenPort_t)(const char* name, const char* settings);
typedef CorvelBool (*IFD_IsPortValid_t)(int32_t h);
typedef CorvelBool (*IFD_ClosePort_t)(int32_t h);
typedef CorvelBool (*IFD_Connect_t)(int32_t h, const unsigned char* sysId, const unsigned char* sysIdCipher);
typedef CorvelBool (*IFD_GetDevNo_t)(int32_t h, char* buffer12);
typedef CorvelBool (*DesEncrypt_t)(unsigned char* out, const unsigned char* in, const unsigned char* key);
typedef CorvelBool (*DesDecrypt_t)(const unsigned char* in, unsigned char* out, const unsigned char* key);
typedef CorvelBool (*HexToBin_t)(const char* text, unsigned char* out, int32_t n);

typedef CorvelBool (*PGT_StartTag_t)(int32_t h, int32_t zero);
typedef CorvelBool (*PGT_SetTag_t)(int32_t h, const char* tag, int32_t zero, const char* uid, const char* regNo);
typedef CorvelBool (*PGT_CloseTag_t)(int32_t h, int32_t* n);
typedef CorvelBool (*PGT_SetUploadMode_t)(int32_t h, int32_t a, int32_t b, int32_t c);
typedef CorvelBool (*PGT_SetSiteInfo_t)(int32_t h, const char* site, int32_t lon, int32_t lat);
typedef CorvelBool (*PGT_GetSiteInfo_t)(int32_t h, char* site48, int32_t* lon, int32_t* lat);
typedef CorvelBool (*PGT_CreateRace_t)(int32_t h, const char* raceNo, const char* sysIdText);
typedef CorvelBool (*PGT_AddRaceTag_t)(int32_t h, const char* raceNo, const char* tag, const char* uid);
typedef CorvelBool (*PGT_SetRaceDesc_t)(int32_t h, const char* raceNo, const char* text);
typedef CorvelBool (*PGT_SetRaceMode_t)(int32_t h, const char* raceNo, int32_t mode);
typedef CorvelBool (*PGT_ConfirmRace_t)(int32_t h, const char* raceNo, const unsigned char* auth, double now);
typedef CorvelBool (*PGT_StartRace_t)(int32_t h, const char* raceNo, int32_t kind);
typedef CorvelBool (*PGT_GetCurrentRace_t)(int32_t h, char* raceNo8, int32_t* n);
typedef CorvelBool (*PGT_GetRaceTagCount_t)(int32_t h, const char* raceNo, int32_t mode, int32_t* count);
typedef CorvelBool (*PGT_GetRaceRecord_t)(int32_t h, const char* raceNo, int32_t mode, int32_t index, char* record104);
typedef CorvelBool (*PGT_CheckRecord_t)(const char* record, const unsigned char* sysId, const char* clockNo,
                                        const char* raceNo, const unsigned char* auth);
typedef CorvelBool (*PGT_VerifyRace_t)(int32_t h, const char* raceNo, const unsigned char* auth);
typedef CorvelBool (*PGT_CloseRace_t)(int32_t h, const char* raceNo, double now);
typedef CorvelBool (*PGT_GetRaceT2Device_t)(int32_t h, const char* raceNo, double* t);
typedef CorvelBool (*PGT_GetRaceT2Auth_t)(int32_t h, const char* raceNo, double* t);

typedef CorvelBool (*HTS_Active_t)(int32_t h, unsigned char* uid4);
typedef CorvelBool (*HTS_ReadPage_t)(int32_t h, int32_t page, unsigned char* buffer4);
typedef CorvelBool (*TTF_Read_t)(int32_t h, int32_t zero, unsigned char* block16);
typedef CorvelBool (*HTS_ChangePigeon_t)(int32_t h, const unsigned char* block16);
typedef CorvelBool (*SC_DoBell_t)(int32_t h, int32_t a, int32_t b, int32_t c);
typedef CorvelBool (*RF_Reset_t)(int32_t h, int32_t n);

#ifndef CORVEL_DEVICES_TYPES_ONLY

#if defined(__GNUC__)
#define CORVEL_DEVICE_EXPORT __attribute__((visibility("default")))
#else
#define CORVEL_DEVICE_EXPORT
#endif

/* libClockComm.so (IFD_OpenPort, IFD_IsPortValid and IFD_ClosePort also in libPortLink.so;
 * the ring reader's port is opened with settings NULL, a clock's with
 * "baud=115200;timeout=2000"). */
CORVEL_DEVICE_EXPORT int32_t IFD_OpenPort(const char* name, const char* settings);
CORVEL_DEVICE_EXPORT CorvelBool IFD_IsPortValid(int32_t h);
CORVEL_DEVICE_EXPORT CorvelBool IFD_ClosePort(int32_t h);
/* The clock accepts the system identity block and its DES cipher; precedes all other clock calls. */
CORVEL_DEVICE_EXPORT CorvelBool IFD_Connect(int32_t h, const unsigned char* sysId, const unsigned char* sysIdCipher);
CORVEL_DEVICE_EXPORT CorvelBool IFD_GetDevNo(int32_t h, char* buffer12);
/* One DES block under an 8-byte key; note the opposite order of input and output. */
CORVEL_DEVICE_EXPORT CorvelBool DesEncrypt(unsigned char* out, const unsigned char* in, const unsigned char* key);
CORVEL_DEVICE_EXPORT CorvelBool DesDecrypt(const unsigned char* in, unsigned char* out, const unsigned char* key);
/* n bytes from 2n hexadecimal digits. */
CORVEL_DEVICE_EXPORT CorvelBool HexToBin(const char* text, unsigned char* out, int32_t n);

/* libClockRace.so */
CORVEL_DEVICE_EXPORT CorvelBool PGT_StartTag(int32_t h, int32_t zero);
CORVEL_DEVICE_EXPORT CorvelBool PGT_SetTag(int32_t h, const char* tag, int32_t zero, const char* uid, const char* regNo);
CORVEL_DEVICE_EXPORT CorvelBool PGT_CloseTag(int32_t h, int32_t* n);
CORVEL_DEVICE_EXPORT CorvelBool PGT_SetUploadMode(int32_t h, int32_t a, int32_t b, int32_t c);
CORVEL_DEVICE_EXPORT CorvelBool PGT_SetSiteInfo(int32_t h, const char* site, int32_t lon, int32_t lat);
CORVEL_DEVICE_EXPORT CorvelBool PGT_GetSiteInfo(int32_t h, char* site48, int32_t* lon, int32_t* lat);
CORVEL_DEVICE_EXPORT CorvelBool PGT_CreateRace(int32_t h, const char* raceNo, const char* sysIdText);
CORVEL_DEVICE_EXPORT CorvelBool PGT_AddRaceTag(int32_t h, const char* raceNo, const char* tag, const char* uid);
CORVEL_DEVICE_EXPORT CorvelBool PGT_SetRaceDesc(int32_t h, const char* raceNo, const char* text);
CORVEL_DEVICE_EXPORT CorvelBool PGT_SetRaceMode(int32_t h, const char* raceNo, int32_t mode);
CORVEL_DEVICE_EXPORT CorvelBool PGT_ConfirmRace(int32_t h, const char* raceNo, const unsigned char* auth, double now);
CORVEL_DEVICE_EXPORT CorvelBool PGT_StartRace(int32_t h, const char* raceNo, int32_t kind);
CORVEL_DEVICE_EXPORT CorvelBool PGT_GetCurrentRace(int32_t h, char* raceNo8, int32_t* n);
CORVEL_DEVICE_EXPORT CorvelBool PGT_GetRaceTagCount(int32_t h, const char* raceNo, int32_t mode, int32_t* count);
CORVEL_DEVICE_EXPORT CorvelBool PGT_GetRaceRecord(int32_t h, const char* raceNo, int32_t mode, int32_t index, char* record104);
CORVEL_DEVICE_EXPORT CorvelBool PGT_CheckRecord(const char* record, const unsigned char* sysId, const char* clockNo,
                                                const char* raceNo, const unsigned char* auth);
CORVEL_DEVICE_EXPORT CorvelBool PGT_VerifyRace(int32_t h, const char* raceNo, const unsigned char* auth);
CORVEL_DEVICE_EXPORT CorvelBool PGT_CloseRace(int32_t h, const char* raceNo, double now);
CORVEL_DEVICE_EXPORT CorvelBool PGT_GetRaceT2Device(int32_t h, const char* raceNo, double* t);
CORVEL_DEVICE_EXPORT CorvelBool PGT_GetRaceT2Auth(int32_t h, const char* raceNo, double* t);

/* libRingReader.so (h from libPortLink.so) */
CORVEL_DEVICE_EXPORT CorvelBool HTS_Active(int32_t h, unsigned char* uid4);
CORVEL_DEVICE_EXPORT CorvelBool HTS_ReadPage(int32_t h, int32_t page, unsigned char* buffer4);
CORVEL_DEVICE_EXPORT CorvelBool TTF_Read(int32_t h, int32_t zero, unsigned char* block16);
CORVEL_DEVICE_EXPORT CorvelBool HTS_ChangePigeon(int32_t h, const unsigned char* block16);
CORVEL_DEVICE_EXPORT CorvelBool SC_DoBell(int32_t h, int32_t a, int32_t b, int32_t c);
CORVEL_DEVICE_EXPORT CorvelBool RF_Reset(int32_t h, int32_t n);

#endif /* CORVEL_DEVICES_TYPES_ONLY */

#ifdef __cplusplus
}
#endif

#endif /* CORVEL_DEVICES_H */
