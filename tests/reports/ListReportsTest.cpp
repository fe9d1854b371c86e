#include "DisplayRules.h"
#include "ListColumns.h"
#include "ListReports.h"
#include "PdfText.h"
#include "QtPrinters.h"
#include "ReportPreview.h"
#include "RowSetModel.h"
#include "TestDatabase.h"

#include "CorvelError.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

class ListReportsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.run(QStringLiteral("INSERT INTO ZAVR_ClubData (ClubID, ClubName, Street, City, PostCode, Mode) "
                             "VALUES ('NWC', 'North Wind Flyers', '12 Loft Lane', 'Greenfield', 'GF1 2AB', 0)"));
    }

    ClubSettings club(int mode = 0)
    {
        ClubSettings c = t.dm().clubSettings();
        c.Mode = mode;
        return c;
    }

    RowSetModel* rows(const QStringList& fields, const QList<QVariantList>& values)
    {
        auto* m = new RowSetModel(&owner);
        m->setRows(fields, values);
        return m;
    }

    // The rows of a statement, as a page's grid holds them.
    RowSetModel* query(const QString& sql)
    {
        auto* m = new RowSetModel(&owner);
        QSqlQuery q = t.dm().exec(sql);
        m->setQueryResult(q);
        return m;
    }

    TestDatabase t;
    QObject owner;
    QTemporaryDir dir;
};

QStringList columnTitles(const Report& report)
{
    QStringList titles;
    for (const ReportColumn& c : report.columns)
        titles << c.title;
    return titles;
}

const QString MemberListSql = QStringLiteral(
    "select a.AssociationCode,a.LoftNo,a.LoftName,count(b.ClockID) as clockCnt from ZAVR_LoftData a "
    "LEFT Join ZAVR_LoftClocks b on a.LoftNo=b.LoftNo group by a.AssociationCode,a.LoftNo,a.LoftName "
    "order by a.LoftNo");

TEST_F(ListReportsTest, MemberListPrintsLetterheadTitleAndRowsInTheGridsSortOrder)
{
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('001', 'Smith'), ('002', 'Adams'), "
                         "('003', 'Jones')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftClocks (LoftNo, ClockID) VALUES ('001', 'C1'), ('001', 'C2'), ('003', 'C3')"));
    RowSetModel* members = query(MemberListSql);
    members->applySort(QStringLiteral("LoftName ASC"));

    const Report report = ListReports::memberList(club(), *members);
    EXPECT_EQ(report.rows, (QList<QStringList>{{"Adams", "002", "0"}, {"Jones", "003", "1"}, {"Smith", "001", "2"}}));

    const PdfText pdf = renderAndRead(report, dir);
    EXPECT_EQ(pdf.lines(), (QStringList{"North Wind Flyers", "12 Loft Lane", "Greenfield", "GF1 2AB", "Member List",
                                        "Name LoftNo No. of Clocks", "Adams 002 0", "Jones 003 1", "Smith 001 2",
                                        "Page 1 of 1"}));

    members->applySort(QStringLiteral("LoftName DESC"));
    EXPECT_EQ(ListReports::memberList(club(), *members).rows.first(), (QStringList{"Smith", "001", "2"}));
}

TEST_F(ListReportsTest, EmptyViewPrintsLetterheadColumnTitlesAndPageNumberOnly)
{
    const PdfText pdf = renderAndRead(ListReports::memberList(club(), *query(MemberListSql)), dir);
    ASSERT_EQ(pdf.pageCount, 1);
    EXPECT_EQ(pdf.lines(), (QStringList{"North Wind Flyers", "12 Loft Lane", "Greenfield", "GF1 2AB", "Member List",
                                        "Name LoftNo No. of Clocks", "Page 1 of 1"}));
}

TEST_F(ListReportsTest, RingListTitleHasALeadingBlankAndNoBlankBeforeTheParenthesis)
{
    EXPECT_EQ(ListReports::ringListTitle(QStringLiteral("Smith"), QStringLiteral("001")),
              QStringLiteral(" Ring list of Smith( 001 )"));
    const Report report = ListReports::ringList(t.dm(), club(), QStringLiteral("Smith"), QStringLiteral("001"),
                                                *query(QStringLiteral("select * from ZAVR_PigData where LoftNo='001'")));
    const PdfText pdf = renderAndRead(report, dir);
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Ring list")), QStringList{"Ring list of Smith( 001 )"});
    EXPECT_EQ(columnTitles(report), (QStringList{"Life Ring Number", "Sex of bird", "e_Ring Assign.", "Color",
                                                 "Create Date", "Assign Date", "Last Update date"}));
}

