// Moments are calendar dates and times of day without a time zone. ctest runs this file under
// several zones (UTC, Europe/Brussels, America/Sao_Paulo, Pacific/Auckland), each with its
// summer time changes among the cases, and every run must give the same numbers.

#include "BenchCommand.h"
#include "ClockLibrary.h"
#include "DataFolder.h"
#include "DeviceCodec.h"
#include "DeviceLibraries.h"
#include "FlightTime.h"
#include "Formats.h"
#include "LoftDistances.h"
#include "MemberLogic.h"
#include "OtherClock.h"
#include "QtPrinters.h"
#include "RaceLogic.h"
#include "TPigModuV6.h"
#include "TestDatabase.h"

#include <QTemporaryDir>
#include <QTextStream>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using FlightTime::SunRow;
using FlightTime::Variant;

QDateTime at(int y, int m, int d, int hh, int mm, int ss, int ms = 0)
{
    return Formats::moment(QDate(y, m, d), QTime(hh, mm, ss, ms));
}

TEST(TimeZone, TheRunTakesTheZoneItIsGiven)
{
    const QByteArray zone = qgetenv("TZ");
    if (zone.isEmpty())
        GTEST_SKIP() << "run without TZ";
    EXPECT_EQ(QTimeZone::systemTimeZoneId(), zone);
}

struct FlightCase {
    const char* what;
    QDateTime liberation;
    QDateTime arrival;
    QList<SunRow> sunRows;
    qint64 seconds;  // both variants, clock variation 0
    friend void PrintTo(const FlightCase& c, std::ostream* os) { *os << c.what; }
};

class FlyingSecondsInEveryZone : public ::testing::TestWithParam<FlightCase> {};

TEST_P(FlyingSecondsInEveryZone, CountTheCalendarAndTheClockFaceOnly)
{
    const FlightCase& c = GetParam();
    EXPECT_EQ(FlightTime::CalcuateSecs(0, c.arrival, c.liberation, c.sunRows, Variant::HandEntry), c.seconds);
    EXPECT_EQ(FlightTime::CalcuateSecs(0, c.arrival, c.liberation, c.sunRows, Variant::ClockUpload), c.seconds);
    // The same through the stored texts: the arrival text, the race's date and time of day.
    const QDateTime arrival = Formats::readShortDateLongTime(Formats::shortDate(c.arrival.date()) + QLatin1Char(' ')
                                                             + Formats::longTime(c.arrival.time()));
    const QDateTime liberation =
        FlightTime::liberationMoment(Formats::toDbMidnight(c.liberation.date()), Formats::toDbTime(c.liberation.time()));
    EXPECT_EQ(FlightTime::CalcuateSecs(0, arrival, liberation, c.sunRows, Variant::HandEntry), c.seconds);
}

INSTANTIATE_TEST_SUITE_P(
    SummerTimeChanges, FlyingSecondsInEveryZone,
    ::testing::Values(
        FlightCase{"Brussels goes forward: 01:00 to 05:00", at(2026, 3, 29, 1, 0, 0), at(2026, 3, 29, 5, 0, 0), {}, 14400},
        FlightCase{"Brussels goes forward: 02:30 is a moment", at(2026, 3, 29, 1, 0, 0), at(2026, 3, 29, 2, 30, 0), {}, 5400},
        FlightCase{"Brussels goes back: 01:30 to 03:30", at(2026, 10, 25, 1, 30, 0), at(2026, 10, 25, 3, 30, 0), {}, 7200},
        FlightCase{"Brussels goes back: 02:10 to 02:50", at(2026, 10, 25, 2, 10, 0), at(2026, 10, 25, 2, 50, 0), {}, 2400},
        FlightCase{"Auckland goes forward: 01:00 to 02:30", at(2026, 9, 27, 1, 0, 0), at(2026, 9, 27, 2, 30, 0), {}, 5400},
        FlightCase{"Auckland goes back: 01:30 to 02:30", at(2026, 4, 5, 1, 30, 0), at(2026, 4, 5, 2, 30, 0), {}, 3600},
        FlightCase{"Sao Paulo skips midnight: overnight", at(2018, 11, 3, 14, 0, 0), at(2018, 11, 4, 7, 15, 30),
                   {{QDate(2018, 11, 3), QTime(18, 30), QTime(5, 20)}, {QDate(2018, 11, 4), QTime(18, 31), QTime(5, 15)}},
                   16200 + 7230},
        FlightCase{"Sao Paulo repeats an hour before midnight: overnight", at(2018, 2, 17, 14, 0, 0),
                   at(2018, 2, 18, 7, 0, 0),
                   {{QDate(2018, 2, 17), QTime(18, 45), QTime(5, 50)}, {QDate(2018, 2, 18), QTime(18, 44), QTime(5, 51)}},
                   17100 + 4140}));

