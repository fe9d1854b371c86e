#include "CorvelError.h"
#include "Schema.h"
#include "TestDatabase.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

QStringList storedColumns(TdmZAVR& dm, const QString& table)
{
    QStringList names;
    QSqlQuery q = dm.exec(QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"), {table});
    while (q.next())
        names << q.value(0).toString();
    return names;
}

TEST(Schema, NewDatabaseHoldsTheTwelveTablesWithEveryColumnInOrder)
{
    TestDatabase t;
    const std::map<QString, QStringList> expected = {
        {QStringLiteral("ZAVR_LoftData"),
         QStringList{"AssociationCode", "LoftNo", "LoftName", "Street", "City", "PostCode", "PhoneNo", "EMail",
                     "LoftLon", "LoftLat", "Notes", "UpdateTime"}},
        {QStringLiteral("ZAVR_LoftClocks"), QStringList{"LoftNo", "ClockID", "LastSynchDate", "SynchStat"}},
        {QStringLiteral("ZAVR_RaceData"),
         QStringList{"ClubID", "LiberCode", "LiberSite", "LiberSiteAbbr", "LiberDate", "LiberTime", "LiberLon",
                     "LiberLat", "Updatetime", "SynchFlag", "RaceCode"}},
        {QStringLiteral("ZAVR_PigRaceData"),
         QStringList{"ClubID", "LiberCode", "LiberDate", "PRingNo", "BackTime", "FlyTime", "FlySpeed", "Dist",
                     "RandomCode", "ClockID", "UID_Real", "TimeVari", "MarkedTime", "RealRandom"}},
        {QStringLiteral("ZAVR_PigData"),
         QStringList{"LoftNo", "PRingNo", "RCountry", "RYear", "RRegLetter", "RRegNumber", "Sex", "E_Ring",
                     "ColorType", "Comment", "ActiveStat", "Updatetime", "SynchFlag", "RandomCode", "UID",
                     "CreateDate", "AssignDate"}},
        {QStringLiteral("ZAVR_ClubData"),
         QStringList{"ClubID", "ClubName", "Street", "City", "PostCode", "AssociationCode", "Logo", "Language",
                     "Mode", "DBBackupDays"}},
        {QStringLiteral("ZAVR_SunSet_SunRise"), QStringList{"RaceCode", "RaceDate", "SunSet", "SunRise", "Location"}},
        {QStringLiteral("ZAVR_FeatherColor"), QStringList{"ColorType", "FeathColor"}},
        {QStringLiteral("ZAVR_ClubMap"), QStringList{"ClubID", "ClubName"}},
        {QStringLiteral("ZAVR_LiberateSite"), QStringList{"LiberCode", "LiberSite", "LiberSiteAbbr", "LiberLon", "LiberLat"}},
        {QStringLiteral("ZAVR_LoftLibPointDist"), QStringList{"LiberCode", "LoftNo", "Miles", "Yards", "LoftName"}},
        {QStringLiteral("ZAVR_RaceClockTime"),
         QStringList{"LiberCode", "LiberDate", "LoftNo", "ClockID", "DLMarkedTime", "ULMasterTime", "ULClockTime"}},
    };
    EXPECT_EQ(Schema::tables().size(), expected.size());
    for (const auto& [table, columns] : expected)
        EXPECT_EQ(storedColumns(t.dm(), table), columns) << table.toStdString();
    EXPECT_EQ(t.dm().scalar(QStringLiteral("PRAGMA user_version")).toInt(), Schema::Version);
}

struct RefusedCase {
    const char* what;
    const char* sql;
    QVariantList params;
    const char* messagePart;
    friend void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.what; }
};

