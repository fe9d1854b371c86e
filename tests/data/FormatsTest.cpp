#include "Formats.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

struct PatternCase {
    const char* pattern;
    const char* expected;
    friend void PrintTo(const PatternCase& c, std::ostream* os) { *os << c.pattern; }
};

class FormatPatterns : public ::testing::TestWithParam<PatternCase> {};

TEST_P(FormatPatterns, FormatsAMomentWithTheProgramsLetters)
{
    const QDateTime moment(QDate(2024, 5, 3), QTime(8, 5, 9));
    EXPECT_EQ(Formats::formatDateTime(QString::fromUtf8(GetParam().pattern), moment).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Patterns, FormatPatterns,
                         ::testing::Values(PatternCase{"yyyy/mm/dd", "2024/05/03"},
                                           PatternCase{"yymmdd", "240503"},
                                           PatternCase{"yyyymmdd", "20240503"},
                                           PatternCase{"mmdd", "0503"},
                                           PatternCase{"hh:nn:ss", "08:05:09"},
                                           PatternCase{"hh:mm", "08:05"},  // minutes right after the hour
                                           PatternCase{"ddddd", "2024/05/03"},
                                           PatternCase{"tt", "08:05:09"},
                                           PatternCase{"ddddd tt", "2024/05/03 08:05:09"},
                                           PatternCase{"c", "2024/05/03 08:05:09"},
                                           PatternCase{"yyyy\"-\"mm", "2024-05"},
                                           PatternCase{"dd 'at' hh", "03 at 08"}));

TEST(Formats, DateAndTimeCLeavesOutMidnight)
{
    EXPECT_EQ(Formats::dateTimeC(QDateTime(QDate(2024, 12, 31), QTime(0, 0))), QStringLiteral("2024/12/31"));
    EXPECT_EQ(Formats::dateTimeC(QDateTime(QDate(2024, 12, 31), QTime(0, 0, 1))), QStringLiteral("2024/12/31 00:00:01"));
    EXPECT_EQ(Formats::dateTimeC(QDateTime()), QString());
}

TEST(Formats, NumbersUseFixedSeparatorsWhateverTheDesktopLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Formats::formatNumber(1234), QStringLiteral("1,234.00"));
    EXPECT_EQ(Formats::formatNumber(1234567.891, 3), QStringLiteral("1,234,567.891"));
    EXPECT_EQ(Formats::formatNumber(-1234.5), QStringLiteral("-1,234.50"));
    EXPECT_EQ(Formats::formatNumber(-0.001), QStringLiteral("0.00"));
    EXPECT_EQ(Formats::formatNumber(0, 0), QStringLiteral("0"));
    EXPECT_EQ(Formats::formatNumberWidth(12.5, 8, 3), QStringLiteral("  12.500"));
    EXPECT_EQ(Formats::formatNumberWidth(12345.5, 8, 3), QStringLiteral("12,345.500"));
    QLocale::setDefault(saved);
}

TEST(Formats, StorageFormsRoundTrip)
{
    const QDateTime moment = Formats::moment(QDate(2024, 5, 3), QTime(23, 59, 58));
    EXPECT_EQ(Formats::toDbDateTime(moment), QStringLiteral("2024-05-03 23:59:58"));
    EXPECT_EQ(Formats::fromDbDateTime(Formats::toDbDateTime(moment)), moment);
    EXPECT_EQ(Formats::fromDbDateTime(QStringLiteral("2024-05-03")), Formats::moment(QDate(2024, 5, 3), QTime(0, 0)));
    EXPECT_EQ(Formats::toDbMidnight(QDate(2024, 5, 3)), QStringLiteral("2024-05-03 00:00:00"));
    EXPECT_EQ(Formats::toDbMidnight(QDate()), QString());
    EXPECT_EQ(Formats::toWholeSecond(QDateTime(QDate(2024, 5, 3), QTime(23, 59, 58, 999))), moment);
    EXPECT_EQ(Formats::fromDbDate(QStringLiteral("2024-05-03 07:00:00")), QDate(2024, 5, 3));
    EXPECT_EQ(Formats::fromDbTime(QStringLiteral("07:01:02")), QTime(7, 1, 2));
    EXPECT_EQ(Formats::fromDbTime(QStringLiteral("2024-05-03 07:01:02")), QTime(7, 1, 2));
    EXPECT_FALSE(Formats::fromDbDateTime(QVariant()).isValid());
    EXPECT_FALSE(Formats::fromDbDateTime(QStringLiteral("not a date")).isValid());
    EXPECT_FALSE(Formats::fromDbTime(QVariant()).isValid());
}

