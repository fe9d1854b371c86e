#include "RaceRound.h"

#include "CorvelError.h"
#include "Formats.h"
#include "PdfText.h"
#include "RaceReports.h"

#include <QTemporaryDir>

namespace {

using ClockUpload::PollResult;

class UploadTest : public RaceRound {
protected:
    // Adams' clock C1 and Baker's clock C2 (5 s fast) programmed for race 1A2F, with arrivals.
    void programBothClocks()
    {
        plug(QStringLiteral("C1"));
        programRace(QStringLiteral("001"));
        plug(QStringLiteral("C2"));
        programRace(QStringLiteral("002"));
        clock.calls.clear();
        shown.clear();
    }
};

TEST_F(UploadTest, AFullRoundStoresEveryArrivalByTheRulesAndRanksTheRace)
{
    programBothClocks();
    const QString c1 = QStringLiteral("C1");
    arrive(c1, QStringLiteral("1A000001"), at(19, "12:00:00.000"));                           // P1: 2 h
    arrive(c1, QStringLiteral("1A000002"), at(19, "12:10:00.000"), 0x99);                     // P2: wrong read code
    arrive(c1, QStringLiteral("1A000003"), at(19, "12:20:00.000"), {}, QStringLiteral("DEADBEEF"));  // P3: foreign UID
    arrive(c1, QStringLiteral("0BADF00D"), at(19, "12:30:00.000"));                           // no pigeon's eRing
    arrive(c1, QStringLiteral("1A000004"), at(20, "07:15:30.000"));                           // P4: the next day
    arrive(c1, QStringLiteral("1A000005"), at(19, "10:00:00.400"));                           // P5: 0.4 s after liberation
    arrive(c1, QStringLiteral("1A000006"), at(19, "12:40:00.000"));                           // P6: not entered
    const QString c2 = QStringLiteral("C2");
    arrive(c2, QStringLiteral("2B000001"), at(19, "11:00:00.000"));  // Q1 on a clock 5 s fast
    arrive(c2, QStringLiteral("2B000002"), at(19, "11:00:00.500"));  // Q2: 3600.5 s

    // Adams' clock.
    plug(c1);
    ASSERT_EQ(poll(), PollResult::Ready);
    EXPECT_EQ(currentLoftNo, QStringLiteral("001"));
    EXPECT_EQ(clockSiteText, QStringLiteral("001"));
    EXPECT_EQ(onPort.clockNo, c1);
    ASSERT_TRUE(upload());
    EXPECT_EQ(clock.takeCalls(),
              (QStringList{"HexToBin x2", "IFD_Connect", "PGT_GetSiteInfo", "PGT_GetCurrentRace", "DesEncrypt", "IFD_GetDevNo",
                           "PGT_GetRaceTagCount", "PGT_GetRaceRecord", "PGT_CheckRecord", "PGT_GetRaceRecord",
                           "PGT_CheckRecord", "PGT_GetRaceRecord", "PGT_CheckRecord", "PGT_GetRaceRecord", "PGT_CheckRecord",
                           "PGT_GetRaceRecord", "PGT_CheckRecord", "PGT_GetRaceRecord", "PGT_CheckRecord", "PGT_GetRaceRecord",
                           "PGT_CheckRecord", "PGT_VerifyRace", "PGT_CloseRace", "PGT_GetRaceT2Device", "PGT_GetRaceT2Auth",
                           "IFD_GetDevNo"}));
    EXPECT_EQ(reading.records.size(), 7);
    EXPECT_EQ(shown, (QStringList{"Security Code not match !! ", "UID Not Match  !!",
                                  "eRing not found (0BADF00D): the arrival is skipped !!", "PRingNo not found in this race (P6)!!"}));
    // BackTime|FlyTime|FlySpeed|Dist|TimeVari|RealRandom|UID_Real|ClockID
    EXPECT_EQ(entry("P1"), QStringLiteral("2024/08/19 12:00:00.000|2:0:0|1210|145200|0|11|04000001|C1"));
    EXPECT_EQ(entry("P2"), QStringLiteral("|||||99|04000002|C1"));
    EXPECT_EQ(entry("P3"), QStringLiteral("|||||13|DEADBEEF|C1"));
    // Night neutralised: 10:00:00 to the sunset 20:30:00, then the sunrise 05:45:00 to 07:15:30.
    EXPECT_EQ(entry("P4"), QStringLiteral("2024/08/20 07:15:30.000|12:0:30|201.527|145200|0|14|04000004|C1"));
    EXPECT_EQ(entry("P5"), QStringLiteral("2024/08/19 10:00:00.400|0:0:0|0|145200|0|15|04000005|C1"));
    EXPECT_EQ(rows(QStringLiteral("SELECT ULMasterTime, ULClockTime FROM ZAVR_RaceClockTime WHERE LoftNo = '001'")),
              QStringList{"2024-08-20 18:00:00|2024-08-20 18:00:00"});

    // Baker's clock, 5 s fast at the end-of-race check.
    shown.clear();
    plug(c2);
    ASSERT_EQ(poll(), PollResult::Ready);
    ASSERT_TRUE(upload());
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(reading.timeVariation, 5);
    EXPECT_EQ(entry("Q1"), QStringLiteral("2024/08/19 11:00:05.000|1:0:0|1666.667|100000|5|21|04000101|C2"));
    EXPECT_EQ(entry("Q2"), QStringLiteral("2024/08/19 11:00:05.500|1:0:1|1666.204|100000|5|22|04000102|C2"));
    EXPECT_EQ(rows(QStringLiteral("SELECT ULMasterTime, ULClockTime FROM ZAVR_RaceClockTime WHERE LoftNo = '002'")),
              QStringList{"2024-08-20 18:00:00|2024-08-20 18:00:05"});

    RowSetModel results;
    fill(results, ClockUpload::timerResult(dm(), race, false));
    QStringList ranked;
    for (int r = 0; r < results.rowCount(); ++r)
        ranked << results.value(r, QStringLiteral("Rank")).toString() + QLatin1Char(' ') + results.value(r, QStringLiteral("PRingNo")).toString();
    EXPECT_EQ(ranked, (QStringList{"1 Q1", "2 Q2", "3 P1", "4 P4", "5 P5"}));
    EXPECT_EQ(ClockUpload::uploadSummary(dm(), race), QStringLiteral("2 Members sent 7 birds of which 5 were clocked"));

    // Adams' race list: the refused arrivals have no position; the wrong code is "NG".
    RowSetModel list;
    ClockUpload::loadRaceListRows(dm(), race, QStringLiteral("001"), list);
    QStringList listed;
    for (int r = 0; r < list.rowCount(); ++r) {
        QStringList values;
        for (const char* field : {"Rank", "PRingNo", "RandomCode", "RealRandom", "chk"})
            values << list.value(r, QString::fromLatin1(field)).toString();
        listed << values.join(QLatin1Char('|'));
    }
    EXPECT_EQ(listed.mid(0, 3), (QStringList{"3|P1|17|17|OK", "4|P4|20|20|OK", "5|P5|21|21|OK"}));
    EXPECT_EQ(QStringList(listed.mid(3)).size(), 2);
    EXPECT_TRUE(listed.contains(QStringLiteral("|P2|18|153|NG")));
    EXPECT_TRUE(listed.contains(QStringLiteral("|P3|19|19|OK")));

    QTemporaryDir dir;
    const PdfText pdf = renderAndRead(RaceReports::raceList(dm(), race.raceCode, QStringLiteral("001"), c1, list), dir);
    EXPECT_EQ(pdf.linesWith(QStringLiteral("BE 23 A 1000002")), QStringList{"BE 23 A 1000002 C BLU 0018/0153/NG"});
    EXPECT_EQ(pdf.linesWith(QStringLiteral("BE 23 A 1000001")), QStringList{"3 BE 23 A 1000001 H BLU 08/19 12:00:00.000 0017/0017/OK"});
}

TEST_F(UploadTest, AClockLeftOnThePortIsReadOnceAndAgainAfterTheTabWasLeft)
{
    programBothClocks();
    arrive(QStringLiteral("C1"), QStringLiteral("1A000001"), at(19, "12:00:00.000"));
    plug(QStringLiteral("C1"));
    ASSERT_EQ(poll(), PollResult::Ready);
    ASSERT_TRUE(upload());
    clock.calls.clear();
    EXPECT_EQ(poll(), PollResult::AlreadyRead);
    EXPECT_EQ(poll(), PollResult::AlreadyRead);
    EXPECT_FALSE(clock.calls.contains(QStringLiteral("PGT_GetRaceTagCount")));

    // Another clock on the port is a new one.
    plug(QStringLiteral("C2"));
    EXPECT_EQ(poll(), PollResult::Ready);
    EXPECT_EQ(lastClockLoft, QStringLiteral("002"));

    // Leaving the tab forgets the clock: read again, its records give the same entries.
    plug(QStringLiteral("C1"));
    lastClockLoft.clear();
    const QString before = entry("P1");
    db.run(QStringLiteral("UPDATE ZAVR_PigRaceData SET BackTime = NULL, FlyTime = NULL WHERE PRingNo = 'P1'"));
    ASSERT_EQ(poll(), PollResult::Ready);
    ASSERT_TRUE(upload());
    EXPECT_EQ(entry("P1"), before);
}

TEST_F(UploadTest, AClockHoldingAnotherRaceIsNotRead)
{
    programBothClocks();
    arrive(QStringLiteral("C1"), QStringLiteral("1A000001"), at(19, "12:00:00.000"));
    plug(QStringLiteral("C1"));
    EXPECT_EQ(poll(QStringLiteral("770825")), PollResult::OtherRace);
    EXPECT_EQ(shown, QStringList{"RaceNo not Match  !"});
    EXPECT_FALSE(clock.calls.contains(QStringLiteral("PGT_GetRaceTagCount")));
    EXPECT_FALSE(bench.state().clock(QStringLiteral("C1"))->race(QStringLiteral("1A2F0819"))->closed);
}

TEST_F(UploadTest, ATamperedRecordIsRefusedWithItsMessageAndTheOthersAreStored)
{
    programBothClocks();
    arrive(QStringLiteral("C1"), QStringLiteral("1A000001"), at(19, "12:00:00.000"));
    arrive(QStringLiteral("C1"), QStringLiteral("1A000004"), at(19, "12:30:00.000"));
    const QString tampered = bench.state().clock(QStringLiteral("C1"))->race(QStringLiteral("1A2F0819"))->records.at(0);
    plug(QStringLiteral("C1"));
    clock.tamperedRecord = 0;
    ASSERT_EQ(poll(), PollResult::Ready);
    ASSERT_TRUE(upload());
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.at(0).startsWith(QStringLiteral("MAC Code 不合 PigeonRec ！PigeonRec=1A0000010000110000")));
    EXPECT_NE(shown.at(0).mid(35), tampered);  // the record as it came, altered
    EXPECT_EQ(reading.records.size(), 1);
    EXPECT_EQ(entry("P1"), QStringLiteral("|||||||C1"));
    EXPECT_EQ(entry("P4").section(QLatin1Char('|'), 1, 1), QStringLiteral("2:30:0"));
}

