#include "BlockWritingVfs.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

class Connection {
public:
    Connection(const QByteArray& path, const char* vfs) { open_ = sqlite3_open_v2(path.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, vfs); }
    ~Connection() { sqlite3_close(db_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    int opened() const { return open_; }
    void run(const char* sql)
    {
        char* error = nullptr;
        ASSERT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, &error), SQLITE_OK) << sql << ": " << (error ? error : "");
    }
    QByteArray text(const char* sql)
    {
        sqlite3_stmt* statement = nullptr;
        QByteArray out;
        if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
            out = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        sqlite3_finalize(statement);
        return out;
    }

private:
    sqlite3* db_ = nullptr;
    int open_ = SQLITE_ERROR;
};

// Rows of about 1 KiB: many blocks' worth, written, rolled back, deleted and vacuumed, so
// writes that do and do not continue one another, reads of the journal, truncation and syncs all
// pass through the gathering of writes.
TEST(BlockWritingVfs, DatabaseWrittenThroughItReadsBackTheSameWithThePlatformsFileSystem)
{
    ASSERT_NE(BlockWritingVfs::name(), nullptr);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("blocks.db")));
    const char* content = "SELECT count(*) || ' ' || sum(n) || ' ' || sum(length(t)) FROM t";
    {
        Connection db(path, BlockWritingVfs::name());
        ASSERT_EQ(db.opened(), SQLITE_OK);
        db.run("PRAGMA cache_size = 20");  // small: dirty pages are written while a change runs
        db.run("CREATE TABLE t (n INTEGER, t TEXT)");
        db.run("WITH RECURSIVE k(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM k WHERE n < 3000) "
               "INSERT INTO t SELECT n, printf('%.*c', 1000, char(65 + n % 26)) FROM k");
        db.run("BEGIN; UPDATE t SET t = upper(t) || 'x' WHERE n % 3 = 0; DELETE FROM t WHERE n > 2500; ROLLBACK");
        db.run("DELETE FROM t WHERE n % 2 = 0");
        db.run("VACUUM");
        EXPECT_EQ(db.text("PRAGMA integrity_check"), QByteArray("ok"));
        EXPECT_EQ(db.text(content), QByteArray("1500 2250000 1500000"));
    }
    Connection reopened(path, nullptr);
    ASSERT_EQ(reopened.opened(), SQLITE_OK);
    EXPECT_EQ(reopened.text("PRAGMA integrity_check"), QByteArray("ok"));
    EXPECT_EQ(reopened.text(content), QByteArray("1500 2250000 1500000"));
}

}  // namespace
