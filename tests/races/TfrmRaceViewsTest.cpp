#include "Pickers.h"
#include "RacePageDriver.h"
#include "ReportPreview.h"
#include "ReportTitleText.h"
#include "RowSetModel.h"
#include "SpreadsheetReader.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimeEdit>

namespace {

// Race 1A2F of club C1, liberated 18 July 2024 at 14:00:00, with sun rows for two days. Member 001
// (Smith, 145200 yards from the point) has three pigeons; member 002 (Jones) one, without a
// distance. Race entries of a second club under the same code and date sit in the same race.
void addRace(TestDatabase& t, int mode = 1)
{
    t.run(QStringLiteral("INSERT INTO ZAVR_ClubData (ClubID, ClubName, Street, City, PostCode, Mode) "
                         "VALUES ('C1', 'North Club', 'Main Street 1', 'Gent', '9000', ?)"),
          {mode});
    t.run(QStringLiteral("INSERT INTO ZAVR_ClubMap VALUES ('C1', 'North Club'), ('C2', 'South Club')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('001', 'Smith'), ('002', 'Jones')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_PigData (LoftNo, PRingNo, RCountry, RYear, RRegLetter, RRegNumber) VALUES "
                         "('001', 'BE24-1234', 'BE', '24', '', '1234'), ('001', 'BE24-5534', 'BE', '24', '', '5534'), "
                         "('001', 'BE24-9999', 'BE', '24', '', '9999'), ('002', 'NL24-7777', 'NL', '24', '', '7777')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_LiberateSite VALUES ('1A2F', 'Arras', 'ARR', NULL, NULL)"));
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftLibPointDist (LiberCode, LoftNo, Miles, Yards) VALUES ('1A2F', '001', 82, 145200)"));
    t.run(QStringLiteral("INSERT INTO ZAVR_RaceData (ClubID, LiberCode, LiberSite, LiberSiteAbbr, LiberDate, LiberTime, RaceCode) "
                         "VALUES ('C1', '1A2F', 'Arras', 'ARR', '2024-07-18 00:00:00', '14:00:00', '1A2F0718')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_SunSet_SunRise (RaceCode, RaceDate, SunSet, SunRise) VALUES "
                         "('1A2F0718', '2024-07-18 00:00:00', '20:30:00', '05:40:00'), "
                         "('1A2F0718', '2024-07-19 00:00:00', '20:29:00', '05:45:00')"));
}

// Entries with speeds 1200, 1100, 1100 and 1000, one without an arrival, two of club C2.
void addEntries(TestDatabase& t)
{
    t.run(QStringLiteral("INSERT INTO ZAVR_PigRaceData (ClubID, LiberCode, LiberDate, PRingNo, BackTime, FlyTime, FlySpeed, Dist, ClockID) VALUES "
                         "('C1', '1A2F', '2024-07-18 00:00:00', 'BE24-1234', '2024/07/18 16:00:00', '2:0:0', 1100, 145200, 'K1'), "
                         "('C1', '1A2F', '2024-07-18 00:00:00', 'BE24-5534', '2024/07/18 15:50:00', '1:50:0', 1200, 145200, 'K1'), "
                         "('C1', '1A2F', '2024-07-18 00:00:00', 'BE24-9999', NULL, NULL, NULL, NULL, 'K1'), "
                         "('C2', '1A2F', '2024-07-18 00:00:00', 'NL24-7777', '2024/07/18 16:10:00', '2:10:0', 1000, 130000, 'K9'), "
                         "('C2', '1A2F', '2024-07-18 00:00:00', 'XX24-0001', '2024/07/18 16:00:00', '2:0:0', 1100, 145200, 'K9')"));
}

struct ViewsTest : ::testing::Test {
    void SetUp() override
    {
        Dialogs::resetTestHooks();
        takeLastProducedReport();
        TfrmRace::otherClockLoftNo().clear();
        TfrmRace::sortOrder().clear();
    }
    void TearDown() override
    {
        Dialogs::resetTestHooks();
        TfrmRace::otherClockLoftNo().clear();
        TfrmRace::sortOrder().clear();
    }
};

using OtherClockView = ViewsTest;
using ResultViews = ViewsTest;

void chooseItem(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << qPrintable(text);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void setMoment(RacePage& p, const char* date, const char* time, const QDateTime& moment)
{
    p.get<QDateEdit>(date)->setDate(moment.date());
    p.get<QTimeEdit>(time)->setTime(moment.time());
}

QDateTime momentOf(RacePage& p, const char* date, const char* time)
{
    return QDateTime(p.get<QDateEdit>(date)->date(), p.get<QTimeEdit>(time)->time());
}

QDateTime july(int day, int h, int m, int s) { return QDateTime(QDate(2024, 7, day), QTime(h, m, s)); }

QStringList items(const QComboBox* combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

// Opens the other-clock view of the first race and chooses Smith.
void openForSmith(RacePage& p)
{
    p.grid->setCurrentIndex(p.grid->model()->index(0, 0));
    p.menu(7);
    chooseItem(p.get<QComboBox>("cbbLoftNo_OtherClock"), QStringLiteral("Smith"));
}

TEST_F(OtherClockView, TheWorkedExampleStoresFlyingTimeAndSpeedAndSavingAgainUpdatesTheEntry)
{
    TestDatabase t;
    addRace(t);
    RacePage p(t);
    p.grid->setCurrentIndex(p.grid->model()->index(0, 0));
    p.menu(7);
    EXPECT_FALSE(p.hidden("pnlOtherClosk"));
    EXPECT_TRUE(p.hidden("pnlRacePoint"));
    EXPECT_EQ(p.get<QLabel>("lblAddOtherClockTitle")->text(), QStringLiteral("Add/Edit Other Clock     1A2F    ARR    2024/07/18"));
    EXPECT_EQ(items(p.get<QComboBox>("cbbLoftNo_OtherClock")), (QStringList{QStringLiteral("Smith"), QStringLiteral("Jones")}));

    chooseItem(p.get<QComboBox>("cbbLoftNo_OtherClock"), QStringLiteral("Smith"));
    EXPECT_EQ(TfrmRace::otherClockLoftNo(), QStringLiteral("001"));
    auto* grid = p.get<QTableView>("dbgrdOtherClock");
    EXPECT_EQ(p.column(grid, 0), (QStringList{QStringLiteral("BE24-1234"), QStringLiteral("BE24-5534"), QStringLiteral("BE24-9999")}));
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Ring "));
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Time"));

    setMoment(p, "dtpMarkedDate", "dtpMarkedTime", july(18, 6, 30, 0));
    setMoment(p, "dtpMasterDate", "dtpMasterTime", july(19, 8, 0, 0));
    setMoment(p, "dtpMemberDate", "dtpMemberTime", july(19, 8, 0, 12));
    chooseItem(p.get<QComboBox>("cbbSelPigNo"), QStringLiteral("BE24-5534"));
    setMoment(p, "dtpSelPigDate", "dtpSelPigTime", july(19, 7, 15, 30));
    p.click("btnOtherClock_Save");
    EXPECT_TRUE(messageTexts().isEmpty());

    QSqlQuery entry = t.dm().exec(QStringLiteral("SELECT ClubID, BackTime, FlyTime, FlySpeed, Dist FROM ZAVR_PigRaceData "
                                                 "WHERE PRingNo = 'BE24-5534'"));
    ASSERT_TRUE(entry.next());
    EXPECT_EQ(entry.value(0).toString(), QStringLiteral("C1"));
    EXPECT_EQ(entry.value(1).toString(), QStringLiteral("2024/07/19 07:15:30"));
    EXPECT_EQ(entry.value(2).toString(), QStringLiteral("8:0:18"));
    EXPECT_DOUBLE_EQ(entry.value(3).toDouble(), 302.311);
    EXPECT_EQ(entry.value(4).toInt(), 145200);
    EXPECT_EQ(p.cell(grid, 1, 1), QStringLiteral("2024/07/19 07:15:30"));

    // A later arrival typed over the first: still one entry, one clock row.
    setMoment(p, "dtpSelPigDate", "dtpSelPigTime", july(19, 7, 20, 30));
    p.click("btnOtherClock_Save");
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_PigRaceData")), 1);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceClockTime")), 1);
    EXPECT_EQ(t.dm().scalar(QStringLiteral("SELECT FlyTime FROM ZAVR_PigRaceData")).toString(), QStringLiteral("8:5:18"));
}

