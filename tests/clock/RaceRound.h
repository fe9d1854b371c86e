#pragma once

#include "ClockDialogue.h"
#include "ClockProgramming.h"
#include "ClockUpload.h"
#include "RecordingClock.h"
#include "RowSetModel.h"
#include "SimulatedBench.h"
#include "TPigModuV6.h"
#include "TestDatabase.h"

#include <QDateTime>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

// A club with one race, its pigeons marked, and the members' clocks on a simulated bench:
//   club NWC "North Wind Flyers", yards; colour BLU Blue;
//   members 001 Adams (coordinates E004'21:30.25 N050'51:10.50, 145,200 yards from point 1A2F),
//   002 Baker (no coordinates, 100,000 yards), 003 Carr (no pigeon in the race);
//   race 1A2F "Orleans" liberated 2024/08/19 10:00:00 (race code 1A2F0819), sun rows for the
//   19th (sunset 20:30:00), the 20th (sunrise 05:45:00) and the 21st;
//   a second race 77 on 2024/08/25 (race code 770825);
//   Adams' pigeons P1 to P6 (eRings 1A000001..., UIDs 04000001...), P1 to P5 marked for race
//   1A2F with codes 0x11 to 0x15; Baker's Q1 and Q2 (eRings 2B000001, 2B000002) marked with
//   0x21 and 0x22; Carr's pigeon R1 not marked;
//   clocks C1 (Adams') and C2 (Baker's, running 5 s fast) on the bench, accepting the club's
//   SysID CLUB1234.
// The page-wide state of the Clock Operation page starts afresh.
class RaceRound : public ::testing::Test {
protected:
    RaceRound();
    ~RaceRound() override;

    TdmZAVR& dm() { return db.dm(); }
    QStringList rows(const QString& sql, const QVariantList& params = {}) { return ::rows(db.dm(), sql, params); }
    // The stored values of a pigeon's entry in race 1A2F, joined by "|":
    // BackTime|FlyTime|FlySpeed|Dist|TimeVari|RealRandom|UID_Real|ClockID.
    QString entry(const QString& ringNo);

    // Puts the clock on COM1 and opens the clock link on it.
    void plug(const QString& clockNo);
    // Programs the plugged clock with race 1A2F for the member at the moment programmedAt.
    ClockProgramming::ProgrammedClock programRace(const QString& loftNo);
    // An arrival on the clock at the true moment (the clock stamps it with its own error).
    void arrive(const QString& clockNo, const QString& eRing, const QDateTime& at, std::optional<int> readCode = {},
                std::optional<QString> uid = {});
    // One poll for race raceCode, with the tab's page-wide values.
    ClockUpload::PollResult poll(const QString& raceCode = QStringLiteral("1A2F0819"));
    // Reads the clock found by the last poll and applies its records; returns what ReadClockRecords returned.
    bool upload();

    static QDateTime at(int day, const char* time);  // 2024/08/<day> at "hh:mm:ss.zzz"
    // The rows of a query, as a tab's grid holds them.
    static void fill(RowSetModel& rows, QSqlQuery query) { rows.setQueryResult(query); }

    TestDatabase db;
    // The bench of the data folder (bench.json), which the Clock Operation page opens too.
    SimulatedBench bench;
    RecordingClock clock{bench};
    std::unique_ptr<TPigModuV6> link;
    ClockRace race;
    QStringList shown;  // the messages the dialogues showed
    ShowMessage show = [this](const QString& text) { shown << text; };

    // The upload tab's page-wide values.
    QString currentLoftNo;
    QString lastClockLoft;
    QString clockSiteText;
    ClockUpload::ClockOnPort onPort;
    ClockUpload::ClockReading reading;

    const QDateTime programmedAt = at(19, "06:00:00.000");
    const QDateTime uploadedAt = at(20, "18:00:00.000");
};
