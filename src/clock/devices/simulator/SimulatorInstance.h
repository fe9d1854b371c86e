#pragma once

#include "SimulatedBench.h"

// The one simulated bench behind the simulator's shared libraries, shared by all four of them.
// Its state file is $CORVEL_BENCH_FILE, else bench.json in $CORVEL_DATA_DIR; without either the
// bench lives in memory.
SimulatedBench& corvelSimulatorBench();

// Runs one device call; an exception never crosses the C boundary (it reads as a failure).
template <typename F>
unsigned char corvelSimulatorCall(F call) noexcept
{
    try {
        return call() ? 1 : 0;
    } catch (...) {
        return 0;
    }
}
