#include "PdfText.h"
#include "RaceReports.h"
#include "RowSetModel.h"
#include "TestDatabase.h"

#include "CorvelError.h"
#include "Formats.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class RaceReportsTest : public ::testing::Test {
protected:
    RaceReportsTest()
    {
        ReportClock::setFixed(Formats::moment(QDate(2025, 3, 4), QTime(9, 8, 7)));
        t.run(QStringLiteral("INSERT INTO ZAVR_ClubData (ClubID, ClubName, Mode) VALUES ('NWC', 'North Wind Flyers', 0)"));
        t.run(QStringLiteral("INSERT INTO ZAVR_FeatherColor (ColorType, FeathColor) VALUES ('BLU', 'Blue'), ('RED', 'Red Chequer')"));
        t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (AssociationCode, LoftNo, LoftName, Street, City, PostCode, PhoneNo, LoftLon, LoftLat) "
                             "VALUES ('BE', '001', 'Adams', '1 Loft Lane', 'Greenfield', 'GF1', '0123', 'E004''21:30.25', 'N050''51:10.50'), "
                             "('BE', '002', 'Baker', NULL, NULL, NULL, NULL, NULL, NULL)"));
        t.run(QStringLiteral("INSERT INTO ZAVR_LiberateSite (LiberCode, LiberSite) VALUES ('1A2F', 'Orleans')"));
        t.run(QStringLiteral("INSERT INTO ZAVR_RaceData (ClubID, LiberCode, LiberSite, LiberDate, LiberTime, RaceCode) "
                             "VALUES ('NWC', '1A2F', 'Orleans', '2024-08-19 00:00:00', '10:00:00', '1A2F0819')"));
        t.run(QStringLiteral("INSERT INTO ZAVR_RaceClockTime (LiberCode, LiberDate, LoftNo, ClockID, DLMarkedTime, ULMasterTime, ULClockTime) "
                             "VALUES ('1A2F', '2024-08-19 00:00:00', '001', 'C1', '2024-08-19 06:00:00', '2024-08-20 18:00:00', "
                             "'2024-08-20 18:00:05')"));
    }
    ~RaceReportsTest() override { ReportClock::setFixed({}); }

    RowSetModel* rows(const QStringList& fields, const QList<QVariantList>& values)
    {
        auto* m = new RowSetModel(&owner);
        m->setRows(fields, values);
        return m;
    }

    TestDatabase t;
    QObject owner;
    QTemporaryDir dir;
};

const QStringList EntryFields = {"LoftNo", "PRingNo", "E_Ring", "UID", "Sex", "ColorType", "RandomCode", "RRegNumber",
                                 "MarkedTime", "RYear", "ClockID"};

QVariantList entryRow(const char* ring, const QVariant& sex, const QVariant& colour, const char* year, const char* marked)
{
    return {"001", ring, "1A000001", "04000001", sex, colour, 17, "1000001", marked, year, "C1"};
}

