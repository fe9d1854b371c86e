#include "BenchCommand.h"
#include "DataFolder.h"
#include "DeviceCodec.h"
#include "DeviceLibraries.h"
#include "QtPrinters.h"
#include "SimulatedBench.h"
#include "TPigModuV6.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

class BenchCommand : public ::testing::Test {
protected:
    BenchCommand() { folder.prepare(); }

    int run(const QStringList& words)
    {
        output.clear();
        errors.clear();
        QTextStream out(&output);
        QTextStream err(&errors);
        return runBenchCommand(QStringList{QStringLiteral("corvel-bench"), QStringLiteral("--data-dir"), dir.path()} + words, out, err);
    }
    QByteArray benchBytes() const
    {
        QFile file(DeviceLibraries::benchPath(folder));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    DataFolder folder{dir.path()};
    QString output;
    QString errors;
};

TEST_F(BenchCommand, SetsUpTheBenchAndShowsIt)
{
    ASSERT_EQ(run({"clock", "add", "5551", "CLUB"}), 0) << errors.toStdString();
    ASSERT_EQ(run({"connect", "com2", "5551"}), 0) << errors.toStdString();
    ASSERT_EQ(run({"reader", "COM1"}), 0) << errors.toStdString();
    ASSERT_EQ(run({"ring", "add", "04a1b2c3", "1A2B3C4D", "3C"}), 0) << errors.toStdString();
    ASSERT_EQ(run({"ring", "add", "04A1B2C4", "1A2B3C4E", "10", "forged"}), 0) << errors.toStdString();
    ASSERT_EQ(run({"ring", "lay", "04A1B2C3"}), 0) << errors.toStdString();
    ASSERT_EQ(run({"clock", "error", "5551", "-1.5"}), 0) << errors.toStdString();
    ASSERT_EQ(run({"ring", "fail-reads", "2"}), 0) << errors.toStdString();

    SimulatedBench bench(DeviceLibraries::benchPath(folder));
    const BenchState& s = bench.state();
    EXPECT_EQ(s.ports[0].device, BenchDevice::RingReader);
    EXPECT_EQ(s.ports[1].clock, QStringLiteral("5551"));
    EXPECT_EQ(s.ringOnReader, QStringLiteral("04A1B2C3"));
    EXPECT_TRUE(s.ring(QStringLiteral("04A1B2C3"))->genuine());
    EXPECT_FALSE(s.ring(QStringLiteral("04A1B2C4"))->genuine());
    EXPECT_EQ(s.clock(QStringLiteral("5551"))->errorMsecs, -1500);
    EXPECT_EQ(s.failReads, 2);

    ASSERT_EQ(run({"show"}), 0);
    for (const char* text : {"COM1 (/dev/ttyS0): ring reader", "COM2 (/dev/ttyS1): clock 5551", "Ring on the reader: 04A1B2C3",
                             "04A1B2C3  eRing 1A2B3C4D  code 3C  genuine", "04A1B2C4  eRing 1A2B3C4E  code 10  forged",
                             "5551  identity CLUB0000  error -1.500 s"})
        EXPECT_TRUE(output.contains(QLatin1String(text))) << text << "\n" << output.toStdString();
}

TEST_F(BenchCommand, ShowPrintsControlCharactersOfTheFileEscaped)
{
    QFile file(DeviceLibraries::benchPath(folder));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": "corvel-bench", "ports": {"COM1": {"deviceFile": "/dev/tty\u001b[2J"}},
                   "clocks": [{"number": "1", "sysId": "3030303030303030", "site": "Loft\rLane\\",
                               "races": [{"raceNo": "F0000001", "desc": "Two\nlines\u009b"}]}]})");
    file.close();
    ASSERT_EQ(run({"show"}), 0) << errors.toStdString();
    for (const char* text : {"COM1 (/dev/tty\\x1b[2J)", "site Loft\\x0dLane\\\\", "\"Two\\x0alines\\x9b\""})
        EXPECT_TRUE(output.contains(QString::fromUtf8(text))) << text << "\n" << output.toStdString();
    for (const QChar c : {QChar(0x1b), QChar(u'\r'), QChar(0x9b)})
        EXPECT_FALSE(output.contains(c)) << output.toStdString();
}