TEST_F(OtherClockView, ChoosingRingsShowsTheirArrivalOrTodayAtMidnight)
{
    TestDatabase t;
    addRace(t);
    addEntries(t);
    t.run(QStringLiteral("INSERT INTO ZAVR_RaceClockTime (LiberCode, LiberDate, LoftNo, DLMarkedTime, ULMasterTime, ULClockTime) "
                         "VALUES ('1A2F', '2024-07-18 00:00:00', '001', '2024-07-17 21:05:07', '2024-07-19 08:00:00', '2024-07-19 08:00:12')"));
    RacePage p(t);
    openForSmith(p);
    // The member's stored clock times fill the pickers.
    EXPECT_EQ(momentOf(p, "dtpMarkedDate", "dtpMarkedTime"), QDateTime(QDate(2024, 7, 17), QTime(21, 5, 7)));
    EXPECT_EQ(momentOf(p, "dtpMemberDate", "dtpMemberTime"), july(19, 8, 0, 12));

    auto* rings = p.get<QComboBox>("cbbSelPigNo");
    chooseItem(rings, QStringLiteral("BE24-1234"));
    EXPECT_EQ(momentOf(p, "dtpSelPigDate", "dtpSelPigTime"), july(18, 16, 0, 0));
    chooseItem(rings, QStringLiteral("BE24-9999"));  // marked, not arrived
    EXPECT_EQ(momentOf(p, "dtpSelPigDate", "dtpSelPigTime"), QDateTime(QDate::currentDate(), QTime(0, 0)));

    // Searching for a ring ending narrows the choice to the member's rings with it.
    auto* search = p.get<QLineEdit>("edtSearch");
    search->setText(QStringLiteral("34"));
    emit search->editingFinished();
    EXPECT_EQ(items(rings), (QStringList{QStringLiteral("BE24-1234"), QStringLiteral("BE24-5534")}));

    // A grid row puts its ring into the choice, even one the search left out.
    auto* grid = p.get<QTableView>("dbgrdOtherClock");
    const QRect row = grid->visualRect(grid->model()->index(2, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(rings->currentText(), QStringLiteral("BE24-9999"));
    EXPECT_EQ(momentOf(p, "dtpSelPigDate", "dtpSelPigTime"), QDateTime(QDate::currentDate(), QTime(0, 0)));
    const QRect first = grid->visualRect(grid->model()->index(0, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(rings->currentText(), QStringLiteral("BE24-1234"));
    EXPECT_EQ(momentOf(p, "dtpSelPigDate", "dtpSelPigTime"), july(18, 16, 0, 0));
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST_F(OtherClockView, SavingWithoutAMemberOrARingSaysSoAndWritesNothing)
{
    TestDatabase t;
    addRace(t);
    RacePage p(t);
    p.grid->setCurrentIndex(p.grid->model()->index(0, 0));
    p.menu(7);
    p.click("btnOtherClock_Save");
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("Please choose the member first.")});

    chooseItem(p.get<QComboBox>("cbbLoftNo_OtherClock"), QStringLiteral("Smith"));
    p.click("btnOtherClock_Save");
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("Please choose the ring whose arrival is entered.")});
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_PigRaceData")), 0);
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceClockTime")), 0);
}

TEST_F(OtherClockView, TheChosenMemberStaysChosenWhenThePageIsCreatedAgain)
{
    TestDatabase t;
    addRace(t);
    {
        RacePage p(t);
        p.grid->setCurrentIndex(p.grid->model()->index(0, 0));
        p.menu(7);
        chooseItem(p.get<QComboBox>("cbbLoftNo_OtherClock"), QStringLiteral("Jones"));
    }
    RacePage p(t);
    p.grid->setCurrentIndex(p.grid->model()->index(0, 0));
    p.menu(7);
    EXPECT_EQ(p.get<QComboBox>("cbbLoftNo_OtherClock")->currentText(), QStringLiteral("Jones"));
    EXPECT_EQ(p.column(p.get<QTableView>("dbgrdOtherClock"), 0), QStringList{QStringLiteral("NL24-7777")});
    EXPECT_EQ(items(p.get<QComboBox>("cbbSelPigNo")), QStringList{QStringLiteral("NL24-7777")});
}

TEST_F(ResultViews, StatusCountsEntriesOfBothClubsPerMemberAndClock)
{
    TestDatabase t;
    addRace(t);
    addEntries(t);
    RacePage p(t);
    p.grid->setCurrentIndex(p.grid->model()->index(0, 0));
    p.menu(4);
    EXPECT_FALSE(p.hidden("pnlLoftRaceStat"));
    EXPECT_EQ(p.get<QLabel>("lblLoftRaceStatTiTle")->text(), QStringLiteral(" Status for Arras"));
    auto* grid = p.get<QTableView>("dbgrdLoftRaceStat");
    // Member, clock, marked, arrived; the ring without a member counts in neither member.
    QStringList rows;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        rows << QStringList{p.cell(grid, r, 0), p.cell(grid, r, 1), p.cell(grid, r, 2), p.cell(grid, r, 3)}.join(QLatin1Char('/'));
    rows.sort();
    EXPECT_EQ(rows, (QStringList{QStringLiteral("/K9/0/1"), QStringLiteral("Jones/K9/1/1"), QStringLiteral("Smith/K1/3/2")}));

    p.click("butPrtRaceStat");
    const std::optional<Report> report = takeLastProducedReport();
    ASSERT_TRUE(report.has_value());
    EXPECT_TRUE(reportTitleText(*report).contains(QStringLiteral(" Status for Arras (07/18 14:00:00)"))) << qPrintable(reportTitleText(*report));
    EXPECT_EQ(report->rows.size(), 3);

    p.click("btnLoftRaceStat");
    EXPECT_FALSE(p.hidden("pnlRacePoint"));
    EXPECT_TRUE(p.hidden("pnlLoftRaceStat"));
}

TEST_F(ResultViews, ResultRanksBySpeedWithSharedPositionsAndSumsUpTheRace)
{
    TestDatabase t;
    addRace(t, 1);
    addEntries(t);
    RacePage p(t);
    // A double click as the window system delivers it: a click, then the double click.
    const QRect row = p.grid->visualRect(p.grid->model()->index(0, 0));
    QTest::mouseClick(p.grid->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(p.grid->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_FALSE(p.hidden("pnlRaceResult"));
    EXPECT_EQ(p.get<QLabel>("lbl1RaceResultTitle")->text(), QStringLiteral("C1 Result for Arras"));
    EXPECT_EQ(p.get<QLabel>("lblRaceResultSum")->text(), QStringLiteral("3 Members sent 5 birds of which 4 were clocked"));

    auto* grid = p.get<QTableView>("dbgrdRaceRec");
    const RowSetModel* rows = p.page->adoqRaceReslt();
    QStringList positions;
    for (int r = 0; r < rows->rowCount(); ++r)
        positions << rows->value(r, QStringLiteral("Pos")).toString();
    EXPECT_EQ(positions, (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("4")}));
    // Registered rings show their parts; a ring the register does not hold shows its number.
    QStringList pigeons;
    for (int r = 0; r < rows->rowCount(); ++r)
        pigeons << rows->displayText(r, QStringLiteral("PRingNo"));
    pigeons.sort();
    EXPECT_EQ(pigeons, (QStringList{QStringLiteral("BE 24  1234"), QStringLiteral("BE 24  5534"), QStringLiteral("NL 24  7777"),
                                    QStringLiteral("XX24-0001")}));
    // The columns as the user sees them, left to right.
    QStringList titles;
    const QHeaderView* header = grid->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            titles << rows->headerData(logical, Qt::Horizontal).toString();
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Pos."), QStringLiteral("Member"), QStringLiteral("Pigeon"), QStringLiteral("Clock"),
                                   QStringLiteral("Flying Time"), QStringLiteral("Yds/Min"), QStringLiteral("Dist.")}));

    p.click("butPrtRaceResult");
    const std::optional<Report> report = takeLastProducedReport();
    ASSERT_TRUE(report.has_value());
    EXPECT_TRUE(reportTitleText(*report).contains(
        QStringLiteral("C1 Result for Arras (07-18 14:00:00) (3 Members sent 5 birds of which 4 were clocked)")))
        << qPrintable(reportTitleText(*report));
    ASSERT_EQ(report->rows.size(), 4);
    EXPECT_EQ(report->rows.at(0).at(1), QStringLiteral("Smith"));
    // The report prints the pigeons by the grid's own rule: the ring parts read with the rows.
    for (int r = 0; r < rows->rowCount(); ++r)
        EXPECT_EQ(report->rows.at(r).at(2), rows->displayText(r, QStringLiteral("PRingNo"))) << r;

    p.click("btnRaceRec");
    EXPECT_FALSE(p.hidden("pnlRacePoint"));
}