TEST_F(RaceReportsTest, RaceEntryPrintsTheFlyerTheRaceThePigeonsAndTheirCounts)
{
    const RowSetModel* entries = rows(EntryFields, {entryRow("BE-24-1", "H", "BLU", "24", "2024-08-18 19:01:00"),
                                                    entryRow("BE-23-2", "C", "XX", "23", "2024-08-18 19:02:00"),
                                                    entryRow("BE-24-3", QVariant(), QVariant(), "24", "2024-08-18 19:03:00"),
                                                    entryRow("BE-24-4", "H", "RED", "4", "2024-08-18 19:04:30")});
    const Report report = RaceReports::raceEntry(t.dm(), QStringLiteral("1A2F0819"), QStringLiteral("Adams"), QStringLiteral("C1"),
                                                 *entries);
    const PdfText pdf = renderAndRead(report, dir);
    const QStringList lines = pdf.lines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), QStringLiteral("Corvel - Official Race Entry"));
    for (const char* text : {"Club : NWC", "Flyer's Name : Adams", "Lib Date : 2024/08/19", "Flyer's Street : 1 Loft Lane",
                             "Lib Site : Orleans", "Town / City : Greenfield", "Flight : 1A2F0819", "Post Code : GF1",
                             "Marker : 1A2F0819", "Telephone No.: 0123", "Marked : 4", "Loft Number : BE 001",
                             "Last Marked : 2024/08/18 19:04:30", "Set Time : 2024/08/19 06:00:00",
                             "Print on : 2025/03/04 09:08:07", "Flyer's Clock : 2024/08/19 06:00:00", "Clock Details : C1",
                             "Key Code :"})
        EXPECT_EQ(pdf.linesWith(QString::fromLatin1(text)).size(), 1) << text;
    EXPECT_EQ(pdf.linesWith(QStringLiteral("NO. Bird")), QStringList{"NO. Bird Sex Color e-Ring Marked Day / Time Pools"});
    EXPECT_EQ(pdf.linesWith(QStringLiteral("1A000001")),
              (QStringList{"1 BE-24-1 Hen Blue 1A000001 2024/08/18 19:01:00", "2 BE-23-2 Cock 1A000001 2024/08/18 19:02:00",
                           "3 BE-24-3 1A000001 2024/08/18 19:03:00", "4 BE-24-4 Hen Red Chequer 1A000001 2024/08/18 19:04:30"}));
    // Cocks are the rows that are not hens, the one without a sex included; yearlings carry 24 in 2025.
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Total")), (QStringList{"Total hens : 2", "Total cocks : 2"}));
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Yearlings")), QStringList{"Yearlings : 2"});
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Signed")), QStringList{"Signed :"});
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Flyer Club")), QStringList{"Flyer Club Clock Checked"});
    EXPECT_EQ(lines.last(), QStringLiteral("Page 1 of 1"));
}

TEST_F(RaceReportsTest, RaceEntryOfAMemberWithoutMarkedPigeonsOrOfAnUnknownRacePrintsEmptyTexts)
{
    const RowSetModel* none = rows(EntryFields, {});
    PdfText pdf = renderAndRead(RaceReports::raceEntry(t.dm(), QStringLiteral("1A2F0819"), QStringLiteral("Baker"), QString(), *none), dir);
    for (const char* text : {"Marked : 0", "Total hens : 0", "Total cocks : 0", "Yearlings : 0", "Flyer's Name : Baker",
                             "Set Time :", "Last Marked :"})
        EXPECT_EQ(pdf.linesWith(QString::fromLatin1(text)).size(), 1) << text;
    EXPECT_TRUE(pdf.linesWith(QStringLiteral("Set Time : 20")).isEmpty());

    pdf = renderAndRead(RaceReports::raceEntry(t.dm(), QStringLiteral("99999999"), QStringLiteral("Nobody"), QString(), *none), dir,
                        QStringLiteral("unknown.pdf"));
    EXPECT_TRUE(pdf.linesWith(QStringLiteral("NWC")).isEmpty());
    EXPECT_TRUE(pdf.linesWith(QStringLiteral("Nobody")).isEmpty());
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Flight")), QStringList{"Flight : 99999999 Post Code :"});
}

const QStringList ListFields = {"Rank", "PRingNo", "RCountry", "RYear", "RRegLetter", "RRegNumber", "Sex", "ColorType",
                                "BackTime", "RandomCode", "RealRandom", "chk"};

