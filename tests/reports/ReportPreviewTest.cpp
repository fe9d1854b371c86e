#include "PdfText.h"
#include "QtPrinters.h"
#include "ReportPreview.h"

#include "Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

Report wallList(int rows)
{
    Report r;
    r.name = QStringLiteral("WallList");
    r.caption = QStringLiteral("Wall list");
    r.title.height = 10.0;
    r.title.items << ReportItem::makeText(QRectF(0, 0, 190, 8), QStringLiteral("Wall list"), {14, true, false});
    r.columns = {{QStringLiteral("Name"), 2, Qt::AlignLeft}, {QStringLiteral("Birds"), 1, Qt::AlignHCenter}};
    for (int i = 1; i <= rows; ++i)
        r.rows << QStringList{QStringLiteral("Flyer %1").arg(i), QString::number(i * 3)};
    r.pageFooter.height = 8.0;
    r.pageFooter.items << ReportItem::makePageNumber(QRectF(0, 1, 190, 6), QStringLiteral("Page %1 of %2"));
    return r;
}

class ReportPreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dialogs::resetTestHooks();
        takeLastProducedReport();
    }
    void TearDown() override { Dialogs::resetTestHooks(); }
    QTemporaryDir dir;
};

TEST_F(ReportPreviewTest, ProducingWithoutInteractionKeepsTheReportInsteadOfBlocking)
{
    produceReport(nullptr, wallList(3));
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible() && w->inherits("ReportPreview"));
    const std::optional<Report> produced = takeLastProducedReport();
    ASSERT_TRUE(produced.has_value());
    EXPECT_EQ(produced->name, QStringLiteral("WallList"));
    EXPECT_EQ(produced->rows.size(), 3);
    EXPECT_FALSE(takeLastProducedReport().has_value());
}

TEST_F(ReportPreviewTest, SaveAsPdfWritesTheReportUnderTheChosenName)
{
    QPrinter printer;
    ReportPreview preview(wallList(2), &printer);
    QToolBar* toolBar = preview.findChild<QToolBar*>();
    ASSERT_NE(toolBar, nullptr);
    EXPECT_TRUE(toolBar->actions().contains(preview.saveAsPdfAction()));

    Dialogs::setNextFileName(dir.filePath(QStringLiteral("wall")));  // the suffix is added
    preview.saveAsPdfAction()->trigger();
    EXPECT_EQ(Dialogs::lastFileFilter(), QStringLiteral("PDF File (*.pdf)"));
    const QStringList pages = readPdfPages(dir.filePath(QStringLiteral("wall.pdf")));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(simplified(pages.first()).contains(QStringLiteral("Flyer 2 6"))) << pages.first().toStdString();
    EXPECT_TRUE(Dialogs::takeMessages().isEmpty());
}

TEST_F(ReportPreviewTest, CancelledSaveWritesNothing)
{
    QPrinter printer;
    ReportPreview preview(wallList(2), &printer);
    preview.saveAsPdfAction()->trigger();  // no file name preset: the user cancels
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(Dialogs::takeMessages().isEmpty());
}

TEST_F(ReportPreviewTest, SaveIntoAMissingFolderShowsWhyAndWritesNothing)
{
    QPrinter printer;
    ReportPreview preview(wallList(2), &printer);
    const QString path = dir.filePath(QStringLiteral("gone/wall.pdf"));
    Dialogs::setNextFileName(path);
    preview.saveAsPdfAction()->trigger();
    const QList<Dialogs::ShownMessage> messages = Dialogs::takeMessages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.first().kind, Dialogs::Kind::Error);
    EXPECT_TRUE(messages.first().text.contains(QStringLiteral("wall.pdf"))) << messages.first().text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(ReportPreviewTest, PrintingFromThePreviewGivesTheSamePagesAsTheSavedFile)
{
    const Report report = wallList(160);
    const PdfText saved = renderAndRead(report, dir, QStringLiteral("saved.pdf"));
    ASSERT_GT(saved.pageCount, 1);

    QPrinter printer(QPrinter::HighResolution);
    setUpReportPrinter(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
    ReportPreview preview(report, &printer);
    Q_EMIT preview.paintRequested(&printer);

    const QStringList printed = readPdfPages(dir.filePath(QStringLiteral("printed.pdf")));
    ASSERT_EQ(printed.size(), saved.pages.size());
    for (qsizetype p = 0; p < printed.size(); ++p)
        EXPECT_EQ(simplified(printed.at(p)), simplified(saved.pages.at(p))) << "page " << p + 1;
}

TEST_F(ReportPreviewTest, ShownPreviewPaintsTheReportOnA4)
{
    QPrinter printer(QPrinter::HighResolution);
    setUpReportPrinter(printer);
    ReportPreview preview(wallList(5), &printer);
    QSignalSpy painted(&preview, &QPrintPreviewDialog::paintRequested);
    preview.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return painted.count() > 0; }, 5000));
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Wall list"));
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(printer.copyCount(), 1);
    EXPECT_TRUE(Dialogs::takeMessages().isEmpty());
    preview.close();
}

}  // namespace
