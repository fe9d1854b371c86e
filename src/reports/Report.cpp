#include "Report.h"

#include "CorvelError.h"
#include "Formats.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <deque>
#include <optional>

ReportItem ReportItem::makeText(const QRectF& rect, const QString& text, ReportFont font, Qt::Alignment alignment)
{
    ReportItem item;
    item.kind = Kind::Text;
    item.rect = rect;
    item.text = text;
    item.font = font;
    item.alignment = alignment;
    return item;
}

ReportItem ReportItem::makePageNumber(const QRectF& rect, const QString& text, ReportFont font, Qt::Alignment alignment)
{
    ReportItem item = makeText(rect, text, font, alignment);
    item.kind = Kind::PageNumber;
    return item;
}

ReportItem ReportItem::makePrintedAt(const QRectF& rect, const QString& text, const QString& format, ReportFont font,
                                     Qt::Alignment alignment)
{
    ReportItem item = makeText(rect, text, font, alignment);
    item.kind = Kind::PrintedAt;
    item.format = format;
    return item;
}

ReportItem ReportItem::makePicture(const QRectF& rect, std::function<void(QPainter&, const QRectF&)> paint)
{
    ReportItem item;
    item.kind = Kind::Picture;
    item.rect = rect;
    item.picture = std::move(paint);
    return item;
}

ReportItem ReportItem::makeLine(double x, double y, double width, double lineWidth, QColor color)
{
    ReportItem item;
    item.kind = Kind::Line;
    item.rect = QRectF(x, y, width, 0.0);
    item.lineWidth = lineWidth;
    item.color = color;
    return item;
}

ReportItem ReportItem::makeFill(const QRectF& rect, QColor color)
{
    ReportItem item;
    item.kind = Kind::Fill;
    item.rect = rect;
    item.color = color;
    return item;
}

namespace ReportClock {
namespace {
QDateTime& fixedMoment()
{
    static QDateTime moment;
    return moment;
}
}  // namespace

QDateTime now()
{
    return fixedMoment().isValid() ? fixedMoment() : QDateTime::currentDateTime();
}

void setFixed(const QDateTime& moment)
{
    fixedMoment() = moment;
}
}  // namespace ReportClock

namespace {

constexpr double CellPadX = 1.2;  // mm left and right inside a cell
constexpr double CellPadY = 0.7;  // mm above and below a cell's text
const QColor HeaderShade(0xdc, 0xe3, 0xec);
const QColor RowShade(0xf1, 0xf3, 0xf6);

QFont qtFont(const ReportFont& f)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(f.pointSize);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    // Without ligatures: "fi" stays two letters, so the text of a PDF reads back and searches as
    // it was written.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// Millimetres and device pixels of one paint device, and the metrics of its fonts (made once for
// each font of the report).
class Measure {
public:
    explicit Measure(QPagedPaintDevice& device)
        : device_(device),
          dotsPerMmX_(device.logicalDpiX() / 25.4),
          dotsPerMmY_(device.logicalDpiY() / 25.4)
    {
    }

