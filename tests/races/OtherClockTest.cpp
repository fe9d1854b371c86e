#include "CorvelError.h"
#include "Formats.h"
#include "OtherClock.h"
#include "RowSetModel.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

using OtherClock::ClockTimes;

QDateTime at(int d, int hh, int mm, int ss) { return Formats::moment(QDate(2024, 7, d), QTime(hh, mm, ss)); }

// Race 1A2F of 18 July 2024 (day 200) liberated at 14:00:00, with sun rows for two days; member
// 001 at 145200 yards with three pigeons.
struct Fixture {
    Fixture()
    {
        t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('001', 'Smith'), ('002', 'Jones')"));
        t.run(QStringLiteral("INSERT INTO ZAVR_PigData (LoftNo, PRingNo) VALUES ('001', 'BE24-1234'), ('001', 'BE24-5534'), "
                             "('001', 'BE24-9999'), ('002', 'NL24-1234'), ('001', 'BE24-X_1')"));
        t.run(QStringLiteral("INSERT INTO ZAVR_LoftLibPointDist (LiberCode, LoftNo, Miles, Yards) VALUES ('1A2F', '001', 82, 145200)"));
        t.run(QStringLiteral("INSERT INTO ZAVR_SunSet_SunRise (RaceCode, RaceDate, SunSet, SunRise) VALUES "
                             "('1A2F0718', '2024-07-18 00:00:00', '20:30:00', '05:40:00'), "
                             "('1A2F0718', '2024-07-19 00:00:00', '20:29:00', '05:45:00')"));
    }
    TestDatabase t;
    OtherClock::Race race{QStringLiteral("C1"), QStringLiteral("1A2F"), QDate(2024, 7, 18), at(18, 14, 0, 0),
                          QStringLiteral("1A2F0718")};
    ClockTimes times{at(18, 6, 30, 0), at(19, 8, 0, 0), at(19, 8, 0, 12)};
};

TEST(OtherClock, SavingAnArrivalStoresClockTimesAndTheComputedEntry)
{
    Fixture f;
    const auto saved = OtherClock::saveArrival(f.t.dm(), f.race, QStringLiteral("001"), QStringLiteral("BE24-1234"), f.times,
                                               at(19, 7, 15, 30));
    EXPECT_EQ(saved.seconds, 28818);  // the clock ran 12 s ahead
    EXPECT_EQ(saved.flyTime, QStringLiteral("8:0:18"));
    EXPECT_DOUBLE_EQ(saved.speed, 302.311);
    EXPECT_EQ(saved.distance, 145200);

    QSqlQuery entry = f.t.dm().exec(QStringLiteral("SELECT ClubID, LiberCode, LiberDate, BackTime, FlyTime, FlySpeed, Dist "
                                                   "FROM ZAVR_PigRaceData WHERE PRingNo = 'BE24-1234'"));
    ASSERT_TRUE(entry.next());
    EXPECT_EQ(entry.value(0).toString(), QStringLiteral("C1"));
    EXPECT_EQ(entry.value(1).toString(), QStringLiteral("1A2F"));
    EXPECT_EQ(entry.value(2).toString(), QStringLiteral("2024-07-18 00:00:00"));
    EXPECT_EQ(entry.value(3).toString(), QStringLiteral("2024/07/19 07:15:30"));
    EXPECT_EQ(entry.value(4).toString(), QStringLiteral("8:0:18"));
    EXPECT_DOUBLE_EQ(entry.value(5).toDouble(), 302.311);
    EXPECT_EQ(entry.value(6).toInt(), 145200);

    const auto stored = OtherClock::storedClockTimes(f.t.dm(), f.race, QStringLiteral("001"));
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->marked, f.times.marked);
    EXPECT_EQ(stored->member, f.times.member);
    EXPECT_EQ(OtherClock::storedArrival(f.t.dm(), f.race, QStringLiteral("BE24-1234")), at(19, 7, 15, 30));
}

