#include "CorvelError.h"
#include "FileCopy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes, const QDateTime& stamp = {})
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    ASSERT_TRUE(f.flush());
    if (stamp.isValid()) {
        ASSERT_TRUE(f.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(FileCopy, ReplacesTheTargetAndKeepsTheSourcesDate)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("a.db"));
    const QString target = dir.filePath(QStringLiteral("b.bak"));
    const QDateTime stamp(QDate(2024, 5, 3), QTime(10, 0, 0));
    writeFile(source, QByteArray(3 << 20, 'x') + "end", stamp);
    writeFile(target, "old");
    FileCopy::copyReplacing(source, target);
    EXPECT_EQ(readFile(target), readFile(source));
    EXPECT_EQ(FileCopy::lastWriteTime(target), stamp);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

TEST(FileCopy, FailedCopyLeavesTheTargetAsItWas)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("b.bak"));
    writeFile(target, "precious");
    EXPECT_THROW(FileCopy::copyReplacing(dir.filePath(QStringLiteral("missing.db")), target), CorvelError);
    EXPECT_THROW(FileCopy::copyReplacing(target, dir.filePath(QStringLiteral("no/such/folder/c.bak"))), CorvelError);
    EXPECT_EQ(readFile(target), QByteArray("precious"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

}  // namespace
