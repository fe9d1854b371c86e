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

}  // namespace
