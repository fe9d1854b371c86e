#include "FlightTime.h"
#include "Formats.h"
#include "QtPrinters.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

using FlightTime::SunRow;
using FlightTime::Variant;

QDateTime at(int y, int m, int d, int hh, int mm, int ss, int ms = 0)
{
    return Formats::moment(QDate(y, m, d), QTime(hh, mm, ss, ms));
}

TEST(FlightTime, ClockVariationIsTruncatedTowardZero)
{
    const QDateTime master = at(2024, 7, 19, 18, 0, 0);
    const std::vector<std::pair<QDateTime, qint64>> cases = {
        {at(2024, 7, 19, 18, 0, 12), 12},       // clock ahead
        {at(2024, 7, 19, 17, 59, 48), -12},     // clock behind
        {at(2024, 7, 19, 18, 0, 12, 999), 12},  // fractions are dropped
        {at(2024, 7, 19, 17, 59, 59, 500), 0},  // toward zero, not down
        {at(2024, 7, 20, 18, 0, 1), 86401},
    };
    for (const auto& [clock, expected] : cases)
        EXPECT_EQ(FlightTime::ClockVariationSecs(master, clock), expected) << clock.toString().toStdString();
}

struct FlightCase {
    const char* what;
    QDateTime liberation;
    QDateTime arrival;
    qint64 variation;
    QList<SunRow> sunRows;
    qint64 handEntry;
    qint64 clockUpload;
    friend void PrintTo(const FlightCase& c, std::ostream* os) { *os << c.what; }
};

class FlyingSeconds : public ::testing::TestWithParam<FlightCase> {};

TEST_P(FlyingSeconds, InBothVariants)
{
    const FlightCase& c = GetParam();
    EXPECT_EQ(FlightTime::CalcuateSecs(c.variation, c.arrival, c.liberation, c.sunRows, Variant::HandEntry), c.handEntry);
    EXPECT_EQ(FlightTime::CalcuateSecs(c.variation, c.arrival, c.liberation, c.sunRows, Variant::ClockUpload), c.clockUpload);
}

// 18 July 2024 is day 200 of its year.
const QList<SunRow> TwoDays = {{QDate(2024, 7, 18), QTime(20, 30), QTime(5, 40)}, {QDate(2024, 7, 19), QTime(20, 29), QTime(5, 45)}};
const QList<SunRow> ThreeDays = {{QDate(2024, 7, 18), QTime(20, 30), QTime(5, 40)},
                                 {QDate(2024, 7, 19), QTime(20, 30), QTime(5, 45)},
                                 {QDate(2024, 7, 20), QTime(20, 28), QTime(5, 45)}};

INSTANTIATE_TEST_SUITE_P(
    Cases, FlyingSeconds,
    ::testing::Values(
        FlightCase{"same day: the plain difference", at(2024, 7, 18, 8, 0, 0), at(2024, 7, 18, 9, 0, 12), 0, {}, 3612, 3612},
        FlightCase{"same day, clock 12 s ahead", at(2024, 7, 18, 8, 0, 0), at(2024, 7, 18, 9, 0, 0), 12, {}, 3588, 3588},
        FlightCase{"same day, clock 12 s behind", at(2024, 7, 18, 8, 0, 0), at(2024, 7, 18, 9, 0, 0), -12, {}, 3612, 3612},
        FlightCase{"half a second: truncated by hand, rounded from the clock", at(2024, 7, 18, 8, 0, 0),
                   at(2024, 7, 18, 9, 0, 0, 500), 0, {}, 3600, 3601},
        FlightCase{"just under half a second", at(2024, 7, 18, 8, 0, 0), at(2024, 7, 18, 9, 0, 0, 499), 0, {}, 3600, 3600},
        FlightCase{"a total of exactly 0 stays 0 whatever the variation", at(2024, 7, 18, 8, 0, 0), at(2024, 7, 18, 8, 0, 0),
                   12, {}, 0, 0},
        // The total is made whole seconds first (truncated by hand, rounded from the clock), then tested.
        FlightCase{"0.821 s: 0 whole seconds by hand, 1 from the clock", at(2024, 7, 18, 8, 0, 0),
                   at(2024, 7, 18, 8, 0, 0, 821), 35, {}, 0, 1 - 35},
        FlightCase{"0.4 s: 0 whole seconds either way", at(2024, 7, 18, 8, 0, 0), at(2024, 7, 18, 8, 0, 0, 400), 35, {}, 0, 0},
        FlightCase{"0.3 s before liberation: 0 whole seconds either way", at(2024, 7, 18, 8, 0, 0),
                   at(2024, 7, 18, 7, 59, 59, 700), 35, {}, 0, 0},
        FlightCase{"1.6 s before liberation", at(2024, 7, 18, 8, 0, 0), at(2024, 7, 18, 7, 59, 58, 400), 35, {}, -1 - 35, 0},
        FlightCase{"arrival before liberation", at(2024, 7, 18, 8, 0, 0), at(2024, 7, 18, 7, 58, 55), 0, {}, -65, 0},
        FlightCase{"overnight: the night is neutralised", at(2024, 7, 18, 14, 0, 0), at(2024, 7, 19, 7, 15, 30), 0, TwoDays,
                   28830, 28830},
        FlightCase{"overnight with a row for a third day: it adds nothing", at(2024, 7, 18, 14, 0, 0),
                   at(2024, 7, 19, 7, 15, 30), 0, ThreeDays, 28830, 28830},
        FlightCase{"three days: the middle day adds its daylight", at(2024, 7, 18, 14, 0, 0), at(2024, 7, 20, 7, 15, 30), 0,
                   ThreeDays, 23400 + 53100 + 5430, 23400 + 53100 + 5430},
        FlightCase{"overnight with the clock 12 s ahead", at(2024, 7, 18, 14, 0, 0), at(2024, 7, 19, 7, 15, 30), 12, TwoDays,
                   28818, 28818},
        FlightCase{"overnight without sun rows", at(2024, 7, 18, 14, 0, 0), at(2024, 7, 19, 7, 15, 30), 12, {}, 0, 0},
        FlightCase{"across the turn of the year", at(2024, 12, 31, 14, 0, 0), at(2025, 1, 1, 9, 0, 0), 0,
                   {{QDate(2024, 12, 31), QTime(16, 40), QTime(8, 44)}, {QDate(2025, 1, 1), QTime(16, 41), QTime(8, 45)}},
                   10500, 10500},
        FlightCase{"a row of the same day of another year adds nothing", at(2024, 7, 18, 14, 0, 0),
                   at(2024, 7, 19, 7, 15, 30), 0,
                   {{QDate(2024, 7, 18), QTime(20, 30), QTime(5, 40)}, {QDate(2024, 7, 19), QTime(20, 29), QTime(5, 45)},
                    {QDate(2023, 7, 19), QTime(20, 29), QTime(5, 45)}},
                   28830, 28830}));

