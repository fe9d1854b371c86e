#include "RaceRound.h"

#include "ClockOpState.h"
#include "Dialogs.h"
#include "ReportPreview.h"
#include "TfrmClockOP.h"
#include "WidgetDriver.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

constexpr int PollWaitMsecs = 5000;

// The Clock Operation page on the race club, driven by its controls' names.
class RaceTabs : public RaceRound {
protected:
    RaceTabs()
    {
        page.resize(1000, 700);
        page.show();
        takeLastProducedReport();
    }

    void chooseTab(const char* name)
    {
        auto* control = controls.find<QTabWidget>("PageControl1");
        QTabBar* bar = control->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(control->indexOf(controls.find<QWidget>(name))).center());
    }
    QStringList items(const char* comboName)
    {
        QStringList out;
        const auto* combo = controls.find<QComboBox>(comboName);
        for (int i = 0; i < combo->count(); ++i)
            out << combo->itemText(i);
        return out;
    }
    // The grid's visible column titles, in the order shown.
    QStringList titles(const char* gridName)
    {
        const auto* grid = controls.find<QTableView>(gridName);
        const QHeaderView* header = grid->horizontalHeader();
        QStringList out;
        for (int visual = 0; visual < header->count(); ++visual) {
            const int logical = header->logicalIndex(visual);
            if (!header->isSectionHidden(logical))
                out << grid->model()->headerData(logical, Qt::Horizontal).toString();
        }
        return out;
    }
    QStringList column(const char* gridName, const char* field)
    {
        const auto* rows = static_cast<const RowSetModel*>(controls.find<QTableView>(gridName)->model());
        QStringList out;
        for (int r = 0; r < rows->rowCount(); ++r)
            out << rows->displayText(r, QString::fromLatin1(field));
        return out;
    }
    QTimer* uploadTimer() { return controls.find<QTimer>("ClockUPLTimer1"); }
    // Chooses the race of the upload tab and waits until polling stops; false when it runs on.
    bool uploadClock()
    {
        controls.choose("cbbTimer_UPL", QStringLiteral("1A2F / 0819"));
        return QTest::qWaitFor([this] { return !uploadTimer()->isActive(); }, PollWaitMsecs);
    }

    TfrmClockOP page{dm(), db.folder()};
    WidgetDriver controls{page};
};

