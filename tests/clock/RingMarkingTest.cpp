#include "ClockClub.h"
#include "CorvelError.h"
#include "RingMarking.h"
#include "RowSetModel.h"

#include <QDateTime>

namespace {

const QDateTime Now(QDate(2024, 5, 9), QTime(19, 0, 5, 700));

class Marking : public ClockClub {
protected:
    Marking()
    {
        // Adams' BE-24-0001 carries the genuine ring; BE-24-0002 has an entry of race B2 only.
        db.run(QStringLiteral("update ZAVR_PigData set E_Ring='1A2B3C4D', UID='04A1B2C3', RandomCode=60 "
                              "where PRingNo='BE-24-0001'"));
        db.run(QStringLiteral("insert into ZAVR_PigRaceData (ClubID,LiberCode,LiberDate,PRingNo,RandomCode) values "
                              "('C1','B2','2024-06-01 00:00:00','BE-24-0002',9)"));
        EXPECT_TRUE(state.openReaderLink(db.folder()));
    }
    void chooseA1() { RingMarking::chooseRace(dm(), state, QStringLiteral("A1  05/10")); }
    RingPollResult poll() { return RingMarking::poll(dm(), state, Now); }
    QStringList listed()
    {
        RowSetModel model;
        QSqlQuery q = RingMarking::markingQuery(dm(), state);
        model.setQueryResult(q);
        QStringList out;
        for (int r = 0; r < model.rowCount(); ++r)
            out << model.value(r, QStringLiteral("PRingNo")).toString() + QLatin1Char('|') + model.value(r, QStringLiteral("LiberCode")).toString();
        return out;
    }
    QStringList entries()
    {
        return rows(QStringLiteral("select ClubID,LiberCode,LiberDate,PRingNo,RandomCode,MarkedTime from ZAVR_PigRaceData "
                                   "where LiberCode='A1' order by PRingNo"));
    }
    ClockOpState state;
};

TEST_F(Marking, ChoosingARaceTakesTheFirstRaceOfThatCodeAndDay)
{
    chooseA1();
    EXPECT_EQ(state.raceLiberCode, QStringLiteral("A1"));
    EXPECT_EQ(state.raceLiberDate, QStringLiteral("2024/05/10"));
    EXPECT_EQ(state.raceCode, QStringLiteral("A10510"));
    EXPECT_EQ(state.raceClubId, QStringLiteral("C1"));
}

TEST_F(Marking, AnEntryNamingNoRaceIsRefusedAndChangesNothing)
{
    chooseA1();
    for (const char* entry : {"", "A1", "  A1  05/10", "A1  05/11", "C9  05/10"}) {
        try {
            RingMarking::chooseRace(dm(), state, QString::fromLatin1(entry));
            ADD_FAILURE() << "no error for " << entry;
        } catch (const CorvelError& e) {
            EXPECT_EQ(e.text(), QStringLiteral("Pls. Select Race Code !"));
        }
        EXPECT_EQ(state.raceLiberDate, QStringLiteral("2024/05/10")) << entry;
    }
}

TEST_F(Marking, APigeonWithEntriesOnlyForOtherRacesIsListedOnceMarkedForThisRace)
{
    chooseA1();
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("BE-24-0001|"), QStringLiteral("BE-24-0003|"), QStringLiteral("BE-24-0101|")}));
    db.run(QStringLiteral("update ZAVR_PigData set E_Ring='22222222', UID='04CCCCCC' where PRingNo='BE-24-0002'"));
    script->addRing(QStringLiteral("04CCCCCC"), QStringLiteral("22222222"), 0);
    script->layRing(QStringLiteral("04CCCCCC"));
    EXPECT_EQ(poll().acceptedRingNo, QStringLiteral("BE-24-0002"));
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("BE-24-0001|"), QStringLiteral("BE-24-0002|A1"), QStringLiteral("BE-24-0003|"),
                                     QStringLiteral("BE-24-0101|")}));
}

