#include "SmsFiles.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace SmsFiles;

namespace {

QString blanks(int n) { return QString(n, QLatin1Char(' ')); }

TEST(SmsLines, CompactCoordinateDropsApostropheAndColon)
{
    const std::pair<const char*, const char*> cases[] = {
        {"E121'23:24.33", "E1212324.33"},
        {"N024'22:30.44", "N0242230.44"},
        {"E121'23:24", "E1212324"},
        {"W001'02:03.4", "W0010203.4"},
        {"", ""},
    };
    for (const auto& [text, compact] : cases)
        EXPECT_EQ(compactCoordinate(QString::fromUtf8(text)), QString::fromUtf8(compact)) << text;
}

TEST(SmsLines, KeyLineOfTheWorkedExample)
{
    const RaceFields race{"1A2F0819", "Alpha", QDate(2014, 8, 19), QTime(7, 30), "E121'23:24", "N024'22:30"};
    EXPECT_EQ(keyLine(race), QStringLiteral("1A2F0819") + QStringLiteral("Alpha") + blanks(15) + blanks(16)
                                 + QStringLiteral("2014/08/1907:30:00") + QStringLiteral("2014/08/2118:00:00")
                                 + QStringLiteral("E1212324") + QStringLiteral("N0242230"));
}

TEST(SmsLines, KeyLineWithoutCoordinatesEndsWith26Blanks)
{
    // Never entered: empty, or only the input mask's literals.
    for (const char* missing : {"", "    '  :  "}) {
        const RaceFields race{"B1230", "Arras", QDate(2024, 12, 30), QTime(), QString::fromUtf8(missing), QString()};
        const QString line = keyLine(race);
        EXPECT_EQ(line, QStringLiteral("B1230   Arras") + blanks(15) + blanks(16) + QStringLiteral("2024/12/3000:00:00")
                            + QStringLiteral("2025/01/0118:00:00") + blanks(26))
            << missing;
    }
}

TEST(SmsLines, LoftLineFields)
{
    const LoftFields full{"001", "Dupont", "+32 4 123", "E121'23:24.33", "N024'22:30.44"};
    EXPECT_EQ(loftLine(full), QStringLiteral("001") + blanks(7) + QStringLiteral("Dupont") + blanks(24)
                                  + QStringLiteral("+32 4 123") + blanks(6) + QStringLiteral("E1212324.33N0242230.44"));

    // Member number of 12 characters cut to 10; a long name cut to 30; no coordinates: the line ends
    // after the telephone field.
    const LoftFields cut{"ABCDEFGHIJKL", "A name that is much longer than thirty", "", "", "    '  :  .  "};
    const QString line = loftLine(cut);
    EXPECT_EQ(line, QStringLiteral("ABCDEFGHIJ") + QStringLiteral("A name that is much longer tha") + blanks(15));
}

TEST(SmsLines, RingLineFields)
{
    const RingFields ring{"001", "Dupont", "BELG241234567", "1A2B3C4D", "AABBCCDD", "  late hatch  "};
    const QString line = ringLine(ring);
    EXPECT_EQ(line, QStringLiteral("001") + blanks(7) + QStringLiteral("Dupont") + blanks(24) + QStringLiteral("BELG241234567")
                        + blanks(7) + QStringLiteral("1A2B3C4DAABBCCDD") + blanks(6) + QStringLiteral("late hatch") + blanks(20));
    EXPECT_EQ(line.size(), 112);

    struct Case {
        RingFields ring;
        int from;  // 1-based character position
        QString expected;
    };
    const Case cases[] = {
        {{"ABCDEFGHIJKL", "N", "R", "", "", ""}, 1,  // cut to 10
         QStringLiteral("ABCDEFGHIJN") + blanks(29) + QStringLiteral("R") + blanks(19 + 6 + 30)},
        {{"001", "N", "R", "", "", "c"}, 41,  // no eRing, no UID: nothing in their place
         QStringLiteral("R") + blanks(19 + 6) + QStringLiteral("c") + blanks(29)},
        {{"001", "N", "R", "1A2B3C4D99", "AABBCCDDEE", ""}, 61, QStringLiteral("1A2B3C4DAABBCCDD") + blanks(6 + 30)},
        {{"001", "N", "R", "EEEEEEEE", "UUUUUUUU", QStringLiteral(" %1").arg(QStringLiteral("x").repeated(31))}, 77,
         blanks(6) + QStringLiteral(" ") + QStringLiteral("x").repeated(29)},  // longer than 30: cut, not trimmed
        {{"001", "N", "R", "EEEEEEEE", "UUUUUUUU", "first\r\nsecond"}, 83,
         QStringLiteral("first  second") + blanks(17)},  // a comment stays on its line
    };
    for (const Case& c : cases)
        EXPECT_EQ(ringLine(c.ring).mid(c.from - 1), c.expected) << c.ring.comment.toStdString();
}

TEST(SmsLines, LinesAreLatin1WithCrLfAndOtherCharactersBecomeQuestionMarks)
{
    const EncodedText text = encodeLines({QStringLiteral("Liège"), QStringLiteral("Łódź"), QString()});
    EXPECT_EQ(text.bytes, QByteArray("Li\xe8ge\r\n?\xf3" "d?\r\n\r\n"));
    EXPECT_EQ(text.replaced, 2);
}

class SmsRace : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.run(QStringLiteral("insert into ZAVR_LoftData (LoftNo,LoftName,PhoneNo,LoftLon,LoftLat) values "
                             "('002','Zed','555','E121''23:24.33','N024''22:30.44'),('001','Ann','',NULL,NULL)"));
        t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,RRegNumber,E_Ring,UID,Comment) values "
                             "('002','NL250002','0002','00000002','AAAAAAA2',NULL),"
                             "('002','NL250001','0001','00000001','AAAAAAA1','calm'),"
                             "('001','NL250009','0009','00000009','AAAAAAA9',NULL)"));
        t.run(QStringLiteral("insert into ZAVR_RaceData (ClubID,LiberCode,LiberSite,LiberDate,LiberTime,LiberLon,LiberLat,RaceCode) values "
                             "('C','1A2F','Alpha','2014-08-19 00:00:00','07:30:00','E121''23:24','N024''22:30','1A2F0819'),"
                             "('C','1A2F','Alpha','2014-08-26 00:00:00','08:00:00',NULL,NULL,'1A2F0826')"));
        t.run(QStringLiteral("insert into ZAVR_PigRaceData (LiberCode,LiberDate,PRingNo) values "
                             "('1A2F','2014-08-19 00:00:00','NL250002'),('1A2F','2014-08-19 00:00:00','NL250009'),"
                             "('1A2F','2014-08-19 00:00:00','NL250001'),('1A2F','2014-08-26 00:00:00','NL250001')"));
    }
    QString file(const char* name) const { return QDir(t.path()).filePath(QString::fromUtf8(name)); }
    TestDatabase t;
};