class RefusedWrites : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedWrites, AreRefusedWithAReadableMessageAndWriteNothing)
{
    TestDatabase t;
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('A1', 'First')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_PigData (LoftNo, PRingNo) VALUES ('A1', 'BELG-24-1')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_RaceData (ClubID, LiberCode, LiberDate) VALUES ('C', 'A1', '2024-05-03 00:00:00')"));
    const int before = t.dm().scalar(QStringLiteral("SELECT (SELECT count(*) FROM ZAVR_LoftData) + (SELECT count(*) FROM ZAVR_PigData) "
                                                    "+ (SELECT count(*) FROM ZAVR_RaceData) + (SELECT count(*) FROM ZAVR_ClubData)"))
                           .toInt();
    try {
        t.dm().exec(QString::fromUtf8(GetParam().sql), GetParam().params);
        FAIL() << GetParam().what << " was accepted";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.text().contains(QString::fromUtf8(GetParam().messagePart))) << e.text().toStdString();
    }
    const int after = t.dm().scalar(QStringLiteral("SELECT (SELECT count(*) FROM ZAVR_LoftData) + (SELECT count(*) FROM ZAVR_PigData) "
                                                   "+ (SELECT count(*) FROM ZAVR_RaceData) + (SELECT count(*) FROM ZAVR_ClubData)"))
                          .toInt();
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, RefusedWrites,
    ::testing::Values(
        RefusedCase{"a 12-character loft number", "INSERT INTO ZAVR_LoftData (LoftNo) VALUES (?)", {QStringLiteral("123456789012")},
                    "LoftNo is not accepted: at most 10 characters"},
        RefusedCase{"a 31-character name (accented)", "INSERT INTO ZAVR_LoftData (LoftNo, LoftName) VALUES ('B', ?)",
                    {QString(31, QChar(0x00E9))}, "LoftName is not accepted: at most 30 characters"},
        RefusedCase{"a backup age of 65536", "INSERT INTO ZAVR_ClubData (DBBackupDays) VALUES (?)", {65536},
                    "DBBackupDays is not accepted: a whole number from 0 to 65535"},
        RefusedCase{"a negative mode", "INSERT INTO ZAVR_ClubData (Mode) VALUES (?)", {-1}, "Mode is not accepted"},
        RefusedCase{"a text in a number column", "INSERT INTO ZAVR_ClubData (Language) VALUES (?)", {QStringLiteral("x")},
                    "Language is not accepted"},
        RefusedCase{"a duplicate loft number", "INSERT INTO ZAVR_LoftData (LoftNo) VALUES (?)", {QStringLiteral("A1")},
                    "same LoftNo already exists"},
        RefusedCase{"a duplicate ring number", "INSERT INTO ZAVR_PigData (LoftNo, PRingNo) VALUES ('A1', ?)",
                    {QStringLiteral("BELG-24-1")}, "same PRingNo already exists"},
        RefusedCase{"the same race on the same day at another time",
                    "INSERT INTO ZAVR_RaceData (ClubID, LiberCode, LiberDate) VALUES ('C', 'A1', ?)",
                    {QStringLiteral("2024-05-03 10:00:00")}, "same ClubID, LiberCode, LiberDate already exists in ZAVR_RaceData"},
        RefusedCase{"a missing ring number", "INSERT INTO ZAVR_PigData (LoftNo) VALUES ('A1')", {}, "PRingNo must be given"}));

TEST(Schema, TextsAreStoredExactly)
{
    TestDatabase t;
    const QString name = QStringLiteral("O'Brien \"Zé\"\nsecond line");
    const QString notes = QStringLiteral("'; DROP TABLE ZAVR_LoftData; --");
    t.dm().append(QStringLiteral("ZAVR_LoftData"), {{QStringLiteral("LoftNo"), QStringLiteral("L'1")},
                                                    {QStringLiteral("LoftName"), name},
                                                    {QStringLiteral("Notes"), notes}});
    const auto row = t.dm().locate(QStringLiteral("ZAVR_LoftData"), {QStringLiteral("LoftNo")}, {QStringLiteral("L'1")});
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->value(QStringLiteral("LoftName")).toString(), name);
    EXPECT_EQ(row->value(QStringLiteral("Notes")).toString(), notes);
}

TEST(Schema, FlagsAndStatesDefaultToZero)
{
    TestDatabase t;
    t.run(QStringLiteral("INSERT INTO ZAVR_LoftClocks (LoftNo, ClockID) VALUES ('A1', 'C1')"));
    t.run(QStringLiteral("INSERT INTO ZAVR_PigData (LoftNo, PRingNo) VALUES ('A1', 'R1')"));
    EXPECT_EQ(t.dm().scalar(QStringLiteral("SELECT SynchStat FROM ZAVR_LoftClocks")).toInt(), 0);
    EXPECT_EQ(t.dm().scalar(QStringLiteral("SELECT ActiveStat + SynchFlag FROM ZAVR_PigData")).toInt(), 0);
}

}  // namespace