TEST(TimeZone, ClockVariationAcrossTheNightTheClocksChange)
{
    // The member clock is read an hour and 12 seconds after the master on the clock face: that is its variation.
    EXPECT_EQ(FlightTime::ClockVariationSecs(at(2026, 3, 29, 1, 59, 50), at(2026, 3, 29, 3, 0, 2)), 3612);
    EXPECT_EQ(FlightTime::ClockVariationSecs(at(2026, 10, 25, 2, 59, 50), at(2026, 10, 25, 3, 0, 2)), 12);
    EXPECT_EQ(FlightTime::ClockVariationSecs(at(2018, 11, 3, 23, 59, 59), at(2018, 11, 4, 0, 0, 11)), 12);
}

TEST(TimeZone, StoredDatesAndTimesReadBackAsTheyWereWritten)
{
    EXPECT_EQ(FlightTime::liberationMoment(QStringLiteral("2026-03-29"), QStringLiteral("02:30:00")), at(2026, 3, 29, 2, 30, 0));
    EXPECT_EQ(FlightTime::liberationMoment(QStringLiteral("2018-11-04 00:00:00"), QStringLiteral("00:00:00")),
              at(2018, 11, 4, 0, 0, 0));
    EXPECT_EQ(Formats::toDbMidnight(QDate(2018, 11, 4)), QStringLiteral("2018-11-04 00:00:00"));
    EXPECT_EQ(Formats::formatDate(QStringLiteral("mmdd"), QDate(2018, 11, 4)), QStringLiteral("1104"));
    EXPECT_EQ(Formats::fromDbDateTime(QStringLiteral("2026-03-29 02:30:00")), at(2026, 3, 29, 2, 30, 0));
    EXPECT_EQ(Formats::fromDbDate(QStringLiteral("2018-11-04")), QDate(2018, 11, 4));
}

// Club in metres mode; race 12 from E120'30:00 / N023'30:00; member 001 one degree of latitude
// north of it, so 110,948 m away.
class OtherClockInEveryZone : public ::testing::Test {
protected:
    OtherClock::Race raceOn(const QDate& day, const QTime& liberation)
    {
        t.run(QStringLiteral("INSERT OR IGNORE INTO ZAVR_ClubMap (ClubID, ClubName) VALUES ('C1', 'Club')"));
        RaceInput input;
        input.clubName = QStringLiteral("Club");
        input.liberCode = QStringLiteral("12");
        input.liberSite = QStringLiteral("Point");
        input.liberSiteAbbr = QStringLiteral("PT");
        input.liberLon = QStringLiteral("E120'30:00");
        input.liberLat = QStringLiteral("N023'30:00");
        input.liberDate = day;
        input.liberTime = liberation;
        saveRace(t.dm(), input, at(2026, 1, 1, 12, 0, 0));
        MemberInput member;
        member.loftNo = QStringLiteral("001");
        member.loftName = QStringLiteral("Smith");
        member.loftLon = QStringLiteral("E120'30:00.00");
        member.loftLat = QStringLiteral("N024'30:00.00");
        if (!existingMemberName(t.dm(), member.loftNo))
            saveMember(t.dm(), member, at(2026, 1, 1, 12, 0, 0));
        const RaceKey key{QStringLiteral("C1"), QStringLiteral("12"), day};
        LoftDistUpdate(t.dm(), key);

        // As the view takes the race from its stored row.
        const std::optional<StoredRace> stored = findStoredRace(t.dm(), key);
        EXPECT_TRUE(stored.has_value());
        OtherClock::Race race;
        if (!stored)
            return race;
        race.clubId = stored->clubId;
        race.liberCode = stored->liberCode;
        race.liberDate = stored->liberDate;
        race.liberation = FlightTime::liberationMoment(Formats::toDbDate(stored->liberDate), stored->liberTime);
        race.raceCode = stored->raceCode;
        return race;
    }

    TestDatabase t;
};

