#pragma once

#include "ClockLibrary.h"
#include "RingReaderLibrary.h"

#include <QString>
#include <memory>

// Where the vendor's four device libraries are and which device files stand for COM1 and COM2.
struct VendorLibraryPaths {
    QString clockComm;   // libClockComm.so
    QString clockRace;   // libClockRace.so
    QString portLink;    // libPortLink.so
    QString ringReader;  // libRingReader.so
    QString com1File;    // given to IFD_OpenPort for "COM1"; empty: "COM1" itself
    QString com2File;
};

// The device interfaces over a vendor's shared libraries (the functions of CorvelDevices.h),
// loaded with QLibrary. Every library and function is resolved when the object is made: one
// that is missing is reported by name, never called.
class VendorLibraries : public ClockLibrary, public RingReaderLibrary {
public:
    // Throws CorvelError naming the library that cannot be loaded or the functions it lacks.
    explicit VendorLibraries(const VendorLibraryPaths& paths);
    ~VendorLibraries() override;

    std::int32_t IFD_OpenPort(const char* name, const char* settings) override;
    bool IFD_IsPortValid(std::int32_t h) override;
    bool IFD_ClosePort(std::int32_t h) override;
    PortLibrary& PortLink() override;
    bool IFD_Connect(std::int32_t h, const std::uint8_t* sysId, const std::uint8_t* sysIdCipher) override;
    bool IFD_GetDevNo(std::int32_t h, char* buffer) override;
    bool DesEncrypt(std::uint8_t* out, const std::uint8_t* in, const std::uint8_t* key) override;
    bool DesDecrypt(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* key) override;
    bool HexToBin(const char* text, std::uint8_t* out, std::int32_t n) override;
    bool PGT_StartTag(std::int32_t h, std::int32_t zero) override;
    bool PGT_SetTag(std::int32_t h, const char* tag, std::int32_t zero, const char* uid, const char* regNo) override;
    bool PGT_CloseTag(std::int32_t h, std::int32_t* n) override;
    bool PGT_SetUploadMode(std::int32_t h, std::int32_t a, std::int32_t b, std::int32_t c) override;
    bool PGT_SetSiteInfo(std::int32_t h, const char* site, std::int32_t lon, std::int32_t lat) override;
    bool PGT_GetSiteInfo(std::int32_t h, char* site, std::int32_t* lon, std::int32_t* lat) override;
    bool PGT_CreateRace(std::int32_t h, const char* raceNo, const char* sysIdText) override;
    bool PGT_AddRaceTag(std::int32_t h, const char* raceNo, const char* tag, const char* uid) override;
    bool PGT_SetRaceDesc(std::int32_t h, const char* raceNo, const char* text) override;
    bool PGT_SetRaceMode(std::int32_t h, const char* raceNo, std::int32_t mode) override;
    bool PGT_ConfirmRace(std::int32_t h, const char* raceNo, const std::uint8_t* auth, double now) override;
    bool PGT_StartRace(std::int32_t h, const char* raceNo, std::int32_t kind) override;
    bool PGT_GetCurrentRace(std::int32_t h, char* raceNo, std::int32_t* n) override;
    bool PGT_GetRaceTagCount(std::int32_t h, const char* raceNo, std::int32_t mode, std::int32_t* count) override;
    bool PGT_GetRaceRecord(std::int32_t h, const char* raceNo, std::int32_t mode, std::int32_t index, char* record) override;
    bool PGT_CheckRecord(const char* record, const std::uint8_t* sysId, const char* clockNo, const char* raceNo,
                         const std::uint8_t* auth) override;
    bool PGT_VerifyRace(std::int32_t h, const char* raceNo, const std::uint8_t* auth) override;
    bool PGT_CloseRace(std::int32_t h, const char* raceNo, double now) override;
    bool PGT_GetRaceT2Device(std::int32_t h, const char* raceNo, double* t) override;
    bool PGT_GetRaceT2Auth(std::int32_t h, const char* raceNo, double* t) override;

    bool HTS_Active(std::int32_t h, std::uint8_t* uid) override;
    bool HTS_ReadPage(std::int32_t h, std::int32_t page, std::uint8_t* buffer) override;
    bool TTF_Read(std::int32_t h, std::int32_t zero, std::uint8_t* block) override;
    bool HTS_ChangePigeon(std::int32_t h, const std::uint8_t* block) override;
    bool SC_DoBell(std::int32_t h, std::int32_t a, std::int32_t b, std::int32_t c) override;
    bool RF_Reset(std::int32_t h, std::int32_t n) override;

    struct Functions;

private:
    class PortLinkPart;
    std::unique_ptr<Functions> f_;
    std::unique_ptr<PortLinkPart> portLink_;
};
