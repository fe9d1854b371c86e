#include "ClockClub.h"
#include "ClockOpLogic.h"
#include "RingMatching.h"
#include "RowSetModel.h"

namespace {

TEST(ClockOpChoices, ARaceEntryGivesTheTrimmedTextsAroundItsFirstSlash)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1A2F / 0819", "1A2F0819"}, {"  A1 /0510 ", "A10510"}, {"A1 / 05/10", "A105/10"}, {"A10510", "A10510"}, {"", ""}};
    for (const auto& [entry, code] : cases)
        EXPECT_EQ(ClockOp::raceCodeOfChoice(QString::fromLatin1(entry)), QString::fromLatin1(code)) << entry;
}

TEST(ClockOpChoices, AMarkingEntrySplitsAtItsFirstBlank)
{
    struct Case {
        const char* entry;
        const char* code;
        const char* date;
    };
    const Case cases[] = {{"1A2F  08/19", "1A2F", "08/19"}, {"A1 05/10 ", "A1", "05/10"}, {"  A1  05/10", "", "A1  05/10"},
                          {"A1", "", "A1"}, {"", "", ""}};
    for (const Case& c : cases) {
        const auto [code, date] = ClockOp::splitMarkingChoice(QString::fromLatin1(c.entry));
        EXPECT_EQ(code, QString::fromLatin1(c.code)) << c.entry;
        EXPECT_EQ(date, QString::fromLatin1(c.date)) << c.entry;
    }
}

TEST(ClockOpChoices, SexShowsHenForHCockForAnythingElseAndNothingForNull)
{
    EXPECT_EQ(ClockOp::sexText(QStringLiteral("H")), QStringLiteral("Hen"));
    EXPECT_EQ(ClockOp::sexText(QStringLiteral("C")), QStringLiteral("Cock"));
    EXPECT_EQ(ClockOp::sexText(QStringLiteral("x")), QStringLiteral("Cock"));
    EXPECT_EQ(ClockOp::sexText(QString()), QStringLiteral("Cock"));
    EXPECT_EQ(ClockOp::sexText(QVariant()), QString());
}

using ClockOpLists = ClockClub;

TEST_F(ClockOpLists, BothRaceListsShowEveryRaceInTableOrder)
{
    EXPECT_EQ(ClockOp::markingRaceList(dm()),
              (QStringList{QStringLiteral("A1  05/10"), QStringLiteral("B2  06/01"), QStringLiteral("A1  05/10")}));
    EXPECT_EQ(ClockOp::raceList(dm()), (QStringList{QStringLiteral("A1 / 0510"), QStringLiteral("B2 / 0601"), QStringLiteral("A1 / 0510")}));
    EXPECT_EQ(ClockOp::raceCodeOfChoice(ClockOp::raceList(dm()).at(1)), QStringLiteral("B20601"));
    EXPECT_EQ(ClockOp::memberNames(dm()), (QStringList{QStringLiteral("Adams"), QStringLiteral("Baker"), QStringLiteral("Carr")}));
}

TEST_F(ClockOpLists, TheMatchingGridShowsNamesSexesAndColoursAndEmptyTextForUnknownCodes)
{
    db.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,Sex,ColorType) values ('009','BE-24-0900','H','BLU')"));
    RowSetModel model;
    ClockOp::applyDisplayRules(dm(), model, true);
    QSqlQuery q = RingMatching::matchingQuery(dm(), QStringLiteral("001"));
    model.setQueryResult(q);
    const int r1 = model.findRow(QStringLiteral("PRingNo"), QStringLiteral("BE-24-0001"));
    const int r2 = model.findRow(QStringLiteral("PRingNo"), QStringLiteral("BE-24-0002"));
    const int r3 = model.findRow(QStringLiteral("PRingNo"), QStringLiteral("BE-24-0003"));
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.displayText(r1, QStringLiteral("LoftNo")), QStringLiteral("Adams"));
    EXPECT_EQ(model.displayText(r1, QStringLiteral("Sex")), QStringLiteral("Hen"));
    EXPECT_EQ(model.displayText(r1, QStringLiteral("ColorType")), QStringLiteral("Blue"));
    EXPECT_EQ(model.displayText(r2, QStringLiteral("Sex")), QStringLiteral("Cock"));
    EXPECT_EQ(model.displayText(r2, QStringLiteral("ColorType")), QString());
    EXPECT_EQ(model.displayText(r3, QStringLiteral("Sex")), QString());
    EXPECT_EQ(model.displayText(r3, QStringLiteral("ColorType")), QString());

    QSqlQuery orphan = RingMatching::matchingQuery(dm(), QStringLiteral("009"));
    model.setQueryResult(orphan);
    EXPECT_EQ(model.displayText(0, QStringLiteral("LoftNo")), QString());
}

// The ring reader link counts as open only when a port answered; a scan that found none keeps
// no handle for the tab to use.
TEST_F(ClockOpLists, ALinkWithoutAUsablePortLeavesTheHandleAtZero)
{
    ClockOpState state;
    script->disconnect(1);
    script->connectRingReader(2);
    script->setPortFault(2, true);  // COM2 opens but does not answer
    EXPECT_FALSE(state.openReaderLink(db.folder()));
    EXPECT_EQ(state.readerHandle, 0);
    EXPECT_TRUE(state.hasLink());

    script->setPortFault(2, false);
    EXPECT_TRUE(state.openReaderLink(db.folder()));
    EXPECT_NE(state.readerHandle, 0);
    state.lastClockLoft = QStringLiteral("001");
    state.releaseLink();
    EXPECT_EQ(state.readerHandle, 0);
    EXPECT_FALSE(state.hasLink());
    EXPECT_EQ(state.lastClockLoft, QStringLiteral("001"));  // only releasing a clock link forgets it

    script->addClock(QStringLiteral("K1"), QString());
    script->connectClock(1, QStringLiteral("K1"));
    EXPECT_TRUE(state.openClockLink(db.folder()));
    EXPECT_NE(state.clockHandle, 0);
    state.releaseLink();
    EXPECT_EQ(state.clockHandle, 0);
    EXPECT_TRUE(state.lastClockLoft.isEmpty());
}

}  // namespace
