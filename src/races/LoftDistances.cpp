#include "LoftDistances.h"

#include "Coordinates.h"
#include "CorvelError.h"
#include "Formats.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"

#include <QSqlQuery>
#include <cmath>

LoftDistanceColumns distanceColumns(int metres, bool yardsMode)
{
    if (yardsMode)
        return {static_cast<int>(std::trunc(metres / 1609.344)), static_cast<int>(std::trunc(metres / 0.9144))};
    return {metres / 1000, metres};
}

LoftDistUpdateResult LoftDistUpdate(const TdmZAVR& dm, const RaceKey& race)
{
    const std::optional<StoredRace> stored = findStoredRace(dm, race);
    if (!stored)
        throw CorvelError(QStringLiteral("The race %1 of %2 on %3 cannot be found, so the point's coordinates are "
                                         "unknown; the distances are not updated.")
                              .arg(race.liberCode, race.clubId, Formats::shortDate(race.liberDate)));
    const QString pointLon = stored->liberLon.isNull() ? QString() : stored->liberLon.toString();
    const QString pointLat = stored->liberLat.isNull() ? QString() : stored->liberLat.toString();
    const bool yardsMode = dm.clubSettings().yards();

    LoftDistUpdateResult result;
    TdmZAVR::Transaction tx(dm);
    QSqlQuery lofts = dm.exec(QStringLiteral("SELECT LoftNo, LoftLon, LoftLat FROM ZAVR_LoftData ORDER BY rowid"));
    while (lofts.next()) {
        const QString loftNo = lofts.value(0).toString();
        if (lofts.value(1).isNull()) {
            ++result.membersSkipped;
            continue;
        }
        const QString loftLat = lofts.value(2).isNull() ? QString() : lofts.value(2).toString();
        const int metres = LoftDistanceMetres(lofts.value(1).toString(), loftLat, pointLon, pointLat, &result.messages);
        const LoftDistanceColumns d = distanceColumns(metres, yardsMode);
        const int changed = dm.update(QStringLiteral("ZAVR_LoftLibPointDist"),
                                      {QStringLiteral("LiberCode"), QStringLiteral("LoftNo")},
                                      {stored->liberCode, loftNo},
                                      {{QStringLiteral("Miles"), d.miles}, {QStringLiteral("Yards"), d.yards}});
        if (changed == 0) {
            dm.append(QStringLiteral("ZAVR_LoftLibPointDist"), {{QStringLiteral("LiberCode"), stored->liberCode},
                                                                {QStringLiteral("LoftNo"), loftNo},
                                                                {QStringLiteral("Miles"), d.miles},
                                                                {QStringLiteral("Yards"), d.yards}});
            ++result.rowsAdded;
        }
        ++result.membersUpdated;
    }
    tx.commit();
    return result;
}

void loadDistanceRows(const TdmZAVR& dm, const QString& liberCode, RowSetModel& rows)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT b.LoftName AS LoftName, a.LoftNo, a.Miles, a.Yards, a.LiberCode "
                                         "FROM ZAVR_LoftLibPointDist a LEFT JOIN ZAVR_LoftData b ON b.LoftNo = a.LoftNo "
                                         "WHERE a.LiberCode = ? ORDER BY a.rowid"),
                          {liberCode});
    rows.setQueryResult(q);
}

void saveLoftDistance(const TdmZAVR& dm, const QString& liberCode, const QString& loftNo, int miles, int yards)
{
    const int changed = dm.update(QStringLiteral("ZAVR_LoftLibPointDist"),
                                  {QStringLiteral("LiberCode"), QStringLiteral("LoftNo")}, {liberCode, loftNo},
                                  {{QStringLiteral("Miles"), miles}, {QStringLiteral("Yards"), yards}});
    if (changed == 0)
        throw CorvelError(QStringLiteral("The distance row of member %1 for point %2 no longer exists; the value is "
                                         "not stored.")
                              .arg(loftNo, liberCode));
}
