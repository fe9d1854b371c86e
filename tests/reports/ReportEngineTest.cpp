#include "PdfText.h"
#include "QtPrinters.h"
#include "Report.h"
#include "ReportPreview.h"

#include "CorvelError.h"

#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using What = ReportPageLayout::Placement::What;

// A small report with every band: a page header, a title, two columns, a summary and a footer
// with the page number and the printing moment.
Report sampleReport(int rowCount, const std::function<QStringList(int)>& row)
{
    Report r;
    r.name = QStringLiteral("Sample");
    r.caption = QStringLiteral("Sample");
    r.pageHeader.height = 8.0;
    r.pageHeader.items << ReportItem::makeText(QRectF(0, 0, 190, 6), QStringLiteral("HEADER-OF-EVERY-PAGE"));
    r.title.height = 12.0;
    r.title.items << ReportItem::makeText(QRectF(0, 0, 190, 8), QStringLiteral("TITLE-ON-FIRST-PAGE"), {14, true, false});
    r.columns = {{QStringLiteral("Token"), 1, Qt::AlignLeft}, {QStringLiteral("Words"), 1, Qt::AlignLeft}};
    for (int i = 0; i < rowCount; ++i)
        r.rows << row(i);
    r.summary.height = 8.0;
    r.summary.items << ReportItem::makeText(QRectF(0, 1, 190, 6), QStringLiteral("SUMMARY-AFTER-LAST-ROW"));
    r.pageFooter.height = 8.0;
    r.pageFooter.items << ReportItem::makePrintedAt(QRectF(0, 1, 120, 6), QStringLiteral("Printed on %1"),
                                                    QStringLiteral("yyyy/mm/dd hh:nn:ss"));
    r.pageFooter.items << ReportItem::makePageNumber(QRectF(120, 1, 70, 6), QStringLiteral("Page %1 of %2"));
    return r;
}

QString token(int i)
{
    return QStringLiteral("r%1").arg(i, 3, 10, QLatin1Char('0'));
}

class ReportEngine : public ::testing::Test {
protected:
    void SetUp() override { ReportClock::setFixed(QDateTime(QDate(2024, 5, 10), QTime(8, 5, 9))); }
    void TearDown() override { ReportClock::setFixed({}); }
    QTemporaryDir dir;
};

TEST_F(ReportEngine, EmptyReportPrintsHeadersSummaryAndFooterOnOnePage)
{
    const PdfText pdf = renderAndRead(sampleReport(0, {}), dir);
    ASSERT_EQ(pdf.pageCount, 1);
    ASSERT_EQ(pdf.pages.size(), 1);
    EXPECT_EQ(pdf.lines(), (QStringList{"HEADER-OF-EVERY-PAGE", "TITLE-ON-FIRST-PAGE", "Token Words",
                                        "SUMMARY-AFTER-LAST-ROW", "Printed on 2024/05/10 08:05:09 Page 1 of 1"}));
}

TEST_F(ReportEngine, LongReportRepeatsHeadersOnEveryPageAndKeepsEachRowWhole)
{
    // Rows of one to four lines: the words wrap in their column, and a row must stay on one page.
    const int rows = 300;
    const Report report = sampleReport(rows, [](int i) {
        QStringList words;
        for (int w = 0; w <= i % 4 * 6; ++w)
            words << QStringLiteral("word");
        words << token(i) + QStringLiteral("end");
        return QStringList{token(i), words.join(QLatin1Char(' '))};
    });
    const PdfText pdf = renderAndRead(report, dir);
    ASSERT_GT(pdf.pageCount, 3);
    ASSERT_EQ(pdf.pages.size(), pdf.pageCount);

    int next = 0;
    for (int p = 0; p < pdf.pages.size(); ++p) {
        const QString& page = pdf.pages.at(p);
        EXPECT_TRUE(page.contains(QStringLiteral("HEADER-OF-EVERY-PAGE"))) << "page " << p + 1;
        EXPECT_EQ(page.contains(QStringLiteral("TITLE-ON-FIRST-PAGE")), p == 0) << "page " << p + 1;
        EXPECT_EQ(page.count(QStringLiteral("Token")), 1) << "page " << p + 1;
        EXPECT_TRUE(page.contains(QStringLiteral("Page %1 of %2").arg(p + 1).arg(pdf.pageCount))) << "page " << p + 1;
        EXPECT_EQ(page.contains(QStringLiteral("SUMMARY-AFTER-LAST-ROW")), p == pdf.pages.size() - 1);
        // Every row starting on this page also ends on it, and rows keep their order.
        while (next < rows && page.contains(token(next) + QLatin1Char(' '))) {
            EXPECT_TRUE(page.contains(token(next) + QStringLiteral("end"))) << "row " << next << " split after page " << p + 1;
            ++next;
        }
    }
    EXPECT_EQ(next, rows) << "rows missing or out of order from row " << next;
}

