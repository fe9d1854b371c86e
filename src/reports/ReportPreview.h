#pragma once

#include "Report.h"

#include <QPrintPreviewDialog>
#include <optional>

class QAction;
class QPrinter;

// The preview window of a report: the pages as they will print, with the usual print button and
// a "Save as PDF" button. Modal until the user closes it.
class ReportPreview : public QPrintPreviewDialog {
    Q_OBJECT
public:
    ReportPreview(const Report& report, QPrinter* printer, QWidget* parent = nullptr);

    QAction* saveAsPdfAction() const { return actSaveAsPdf_; }

    // Asks for a file name and writes the report there; nothing happens when the user cancels.
    void saveAsPdf();

private:
    void paintPages(QPrinter* printer);

    Report report_;
    QDateTime printedAt_;
    QAction* actSaveAsPdf_ = nullptr;
};

// Sets a printer to the report paper: A4 portrait, one copy, painting from the sheet's corner
// (the report keeps its own 10 mm margins).
void setUpReportPrinter(QPrinter& printer);

// Produces a report: shows its preview, from which the user prints or saves it, and returns when
// the user closes the preview. Without interaction (tests) nothing is shown: the report is kept
// as the last produced report instead.
void produceReport(QWidget* parent, const Report& report);

// Writes the report as a PDF file (replacing the file only once it is complete). Throws
// CorvelError with the reason when the file cannot be written. Returns the number of pages.
// The printing moment is `printedAt`, or the clock's when it is invalid.
int renderToPdf(const Report& report, const QString& path, const QDateTime& printedAt = {});

// Test hook: the report that produceReport was last asked for while non-interactive, and forgets
// it.
std::optional<Report> takeLastProducedReport();