TEST_F(UploadTest, AClockWithoutArrivalsIsClosedAndNothingIsWritten)
{
    programBothClocks();
    plug(QStringLiteral("C1"));
    ASSERT_EQ(poll(), PollResult::Ready);
    EXPECT_FALSE(upload());
    EXPECT_EQ(shown, QStringList{"Clock no record be uploaded   ! "});
    EXPECT_TRUE(bench.state().clock(QStringLiteral("C1"))->race(QStringLiteral("1A2F0819"))->closed);
    EXPECT_EQ(rows(QStringLiteral("SELECT ULMasterTime FROM ZAVR_RaceClockTime WHERE LoftNo = '001'")), QStringList{""});
}

struct EndOfRaceFailure {
    const char* function;
    const char* message;
};

class EndOfRaceCallFails : public UploadTest, public ::testing::WithParamInterface<EndOfRaceFailure> {};

TEST_P(EndOfRaceCallFails, RaisesItsMessageAndNothingIsWritten)
{
    programBothClocks();
    arrive(QStringLiteral("C1"), QStringLiteral("1A000001"), at(19, "12:00:00.000"));
    plug(QStringLiteral("C1"));
    ASSERT_EQ(poll(), PollResult::Ready);
    clock.failing << QString::fromLatin1(GetParam().function);
    try {
        upload();
        ADD_FAILURE() << "uploaded";
    } catch (const CorvelError& e) {
        EXPECT_EQ(e.text(), QString::fromLatin1(GetParam().message));
    }
    EXPECT_EQ(entry("P1"), QStringLiteral("|||||||C1"));
    EXPECT_EQ(rows(QStringLiteral("SELECT ULMasterTime FROM ZAVR_RaceClockTime WHERE LoftNo = '001'")), QStringList{""});
}

