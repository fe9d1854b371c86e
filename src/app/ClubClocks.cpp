#include "ClubClocks.h"

#include "DisplayRules.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"

void loadClubClocks(const TdmZAVR& dm, RowSetModel& rows)
{
    QSqlQuery q = dm.exec(QStringLiteral("select ClockID,LoftName,LastSynchDate from  ZAVR_LoftClocks a "
                                         "LEFT Join ZAVR_LoftData b on a.LoftNo=b.LoftNo "));
    rows.setQueryResult(q);
}

GridColumns clubClockColumns()
{
    return {{QStringLiteral("ClockID"), {}, {}, Qt::AlignCenter},
            {QStringLiteral("LoftName"), {}, {}, Qt::AlignCenter},
            {QStringLiteral("LastSynchDate"), {}, DisplayRules::dateText, Qt::AlignCenter}};
}