    QRectF toDevice(const QRectF& mm) const
    {
        return {mm.x() * dotsPerMmX_, mm.y() * dotsPerMmY_, mm.width() * dotsPerMmX_, mm.height() * dotsPerMmY_};
    }
    const QFontMetricsF& metrics(const ReportFont& font) const
    {
        for (const auto& [f, fm] : metrics_)
            if (f.pointSize == font.pointSize && f.bold == font.bold && f.italic == font.italic)
                return fm;
        metrics_.emplace_back(font, QFontMetricsF(qtFont(font), &device_));
        return metrics_.back().second;
    }
    double lineHeight(const ReportFont& font) const { return metrics(font).height() / dotsPerMmY_; }
    // Height in mm of `text` wrapped into `width` mm.
    double wrappedHeight(const ReportFont& font, const QString& text, double width) const
    {
        const QFontMetricsF& fm = metrics(font);
        const double widthDots = std::max(1.0, width * dotsPerMmX_);
        // Most texts fit on one line: measuring their advance is enough.
        if (text.isEmpty() || (!text.contains(QLatin1Char('\n')) && fm.horizontalAdvance(text) <= widthDots))
            return lineHeight(font);
        const QRectF box = fm.boundingRect(QRectF(0, 0, widthDots, 1e7), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
        return std::max(box.height(), fm.height()) / dotsPerMmY_;
    }
    QPagedPaintDevice& device() const { return device_; }
    double dotsPerMmX() const { return dotsPerMmX_; }

private:
    QPagedPaintDevice& device_;
    double dotsPerMmX_;
    double dotsPerMmY_;
    mutable std::deque<std::pair<ReportFont, QFontMetricsF>> metrics_;
};

// A band's height and its items' rectangles once wrapped texts have taken the room they need.
struct BandShape {
    double height = 0.0;
    QList<QRectF> rects;
};

BandShape shapeBand(const ReportBand& band, const Measure& m)
{
    BandShape shape;
    shape.height = band.height;
    for (const ReportItem& item : band.items)
        shape.rects << item.rect;
    if (!band.present())
        return shape;
    for (qsizetype i = 0; i < band.items.size(); ++i) {
        const ReportItem& item = band.items.at(i);
        if (item.kind != ReportItem::Kind::Text || !item.wrap)
            continue;
        const double grow = m.wrappedHeight(item.font, item.text, item.rect.width()) - item.rect.height();
        if (grow <= 0.0)
            continue;
        shape.rects[i].setHeight(shape.rects[i].height() + grow);
        for (qsizetype j = 0; j < band.items.size(); ++j)
            if (j != i && band.items.at(j).rect.top() >= item.rect.bottom() - 1e-6)
                shape.rects[j].translate(0.0, grow);
        shape.height += grow;
    }
    return shape;
}

// Left edge (from the margin) and width of every column, in mm.
QList<QRectF> columnSpans(const Report& report)
{
    double total = 0.0;
    for (const ReportColumn& c : report.columns)
        total += std::max(0.0, c.width);
    QList<QRectF> spans;
    double x = 0.0;
    for (const ReportColumn& c : report.columns) {
        const double w = total > 0.0 ? Report::ContentWidth * std::max(0.0, c.width) / total : 0.0;
        spans << QRectF(x, 0.0, w, 0.0);
        x += w;
    }
    return spans;
}

// The height of a line of cells: its tallest cell, every cell measured once.
double lineOfCellsHeight(const QList<QRectF>& spans, const ReportFont& font, const std::function<QString(int)>& cell,
                         const Measure& m)
{
    double h = m.lineHeight(font);
    for (int c = 0; c < spans.size(); ++c)
        h = std::max(h, m.wrappedHeight(font, cell(c), spans.at(c).width() - 2 * CellPadX));
    return h + 2 * CellPadY;
}

struct Layouter {
    Layouter(const Report& r, const Measure& measure) : report(r), m(measure), spans(columnSpans(r)) {}

    const Report& report;
    const Measure& m;
    QList<QRectF> spans;
    BandShape title, pageHeader, summary, footer;
    double columnHeaderHeight = 0.0;
    QList<ReportPageLayout> pages;
    double y = 0.0;

    using What = ReportPageLayout::Placement::What;

    double bottomLimit() const { return Report::PageHeight - Report::Margin - footer.height; }

    void place(What what, double height, int row = -1)
    {
        pages.last().placements.append(ReportPageLayout::Placement{what, row, y, height});
        y += height;
    }

    void startPage()
    {
        pages.append(ReportPageLayout{});
        y = Report::Margin;
        if (report.pageHeader.present())
            place(What::PageHeader, pageHeader.height);
        if (pages.size() == 1 && report.title.present())
            place(What::Title, title.height);
        if (!report.columns.isEmpty())
            place(What::ColumnHeader, columnHeaderHeight);
    }

    // Starts a new page unless `height` still fits on this one (or the page holds nothing to
    // move away from, so a band taller than a page does not loop). True when it started one.
    bool makeRoom(double height, bool pageHasContent)
    {
        if (y + height <= bottomLimit() + 1e-6 || !pageHasContent)
            return false;
        startPage();
        return true;
    }