TEST_F(RaceReportsTest, RaceListPrintsTheClocksArrivalsWithTheirSecretNumbers)
{
    const RowSetModel* arrivals = rows(
        ListFields, {{3, "P1", "BE", "23", "A", "1000001", "H", "BLU", "2024/08/19 12:00:00.000", 17, 17, "OK"},
                     {QVariant(), "P2", "BE", "23", "A", "1000002", "C", "BLU", QVariant(), 18, 153, "NG"},
                     {5, "GONE-1", QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                      "2024/08/20 07:15:30.250", QVariant(), 0, "NG"}});
    const PdfText pdf = renderAndRead(
        RaceReports::raceList(t.dm(), QStringLiteral("1A2F0819"), QStringLiteral("001"), QStringLiteral("C1"), *arrivals), dir);
    const QStringList lines = pdf.lines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), QStringLiteral("Corvel - Official Race list"));
    for (const char* text : {"Club : NWC", "Fancier : Adams", "Lib Date : 2024/08/19", "Loft Number : BE 001", "RaceCode : 1A2F0819",
                             "Loft Latitude : N050'51:10.50", "Lib Site : Orleans", "Loft Longitude : E004'21:30.25",
                             "Clock Details : C1", "GPS Latitude :", "Authorization Key :", "GPS Longitude :",
                             "Clock set by radio clock : 08/19 06:00:00", "Radio Clock : 08/20 18:00:00",
                             "Time at evalution : 08/20 18:00:05"})
        EXPECT_EQ(pdf.linesWith(QString::fromLatin1(text)).size(), 1) << text;
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Pos.")), QStringList{"Pos. Ring-Nr. Sex Color Clocking SecretNumber"});
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Giv.")), QStringList{"Date Time Giv./Read/Checked"});
    EXPECT_EQ(pdf.linesWith(QStringLiteral("P1")), QStringList{});
    EXPECT_EQ(pdf.linesWith(QStringLiteral("1000001")), QStringList{"3 BE 23 A 1000001 H BLU 08/19 12:00:00.000 0017/0017/OK"});
    EXPECT_EQ(pdf.linesWith(QStringLiteral("1000002")), QStringList{"BE 23 A 1000002 C BLU 0018/0153/NG"});
    // A pigeon no longer in the register prints its stored ring number.
    EXPECT_EQ(pdf.linesWith(QStringLiteral("GONE-1")), QStringList{"5 GONE-1 08/20 07:15:30.250 /0000/NG"});
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Flyer Club")), QStringList{"Flyer Club Clock Check"});
}

const QStringList RankFields = {"Rank", "LoftNo", "PRingNo", "RCountry", "RYear", "RRegLetter", "RRegNumber", "Sex",
                                "ColorType", "BackTime", "FlyTime", "FlySpeed", "Dist", "TimeVari"};

QVariantList rankRow(int rank, const char* loft, const char* ring, const char* backTime, const QVariant& flyTime, double speed,
                     int dist, int variation)
{
    return {rank, loft, ring, "BE", "23", "A", ring, "H", "BLU", backTime, flyTime, speed, dist, variation};
}

TEST_F(RaceReportsTest, RankReportPrintsPositionsMarginsAndTheWinnersTimes)
{
    const RowSetModel* ranks =
        rows(RankFields, {rankRow(1, "001", "1000001", "2024/08/19 12:00:00.000", "2:0:0", 1210.0, 145200, 0),
                          rankRow(2, "002", "2000001", "2024/08/19 11:58:45.000", "1:58:45", 1150.5, 136600, 5),
                          rankRow(2, "002", "2000002", "2024/08/19 12:01:40.000", "2:1:40", 1150.5, 140000, 5),
                          rankRow(4, "003", "3000001", "2024/08/20 07:15:30.000", "12:0:30", 201.527, 145200, -3)});
    const RowSetModel* results = rows({"Rank", "FlyTime"}, {{1, "2:0:0"}, {2, "1:58:45"}, {2, "2:1:40"}, {4, "12:0:30"}});
    const PdfText pdf = renderAndRead(
        RaceReports::rankReport(t.dm(), QStringLiteral("1A2F / 0819"), QStringLiteral("1A2F"), *ranks, *results), dir);
    const QStringList lines = pdf.lines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines.at(0), QStringLiteral("NAM-North Wind Flyers"));
    EXPECT_EQ(lines.at(1), QStringLiteral("Date : 2025/03/04 09:08:07 RaceCode : 1A2F / 0819"));
    EXPECT_EQ(lines.at(2), QStringLiteral("Liberate : Orleans Total : 004"));
    EXPECT_EQ(lines.at(3), QStringLiteral("Pos Name MPM Ring Particulars Color Sex Clock / day Var Distance Margin"));
    // Equal speeds share a position; a faster pigeon over a shorter distance has a negative margin.
    EXPECT_EQ(lines.mid(4, 4), (QStringList{"1 Adams 1,210.000 BE 23 A 1000001 Blue Hen 12:00:00.000 19 0 145,200 0:0:0",
                                            "2 Baker 1,150.500 BE 23 A 2000001 Blue Hen 11:58:45.000 19 5 136,600 0:-1:-15",
                                            "2 Baker 1,150.500 BE 23 A 2000002 Blue Hen 12:01:40.000 19 5 140,000 0:1:40",
                                            "4 201.527 BE 23 A 3000001 Blue Hen 07:15:30.000 20 -3 145,200 10:0:30"}));
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Net Flying Time")),
              QStringList{"Net Flying Time : 2:0:0 Winning Margin : 0:-1:-15 Page 1 of 1"});
}

