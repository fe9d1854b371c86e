// The coordinate parser on any text: no crash, and a value only when it is read as a number of
// degrees in range.
#include "Coordinates.h"
#include "FuzzMain.h"

#include <QStringList>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(fuzzInput(data, size));
    double value = 0;
    QStringList messages;
    if (ParseCoordinate(text, value, &messages)) {
        FUZZ_EXPECT(std::isfinite(value));
        FUZZ_EXPECT(messages.isEmpty());
    } else {
        FUZZ_EXPECT(value == 0);
    }
    // The four texts of a distance, one a line.
    const QStringList parts = text.split(QLatin1Char('\n'));
    if (parts.size() == 4) {
        const int metres = LoftDistanceMetres(parts.at(0), parts.at(1), parts.at(2), parts.at(3), &messages);
        FUZZ_EXPECT(metres >= 0);
    }
    return 0;
}