    QList<ReportPageLayout> run()
    {
        title = shapeBand(report.title, m);
        pageHeader = shapeBand(report.pageHeader, m);
        summary = shapeBand(report.summary, m);
        footer = shapeBand(report.pageFooter, m);
        if (!report.columns.isEmpty())
            columnHeaderHeight = lineOfCellsHeight(
                spans, report.columnHeaderFont, [&](int c) { return report.columns.at(c).title; }, m);

        startPage();
        bool rowsOnPage = false;
        for (int r = 0; r < report.rows.size(); ++r) {
            const QStringList& row = report.rows.at(r);
            const double h = lineOfCellsHeight(spans, report.detailFont, [&](int c) { return row.value(c); }, m);
            if (makeRoom(h, rowsOnPage))
                rowsOnPage = false;
            place(What::Row, h, r);
            rowsOnPage = true;
        }
        if (report.summary.present()) {
            makeRoom(summary.height, true);
            place(What::Summary, summary.height);
        }
        if (report.pageFooter.present()) {
            for (ReportPageLayout& page : pages)
                page.placements.append(ReportPageLayout::Placement{
                    What::PageFooter, -1, Report::PageHeight - Report::Margin - footer.height, footer.height});
        }
        return pages;
    }
};

void paintBand(QPainter& p, const Measure& m, const ReportBand& band, const BandShape& shape, double top, int page,
               int pages, const QDateTime& printedAt)
{
    for (qsizetype i = 0; i < band.items.size(); ++i) {
        const ReportItem& item = band.items.at(i);
        const QRectF mm = shape.rects.at(i).translated(Report::Margin, top);
        const QRectF r = m.toDevice(mm);
        switch (item.kind) {
        case ReportItem::Kind::Text:
        case ReportItem::Kind::PageNumber:
        case ReportItem::Kind::PrintedAt: {
            QString text = item.text;
            if (item.kind == ReportItem::Kind::PageNumber)
                text = text.arg(page).arg(pages);
            else if (item.kind == ReportItem::Kind::PrintedAt)
                text = text.arg(Formats::formatDateTime(item.format, printedAt));
            p.setFont(qtFont(item.font));
            p.setPen(item.color);
            int flags = static_cast<int>(item.alignment);
            if (item.wrap)
                flags |= Qt::TextWordWrap;
            p.drawText(r, flags, text);
            break;
        }
        case ReportItem::Kind::Picture:
            if (item.picture) {
                p.save();
                item.picture(p, r);
                p.restore();
            }
            break;
        case ReportItem::Kind::Line: {
            QPen pen(item.color);
            pen.setWidthF(item.lineWidth * m.dotsPerMmX());
            p.setPen(pen);
            if (mm.width() > 0.0)
                p.drawLine(r.topLeft(), r.topRight());
            else
                p.drawLine(r.topLeft(), r.bottomLeft());
            break;
        }
        case ReportItem::Kind::Fill:
            p.fillRect(r, item.color);
            break;
        }
    }
}

void paintCells(QPainter& p, const Measure& m, const QList<QRectF>& spans, const QList<ReportColumn>& columns,
                const ReportFont& font, double top, double height, const std::function<QString(int)>& cell)
{
    p.setFont(qtFont(font));
    p.setPen(Qt::black);
    for (int c = 0; c < spans.size(); ++c) {
        const QRectF mm(Report::Margin + spans.at(c).x() + CellPadX, top + CellPadY, spans.at(c).width() - 2 * CellPadX,
                        height - 2 * CellPadY);
        const Qt::Alignment horizontal = columns.at(c).alignment & Qt::AlignHorizontal_Mask;
        p.drawText(m.toDevice(mm), static_cast<int>(horizontal | Qt::AlignTop) | Qt::TextWordWrap, cell(c));
    }
}

void paintRule(QPainter& p, const Measure& m, double y, double width)
{
    QPen pen(QColor(0x44, 0x4c, 0x56));
    pen.setWidthF(width * m.dotsPerMmX());
    p.setPen(pen);
    p.drawLine(m.toDevice(QRectF(Report::Margin, y, 0, 0)).topLeft(),
               m.toDevice(QRectF(Report::Margin + Report::ContentWidth, y, 0, 0)).topLeft());
}

}  // namespace

QList<ReportPageLayout> layoutReport(const Report& report, QPagedPaintDevice& device)
{
    const Measure m(device);
    Layouter l(report, m);
    return l.run();
}

int paintReport(const Report& report, QPagedPaintDevice& device, const QDateTime& printedAt, int fromPage, int toPage)
{
    const Measure m(device);
    Layouter l(report, m);
    const QList<ReportPageLayout> pages = l.run();
    const int pageCount = static_cast<int>(pages.size());

    QPainter p;
    if (!p.begin(&device))
        throw CorvelError(QStringLiteral("The report could not be printed."));
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    bool first = true;
    using What = ReportPageLayout::Placement::What;
    for (int n = 1; n <= pageCount; ++n) {
        if ((fromPage > 0 && n < fromPage) || (toPage > 0 && n > toPage))
            continue;
        if (!first)
            device.newPage();
        first = false;
        for (const ReportPageLayout::Placement& at : pages.at(n - 1).placements) {
            switch (at.what) {
            case What::PageHeader:
                paintBand(p, m, report.pageHeader, l.pageHeader, at.top, n, pageCount, printedAt);
                break;
            case What::Title:
                paintBand(p, m, report.title, l.title, at.top, n, pageCount, printedAt);
                break;
            case What::Summary:
                paintBand(p, m, report.summary, l.summary, at.top, n, pageCount, printedAt);
                break;
            case What::PageFooter:
                paintBand(p, m, report.pageFooter, l.footer, at.top, n, pageCount, printedAt);
                break;
            case What::ColumnHeader:
                p.fillRect(m.toDevice(QRectF(Report::Margin, at.top, Report::ContentWidth, at.height)), HeaderShade);
                paintRule(p, m, at.top, 0.35);
                paintRule(p, m, at.top + at.height, 0.35);
                paintCells(p, m, l.spans, report.columns, report.columnHeaderFont, at.top, at.height,
                           [&](int c) { return report.columns.at(c).title; });
                break;
            case What::Row: {
                const QStringList& row = report.rows.at(at.row);
                if (report.shadeAlternateRows && at.row % 2 == 1)
                    p.fillRect(m.toDevice(QRectF(Report::Margin, at.top, Report::ContentWidth, at.height)), RowShade);
                paintCells(p, m, l.spans, report.columns, report.detailFont, at.top, at.height,
                           [&](int c) { return row.value(c); });
                break;
            }
            }
        }
    }
    return pageCount;
}
