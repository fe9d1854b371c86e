#include "CorvelError.h"
#include "DisplayRules.h"
#include "RingLogic.h"
#include "TestDatabase.h"

#include <QFile>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

struct RingNumberCase {
    const char* country;
    const char* year;
    const char* letters;
    const char* number;
    const char* expected;
};

TEST(RingNumber, ComposesFromCountryYearLettersAndNumber)
{
    const RingNumberCase cases[] = {
        {"AU", "24", "ABC", "12", "AU24-ABC-0012"},
        {"MX", "25", "B", "12345", "MX25-B-12345"},
        {"NL", "25", "", "1234567", "NL251234567"},
        {"GB", "23", "A", "12345", "GB23A12345"},
        {"AU", "24", "ABC", "5", "AU24-ABC-0005"},
        {"AU", "24", "ABC", "12345", "AU24-ABC-12345"},
        {"BELG", "24", "", "1234567", "BELG241234567"},
        {"IF", "24", "X", "1234", "IF24-X-1234"},       // four digits: as they stand
        {"CU", "24", "", "", "CU24--0000"},             // an empty number still gets its zeros
        {"MX", "24", "", "0", "MX24--0000"},
        {"IF", "24", "N", "-1", "IF24-N-00-1"},         // the number field also takes "-"
        {"NL", "25", "", "", "NL25"},                   // others: no zeros added
        {"NL", "25", "-", "0012", "NL25-0012"},
        {"au", "24", "ABC", "12", "au24ABC12"},         // exact, case-sensitive
        {"AUS", "24", "ABC", "12", "AUS24ABC12"},
        {"", "", "", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(composeRingNumber(QString::fromUtf8(c.country), QString::fromUtf8(c.year), QString::fromUtf8(c.letters),
                                    QString::fromUtf8(c.number)),
                  QString::fromUtf8(c.expected))
            << c.country << "/" << c.year << "/" << c.letters << "/" << c.number;
}

TEST(RingRange, NumberTextsKeepTheWidthOfTheLowerNumber)
{
    struct Case {
        const char* lower;
        const char* upper;
        QStringList expected;
    };
    const Case cases[] = {
        {"0098", "0102", {"0098", "0099", "0100", "0101", "0102"}},
        {"98", "102", {"98", "99", "100", "101", "102"}},
        {"0098", "102", {"0098", "0099", "0100", "0101", "0102"}},
        {"7", "7", {"7"}},
        {"9999", "10001", {"9999", "10000", "10001"}},
        {"0000000", "0000001", {"0000000", "0000001"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rangeNumberTexts(QString::fromUtf8(c.lower), QString::fromUtf8(c.upper)), c.expected)
            << c.lower << ".." << c.upper;
    const QStringList longest = rangeNumberTexts(QStringLiteral("0001"), QStringLiteral("0256"));
    ASSERT_EQ(longest.size(), 256);
    EXPECT_EQ(longest.last(), QStringLiteral("0256"));
}

TEST(RingRange, RefusesNumbersThatAreNotWholeAndRangesOutOfBounds)
{
    struct Case {
        const char* lower;
        const char* upper;
        const char* messagePart;
    };
    const Case cases[] = {
        {"", "10", "whole numbers"},
        {"1", "", "whole numbers"},
        {"-5", "10", "whole numbers"},
        {"1-2", "10", "whole numbers"},
        {"1", "1 ", "whole numbers"},
        {"12345678", "12345679", "whole numbers"},
        {"10", "9", "must not be below"},
        {"0001", "0257", "at most 256"},
        {"0", "9999999", "at most 256"},
    };
    for (const auto& c : cases) {
        try {
            rangeNumberTexts(QString::fromUtf8(c.lower), QString::fromUtf8(c.upper));
            ADD_FAILURE() << "accepted " << c.lower << ".." << c.upper;
        } catch (const CorvelError& e) {
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(c.messagePart))) << e.text().toStdString();
        }
    }
}

// --- saving rings -------------------------------------------------------------------------------

const QDateTime Now(QDate(2025, 4, 3), QTime(14, 5, 6));

RingInput ring(const char* loft, const char* country, const char* year, const char* letters, const char* number,
               const char* upper = "")
{
    RingInput in;
    in.loftNo = QString::fromUtf8(loft);
    in.country = QString::fromUtf8(country);
    in.year = QString::fromUtf8(year);
    in.letters = QString::fromUtf8(letters);
    in.number = QString::fromUtf8(number);
    in.upperNumber = QString::fromUtf8(upper);
    in.sex = QStringLiteral("H");
    in.colourCode = QStringLiteral("BLU");
    in.comment = QStringLiteral("note");
    return in;
}

QStringList column(TdmZAVR& dm, const QString& sql, const QVariantList& params = {})
{
    QStringList out;
    QSqlQuery q = dm.exec(sql, params);
    while (q.next())
        out << q.value(0).toString();
    return out;
}

int pigeonCount(TdmZAVR& dm)
{
    return dm.scalar(QStringLiteral("select count(*) from ZAVR_PigData")).toInt();
}

TEST(SaveRing, InsertsOnePigeonWithEveryFieldOfTheForm)
{
    TestDatabase t;
    RingInput in = ring("L1", "AU", "24", "ABC", "5");
    in.comment = QStringLiteral("D'Hondt's \"blue\" é\nsecond line");
    const RingSaveResult r = saveRing(t.dm(), in, Now);
    EXPECT_FALSE(r.updated);
    EXPECT_EQ(r.written, QStringList{QStringLiteral("AU24-ABC-0005")});
    const auto row = t.dm().locate(QStringLiteral("ZAVR_PigData"), {QStringLiteral("PRingNo")}, {QStringLiteral("AU24-ABC-0005")});
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->value("LoftNo").toString(), QStringLiteral("L1"));
    EXPECT_EQ(row->value("RCountry").toString(), QStringLiteral("AU"));
    EXPECT_EQ(row->value("RYear").toString(), QStringLiteral("24"));
    EXPECT_EQ(row->value("RRegLetter").toString(), QStringLiteral("ABC"));
    EXPECT_EQ(row->value("RRegNumber").toString(), QStringLiteral("5"));  // as typed, not padded
    EXPECT_EQ(row->value("Sex").toString(), QStringLiteral("H"));
    EXPECT_EQ(row->value("ColorType").toString(), QStringLiteral("BLU"));
    EXPECT_EQ(row->value("Comment").toString(), in.comment);
    EXPECT_EQ(row->value("SynchFlag").toInt(), 1);
    EXPECT_EQ(row->value("CreateDate").toString(), QStringLiteral("2025-04-03 00:00:00"));
    EXPECT_EQ(row->value("Updatetime").toString(), QStringLiteral("2025-04-03 14:05:06"));
    EXPECT_TRUE(row->value("E_Ring").isNull());
    EXPECT_EQ(row->value("ActiveStat").toInt(), 0);
}

TEST(SaveRing, InsertsARangeWithItsNumberTextsAndRingNumbers)
{
    struct Case {
        RingInput input;
        QStringList ringNumbers;
        QStringList numberTexts;
    };
    const Case cases[] = {
        {ring("L1", "NL", "25", "", "0001", "0010"),
         {"NL250001", "NL250002", "NL250003", "NL250004", "NL250005", "NL250006", "NL250007", "NL250008", "NL250009",
          "NL250010"},
         {"0001", "0002", "0003", "0004", "0005", "0006", "0007", "0008", "0009", "0010"}},
        {ring("L1", "NL", "25", "", "0098", "0102"),
         {"NL250098", "NL250099", "NL250100", "NL250101", "NL250102"},
         {"0098", "0099", "0100", "0101", "0102"}},
        {ring("L1", "GB", "25", "A", "98", "102"),
         {"GB25A98", "GB25A99", "GB25A100", "GB25A101", "GB25A102"},
         {"98", "99", "100", "101", "102"}},
        {ring("L1", "AU", "24", "X", "98", "102"),
         {"AU24-X-0098", "AU24-X-0099", "AU24-X-0100", "AU24-X-0101", "AU24-X-0102"},
         {"98", "99", "100", "101", "102"}},
        {ring("L1", "NL", "25", "", "0042", "0042"), {"NL250042"}, {"0042"}},  // upper equal to lower: one
    };
    for (const auto& c : cases) {
        TestDatabase t;
        const RingSaveResult r = saveRing(t.dm(), c.input, Now);
        EXPECT_EQ(r.written, c.ringNumbers);
        EXPECT_EQ(r.lastRingNo(), c.ringNumbers.last());
        EXPECT_EQ(column(t.dm(), QStringLiteral("select PRingNo from ZAVR_PigData order by rowid")), c.ringNumbers);
        EXPECT_EQ(column(t.dm(), QStringLiteral("select RRegNumber from ZAVR_PigData order by rowid")), c.numberTexts);
        EXPECT_EQ(column(t.dm(), QStringLiteral("select distinct LoftNo||'/'||Sex||'/'||ColorType||'/'||SynchFlag "
                                                "from ZAVR_PigData")),
                  QStringList{QStringLiteral("L1/H/BLU/1")});
    }
}

TEST(SaveRing, TheMembersOwnRingNumberIsUpdatedOnlyInSexColourCommentAndTime)
{
    TestDatabase t;
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,RCountry,RYear,RRegLetter,RRegNumber,Sex,ColorType,"
                         "Comment,E_Ring,UID,CreateDate,Updatetime) values ('L1','NL251234567','NL','25','',"
                         "'1234567','C','RED','old','0000ABCD','11223344','2024-01-01 00:00:00','2024-01-01 10:00:00')"));
    RingInput in = ring("L1", "NL", "25", "", "1234567", "1234599");  // the upper number is ignored
    in.comment = QStringLiteral("new");
    const RingSaveResult r = saveRing(t.dm(), in, Now);
    EXPECT_TRUE(r.updated);
    EXPECT_EQ(r.written, QStringList{QStringLiteral("NL251234567")});
    EXPECT_EQ(pigeonCount(t.dm()), 1);
    EXPECT_EQ(column(t.dm(), QStringLiteral("select LoftNo||'|'||Sex||'|'||ColorType||'|'||Comment||'|'||E_Ring||'|'||"
                                            "UID||'|'||CreateDate||'|'||Updatetime from ZAVR_PigData")),
              QStringList{QStringLiteral("L1|H|BLU|new|0000ABCD|11223344|2024-01-01 00:00:00|2025-04-03 14:05:06")});
}

