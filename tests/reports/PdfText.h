#pragma once

#include "Report.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A report written to a PDF file and read back as text, page by page, the way pdftotext lays
// it out (-layout keeps the columns of a line on one line).
struct PdfText {
    QStringList pages;  // one text per page
    int pageCount = 0;  // pages written, as the engine reports it

    QString all() const { return pages.join(QLatin1Char('\f')); }
    // The lines of all pages that contain `text`, with their runs of blanks shrunk to one.
    QStringList linesWith(const QString& text) const;
    // All non-empty lines, runs of blanks shrunk to one, in print order.
    QStringList lines() const;
};

// Renders `report` into `dir` and reads it back; fails the test on an error.
PdfText renderAndRead(const Report& report, const QTemporaryDir& dir, const QString& name = QStringLiteral("report.pdf"));
// Reads any PDF file back.
QStringList readPdfPages(const QString& path);
// Collapses runs of white space into single blanks and trims.
QString simplified(const QString& line);
