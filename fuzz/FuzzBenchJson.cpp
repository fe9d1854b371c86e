// bench.json: any file is read or refused with a CorvelError; a file that is read is written back
// into a file that reads the same.
#include "CorvelError.h"
#include "FuzzMain.h"
#include "SimulatedBench.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const BenchState state = BenchState::fromJson(fuzzInput(data, size));
        const QByteArray written = state.toJson();
        const BenchState again = BenchState::fromJson(written);
        FUZZ_EXPECT(again.toJson() == written);
    } catch (const CorvelError&) {
    }
    return 0;
}
