#include "CorvelError.h"
#include "DeviceCodec.h"
#include "FullDisk.h"
#include "Moment.h"
#include "QtPrinters.h"
#include "SimulatedBench.h"
#include "TPigModuV6.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>

namespace {

const std::uint8_t* bytesOf(const char* text) { return reinterpret_cast<const std::uint8_t*>(text); }

// The authenticity rule of eRing matching: pages 6 and 7, decrypted under the fixed key, read as
// text up to the first NUL, equal the UID as hexadecimal text.
bool ringLooksGenuine(SimulatedBench& bench, std::int32_t h)
{
    std::uint8_t uid[4] = {};
    std::uint8_t pages[8] = {};
    if (!bench.HTS_Active(h, uid))
        return false;
    bench.HTS_ReadPage(h, 6, pages);
    bench.HTS_ReadPage(h, 7, pages + 4);
    std::uint8_t plain[9] = {};
    bench.DesDecrypt(pages, plain, bytesOf(FixedDesKey));
    return QString::fromLatin1(reinterpret_cast<const char*>(plain)) == BytesToHex(std::span<const std::uint8_t>(uid), 1, 4);
}

class RingReaderBench : public ::testing::Test {
protected:
    RingReaderBench()
    {
        bench.connectRingReader(1);
        h = bench.PortLink().IFD_OpenPort("COM1", nullptr);
    }
    SimulatedBench bench;
    std::int32_t h = 0;
};

TEST_F(RingReaderBench, AGenuineRingPassesTheAuthenticityRuleAndAForgedOneFails)
{
    bench.addRing(QStringLiteral("04A1B2C3"), QStringLiteral("1A2B3C4D"), 0x3C, true);
    bench.addRing(QStringLiteral("04a1b2c4"), QStringLiteral("1A2B3C4E"), 0x10, false);
    ASSERT_NE(h, 0);
    EXPECT_FALSE(ringLooksGenuine(bench, h));  // nothing on the reader yet
    bench.layRing(QStringLiteral("04A1B2C3"));
    EXPECT_TRUE(ringLooksGenuine(bench, h));
    EXPECT_TRUE(bench.state().ring(QStringLiteral("04A1B2C3"))->genuine());
    bench.layRing(QStringLiteral("04A1B2C4"));
    EXPECT_FALSE(ringLooksGenuine(bench, h));
    EXPECT_FALSE(bench.state().ring(QStringLiteral("04A1B2C4"))->genuine());
    bench.takeRing();
    std::uint8_t uid[4];
    EXPECT_FALSE(bench.HTS_Active(h, uid));
}

TEST_F(RingReaderBench, TheDataBlockIsReadAndAWrittenCodeIsReadBack)
{
    bench.addRing(QStringLiteral("04A1B2C3"), QStringLiteral("1A2B3C4D"), 0x3C);
    bench.layRing(QStringLiteral("04A1B2C3"));
    std::uint8_t block[16];
    std::memset(block, 0xEE, sizeof block);
    ASSERT_TRUE(bench.TTF_Read(h, 0, block));
    EXPECT_EQ(BytesToHex(std::span<const std::uint8_t>(block), 1, 5), QStringLiteral("1A2B3C4D3C"));

    ASSERT_TRUE(HexToBin("1A2B3C4D9F", block, 5));
    ASSERT_TRUE(bench.HTS_ChangePigeon(h, block));
    std::uint8_t back[16] = {};
    ASSERT_TRUE(bench.TTF_Read(h, 0, back));
    EXPECT_EQ(BytesToHex(std::span<const std::uint8_t>(back), 1, 5), QStringLiteral("1A2B3C4D9F"));
    EXPECT_EQ(static_cast<std::uint8_t>(bench.state().ring(QStringLiteral("04A1B2C3"))->data.at(4)), 0x9F);

    EXPECT_TRUE(bench.SC_DoBell(h, 1, 3, 2));
    EXPECT_EQ(bench.bellCount(), 1);
}

TEST_F(RingReaderBench, ScriptedFailuresFailThatManyReadsOrWritesAndChangeNothing)
{
    bench.addRing(QStringLiteral("04A1B2C3"), QStringLiteral("1A2B3C4D"), 0x3C);
    bench.layRing(QStringLiteral("04A1B2C3"));
    bench.failNextReads(2);
    bench.failNextWrites(1);
    std::uint8_t block[16] = {};
    EXPECT_FALSE(bench.TTF_Read(h, 0, block));
    EXPECT_FALSE(bench.TTF_Read(h, 0, block));
    EXPECT_TRUE(bench.TTF_Read(h, 0, block));

    const std::uint8_t other[16] = {0x1A, 0x2B, 0x3C, 0x4D, 0x01};
    EXPECT_FALSE(bench.HTS_ChangePigeon(h, other));
    EXPECT_EQ(static_cast<std::uint8_t>(bench.state().ring(QStringLiteral("04A1B2C3"))->data.at(4)), 0x3C);
    EXPECT_TRUE(bench.HTS_ChangePigeon(h, other));
    EXPECT_EQ(static_cast<std::uint8_t>(bench.state().ring(QStringLiteral("04A1B2C3"))->data.at(4)), 0x01);
}

TEST_F(RingReaderBench, TheReaderDoesNotAnswerOnAClockHandleOrAfterItsPortIsClosed)
{
    bench.addRing(QStringLiteral("04A1B2C3"), QStringLiteral("1A2B3C4D"), 0x3C);
    bench.layRing(QStringLiteral("04A1B2C3"));
    std::uint8_t uid[4];
    EXPECT_EQ(bench.IFD_OpenPort("COM1", "baud=115200;timeout=2000") != 0, true);
    EXPECT_FALSE(bench.IFD_IsPortValid(bench.IFD_OpenPort("COM1", nullptr)));  // no clock on COM1
    ASSERT_TRUE(bench.PortLink().IFD_ClosePort(h));
    EXPECT_FALSE(bench.HTS_Active(h, uid));
}

TEST_F(RingReaderBench, BadScriptingInputIsRefusedWithAClearMessage)
{
    EXPECT_THROW(bench.addRing(QStringLiteral("04A1B2"), QStringLiteral("1A2B3C4D"), 1), CorvelError);
    EXPECT_THROW(bench.addRing(QStringLiteral("04A1B2C3"), QStringLiteral("1A2B3C4G"), 1), CorvelError);
    EXPECT_THROW(bench.addRing(QStringLiteral("04A1B2C3"), QStringLiteral("1A2B3C4D"), 256), CorvelError);
    EXPECT_THROW(bench.layRing(QStringLiteral("04A1B2C3")), CorvelError);
    EXPECT_THROW(bench.connectRingReader(3), CorvelError);
    EXPECT_TRUE(bench.state().rings.isEmpty());
}

// A clock on COM1 that accepts the identity "CLUB", with the program's side of the dialogue.
class ClockBench : public ::testing::Test {
protected:
    ClockBench()
    {
        bench.addClock(QStringLiteral("12345678"), QStringLiteral("CLUB"));
        bench.connectClock(1, QStringLiteral("12345678"));
        h = bench.IFD_OpenPort("COM1", "baud=115200;timeout=2000");
        sysId = systemIdentityBlock(QStringLiteral("CLUB"));
        cipher = systemIdentityCipher(sysId);
        raceAuthBlock(RaceNo, cipher, auth);
    }

