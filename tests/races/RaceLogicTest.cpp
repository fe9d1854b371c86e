#include "CorvelError.h"
#include "RaceLogic.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

const QDateTime Now(QDate(2024, 8, 1), QTime(9, 30, 0));

int count(TestDatabase& t, const QString& table, const QString& where = QStringLiteral("1"))
{
    return t.dm().scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(table, where)).toInt();
}

void addClubAndMembers(TestDatabase& t)
{
    t.run(QStringLiteral("INSERT INTO ZAVR_ClubMap (ClubID, ClubName) VALUES ('C1', 'North Club'), ('C2', 'South Club')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('L1', 'Peeters'), ('L2', 'Adams')"));
}

RaceInput newPointRace()
{
    return RaceInput{QStringLiteral("North Club"), QStringLiteral("1A2F"), QStringLiteral("Quievrain"),
                     QStringLiteral("QVR"), QStringLiteral("E120'30:00"), QStringLiteral("N023'30:00"),
                     QDate(2024, 8, 19), QTime(7, 15, 0)};
}

TEST(RaceCode, IsTheCodeFollowedByMonthAndDay)
{
    EXPECT_EQ(RaceCode(QStringLiteral("1A2F"), QDate(2024, 8, 19)), QStringLiteral("1A2F0819"));
    EXPECT_EQ(RaceCode(QStringLiteral("12"), QDate(2023, 3, 5)), QStringLiteral("120305"));
}

TEST(LiberationCode, AcceptsOneToFourDigitsOrUpperCaseAToF)
{
    const std::vector<std::pair<QString, bool>> cases = {
        {QStringLiteral("1"), true},     {QStringLiteral("1A2F"), true}, {QStringLiteral("FFFF"), true},
        {QString(), false},              {QStringLiteral("1a"), false},  {QStringLiteral("1G"), false},
        {QStringLiteral("12345"), false}, {QStringLiteral("1 2"), false}};
    for (const auto& [code, valid] : cases)
        EXPECT_EQ(isValidLiberationCode(code), valid) << code.toStdString();
}

TEST(SaveRace, NewCodeCreatesThePointWithADistanceRowPerMemberAndTheRace)
{
    TestDatabase t;
    addClubAndMembers(t);
    EXPECT_EQ(saveRace(t.dm(), newPointRace(), Now), RaceSaveResult::NewPointAndRace);

    QSqlQuery point = t.dm().exec(QStringLiteral("SELECT LiberCode, LiberSite, LiberSiteAbbr, LiberLon, LiberLat FROM ZAVR_LiberateSite"));
    ASSERT_TRUE(point.next());
    EXPECT_EQ(point.value(0).toString(), QStringLiteral("1A2F"));
    EXPECT_EQ(point.value(1).toString(), QStringLiteral("Quievrain"));
    EXPECT_EQ(point.value(2).toString(), QStringLiteral("QVR"));
    EXPECT_EQ(point.value(3).toString(), QStringLiteral("E120'30:00"));
    EXPECT_EQ(point.value(4).toString(), QStringLiteral("N023'30:00"));
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_LoftLibPointDist"),
                    QStringLiteral("LiberCode = '1A2F' AND Miles = 0 AND Yards = 0 AND LoftNo IN ('L1', 'L2')")),
              2);

    QSqlQuery race = t.dm().exec(QStringLiteral("SELECT ClubID, LiberCode, LiberSite, LiberSiteAbbr, LiberDate, LiberTime, "
                                                "LiberLon, LiberLat, Updatetime, SynchFlag, RaceCode FROM ZAVR_RaceData"));
    ASSERT_TRUE(race.next());
    EXPECT_EQ(race.value(0).toString(), QStringLiteral("C1"));
    EXPECT_EQ(race.value(1).toString(), QStringLiteral("1A2F"));
    EXPECT_EQ(race.value(2).toString(), QStringLiteral("Quievrain"));
    EXPECT_EQ(race.value(3).toString(), QStringLiteral("QVR"));
    EXPECT_EQ(race.value(4).toString(), QStringLiteral("2024-08-19 00:00:00"));
    EXPECT_EQ(race.value(5).toString(), QStringLiteral("07:15:00"));
    EXPECT_EQ(race.value(6).toString(), QStringLiteral("E120'30:00"));
    EXPECT_EQ(race.value(7).toString(), QStringLiteral("N023'30:00"));
    EXPECT_EQ(race.value(8).toString(), QStringLiteral("2024-08-01 09:30:00"));
    EXPECT_EQ(race.value(9).toInt(), 1);
    EXPECT_EQ(race.value(10).toString(), QStringLiteral("1A2F0819"));
    EXPECT_FALSE(race.next());
}

