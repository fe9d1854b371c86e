#include "RaceResults.h"

#include "CorvelError.h"
#include "DisplayRules.h"
#include "FileCopy.h"
#include "FlightTime.h"
#include "Formats.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QHeaderView>
#include <QSqlRecord>
#include <QTableView>
#include <memory>
#include <xlsxwriter.h>

namespace RaceResults {
namespace {

QVariantList raceKey(const QString& liberCode, const QDate& liberDate)
{
    return {liberCode, Formats::toDbDate(liberDate)};
}

QString dataTransferError(const QString& reason)
{
    return QStringLiteral("Data transfer error: ") + reason;
}

}  // namespace

Counts loadResultRows(const TdmZAVR& dm, const QString& liberCode, const QDate& liberDate, RowSetModel& rows)
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
                              "WHERE a.LiberCode = ? AND date(a.LiberDate) = ? "
                              "ORDER BY a.BackTime IS NULL, a.FlySpeed DESC"),
                          raceKey(liberCode, liberDate));
    constexpr int RingNo = 2, BackTime = 3, LoftNo = 7, FieldCount = 8;
    constexpr int RegisteredRing = 8, Country = 9, Year = 10, Letters = 11, Number = 12;
    const QSqlRecord record = q.record();
    QStringList fields;
    for (int i = 0; i < FieldCount; ++i)
        fields << record.fieldName(i);
    Counts counts;
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
    auto names = std::make_shared<LoftNameLookup>(dm, QStringList(members.begin(), members.end()));
    rows.setRows(fields, std::move(arrivals));
    rows.setDisplayRule(QStringLiteral("LoftNo"), [names](const QVariant& v) { return names->name(v); });
    rows.setDisplayRule(QStringLiteral("PRingNo"), [rings](const QVariant& v) { return rings->text(v); });
    return counts;
}

void loadStatusRows(const TdmZAVR& dm, const QString& liberCode, const QDate& liberDate, RowSetModel& rows)
{
    QSqlQuery q = dm.exec(QStringLiteral(
                              "SELECT b.LoftNo, a.ClockID, count(b.LoftNo) AS MarkedCnt, count(a.BackTime) AS ArriveCnt "
                              "FROM ZAVR_PigRaceData a LEFT JOIN ZAVR_PigData b ON a.PRingNo = b.PRingNo "
                              "WHERE a.LiberCode = ? AND date(a.LiberDate) = ? GROUP BY b.LoftNo, a.ClockID"),
                          raceKey(liberCode, liberDate));
    rows.setQueryResult(q);
}

QString summaryLine(const Counts& counts)
{
    return QStringLiteral("%1 Members sent %2 birds of which %3 were clocked").arg(counts.members).arg(counts.birds).arg(counts.clocked);
}

QString speedTitle(const ClubSettings& settings)
{
    return settings.Mode != 0 ? QStringLiteral("Yds/Min") : QStringLiteral("MPM");
}

void applyResultDisplay(const ClubSettings& settings, RowSetModel& rows)
{

    rows.setTitle(QStringLiteral("Pos"), QStringLiteral("Pos."));
    rows.setTitle(QStringLiteral("LoftNo"), QStringLiteral("Member"));
    rows.setTitle(QStringLiteral("PRingNo"), QStringLiteral("Pigeon"));
    rows.setTitle(QStringLiteral("BackTime"), QStringLiteral("Clock"));
    rows.setTitle(QStringLiteral("FlyTime"), QStringLiteral("Flying Time"));
    rows.setTitle(QStringLiteral("FlySpeed"), speedTitle(settings));
    rows.setTitle(QStringLiteral("Dist"), QStringLiteral("Dist."));
    rows.setDisplayRule(QStringLiteral("BackTime"), &DisplayRules::backTimeText);
    rows.setDisplayRule(QStringLiteral("FlySpeed"), &DisplayRules::flySpeedText);
    rows.setDisplayRule(QStringLiteral("Dist"), &DisplayRules::distanceText);
    rows.setAlignment(QStringLiteral("FlySpeed"), Qt::AlignRight | Qt::AlignVCenter);
    rows.setAlignment(QStringLiteral("Dist"), Qt::AlignRight | Qt::AlignVCenter);
}

void applyStatusDisplay(const TdmZAVR& dm, RowSetModel& rows)
{
    auto names = std::make_shared<LoftNameLookup>(dm);
    rows.setTitle(QStringLiteral("LoftNo"), QStringLiteral("Member"));
    rows.setTitle(QStringLiteral("ClockID"), QStringLiteral("Clock"));
    rows.setTitle(QStringLiteral("MarkedCnt"), QStringLiteral("Birds marked"));
    rows.setTitle(QStringLiteral("ArriveCnt"), QStringLiteral("Birds arrived"));
    rows.setDisplayRule(QStringLiteral("LoftNo"), [names](const QVariant& v) { return names->name(v); });
}

