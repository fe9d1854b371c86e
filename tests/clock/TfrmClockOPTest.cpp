#include "ClockClub.h"
#include "Dialogs.h"
#include "RowSetModel.h"
#include "TfrmClockOP.h"
#include "TfrmDeviceSimulator.h"
#include "WidgetDriver.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

constexpr int PollWaitMsecs = 3000;

// The page of a test, driven by its controls' object names.
struct ClockPage {
    ClockPage(TdmZAVR& dm, const DataFolder& folder) : page(dm, folder)
    {
        page.resize(1000, 700);
        page.show();
    }
    template <typename T>
    T* find(const char* name) const
    {
        return controls.find<T>(name);
    }
    void choose(const char* comboName, const QString& text) const { controls.choose(comboName, text); }
    // Clicks the tab's title, as the user chooses a tab.
    void chooseTab(const char* name) const
    {
        auto* control = find<QTabWidget>("PageControl1");
        const int index = control->indexOf(find<QWidget>(name));
        QTabBar* bar = control->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    QStringList items(const char* comboName) const
    {
        QStringList out;
        const auto* combo = find<QComboBox>(comboName);
        for (int i = 0; i < combo->count(); ++i)
            out << combo->itemText(i);
        return out;
    }
    bool reading(const char* timerName) const { return find<QTimer>(timerName)->isActive(); }
    RowSetModel* rows(const char* gridName) const { return static_cast<RowSetModel*>(find<QTableView>(gridName)->model()); }
    QStringList column(const char* gridName, const char* field) const
    {
        QStringList out;
        const RowSetModel* m = rows(gridName);
        for (int r = 0; r < m->rowCount(); ++r)
            out << m->displayText(r, QString::fromLatin1(field));
        return out;
    }
    // The PRingNo of the grid's selected row.
    QString selectedRing(const char* gridName) const
    {
        const QModelIndexList selected = find<QTableView>(gridName)->selectionModel()->selectedRows();
        return selected.isEmpty() ? QString() : rows(gridName)->value(selected.first().row(), QStringLiteral("PRingNo")).toString();
    }

    TfrmClockOP page;
    WidgetDriver controls{page};
};

class ClockOpPage : public ClockClub {
protected:
    ClockOpPage() { db.run(QStringLiteral("update ZAVR_PigData set E_Ring='1A2B3C4D', UID='04A1B2C3' where PRingNo='BE-24-0003'")); }
    bool waitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, PollWaitMsecs); }
    ClockOpState& state() { return clockOpState(); }
};

TEST_F(ClockOpPage, OpensOnNoTabWithoutALinkAndWithoutReading)
{
    ClockPage p(dm(), db.folder());
    EXPECT_EQ(p.page.activePageIndex(), -1);
    auto* control = p.find<QTabWidget>("PageControl1");
    EXPECT_EQ(control->count(), 6);
    for (int i = 0; i < control->count(); ++i)
        EXPECT_FALSE(control->widget(i)->isVisible()) << i;
    EXPECT_FALSE(state().hasLink());
    EXPECT_FALSE(p.reading("MatchTimer1"));
    EXPECT_FALSE(p.reading("MarkTimer1"));
    EXPECT_TRUE(messageTexts().isEmpty());
}

