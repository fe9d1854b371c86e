#include "PigeonSpreadsheet.h"
#include "RowSetModel.h"
#include "SpreadsheetReader.h"
#include "SpreadsheetWriter.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QDateTime Now(QDate(2025, 4, 3), QTime(14, 5, 6));

const QStringList ShortHeader{"LoftNo", "RCountry", "RYear", "RRegLetter", "RRegNumber", "Sex", "ColorType"};
const QStringList FullHeader = ShortHeader + QStringList{"PRingNo", "E_Ring"};

QVariantList texts(std::initializer_list<const char*> cells)
{
    QVariantList out;
    for (const char* c : cells)
        out << (c ? QVariant(QString::fromUtf8(c)) : QVariant());
    return out;
}

QVariantList headerRow(const QStringList& header)
{
    QVariantList out;
    for (const QString& h : header)
        out << h;
    return out;
}

// A sheet as readFirstSheet gives it: the header, then the rows, all as wide as the header.
QList<QVariantList> sheet(const QStringList& header, const QList<QVariantList>& body)
{
    QList<QVariantList> out{headerRow(header)};
    for (QVariantList row : body) {
        while (row.size() < header.size())
            row << QVariant();
        out << row;
    }
    return out;
}

// The pigeons as the import writes them; a null value shows as "<null>".
QStringList pigeons(TdmZAVR& dm)
{
    QStringList columns;
    for (const char* c : {"LoftNo", "PRingNo", "RCountry", "RYear", "RRegLetter", "RRegNumber", "Sex", "ColorType", "E_Ring",
                          "UID", "Comment"})
        columns << QStringLiteral("ifnull(%1,'<null>')").arg(QString::fromLatin1(c));
    return rows(dm, QStringLiteral("select %1 from ZAVR_PigData order by rowid").arg(columns.join(QLatin1Char(','))));
}

int pigeonCount(TdmZAVR& dm) { return dm.scalar(QStringLiteral("select count(*) from ZAVR_PigData")).toInt(); }

TEST(PigeonImport, ShortRowCreatesThePigeonUnderTheComposedRingNumber)
{
    TestDatabase t;  // no member 001: the row is imported all the same
    const PigeonImportResult result = importPigeonSheet(
        t.dm(), sheet(ShortHeader, {texts({"001", "BELG", "24", "A", "0012", "Hen", "BLU"})}), Now);
    EXPECT_EQ(result.inserted, 1);
    EXPECT_EQ(result.updated, 0);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(pigeons(t.dm()), QStringList{"001|BELG24A0012|BELG|24|A|0012|H|BLU|<null>|<null>|<null>"});
    EXPECT_EQ(rows(t.dm(), QStringLiteral("select SynchFlag,CreateDate,Updatetime from ZAVR_PigData")),
              QStringList{"1|2025-04-03 00:00:00|2025-04-03 14:05:06"});
}

TEST(PigeonImport, FullRowWithoutRingNumberComposesItWithoutHyphensAndStoresTheERing)
{
    TestDatabase t;
    const PigeonImportResult result = importPigeonSheet(
        t.dm(),
        sheet(FullHeader, {texts({"002", "NL", "25", "", "1234567", "Cock", "", "", "1A2B3C4D"}),
                           texts({"002", "AU", "24", "ABC", "12", "hen", "RED", nullptr, nullptr}),
                           texts({"002", "AU", "24", "ABC", "13", "Hen", "RED", "AU24-ABC-0013", "0000ABCD"})}),
        Now);
    EXPECT_EQ(result.inserted, 3);
    EXPECT_EQ(pigeons(t.dm()), (QStringList{"002|NL251234567|NL|25||1234567|C||1A2B3C4D|<null>|<null>",
                                            "002|AU24ABC12|AU|24|ABC|12|C|RED|<null>|<null>|<null>",
                                            "002|AU24-ABC-0013|AU|24|ABC|13|H|RED|0000ABCD|<null>|<null>"}));
}

