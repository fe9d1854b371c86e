// The Status view of the largest race, against the bare ranking statement of the race.

#include "BenchHarness.h"
#include "RaceStatusView.h"
#include "RaceSteps.h"
#include "TdmZAVR.h"

#include <memory>

int main(int argc, char** argv)
{
    return Bench::main(
        argc, argv,
        {{QStringLiteral("status-view"), QStringLiteral("Status view, largest race"), QStringLiteral("bare RANK() query"),
          [](Bench::Club& club) -> Bench::Runs {
              auto view = std::make_shared<RaceSteps::ShownView<RaceStatusView>>(club.dm());
              return {[&club, view](Bench::Clock&) { RaceSteps::openView(*view, club.largestRace(), "dbgrdLoftRaceStat"); },
                      [&club](Bench::Clock&) {
                          QSqlQuery q = RaceSteps::bareResultQuery(club.dm(), club.largestRace());
                          RaceSteps::readAll(q);
                      }};
          },
          0.0, true}});
}