// Each tab opens its link (the ring reader answers on COM1, no clock anywhere) and fills its
// list, all the same when no port answers.
TEST_F(ClockOpPage, EachTabOpensItsLinkAndFillsItsList)
{
    struct Case {
        const char* tab;
        const char* list;
        const char* firstEntry;
        ClockOpTab::Link link;
    };
    const Case cases[] = {
        {"tsMatchIng", "cbbLoftNo", "Adams", ClockOpTab::Link::RingReader},
        {"tsMarking", "cbbRaceCode", "A1  05/10", ClockOpTab::Link::RingReader},
        {"tsCrtTimerTrain", "cbbLoftNo_DLT", "Adams", ClockOpTab::Link::Clock},
        {"tsCrtTimerRace", "cbbRaceCode_DLR", "A1 / 0510", ClockOpTab::Link::Clock},
        {"tsGetTimerResult", "cbbTimer_UPL", "A1 / 0510", ClockOpTab::Link::Clock},
        {"tsSMSDownload", "cbbRaceCodeSMSV6", "A1 / 0510", ClockOpTab::Link::None},
        {"tsMatchIng", "cbbLoftNo", "Adams", ClockOpTab::Link::RingReader},
    };
    ClockPage p(dm(), db.folder());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tab);
        p.chooseTab(c.tab);
        EXPECT_TRUE(p.find<QWidget>(c.tab)->isVisible());
        EXPECT_EQ(p.items(c.list).value(0), QString::fromLatin1(c.firstEntry));
        EXPECT_EQ(p.items(c.list).size(), 3);
        EXPECT_EQ(p.find<QComboBox>(c.list)->currentText(), QString());
        EXPECT_EQ(state().readerHandle != 0, c.link == ClockOpTab::Link::RingReader);
        EXPECT_EQ(state().clockHandle, 0);
        EXPECT_EQ(state().hasLink(), c.link != ClockOpTab::Link::None);
        const QStringList shown = messageTexts();
        if (c.link == ClockOpTab::Link::Clock)
            EXPECT_EQ(shown, QStringList{QStringLiteral("Com Port not be actived , Pls Connect Rs232 Cable and restart !")});
        else
            EXPECT_TRUE(shown.isEmpty());
    }
}

TEST_F(ClockOpPage, AClockTabTakesTheClockPortAndTheReaderTabsLoseIt)
{
    script->addClock(QStringLiteral("K1"), QString());
    script->connectClock(2, QStringLiteral("K1"));
    ClockPage p(dm(), db.folder());
    p.chooseTab("tsCrtTimerTrain");
    EXPECT_NE(state().clockHandle, 0);
    EXPECT_EQ(state().readerHandle, 0);
    state().lastClockLoft = QStringLiteral("002");
    p.chooseTab("tsMarking");
    EXPECT_EQ(state().clockHandle, 0);
    EXPECT_TRUE(state().lastClockLoft.isEmpty());
    EXPECT_NE(state().readerHandle, 0);
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST_F(ClockOpPage, SwitchingTabsStopsReadingReopensThePortAndKeepsTheLastRing)
{
    ClockPage p(dm(), db.folder());
    p.chooseTab("tsMatchIng");
    p.choose("cbbLoftNo", QStringLiteral("Adams"));
    p.choose("cbbPRingNo", QStringLiteral("BE-24-0001"));
    EXPECT_TRUE(p.reading("MatchTimer1"));
    script->layRing(Genuine);
    ASSERT_TRUE(waitFor([&] { return state().lastUid == Genuine; }));
    p.choose("cbbPRingNo", QStringLiteral("BE-24-0002"));
    EXPECT_TRUE(p.reading("MatchTimer1"));

    p.chooseTab("tsMarking");
    EXPECT_FALSE(p.reading("MatchTimer1"));
    EXPECT_NE(state().readerHandle, 0);
    EXPECT_EQ(state().lastUid, Genuine);
    p.chooseTab("tsMatchIng");
    EXPECT_EQ(state().lastUid, Genuine);
    EXPECT_FALSE(p.reading("MatchTimer1"));
}

TEST_F(ClockOpPage, MatchingFromTheControlsAssignsTheRingAndShowsThePigeon)
{
    ClockPage p(dm(), db.folder());
    p.chooseTab("tsMatchIng");
    p.choose("cbbLoftNo", QStringLiteral("Adams"));
    EXPECT_EQ(p.items("cbbPRingNo").size(), 3);
    EXPECT_EQ(p.find<QComboBox>("cbbPRingNo")->currentText(), QString());
    EXPECT_EQ(p.column("dbgrdMatching", "LoftNo"), (QStringList{QStringLiteral("Adams"), QStringLiteral("Adams"), QStringLiteral("Adams")}));
    const auto* header = p.find<QTableView>("dbgrdMatching")->horizontalHeader();
    const RowSetModel* model = p.rows("dbgrdMatching");
    QStringList titles;
    for (int visual = 0; visual < header->count(); ++visual)
        titles << model->headerData(header->logicalIndex(visual), Qt::Horizontal).toString();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Member"), QStringLiteral("Sex of bird"), QStringLiteral("Association Number"),
                                   QStringLiteral("eRing Assigment"), QStringLiteral("UID"), QStringLiteral("Color")}));

    p.choose("cbbPRingNo", QStringLiteral("BE-24-0002"));
    script->addRing(QStringLiteral("04B00001"), QStringLiteral("2B2B2B2B"), 0x10);
    script->layRing(QStringLiteral("04B00001"));
    ASSERT_TRUE(waitFor([&] { return eRingOf(QStringLiteral("BE-24-0002")) == QStringLiteral("2B2B2B2B|04B00001|16|1|1"); }));
    EXPECT_FALSE(p.reading("MatchTimer1"));
    EXPECT_EQ(p.selectedRing("dbgrdMatching"), QStringLiteral("BE-24-0002"));
    const int row = p.rows("dbgrdMatching")->findRow(QStringLiteral("PRingNo"), QStringLiteral("BE-24-0002"));
    EXPECT_EQ(p.rows("dbgrdMatching")->displayText(row, QStringLiteral("E_Ring")), QStringLiteral("2B2B2B2B"));
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST_F(ClockOpPage, EnterInTheRingNumberStartsReadingOtherKeysAndAGridClickDoNot)
{
    ClockPage p(dm(), db.folder());
    p.chooseTab("tsMatchIng");
    p.choose("cbbLoftNo", QStringLiteral("Adams"));
    auto* ringNo = p.find<QComboBox>("cbbPRingNo");
    QTest::keyClicks(ringNo->lineEdit(), QStringLiteral("BE-24-0001"));
    EXPECT_FALSE(p.reading("MatchTimer1"));

    auto* grid = p.find<QTableView>("dbgrdMatching");
    const int row = p.rows("dbgrdMatching")->findRow(QStringLiteral("PRingNo"), QStringLiteral("BE-24-0003"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 1)).center());
    EXPECT_EQ(ringNo->currentText(), QStringLiteral("BE-24-0003"));
    EXPECT_FALSE(p.reading("MatchTimer1"));

    QTest::keyClick(ringNo->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(p.reading("MatchTimer1"));
}

