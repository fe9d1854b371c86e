#include "CorvelError.h"
#include "DatabaseBackup.h"
#include "FileCopy.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

const QDateTime Now(QDate(2024, 5, 10), QTime(12, 30, 15));

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QStringList clubIds(const TdmZAVR& dm)
{
    QStringList ids;
    QSqlQuery q = dm.exec(QStringLiteral("SELECT ClubID FROM ZAVR_ClubMap ORDER BY ClubID"));
    while (q.next())
        ids << q.value(0).toString();
    return ids;
}

// The listed clubs of a database file, read with a connection of its own.
QStringList clubIdsOfFile(const QString& path)
{
    TdmZAVR other(path);
    if (!other.open()) {
        ADD_FAILURE() << other.openError().toStdString();
        return {};
    }
    return clubIds(other);
}

// Leftovers of a copy beside the database or in the Backup folder.
QStringList temporaryFiles(const TestDatabase& t)
{
    return QDir(t.path()).entryList({QStringLiteral("*.tmp-*")}, QDir::Files) +
           QDir(t.folder().backupFolder()).entryList({QStringLiteral("*.tmp-*")}, QDir::Files);
}

TEST(BackupNow, TargetIsTheChosenNameAsTypedWithTheDate)
{
    const QDate day(2024, 5, 10);
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("club"), QStringLiteral("club_240510.Bak")},
        {QStringLiteral("club.Bak"), QStringLiteral("club.Bak_240510.Bak")},
        {QStringLiteral("/home/sec/backups/Club 2024"), QStringLiteral("/home/sec/backups/Club 2024_240510.Bak")},
    };
    for (const auto& [chosen, target] : cases)
        EXPECT_EQ(DatabaseBackup::backupNowTarget(chosen, day), target) << chosen.toStdString();
    EXPECT_EQ(DatabaseBackup::backupNowTarget(QStringLiteral("c"), QDate(2009, 1, 2)), QStringLiteral("c_090102.Bak"));
}

TEST(BackupNow, WritesACopyOfTheOpenDatabaseReplacingAnOldOne)
{
    TestDatabase t;
    t.run(QStringLiteral("INSERT INTO ZAVR_ClubMap (ClubID, ClubName) VALUES ('RPC', 'Royal')"));
    const QString target = t.path() + QStringLiteral("/club_240510.Bak");
    writeFile(target, "an older backup of the same name");
    DatabaseBackup::backupNow(t.dm(), target);
    EXPECT_EQ(clubIdsOfFile(target), QStringList{QStringLiteral("RPC")});
    EXPECT_EQ(FileCopy::lastWriteTime(target), FileCopy::lastWriteTime(t.dm().databasePath()));
}

TEST(BackupNow, AFolderThatCannotBeWrittenFailsAndLeavesNothing)
{
    TestDatabase t;
    const QString missingFolder = t.path() + QStringLiteral("/no such folder/club_240510.Bak");
    EXPECT_THROW(DatabaseBackup::backupNow(t.dm(), missingFolder), CorvelError);
    EXPECT_TRUE(temporaryFiles(t).isEmpty());
    t.dm().close();
    EXPECT_THROW(DatabaseBackup::backupNow(t.dm(), t.path() + QStringLiteral("/x.Bak")), CorvelError);
}

// A backup holding the club OLD, taken before the club NEW was added to the open database.
struct RestoreFixture {
    TestDatabase t;
    QString backup;
    RestoreFixture() : backup(t.path() + QStringLiteral("/club_240501.Bak"))
    {
        t.run(QStringLiteral("INSERT INTO ZAVR_ClubMap (ClubID, ClubName) VALUES ('OLD', 'Old Club')"));
        DatabaseBackup::backupNow(t.dm(), backup);
        t.run(QStringLiteral("INSERT INTO ZAVR_ClubMap (ClubID, ClubName) VALUES ('NEW', 'New Club')"));
    }
};

