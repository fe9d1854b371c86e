#include "CorvelError.h"
#include "FileCopy.h"
#include "FullDisk.h"
#include "TestDatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <atomic>
#include <functional>
#include <optional>
#include <thread>

namespace {

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void makeForeignSqlite(const QString& path)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE invoices (id INTEGER, total REAL)")));
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO invoices VALUES (1, 9.5)")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
}

struct OpenFailure {
    const char* what;
    std::function<void(const QString& path)> prepare;
    const char* reasonPart;
};

TEST(TdmZAVR, UnopenableFilesGiveAClearMessageAndAreNotModified)
{
    const std::vector<OpenFailure> cases = {
        {"a text file", [](const QString& p) { writeFile(p, "Members: Jan, Piet\n"); }, "not a database"},
        {"an empty file", [](const QString& p) { writeFile(p, ""); }, "empty"},
        {"a database of another program", [](const QString& p) { makeForeignSqlite(p); }, "table ZAVR_LoftData is missing"},
        {"the table names without their columns", [](const QString& p) { writeHollowDatabase(p); },
         "a database of another program (the table ZAVR_LoftData has no column AssociationCode)"},
    };
    for (const OpenFailure& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Corvel_Europe.db"));
        c.prepare(path);
        const QByteArray before = fileHash(path);
        const QDateTime stamp = FileCopy::lastWriteTime(path);
        {
            TdmZAVR dm(path);
            EXPECT_FALSE(dm.open()) << c.what;
            EXPECT_TRUE(dm.openError().contains(QString::fromUtf8(c.reasonPart))) << c.what << ": " << dm.openError().toStdString();
            EXPECT_TRUE(dm.openError().contains(path)) << c.what;
            EXPECT_FALSE(dm.isOpen());
            try {
                dm.exec(QStringLiteral("SELECT 1"));
                ADD_FAILURE() << "a closed database ran a statement";
            } catch (const DbError& e) {
                EXPECT_EQ(e.text(), dm.openError());
            }
        }
        EXPECT_EQ(fileHash(path), before) << c.what;
        EXPECT_EQ(FileCopy::lastWriteTime(path), stamp) << c.what;
    }
}

