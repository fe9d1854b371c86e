#include "RaceSteps.h"

#include "Formats.h"
#include "RaceResults.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"

#include <QLabel>
#include <QSqlRecord>
#include <QTableView>

namespace RaceSteps {

QSqlQuery bareResultQuery(const TdmZAVR& dm, const ClubGenerator::Race& race)
{
    return dm.exec(QStringLiteral("SELECT RANK() OVER (ORDER BY a.FlySpeed DESC) AS Pos, a.LiberCode, a.PRingNo, a.BackTime, "
                                  "a.FlyTime, a.FlySpeed, a.Dist, b.LoftNo "
                                  "FROM ZAVR_PigRaceData a LEFT JOIN ZAVR_PigData b ON a.PRingNo = b.PRingNo "
                                  "WHERE a.LiberCode = ? AND date(a.LiberDate) = ? AND a.BackTime IS NOT NULL "
                                  "ORDER BY a.FlySpeed DESC"),
                   {race.liberCode, Formats::toDbDate(race.liberDate)});
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

ResultView::ResultView()
    : rows(new RowSetModel), grid(makeReadOnlyGrid(nullptr, QStringLiteral("dbgrdRaceRec"), rows)), summary(new QLabel)
{
    grid->resize(1000, 640);
    grid->show();
}

ResultView::~ResultView()
{
    delete summary;
    delete grid;
    delete rows;
}

void openResultView(const TdmZAVR& dm, const ClubGenerator::Race& race, ResultView& view)
{
    const RaceResults::Counts counts = RaceResults::loadResultRows(dm, race.liberCode, race.liberDate, *view.rows);
    RaceResults::applyResultDisplay(dm.clubSettings(), *view.rows);
    view.grid->resizeColumnsToContents();
    view.summary->setText(RaceResults::summaryLine(counts));
    view.grid->viewport()->repaint();
}

}  // namespace RaceSteps
