#include "CorvelError.h"
#include "RowSetModel.h"
#include "SpreadsheetReader.h"
#include "SpreadsheetWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <xlsxwriter.h>

namespace {

QString writeCsv(const QTemporaryDir& dir, const char* content)
{
    const QString path = dir.filePath(QStringLiteral("cells.csv"));
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(content);
    return path;
}

TEST(Spreadsheet, LargeWorkbookReadsBackWhole)
{
    // Larger than the part of a file that format detection used to look at.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.xlsx"));
    QList<QVariantList> rows;
    for (int i = 0; i < 5000; ++i)
        rows << QVariantList{QStringLiteral("R%1").arg(i), QString::number(i).rightJustified(4, QLatin1Char('0')), i + 0.5};
    RowSetModel model;
    model.setRows({QStringLiteral("Ring"), QStringLiteral("Number"), QStringLiteral("Value")}, rows);
    writeWorkbook(path, model, {{}, {0, "@"}});
    ASSERT_GT(QFileInfo(path).size(), 1 << 16);
    const QList<QVariantList> cells = readFirstSheet(path);
    ASSERT_EQ(cells.size(), 5001);
    EXPECT_EQ(cells.at(1), (QVariantList{"R0", "0000", 0.5}));
    EXPECT_EQ(cells.last(), (QVariantList{"R4999", "4999", 4999.5}));
}

TEST(Spreadsheet, FormulaCellsGiveTheirStoredResults)
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("formulas.xlsx")));
    lxw_workbook* workbook = workbook_new(path.constData());
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Sheet1");
    worksheet_write_string(sheet, 0, 0, "BELG", nullptr);
    worksheet_write_formula_str(sheet, 0, 1, "=A1&\"24\"", nullptr, "BELG24");
    worksheet_write_formula_num(sheet, 0, 2, "=3+4", nullptr, 7);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
    EXPECT_EQ(readFirstSheet(QFile::decodeName(path)), QList<QVariantList>{(QVariantList{"BELG", "BELG24", 7.0})});
}

TEST(Spreadsheet, ValueFarBeyondTheTableIsRefusedNotRead)
{
    // One cell in the sheet's last row and column: reading it as a table would mean 17 billion cells.
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("far.xlsx")));
    lxw_workbook* workbook = workbook_new(path.constData());
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Sheet1");
    worksheet_write_string(sheet, 0, 0, "BELG", nullptr);
    worksheet_write_string(sheet, 1048575, 16383, "x", nullptr);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
    try {
        readFirstSheet(QFile::decodeName(path));
        FAIL() << "the sheet was read";
    } catch (const CorvelError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("row 1048576, column 16384"))) << e.text().toStdString();
    }
}

// A workbook whose zip directory declares an entry of 4 GB (compressed or not) is refused before
// the spreadsheet library sets that much memory aside for it.
TEST(Spreadsheet, DirectoryDeclaringImpossibleSizesIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sizes.xlsx"));
    RowSetModel model;
    model.setRows({QStringLiteral("Ring")}, {QVariantList{QStringLiteral("BELG24")}});
    writeWorkbook(path, model, {{}});
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray sound = in.readAll();
    in.close();
    const qsizetype firstEntry = sound.indexOf(QByteArrayLiteral("PK\x01\x02"));
    ASSERT_GE(firstEntry, 0);
    for (const int field : {20, 24}) {  // compressed size, uncompressed size
        SCOPED_TRACE(field);
        QByteArray damaged = sound;
        damaged.replace(firstEntry + field, 4, QByteArray(4, '\xFF'));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(damaged);
        out.close();
        try {
            readFirstSheet(path);
            FAIL() << "the file was read";
        } catch (const CorvelError& e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("is damaged"))) << e.text().toStdString();
        }
    }
}

TEST(Spreadsheet, CsvCellsAreTexts)
{
    QTemporaryDir dir;
    const QString path = writeCsv(dir, "001,07,\"a,b\"\r\n\r\n\"two\r\nlines\",,12.50\r\n");
    EXPECT_EQ(readFirstSheet(path), (QList<QVariantList>{QVariantList{"001", "07", "a,b"},
                                                         QVariantList{QVariant(), QVariant(), QVariant()},
                                                         QVariantList{"two\nlines", QVariant(), "12.50"}}));
}

TEST(Spreadsheet, FileTheLibraryAbortsOnIsReportedAsDamaged)
{
    // The spreadsheet library fails an assertion of its own on this file; the reader program
    // dies of it, this one reports the file.
    try {
        readFirstSheet(QStringLiteral(CORVEL_TEST_FILES "/damaged.ods"));
        FAIL() << "the file was read";
    } catch (const CorvelError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("damaged.ods is damaged or is not a spreadsheet this program can read")))
            << e.text().toStdString();
    }
}

TEST(Spreadsheet, ReaderThatCannotAnswerIsReported)
{
    QTemporaryDir dir;
    const QString path = writeCsv(dir, "001,07\r\n");
    const struct {
        const char* reader;
        const char* text;
    } cases[] = {
        {"/no/such/corvel-sheet-reader", "the spreadsheet reader /no/such/corvel-sheet-reader cannot be started"},
        {"/bin/echo", "is damaged or is not a spreadsheet this program can read: the spreadsheet reader gave no answer"},
        {"/bin/false", "is damaged or is not a spreadsheet this program can read: the spreadsheet reader failed with code 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reader);
        qputenv("CORVEL_SHEET_READER", c.reader);
        try {
            readFirstSheet(path);
            ADD_FAILURE() << "the file was read";
        } catch (const CorvelError& e) {
            EXPECT_TRUE(e.text().contains(QLatin1String(c.text)) && e.text().contains(QStringLiteral("cells.csv"))) << e.text().toStdString();
        }
    }
    qunsetenv("CORVEL_SHEET_READER");
    EXPECT_EQ(readFirstSheet(path), QList<QVariantList>{(QVariantList{"001", "07"})});
}

}  // namespace
