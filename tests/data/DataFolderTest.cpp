#include "CorvelError.h"
#include "DataFolder.h"
#include "FullDisk.h"
#include "SettingsFile.h"

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

TEST(DataFolder, AFirstStartOnAFullDiskLeavesNoFileBehind)
{
    QTemporaryDir dir;
    const DataFolder folder(dir.filePath(QStringLiteral("club")));
    {
        const FullDisk full(16);
        EXPECT_THROW(folder.prepare(), CorvelError);
    }
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    folder.prepare();
    EXPECT_EQ(folder.databasePath(), folder.path() + QStringLiteral("/Corvel_Europe.db"));
}

struct UdlCase {
    const char* what;
    QByteArray contents;
    const char* databaseName;  // relative to the folder; empty when the file is refused
    const char* message;       // part of the refusal
    friend void PrintTo(const UdlCase& c, std::ostream* os) { *os << c.what; }
};

class DataLinkFile : public ::testing::TestWithParam<UdlCase> {};

TEST_P(DataLinkFile, NamesTheDatabaseOrIsRefused)
{
    const UdlCase& c = GetParam();
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    writeFile(folder.udlPath(), c.contents);
    if (*c.databaseName != '\0') {
        EXPECT_EQ(folder.databasePath(), QDir(folder.path()).filePath(QString::fromUtf8(c.databaseName)));
        return;
    }
    try {
        folder.databasePath();
        ADD_FAILURE() << "accepted";
    } catch (const CorvelError& e) {
        EXPECT_TRUE(e.text().contains(QLatin1String(c.message))) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QDir::toNativeSeparators(folder.udlPath()))) << e.text().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DataLinkFile,
    ::testing::Values(UdlCase{"the default", "[oledb]\nProvider=SQLite;Data Source=Corvel_Europe.db\n", "Corvel_Europe.db", ""},
                      UdlCase{"Windows line ends and accents", "[oledb]\r\nProvider=SQLite;Data Source=Club \xc3\xa9t\xc3\xa9.db\r\n",
                              "Club \xc3\xa9t\xc3\xa9.db", ""},
                      UdlCase{"bytes that are not UTF-8", "[oledb]\nProvider=SQLite;Data Source=Club \xe9t\xe9.db\n", "", "not a text file in UTF-8"},
                      UdlCase{"a NUL", QByteArray("Data Source=Club\0.db\n", 21), "", "not a text file in UTF-8"},
                      UdlCase{"larger than 1 MB", "Data Source=Corvel_Europe.db\n" + QByteArray(MaxSettingsFileBytes, ';'), "",
                              "is too large"}));

TEST(SettingsFile, AnIniFileLargerThan1MBIsRefusedUnread)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("ZAVR.ini"));
    writeFile(ini, "[Parameter]\nSysID=CLUB\n" + QByteArray(MaxSettingsFileBytes, '#'));
    EXPECT_THROW(readIniFile(ini), CorvelError);
    writeFile(ini, "[Parameter]\nSysID=CLUB,1\n");
    EXPECT_EQ(iniText(*readIniFile(ini), QStringLiteral("Parameter/SysID")), QStringLiteral("CLUB,1"));
}

}  // namespace
