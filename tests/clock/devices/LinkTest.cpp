#include "ClockLibrary.h"
#include "CorvelError.h"
#include "DeviceCodec.h"
#include "PortScan.h"
#include "QtPrinters.h"
#include "SimulatedBench.h"
#include "TPigModuV6.h"
#include "TRaceModule.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string_view>
#include <vector>

namespace {

// A ZAVR.ini in a temporary folder.
class IniFile {
public:
    explicit IniFile(const QByteArray& contents)
    {
        QFile file(path());
        if (file.open(QIODevice::WriteOnly))
            file.write(contents);
    }
    QString path() const { return dir_.filePath(QStringLiteral("ZAVR.ini")); }

private:
    QTemporaryDir dir_;
};

struct ScanCase {
    const char* name;
    bool clockLink;  // else the ring reader link
    BenchDevice com1;
    bool com1Fault;
    BenchDevice com2;
    bool opened;
    int expectedPort;  // 1 or 2 when opened
};

class PortScan : public ::testing::TestWithParam<ScanCase> {};

void place(SimulatedBench& bench, int port, BenchDevice device)
{
    if (device == BenchDevice::RingReader)
        bench.connectRingReader(port);
    else if (device == BenchDevice::Clock)
        bench.connectClock(port, QStringLiteral("C%1").arg(port));
}

TEST_P(PortScan, BothLinksTakeTheFirstPortWhereTheirDeviceAnswers)
{
    const ScanCase& c = GetParam();
    SimulatedBench bench;
    bench.addClock(QStringLiteral("C1"), QString());
    bench.addClock(QStringLiteral("C2"), QString());
    place(bench, 1, c.com1);
    bench.setPortFault(1, c.com1Fault);
    place(bench, 2, c.com2);
    IniFile ini("[Parameter]\nSysID=\n");

    std::int32_t handle = 0;
    bool opened = false;
    if (c.clockLink) {
        TPigModuV6 link(bench, ini.path());
        handle = link.PortHandle;
        opened = link.Opened;
        if (opened) {
            EXPECT_TRUE(bench.IFD_IsPortValid(handle));
            char number[12] = {};
            const DesBlock id = systemIdentityBlock(QString());
            const DesBlock cipher = systemIdentityCipher(id);
            ASSERT_TRUE(bench.IFD_Connect(handle, id.data(), cipher.data()));
            ASSERT_TRUE(link.GetDevNo(number));
            EXPECT_EQ(QString::fromLatin1(number), QStringLiteral("C%1").arg(c.expectedPort));
        }
    } else {
        TRaceModule link(bench);
        handle = link.PortHandle;
        opened = link.Opened;
        if (opened) {
            EXPECT_TRUE(bench.PortLink().IFD_IsPortValid(handle));
            // The handle belongs to the expected port: unplugging that port silences it.
            bench.disconnect(c.expectedPort);
            EXPECT_FALSE(bench.PortLink().IFD_IsPortValid(handle));
        }
    }
    EXPECT_EQ(opened, c.opened);
    // Whichever port was found, the destructor closed it.
    EXPECT_FALSE(bench.IFD_IsPortValid(handle) || bench.PortLink().IFD_IsPortValid(handle));
}

INSTANTIATE_TEST_SUITE_P(
    Ports, PortScan,
    ::testing::Values(ScanCase{"ReaderOnCom1", false, BenchDevice::RingReader, false, BenchDevice::None, true, 1},
                      ScanCase{"ReaderOnCom2", false, BenchDevice::None, false, BenchDevice::RingReader, true, 2},
                      ScanCase{"ReaderBehindAClock", false, BenchDevice::Clock, false, BenchDevice::RingReader, true, 2},
                      ScanCase{"ClockOnCom1", true, BenchDevice::Clock, false, BenchDevice::None, true, 1},
                      ScanCase{"ClockOnCom2", true, BenchDevice::None, false, BenchDevice::Clock, true, 2},
                      ScanCase{"ClockBehindTheReader", true, BenchDevice::RingReader, false, BenchDevice::Clock, true, 2},
                      ScanCase{"FaultyCom1ClockOnCom2", true, BenchDevice::Clock, true, BenchDevice::Clock, true, 2},
                      ScanCase{"OnlyAFaultyReaderPort", false, BenchDevice::RingReader, true, BenchDevice::None, false, 0},
                      ScanCase{"NoReaderAnywhere", false, BenchDevice::Clock, false, BenchDevice::Clock, false, 0},
                      ScanCase{"OnlyAFaultyClockPort", true, BenchDevice::Clock, true, BenchDevice::None, false, 0}),
    [](const ::testing::TestParamInfo<ScanCase>& p) { return std::string(p.param.name); });

TEST(TRaceModule, NothingConnectedLeavesTheHandleAtZero)
{
    SimulatedBench bench;
    TRaceModule link(bench);
    EXPECT_FALSE(link.Opened);
    EXPECT_EQ(link.PortHandle, 0);
}

TEST(TPigModuV6, APortThatOpensButIsNotUsableIsClosedAndItsHandleKeptWithOpenedFalse)
{
    SimulatedBench bench;
    bench.connectRingReader(2);  // the clock link's library opens COM2 but finds no clock there
    IniFile ini("");
    TPigModuV6 link(bench, ini.path());
    EXPECT_FALSE(link.Opened);
    EXPECT_NE(link.PortHandle, 0);
    EXPECT_FALSE(bench.IFD_IsPortValid(link.PortHandle));
    EXPECT_FALSE(bench.IFD_ClosePort(link.PortHandle));  // the scan closed it already
}

// Ports that are missing, open but stay silent, or answer; every open and close is recorded.
class ScriptedPorts : public PortLibrary {
public:
    enum Port { Missing, Silent, Answers };
    ScriptedPorts(Port com1, Port com2) : ports_{com1, com2} {}

