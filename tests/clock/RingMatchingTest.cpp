#include "ClockClub.h"
#include "CorvelError.h"
#include "DeviceLibraries.h"
#include "RingMatching.h"

#include <QDateTime>
#include <QFile>

namespace {

const QDateTime Now(QDate(2024, 5, 9), QTime(18, 30, 15, 400));

class Matching : public ClockClub {
protected:
    Matching()
    {
        EXPECT_TRUE(state.openReaderLink(db.folder()));
        EXPECT_TRUE(RingMatching::chooseMember(dm(), state, QStringLiteral("Adams")));
    }
    // One poll for the ring number, answering the re-matching question with answer (and
    // recording it).
    RingPollResult poll(const QString& ringNo, bool answer = true)
    {
        return RingMatching::poll(dm(), state, ringNo, [this, answer](const QString& q) {
            questions << q;
            return answer;
        }, Now);
    }
    ClockOpState state;
    QStringList questions;
};

TEST_F(Matching, AGenuineRingIsAssignedOncePresentedTwice)
{
    script->layRing(Genuine);
    const RingPollResult first = poll(QStringLiteral("BE-24-0001"));
    EXPECT_FALSE(first.keepReading);
    EXPECT_TRUE(first.message.isEmpty());
    EXPECT_EQ(first.acceptedRingNo, QStringLiteral("BE-24-0001"));
    // The data block's fifth byte 3C is the random code 60.
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0001")), QStringLiteral("1A2B3C4D|04A1B2C3|60|1|1"));
    EXPECT_EQ(rows(QStringLiteral("select AssignDate, Updatetime from ZAVR_PigData where PRingNo='BE-24-0001'")),
              QStringList{QStringLiteral("2024-05-09 00:00:00|2024-05-09 18:30:15")});
    EXPECT_EQ(state.lastUid, Genuine);
    EXPECT_EQ(linkBench(state).bellCount(), 1);
    EXPECT_EQ(linkBench(state).lastReset(), 20);

    // Left on the reader and the ring number chosen again: the poll stops without a word.
    db.run(QStringLiteral("update ZAVR_PigData set Updatetime=null where PRingNo='BE-24-0001'"));
    const RingPollResult second = poll(QStringLiteral("BE-24-0002"));
    EXPECT_FALSE(second.keepReading);
    EXPECT_TRUE(second.message.isEmpty());
    EXPECT_TRUE(second.acceptedRingNo.isEmpty());
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0002")), QStringLiteral("||0|0|0"));
    EXPECT_EQ(rows(QStringLiteral("select Updatetime from ZAVR_PigData where PRingNo='BE-24-0001'")), QStringList{QString()});
    EXPECT_EQ(linkBench(state).bellCount(), 1);
}

TEST_F(Matching, AForgedRingIsRefusedAndNothingIsReadUntilARingNumberIsChosenAgain)
{
    script->layRing(Forged);
    const RingPollResult result = poll(QStringLiteral("BE-24-0001"));
    EXPECT_FALSE(result.keepReading);
    EXPECT_EQ(result.message, QStringLiteral("Unauthorized eRing !"));
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0001")), QStringLiteral("||0|0|0"));
    EXPECT_TRUE(state.lastUid.isEmpty());
    EXPECT_EQ(linkBench(state).bellCount(), 0);
}

TEST_F(Matching, WithoutARingOrWithoutAPortReadingRunsOnAndNothingHappens)
{
    EXPECT_TRUE(poll(QStringLiteral("BE-24-0001")).keepReading);
    state.releaseLink();  // a tab without a link: the reader never answers
    script->layRing(Genuine);
    const RingPollResult result = poll(QStringLiteral("BE-24-0001"));
    EXPECT_TRUE(result.keepReading);
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0001")), QStringLiteral("||0|0|0"));
}

TEST_F(Matching, ReMatchingYesTakesTheRingFromTheOtherPigeonButLeavesItsRandomCode)
{
    script->layRing(Bakers);
    const RingPollResult result = poll(QStringLiteral("BE-24-0002"), true);
    EXPECT_EQ(questions, QStringList{QStringLiteral("PRingNo(BE-24-0101) ReMatching , Update or not?")});
    EXPECT_EQ(result.acceptedRingNo, QStringLiteral("BE-24-0002"));
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0101")), QStringLiteral("||7|1|1"));
    EXPECT_EQ(rows(QStringLiteral("select AssignDate, Updatetime from ZAVR_PigData where PRingNo='BE-24-0101'")),
              QStringList{QStringLiteral("2024-05-09 00:00:00|2024-05-09 18:30:15")});
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0002")), QStringLiteral("11111111|04000001|7|1|1"));
    EXPECT_FALSE(state.skipRing);
}

TEST_F(Matching, ReMatchingNoSkipsTheRingWhileItStaysTheLastOne)
{
    script->layRing(Bakers);
    const RingPollResult declined = poll(QStringLiteral("BE-24-0002"), false);
    EXPECT_FALSE(declined.keepReading);
    EXPECT_TRUE(declined.acceptedRingNo.isEmpty());
    EXPECT_TRUE(state.skipRing);
    EXPECT_EQ(state.lastUid, Bakers);
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0101")), QStringLiteral("11111111|04000001|7|1|1"));
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0002")), QStringLiteral("||0|0|0"));
    // Chosen again while it lies there: no second question, nothing written.
    poll(QStringLiteral("BE-24-0002"), true);
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0002")), QStringLiteral("||0|0|0"));
}

TEST_F(Matching, AFailedDataReadWritesNothingAndReadsAgainAtTheNextPoll)
{
    script->layRing(Genuine);
    script->failNextReads(1);
    const RingPollResult failed = poll(QStringLiteral("BE-24-0001"));
    EXPECT_TRUE(failed.keepReading);
    EXPECT_TRUE(failed.message.isEmpty());
    EXPECT_TRUE(state.lastUid.isEmpty());
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0001")), QStringLiteral("||0|0|0"));
    EXPECT_EQ(poll(QStringLiteral("BE-24-0001")).acceptedRingNo, QStringLiteral("BE-24-0001"));
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0001")), QStringLiteral("1A2B3C4D|04A1B2C3|60|1|1"));
}

// A ring number that is not one of the chosen member's pigeons: the error, the ring is
// remembered, and nothing is written (not even the other pigeon's ring taken away).
TEST_F(Matching, ARingNumberNotOfTheChosenMemberIsAnErrorAndWritesNothing)
{
    for (const QString& ringNo : {QString(), QStringLiteral("BE-24-0101"), QStringLiteral("XX")}) {
        SCOPED_TRACE(ringNo.toStdString());
        state.lastUid.clear();
        script->layRing(Bakers);
        try {
            poll(ringNo, true);
            ADD_FAILURE() << "no error";
        } catch (const CorvelError& e) {
            EXPECT_EQ(e.text(), QStringLiteral("Ring association number error !"));
        }
        EXPECT_EQ(state.lastUid, Bakers);
        EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0101")), QStringLiteral("11111111|04000001|7|1|1"));
    }
}

TEST_F(Matching, ADatabaseErrorWhileAssigningIsDataUpdateFailAndUndoesTheReMatching)
{
    db.run(QStringLiteral("create trigger refuse before update of E_Ring on ZAVR_PigData when new.PRingNo='BE-24-0002' "
                          "begin select raise(abort, 'refused'); end"));
    script->layRing(Bakers);
    try {
        poll(QStringLiteral("BE-24-0002"), true);
        ADD_FAILURE() << "no error";
    } catch (const CorvelError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Data Update Fail !"));
    }
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0101")), QStringLiteral("11111111|04000001|7|1|1"));
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0002")), QStringLiteral("||0|0|0"));
}

TEST_F(Matching, ABenchFileSpoiltWhileTheTabPollsSilencesTheReader)
{
    script->layRing(Genuine);
    QFile file(DeviceLibraries::benchPath(db.folder()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("{ not json");
    file.close();
    const RingPollResult result = poll(QStringLiteral("BE-24-0001"));
    EXPECT_TRUE(result.keepReading);
    EXPECT_EQ(eRingOf(QStringLiteral("BE-24-0001")), QStringLiteral("||0|0|0"));
}

TEST(RingMatchingMember, AnUnknownNameChangesNothing)
{
    TestDatabase db;
    db.run(QStringLiteral("insert into ZAVR_LoftData (LoftNo,LoftName) values ('001','Adams')"));
    ClockOpState state;
    state.currentLoftNo = QStringLiteral("009");
    EXPECT_FALSE(RingMatching::chooseMember(db.dm(), state, QStringLiteral("adams")));
    EXPECT_EQ(state.currentLoftNo, QStringLiteral("009"));
    EXPECT_EQ(RingMatching::chooseMember(db.dm(), state, QStringLiteral("Adams")), QStringLiteral("001"));
    EXPECT_EQ(state.currentLoftNo, QStringLiteral("001"));
}

}  // namespace
