#include "CorvelError.h"
#include "DataFolder.h"
#include "DeviceCodec.h"
#include "DeviceLibraries.h"
#include "QtPrinters.h"
#include "SimulatedBench.h"
#include "TPigModuV6.h"
#include "TRaceModule.h"
#include "VendorLibraries.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>

namespace {

// The simulator's shared libraries read their bench from this file; it is set before anything
// loads them, once for the whole run.
QTemporaryDir& benchDir()
{
    static QTemporaryDir dir;
    return dir;
}
const bool benchFileSet = [] {
    qputenv("CORVEL_BENCH_FILE", benchDir().filePath(QStringLiteral("bench.json")).toLocal8Bit());
    return true;
}();

QString simulatorLibrary(const char* name)
{
    return QStringLiteral(CORVEL_SIMULATOR_DIR "/lib%1.so").arg(QLatin1String(name));
}

VendorLibraryPaths simulatorPaths()
{
    VendorLibraryPaths paths;
    paths.clockComm = simulatorLibrary("ClockComm");
    paths.clockRace = simulatorLibrary("ClockRace");
    paths.portLink = simulatorLibrary("PortLink");
    paths.ringReader = simulatorLibrary("RingReader");
    paths.com1File = QStringLiteral("/dev/ttyS0");
    paths.com2File = QStringLiteral("/dev/ttyS1");
    return paths;
}

void writeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

// A fresh bench for each test, scripted from this process through the same state file.
class ThroughTheLoader : public ::testing::Test {
protected:
    ThroughTheLoader()
    {
        EXPECT_TRUE(benchFileSet);
        writeFile(benchFile, R"({"format": "corvel-bench", "version": 1})");
        writeFile(iniPath(), "[Parameter]\nSysID=CLUB\n");
    }
    QString iniPath() const { return iniDir.filePath(QStringLiteral("ZAVR.ini")); }