    bool connect() { return bench.IFD_Connect(h, sysId.data(), cipher.data()); }

    // The dialogue of programming a race with one pigeon (eRing 1A2B3C4D, code 3C, UID 04A1B2C3).
    void programRace(const QDateTime& confirmedAt)
    {
        ASSERT_TRUE(connect());
        ASSERT_TRUE(bench.PGT_StartTag(h, 0));
        ASSERT_TRUE(bench.PGT_SetTag(h, "1A2B3C4D00003C00", 0, "04A1B2C3", "345678"));
        std::int32_t n = 0;
        ASSERT_TRUE(bench.PGT_CloseTag(h, &n));
        EXPECT_EQ(n, 1);
        ASSERT_TRUE(bench.PGT_SetUploadMode(h, 130, 131, 120));
        ASSERT_TRUE(bench.PGT_SetSiteInfo(h, "L001", 437004000, 87750000));
        ASSERT_TRUE(bench.PGT_CreateRace(h, RaceNo, reinterpret_cast<const char*>(sysIdText())));
        ASSERT_TRUE(bench.PGT_AddRaceTag(h, RaceNo, "1A2B3C4D00003C00", "04A1B2C3"));
        ASSERT_TRUE(bench.PGT_SetRaceDesc(h, RaceNo, "Race"));
        ASSERT_TRUE(bench.PGT_SetRaceMode(h, RaceNo, 128));
        ASSERT_TRUE(bench.PGT_ConfirmRace(h, RaceNo, auth.data(), ClockDateTime::toDays(confirmedAt).value()));
        ASSERT_TRUE(bench.PGT_StartRace(h, RaceNo, 3));
    }

    // The system identity text as the program passes it: the 8 characters of the block.
    const std::uint8_t* sysIdText()
    {
        std::memcpy(sysIdWithNul, sysId.data(), 8);
        return sysIdWithNul;
    }

    QString record(int index)
    {
        char buffer[104];
        std::memset(buffer, 'X', sizeof buffer);
        if (!bench.PGT_GetRaceRecord(h, RaceNo, 128, index, buffer))
            return {};
        return QString::fromLatin1(buffer);
    }