TEST_F(ListReportsTest, RingListPrintsSexColourAndDatesByTheirRules)
{
    t.run(QStringLiteral("INSERT INTO ZAVR_FeatherColor (ColorType, FeathColor) VALUES ('BB', 'Blue Bar'), ('RC', 'Red Chequer')"));
    struct Case {
        QString ring;
        QVariant sex, colour, created, assigned, updated;
        QStringList printed;
    };
    const QVariant null;
    const std::vector<Case> cases = {
        {"GB24A1", "H", "BB", "2024-05-10 08:05:09", "2024-05-11 00:00:00", "2024-06-01 17:04:03",
         {"GB24A1", "Hen", "", "Blue Bar", "2024/05/10 08:05:09", "2024/05/11", "06/01 17:04:03"}},
        {"GB24A2", "C", "XX", null, null, null, {"GB24A2", "Cock", "", "Other", "", "", ""}},
        {"GB24A3", "X", "", null, null, null, {"GB24A3", "", "", "Other", "", "", ""}},
        {"GB24A4", null, null, null, null, null, {"GB24A4", "", "", "Other", "", "", ""}},
        {"GB24A5", "h", "RC", null, null, null, {"GB24A5", "", "", "Red Chequer", "", "", ""}},
    };
    for (const Case& c : cases)
        t.run(QStringLiteral("INSERT INTO ZAVR_PigData (LoftNo, PRingNo, Sex, ColorType, CreateDate, AssignDate, "
                             "Updatetime) VALUES ('001', ?, ?, ?, ?, ?, ?)"),
              {c.ring, c.sex, c.colour, c.created, c.assigned, c.updated});
    t.run(QStringLiteral("UPDATE ZAVR_PigData SET E_Ring = '0A1B2C3D' WHERE PRingNo = 'GB24A1'"));

    const Report report = ListReports::ringList(t.dm(), club(), QStringLiteral("Smith"), QStringLiteral("001"),
                                                *query(QStringLiteral("select * from ZAVR_PigData where LoftNo='001'")));
    ASSERT_EQ(report.rows.size(), static_cast<qsizetype>(cases.size()));
    for (size_t i = 0; i < cases.size(); ++i) {
        QStringList expected = cases[i].printed;
        if (i == 0)
            expected[2] = QStringLiteral("0A1B2C3D");
        EXPECT_EQ(report.rows.at(static_cast<qsizetype>(i)), expected) << "ring " << cases[i].ring.toStdString();
    }
    const PdfText pdf = renderAndRead(report, dir);
    EXPECT_EQ(pdf.linesWith(QStringLiteral("GB24A2")), QStringList{"GB24A2 Cock Other"});
    EXPECT_EQ(pdf.linesWith(QStringLiteral("GB24A1")),
              QStringList{"GB24A1 Hen 0A1B2C3D Blue Bar 2024/05/10 08:05:09 2024/05/11 06/01 17:04:03"});
}

TEST_F(ListReportsTest, RaceListPrintsDefaultDateAndLongTime)
{
    const RowSetModel* races = rows({"ClubID", "LiberCode", "LiberSiteAbbr", "LiberSite", "LiberDate", "LiberTime"},
                                    {{"NWC", "B1", "BAR", "Barcelona", "2024-05-10 00:00:00", "2024-05-10 07:30:00"},
                                     {"NWC", "P2", "PAU", "Pau", "2024-06-02 00:00:00", QVariant()},
                                     {"EAST", "C3", "CHA", "Chateauroux", "2024-06-09 06:45:00", "06:45:05"}});
    const Report report = ListReports::raceList(club(), *races);
    EXPECT_EQ(report.rows, (QList<QStringList>{{"NWC", "B1", "BAR", "Barcelona", "2024/05/10", "07:30:00"},
                                                {"NWC", "P2", "PAU", "Pau", "2024/06/02", ""},
                                                {"EAST", "C3", "CHA", "Chateauroux", "2024/06/09 06:45:00", "06:45:05"}}));
    const PdfText pdf = renderAndRead(report, dir);
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Lib Date")),
              QStringList{"Club Code Lib.Site Abbr. Liberation Site Lib Date Lib Time"});
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Barcelona")), QStringList{"NWC B1 BAR Barcelona 2024/05/10 07:30:00"});
}

