#include "RaceReports.h"

#include "ClubEmblem.h"
#include "CorvelError.h"
#include "DisplayRules.h"
#include "Formats.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"

#include <QRegularExpression>
#include <optional>

namespace RaceReports {
namespace {

// The fields a report reads, found once by name.
class RowReader {
public:
    RowReader(const RowSetModel& rows, const QStringList& fields) : rows_(rows), fields_(fields)
    {
        for (const QString& field : fields) {
            const int index = rows.fieldIndex(field);
            if (index < 0)
                throw CorvelError(QStringLiteral("The list to print has no field %1.").arg(field));
            indexes_ << index;
        }
    }
    int count() const { return rows_.rowCount(); }
    QVariant value(int row, const QString& field) const { return rows_.value(row, indexes_.at(fields_.indexOf(field))); }
    QString text(int row, const QString& field) const { return value(row, field).toString(); }

private:
    const RowSetModel& rows_;
    QStringList fields_;
    QList<int> indexes_;
};

struct RaceHeading {
    QString clubId;
    QString liberCode;
    QDate liberDate;
    QString liberSite;
};

std::optional<RaceHeading> findRace(const TdmZAVR& dm, const QString& raceCode)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT r.ClubID, r.LiberCode, r.LiberDate, "
                                         "(SELECT s.LiberSite FROM ZAVR_LiberateSite s WHERE s.LiberCode = r.LiberCode) "
                                         "FROM ZAVR_RaceData r WHERE r.RaceCode = ? ORDER BY r.rowid LIMIT 1"),
                          {raceCode});
    if (!q.next())
        return std::nullopt;
    return RaceHeading{q.value(0).toString(), q.value(1).toString(), Formats::fromDbDate(q.value(2)), q.value(3).toString()};
}

// The member's ZAVR_RaceClockTime row of the race: DLMarkedTime, ULMasterTime, ULClockTime.
std::optional<QSqlRecord> raceClockRow(const TdmZAVR& dm, const std::optional<RaceHeading>& race, const QString& loftNo)
{
    if (!race)
        return std::nullopt;
    return dm.locate(QStringLiteral("ZAVR_RaceClockTime"),
                     {QStringLiteral("LiberCode"), QStringLiteral("LiberDate"), QStringLiteral("LoftNo")},
                     {race->liberCode, Formats::toDbDate(race->liberDate), loftNo});
}

QString momentText(const QString& pattern, const QVariant& stored)
{
    return Formats::formatDateTime(pattern, Formats::fromDbDateTime(stored));
}

// A label and its text, one line of a heading.
struct Labelled {
    QString label;
    QString text;
};

constexpr double LineHeight = 4.8;
const ReportFont HeadingFont{8.5, false, false};
const ReportFont LabelFont{8.5, true, false};

// Lines of labelled texts from (x, top) downwards; returns the bottom.
double addLabelled(ReportBand& band, double x, double top, double labelWidth, double textWidth, const QList<Labelled>& lines)
{
    double y = top;
    for (const Labelled& line : lines) {
        band.items << ReportItem::makeText(QRectF(x, y, labelWidth, LineHeight), line.label, LabelFont);
        band.items << ReportItem::makeText(QRectF(x + labelWidth, y, textWidth, LineHeight), line.text, HeadingFont);
        y += LineHeight;
    }
    return y;
}

// A report of the Clock Operation page with its heading at the top of every page.
Report clockPageReport(const QString& name, const QString& caption, const QString& heading)
{
    Report report;
    report.name = name;
    report.caption = caption;
    ReportBand& band = report.pageHeader;
    band.height = 11.0;
    band.items << ReportItem::makeText(QRectF(0.0, 0.0, Report::ContentWidth, 8.0), heading, {14.0, true, false},
                                       Qt::AlignHCenter | Qt::AlignVCenter);
    band.items << ReportItem::makeLine(0.0, 9.0, Report::ContentWidth, 0.5, EmblemNavy);
    return report;
}