TEST_F(ResultViews, EmptyRaceAndMetresMode)
{
    TestDatabase t;
    addRace(t, 0);
    RacePage p(t);
    p.grid->setCurrentIndex(p.grid->model()->index(0, 0));
    p.menu(5);
    EXPECT_EQ(p.get<QLabel>("lblRaceResultSum")->text(), QStringLiteral("0 Members sent 0 birds of which 0 were clocked"));
    const RowSetModel* rows = p.page->adoqRaceReslt();
    EXPECT_EQ(rows->rowCount(), 0);
    EXPECT_EQ(rows->headerData(rows->fieldIndex(QStringLiteral("FlySpeed")), Qt::Horizontal).toString(), QStringLiteral("MPM"));
    p.click("btnRaceRec");
    p.menu(4);
    EXPECT_EQ(p.page->adoqLoftRaceStat()->rowCount(), 0);
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST_F(ResultViews, ViewsWithoutAChosenRaceSaySo)
{
    TestDatabase t;
    addRace(t);
    RacePage p(t);
    for (int item : {4, 5, 7}) {
        p.grid->setCurrentIndex(QModelIndex());
        p.menu(item);
        EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("Choose a race in the race list first.")}) << item;
        EXPECT_FALSE(p.hidden("pnlRacePoint"));
    }
}

