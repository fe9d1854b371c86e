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
    const QDateTime moment(QDate(2024, 5, 3), QTime(23, 59, 58));
    EXPECT_EQ(Formats::toDbDateTime(moment), QStringLiteral("2024-05-03 23:59:58"));
    EXPECT_EQ(Formats::fromDbDateTime(Formats::toDbDateTime(moment)), moment);
    EXPECT_EQ(Formats::fromDbDateTime(QStringLiteral("2024-05-03")), QDateTime(QDate(2024, 5, 3), QTime(0, 0)));
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

}  // namespace