QString liberationDateText(const std::optional<RaceHeading>& race)
{
    return race ? Formats::formatDate(QStringLiteral("yyyy/mm/dd"), race->liberDate) : QString();
}

// Places to sign at the foot of every page, with the page number.
ReportBand signatureFooter(const QString& clockCheck)
{
    ReportBand band;
    band.height = 16.0;
    const double w = Report::ContentWidth;
    band.items << ReportItem::makeText(QRectF(0.0, 0.0, 20.0, LineHeight), QStringLiteral("Signed :"), LabelFont);
    const QStringList places = {QStringLiteral("Flyer"), QStringLiteral("Club"), clockCheck};
    const double place = (w - 20.0) / 3.0;
    for (int i = 0; i < places.size(); ++i) {
        const double x = 20.0 + i * place;
        band.items << ReportItem::makeLine(x + 2.0, 8.0, place - 6.0, 0.3);
        band.items << ReportItem::makeText(QRectF(x + 2.0, 8.5, place - 6.0, LineHeight), places.at(i), HeadingFont,
                                           Qt::AlignHCenter | Qt::AlignVCenter);
    }
    band.items << ReportItem::makePageNumber(QRectF(0.0, 11.5, w, LineHeight), QStringLiteral("Page %1 of %2"), HeadingFont);
    return band;
}

QString fourDigits(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    return QStringLiteral("%1").arg(value.toLongLong(), 4, 10, QLatin1Char('0'));
}

// The ring's parts separated by single blanks, or the stored ring number of a pigeon that is not
// (or no longer) in the register.
QString ringText(const RowReader& rows, int row)
{
    const QVariant country = rows.value(row, QStringLiteral("RCountry"));
    const QVariant year = rows.value(row, QStringLiteral("RYear"));
    const QVariant letters = rows.value(row, QStringLiteral("RRegLetter"));
    const QVariant number = rows.value(row, QStringLiteral("RRegNumber"));
    if (country.isNull() && year.isNull() && letters.isNull() && number.isNull())
        return rows.text(row, QStringLiteral("PRingNo"));
    return DisplayRules::ringPartsText(country, year, letters, number);
}

QString wholeNumberPart(const QString& part)
{
    static const QRegularExpression whole(QRegularExpression::anchoredPattern(QStringLiteral("[+-]?\\d{1,12}")));
    if (!whole.match(part).hasMatch())
        throw CorvelError(QStringLiteral("'%1' is not a valid integer value").arg(part));
    return part;
}

}  // namespace

qint64 flyTimeSeconds(const QString& text)
{
    const qsizetype first = text.indexOf(QLatin1Char(':'));
    const qsizetype second = first < 0 ? -1 : text.indexOf(QLatin1Char(':'), first + 1);
    const QString hours = first < 0 ? QString() : text.left(first);
    const QString minutes = second < 0 ? QString() : text.mid(first + 1, second - first - 1);
    const QString seconds = second < 0 ? QString() : text.mid(second + 1, 2);
    return wholeNumberPart(hours).toLongLong() * 3600 + wholeNumberPart(minutes).toLongLong() * 60 +
           wholeNumberPart(seconds).toLongLong();
}

QString differenceText(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3").arg(seconds / 3600).arg(seconds % 3600 / 60).arg(seconds % 60);
}