TEST(SaveRing, AnotherMembersRingNumberIsRefusedNamingItsOwnerAndNothingIsWritten)
{
    struct Case {
        const char* owner;  // LoftNo of the stored pigeon as SQL, and as the check below reads it
        const char* ownerRead;
        const char* messagePart;
    };
    const Case cases[] = {
        {"'A1'", "A1", "belongs to Alice Smith (loft A1)"},
        {"'A9'", "A9", "belongs to loft A9"},  // a loft that is no longer a member
        {"NULL", "-", "already stored without a member"},
    };
    for (const auto& c : cases) {
        TestDatabase t;
        t.run(QStringLiteral("insert into ZAVR_LoftData (LoftNo,LoftName) values ('A1','Alice Smith'),('B1','Bob')"));
        t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,Sex,ColorType,Comment,Updatetime) values "
                             "(%1,'GB25A12345','C','RED','old','2024-01-01 10:00:00')")
                  .arg(QString::fromUtf8(c.owner)));
        RingInput in = ring("B1", "GB", "25", "A", "12345");
        try {
            saveRing(t.dm(), in, Now);
            ADD_FAILURE() << "saved over " << c.owner;
        } catch (const CorvelError& e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("GB25A12345"))) << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(c.messagePart))) << e.text().toStdString();
        }
        EXPECT_EQ(column(t.dm(), QStringLiteral("select ifnull(LoftNo,'-')||'|'||Sex||'|'||ColorType||'|'||Comment||'|'||"
                                                "Updatetime from ZAVR_PigData")),
                  QStringList{QStringLiteral("%1|C|RED|old|2024-01-01 10:00:00").arg(QString::fromUtf8(c.ownerRead))})
            << c.owner;
    }
}

