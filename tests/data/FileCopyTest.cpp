#include "CorvelError.h"
#include "FileCopy.h"
#include "FullDisk.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
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

// The files of a folder, so that a test sees a temporary file left behind.
QStringList filesIn(const QTemporaryDir& dir) { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

// The bytes the writers write: more than a full disk takes.
const QByteArray Big(64 * 1024, 'x');

// A file holding Big in a folder of its own, for the copy.
QString copySource()
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Corvel_Europe.db"));
    if (!QFile::exists(path))
        writeFile(path, Big);
    return path;
}

struct WholeFileWriter {
    const char* what;
    std::function<void(const QString& target)> write;  // writes Big to target
    friend void PrintTo(const WholeFileWriter& w, std::ostream* os) { *os << w.what; }
};

class WholeFileWriters : public ::testing::TestWithParam<WholeFileWriter> {};

// A full disk takes the bytes that fit and refuses the rest, at a write or at the final flush.
TEST_P(WholeFileWriters, AFullDiskLeavesTheOldFileOrNoneAndSaysWhy)
{
    copySource();
    for (const bool oldFile : {true, false}) {
        SCOPED_TRACE(oldFile ? "replacing a file" : "a new file");
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("bench.json"));
        if (oldFile)
            writeFile(target, "old contents");
        try {
            const FullDisk full(4096);
            GetParam().write(target);
            ADD_FAILURE() << "no error";
        } catch (const CorvelError& e) {
            EXPECT_TRUE(e.text().startsWith(QStringLiteral("Cannot write ") + QDir::toNativeSeparators(target) + QStringLiteral(": ")))
                << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(QStringLiteral("too large"), Qt::CaseInsensitive)) << e.text().toStdString();
        }
        EXPECT_EQ(readFile(target), oldFile ? QByteArray("old contents") : QByteArray());
        EXPECT_EQ(filesIn(dir), oldFile ? QStringList{QStringLiteral("bench.json")} : QStringList{});
    }
}

TEST_P(WholeFileWriters, WritesTheWholeFile)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("bench.json"));
    writeFile(target, "old contents");
    GetParam().write(target);
    EXPECT_EQ(readFile(target), Big);
    EXPECT_EQ(filesIn(dir), QStringList{QStringLiteral("bench.json")});
}

INSTANTIATE_TEST_SUITE_P(Ways, WholeFileWriters,
                         ::testing::Values(WholeFileWriter{"all at once", [](const QString& target) { writeWholeFile(target, Big); }},
                                           WholeFileWriter{"through a text stream",
                                                           [](const QString& target) {
                                                               WholeFile file(target);
                                                               QTextStream out(&file.device());
                                                               out << Big;
                                                               out.flush();
                                                               file.commit();
                                                           }},
                                           WholeFileWriter{"as a copy", [](const QString& target) {
                                                               FileCopy::copyReplacing(copySource(), target);
                                                           }}));

TEST(WholeFile, NotCommittedLeavesNothing)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("report.pdf"));
    {
        WholeFile file(target);
        file.write("half a report");
    }
    {
        WholeFile file(target, WholeFile::WrittenByName);
        writeFile(file.temporaryPath(), "a workbook whose writer failed");
    }
    EXPECT_TRUE(filesIn(dir).isEmpty());
    WholeFile unwritten(target, WholeFile::WrittenByName);
    EXPECT_THROW(unwritten.commit(), CorvelError);
    EXPECT_TRUE(filesIn(dir).isEmpty());
}

}  // namespace
