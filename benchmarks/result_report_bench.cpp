// The race result report of the largest race written as PDF, against the same cells drawn as
// plain text lines with QPdfWriter.

#include "BenchHarness.h"
#include "RaceResultView.h"
#include "RaceSteps.h"
#include "ReportPreview.h"
#include "TdmZAVR.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <memory>

namespace {

using ResultView = RaceSteps::ShownView<RaceResultView>;

// The report the Result view's Print button produces (the harness runs without interaction, so
// it is kept instead of previewed).
Report resultReport(ResultView& view)
{
    view.view.butPrtRaceResultClick();
    std::optional<Report> report = takeLastProducedReport();
    if (!report)
        qFatal("the Result view produced no report");
    return *std::move(report);
}

// Every cell at its column's left edge, one line a row, a new page when the page is full.
void drawPlainText(const QList<QStringList>& rows, const QString& path)
{
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
    QPainter p(&writer);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(8.5);
    p.setFont(font);
    const QFontMetricsF fm(font, &writer);
    const double dotsPerMm = writer.resolution() / 25.4;
    const QList<double> widths = {7, 30, 24, 13, 14, 13, 12};
    const double unit = 190.0 * dotsPerMm / 113.0;
    const double top = 10.0 * dotsPerMm;
    const double bottom = 287.0 * dotsPerMm;
    const double lineHeight = fm.height() + 1.4 * dotsPerMm;
    double y = top;
    for (const QStringList& row : rows) {
        if (y + lineHeight > bottom) {
            writer.newPage();
            y = top;
        }
        double x = 10.0 * dotsPerMm;
        for (int c = 0; c < row.size(); ++c) {
            p.drawText(QPointF(x, y + fm.ascent()), row.at(c));
            x += widths.value(c) * unit;
        }
        y += lineHeight;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    return Bench::main(
        argc, argv,
        {{QStringLiteral("result-report"), QStringLiteral("Race result report to PDF, largest race"),
          QStringLiteral("the same cells as plain text with QPdfWriter"),
          [](Bench::Club& club) -> Bench::Runs {
              auto view = std::make_shared<ResultView>(club.dm());
              RaceSteps::openView(*view, club.largestRace(), "dbgrdRaceRec");
              const QList<QStringList> cells = resultReport(*view).rows;
              return {[&club, view](Bench::Clock&) { renderToPdf(resultReport(*view), club.scratch(QStringLiteral("result.pdf"))); },
                      [&club, cells](Bench::Clock&) { drawPlainText(cells, club.scratch(QStringLiteral("plain.pdf"))); }};
          },
          3.0}});
}
