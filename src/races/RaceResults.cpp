#include "RaceResults.h"

#include "DisplayRules.h"
#include "RaceLogic.h"
#include "RowSetModel.h"
#include "SpreadsheetWriter.h"
#include "TdmZAVR.h"

#include <QFileInfo>
#include <QSet>
#include <QSqlRecord>
#include <memory>

namespace RaceResults {
namespace {

QVariantList raceKey(const QString& liberCode, const QDate& liberDate)
{
    return {liberCode, raceDateKey(liberDate)};
}

}  // namespace

LoadedResult loadResultRows(const TdmZAVR& dm, const QString& liberCode, const QDate& liberDate, RowSetModel& rows)
{
    // One pass over the race's entries gives the ranked arrivals and the counts of the summary
    // line. The ring parts come with the rows through the join that finds the member, and the
    // names are read for the race's members only: a small race reads nothing of the rest of the
    // register. Arrivals are ranked among themselves and come first, fastest first.
    QSqlQuery q = dm.exec(QStringLiteral(
                              // An arrival without a speed has no entry with a greater speed: position 1.
                              "SELECT CASE WHEN a.FlySpeed IS NULL THEN 1 "
                              "ELSE RANK() OVER (PARTITION BY a.BackTime IS NULL ORDER BY a.FlySpeed DESC) END AS Pos, "
                              "a.LiberCode, a.PRingNo, a.BackTime, a.FlyTime, a.FlySpeed, a.Dist, b.LoftNo, "
                              "b.PRingNo, b.RCountry, b.RYear, b.RRegLetter, b.RRegNumber "
                              "FROM ZAVR_PigRaceData a LEFT JOIN ZAVR_PigData b ON a.PRingNo = b.PRingNo "
                              "WHERE a.LiberCode = ? AND date(a.LiberDate) = date(?) "
                              "ORDER BY a.BackTime IS NULL, a.FlySpeed DESC"),
                          raceKey(liberCode, liberDate));
    constexpr int RingNo = 2, BackTime = 3, LoftNo = 7, FieldCount = 8;
    constexpr int RegisteredRing = 8, Country = 9, Year = 10, Letters = 11, Number = 12;
    const QSqlRecord record = q.record();
    QStringList fields;
    for (int i = 0; i < FieldCount; ++i)
        fields << record.fieldName(i);
    LoadedResult read;
    Counts& counts = read.counts;
    QSet<QString> members;
    bool entryWithoutMember = false;  // entries without a member count as one member
    auto rings = std::make_shared<RingPartsLookup>();
    QList<QVariantList> arrivals;
    while (q.next()) {
        ++counts.birds;
        if (q.isNull(LoftNo))
            entryWithoutMember = true;
        else
            members.insert(q.value(LoftNo).toString());
        if (q.isNull(BackTime))
            continue;
        QVariantList row;
        row.reserve(FieldCount);
        for (int i = 0; i < FieldCount; ++i)
            row << q.value(i);
        if (!q.isNull(RegisteredRing))
            rings->add(q.value(RingNo), q.value(Country), q.value(Year), q.value(Letters), q.value(Number));
        arrivals << std::move(row);
    }
    counts.clocked = static_cast<int>(arrivals.size());
    counts.members = static_cast<int>(members.size()) + (entryWithoutMember ? 1 : 0);
    auto names = std::make_shared<const LoftNameLookup>(dm, QStringList(members.begin(), members.end()));
    read.memberName = [names](const QVariant& loftNo) { return names->name(loftNo); };
    read.ringParts = [rings](const QVariant& ringNo) { return rings->text(ringNo); };
    rows.setRows(fields, std::move(arrivals));
    return read;
}

void loadStatusRows(const TdmZAVR& dm, const QString& liberCode, const QDate& liberDate, RowSetModel& rows)
{
    QSqlQuery q = dm.exec(QStringLiteral(
                              "SELECT b.LoftNo, a.ClockID, count(b.LoftNo) AS MarkedCnt, count(a.BackTime) AS ArriveCnt "
                              "FROM ZAVR_PigRaceData a LEFT JOIN ZAVR_PigData b ON a.PRingNo = b.PRingNo "
                              "WHERE a.LiberCode = ? AND date(a.LiberDate) = date(?) GROUP BY b.LoftNo, a.ClockID"),
                          raceKey(liberCode, liberDate));
    rows.setQueryResult(q);
}

QString summaryLine(const Counts& counts)
{
    return QStringLiteral("%1 Members sent %2 birds of which %3 were clocked").arg(counts.members).arg(counts.birds).arg(counts.clocked);
}

QString resultExportFilter()
{
    return QStringLiteral("Excel File (*.xlsx)|*.xlsx|Excel File|*.xls");
}

QString workbookFileName(const QString& chosen)
{
    return ::workbookFileName(chosen);
}

QString workbookFileNameNotice(const QString& chosen)
{
    if (QFileInfo(chosen).suffix().compare(QLatin1String("xls"), Qt::CaseInsensitive) != 0)
        return {};
    return QStringLiteral("The result is an Excel workbook of the xlsx kind, so it is saved as \"%1\" instead of \"%2\".")
        .arg(QFileInfo(::workbookFileName(chosen)).fileName(), QFileInfo(chosen).fileName());
}

void exportResultRows(const RowSetModel& rows, const QString& path)
{
    // Columns 3 and 4 (ring number, arrival) as text, 6 (speed) with three decimals.
    const QByteArray text("@");
    writeWorkbook(path, rows, {{}, {}, {20, text}, {25, text}, {}, {10, "0.000"}, {10, {}}, {20, {}}});
}

}  // namespace RaceResults
