// The Status view of the largest race, against the bare ranking statement of the race.

#include "BenchHarness.h"
#include "RaceResults.h"
#include "RaceSteps.h"
#include "RowSetModel.h"
#include "TdmZAVR.h"

#include <QTableView>
#include <memory>

int main(int argc, char** argv)
{
    return Bench::main(
        argc, argv,
        {{QStringLiteral("status-view"), QStringLiteral("Status view, largest race"), QStringLiteral("bare RANK() query"),
          [](Bench::Club& club) -> Bench::Runs {
              auto rows = std::make_shared<RowSetModel>();
              std::shared_ptr<QTableView> grid(makeReadOnlyGrid(nullptr, QStringLiteral("dbgrdLoftRaceStat"), rows.get()));
              grid->resize(1000, 640);
              grid->show();
              return {[&club, rows, grid](Bench::Clock&) {
                          const ClubGenerator::Race& race = club.largestRace();
                          RaceResults::loadStatusRows(club.dm(), race.liberCode, race.liberDate, *rows);
                          RaceResults::applyStatusDisplay(club.dm(), *rows);
                          grid->resizeColumnsToContents();
                          grid->viewport()->repaint();
                      },
                      [&club](Bench::Clock&) {
                          QSqlQuery q = RaceSteps::bareResultQuery(club.dm(), club.largestRace());
                          RaceSteps::readAll(q);
                      }};
          },
          0.0, true}});
}