Report raceEntry(const TdmZAVR& dm, const QString& raceCode, const QString& memberName, const QString& clockIdText,
                 const RowSetModel& entries)
{
    const RowReader rows(entries, {QStringLiteral("PRingNo"), QStringLiteral("Sex"), QStringLiteral("ColorType"),
                                   QStringLiteral("E_Ring"), QStringLiteral("MarkedTime"), QStringLiteral("RYear")});
    const std::optional<RaceHeading> race = findRace(dm, raceCode);
    QSqlQuery member = dm.exec(QStringLiteral("SELECT LoftNo, Street, PostCode, AssociationCode, City, PhoneNo "
                                              "FROM ZAVR_LoftData WHERE LoftName = ? ORDER BY rowid LIMIT 1"),
                               {memberName});
    const bool memberFound = member.next();
    const QString loftNo = memberFound ? member.value(0).toString() : QString();
    const std::optional<QSqlRecord> clock = memberFound ? raceClockRow(dm, race, loftNo) : std::nullopt;
    const QString setTime = clock ? momentText(QStringLiteral("yyyy/mm/dd hh:nn:ss"), clock->value(QStringLiteral("DLMarkedTime")))
                                  : QString();
    const int count = rows.count();
    const QString lastMarked =
        count > 0 ? momentText(QStringLiteral("yyyy/mm/dd hh:nn:ss"), rows.value(count - 1, QStringLiteral("MarkedTime"))) : QString();

    Report report = clockPageReport(QStringLiteral("TfrmDLRaceRpt"), QStringLiteral("Race Entry"),
                                    QStringLiteral("Corvel   -   Official   Race   Entry"));
    ReportBand& title = report.title;
    const double left = addLabelled(
        title, 0.0, 1.0, 30.0, 62.0,
        {{QStringLiteral("Club :"), race ? race->clubId : QString()},
         {QStringLiteral("Lib Date :"), liberationDateText(race)},
         {QStringLiteral("Lib Site          :"), race ? race->liberSite : QString()},
         {QStringLiteral("Flight             :"), raceCode},
         {QStringLiteral("Marker :"), raceCode},
         {QStringLiteral("Marked  :"), QString::number(count)},
         {QStringLiteral("Last Marked  :"), lastMarked}});
    title.items << ReportItem::makeText(QRectF(0.0, left, 30.0, LineHeight), QStringLiteral("Print on         :"), LabelFont);
    title.items << ReportItem::makePrintedAt(QRectF(30.0, left, 62.0, LineHeight), QStringLiteral("%1"),
                                             QStringLiteral("yyyy/mm/dd hh:nn:ss"), HeadingFont);
    const auto memberText = [&](int column) { return memberFound ? member.value(column).toString() : QString(); };
    const double right = addLabelled(
        title, 96.0, 1.0, 30.0, 64.0,
        {{QStringLiteral("Flyer's Name :"), memberFound ? memberName : QString()},
         {QStringLiteral("Flyer's Street :"), memberText(1)},
         {QStringLiteral("Town  /  City  :"), memberText(4)},
         {QStringLiteral("Post Code     :"), memberText(2)},
         {QStringLiteral("Telephone No.:"), memberText(5)},
         {QStringLiteral("Loft Number  :"), memberFound ? memberText(3) + QLatin1Char(' ') + loftNo : QString()},
         {QStringLiteral("Set Time        :"), setTime},
         {QStringLiteral("Flyer's Clock : "), setTime},
         {QStringLiteral("Clock  Details :"), clockIdText},
         {QStringLiteral("Key Code      :"), QString()}});
    title.height = std::max(left + LineHeight, right) + 3.0;

    report.columns = {{QStringLiteral("NO."), 6, Qt::AlignRight},       {QStringLiteral("Bird"), 26, Qt::AlignLeft},
                      {QStringLiteral("Sex"), 8, Qt::AlignLeft},        {QStringLiteral("Color"), 14, Qt::AlignLeft},
                      {QStringLiteral("e-Ring"), 13, Qt::AlignLeft},    {QStringLiteral("Marked Day / Time"), 22, Qt::AlignLeft},
                      {QStringLiteral("Pools"), 11, Qt::AlignLeft}};
    const ColourNameLookup colours(dm, QString());
    // Yearlings carry the ring year before the printing year, as two digits.
    const QString lastYear = QStringLiteral("%1").arg((ReportClock::now().date().year() + 99) % 100, 2, 10, QLatin1Char('0'));
    int hens = 0;
    int yearlings = 0;
    for (int r = 0; r < count; ++r) {
        const QVariant sex = rows.value(r, QStringLiteral("Sex"));
        hens += sex.toString() == QLatin1String("H") ? 1 : 0;
        yearlings += rows.text(r, QStringLiteral("RYear")) == lastYear ? 1 : 0;
        report.rows << QStringList{QString::number(r + 1),
                                   rows.text(r, QStringLiteral("PRingNo")),
                                   DisplayRules::raceSexText(sex),
                                   colours.name(rows.value(r, QStringLiteral("ColorType"))),
                                   rows.text(r, QStringLiteral("E_Ring")),
                                   DisplayRules::dateTimeText(rows.value(r, QStringLiteral("MarkedTime"))),
                                   QString()};
    }

    report.summary.height = 3 * LineHeight + 4.0;
    report.summary.items << ReportItem::makeLine(0.0, 1.0, Report::ContentWidth, 0.3);
    addLabelled(report.summary, 0.0, 2.5, 30.0, 30.0,
                {{QStringLiteral("Total hens  :"), QString::number(hens)},
                 {QStringLiteral("Total cocks :"), QString::number(count - hens)},
                 {QStringLiteral("Yearlings   :"), QString::number(yearlings)}});
    report.pageFooter = signatureFooter(QStringLiteral("Clock Checked"));
    return report;
}