    const QString benchFile = benchDir().filePath(QStringLiteral("bench.json"));
    QTemporaryDir iniDir;
    SimulatedBench shell{benchFile};
    VendorLibraries libraries{simulatorPaths()};
};

TEST_F(ThroughTheLoader, AGenuineRingIsTakenAndAForgedOneRefused)
{
    shell.connectRingReader(2);
    shell.addRing(QStringLiteral("04A1B2C3"), QStringLiteral("1A2B3C4D"), 0x3C, true);
    shell.addRing(QStringLiteral("04A1B2C4"), QStringLiteral("1A2B3C4E"), 0x3C, false);
    TRaceModule link(libraries);
    ASSERT_TRUE(link.Opened);
    const std::int32_t h = link.PortHandle;

    auto genuine = [&] {
        std::uint8_t uid[4] = {};
        std::uint8_t pages[8] = {};
        if (!libraries.HTS_Active(h, uid))
            return false;
        libraries.HTS_ReadPage(h, 6, pages);
        libraries.HTS_ReadPage(h, 7, pages + 4);
        std::uint8_t plain[9] = {};
        libraries.DesDecrypt(pages, plain, reinterpret_cast<const std::uint8_t*>(FixedDesKey));
        return QString::fromLatin1(reinterpret_cast<const char*>(plain)) == BytesToHex(std::span<const std::uint8_t>(uid), 1, 4);
    };
    shell.layRing(QStringLiteral("04A1B2C3"));
    EXPECT_TRUE(genuine());
    shell.layRing(QStringLiteral("04A1B2C4"));
    EXPECT_FALSE(genuine());

    // Marking: a new code is written and read back, and the bench keeps it.
    shell.layRing(QStringLiteral("04A1B2C3"));
    std::uint8_t block[16] = {};
    ASSERT_TRUE(libraries.HexToBin("1A2B3C4D5A", block, 5));
    ASSERT_TRUE(libraries.HTS_ChangePigeon(h, block));
    EXPECT_TRUE(libraries.RF_Reset(h, 50));
    std::uint8_t back[16] = {};
    ASSERT_TRUE(libraries.TTF_Read(h, 0, back));
    EXPECT_EQ(BytesToHex(std::span<const std::uint8_t>(back), 1, 5), QStringLiteral("1A2B3C4D5A"));
    EXPECT_TRUE(libraries.SC_DoBell(h, 1, 3, 2));
    EXPECT_EQ(static_cast<std::uint8_t>(shell.state().ring(QStringLiteral("04A1B2C3"))->data.at(4)), 0x5A);
}

TEST_F(ThroughTheLoader, NoDeviceOnEitherPortLeavesTheLinksUnopened)
{
    TRaceModule reader(libraries);
    EXPECT_FALSE(reader.Opened);
    EXPECT_EQ(reader.PortHandle, 0);
    TPigModuV6 clock(libraries, iniPath());
    EXPECT_FALSE(clock.Opened);
}

TEST_F(ThroughTheLoader, AClockIsProgrammedAndItsRecordsAuthenticatedAndATamperedOneRefused)
{
    shell.addClock(QStringLiteral("5551"), QStringLiteral("CLUB"));
    shell.addClock(QStringLiteral("5552"), QStringLiteral("OTHER"));
    shell.connectClock(1, QStringLiteral("5552"));
    shell.connectClock(2, QStringLiteral("5551"));
    const char raceNo[] = "1A2F0819";

    TPigModuV6 link(libraries, iniPath());
    ASSERT_TRUE(link.Opened);  // COM1 opens, and a clock answers there
    const std::int32_t h = link.PortHandle;
    std::uint8_t sysId[8];
    std::uint8_t cipher[8];
    ASSERT_TRUE(libraries.HexToBin(link.SysIDHex.toLatin1().constData(), sysId, 8));
    ASSERT_TRUE(libraries.HexToBin(link.SysIDCipherHex.toLatin1().constData(), cipher, 8));
    EXPECT_FALSE(libraries.IFD_Connect(h, sysId, cipher));  // clock 5552 wants another identity

    shell.connectClock(1, QStringLiteral("5551"));
    ASSERT_TRUE(libraries.IFD_Connect(h, sysId, cipher));
    char clockNo[12] = {};
    ASSERT_TRUE(link.GetDevNo(clockNo));
    EXPECT_STREQ(clockNo, "5551");

    char sysIdText[9] = {};
    std::memcpy(sysIdText, sysId, 8);
    std::uint8_t auth[8];
    ASSERT_TRUE(libraries.DesEncrypt(auth, reinterpret_cast<const std::uint8_t*>(raceNo), cipher));
    const QDateTime confirmed(QDate(2024, 8, 19), QTime(6, 30));
    ASSERT_TRUE(libraries.PGT_StartTag(h, 0));
    ASSERT_TRUE(libraries.PGT_SetTag(h, "1A2B3C4D00003C00", 0, "04A1B2C3", "000123"));
    std::int32_t n = 0;
    ASSERT_TRUE(libraries.PGT_CloseTag(h, &n));
    ASSERT_TRUE(libraries.PGT_SetUploadMode(h, 130, 131, 120));
    ASSERT_TRUE(libraries.PGT_SetSiteInfo(h, "L7", TPigModuV6::CoordTextToValue(QStringLiteral("E1212324")), 0));
    ASSERT_TRUE(libraries.PGT_CreateRace(h, raceNo, sysIdText));
    ASSERT_TRUE(libraries.PGT_AddRaceTag(h, raceNo, "1A2B3C4D00003C00", "04A1B2C3"));
    ASSERT_TRUE(libraries.PGT_SetRaceDesc(h, raceNo, "Race"));
    ASSERT_TRUE(libraries.PGT_SetRaceMode(h, raceNo, 128));
    ASSERT_TRUE(libraries.PGT_ConfirmRace(h, raceNo, auth, ClockDateTime::toDays(confirmed).value()));
    ASSERT_TRUE(libraries.PGT_StartRace(h, raceNo, 3));

    BenchArrival arrival;
    arrival.eRing = QStringLiteral("1A2B3C4D");
    arrival.at = QDateTime(QDate(2024, 8, 19), QTime(11, 2, 3, 45));
    shell.setClockError(QStringLiteral("5551"), 2000);
    shell.addArrival(QStringLiteral("5551"), arrival);

    // The upload's side.
    char site[48] = {};
    std::int32_t lon = 0;
    std::int32_t lat = 0;
    ASSERT_TRUE(libraries.PGT_GetSiteInfo(h, site, &lon, &lat));
    EXPECT_STREQ(site, "L7");
    EXPECT_EQ(lon, 437004000);
    char clockRaceNo[8];
    ASSERT_TRUE(libraries.PGT_GetCurrentRace(h, clockRaceNo, &n));
    EXPECT_EQ(std::memcmp(clockRaceNo, raceNo, 8), 0);
    std::int32_t count = 0;
    ASSERT_TRUE(libraries.PGT_GetRaceTagCount(h, clockRaceNo, 128, &count));
    ASSERT_EQ(count, 1);
    char record[104] = {};
    ASSERT_TRUE(libraries.PGT_GetRaceRecord(h, clockRaceNo, 128, 0, record));
    EXPECT_TRUE(libraries.PGT_CheckRecord(record, sysId, clockNo, clockRaceNo, auth));
    EXPECT_EQ(TPigModuV6::ClockTimeToText(QString::fromLatin1(record + 32, 16)), QStringLiteral("2024/08/19 11:02:05.045"));
    record[35] = record[35] == '9' ? '8' : '9';  // a different arrival minute
    EXPECT_FALSE(libraries.PGT_CheckRecord(record, sysId, clockNo, clockRaceNo, auth));

    ASSERT_TRUE(libraries.PGT_VerifyRace(h, clockRaceNo, auth));
    const QDateTime master(QDate(2024, 8, 19), QTime(19, 0));
    ASSERT_TRUE(libraries.PGT_CloseRace(h, clockRaceNo, ClockDateTime::toDays(master).value()));
    double device = 0;
    double authTime = 0;
    ASSERT_TRUE(libraries.PGT_GetRaceT2Device(h, clockRaceNo, &device));
    ASSERT_TRUE(libraries.PGT_GetRaceT2Auth(h, clockRaceNo, &authTime));
    EXPECT_EQ(ClockDateTime::fromDays(authTime).msecsTo(ClockDateTime::fromDays(device)), 2000);
}

TEST(VendorLibraries, AMissingLibraryIsNamed)
{
    VendorLibraryPaths paths = simulatorPaths();
    paths.ringReader = QStringLiteral("/nonexistent/libRingReader.so");
    try {
        VendorLibraries libraries(paths);
        ADD_FAILURE() << "loaded";
    } catch (const CorvelError& e) {
        EXPECT_TRUE(e.text().contains(QLatin1String("/nonexistent/libRingReader.so"))) << e.text().toStdString();
    }
}

TEST(VendorLibraries, ALibraryWithoutTheDocumentedFunctionsIsRefusedNamingThem)
{
    VendorLibraryPaths paths = simulatorPaths();
    paths.clockComm = simulatorLibrary("PortLink");  // has the port functions only
    try {
        VendorLibraries libraries(paths);
        ADD_FAILURE() << "loaded";
    } catch (const CorvelError& e) {
        EXPECT_TRUE(e.text().contains(QLatin1String("IFD_Connect, IFD_GetDevNo, DesEncrypt, DesDecrypt, HexToBin")))
            << e.text().toStdString();
        EXPECT_FALSE(e.text().contains(QLatin1String("IFD_OpenPort"))) << e.text().toStdString();
    }
}

TEST(DeviceLibraries, ZAVRIniChoosesTheSimulatorByDefaultAndVendorLibrariesOnRequest)
{
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    folder.prepare();
    {
        const auto devices = DeviceLibraries::open(folder);
        ASSERT_NE(devices->bench(), nullptr);
        devices->bench()->connectRingReader(1);
        EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("bench.json"))));
    }

    writeFile(folder.iniPath(), "[Devices]\nLibrary=vendor\nLibraryFolder=" CORVEL_SIMULATOR_DIR "\n");
    const auto vendor = DeviceLibraries::open(folder);
    EXPECT_EQ(vendor->bench(), nullptr);
    std::uint8_t out[2];
    EXPECT_TRUE(vendor->clock().HexToBin("3C3D", out, 2));

    writeFile(folder.iniPath(), "[Devices]\nLibrary=vendor\nLibraryFolder=/nonexistent\n");
    EXPECT_THROW(DeviceLibraries::open(folder), CorvelError);
    writeFile(folder.iniPath(), "[Devices]\nLibrary=serial\n");
    EXPECT_THROW(DeviceLibraries::open(folder), CorvelError);
}

