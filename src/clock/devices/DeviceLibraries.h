#pragma once

#include "ProgramFolder.h"

#include <QString>
#include <memory>

class ClockLibrary;
class DataFolder;
class RingReaderLibrary;
class SimulatedBench;

// The device libraries the program talks to, as [Devices] of ZAVR.ini chooses them:
//   Library=simulator (the default, also when the key is missing): the simulated bench, its
//     state in bench.json in the data folder;
//   Library=vendor: the vendor's shared libraries; ClockComm=, ClockRace=, PortLink= and
//     RingReader= give their files (defaults libClockComm.so ...), relative to LibraryFolder=
//     unless absolute; without LibraryFolder= a file is taken from the data folder, else from
//     the program's library folder (where the simulator's libraries are installed);
//     COM1= and COM2= the device files of the ports.
class DeviceLibraries {
public:
    // Throws CorvelError with a clear message when ZAVR.ini names an unknown kind, a vendor
    // library or function is missing, or bench.json is not valid.
    static std::unique_ptr<DeviceLibraries> open(const DataFolder& folder,
                                                 const QString& programLibraries = programLibraryFolder());
    static QString benchPath(const DataFolder& folder);  // <data>/bench.json
    // Whether a [Devices] Library value chooses the simulated bench: empty or "simulator" in any
    // case, blanks around it ignored.
    static bool usesSimulator(const QString& library);

    virtual ~DeviceLibraries() = default;
    virtual ClockLibrary& clock() = 0;
    virtual RingReaderLibrary& ringReader() = 0;
    // The simulated bench when it is the one in use, else null.
    virtual SimulatedBench* bench() { return nullptr; }
};