TEST(TdmZAVR, DatabaseInAMissingFolderIsNotCreated)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nowhere/Corvel_Europe.db"));
    TdmZAVR dm(path);
    EXPECT_FALSE(dm.open());
    EXPECT_TRUE(dm.openError().contains(QStringLiteral("does not exist")));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(TdmZAVR, ANewDatabaseThatCannotBeWrittenLeavesNoFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Corvel_Europe.db"));
    {
        const FullDisk full(8192);
        TdmZAVR dm(path);
        EXPECT_FALSE(dm.open());
        EXPECT_TRUE(dm.openError().contains(QStringLiteral("Cannot open the club database"))) << dm.openError().toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    TdmZAVR dm(path);
    EXPECT_TRUE(dm.open()) << dm.openError().toStdString();
}

TEST(TdmZAVR, ReadOnlyRefusesEveryChangeAndCreatesNothing)
{
    TestDatabase t;
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('L1', 'Jan')"));
    const QString path = t.dm().databasePath();
    const QByteArray before = fileHash(path);
    TdmZAVR reader(path);
    reader.setReadOnly(true);
    ASSERT_TRUE(reader.open()) << reader.openError().toStdString();
    EXPECT_EQ(reader.scalar(QStringLiteral("SELECT LoftName FROM ZAVR_LoftData")).toString(), QStringLiteral("Jan"));
    const std::vector<std::function<void()>> changes = {
        [&] { reader.exec(QStringLiteral("UPDATE ZAVR_LoftData SET LoftName = 'Piet'")); },
        [&] { reader.append(QStringLiteral("ZAVR_ClubMap"), {{QStringLiteral("ClubID"), QStringLiteral("X")}}); },
        [&] {
            TdmZAVR::Transaction tx(reader);
            reader.exec(QStringLiteral("DELETE FROM ZAVR_LoftData"));
            tx.commit();
        },
    };
    for (const auto& change : changes) {
        try {
            change();
            ADD_FAILURE() << "a change was accepted";
        } catch (const DbError& e) {
            EXPECT_EQ(e.text(), TdmZAVR::ReadOnlyMessage);
        }
    }
    EXPECT_EQ(fileHash(path), before);

    TdmZAVR missing(t.path() + QStringLiteral("/other.db"));
    missing.setReadOnly(true);
    EXPECT_FALSE(missing.open());
    EXPECT_FALSE(QFile::exists(t.path() + QStringLiteral("/other.db")));
}

// Two programs on one database: a transaction waits for the other's write to end instead of
// failing with "database is locked" half-way.
TEST(TdmZAVR, ATransactionWaitsForAnotherProgramsWrite)
{
    TestDatabase t;
    const QString path = t.dm().databasePath();
    std::atomic<bool> writing = false;
    QString otherFailure;
    std::thread other([&] {
        TdmZAVR dm(path);
        if (!dm.open()) {
            otherFailure = dm.openError();
            writing = true;
            return;
        }
        try {
            TdmZAVR::Transaction tx(dm);
            dm.append(QStringLiteral("ZAVR_LoftData"), {{QStringLiteral("LoftNo"), QStringLiteral("OTHER")}});
            writing = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            tx.commit();
        } catch (const DbError& e) {
            otherFailure = e.text();
        }
    });
    while (!writing)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    try {
        TdmZAVR::Transaction tx(t.dm());
        const int before = t.dm().scalar(QStringLiteral("SELECT count(*) FROM ZAVR_LoftData")).toInt();
        t.dm().append(QStringLiteral("ZAVR_LoftData"), {{QStringLiteral("LoftNo"), QStringLiteral("MINE%1").arg(before)}});
        tx.commit();
    } catch (const DbError& e) {
        ADD_FAILURE() << e.text().toStdString();
    }
    other.join();
    EXPECT_TRUE(otherFailure.isEmpty()) << otherFailure.toStdString();
    EXPECT_EQ(rows(t.dm(), QStringLiteral("SELECT LoftNo FROM ZAVR_LoftData ORDER BY LoftNo")),
              (QStringList{QStringLiteral("MINE1"), QStringLiteral("OTHER")}));
}

TEST(TdmZAVR, LockedDatabaseGivesTheEnginesText)
{
    TestDatabase t;
    const QString path = t.dm().databasePath();
    t.dm().close();
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        other.setDatabaseName(path);
        ASSERT_TRUE(other.open());
        QSqlQuery q(other);
        ASSERT_TRUE(q.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        {
            TdmZAVR dm(path);
            EXPECT_FALSE(dm.open());
            EXPECT_TRUE(dm.openError().contains(QStringLiteral("locked"))) << dm.openError().toStdString();
        }
        q.exec(QStringLiteral("ROLLBACK"));
        q.finish();
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    EXPECT_TRUE(t.dm().open()) << t.dm().openError().toStdString();
}

TEST(TdmZAVR, ReopensItsOwnDatabaseWithTheRows)
{
    TestDatabase t;
    t.run(QStringLiteral("INSERT INTO ZAVR_FeatherColor VALUES ('BB', 'Blue Bar')"));
    t.dm().close();
    EXPECT_TRUE(t.dm().open()) << t.dm().openError().toStdString();
    EXPECT_EQ(t.dm().scalar(QStringLiteral("SELECT FeathColor FROM ZAVR_FeatherColor")).toString(), QStringLiteral("Blue Bar"));
}

TEST(TdmZAVR, LocatesUpdatesAndRemovesByKeyColumns)
{
    TestDatabase t;
    const QString table = QStringLiteral("ZAVR_RaceClockTime");
    const QStringList key = {QStringLiteral("LiberCode"), QStringLiteral("LiberDate"), QStringLiteral("LoftNo")};
    t.dm().append(table, {{QStringLiteral("LiberCode"), QStringLiteral("A1")},
                          {QStringLiteral("LiberDate"), QStringLiteral("2024-05-03 00:00:00")},
                          {QStringLiteral("LoftNo"), QStringLiteral("L1")},
                          {QStringLiteral("ClockID"), QStringLiteral("C9")}});
    // A race's date matches by its date part.
    const auto row = t.dm().locate(table, key, {QStringLiteral("A1"), QStringLiteral("2024-05-03 17:30:00"), QStringLiteral("L1")});
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->value(QStringLiteral("ClockID")).toString(), QStringLiteral("C9"));
    EXPECT_FALSE(t.dm().locate(table, key, {QStringLiteral("A1"), QStringLiteral("2024-05-04"), QStringLiteral("L1")}).has_value());
    EXPECT_FALSE(t.dm().locate(table, key, {QStringLiteral("A1"), QStringLiteral("2024-05-03"), QStringLiteral("L")}).has_value());

    EXPECT_EQ(t.dm().update(table, key, {QStringLiteral("A1"), QStringLiteral("2024-05-03"), QStringLiteral("L1")},
                            {{QStringLiteral("ClockID"), QStringLiteral("C10")}}),
              1);
    EXPECT_EQ(t.dm().scalar(QStringLiteral("SELECT ClockID FROM ZAVR_RaceClockTime")).toString(), QStringLiteral("C10"));
    EXPECT_EQ(t.dm().remove(table, key, {QStringLiteral("A1"), QStringLiteral("2024-05-03"), QStringLiteral("L1")}), 1);
    EXPECT_EQ(t.dm().scalar(QStringLiteral("SELECT count(*) FROM ZAVR_RaceClockTime")).toInt(), 0);
}

TEST(TdmZAVR, RefusesNamesOutsideTheSchema)
{
    TestDatabase t;
    EXPECT_THROW(t.dm().locate(QStringLiteral("sqlite_master"), {QStringLiteral("name")}, {QStringLiteral("x")}), DbError);
    EXPECT_THROW(t.dm().append(QStringLiteral("ZAVR_LoftData"), {{QStringLiteral("LoftNo) VALUES ('x'); --"), 1}}), DbError);
    EXPECT_THROW(t.dm().locate(QStringLiteral("ZAVR_LoftData"), {QStringLiteral("LoftNo")}, {}), DbError);
}

TEST(TdmZAVR, TransactionIsAllOrNothing)
{
    TestDatabase t;
    const auto insert = [&t](const QString& loftNo) {
        t.dm().append(QStringLiteral("ZAVR_LoftData"), {{QStringLiteral("LoftNo"), loftNo}});
    };
    try {
        TdmZAVR::Transaction tx(t.dm());
        insert(QStringLiteral("A"));
        insert(QStringLiteral("B"));
        insert(QStringLiteral("A"));  // duplicate key: the whole action fails
        tx.commit();
    } catch (const DbError&) {
    }
    EXPECT_EQ(t.dm().scalar(QStringLiteral("SELECT count(*) FROM ZAVR_LoftData")).toInt(), 0);
    {
        TdmZAVR::Transaction outer(t.dm());
        insert(QStringLiteral("A"));
        {
            TdmZAVR::Transaction inner(t.dm());
            insert(QStringLiteral("B"));
        }  // inner rolled back
        outer.commit();
    }
    EXPECT_EQ(t.dm().scalar(QStringLiteral("SELECT group_concat(LoftNo) FROM ZAVR_LoftData")).toString(), QStringLiteral("A"));
}

TEST(TdmZAVR, ClubSettingsOfAnEmptyTableAreEmptyTextsAndZeros)
{
    TestDatabase t;
    const ClubSettings empty = t.dm().clubSettings();
    EXPECT_FALSE(empty.exists);
    EXPECT_TRUE(empty.ClubID.isEmpty() && empty.ClubName.isEmpty() && empty.AssociationCode.isEmpty());
    EXPECT_EQ(empty.Mode, 0);
    EXPECT_EQ(empty.Language, 0);
    EXPECT_EQ(empty.DBBackupDays, 0);
    EXPECT_EQ(empty.speedUnit(), QStringLiteral("m/min"));

    t.run(QStringLiteral("INSERT INTO ZAVR_ClubData (ClubID, ClubName, Mode, DBBackupDays) VALUES ('RPC', 'Royal', 1, 7)"));
    const ClubSettings s = t.dm().clubSettings();
    EXPECT_TRUE(s.exists);
    EXPECT_EQ(s.ClubName, QStringLiteral("Royal"));
    EXPECT_EQ(s.DBBackupDays, 7);
    EXPECT_EQ(s.speedUnit(), QStringLiteral("yds/min"));
}

TEST(TdmZAVR, SnapshotIsACompleteDatabaseWithTheSourcesDate)
{
    TestDatabase t;
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('L1', 'Jan')"));
    // Some megabytes, so the copy is written in many blocks.
    t.run(QStringLiteral("WITH RECURSIVE k(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM k WHERE n < 2000) "
                         "INSERT INTO ZAVR_LoftData (LoftNo, LoftName, Notes) SELECT 'M' || n, 'Member ' || n, "
                         "printf('%.*c', 1500 + n % 700, 'x') FROM k"));
    const QString content = QStringLiteral("SELECT count(*) || ' ' || sum(length(Notes)) || ' ' || group_concat(LoftName, '') "
                                           "FROM ZAVR_LoftData");
    const QString target = t.path() + QStringLiteral("/copy.bak");
    writeFile(target, "old contents");
    t.dm().snapshotTo(target);
    EXPECT_EQ(FileCopy::lastWriteTime(target), FileCopy::lastWriteTime(t.dm().databasePath()));
    TdmZAVR copy(target);
    ASSERT_TRUE(copy.open()) << copy.openError().toStdString();
    EXPECT_EQ(copy.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    EXPECT_EQ(copy.scalar(QStringLiteral("SELECT LoftName FROM ZAVR_LoftData WHERE LoftNo = 'L1'")).toString(), QStringLiteral("Jan"));
    EXPECT_EQ(copy.scalar(content), t.dm().scalar(content));
    EXPECT_EQ(QDir(t.path()).entryList({QStringLiteral("*.tmp-*")}, QDir::Files).size(), 0);
}

TEST(TdmZAVR, SnapshotThatCannotBeTakenChangesNothing)
{
    TestDatabase t;
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('L1', 'Jan')"));
    const QString existing = t.path() + QStringLiteral("/copy.bak");
    writeFile(existing, "old contents");
    struct Case {
        const char* what;
        QString target;
        bool inTransaction;
        QString reason;
    };
    const std::vector<Case> cases = {
        {"a change in progress", existing, true, QStringLiteral("a change is still in progress.")},
        {"a missing folder", t.path() + QStringLiteral("/missing/copy.bak"), false, QStringLiteral("unable to open")},
    };
    for (const Case& c : cases) {
        std::optional<TdmZAVR::Transaction> tx;
        if (c.inTransaction) {
            tx.emplace(t.dm());
            t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('L2', 'Piet')"));
        }
        try {
            t.dm().snapshotTo(c.target);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const DbError& e) {
            EXPECT_TRUE(e.text().startsWith(QStringLiteral("Cannot copy the club database to "))) << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(c.reason)) << c.what << ": " << e.text().toStdString();
        }
        EXPECT_EQ(fileHash(existing), QCryptographicHash::hash("old contents", QCryptographicHash::Sha256)) << c.what;
        EXPECT_FALSE(QFileInfo::exists(t.path() + QStringLiteral("/missing"))) << c.what;
        EXPECT_EQ(QDir(t.path()).entryList({QStringLiteral("*.tmp-*")}, QDir::Files).size(), 0) << c.what;
    }
}

}  // namespace