Report raceList(const TdmZAVR& dm, const QString& raceCode, const QString& clockSiteText, const QString& clockIdText,
                const RowSetModel& arrivals)
{
    const RowReader rows(arrivals, {QStringLiteral("Rank"), QStringLiteral("PRingNo"), QStringLiteral("RCountry"),
                                    QStringLiteral("RYear"), QStringLiteral("RRegLetter"), QStringLiteral("RRegNumber"),
                                    QStringLiteral("Sex"), QStringLiteral("ColorType"), QStringLiteral("BackTime"),
                                    QStringLiteral("RandomCode"), QStringLiteral("RealRandom"), QStringLiteral("chk")});
    const std::optional<RaceHeading> race = findRace(dm, raceCode);
    const std::optional<QSqlRecord> member =
        dm.locate(QStringLiteral("ZAVR_LoftData"), {QStringLiteral("LoftNo")}, {clockSiteText});
    const auto memberText = [&](const char* column) {
        return member ? member->value(QString::fromLatin1(column)).toString() : QString();
    };
    const std::optional<QSqlRecord> clock = member ? raceClockRow(dm, race, clockSiteText) : std::nullopt;
    const auto clockTime = [&](const char* column) {
        return clock ? momentText(QStringLiteral("mm/dd hh:nn:ss"), clock->value(QString::fromLatin1(column))) : QString();
    };

    Report report = clockPageReport(QStringLiteral("TfrmULRaceRpt"), QStringLiteral("Race List"),
                                    QStringLiteral("Corvel   -   Official   Race list"));
    ReportBand& title = report.title;
    const double left = addLabelled(
        title, 0.0, 1.0, 36.0, 56.0,
        {{QStringLiteral("Club :"), race ? race->clubId : QString()},
         {QStringLiteral("Lib Date :"), liberationDateText(race)},
         {QStringLiteral("RaceCode : "), race ? raceCode : QString()},
         {QStringLiteral("Lib Site         :"), race ? race->liberSite : QString()},
         {QStringLiteral("Clock  Details  :"), clockIdText},
         {QStringLiteral("Authorization Key          :"), QString()}});
    const double right = addLabelled(
        title, 96.0, 1.0, 46.0, 48.0,
        {{QStringLiteral("Fancier          :"), memberText("LoftName")},
         {QStringLiteral("Loft Number       :"), member ? memberText("AssociationCode") + QLatin1Char(' ') + memberText("LoftNo") : QString()},
         {QStringLiteral("Loft Latitude  :"), memberText("LoftLat")},
         {QStringLiteral("Loft Longitude    :"), memberText("LoftLon")},
         {QStringLiteral("GPS Latitude :"), QString()},
         {QStringLiteral("GPS Longitude   :"), QString()},
         {QStringLiteral("Clock set by radio clock :"), clockTime("DLMarkedTime")},
         {QStringLiteral("Radio Clock       :"), clockTime("ULMasterTime")},
         {QStringLiteral("Time at evalution :"), clockTime("ULClockTime")}});
    title.height = std::max(left, right) + 3.0;

    report.columns = {{QStringLiteral("Pos."), 6, Qt::AlignRight},
                      {QStringLiteral("Ring-Nr."), 26, Qt::AlignLeft},
                      {QStringLiteral("Sex"), 6, Qt::AlignLeft},
                      {QStringLiteral("Color"), 8, Qt::AlignLeft},
                      {QStringLiteral("Clocking\nDate      Time"), 24, Qt::AlignLeft},
                      {QStringLiteral("SecretNumber\nGiv./Read/Checked"), 20, Qt::AlignLeft}};
    for (int r = 0; r < rows.count(); ++r) {
        const QVariant backTime = rows.value(r, QStringLiteral("BackTime"));
        QString clocking;
        if (!backTime.isNull()) {
            const QString text = backTime.toString();
            clocking = text.left(10).mid(5) + QStringLiteral("   ") + text.mid(11, 12);
        }
        report.rows << QStringList{rows.text(r, QStringLiteral("Rank")),
                                   ringText(rows, r),
                                   rows.text(r, QStringLiteral("Sex")),
                                   rows.text(r, QStringLiteral("ColorType")),
                                   clocking,
                                   fourDigits(rows.value(r, QStringLiteral("RandomCode"))) + QLatin1Char('/') +
                                       fourDigits(rows.value(r, QStringLiteral("RealRandom"))) + QLatin1Char('/') +
                                       rows.text(r, QStringLiteral("chk"))};
    }
    report.pageFooter = signatureFooter(QStringLiteral("Clock Check"));
    return report;
}