TEST(Restore, ReplacesTheDatabaseAndKeepsTheReplacedOneInTheBackupFolder)
{
    RestoreFixture f;
    const QByteArray chosenBytes = readFile(f.backup);
    const DatabaseBackup::RestoreResult result = DatabaseBackup::restoreDatabase(f.t.dm(), f.t.folder(), f.backup, Now);
    ASSERT_TRUE(result.restored) << result.failure.toStdString();
    EXPECT_FALSE(f.t.dm().isOpen());
    EXPECT_EQ(clubIdsOfFile(f.t.folder().databasePath()), QStringList{QStringLiteral("OLD")});
    EXPECT_EQ(result.safetyCopy, f.t.folder().backupFolder() + QStringLiteral("/Corvel_Europe_20240510_123015_before_restore.bak"));
    EXPECT_EQ(clubIdsOfFile(result.safetyCopy), (QStringList{QStringLiteral("NEW"), QStringLiteral("OLD")}));
    EXPECT_EQ(readFile(f.backup), chosenBytes);
    EXPECT_TRUE(temporaryFiles(f.t).isEmpty());
}

TEST(Restore, TwoRestoresInOneSecondKeepBothReplacedDatabases)
{
    RestoreFixture f;
    const auto first = DatabaseBackup::restoreDatabase(f.t.dm(), f.t.folder(), f.backup, Now);
    ASSERT_TRUE(first.restored) << first.failure.toStdString();
    ASSERT_TRUE(f.t.dm().open());
    const auto second = DatabaseBackup::restoreDatabase(f.t.dm(), f.t.folder(), f.backup, Now);
    ASSERT_TRUE(second.restored) << second.failure.toStdString();
    EXPECT_NE(first.safetyCopy, second.safetyCopy);
    EXPECT_EQ(clubIdsOfFile(first.safetyCopy), (QStringList{QStringLiteral("NEW"), QStringLiteral("OLD")}));
    EXPECT_EQ(clubIdsOfFile(second.safetyCopy), QStringList{QStringLiteral("OLD")});
}

TEST(Restore, ADatabaseThatCouldNotBeOpenedIsKeptAsItWasAndReplaced)
{
    RestoreFixture f;
    f.t.dm().close();
    const QString database = f.t.folder().databasePath();
    writeFile(database, "damaged beyond use");
    const auto result = DatabaseBackup::restoreDatabase(f.t.dm(), f.t.folder(), f.backup, Now);
    ASSERT_TRUE(result.restored) << result.failure.toStdString();
    EXPECT_EQ(readFile(result.safetyCopy), QByteArray("damaged beyond use"));
    EXPECT_EQ(clubIdsOfFile(database), QStringList{QStringLiteral("OLD")});
}

// A backup of a club with enough members to fill many pages, whose pages beyond the schema were
// then overwritten at their start.
QString damagedBackup(TestDatabase& t)
{
    const QString path = t.path() + QStringLiteral("/damaged.Bak");
    {
        TdmZAVR::Transaction tx(t.dm());
        for (int i = 0; i < 300; ++i)
            t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName, Notes) VALUES (?, 'Member', ?)"),
                  {QStringLiteral("M%1").arg(i), QString(200, QLatin1Char('n'))});
        tx.commit();
    }
    DatabaseBackup::backupNow(t.dm(), path);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadWrite));
    EXPECT_GT(f.size(), 4096 * 12);
    for (qint64 page = 10; page * 4096 < f.size(); page += 2) {
        f.seek(page * 4096);
        f.write(QByteArray(16, '\x5a'));
    }
    return path;
}

struct BadRestoreCase {
    const char* what;
    // Prepares the failure; returns the file to restore from.
    std::function<QString(RestoreFixture&)> prepare;
    const char* notABackup;  // why the file is no backup of this program; null for other failures
    bool putInPlaceFails = false;
    friend void PrintTo(const BadRestoreCase& c, std::ostream* os) { *os << c.what; }
};

class FailedRestore : public ::testing::TestWithParam<BadRestoreCase> {};

