#include "ReportPreview.h"

#include "CorvelError.h"
#include "Dialogs.h"
#include "WholeFile.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QStyle>
#include <QToolBar>

namespace {

std::optional<Report>& lastProduced()
{
    static std::optional<Report> report;
    return report;
}

QPageLayout reportPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

}  // namespace

void setUpReportPrinter(QPrinter& printer)
{
    printer.setFullPage(true);
    printer.setPageLayout(reportPageLayout());
    printer.setCopyCount(1);
}

ReportPreview::ReportPreview(const Report& report, QPrinter* printer, QWidget* parent)
    : QPrintPreviewDialog(printer, parent), report_(report), printedAt_(ReportClock::now())
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(report.caption);
    resize(900, 1000);
    connect(this, &QPrintPreviewDialog::paintRequested, this, &ReportPreview::paintPages);

    actSaveAsPdf_ = new QAction(tr("Save as PDF"), this);
    actSaveAsPdf_->setObjectName(QStringLiteral("actSaveAsPdf"));
    actSaveAsPdf_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    connect(actSaveAsPdf_, &QAction::triggered, this, &ReportPreview::saveAsPdf);
    if (auto* toolBar = findChild<QToolBar*>()) {
        toolBar->addSeparator();
        toolBar->addAction(actSaveAsPdf_);
    } else {
        addAction(actSaveAsPdf_);
    }
}

void ReportPreview::paintPages(QPrinter* printer)
{
    // The layout is made for A4 portrait: paper or orientation changed in the preview would cut
    // it off. Reprinting from the preview prints the same moment that the preview shows.
    printer->setFullPage(true);
    printer->setPageLayout(reportPageLayout());
    int from = 0;
    int to = 0;
    if (printer->printRange() == QPrinter::PageRange) {
        from = printer->fromPage();
        to = printer->toPage();
    }
    try {
        paintReport(report_, *printer, printedAt_, from, to);
    } catch (const CorvelError& e) {
        Dialogs::error(this, e.text());
    }
}

void ReportPreview::saveAsPdf()
{
    QString path = Dialogs::getSaveFileName(this, tr("Save as PDF"), QStringLiteral("PDF File (*.pdf)|*.pdf"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    try {
        renderToPdf(report_, path, printedAt_);
    } catch (const CorvelError& e) {
        Dialogs::error(this, e.text());
    }
}

int renderToPdf(const Report& report, const QString& path, const QDateTime& printedAt)
{
    WholeFile file(path);
    int pages = 0;
    try {
        QPdfWriter writer(&file.device());
        writer.setResolution(600);
        writer.setPageLayout(reportPageLayout());
        writer.setTitle(report.caption);
        writer.setCreator(QStringLiteral("Corvel Club Management"));
        pages = paintReport(report, writer, printedAt.isValid() ? printedAt : ReportClock::now());
    } catch (const CorvelError& e) {
        throw CorvelError(QStringLiteral("The report could not be written to %1: %2").arg(QDir::toNativeSeparators(path), e.text()));
    }
    // The writer has finished the document; a full disk shows up here ("Cannot write ...").
    file.commit();
    return pages;
}

void produceReport(QWidget* parent, const Report& report)
{
    if (Dialogs::nonInteractive()) {
        lastProduced() = report;
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    setUpReportPrinter(printer);
    printer.setDocName(report.caption);
    ReportPreview preview(report, &printer, parent);
    preview.exec();
}

std::optional<Report> takeLastProducedReport()
{
    std::optional<Report> report;
    report.swap(lastProduced());
    return report;
}
