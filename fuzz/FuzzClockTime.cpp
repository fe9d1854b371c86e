// The clock time stamp conversions: a stamp of 16 hexadecimal digits to text, and the device
// libraries' days since 1899-12-30 to a moment and back.
#include "CorvelError.h"
#include "DeviceCodec.h"
#include "FuzzMain.h"
#include "TPigModuV6.h"

#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = fuzzInput(data, size);
    try {
        const QString text = TPigModuV6::ClockTimeToText(QString::fromLatin1(input));
        FUZZ_EXPECT(text.size() >= 10);
    } catch (const CorvelError&) {
    }
    if (size >= sizeof(double)) {
        double days = 0;
        std::memcpy(&days, data, sizeof days);
        const QDateTime moment = ClockDateTime::fromDays(days);
        if (moment.isValid()) {
            const std::optional<double> back = ClockDateTime::toDays(moment);
            FUZZ_EXPECT(back.has_value());
            // Exact to the millisecond.
            FUZZ_EXPECT(std::fabs(*back - days) * 86400000.0 <= 1.0);
        }
    }
    return 0;
}