TEST_P(FailedRestore, LeavesTheDatabaseInPlaceOpenAndUsable)
{
    const BadRestoreCase& c = GetParam();
    RestoreFixture f;
    const QString source = c.prepare(f);
    const QByteArray sourceBytes = readFile(source);
    const QString database = f.t.folder().databasePath();
    const QDateTime databaseDate = FileCopy::lastWriteTime(database);

    DatabaseBackup::PutInPlace putInPlace = DatabaseBackup::renameIntoPlace;
    if (c.putInPlaceFails)
        putInPlace = [](const QString&, const QString&) { throw CorvelError(QStringLiteral("disk full")); };
    const auto result = DatabaseBackup::restoreDatabase(f.t.dm(), f.t.folder(), source, Now, putInPlace);

    EXPECT_FALSE(result.restored);
    EXPECT_FALSE(result.failure.isEmpty());
    EXPECT_EQ(result.notABackup, c.notABackup != nullptr) << result.failure.toStdString();
    if (c.notABackup) {
        EXPECT_TRUE(result.failure.contains(QLatin1String(c.notABackup))) << result.failure.toStdString();
        EXPECT_EQ(DatabaseBackup::restoreFailureMessage(result), result.failure);
    } else {
        EXPECT_TRUE(DatabaseBackup::restoreFailureMessage(result).startsWith(DatabaseBackup::RestoreFailedMessage));
    }
    ASSERT_TRUE(f.t.dm().isOpen()) << result.failure.toStdString();
    EXPECT_EQ(clubIds(f.t.dm()), (QStringList{QStringLiteral("NEW"), QStringLiteral("OLD")}));
    EXPECT_EQ(FileCopy::lastWriteTime(database), databaseDate);
    // Still usable for writing, and the chosen file is untouched.
    f.t.run(QStringLiteral("INSERT INTO ZAVR_ClubMap (ClubID, ClubName) VALUES ('AFTER', 'After')"));
    EXPECT_EQ(readFile(source), sourceBytes);
    EXPECT_TRUE(temporaryFiles(f.t).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedRestore,
    ::testing::Values(
        BadRestoreCase{"a text file",
                       [](RestoreFixture& f) {
                           const QString path = f.t.path() + QStringLiteral("/notes.Bak");
                           writeFile(path, "Race day notes\nnot a database\n");
                           return path;
                       },
                       "it is not a database"},
        BadRestoreCase{"an empty file",
                       [](RestoreFixture& f) {
                           const QString path = f.t.path() + QStringLiteral("/empty.Bak");
                           writeFile(path, "");
                           return path;
                       },
                       "it is an empty file"},
        BadRestoreCase{"a database of another program",
                       [](RestoreFixture& f) {
                           const QString path = f.t.path() + QStringLiteral("/foreign.Bak");
                           {
                               QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
                               db.setDatabaseName(path);
                               EXPECT_TRUE(db.open());
                               QSqlQuery q(db);
                               EXPECT_TRUE(q.exec(QStringLiteral("CREATE TABLE Invoices (No INTEGER, Amount REAL)")));
                               EXPECT_TRUE(q.exec(QStringLiteral("INSERT INTO Invoices VALUES (1, 9.5)")));
                               db.close();
                           }
                           QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
                           return path;
                       },
                       "it is a database of another program (the table ZAVR_LoftData is missing)"},
        BadRestoreCase{"a backup cut short",
                       [](RestoreFixture& f) {
                           const QString path = f.t.path() + QStringLiteral("/cut.Bak");
                           writeFile(path, readFile(f.backup).left(100));
                           return path;
                       },
                       "it is damaged"},
        BadRestoreCase{"a file that is gone", [](RestoreFixture& f) { return f.t.path() + QStringLiteral("/gone.Bak"); }, nullptr},
        BadRestoreCase{"a folder",
                       [](RestoreFixture& f) {
                           const QString path = f.t.path() + QStringLiteral("/folder.Bak");
                           EXPECT_TRUE(QDir().mkpath(path));
                           return path;
                       },
                       nullptr},
        BadRestoreCase{"a Backup folder that cannot be written",
                       [](RestoreFixture& f) {
                           // A file where the Backup folder should be.
                           QDir(f.t.folder().backupFolder()).removeRecursively();
                           writeFile(f.t.folder().backupFolder(), "in the way");
                           return f.backup;
                       },
                       nullptr},
        BadRestoreCase{"the table names with dummy columns",
                       [](RestoreFixture& f) {
                           const QString path = f.t.path() + QStringLiteral("/hollow.Bak");
                           writeHollowDatabase(path);
                           return path;
                       },
                       "it is a database of another program (the table ZAVR_LoftData has no column AssociationCode)"},
        BadRestoreCase{"a backup with damaged pages", [](RestoreFixture& f) { return damagedBackup(f.t); }, "it is damaged"},
        BadRestoreCase{"the copy cannot be put in place", [](RestoreFixture& f) { return f.backup; }, nullptr, true}));

}  // namespace