TEST(PigeonImport, KnownPigeonGetsSexColourAndERingAndKeepsItsChipAndComment)
{
    TestDatabase t;
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,RCountry,RYear,RRegLetter,RRegNumber,Sex,ColorType,"
                         "E_Ring,UID,Comment,Updatetime) values "
                         "('001','GB23A12345','GB','23','A','12345','C','BLU','11111111','AABBCCDD','keep','2020-01-01 00:00:00'),"
                         "('001','GB23A12346','GB','23','A','12346','C','BLU','22222222','BBCCDDEE','keep','2020-01-01 00:00:00')"));
    // Full layout: an empty eRing cell clears E_Ring. Short layout: E_Ring is not touched.
    PigeonImportResult result = importPigeonSheet(
        t.dm(), sheet(FullHeader, {texts({"001", "XX", "99", "", "1", "Hen", "RED", "GB23A12345", ""})}), Now);
    EXPECT_EQ(result.updated, 1);
    result = importPigeonSheet(t.dm(), sheet(ShortHeader, {texts({"001", "GB", "23", "A", "12346", "Hen", "GRY"})}), Now);
    EXPECT_EQ(result.updated, 1);
    EXPECT_EQ(result.inserted, 0);
    EXPECT_EQ(pigeons(t.dm()), (QStringList{"001|GB23A12345|GB|23|A|12345|H|RED|<null>|AABBCCDD|keep",
                                            "001|GB23A12346|GB|23|A|12346|H|GRY|22222222|BBCCDDEE|keep"}));
    EXPECT_EQ(t.dm().scalar(QStringLiteral("select count(*) from ZAVR_PigData where Updatetime='2025-04-03 14:05:06'")).toInt(), 2);
}

TEST(PigeonImport, RefusedRowStopsTheImportNamingTheSheetRowAndWritesNothing)
{
    struct Case {
        QVariantList badRow;
        const char* reason;
    };
    const Case cases[] = {
        {texts({"002", "BELG", "24", "A", "0012", "Hen", "BLU", "", ""}),
         "The ring number BELG24A0012 belongs to Adams (loft 009): it is not saved for this member."},
        {texts({"", "BELG", "24", "A", "0013", "Hen", "BLU", "", ""}), "The member number (column 1) is empty."},
        {texts({"002", "BELG", "24", "A", "", "Hen", "BLU", "", ""}), "The registration number (column 5) is empty."},
        {QVariantList{"002", "BELG", 24.5, "A", "0013"}, "The year (column 3) holds the number 24.5, not a whole number."},
        {texts({"002", "BELG", "2024", "A", "0013", "Hen", "BLU", "", ""}), "The value of RYear is not accepted: at most 2 characters."},
        {texts({"002", "BELG", "24", "A", "0013", "Hen", "BLU", "", "123456789"}), "The value of E_Ring is not accepted: at most 8 characters."},
    };
    for (const Case& c : cases) {
        TestDatabase t;
        t.run(QStringLiteral("insert into ZAVR_LoftData (LoftNo,LoftName) values ('009','Adams')"));
        t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo) values ('009','BELG24A0012')"));
        const QString error = thrownText([&] {
            importPigeonSheet(t.dm(), sheet(FullHeader, {texts({"002", "NL", "25", "", "77", "Hen", "", "", ""}), c.badRow}), Now);
        });
        EXPECT_EQ(error, QStringLiteral("Import stopped at row 3 of the sheet: %1 Nothing of the file was imported.")
                             .arg(QString::fromUtf8(c.reason)));
        EXPECT_EQ(rows(t.dm(), QStringLiteral("select LoftNo,PRingNo,Sex from ZAVR_PigData")), QStringList{"009|BELG24A0012|"})
            << c.reason;
    }
}

TEST(PigeonImport, HeaderOnlyOrEmptySheetImportsNothing)
{
    TestDatabase t;
    for (const QList<QVariantList>& s : {sheet(FullHeader, {}), QList<QVariantList>{}}) {
        const PigeonImportResult result = importPigeonSheet(t.dm(), s, Now);
        EXPECT_EQ(result.inserted + result.updated, 0);
        EXPECT_FALSE(result.cancelled);
    }
    EXPECT_EQ(pigeonCount(t.dm()), 0);
}

