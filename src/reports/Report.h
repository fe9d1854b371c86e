#pragma once

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>

class QPagedPaintDevice;
class QPainter;

// A printed report: bands laid out over rows of text on A4 portrait paper with 10 mm margins.
//
//   title          first page only, under the page header
//   page header    top of every page
//   column header  every page, under the title on the first page (drawn from `columns`)
//   detail         one per row; a row is never split across pages
//   summary        once, after the last row
//   page footer    bottom of every page, the last one included
//
// A report over no rows still prints its headers, summary and footer. Every position and size is
// in millimetres; a band's items are placed relative to the band's top-left corner, which lies on
// the left margin. Page numbers and the printing moment are filled in while the report prints.

struct ReportFont {
    double pointSize = 9.0;
    bool bold = false;
    bool italic = false;
};

struct ReportItem {
    enum class Kind {
        Text,        // `text` as it stands
        PageNumber,  // `text` with %1 the page number and %2 the number of pages
        PrintedAt,   // `text` with %1 the printing moment written by the pattern `format`
        Picture,     // `picture` painted into the rectangle
        Line,        // a line along the top edge of the rectangle (or its left edge when it has no width)
        Fill,        // the rectangle filled with `color`
    };

    Kind kind = Kind::Text;
    QRectF rect;
    QString text;
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    // Text only: wraps at word boundaries and grows downwards when it needs more lines; the band
    // grows with it and the items below it move down.
    bool wrap = false;
    QColor color = Qt::black;
    double lineWidth = 0.3;
    QString format = QStringLiteral("c");
    std::function<void(QPainter&, const QRectF&)> picture;

    static ReportItem makeText(const QRectF& rect, const QString& text, ReportFont font = {},
                               Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
    static ReportItem makePageNumber(const QRectF& rect, const QString& text, ReportFont font = {},
                                     Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter);
    static ReportItem makePrintedAt(const QRectF& rect, const QString& text, const QString& format = QStringLiteral("c"),
                                    ReportFont font = {}, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
    static ReportItem makePicture(const QRectF& rect, std::function<void(QPainter&, const QRectF&)> paint);
    static ReportItem makeLine(double x, double y, double width, double lineWidth = 0.3, QColor color = Qt::black);
    static ReportItem makeFill(const QRectF& rect, QColor color);
};

struct ReportBand {
    double height = 0.0;  // a band of height 0 is absent
    QList<ReportItem> items;

    bool present() const { return height > 0.0; }
};

struct ReportColumn {
    QString title;
    double width = 1.0;  // share of the printable width, relative to the other columns
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct Report {
    QString name;     // which report this is (the form that produces it)
    QString caption;  // window title of the preview, title of the PDF document

    ReportBand title;
    ReportBand pageHeader;
    QList<ReportColumn> columns;  // empty: no column header and no detail band
    QList<QStringList> rows;      // the detail texts, one entry per column, in print order
    ReportBand summary;
    ReportBand pageFooter;

    ReportFont columnHeaderFont{9.0, true, false};
    ReportFont detailFont{9.0, false, false};
    bool shadeAlternateRows = true;

    // Paper and margins (A4 portrait, 10 mm on every side).
    static constexpr double PageWidth = 210.0;
    static constexpr double PageHeight = 297.0;
    static constexpr double Margin = 10.0;
    static constexpr double ContentWidth = PageWidth - 2 * Margin;
};

// The moment printed as the printing date and time. Tests fix it; otherwise it is the clock.
namespace ReportClock {
QDateTime now();
void setFixed(const QDateTime& moment);  // an invalid moment returns to the clock
}  // namespace ReportClock

// Where every band and row of a report lands, page by page, on one paint device.
struct ReportPageLayout {
    struct Placement {
        enum class What { PageHeader, Title, ColumnHeader, Row, Summary, PageFooter };
        What what;
        int row = -1;          // Row only
        double top = 0.0;      // millimetres from the top of the sheet
        double height = 0.0;   // millimetres
    };
    QList<Placement> placements;
};

// Lays the report out for `device` (whose fonts decide the heights of wrapped texts and rows).
QList<ReportPageLayout> layoutReport(const Report& report, QPagedPaintDevice& device);

// Paints the report onto `device`, which must be set to A4 portrait and paint from the sheet's
// corner (no margins of its own). Pages outside [fromPage, toPage] (1-based; 0 = no limit) are
// left out. Returns the number of pages of the report. Throws CorvelError when the device cannot
// be painted on.
int paintReport(const Report& report, QPagedPaintDevice& device, const QDateTime& printedAt, int fromPage = 0,
                int toPage = 0);