TEST_F(SmsRace, FilesHoldTheRacesLoftsEntriesAndKey)
{
    const QStringList lofts = fileLines(t.dm(), File::Loft, QStringLiteral("1A2F0819"));
    ASSERT_EQ(lofts.size(), 2);
    EXPECT_EQ(lofts.at(0), QStringLiteral("001       Ann") + blanks(27) + blanks(15));
    EXPECT_TRUE(lofts.at(1).startsWith(QStringLiteral("002       Zed")));
    EXPECT_TRUE(lofts.at(1).endsWith(QStringLiteral("555") + blanks(12) + QStringLiteral("E1212324.33N0242230.44")));

    const QStringList rings = fileLines(t.dm(), File::Ring, QStringLiteral("1A2F0819"));
    QStringList ringNos;
    for (const QString& line : rings)
        ringNos << line.mid(40, 20).trimmed();
    EXPECT_EQ(ringNos, (QStringList{"NL250009", "NL250001", "NL250002"}));  // by member, then registration number
    EXPECT_EQ(rings.at(1).mid(60), QStringLiteral("00000001AAAAAAA1") + blanks(6) + QStringLiteral("calm") + blanks(26));

    EXPECT_EQ(fileLines(t.dm(), File::Key, QStringLiteral("1A2F0819")),
              QStringList{keyLine({"1A2F0819", "Alpha", QDate(2014, 8, 19), QTime(7, 30), "E121'23:24", "N024'22:30"})});

    QSqlQuery grid = entryQuery(t.dm(), QStringLiteral("1A2F0819"));
    QStringList gridRows;
    while (grid.next())
        gridRows << grid.value(0).toString() + QLatin1Char('|') + grid.value(3).toString() + QLatin1Char('|')
                        + grid.value(4).toString();
    EXPECT_EQ(gridRows, (QStringList{"0009|001|Ann", "0001|002|Zed", "0002|002|Zed"}));
}