TEST_F(OtherClockInEveryZone, TheNightSummerTimeStartsGivesTheFlyingTimeOfTheClockFace)
{
    const OtherClock::Race race = raceOn(QDate(2026, 3, 29), QTime(1, 0, 0));
    EXPECT_EQ(race.liberation, at(2026, 3, 29, 1, 0, 0));
    t.run(QStringLiteral("INSERT INTO ZAVR_PigData (LoftNo, PRingNo) VALUES ('001', 'BE26-1'), ('001', 'BE26-2')"));
    const OtherClock::ClockTimes times{at(2026, 3, 28, 20, 0, 0), at(2026, 3, 29, 12, 0, 0), at(2026, 3, 29, 12, 0, 0)};

    const struct {
        const char* ring;
        QDateTime arrival;
        qint64 seconds;
        const char* flyTime;
        const char* speed;
        const char* backTime;
    } cases[] = {
        {"BE26-1", at(2026, 3, 29, 5, 0, 0), 14400, "4:0:0", "462.283", "2026/03/29 05:00:00"},
        {"BE26-2", at(2026, 3, 29, 2, 30, 0), 5400, "1:30:0", "1232.756", "2026/03/29 02:30:00"},  // no such hour in Brussels
    };
    for (const auto& c : cases) {
        const QString ring = QString::fromUtf8(c.ring);
        const OtherClock::SavedArrival saved = OtherClock::saveArrival(t.dm(), race, QStringLiteral("001"), ring, times, c.arrival);
        EXPECT_EQ(saved.distance, 110948) << c.ring;
        EXPECT_EQ(saved.seconds, c.seconds) << c.ring;
        EXPECT_EQ(rows(t.dm(), QStringLiteral("SELECT BackTime, FlyTime, FlySpeed FROM ZAVR_PigRaceData WHERE PRingNo = ?"), {ring}),
                  QStringList{QStringLiteral("%1|%2|%3").arg(QString::fromUtf8(c.backTime), QString::fromUtf8(c.flyTime),
                                                              QString::fromUtf8(c.speed))});
        EXPECT_EQ(OtherClock::storedArrival(t.dm(), race, ring), c.arrival) << c.ring;
    }
    const std::optional<OtherClock::ClockTimes> stored = OtherClock::storedClockTimes(t.dm(), race, QStringLiteral("001"));
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->marked, times.marked);
    EXPECT_EQ(stored->master, times.master);
    EXPECT_EQ(stored->member, times.member);
}

TEST_F(OtherClockInEveryZone, ARaceOnTheDayMidnightIsSkippedIsStoredAndFound)
{
    const OtherClock::Race race = raceOn(QDate(2018, 11, 4), QTime(0, 0, 0));
    EXPECT_EQ(race.liberDate, QDate(2018, 11, 4));
    EXPECT_EQ(race.liberation, at(2018, 11, 4, 0, 0, 0));
    EXPECT_EQ(race.raceCode, QStringLiteral("121104"));
    EXPECT_EQ(rows(t.dm(), QStringLiteral("SELECT LiberDate, LiberTime FROM ZAVR_RaceData")),
              QStringList{QStringLiteral("2018-11-04 00:00:00|00:00:00")});
    t.run(QStringLiteral("INSERT INTO ZAVR_PigData (LoftNo, PRingNo) VALUES ('001', 'BR18-1')"));
    const OtherClock::ClockTimes times{at(2018, 11, 3, 20, 0, 0), at(2018, 11, 4, 12, 0, 0), at(2018, 11, 4, 12, 0, 12)};
    const OtherClock::SavedArrival saved =
        OtherClock::saveArrival(t.dm(), race, QStringLiteral("001"), QStringLiteral("BR18-1"), times, at(2018, 11, 4, 1, 0, 30));
    EXPECT_EQ(saved.seconds, 3630 - 12);
}