TEST(SaveRace, BlankLongitudeStoresPointAndRaceWithoutCoordinates)
{
    TestDatabase t;
    addClubAndMembers(t);
    RaceInput input = newPointRace();
    input.liberLon = QStringLiteral("    '  :  ");
    input.liberLat = QStringLiteral("N023'30:00");
    saveRace(t.dm(), input, Now);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_LiberateSite"), QStringLiteral("LiberLon IS NULL AND LiberLat IS NULL")), 1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData"), QStringLiteral("LiberLon IS NULL AND LiberLat IS NULL")), 1);
}

TEST(SaveRace, RefusedInputWritesNothing)
{
    struct Case {
        const char* name;
        std::function<void(RaceInput&)> change;
        QString message;  // empty: any message
    };
    const std::vector<Case> cases = {
        {"NewPointWithoutAbbreviation", [](RaceInput& in) { in.liberSiteAbbr.clear(); },
         QStringLiteral("Set new liberate point find data entry error !")},
        {"NewPointWithoutSite", [](RaceInput& in) { in.liberSite.clear(); },
         QStringLiteral("Set new liberate point find data entry error !")},
        {"NewPointWithoutCode", [](RaceInput& in) { in.liberCode.clear(); },
         QStringLiteral("Set new liberate point find data entry error !")},
        {"UnknownClub", [](RaceInput& in) { in.clubName = QStringLiteral("Nobody's Club"); }, {}},
        // The point's site column is wider than the race's: the race insert fails after the point.
        {"SiteTooLongForTheRace", [](RaceInput& in) { in.liberSite = QString(25, QLatin1Char('S')); },
         QStringLiteral("The value of LiberSite is not accepted: at most 20 characters.")},
        {"AbbreviationTooLong", [](RaceInput& in) { in.liberSiteAbbr = QString(11, QLatin1Char('A')); },
         QStringLiteral("The value of LiberSiteAbbr is not accepted: at most 10 characters.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestDatabase t;
        addClubAndMembers(t);
        RaceInput input = newPointRace();
        c.change(input);
        try {
            saveRace(t.dm(), input, Now);
            ADD_FAILURE() << "saved";
        } catch (const CorvelError& e) {
            if (!c.message.isEmpty())
                EXPECT_EQ(e.text(), c.message);
            else
                EXPECT_TRUE(e.text().contains(input.clubName)) << e.text().toStdString();
        }
        EXPECT_EQ(count(t, QStringLiteral("ZAVR_LiberateSite")), 0);
        EXPECT_EQ(count(t, QStringLiteral("ZAVR_LoftLibPointDist")), 0);
        EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData")), 0);
    }
}

TEST(SaveRace, ExistingPointIsNeverChangedByARace)
{
    TestDatabase t;
    addClubAndMembers(t);
    saveRace(t.dm(), newPointRace(), Now);
    RaceInput second = newPointRace();
    second.liberDate = QDate(2024, 9, 2);
    second.liberSite = QStringLiteral("Other name");
    second.liberSiteAbbr.clear();  // not needed: the point exists
    EXPECT_EQ(saveRace(t.dm(), second, Now), RaceSaveResult::NewRace);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_LiberateSite"), QStringLiteral("LiberSite = 'Quievrain' AND LiberSiteAbbr = 'QVR'")), 1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_LoftLibPointDist")), 2);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData"), QStringLiteral("LiberSite = 'Other name' AND RaceCode = '1A2F0902'")), 1);
}

TEST(SaveRace, SameClubCodeAndDateUpdatesExactlyThatRace)
{
    TestDatabase t;
    addClubAndMembers(t);
    saveRace(t.dm(), newPointRace(), Now);
    RaceInput otherDate = newPointRace();
    otherDate.liberDate = QDate(2024, 8, 26);
    saveRace(t.dm(), otherDate, Now);
    RaceInput otherClub = newPointRace();
    otherClub.clubName = QStringLiteral("South Club");
    saveRace(t.dm(), otherClub, Now);

    RaceInput changed = newPointRace();
    changed.liberTime = QTime(8, 0, 0);
    changed.liberLon = QStringLiteral("    '  :  ");  // written as it stands on an update
    changed.liberSite = QStringLiteral("Moved");
    EXPECT_EQ(saveRace(t.dm(), changed, Now.addDays(1)), RaceSaveResult::Updated);

    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData")), 3);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData"),
                    QStringLiteral("ClubID = 'C1' AND date(LiberDate) = '2024-08-19' AND LiberTime = '08:00:00' AND "
                                   "LiberSite = 'Moved' AND LiberLon = '    ''  :  ' AND Updatetime = '2024-08-02 09:30:00'")),
              1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData"),
                    QStringLiteral("LiberSite = 'Quievrain' AND LiberTime = '07:15:00' AND LiberLon = 'E120''30:00'")),
              2);
}