TEST_F(ResultViews, ExportWritesTheRowsInTheGridsOrderToTheChosenWorkbook)
{
    TestDatabase t;
    addRace(t);
    addEntries(t);
    RacePage p(t);
    p.grid->setCurrentIndex(p.grid->model()->index(0, 0));
    p.menu(5);
    auto* grid = p.get<QTableView>("dbgrdRaceRec");
    p.clickTitle(grid, p.page->adoqRaceReslt()->fieldIndex(QStringLiteral("PRingNo")));

    QTemporaryDir dir;
    Dialogs::setNextFileName(dir.filePath(QStringLiteral("result")));
    p.click("butResultExport");
    EXPECT_TRUE(messageTexts().isEmpty());
    EXPECT_EQ(Dialogs::lastFileFilter(), QStringLiteral("Excel File (*.xlsx);;Excel File (*.xls)"));
    const QList<QVariantList> sheet = readFirstSheet(dir.filePath(QStringLiteral("result.xlsx")));
    ASSERT_EQ(sheet.size(), 5);
    EXPECT_EQ(sheet.at(0).at(2).toString(), QStringLiteral("PRingNo"));
    QStringList ringOrder;
    for (int r = 1; r < sheet.size(); ++r)
        ringOrder << sheet.at(r).at(2).toString();
    EXPECT_EQ(ringOrder, (QStringList{QStringLiteral("BE24-1234"), QStringLiteral("BE24-5534"), QStringLiteral("NL24-7777"),
                                      QStringLiteral("XX24-0001")}));

    // Cancelling the dialog writes nothing.
    Dialogs::setNextFileName(QString());
    p.click("butResultExport");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("result.xlsx")});

    // A name ending ".xls" is written as the xlsx workbook it is, under ".xlsx", and the user is told.
    QTemporaryDir other;
    Dialogs::setNextFileName(other.filePath(QStringLiteral("result.xls")));
    p.click("butResultExport");
    EXPECT_EQ(QDir(other.path()).entryList(QDir::Files), QStringList{QStringLiteral("result.xlsx")});
    EXPECT_EQ(readFirstSheet(other.filePath(QStringLiteral("result.xlsx"))).size(), 5);
    const QStringList shown = messageTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().contains(QStringLiteral("\"result.xlsx\""))) << shown.front().toStdString();
    EXPECT_TRUE(shown.front().contains(QStringLiteral("\"result.xls\""))) << shown.front().toStdString();
}

