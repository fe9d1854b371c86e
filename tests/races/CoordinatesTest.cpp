#include "Coordinates.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* name;
    QString text;
    bool ok;
    double value;
    QString message;  // empty: no message expected
};

const QString Blank = QStringLiteral("    '  :  ");

class ParseCoordinateTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCoordinateTest, ReadsTheTextOrReportsWhy)
{
    const ParseCase& c = GetParam();
    double value = 99;
    QStringList messages;
    EXPECT_EQ(ParseCoordinate(c.text, value, &messages), c.ok);
    EXPECT_NEAR(value, c.value, 1e-9);
    if (c.message.isEmpty())
        EXPECT_TRUE(messages.isEmpty()) << messages.join(QStringLiteral("|")).toStdString();
    else
        EXPECT_EQ(messages, QStringList{c.message});
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ParseCoordinateTest,
    ::testing::Values(
        ParseCase{"PointLongitude", QStringLiteral("E121'23:24"), true, 121.39, {}},
        ParseCase{"LoftLatitudeWithHundredths", QStringLiteral("N024'22:30.44"), true, 24 + 22 / 60.0 + 30.44 / 3600, {}},
        ParseCase{"SpacedWithTrailingWest", QStringLiteral("121 23 24 W"), true, -121.39, {}},
        ParseCase{"TrailingLetterWithoutSpace", QStringLiteral("121'23:24E"), true, 121.39, {}},
        ParseCase{"DegreeSignAndAcuteAccent", QStringLiteral("E121\u00B023\u00B424"), true, 121.39, {}},
        ParseCase{"LeadingMinus", QStringLiteral("-121'23:24"), true, -121.39, {}},
        ParseCase{"SouthIsNegative", QStringLiteral("S033'52:30"), true, -(33 + 52 / 60.0 + 30 / 3600.0), {}},
        ParseCase{"LowerCaseHemisphere", QStringLiteral("w001'30:00"), true, -1.5, {}},
        ParseCase{"SpacesAndControlsAroundAreIgnored", QStringLiteral("\t E121'23:24 \r\n"), true, 121.39, {}},
        ParseCase{"DegreesOnly", QStringLiteral("N024"), true, 24, {}},
        ParseCase{"DegreesAndMinutes", QStringLiteral("E121'30"), true, 121.5, {}},
        ParseCase{"InvalidMinutes", QStringLiteral("E121'2X:24"), false, 0,
                  QStringLiteral("Invalid character in minutes field in string E121'2X:24")},
        ParseCase{"InvalidSeconds", QStringLiteral("E121'23:2Y"), false, 0,
                  QStringLiteral("Invalid character in seconds field in string E121'23:2Y")},
        ParseCase{"InvalidDegreesQuotesTheTextAsPassed", QStringLiteral(" E1Z1'23:24"), false, 0,
                  QStringLiteral("Invalid character in degrees field in string  E1Z1'23:24")},
        // A number is digits with an optional "." and further digits, and nothing after it.
        ParseCase{"PointWithoutFurtherDigits", QStringLiteral("E121'23:24."), false, 0,
                  QStringLiteral("Invalid character in seconds field in string E121'23:24.")},
        ParseCase{"PointWithoutDigitsBefore", QStringLiteral("E121'23:.5"), false, 0,
                  QStringLiteral("Invalid character in seconds field in string E121'23:.5")},
        ParseCase{"DegreesEndingInAPoint", QStringLiteral("E121.'23:24"), false, 0,
                  QStringLiteral("Invalid character in degrees field in string E121.'23:24")},
        ParseCase{"LineBreakAfterTheDegrees", QStringLiteral("E121\n'23:24"), false, 0,
                  QStringLiteral("Invalid character in degrees field in string E121\n'23:24")},
        ParseCase{"LineBreakAfterTheMinutes", QStringLiteral("E121'23\n:24"), false, 0,
                  QStringLiteral("Invalid character in minutes field in string E121'23\n:24")},
        ParseCase{"FractionAndExponent", QStringLiteral("E121'23:2.4e1"), true, 121.39, {}},
        // Within a degree of the meridian or the equator is a place; all zeros is no coordinate.
        ParseCase{"ZeroWholeDegreesWithMinutes", QStringLiteral("N000'30:00"), true, 0.5, {}},
        ParseCase{"ZeroWholeDegreesWestOfGreenwich", QStringLiteral("W000'07:30.00"), true, -0.125, {}},
        ParseCase{"ZeroWholeDegreesWithSecondsOnly", QStringLiteral("E000'00:36"), true, 0.01, {}},
        ParseCase{"AllZerosCountAsNotGiven", QStringLiteral("N000'00:00.00"), false, 0, {}},
        ParseCase{"AllZerosInvalidMinutesSaySo", QStringLiteral("N000'0X:00"), false, 0,
                  QStringLiteral("Invalid character in minutes field in string N000'0X:00")},
        ParseCase{"EmptyText", QString(), false, 0, {}},
        ParseCase{"OnlySpaces", QStringLiteral("   "), false, 0, {}},
        ParseCase{"BlankMaskText", Blank, false, 0, QStringLiteral("Invalid character in degrees field in string ") + Blank}),
    [](const ::testing::TestParamInfo<ParseCase>& param) { return std::string(param.param.name); });