TEST(SaveRace, ChangingOnlyTheDateCreatesASecondRace)
{
    TestDatabase t;
    addClubAndMembers(t);
    saveRace(t.dm(), newPointRace(), Now);
    RaceInput moved = newPointRace();
    moved.liberDate = QDate(2024, 8, 20);
    EXPECT_EQ(saveRace(t.dm(), moved, Now), RaceSaveResult::NewRace);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData"), QStringLiteral("RaceCode IN ('1A2F0819', '1A2F0820')")), 2);
}

TEST(DeleteRace, RemovesRaceSunRowsAndEntriesButKeepsClockTimesPointAndDistances)
{
    TestDatabase t;
    addClubAndMembers(t);
    saveRace(t.dm(), newPointRace(), Now);
    RaceInput nextWeek = newPointRace();
    nextWeek.liberDate = QDate(2024, 8, 26);
    saveRace(t.dm(), nextWeek, Now);
    t.run(QStringLiteral("INSERT INTO ZAVR_SunSet_SunRise VALUES ('1A2F0819', '2024-08-19 00:00:00', '20:30:00', '06:10:00', 'Q'), "
                         "('1A2F0826', '2024-08-26 00:00:00', '20:20:00', '06:20:00', 'Q')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_PigRaceData (LiberCode, LiberDate, PRingNo) VALUES "
                         "('1A2F', '2024-08-19 00:00:00', 'R1'), ('1A2F', '2024-08-19 00:00:00', 'R2'), ('1A2F', '2024-08-26 00:00:00', 'R1')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_RaceClockTime (LiberCode, LiberDate, LoftNo) VALUES ('1A2F', '2024-08-19 00:00:00', 'L1')"));

    deleteRace(t.dm(), RaceKey{QStringLiteral("C1"), QStringLiteral("1A2F"), QDate(2024, 8, 19)});

    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData")), 1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData"), QStringLiteral("date(LiberDate) = '2024-08-26'")), 1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_SunSet_SunRise")), 1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_SunSet_SunRise"), QStringLiteral("RaceCode = '1A2F0826'")), 1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_PigRaceData")), 1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_PigRaceData"), QStringLiteral("date(LiberDate) = '2024-08-26'")), 1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceClockTime")), 1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_LiberateSite")), 1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_LoftLibPointDist")), 2);
}

TEST(DeleteLiberationPoint, RemovesThePointAndItsDistancesButNoRace)
{
    TestDatabase t;
    addClubAndMembers(t);
    saveRace(t.dm(), newPointRace(), Now);
    RaceInput other = newPointRace();
    other.liberCode = QStringLiteral("7");
    other.liberSite = QStringLiteral("Arras");
    saveRace(t.dm(), other, Now);
    deleteLiberationPoint(t.dm(), QStringLiteral("1A2F"));
    EXPECT_EQ(liberationSiteNames(t.dm()), QStringList{QStringLiteral("Arras")});
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_LoftLibPointDist")), 2);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_LoftLibPointDist"), QStringLiteral("LiberCode = '7'")), 2);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceData")), 2);
}

TEST(Clubs, AddFindAndDeleteByName)
{
    TestDatabase t;
    addClub(t.dm(), QStringLiteral("K9"), QStringLiteral("O'Brien's Club"));
    EXPECT_EQ(clubIdForName(t.dm(), QStringLiteral("O'Brien's Club")), std::optional<QString>(QStringLiteral("K9")));
    EXPECT_EQ(clubNameForId(t.dm(), QStringLiteral("K9")), QStringLiteral("O'Brien's Club"));
    EXPECT_THROW(addClub(t.dm(), QStringLiteral("K9"), QStringLiteral("Twin")), DbError);
    EXPECT_THROW(addClub(t.dm(), QString(), QStringLiteral("No code")), CorvelError);
    EXPECT_THROW(addClub(t.dm(), QString(11, QLatin1Char('X')), QStringLiteral("Long code")), DbError);
    deleteClubByName(t.dm(), QStringLiteral("O'Brien's Club"));
    EXPECT_TRUE(clubNames(t.dm()).isEmpty());
    EXPECT_FALSE(clubIdForName(t.dm(), QStringLiteral("O'Brien's Club")).has_value());
}