TEST_F(RaceReportsTest, RankReportOfOneArrivalAWinnerWithoutSpeedAndYardsTitles)
{
    t.run(QStringLiteral("UPDATE ZAVR_ClubData SET Mode = 1"));
    const RowSetModel* ranks = rows(RankFields, {rankRow(1, "001", "1000001", "2024/08/19 10:00:00.400", "0:0:0", 0.0, 145200, 0)});
    const RowSetModel* results = rows({"FlyTime"}, {{"0:0:0"}});
    const PdfText pdf = renderAndRead(
        RaceReports::rankReport(t.dm(), QStringLiteral("1A2F / 0819"), QStringLiteral("1A2F"), *ranks, *results), dir);
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Pos Name")),
              QStringList{"Pos Name Yds/min Ring Particulars Color Sex Clock / day Var Distance Margin"});
    EXPECT_EQ(pdf.linesWith(QStringLiteral("1000001")), QStringList{"1 Adams BE 23 A 1000001 Blue Hen 10:00:00.400 19 0 145,200 0:0:0"});
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Winning Margin")),
              QStringList{"Net Flying Time : 0:0:0 Winning Margin : 0:0:0 Page 1 of 1"});
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Total")), QStringList{"Liberate : Orleans Total : 001"});
}

TEST_F(RaceReportsTest, RankReportNeedsAnArrivalAndFlyingTimesInTheirForm)
{
    const RowSetModel* noRanks = rows(RankFields, {});
    const RowSetModel* noResults = rows({"FlyTime"}, {});
    EXPECT_THROW(RaceReports::rankReport(t.dm(), QString(), QString(), *noRanks, *noResults), CorvelError);
    const RowSetModel* badResults = rows({"FlyTime"}, {{"2h 0m"}});
    EXPECT_THROW(RaceReports::rankReport(t.dm(), QString(), QString(), *noRanks, *badResults), CorvelError);
    const RowSetModel* missing = rows({"Rank"}, {});
    EXPECT_THROW(RaceReports::rankReport(t.dm(), QString(), QString(), *missing, *noResults), CorvelError);
}

TEST(FlyingTimeTexts, ReadAndDifference)
{
    const QList<std::pair<const char*, qint64>> read = {{"1:2:5", 3725}, {"12:34:56", 45296}, {"0:0:0", 0},
                                                        {"0:-1:-5", -65}, {"2:0:301", 7230}};
    for (const auto& [text, seconds] : read)
        EXPECT_EQ(RaceReports::flyTimeSeconds(QString::fromLatin1(text)), seconds) << text;
    for (const char* text : {"", "1:2", "a:2:5", "1:2: 5", "12"}) {
        try {
            RaceReports::flyTimeSeconds(QString::fromLatin1(text));
            ADD_FAILURE() << text << " was read";
        } catch (const CorvelError& e) {
            EXPECT_TRUE(e.text().endsWith(QStringLiteral("is not a valid integer value"))) << e.text().toStdString();
        }
    }
    const QList<std::pair<qint64, const char*>> differences = {{-75, "0:-1:-15"}, {3725, "1:2:5"}, {0, "0:0:0"}, {-3725, "-1:-2:-5"}};
    for (const auto& [seconds, text] : differences)
        EXPECT_EQ(RaceReports::differenceText(seconds), QString::fromLatin1(text)) << seconds;
}

}  // namespace