TEST(OtherClock, SavingTwiceUpdatesTheOneEntryAndClockRow)
{
    Fixture f;
    f.t.run(QStringLiteral("INSERT INTO ZAVR_PigRaceData (ClubID, LiberCode, LiberDate, PRingNo, RandomCode, MarkedTime) "
                           "VALUES ('C1', '1A2F', '2024-07-18 00:00:00', 'BE24-1234', 77, '2024-07-17 20:00:00')"));
    OtherClock::saveArrival(f.t.dm(), f.race, QStringLiteral("001"), QStringLiteral("BE24-1234"), f.times, at(19, 7, 15, 30));
    f.times.member = at(19, 7, 59, 48);  // now 12 s behind
    const auto saved = OtherClock::saveArrival(f.t.dm(), f.race, QStringLiteral("001"), QStringLiteral("BE24-1234"), f.times,
                                               at(19, 7, 15, 30));
    EXPECT_EQ(saved.seconds, 28842);
    EXPECT_EQ(f.t.dm().scalar(QStringLiteral("SELECT count(*) FROM ZAVR_PigRaceData")).toInt(), 1);
    EXPECT_EQ(f.t.dm().scalar(QStringLiteral("SELECT count(*) FROM ZAVR_RaceClockTime")).toInt(), 1);
    // What marking stored stays.
    EXPECT_EQ(f.t.dm().scalar(QStringLiteral("SELECT RandomCode FROM ZAVR_PigRaceData")).toInt(), 77);
}

TEST(OtherClock, WithoutADistanceTheEntryIsWrittenWithSpeedZero)
{
    Fixture f;
    const auto saved = OtherClock::saveArrival(f.t.dm(), f.race, QStringLiteral("002"), QStringLiteral("NL24-1234"), f.times,
                                               at(18, 16, 0, 0));
    EXPECT_EQ(saved.seconds, 7200 - 12);
    EXPECT_EQ(saved.distance, 0);
    EXPECT_EQ(saved.speed, 0.0);
    EXPECT_EQ(f.t.dm().scalar(QStringLiteral("SELECT Dist FROM ZAVR_PigRaceData WHERE PRingNo = 'NL24-1234'")).toInt(), 0);
}

TEST(OtherClock, RefusesASaveWithoutMemberRingOrValidMomentsAndWritesNothing)
{
    Fixture f;
    ClockTimes broken = f.times;
    broken.master = QDateTime();
    const std::vector<std::tuple<QString, QString, ClockTimes, QDateTime>> cases = {
        {QString(), QStringLiteral("BE24-1234"), f.times, at(19, 7, 15, 30)},
        {QStringLiteral("001"), QString(), f.times, at(19, 7, 15, 30)},
        {QStringLiteral("001"), QStringLiteral("BE24-1234"), broken, at(19, 7, 15, 30)},
        {QStringLiteral("001"), QStringLiteral("BE24-1234"), f.times, QDateTime()},
    };
    for (const auto& [loftNo, ringNo, times, arrival] : cases) {
        EXPECT_THROW(OtherClock::saveArrival(f.t.dm(), f.race, loftNo, ringNo, times, arrival), CorvelError);
        EXPECT_EQ(f.t.dm().scalar(QStringLiteral("SELECT (SELECT count(*) FROM ZAVR_PigRaceData) + "
                                                 "(SELECT count(*) FROM ZAVR_RaceClockTime)"))
                      .toInt(),
                  0);
    }
}