    // COM1 opens as handle 1, COM2 as handle 2.
    std::int32_t IFD_OpenPort(const char* name, const char*) override
    {
        const int h = std::string_view(name) == "COM1" ? 1 : 2;
        if (ports_[h - 1] == Missing)
            return 0;
        open.insert(h);
        return h;
    }
    bool IFD_IsPortValid(std::int32_t h) override { return open.contains(h) && ports_[h - 1] == Answers; }
    bool IFD_ClosePort(std::int32_t h) override
    {
        if (open.erase(h) == 0)
            return false;
        closed.push_back(h);
        return true;
    }

    std::set<std::int32_t> open;
    std::vector<std::int32_t> closed;

private:
    Port ports_[2];
};

struct ScanPortsCase {
    const char* name;
    ScriptedPorts::Port com1;
    ScriptedPorts::Port com2;
    bool opened;
    std::int32_t handle;
    std::set<std::int32_t> leftOpen;
    std::vector<std::int32_t> closed;
};

class ScriptedPortScan : public ::testing::TestWithParam<ScanPortsCase> {};

TEST_P(ScriptedPortScan, KeepsOnlyTheUsablePortOpen)
{
    const ScanPortsCase& c = GetParam();
    ScriptedPorts ports(c.com1, c.com2);
    const PortScanResult result = scanPorts(ports, nullptr);
    EXPECT_EQ(result.opened, c.opened);
    EXPECT_EQ(result.handle, c.handle);
    EXPECT_EQ(ports.open, c.leftOpen);
    EXPECT_EQ(ports.closed, c.closed);
}

using P = ScriptedPorts;
INSTANTIATE_TEST_SUITE_P(
    Ports, ScriptedPortScan,
    ::testing::Values(ScanPortsCase{"NoPorts", P::Missing, P::Missing, false, 0, {}, {}},
                      ScanPortsCase{"AnswerOnCom1", P::Answers, P::Silent, true, 1, {1}, {}},
                      ScanPortsCase{"SilentCom1AnswerOnCom2", P::Silent, P::Answers, true, 2, {2}, {1}},
                      ScanPortsCase{"BothSilent", P::Silent, P::Silent, false, 2, {}, {1, 2}},
                      ScanPortsCase{"SilentCom1NoCom2", P::Silent, P::Missing, false, 0, {}, {1}},
                      ScanPortsCase{"NoCom1SilentCom2", P::Missing, P::Silent, false, 2, {}, {2}}),
    [](const ::testing::TestParamInfo<ScanPortsCase>& p) { return std::string(p.param.name); });

struct IdentityCase {
    const char* ini;
    const char* sysIdHex;
};

class SystemIdentity : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(SystemIdentity, ComesFromTheIniAndItsCipherIsDesUnderTheFixedKey)
{
    SimulatedBench bench;
    IniFile ini(GetParam().ini);
    TPigModuV6 link(bench, ini.path());
    EXPECT_EQ(link.SysIDHex, QString::fromLatin1(GetParam().sysIdHex));