TEST(SaveRing, EmptyTextsAreStoredAsEmptyTextsNotNull)
{
    TestDatabase t;
    RingInput in = ring("L1", "GB", "25", "A", "12345");
    in.colourCode = colourCode(t.dm(), QStringLiteral("Other"));  // no such colour: the code is empty text
    in.comment = QString();
    saveRing(t.dm(), in, Now);
    EXPECT_EQ(column(t.dm(), QStringLiteral("select typeof(ColorType)||'|'||typeof(Comment) from ZAVR_PigData")),
              QStringList{QStringLiteral("text|text")});
    in.colourCode = QString();  // an update too
    saveRing(t.dm(), in, Now);
    EXPECT_EQ(column(t.dm(), QStringLiteral("select typeof(ColorType)||'|'||ColorType||'|' from ZAVR_PigData")),
              QStringList{QStringLiteral("text||")});
}

TEST(SaveRing, DuplicateInTheMiddleOfARangeIsNamedAndNothingOfTheRangeIsWritten)
{
    TestDatabase t;
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo) values ('OTHER','NL250005')"));
    try {
        saveRing(t.dm(), ring("L1", "NL", "25", "", "0001", "0010"), Now);
        ADD_FAILURE() << "the range was accepted";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("PRingNo"))) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QStringLiteral("NL250005"))) << e.text().toStdString();
    }
    EXPECT_EQ(column(t.dm(), QStringLiteral("select PRingNo from ZAVR_PigData")), QStringList{QStringLiteral("NL250005")});
}