void arrangeResultGrid(QTableView* grid)
{
    const auto* rows = qobject_cast<const RowSetModel*>(grid->model());
    if (!rows)
        return;
    QHeaderView* header = grid->horizontalHeader();
    const QStringList order = {QStringLiteral("Pos"),     QStringLiteral("LoftNo"),   QStringLiteral("PRingNo"),
                               QStringLiteral("BackTime"), QStringLiteral("FlyTime"), QStringLiteral("FlySpeed"),
                               QStringLiteral("Dist")};
    for (int visual = 0; visual < order.size(); ++visual) {
        const int logical = rows->fieldIndex(order.at(visual));
        if (logical >= 0)
            header->moveSection(header->visualIndex(logical), visual);
    }
    const int code = rows->fieldIndex(QStringLiteral("LiberCode"));
    if (code >= 0)
        header->setSectionHidden(code, true);
}

QString resultExportFilter()
{
    return QStringLiteral("Excel File (*.xlsx)|*.xlsx|Excel File|*.xls");
}

QString workbookFileName(const QString& chosen)
{
    if (chosen.isEmpty())
        return chosen;
    const QString suffix = QFileInfo(chosen).suffix();
    if (suffix.compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0)
        return chosen.chopped(suffix.size()) + QStringLiteral("xlsx");
    if (!suffix.isEmpty())
        return chosen;
    return chosen + QStringLiteral(".xlsx");
}

QString workbookFileNameNotice(const QString& chosen)
{
    if (QFileInfo(chosen).suffix().compare(QLatin1String("xls"), Qt::CaseInsensitive) != 0)
        return {};
    return QStringLiteral("The result is an Excel workbook of the xlsx kind, so it is saved as \"%1\" instead of \"%2\".")
        .arg(QFileInfo(workbookFileName(chosen)).fileName(), QFileInfo(chosen).fileName());
}

void exportResultRows(const RowSetModel& rows, const QString& path)
{
    const QString temporary = FileCopy::temporaryNameFor(path);
    const QByteArray temporaryName = QFile::encodeName(temporary);
    lxw_workbook* workbook = workbook_new(temporaryName.constData());
    if (!workbook)
        throw CorvelError(dataTransferError(QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(path))));
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Sheet1");
    lxw_format* text = workbook_add_format(workbook);
    format_set_num_format(text, "@");
    lxw_format* speed = workbook_add_format(workbook);
    format_set_num_format(speed, "0.000");
    // Columns 3 and 4 (ring number, arrival) as text, 6 (speed) with three decimals.
    worksheet_set_column(sheet, 2, 2, 20, text);
    worksheet_set_column(sheet, 3, 3, 25, text);
    worksheet_set_column(sheet, 5, 5, 10, speed);
    worksheet_set_column(sheet, 6, 6, 10, nullptr);
    worksheet_set_column(sheet, 7, 7, 20, nullptr);

    auto formatOf = [&](int column) -> lxw_format* {
        if (column == 2 || column == 3)
            return text;
        if (column == 5)
            return speed;
        return nullptr;
    };
    lxw_error error = LXW_NO_ERROR;
    const QStringList& fields = rows.fields();
    for (int c = 0; c < fields.size() && error == LXW_NO_ERROR; ++c)
        error = worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), fields.at(c).toUtf8().constData(), nullptr);
    for (int r = 0; r < rows.rowCount() && error == LXW_NO_ERROR; ++r) {
        for (int c = 0; c < fields.size() && error == LXW_NO_ERROR; ++c) {
            const QVariant value = rows.value(r, c);
            const auto row = static_cast<lxw_row_t>(r + 1);
            const auto col = static_cast<lxw_col_t>(c);
            if (value.isNull() || !value.isValid())
                continue;
            const int type = value.metaType().id();
            const bool number = type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::Double
                                || type == QMetaType::UInt || type == QMetaType::ULongLong;
            if (number && c != 2 && c != 3)
                error = worksheet_write_number(sheet, row, col, value.toDouble(), formatOf(c));
            else
                error = worksheet_write_string(sheet, row, col, value.toString().toUtf8().constData(), formatOf(c));
        }
    }
    const lxw_error closed = workbook_close(workbook);
    if (error == LXW_NO_ERROR)
        error = closed;
    if (error != LXW_NO_ERROR) {
        QFile::remove(temporary);
        throw CorvelError(dataTransferError(QString::fromUtf8(lxw_strerror(error))));
    }
    try {
        FileCopy::commitTemporary(temporary, path, QString());
    } catch (const CorvelError& e) {
        throw CorvelError(dataTransferError(e.text()));
    }
}

}  // namespace RaceResults