TEST_F(ResultViews, RaceListAndDistancesPrintWhatTheirViewsHold)
{
    TestDatabase t;
    addRace(t, 0);
    RacePage p(t);
    p.click("butPrtRacePoint");
    std::optional<Report> report = takeLastProducedReport();
    ASSERT_TRUE(report.has_value());
    EXPECT_TRUE(reportTitleText(*report).contains(QStringLiteral("Race List")));
    ASSERT_EQ(report->rows.size(), 1);
    EXPECT_TRUE(report->rows.at(0).contains(QStringLiteral("Arras")));

    p.grid->setCurrentIndex(p.grid->model()->index(0, 0));
    p.menu(3);
    p.click("butPrtLoftRaceDist");
    report = takeLastProducedReport();
    ASSERT_TRUE(report.has_value());
    EXPECT_TRUE(reportTitleText(*report).contains(QStringLiteral("Members Distance of Arras")));
    ASSERT_EQ(report->rows.size(), 1);
    EXPECT_EQ(report->rows.at(0).at(0), QStringLiteral("Smith"));
    EXPECT_EQ(report->columns.at(2).title, QStringLiteral("KM"));
}

TEST_F(OtherClockView, AnArrivalBeforeTheLiberationIsSavedOnlyWhenTheUserSaysSo)
{
    // The race is liberated on 2024/07/18 at 14:00:00; no preset answer takes the default, No.
    struct Case {
        QDateTime arrival;
        std::optional<QMessageBox::StandardButton> answer;
        bool asked;
        const char* flyTime;  // null: nothing written
    };
    const Case cases[] = {
        {july(17, 13, 0, 0), QMessageBox::No, true, nullptr},
        {july(17, 13, 0, 0), std::nullopt, true, nullptr},
        {july(18, 13, 58, 55), QMessageBox::Yes, true, "0:-1:-5"},
        {july(18, 14, 0, 0), std::nullopt, false, "0:0:0"},
        {july(18, 15, 0, 1), std::nullopt, false, "1:0:1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arrival.toString().toStdString());
        TestDatabase t;
        addRace(t);
        RacePage p(t);
        openForSmith(p);
        setMoment(p, "dtpMasterDate", "dtpMasterTime", july(18, 20, 0, 0));
        setMoment(p, "dtpMemberDate", "dtpMemberTime", july(18, 20, 0, 0));
        chooseItem(p.get<QComboBox>("cbbSelPigNo"), QStringLiteral("BE24-5534"));
        setMoment(p, "dtpSelPigDate", "dtpSelPigTime", c.arrival);
        if (c.answer)
            Dialogs::setNextAnswer(*c.answer);
        p.click("btnOtherClock_Save");
        const QStringList shown = messageTexts();
        if (c.asked) {
            ASSERT_EQ(shown.size(), 1);
            EXPECT_TRUE(shown.front().startsWith(QStringLiteral("The arrival is before the liberation (")));
            EXPECT_TRUE(shown.front().endsWith(QStringLiteral("). Save it anyway?")));
            EXPECT_TRUE(shown.front().contains(c.arrival.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))));
            EXPECT_TRUE(shown.front().contains(QStringLiteral("2024/07/18 14:00:00")));
        } else {
            EXPECT_TRUE(shown.isEmpty());
        }
        if (!c.flyTime) {
            EXPECT_EQ(count(t, QStringLiteral("ZAVR_PigRaceData")), 0);
            EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceClockTime")), 0);
            continue;
        }
        EXPECT_EQ(t.dm().scalar(QStringLiteral("SELECT FlyTime FROM ZAVR_PigRaceData WHERE PRingNo = 'BE24-5534'")).toString(),
                  QString::fromLatin1(c.flyTime));
    }
}

