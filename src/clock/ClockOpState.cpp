#include "ClockOpState.h"

#include "DataFolder.h"
#include "DeviceLibraries.h"
#include "TPigModuV6.h"
#include "TRaceModule.h"

ClockOpState::ClockOpState() = default;

ClockOpState::~ClockOpState() { releaseLink(); }

void ClockOpState::releaseLink()
{
    if (readerLink_) {
        readerLink_.reset();
        readerHandle = 0;
    } else if (clockLink_) {
        clockLink_.reset();
        clockHandle = 0;
        lastClockLoft.clear();
    }
    devices_.reset();
}

bool ClockOpState::openReaderLink(const DataFolder& folder)
{
    releaseLink();
    devices_ = DeviceLibraries::open(folder);
    readerLink_ = std::make_unique<TRaceModule>(devices_->clock());
    readerHandle = readerLink_->Opened ? readerLink_->PortHandle : 0;
    return readerLink_->Opened;
}

bool ClockOpState::openClockLink(const DataFolder& folder)
{
    releaseLink();
    devices_ = DeviceLibraries::open(folder);
    clockLink_ = std::make_unique<TPigModuV6>(devices_->clock(), folder.iniPath());
    clockHandle = clockLink_->Opened ? clockLink_->PortHandle : 0;
    return clockLink_->Opened;
}

RingReaderLibrary* ClockOpState::ringReader() const { return devices_ ? &devices_->ringReader() : nullptr; }

ClockLibrary* ClockOpState::clockLibrary() const { return devices_ ? &devices_->clock() : nullptr; }

void ClockOpState::reset()
{
    releaseLink();
    static_cast<ClockOpValues&>(*this) = ClockOpValues();
}

ClockOpState& clockOpState()
{
    static ClockOpState state;
    return state;
}