INSTANTIATE_TEST_SUITE_P(Calls, EndOfRaceCallFails,
                         ::testing::Values(EndOfRaceFailure{"PGT_VerifyRace", "PGT_VerifyRace Fail !"},
                                           EndOfRaceFailure{"PGT_CloseRace", "PGT_CloseRace Fail !"},
                                           EndOfRaceFailure{"PGT_GetRaceT2Device", "PGT_GetRaceT2Device Fail !"},
                                           EndOfRaceFailure{"PGT_GetRaceT2Auth", "PGT_GetRaceT2Auth Fail !"},
                                           EndOfRaceFailure{"IFD_GetDevNo", "IFDGetDevNo Fail !"}));

TEST_F(UploadTest, TheClocksPollFailuresStopOrGoOnAsTheyShould)
{
    programBothClocks();
    plug(QStringLiteral("C1"));
    clock.failing = {QStringLiteral("PGT_GetCurrentRace")};
    EXPECT_THROW(poll(), ClockUpload::CurrentRaceError);
    EXPECT_EQ(lastClockLoft, QStringLiteral("001"));  // the clock counts as read
    EXPECT_EQ(poll(), PollResult::AlreadyRead);

    clock.failing = {QStringLiteral("IFD_Connect")};
    try {
        poll();
        ADD_FAILURE() << "connected";
    } catch (const ClockUpload::CurrentRaceError&) {
        ADD_FAILURE() << "polling would go on";
    } catch (const CorvelError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("IFD_Connect NOT OK !"));
    }

    // A clock that names no site keeps the member number the tab holds.
    clock.failing = {QStringLiteral("PGT_GetSiteInfo")};
    lastClockLoft.clear();
    ASSERT_EQ(poll(), PollResult::Ready);
    EXPECT_EQ(currentLoftNo, QStringLiteral("001"));
}

