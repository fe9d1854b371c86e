#include "PdfText.h"

#include "ReportPreview.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

QString simplified(const QString& line)
{
    return line.simplified();
}

QStringList readPdfPages(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << path.toStdString() << ": " << p.readAllStandardError().toStdString();
        return {};
    }
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();  // pdftotext ends every page, the last one too, with a form feed
    return pages;
}

PdfText renderAndRead(const Report& report, const QTemporaryDir& dir, const QString& name)
{
    PdfText out;
    const QString path = dir.filePath(name);
    out.pageCount = renderToPdf(report, path);
    out.pages = readPdfPages(path);
    return out;
}

QStringList PdfText::lines() const
{
    QStringList out;
    for (const QString& page : pages)
        for (const QString& line : page.split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty())
                out << simplified(line);
    return out;
}

QStringList PdfText::linesWith(const QString& text) const
{
    QStringList out;
    for (const QString& line : lines())
        if (line.contains(text))
            out << line;
    return out;
}