TEST_F(ClockOpPage, AForgedRingIsShownAsUnauthorizedAndReadingStops)
{
    ClockPage p(dm(), db.folder());
    p.chooseTab("tsMatchIng");
    p.choose("cbbLoftNo", QStringLiteral("Adams"));
    p.choose("cbbPRingNo", QStringLiteral("BE-24-0001"));
    script->layRing(Forged);
    ASSERT_TRUE(waitFor([&] { return !p.reading("MatchTimer1"); }));
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("Unauthorized eRing !")});
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0001")), QStringLiteral("||0|0|0"));
}

TEST_F(ClockOpPage, TheReMatchingQuestionIsAskedAndItsNoKeepsTheOtherPigeonsRing)
{
    ClockPage p(dm(), db.folder());
    p.chooseTab("tsMatchIng");
    p.choose("cbbLoftNo", QStringLiteral("Adams"));
    p.choose("cbbPRingNo", QStringLiteral("BE-24-0001"));
    Dialogs::setNextAnswer(QMessageBox::No);
    script->layRing(Bakers);
    ASSERT_TRUE(waitFor([&] { return !p.reading("MatchTimer1"); }));
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("PRingNo(BE-24-0101) ReMatching , Update or not?")});
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0101")), QStringLiteral("11111111|04000001|7|1|1"));
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0001")), QStringLiteral("||0|0|0"));
}