TEST_F(SmsRace, SecondRaceHoldsOnlyItsOwnEntries)
{
    EXPECT_EQ(fileLines(t.dm(), File::Loft, QStringLiteral("1A2F0826")).size(), 1);
    const QStringList rings = fileLines(t.dm(), File::Ring, QStringLiteral("1A2F0826"));
    ASSERT_EQ(rings.size(), 1);
    EXPECT_EQ(rings.first().mid(40, 20).trimmed(), QStringLiteral("NL250001"));
    EXPECT_TRUE(fileLines(t.dm(), File::Key, QStringLiteral("1A2F0826")).first().endsWith(blanks(26)));
}

TEST_F(SmsRace, NoRaceOrAnUnknownRaceIsRefused)
{
    for (const File f : AllFiles)
        EXPECT_EQ(thrownText([&] { fileLines(t.dm(), f, QString()); }), QString::fromLatin1(NoRaceMessage));
    EXPECT_EQ(thrownText([&] { fileLines(t.dm(), File::Key, QStringLiteral("FFFF0101")); }),
              QStringLiteral("The race FFFF0101 is not in the race list."));
    EXPECT_TRUE(fileLines(t.dm(), File::Ring, QStringLiteral("FFFF0101")).isEmpty());
}

TEST_F(SmsRace, FileIsWrittenWholeAndReplacesAnOldOne)
{
    t.run(QStringLiteral("update ZAVR_LoftData set LoftName='Łukasz' where LoftNo='001'"));
    const QString path = file("COTE.txt");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(1000, 'x'));
    old.close();
    EXPECT_EQ(writeFile(t.dm(), File::Loft, QStringLiteral("1A2F0819"), path), 1);
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_EQ(bytes, encodeLines(fileLines(t.dm(), File::Loft, QStringLiteral("1A2F0819"))).bytes);
    EXPECT_TRUE(bytes.startsWith("001       ?ukasz"));
    EXPECT_EQ(bytes.count("\r\n"), 2);
}

TEST_F(SmsRace, FailedWriteLeavesNothingBehind)
{
    const QString folderTarget = file("RING.txt");
    ASSERT_TRUE(QDir().mkpath(folderTarget));
    for (const QString& path : {file("missing/RING.txt"), folderTarget})
        EXPECT_TRUE(thrownText([&] { writeFile(t.dm(), File::Ring, QStringLiteral("1A2F0819"), path); })
                        .startsWith(QStringLiteral("Cannot write ")))
            << path.toStdString();
    EXPECT_TRUE(QFileInfo(folderTarget).isDir());
    EXPECT_FALSE(QFileInfo::exists(file("missing")));
    EXPECT_EQ(QDir(t.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("RING")), QStringList{});
}

TEST(SmsFileNames, NamesAndFilters)
{
    EXPECT_EQ(fileName(File::Loft), QStringLiteral("COTE.txt"));
    EXPECT_EQ(fileName(File::Ring), QStringLiteral("RING.txt"));
    EXPECT_EQ(fileName(File::Key), QStringLiteral("CRVLKEY.txt"));
    EXPECT_EQ(dialogFilter(File::Key), QStringLiteral("Texe file | CRVLKEY.txt"));
}

}  // namespace