TEST_F(OtherClockView, ADateThatDoesNotExistIsRefusedAndNothingIsWritten)
{
    TestDatabase t;
    addRace(t);
    RacePage p(t);
    openForSmith(p);
    chooseItem(p.get<QComboBox>("cbbSelPigNo"), QStringLiteral("BE24-5534"));
    for (const char* name : {"dtpMasterDate", "dtpSelPigDate"}) {
        SCOPED_TRACE(name);
        auto* date = p.get<DatePicker>(name);
        date->setDate(QDate(2024, 7, 19));
        date->setFocus(Qt::TabFocusReason);
        date->setSelectedSection(QDateTimeEdit::MonthSection);
        QTest::keyClicks(date, QStringLiteral("0631"));
        p.click("btnOtherClock_Save");
        QApplication::processEvents();
        EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("\"2024/06/31\" is not a date: June 2024 has 30 days.")});
        EXPECT_TRUE(date->hasFocus());
        EXPECT_EQ(count(t, QStringLiteral("ZAVR_PigRaceData")), 0);
        EXPECT_EQ(count(t, QStringLiteral("ZAVR_RaceClockTime")), 0);
        date->setDate(QDate(2024, 7, 19));
    }
}

TEST_F(ResultViews, ViewTitlesAreBoldAndStatusCountsAlignRightInTheGridAndThePrint)
{
    TestDatabase t;
    addRace(t);
    addEntries(t);
    RacePage p(t);
    p.grid->setCurrentIndex(p.grid->model()->index(0, 0));
    for (const auto& [item, title, back] : {std::tuple{3, "lblLoftPointDistTitle", "btnLoftLibDist"},
                                            std::tuple{4, "lblLoftRaceStatTiTle", "btnLoftRaceStat"},
                                            std::tuple{5, "lbl1RaceResultTitle", "btnRaceRec"}}) {
        p.menu(item);
        EXPECT_TRUE(p.get<QLabel>(title)->font().bold()) << title;
        EXPECT_FALSE(p.get<QLabel>(title)->text().isEmpty()) << title;
        if (item == 4) {
            const RowSetModel* rows = p.page->adoqLoftRaceStat();
            for (const char* field : {"MarkedCnt", "ArriveCnt"}) {
                const QModelIndex cell = rows->index(0, rows->fieldIndex(QString::fromLatin1(field)));
                EXPECT_TRUE(cell.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight) << field;
            }
            p.click("butPrtRaceStat");
            const std::optional<Report> report = takeLastProducedReport();
            ASSERT_TRUE(report.has_value());
            EXPECT_TRUE(report->columns.at(2).alignment & Qt::AlignRight);
            EXPECT_TRUE(report->columns.at(3).alignment & Qt::AlignRight);
        }
        p.click(back);
    }
    p.menu(7);
    EXPECT_TRUE(p.get<QLabel>("lblAddOtherClockTitle")->font().bold());
}