QList<SunRowText> sixRows(const QList<SunRowText>& given)
{
    QList<SunRowText> rows = given;
    while (rows.size() < SunTableDayRows)
        rows << SunRowText{};
    return rows;
}

TEST(SunRows, SavedRowsReadBackInStoredOrderAndResaveUnchanged)
{
    TestDatabase t;
    const QString code = QStringLiteral("1A2F0819");
    saveSunRows(t.dm(), code,
                sixRows({{QStringLiteral("2024-08-19 "), QStringLiteral("Quievrain"), QStringLiteral("20:31:00"), QStringLiteral("06:40:00")},
                         {QString(), QStringLiteral("skipped"), QStringLiteral("x"), QStringLiteral("y")},
                         {QStringLiteral("2024-08-21"), QString(), QStringLiteral("20:28:05"), QStringLiteral("6:43:00")},
                         {QStringLiteral("2024-08-20"), QStringLiteral("Arras"), QStringLiteral("20:29:00"), QStringLiteral("06:42:00")}}));
    const QList<SunRowText> read = readSunTableRows(t.dm(), code);
    ASSERT_EQ(read.size(), 3);
    EXPECT_EQ(read.at(0).raceDate, QStringLiteral("24-08-19"));
    EXPECT_EQ(read.at(0).location, QStringLiteral("Quievrain"));
    EXPECT_EQ(read.at(0).sunSet, QStringLiteral("20:31:00"));
    EXPECT_EQ(read.at(1).raceDate, QStringLiteral("24-08-21"));
    EXPECT_EQ(read.at(1).sunRise, QStringLiteral("06:43:00"));
    EXPECT_EQ(read.at(2).raceDate, QStringLiteral("24-08-20"));
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_SunSet_SunRise"),
                    QStringLiteral("RaceDate = '2024-08-21 00:00:00' AND SunSet = '20:28:05' AND SunRise = '06:43:00'")),
              1);

    // Saving what the table shows (dates as yy-mm-dd) keeps the same rows.
    saveSunRows(t.dm(), code, sixRows(read));
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_SunSet_SunRise"), QStringLiteral("RaceDate LIKE '2024-08-%'")), 3);
    const QList<SunRowText> again = readSunTableRows(t.dm(), code);
    ASSERT_EQ(again.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(again.at(i).raceDate, read.at(i).raceDate);
        EXPECT_EQ(again.at(i).sunSet, read.at(i).sunSet);
    }
}

TEST(SunRows, InvalidCellNamesTheRowAndReplacesNothing)
{
    const std::vector<std::pair<SunRowText, QString>> cases = {
        {{QStringLiteral("2024-13-01"), {}, QStringLiteral("20:00:00"), QStringLiteral("06:00:00")}, QStringLiteral("day row 2")},
        {{QStringLiteral("19 Aug"), {}, QStringLiteral("20:00:00"), QStringLiteral("06:00:00")}, QStringLiteral("day row 2")},
        {{QStringLiteral("2024-08-20"), {}, QStringLiteral("25:00:00"), QStringLiteral("06:00:00")}, QStringLiteral("sunset")},
        {{QStringLiteral("2024-08-20"), {}, QStringLiteral("20:00:00"), QString()}, QStringLiteral("sunrise")},
        {{QStringLiteral("2024-08-20"), QString(31, QLatin1Char('L')), QStringLiteral("20:00:00"), QStringLiteral("06:00:00")},
         QStringLiteral("Location")},
    };
    for (const auto& [bad, expected] : cases) {
        SCOPED_TRACE(expected.toStdString());
        TestDatabase t;
        t.run(QStringLiteral("INSERT INTO ZAVR_SunSet_SunRise VALUES ('7A0819', '2024-08-19 00:00:00', '20:30:00', '06:10:00', 'Old')"));
        try {
            saveSunRows(t.dm(), QStringLiteral("7A0819"),
                        sixRows({{QStringLiteral("2024-08-19"), QStringLiteral("New"), QStringLiteral("20:30:00"), QStringLiteral("06:10:00")}, bad}));
            ADD_FAILURE() << "saved";
        } catch (const CorvelError& e) {
            EXPECT_TRUE(e.text().contains(expected)) << e.text().toStdString();
        }
        EXPECT_EQ(count(t, QStringLiteral("ZAVR_SunSet_SunRise")), 1);
        EXPECT_EQ(count(t, QStringLiteral("ZAVR_SunSet_SunRise"), QStringLiteral("Location = 'Old'")), 1);
    }
}

}  // namespace