TEST_F(UploadTest, AFailedWriteLeavesNothingOfTheClockAndTheClockKeepsItsRecords)
{
    programBothClocks();
    arrive(QStringLiteral("C1"), QStringLiteral("1A000001"), at(19, "12:00:00.000"));
    arrive(QStringLiteral("C1"), QStringLiteral("1A000004"), at(19, "12:30:00.000"));
    db.run(QStringLiteral("CREATE TEMP TRIGGER refuse BEFORE UPDATE ON ZAVR_PigRaceData WHEN new.PRingNo = 'P4' "
                          "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    plug(QStringLiteral("C1"));
    ASSERT_EQ(poll(), PollResult::Ready);
    EXPECT_THROW(upload(), CorvelError);
    EXPECT_EQ(entry("P1"), QStringLiteral("|||||||C1"));
    EXPECT_EQ(rows(QStringLiteral("SELECT ULMasterTime FROM ZAVR_RaceClockTime WHERE LoftNo = '001'")), QStringList{""});

    // The records are still on the clock: once the fault is gone the clock is read again.
    db.run(QStringLiteral("DROP TRIGGER refuse"));
    lastClockLoft.clear();
    ASSERT_EQ(poll(), PollResult::Ready);
    ASSERT_TRUE(upload());
    EXPECT_EQ(entry("P1").section(QLatin1Char('|'), 1, 1), QStringLiteral("2:0:0"));
    EXPECT_EQ(entry("P4").section(QLatin1Char('|'), 1, 1), QStringLiteral("2:30:0"));
}

TEST(ClockFlyingSeconds, RoundsTheTotalAndRemovesTheClockVariation)
{
    const QDate day(2024, 7, 19);
    const QDateTime liberation = Formats::moment(day, QTime(14, 0));
    const QList<FlightTime::SunRow> sun = {{day, QTime(20, 30), QTime(5, 50)},
                                           {day.addDays(1), QTime(20, 29), QTime(5, 45)},
                                           {day.addDays(2), QTime(20, 28), QTime(5, 46)},
                                           {day.addDays(-1), QTime(20, 31), QTime(5, 49)}};
    struct Case {
        QDateTime arrival;
        qint64 variation;
        qint64 seconds;
    };
    const QList<Case> cases = {
        {liberation.addMSecs(3600500), 0, 3601},                                // a half second rounds up
        {liberation.addMSecs(3600499), 0, 3600},
        {liberation.addMSecs(3600500), 5, 3596},                                // a clock 5 s fast
        {liberation.addMSecs(3600500), -12, 3613},
        {liberation.addMSecs(400), 0, 0},                                       // rounds to 0: none
        {liberation.addMSecs(600), 0, 1},
        {liberation.addMSecs(-2000), -12, 0},                                   // before liberation: none
        {Formats::moment(day.addDays(1), QTime(7, 15, 30, 900)), 0, 28830},    // the night away; ms of a later day dropped
        {Formats::moment(day.addDays(2), QTime(5, 46)), 0, 23400 + 53040},     // a whole day between
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClockUpload::ClockFlyingSeconds(c.variation, c.arrival, liberation, sun), c.seconds)
            << c.arrival.toString(Qt::ISODateWithMs).toStdString();
}

TEST(ArrivalText, ReadsTheClocksTextsWithTheirMillisecondsAndRefusesTheZeroDateTime)
{
    EXPECT_EQ(ClockUpload::readArrivalText(QStringLiteral("2014/08/25 13:45:10.123")),
              Formats::moment(QDate(2014, 8, 25), QTime(13, 45, 10, 123)));
    EXPECT_EQ(ClockUpload::readArrivalText(QStringLiteral("2014/08/25.000")), Formats::moment(QDate(2014, 8, 25), QTime(0, 0)));
    for (const char* text : {"1899/12/30.000", "2014/02/30 10:00:00.000", "2014/08/25 25:00:00.000", ""})
        EXPECT_THROW(ClockUpload::readArrivalText(QString::fromLatin1(text)), CorvelError) << text;
}

TEST_F(UploadTest, EqualSpeedsShareAPositionAndTheNextIsSkipped)
{
    db.run(QStringLiteral("UPDATE ZAVR_PigRaceData SET BackTime = '2024/08/19 12:00:00.000', FlySpeed = CASE PRingNo "
                          "WHEN 'P1' THEN 1500 WHEN 'P2' THEN 1400 WHEN 'P3' THEN 1400 WHEN 'P4' THEN 1300 END "
                          "WHERE PRingNo IN ('P1', 'P2', 'P3', 'P4')"));
    RowSetModel results;
    fill(results, ClockUpload::rankRows(dm(), race));
    QStringList ranks;
    for (int r = 0; r < results.rowCount(); ++r)
        ranks << results.value(r, QStringLiteral("Rank")).toString();
    EXPECT_EQ(ranks, (QStringList{"1", "2", "2", "4"}));
}

}  // namespace