TEST(OtherClock, AnArrivalBeforeTheLiberationIsToldApart)
{
    const QDateTime liberation = Formats::moment(QDate(2026, 7, 19), QTime(14, 0, 0));
    const struct {
        QDateTime arrival;
        bool before;
    } cases[] = {
        {Formats::moment(QDate(2026, 7, 18), QTime(13, 0, 0)), true},   // the day before
        {Formats::moment(QDate(2026, 7, 19), QTime(13, 58, 55)), true},  // the same day, earlier
        {Formats::moment(QDate(2026, 7, 19), QTime(13, 59, 59)), true},
        {liberation, false},
        {Formats::moment(QDate(2026, 7, 19), QTime(14, 0, 0, 900)), false},  // compared to the second
        {Formats::moment(QDate(2026, 7, 20), QTime(7, 0, 0)), false},
        {QDateTime(), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OtherClock::arrivesBeforeLiberation(c.arrival, liberation), c.before) << c.arrival.toString().toStdString();
    EXPECT_FALSE(OtherClock::arrivesBeforeLiberation(liberation, QDateTime()));

    const QDateTime arrival = Formats::moment(QDate(2026, 7, 18), QTime(13, 0, 0, 600));
    EXPECT_EQ(OtherClock::arrivalBeforeLiberationDetail(arrival, liberation),
              QStringLiteral("arrival 2026/07/18 13:00:00, liberation 2026/07/19 14:00:00"));
    EXPECT_EQ(OtherClock::arrivalBeforeLiberationQuestion(arrival, liberation),
              QStringLiteral("The arrival is before the liberation (arrival 2026/07/18 13:00:00, liberation 2026/07/19 "
                             "14:00:00). Save it anyway?"));
}

TEST(OtherClock, AFailedEntryLeavesTheClockTimesUnwrittenToo)
{
    Fixture f;
    const QString tooLong(21, QLatin1Char('R'));  // wider than a ring number may be
    EXPECT_THROW(OtherClock::saveArrival(f.t.dm(), f.race, QStringLiteral("001"), tooLong, f.times, at(19, 7, 15, 30)), DbError);
    EXPECT_EQ(f.t.dm().scalar(QStringLiteral("SELECT count(*) FROM ZAVR_RaceClockTime")).toInt(), 0);
}

TEST(OtherClock, RingListsAndArrivals)
{
    Fixture f;
    EXPECT_EQ(OtherClock::memberRings(f.t.dm(), QStringLiteral("001")).size(), 4);
    QStringList ending = OtherClock::memberRings(f.t.dm(), QStringLiteral("001"), QStringLiteral("34"));
    ending.sort();
    EXPECT_EQ(ending, (QStringList{"BE24-1234", "BE24-5534"}));
    // "_" is a character to match, not a wildcard.
    EXPECT_EQ(OtherClock::memberRings(f.t.dm(), QStringLiteral("001"), QStringLiteral("X_1")), QStringList{"BE24-X_1"});
    EXPECT_TRUE(OtherClock::memberRings(f.t.dm(), QStringLiteral("001"), QStringLiteral("_1")).contains(QStringLiteral("BE24-X_1")));
    EXPECT_TRUE(OtherClock::memberRings(f.t.dm(), QStringLiteral("001"), QStringLiteral("%4")).isEmpty());

    OtherClock::saveArrival(f.t.dm(), f.race, QStringLiteral("001"), QStringLiteral("BE24-5534"), f.times, at(19, 7, 15, 30));
    RowSetModel rows;
    OtherClock::loadMemberArrivals(f.t.dm(), f.race, QStringLiteral("001"), rows);
    EXPECT_EQ(rows.fields(), (QStringList{"PRingNo", "BackTime"}));
    ASSERT_EQ(rows.rowCount(), 4);
    EXPECT_EQ(rows.value(0, QStringLiteral("PRingNo")).toString(), QStringLiteral("BE24-1234"));
    EXPECT_TRUE(rows.value(0, QStringLiteral("BackTime")).isNull());
    EXPECT_EQ(rows.value(1, QStringLiteral("BackTime")).toString(), QStringLiteral("2024/07/19 07:15:30"));
    EXPECT_FALSE(OtherClock::storedArrival(f.t.dm(), f.race, QStringLiteral("BE24-1234")).has_value());
}

}  // namespace