TEST(SaveRing, BadInputIsRefusedWithoutWritingAnything)
{
    struct Case {
        RingInput input;
        const char* messagePart;
    };
    const Case cases[] = {
        {ring("L1", "NL", "25", "", "0010", "0009"), "must not be below"},
        {ring("L1", "NL", "25", "", "0001", "0300"), "at most 256"},
        {ring("L1", "NL", "25", "", "", "0010"), "Registration Number is empty"},
        {ring("L1", "GB", "25", "", ""), "Registration Number is empty"},  // "Cancel" after loading a pigeon
        {ring("L1", "AU", "24", "ABC", ""), "Registration Number is empty"},  // would compose AU24-ABC-0000
        {ring("L1", "GB", "25", "", "12345"), "Registration Letter is empty: a GB ring"},
        {ring("L1", "IHU", "25", " ", "123456"), "Registration Letter is empty"},
        {ring("L1", "NEHU", "25", "", "12345"), "Registration Letter is empty"},
        {ring("L1", "NL", "25", "", "1-2", "0010"), "whole numbers"},
        {ring("L1", "NL", "25", "ABCDE", "1"), "RRegLetter"},
        {ring("L1", "NL", "25", "", "12345678"), "RRegNumber"},
        {ring("L1", "NEHUX", "25", "SHOT", "1234567"), "RCountry"},
        {ring("L1", "BELG", "2024", "DDDD", "1234567"), "RYear"},
        {ring("L1", "NL", "25", "ABCDE", "1", "5"), "RRegLetter"},  // the first ring of a range fails
        {ring("12345678901", "NL", "25", "", "1", "5"), "LoftNo"},
    };
    for (const auto& c : cases) {
        TestDatabase t;
        try {
            saveRing(t.dm(), c.input, Now);
            ADD_FAILURE() << "accepted " << c.messagePart;
        } catch (const CorvelError& e) {
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(c.messagePart))) << e.text().toStdString();
        }
        EXPECT_EQ(pigeonCount(t.dm()), 0) << c.messagePart;
    }
}

TEST(SaveRing, LettersMayBeEmptyWhereTheCountryPresetsOrLeavesThemFree)
{
    TestDatabase t;
    for (const char* country : {"NL", "BELG", "FR", "DV", "XX", ""})
        EXPECT_NO_THROW(saveRing(t.dm(), ring("L1", country, "25", "", "123"), Now)) << country;
    EXPECT_EQ(pigeonCount(t.dm()), 6);
}

TEST(DeleteRing, DeletesOnlyThatLoftsPigeonAndKeepsRaceEntries)
{
    TestDatabase t;
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo) values ('L1','R1'),('L1','R2'),('L2','R3')"));
    t.run(QStringLiteral("insert into ZAVR_PigRaceData (LiberCode,LiberDate,PRingNo) values ('A1','2025-05-01 00:00:00','R1')"));
    EXPECT_EQ(deleteRing(t.dm(), QStringLiteral("L2"), QStringLiteral("R1")), 0);  // not this loft's ring
    EXPECT_EQ(deleteRing(t.dm(), QStringLiteral("L1"), QStringLiteral("R1")), 1);
    EXPECT_EQ(column(t.dm(), QStringLiteral("select PRingNo from ZAVR_PigData order by rowid")),
              (QStringList{"R2", "R3"}));
    EXPECT_EQ(column(t.dm(), QStringLiteral("select PRingNo from ZAVR_PigRaceData")), QStringList{QStringLiteral("R1")});
}

// --- lists and display rules -------------------------------------------------------------------

