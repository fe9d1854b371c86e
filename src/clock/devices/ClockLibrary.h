#pragma once

#include <cstdint>

// The serial port functions that the clock library (for the clock) and the port library (for the
// ring reader) both offer. A handle is a 32-bit number; 0 means that no port was opened.
class PortLibrary {
public:
    virtual ~PortLibrary() = default;

    // name is "COM1" or "COM2"; settings is "baud=115200;timeout=2000" for a clock, null for the
    // ring reader. Returns 0 when the port cannot be opened.
    virtual std::int32_t IFD_OpenPort(const char* name, const char* settings) = 0;
    // True when the device this library talks to answers on the port.
    virtual bool IFD_IsPortValid(std::int32_t h) = 0;
    virtual bool IFD_ClosePort(std::int32_t h) = 0;
};

// The clock device library: port, connection, DES and hexadecimal conversion (the clock's
// communication functions), the clock's race functions, and the ring reader's port (PortLink()).
//
// Conventions of every function: the result is true on success; texts are NUL-terminated 8-bit
// texts; a block is 8 raw bytes; raceNo is a race number of exactly 8 characters that need not be
// followed by a NUL; now and the end-of-race times are date-times counted in days (see
// ClockDateTime in DeviceCodec.h).
class ClockLibrary : public PortLibrary {
public:
    // The port library of the ring reader; its handles serve RingReaderLibrary.
    virtual PortLibrary& PortLink() = 0;

    // The clock accepts the system identity block and its cipher; precedes all other clock calls.
    virtual bool IFD_Connect(std::int32_t h, const std::uint8_t* sysId, const std::uint8_t* sysIdCipher) = 0;
    // buffer: 12 bytes; receives the clock number as NUL-terminated text.
    virtual bool IFD_GetDevNo(std::int32_t h, char* buffer) = 0;
    // One block through DES under an 8-byte key. Note the opposite order of input and output.
    // False for a key that DES refuses (a weak key).
    virtual bool DesEncrypt(std::uint8_t* out, const std::uint8_t* in, const std::uint8_t* key) = 0;
    virtual bool DesDecrypt(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* key) = 0;
    // Writes n bytes from exactly 2n hexadecimal digits; false (and nothing written) otherwise.
    virtual bool HexToBin(const char* text, std::uint8_t* out, std::int32_t n) = 0;

    // The clock's list of pigeons: tag 16 hexadecimal digits, uid 8, regNo 6 characters.
    virtual bool PGT_StartTag(std::int32_t h, std::int32_t zero) = 0;
    virtual bool PGT_SetTag(std::int32_t h, const char* tag, std::int32_t zero, const char* uid, const char* regNo) = 0;
    virtual bool PGT_CloseTag(std::int32_t h, std::int32_t* n) = 0;
    virtual bool PGT_SetUploadMode(std::int32_t h, std::int32_t a, std::int32_t b, std::int32_t c) = 0;
    // lon and lat: signed thousandths of an arc second, east and north positive.
    virtual bool PGT_SetSiteInfo(std::int32_t h, const char* site, std::int32_t lon, std::int32_t lat) = 0;
    // site: 48-byte buffer, receives the site as NUL-terminated text.
    virtual bool PGT_GetSiteInfo(std::int32_t h, char* site, std::int32_t* lon, std::int32_t* lat) = 0;
    virtual bool PGT_CreateRace(std::int32_t h, const char* raceNo, const char* sysIdText) = 0;
    virtual bool PGT_AddRaceTag(std::int32_t h, const char* raceNo, const char* tag, const char* uid) = 0;
    virtual bool PGT_SetRaceDesc(std::int32_t h, const char* raceNo, const char* text) = 0;
    virtual bool PGT_SetRaceMode(std::int32_t h, const char* raceNo, std::int32_t mode) = 0;
    virtual bool PGT_ConfirmRace(std::int32_t h, const char* raceNo, const std::uint8_t* auth, double now) = 0;
    // kind: 1 for a training, 3 for a race.
    virtual bool PGT_StartRace(std::int32_t h, const char* raceNo, std::int32_t kind) = 0;
    // raceNo: 8-byte buffer, receives the race number (no NUL).
    virtual bool PGT_GetCurrentRace(std::int32_t h, char* raceNo, std::int32_t* n) = 0;
    virtual bool PGT_GetRaceTagCount(std::int32_t h, const char* raceNo, std::int32_t mode, std::int32_t* count) = 0;
    // record: 104-byte buffer, receives one arrival record as NUL-terminated text.
    virtual bool PGT_GetRaceRecord(std::int32_t h, const char* raceNo, std::int32_t mode, std::int32_t index, char* record) = 0;
    // Without a port: the record's authentication code is valid for this system identity block,
    // clock number (NUL-terminated, up to 9 characters are used), race number and race
    // authentication block.
    virtual bool PGT_CheckRecord(const char* record, const std::uint8_t* sysId, const char* clockNo, const char* raceNo,
                                 const std::uint8_t* auth) = 0;
    virtual bool PGT_VerifyRace(std::int32_t h, const char* raceNo, const std::uint8_t* auth) = 0;
    virtual bool PGT_CloseRace(std::int32_t h, const char* raceNo, double now) = 0;
    // The clock's own time and the master time of the end-of-race check.
    virtual bool PGT_GetRaceT2Device(std::int32_t h, const char* raceNo, double* t) = 0;
    virtual bool PGT_GetRaceT2Auth(std::int32_t h, const char* raceNo, double* t) = 0;
};
