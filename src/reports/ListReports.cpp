#include "ListReports.h"

#include "ClubEmblem.h"
#include "CorvelError.h"
#include "DisplayRules.h"
#include "Formats.h"
#include "ListColumns.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"

namespace ListReports {
namespace {

// One printed column: its title, its share of the width, its alignment and the field it prints.
// A field prints as the page's grid shows it (the list's column description); `text` is only
// given for a column that prints a field otherwise.
struct Column {
    QString title;
    double width;
    Qt::Alignment alignment;
    QString field;
    GridColumn::DisplayRule text = {};
};

Report makeReport(const QString& name, const QString& caption, const ClubSettings& club, const QString& title,
                  const QList<Column>& columns, const GridColumns& shown, const RowSetModel& rows)
{
    Report report;
    report.name = name;
    report.caption = caption;

    // Letterhead: the club's name and address at the left, the emblem at the right, the report's
    // title centred under a rule.
    const double w = Report::ContentWidth;
    const double emblem = 27.0;
    const double textWidth = w - emblem - 4.0;
    ReportBand& head = report.title;
    head.items << ReportItem::makePicture(QRectF(w - emblem, 0.0, emblem, emblem), paintClubEmblem);
    ReportItem clubName = ReportItem::makeText(QRectF(0.0, 0.0, textWidth, 9.0), club.ClubName, {17.0, true, false},
                                               Qt::AlignLeft | Qt::AlignVCenter);
    clubName.color = EmblemNavy;
    head.items << clubName;
    const ReportFont addressFont{10.5, false, false};
    head.items << ReportItem::makeText(QRectF(0.0, 10.5, textWidth, 5.0), club.Street, addressFont);
    head.items << ReportItem::makeText(QRectF(0.0, 15.5, textWidth, 5.0), club.City, addressFont);
    head.items << ReportItem::makeText(QRectF(0.0, 20.5, textWidth, 5.0), club.PostCode, addressFont);
    head.items << ReportItem::makeLine(0.0, 30.5, w, 0.6, EmblemNavy);
    ReportItem titleText = ReportItem::makeText(QRectF(0.0, 33.0, w, 7.0), title, {14.0, true, false},
                                                Qt::AlignHCenter | Qt::AlignTop);
    titleText.wrap = true;
    head.items << titleText;
    head.height = 44.0;

    report.pageFooter.height = 9.0;
    report.pageFooter.items << ReportItem::makeLine(0.0, 2.5, w, 0.3, EmblemNavy);
    report.pageFooter.items << ReportItem::makePageNumber(QRectF(0.0, 3.5, w, 5.0), QStringLiteral("Page %1 of %2"),
                                                          {9.0, false, false}, Qt::AlignRight | Qt::AlignVCenter);

    // Few columns: a large print for the club's notice board.
    report.detailFont.pointSize = 10.0;
    report.columnHeaderFont.pointSize = 10.0;

    QList<int> fieldColumns;
    for (const Column& c : columns) {
        report.columns << ReportColumn{c.title, c.width, c.alignment};
        const int index = rows.fieldIndex(c.field);
        if (index < 0)
            throw CorvelError(QStringLiteral("The list to print has no field %1.").arg(c.field));
        fieldColumns << index;
    }
    report.rows.reserve(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r) {
        QStringList line;
        line.reserve(columns.size());
        for (qsizetype c = 0; c < columns.size(); ++c) {
            const Column& column = columns.at(c);
            const QVariant value = rows.value(r, fieldColumns.at(c));
            line << (column.text ? column.text(value) : columnText(shown, column.field, value));
        }
        report.rows << line;
    }
    return report;
}

constexpr Qt::Alignment Left = Qt::AlignLeft;
constexpr Qt::Alignment Centre = Qt::AlignHCenter;
constexpr Qt::Alignment Right = Qt::AlignRight;

QString liberationDateTime(const QString& datePattern, const QVariant& liberDate, const QVariant& liberTime)
{
    const QString date = Formats::formatDate(datePattern, Formats::fromDbDate(liberDate));
    const QString time = Formats::longTime(Formats::fromDbTime(liberTime));
    return date + QLatin1Char(' ') + time;
}

}  // namespace

Report memberList(const ClubSettings& club, const RowSetModel& members)
{
    const QList<Column> columns = {
        {QStringLiteral("Name"), 50, Left, QStringLiteral("LoftName")},
        {QStringLiteral("LoftNo"), 25, Left, QStringLiteral("LoftNo")},
        {QStringLiteral("No. of Clocks"), 25, Centre, QStringLiteral("clockCnt")},
    };
    return makeReport(QStringLiteral("TfrmPrtMemList"), QStringLiteral("Member List"), club,
                      QStringLiteral("Member List"), columns, ListColumns::memberList(), members);
}

QString ringListTitle(const QString& memberName, const QString& loftNo)
{
    return QStringLiteral(" Ring list of ") + memberName + QStringLiteral("( ") + loftNo + QStringLiteral(" )");
}

Report ringList(const TdmZAVR& dm, const ClubSettings& club, const QString& memberName, const QString& loftNo,
                const RowSetModel& rings)
{
    const QList<Column> columns = {
        {QStringLiteral("Life Ring Number"), 33, Left, QStringLiteral("PRingNo")},
        {QStringLiteral("Sex of bird"), 12, Left, QStringLiteral("Sex")},
        {QStringLiteral("e_Ring Assign."), 17, Left, QStringLiteral("E_Ring")},
        {QStringLiteral("Color"), 18, Left, QStringLiteral("ColorType")},
        {QStringLiteral("Create Date"), 31, Left, QStringLiteral("CreateDate")},
        {QStringLiteral("Assign Date"), 31, Left, QStringLiteral("AssignDate")},
        {QStringLiteral("Last Update date"), 25, Left, QStringLiteral("Updatetime")},
    };
    Report report = makeReport(QStringLiteral("TfrmPrtMemRingList"), QStringLiteral("Ring List"), club,
                               ringListTitle(memberName, loftNo), columns, ListColumns::ringList(dm), rings);
    report.detailFont.pointSize = 8.0;
    report.columnHeaderFont.pointSize = 8.0;
    return report;
}

Report raceList(const ClubSettings& club, const RowSetModel& races)
{
    const QList<Column> columns = {
        {QStringLiteral("Club"), 10, Left, QStringLiteral("ClubID")},
        {QStringLiteral("Code"), 8, Left, QStringLiteral("LiberCode")},
        {QStringLiteral("Lib.Site Abbr."), 16, Left, QStringLiteral("LiberSiteAbbr")},
        {QStringLiteral("Liberation Site"), 26, Left, QStringLiteral("LiberSite")},
        {QStringLiteral("Lib Date"), 21, Left, QStringLiteral("LiberDate")},
        {QStringLiteral("Lib Time"), 11, Left, QStringLiteral("LiberTime")},
    };
    return makeReport(QStringLiteral("TfrmPrtRaceList"), QStringLiteral("Race List"), club,
                      QStringLiteral("Race List"), columns, ListColumns::raceList(), races);
}

Report memberDistances(const TdmZAVR& dm, const ClubSettings& club, const QString& distanceViewTitle,
                       const RowSetModel& distances)
{
    const LoftNameLookup names(dm);
    const QStringList units = distanceTitles(club.yards());
    // The member's name is looked up by the loft number of each distance row.
    const QList<Column> columns = {
        {QStringLiteral("Member"), 40, Left, QStringLiteral("LoftNo"),
         [&names](const QVariant& v) { return names.name(v); }},
        {QStringLiteral("Loft Number"), 20, Centre, QStringLiteral("LoftNo")},
        {units.at(0), 20, Centre, QStringLiteral("Miles")},
        {units.at(1), 20, Centre, QStringLiteral("Yards")},
    };
    return makeReport(QStringLiteral("TfrmPrtMemDist"), QStringLiteral("Member Distances"), club, distanceViewTitle,
                      columns, ListColumns::memberDistances(club), distances);
}

QString raceStatusTitle(const QString& statusViewTitle, const QVariant& liberDate, const QVariant& liberTime)
{
    return statusViewTitle + QStringLiteral(" (") +
           liberationDateTime(QStringLiteral("mm/dd"), liberDate, liberTime) + QStringLiteral(")");
}

Report raceStatus(const TdmZAVR& dm, const ClubSettings& club, const QString& statusViewTitle,
                  const QVariant& liberDate, const QVariant& liberTime, const RowSetModel& status)
{
    const GridColumns shown = ListColumns::raceStatus(dm);
    // The counts print aligned as the Status view shows them.
    auto aligned = [&shown](const QString& field) { return findColumn(shown, field)->alignment & Qt::AlignHorizontal_Mask; };
    const QList<Column> columns = {
        {QStringLiteral("Member"), 40, Left, QStringLiteral("LoftNo")},
        {QStringLiteral("Clock"), 20, Centre, QStringLiteral("ClockID")},
        {QStringLiteral("Birds Marked"), 20, aligned(QStringLiteral("MarkedCnt")), QStringLiteral("MarkedCnt")},
        {QStringLiteral("Birds arrived"), 20, aligned(QStringLiteral("ArriveCnt")), QStringLiteral("ArriveCnt")},
    };
    return makeReport(QStringLiteral("TfrmPrtRaceStat"), QStringLiteral("Race Status"), club,
                      raceStatusTitle(statusViewTitle, liberDate, liberTime), columns, shown, status);
}

QString raceResultTitle(const QString& resultViewTitle, const QVariant& liberDate, const QVariant& liberTime,
                        const QString& summaryLine)
{
    return resultViewTitle + QStringLiteral(" (") +
           liberationDateTime(QStringLiteral("mm-dd"), liberDate, liberTime) + QStringLiteral(")") +
           QStringLiteral(" (") + summaryLine + QStringLiteral(")");
}

Report raceResult(const ClubSettings& club, const GridColumns& resultColumns, const QString& resultViewTitle,
                  const QVariant& liberDate, const QVariant& liberTime, const QString& summaryLine,
                  const RowSetModel& results)
{
    const QList<Column> columns = {
        {QStringLiteral("Pos."), 7, Centre, QStringLiteral("Pos")},
        {QStringLiteral("Member"), 30, Left, QStringLiteral("LoftNo")},
        {QStringLiteral("Pigeon"), 24, Left, QStringLiteral("PRingNo")},
        {QStringLiteral("Clocked"), 13, Left, QStringLiteral("BackTime")},
        {QStringLiteral("Flying Time"), 14, Left, QStringLiteral("FlyTime")},
        {club.yards() ? QStringLiteral("Yards/min") : QStringLiteral("M/min"), 13, Right, QStringLiteral("FlySpeed")},
        {QStringLiteral("Dist."), 12, Right, QStringLiteral("Dist")},
    };
    Report report = makeReport(QStringLiteral("TfrmPrtRaceResult"), QStringLiteral("Race Result"), club,
                               raceResultTitle(resultViewTitle, liberDate, liberTime, summaryLine), columns,
                               resultColumns, results);
    report.detailFont.pointSize = 8.5;
    report.columnHeaderFont.pointSize = 8.5;
    return report;
}

}  // namespace ListReports
