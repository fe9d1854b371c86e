#include "ListColumns.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

TEST(ListColumns, SpeedTitleFollowsTheClubsUnit)
{
    // Yards mode is Mode 1; any other mode is metres.
    for (const auto& [mode, title] : {std::pair{0, "MPM"}, std::pair{1, "Yds/Min"}, std::pair{2, "MPM"}}) {
        ClubSettings club;
        club.Mode = mode;
        EXPECT_EQ(resultSpeedTitle(club), QString::fromLatin1(title)) << mode;
        const GridColumns columns = ListColumns::raceResult(club, {}, {});
        const GridColumn* speed = findColumn(columns, QStringLiteral("FlySpeed"));
        ASSERT_NE(speed, nullptr);
        EXPECT_EQ(speed->title, QString::fromLatin1(title)) << mode;
    }
}

TEST(ListColumns, DistanceTitlesFollowTheClubsUnit)
{
    EXPECT_EQ(distanceTitles(true), (QStringList{QStringLiteral("Miles"), QStringLiteral("Yards")}));
    EXPECT_EQ(distanceTitles(false), (QStringList{QStringLiteral("KM"), QStringLiteral("M")}));
}

}  // namespace
