#include "ClockOpLogic.h"

#include "DisplayRules.h"
#include "Formats.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"

#include <QSqlQuery>
#include <memory>

namespace ClockOp {

namespace {

// Every race as its liberation code and its date in the pattern, joined by separator.
QStringList racesAs(const TdmZAVR& dm, const QString& separator, const QString& datePattern)
{
    QStringList list;
    QSqlQuery q = dm.exec(QStringLiteral("select LiberCode, LiberDate from ZAVR_RaceData order by rowid"));
    while (q.next())
        list << q.value(0).toString() + separator + Formats::formatDate(datePattern, Formats::fromDbDate(q.value(1)));
    return list;
}

}  // namespace

QStringList memberNames(const TdmZAVR& dm)
{
    return dm.texts(QStringLiteral("select LoftName from ZAVR_LoftData order by rowid"));
}

std::optional<QString> loftNoOfName(const TdmZAVR& dm, const QString& name)
{
    const QVariant loftNo =
        dm.scalar(QStringLiteral("select LoftNo from ZAVR_LoftData where LoftName = ? order by rowid limit 1"), {name});
    if (loftNo.isNull())
        return std::nullopt;
    return loftNo.toString();
}

QStringList markingRaceList(const TdmZAVR& dm) { return racesAs(dm, QStringLiteral("  "), QStringLiteral("mm/dd")); }

QStringList raceList(const TdmZAVR& dm) { return racesAs(dm, QStringLiteral(" / "), QStringLiteral("mmdd")); }

QString raceCodeOfChoice(const QString& entry)
{
    const qsizetype slash = entry.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return entry.trimmed();
    return entry.left(slash).trimmed() + entry.mid(slash + 1).trimmed();
}

std::pair<QString, QString> splitMarkingChoice(const QString& entry)
{
    const qsizetype blank = entry.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return {QString(), entry.trimmed()};
    return {entry.left(blank).trimmed(), entry.mid(blank + 1).trimmed()};
}

QString sexText(const QVariant& sex) { return DisplayRules::raceSexText(sex); }

void applyDisplayRules(const TdmZAVR& dm, RowSetModel& rows, bool loftNoAsName)
{
    rows.setDisplayRule(QStringLiteral("Sex"), &sexText);
    auto colours = std::make_shared<ColourNameLookup>(dm, QString());
    rows.setDisplayRule(QStringLiteral("ColorType"), [colours](const QVariant& v) { return colours->name(v); });
    if (loftNoAsName) {
        auto names = std::make_shared<LoftNameLookup>(dm);
        rows.setDisplayRule(QStringLiteral("LoftNo"), [names](const QVariant& v) { return names->name(v); });
    }
    rows.setDisplayRule(QStringLiteral("BackTime"), &DisplayRules::backTimeText);
    rows.setDisplayRule(QStringLiteral("FlySpeed"), &DisplayRules::flySpeedText);
    rows.setDisplayRule(QStringLiteral("Dist"), &DisplayRules::distanceText);
    for (const char* field : {"LiberDate", "MarkedTime"})
        rows.setDisplayRule(QString::fromLatin1(field), &DisplayRules::dateTimeText);
}

}  // namespace ClockOp
