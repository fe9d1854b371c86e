#include "DatabaseBackup.h"
#include "FileCopy.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <optional>

namespace {

using DatabaseBackup::StartupOutcome;

void writeFile(const QString& path, const QByteArray& bytes, const QDateTime& stamp)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    ASSERT_TRUE(f.flush());
    ASSERT_TRUE(f.setFileTime(stamp, QFileDevice::FileModificationTime));
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool isClubDatabase(const QString& path)
{
    TdmZAVR copy(path);
    return copy.open();
}

struct BackupCase {
    const char* what;
    std::optional<int> backupDays;         // no settings row when empty
    std::optional<QDateTime> currentDate;  // no current backup when empty
    bool datedFileExists;                  // a dated file of the current backup's date is already there: it stays
    StartupOutcome outcome;
    friend void PrintTo(const BackupCase& c, std::ostream* os) { *os << c.what; }
};

class StartupBackup : public ::testing::TestWithParam<BackupCase> {};

// "Today" is 10 May 2024 at noon.
const QDateTime Now(QDate(2024, 5, 10), QTime(12, 0, 0));

TEST_P(StartupBackup, KeepsTheCurrentBackupNoOlderThanTheBackupAge)
{
    const BackupCase& c = GetParam();
    TestDatabase t;
    const DataFolder& folder = t.folder();
    if (c.backupDays)
        t.run(QStringLiteral("INSERT INTO ZAVR_ClubData (ClubID, DBBackupDays) VALUES ('RPC', ?)"), {*c.backupDays});
    const QString current = folder.currentBackupPath();
    QString datedName;
    if (c.currentDate) {
        ASSERT_TRUE(QDir().mkpath(folder.backupFolder()));
        writeFile(current, "previous backup", *c.currentDate);
        datedName = folder.datedBackupPath(c.currentDate->toString(QStringLiteral("yyyyMMdd")));
        if (c.datedFileExists)
            writeFile(datedName, "older rotation", *c.currentDate);
    }

    QString failure;
    EXPECT_EQ(DatabaseBackup::startupBackup(t.dm(), folder, Now, &failure), c.outcome) << failure.toStdString();

    switch (c.outcome) {
    case StartupOutcome::Created:
        EXPECT_TRUE(isClubDatabase(current));
        EXPECT_EQ(FileCopy::lastWriteTime(current), FileCopy::lastWriteTime(t.dm().databasePath()));
        break;
    case StartupOutcome::Rotated:
        EXPECT_EQ(readFile(datedName), c.datedFileExists ? QByteArray("older rotation") : QByteArray("previous backup"));
        EXPECT_EQ(FileCopy::lastWriteTime(datedName), *c.currentDate);
        EXPECT_TRUE(isClubDatabase(current));
        EXPECT_EQ(FileCopy::lastWriteTime(current), FileCopy::lastWriteTime(t.dm().databasePath()));
        break;
    case StartupOutcome::Kept:
        EXPECT_EQ(readFile(current), QByteArray("previous backup"));
        EXPECT_EQ(QDir(folder.backupFolder()).entryList(QDir::Files).size(), 1);
        break;
    default:
        ADD_FAILURE() << "unexpected case";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupBackup,
    ::testing::Values(
        BackupCase{"first start without a backup folder", 7, std::nullopt, false, StartupOutcome::Created},
        BackupCase{"exactly the backup age old", 7, QDateTime(QDate(2024, 5, 3), QTime(23, 59, 0)), false, StartupOutcome::Rotated},
        BackupCase{"one day younger", 7, QDateTime(QDate(2024, 5, 4), QTime(0, 1, 0)), false, StartupOutcome::Kept},
        BackupCase{"dated in the future", 7, QDateTime(QDate(2024, 6, 1), QTime(8, 0, 0)), false, StartupOutcome::Kept},
        BackupCase{"backup age 0 rotates at every start", 0, QDateTime(QDate(2024, 5, 10), QTime(8, 0, 0)), false,
                   StartupOutcome::Rotated},
        BackupCase{"no settings row counts as age 0", std::nullopt, QDateTime(QDate(2024, 5, 10), QTime(8, 0, 0)), false,
                   StartupOutcome::Rotated},
        BackupCase{"rotating twice for one date keeps the first dated file", 7, QDateTime(QDate(2024, 5, 1), QTime(9, 0, 0)),
                   true, StartupOutcome::Rotated}));

int membersIn(const QString& path)
{
    TdmZAVR file(path);
    file.setReadOnly(true);
    if (!file.open()) {
        ADD_FAILURE() << file.openError().toStdString();
        return -1;
    }
    return file.scalar(QStringLiteral("SELECT count(*) FROM ZAVR_LoftData")).toInt();
}

// Backup age 0: start once, add a member, start again, lose the database file, start twice on a
// new empty database. The member stays in the current backup; the first dated copy of the day stays.
TEST(StartupBackup, AnEmptyDatabaseNeverPushesTheLastGoodBackupOut)
{
    TestDatabase t;
    const DataFolder& folder = t.folder();
    const QDateTime now = QDateTime::currentDateTime();
    ASSERT_EQ(DatabaseBackup::startupBackup(t.dm(), folder, now), StartupOutcome::Created);
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('001', 'Jan')"));
    ASSERT_EQ(DatabaseBackup::startupBackup(t.dm(), folder, now), StartupOutcome::Rotated);
    const QString dated = folder.datedBackupPath(FileCopy::lastWriteTime(folder.currentBackupPath()).toString(QStringLiteral("yyyyMMdd")));

    const QString database = t.dm().databasePath();
    t.dm().close();
    ASSERT_TRUE(QFile::remove(database));
    TdmZAVR empty(database);
    ASSERT_TRUE(empty.open());
    for (int start = 0; start < 2; ++start) {
        QString failure;
        EXPECT_EQ(DatabaseBackup::startupBackup(empty, folder, now, &failure), StartupOutcome::KeptNotEmpty);
        EXPECT_EQ(DatabaseBackup::startupBackupStatus(StartupOutcome::KeptNotEmpty, failure).isEmpty(), false);
    }
    EXPECT_EQ(membersIn(folder.currentBackupPath()), 1);
    EXPECT_EQ(QDir(folder.backupFolder()).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(membersIn(dated), 0);

    // Once the club has members again, the rotation goes on (keeping the day's first dated copy).
    empty.exec(QStringLiteral("INSERT INTO ZAVR_PigData (LoftNo, PRingNo) VALUES ('002', 'GB24A1')"));
    EXPECT_EQ(DatabaseBackup::startupBackup(empty, folder, now), StartupOutcome::Rotated);
    EXPECT_EQ(membersIn(folder.currentBackupPath()), 0);
    EXPECT_EQ(membersIn(dated), 0);
}

TEST(StartupBackup, FailedCopyChangesNothing)
{
    TestDatabase t;
    // A file where the Backup folder should be: the folder cannot be created.
    QFile blocker(t.folder().backupFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString failure;
    EXPECT_EQ(DatabaseBackup::startupBackup(t.dm(), t.folder(), Now, &failure), StartupOutcome::Failed);
    EXPECT_FALSE(failure.isEmpty());
    EXPECT_EQ(DatabaseBackup::startupBackupStatus(StartupOutcome::Failed, failure),
              QStringLiteral("The start-up backup failed: ") + failure);
    EXPECT_EQ(QDir(t.path()).entryList({QStringLiteral("*.tmp-*")}, QDir::Files).size(), 0);
}

TEST(StartupBackup, ClosedOrReadOnlyDatabaseIsNotCopied)
{
    TestDatabase t;
    t.dm().close();
    EXPECT_EQ(DatabaseBackup::startupBackup(t.dm(), t.folder(), Now), StartupOutcome::Skipped);
    t.dm().setReadOnly(true);
    ASSERT_TRUE(t.dm().open());
    EXPECT_EQ(DatabaseBackup::startupBackup(t.dm(), t.folder(), Now), StartupOutcome::Skipped);
    EXPECT_FALSE(QFile::exists(t.folder().currentBackupPath()));
}

}  // namespace
