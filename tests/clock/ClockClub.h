#pragma once

#include "ClockOpState.h"
#include "SimulatedBench.h"
#include "TestDatabase.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

// A small club on a simulated bench, for the tests of the Clock Operation page:
//   members 001 Adams, 002 Baker, 003 Carr; colour BLU Blue;
//   Adams' pigeons BE-24-0001 (hen, BLU), BE-24-0002 (cock, colour ZZZ of no row), BE-24-0003
//   (no sex, no colour); Baker's BE-24-0101, matched to ring 04000001 (eRing 11111111, code 7);
//   races A1 on 2024/05/10, B2 on 2024/06/01 and A1 on 2023/05/10, in that table order;
//   on the bench: the ring reader on COM1, a genuine ring 04A1B2C3 (eRing 1A2B3C4D, code 3C),
//   a forged ring 04DEAD00 (eRing 0BADF00D, code 01) and Baker's ring 04000001.
// The bench is scripted through bench.json, as corvel-bench does, while the code under test
// reaches it through the device libraries of the data folder.
class ClockClub : public ::testing::Test {
protected:
    ClockClub();
    ~ClockClub() override;

    TdmZAVR& dm() { return db.dm(); }
    QStringList rows(const QString& sql, const QVariantList& params = {}) { return ::rows(db.dm(), sql, params); }
    // The pigeon's E_Ring|UID|RandomCode|ActiveStat|SynchFlag.
    QString eRingOf(const QString& ringNo);
    // The ring's data block (eRing number and code) as 10 hexadecimal digits.
    QString ringData(const QString& uid);
    // The simulated bench behind the state's open link.
    SimulatedBench& linkBench(ClockOpState& s);

    static const QString Genuine;  // 04A1B2C3
    static const QString Forged;   // 04DEAD00
    static const QString Bakers;   // 04000001

    TestDatabase db;
    std::unique_ptr<SimulatedBench> script;
};