TEST_F(ListReportsTest, MemberDistancesShowNamesAndUnitTitlesByClubMode)
{
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('001', 'Smith'), ('002', 'Adams')"));
    const RowSetModel* distances = rows({"LiberCode", "LoftNo", "Miles", "Yards", "LoftName"},
                                        {{"B1", "001", 712, 1253210, QVariant()},
                                         {"B1", "002", 0, 0, QVariant()},
                                         {"B1", "099", QVariant(), QVariant(), "stale"}});
    struct Case {
        int mode;
        QString header;
    };
    for (const Case& c : {Case{0, "Member Loft Number KM M"}, Case{1, "Member Loft Number Miles Yards"},
                          Case{2, "Member Loft Number KM M"}}) {
        const Report report =
            ListReports::memberDistances(t.dm(), club(c.mode), QStringLiteral("Members Distance of Barcelona"), *distances);
        EXPECT_EQ(report.rows, (QList<QStringList>{{"Smith", "001", "712", "1,253,210"},
                                                    {"Adams", "002", "0", "0"},
                                                    {"", "099", "", ""}}));
        const PdfText pdf = renderAndRead(report, dir);
        EXPECT_EQ(pdf.linesWith(QStringLiteral("Loft Number")), QStringList{c.header}) << "mode " << c.mode;
        EXPECT_EQ(pdf.linesWith(QStringLiteral("Distance of")), QStringList{"Members Distance of Barcelona"});
    }
}

TEST_F(ListReportsTest, RaceStatusTitleCarriesTheLiberationDateAndTime)
{
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('001', 'Smith')"));
    const QString title = ListReports::raceStatusTitle(QStringLiteral(" Status for Barcelona"),
                                                       QStringLiteral("2024-05-09 00:00:00"),
                                                       QStringLiteral("2024-05-09 07:30:05"));
    EXPECT_EQ(title, QStringLiteral(" Status for Barcelona (05/09 07:30:05)"));

    const RowSetModel* status = rows({"LoftNo", "ClockID", "MarkedCnt", "ArriveCnt"},
                                     {{"001", "CLK7", 12, 9}, {QVariant(), "CLK8", 0, 2}});
    const Report report = ListReports::raceStatus(t.dm(), club(), QStringLiteral(" Status for Barcelona"),
                                                  QStringLiteral("2024-05-09 00:00:00"), QStringLiteral("07:30:05"), *status);
    EXPECT_EQ(report.rows, (QList<QStringList>{{"Smith", "CLK7", "12", "9"}, {"", "CLK8", "0", "2"}}));
    const PdfText pdf = renderAndRead(report, dir);
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Status for")), QStringList{"Status for Barcelona (05/09 07:30:05)"});
    EXPECT_EQ(pdf.linesWith(QStringLiteral("Clock")), QStringList{"Member Clock Birds Marked Birds arrived"});
}

// Result rows as the Result view reads them: arrived entries, fastest first, with their positions.
const QString ResultSql = QStringLiteral(
    "select RANK() OVER (ORDER BY a.FlySpeed DESC) as Pos, a.LiberCode, a.PRingNo, a.BackTime, a.FlyTime, "
    "a.FlySpeed, a.Dist, b.LoftNo from ZAVR_PigRaceData a left join ZAVR_PigData b on a.PRingNo = b.PRingNo "
    "where a.LiberCode = 'B1' and a.BackTime is not null order by a.FlySpeed desc, a.BackTime");