TEST(TimeZone, ClockStampsAndDaysAreTheClockFace)
{
    for (const QDateTime& moment : {at(2026, 3, 29, 2, 30, 0, 250), at(2026, 10, 25, 2, 30, 0, 250), at(2018, 11, 4, 0, 0, 0),
                                    at(2026, 9, 27, 2, 30, 0, 250)}) {
        const std::optional<double> days = ClockDateTime::toDays(moment);
        ASSERT_TRUE(days.has_value()) << moment.toString().toStdString();
        EXPECT_EQ(ClockDateTime::fromDays(*days), moment);
    }
    const double twoHours = ClockDateTime::toDays(at(2026, 3, 29, 3, 0, 0)).value() - ClockDateTime::toDays(at(2026, 3, 29, 1, 0, 0)).value();
    EXPECT_EQ(std::llround(twoHours * 86400), 7200);
    // 2026/03/29 02:30:00.250
    EXPECT_EQ(TPigModuV6::ClockTimeToText(QStringLiteral("1A031D021E00FA00")), QStringLiteral("2026/03/29 02:30:00.250"));
    // 2018/11/04 00:00:00.000: the date alone before the point
    EXPECT_EQ(TPigModuV6::ClockTimeToText(QStringLiteral("120B040000000000")), QStringLiteral("2018/11/04.000"));
}

TEST(TimeZone, TheSimulatedClockStampsWithItsOwnClockFace)
{
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    folder.prepare();
    QString output;
    QString errors;
    auto run = [&](const QStringList& words) {
        QTextStream out(&output);
        QTextStream err(&errors);
        return runBenchCommand(QStringList{QStringLiteral("corvel-bench"), QStringLiteral("--data-dir"), dir.path()} + words, out, err);
    };
    ASSERT_EQ(run({"clock", "add", "5551"}), 0) << errors.toStdString();
    ASSERT_EQ(run({"clock", "error", "5551", "1.5"}), 0) << errors.toStdString();
    ASSERT_EQ(run({"connect", "COM1", "5551"}), 0) << errors.toStdString();

    const auto devices = DeviceLibraries::open(folder);
    ClockLibrary& lib = devices->clock();
    const std::int32_t h = lib.IFD_OpenPort("COM1", "baud=115200;timeout=2000");
    const DesBlock id = systemIdentityBlock(QString());
    const DesBlock cipher = systemIdentityCipher(id);
    DesBlock auth{};
    ASSERT_TRUE(raceAuthBlock("F0000001", cipher, auth));
    ASSERT_TRUE(lib.IFD_Connect(h, id.data(), cipher.data()));
    ASSERT_TRUE(lib.PGT_CreateRace(h, "F0000001", "00000000"));
    ASSERT_TRUE(lib.PGT_ConfirmRace(h, "F0000001", auth.data(), ClockDateTime::toDays(at(2026, 3, 29, 1, 0, 0)).value()));
    ASSERT_TRUE(lib.PGT_StartRace(h, "F0000001", 3));

    // Played from the shell at 01:59:59.000 and at 02:30:00 (an hour Brussels does not have); the
    // clock adds its 1.5 s.
    ASSERT_EQ(run({"arrive", "5551", "1A2B3C4D", "2026/03/29 01:59:59"}), 0) << errors.toStdString();
    ASSERT_EQ(run({"arrive", "5551", "1A2B3C4D", "2026/03/29 02:30:00"}), 0) << errors.toStdString();
    char record[104] = {};
    ASSERT_TRUE(lib.PGT_GetRaceRecord(h, "F0000001", 128, 0, record));
    EXPECT_EQ(TPigModuV6::ClockTimeToText(QString::fromLatin1(record + 32, 16)), QStringLiteral("2026/03/29 02:00:00.500"));
    ASSERT_TRUE(lib.PGT_GetRaceRecord(h, "F0000001", 128, 1, record));
    EXPECT_EQ(TPigModuV6::ClockTimeToText(QString::fromLatin1(record + 32, 16)), QStringLiteral("2026/03/29 02:30:01.500"));

    // The end-of-race check: master 01:59:59, the clock 1.5 s ahead on its face.
    ASSERT_TRUE(lib.PGT_CloseRace(h, "F0000001", ClockDateTime::toDays(at(2026, 3, 29, 1, 59, 59)).value()));
    double device = 0;
    double master = 0;
    ASSERT_TRUE(lib.PGT_GetRaceT2Device(h, "F0000001", &device));
    ASSERT_TRUE(lib.PGT_GetRaceT2Auth(h, "F0000001", &master));
    EXPECT_EQ(ClockDateTime::fromDays(master), at(2026, 3, 29, 1, 59, 59));
    EXPECT_EQ(ClockDateTime::fromDays(device), at(2026, 3, 29, 2, 0, 0, 500));
    EXPECT_EQ(FlightTime::ClockVariationSecs(ClockDateTime::fromDays(master), ClockDateTime::fromDays(device)), 1);
}

}  // namespace