TEST(RingDisplay, SexAndUpdateTime)
{
    EXPECT_EQ(DisplayRules::sexText(QStringLiteral("H")), QStringLiteral("Hen"));
    EXPECT_EQ(DisplayRules::sexText(QStringLiteral("C")), QStringLiteral("Cock"));
    for (const QVariant& other : {QVariant(QStringLiteral("h")), QVariant(QStringLiteral("X")), QVariant(), QVariant(QString())})
        EXPECT_EQ(DisplayRules::sexText(other), QString());
    const struct {
        const char* typed;
        const char* code;
    } sexes[] = {{"Hen", "H"}, {"Cock", "C"}, {"COCK", "C"}, {"", "C"}, {"HEN", "C"}, {"hen", "C"}};
    for (const auto& s : sexes)
        EXPECT_EQ(sexCode(QString::fromUtf8(s.typed)), QString::fromUtf8(s.code)) << s.typed;
    EXPECT_EQ(DisplayRules::ringUpdateTimeText(QStringLiteral("2025-04-03 14:05:06")), QStringLiteral("04/03 14:05:06"));
    EXPECT_EQ(DisplayRules::ringUpdateTimeText(QVariant()), QString());
}

TEST(RingDisplay, ColourNamesAndCodes)
{
    TestDatabase t;
    t.run(QStringLiteral("insert into ZAVR_FeatherColor (ColorType,FeathColor) values ('RED','Red'),('BLU','Blue Bar'),"
                         "('BL2','Blue Bar')"));
    EXPECT_EQ(colourNames(t.dm()), (QStringList{"Red", "Blue Bar", "Blue Bar"}));
    EXPECT_EQ(colourCode(t.dm(), QStringLiteral("Blue Bar")), QStringLiteral("BLU"));
    EXPECT_EQ(colourCode(t.dm(), QStringLiteral("Other")), QString());
    EXPECT_EQ(colourCode(t.dm(), QStringLiteral("red")), QString());  // exact match only
    const ColourNameLookup names(t.dm());
    EXPECT_EQ(names.name(QStringLiteral("RED")), QStringLiteral("Red"));
    EXPECT_EQ(names.name(QString()), QStringLiteral("Other"));
    EXPECT_EQ(names.name(QStringLiteral("GONE")), QStringLiteral("Other"));
    EXPECT_EQ(names.name(QVariant()), QStringLiteral("Other"));
}

TEST(CountryRingCodes, ParsesTheCommaSeparatedList)
{
    const struct {
        const char* text;
        QStringList expected;
    } cases[] = {
        {"BELG,NL,GB", {"BELG", "NL", "GB"}},
        {" BELG , NL,GB ", {"BELG", "NL", "GB"}},
        {"BELG,,GB", {"BELG", "", "GB"}},
        {"BELG,NL,", {"BELG", "NL"}},
        {"BELG,NL, ", {"BELG", "NL"}},
        {",NL", {"", "NL"}},
        {",", {""}},
        {"", {}},
        {"  ", {}},
        {"AU", {"AU"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseCountryRingCodes(QString::fromUtf8(c.text)), c.expected) << '"' << c.text << '"';
}

TEST(CountryRingCodes, ReadsZavrIni)
{
    const struct {
        const char* fileText;
        QStringList expected;
    } cases[] = {
        {"[Parameter]\nSysID=0102030405060708\nCountryRingCode=BELG,NL,GB\n", {"BELG", "NL", "GB"}},
        {"[Parameter]\nCountryRingCode=BELG, NL,,GB,\n", {"BELG", "NL", "", "GB"}},
        {"[Parameter]\nCountryRingCode=AU\n", {"AU"}},
        {"[Parameter]\nCountryRingCode=\n", {}},
        {"[Parameter]\nSysID=0102030405060708\n", {}},
        {"[Devices]\nCountryRingCode=AU,MX\n", {}},  // another section
    };
    for (const auto& c : cases) {
        TestDatabase t;
        QFile ini(t.folder().iniPath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(c.fileText);
        ini.close();
        EXPECT_EQ(readCountryRingCodes(t.folder().iniPath()), c.expected) << c.fileText;
    }
    EXPECT_EQ(readCountryRingCodes(QStringLiteral("/nonexistent/ZAVR.ini")), QStringList());
}

TEST(BirthYears, ElevenTwoDigitYearsAroundThisYear)
{
    EXPECT_EQ(birthYears(QDate(2026, 6, 1)),
              (QStringList{"17", "18", "19", "20", "21", "22", "23", "24", "25", "26", "27"}));
    EXPECT_EQ(birthYears(QDate(2000, 1, 1)),
              (QStringList{"91", "92", "93", "94", "95", "96", "97", "98", "99", "00", "01"}));
    EXPECT_EQ(twoDigitYear(QDate(2009, 12, 31)), QStringLiteral("09"));
}

}  // namespace