TEST_F(ClockOpPage, MarkingFromTheControlsCreatesTheEntryAndReadsOn)
{
    ClockPage p(dm(), db.folder());
    p.chooseTab("tsMarking");
    p.choose("cbbRaceCode", QStringLiteral("A1  05/10"));
    EXPECT_TRUE(p.reading("MarkTimer1"));
    EXPECT_EQ(p.column("dbgrdMarking", "PRingNo"),
              (QStringList{QStringLiteral("BE-24-0001"), QStringLiteral("BE-24-0002"), QStringLiteral("BE-24-0003"), QStringLiteral("BE-24-0101")}));
    EXPECT_EQ(p.column("dbgrdMarking", "Sex").value(0), QStringLiteral("Hen"));
    script->layRing(Genuine);
    ASSERT_TRUE(waitFor([&] { return !rows(QStringLiteral("select PRingNo from ZAVR_PigRaceData where LiberCode='A1'")).isEmpty(); }));
    EXPECT_EQ(rows(QStringLiteral("select PRingNo, LiberDate from ZAVR_PigRaceData")),
              QStringList{QStringLiteral("BE-24-0003|2024-05-10 00:00:00")});
    EXPECT_TRUE(p.reading("MarkTimer1"));
    EXPECT_EQ(p.selectedRing("dbgrdMarking"), QStringLiteral("BE-24-0003"));
    const int row = p.rows("dbgrdMarking")->findRow(QStringLiteral("PRingNo"), QStringLiteral("BE-24-0003"));
    EXPECT_EQ(p.rows("dbgrdMarking")->displayText(row, QStringLiteral("LiberDate")), QStringLiteral("2024/05/10"));
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST_F(ClockOpPage, MarkingWithoutARaceIsRefusedAndDoesNotRead)
{
    ClockPage p(dm(), db.folder());
    p.chooseTab("tsMarking");
    QTest::keyClick(p.find<QComboBox>("cbbRaceCode")->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("Pls. Select Race Code !")});
    EXPECT_FALSE(p.reading("MarkTimer1"));
}

TEST_F(ClockOpPage, ANewPageKeepsThePageWideValuesAndOpensOnNoTab)
{
    {
        ClockPage p(dm(), db.folder());
        p.chooseTab("tsMarking");
        p.choose("cbbRaceCode", QStringLiteral("B2  06/01"));
        script->layRing(Genuine);
        ASSERT_TRUE(waitFor([&] { return state().lastUid == Genuine; }));
    }
    EXPECT_FALSE(state().hasLink());
    EXPECT_EQ(state().readerHandle, 0);
    ClockPage again(dm(), db.folder());
    EXPECT_EQ(again.page.activePageIndex(), -1);
    EXPECT_EQ(state().lastUid, Genuine);
    EXPECT_EQ(state().raceCode, QStringLiteral("B20601"));
    EXPECT_EQ(state().markedRingNo, QStringLiteral("BE-24-0003"));
    // The ring still on the reader is not marked twice once the race is chosen again.
    again.chooseTab("tsMarking");
    again.choose("cbbRaceCode", QStringLiteral("B2  06/01"));
    QTest::qWait(3 * ClockOpTab::PollMsecs);
    EXPECT_EQ(rows(QStringLiteral("select count(*) from ZAVR_PigRaceData where LiberCode='B2'")), QStringList{QStringLiteral("1")});
}

TEST_F(ClockOpPage, CtrlShiftDOpensTheDeviceSimulator)
{
    ClockPage p(dm(), db.folder());
    QApplication::setActiveWindow(&p.page);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p.page));
    QTest::keyClick(&p.page, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    auto* simulator = p.page.findChild<TfrmDeviceSimulator*>(QStringLiteral("frmDeviceSimulator"));
    ASSERT_NE(simulator, nullptr);
    EXPECT_TRUE(simulator->isVisible());
    EXPECT_EQ(simulator->windowTitle(), QStringLiteral("Device simulator"));
    EXPECT_EQ(TfrmDeviceSimulator::showWindow(dm(), db.folder(), &p.page), simulator);  // one window at a time
}

}  // namespace
