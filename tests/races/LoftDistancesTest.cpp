#include "CorvelError.h"
#include "LoftDistances.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

const RaceKey Race{QStringLiteral("C1"), QStringLiteral("5"), QDate(2024, 6, 1)};

// A race from point 5 at E120'30:00 N023'30:00 (its point row holds other coordinates: the race
// row's are the ones used).
void addRace(TestDatabase& t, int mode, const QVariant& lon = QStringLiteral("E120'30:00"),
             const QVariant& lat = QStringLiteral("N023'30:00"))
{
    t.run(QStringLiteral("INSERT INTO ZAVR_ClubData (ClubID, ClubName, Mode) VALUES ('C1', 'North', ?)"), {mode});
    t.run(QStringLiteral("INSERT INTO ZAVR_LiberateSite VALUES ('5', 'Site', 'S', 'E001''00:00', 'N001''00:00')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_RaceData (ClubID, LiberCode, LiberDate, LiberLon, LiberLat) "
                         "VALUES ('C1', '5', '2024-06-01 00:00:00', ?, ?)"),
          {lon, lat});
}

void addLoft(TestDatabase& t, const QString& loftNo, const QVariant& lon, const QVariant& lat, bool withRow = true)
{
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName, LoftLon, LoftLat) VALUES (?, ?, ?, ?)"),
          {loftNo, loftNo, lon, lat});
    if (withRow)
        t.run(QStringLiteral("INSERT INTO ZAVR_LoftLibPointDist (LiberCode, LoftNo, Miles, Yards) VALUES ('5', ?, 7, 7777)"),
              {loftNo});
}

std::pair<int, int> distance(TestDatabase& t, const QString& loftNo)
{
    QSqlQuery q = t.dm().exec(QStringLiteral("SELECT Miles, Yards FROM ZAVR_LoftLibPointDist WHERE LiberCode = '5' AND LoftNo = ?"),
                              {loftNo});
    if (!q.next())
        return {-1, -1};
    return {q.value(0).toInt(), q.value(1).toInt()};
}

TEST(DistanceColumns, FollowTheClubsMode)
{
    struct Case {
        int metres;
        bool yards;
        int miles;
        int yardsOrMetres;
    };
    const std::vector<Case> cases = {{132771, true, 82, 145200}, {132771, false, 132, 132771},
                                     {110948, true, 68, 121334}, {110948, false, 110, 110948},
                                     {0, true, 0, 0},             {999, false, 0, 999}};
    for (const Case& c : cases) {
        const LoftDistanceColumns d = distanceColumns(c.metres, c.yards);
        EXPECT_EQ(d.miles, c.miles) << c.metres << (c.yards ? " yards" : " metres");
        EXPECT_EQ(d.yards, c.yardsOrMetres) << c.metres << (c.yards ? " yards" : " metres");
    }
}

TEST(LoftDistUpdate, StoresEveryMembersDistanceInTheClubsUnits)
{
    // Yards mode is Mode 1; any other mode is metres, as the titles of the grids and lists say.
    for (const auto& [mode, expected] :
         std::vector<std::pair<int, std::pair<int, int>>>{{1, {82, 145200}}, {0, {132, 132771}}, {2, {132, 132771}}}) {
        SCOPED_TRACE(mode);
        TestDatabase t;
        addRace(t, mode);
        addLoft(t, QStringLiteral("L1"), QStringLiteral("E121'23:24.33"), QStringLiteral("N024'22:30.44"));
        addLoft(t, QStringLiteral("SAME"), QStringLiteral("E120'30:00.00"), QStringLiteral("N023'30:00.00"));
        const LoftDistUpdateResult r = LoftDistUpdate(t.dm(), Race);
        EXPECT_EQ(distance(t, QStringLiteral("L1")), expected);
        EXPECT_EQ(distance(t, QStringLiteral("SAME")), std::make_pair(0, 0));
        EXPECT_EQ(r.membersUpdated, 2);
        EXPECT_TRUE(r.messages.isEmpty());
    }
}