    static constexpr char RaceNo[] = "12030500";
    SimulatedBench bench;
    std::int32_t h = 0;
    DesBlock sysId{};
    DesBlock cipher{};
    DesBlock auth{};
    std::uint8_t sysIdWithNul[9] = {};
    const QDateTime liberation = Formats::moment(QDate(2024, 3, 5), QTime(7, 0));
};

TEST_F(ClockBench, TheClockRefusesAWrongIdentityAndEveryCallBeforeTheConnection)
{
    char number[12] = {};
    EXPECT_FALSE(bench.IFD_GetDevNo(h, number));  // not connected yet
    const DesBlock otherId = systemIdentityBlock(QStringLiteral("OTHER"));
    const DesBlock otherCipher = systemIdentityCipher(otherId);
    EXPECT_FALSE(bench.IFD_Connect(h, otherId.data(), otherCipher.data()));
    EXPECT_FALSE(bench.IFD_Connect(h, sysId.data(), otherCipher.data()));  // the right identity with a wrong cipher
    EXPECT_FALSE(bench.IFD_GetDevNo(h, number));
    EXPECT_FALSE(bench.PGT_StartTag(h, 0));
    ASSERT_TRUE(connect());
    ASSERT_TRUE(bench.IFD_GetDevNo(h, number));
    EXPECT_STREQ(number, "12345678");

    // Another clock plugged into the port must be connected anew.
    bench.addClock(QStringLiteral("99"), QStringLiteral("CLUB"));
    bench.connectClock(1, QStringLiteral("99"));
    EXPECT_FALSE(bench.IFD_GetDevNo(h, number));
}

TEST_F(ClockBench, ARaceIsOnlyConfirmedWithItsAuthenticationBlockAndStartedAfterThat)
{
    ASSERT_TRUE(connect());
    ASSERT_TRUE(bench.PGT_CreateRace(h, RaceNo, reinterpret_cast<const char*>(sysIdText())));
    EXPECT_FALSE(bench.PGT_StartRace(h, RaceNo, 3));
    DesBlock wrong = auth;
    wrong[0] ^= 1;
    EXPECT_FALSE(bench.PGT_ConfirmRace(h, RaceNo, wrong.data(), ClockDateTime::toDays(liberation).value()));
    EXPECT_TRUE(bench.PGT_ConfirmRace(h, RaceNo, auth.data(), ClockDateTime::toDays(liberation).value()));
    EXPECT_FALSE(bench.PGT_StartRace(h, RaceNo, 2));
    EXPECT_TRUE(bench.PGT_StartRace(h, RaceNo, 3));
    char current[8];
    std::int32_t n = 0;
    ASSERT_TRUE(bench.PGT_GetCurrentRace(h, current, &n));
    EXPECT_EQ(QString::fromLatin1(current, 8), QString::fromLatin1(RaceNo));
    // A race under another system identity text is refused.
    EXPECT_FALSE(bench.PGT_CreateRace(h, "F0000001", "OTHER000"));
}

TEST_F(ClockBench, ProgrammingGivesTheClockItsPigeonsSiteAndRace)
{
    programRace(liberation);
    const BenchClock* clock = bench.state().clock(QStringLiteral("12345678"));
    ASSERT_NE(clock, nullptr);
    ASSERT_EQ(clock->pigeons.size(), 1);
    EXPECT_EQ(clock->pigeons.at(0).regNo, QStringLiteral("345678"));
    EXPECT_EQ(clock->uploadMode, (QList<int>{130, 131, 120}));
    const BenchRace* race = clock->race(QString::fromLatin1(RaceNo));
    ASSERT_NE(race, nullptr);
    EXPECT_EQ(race->desc, QStringLiteral("Race"));
    EXPECT_EQ(race->mode, 128);
    EXPECT_EQ(race->kind, 3);
    EXPECT_EQ(race->confirmedAt, liberation);

    char site[48];
    std::memset(site, 'X', sizeof site);
    std::int32_t lon = 0;
    std::int32_t lat = 0;
    ASSERT_TRUE(bench.PGT_GetSiteInfo(h, site, &lon, &lat));
    EXPECT_STREQ(site, "L001");
    EXPECT_EQ(lon, 437004000);
    EXPECT_EQ(lat, 87750000);

    // Tags that are not as documented are refused.
    EXPECT_FALSE(bench.PGT_AddRaceTag(h, RaceNo, "1A2B3C4D00003C0", "04A1B2C3"));
    EXPECT_TRUE(bench.PGT_StartTag(h, 0));
    EXPECT_FALSE(bench.PGT_SetTag(h, "1A2B3C4D00003C00", 0, "04A1B2C3", "12345"));
    EXPECT_FALSE(bench.PGT_SetTag(h, "1A2B3C4D00003C00", 0, "04A1B2G3", "123456"));
}

TEST_F(ClockBench, AnArrivalRecordIsLaidOutAsTheUploadReadsIt)
{
    programRace(liberation);
    BenchArrival arrival;
    arrival.eRing = QStringLiteral("1A2B3C4D");
    arrival.at = QDateTime(QDate(2024, 3, 5), QTime(9, 15, 30, 250));
    arrival.position = std::make_pair(437004000, -87750000);
    EXPECT_EQ(bench.addArrival(QStringLiteral("12345678"), arrival), 0);
    arrival.readCode = 0x11;
    arrival.uid = QStringLiteral("00000000");
    arrival.position.reset();
    EXPECT_EQ(bench.addArrival(QStringLiteral("12345678"), arrival), 1);

    std::int32_t count = 0;
    ASSERT_TRUE(bench.PGT_GetRaceTagCount(h, RaceNo, 128, &count));
    ASSERT_EQ(count, 2);
    const QString first = record(0);
    ASSERT_EQ(first.size(), 96);
    EXPECT_EQ(first.mid(0, 8), QStringLiteral("1A2B3C4D"));
    EXPECT_EQ(first.mid(8, 4), QStringLiteral("0000"));
    EXPECT_EQ(first.mid(12, 2), QStringLiteral("3C"));
    EXPECT_EQ(first.mid(14, 2), QStringLiteral("00"));
    EXPECT_EQ(HexTextToWord(first.mid(16, 2)) & 0x20, 0x20);
    EXPECT_EQ(first.mid(28, 2), QStringLiteral("3C"));  // read code: as programmed
    EXPECT_EQ(TPigModuV6::ClockTimeToText(first.mid(32, 16)), QStringLiteral("2024/03/05 09:15:30.250"));
    EXPECT_EQ(first.mid(48, 8), QStringLiteral("04A1B2C3"));
    EXPECT_EQ(first.mid(72, 8), QStringLiteral("E0260C1A"));  // 437004000 low byte first
    EXPECT_EQ(first.mid(80, 8), QStringLiteral("900AC5FA"));  // -87750000

    const QString second = record(1);
    EXPECT_EQ(second.mid(28, 2), QStringLiteral("11"));
    EXPECT_EQ(second.mid(48, 8), QStringLiteral("00000000"));
    EXPECT_EQ(HexTextToWord(second.mid(16, 2)) & 0x20, 0);
    EXPECT_TRUE(record(2).isEmpty());
}

struct CheckCase {
    const char* name;
    int digit;          // position (from 0) of a record digit to change, or -1
    const char* clockNo;
    const char* raceNo;
    const char* sysId;  // SysID text the program holds
    bool accepted;
};

class RecordCheck : public ClockBench, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(RecordCheck, PGT_CheckRecordAcceptsOnlyAnUntouchedRecordOfThisClockRaceAndIdentity)
{
    const CheckCase& c = GetParam();
    programRace(liberation);
    BenchArrival arrival;
    arrival.eRing = QStringLiteral("1A2B3C4D");
    arrival.at = QDateTime(QDate(2024, 3, 5), QTime(9, 15, 30));
    bench.addArrival(QStringLiteral("12345678"), arrival);
    QByteArray text = record(0).toLatin1();
    if (c.digit >= 0)
        text[c.digit] = text.at(c.digit) == '0' ? '1' : '0';
    const DesBlock id = systemIdentityBlock(QString::fromLatin1(c.sysId));
    DesBlock raceAuth{};
    ASSERT_TRUE(raceAuthBlock(c.raceNo, systemIdentityCipher(id), raceAuth));
    char clockNo[12] = {};
    std::strncpy(clockNo, c.clockNo, 11);
    EXPECT_EQ(bench.PGT_CheckRecord(text.constData(), id.data(), clockNo, c.raceNo, raceAuth.data()), c.accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Records, RecordCheck,
    ::testing::Values(CheckCase{"Untouched", -1, "12345678", "12030500", "CLUB", true},
                      CheckCase{"ArrivalTimeChanged", 40, "12345678", "12030500", "CLUB", false},
                      CheckCase{"ReadCodeChanged", 29, "12345678", "12030500", "CLUB", false},
                      CheckCase{"UidChanged", 50, "12345678", "12030500", "CLUB", false},
                      CheckCase{"CodeChanged", 90, "12345678", "12030500", "CLUB", false},
                      CheckCase{"OtherClock", -1, "12345679", "12030500", "CLUB", false},
                      CheckCase{"OtherRace", -1, "12345678", "12030600", "CLUB", false},
                      CheckCase{"OtherIdentity", -1, "12345678", "12030500", "CLUC", false}),
    [](const ::testing::TestParamInfo<CheckCase>& p) { return std::string(p.param.name); });

TEST_F(ClockBench, CheckRecordRefusesShortOrNonHexadecimalRecords)
{
    programRace(liberation);
    BenchArrival arrival;
    arrival.eRing = QStringLiteral("1A2B3C4D");
    arrival.at = QDateTime(QDate(2024, 3, 5), QTime(9, 15, 30));
    bench.addArrival(QStringLiteral("12345678"), arrival);
    const QByteArray full = record(0).toLatin1();
    const QByteArray shorter = full.left(95);
    QByteArray garbled = full;
    garbled[3] = 'G';
    for (const QByteArray& text : {shorter, garbled, QByteArray()})
        EXPECT_FALSE(bench.PGT_CheckRecord(text.constData(), sysId.data(), "12345678", RaceNo, auth.data()));
    EXPECT_FALSE(bench.PGT_CheckRecord(nullptr, sysId.data(), "12345678", RaceNo, auth.data()));
    EXPECT_TRUE(bench.PGT_CheckRecord(full.constData(), sysId.data(), "12345678", RaceNo, auth.data()));
}

TEST_F(ClockBench, AClockRunningFastStampsArrivalsAndTheEndOfRaceCheckWithItsOwnTime)
{
    programRace(liberation);
    bench.setClockError(QStringLiteral("12345678"), 5000);
    BenchArrival arrival;
    arrival.eRing = QStringLiteral("1A2B3C4D");
    arrival.at = QDateTime(QDate(2024, 3, 5), QTime(9, 0, 0));
    bench.addArrival(QStringLiteral("12345678"), arrival);
    EXPECT_EQ(TPigModuV6::ClockTimeToText(record(0).mid(32, 16)), QStringLiteral("2024/03/05 09:00:05.000"));

    double t = 0;
    EXPECT_FALSE(bench.PGT_GetRaceT2Device(h, RaceNo, &t));  // not closed yet
    EXPECT_TRUE(bench.PGT_VerifyRace(h, RaceNo, auth.data()));
    DesBlock wrong = auth;
    wrong[7] ^= 0x80;
    EXPECT_FALSE(bench.PGT_VerifyRace(h, RaceNo, wrong.data()));
    const QDateTime master = Formats::moment(QDate(2024, 3, 5), QTime(18, 30, 0));
    ASSERT_TRUE(bench.PGT_CloseRace(h, RaceNo, ClockDateTime::toDays(master).value()));
    double device = 0;
    double authTime = 0;
    ASSERT_TRUE(bench.PGT_GetRaceT2Device(h, RaceNo, &device));
    ASSERT_TRUE(bench.PGT_GetRaceT2Auth(h, RaceNo, &authTime));
    EXPECT_EQ(ClockDateTime::fromDays(authTime), master);
    EXPECT_EQ(ClockDateTime::fromDays(authTime).msecsTo(ClockDateTime::fromDays(device)), 5000);
    // The records stay readable after the race was closed, and no new arrivals are taken.
    EXPECT_FALSE(record(0).isEmpty());
    EXPECT_THROW(bench.addArrival(QStringLiteral("12345678"), arrival), CorvelError);
}

TEST_F(ClockBench, AnEndOfRaceTimeBeyondWhatDaysHoldIsNotGiven)
{
    programRace(liberation);
    bench.setClockError(QStringLiteral("12345678"), 86400000);
    ASSERT_TRUE(bench.PGT_CloseRace(h, RaceNo, ClockDateTime::MaxDays));
    double device = -1;
    double authTime = -1;
    EXPECT_FALSE(bench.PGT_GetRaceT2Device(h, RaceNo, &device));  // a day past the last one
    EXPECT_EQ(device, -1);
    ASSERT_TRUE(bench.PGT_GetRaceT2Auth(h, RaceNo, &authTime));
    EXPECT_EQ(authTime, ClockDateTime::MaxDays);
}

TEST_F(ClockBench, ArrivalsNeedAStartedRaceAndValidValues)
{
    BenchArrival arrival;
    arrival.eRing = QStringLiteral("1A2B3C4D");
    arrival.at = QDateTime(QDate(2024, 3, 5), QTime(9, 0, 0));
    EXPECT_THROW(bench.addArrival(QStringLiteral("12345678"), arrival), CorvelError);  // no race yet
    programRace(liberation);
    EXPECT_THROW(bench.addArrival(QStringLiteral("nope"), arrival), CorvelError);
    BenchArrival bad = arrival;
    bad.at = QDateTime(QDate(1999, 3, 5), QTime(9, 0, 0));
    EXPECT_THROW(bench.addArrival(QStringLiteral("12345678"), bad), CorvelError);
    bad = arrival;
    bad.readCode = 300;
    EXPECT_THROW(bench.addArrival(QStringLiteral("12345678"), bad), CorvelError);
    bad = arrival;
    bad.eRing = QStringLiteral("1A2B");
    EXPECT_THROW(bench.addArrival(QStringLiteral("12345678"), bad), CorvelError);
    std::int32_t count = -1;
    ASSERT_TRUE(bench.PGT_GetRaceTagCount(h, RaceNo, 128, &count));
    EXPECT_EQ(count, 0);
}

TEST_F(ClockBench, ProgrammingTheSameRaceAgainStartsItAfresh)
{
    programRace(liberation);
    BenchArrival arrival;
    arrival.eRing = QStringLiteral("1A2B3C4D");
    arrival.at = QDateTime(QDate(2024, 3, 5), QTime(9, 0, 0));
    bench.addArrival(QStringLiteral("12345678"), arrival);
    programRace(liberation);
    const BenchRace* race = bench.state().clock(QStringLiteral("12345678"))->race(QString::fromLatin1(RaceNo));
    ASSERT_NE(race, nullptr);
    EXPECT_TRUE(race->records.isEmpty());
    EXPECT_EQ(race->tags.size(), 1);
    EXPECT_EQ(bench.state().clock(QStringLiteral("12345678"))->races.size(), 1);
}

// ---- the state file ----

class BenchFile : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("bench.json")); }
    void write(const QByteArray& bytes) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST_F(BenchFile, AClockKeepsItsRaceBetweenTwoRuns)
{
    const DesBlock id = systemIdentityBlock(QString());
    const DesBlock cipher = systemIdentityCipher(id);
    DesBlock raceAuth{};
    raceAuthBlock("F0000001", cipher, raceAuth);
    {
        SimulatedBench first(path());
        first.addClock(QStringLiteral("777"), QString());
        first.connectClock(2, QStringLiteral("777"));
        const std::int32_t h = first.IFD_OpenPort("COM2", "baud=115200;timeout=2000");
        ASSERT_TRUE(first.IFD_Connect(h, id.data(), cipher.data()));
        ASSERT_TRUE(first.PGT_CreateRace(h, "F0000001", "00000000"));
        ASSERT_TRUE(first.PGT_ConfirmRace(h, "F0000001", raceAuth.data(), 45000.25));
        ASSERT_TRUE(first.PGT_StartRace(h, "F0000001", 1));
    }
    SimulatedBench second(path());
    const std::int32_t h = second.IFD_OpenPort("/dev/ttyS1", "baud=115200;timeout=2000");  // COM2's device file
    ASSERT_TRUE(second.IFD_IsPortValid(h));
    ASSERT_TRUE(second.IFD_Connect(h, id.data(), cipher.data()));
    char raceNo[8];
    std::int32_t n = 0;
    ASSERT_TRUE(second.PGT_GetCurrentRace(h, raceNo, &n));
    EXPECT_EQ(QByteArray(raceNo, 8), QByteArray("F0000001"));
    BenchArrival arrival;
    arrival.eRing = QStringLiteral("0000ABCD");
    arrival.at = QDateTime(QDate(2023, 3, 15), QTime(9, 0, 0));
    second.addArrival(QStringLiteral("777"), arrival);
    char record[104] = {};
    ASSERT_TRUE(second.PGT_GetRaceRecord(h, "F0000001", 128, 0, record));
    EXPECT_TRUE(second.PGT_CheckRecord(record, id.data(), "777", "F0000001", raceAuth.data()));
}