TEST(ParseCoordinate, WorksWithoutAMessageList)
{
    double value = 1;
    EXPECT_FALSE(ParseCoordinate(QStringLiteral("E1X1'00:00"), value));
    EXPECT_EQ(value, 0);
}

TEST(CoordDistanceKm, UsesTheFixedKilometreFactors)
{
    EXPECT_DOUBLE_EQ(CoordDistanceKm(0, 1, 0, 0), 110.9481458);   // one degree of latitude
    EXPECT_DOUBLE_EQ(CoordDistanceKm(0, 0, 1, 0), 111.3200144);   // one degree of longitude at the equator
    EXPECT_DOUBLE_EQ(CoordDistanceKm(5, 50, 5, 50), 0);
    EXPECT_DOUBLE_EQ(CoordDistanceKm(121.39, 24.37, 120.5, 23.5), CoordDistanceKm(120.5, 23.5, 121.39, 24.37));
    // The square root is correctly rounded, to the last place (a power of 0.5 misses it here).
    EXPECT_EQ(CoordDistanceKm(0.02, 1.17, 0, 0), 129.82841804487765);
    EXPECT_EQ(CoordDistanceKm(0.07, 0.29, 0, 0), 33.105119445940986);
}

struct MetresCase {
    const char* name;
    QString loftLon, loftLat, pointLon, pointLat;
    int metres;
    int messageCount;
};

class LoftDistanceMetresTest : public ::testing::TestWithParam<MetresCase> {};

TEST_P(LoftDistanceMetresTest, GivesWholeMetresOrZero)
{
    const MetresCase& c = GetParam();
    QStringList messages;
    EXPECT_EQ(LoftDistanceMetres(c.loftLon, c.loftLat, c.pointLon, c.pointLat, &messages), c.metres);
    EXPECT_EQ(messages.size(), c.messageCount) << messages.join(QStringLiteral("|")).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Places, LoftDistanceMetresTest,
    ::testing::Values(
        MetresCase{"ClubExample", QStringLiteral("E121'23:24.33"), QStringLiteral("N024'22:30.44"),
                   QStringLiteral("E120'30:00"), QStringLiteral("N023'30:00"), 132771, 0},
        MetresCase{"OneDegreeOfLatitude", QStringLiteral("E004'00:00.00"), QStringLiteral("N051'00:00.00"),
                   QStringLiteral("E004'00:00"), QStringLiteral("N050'00:00"), 110948, 0},
        MetresCase{"SamePlace", QStringLiteral("E121'23:24.00"), QStringLiteral("N024'22:30.00"),
                   QStringLiteral("E121'23:24"), QStringLiteral("N024'22:30"), 0, 0},
        MetresCase{"WestAndSouthAcrossZero", QStringLiteral("W001'00:00.00"), QStringLiteral("S001'00:00.00"),
                   QStringLiteral("E001'00:00"), QStringLiteral("S001'00:00"), 222606, 0},
        MetresCase{"BlankLoftLatitudeSilent", QStringLiteral("E121'23:24.33"), QStringLiteral("    '  :  .  "),
                   QStringLiteral("E120'30:00"), QStringLiteral("N023'30:00"), 0, 0},
        MetresCase{"BlankLoftLongitudeMessage", QStringLiteral("    '  :  .  "), QStringLiteral("N024'22:30.44"),
                   QStringLiteral("E120'30:00"), QStringLiteral("N023'30:00"), 0, 1},
        MetresCase{"InvalidLoftLatitudeStopsAtFirst", QStringLiteral("E12X'23:24.33"), QStringLiteral("N0Y4'22:30.44"),
                   QStringLiteral("E120'30:00"), QStringLiteral("N023'30:00"), 0, 1},
        MetresCase{"NullPointCoordinatesSilent", QStringLiteral("E121'23:24.33"), QStringLiteral("N024'22:30.44"),
                   QString(), QString(), 0, 0},
        MetresCase{"BlankPointLatitudeMessage", QStringLiteral("E121'23:24.33"), QStringLiteral("N024'22:30.44"),
                   QStringLiteral("E120'30:00"), QStringLiteral("    '  :  "), 0, 1},
        // A loft in London and a point in Paris, both within a degree of the meridian.
        MetresCase{"LongitudesBelowOneDegree", QStringLiteral("W000'07:30.00"), QStringLiteral("N051'30:00.00"),
                   QStringLiteral("E002'21:00"), QStringLiteral("N048'51:00"), 342874, 0},
        MetresCase{"AcrossTheMeridianWithinADegree", QStringLiteral("W000'30:00.00"), QStringLiteral("N051'00:00.00"),
                   QStringLiteral("E000'30:00"), QStringLiteral("N051'00:00"), 70055, 0},
        MetresCase{"AllZeroLatitudeCountsAsNotGiven", QStringLiteral("E121'23:24.33"),
                   QStringLiteral("N000'00:00.00"), QStringLiteral("E120'30:00"), QStringLiteral("N023'30:00"), 0, 0}),
    [](const ::testing::TestParamInfo<MetresCase>& param) { return std::string(param.param.name); });

}  // namespace