TEST_F(ReportEngine, RowIsAsTallAsItsCellWithTheMostLines)
{
    // Each column is 95 mm wide.
    const QString oneLine = QStringLiteral("fits on one line");
    const QString fourLines = QString(QStringLiteral("wrapping words ")).repeated(12);
    const Report report = sampleReport(5, [&](int i) {
        const QList<QStringList> rows = {{QStringLiteral("a"), QStringLiteral("b")},
                                         {QStringLiteral("a"), oneLine},
                                         {QStringLiteral("a"), fourLines},
                                         {fourLines, QStringLiteral("b")},
                                         {QStringLiteral("two\nlines"), QString()}};
        return rows.at(i);
    });
    QPdfWriter writer(dir.filePath(QStringLiteral("heights.pdf")));
    writer.setResolution(600);
    QList<double> heights;
    for (const ReportPageLayout& page : layoutReport(report, writer))
        for (const auto& at : page.placements)
            if (at.what == What::Row)
                heights << at.height;
    ASSERT_EQ(heights.size(), 5);
    const double line = heights.at(0);
    EXPECT_DOUBLE_EQ(heights.at(1), line);
    EXPECT_GT(heights.at(2), line * 2.5);  // the padding does not grow with the lines
    EXPECT_DOUBLE_EQ(heights.at(3), heights.at(2));
    EXPECT_GT(heights.at(4), line * 1.5);
    EXPECT_LT(heights.at(4), heights.at(2));
}

TEST_F(ReportEngine, LayoutPlacesEveryRowOnceInsideThePrintableArea)
{
    const Report report = sampleReport(120, [](int i) {
        return QStringList{token(i), i % 7 == 0 ? QString(QStringLiteral("long text ")).repeated(20) : QStringLiteral("x")};
    });
    QTemporaryDir scratch;
    QPdfWriter writer(scratch.filePath(QStringLiteral("layout.pdf")));
    writer.setResolution(600);
    const QList<ReportPageLayout> pages = layoutReport(report, writer);
    ASSERT_GT(pages.size(), 1);
    int expectedRow = 0;
    for (const ReportPageLayout& page : pages) {
        double footerTop = 0.0;
        for (const auto& at : page.placements)
            if (at.what == What::PageFooter)
                footerTop = at.top;
        ASSERT_GT(footerTop, 250.0);
        EXPECT_NEAR(footerTop + 8.0, Report::PageHeight - Report::Margin, 1e-6);
        for (const auto& at : page.placements) {
            EXPECT_GE(at.top, Report::Margin - 1e-6);
            if (at.what == What::Row) {
                EXPECT_EQ(at.row, expectedRow++);
                EXPECT_LE(at.top + at.height, footerTop + 1e-6) << "row " << at.row;
            }
        }
    }
    EXPECT_EQ(expectedRow, 120);
}

TEST_F(ReportEngine, WrappedTitleGrowsItsBandAndMovesTheItemsBelow)
{
    Report r = sampleReport(1, [](int) { return QStringList{QStringLiteral("only"), QStringLiteral("row")}; });
    ReportItem longTitle = ReportItem::makeText(QRectF(0, 0, 60, 6), QString(QStringLiteral("wrapping words ")).repeated(12));
    longTitle.wrap = true;
    r.title.items = {longTitle, ReportItem::makeText(QRectF(0, 6, 190, 5), QStringLiteral("BELOW-THE-TITLE"))};
    r.title.height = 12.0;
    QTemporaryDir scratch;
    QPdfWriter writer(scratch.filePath(QStringLiteral("layout.pdf")));
    const QList<ReportPageLayout> pages = layoutReport(r, writer);
    ASSERT_EQ(pages.size(), 1);
    double titleHeight = 0.0;
    for (const auto& at : pages.first().placements)
        if (at.what == What::Title)
            titleHeight = at.height;
    EXPECT_GT(titleHeight, 20.0);

    const PdfText pdf = renderAndRead(r, dir);
    const QStringList lines = pdf.lines();
    const qsizetype below = lines.indexOf(QStringLiteral("BELOW-THE-TITLE"));
    ASSERT_GE(below, 0) << lines.join(QLatin1Char('|')).toStdString();
    for (qsizetype i = 0; i < below; ++i)  // no line of the title is painted over the text below it
        EXPECT_FALSE(lines.at(i).contains(QStringLiteral("BELOW")));
    EXPECT_TRUE(lines.at(below - 1).contains(QStringLiteral("wrapping")));
}

TEST_F(ReportEngine, UnwritablePdfPathFailsClearlyAndLeavesNoFile)
{
    const QString path = dir.filePath(QStringLiteral("missing-folder/report.pdf"));
    try {
        renderToPdf(sampleReport(1, [](int) { return QStringList{"a", "b"}; }), path);
        ADD_FAILURE() << "no error";
    } catch (const CorvelError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("report.pdf"))) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QStringLiteral("No such file or directory"))) << e.text().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(ReportEngine, PdfPrintsTheMomentItIsGiven)
{
    // The preview saves with the moment it shows, not the clock's at saving.
    const QString path = dir.filePath(QStringLiteral("given.pdf"));
    renderToPdf(sampleReport(0, {}), path, QDateTime(QDate(2023, 12, 31), QTime(23, 59, 58)));
    const QStringList pages = readPdfPages(path);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages.at(0).contains(QStringLiteral("Printed on 2023/12/31 23:59:58"))) << pages.at(0).toStdString();
}

TEST_F(ReportEngine, ExistingPdfIsReplacedByTheNewReport)
{
    renderAndRead(sampleReport(1, [](int) { return QStringList{"first", "version"}; }), dir);
    const PdfText pdf = renderAndRead(sampleReport(1, [](int) { return QStringList{"second", "version"}; }), dir);
    EXPECT_FALSE(pdf.all().contains(QStringLiteral("first")));
    EXPECT_EQ(pdf.linesWith(QStringLiteral("version")), QStringList{"second version"});
}

}  // namespace
