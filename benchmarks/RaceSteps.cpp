#include "RaceSteps.h"

#include "Formats.h"
#include "TdmZAVR.h"

#include <QSqlRecord>
#include <QTableView>

namespace RaceSteps {

QSqlQuery bareResultQuery(const TdmZAVR& dm, const ClubGenerator::Race& race)
{
    return dm.exec(QStringLiteral("SELECT RANK() OVER (ORDER BY a.FlySpeed DESC) AS Pos, a.LiberCode, a.PRingNo, a.BackTime, "
                                  "a.FlyTime, a.FlySpeed, a.Dist, b.LoftNo "
                                  "FROM ZAVR_PigRaceData a LEFT JOIN ZAVR_PigData b ON a.PRingNo = b.PRingNo "
                                  "WHERE a.LiberCode = ? AND date(a.LiberDate) = date(?) AND a.BackTime IS NOT NULL "
                                  "ORDER BY a.FlySpeed DESC"),
                   {race.liberCode, raceDateKey(race.liberDate)});
}

int readAll(QSqlQuery& query)
{
    const int columns = query.record().count();
    int rows = 0;
    while (query.next()) {
        for (int c = 0; c < columns; ++c)
            query.value(c);
        ++rows;
    }
    return rows;
}

ListedRace listedRace(const ClubGenerator::Race& race)
{
    // The views do not show the site's abbreviation.
    return {{race.clubId, race.liberCode, race.liberDate}, QString(), race.liberSite, Formats::toDbMidnight(race.liberDate),
            Formats::toDbTime(ClubGenerator::LiberationTime)};
}

void paintGrid(const QWidget& view, const char* gridName)
{
    auto* grid = view.findChild<QTableView*>(QLatin1String(gridName));
    if (!grid)
        qFatal("the view has no grid %s", gridName);
    grid->viewport()->repaint();
}

}  // namespace RaceSteps