TEST(PigeonImport, BlankRowsAreSkipped)
{
    TestDatabase t;
    const PigeonImportResult result = importPigeonSheet(
        t.dm(), sheet(ShortHeader, {texts({"001", "NL", "25", "", "1", "Hen", ""}), QVariantList{QVariant(), " "},
                                    texts({"001", "NL", "25", "", "2", "Hen", ""})}),
        Now);
    EXPECT_EQ(result.inserted, 2);
    EXPECT_EQ(pigeonCount(t.dm()), 2);
}

TEST(PigeonImport, ProgressIsReportedAndCancelWritesNothing)
{
    const QList<QVariantList> three = sheet(
        ShortHeader, {texts({"001", "NL", "25", "", "1", "Hen", ""}), texts({"001", "NL", "25", "", "2", "Hen", ""}),
                      texts({"001", "NL", "25", "", "3", "Hen", ""})});
    // Cancelled before the second row, and at the very end: nothing either time.
    for (const int cancelAt : {1, 3}) {
        TestDatabase t;
        QList<int> reported;
        const PigeonImportResult result = importPigeonSheet(t.dm(), three, Now, [&](int done, int total) {
            EXPECT_EQ(total, 3);
            reported << done;
            return done != cancelAt;
        });
        EXPECT_TRUE(result.cancelled);
        EXPECT_EQ(result.inserted, 0);
        EXPECT_EQ(reported.last(), cancelAt);
        EXPECT_EQ(pigeonCount(t.dm()), 0) << cancelAt;
    }
    TestDatabase t;
    QList<int> reported;
    importPigeonSheet(t.dm(), three, Now, [&](int done, int) {
        reported << done;
        return true;
    });
    EXPECT_EQ(reported, (QList<int>{0, 1, 2, 3}));
    EXPECT_EQ(pigeonCount(t.dm()), 3);
}

TEST(PigeonImport, NumberCellsBecomeTextsWithoutDecimalsAndTheirWidths)
{
    const PigeonSheetRow row = pigeonSheetRow(QVariantList{1.0, "BELG", 7.0, "A", 98.0, "Hen", 12.0, 7654321.0, 1234.0});
    EXPECT_EQ(row.loftNo, QStringLiteral("1"));
    EXPECT_EQ(row.year, QStringLiteral("07"));
    EXPECT_EQ(row.number, QStringLiteral("98"));
    EXPECT_EQ(row.colourCode, QStringLiteral("12"));
    EXPECT_EQ(row.ringNo, QStringLiteral("7654321"));
    EXPECT_EQ(row.eRing, QStringLiteral("00001234"));
    // Cells past the end of a short row are empty.
    const PigeonSheetRow shortRow = pigeonSheetRow(QVariantList{"001"});
    EXPECT_TRUE(shortRow.year.isEmpty());
    EXPECT_TRUE(shortRow.eRing.isEmpty());
}

class PigeonFiles : public ::testing::Test {
protected:
    TestDatabase t;
    QString file(const char* name) const { return QDir(t.path()).filePath(QString::fromUtf8(name)); }
};

TEST_F(PigeonFiles, XlsxWithNumberCellsImportsTheYearWithItsZero)
{
    const QString path = file("numbers.xlsx");
    RowSetModel numbers;
    numbers.setRows(ShortHeader, {QVariantList{"001", "BELG", 7, "A", 98, "Hen", "BLU"}});
    writeWorkbook(path, numbers);
    importPigeonFile(t.dm(), path, Now);
    EXPECT_EQ(pigeons(t.dm()), QStringList{"001|BELG07A98|BELG|07|A|98|H|BLU|<null>|<null>|<null>"});
}

TEST_F(PigeonFiles, CsvKeepsLeadingZerosAndReadsTheSameColumns)
{
    const QString path = file("pigeons.csv");
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("\xEF\xBB\xBF\"LoftNo\",RCountry,RYear,RRegLetter,RRegNumber,Sex,ColorType,PRingNo,E_Ring\r\n"
              "001,NL,07,,0098,Hen,BLU,,0A0B0C0D\r\n"
              "001,\"B,E\",07,,0099,Cock,BLU,NL070099,\r\n");
    out.close();
    importPigeonFile(t.dm(), path, Now);
    EXPECT_EQ(pigeons(t.dm()), (QStringList{"001|NL070098|NL|07||0098|H|BLU|0A0B0C0D|<null>|<null>",
                                            "001|NL070099|B,E|07||0099|C|BLU|<null>|<null>|<null>"}));
}