TEST(DeviceLibraries, WithoutALibraryFolderAFileInTheDataFolderComesBeforeTheProgramsLibraryFolder)
{
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    folder.prepare();
    writeFile(folder.iniPath(), "[Devices]\nLibrary=vendor\n");
    {
        const auto devices = DeviceLibraries::open(folder, QStringLiteral(CORVEL_SIMULATOR_DIR));
        std::uint8_t out[2];
        EXPECT_TRUE(devices->clock().HexToBin("3C3D", out, 2));
    }

    // A library of the club's own in the data folder is the one loaded (this one lacks functions).
    const QString own = dir.filePath(QStringLiteral("libClockComm.so"));
    ASSERT_TRUE(QFile::copy(simulatorLibrary("PortLink"), own));
    try {
        DeviceLibraries::open(folder, QStringLiteral(CORVEL_SIMULATOR_DIR));
        ADD_FAILURE() << "loaded";
    } catch (const CorvelError& e) {
        EXPECT_TRUE(e.text().contains(own + QLatin1String(" lacks the function(s) IFD_Connect"))) << e.text().toStdString();
    }
}

TEST(DeviceLibraries, AnInvalidBenchFileIsReportedNotOverwritten)
{
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    folder.prepare();
    writeFile(DeviceLibraries::benchPath(folder), "[1, 2]");
    EXPECT_THROW(DeviceLibraries::open(folder), CorvelError);
    QFile file(DeviceLibraries::benchPath(folder));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("[1, 2]"));
}

}  // namespace