TEST_F(BenchFile, ChangesMadeByAnotherProgramAreSeenWhileAPortIsOpen)
{
    SimulatedBench program(path());
    program.connectRingReader(1);
    const std::int32_t h = program.PortLink().IFD_OpenPort("COM1", nullptr);
    std::uint8_t uid[4];
    EXPECT_FALSE(program.HTS_Active(h, uid));

    SimulatedBench shell(path());
    shell.addRing(QStringLiteral("04A1B2C3"), QStringLiteral("1A2B3C4D"), 7);
    shell.layRing(QStringLiteral("04A1B2C3"));
    ASSERT_TRUE(program.HTS_Active(h, uid));
    EXPECT_EQ(BytesToHex(std::span<const std::uint8_t>(uid), 1, 4), QStringLiteral("04A1B2C3"));

    // And the program's write reaches the shell's view.
    const std::uint8_t block[16] = {0x1A, 0x2B, 0x3C, 0x4D, 0x99};
    ASSERT_TRUE(program.HTS_ChangePigeon(h, block));
    EXPECT_EQ(static_cast<std::uint8_t>(shell.state().ring(QStringLiteral("04A1B2C3"))->data.at(4)), 0x99);
}

struct BadFileCase {
    const char* name;
    const char* json;
    const char* message;  // part of the error text
};

