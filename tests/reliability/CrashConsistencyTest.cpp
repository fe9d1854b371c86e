// Kills the program's writing work at random moments and checks what a next start finds: the
// database sound and each action in it whole or not at all, every backup a sound database, and
// no leftovers once the start-up has cleaned up. The number of kills per operation comes from
// CORVEL_CRASH_KILLS (a few in `make test`, many in `make test-reliability`).
#include "DataFolder.h"
#include "DatabaseBackup.h"
#include "TestDatabase.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <chrono>
#include <thread>

namespace {

int killsPerOperation()
{
    bool ok = false;
    const int kills = qEnvironmentVariableIntValue("CORVEL_CRASH_KILLS", &ok);
    return ok && kills > 0 ? kills : 2;
}

// What must hold in the database after a kill, for one operation.
using Invariant = std::function<void(TdmZAVR& dm)>;

struct Operation {
    const char* name;
    std::function<void(TestDatabase& t)> prepare;
    Invariant invariant;
    friend void PrintTo(const Operation& o, std::ostream* os) { *os << o.name; }
};

class CrashConsistency : public ::testing::TestWithParam<Operation> {};

QStringList leftovers(const DataFolder& folder)
{
    return QDir(folder.path()).entryList({QStringLiteral("*.tmp-*")}, QDir::Files) +
           QDir(folder.backupFolder()).entryList({QStringLiteral("*.tmp-*")}, QDir::Files);
}

TEST_P(CrashConsistency, AKillAtAnyMomentLosesNothingCommittedAndLeavesSoundFiles)
{
    const Operation& op = GetParam();
    TestDatabase t;
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('001', 'Jan')"));
    ASSERT_TRUE(QDir().mkpath(t.folder().backupFolder()));
    if (op.prepare)
        op.prepare(t);
    t.dm().close();
    const QString database = t.folder().databasePath();

    qsizetype completed = 0;  // operations the workers finished before they were killed
    for (int kill = 0; kill < killsPerOperation(); ++kill) {
        SCOPED_TRACE(QStringLiteral("kill %1").arg(kill + 1).toStdString());
        QProcess worker;
        worker.start(QStringLiteral(CORVEL_CRASH_WORKER), {QString::fromLatin1(op.name), t.path()});
        ASSERT_TRUE(worker.waitForReadyRead(30000)) << worker.readAllStandardError().toStdString();
        ASSERT_EQ(worker.readLine().trimmed(), QByteArray("ready"));
        std::this_thread::sleep_for(std::chrono::milliseconds(QRandomGenerator::global()->bounded(5, 400)));
        // Still at work: a worker that stopped on an error of its own is a failure.
        ASSERT_FALSE(worker.waitForFinished(0)) << worker.readAllStandardError().toStdString();
        worker.kill();  // SIGKILL: no cleanup of any kind
        ASSERT_TRUE(worker.waitForFinished(30000));
        ASSERT_EQ(worker.exitStatus(), QProcess::CrashExit);
        completed += worker.readAllStandardOutput().count('.');

        // The next start removes what the killed copy left.
        DatabaseBackup::removeInterruptedCopies(t.folder(), database);
        EXPECT_EQ(leftovers(t.folder()), QStringList());
        ASSERT_TRUE(t.dm().open()) << t.dm().openError().toStdString();
        EXPECT_EQ(t.dm().texts(QStringLiteral("PRAGMA integrity_check")), QStringList{QStringLiteral("ok")});
        if (op.invariant)
            op.invariant(t.dm());
        t.dm().close();
        for (const QFileInfo& backup : QDir(t.folder().backupFolder()).entryInfoList({QStringLiteral("*.bak")}, QDir::Files))
            EXPECT_EQ(DatabaseBackup::whyNotABackup(backup.filePath()), QString()) << backup.fileName().toStdString();
        if (HasFailure())
            break;
    }
    // The kills fell while the work went on, not before it began.
    EXPECT_GT(completed, 0);
}

int count(TdmZAVR& dm, const QString& sql) { return dm.scalar(sql).toInt(); }

INSTANTIATE_TEST_SUITE_P(
    Operations, CrashConsistency,
    ::testing::Values(
        // Each range of 40 rings is there whole or not at all.
        Operation{"ranges", nullptr,
                  [](TdmZAVR& dm) {
                      EXPECT_EQ(count(dm, QStringLiteral("SELECT count(*) FROM (SELECT RRegLetter FROM ZAVR_PigData "
                                                         "GROUP BY RRegLetter HAVING count(*) <> 40)")),
                                0);
                  }},
        // A race with a new liberation point has its point, the point a distance row per member.
        Operation{"races",
                  [](TestDatabase& club) {
                      club.run(QStringLiteral("INSERT INTO ZAVR_ClubMap (ClubID, ClubName) VALUES ('CC', 'Crash Club')"));
                      for (int i = 2; i <= 10; ++i)
                          club.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo) VALUES (?)"), {QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'))});
                  },
                  [](TdmZAVR& dm) {
                      const int points = count(dm, QStringLiteral("SELECT count(*) FROM ZAVR_LiberateSite"));
                      EXPECT_EQ(count(dm, QStringLiteral("SELECT count(*) FROM ZAVR_RaceData")), points);
                      EXPECT_EQ(count(dm, QStringLiteral("SELECT count(*) FROM ZAVR_RaceData r JOIN ZAVR_LiberateSite s "
                                                         "ON s.LiberCode = r.LiberCode")),
                                points);
                      EXPECT_EQ(count(dm, QStringLiteral("SELECT count(*) FROM ZAVR_LoftLibPointDist")), points * 10);
                  }},
        Operation{"backupnow", nullptr, nullptr},
        Operation{"startup", nullptr, nullptr},
        // The database is the one before a restore or the restored backup, never anything else.
        Operation{"restore",
                  [](TestDatabase& club) {
                      club.run(QStringLiteral("INSERT INTO ZAVR_ClubMap (ClubID, ClubName) VALUES ('OLD', 'Backed up')"));
                      DatabaseBackup::backupNow(club.dm(), club.folder().backupFolder() + QStringLiteral("/source.bak"));
                  },
                  [](TdmZAVR& dm) {
                      EXPECT_EQ(count(dm, QStringLiteral("SELECT count(*) FROM ZAVR_ClubMap WHERE ClubID = 'OLD'")), 1);
                      EXPECT_GE(count(dm, QStringLiteral("SELECT count(*) FROM ZAVR_LoftData WHERE LoftNo = '001'")), 1);
                  }}),
    [](const ::testing::TestParamInfo<Operation>& p) { return std::string(p.param.name); });

}  // namespace