TEST_F(ResultViews, TheDistanceGridFitsItsColumnsAfterAHandEdit)
{
    TestDatabase t;
    addRace(t);
    RacePage p(t);
    p.grid->setCurrentIndex(p.grid->model()->index(0, 0));
    p.menu(3);
    auto* grid = p.get<QTableView>("dbgrdLoftLibDist");
    const int yards = p.page->adotLoftRaceDist()->fieldIndex(QStringLiteral("Yards"));
    grid->setCurrentIndex(grid->model()->index(0, yards));
    QTest::keyClicks(grid, QStringLiteral("1"));
    QLineEdit* editor = grid->findChild<QLineEdit*>(QStringLiteral("dbgrdLoftLibDistEditor"));
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("23456789"));
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid->findChild<QLineEdit*>(QStringLiteral("dbgrdLoftLibDistEditor")) == nullptr; }, 5000));
    ASSERT_EQ(p.cell(grid, 0, yards), QStringLiteral("123,456,789"));
    EXPECT_GE(grid->columnWidth(yards), static_cast<QAbstractItemView*>(grid)->sizeHintForColumn(yards));
    EXPECT_EQ(count(t, QStringLiteral("ZAVR_LoftLibPointDist"), QStringLiteral("Yards = 123456789")), 1);
}