class BadBenchFile : public BenchFile, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(BadBenchFile, IsRefusedWithItsFaultNamedAndNeverOverwritten)
{
    write(GetParam().json);
    try {
        SimulatedBench bench(path());
        ADD_FAILURE() << "the file was accepted";
    } catch (const CorvelError& e) {
        EXPECT_TRUE(e.text().contains(QString::fromLatin1(GetParam().message))) << e.text().toStdString();
        EXPECT_TRUE(e.text().startsWith(QLatin1String("bench.json is not a valid bench file"))) << e.text().toStdString();
    }
    EXPECT_EQ(read(), QByteArray(GetParam().json));
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadBenchFile,
    ::testing::Values(
        BadFileCase{"NotJson", "{ports: ", "at character"},
        BadFileCase{"NotABenchFile", R"({"name": "x"})", "corvel-bench"},
        BadFileCase{"LaterVersion", R"({"format": "corvel-bench", "version": 2})", "version"},
        BadFileCase{"ShortUid", R"({"format": "corvel-bench", "rings": [{"uid": "04A1", "pages67": "0000000000000000", "data": "00000000000000000000000000000000"}]})", "rings[0].uid"},
        BadFileCase{"BadDevice", R"({"format": "corvel-bench", "ports": {"COM1": {"device": "modem"}}})", "ports.COM1.device"},
        BadFileCase{"UnknownClockOnPort", R"({"format": "corvel-bench", "ports": {"COM1": {"device": "clock", "clock": "9"}}})", "clock 9"},
        BadFileCase{"RingNotOnBench", R"({"format": "corvel-bench", "reader": {"ringOnReader": "04A1B2C3"}})", "ringOnReader"},
        BadFileCase{"NegativeFailures", R"({"format": "corvel-bench", "reader": {"failReads": -1}})", "failReads"},
        BadFileCase{"CurrentRaceMissing", R"({"format": "corvel-bench", "clocks": [{"number": "1", "sysId": "3030303030303030", "currentRace": "F0000001"}]})", "currentRace"},
        BadFileCase{"DuplicateClock", R"({"format": "corvel-bench", "clocks": [{"number": "1", "sysId": "3030303030303030"}, {"number": "1", "sysId": "3030303030303030"}]})", "clocks[1].number"},
        BadFileCase{"ClockNumberWithABlank", R"({"format": "corvel-bench", "clocks": [{"number": "55 51", "sysId": "3030303030303030"}]})", "clocks[0].number"},
        BadFileCase{"RaceNumberWithAControlCharacter", R"({"format": "corvel-bench", "clocks": [{"number": "1", "sysId": "3030303030303030", "races": [{"raceNo": "F000\u00090001"}]}]})", "races[0].raceNo"},
        BadFileCase{"StartedRaceWithoutAuthentication", R"({"format": "corvel-bench", "clocks": [{"number": "1", "sysId": "3030303030303030", "races": [{"raceNo": "F0000001", "kind": 3}]}]})", "races[0].auth"},
        BadFileCase{"StartedRaceWithEmptyAuthentication", R"({"format": "corvel-bench", "clocks": [{"number": "1", "sysId": "3030303030303030", "races": [{"raceNo": "F0000001", "kind": 1, "auth": ""}]}]})", "races[0].auth"},
        BadFileCase{"UnknownRaceKind", R"({"format": "corvel-bench", "clocks": [{"number": "1", "sysId": "3030303030303030", "races": [{"raceNo": "F0000001", "kind": 2, "auth": "0123456789ABCDEF"}]}]})", "races[0].kind"},
        BadFileCase{"ClosedRaceNeverStarted", R"({"format": "corvel-bench", "clocks": [{"number": "1", "sysId": "3030303030303030", "races": [{"raceNo": "F0000001", "closed": true, "t2Device": "2024-03-05T18:30:00.000", "t2Auth": "2024-03-05T18:30:00.000"}]}]})", "races[0].closed"},
        BadFileCase{"ClosedRaceWithoutTheClocksTime", R"({"format": "corvel-bench", "clocks": [{"number": "1", "sysId": "3030303030303030", "races": [{"raceNo": "F0000001", "kind": 1, "auth": "0123456789ABCDEF", "closed": true, "t2Auth": "2024-03-05T18:30:00.000"}]}]})", "races[0].t2Device"},
        BadFileCase{"NulInAText", R"({"format": "corvel-bench", "clocks": [{"number": "1", "sysId": "3030303030303030", "site": "Loft\u0000Lane"}]})", "clocks[0].site"},
        BadFileCase{"LatitudeBeyond64Bits", R"({"format": "corvel-bench", "clocks": [{"number": "1", "sysId": "3030303030303030", "lat": 8.7e106}]})", "clocks[0].lat"},
        BadFileCase{"UploadModeBeyond32Bits", R"({"format": "corvel-bench", "clocks": [{"number": "1", "sysId": "3030303030303030", "uploadMode": [1, 2, 1e300]}]})", "clocks[0].uploadMode"},
        BadFileCase{"UploadModeNotWhole", R"({"format": "corvel-bench", "clocks": [{"number": "1", "sysId": "3030303030303030", "uploadMode": [1, 2.5, 3]}]})", "clocks[0].uploadMode"},
        BadFileCase{"UploadModeOfTwoNumbers", R"({"format": "corvel-bench", "clocks": [{"number": "1", "sysId": "3030303030303030", "uploadMode": [1, 2]}]})", "clocks[0].uploadMode"},
        BadFileCase{"ClosedRaceWithoutTheMasterTime", R"({"format": "corvel-bench", "clocks": [{"number": "1", "sysId": "3030303030303030", "races": [{"raceNo": "F0000001", "kind": 3, "auth": "0123456789ABCDEF", "closed": true, "t2Device": "2024-03-05T18:30:00.000", "t2Auth": ""}]}]})", "races[0].t2Auth"}),
    [](const ::testing::TestParamInfo<BadFileCase>& p) { return std::string(p.param.name); });

