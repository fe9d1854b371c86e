#include "ListColumns.h"

#include "DisplayRules.h"
#include "TdmZAVR.h"

#include <memory>

namespace {

constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignVCenter;

GridColumn::DisplayRule memberNames(const TdmZAVR& dm)
{
    auto names = std::make_shared<const LoftNameLookup>(dm);
    return [names](const QVariant& loftNo) { return names->name(loftNo); };
}

}  // namespace

namespace ListColumns {

GridColumns memberList()
{
    return {{QStringLiteral("LoftNo")}, {QStringLiteral("LoftName")}, {QStringLiteral("clockCnt")}};
}

GridColumns ringList(const TdmZAVR& dm)
{
    auto colours = std::make_shared<const ColourNameLookup>(dm);
    return {
        {QStringLiteral("PRingNo"), QStringLiteral("Life Ring Number")},
        {QStringLiteral("ColorType"), QStringLiteral("Color"), [colours](const QVariant& code) { return colours->name(code); }},
        {QStringLiteral("Sex"), QStringLiteral("Sex of bird"), DisplayRules::sexText},
        {QStringLiteral("E_Ring"), QStringLiteral("E_Ring Assignment")},
        {QStringLiteral("CreateDate"), QStringLiteral("Create Date"), DisplayRules::dateTimeText},
        {QStringLiteral("AssignDate"), QStringLiteral("Assign Date"), DisplayRules::dateTimeText},
        {QStringLiteral("Updatetime"), QStringLiteral("Last Update"), DisplayRules::ringUpdateTimeText},
    };
}

GridColumns raceList()
{
    return {
        {QStringLiteral("ClubID"), QStringLiteral("Club")},
        {QStringLiteral("LiberCode"), QStringLiteral("Code")},
        {QStringLiteral("LiberSiteAbbr"), QStringLiteral("LibSite Abbre.")},
        {QStringLiteral("LiberSite"), QStringLiteral("Liberation Site")},
        {QStringLiteral("LiberDate"), QStringLiteral("Lib. Date"), DisplayRules::dateTimeText},
        {QStringLiteral("LiberTime"), QStringLiteral("Lib. Time"), DisplayRules::timeOfDayText},
    };
}

GridColumns memberDistances(const ClubSettings& club)
{
    const QStringList units = distanceTitles(club.yards());
    return {
        {QStringLiteral("LoftName"), QStringLiteral("Member")},
        {QStringLiteral("LoftNo")},
        {QStringLiteral("Miles"), units.at(0), DisplayRules::distanceText, Right},
        {QStringLiteral("Yards"), units.at(1), DisplayRules::distanceText, Right},
    };
}

GridColumns raceStatus(const TdmZAVR& dm)
{
    return {
        {QStringLiteral("LoftNo"), QStringLiteral("Member"), memberNames(dm)},
        {QStringLiteral("ClockID"), QStringLiteral("Clock")},
        {QStringLiteral("MarkedCnt"), QStringLiteral("Birds marked"), {}, Right},
        {QStringLiteral("ArriveCnt"), QStringLiteral("Birds arrived"), {}, Right},
    };
}

GridColumns raceResult(const ClubSettings& club, const GridColumn::DisplayRule& memberName,
                       const GridColumn::DisplayRule& ringParts)
{
    return {
        {QStringLiteral("Pos"), QStringLiteral("Pos.")},
        {QStringLiteral("LoftNo"), QStringLiteral("Member"), memberName},
        {QStringLiteral("PRingNo"), QStringLiteral("Pigeon"), ringParts},
        {QStringLiteral("BackTime"), QStringLiteral("Clock"), DisplayRules::backTimeText},
        {QStringLiteral("FlyTime"), QStringLiteral("Flying Time")},
        {QStringLiteral("FlySpeed"), resultSpeedTitle(club), DisplayRules::flySpeedText, Right},
        {QStringLiteral("Dist"), QStringLiteral("Dist."), DisplayRules::distanceText, Right},
    };
}

}  // namespace ListColumns

QStringList distanceTitles(bool yardsMode)
{
    return yardsMode ? QStringList{QStringLiteral("Miles"), QStringLiteral("Yards")}
                     : QStringList{QStringLiteral("KM"), QStringLiteral("M")};
}

QString resultSpeedTitle(const ClubSettings& club)
{
    return club.yards() ? QStringLiteral("Yds/Min") : QStringLiteral("MPM");
}