TEST_F(RaceTabs, ChoosingAMemberOnTheTrainingTabProgramsTheClockOnThePort)
{
    bench.connectClock(1, QStringLiteral("C1"));
    chooseTab("tsCrtTimerTrain");
    EXPECT_TRUE(messageTexts().isEmpty());
    controls.choose("cbbLoftNo_DLT", QStringLiteral("Adams"));

    EXPECT_EQ(messageTexts(), QStringList{});
    EXPECT_EQ(bench.state().clock(QStringLiteral("C1"))->currentRace, QStringLiteral("F0000001"));
    EXPECT_EQ(bench.state().clock(QStringLiteral("C1"))->pigeons.size(), 6);
    EXPECT_EQ(titles("dbgrdCrtTrain"), (QStringList{"Member", "Association number", "Sex of birds", "Color"}));
    EXPECT_EQ(column("dbgrdCrtTrain", "PRingNo"), (QStringList{"P1", "P2", "P3", "P4", "P5", "P6"}));
    EXPECT_EQ(column("dbgrdCrtTrain", "Sex"), (QStringList{"Hen", "Cock", "Hen", "Cock", "", "Cock"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT LoftNo, ClockID FROM ZAVR_LoftClocks")), QStringList{"001|C1"});
    EXPECT_EQ(QString::fromLatin1(clockOpState().clockNoBuf.data()), QStringLiteral("C1"));

    // A name that no member has programs nothing.
    auto* list = controls.find<QComboBox>("cbbLoftNo_DLT");
    list->setEditText(QStringLiteral("Nobody"));
    QTest::keyClick(list->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(clockOpState().currentLoftNo, QStringLiteral("001"));
}

TEST_F(RaceTabs, TheRaceTabOffersTheRacesMembersProgramsTheClockAndPrintsTheRaceEntry)
{
    bench.connectClock(1, QStringLiteral("C1"));
    chooseTab("tsCrtTimerRace");
    messageTexts();
    controls.choose("cbbRaceCode_DLR", QStringLiteral("1A2F / 0819"));
    EXPECT_EQ(items("CbbLoftNo_DLR"), (QStringList{"Adams", "Baker"}));
    EXPECT_EQ(clockOpState().raceLiberCode, QStringLiteral("1A2F"));
    EXPECT_EQ(clockOpState().raceLiberDate, QStringLiteral("2024/08/19"));
    EXPECT_EQ(clockOpState().raceClubId, QStringLiteral("NWC"));

    controls.choose("CbbLoftNo_DLR", QStringLiteral("Adams"));
    EXPECT_EQ(messageTexts(), QStringList{});
    EXPECT_EQ(bench.state().clock(QStringLiteral("C1"))->currentRace, QStringLiteral("1A2F0819"));
    EXPECT_EQ(titles("dbgrdCrtRace"), (QStringList{"Member", "Association Number", "Sex of birs", "Color"}));
    EXPECT_EQ(column("dbgrdCrtRace", "PRingNo"), (QStringList{"P1", "P2", "P3", "P4", "P5"}));
    EXPECT_EQ(column("dbgrdCrtRace", "ColorType"), (QStringList{"Blue", "Blue", "", "Blue", ""}));
    EXPECT_EQ(page.clockIdText, QStringLiteral("C1"));
    EXPECT_EQ(rows(QStringLiteral("SELECT LoftNo, ClockID FROM ZAVR_RaceClockTime")), QStringList{"001|C1"});
    EXPECT_EQ(rows(QStringLiteral("SELECT LoftNo, ClockID FROM ZAVR_LoftClocks")), QStringList{"001|C1"});

    const std::optional<Report> report = takeLastProducedReport();
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->name, QStringLiteral("TfrmDLRaceRpt"));
    EXPECT_EQ(report->rows.size(), 5);
    EXPECT_EQ(report->rows.value(0).value(1), QStringLiteral("P1"));

    // Without a clock on the port nothing is programmed, written or printed.
    bench.disconnect(1);
    controls.choose("CbbLoftNo_DLR", QStringLiteral("Baker"));
    EXPECT_EQ(messageTexts(), QStringList{"IFD_Connect NOT OK !"});
    EXPECT_FALSE(takeLastProducedReport().has_value());
    EXPECT_EQ(rows(QStringLiteral("SELECT LoftNo FROM ZAVR_RaceClockTime")), QStringList{"001"});
}

TEST_F(RaceTabs, TheUploadTabReadsEachClockOnceRanksTheRaceAndPrintsTheListsAndTheRankReport)
{
    plug(QStringLiteral("C1"));
    programRace(QStringLiteral("001"));
    plug(QStringLiteral("C2"));
    programRace(QStringLiteral("002"));
    link.reset();
    arrive(QStringLiteral("C1"), QStringLiteral("1A000001"), at(19, "12:00:00.000"));
    arrive(QStringLiteral("C1"), QStringLiteral("1A000002"), at(19, "12:10:00.000"), 0x99);
    arrive(QStringLiteral("C2"), QStringLiteral("2B000001"), at(19, "11:00:00.000"));
    bench.connectClock(1, QStringLiteral("C1"));
    chooseTab("tsGetTimerResult");
    messageTexts();

    ASSERT_TRUE(uploadClock());
    EXPECT_EQ(messageTexts(), QStringList{"Security Code not match !! "});
    EXPECT_EQ(titles("dbgrdTimerUPL"), (QStringList{"Pos.", "Member", "Pigeon", "Clocked", "Fly Speed", "Flying Time", "Dist."}));
    EXPECT_EQ(column("dbgrdTimerUPL", "PRingNo"), QStringList{"P1"});
    EXPECT_EQ(column("dbgrdTimerUPL", "BackTime"), QStringList{"12:00:00.000"});
    EXPECT_EQ(column("dbgrdTimerUPL", "FlySpeed"), QStringList{"1,210.000"});
    EXPECT_EQ(controls.find<QLabel>("lblTimerRseultSum")->text(), QStringLiteral("2 Members sent 7 birds of which 1 were clocked"));
    EXPECT_EQ(page.clockIdText, QStringLiteral("C1"));
    EXPECT_EQ(page.clockSiteText, QStringLiteral("001"));
    std::optional<Report> report = takeLastProducedReport();
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->name, QStringLiteral("TfrmULRaceRpt"));
    ASSERT_EQ(report->rows.size(), 2);
    EXPECT_EQ(report->rows.at(1).last(), QStringLiteral("0018/0153/NG"));

    // The clock left on the port is not read again: polling runs on.
    controls.choose("cbbTimer_UPL", QStringLiteral("1A2F / 0819"));
    QTest::qWait(3 * ClockOpTab::PollMsecs);
    EXPECT_TRUE(uploadTimer()->isActive());
    EXPECT_FALSE(takeLastProducedReport().has_value());

    // The next clock is read as soon as it is on the port.
    bench.connectClock(1, QStringLiteral("C2"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !uploadTimer()->isActive(); }, PollWaitMsecs));
    EXPECT_EQ(column("dbgrdTimerUPL", "PRingNo"), (QStringList{"Q1", "P1"}));
    EXPECT_EQ(column("dbgrdTimerUPL", "Rank"), (QStringList{"1", "2"}));
    EXPECT_EQ(controls.find<QLabel>("lblTimerRseultSum")->text(), QStringLiteral("2 Members sent 7 birds of which 2 were clocked"));
    ASSERT_TRUE(takeLastProducedReport().has_value());

    QTest::mouseClick(controls.find<QPushButton>("btnPrint"), Qt::LeftButton);
    report = takeLastProducedReport();
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->name, QStringLiteral("TfrmRaceRankRpt"));
    ASSERT_EQ(report->rows.size(), 2);
    EXPECT_EQ(report->rows.at(1).first(), QStringLiteral("2"));
    EXPECT_EQ(report->rows.at(1).last(), QStringLiteral("1:0:0"));  // P1's 2:0:0 behind Q1's 1:0:0
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST_F(RaceTabs, AClockHoldingAnotherRaceStopsThePollWithItsMessage)
{
    plug(QStringLiteral("C1"));
    programRace(QStringLiteral("001"));
    link.reset();
    chooseTab("tsGetTimerResult");
    messageTexts();
    controls.choose("cbbTimer_UPL", QStringLiteral("77 / 0825"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !uploadTimer()->isActive(); }, PollWaitMsecs));
    EXPECT_EQ(messageTexts(), QStringList{"RaceNo not Match  !"});
    EXPECT_FALSE(takeLastProducedReport().has_value());
    EXPECT_FALSE(bench.state().clock(QStringLiteral("C1"))->race(QStringLiteral("1A2F0819"))->closed);
}

TEST_F(RaceTabs, PrintWithoutAnArrivalShowsTheConversionErrorAndPrintsNothing)
{
    chooseTab("tsGetTimerResult");
    messageTexts();
    controls.choose("cbbTimer_UPL", QStringLiteral("1A2F / 0819"));
    QTest::mouseClick(controls.find<QPushButton>("btnPrint"), Qt::LeftButton);
    EXPECT_FALSE(uploadTimer()->isActive());
    const QStringList shown = messageTexts();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_TRUE(shown.last().endsWith(QStringLiteral("is not a valid integer value")));
    EXPECT_FALSE(takeLastProducedReport().has_value());
}

}  // namespace