TEST_F(BenchFile, AFullDiskKeepsTheFileAndSaysWhy)
{
    SimulatedBench bench(path());
    bench.addClock(QStringLiteral("1"), QString());
    const QByteArray before = read();
    {
        const FullDisk full(static_cast<rlim_t>(before.size()));
        try {
            bench.addClock(QStringLiteral("2"), QString());
            ADD_FAILURE() << "no error";
        } catch (const CorvelError& e) {
            EXPECT_TRUE(e.text().startsWith(QStringLiteral("Cannot write ") + path())) << e.text().toStdString();
        }
    }
    EXPECT_EQ(read(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("bench.json")});
}

TEST_F(BenchFile, ChangesAtTheSameTimeAreAllKept)
{
    // Twenty shells changing the bench at once, as twenty corvel-bench commands do.
    SimulatedBench(path()).addClock(QStringLiteral("0"), QString());
    std::vector<std::unique_ptr<QProcess>> shells;
    for (int i = 1; i <= 20; ++i) {
        auto shell = std::make_unique<QProcess>();
        shell->start(QStringLiteral(CORVEL_BENCH_TOOL),
                     {QStringLiteral("--data-dir"), dir.path(), QStringLiteral("clock"), QStringLiteral("add"), QString::number(i), QStringLiteral("CLUB")});
        shells.push_back(std::move(shell));
    }
    for (auto& shell : shells) {
        ASSERT_TRUE(shell->waitForFinished(60000));
        EXPECT_EQ(shell->exitCode(), 0) << shell->readAllStandardError().toStdString();
    }
    EXPECT_EQ(SimulatedBench(path()).state().clocks.size(), 21);
    EXPECT_FALSE(QFile::exists(path() + QStringLiteral(".lock")));
}

