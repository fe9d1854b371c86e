#include "ListColumns.h"
#include "TdmZAVR.h"

#include <gtest/gtest.h>

namespace {

TEST(ListColumns, SpeedTitleFollowsTheClubsUnit)
{
    ClubSettings metres;
    ClubSettings yards;
    yards.Mode = 1;
    EXPECT_EQ(resultSpeedTitle(metres), QStringLiteral("MPM"));
    EXPECT_EQ(resultSpeedTitle(yards), QStringLiteral("Yds/Min"));
}

TEST(ListColumns, DistanceTitlesFollowTheClubsUnit)
{
    EXPECT_EQ(distanceTitles(true), (QStringList{QStringLiteral("Miles"), QStringLiteral("Yards")}));
    EXPECT_EQ(distanceTitles(false), (QStringList{QStringLiteral("KM"), QStringLiteral("M")}));
}

}  // namespace
