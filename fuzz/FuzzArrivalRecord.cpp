// An arrival record as a clock gives it: its authentication (PGT_CheckRecord) and the decoding of
// its fields as the bench shows them. Input: system identity (8 bytes), race authentication
// block (8), race number (8), clock number (up to a NUL), then the record text.
#include "CorvelError.h"
#include "DeviceCodec.h"
#include "FuzzMain.h"
#include "SimulatedBench.h"
#include "TPigModuV6.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 24)
        return 0;
    const std::uint8_t* sysId = data;
    const std::uint8_t* auth = data + 8;
    const QByteArray raceNo = fuzzInput(data + 16, 8);
    QByteArray rest = fuzzInput(data + 24, size - 24);
    const qsizetype nul = rest.indexOf('\0');
    const QByteArray clockNo = nul < 0 ? QByteArray() : rest.left(nul);
    const QByteArray record = nul < 0 ? rest : rest.mid(nul + 1);

    SimulatedBench bench;
    // The device functions read at most 104 characters of a record and 12 of a clock number.
    char recordBuffer[104] = {};
    std::memcpy(recordBuffer, record.constData(), static_cast<std::size_t>(std::min<qsizetype>(record.size(), 103)));
    char clockBuffer[13] = {};
    std::memcpy(clockBuffer, clockNo.constData(), static_cast<std::size_t>(std::min<qsizetype>(clockNo.size(), 12)));
    const bool accepted = bench.PGT_CheckRecord(recordBuffer, sysId, clockBuffer, raceNo.constData(), auth);

    // A record signed as the clock signs it is accepted.
    const QString text = QString::fromLatin1(recordBuffer);
    const QString clockNumber = QString::fromLatin1(clockBuffer).left(9);
    if (text.size() >= 88 && isHexText(text.left(88), 88) && BenchState::validRaceNumber(QString::fromLatin1(raceNo))) {
        const QString code = SimulatedBench::recordAuthCode(text.left(88).toUpper(), sysId, clockNumber, raceNo.constData(), auth);
        if (!code.isEmpty()) {
            const QByteArray signedRecord = (text.left(88) + code).toLatin1();
            FUZZ_EXPECT(bench.PGT_CheckRecord(signedRecord.constData(), sysId, clockBuffer, raceNo.constData(), auth));
        }
    }
    if (accepted) {
        // The fields of an accepted record: eRing, read code, time stamp, UID.
        FUZZ_EXPECT(isHexText(text.left(8), 8));
        HexTextToWord(text.mid(28, 2));
        try {
            TPigModuV6::ClockTimeToText(text.mid(32, 16));
        } catch (const CorvelError&) {
        }
    }
    return 0;
}