TEST(LoftDistUpdate, SkipsNullLongitudeZeroesBadCoordinatesAndAddsMissingRows)
{
    TestDatabase t;
    addRace(t, 1);
    addLoft(t, QStringLiteral("NULLLON"), QVariant(), QStringLiteral("N024'22:30.44"));    // keeps 7 / 7777
    addLoft(t, QStringLiteral("BLANKLAT"), QStringLiteral("E121'23:24.33"), QStringLiteral("    '  :  .  "));
    addLoft(t, QStringLiteral("NULLLAT"), QStringLiteral("E121'23:24.33"), QVariant());
    addLoft(t, QStringLiteral("BADLON"), QStringLiteral("E12X'23:24.33"), QStringLiteral("N024'22:30.44"));
    addLoft(t, QStringLiteral("NOROW"), QStringLiteral("E121'23:24.33"), QStringLiteral("N024'22:30.44"), false);

    const LoftDistUpdateResult r = LoftDistUpdate(t.dm(), Race);

    EXPECT_EQ(distance(t, QStringLiteral("NULLLON")), std::make_pair(7, 7777));
    EXPECT_EQ(distance(t, QStringLiteral("BLANKLAT")), std::make_pair(0, 0));
    EXPECT_EQ(distance(t, QStringLiteral("NULLLAT")), std::make_pair(0, 0));
    EXPECT_EQ(distance(t, QStringLiteral("BADLON")), std::make_pair(0, 0));
    EXPECT_EQ(distance(t, QStringLiteral("NOROW")), std::make_pair(82, 145200));
    EXPECT_EQ(r.membersSkipped, 1);
    EXPECT_EQ(r.rowsAdded, 1);
    EXPECT_EQ(r.messages, QStringList{QStringLiteral("Invalid character in degrees field in string E12X'23:24.33")});
}

TEST(LoftDistUpdate, BlankRaceCoordinateGivesTheMessageOncePerMember)
{
    TestDatabase t;
    addRace(t, 0, QStringLiteral("    '  :  "), QStringLiteral("    '  :  "));
    addLoft(t, QStringLiteral("L1"), QStringLiteral("E121'23:24.33"), QStringLiteral("N024'22:30.44"));
    addLoft(t, QStringLiteral("L2"), QStringLiteral("E121'23:24.33"), QStringLiteral("N024'22:30.44"));
    const LoftDistUpdateResult r = LoftDistUpdate(t.dm(), Race);
    EXPECT_EQ(r.messages.size(), 2);
    EXPECT_EQ(distance(t, QStringLiteral("L1")), std::make_pair(0, 0));
    EXPECT_EQ(distance(t, QStringLiteral("L2")), std::make_pair(0, 0));
}

TEST(LoftDistUpdate, NullRaceCoordinatesGiveZeroWithoutMessage)
{
    TestDatabase t;
    addRace(t, 0, QVariant(), QVariant());
    addLoft(t, QStringLiteral("L1"), QStringLiteral("E121'23:24.33"), QStringLiteral("N024'22:30.44"));
    const LoftDistUpdateResult r = LoftDistUpdate(t.dm(), Race);
    EXPECT_TRUE(r.messages.isEmpty());
    EXPECT_EQ(distance(t, QStringLiteral("L1")), std::make_pair(0, 0));
}

TEST(LoftDistUpdate, RaceThatCannotBeFoundIsRefusedAndNothingChanges)
{
    TestDatabase t;
    addRace(t, 0);
    addLoft(t, QStringLiteral("L1"), QStringLiteral("E121'23:24.33"), QStringLiteral("N024'22:30.44"));
    for (const RaceKey& key : {RaceKey{QStringLiteral("C2"), QStringLiteral("5"), QDate(2024, 6, 1)},
                               RaceKey{QStringLiteral("C1"), QStringLiteral("5"), QDate(2024, 6, 2)}}) {
        EXPECT_THROW(LoftDistUpdate(t.dm(), key), CorvelError);
        EXPECT_EQ(distance(t, QStringLiteral("L1")), std::make_pair(7, 7777));
    }
}

TEST(SaveLoftDistance, StoresTheTypedValuesOrRefusesAMissingRow)
{
    TestDatabase t;
    addLoft(t, QStringLiteral("L1"), QVariant(), QVariant());
    saveLoftDistance(t.dm(), QStringLiteral("5"), QStringLiteral("L1"), 12, 12345);
    EXPECT_EQ(distance(t, QStringLiteral("L1")), std::make_pair(12, 12345));
    EXPECT_THROW(saveLoftDistance(t.dm(), QStringLiteral("6"), QStringLiteral("L1"), 1, 1), CorvelError);
}

}  // namespace
