#include "RaceRound.h"

#include "CorvelError.h"

namespace {

using ClockProgramming::ProgrammedClock;

TEST(ClockTexts, PigeonTagRegistrationNumberAndRaceNumber)
{
    EXPECT_EQ(ClockProgramming::pigeonTag(QStringLiteral("1A2B3C4D"), 60), QStringLiteral("1A2B3C4D00003C00"));
    EXPECT_EQ(ClockProgramming::pigeonTag(QStringLiteral("0000000A"), 255), QStringLiteral("0000000A0000FF00"));
    EXPECT_EQ(ClockProgramming::pigeonTag(QStringLiteral("0000000A"), 0), QStringLiteral("0000000A00000000"));

    const QList<std::pair<const char*, const char*>> regNumbers = {
        {"12345678", "345678"}, {"123456", "123456"}, {"123", "000123"}, {"", "000000"}, {"1234567", "234567"}};
    for (const auto& [number, clockNumber] : regNumbers)
        EXPECT_EQ(ClockProgramming::clockRegNumber(QString::fromLatin1(number)), QString::fromLatin1(clockNumber)) << number;

    EXPECT_EQ(raceNumber(QStringLiteral("120305")), QStringLiteral("12030500"));
    EXPECT_EQ(raceNumber(QStringLiteral("1A2F0819")), QStringLiteral("1A2F0819"));
    EXPECT_EQ(raceNumber(QStringLiteral("70825")), QStringLiteral("70825000"));
}

TEST(ClockTexts, LoftCoordinatesBecomeClockValuesAndADigitGroupWithABlankOrASignIsRefused)
{
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const QList<Case> values = {{"E121'23:24.33", 437004000},  {"W121'23:24.33", -437004000}, {"N024'22:30.44", 87750000},
                                {"S000'00:01.99", -1000},       {"", 0},                      {"             ", 0},
                                {"X121'23:24.33", 0}};
    for (const Case& c : values)
        EXPECT_EQ(ClockProgramming::clockCoordinate(QString::fromLatin1(c.text)), c.value) << c.text;

    // A blank or a sign in the degrees, minutes or seconds, or digits missing, never shift the
    // position: the integer conversion error.
    for (const char* text : {"E121'2 :24.33", "E12 '23:24.33", "E121'-3:24.33", "E121'23:+4.33", "E121'23", "N 24'22:30.44"}) {
        try {
            ClockProgramming::clockCoordinate(QString::fromLatin1(text));
            ADD_FAILURE() << text << " was taken";
        } catch (const CorvelError& e) {
            EXPECT_TRUE(e.text().endsWith(QStringLiteral("is not a valid integer value"))) << e.text().toStdString();
        }
    }
}

class ProgrammingTest : public RaceRound {};

TEST_F(ProgrammingTest, ARaceIsProgrammedCallByCallAndTheClockAndTheEntriesAreRecorded)
{
    plug(QStringLiteral("C1"));
    const ProgrammedClock programmed = programRace(QStringLiteral("001"));

    EXPECT_EQ(clock.takeCalls(),
              (QStringList{"HexToBin x2", "IFD_Connect", "PGT_StartTag", "PGT_SetTag x5", "PGT_CloseTag", "IFD_GetDevNo",
                           "PGT_SetUploadMode", "PGT_SetSiteInfo", "PGT_CreateRace", "PGT_AddRaceTag x5", "PGT_SetRaceDesc",
                           "PGT_SetRaceMode", "DesEncrypt", "PGT_ConfirmRace", "PGT_StartRace"}));
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(programmed.clockNo, QStringLiteral("C1"));
    EXPECT_EQ(programmed.confirmedAt, programmedAt);

    const BenchClock& c1 = *bench.state().clock(QStringLiteral("C1"));
    EXPECT_EQ(c1.site, QStringLiteral("001"));
    EXPECT_EQ(c1.lon, (4 * 3600 + 21 * 60 + 30) * 1000);
    EXPECT_EQ(c1.lat, (50 * 3600 + 51 * 60 + 10) * 1000);
    EXPECT_EQ(c1.uploadMode, (QList<int>{130, 131, 120}));
    ASSERT_EQ(c1.pigeons.size(), 5);
    EXPECT_EQ(c1.pigeons.at(0).tag, QStringLiteral("1A00000100001100"));
    EXPECT_EQ(c1.pigeons.at(0).uid, QStringLiteral("04000001"));
    EXPECT_EQ(c1.pigeons.at(0).regNo, QStringLiteral("000001"));
    EXPECT_EQ(c1.currentRace, QStringLiteral("1A2F0819"));
    const BenchRace& held = *c1.race(QStringLiteral("1A2F0819"));
    EXPECT_EQ(held.kind, 3);
    EXPECT_EQ(held.desc, QStringLiteral("Race"));
    EXPECT_EQ(held.mode, 128);
    EXPECT_EQ(held.confirmedAt, programmedAt);
    ASSERT_EQ(held.tags.size(), 5);
    EXPECT_EQ(held.tags.at(4).tag, QStringLiteral("1A00000500001500"));
    EXPECT_EQ(held.tags.at(4).uid, QStringLiteral("04000005"));

    // The clock number on Adams' entries only; the clock row of the race and member.
    EXPECT_EQ(rows(QStringLiteral("SELECT PRingNo, ClockID FROM ZAVR_PigRaceData ORDER BY PRingNo")),
              (QStringList{"P1|C1", "P2|C1", "P3|C1", "P4|C1", "P5|C1", "Q1|", "Q2|"}));
    const QString clockRows = QStringLiteral("SELECT LiberCode, date(LiberDate), LoftNo, ClockID, DLMarkedTime, ULMasterTime "
                                             "FROM ZAVR_RaceClockTime");
    EXPECT_EQ(rows(clockRows), QStringList{"1A2F|2024-08-19|001|C1|2024-08-19 06:00:00|"});

    // Programming the member again (another clock, a later moment) updates the same row.
    bench.addClock(QStringLiteral("C7"), QStringLiteral("CLUB1234"));
    plug(QStringLiteral("C7"));
    RowSetModel pigeons;
    fill(pigeons, ClockProgramming::racePigeons(dm(), race, QStringLiteral("001"), false));
    ClockProgramming::ProgramRace(clock, *link, dm(), race, QStringLiteral("001"), pigeons, at(19, "07:30:00.000"), show);
    EXPECT_EQ(rows(clockRows), QStringList{"1A2F|2024-08-19|001|C7|2024-08-19 07:30:00|"});
    EXPECT_EQ(rows(QStringLiteral("SELECT DISTINCT ClockID FROM ZAVR_PigRaceData WHERE PRingNo LIKE 'P%'")), QStringList{"C7"});
}

TEST_F(ProgrammingTest, ATrainingGetsAllTheMembersERingedPigeonsAndTheSyncRowIsKeptOnce)
{
    db.run(QStringLiteral("UPDATE ZAVR_PigData SET E_Ring = '' WHERE PRingNo = 'P6'"));
    plug(QStringLiteral("C1"));
    RowSetModel pigeons;
    fill(pigeons, ClockProgramming::trainingPigeons(dm(), QStringLiteral("001"), true));
    ASSERT_EQ(pigeons.rowCount(), 6);  // an empty eRing text passes the condition too
    const ProgrammedClock programmed =
        ClockProgramming::ProgramTraining(clock, *link, dm(), QStringLiteral("001"), pigeons, programmedAt, show);

    EXPECT_EQ(clock.takeCalls(),
              (QStringList{"HexToBin x2", "IFD_Connect", "PGT_StartTag", "PGT_SetTag x6", "PGT_CloseTag", "IFD_GetDevNo",
                           "PGT_SetUploadMode", "PGT_SetSiteInfo", "PGT_CreateRace", "PGT_SetRaceDesc", "PGT_SetRaceMode",
                           "DesEncrypt", "PGT_ConfirmRace", "PGT_StartRace"}));
    // The pigeon with the empty eRing was refused by the clock; the others were taken.
    EXPECT_EQ(shown, QStringList{"Error in PGT_SetTag : P6"});
    const BenchClock& c1 = *bench.state().clock(QStringLiteral("C1"));
    EXPECT_EQ(c1.pigeons.size(), 5);
    EXPECT_EQ(c1.pigeons.at(0).tag, QStringLiteral("1A00000100000000"));  // the pigeon's own code from matching
    EXPECT_EQ(c1.currentRace, QStringLiteral("F0000001"));
    const BenchRace& training = *c1.race(QStringLiteral("F0000001"));
    EXPECT_EQ(training.kind, 1);
    EXPECT_EQ(training.desc, QStringLiteral("Train"));
    EXPECT_TRUE(training.tags.isEmpty());
    // A training writes nothing to the race tables.
    EXPECT_TRUE(rows(QStringLiteral("SELECT * FROM ZAVR_RaceClockTime")).isEmpty());
    EXPECT_TRUE(rows(QStringLiteral("SELECT * FROM ZAVR_PigRaceData WHERE ClockID IS NOT NULL")).isEmpty());

    ClockProgramming::RecordClockSync(dm(), QStringLiteral("001"), programmed.clockNo, programmed.confirmedAt);
    ClockProgramming::RecordClockSync(dm(), QStringLiteral("001"), programmed.clockNo, at(20, "08:00:00.900"));
    ClockProgramming::RecordClockSync(dm(), QStringLiteral("002"), programmed.clockNo, programmedAt);
    EXPECT_EQ(rows(QStringLiteral("SELECT LoftNo, ClockID, LastSynchDate FROM ZAVR_LoftClocks ORDER BY LoftNo")),
              (QStringList{"001|C1|2024-08-20 08:00:00", "002|C1|2024-08-19 06:00:00"}));
}

TEST_F(ProgrammingTest, AMemberWithoutERingedPigeonsOrCoordinatesGetsAnEmptyListAtPositionZero)
{
    db.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName, LoftLon, LoftLat) VALUES ('004', 'Dodd', '', '')"));
    plug(QStringLiteral("C1"));
    RowSetModel pigeons;
    fill(pigeons, ClockProgramming::trainingPigeons(dm(), QStringLiteral("004"), true));
    EXPECT_EQ(pigeons.rowCount(), 0);
    ClockProgramming::ProgramTraining(clock, *link, dm(), QStringLiteral("004"), pigeons, programmedAt, show);
    const BenchClock& c1 = *bench.state().clock(QStringLiteral("C1"));
    EXPECT_TRUE(c1.pigeons.isEmpty());
    EXPECT_EQ(c1.site, QStringLiteral("004"));
    EXPECT_EQ(c1.lon, 0);
    EXPECT_EQ(c1.lat, 0);
    EXPECT_EQ(c1.race(QStringLiteral("F0000001"))->kind, 1);
}