TEST_F(BenchFile, ALockLeftByAProgramThatEndedIsTakenOver)
{
    {
        QFile lock(path() + QStringLiteral(".lock"));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write("999999999\ncorvel-bench\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    }
    SimulatedBench bench(path());
    bench.addClock(QStringLiteral("1"), QString());
    EXPECT_EQ(SimulatedBench(path()).state().clocks.size(), 1);
}

TEST_F(BenchFile, AClosedRaceKeepsItsEndOfRaceTimesBetweenTwoRuns)
{
    const DesBlock id = systemIdentityBlock(QString());
    const DesBlock cipher = systemIdentityCipher(id);
    DesBlock raceAuth{};
    raceAuthBlock("F0000001", cipher, raceAuth);
    const QDateTime master = Formats::moment(QDate(2024, 3, 5), QTime(18, 30, 0, 125));
    {
        SimulatedBench first(path());
        first.addClock(QStringLiteral("777"), QString());
        first.setClockError(QStringLiteral("777"), -2000);
        first.connectClock(1, QStringLiteral("777"));
        const std::int32_t h = first.IFD_OpenPort("COM1", "baud=115200;timeout=2000");
        ASSERT_TRUE(first.IFD_Connect(h, id.data(), cipher.data()));
        ASSERT_TRUE(first.PGT_CreateRace(h, "F0000001", "00000000"));
        ASSERT_TRUE(first.PGT_ConfirmRace(h, "F0000001", raceAuth.data(), 45000.25));
        ASSERT_TRUE(first.PGT_StartRace(h, "F0000001", 1));
        ASSERT_TRUE(first.PGT_CloseRace(h, "F0000001", ClockDateTime::toDays(master).value()));
    }
    SimulatedBench second(path());
    const std::int32_t h = second.IFD_OpenPort("COM1", "baud=115200;timeout=2000");
    ASSERT_TRUE(second.IFD_Connect(h, id.data(), cipher.data()));
    double device = 0;
    double authTime = 0;
    ASSERT_TRUE(second.PGT_GetRaceT2Device(h, "F0000001", &device));
    ASSERT_TRUE(second.PGT_GetRaceT2Auth(h, "F0000001", &authTime));
    EXPECT_EQ(ClockDateTime::fromDays(authTime), master);
    EXPECT_EQ(ClockDateTime::fromDays(device), master.addMSecs(-2000));
}

TEST_F(BenchFile, AFileMadeInvalidWhileTheProgramRunsLeavesTheEndOfRaceCheckUnanswered)
{
    SimulatedBench bench(path());
    bench.addClock(QStringLiteral("777"), QString());
    bench.connectClock(1, QStringLiteral("777"));
    const DesBlock id = systemIdentityBlock(QString());
    const DesBlock cipher = systemIdentityCipher(id);
    DesBlock raceAuth{};
    raceAuthBlock("F0000001", cipher, raceAuth);
    const std::int32_t h = bench.IFD_OpenPort("COM1", "baud=115200;timeout=2000");
    ASSERT_TRUE(bench.IFD_Connect(h, id.data(), cipher.data()));
    ASSERT_TRUE(bench.PGT_CreateRace(h, "F0000001", "00000000"));
    ASSERT_TRUE(bench.PGT_ConfirmRace(h, "F0000001", raceAuth.data(), 45000.25));
    ASSERT_TRUE(bench.PGT_StartRace(h, "F0000001", 1));
    ASSERT_TRUE(bench.PGT_CloseRace(h, "F0000001", 45000.75));

    // Someone clears the master time of the closed race by hand.
    QByteArray edited = read();
    const qsizetype at = edited.indexOf("\"t2Auth\": \"");
    ASSERT_GE(at, 0);
    edited.replace(at, 35, "\"t2Auth\": \"\"");
    write(edited);
    double t = -1;
    EXPECT_FALSE(bench.PGT_GetRaceT2Auth(h, "F0000001", &t));
    EXPECT_FALSE(bench.PGT_GetRaceT2Device(h, "F0000001", &t));
    EXPECT_EQ(t, -1);
    try {
        bench.state();
        ADD_FAILURE() << "the edited file was accepted";
    } catch (const CorvelError& e) {
        EXPECT_TRUE(e.text().contains(QLatin1String("races[0].t2Auth"))) << e.text().toStdString();
    }
    EXPECT_EQ(read(), edited);
}

TEST_F(BenchFile, AFileSpoiltWhileTheProgramRunsSilencesTheHardwareAndIsKept)
{
    SimulatedBench bench(path());
    bench.connectRingReader(1);
    bench.addRing(QStringLiteral("04A1B2C3"), QStringLiteral("1A2B3C4D"), 7);
    bench.layRing(QStringLiteral("04A1B2C3"));
    const std::int32_t h = bench.PortLink().IFD_OpenPort("COM1", nullptr);
    std::uint8_t uid[4];
    ASSERT_TRUE(bench.HTS_Active(h, uid));
    write("{ spoilt");
    EXPECT_FALSE(bench.HTS_Active(h, uid));
    const std::uint8_t block[16] = {};
    EXPECT_FALSE(bench.HTS_ChangePigeon(h, block));
    EXPECT_THROW(bench.takeRing(), CorvelError);
    EXPECT_EQ(read(), QByteArray("{ spoilt"));
}

}  // namespace
