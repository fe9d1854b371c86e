#include "RaceResults.h"

#include "RaceLogic.h"
#include "RowSetModel.h"
#include "SpreadsheetWriter.h"
#include "TdmZAVR.h"

#include <QFileInfo>

namespace RaceResults {
namespace {

QVariantList raceKey(const QString& liberCode, const QDate& liberDate)
{
    return {liberCode, raceDateKey(liberDate)};
}

}  // namespace

void loadResultRows(const TdmZAVR& dm, const QString& liberCode, const QDate& liberDate, RowSetModel& rows)
{
    QSqlQuery q = dm.exec(QStringLiteral(
                              // An arrival without a speed has no entry with a greater speed: position 1.
                              "SELECT CASE WHEN a.FlySpeed IS NULL THEN 1 ELSE RANK() OVER (ORDER BY a.FlySpeed DESC) END AS Pos, "
                              "a.LiberCode, a.PRingNo, a.BackTime, "
                              "a.FlyTime, a.FlySpeed, a.Dist, b.LoftNo "
                              "FROM ZAVR_PigRaceData a LEFT JOIN ZAVR_PigData b ON a.PRingNo = b.PRingNo "
                              "WHERE a.LiberCode = ? AND date(a.LiberDate) = date(?) AND a.BackTime IS NOT NULL "
                              "ORDER BY a.FlySpeed DESC"),
                          raceKey(liberCode, liberDate));
    rows.setQueryResult(q);
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

Counts countRace(const TdmZAVR& dm, const QString& liberCode, const QDate& liberDate)
{
    QSqlQuery q = dm.exec(QStringLiteral(
                              "SELECT (SELECT count(*) FROM (SELECT b.LoftNo FROM ZAVR_PigRaceData a "
                              "        LEFT JOIN ZAVR_PigData b ON a.PRingNo = b.PRingNo "
                              "        WHERE a.LiberCode = ? AND date(a.LiberDate) = date(?) GROUP BY b.LoftNo)), "
                              "       count(*), count(BackTime) "
                              "FROM ZAVR_PigRaceData WHERE LiberCode = ? AND date(LiberDate) = date(?)"),
                          raceKey(liberCode, liberDate) + raceKey(liberCode, liberDate));
    Counts counts;
    if (q.next()) {
        counts.members = q.value(0).toInt();
        counts.birds = q.value(1).toInt();
        counts.clocked = q.value(2).toInt();
    }
    return counts;
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