TEST_F(BenchCommand, ANewClockTakesTheSystemIdentityOfZAVRIni)
{
    QFile ini(folder.iniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Parameter]\nSysID=NORTHERN1\n");
    ini.close();
    ASSERT_EQ(run({"clock", "add", "77"}), 0) << errors.toStdString();
    SimulatedBench bench(DeviceLibraries::benchPath(folder));
    EXPECT_EQ(bench.state().clock(QStringLiteral("77"))->sysId, QByteArray("NORTHERN"));
}

struct RefusedCase {
    const char* name;
    QStringList words;
    int code;
    const char* message;
};

class RefusedCommands : public BenchCommand, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedCommands, ChangeNothingAndSayWhy)
{
    ASSERT_EQ(run({"clock", "add", "5551", "CLUB"}), 0);
    const QByteArray before = benchBytes();
    EXPECT_EQ(run(GetParam().words), GetParam().code);
    EXPECT_TRUE(errors.contains(QLatin1String(GetParam().message))) << errors.toStdString();
    EXPECT_EQ(benchBytes(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RefusedCommands,
    ::testing::Values(RefusedCase{"UnknownCommand", {"jump"}, 2, "Unknown command"},
                      RefusedCase{"BadPort", {"reader", "COM3"}, 2, "A port is COM1 or COM2"},
                      RefusedCase{"UnknownClock", {"connect", "COM1", "9"}, 1, "There is no clock 9"},
                      RefusedCase{"DuplicateClock", {"clock", "add", "5551"}, 1, "has a clock 5551 already"},
                      RefusedCase{"BadUid", {"ring", "add", "04A1", "1A2B3C4D", "3C"}, 1, "8 hexadecimal digits"},
                      RefusedCase{"BadCode", {"ring", "add", "04A1B2C3", "1A2B3C4D", "XY"}, 2, "not a number"},
                      RefusedCase{"SignedCode", {"ring", "add", "04A1B2C3", "1A2B3C4D", "+F"}, 2, "not a number"},
                      RefusedCase{"ThreeDigitCode", {"ring", "add", "04A1B2C3", "1A2B3C4D", "03C"}, 2, "2 hexadecimal digits"},
                      RefusedCase{"SignedArrivalCode", {"arrive", "5551", "1A2B3C4D", "2024/08/19 11:02:03", "code=+F"}, 2, "not a number"},
                      RefusedCase{"NoRaceYet", {"arrive", "5551", "1A2B3C4D", "2024/08/19 11:02:03"}, 1, "has no race started"},
                      RefusedCase{"BadTime", {"arrive", "5551", "1A2B3C4D", "2024/13/19 11:02:03"}, 2, "is not a time"},
                      RefusedCase{"BadError", {"clock", "error", "5551", "fast"}, 2, "is not a number of seconds"}),
    [](const ::testing::TestParamInfo<RefusedCase>& p) { return std::string(p.param.name); });

struct LibraryCase {
    const char* name;
    const char* ini;
    bool noted;  // corvel-bench notes that the program does not use the bench
};

class BenchLibraryNote : public BenchCommand, public ::testing::WithParamInterface<LibraryCase> {};

TEST_P(BenchLibraryNote, IsGivenOnlyWhenZAVRIniChoosesOtherLibrariesThanTheSimulator)
{
    QFile ini(folder.iniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(GetParam().ini);
    ini.close();
    ASSERT_EQ(run({"show"}), 0) << errors.toStdString();
    EXPECT_EQ(errors.contains(QLatin1String("the program does not use this bench")), GetParam().noted) << errors.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Libraries, BenchLibraryNote,
                         ::testing::Values(LibraryCase{"NoDevicesSection", "", false},
                                           LibraryCase{"EmptyLibrary", "[Devices]\nLibrary=\n", false},
                                           LibraryCase{"SimulatorInAnyCase", "[Devices]\nLibrary= Simulator\n", false},
                                           LibraryCase{"Vendor", "[Devices]\nLibrary=vendor\n", true},
                                           LibraryCase{"UnknownKind", "[Devices]\nLibrary=serial\n", true}),
                         [](const ::testing::TestParamInfo<LibraryCase>& p) { return std::string(p.param.name); });

TEST_F(BenchCommand, ABenchFileThatIsNotValidIsReportedAndKept)
{
    QFile file(DeviceLibraries::benchPath(folder));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"format\": \"corvel-bench\", \"rings\": 3}");
    file.close();
    EXPECT_EQ(run({"ring", "take"}), 1);
    EXPECT_TRUE(errors.contains(QLatin1String("bench.json is not a valid bench file: the file.rings must be a list")))
        << errors.toStdString();
    EXPECT_EQ(benchBytes(), QByteArray("{\"format\": \"corvel-bench\", \"rings\": 3}"));
}

TEST_F(BenchCommand, ArrivalsGivenFromTheShellReachTheProgramsClockAuthenticated)
{
    ASSERT_EQ(run({"clock", "add", "5551"}), 0);  // the identity of ZAVR.ini: empty, so eight "0"
    ASSERT_EQ(run({"connect", "COM1", "5551"}), 0);

    // The program programs the clock for a race.
    const auto devices = DeviceLibraries::open(folder);
    ClockLibrary& lib = devices->clock();
    const std::int32_t h = lib.IFD_OpenPort("COM1", "baud=115200;timeout=2000");
    const DesBlock id = systemIdentityBlock(QString());
    const DesBlock cipher = systemIdentityCipher(id);
    DesBlock auth{};
    ASSERT_TRUE(raceAuthBlock("F0000001", cipher, auth));
    ASSERT_TRUE(lib.IFD_Connect(h, id.data(), cipher.data()));
    ASSERT_TRUE(lib.PGT_StartTag(h, 0));
    ASSERT_TRUE(lib.PGT_SetTag(h, "1A2B3C4D00003C00", 0, "04A1B2C3", "000123"));
    std::int32_t n = 0;
    ASSERT_TRUE(lib.PGT_CloseTag(h, &n));
    ASSERT_TRUE(lib.PGT_CreateRace(h, "F0000001", "00000000"));
    ASSERT_TRUE(lib.PGT_ConfirmRace(h, "F0000001", auth.data(), ClockDateTime::toDays(QDateTime(QDate(2024, 8, 19), QTime(7, 0))).value()));
    ASSERT_TRUE(lib.PGT_StartRace(h, "F0000001", 1));

    // The tester plays two arrivals from the shell while the port stays open.
    ASSERT_EQ(run({"arrive", "5551", "1A2B3C4D", "2024/08/19 11:02:03.5"}), 0) << errors.toStdString();
    ASSERT_EQ(run({"arrive", "5551", "1A2B3C4D", "2024/08/19 11:05:00", "code=11", "uid=00000000", "position=1000,-2000"}), 0)
        << errors.toStdString();
    EXPECT_TRUE(output.contains(QLatin1String("holds arrival 2"))) << output.toStdString();

    std::int32_t count = 0;
    ASSERT_TRUE(lib.PGT_GetRaceTagCount(h, "F0000001", 128, &count));
    ASSERT_EQ(count, 2);
    char record[104] = {};
    ASSERT_TRUE(lib.PGT_GetRaceRecord(h, "F0000001", 128, 0, record));
    EXPECT_TRUE(lib.PGT_CheckRecord(record, id.data(), "5551", "F0000001", auth.data()));
    EXPECT_EQ(TPigModuV6::ClockTimeToText(QString::fromLatin1(record + 32, 16)), QStringLiteral("2024/08/19 11:02:03.500"));
    EXPECT_EQ(QString::fromLatin1(record + 28, 2), QStringLiteral("3C"));
    ASSERT_TRUE(lib.PGT_GetRaceRecord(h, "F0000001", 128, 1, record));
    EXPECT_TRUE(lib.PGT_CheckRecord(record, id.data(), "5551", "F0000001", auth.data()));
    EXPECT_EQ(QString::fromLatin1(record + 28, 2), QStringLiteral("11"));
    EXPECT_EQ(QString::fromLatin1(record + 48, 8), QStringLiteral("00000000"));

    ASSERT_EQ(run({"show"}), 0);
    EXPECT_TRUE(output.contains(QLatin1String("race F0000001 \"\" training, current, 2 record(s)"))) << output.toStdString();
    EXPECT_TRUE(output.contains(QLatin1String("1A2B3C4D code 3C uid 04A1B2C3 at 2024/08/19 11:02:03.500"))) << output.toStdString();
}

}  // namespace