TEST_F(ResultViews, TheDistanceViewShowsItsRowsInTheStatementsOrderNotASortOfAnotherGrid)
{
    TestDatabase t;
    addRace(t);
    addEntries(t);
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftLibPointDist (LiberCode, LoftNo, Miles, Yards) VALUES ('1A2F', '002', 70, 123456)"));
    RacePage p(t);
    p.grid->setCurrentIndex(p.grid->model()->index(0, 0));
    // The Status view sorted by member, descending.
    p.menu(4);
    auto* status = p.get<QTableView>("dbgrdLoftRaceStat");
    const int member = p.page->adoqLoftRaceStat()->fieldIndex(QStringLiteral("LoftNo"));
    p.clickTitle(status, member);
    p.clickTitle(status, member);
    ASSERT_EQ(TfrmRace::sortOrder(), QStringLiteral("LoftNo DESC"));
    p.click("btnLoftRaceStat");

    p.menu(3);
    auto* distances = p.get<QTableView>("dbgrdLoftLibDist");
    const int loftNo = p.page->adotLoftRaceDist()->fieldIndex(QStringLiteral("LoftNo"));
    EXPECT_EQ(p.column(distances, loftNo), (QStringList{QStringLiteral("001"), QStringLiteral("002")}));
    // Its own title clicks sort it (the page's one sort text goes on from "LoftNo DESC"); the next
    // reading of the rows comes in the statement's order.
    p.clickTitle(distances, loftNo);
    p.clickTitle(distances, loftNo);
    EXPECT_EQ(p.column(distances, loftNo), (QStringList{QStringLiteral("002"), QStringLiteral("001")}));
    p.click("btnLoftDistUpdate");
    messageTexts();
    EXPECT_EQ(p.column(distances, loftNo), (QStringList{QStringLiteral("001"), QStringLiteral("002")}));
}

TEST_F(ResultViews, ViewsOpenedAgainShowTheirRowsInTheStatementsOrder)
{
    TestDatabase t;
    addRace(t);
    addEntries(t);
    RacePage p(t);
    p.grid->setCurrentIndex(p.grid->model()->index(0, 0));
    for (const auto& [item, gridName, field, back] : {std::tuple{4, "dbgrdLoftRaceStat", "ClockID", "btnLoftRaceStat"},
                                                      std::tuple{5, "dbgrdRaceRec", "FlySpeed", "btnRaceRec"}}) {
        SCOPED_TRACE(gridName);
        p.menu(item);
        auto* grid = p.get<QTableView>(gridName);
        const QStringList stored = p.column(grid, 0);
        const auto* rows = static_cast<const RowSetModel*>(grid->model());
        const int column = rows->fieldIndex(QString::fromLatin1(field));
        p.clickTitle(grid, column);
        if (p.column(grid, 0) == stored)
            p.clickTitle(grid, column);
        ASSERT_NE(p.column(grid, 0), stored);
        p.click(back);
        p.menu(item);
        EXPECT_EQ(p.column(grid, 0), stored);
        p.click(back);
    }
}

}  // namespace
