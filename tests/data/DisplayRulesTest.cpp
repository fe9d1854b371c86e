#include "DisplayRules.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayRules, DistanceText)
{
    const std::vector<std::pair<QVariant, QString>> cases = {
        {QVariant(), QString()},
        {QVariant(QMetaType::fromType<int>()), QString()},  // a null number
        {0, QStringLiteral("0")},
        {999, QStringLiteral("999")},
        {1234, QStringLiteral("1,234")},
        {1234567, QStringLiteral("1,234,567")},
        {-1234, QStringLiteral("-1,234")},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(DisplayRules::distanceText(value), text) << value.toString().toStdString();
}

TEST(DisplayRules, MemberNameOfALoftNumber)
{
    TestDatabase t;
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('L1', 'Jan Peeters')"));
    const LoftNameLookup lookup(t.dm());
    const std::vector<std::pair<QVariant, QString>> cases = {
        {QStringLiteral("L1"), QStringLiteral("Jan Peeters")},
        {QStringLiteral("l1"), QString()},  // whole values must match
        {QStringLiteral("L9"), QString()},
        {QVariant(), QString()},
    };
    for (const auto& [loftNo, name] : cases) {
        EXPECT_EQ(DisplayRules::memberName(t.dm(), loftNo), name) << loftNo.toString().toStdString();
        EXPECT_EQ(lookup.name(loftNo), name) << loftNo.toString().toStdString();
    }
}

TEST(DisplayRules, RaceEntries)
{
    EXPECT_EQ(DisplayRules::backTimeText(QStringLiteral("2024/07/19 07:15:30")), QStringLiteral("07:15:30"));
    EXPECT_EQ(DisplayRules::backTimeText(QVariant()), QString());
    EXPECT_EQ(DisplayRules::flySpeedText(0.0), QString());
    EXPECT_EQ(DisplayRules::flySpeedText(QVariant()), QString());
    EXPECT_EQ(DisplayRules::flySpeedText(302.185), QStringLiteral(" 302.185"));
    EXPECT_EQ(DisplayRules::flySpeedText(1302.1855), QStringLiteral("1,302.186"));
    EXPECT_EQ(DisplayRules::ringPartsText(QStringLiteral("BELG"), QStringLiteral("24"), QString(), QStringLiteral("1234567")),
              QStringLiteral("BELG 24  1234567"));
}

TEST(DisplayRules, DateTimeText)
{
    const std::vector<std::pair<QVariant, QString>> cases = {
        {QStringLiteral("2025-04-01 08:05:09"), QStringLiteral("2025/04/01 08:05:09")},
        {QStringLiteral("2025-04-01 00:00:00"), QStringLiteral("2025/04/01")},  // midnight: the date alone
        {QVariant(), QString()},
        {QStringLiteral("not a date"), QStringLiteral("not a date")},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(DisplayRules::dateTimeText(value), text) << value.toString().toStdString();
}

TEST(DisplayRules, ColourNamesAreReadOnceAndRingsShowTheirParts)
{
    TestDatabase t;
    t.run(QStringLiteral("INSERT INTO ZAVR_FeatherColor (ColorType, FeathColor) VALUES ('BLU', 'Blue'), ('RED', 'Red')"));
    const ColourNameLookup colours(t.dm());
    // Later rows do not change what was read.
    t.run(QStringLiteral("DELETE FROM ZAVR_FeatherColor"));
    EXPECT_EQ(colours.name(QStringLiteral("BLU")), QStringLiteral("Blue"));
    for (const QVariant& code : {QVariant(QStringLiteral("XX")), QVariant(QString()), QVariant()})
        EXPECT_EQ(colours.name(code), QStringLiteral("Other")) << code.toString().toStdString();

    RingPartsLookup rings;
    rings.add(QStringLiteral("BELG241234567"), QStringLiteral("BELG"), QStringLiteral("24"), QVariant(), QStringLiteral("1234567"));
    EXPECT_EQ(rings.text(QStringLiteral("BELG241234567")), QStringLiteral("BELG 24  1234567"));
    EXPECT_EQ(rings.text(QStringLiteral("ZZ-GONE")), QStringLiteral("ZZ-GONE"));  // not in the register
    EXPECT_EQ(rings.text(QVariant()), QString());
}

}  // namespace