TEST(FlightTime, SunRowsAreReadByRaceCodeOnlyForRacesOverSeveralDays)
{
    TestDatabase t;
    t.run(QStringLiteral("INSERT INTO ZAVR_SunSet_SunRise (RaceCode, RaceDate, SunSet, SunRise) VALUES "
                         "('1A2F0718', '2024-07-19 00:00:00', '20:29:00', '05:45:00'), "
                         "('1A2F0718', '2024-07-18 00:00:00', '20:30:00', '05:40:00'), "
                         "('9990718', '2024-07-19 00:00:00', '20:29:00', '01:00:00')"));
    EXPECT_EQ(FlightTime::readSunRowsByDay(t.dm(), QStringLiteral("1A2F0718")).first().day, QDate(2024, 7, 18));
    EXPECT_EQ(FlightTime::CalcuateSecs(t.dm(), 0, at(2024, 7, 19, 7, 15, 30), at(2024, 7, 18, 14, 0, 0),
                                       QStringLiteral("1A2F0718"), Variant::HandEntry),
              28830);
    // A race code with a quote is only a value.
    EXPECT_EQ(FlightTime::CalcuateSecs(t.dm(), 0, at(2024, 7, 19, 7, 15, 30), at(2024, 7, 18, 14, 0, 0),
                                       QStringLiteral("x' OR '1'='1"), Variant::HandEntry),
              0);
    // On the day of liberation the sun rows are not needed.
    t.run(QStringLiteral("DROP TABLE ZAVR_SunSet_SunRise"));
    EXPECT_EQ(FlightTime::CalcuateSecs(t.dm(), 0, at(2024, 7, 18, 9, 0, 0), at(2024, 7, 18, 8, 0, 0),
                                       QStringLiteral("1A2F0718"), Variant::ClockUpload),
              3600);
}

TEST(FlightTime, LiberationMomentFromTheRaceRow)
{
    EXPECT_EQ(FlightTime::liberationMoment(QStringLiteral("2024-07-18 00:00:00"), QStringLiteral("1899-12-30 14:05:09")),
              at(2024, 7, 18, 14, 5, 9));
    EXPECT_EQ(FlightTime::liberationMoment(QStringLiteral("2024-07-18"), QStringLiteral("14:05:09")), at(2024, 7, 18, 14, 5, 9));
    EXPECT_FALSE(FlightTime::liberationMoment(QVariant(), QStringLiteral("14:05:09")).isValid());
    EXPECT_FALSE(FlightTime::liberationMoment(QStringLiteral("2024-07-18"), QStringLiteral("25:00:00")).isValid());
}

TEST(FlightTime, FlyTimeText)
{
    const std::vector<std::pair<qint64, QString>> cases = {
        {3725, QStringLiteral("1:2:5")}, {45296, QStringLiteral("12:34:56")}, {0, QStringLiteral("0:0:0")},
        {-65, QStringLiteral("0:-1:-5")}, {360000, QStringLiteral("100:0:0")}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(FlightTime::FlyTimeText(seconds), text) << seconds;
}

TEST(FlightTime, SpeedPerMinuteAndItsStoredForm)
{
    EXPECT_NEAR(FlightTime::SpeedPerMinute(145200, 28830), 302.18522372528616, 1e-9);
    EXPECT_DOUBLE_EQ(FlightTime::storedSpeed(FlightTime::SpeedPerMinute(145200, 28830)), 302.185);
    EXPECT_DOUBLE_EQ(FlightTime::storedSpeed(1234.56789), 1234.568);
    const std::vector<std::pair<qint64, qint64>> zero = {{0, 100}, {100, 0}, {100, -5}, {-1, 100}};
    for (const auto& [distance, seconds] : zero)
        EXPECT_EQ(FlightTime::SpeedPerMinute(distance, seconds), 0.0) << distance << " " << seconds;
}

}  // namespace
