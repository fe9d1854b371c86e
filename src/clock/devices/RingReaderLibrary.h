#pragma once

#include <cstdint>

// The eRing reader library. h is a handle of the ring reader's port library
// (ClockLibrary::PortLink()); this library never opens or closes a port itself.
// Results are true on success.
class RingReaderLibrary {
public:
    virtual ~RingReaderLibrary() = default;

    // True when a ring lies on the reader; uid (4 bytes) then holds its chip identifier.
    virtual bool HTS_Active(std::int32_t h, std::uint8_t* uid) = 0;
    // buffer (4 bytes) receives that page of the ring's memory.
    virtual bool HTS_ReadPage(std::int32_t h, std::int32_t page, std::uint8_t* buffer) = 0;
    // block (16 bytes) receives the ring's data block: bytes 0 to 3 the eRing number, byte 4 the
    // random code.
    virtual bool TTF_Read(std::int32_t h, std::int32_t zero, std::uint8_t* block) = 0;
    // Writes bytes 0 to 4 of block (eRing number and random code) to the ring.
    virtual bool HTS_ChangePigeon(std::int32_t h, const std::uint8_t* block) = 0;
    // Sounds the reader's signal (called with 1, 3, 2).
    virtual bool SC_DoBell(std::int32_t h, std::int32_t a, std::int32_t b, std::int32_t c) = 0;
    // Resets the reader's radio field.
    virtual bool RF_Reset(std::int32_t h, std::int32_t n) = 0;
};