    std::uint8_t plain[8];
    std::uint8_t cipher[8];
    ASSERT_TRUE(HexToBin(link.SysIDHex, plain, 8));
    ASSERT_TRUE(HexToBin(link.SysIDCipherHex, cipher, 8));
    std::uint8_t expected[8];
    ASSERT_TRUE(DesEncrypt(expected, plain, reinterpret_cast<const std::uint8_t*>("41930572")));
    EXPECT_EQ(std::memcmp(cipher, expected, 8), 0);
    EXPECT_EQ(link.SysIDCipherHex, link.SysIDCipherHex.toUpper());
    EXPECT_EQ(link.SysIDCipherHex.size(), 16);
}

INSTANTIATE_TEST_SUITE_P(Identities, SystemIdentity,
                         ::testing::Values(IdentityCase{"[Parameter]\nSysID=ABCDEFGHIJKL\n", "4142434445464748"},
                                           IdentityCase{"[Parameter]\nSysID=AB12\n", "4142313230303030"},
                                           IdentityCase{"[Parameter]\nSysID=\n", "3030303030303030"},
                                           IdentityCase{"[Parameter]\nCountryRingCode=GB\n", "3030303030303030"},
                                           IdentityCase{"", "3030303030303030"},
                                           IdentityCase{"[Parameter]\nSysID=A,B\n", "412C423030303030"}));

struct CoordCase {
    const char* text;
    std::int32_t value;
};

class CoordTextToValue : public ::testing::TestWithParam<CoordCase> {};

TEST_P(CoordTextToValue, GivesThousandthsOfAnArcSecond)
{
    EXPECT_EQ(TPigModuV6::CoordTextToValue(QString::fromLatin1(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Coordinates, CoordTextToValue,
                         ::testing::Values(CoordCase{"E1212324", 437004000}, CoordCase{"W1212324", -437004000},
                                           CoordCase{"N0242230", 87750000}, CoordCase{"S0242230", -87750000},
                                           CoordCase{"E121232433", 437004033},  // two further digits add as they stand
                                           CoordCase{"        ", 0}, CoordCase{"", 0}, CoordCase{"X1212324", 0},
                                           CoordCase{"e1212324", 0},  // only the upper-case letters count
                                           CoordCase{"E1800000", 648000000}));

TEST(CoordTextToValue, ADigitGroupThatIsNotANumberIsAConversionError)
{
    // A blank or a sign inside a group (a mask typed only in part) is no number either.
    for (const char* text : {"E12A2324", "E121  24", "E12", "E1212324X3", "N\u00b9211111", "E12 2324", "E 212324",
                             "E+212324", "E121-324", "E12123 4", "E1212324 3"}) {
        try {
            TPigModuV6::CoordTextToValue(QString::fromUtf8(text));
            ADD_FAILURE() << text << " was accepted";
        } catch (const CorvelError& e) {
            EXPECT_TRUE(e.text().contains(QLatin1String("is not a valid integer value"))) << e.text().toStdString();
        }
    }
}

TEST(CoordTextToValue, AValueBeyondWhatAClockHoldsIsRefused)
{
    EXPECT_THROW(TPigModuV6::CoordTextToValue(QStringLiteral("E9995959")), CorvelError);
}

struct TimeCase {
    const char* hex;
    const char* text;
};

class ClockTimeToText : public ::testing::TestWithParam<TimeCase> {};

TEST_P(ClockTimeToText, GivesTheDateTimeAndMilliseconds)
{
    EXPECT_EQ(TPigModuV6::ClockTimeToText(QString::fromLatin1(GetParam().hex)), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Stamps, ClockTimeToText,
                         ::testing::Values(TimeCase{"0E08190D2D0A7B00", "2014/08/25 13:45:10.123"},
                                           TimeCase{"0E08190D2D0A7b00", "2014/08/25 13:45:10.123"},
                                           TimeCase{"0008190D2D0A7B00", "1899/12/30.123"},    // no time recorded
                                           TimeCase{"0000000000000000", "1899/12/30.000"},
                                           TimeCase{"18031E000000E803", "2024/03/30.1000"},  // midnight; 1000 ms as given
                                           TimeCase{"18031E0000010000", "2024/03/30 00:00:01.000"},
                                           TimeCase{"18031F0230000500", "2024/03/31 02:48:00.005"}));

TEST(ClockTimeToText, BytesThatAreNoDateAndTimeAreAConversionError)
{
    // The last two: a seconds byte of 100 and one of 255 are not 10 and 25 seconds.
    for (const char* hex : {"0E0D190D2D0A7B00", "0E02300D2D0A7B00", "0E08191800000000", "0E08190D3C000000", "0E08190D2D647B00",
                            "0E08190D2DFF7B00"}) {
        try {
            TPigModuV6::ClockTimeToText(QString::fromLatin1(hex));
            ADD_FAILURE() << hex << " was accepted";
        } catch (const CorvelError& e) {
            EXPECT_TRUE(e.text().contains(QLatin1String("is not a valid date and time"))) << e.text().toStdString();
        }
    }
}

TEST(ClockTimeToText, TextThatIsNoTimeStampIsRefused)
{
    for (const char* hex : {"", "0E08190D2D0A7B", "0E08190D2D0A7B0000", "0E08190D2D0A7BZZ"})
        EXPECT_THROW(TPigModuV6::ClockTimeToText(QString::fromLatin1(hex)), CorvelError) << hex;
}

}  // namespace