TEST_F(ProgrammingTest, OnlyMembersWithEntriesInTheRaceAreOffered)
{
    EXPECT_EQ(ClockProgramming::raceMemberNames(dm(), race), (QStringList{"Adams", "Baker"}));
    EXPECT_TRUE(ClockProgramming::raceMemberNames(dm(), *findClockRace(dm(), QStringLiteral("770825"))).isEmpty());
    EXPECT_FALSE(findClockRace(dm(), QStringLiteral("99999999")).has_value());
}

struct FailingStep {
    const char* function;
    bool training;
    const char* message;
    const char* lastCall;  // the last call made: the programming stops at the failed one
};

class ProgrammingStopsAtAFailedStep : public RaceRound, public ::testing::WithParamInterface<FailingStep> {};

TEST_P(ProgrammingStopsAtAFailedStep, WithItsMessageAndNothingWritten)
{
    const FailingStep& step = GetParam();
    plug(QStringLiteral("C1"));
    clock.failing << QString::fromLatin1(step.function);
    RowSetModel pigeons;
    try {
        if (step.training) {
            fill(pigeons, ClockProgramming::trainingPigeons(dm(), QStringLiteral("001"), true));
            ClockProgramming::ProgramTraining(clock, *link, dm(), QStringLiteral("001"), pigeons, programmedAt, show);
        } else {
            programRace(QStringLiteral("001"));
        }
        ADD_FAILURE() << "no error";
    } catch (const CorvelError& e) {
        EXPECT_EQ(e.text(), QString::fromUtf8(step.message));
    }
    EXPECT_EQ(clock.calls.last(), QString::fromLatin1(step.lastCall));
    EXPECT_TRUE(rows(QStringLiteral("SELECT * FROM ZAVR_RaceClockTime")).isEmpty());
    EXPECT_TRUE(rows(QStringLiteral("SELECT * FROM ZAVR_PigRaceData WHERE ClockID IS NOT NULL")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ProgrammingStopsAtAFailedStep,
    ::testing::Values(FailingStep{"IFD_Connect", false, "IFD_Connect NOT OK !", "IFD_Connect"},
                      FailingStep{"IFD_GetDevNo", true, "IFDGetDevNo 失敗 !", "IFD_GetDevNo"},
                      FailingStep{"IFD_GetDevNo", false, "IFDGetDevNo Fail !", "IFD_GetDevNo"},
                      FailingStep{"PGT_SetUploadMode", false, "PGT_SetUploadMode Fail !", "PGT_SetUploadMode"},
                      FailingStep{"PGT_SetSiteInfo", true, "PGT_SetSiteInfo Fail !", "PGT_SetSiteInfo"},
                      FailingStep{"PGT_CreateRace", false, "Error in PGT_CreateRace ! ", "PGT_CreateRace"},
                      FailingStep{"PGT_SetRaceDesc", true, "Error in PGT_SetRaceDesc ! ", "PGT_SetRaceDesc"},
                      FailingStep{"PGT_SetRaceMode", false, "Error in PGT_SetRaceMode ! ", "PGT_SetRaceMode"},
                      FailingStep{"PGT_ConfirmRace", false, "Error in PGT_ConfirmRace ! ", "PGT_ConfirmRace"},
                      FailingStep{"PGT_StartRace", true, "Error in PGT_StartRace ! ", "PGT_StartRace"},
                      FailingStep{"PGT_StartRace", false, "Error in PGT_StartRace ! ", "PGT_StartRace"}));

TEST_F(ProgrammingTest, FailuresOfThePigeonListAreShownAndTheProgrammingGoesOn)
{
    plug(QStringLiteral("C1"));
    clock.failing = {QStringLiteral("PGT_StartTag"), QStringLiteral("PGT_AddRaceTag")};
    programRace(QStringLiteral("001"));
    EXPECT_EQ(shown, (QStringList{"Error in PGT_StartTag ! ", "Error in PGT_AddRaceTag : P1", "Error in PGT_AddRaceTag : P2",
                                  "Error in PGT_AddRaceTag : P3", "Error in PGT_AddRaceTag : P4", "Error in PGT_AddRaceTag : P5"}));
    EXPECT_FALSE(clock.calls.contains(QStringLiteral("PGT_SetTag")));
    EXPECT_EQ(bench.state().clock(QStringLiteral("C1"))->race(QStringLiteral("1A2F0819"))->kind, 3);
    EXPECT_EQ(rows(QStringLiteral("SELECT ClockID FROM ZAVR_RaceClockTime")), QStringList{"C1"});

    shown.clear();
    clock.failing = {QStringLiteral("PGT_CloseTag")};
    programRace(QStringLiteral("001"));
    EXPECT_EQ(shown, QStringList{"Error in PGT_CloseTag ! "});
}

TEST_F(ProgrammingTest, ALoftCoordinateWithABlankStopsTheProgrammingBeforeTheRaceIsCreated)
{
    db.run(QStringLiteral("UPDATE ZAVR_LoftData SET LoftLat = 'N050''5 :10.50' WHERE LoftNo = '001'"));
    plug(QStringLiteral("C1"));
    EXPECT_THROW(programRace(QStringLiteral("001")), CorvelError);
    EXPECT_FALSE(clock.calls.contains(QStringLiteral("PGT_SetSiteInfo")));
    EXPECT_EQ(bench.state().clock(QStringLiteral("C1"))->race(QStringLiteral("1A2F0819")), nullptr);
    EXPECT_TRUE(rows(QStringLiteral("SELECT * FROM ZAVR_RaceClockTime")).isEmpty());
}

TEST_F(ProgrammingTest, AClockThatRefusesTheClubsIdentityIsNotProgrammed)
{
    bench.setClockIdentity(QStringLiteral("C1"), QStringLiteral("OTHERCLB"));
    plug(QStringLiteral("C1"));
    try {
        programRace(QStringLiteral("001"));
        ADD_FAILURE() << "programmed";
    } catch (const CorvelError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("IFD_Connect NOT OK !"));
    }
    EXPECT_TRUE(rows(QStringLiteral("SELECT * FROM ZAVR_RaceClockTime")).isEmpty());
}

}  // namespace
