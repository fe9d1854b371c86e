#include "CorvelError.h"
#include "DataFolder.h"
#include "DatabaseBackup.h"
#include "Dialogs.h"
#include "StartUp.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// A data folder whose club database had one member and was backed up to Backup/ before the
// database file went missing.
class LostDatabase : public ::testing::Test {
protected:
    LostDatabase()
    {
        Dialogs::resetTestHooks();
        folder.prepare();
        database = folder.databasePath();
        TdmZAVR dm(database);
        EXPECT_TRUE(dm.open());
        dm.exec(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('001', 'Jan')"));
        EXPECT_TRUE(QDir().mkpath(folder.backupFolder()));
        dm.snapshotTo(folder.currentBackupPath());
        dm.close();
        QFile::remove(database);
    }

    QStringList questions()
    {
        QStringList out;
        for (const Dialogs::ShownMessage& m : Dialogs::takeMessages())
            if (m.kind == Dialogs::Kind::Question)
                out << m.text;
        return out;
    }

    QTemporaryDir dir;
    DataFolder folder{dir.path()};
    QString database;
};

TEST_F(LostDatabase, TheUserRestoresTheNewestBackup)
{
    // A newer file in Backup that is no backup is passed over.
    writeFile(folder.backupFolder() + QStringLiteral("/Corvel_Europe_20991231.bak"), "not a database");
    Dialogs::setNextAnswer(StartUp::RestoreNewestBackup);
    const StartUp::Club club = StartUp::openClub(folder);
    const QStringList asked = questions();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked.first().contains(QDir::toNativeSeparators(database))) << asked.first().toStdString();
    EXPECT_TRUE(asked.first().contains(QDir::toNativeSeparators(folder.currentBackupPath()))) << asked.first().toStdString();
    ASSERT_FALSE(club.quit);
    ASSERT_TRUE(club.dm->isOpen()) << club.dm->openError().toStdString();
    EXPECT_EQ(club.dm->scalar(QStringLiteral("SELECT LoftName FROM ZAVR_LoftData")).toString(), QStringLiteral("Jan"));
}

TEST_F(LostDatabase, TheUserCreatesANewEmptyDatabaseOrQuits)
{
    Dialogs::setNextAnswer(StartUp::QuitWithoutDatabase);
    EXPECT_TRUE(StartUp::openClub(folder).quit);
    EXPECT_FALSE(QFile::exists(database));

    Dialogs::setNextAnswer(StartUp::CreateEmptyDatabase);
    const StartUp::Club club = StartUp::openClub(folder);
    ASSERT_FALSE(club.quit);
    ASSERT_TRUE(club.dm->isOpen());
    EXPECT_EQ(club.dm->scalar(QStringLiteral("SELECT count(*) FROM ZAVR_LoftData")).toInt(), 0);
    EXPECT_EQ(questions().size(), 2);
}

TEST_F(LostDatabase, AnEmptyDatabaseFileCountsAsMissing)
{
    writeFile(database, "");
    Dialogs::setNextAnswer(StartUp::RestoreNewestBackup);
    const StartUp::Club club = StartUp::openClub(folder);
    EXPECT_EQ(questions().size(), 1);
    ASSERT_TRUE(club.dm->isOpen()) << club.dm->openError().toStdString();
    EXPECT_EQ(club.dm->scalar(QStringLiteral("SELECT count(*) FROM ZAVR_LoftData")).toInt(), 1);
}

TEST(StartUp, AFirstStartCreatesTheDatabaseWithoutAQuestion)
{
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    Dialogs::resetTestHooks();
    const StartUp::Club club = StartUp::openClub(folder);
    EXPECT_FALSE(club.quit);
    EXPECT_TRUE(club.dm->isOpen());
    EXPECT_TRUE(Dialogs::takeMessages().isEmpty());
}

TEST(StartUp, ASecondWindowOnTheSameClubOpensItReadOnlyOrQuits)
{
    TestDatabase t;
    t.dm().close();
    const StartUp::Club first = StartUp::openClub(t.folder());
    ASSERT_TRUE(first.dm->isOpen());
    ASSERT_NE(first.lock, nullptr);

    Dialogs::setNextAnswer(StartUp::QuitProgram);
    EXPECT_TRUE(StartUp::openClub(t.folder()).quit);
    Dialogs::setNextAnswer(StartUp::OpenReadOnly);
    const StartUp::Club second = StartUp::openClub(t.folder());
    const QStringList shown = messageTexts();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown.first().contains(QStringLiteral("is already open in another window"))) << shown.first().toStdString();
    ASSERT_FALSE(second.quit);
    EXPECT_EQ(second.lock, nullptr);
    ASSERT_TRUE(second.dm->isOpen());
    EXPECT_TRUE(second.dm->isReadOnly());
    EXPECT_THROW(second.dm->exec(QStringLiteral("INSERT INTO ZAVR_ClubMap (ClubID) VALUES ('X')")), DbError);
    first.dm->exec(QStringLiteral("INSERT INTO ZAVR_ClubMap (ClubID) VALUES ('Y')"));
    EXPECT_EQ(second.dm->scalar(QStringLiteral("SELECT group_concat(ClubID) FROM ZAVR_ClubMap")).toString(), QStringLiteral("Y"));
}

TEST(StartUp, LeftoversOfInterruptedCopiesAreRemovedByTheProgramThatHoldsTheClub)
{
    TestDatabase t;
    t.dm().close();
    const DataFolder& folder = t.folder();
    ASSERT_TRUE(QDir().mkpath(folder.backupFolder()));
    const QString database = folder.databasePath();
    const QStringList leftovers = {database + QStringLiteral(".tmp-0123abcd"), database + QStringLiteral(".tmp-0123abcd-journal"),
                                   folder.currentBackupPath() + QStringLiteral(".tmp-89abcdef")};
    const QStringList kept = {folder.path() + QStringLiteral("/bench.json.tmp-00c0ffee"), folder.path() + QStringLiteral("/notes.tmp-1"),
                              folder.backupFolder() + QStringLiteral("/club.tmp-2.Bak")};
    for (const QString& path : leftovers + kept)
        writeFile(path, "x");

    const StartUp::Club first = StartUp::openClub(folder);
    for (const QString& path : leftovers)
        EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
    for (const QString& path : kept)
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();

    // A read-only second window leaves the files of the first alone.
    writeFile(leftovers.first(), "being written by the first window");
    Dialogs::setNextAnswer(StartUp::OpenReadOnly);
    const StartUp::Club second = StartUp::openClub(folder);
    EXPECT_TRUE(QFile::exists(leftovers.first()));
}

TEST(StartUp, ADataLinkFileThatCannotBeReadOpensNoDatabase)
{
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    writeFile(folder.udlPath(), "[oledb]\nProvider=SQLite;Data Source=Club \xe9t\xe9.db\n");
    Dialogs::resetTestHooks();
    const StartUp::Club club = StartUp::openClub(folder);
    EXPECT_FALSE(club.quit);
    EXPECT_FALSE(club.dm->isOpen());
    const QStringList shown = messageTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.first().contains(QStringLiteral("UTF-8"))) << shown.first().toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.db")}, QDir::Files), QStringList());
}

}  // namespace