TEST(Formats, ReadShortDateRefusesADayThatDoesNotExistAndSaysWhy)
{
    const struct {
        const char* typed;
        QDate date;
        const char* reason;
    } cases[] = {
        {"2026/02/28", QDate(2026, 2, 28), ""},
        {"2024/02/29", QDate(2024, 2, 29), ""},  // a leap year
        {"2026/7/5", QDate(2026, 7, 5), ""},
        {" 2026/12/31 ", QDate(2026, 12, 31), ""},
        {"2026/02/30", QDate(), "\"2026/02/30\" is not a date: February 2026 has 28 days."},
        {"2026/02/29", QDate(), "\"2026/02/29\" is not a date: February 2026 has 28 days."},
        {"2026/04/31", QDate(), "\"2026/04/31\" is not a date: April 2026 has 30 days."},
        {"2026/06/00", QDate(), "\"2026/06/00\" is not a date: June 2026 has 30 days."},
        {"2026/13/01", QDate(), "\"2026/13/01\" is not a date: there is no month 13."},
        {"2026/00/10", QDate(), "\"2026/00/10\" is not a date: there is no month 0."},
        {"0000/01/01", QDate(), "\"0000/01/01\" is not a date: there is no year 0."},
        {"2026-02-03", QDate(), "\"2026-02-03\" is not a date: enter it as yyyy/mm/dd."},
        {"2026/02/03\n", QDate(2026, 2, 3), ""},  // trimmed like any typed text
        {"2026/02/033", QDate(), "\"2026/02/033\" is not a date: enter it as yyyy/mm/dd."},
        {"26/02/03", QDate(), "\"26/02/03\" is not a date: enter it as yyyy/mm/dd."},
        {"2026/\u0662/03", QDate(), "\"2026/\u0662/03\" is not a date: enter it as yyyy/mm/dd."},  // ASCII digits only
        {"", QDate(), "Enter a date as yyyy/mm/dd."},
    };
    for (const auto& c : cases) {
        QString reason = QStringLiteral("left over");
        EXPECT_EQ(Formats::readShortDate(QString::fromUtf8(c.typed), &reason), c.date) << c.typed;
        EXPECT_EQ(reason.toStdString(), std::string(c.reason)) << c.typed;
    }
    EXPECT_FALSE(Formats::readShortDate(QStringLiteral("2026/02/30")).isValid());
}

TEST(Formats, MomentsAreDatesAndTimesOfDayWithoutAZone)
{
    const QDateTime m = Formats::moment(QDate(2026, 3, 29), QTime(2, 30));
    EXPECT_EQ(m.timeSpec(), Qt::UTC);
    EXPECT_FALSE(Formats::moment(QDate(), QTime(2, 30)).isValid());
    EXPECT_FALSE(Formats::moment(QDate(2026, 3, 29), QTime()).isValid());
    EXPECT_EQ(Formats::msecsBetween(Formats::moment(QDate(2026, 3, 28), QTime(23, 59, 59, 500)), m), 9000500);
    EXPECT_EQ(Formats::msecsBetween(m, Formats::moment(QDate(2026, 3, 28), QTime(23, 59, 59, 500))), -9000500);
    // Whatever zone a date-time carries, only its date and time of day count.
    EXPECT_EQ(Formats::msecsBetween(QDateTime(QDate(2026, 3, 29), QTime(1, 0), Qt::OffsetFromUTC, 3600), m), 5400000);
    EXPECT_EQ(Formats::asMoment(QDateTime(QDate(2026, 3, 29), QTime(2, 30), Qt::OffsetFromUTC, -10800)), m);
    EXPECT_EQ(Formats::toWholeSecond(Formats::moment(QDate(2026, 3, 29), QTime(2, 30, 0, 999))), m);

    EXPECT_EQ(Formats::readShortDateLongTime(QStringLiteral("2026/03/29 02:30:00")), m);
    EXPECT_FALSE(Formats::readShortDateLongTime(QStringLiteral("2026/02/30 02:30:00")).isValid());
    EXPECT_FALSE(Formats::readShortDateLongTime(QStringLiteral("2026/03/29")).isValid());
    EXPECT_FALSE(Formats::readShortDateLongTime(QStringLiteral("2026/03/29 25:00:00")).isValid());
    EXPECT_EQ(Formats::fromDbDateTime(QStringLiteral("2026-03-29 02:30:00")), m);
    EXPECT_EQ(Formats::fromDbDateTime(QStringLiteral("2026-03-29T02:30:00")), m);
    EXPECT_EQ(Formats::fromDbDateTime(QStringLiteral("2026-03-29 02:30")), m);
    EXPECT_EQ(Formats::fromDbDateTime(QStringLiteral("2026-03-29 02:30:00.250")), m.addMSecs(250));
    EXPECT_FALSE(Formats::fromDbDateTime(QStringLiteral("2026-03-29X02:30:00")).isValid());
    EXPECT_FALSE(Formats::fromDbDateTime(QStringLiteral("2026-03-29 nonsense")).isValid());
}

}  // namespace