TEST_F(ListReportsTest, RaceResultPrintsPositionsRingsAndSpeedsByTheirRules)
{
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('001', 'Smith'), ('002', 'Adams')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_PigData (LoftNo, PRingNo, RCountry, RYear, RRegLetter, RRegNumber) VALUES "
                         "('001', 'GB24A12345', 'GB', '24', 'A', '12345'), ('002', 'NL251234567', 'NL', '25', '', '1234567'), "
                         "('002', 'BE2399', 'BE', '23', 'X', '99'), ('001', 'GB24A7', 'GB', '24', 'A', '7')"));
    const QString insert = QStringLiteral(
        "INSERT INTO ZAVR_PigRaceData (LiberCode, LiberDate, PRingNo, BackTime, FlyTime, FlySpeed, Dist) "
        "VALUES ('B1', '2024-05-09 00:00:00', ?, ?, ?, ?, ?)");
    t.run(insert, {"GB24A12345", "2024-05-09 15:02:03", "8:2:3", 1234.5, 595137});
    t.run(insert, {"NL251234567", "2024-05-09 15:10:00", "8:10:0", 1100.25, 539775});
    t.run(insert, {"BE2399", "2024-05-09 15:12:00", "8:12:0", 1100.25, 541260});
    t.run(insert, {"GB24A7", "2024-05-10 07:00:00", "0:0:0", 0.0, QVariant()});
    t.run(insert, {"ZZ-GONE", "2024-05-09 16:00:00", "9:0:0", 950.0, 513000});
    t.run(insert, {"GB24A99", QVariant(), QVariant(), 0.0, 595137});  // not arrived: not a result row

    EXPECT_EQ(ListReports::raceResultTitle(QStringLiteral("NWC Result for Barcelona"), QStringLiteral("2024-05-09 00:00:00"),
                                           QStringLiteral("07:00:00"), QStringLiteral("0 Members sent 0 birds of which 0 were clocked")),
              QStringLiteral("NWC Result for Barcelona (05-09 07:00:00) (0 Members sent 0 birds of which 0 were clocked)"));
    // The member and the pigeon print as the Result view's columns show them (the names and ring
    // parts come with the view's rows).
    RowSetModel* results = query(ResultSql);
    const LoftNameLookup names(t.dm());
    const GridColumn::DisplayRule memberName = [&names](const QVariant& v) { return names.name(v); };
    const GridColumn::DisplayRule ringParts = [](const QVariant& v) { return QStringLiteral("ring ") + v.toString(); };
    for (const int mode : {0, 1}) {
        const Report report = ListReports::raceResult(
            club(mode), ListColumns::raceResult(club(mode), memberName, ringParts), QStringLiteral("NWC Result for Barcelona"),
            QStringLiteral("2024-05-09 00:00:00"),
            QStringLiteral("2024-05-09 07:00:00"), QStringLiteral("2 Members sent 6 birds of which 5 were clocked"),
            *results);
        EXPECT_EQ(report.rows,
                  (QList<QStringList>{{"1", "Smith", "ring GB24A12345", "15:02:03", "8:2:3", "1,234.500", "595,137"},
                                      {"2", "Adams", "ring NL251234567", "15:10:00", "8:10:0", "1,100.250", "539,775"},
                                      {"2", "Adams", "ring BE2399", "15:12:00", "8:12:0", "1,100.250", "541,260"},
                                      {"4", "", "ring ZZ-GONE", "16:00:00", "9:0:0", " 950.000", "513,000"},
                                      {"5", "Smith", "ring GB24A7", "07:00:00", "0:0:0", "", ""}}));
        const PdfText pdf = renderAndRead(report, dir);
        EXPECT_EQ(columnTitles(report), (QStringList{"Pos.", "Member", "Pigeon", "Clocked", "Flying Time",
                                                     mode == 1 ? "Yards/min" : "M/min", "Dist."}));
        EXPECT_EQ(pdf.linesWith(QStringLiteral("Pos.")),
                  QStringList{mode == 1 ? "Pos. Member Pigeon Clocked Flying Time Yards/min Dist."
                                        : "Pos. Member Pigeon Clocked Flying Time M/min Dist."});
        // The long title wraps onto a second line.
        EXPECT_TRUE(pdf.lines().join(QLatin1Char(' ')).contains(QStringLiteral(
            "NWC Result for Barcelona (05-09 07:00:00) (2 Members sent 6 birds of which 5 were clocked)")))
            << pdf.all().toStdString();
        EXPECT_EQ(pdf.linesWith(QStringLiteral("GB24A7")), QStringList{"5 Smith ring GB24A7 07:00:00 0:0:0"});
        EXPECT_EQ(pdf.linesWith(QStringLiteral("BE2399")), QStringList{"2 Adams ring BE2399 15:12:00 8:12:0 1,100.250 541,260"});
    }
}

TEST_F(ListReportsTest, HundredsOfMembersPageWithColumnTitlesAndNumbersOnEveryPage)
{
    {
        TdmZAVR::Transaction tx(t.dm());
        for (int i = 1; i <= 450; ++i)
            t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES (?, ?)"),
                  {QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')), QStringLiteral("Member%1").arg(i)});
        tx.commit();
    }
    const PdfText pdf = renderAndRead(ListReports::memberList(club(), *query(MemberListSql)), dir);
    ASSERT_GT(pdf.pageCount, 5);
    ASSERT_EQ(pdf.pages.size(), pdf.pageCount);
    int next = 1;
    for (int p = 0; p < pdf.pages.size(); ++p) {
        const QString& page = pdf.pages.at(p);
        EXPECT_EQ(page.count(QStringLiteral("No. of Clocks")), 1) << "page " << p + 1;
        EXPECT_TRUE(page.contains(QStringLiteral("Page %1 of %2").arg(p + 1).arg(pdf.pageCount))) << "page " << p + 1;
        EXPECT_EQ(page.contains(QStringLiteral("North Wind Flyers")), p == 0) << "page " << p + 1;
        const int first = next;
        const QString text = simplified(page);
        while (next <= 450 && text.contains(QStringLiteral("Member%1 %2 0").arg(next).arg(next, 4, 10, QLatin1Char('0'))))
            ++next;
        EXPECT_GT(next, first) << "page " << p + 1 << " holds no member";
    }
    EXPECT_EQ(next, 451) << "member " << next << " missing or out of order";
}

TEST_F(ListReportsTest, RowsWithoutAnExpectedFieldAreRefused)
{
    const RowSetModel* wrong = rows({"LoftNo", "LoftName"}, {{"001", "Smith"}});
    try {
        ListReports::memberList(club(), *wrong);
        ADD_FAILURE() << "no error";
    } catch (const CorvelError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("The list to print has no field clockCnt."));
    }
}

}  // namespace
