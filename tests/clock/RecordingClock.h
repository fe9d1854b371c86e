#pragma once

#include "SimulatedBench.h"

#include <QSet>
#include <QStringList>
#include <cstring>

// The clock library of the simulated bench as the program sees it, with the name of every call
// kept in order, chosen calls made to fail, and optionally one arrival record altered on its way
// (as a record forged or damaged after the clock wrote it).
class RecordingClock : public ClockLibrary {
public:
    explicit RecordingClock(SimulatedBench& bench) : bench_(bench) {}

    QStringList calls;
    QSet<QString> failing;  // function names that return false
    int tamperedRecord = -1;

    // ---- PortLibrary ----
    std::int32_t IFD_OpenPort(const char* name, const char* settings) override { return bench_.IFD_OpenPort(name, settings); }
    bool IFD_IsPortValid(std::int32_t h) override { return bench_.IFD_IsPortValid(h); }
    bool IFD_ClosePort(std::int32_t h) override { return bench_.IFD_ClosePort(h); }

    // ---- ClockLibrary ----
    PortLibrary& PortLink() override { return bench_.PortLink(); }
    bool IFD_Connect(std::int32_t h, const std::uint8_t* id, const std::uint8_t* cipher) override
    {
        return call("IFD_Connect") && bench_.IFD_Connect(h, id, cipher);
    }
    bool IFD_GetDevNo(std::int32_t h, char* buffer) override { return call("IFD_GetDevNo") && bench_.IFD_GetDevNo(h, buffer); }
    bool DesEncrypt(std::uint8_t* out, const std::uint8_t* in, const std::uint8_t* key) override
    {
        return call("DesEncrypt") && bench_.DesEncrypt(out, in, key);
    }
    bool DesDecrypt(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* key) override
    {
        return call("DesDecrypt") && bench_.DesDecrypt(in, out, key);
    }
    bool HexToBin(const char* text, std::uint8_t* out, std::int32_t n) override
    {
        return call("HexToBin") && bench_.HexToBin(text, out, n);
    }
    bool PGT_StartTag(std::int32_t h, std::int32_t zero) override { return call("PGT_StartTag") && bench_.PGT_StartTag(h, zero); }
    bool PGT_SetTag(std::int32_t h, const char* tag, std::int32_t zero, const char* uid, const char* regNo) override
    {
        return call("PGT_SetTag") && bench_.PGT_SetTag(h, tag, zero, uid, regNo);
    }
    bool PGT_CloseTag(std::int32_t h, std::int32_t* n) override { return call("PGT_CloseTag") && bench_.PGT_CloseTag(h, n); }
    bool PGT_SetUploadMode(std::int32_t h, std::int32_t a, std::int32_t b, std::int32_t c) override
    {
        return call("PGT_SetUploadMode") && bench_.PGT_SetUploadMode(h, a, b, c);
    }
    bool PGT_SetSiteInfo(std::int32_t h, const char* site, std::int32_t lon, std::int32_t lat) override
    {
        return call("PGT_SetSiteInfo") && bench_.PGT_SetSiteInfo(h, site, lon, lat);
    }
    bool PGT_GetSiteInfo(std::int32_t h, char* site, std::int32_t* lon, std::int32_t* lat) override
    {
        return call("PGT_GetSiteInfo") && bench_.PGT_GetSiteInfo(h, site, lon, lat);
    }
    bool PGT_CreateRace(std::int32_t h, const char* raceNo, const char* sysIdText) override
    {
        return call("PGT_CreateRace") && bench_.PGT_CreateRace(h, raceNo, sysIdText);
    }
    bool PGT_AddRaceTag(std::int32_t h, const char* raceNo, const char* tag, const char* uid) override
    {
        return call("PGT_AddRaceTag") && bench_.PGT_AddRaceTag(h, raceNo, tag, uid);
    }
    bool PGT_SetRaceDesc(std::int32_t h, const char* raceNo, const char* text) override
    {
        return call("PGT_SetRaceDesc") && bench_.PGT_SetRaceDesc(h, raceNo, text);
    }
    bool PGT_SetRaceMode(std::int32_t h, const char* raceNo, std::int32_t mode) override
    {
        return call("PGT_SetRaceMode") && bench_.PGT_SetRaceMode(h, raceNo, mode);
    }
    bool PGT_ConfirmRace(std::int32_t h, const char* raceNo, const std::uint8_t* auth, double now) override
    {
        return call("PGT_ConfirmRace") && bench_.PGT_ConfirmRace(h, raceNo, auth, now);
    }
    bool PGT_StartRace(std::int32_t h, const char* raceNo, std::int32_t kind) override
    {
        return call("PGT_StartRace") && bench_.PGT_StartRace(h, raceNo, kind);
    }
    bool PGT_GetCurrentRace(std::int32_t h, char* raceNo, std::int32_t* n) override
    {
        return call("PGT_GetCurrentRace") && bench_.PGT_GetCurrentRace(h, raceNo, n);
    }
    bool PGT_GetRaceTagCount(std::int32_t h, const char* raceNo, std::int32_t mode, std::int32_t* count) override
    {
        return call("PGT_GetRaceTagCount") && bench_.PGT_GetRaceTagCount(h, raceNo, mode, count);
    }
    bool PGT_GetRaceRecord(std::int32_t h, const char* raceNo, std::int32_t mode, std::int32_t index, char* record) override
    {
        if (!call("PGT_GetRaceRecord") || !bench_.PGT_GetRaceRecord(h, raceNo, mode, index, record))
            return false;
        if (index == tamperedRecord)
            record[40] = record[40] == '9' ? '8' : '9';  // a digit of the arrival time
        return true;
    }
    bool PGT_CheckRecord(const char* record, const std::uint8_t* sysId, const char* clockNo, const char* raceNo,
                         const std::uint8_t* auth) override
    {
        return call("PGT_CheckRecord") && bench_.PGT_CheckRecord(record, sysId, clockNo, raceNo, auth);
    }
    bool PGT_VerifyRace(std::int32_t h, const char* raceNo, const std::uint8_t* auth) override
    {
        return call("PGT_VerifyRace") && bench_.PGT_VerifyRace(h, raceNo, auth);
    }
    bool PGT_CloseRace(std::int32_t h, const char* raceNo, double now) override
    {
        return call("PGT_CloseRace") && bench_.PGT_CloseRace(h, raceNo, now);
    }
    bool PGT_GetRaceT2Device(std::int32_t h, const char* raceNo, double* t) override
    {
        return call("PGT_GetRaceT2Device") && bench_.PGT_GetRaceT2Device(h, raceNo, t);
    }
    bool PGT_GetRaceT2Auth(std::int32_t h, const char* raceNo, double* t) override
    {
        return call("PGT_GetRaceT2Auth") && bench_.PGT_GetRaceT2Auth(h, raceNo, t);
    }

    // The calls since the last take, with runs of one function shrunk to one name and "xN".
    QStringList takeCalls()
    {
        QStringList out;
        int run = 0;
        for (qsizetype i = 0; i < calls.size(); ++i) {
            ++run;
            if (i + 1 < calls.size() && calls.at(i + 1) == calls.at(i))
                continue;
            out << (run > 1 ? QStringLiteral("%1 x%2").arg(calls.at(i)).arg(run) : calls.at(i));
            run = 0;
        }
        calls.clear();
        return out;
    }

private:
    bool call(const char* name)
    {
        const QString function = QString::fromLatin1(name);
        calls << function;
        return !failing.contains(function);
    }

    SimulatedBench& bench_;
};