Report rankReport(const TdmZAVR& dm, const QString& raceChoice, const QString& liberCode, const RowSetModel& ranks,
                  const RowSetModel& results)
{
    const RowReader rows(ranks, {QStringLiteral("Rank"), QStringLiteral("LoftNo"), QStringLiteral("PRingNo"),
                                 QStringLiteral("RCountry"), QStringLiteral("RYear"), QStringLiteral("RRegLetter"),
                                 QStringLiteral("RRegNumber"), QStringLiteral("Sex"), QStringLiteral("ColorType"),
                                 QStringLiteral("BackTime"), QStringLiteral("FlyTime"), QStringLiteral("FlySpeed"),
                                 QStringLiteral("Dist"), QStringLiteral("TimeVari")});
    const RowReader result(results, {QStringLiteral("FlyTime")});
    // The winner and the runner-up (the winner again when it arrived alone) of the result list.
    const QString winnerTime = result.count() > 0 ? result.text(0, QStringLiteral("FlyTime")) : QString();
    const QString secondTime = result.count() > 1 ? result.text(1, QStringLiteral("FlyTime")) : winnerTime;
    const qint64 winner = flyTimeSeconds(winnerTime);
    const QString margin = differenceText(flyTimeSeconds(secondTime) - winner);
    const ClubSettings club = dm.clubSettings();
    const QString site =
        dm.scalar(QStringLiteral("SELECT LiberSite FROM ZAVR_LiberateSite WHERE LiberCode = ?"), {liberCode}).toString();

    Report report;
    report.name = QStringLiteral("TfrmRaceRankRpt");
    report.caption = QStringLiteral("Rank Report");
    ReportBand& title = report.title;
    const double w = Report::ContentWidth;
    title.items << ReportItem::makeText(QRectF(0.0, 0.0, w, 8.0), QStringLiteral("NAM-") + club.ClubName, {14.0, true, false},
                                        Qt::AlignHCenter | Qt::AlignVCenter);
    title.items << ReportItem::makeText(QRectF(0.0, 10.0, 20.0, LineHeight), QStringLiteral("Date :"), LabelFont);
    title.items << ReportItem::makePrintedAt(QRectF(20.0, 10.0, 60.0, LineHeight), QStringLiteral("%1"),
                                             QStringLiteral("yyyy/mm/dd hh:nn:ss"), HeadingFont);
    addLabelled(title, 0.0, 10.0 + LineHeight, 20.0, 76.0, {{QStringLiteral("Liberate :"), site}});
    addLabelled(title, 100.0, 10.0, 20.0, 70.0,
                {{QStringLiteral("RaceCode :"), raceChoice},
                 {QStringLiteral("Total :"), QStringLiteral("%1").arg(rows.count(), 3, 10, QLatin1Char('0'))}});
    title.height = 10.0 + 2 * LineHeight + 3.0;

    report.detailFont.pointSize = 7.5;
    report.columnHeaderFont.pointSize = 7.5;
    report.columns = {{QStringLiteral("Pos"), 5, Qt::AlignRight},
                      {QStringLiteral("Name"), 18, Qt::AlignLeft},
                      {club.yards() ? QStringLiteral("Yds/min") : QStringLiteral("MPM"), 11, Qt::AlignRight},
                      {QStringLiteral("Ring Particulars "), 22, Qt::AlignLeft},
                      {QStringLiteral("Color "), 9, Qt::AlignLeft},
                      {QStringLiteral("Sex"), 6, Qt::AlignLeft},
                      {QStringLiteral("Clock /    day"), 16, Qt::AlignLeft},
                      {QStringLiteral("Var"), 5, Qt::AlignRight},
                      {QStringLiteral("Distance"), 10, Qt::AlignRight},
                      {QStringLiteral("Margin"), 9, Qt::AlignRight}};
    const LoftNameLookup names(dm);
    const ColourNameLookup colours(dm, QString());
    for (int r = 0; r < rows.count(); ++r) {
        const QString backTime = rows.text(r, QStringLiteral("BackTime"));
        const QVariant flyTime = rows.value(r, QStringLiteral("FlyTime"));
        const QVariant variation = rows.value(r, QStringLiteral("TimeVari"));
        report.rows << QStringList{rows.text(r, QStringLiteral("Rank")),
                                   names.name(rows.value(r, QStringLiteral("LoftNo"))),
                                   DisplayRules::flySpeedText(rows.value(r, QStringLiteral("FlySpeed"))).trimmed(),
                                   ringText(rows, r),
                                   colours.name(rows.value(r, QStringLiteral("ColorType"))),
                                   DisplayRules::raceSexText(rows.value(r, QStringLiteral("Sex"))),
                                   backTime.mid(11) + QStringLiteral("  ") + backTime.mid(8, 2),
                                   variation.isNull() ? QString() : QString::number(variation.toLongLong()),
                                   DisplayRules::distanceText(rows.value(r, QStringLiteral("Dist"))),
                                   flyTime.isNull() ? QString() : differenceText(flyTimeSeconds(flyTime.toString()) - winner)};
    }

    report.pageFooter.height = 11.0;
    report.pageFooter.items << ReportItem::makeLine(0.0, 1.0, w, 0.3);
    addLabelled(report.pageFooter, 0.0, 2.0, 30.0, 30.0, {{QStringLiteral("Net Flying Time :"), winnerTime}});
    addLabelled(report.pageFooter, 70.0, 2.0, 30.0, 30.0, {{QStringLiteral("Winning Margin :"), margin}});
    report.pageFooter.items << ReportItem::makePageNumber(QRectF(0.0, 2.0, w, LineHeight), QStringLiteral("Page %1 of %2"),
                                                          HeadingFont);
    return report;
}

}  // namespace RaceReports