TEST_F(PigeonFiles, FileThatIsNotASpreadsheetIsRefused)
{
    for (const char* name : {"pigeons.xlsx", "pigeons.txt"}) {
        const QString path = file(name);
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("LoftNo RCountry\n001 BELG\n");
        out.close();
        EXPECT_EQ(thrownText([&] { importPigeonFile(t.dm(), path, Now); }),
                  QDir::toNativeSeparators(path) + QStringLiteral(" is not a spreadsheet file this program can read (xlsx, ods or csv)."));
    }
    EXPECT_FALSE(thrownText([&] { importPigeonFile(t.dm(), file("missing.xlsx"), Now); }).isEmpty());
    EXPECT_EQ(pigeonCount(t.dm()), 0);
}

TEST_F(PigeonFiles, ExportReadBackByTheImportGivesTheSamePigeons)
{
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo,RCountry,RYear,RRegLetter,RRegNumber,Sex,ColorType,"
                         "E_Ring,UID) values "
                         "('001','NL070098','NL','07','','0098','H','BLU','0A0B0C0D','AABBCCDD'),"
                         "('001','AU24-ABC-0012','AU','24','ABC','12','C','','',NULL),"
                         "('001','BELG240000001','BELG','24','','0000001','C','RED',NULL,NULL),"
                         "('002','NL070099','NL','07','','0099','C','BLU',NULL,NULL)"));
    const QString path = file("export.xlsx");
    exportPigeons(t.dm(), QStringLiteral("001"), path);

    const QList<QVariantList> cells = readFirstSheet(path);
    ASSERT_EQ(cells.size(), 4);
    EXPECT_EQ(cells.at(0), headerRow(FullHeader));
    // By ring number; year and registration number come back as the texts they were.
    EXPECT_EQ(cells.at(1), (QVariantList{"001", "AU", "24", "ABC", "12", "Cock", QVariant(), "AU24-ABC-0012", QVariant()}));
    EXPECT_EQ(cells.at(2), (QVariantList{"001", "BELG", "24", QVariant(), "0000001", "Cock", "RED", "BELG240000001", QVariant()}));
    EXPECT_EQ(cells.at(3), (QVariantList{"001", "NL", "07", QVariant(), "0098", "Hen", "BLU", "NL070098", "0A0B0C0D"}));

    TestDatabase fresh;
    EXPECT_EQ(importPigeonFile(fresh.dm(), path, Now).inserted, 3);
    const QString compared = QStringLiteral("select LoftNo,PRingNo,RCountry,RYear,ifnull(RRegLetter,''),RRegNumber,Sex,"
                                            "ifnull(ColorType,''),ifnull(E_Ring,'') from ZAVR_PigData where LoftNo='001' "
                                            "order by PRingNo");
    EXPECT_EQ(rows(fresh.dm(), compared), rows(t.dm(), compared));
}

TEST_F(PigeonFiles, MemberWithoutPigeonsExportsTheHeaderAlone)
{
    const QString path = file("empty.xlsx");
    exportPigeons(t.dm(), QStringLiteral("001"), path);
    EXPECT_EQ(readFirstSheet(path), QList<QVariantList>{headerRow(FullHeader)});
}

TEST_F(PigeonFiles, FailedExportSaysDataTransferErrorAndLeavesNoFile)
{
    t.run(QStringLiteral("insert into ZAVR_PigData (LoftNo,PRingNo) values ('001','NL070098')"));
    // A folder that does not exist; a target that is a folder and cannot be replaced.
    const QString folderTarget = file("taken.xlsx");
    ASSERT_TRUE(QDir().mkpath(folderTarget));
    for (const QString& path : {file("missing/export.xlsx"), folderTarget}) {
        EXPECT_TRUE(thrownText([&] { exportPigeons(t.dm(), QStringLiteral("001"), path); })
                        .startsWith(QLatin1String(DataTransferErrorText)))
            << path.toStdString();
    }
    EXPECT_TRUE(QFileInfo(folderTarget).isDir());
    EXPECT_EQ(QDir(t.path()).entryList({QStringLiteral("*.tmp-*")}, QDir::Files | QDir::Hidden), QStringList{});
}

}  // namespace