TEST_F(Marking, MarkingTwiceForTheSameRaceUpdatesOneEntryWithTheCodeReadBackFromTheRing)
{
    chooseA1();
    script->layRing(Genuine);
    const RingPollResult first = poll();
    EXPECT_TRUE(first.keepReading);
    EXPECT_TRUE(first.message.isEmpty());
    EXPECT_EQ(first.acceptedRingNo, QStringLiteral("BE-24-0001"));
    const QString code = QString::number(state.markCode);
    EXPECT_EQ(ringData(Genuine), QStringLiteral("1A2B3C4D") + QStringLiteral("%1").arg(state.markCode, 2, 16, QLatin1Char('0')).toUpper());
    EXPECT_EQ(entries(), QStringList{QStringLiteral("C1|A1|2024-05-10 00:00:00|BE-24-0001|") + code + QStringLiteral("|2024-05-09 19:00:05")});
    EXPECT_EQ(linkBench(state).bellCount(), 1);
    EXPECT_EQ(linkBench(state).lastReset(), 0);

    // Left on the reader: handled once.
    EXPECT_TRUE(poll().acceptedRingNo.isEmpty());
    EXPECT_EQ(linkBench(state).bellCount(), 1);

    // Another ring in between, then the same pigeon again: a new code replaces the entry's.
    script->layRing(Bakers);
    EXPECT_EQ(poll().acceptedRingNo, QStringLiteral("BE-24-0101"));
    script->layRing(Genuine);
    EXPECT_EQ(poll().acceptedRingNo, QStringLiteral("BE-24-0001"));
    const int readBack = QStringView(ringData(Genuine)).mid(8, 2).toInt(nullptr, 16);
    EXPECT_EQ(ringData(Genuine).left(8), QStringLiteral("1A2B3C4D"));
    EXPECT_EQ(rows(QStringLiteral("select RandomCode from ZAVR_PigRaceData where LiberCode='A1' and PRingNo='BE-24-0001'")),
              QStringList{QString::number(readBack)});
    EXPECT_EQ(entries().size(), 2);
}

TEST_F(Marking, ARingOfNoPigeonIsReportedOnceAndThenIgnored)
{
    chooseA1();
    script->layRing(Forged);
    const RingPollResult first = poll();
    EXPECT_TRUE(first.keepReading);
    EXPECT_EQ(first.message, QStringLiteral("UID Not Match Error !  !"));
    EXPECT_TRUE(state.skipRing);
    EXPECT_EQ(state.lastUid, Forged);
    const RingPollResult second = poll();
    EXPECT_TRUE(second.keepReading);
    EXPECT_TRUE(second.message.isEmpty());
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_EQ(ringData(Forged), QStringLiteral("0BADF00D01"));
}

TEST_F(Marking, AFailedWriteOrReadBackSavesNothingSilentlyAndTheNextPollTriesAgain)
{
    chooseA1();
    script->layRing(Genuine);
    for (const bool failWrite : {true, false}) {
        SCOPED_TRACE(failWrite ? "write" : "read-back");
        if (failWrite)
            script->failNextWrites(1);
        else
            script->failNextReads(1);
        const RingPollResult failed = poll();
        EXPECT_TRUE(failed.keepReading);
        EXPECT_TRUE(failed.message.isEmpty());
        EXPECT_TRUE(state.lastUid.isEmpty());
        EXPECT_TRUE(entries().isEmpty());
    }
    EXPECT_EQ(poll().acceptedRingNo, QStringLiteral("BE-24-0001"));
    EXPECT_EQ(entries().size(), 1);
}

TEST_F(Marking, WriteMarkingCodeRefusesARingReplacedSinceItWasRead)
{
    script->layRing(Bakers);
    state.ringDataHex = QStringLiteral("1A2B3C4D");
    QString message;
    EXPECT_FALSE(RingMarking::WriteMarkingCode(state, Genuine, &message));
    EXPECT_EQ(message, QStringLiteral("UID Not Match Error ! "));
    EXPECT_EQ(ringData(Bakers), QStringLiteral("1111111107"));
    EXPECT_EQ(ringData(Genuine), QStringLiteral("1A2B3C4D3C"));

    script->takeRing();  // taken away before the write
    state.ringDataHex = QStringLiteral("1A2B3C4D");
    message.clear();
    EXPECT_FALSE(RingMarking::WriteMarkingCode(state, Genuine, &message));
    EXPECT_TRUE(message.isEmpty());
}

TEST_F(Marking, APigeonWithoutAValidERingNumberIsRefusedOnceAndItsRingLeftAsItIs)
{
    db.run(QStringLiteral("update ZAVR_PigData set E_Ring='' where PRingNo='BE-24-0001'"));
    chooseA1();
    script->layRing(Genuine);
    const RingPollResult result = poll();
    EXPECT_EQ(result.message, QStringLiteral("PRingNo(BE-24-0001) has no valid eRing number: match its eRing again !"));
    EXPECT_TRUE(result.keepReading);
    EXPECT_TRUE(poll().message.isEmpty());
    EXPECT_EQ(ringData(Genuine), QStringLiteral("1A2B3C4D3C"));
    EXPECT_TRUE(entries().isEmpty());
}

TEST_F(Marking, ADatabaseErrorWhileSavingTheEntryIsUpdateMarkingTableFail)
{
    db.run(QStringLiteral("create trigger refuse before insert on ZAVR_PigRaceData begin select raise(abort, 'refused'); end"));
    chooseA1();
    script->layRing(Genuine);
    try {
        poll();
        ADD_FAILURE() << "no error";
    } catch (const CorvelError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Update Marking table fail !"));
    }
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_TRUE(state.lastUid.isEmpty());
}

}  // namespace
